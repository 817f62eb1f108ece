// What the alarm did, written down: one line per event in norvel.log beside the program, so
// that "why did my computer not shut down last night?" has an answer. The file is UTF-8
// with a byte-order mark, CR LF line ends, and kept small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scheduler/alarm.h"

namespace norvel {

enum class AlarmEventKind {
  kReminderShown,       // at its second
  kReminderCaughtUp,    // late, after a stall or a sleep
  kPutOffShown,         // a put-off reminder at its second (`seconds_late` when later)
  kPowerRequested,      // the shut-down or restart was asked of the system
  kPowerFailed,         // the system refused it (`error`)
  kPowerCancelled,      // the user cancelled it in its warning
  kPowerSkippedLate,    // missed, and not carried out late
  kPowerRepeatRefused,  // its second was carried out before (a clock set back): never twice
};

struct AlarmEvent {
  AlarmEventKind kind = AlarmEventKind::kReminderShown;
  AlarmAction action = AlarmAction::kNone;
  std::int64_t occurrence = 0;    // the trigger second (civil seconds)
  std::int64_t seconds_late = 0;  // kReminderCaughtUp, kPowerSkippedLate
  std::uint32_t error = 0;        // kPowerFailed: the system's error number
  int alarm = 1;                  // the alarm's number, named in the log as "闹钟N"
  friend bool operator==(const AlarmEvent&, const AlarmEvent&) = default;
};

// The event as the log says it, without the time stamp: "闹钟2 显示提醒 (07:05:03)".
std::string EventText(const AlarmEvent& event);
// The same without the alarm's name.
std::string EventDescription(const AlarmEvent& event);
// "闹钟N": how the log and the status line name an alarm.
std::string AlarmName(int number);
// What the user is told of the event from the icon, or "" when it is only written down.
std::string EventNotice(const AlarmEvent& event);
// "2026-12-08 07:05:03  " followed by the event's text and CR LF.
std::string LogLine(const AlarmEvent& event, const LocalTime& now);
// The same line for any text.
std::string StampedLogLine(std::string_view text, const LocalTime& now);

inline constexpr std::string_view kLogFileName = "norvel.log";
inline constexpr std::size_t kLogLimitBytes = 256 * 1024;
std::string LogFilePath(std::string_view app_directory);

// The log's new content after appending `line` to `old` (the file's bytes, empty when
// missing): a new file starts with the byte-order mark; when the result would pass `limit`,
// the older half of the lines is dropped.
std::string AppendedLog(std::string_view old, std::string_view line,
                        std::size_t limit = kLogLimitBytes);
// Appends the line to the log file in one atomic replace. False when the folder cannot be
// written: then there is no log, and nothing else changes.
bool AppendToLog(const std::string& path, std::string_view line);

}  // namespace norvel
