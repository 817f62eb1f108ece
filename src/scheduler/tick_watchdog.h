// Notices a tick that has stopped. The alarm rings only from the settings window's 50 ms
// timer; a timer lost or starved inside some nested loop of the UI thread would silently
// lose every later reminder, warning and shut-down. A watchdog thread looks once a second at
// when the tick last ran and decides here what to do: write it down and start the timer
// again, tell the user when the ticks stay stopped, write down when they come back.
#pragma once

#include <cstdint>
#include <string>

namespace norvel {

enum class WatchdogEvent {
  kNone,
  kStalled,       // no tick for kStalledAfterMs: written down, the timer started again
  kStillStalled,  // no tick for kTellAfterMs: the alarm cannot ring, the user is told
  kResumed,       // ticks again after a stall
};

struct WatchdogVerdict {
  WatchdogEvent event = WatchdogEvent::kNone;
  bool rearm = false;           // ask the UI thread to start its timer again
  std::int64_t stalled_ms = 0;  // how long the tick has not run (kResumed: how long it did not)
  friend bool operator==(const WatchdogVerdict&, const WatchdogVerdict&) = default;
};

class TickWatchdog {
 public:
  static constexpr std::int64_t kCheckEveryMs = 1000;
  static constexpr std::int64_t kStalledAfterMs = 3000;
  static constexpr std::int64_t kTellAfterMs = 10000;
  static constexpr std::int64_t kRearmEveryMs = 3000;

  // One look, at `now_ms` of the monotonic clock, when the tick last ran at `last_tick_ms`
  // (the same clock). A look that comes much later than the one before (the computer slept,
  // the whole process was held up) judges nothing: the ticks get their chance first.
  WatchdogVerdict Check(std::int64_t now_ms, std::int64_t last_tick_ms);

 private:
  std::int64_t last_check_ms_ = -1;
  std::int64_t grace_from_ms_ = 0;  // the watchdog's own return from a hold-up
  std::int64_t stalled_from_ms_ = 0;
  std::int64_t rearmed_ms_ = 0;
  bool stalled_ = false;
  bool told_ = false;
};

// The verdict's line in norvel.log (without time stamp), "" for none.
std::string WatchdogLogText(const WatchdogVerdict& verdict);
// What the user is told (kStillStalled), "" otherwise.
std::string WatchdogNotice(const WatchdogVerdict& verdict);

}  // namespace norvel
