#include "scheduler/program_state.h"

#include <cstdio>

#include "scheduler/civil_date.h"

namespace norvel {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// The digits of text[at, at + n) as a number, or -1.
int Digits(std::string_view text, std::size_t at, std::size_t n) {
  int value = 0;
  for (std::size_t i = at; i < at + n; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::string StampText(std::int64_t civil_second) {
  const CivilDate date = DateOfCivilSecond(civil_second);
  const auto s = static_cast<int>(FloorMod(civil_second, kSecondsPerDay));
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year, date.month, date.day,
                s / 3600, s / 60 % 60, s % 60);
  return text;
}

std::optional<std::int64_t> ParseStamp(std::string_view text) {
  // Exactly "YYYY-MM-DD HH:MM:SS".
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  const CivilDate date{Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2)};
  const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
  if (!IsValidDate(date) || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
      second > 59) {
    return std::nullopt;
  }
  return DaysFromCivil(date.year, date.month, date.day) * kSecondsPerDay + hour * 3600 +
         minute * 60 + second;
}

}  // namespace norvel
