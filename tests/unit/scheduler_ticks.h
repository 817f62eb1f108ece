// Driving the scheduler natively through the ticks of a running program, at instants given
// as text.
#pragma once

#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "fake_lists.h"
#include "scheduler/scheduler.h"

namespace norvel::testing {

// "2026-12-07 07:05:02.950", or "07:05:02.950" on 2026-12-07.
inline LocalTime Wall(const char* text) {
  LocalTime t;
  t.year = 2026, t.month = 12, t.day = 7;
  if (std::strchr(text, '-') != nullptr) {
    std::sscanf(text, "%d-%d-%d %d:%d:%d.%d", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                &t.second, &t.millisecond);
  } else {
    std::sscanf(text, "%d:%d:%d.%d", &t.hour, &t.minute, &t.second, &t.millisecond);
  }
  return t;
}

inline std::int64_t Second(const char* text) {
  return CivilSeconds(Wall(text));
}

// Ticks of one running program: the wall clock as given, the tick count advancing with it
// unless a step says otherwise (a clock set forward or back).
class Ticks {
 public:
  explicit Ticks(const char* hour, const char* minute, const char* second, const char* action,
                 std::optional<std::int64_t> last_power = std::nullopt, const char* days = "每天")
      : texts(hour, minute, second, action, days), scheduler(last_power) {}

  const TickPlan& At(const char* wall, std::int64_t elapsed_ms = -1) {
    const LocalTime now = Wall(wall);
    if (previous_) {
      const std::int64_t wall_ms = (CivilSeconds(now) - CivilSeconds(*previous_)) * 1000 +
                                   now.millisecond - previous_->millisecond;
      monotonic_ += elapsed_ms >= 0 ? elapsed_ms : wall_ms;
    }
    previous_ = now;
    lists_.NextTick();
    const TickPlan& plan = scheduler.Tick({now, monotonic_}, lists_);
    for (const AlarmEvent& e : plan.events) events.push_back(e);
    return plan;
  }
  // Ticks every 50 ms from `from` for `seconds`; counts the ticks that showed the reminder
  // and that asked for a power action.
  void Every50Ms(const char* from, int seconds) {
    LocalTime t = Wall(from);
    for (int i = 0; i < seconds * 20; ++i) {
      char text[32];
      const int ms = t.millisecond + i * 50;
      std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", t.hour, t.minute,
                    t.second + ms / 1000, ms % 1000);
      const TickPlan& plan = At(text);
      shown += plan.show_reminder;
      powered += IsPowerAction(plan.power);
      recorded += plan.record_power;
    }
  }

  FakeLists texts;
  Scheduler scheduler;
  std::vector<AlarmEvent> events;
  int shown = 0, powered = 0, recorded = 0;

 private:
  ListsReading lists_{texts};
  std::optional<LocalTime> previous_;
  std::int64_t monotonic_ = 1'000'000;
};

}  // namespace norvel::testing
