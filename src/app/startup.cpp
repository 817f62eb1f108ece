#include "app/startup.h"

#include "app/form1_layout.h"
#include "app/ini.h"
#include "toolkit/line_breaks.h"

namespace norvel {

StartupTexts DecideStartupTexts(const std::function<std::string(std::string_view key)>& read) {
  StartupTexts t;
  // A message edited by hand may break its lines with LF or CR alone, which the message box
  // would not show as line breaks.
  t.text1 = WithCrLfLineBreaks(read(AlarmSettings::kMessage));
  if (t.text1.empty()) t.text1 = form1::kDefaultMessage;
  t.combo1 = read(AlarmSettings::kHour);
  t.combo2 = read(AlarmSettings::kMinute);
  t.combo3 = read(AlarmSettings::kSecond);
  t.combo4 = read(AlarmSettings::kAction);
  t.text2 = read(AlarmSettings::kPicture);
  return t;
}

}  // namespace norvel
