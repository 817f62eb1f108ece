// The reminder window Form2 as designed: caption, size and its one label.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "toolkit/layout.h"

namespace norvel::form2 {

enum : int { kLabel1 = 100 };

inline constexpr std::string_view kCaption = "Form2";
inline constexpr int kClientWidth = 4815;   // twips: 321 pixels at 96 dpi
inline constexpr int kClientHeight = 4185;  // twips: 279 pixels at 96 dpi

// Label1's font: "宋体" 18 pt, normal weight, character set 134 (GB2312).
inline constexpr std::wstring_view kLabelFontFace = L"宋体";
inline constexpr int kLabelFontPoints = 18;
inline constexpr int kLabelFontCharset = 134;

// The right-click menu: put the reminder off by these minutes ("5 分钟后再提醒" …), a
// separator, "静音" (stops the sound, keeps the reminder) and "关闭".
inline constexpr std::array<int, 3> kPutOffMinutes = {5, 10, 30};
inline std::string PutOffMenuText(int minutes) {
  return std::to_string(minutes) + " 分钟后再提醒";
}
inline constexpr std::string_view kMuteMenuText = "静音";
inline constexpr std::string_view kCloseMenuText = "关闭";
enum : int { kMenuPutOffFirst = 300, kMenuMute = 398, kMenuClose = 399 };

inline constexpr ControlLayout kControls[] = {
    {"Label1", kLabel1, ControlKind::kLabel, -1, "时间到,该休息了!", 960, 1440, 2895, 360, 0,
     kTransparent | kBlueText | kCentred | kOwnMouse},
};

}  // namespace norvel::form2
