#include "settings/alarms.h"

#include <algorithm>
#include <charconv>

#include "settings/ini_file.h"
#include "settings/ini_store.h"
#include "toolkit/codepage.h"
#include "toolkit/file_io.h"

namespace norvel {
namespace {

using Names = AlarmFileNames;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A decimal number from 1 up that an int holds, written with digits only and no leading
// zero, so that each number has one spelling and one section.
std::optional<int> ParseNumber(std::string_view text) {
  if (text.empty() || text.front() == '0' || !std::all_of(text.begin(), text.end(), IsDigit)) {
    return std::nullopt;
  }
  int value = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// The numbers of the file's alarm sections other than alarm 1's, ascending, each once.
std::vector<int> AlarmNumbersIn(const IniFile& ini) {
  std::vector<int> numbers;
  for (const std::string& name : ini.SectionNames()) {
    if (const auto number = AlarmNumberOfSection(name)) numbers.push_back(*number);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

// The highest number the file has given: its record, or a higher section, or 1.
int MaxNumberIn(const IniFile& ini, const std::vector<int>& numbers) {
  int max = 1;
  if (const auto stored = ini.Get(Names::kStateSection, Names::kMaxNumber)) {
    max = std::max(max, ParseNumber(*stored).value_or(1));
  }
  return numbers.empty() ? max : std::max(max, numbers.back());
}

StoredAlarm ReadAlarm(const IniFile& ini, int number) {
  const std::string section = AlarmSectionName(number);
  const bool enabled = ini.Get(section, Names::kEnabled) != "0";
  StoredAlarm alarm{number, enabled, ReadAlarmTexts(ini, section)};
  alarm.texts.sound = ini.Get(section, AlarmSettings::kSound).value_or(std::string());
  return alarm;
}

// Sets the alarm's texts and its switch. Returns the key of a value the file cannot hold,
// or empty.
std::string_view SetAlarm(IniFile& ini, const StoredAlarm& alarm) {
  const std::string section = AlarmSectionName(alarm.number);
  const std::string_view refused = SetAlarmTexts(ini, section, alarm.texts);
  if (!refused.empty()) return refused;
  const std::string& sound = alarm.texts.sound;
  if (sound.empty() || sound == AlarmSettings::kNoSound) {
    ini.Remove(section, AlarmSettings::kSound);
  } else if (!ini.Set(section, AlarmSettings::kSound, sound)) {
    return AlarmSettings::kSound;  // a path the file's encoding cannot hold
  }
  if (alarm.enabled) {
    ini.Remove(section, Names::kEnabled);
    return {};
  }
  return ini.Set(section, Names::kEnabled, "0") ? std::string_view() : Names::kEnabled;
}

// Alarm 1's section is the one older versions read; it is never removed.
void RemoveAlarm(IniFile& ini, int number) {
  if (number < 2) return;
  ini.RemoveSection(AlarmSectionName(number));
  ini.Remove(Names::kStateSection, PutOffKey(number));
}

// The highest number given so far, by the caller or by the file (which another copy of the
// program may have written since it was read), so that no number is ever given twice.
int HighestNumber(const IniFile& ini, const std::vector<StoredAlarm>& alarms,
                  const std::vector<int>& deleted, int max_number) {
  int max = std::max(max_number, MaxNumberIn(ini, AlarmNumbersIn(ini)));
  for (const StoredAlarm& alarm : alarms) max = std::max(max, alarm.number);
  for (const int number : deleted) max = std::max(max, number);
  return max;
}

}  // namespace

std::string AlarmSectionName(int number) {
  if (number == 1) return std::string(AlarmSettings::kSection);
  return std::string(Names::kSectionPrefix) + std::to_string(number);
}

std::string PutOffKey(int number) {
  if (number == 1) return std::string(Names::kPutOff);
  return std::string(Names::kPutOff) + std::to_string(number);
}

std::optional<int> AlarmNumberOfSection(std::string_view section) {
  if (section.substr(0, Names::kSectionPrefix.size()) != Names::kSectionPrefix) {
    return std::nullopt;
  }
  const auto number = ParseNumber(section.substr(Names::kSectionPrefix.size()));
  if (!number || *number < 2) return std::nullopt;
  return number;
}

StoredAlarms ReadAlarms(const std::string& file) {
  StoredAlarms result;
  const FileContent content = ReadWholeFile(file);
  if (content.status != ReadStatus::kOk) {
    result.alarms.push_back(StoredAlarm{});
    return result;
  }
  const IniFile ini(content.bytes, Cp936());
  const std::vector<int> numbers = AlarmNumbersIn(ini);
  result.max_number = MaxNumberIn(ini, numbers);
  result.alarms.push_back(ReadAlarm(ini, 1));
  for (const int number : numbers) {
    if (result.alarms.size() == static_cast<std::size_t>(kMaxAlarms)) {
      result.truncated = true;
      break;
    }
    result.alarms.push_back(ReadAlarm(ini, number));
  }
  return result;
}

AlarmsSaveResult WriteAlarms(const std::vector<StoredAlarm>& alarms,
                             const std::vector<int>& deleted, int max_number,
                             const std::string& file) {
  const FileContent content = ReadWholeFile(file);
  // Never replace a file that exists but could not be read: its content would be lost.
  if (content.status == ReadStatus::kError) return {WriteStatus::kIoError, 0, {}};
  IniFile ini(content.bytes, Cp936());
  const int highest = HighestNumber(ini, alarms, deleted, max_number);
  for (const int number : deleted) RemoveAlarm(ini, number);
  // Everything below changes only the text in memory; the file is replaced once, at the
  // end, so a refused value leaves it as it was.
  for (const StoredAlarm& alarm : alarms) {
    const std::string_view refused = SetAlarm(ini, alarm);
    if (!refused.empty()) return {WriteStatus::kUnrepresentable, alarm.number, refused};
  }
  // A file whose user never added an alarm keeps the form older versions wrote.
  if (highest > 1 && !ini.Set(Names::kStateSection, Names::kMaxNumber, std::to_string(highest))) {
    return {WriteStatus::kUnrepresentable, 0, Names::kMaxNumber};
  }
  return {ReplaceWith(file, ini), 0, {}};
}

}  // namespace norvel
