#include "app/startup.h"

#include "app/form1_layout.h"
#include "app/version.h"
#include "scheduler/calendar/day_rule.h"
#include "settings/ini.h"
#include "toolkit/line_breaks.h"

namespace norvel {

StartupTexts DecideStartupTexts(const AlarmSettings& stored) {
  StartupTexts t;
  // A message edited by hand may break its lines with LF or CR alone, which the message box
  // would not show as line breaks.
  t.text1 = WithCrLfLineBreaks(stored.message);
  if (t.text1.empty()) t.text1 = form1::kDefaultMessage;
  t.combo1 = stored.hour;
  t.combo2 = stored.minute;
  t.combo3 = stored.second;
  t.combo4 = stored.action;
  t.text2 = stored.picture;
  t.combo5 = kDayRuleTexts[static_cast<std::size_t>(DayRuleNamed(stored.days))];
  return t;
}

StartupTexts DecideStartupTexts(const std::function<std::string(std::string_view key)>& read) {
  AlarmSettings stored;
  const auto values = stored.Values();
  for (std::size_t i = 0; i < values.size(); ++i) *values[i] = read(AlarmSettings::kKeys[i]);
  return DecideStartupTexts(stored);
}

std::string CreditText() {
  return "Norvel " + std::to_string(NORVEL_VERSION_MAJOR) + "." +
         std::to_string(NORVEL_VERSION_MINOR) +
         "\r\n\r\n一个小小的定时提醒工具:到点弹出提醒,或者替你关机、重启。\r\n"
         "常驻通知区域,双击图标显示或隐藏设置窗口。";
}

std::string SaveFailureText(std::string_view what, const std::string& file,
                            const SaveResult& result) {
  std::string reason;
  if (!result.key.empty()) {
    reason = "“" + std::string(result.key) + "”中有无法以简体中文编码保存的字符。";
  } else if (result.status == WriteStatus::kUnrepresentable) {
    reason = "设置中有无法以简体中文编码保存的字符。";
  } else if (result.status == WriteStatus::kReadOnly) {
    reason = "该文件是只读的。";
  } else {
    reason = "无法写入该文件(文件夹不存在、没有写入权限或文件正被占用)。";
  }
  return std::string(what) + "没有保存到文件:\r\n" + file + "\r\n\r\n" + reason;
}

std::string UnrepresentablePathText(const std::string& path) {
  return "所选文件的路径中有无法以简体中文编码保存的字符,请选择其他位置或名称的文件:\r\n" + path;
}

}  // namespace norvel
