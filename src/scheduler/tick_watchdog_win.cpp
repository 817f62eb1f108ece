#include "scheduler/tick_watchdog_win.h"

#include "toolkit/text_win.h"

namespace norvel {

TickWatchdogThread::TickWatchdogThread(WatchdogHooks hooks)
    : hooks_(std::move(hooks)),
      last_tick_ms_(NowMs()),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      thread_([this] { Run(); }) {}

TickWatchdogThread::~TickWatchdogThread() {
  SetEvent(stop_.get());
  thread_.join();
}

void TickWatchdogThread::Run() {
  while (WaitForSingleObject(stop_.get(), static_cast<DWORD>(TickWatchdog::kCheckEveryMs)) ==
         WAIT_TIMEOUT) {
    Apply(watchdog_.Check(NowMs(), last_tick_ms_.load(std::memory_order_relaxed)));
  }
}

void TickWatchdogThread::Apply(const WatchdogVerdict& verdict) {
  if (verdict.rearm && hooks_.rearm) hooks_.rearm();
  const std::string line = WatchdogLogText(verdict);
  if (!line.empty() && hooks_.log) hooks_.log(line);
  const std::string notice = WatchdogNotice(verdict);
  if (!notice.empty() && hooks_.tell) hooks_.tell(Widen(notice).value_or(std::wstring()));
}

}  // namespace norvel
