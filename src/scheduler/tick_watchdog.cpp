#include "scheduler/tick_watchdog.h"

#include <algorithm>

namespace norvel {

WatchdogVerdict TickWatchdog::Check(std::int64_t now_ms, std::int64_t last_tick_ms) {
  if (last_check_ms_ >= 0 && now_ms - last_check_ms_ > 3 * kCheckEveryMs) grace_from_ms_ = now_ms;
  last_check_ms_ = now_ms;
  const std::int64_t from = std::max(last_tick_ms, grace_from_ms_);
  const std::int64_t gap = now_ms - from;
  WatchdogVerdict verdict;
  if (gap < kStalledAfterMs) {
    if (!stalled_) return verdict;
    stalled_ = told_ = false;
    verdict.event = WatchdogEvent::kResumed;
    verdict.stalled_ms = std::max<std::int64_t>(0, last_tick_ms - stalled_from_ms_);
    return verdict;
  }
  verdict.stalled_ms = gap;
  if (!stalled_) {
    stalled_ = true;
    stalled_from_ms_ = from;
    rearmed_ms_ = now_ms;
    verdict.event = WatchdogEvent::kStalled;
    verdict.rearm = true;
    return verdict;
  }
  if (now_ms - rearmed_ms_ >= kRearmEveryMs) {
    rearmed_ms_ = now_ms;
    verdict.rearm = true;
  }
  if (gap >= kTellAfterMs && !told_) {
    told_ = true;
    verdict.event = WatchdogEvent::kStillStalled;
  }
  return verdict;
}

std::string WatchdogLogText(const WatchdogVerdict& verdict) {
  const std::string seconds = std::to_string(verdict.stalled_ms / 1000);
  switch (verdict.event) {
    case WatchdogEvent::kStalled:
      return "计时停止了 " + seconds + " 秒, 已重新启动计时器";
    case WatchdogEvent::kStillStalled:
      return "计时仍然停止 (" + seconds + " 秒), 闹钟无法响铃";
    case WatchdogEvent::kResumed:
      return "计时恢复 (停了 " + seconds + " 秒)";
    case WatchdogEvent::kNone:
      break;
  }
  return {};
}

std::string WatchdogNotice(const WatchdogVerdict& verdict) {
  if (verdict.event != WatchdogEvent::kStillStalled) return {};
  return "Norvel 的计时已经停止 " + std::to_string(verdict.stalled_ms / 1000) +
         " 秒,这期间闹钟无法响铃。\n若一直如此,请在图标的菜单中选择\"退出\",再重新启动 Norvel。";
}

}  // namespace norvel
