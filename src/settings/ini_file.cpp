#include "settings/ini_file.h"

#include <cstring>

#include "settings/ini_lines.h"
#include "toolkit/utf.h"

namespace norvel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kNewLine = "\r\n";

using ini_lines::IsBlank;
using ini_lines::Line;
using ini_lines::LineCursor;
using ini_lines::NamesEqual;
using ini_lines::SectionName;
using ini_lines::Trim;

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
