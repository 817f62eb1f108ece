#include "settings/ini.h"

#include "settings/alarms.h"
#include "settings/ini_file.h"
#include "settings/ini_store.h"
#include "toolkit/codepage.h"
#include "toolkit/file_io.h"

namespace norvel {
namespace {

// The message of alarm 1 and of every other alarm may span several lines.
bool IsEscapedKey(std::string_view section, std::string_view key) {
  return key == AlarmSettings::kMessage &&
         (section == AlarmSettings::kSection || AlarmNumberOfSection(section).has_value());
}

}  // namespace

std::string StoredForm(std::string_view section, std::string_view key, std::string_view value) {
  return IsEscapedKey(section, key) ? EscapeLineBreaks(value) : std::string(value);
}

std::string ValueForm(std::string_view section, std::string_view key, std::string stored) {
  return IsEscapedKey(section, key) ? UnescapeLineBreaks(stored) : stored;
}

AlarmSettings ReadAlarmTexts(const IniFile& ini, std::string_view section) {
  AlarmSettings texts;
  const auto values = texts.Values();
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string_view key = AlarmSettings::kKeys[i];
    *values[i] = ValueForm(section, key, ini.Get(section, key).value_or(std::string()));
  }
  return texts;
}

std::string_view SetAlarmTexts(IniFile& ini, std::string_view section, const AlarmSettings& texts) {
  const auto values = texts.Values();
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string_view key = AlarmSettings::kKeys[i];
    if (!ini.Set(section, key, StoredForm(section, key, *values[i]))) return key;
  }
  return {};
}

WriteStatus ReplaceWith(const std::string& file, const IniFile& ini) {
  switch (ReplaceFileAtomically(file, ini.Bytes())) {
    case ReplaceStatus::kOk:
      return WriteStatus::kOk;
    case ReplaceStatus::kReadOnly:
      return WriteStatus::kReadOnly;
    case ReplaceStatus::kError:
      break;
  }
  return WriteStatus::kIoError;
}

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
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
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
  return ValueForm(section, key, ini.Get(section, key).value_or(std::string()));
}

AlarmSettings ReadAlarmSettings(const std::string& file) {
  const FileContent content = ReadWholeFile(file);
  if (content.status != ReadStatus::kOk) return {};
  return ReadAlarmTexts(IniFile(content.bytes, Cp936()), AlarmSettings::kSection);
}

WriteStatus WriteIniValue(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& file) {
  const FileContent content = ReadWholeFile(file);
  // Never replace a file that exists but could not be read: its content would be lost.
  if (content.status == ReadStatus::kError) return WriteStatus::kIoError;
  IniFile ini(content.bytes, Cp936());
  if (!ini.Set(section, key, StoredForm(section, key, value))) return WriteStatus::kUnrepresentable;
  return ReplaceWith(file, ini);
}

WriteStatus RemoveIniValue(std::string_view section, std::string_view key,
                           const std::string& file) {
  const FileContent content = ReadWholeFile(file);
  if (content.status == ReadStatus::kMissing) return WriteStatus::kOk;
  if (content.status == ReadStatus::kError) return WriteStatus::kIoError;
  IniFile ini(content.bytes, Cp936());
  if (!ini.Remove(section, key)) return WriteStatus::kOk;
  return ReplaceWith(file, ini);
}

SaveResult WriteAlarmSettings(const AlarmSettings& settings, const std::string& file) {
  const FileContent content = ReadWholeFile(file);
  if (content.status == ReadStatus::kError) return {WriteStatus::kIoError, {}};
  IniFile ini(content.bytes, Cp936());
  // Set changes nothing when it refuses, and nothing reaches the disk before all of them
  // are set: a refused value leaves the file as it was.
  const std::string_view refused = SetAlarmTexts(ini, AlarmSettings::kSection, settings);
  if (!refused.empty()) return {WriteStatus::kUnrepresentable, refused};
  return {ReplaceWith(file, ini), {}};
}

}  // namespace norvel
