// The settings window's notification-area icon and what a click on it does: the icon is
// added at start-up (again every second for a minute when the taskbar is not there yet, and
// whenever the taskbar is re-created), a double-click hides or shows the window, a right-click
// opens the menu; a balloon from the icon tells the user of a skipped shut-down.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/icon.h"
#include "app/icon_win.h"

namespace norvel {

class Form1Tray {
 public:
  // `window` is the settings window, `menu` the popup menu m_Menu; `on_shown` runs after a
  // double-click brought the window back, `prepare_menu` before the menu opens.
  Form1Tray(HWND window, HMENU menu, std::function<void()> on_shown,
            std::function<void(HMENU)> prepare_menu = {});

  void Add();
  // The icon's messages: the callback, the taskbar's re-creation, the retry timer. True when
  // `message` was one of them.
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void ShowBalloon(const std::wstring& text) { icon_.ShowBalloon(L"Norvel", text); }
  void Remove() { icon_.Remove(); }
  void SetTipDetail(const std::wstring& detail) { icon_.SetTipDetail(detail); }

  static constexpr UINT_PTR kRetryTimer = 2;

 private:
  void OnCallback(LPARAM lparam);
  void Apply(TrayCommand command);

  HWND window_;
  HMENU menu_;
  std::function<void()> on_shown_;
  std::function<void(HMENU)> prepare_menu_;
  TrayIcon icon_;
  TrayCallback callback_;
  int retries_ = 0;
};

}  // namespace norvel
