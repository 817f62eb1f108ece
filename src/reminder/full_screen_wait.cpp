#include "reminder/full_screen_wait.h"

#include <algorithm>

namespace norvel {

const FullScreenWait::Step& FullScreenWait::Due(const std::vector<int>& alarms,
                                                std::int64_t now_ms) {
  step_ = {};
  bool added = false;
  for (const int alarm : alarms) {
    if (std::find(held_.begin(), held_.end(), alarm) != held_.end()) continue;
    if (held_.empty()) since_ms_ = now_ms;
    held_.push_back(alarm);
    added = true;
  }
  // Due again on the later ticks of its second: the answer of this second still holds.
  return Decide(now_ms, added);
}

const FullScreenWait::Step& FullScreenWait::Look(std::int64_t now_ms) {
  step_ = {};
  return Decide(now_ms, now_ms - looked_ms_ >= kLookEveryMs);
}

const FullScreenWait::Step& FullScreenWait::Decide(std::int64_t now_ms, bool ask_now) {
  if (held_.empty() || !ask_now) return step_;
  looked_ms_ = now_ms;
  step_.gave_up = now_ms - since_ms_ >= kLongestWaitMs;
  if (step_.gave_up || !busy_ || !busy_()) {
    step_.waited = told_ > 0;
    step_.show.swap(held_);
    held_.clear();
    told_ = 0;
    return step_;
  }
  // Newly held alarms are told once: the ones after the last told.
  for (std::size_t i = told_; i < held_.size(); ++i) step_.waiting.push_back(held_[i]);
  told_ = held_.size();
  return step_;
}

}  // namespace norvel
