// Weekday and status-line texts of the settings window.
#pragma once

#include <string>
#include <string_view>

#include "scheduler/alarm.h"

namespace norvel {

inline constexpr std::string_view kWeekdayPrefix = "星期 ";
inline constexpr std::string_view kStatusToday = "今天是: ";
inline constexpr std::string_view kStatusNow = "  现在时间: ";
inline constexpr std::string_view kStatusGap = "  ";

// "星期 " and the weekday digit: 0 for Sunday, 1 for Monday … 6 for Saturday.
std::string WeekdayText(const LocalTime& now);

// Appends "星期 " (in `prefix`) and the weekday digit.
template <typename Char>
void AppendWeekday(std::basic_string<Char>& out, std::basic_string_view<Char> prefix, int weekday) {
  out.append(prefix);
  out.push_back(static_cast<Char>('0' + weekday));
}

// The literal parts of the status line in the character type the caller writes.
template <typename Char>
struct StatusLineParts {
  std::basic_string<Char> today, now, gap, weekday_prefix;
};

// Writes "今天是: " date "  现在时间: " time "  " WeekdayText into `out`, reusing its storage.
template <typename Char>
void ComposeStatusLine(std::basic_string<Char>& out, const StatusLineParts<Char>& parts,
                       std::basic_string_view<Char> date, std::basic_string_view<Char> time,
                       int weekday) {
  out.clear();
  out.append(parts.today).append(date).append(parts.now).append(time).append(parts.gap);
  AppendWeekday<Char>(out, parts.weekday_prefix, weekday);
}

}  // namespace norvel
