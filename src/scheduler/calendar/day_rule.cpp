#include "scheduler/calendar/day_rule.h"

namespace norvel {

DayRule DayRuleNamed(std::string_view text) {
  return DayRuleNamed<char>(text, kDayRuleTexts);
}

DayRuleMatch DayRuleMatches(DayRule rule, CivilDate date, const HolidayCalendar& calendar) {
  switch (rule) {
    case DayRule::kEveryDay:
      return {true, std::nullopt};
    case DayRule::kWorkDay:
    case DayRule::kRestDay: {
      const WorkDayAnswer answer = calendar.IsWorkDay(date);
      DayRuleMatch match;
      match.rings = answer.work_day == (rule == DayRule::kWorkDay);
      if (!answer.year_known) match.unknown_year = date.year;
      return match;
    }
    default: {
      // kMonday … kSaturday are weekdays 1 … 6, kSunday is 0.
      const int weekday = (static_cast<int>(rule) - static_cast<int>(DayRule::kMonday) + 1) % 7;
      return {WeekdayOf(date) == weekday, std::nullopt};
    }
  }
}

}  // namespace norvel
