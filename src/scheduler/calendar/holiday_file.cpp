#include "scheduler/calendar/holiday_file.h"

#include <optional>

#include "toolkit/utf.h"

namespace norvel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // a blank typed in a Chinese IME
constexpr std::string_view kDayOffMark = "休";
constexpr std::string_view kWorkDayMark = "班";

// The file's text as UTF-8. GBK keeps every ASCII byte (a line break is never part of a
// two-byte character), so line numbers are the same before and after decoding.
std::string DecodeText(std::string_view bytes, const Cp936Codec& codec) {
  if (bytes.starts_with(kUtf8Bom)) return std::string(bytes.substr(kUtf8Bom.size()));
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return codec.Decode(bytes);
}

bool IsAsciiBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Removes blanks at the front of `text`; true when there were any.
bool SkipBlanks(std::string_view& text) {
  const std::size_t size = text.size();
  for (;;) {
    if (!text.empty() && IsAsciiBlank(text.front())) {
      text.remove_prefix(1);
    } else if (text.starts_with(kIdeographicSpace)) {
      text.remove_prefix(kIdeographicSpace.size());
    } else {
      return text.size() != size;
    }
  }
}

void TrimBlanksAtEnd(std::string_view& text) {
  for (;;) {
    if (!text.empty() && IsAsciiBlank(text.back())) {
      text.remove_suffix(1);
    } else if (text.ends_with(kIdeographicSpace)) {
      text.remove_suffix(kIdeographicSpace.size());
    } else {
      return;
    }
  }
}

// Reads `min`..`max` decimal digits from the front of `text`.
std::optional<int> ReadNumber(std::string_view& text, std::size_t min, std::size_t max) {
  std::size_t n = 0;
  int value = 0;
  while (n < text.size() && n < max && text[n] >= '0' && text[n] <= '9') {
    value = value * 10 + (text[n] - '0');
    ++n;
  }
  if (n < min) return std::nullopt;
  text.remove_prefix(n);
  return value;
}

bool ReadChar(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

// "yyyy-m-d", month and day with one or two digits, a date that exists.
std::optional<CivilDate> ReadDate(std::string_view& text) {
  const std::optional<int> year = ReadNumber(text, 4, 4);
  if (!year || !ReadChar(text, '-')) return std::nullopt;
  const std::optional<int> month = ReadNumber(text, 1, 2);
  if (!month || !ReadChar(text, '-')) return std::nullopt;
  const std::optional<int> day = ReadNumber(text, 1, 2);
  if (!day) return std::nullopt;
  const CivilDate date{*year, *month, *day};
  if (!IsValidDate(date)) return std::nullopt;
  return date;
}

// A trimmed line that is neither blank nor a comment.
std::optional<HolidayOverride> ReadEntry(std::string_view line) {
  const std::optional<CivilDate> date = ReadDate(line);
  if (!date || !SkipBlanks(line)) return std::nullopt;
  if (line == kDayOffMark) return HolidayOverride{*date, false};
  if (line == kWorkDayMark) return HolidayOverride{*date, true};
  return std::nullopt;
}

}  // namespace

HolidayFile ParseHolidayFile(std::string_view bytes, const Cp936Codec& codec) {
  const std::string text = DecodeText(bytes, codec);
  HolidayFile file;
  std::string_view rest = text;
  for (int number = 1; !rest.empty(); ++number) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    SkipBlanks(line);
    TrimBlanksAtEnd(line);
    if (line.empty() || line.front() == '#') continue;
    if (const std::optional<HolidayOverride> entry = ReadEntry(line)) {
      file.overrides.push_back(*entry);
    } else {
      file.bad_lines.push_back(number);
    }
  }
  return file;
}

std::string BadHolidayLineText(int line) {
  std::string text(kHolidayFileName);
  text += " 第 ";
  text += std::to_string(line);
  text += " 行无法识别，已跳过";
  return text;
}

}  // namespace norvel
