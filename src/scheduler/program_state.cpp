#include "scheduler/program_state.h"

#include <cstdio>

#include "scheduler/calendar/civil_date.h"

namespace norvel {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// The digits of text[at, at + n) as a number, or -1.
int Digits(std::string_view text, std::size_t at, std::size_t n) {
  int value = 0;
  for (std::size_t i = at; i < at + n; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::string StampText(std::int64_t civil_second) {
  const CivilDate date = DateOfCivilSecond(civil_second);
  const auto s = static_cast<int>(FloorMod(civil_second, kSecondsPerDay));
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year, date.month, date.day,
                s / 3600, s / 60 % 60, s % 60);
  return text;
}

std::optional<std::int64_t> ParseStamp(std::string_view text) {
  // Exactly "YYYY-MM-DD HH:MM:SS".
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  const CivilDate date{Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2)};
  const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
  if (!IsValidDate(date) || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
      second > 59) {
    return std::nullopt;
  }
  return DaysFromCivil(date.year, date.month, date.day) * kSecondsPerDay + hour * 3600 +
         minute * 60 + second;
}

}  // namespace norvel

namespace norvel {
namespace {

struct StateWriteNames {
  std::string_view what, where, then;  // what failed, its key, what that means
};

StateWriteNames NamesOf(StateWrite what) {
  switch (what) {
    case StateWrite::kPutOff:
      return {"无法保存稍后提醒", "[状态] 稍后提醒", "这一次照常提醒,但程序重新启动后不会记得。"};
    case StateWrite::kPutOffRemoved:
      return {"无法删除已完成的稍后提醒", "[状态] 稍后提醒", "程序下次启动时可能再提醒一次。"};
    case StateWrite::kLastPowerAction:
      return {"无法记录这次电源操作", "[状态] 上次电源操作", "时钟被调回时,这一秒可能再执行一次。"};
    case StateWrite::kRunOnce:
      return {"无法设置重启后启动一次", "RunOnce Norvel", "重启后 Norvel 不会自动启动。"};
    case StateWrite::kRunOnceRemoved:
      return {"无法删除重启后启动一次", "RunOnce Norvel", "下次登录时 Norvel 可能会启动一次。"};
  }
  return {};
}

}  // namespace

std::string StateWriteFailedLogText(StateWrite what, std::string_view reason) {
  const StateWriteNames names = NamesOf(what);
  std::string text(names.what);
  text.append(" (").append(names.where).append("): ").append(reason);
  return text;
}

std::string StateWriteFailedNotice(StateWrite what, std::string_view reason) {
  const StateWriteNames names = NamesOf(what);
  std::string text(names.what);
  text.append(":").append(reason).append("\n").append(names.then);
  return text;
}

std::string RestartDidNotHappenLogText() {
  return "重启没有发生 (请求后 " + std::to_string(RestartFollowUp::kRestartGoneMs / 1000) +
         " 秒程序仍在运行), 已删除 RunOnce";
}

}  // namespace norvel
