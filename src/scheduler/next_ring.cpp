#include "scheduler/next_ring.h"

#include <cstdio>

#include "scheduler/calendar/civil_date.h"
#include "scheduler/power_warning.h"

namespace norvel {
namespace {

constexpr std::int64_t kDay = 24 * 60 * 60;
constexpr std::int64_t kNextRingDays = 400;

}  // namespace

std::optional<std::int64_t> NextRingSecond(std::int64_t from, TriggerTime trigger, DayRule rule,
                                           const HolidayCalendar& calendar) {
  const std::int64_t last = from + kNextRingDays * kDay;
  for (std::int64_t t = NextTriggerSecond(from, trigger); t <= last;) {
    if (rule == DayRule::kEveryDay || DayRuleMatches(rule, DateOfCivilSecond(t), calendar).rings) {
      return t;
    }
    t = NextTriggerSecond((FloorDiv(t, kDay) + 1) * kDay, trigger);  // the next day's first
  }
  return std::nullopt;
}

std::string NextRingText(std::optional<std::int64_t> next, std::int64_t now) {
  if (!next) return "—";
  const std::int64_t days = FloorDiv(*next, kDay) - FloorDiv(now, kDay);
  const std::string time = TimeOfDayText(*next);
  if (days == 0) return "今天 " + time;
  if (days == 1) return "明天 " + time;
  if (days > 1 && days < 7) {
    const int weekday = static_cast<int>(FloorMod(FloorDiv(*next, kDay) + 4, 7));  // 0 Sunday
    return std::string(kDayRuleTexts[weekday == 0 ? 9 : 2 + weekday]) + " " + time;
  }
  const CivilDate date = DateOfCivilSecond(*next);
  char text[8];
  std::snprintf(text, sizeof text, "%02d/%02d", date.month, date.day);
  return std::string(text) + " " + time;
}

}  // namespace norvel
