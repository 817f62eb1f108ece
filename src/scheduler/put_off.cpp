#include "scheduler/put_off.h"

#include <cstdio>

#include "scheduler/missed_trigger.h"

namespace norvel {
std::string CancelPutOffMenuText(std::int64_t due) {
  return "取消稍后提醒 (" + TimeOfDayText(due) + ")";
}

std::string DroppedPutOffText(std::int64_t due) {
  return "错过了 " + TimeOfDayText(due) + " 的稍后提醒";
}

PutOffAtStart DecidePutOffAtStart(std::int64_t due, std::int64_t now) {
  return now - due > kPutOffShownLateUpTo ? PutOffAtStart::kDrop : PutOffAtStart::kArm;
}

}  // namespace norvel
