// The warning before a timed shut-down or restart, as designed: a small window with the
// action, the seconds left and a cancel button.
#pragma once

#include <string_view>

#include "toolkit/layout.h"

namespace norvel::power_warning {

enum : int { kActionLabel = 100, kCountLabel, kCancelButton };

inline constexpr std::string_view kCaption = "Norvel";
inline constexpr std::string_view kActionPrefix = "即将";       // "即将关闭计算机"
inline constexpr std::string_view kCountFormat = "还有 %d 秒";  // the seconds left
inline constexpr int kClientWidth = 4200;                       // twips: 280 pixels at 96 dpi
inline constexpr int kClientHeight = 1500;                      // twips: 100 pixels at 96 dpi
inline constexpr int kMarginTwips = 180;  // from the work area's bottom-right corner

inline constexpr ControlLayout kControls[] = {
    {"ActionLabel", kActionLabel, ControlKind::kLabel, -1, "", 240, 180, 2400, 300, 1},
    {"CountLabel", kCountLabel, ControlKind::kLabel, -1, "", 240, 600, 2400, 600, 2},
    {"CancelButton", kCancelButton, ControlKind::kButton, -1, "取消(&C)", 2880, 540, 1080, 540, 0},
};

}  // namespace norvel::power_warning
