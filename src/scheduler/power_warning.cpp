#include "scheduler/power_warning.h"

namespace norvel {

std::int64_t NextTriggerSecond(std::int64_t now, TriggerTime trigger) {
  return now + FloorMod(TriggerOffset(trigger) - now, TriggerPeriod(trigger));
}

std::optional<PowerWarning> PowerWarningPlan::At(std::int64_t now, TriggerTime trigger) const {
  const std::int64_t occurrence = NextTriggerSecond(now, trigger);
  const std::int64_t left = occurrence - now;
  if (left < 1 || left > kWarningSeconds || Cancelled(occurrence)) return std::nullopt;
  return WarningWithSecondsLeft(occurrence, left);
}

PowerWarning WarningWithSecondsLeft(std::int64_t occurrence, std::int64_t left) {
  return PowerWarning{occurrence, left, left <= kFlashingSeconds && left % 2 == 0};
}

}  // namespace norvel
