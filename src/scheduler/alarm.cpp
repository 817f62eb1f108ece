#include "scheduler/alarm.h"

namespace norvel {

std::string_view ActionText(AlarmAction action) {
  switch (action) {
    case AlarmAction::kRemind:
      return kRemindText;
    case AlarmAction::kShutDown:
      return kShutDownText;
    case AlarmAction::kRestart:
      return kRestartText;
    case AlarmAction::kNone:
      break;
  }
  return {};
}

}  // namespace norvel
