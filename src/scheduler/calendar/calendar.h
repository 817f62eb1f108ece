// China's work-day calendar: Monday to Friday are work days and the weekend is off, except
// the days that the published schedule makes days off (statutory holidays) and the weekend
// days it makes work days (make-up days). The schedule is built in for the published years;
// the user's holidays.txt adds years and overrides single dates.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scheduler/calendar/civil_date.h"
#include "scheduler/calendar/holiday_table.h"

namespace norvel {

// The user's file beside the exe: one date a line, "2027-01-01 休" or "2027-02-20 班".
inline constexpr std::string_view kHolidayFileName = "holidays.txt";

// One date of the user's file: a day off ("休") or a work day ("班").
struct HolidayOverride {
  CivilDate date;
  bool work_day = false;
};

struct WorkDayAnswer {
  bool work_day = false;
  // False when neither the built-in table nor the user's file knows the date's year; the
  // answer then is plain Monday to Friday.
  bool year_known = false;
};

class HolidayCalendar;
// The built-in table alone, for as long as the program runs.
const HolidayCalendar& BuiltInCalendar();

class HolidayCalendar {
 public:
  // The built-in table alone.
  HolidayCalendar() : HolidayCalendar(std::vector<HolidayOverride>{}) {}
  // The built-in table with the user's dates over it. When a date comes twice, the later
  // one wins, as the later line of a file that was edited by appending.
  explicit HolidayCalendar(const std::vector<HolidayOverride>& overrides,
                           HolidayTable table = BuiltInHolidayTable());

  // Allocates nothing: the tick asks this every second.
  WorkDayAnswer IsWorkDay(CivilDate date) const;
  // The built-in table has the year, or the user's file has a date in it.
  bool KnowsYear(int year) const;

 private:
  HolidayTable table_;
  std::vector<std::pair<std::uint32_t, bool>> overrides_;  // packed date, work day; sorted
  std::vector<int> file_years_;                            // sorted, unique
};

// Told ahead of time, from 1 December of the built-in table's last year: next year's
// official schedule is not built in (and the user's file has no date of it), and how to add
// it. Empty at any other time.
std::string NextYearUnknownText(CivilDate today, const HolidayCalendar& calendar,
                                const HolidayTable& table = BuiltInHolidayTable());

// The note for a year that nobody knows: "2027 年的节假日安排未知，工作日按周一至周五计算，
// 可在 holidays.txt 中补充".
std::string UnknownHolidayYearText(int year);

}  // namespace norvel
