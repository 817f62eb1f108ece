#include "scheduler/power_warning.h"

namespace norvel {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerHour = 3600;

std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
  const std::int64_t r = a % b;
  return r < 0 ? r + b : r;
}

}  // namespace

std::int64_t NextTriggerSecond(std::int64_t now, TriggerTime trigger) {
  // A daily trigger recurs every day, "每小时" every hour; both divide the civil count evenly.
  const bool every_hour = trigger.hour == TriggerTime::kEveryHour;
  const std::int64_t period = every_hour ? kSecondsPerHour : kSecondsPerDay;
  const std::int64_t offset = (every_hour ? 0 : trigger.hour * kSecondsPerHour) +
                              trigger.minute * std::int64_t{60} + trigger.second;
  return now + FloorMod(offset - now, period);
}

std::optional<PowerWarning> PowerWarningPlan::At(std::int64_t now, TriggerTime trigger) const {
  const std::int64_t occurrence = NextTriggerSecond(now, trigger);
  const std::int64_t left = occurrence - now;
  if (left < 1 || left > kWarningSeconds || Cancelled(occurrence)) return std::nullopt;
  return PowerWarning{occurrence, left, left <= kFlashingSeconds && left % 2 == 0};
}

}  // namespace norvel
