// The alarm's vocabulary: one reading of the clock, the actions and the list texts.
#pragma once

#include <cstdint>
#include <string_view>

namespace norvel {

// The local date and time, as one reading of the clock.
struct LocalTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int weekday = 0;  // 0 Sunday … 6 Saturday
};

// Every read of "now" goes through a clock, so the rule can be tested at any instant.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
  // Milliseconds of a count that only moves forward, also while the machine sleeps, and
  // that setting the wall clock does not change.
  virtual std::int64_t MonotonicMs() const = 0;
};

enum class AlarmAction { kNone, kRemind, kShutDown, kRestart };

constexpr bool IsPowerAction(AlarmAction action) {
  return action == AlarmAction::kShutDown || action == AlarmAction::kRestart;
}

inline constexpr std::string_view kEveryHourText = "每小时";
inline constexpr std::string_view kRemindText = "无动作";
inline constexpr std::string_view kShutDownText = "关闭计算机";
inline constexpr std::string_view kRestartText = "重启计算机";

// The list text of an action ("" for none).
std::string_view ActionText(AlarmAction action);

}  // namespace norvel
