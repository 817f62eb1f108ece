// The alarms of option.ini. Alarm 1 is kept in section "设置" exactly as versions with a
// single alarm keep it, so they still read and write it; every other alarm N has a section
// "闹钟N" of its own with the same seven keys. A number is an alarm's identity for as long
// as the file lives: never given again, not even after the alarm is deleted.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini.h"

namespace norvel {

inline constexpr int kMaxAlarms = 32;  // alarm 1 included

struct AlarmFileNames {
  // "启用=0" in an alarm's section turns it off; an alarm that is on has no such key.
  static constexpr std::string_view kEnabled = "启用";
  static constexpr std::string_view kSectionPrefix = "闹钟";
  // The program's state section; it holds the highest number ever given and each alarm's
  // put-off reminder ("稍后提醒" for alarm 1, "稍后提醒N" for alarm N).
  static constexpr std::string_view kStateSection = "状态";
  static constexpr std::string_view kMaxNumber = "最大闹钟号";
  static constexpr std::string_view kPutOff = "稍后提醒";
};

struct StoredAlarm {
  int number = 1;
  bool enabled = true;
  AlarmSettings texts;
  friend bool operator==(const StoredAlarm&, const StoredAlarm&) = default;
};

struct StoredAlarms {
  std::vector<StoredAlarm> alarms;  // alarm 1 first, then ascending numbers
  int max_number = 1;               // the highest number ever given
  bool truncated = false;           // the file holds more than kMaxAlarms alarms
};

// "设置" for alarm 1, "闹钟N" for any other.
std::string AlarmSectionName(int number);

// The key of the alarm's put-off reminder in the state section.
std::string PutOffKey(int number);

// N for a section named "闹钟N" with N a decimal number from 2 up without a leading zero;
// nullopt for any other name.
std::optional<int> AlarmNumberOfSection(std::string_view section);

// The alarms from one read of the file. Alarm 1 is always there (with empty texts when the
// file or its section is missing); the others follow in ascending number whatever the
// order of their sections, up to kMaxAlarms in all.
StoredAlarms ReadAlarms(const std::string& file);

struct AlarmsSaveResult {
  WriteStatus status = WriteStatus::kOk;
  int number = 0;        // with kUnrepresentable: the alarm whose value cannot be held
  std::string_view key;  // and the key of that value
};

// Stores every alarm of `alarms` (numbers from 1 up, each once), removes the sections and
// put-off reminders of the alarms numbered in `deleted` (alarm 1 cannot be deleted: its
// section is the one older versions read) and records the highest number given (never
// lower than the file's own record or its sections), in one replace of the file: all of it reaches
// the disk or none of it does. Sections of alarms in neither list, and every line that is no
// alarm's, are kept byte for byte.
[[nodiscard]] AlarmsSaveResult WriteAlarms(const std::vector<StoredAlarm>& alarms,
                                           const std::vector<int>& deleted, int max_number,
                                           const std::string& file);

}  // namespace norvel
