#include "scheduler/ZXH_win.h"

namespace norvel {

BOOL CALLBACK MinimizeWindowProc(HWND window, LPARAM) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  if ((style & WS_MINIMIZEBOX) && (style & WS_VISIBLE)) ShowWindow(window, SW_MINIMIZE);
  return TRUE;
}

}  // namespace norvel
