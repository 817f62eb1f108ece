// Reminders that wait while the user presents or runs a full-screen program: a slide show or
// a film is never minimised in front of an audience. A due reminder is held while the system
// says so, looked at again every second, and shown (the desktop cleared then) as soon as it
// ends, or after 30 minutes anyway. Shut-downs and restarts never wait: this is for reminders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace norvel {

class FullScreenWait {
 public:
  static constexpr std::int64_t kLookEveryMs = 1000;
  static constexpr std::int64_t kLongestWaitMs = 30 * 60 * 1000;

  struct Step {
    std::vector<int> show;     // the alarms whose reminders show now
    std::vector<int> waiting;  // alarms that began to wait in this step
    bool waited = false;       // the ones shown had waited
    bool gave_up = false;      // shown after waiting the longest time
  };

  // `busy` asks the system whether the user presents (at most once a second while waiting,
  // and whenever reminders come due).
  explicit FullScreenWait(std::function<bool()> busy) : busy_(std::move(busy)) {}

  // These alarms' reminders are due at `now_ms` (monotonic; every tick of their second).
  const Step& Due(const std::vector<int>& alarms, std::int64_t now_ms);
  // Every tick: while reminders wait, whether they may show now.
  const Step& Look(std::int64_t now_ms);

  // The alarms whose reminders wait, in turn.
  const std::vector<int>& held() const { return held_; }

 private:
  const Step& Decide(std::int64_t now_ms, bool ask_now);

  std::function<bool()> busy_;
  std::vector<int> held_;
  std::int64_t since_ms_ = 0, looked_ms_ = 0;
  std::size_t told_ = 0;  // held alarms told as waiting
  Step step_;
};

}  // namespace norvel
