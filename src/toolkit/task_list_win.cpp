#include "toolkit/task_list_win.h"

#include "toolkit/handle_win.h"

namespace norvel {

HWND TaskListOwner() {
  static const UniqueWindow owner(CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP, 0,
                                                  0, 0, 0, nullptr, nullptr,
                                                  GetModuleHandleW(nullptr), nullptr));
  return owner.get();
}

void HideFromTaskList(HWND window) {
  SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(TaskListOwner()));
}

}  // namespace norvel
