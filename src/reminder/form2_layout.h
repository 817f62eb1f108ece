// The reminder window Form2 as designed: caption, size and its one label.
#pragma once

#include <span>
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

inline constexpr ControlLayout kControls[] = {
    {"Label1", kLabel1, ControlKind::kLabel, -1, "时间到,该休息了!", 960, 1440, 2895, 360, 0,
     kTransparent | kBlueText | kCentred | kOwnMouse},
};

}  // namespace norvel::form2
