// What the settings window shows after start-up, decided from the stored settings.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace norvel {

struct StartupTexts {
  std::string text1;   // the message; "时间到,请休息!" when none is stored
  std::string combo1;  // hour, as stored (also when empty)
  std::string combo2;  // minute
  std::string combo3;  // second
  std::string combo4;  // action
  std::string text2;   // picture path
};

// `read(key)` gives the stored value of a key of section "设置" (empty when missing).
StartupTexts DecideStartupTexts(const std::function<std::string(std::string_view key)>& read);

}  // namespace norvel
