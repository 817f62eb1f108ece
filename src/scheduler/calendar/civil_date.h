// Dates of the proleptic Gregorian calendar as plain numbers: day counts across month and
// year ends, the weekday of a date, and whether a date exists.
#pragma once

#include <cstdint>

namespace norvel {

struct CivilDate {
  int year = 0, month = 0, day = 0;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Floor division and its remainder (never negative for a positive `b`), so that times
// before 1970 fall on the right day.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b);
std::int64_t FloorMod(std::int64_t a, std::int64_t b);

// Days from 1970-01-01 to the given date.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day);

// 0 Sunday … 6 Saturday, as the clock reports it.
int WeekdayOf(CivilDate date);

// The date of a day count from 1970-01-01 (the inverse of DaysFromCivil), and the date of
// a civil second (seconds of local civil time since 1970-01-01 00:00:00).
CivilDate CivilFromDays(std::int64_t days);
CivilDate DateOfCivilSecond(std::int64_t civil_second);

int DaysInMonth(int year, int month);
bool IsValidDate(CivilDate date);

}  // namespace norvel
