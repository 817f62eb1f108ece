#include "scheduler/ZXH.h"

namespace norvel {

std::string WeekdayText(const LocalTime& now) {
  std::string text(kWeekdayPrefix);
  text += static_cast<char>('0' + now.weekday);
  return text;
}

}  // namespace norvel
