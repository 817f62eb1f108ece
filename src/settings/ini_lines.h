// The line form of option.ini, shared by the parts of IniFile: lines, "[name]" lines and
// name comparison, on the text in its working encoding (code page 936 bytes or UTF-8).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace norvel::ini_lines {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

inline std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// In code page 936 a byte from 0x81 to 0xFE starts a two-byte character whose second byte
// may look like ASCII ('[', ']', '\\', letters). In UTF-8 no ASCII byte is ever part of a
// longer character. This tells how long the character at `i` is.
inline std::size_t CharLength(std::string_view s, std::size_t i, bool cp936) {
  const auto b = static_cast<unsigned char>(s[i]);
  return (cp936 && b >= 0x81 && b <= 0xFE && i + 1 < s.size()) ? 2 : 1;
}

inline char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares two names in the working encoding, ignoring ASCII letter case but never
// folding the second byte of a double-byte character.
inline bool NamesEqual(std::string_view a, std::string_view b, bool cp936) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t len = CharLength(a, i, cp936);
    if (len == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
    i += len;
  }
  return true;
}

// The name of a "[name]" line: text up to the last ']' that is a character of its own,
// or the rest of the line when there is none. nullopt for a line that is no section line.
inline std::optional<std::string_view> SectionName(std::string_view line, bool cp936) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  std::size_t close = std::string_view::npos;
  for (std::size_t i = 1; i < line.size(); i += CharLength(line, i, cp936)) {
    if (line[i] == ']') close = i;
  }
  const std::size_t end = close == std::string_view::npos ? line.size() : close;
  return Trim(line.substr(1, end - 1));
}

// Iterates the lines of `text`: [begin, end) without the line break, `next` after it.
struct Line {
  std::size_t begin = 0, end = 0, next = 0;
  std::string_view text;
};

class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}
  bool Next(Line& line) {
    if (pos_ >= text_.size()) return false;
    const auto lf = text_.find('\n', pos_);
    line.begin = pos_;
    line.next = lf == std::string_view::npos ? text_.size() : lf + 1;
    line.end = lf == std::string_view::npos ? text_.size() : lf;
    if (line.end > line.begin && text_[line.end - 1] == '\r') --line.end;
    line.text = text_.substr(line.begin, line.end - line.begin);
    pos_ = line.next;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace norvel::ini_lines
