#include "toolkit/full_screen_win.h"

#include <windows.h>

#include <shellapi.h>

#include <initializer_list>

namespace norvel {
namespace {

bool IsShellWindow(HWND window) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  for (const wchar_t* shell : {L"Progman", L"WorkerW", L"Shell_TrayWnd"}) {
    if (lstrcmpiW(name, shell) == 0) return true;
  }
  return window == GetDesktopWindow() || window == GetShellWindow();
}

bool CoversItsMonitor(HWND window) {
  const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT rect{};
  if (!monitor || !GetMonitorInfoW(monitor, &info) || !GetWindowRect(window, &rect)) return false;
  return rect.left <= info.rcMonitor.left && rect.top <= info.rcMonitor.top &&
         rect.right >= info.rcMonitor.right && rect.bottom >= info.rcMonitor.bottom;
}

}  // namespace

bool FullScreenProgramInFront() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (SUCCEEDED(SHQueryUserNotificationState(&state)) &&
      (state == QUNS_PRESENTATION_MODE || state == QUNS_RUNNING_D3D_FULL_SCREEN)) {
    return true;
  }
  const HWND front = GetForegroundWindow();
  if (!front || !IsWindowVisible(front) || IsIconic(front) || IsShellWindow(front)) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(front, &process);
  return process != GetCurrentProcessId() && CoversItsMonitor(front);
}

}  // namespace norvel
