#include "app/form1_tray_win.h"

#include "app/ini_win.h"
#include "toolkit/task_list_win.h"

namespace norvel {

Form1Tray::Form1Tray(HWND window, HMENU menu, std::function<void()> on_shown,
                     std::function<void(HMENU)> prepare_menu)
    : window_(window),
      menu_(menu),
      on_shown_(std::move(on_shown)),
      prepare_menu_(std::move(prepare_menu)),
      icon_(window) {}

void Form1Tray::Add() {
  // At log-on the taskbar may not be there yet: try again every second for a minute.
  if (!icon_.Add()) SetTimer(window_, kRetryTimer, 1000, nullptr);
  HideFromTaskList(window_);
}

bool Form1Tray::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  static const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
  if (message == taskbar_created) {
    icon_.Add();  // the shell restarted: the icon must come back
    return true;
  }
  if (message == kTrayCallbackMessage) {
    OnCallback(lparam);
    return true;
  }
  if (message == WM_TIMER && wparam == kRetryTimer) {
    if (icon_.Add() || ++retries_ >= 60) KillTimer(window_, kRetryTimer);
    return true;
  }
  return false;
}

void Form1Tray::OnCallback(LPARAM lparam) {
  const auto mouse_message = static_cast<std::int32_t>(LOWORD(lparam));
  // A window never shown (started at log-in) counts as minimized: a double-click shows it.
  const bool minimized = IsIconic(window_) || !IsWindowVisible(window_);
  const TrayCommand command = callback_.Begin(mouse_message, minimized);
  if (command == TrayCommand::kNothing) return;
  Apply(command);
  callback_.End();
}

void Form1Tray::Apply(TrayCommand command) {
  switch (command) {
    case TrayCommand::kShowWindow:
      SetTopmost(window_);
      ShowWindow(window_, SW_RESTORE);
      ShowWindow(window_, SW_SHOW);
      SetTopmost(window_);
      if (on_shown_) on_shown_();
      break;
    case TrayCommand::kHideWindow:
      ShowWindow(window_, SW_MINIMIZE);  // the resize handler hides it already
      ShowWindow(window_, SW_HIDE);
      break;
    case TrayCommand::kPopupMenu: {
      POINT pointer{};
      GetCursorPos(&pointer);
      // Foreground first and a null message after: otherwise the menu stays open when the
      // user clicks elsewhere.
      SetForegroundWindow(window_);
      if (prepare_menu_) prepare_menu_(menu_);
      TrackPopupMenuEx(menu_, TPM_LEFTALIGN | TPM_LEFTBUTTON, pointer.x, pointer.y, window_,
                       nullptr);
      PostMessageW(window_, WM_NULL, 0, 0);
      break;
    }
    case TrayCommand::kNothing:
      break;
  }
}

}  // namespace norvel
