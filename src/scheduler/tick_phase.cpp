#include "scheduler/tick_phase.h"

#include <algorithm>

namespace norvel {

int TickPhase::After(int millisecond) {
  if (shortened_) {
    // This tick came just after its second began: the usual interval runs from here.
    shortened_ = false;
    return kTickIntervalMs;
  }
  const int next = millisecond + kTickIntervalMs;
  if (next < 1000 || next - 1000 <= kInStepMs) return 0;
  shortened_ = true;
  return std::max(1000 - millisecond + kLeadMs, kShortestMs);
}

}  // namespace norvel
