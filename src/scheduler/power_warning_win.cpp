#include "scheduler/power_warning_win.h"

#include <cstdio>
#include <iterator>

#include "scheduler/power_warning_layout.h"
#include "toolkit/dpi_win.h"
#include "toolkit/task_list_win.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

// A small captioned tool window: topmost, never activated (clicks on it keep the focus where
// the user is typing), owned by the program's hidden owner, so no taskbar button.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_BORDER;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
constexpr COLORREF kHighlight = RGB(220, 0, 0);

std::wstring CountText(std::int64_t seconds_left) {
  wchar_t text[32];
  const std::wstring format = Widen(power_warning::kCountFormat).value_or(L"%d");
  std::swprintf(text, std::size(text), format.c_str(), static_cast<int>(seconds_left));
  return text;
}

}  // namespace

PowerWarningWindow::PowerWarningWindow(std::function<void(std::int64_t)> on_cancel)
    : on_cancel_(std::move(on_cancel)) {}

void PowerWarningWindow::Update(const std::optional<PowerWarning>& warning,
                                const std::wstring& action) {
  if (!warning) {
    shown_.reset();
    Destroy();
    return;
  }
  if (!IsLoaded() && !Load()) return;
  if (warning == shown_ && action == action_) return;
  const bool highlight_changed = !shown_ || shown_->highlighted != warning->highlighted;
  if (action != action_) {
    action_ = action;
    SetWindowTextW(controls_[power_warning::kActionLabel],
                   (Widen(power_warning::kActionPrefix).value_or(L"") + action).c_str());
  }
  const HWND count = controls_[power_warning::kCountLabel];
  SetWindowTextW(count, CountText(warning->seconds_left).c_str());
  shown_ = warning;
  if (highlight_changed) InvalidateRect(count, nullptr, TRUE);
  if (!IsWindowVisible(hwnd())) {
    user_window_ = GetForegroundWindow();
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

bool PowerWarningWindow::Load() {
  const std::wstring caption = Widen(power_warning::kCaption).value_or(L"");
  // Made on the monitor with the pointer, so that its DPI is that monitor's.
  POINT pointer{};
  GetCursorPos(&pointer);
  if (!CreateWindowOfClass(kClassName, caption.c_str(), kStyle, kExStyle,
                           RECT{pointer.x, pointer.y, pointer.x + 1, pointer.y + 1},
                           TaskListOwner(), nullptr)) {
    return false;
  }
  controls_.Create(hwnd(), power_warning::kControls);
  const int dpi = DpiForWindow(hwnd());
  ApplyLayout(dpi);
  PlaceOnPointersMonitor(dpi);
  action_.clear();
  shown_.reset();
  return true;
}

void PowerWarningWindow::ApplyLayout(int dpi) {
  controls_.LayOut(dpi);
  // The count in bold at twice the size of the message font.
  LOGFONTW lf = MessageFont(dpi);
  lf.lfHeight *= 2;
  lf.lfWeight = FW_BOLD;
  UniqueFont count_font(CreateFontIndirectW(&lf));
  SendMessageW(controls_[power_warning::kCountLabel], WM_SETFONT,
               reinterpret_cast<WPARAM>(count_font.get()), TRUE);
  count_font_ = std::move(count_font);
}

void PowerWarningWindow::PlaceOnPointersMonitor(int dpi) {
  POINT pointer{};
  GetCursorPos(&pointer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
  const SIZE outer =
      OuterSizeForClient(TwipsToPixels(power_warning::kClientWidth, dpi),
                         TwipsToPixels(power_warning::kClientHeight, dpi), kStyle, kExStyle, dpi);
  const int margin = TwipsToPixels(power_warning::kMarginTwips, dpi);
  // The bottom-right corner of the work area, where notifications appear.
  SetWindowPos(hwnd(), HWND_TOPMOST, monitor.rcWork.right - outer.cx - margin,
               monitor.rcWork.bottom - outer.cy - margin, outer.cx, outer.cy, SWP_NOACTIVATE);
}

LRESULT PowerWarningWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == power_warning::kCancelButton && HIWORD(wparam) == BN_CLICKED) {
        // Pressing the button gave it the focus and activated this window: the window the
        // user was working in gets the keyboard back.
        const std::optional<PowerWarning> cancelled = shown_;
        const HWND user_window = user_window_;
        Destroy();
        if (user_window && IsWindow(user_window)) SetForegroundWindow(user_window);
        if (cancelled && on_cancel_) on_cancel_(cancelled->occurrence);
        return 0;
      }
      break;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // a click on the window itself leaves the focus where it was
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wparam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      const bool count = GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) == power_warning::kCountLabel;
      // The last ten seconds draw the eye: the count turns red every other second.
      SetTextColor(
          dc, count && shown_ && shown_->highlighted ? kHighlight : GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_DPICHANGED:
      ApplyLayout(HIWORD(wparam));
      MoveToSuggestedRect(hwnd(), lparam);
      return 0;
    case WM_CLOSE:
      return 0;  // only "取消" or the action's second closes it
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace norvel
