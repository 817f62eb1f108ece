#include "reminder/form2_win.h"

#include "app/resource.h"
#include "reminder/form2_layout.h"
#include "toolkit/controls_win.h"
#include "toolkit/dpi_win.h"
#include "toolkit/layout.h"
#include "toolkit/task_list_win.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

constexpr wchar_t kClassName[] = L"NorvelForm2";
// The same frame as Form1: caption and close box, no minimize or maximize box, so that the
// alarm's minimize-all never minimizes an open reminder. Not topmost.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = 0;
constexpr COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

Form2::Form2(std::function<void()> on_unload) : on_unload_(std::move(on_unload)) {}

HWND Form2::Label1() const { return GetDlgItem(hwnd(), form2::kLabel1); }

void Form2::Show() {
  if (!IsLoaded() && !Load()) return;
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

bool Form2::Load() {
  const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_NORVEL));
  const std::wstring caption = Widen(form2::kCaption).value_or(L"");
  if (!CreateWindowOfClass(kClassName, caption.c_str(), kStyle, kExStyle,
                           RECT{CW_USEDEFAULT, 0, CW_USEDEFAULT, 0}, TaskListOwner(), icon)) {
    return false;
  }
  CreateControl(hwnd(), form2::kControls[0]);
  ApplyDesignLayout(DpiForWindow(hwnd()));
  return true;
}

void Form2::ApplyDesignLayout(int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(form2::kLabelFontPoints, dpi, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = static_cast<BYTE>(form2::kLabelFontCharset);
  form2::kLabelFontFace.copy(lf.lfFaceName, LF_FACESIZE - 1);
  label_font_.reset(CreateFontIndirectW(&lf));
  SendMessageW(Label1(), WM_SETFONT, reinterpret_cast<WPARAM>(label_font_.get()), TRUE);
  PlaceControl(Label1(), ControlKind::kLabel, ControlRect(form2::kControls, 0, dpi));
  SizeLabelToCaption();

  const SIZE outer = OuterSizeForClient(TwipsToPixels(form2::kClientWidth, dpi),
                                        TwipsToPixels(form2::kClientHeight, dpi), kStyle,
                                        kExStyle, dpi);
  SetWindowPos(hwnd(), nullptr, CentreOffset(GetSystemMetrics(SM_CXSCREEN), outer.cx),
               CentreOffset(GetSystemMetrics(SM_CYSCREEN), outer.cy), outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form2::SizeLabelToCaption() {
  // Auto-size: the label is as wide and high as its caption on one line.
  const HWND label = Label1();
  const std::wstring caption = Widen(GetText(label)).value_or(L"");
  const HDC dc = GetDC(label);
  const HGDIOBJ previous = SelectObject(dc, label_font_.get());
  SIZE extent{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  SetWindowPos(label, nullptr, 0, 0, extent.cx, tm.tmHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Form2::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wparam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, kBlue);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
  }
  return Window::HandleMessage(message, wparam, lparam);
}

void Form2::OnUnloaded() {
  if (on_unload_) on_unload_();
}

}  // namespace norvel
