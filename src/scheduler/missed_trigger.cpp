#include "scheduler/missed_trigger.h"

namespace norvel {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerHour = 3600;

// Floor division and its remainder, so that times before 1970 fall on the right day.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b < 0 ? 1 : 0);
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar. The year is
// counted from March, so that the leap day is the last day of its year, and in eras of 400
// years, each 146097 days long.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  if (month <= 2) --year;
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t year_of_era = year - era * 400;                              // 0..399
  const std::int64_t day_of_year = (153 * ((month + 9) % 12) + 2) / 5 + day - 1;  // from March 1
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;  // 719468: days from 0000-03-01 to 1970-01-01
}

}  // namespace

std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
  return a - FloorDiv(a, b) * b;
}

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

std::string MissedPowerActionText(TimeOfDay at, std::string_view action) {
  // Appended piece by piece (GCC 12 warns wrongly about a chain of + here).
  std::string text = "错过了 ";
  const int parts[] = {at.hour, at.minute, at.second};
  for (int i = 0; i < 3; ++i) {
    if (i > 0) text += ':';
    text += static_cast<char>('0' + parts[i] / 10);
    text += static_cast<char>('0' + parts[i] % 10);
  }
  text += " 的";
  text.append(action);
  text += "。\n那时程序没能运行(计算机休眠、繁忙或时钟被调整),为免意外,没有补做。";
  return text;
}

}  // namespace norvel
