// One running Norvel per session: one icon, one alarm.
#pragma once

#include "toolkit/handle_win.h"

namespace norvel {

// Holds the session's instance mutex while it lives.
class SingleInstance {
 public:
  // `show_running`: ask a running instance to show its settings window (not at log-in, which
  // must not pop up windows).
  explicit SingleInstance(bool show_running = true);
  // False when another instance runs (asked to show its window when `show_running`), and
  // this start should end.
  bool IsFirst() const { return first_; }

 private:
  UniqueKernelHandle mutex_;
  bool first_ = true;
};

}  // namespace norvel
