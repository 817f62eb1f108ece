// The user's holidays.txt beside norvel.exe: read at start and again when its time stamp
// changes (looked at no more than once a minute), never created or written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scheduler/calendar/calendar.h"
#include "scheduler/calendar/holiday_file.h"

namespace norvel {

class HolidaysFile {
 public:
  explicit HolidaysFile(std::string path);

  // Reads the file again when it appeared, changed or went away since the last read, or
  // when that read failed. True when the calendar was made anew; its unreadable lines are
  // then in bad_lines(). A read that fails keeps the calendar as it was.
  bool Refresh();
  // The built-in calendar with the file's days over it; valid until the next Refresh.
  const HolidayCalendar& calendar() const { return *calendar_; }
  const std::vector<int>& bad_lines() const { return bad_lines_; }

 private:
  using Stamp = HolidayFileWatch::Stamp;
  Stamp Look() const;

  std::string path_;
  HolidayFileWatch watch_;
  std::unique_ptr<HolidayCalendar> calendar_;
  std::vector<int> bad_lines_;
};

}  // namespace norvel
