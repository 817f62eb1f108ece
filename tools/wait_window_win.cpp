// wait_window.exe <class> <seconds> [hide|hidden]: waits until a top-level window of that window
// class is shown (a program may create its window hidden and show it after its start-up). Exit
// status 0 when it appeared, 1 when the time ran out. Used by scripts/run to take its screenshot
// once the program is on the screen. With "hide" it then sends Norvel's settings window to the
// notification area, as a double-click on the tray icon does (scripts/bench measures the waiting
// program that way). With "hidden" it waits until such a window exists, shown or not, and
// reports whether it is still hidden two seconds later: 0 hidden, 3 shown (the log-in test
// checks that a start in the tray shows no window).
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const ULONGLONG deadline = GetTickCount64() + 1000ull * std::wcstoul(argv[2], nullptr, 10);
  const std::wstring mode = argc > 3 ? argv[3] : L"";
  while (GetTickCount64() < deadline) {
    const HWND window = FindWindowW(argv[1], nullptr);
    if (window && mode == L"hidden") {
      Sleep(2000);
      return IsWindowVisible(window) ? 3 : 0;
    }
    if (window && IsWindowVisible(window)) {
      if (mode == L"hide") PostMessageW(window, WM_APP + 1, 1, WM_LBUTTONDBLCLK);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}
