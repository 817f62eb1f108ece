// What the settings window shows after start-up, decided from the stored settings, and the
// texts of its message boxes.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "settings/ini.h"

namespace norvel {

struct StartupTexts {
  std::string text1;   // the message; "时间到,请休息!" when none is stored
  std::string combo1;  // hour, as stored (also when empty)
  std::string combo2;  // minute
  std::string combo3;  // second
  std::string combo4;  // action
  std::string text2;   // picture path
  std::string combo5;  // the days: "每天" unless one of the list's items is stored
};

// `read(key)` gives the stored value of a key of section "设置" (empty when missing).
StartupTexts DecideStartupTexts(const std::function<std::string(std::string_view key)>& read);
StartupTexts DecideStartupTexts(const AlarmSettings& stored);

// The credit box's text: the program and its version, and what it does.
std::string CreditText();

// The reasons a save was refused, for the message box: `what` was not saved to `file`.
std::string SaveFailureText(std::string_view what, const std::string& file,
                            const SaveResult& result);
// A chosen picture whose path the settings file cannot hold.
std::string UnrepresentablePathText(const std::string& path);

}  // namespace norvel
