#include "scheduler/ZXH_win.h"

namespace norvel {

BOOL CALLBACK MinimizeWindowProc(HWND window, LPARAM) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  if (!(style & WS_MINIMIZEBOX) || !(style & WS_VISIBLE)) return TRUE;
  // Another program's window is minimized without waiting for it: ShowWindow on a window of
  // another thread waits until that thread has handled the request, and a program that hangs
  // (or a modal loop elsewhere) would hold up the alarm's own thread.
  if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
    ShowWindow(window, SW_MINIMIZE);
  } else {
    ShowWindowAsync(window, SW_MINIMIZE);
  }
  return TRUE;
}

}  // namespace norvel
