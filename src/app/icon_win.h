// The notification-area icon of the main window (the record TrayIconData).
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "toolkit/handle_win.h"

namespace norvel {

// The private message through which the shell reports mouse events on the icon. A private
// message (not WM_MOUSEMOVE) cannot be confused with the mouse moving over the window.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;

class TrayIcon {
 public:
  // Fills the record for `window`: id 1, callback message, the dial at the tray's size,
  // and the tip "Norvel V0.20".
  explicit TrayIcon(HWND window);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // NIM_ADD; false when the shell refused (for example before the taskbar exists).
  bool Add();
  // NIM_DELETE with the window and id 1.
  void Remove();
  bool added() const { return added_; }

 private:
  NOTIFYICONDATAW TrayIconData{};
  UniqueIcon icon_;
  bool added_ = false;
};

}  // namespace norvel
