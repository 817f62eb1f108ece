#include "scheduler/ZXH.h"

namespace norvel {

std::string WeekdayText(const LocalTime& now) {
  std::string text;
  AppendWeekday<char>(text, kWeekdayPrefix, now.weekday);
  return text;
}

}  // namespace norvel
