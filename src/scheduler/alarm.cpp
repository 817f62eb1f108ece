#include "scheduler/alarm.h"

namespace norvel {

AlarmAction ActionNamed(std::string_view action) {
  return ActionNamed<char>(action, {kRemindText, kShutDownText, kRestartText});
}

AlarmAction ActionForTick(std::string_view hour, std::string_view minute, std::string_view second,
                          std::string_view action, const LocalTime& now) {
  return TriggerMatches(hour, minute, second, now) ? ActionNamed(action) : AlarmAction::kNone;
}

}  // namespace norvel
