// Reading the user's holidays.txt: one date a line, "2027-01-01 休" (a day off) or
// "2027-02-20 班" (a work day), blanks around the line allowed; blank lines and lines that
// start with "#" say nothing. The file is UTF-8 (with or without a byte-order mark) or, as
// Notepad saves it on a Chinese system, code page 936.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scheduler/calendar/calendar.h"
#include "toolkit/codepage.h"

namespace norvel {

struct HolidayFile {
  std::vector<HolidayOverride> overrides;  // in file order
  std::vector<int> bad_lines;              // 1-based numbers of the lines that were skipped
};

// A line that cannot be read is skipped and named; the other lines still count.
HolidayFile ParseHolidayFile(std::string_view bytes, const Cp936Codec& codec = Cp936());

// When holidays.txt is read again: when it appeared, changed or went away since the last
// read that succeeded. A read that failed (an editor holding the file) records nothing, so
// the next look tries again.
class HolidayFileWatch {
 public:
  struct Stamp {
    bool exists = false;
    std::uint64_t size = 0, last_write = 0;
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };
  bool ReadWanted(const Stamp& now) const { return !read_ || now != stamp_; }
  void Read(const Stamp& now, bool succeeded) {
    if (!succeeded) return;
    read_ = true;
    stamp_ = now;
  }

 private:
  Stamp stamp_;
  bool read_ = false;
};

// The note for a skipped line: "holidays.txt 第 3 行无法识别，已跳过".
std::string BadHolidayLineText(int line);

}  // namespace norvel
