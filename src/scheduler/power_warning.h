// The warning before a timed shut-down or restart: from a minute before its second the user
// sees it coming, with the seconds left, and can cancel that one occurrence. The shut-down or
// restart itself still happens at its second, as without the warning, unless cancelled.
#pragma once

#include <cstdint>
#include <optional>

#include "scheduler/missed_trigger.h"

namespace norvel {

inline constexpr std::int64_t kWarningSeconds = 60;
inline constexpr std::int64_t kFlashingSeconds = 10;

// The first second of `trigger` at or after `now` (civil seconds).
std::int64_t NextTriggerSecond(std::int64_t now, TriggerTime trigger);

struct PowerWarning {
  std::int64_t occurrence = 0;    // the civil second of the shut-down or restart
  std::int64_t seconds_left = 0;  // 1 … 60
  bool highlighted = false;       // in the last ten seconds, every other second
  friend bool operator==(const PowerWarning&, const PowerWarning&) = default;
};

// The warning for `occurrence` with `left` seconds to go (highlighted as the count ends).
PowerWarning WarningWithSecondsLeft(std::int64_t occurrence, std::int64_t left);

class PowerWarningPlan {
 public:
  // The warning to show at `now` (civil seconds) for a shut-down or restart at `trigger`:
  // none when its next occurrence is more than a minute ahead, is this very second (the
  // action runs now) or was cancelled.
  std::optional<PowerWarning> At(std::int64_t now, TriggerTime trigger) const;
  // Cancels the one occurrence; the next one warns again.
  void Cancel(std::int64_t occurrence) { cancelled_ = occurrence; }
  bool Cancelled(std::int64_t occurrence) const { return cancelled_ == occurrence; }

 private:
  std::optional<std::int64_t> cancelled_;
};

}  // namespace norvel
