#include "toolkit/task_list_win.h"

namespace norvel {

HWND TaskListOwner() {
  // Never destroyed by the program: a static destructor would run after the message loop
  // and COM have ended; the system destroys the window with the user-interface thread.
  static const HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP, 0, 0, 0, 0,
                                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  return owner;
}

void HideFromTaskList(HWND window) {
  SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(TaskListOwner()));
}

}  // namespace norvel
