// The "日期" list: on which dates the trigger rings. "工作日" follows the work-day calendar
// (its holidays and make-up days), "休息日" is every other day, "周一"…"周日" one weekday.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "scheduler/calendar/calendar.h"

namespace norvel {

// In the order of the list's items.
enum class DayRule {
  kEveryDay,
  kWorkDay,
  kRestDay,
  kMonday,
  kTuesday,
  kWednesday,
  kThursday,
  kFriday,
  kSaturday,
  kSunday,
};

inline constexpr std::array<std::string_view, 10> kDayRuleTexts = {
    "每天", "工作日", "休息日", "周一", "周二", "周三", "周四", "周五", "周六", "周日"};

// The rule that `text` names, with the item texts in the character type the caller reads the
// list in. Any other text means every day.
template <typename Char>
DayRule DayRuleNamed(std::basic_string_view<Char> text,
                     const std::array<std::basic_string_view<Char>, 10>& texts) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (text == texts[i]) return static_cast<DayRule>(i);
  }
  return DayRule::kEveryDay;
}
DayRule DayRuleNamed(std::string_view text);

struct DayRuleMatch {
  bool rings = false;
  // The date's year, when the answer took the plain weekdays because no one knows that
  // year's holidays (see UnknownHolidayYearText).
  std::optional<int> unknown_year;
};

DayRuleMatch DayRuleMatches(DayRule rule, CivilDate date, const HolidayCalendar& calendar);

}  // namespace norvel
