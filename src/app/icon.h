// The notification-area icon's tip and the decisions of its callback.
#pragma once

#include <cstdint>
#include <string>

namespace norvel {

// "Norvel V" + major + "." + minor + revision, each in decimal: version 0.2 revision 0 gives
// "Norvel V0.20" (there is no point between the minor number and the revision).
std::string TrayTipText(int major, int minor, int revision);

// The mouse messages the callback acts on.
inline constexpr std::int32_t kTrayLeftDoubleClick = 0x203;  // WM_LBUTTONDBLCLK, 515
inline constexpr std::int32_t kTrayRightButtonUp = 0x205;    // WM_RBUTTONUP, 517

enum class TrayCommand {
  kNothing,
  kShowWindow,  // topmost, restore, show, topmost again
  kHideWindow,  // minimize, then hide
  kPopupMenu,   // the menu m_main at the pointer
};

// The callback's two persistent locals and its rule. A callback that arrives while one is
// being handled (during the popup menu's loop) is stored in lTrayMsg and dropped.
class TrayCallback {
 public:
  // Decodes one callback: `window_minimized` is the main window's state. Returns what to do;
  // when it is not kNothing the caller must call End() once it is done.
  TrayCommand Begin(std::int32_t mouse_message, bool window_minimized);
  void End() { bTrayBusy = 0; }

  std::int32_t lTrayMsg = 0;
  std::int16_t bTrayBusy = 0;  // 0 false, -1 true
};

}  // namespace norvel
