#include <gtest/gtest.h>

#include <vector>

#include "scheduler/tick_watchdog.h"

namespace norvel {
namespace {

using Event = WatchdogEvent;

// Looks once a second from 1 s to `until` s; the tick runs up to `stops` s and again from
// `resumes` s (never when negative). Returns the looks that decided something, as
// {second, event, rearm, stalled seconds}.
struct Decision {
  std::int64_t second;
  Event event;
  bool rearm;
  std::int64_t stalled_s;
  friend bool operator==(const Decision&, const Decision&) = default;
};
std::vector<Decision> Looks(std::int64_t until, std::int64_t stops, std::int64_t resumes,
                            std::int64_t watchdog_held_from = -1, std::int64_t held_until = -1) {
  TickWatchdog watchdog;
  std::vector<Decision> decisions;
  for (std::int64_t s = 1; s <= until; ++s) {
    if (s > watchdog_held_from && s < held_until) continue;  // the watchdog itself was held
    const bool ticking = s <= stops || (resumes >= 0 && s >= resumes);
    const std::int64_t last_tick_ms = ticking ? s * 1000 - 30 : stops * 1000;
    const WatchdogVerdict v = watchdog.Check(s * 1000, last_tick_ms);
    if (v.event != Event::kNone || v.rearm) {
      decisions.push_back({s, v.event, v.rearm, v.stalled_ms / 1000});
    }
  }
  return decisions;
}

TEST(TickWatchdog, NoticesAStoppedTickRestartsItTellsOnceAndSeesItComeBack) {
  // Ticking all along: nothing.
  EXPECT_TRUE(Looks(30, 30, -1).empty());
  // A stall of 2 s is no stall (a slow paint, a modal loop's start).
  EXPECT_TRUE(Looks(30, 10, 12).empty());
  // Stopped at 10 s for good: written down and restarted at 13 s, restarted every 3 s,
  // told once at 20 s.
  EXPECT_EQ(Looks(26, 10, -1), (std::vector<Decision>{{13, Event::kStalled, true, 3},
                                                      {16, Event::kNone, true, 6},
                                                      {19, Event::kNone, true, 9},
                                                      {20, Event::kStillStalled, false, 10},
                                                      {22, Event::kNone, true, 12},
                                                      {25, Event::kNone, true, 15}}));
  // Restarted, it ticks again at 14 s: written down as 3 s stopped (10 s to 13.97 s); a later stall
  // counts anew.
  EXPECT_EQ(Looks(40, 10, 14), (std::vector<Decision>{{13, Event::kStalled, true, 3},
                                                      {14, Event::kResumed, false, 3}}));
}

TEST(TickWatchdog, AHoldUpOfTheWholeProgramIsNoStall) {
  // The computer slept (or the process was suspended) from 10 s to 40 s: the watchdog's own
  // look comes late, and the tick that runs after the wake-up is not judged stopped.
  EXPECT_TRUE(Looks(45, 10, 41, 10, 41).empty());
  // But a tick that does not come back after the wake-up is.
  EXPECT_EQ(Looks(45, 10, -1, 10, 41).front(), (Decision{44, Event::kStalled, true, 3}));
}

TEST(TickWatchdog, LinesAndNotice) {
  const WatchdogVerdict stalled{Event::kStalled, true, 3200};
  const WatchdogVerdict still{Event::kStillStalled, false, 10400};
  const WatchdogVerdict resumed{Event::kResumed, false, 4000};
  EXPECT_EQ(WatchdogLogText(stalled), "计时停止了 3 秒, 已重新启动计时器");
  EXPECT_EQ(WatchdogLogText(still), "计时仍然停止 (10 秒), 闹钟无法响铃");
  EXPECT_EQ(WatchdogLogText(resumed), "计时恢复 (停了 4 秒)");
  EXPECT_EQ(WatchdogLogText({}), "");
  EXPECT_NE(WatchdogNotice(still).find("这期间闹钟无法响铃"), std::string::npos);
  EXPECT_EQ(WatchdogNotice(stalled), "");
}

}  // namespace
}  // namespace norvel
