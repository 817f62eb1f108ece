// The notification-area icon of the main window (the record TrayIconData).
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "toolkit/handle_win.h"

namespace norvel {

// The private message through which the shell reports mouse events on the icon. A private
// message (not WM_MOUSEMOVE) cannot be confused with the mouse moving over the window.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;

// A balloon with a warning sign from the icon of `window`: `title` over `text` (cut to fit).
// Only a call to the shell: safe from any thread.
void ShowTrayBalloon(HWND window, const std::wstring& title, const std::wstring& text);

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
  // A balloon from the icon with a warning sign: `title` over `text` (cut to fit the record).
  void ShowBalloon(const std::wstring& title, const std::wstring& text);
  // The tip's second line (the first stays "Norvel V0.20"); changed only when it differs.
  void SetTipDetail(const std::wstring& detail);
  // NIM_DELETE with the window and id 1, also when the add reported a failure.
  void Remove();

 private:
  NOTIFYICONDATAW TrayIconData{};
  UniqueIcon icon_;
  std::wstring first_line_, detail_;
  bool may_be_shown_ = false;  // an add was tried since the last delete
};

}  // namespace norvel
