// The watchdog thread of the alarm's tick: once a second it asks TickWatchdog whether the
// tick still runs, and applies the verdict through hooks that are safe from any thread
// (a posted message to the UI thread, the log, a balloon from the notification-area icon).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "scheduler/tick_watchdog.h"
#include "toolkit/handle_win.h"

namespace norvel {

struct WatchdogHooks {
  std::function<void()> rearm;                         // posts "start the timer again"
  std::function<void(const std::string& text)> log;    // one line's text, UTF-8
  std::function<void(const std::wstring& text)> tell;  // a balloon from the icon
};

class TickWatchdogThread {
 public:
  explicit TickWatchdogThread(WatchdogHooks hooks);
  // Stops the thread and waits for it (it is never inside anything that blocks for long).
  ~TickWatchdogThread();
  TickWatchdogThread(const TickWatchdogThread&) = delete;
  TickWatchdogThread& operator=(const TickWatchdogThread&) = delete;

  // The tick ran (on the UI thread, every tick): one atomic store.
  void Ticked() { last_tick_ms_.store(NowMs(), std::memory_order_relaxed); }

 private:
  static std::int64_t NowMs() { return static_cast<std::int64_t>(GetTickCount64()); }
  void Run();
  void Apply(const WatchdogVerdict& verdict);

  WatchdogHooks hooks_;
  TickWatchdog watchdog_;
  std::atomic<std::int64_t> last_tick_ms_;
  UniqueKernelHandle stop_;
  std::thread thread_;
};

}  // namespace norvel
