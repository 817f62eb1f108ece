// The settings store: six text values in section "设置" of option.ini, next to the exe.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace norvel {

// The settings as text, with the section and the keys they are kept under (defined once
// for the program and its tests): the six of every version, and the days it rings on.
struct AlarmSettings {
  static constexpr std::string_view kSection = "设置";
  static constexpr std::string_view kMessage = "提示语";
  static constexpr std::string_view kHour = "小时";
  static constexpr std::string_view kMinute = "分钟";
  static constexpr std::string_view kSecond = "秒钟";
  static constexpr std::string_view kAction = "动作";
  static constexpr std::string_view kPicture = "图片";
  static constexpr std::string_view kDays = "日期";
  static constexpr std::array<std::string_view, 7> kKeys = {kMessage, kHour,    kMinute, kSecond,
                                                            kAction,  kPicture, kDays};
  // The reminder's sound: "无", "铃声", "系统提示音" or a .wav file's full path. Kept only when
  // it is not "无", so that every alarm written before it stays silent and unchanged.
  static constexpr std::string_view kSound = "声音";
  static constexpr std::string_view kNoSound = "无";

  std::string message, hour, minute, second, action, picture, days;
  std::string sound;  // empty reads as "无"

  // The values in the order of kKeys.
  std::array<const std::string*, 7> Values() const {
    return {&message, &hour, &minute, &second, &action, &picture, &days};
  }
  std::array<std::string*, 7> Values() {
    return {&message, &hour, &minute, &second, &action, &picture, &days};
  }

  friend bool operator==(const AlarmSettings&, const AlarmSettings&) = default;
};

inline constexpr std::string_view kSettingsFileName = "option.ini";

// The settings file of a program in `app_directory`: the directory and "\option.ini",
// joined as text.
std::string SettingsFilePath(std::string_view app_directory);

enum class WriteStatus {
  kOk,
  kUnrepresentable,  // the text has characters the file's encoding cannot hold
  kReadOnly,         // the settings file is read-only
  kIoError,          // the file or its folder could not be read or written
};

// The value of `key`, or empty text when the file, the section or the key is missing or
// the file cannot be read. Values come back whole, however long.
std::string ReadIniValue(std::string_view section, std::string_view key, const std::string& file);

// Stores the value and reports whether it reached the disk. The file is replaced in one
// step, so a failed or interrupted write leaves the previous file as it was.
[[nodiscard]] WriteStatus WriteIniValue(std::string_view section, std::string_view key,
                                        std::string_view value, const std::string& file);

// Removes the key and its line; a file, section or key that is not there is left as it is.
[[nodiscard]] WriteStatus RemoveIniValue(std::string_view section, std::string_view key,
                                         const std::string& file);

// The settings from one read of the file; empty text for whatever is missing.
AlarmSettings ReadAlarmSettings(const std::string& file);

struct SaveResult {
  WriteStatus status = WriteStatus::kOk;
  std::string_view key;  // with kUnrepresentable: the first key whose value cannot be held
};

// Stores the settings together, in one replace of the file: either all of them reach
// the disk or none does (a value the file's encoding cannot hold, a read-only file, a
// failed write each leave the file exactly as it was).
[[nodiscard]] SaveResult WriteAlarmSettings(const AlarmSettings& settings, const std::string& file);

// The message may span several lines; in the file it stays on one line, with "\n" for a
// line feed, "\r" for a carriage return and "\\" for a backslash. Any other backslash is
// kept as it stands, so messages of older files read as they did.
std::string EscapeLineBreaks(std::string_view value);
std::string UnescapeLineBreaks(std::string_view stored);

}  // namespace norvel
