// One running Norvel per session: one icon, one alarm.
#pragma once

#include "toolkit/handle_win.h"

namespace norvel {

// Holds the session's instance mutex while it lives.
class SingleInstance {
 public:
  SingleInstance();
  // False when another instance runs; that instance has then been asked to show its
  // settings window, and this start should end.
  bool IsFirst() const { return first_; }

 private:
  UniqueKernelHandle mutex_;
  bool first_ = true;
};

}  // namespace norvel
