// Catching up a trigger second that no tick saw: when ticks stop for a while (a stalled
// thread, a machine that slept, a clock that was changed), the latest trigger second between
// two ticks runs once at the next tick.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scheduler/alarm.h"

namespace norvel {

// One reading of the clocks at a tick: the local wall time and a monotonic count of
// milliseconds (the system's tick count, which also runs while the machine sleeps).
struct TickReading {
  LocalTime wall;
  std::int64_t monotonic_ms = 0;
};

// Seconds of local civil time since 1970-01-01 00:00:00 (no time zone: the wall clock's own
// reading), for arithmetic across midnight, month and year ends.
std::int64_t CivilSeconds(const LocalTime& t);

// The time of day of a civil second, for showing "HH:MM:SS".
struct TimeOfDay {
  int hour = 0, minute = 0, second = 0;
};
TimeOfDay TimeOfDayOf(std::int64_t civil_seconds);

struct MissedTrigger {
  std::int64_t civil_second = 0;  // the trigger second that no tick saw
  std::int64_t seconds_late = 0;  // from that second to the current tick's second
  bool clock_jumped = false;      // the wall clock moved forward without the time passing
};

// A trigger as numbers: hour 0..23 or kEveryHour, minute and second 0..59.
struct TriggerTime {
  static constexpr int kEveryHour = -1;
  int hour = 0, minute = 0, second = 0;
};

// A trigger recurs every day, "每小时" every hour: its seconds are those whose civil count
// leaves this offset modulo this period (both divide the civil count evenly).
std::int64_t TriggerPeriod(TriggerTime trigger);
std::int64_t TriggerOffset(TriggerTime trigger);
// The remainder of a floor division (never negative for a positive `b`).
std::int64_t FloorMod(std::int64_t a, std::int64_t b);

// The value of `text` when it is exactly the decimal form of a number 0..max (no leading
// zeros, no blanks, no sign), otherwise -1.
template <typename Char>
int DecimalValue(std::basic_string_view<Char> text, int max) {
  if (text.empty() || (text.size() > 1 && text[0] == static_cast<Char>('0'))) return -1;
  int value = 0;
  for (const Char c : text) {
    if (c < static_cast<Char>('0') || c > static_cast<Char>('9')) return -1;
    value = value * 10 + static_cast<int>(c - static_cast<Char>('0'));
    if (value > max) return -1;
  }
  return value;
}

// The trigger that the list texts name, or nullopt when they name none. Read second first,
// then minute and hour, each only while the ones before were numbers.
template <typename Char, typename ReadHour, typename ReadMinute, typename ReadSecond>
std::optional<TriggerTime> TriggerFromReading(ReadHour&& hour, ReadMinute&& minute,
                                              ReadSecond&& second,
                                              std::basic_string_view<Char> every_hour) {
  TriggerTime trigger;
  trigger.second = DecimalValue<Char>(second(), 59);
  if (trigger.second < 0) return std::nullopt;
  trigger.minute = DecimalValue<Char>(minute(), 59);
  if (trigger.minute < 0) return std::nullopt;
  const std::basic_string_view<Char> h = hour();
  if (h == every_hour) {
    trigger.hour = TriggerTime::kEveryHour;
  } else {
    trigger.hour = DecimalValue<Char>(h, 23);
    if (trigger.hour < 0) return std::nullopt;
  }
  return trigger;
}

// The latest second of `trigger` strictly after `previous`'s wall second and strictly before
// `current`'s (the current second itself is the ordinary tick's), or nullopt.
std::optional<MissedTrigger> FindMissedTrigger(const TickReading& previous,
                                               const TickReading& current, TriggerTime trigger);

// The same with the trigger as the lists show it. The texts come from readers that are called
// only when the wall clock skipped a second, so an ordinary tick reads no list for this.
template <typename Char, typename ReadHour, typename ReadMinute, typename ReadSecond>
std::optional<MissedTrigger> FindMissedTriggerReading(const TickReading& previous,
                                                      const TickReading& current, ReadHour&& hour,
                                                      ReadMinute&& minute, ReadSecond&& second,
                                                      std::basic_string_view<Char> every_hour) {
  if (CivilSeconds(current.wall) - CivilSeconds(previous.wall) < 2) return std::nullopt;
  const std::optional<TriggerTime> trigger =
      TriggerFromReading<Char>(hour, minute, second, every_hour);
  if (!trigger) return std::nullopt;
  return FindMissedTrigger(previous, current, *trigger);
}

inline std::optional<MissedTrigger> FindMissedTrigger(const TickReading& previous,
                                                      const TickReading& current,
                                                      std::string_view hour,
                                                      std::string_view minute,
                                                      std::string_view second) {
  return FindMissedTriggerReading<char>(
      previous, current, [&] { return hour; }, [&] { return minute; }, [&] { return second; },
      kEveryHourText);
}

// A reminder is shown however late; a missed shut-down or restart is carried out only soon
// after its second and never across a forward clock change, when it would surprise the user.
inline constexpr std::int64_t kPowerActionGraceSeconds = 60;
bool PowerActionStillDue(const MissedTrigger& missed);

// What the user is told of a shut-down or restart that was not carried out late, with the
// time as HH:MM:SS and the action's list text: "错过了 07:05:03 的关闭计算机……".
std::string MissedPowerActionText(TimeOfDay at, std::string_view action);

}  // namespace norvel
