// The alarm tick's decisions: does this instant match the trigger the lists show, and what
// runs then. Texts are compared exactly as shown: no trimming, numbers without leading zeros.
#pragma once

#include <cstdint>
#include <string>
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

inline constexpr std::string_view kEveryHourText = "每小时";
inline constexpr std::string_view kRemindText = "无动作";
inline constexpr std::string_view kShutDownText = "关闭计算机";
inline constexpr std::string_view kRestartText = "重启计算机";

// True when `text` is exactly the decimal form of `value` (0 or more, no leading zeros).
template <typename Char>
bool EqualsDecimal(std::basic_string_view<Char> text, int value) {
  Char digits[12];
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<Char>('0' + value % 10);
    value /= 10;
  } while (value > 0);
  if (text.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] != digits[n - 1 - i]) return false;
  }
  return true;
}

// The match rule: hour (unless it is "每小时"), minute and second each equal their own field.
// The texts come from readers and are read only as far as needed, second first: most ticks
// fail there, and reading a list is the costly part of a tick.
template <typename Char, typename ReadHour, typename ReadMinute, typename ReadSecond>
bool TriggerMatchesReading(ReadHour&& hour, ReadMinute&& minute, ReadSecond&& second,
                           std::basic_string_view<Char> every_hour, const LocalTime& now) {
  if (!EqualsDecimal<Char>(second(), now.second)) return false;
  if (!EqualsDecimal<Char>(minute(), now.minute)) return false;
  const std::basic_string_view<Char> h = hour();
  return h == every_hour || EqualsDecimal(h, now.hour);
}

template <typename Char>
bool TriggerMatches(std::basic_string_view<Char> hour, std::basic_string_view<Char> minute,
                    std::basic_string_view<Char> second, std::basic_string_view<Char> every_hour,
                    const LocalTime& now) {
  return TriggerMatchesReading<Char>([&] { return hour; }, [&] { return minute; },
                                     [&] { return second; }, every_hour, now);
}

inline bool TriggerMatches(std::string_view hour, std::string_view minute, std::string_view second,
                           const LocalTime& now) {
  return TriggerMatches(hour, minute, second, kEveryHourText, now);
}

// The action texts in the character type the caller reads the list in.
template <typename Char>
struct ActionTexts {
  std::basic_string_view<Char> remind, shut_down, restart;
};

// The action that the action text names; any other text names none.
template <typename Char>
AlarmAction ActionNamed(std::basic_string_view<Char> action, const ActionTexts<Char>& texts) {
  if (action == texts.remind) return AlarmAction::kRemind;
  if (action == texts.shut_down) return AlarmAction::kShutDown;
  if (action == texts.restart) return AlarmAction::kRestart;
  return AlarmAction::kNone;
}
AlarmAction ActionNamed(std::string_view action);

// What one tick does: the named action when the instant matches, otherwise nothing.
AlarmAction ActionForTick(std::string_view hour, std::string_view minute, std::string_view second,
                          std::string_view action, const LocalTime& now);

}  // namespace norvel
