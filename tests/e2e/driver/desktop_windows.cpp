#include "driver/desktop_windows.h"

namespace norvel::e2e {

DesktopWindows::DesktopWindows() {
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = std::thread([this, ready] { Run(ready); });
  WaitForSingleObject(ready, 10000);
  CloseHandle(ready);
}

DesktopWindows::~DesktopWindows() {
  PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
  thread_.join();
}

void DesktopWindows::Run(HANDLE ready) {
  thread_id_ = GetCurrentThreadId();
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"NorvelTestDesktopWindow";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);
  const auto make = [&](const wchar_t* caption, DWORD style, int x) {
    return CreateWindowExW(0, wc.lpszClassName, caption, style, x, 40, 260, 160, nullptr, nullptr,
                           wc.hInstance, nullptr);
  };
  minimizable_ = make(L"可最小化的窗口", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20);
  dialog_ = make(L"没有最小化按钮的窗口", WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 300);
  hidden_ = make(L"隐藏的窗口", WS_OVERLAPPEDWINDOW, 580);
  SetEvent(ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  DestroyWindow(minimizable_);
  DestroyWindow(dialog_);
  DestroyWindow(hidden_);
}

}  // namespace norvel::e2e
