#include "driver/ui.h"

#include <cstdlib>

#include "driver/timing.h"
#include "toolkit/handle_win.h"
#include "toolkit/text_win.h"
#include "win_test_util.h"

namespace norvel::e2e {
namespace {

struct FindState {
  DWORD pid;
  std::wstring caption;
  HWND found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM lparam) {
  auto* state = reinterpret_cast<FindState*>(lparam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != state->pid) return TRUE;
  wchar_t caption[256] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(caption),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  if (state->caption == caption) {
    state->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindTopWindow(DWORD pid, const std::string& caption) {
  FindState state{pid, Widen(caption).value_or(L""), nullptr};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

HWND WaitForTopWindow(DWORD pid, const std::string& caption, DWORD timeout_ms) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(pid, caption)) != nullptr; }, timeout_ms);
  return found;
}

HWND WaitForSettingsWindow(DWORD pid, DWORD timeout_ms) {
  HWND found = nullptr;
  WaitUntil([&] {
    found = FindTopWindow(pid, "Norvel Version 0.2");
    return found && IsWindowVisible(found);
  }, timeout_ms);
  return found && IsWindowVisible(found) ? found : nullptr;
}

HWND FindReminder(DWORD pid) {
  for (HWND w = FindWindowExW(nullptr, nullptr, L"NorvelForm2", nullptr); w;
       w = FindWindowExW(nullptr, w, L"NorvelForm2", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid) return w;
  }
  return nullptr;
}

HWND WaitForReminder(DWORD pid, DWORD timeout_ms) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindReminder(pid)) != nullptr; }, timeout_ms);
  return found;
}

std::string TextOf(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(window, WM_GETTEXT, text.size(),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return NarrowLossy(text);
}

void SetTextOf(HWND window, const std::string& text) {
  const std::wstring wide = Widen(text).value_or(L"");
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length));
    items.push_back(NarrowLossy(item));
  }
  return items;
}

void PressButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool WaitForVisible(HWND window, bool visible, DWORD timeout_ms) {
  return WaitUntil([&] { return (IsWindowVisible(window) != FALSE) == visible; }, timeout_ms);
}

SIZE ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right, rect.bottom};
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

ScreenPixels CaptureScreen(const RECT& area) {
  ScreenPixels shot;
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return shot;
  BITMAPINFOHEADER header{sizeof header, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const UniqueBitmap dib(CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                          DIB_RGB_COLORS, &bits, nullptr, 0));
  const UniqueMemoryDc memory(CreateCompatibleDC(screen));
  if (dib && memory) {
    SelectionGuard select(memory.get(), dib.get());
    BitBlt(memory.get(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  }
  ReleaseDC(nullptr, screen);
  if (!bits) return shot;
  GdiFlush();
  shot.width = width;
  shot.height = height;
  const auto* first = static_cast<const std::uint8_t*>(bits);
  shot.bgrx.assign(first, first + 4 * static_cast<std::size_t>(width) * height);
  return shot;
}

void SaveScreenshot(const std::string& name) {
  const char* folder = std::getenv("NORVEL_ARTIFACTS");
  if (!folder || !*folder) return;
  const std::wstring path =
      testing::WindowsPathOf(std::string(folder) + "/" + name + ".bmp");
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const ScreenPixels shot =
      CaptureScreen({left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     top + GetSystemMetrics(SM_CYVIRTUALSCREEN)});
  if (shot.bgrx.empty()) return;
  BITMAPINFOHEADER header{sizeof header, shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(shot.bgrx.size());
  UniqueFile out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!out) return;
  DWORD written = 0;
  WriteFile(out.get(), &file, sizeof file, &written, nullptr);
  WriteFile(out.get(), &header, sizeof header, &written, nullptr);
  WriteFile(out.get(), shot.bgrx.data(), static_cast<DWORD>(shot.bgrx.size()), &written, nullptr);
}

}  // namespace norvel::e2e
