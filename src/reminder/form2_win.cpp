#include "reminder/form2_win.h"

#include <windowsx.h>

#include <algorithm>

#include "settings/app_path_win.h"
#include "settings/ini.h"
#include "toolkit/resource.h"
#include "reminder/form2_layout.h"
#include "reminder/prepared_picture_win.h"
#include "toolkit/controls_win.h"
#include "toolkit/run_step.h"
#include "toolkit/dpi_win.h"
#include "toolkit/layout.h"
#include "toolkit/line_breaks.h"
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

Form2::Form2(std::function<void()> on_unload, PicturePreparer* preparer,
             std::function<void(int minutes)> on_put_off, std::function<AlarmSettings()> texts)
    : on_unload_(std::move(on_unload)),
      on_put_off_(std::move(on_put_off)),
      texts_(std::move(texts)),
      preparer_(preparer) {}

HWND Form2::Label1() const {
  return GetDlgItem(hwnd(), form2::kLabel1);
}

void Form2::Show(int offset) {
  if (!IsLoaded()) {
    if (!Load()) return;
    if (offset != 0) {
      RECT r{};
      GetWindowRect(hwnd(), &r);
      SetWindowPos(hwnd(), nullptr, r.left + offset, r.top + offset, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
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
  const int dpi = DpiForWindow(hwnd());
  ApplyLabelDesign(dpi);
  CentreWithDesignSize(dpi);
  OnLoad();
  return true;
}

void Form2::OnLoad() {
  AlarmSettings stored;
  RunStep([&] { stored = texts_ ? texts_() : ReadAlarmSettings(AppSettingsFile()); });
  // A message edited by hand may break its lines with LF or CR alone; the label shows
  // CR LF only.
  RunStep([&] { SetMessage(WithCrLfLineBreaks(stored.message)); });
  // The title is one line: each line break shows as a space.
  RunStep([&] {
    SetWindowTextW(hwnd(), Widen(LineBreaksAsSpaces(GetText(Label1()))).value_or(L"").c_str());
  });
  RunStep([&] { CentreLabel(); });
  // Not re-centred after shaping: the top-left corner stays where centring put it.
  RunStep([&] { LoadAndShapePicture(stored.picture); });
}

void Form2::CentreWithDesignSize(int dpi) {
  const SIZE outer =
      OuterSizeForClient(TwipsToPixels(form2::kClientWidth, dpi),
                         TwipsToPixels(form2::kClientHeight, dpi), kStyle, kExStyle, dpi);
  SetWindowPos(hwnd(), nullptr, CentreOffset(GetSystemMetrics(SM_CXSCREEN), outer.cx),
               CentreOffset(GetSystemMetrics(SM_CYSCREEN), outer.cy), outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form2::ApplyLabelDesign(int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(form2::kLabelFontPoints, dpi, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = static_cast<BYTE>(form2::kLabelFontCharset);
  form2::kLabelFontFace.copy(lf.lfFaceName, LF_FACESIZE - 1);
  label_font_.reset(CreateFontIndirectW(&lf));
  SendMessageW(Label1(), WM_SETFONT, reinterpret_cast<WPARAM>(label_font_.get()), TRUE);
  PlaceControl(Label1(), ControlKind::kLabel, ControlRect(form2::kControls, 0, dpi));
  SizeLabelToCaption();
}

void Form2::SetMessage(const std::string& message) {
  SetText(Label1(), message);
  SizeLabelToCaption();
}

void Form2::CentreLabel() {
  // Centred with the window's outer width while the label's left is a client coordinate, so
  // it sits one frame width right of the client's centre; a wide message may start left of
  // the client area and is clipped there.
  RECT outer{}, label{};
  GetWindowRect(hwnd(), &outer);
  GetWindowRect(Label1(), &label);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&label), 2);
  const int left = CentreOffset(outer.right - outer.left, label.right - label.left);
  SetWindowPos(Label1(), nullptr, left, label.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form2::LoadAndShapePicture(const std::string& path) {
  // The picture made ready by the preparer when the file is unchanged (the program never
  // decodes on this thread: without it the reminder shows at its design size); loaded here
  // only when there is no preparer.
  std::shared_ptr<const PreparedPicture> picture = preparer_ ? preparer_->Take(path) : nullptr;
  if (!picture && !preparer_) picture = PreparePicture(path, GetSysColor(COLOR_BTNFACE));
  picture_ = std::move(picture);
  // An empty path, a file that does not load or a picture not ready: no picture.
  if (!picture_ || !picture_->bitmap) return;
  InvalidateRect(hwnd(), nullptr, TRUE);
  ShapeWindowToPrepared(hwnd(), *picture_);
}

void Form2::SizeLabelToCaption() {
  // Auto-size: as wide as the caption's widest line and as high as all its lines; a caption
  // without a line break is one line high.
  const HWND label = Label1();
  const std::wstring caption = Widen(GetText(label)).value_or(L"");
  RECT extent{};
  TEXTMETRICW tm{};
  {
    const WindowDc dc(label);
    SelectionGuard select(dc.get(), label_font_.get());
    GetTextMetricsW(dc.get(), &tm);
    DrawTextW(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &extent,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  }
  SetWindowPos(label, nullptr, 0, 0, extent.right - extent.left,
               std::max<LONG>(extent.bottom - extent.top, tm.tmHeight),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form2::PaintPicture(HDC dc) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (!picture_ || !picture_->bitmap) return;
  // Unscaled, its top-left corner at the client area's top-left corner.
  BITMAP info{};
  GetObjectW(picture_->bitmap.get(), sizeof info, &info);
  const UniqueMemoryDc memory(CreateCompatibleDC(dc));
  SelectionGuard select(memory.get(), picture_->bitmap.get());
  BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

void Form2::OnContextMenu(LPARAM lparam) {
  POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  if (at.x == -1 && at.y == -1) {  // from the keyboard: at the window's centre
    RECT r{};
    GetWindowRect(hwnd(), &r);
    at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  const UniqueMenu menu(CreatePopupMenu());
  for (std::size_t i = 0; i < form2::kPutOffMinutes.size(); ++i) {
    const std::wstring item = Widen(form2::PutOffMenuText(form2::kPutOffMinutes[i])).value_or(L"");
    AppendMenuW(menu.get(), put_off_allowed_ ? MF_STRING : MF_STRING | MF_GRAYED,
                form2::kMenuPutOffFirst + i, item.c_str());
  }
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  const std::wstring mute = Widen(form2::kMuteMenuText).value_or(L"");
  AppendMenuW(menu.get(), MF_STRING, form2::kMenuMute, mute.c_str());
  const std::wstring close = Widen(form2::kCloseMenuText).value_or(L"");
  AppendMenuW(menu.get(), MF_STRING, form2::kMenuClose, close.c_str());
  // Foreground first and a null message after: otherwise the menu stays open when the user
  // clicks elsewhere.
  SetForegroundWindow(hwnd());
  const auto chosen = static_cast<int>(TrackPopupMenuEx(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, hwnd(), nullptr));
  PostMessageW(hwnd(), WM_NULL, 0, 0);
  const int put_off = chosen - form2::kMenuPutOffFirst;
  if (put_off_allowed_ && put_off >= 0 &&
      put_off < static_cast<int>(form2::kPutOffMinutes.size())) {
    if (on_put_off_) on_put_off_(form2::kPutOffMinutes[static_cast<std::size_t>(put_off)]);
    DestroyWindow(hwnd());
  } else if (chosen == form2::kMenuMute) {
    if (mute_) mute_();
  } else if (chosen == form2::kMenuClose) {
    DestroyWindow(hwnd());  // as the double-click does
  }
}

LRESULT Form2::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      PaintPicture(reinterpret_cast<HDC>(wparam));
      return 1;
    case WM_CTLCOLORSTATIC: {
      // The label shows the picture through its background.
      const HDC dc = reinterpret_cast<HDC>(wparam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, kBlue);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_GETMINMAXINFO:
      // A small picture makes a small window: no minimum size for a caption bar that the
      // picture's region cuts away anyway.
      reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = {1, 1};
      return 0;
    case WM_LBUTTONDOWN:
      // A press anywhere on the surface drags the window, as a press on a caption would.
      ReleaseCapture();
      SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return 0;
    case WM_LBUTTONDBLCLK:
      DestroyWindow(hwnd());  // unloaded with its picture and region
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(lparam);
      return 0;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

void Form2::OnUnloaded() {
  picture_.reset();
  if (on_unload_) on_unload_();
}

}  // namespace norvel
