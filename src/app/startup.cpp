#include "app/startup.h"

#include "app/form1_layout.h"
#include "app/ini.h"

namespace norvel {

StartupTexts DecideStartupTexts(const std::function<std::string(std::string_view key)>& read) {
  StartupTexts t;
  t.text1 = read(AlarmSettings::kMessage);
  if (t.text1.empty()) t.text1 = form1::kDefaultMessage;
  t.combo1 = read(AlarmSettings::kHour);
  t.combo2 = read(AlarmSettings::kMinute);
  t.combo3 = read(AlarmSettings::kSecond);
  t.combo4 = read(AlarmSettings::kAction);
  t.text2 = read(AlarmSettings::kPicture);
  return t;
}

}  // namespace norvel
