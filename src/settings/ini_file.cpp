#include "settings/ini_file.h"

#include <cstring>

#include "toolkit/utf.h"

namespace norvel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kNewLine = "\r\n";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// In code page 936 a byte from 0x81 to 0xFE starts a two-byte character whose second byte
// may look like ASCII ('[', ']', '\\', letters). In UTF-8 no ASCII byte is ever part of a
// longer character. This tells how long the character at `i` is.
std::size_t CharLength(std::string_view s, std::size_t i, bool cp936) {
  const auto b = static_cast<unsigned char>(s[i]);
  return (cp936 && b >= 0x81 && b <= 0xFE && i + 1 < s.size()) ? 2 : 1;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares two names in the working encoding, ignoring ASCII letter case but never
// folding the second byte of a double-byte character.
bool NamesEqual(std::string_view a, std::string_view b, bool cp936) {
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
std::optional<std::string_view> SectionName(std::string_view line, bool cp936) {
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

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  std::string out = Utf16ToUtf8Lossy(units);
  if (bytes.size() % 2 != 0) AppendUtf8(out, 0xFFFD);  // a file cut inside a character
  return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
  const auto units = Utf8ToUtf16(utf8).value_or(std::u16string());
  std::string out;
  out.reserve(units.size() * 2);
  for (const char16_t u : units) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  }
  return out;
}

// What must come before a new line inserted at `at`, so that the line before it stays a
// line of its own: nothing after a line feed, the rest of CR LF after a lone CR.
std::string_view LineBreakBefore(std::string_view text, std::size_t at) {
  if (at == 0 || text[at - 1] == '\n') return {};
  return text[at - 1] == '\r' ? std::string_view("\n") : kNewLine;
}

bool HasHighByte(std::string_view s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// A value whose blanks at either end or enclosing quotes would be lost on read is written
// inside double quotes, which the reader (ours and the platform's) removes again.
bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return false;
  if (IsBlank(value.front()) || IsBlank(value.back())) return true;
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

}  // namespace

struct IniFile::Location {
  bool section_found = false;
  std::size_t insert_at = 0;  // where a new key line of the section goes
  bool key_found = false;
  std::size_t line_begin = 0, line_end = 0;  // the key's line, without its line break
  std::string_view key_text;                 // the key's name as the file spells it
  std::string_view value_text;               // the raw value, blanks trimmed
};

IniFile::IniFile(std::string_view bytes, const Cp936Codec& codec) : codec_(codec) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    encoding_ = IniEncoding::kUtf8Bom;
    content_ = bytes.substr(kUtf8Bom.size());
  } else if (bytes.substr(0, kUtf16LeBom.size()) == kUtf16LeBom) {
    encoding_ = IniEncoding::kUtf16LeBom;
    content_ = Utf16LeToUtf8(bytes.substr(kUtf16LeBom.size()));
  } else if (HasHighByte(bytes) && IsValidUtf8(bytes)) {
    // Text that a GBK file holds (its own section name, for one) is never valid UTF-8.
    encoding_ = IniEncoding::kUtf8;
    content_ = bytes;
  } else {
    encoding_ = IniEncoding::kCp936;
    content_ = bytes;
  }
}

std::optional<std::string> IniFile::ToWorking(std::string_view utf8) const {
  if (encoding_ == IniEncoding::kCp936) return codec_.Encode(utf8);
  if (!IsValidUtf8(utf8)) return std::nullopt;
  return std::string(utf8);
}

std::string IniFile::FromWorking(std::string_view working) const {
  return encoding_ == IniEncoding::kCp936 ? codec_.Decode(working) : std::string(working);
}

IniFile::Location IniFile::Find(std::string_view section_raw, std::string_view key_raw) const {
  const bool cp936 = encoding_ == IniEncoding::kCp936;
  Location loc;
  bool in_section = false;
  LineCursor cursor(content_);
  Line line;
  while (cursor.Next(line)) {
    if (const auto name = SectionName(line.text, cp936)) {
      if (in_section) break;  // the first section of the name wins
      in_section = NamesEqual(*name, section_raw, cp936);
      if (in_section) {
        loc.section_found = true;
        loc.insert_at = line.next;
      }
      continue;
    }
    if (!in_section) continue;
    const std::string_view text = Trim(line.text);
    if (text.empty()) continue;
    loc.insert_at = line.next;
    const auto eq = text.find('=');  // '=' is never part of a double-byte character
    const std::string_view name = Trim(text.substr(0, eq));
    if (eq == std::string_view::npos || !NamesEqual(name, key_raw, cp936)) continue;
    loc.key_found = true;
    loc.line_begin = line.begin;
    loc.line_end = line.end;
    loc.key_text = name;
    loc.value_text = Trim(text.substr(eq + 1));
    break;
  }
  return loc;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  const auto section_raw = ToWorking(section);
  const auto key_raw = ToWorking(key);
  if (!section_raw || !key_raw) return std::nullopt;
  const Location loc = Find(*section_raw, *key_raw);
  if (!loc.key_found) return std::nullopt;
  std::string_view value = loc.value_text;
  if (const auto nul = value.find('\0'); nul != std::string_view::npos) {
    value = Trim(value.substr(0, nul));
  }
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return FromWorking(value);
}

bool IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  const auto section_raw = ToWorking(section);
  const auto key_raw = ToWorking(key);
  const auto value_raw = ToWorking(value);
  if (!section_raw || !key_raw || !value_raw || Trim(*key_raw).empty() ||
      key_raw->find_first_of("=\r\n") != std::string::npos ||
      section_raw->find_first_of("]\r\n") != std::string::npos) {
    return false;
  }
  const std::string stored = NeedsQuotes(*value_raw) ? '"' + *value_raw + '"' : *value_raw;
  const Location loc = Find(*section_raw, *key_raw);
  if (loc.key_found) {
    std::string line(loc.key_text);
    line += '=';
    line += stored;
    content_.replace(loc.line_begin, loc.line_end - loc.line_begin, line);
    return true;
  }
  const std::size_t at = loc.section_found ? loc.insert_at : content_.size();
  std::string addition(LineBreakBefore(content_, at));
  if (!loc.section_found) {
    addition += '[';
    addition += *section_raw;
    addition += ']';
    addition += kNewLine;
  }
  addition += *key_raw;
  addition += '=';
  addition += stored;
  addition += kNewLine;
  content_.insert(at, addition);
  return true;
}

bool IniFile::Remove(std::string_view section, std::string_view key) {
  const auto section_raw = ToWorking(section);
  const auto key_raw = ToWorking(key);
  if (!section_raw || !key_raw) return false;
  const Location loc = Find(*section_raw, *key_raw);
  if (!loc.key_found) return false;
  std::size_t end = loc.line_end;
  if (end < content_.size() && content_[end] == '\r') ++end;
  if (end < content_.size() && content_[end] == '\n') ++end;
  content_.erase(loc.line_begin, end - loc.line_begin);
  return true;
}

std::string IniFile::Bytes() const {
  switch (encoding_) {
    case IniEncoding::kUtf8Bom:
      return std::string(kUtf8Bom) + content_;
    case IniEncoding::kUtf16LeBom:
      return std::string(kUtf16LeBom) + Utf8ToUtf16Le(content_);
    case IniEncoding::kUtf8:
    case IniEncoding::kCp936:
      break;
  }
  return content_;
}

}  // namespace norvel
