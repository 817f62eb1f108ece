// Reading the user's holidays.txt: one date a line, "2027-01-01 休" (a day off) or
// "2027-02-20 班" (a work day), blanks around the line allowed; blank lines and lines that
// start with "#" say nothing. The file is UTF-8 (with or without a byte-order mark) or, as
// Notepad saves it on a Chinese system, code page 936.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scheduler/calendar.h"
#include "toolkit/codepage.h"

namespace norvel {

struct HolidayFile {
  std::vector<HolidayOverride> overrides;  // in file order
  std::vector<int> bad_lines;              // 1-based numbers of the lines that were skipped
};

// A line that cannot be read is skipped and named; the other lines still count.
HolidayFile ParseHolidayFile(std::string_view bytes, const Cp936Codec& codec = Cp936());

// The note for a skipped line: "holidays.txt 第 3 行无法识别，已跳过".
std::string BadHolidayLineText(int line);

}  // namespace norvel
