#include "scheduler/missed_trigger.h"

#include <cstdio>

namespace norvel {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerHour = 3600;

}  // namespace

std::int64_t TriggerPeriod(TriggerTime trigger) {
  return trigger.hour == TriggerTime::kEveryHour ? kSecondsPerHour : kSecondsPerDay;
}

std::int64_t TriggerOffset(TriggerTime trigger) {
  return (trigger.hour == TriggerTime::kEveryHour ? 0 : trigger.hour * kSecondsPerHour) +
         trigger.minute * std::int64_t{60} + trigger.second;
}

std::int64_t CivilSeconds(const LocalTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + t.hour * kSecondsPerHour +
         t.minute * std::int64_t{60} + t.second;
}

TimeOfDay TimeOfDayOf(std::int64_t civil_seconds) {
  const auto s = static_cast<int>(FloorMod(civil_seconds, kSecondsPerDay));
  return {s / 3600, s / 60 % 60, s % 60};
}

std::string TimeOfDayText(std::int64_t civil_seconds) {
  const TimeOfDay t = TimeOfDayOf(civil_seconds);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return text;
}

std::optional<MissedTrigger> FindMissedTrigger(const TickReading& previous,
                                               const TickReading& current, TriggerTime trigger) {
  const std::int64_t from = CivilSeconds(previous.wall);
  const std::int64_t to = CivilSeconds(current.wall);
  if (to - from < 2) return std::nullopt;  // no second lies strictly between them

  const std::int64_t period = TriggerPeriod(trigger), offset = TriggerOffset(trigger);
  const std::int64_t last = to - 1;
  const std::int64_t latest = last - FloorMod(last - offset, period);
  if (latest <= from) return std::nullopt;

  MissedTrigger missed;
  missed.civil_second = latest;
  missed.seconds_late = to - latest;
  // A stall or a sleep advances both clocks alike; a clock set forward advances only the wall.
  const std::int64_t wall_ms =
      (to - from) * 1000 + current.wall.millisecond - previous.wall.millisecond;
  missed.clock_jumped = wall_ms - (current.monotonic_ms - previous.monotonic_ms) > 2000;
  return missed;
}

bool PowerActionStillDue(const MissedTrigger& missed) {
  return !missed.clock_jumped && missed.seconds_late <= kPowerActionGraceSeconds;
}

}  // namespace norvel
