#include "driver/ui.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/form1_layout.h"
#include "driver/timing.h"
#include "toolkit/com_win.h"
#include "toolkit/handle_win.h"
#include "toolkit/text_win.h"
#include "win_test_util.h"

namespace norvel::e2e {
namespace {

// Encodes top-down 24-bit blue-green-red rows as a PNG file with the Imaging Component.
bool WritePng(const std::wstring& path, int width, int height, std::vector<std::uint8_t>& bgr) {
  const ComApartment com(COINIT_APARTMENTTHREADED);
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                   reinterpret_cast<void**>(factory.Out()));
  if (factory) factory->CreateStream(stream.Out());
  if (stream && SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) {
    factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out());
  }
  if (encoder && SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) {
    encoder->CreateNewFrame(frame.Out(), nullptr);
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  return frame && SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
         SUCCEEDED(frame->SetPixelFormat(&format)) &&
         IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
         SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * 3,
                                      static_cast<UINT>(bgr.size()), bgr.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

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
  SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(caption), SMTO_ABORTIFHUNG,
                      2000, nullptr);
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
  WaitUntil(
      [&] {
        found = FindTopWindow(pid, std::string(form1::kCaption));
        return found && IsWindowVisible(found);
      },
      timeout_ms);
  return found && IsWindowVisible(found) ? found : nullptr;
}

HWND FindWindowOfClass(DWORD pid, const wchar_t* window_class) {
  for (HWND w = FindWindowExW(nullptr, nullptr, window_class, nullptr); w;
       w = FindWindowExW(nullptr, w, window_class, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid) return w;
  }
  return nullptr;
}

HWND FindReminder(DWORD pid) {
  return FindWindowOfClass(pid, L"NorvelForm2");
}

HWND WaitForReminder(DWORD pid, DWORD timeout_ms) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindReminder(pid)) != nullptr; }, timeout_ms);
  return found;
}

std::string TextOf(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
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

bool ChooseComboItem(HWND combo, const std::string& item) {
  const std::vector<std::string> items = ComboItems(combo);
  const auto found = std::find(items.begin(), items.end(), item);
  if (found == items.end()) return false;
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(found - items.begin()), 0);
  SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  return true;
}

HWND WaitForPopupMenu(DWORD timeout_ms) {
  HWND menu = nullptr;
  WaitUntil(
      [&] {
        menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
      },
      timeout_ms);
  return menu;
}

void PressButton(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
}

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

void SaveScreenshot(const std::string& name, HWND window) {
  const char* folder = std::getenv("NORVEL_ARTIFACTS");
  if (!folder || !*folder) return;
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT screen{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT area = screen;
  if (window) {
    RECT around{};
    GetWindowRect(window, &around);
    InflateRect(&around, 16, 16);
    IntersectRect(&area, &around, &screen);
  }
  const ScreenPixels shot = CaptureScreen(area);
  if (shot.bgrx.empty()) return;
  // 24-bit pixels: the screen has no alpha, and an image with alpha 0 shows as blank.
  std::vector<std::uint8_t> bgr;
  bgr.reserve(shot.bgrx.size() / 4 * 3);
  for (std::size_t i = 0; i < shot.bgrx.size(); i += 4) {
    bgr.insert(bgr.end(), shot.bgrx.begin() + static_cast<std::ptrdiff_t>(i),
               shot.bgrx.begin() + static_cast<std::ptrdiff_t>(i) + 3);
  }
  WritePng(testing::WindowsPathOf(std::string(folder) + "/" + name + ".png"), shot.width,
           shot.height, bgr);
}

}  // namespace norvel::e2e
