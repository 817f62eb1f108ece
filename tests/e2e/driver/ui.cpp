#include "driver/ui.h"

#include <cstdlib>

#include "driver/timing.h"
#include "toolkit/handle_win.h"
#include "toolkit/text_win.h"

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

void SaveScreenshot(const std::string& name) {
  const char* folder = std::getenv("NORVEL_ARTIFACTS");
  if (!folder || !*folder) return;
  std::string path = folder;
  if (path.front() == '/') {  // a Linux path under Wine: drive Z: is the root
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
  }
  path += "\\" + name + ".bmp";

  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  UniqueBitmap dib(CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                    DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemoryDc memory(CreateCompatibleDC(screen));
  if (dib && memory) {
    SelectionGuard select(memory.get(), dib.get());
    BitBlt(memory.get(), 0, 0, width, height, screen, GetSystemMetrics(SM_XVIRTUALSCREEN),
           GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY);
  }
  ReleaseDC(nullptr, screen);
  if (!bits) return;
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  const DWORD image = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + image;
  const std::wstring wide = Widen(path).value_or(L"");
  UniqueFile out(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!out) return;
  DWORD written = 0;
  WriteFile(out.get(), &file, sizeof file, &written, nullptr);
  WriteFile(out.get(), &header, sizeof header, &written, nullptr);
  WriteFile(out.get(), bits, image, &written, nullptr);
}

}  // namespace norvel::e2e
