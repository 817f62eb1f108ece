// idle_baseline.exe [read-lists]: what a waiting program costs at the least. A hidden window
// with a 50 ms timer that does nothing on its tick; with "read-lists", the tick reads the
// texts of four drop-down lists as Norvel's tick does. scripts/bench measures norvel.exe
// against it side by side.
#include <windows.h>

#include <cwchar>

namespace {

HWND lists[4] = {};
bool read_lists = false;

LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER && read_lists) {
    wchar_t text[64];
    for (const HWND list : lists) GetWindowTextW(list, text, 64);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  read_lists = argc > 1 && std::wcscmp(argv[1], L"read-lists") == 0;
  WNDCLASSW wc{};
  wc.lpfnWndProc = BaselineProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"NorvelIdleBaseline";
  RegisterClassW(&wc);
  const HWND window = CreateWindowExW(0, wc.lpszClassName, L"idle baseline", WS_OVERLAPPEDWINDOW, 0,
                                      0, 200, 200, nullptr, nullptr, wc.hInstance, nullptr);
  for (int i = 0; i < 4; ++i) {
    lists[i] = CreateWindowExW(0, L"ComboBox", L"7", WS_CHILD | CBS_DROPDOWN, 0, 30 * i, 100, 200,
                               window, nullptr, wc.hInstance, nullptr);
  }
  SetTimer(window, 1, 50, nullptr);
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
