#include "scheduler/alarm_log.h"

#include <cstdio>

#include "scheduler/missed_trigger.h"
#include "toolkit/file_io.h"

namespace norvel {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string Number(std::int64_t value) {
  return std::to_string(value);
}

}  // namespace

std::string AlarmName(int number) {
  return "闹钟" + std::to_string(number);
}

std::string EventText(const AlarmEvent& e) {
  return AlarmName(e.alarm) + " " + EventDescription(e);
}

std::string EventDescription(const AlarmEvent& e) {
  const std::string at = TimeOfDayText(e.occurrence);
  const std::string action(ActionText(e.action));
  switch (e.kind) {
    case AlarmEventKind::kReminderShown:
      return "显示提醒 (" + at + ")";
    case AlarmEventKind::kReminderCaughtUp:
      return "补显提醒 (" + at + ", 晚了 " + Number(e.seconds_late) + " 秒)";
    case AlarmEventKind::kPutOffShown:
      return "显示稍后提醒 (" + at +
             (e.seconds_late > 0 ? ", 晚了 " + Number(e.seconds_late) + " 秒)" : ")");
    case AlarmEventKind::kPowerRequested:
      return action + " (" + at +
             (e.seconds_late > 0 ? ", 晚了 " + Number(e.seconds_late) + " 秒)" : ")");
    case AlarmEventKind::kPowerFailed:
      return action + "失败 (" + at + ", 系统错误 " + Number(e.error) + ")";
    case AlarmEventKind::kPowerCancelled:
      return "已取消 " + at + " 的" + action;
    case AlarmEventKind::kPowerSkippedLate:
      return "跳过 " + at + " 的" + action + " (晚了 " + Number(e.seconds_late) + " 秒, 不补做)";
    case AlarmEventKind::kPowerRepeatRefused:
      return "跳过 " + at + " 的" + action + " (这一秒已执行过一次)";
  }
  return {};
}

std::string EventNotice(const AlarmEvent& e) {
  const std::string at = TimeOfDayText(e.occurrence);
  const std::string action(ActionText(e.action));
  if (e.kind == AlarmEventKind::kPowerSkippedLate) {
    return "错过了 " + at + " 的" + action +
           "。\n那时程序没能运行(计算机休眠、繁忙或时钟被调整),为免意外,没有补做。";
  }
  if (e.kind == AlarmEventKind::kPowerFailed) {
    return at + " 的" + action + "没有成功:系统拒绝了请求(错误 " + Number(e.error) + ")。";
  }
  return {};
}

std::string LogLine(const AlarmEvent& event, const LocalTime& now) {
  return StampedLogLine(EventText(event), now);
}

std::string StampedLogLine(std::string_view text, const LocalTime& now) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d  ", now.year, now.month,
                now.day, now.hour, now.minute, now.second);
  std::string line(stamp);
  line.append(text).append("\r\n");
  return line;
}

std::string LogFilePath(std::string_view app_directory) {
  std::string path(app_directory);
  path += '\\';
  path += kLogFileName;
  return path;
}

std::string AppendedLog(std::string_view old, std::string_view line, std::size_t limit) {
  std::string_view body = old.starts_with(kBom) ? old.substr(kBom.size()) : old;
  if (kBom.size() + body.size() + line.size() > limit) {
    // Keep the newer half, from the first whole line after the middle.
    const std::size_t cut = body.find('\n', body.size() / 2);
    body = cut == std::string_view::npos ? std::string_view() : body.substr(cut + 1);
  }
  std::string out;
  out.reserve(kBom.size() + body.size() + line.size());
  out.append(kBom).append(body).append(line);
  return out;
}

bool AppendToLog(const std::string& path, std::string_view line) {
  const FileContent old = ReadWholeFile(path);
  if (old.status == ReadStatus::kError) return false;
  return ReplaceFileAtomically(path, AppendedLog(old.bytes, line)) == ReplaceStatus::kOk;
}

}  // namespace norvel
