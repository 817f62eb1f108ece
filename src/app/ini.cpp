#include "app/ini.h"

#include "app/ini_file.h"
#include "toolkit/codepage.h"
#include "toolkit/file_io.h"

namespace norvel {
namespace {

bool IsEscapedKey(std::string_view section, std::string_view key) {
  return section == AlarmSettings::kSection && key == AlarmSettings::kMessage;
}

}  // namespace

std::string SettingsFilePath(std::string_view app_directory) {
  std::string path(app_directory);
  path += '\\';
  path += kSettingsFileName;
  return path;
}

std::string EscapeLineBreaks(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UnescapeLineBreaks(std::string_view stored) {
  std::string out;
  out.reserve(stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const char next = i + 1 < stored.size() ? stored[i + 1] : '\0';
    if (stored[i] == '\\' && (next == '\\' || next == 'r' || next == 'n')) {
      out += next == '\\' ? '\\' : next == 'r' ? '\r' : '\n';
      ++i;
    } else {
      out += stored[i];
    }
  }
  return out;
}

std::string ReadIniValue(std::string_view section, std::string_view key, const std::string& file) {
  const FileContent content = ReadWholeFile(file);
  if (content.status != ReadStatus::kOk) return {};
  const IniFile ini(content.bytes, Cp936());
  std::string value = ini.Get(section, key).value_or(std::string());
  return IsEscapedKey(section, key) ? UnescapeLineBreaks(value) : value;
}

WriteStatus WriteIniValue(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& file) {
  const FileContent content = ReadWholeFile(file);
  // Never replace a file that exists but could not be read: its content would be lost.
  if (content.status == ReadStatus::kError) return WriteStatus::kIoError;
  IniFile ini(content.bytes, Cp936());
  const std::string stored = IsEscapedKey(section, key) ? EscapeLineBreaks(value)
                                                        : std::string(value);
  if (!ini.Set(section, key, stored)) return WriteStatus::kUnrepresentable;
  switch (ReplaceFileAtomically(file, ini.Bytes())) {
    case ReplaceStatus::kOk: return WriteStatus::kOk;
    case ReplaceStatus::kReadOnly: return WriteStatus::kReadOnly;
    case ReplaceStatus::kError: break;
  }
  return WriteStatus::kIoError;
}

}  // namespace norvel
