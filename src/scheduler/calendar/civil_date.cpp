#include "scheduler/calendar/civil_date.h"

namespace norvel {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b < 0 ? 1 : 0);
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
  return a - FloorDiv(a, b) * b;
}

// The year is counted from March, so that the leap day is the last day of its year, and in
// eras of 400 years, each 146097 days long.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  if (month <= 2) --year;
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t year_of_era = year - era * 400;                              // 0..399
  const std::int64_t day_of_year = (153 * ((month + 9) % 12) + 2) / 5 + day - 1;  // from March 1
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;  // 719468: days from 0000-03-01 to 1970-01-01
}

int WeekdayOf(CivilDate date) {
  // 1970-01-01 was a Thursday.
  return static_cast<int>(FloorMod(DaysFromCivil(date.year, date.month, date.day) + 4, 7));
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool IsValidDate(CivilDate date) {
  return date.month >= 1 && date.month <= 12 && date.day >= 1 &&
         date.day <= DaysInMonth(date.year, date.month);
}

// The date of a day count from 1970-01-01: the inverse of DaysFromCivil, with the year
// counted from March in eras of 400 years.
CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = FloorDiv(days, 146097);
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t mp = (5 * day_of_year + 2) / 153;
  const int day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

CivilDate DateOfCivilSecond(std::int64_t civil_second) {
  return CivilFromDays(FloorDiv(civil_second, 86400));
}

}  // namespace norvel
