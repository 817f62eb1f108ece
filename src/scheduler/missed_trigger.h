// Catching up a trigger second that no tick saw: when ticks stop for a while (a stalled
// thread, a machine that slept, a clock that was changed), the latest trigger second between
// two ticks runs once at the next tick.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scheduler/alarm.h"
#include "scheduler/calendar/civil_date.h"

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
// The time of day of a civil second as "HH:MM:SS".
std::string TimeOfDayText(std::int64_t civil_seconds);

struct MissedTrigger {
  std::int64_t civil_second = 0;  // the trigger second that no tick saw
  std::int64_t seconds_late = 0;  // from that second to the current tick's second
  bool clock_jumped = false;      // the wall clock moved forward without the time passing
};

// A trigger as numbers: hour 0..23 or kEveryHour, minute and second 0..59.
struct TriggerTime {
  static constexpr int kEveryHour = -2;  // "每小时"
  int hour = 0, minute = 0, second = 0;
};

// A trigger recurs every day, "每小时" every hour: its seconds are those whose civil count
// leaves this offset modulo this period (both divide the civil count evenly).
std::int64_t TriggerPeriod(TriggerTime trigger);
std::int64_t TriggerOffset(TriggerTime trigger);

// The latest second of `trigger` strictly after `previous`'s wall second and strictly before
// `current`'s (the current second itself is the ordinary tick's), or nullopt.
std::optional<MissedTrigger> FindMissedTrigger(const TickReading& previous,
                                               const TickReading& current, TriggerTime trigger);

// A reminder is shown however late; a missed shut-down or restart is carried out only soon
// after its second and never across a forward clock change, when it would surprise the user.
inline constexpr std::int64_t kPowerActionGraceSeconds = 60;
bool PowerActionStillDue(const MissedTrigger& missed);

}  // namespace norvel
