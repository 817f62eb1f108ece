#include "toolkit/controls_win.h"

#include <vector>

#include <commctrl.h>

#include "toolkit/text_win.h"

namespace norvel {
namespace {

struct ClassAndStyle {
  const wchar_t* window_class;
  DWORD style;
  DWORD ex_style;
};

ClassAndStyle StyleOf(const ControlLayout& layout) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (layout.kind) {
    case ControlKind::kFrame:
      return {L"Button", kChild | BS_GROUPBOX, 0};
    case ControlKind::kLabel:
      // Labels show their text as it is: an '&' in a message is not a keyboard prefix.
      return {L"Static",
              kChild | SS_NOPREFIX | ((layout.flags & kCentred) ? SS_CENTER : SS_LEFT) |
                  ((layout.flags & kOwnMouse) ? SS_NOTIFY : 0),
              0};
    case ControlKind::kComboBox:
      return {
          L"ComboBox",
          kChild | WS_TABSTOP | WS_VSCROLL |
              ((layout.flags & kDropDownList) ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL),
          0};
    case ControlKind::kTextBox:
      if (layout.flags & kMultiLine) {
        return {L"Edit",
                kChild | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                WS_EX_CLIENTEDGE};
      }
      return {L"Edit", kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kButton:
      return {L"Button", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::kListView:
      // Report view, one row chosen at a time and shown chosen also without the focus.
      return {
          WC_LISTVIEWW,
          kChild | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
          WS_EX_CLIENTEDGE};
  }
  return {L"Static", kChild, 0};
}

}  // namespace

HWND CreateControl(HWND parent, const ControlLayout& layout) {
  const ClassAndStyle cs = StyleOf(layout);
  const std::wstring caption = Widen(layout.caption).value_or(std::wstring());
  return CreateWindowExW(cs.ex_style, cs.window_class, caption.c_str(), cs.style, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void PlaceControl(HWND control, ControlKind kind, const PixelRect& rect) {
  int height = rect.height;
  if (kind == ControlKind::kComboBox) {
    // A drop-down combo box's height includes its list: room for about ten items.
    height = rect.height * 11;
  }
  SetWindowPos(control, nullptr, rect.left, rect.top, rect.width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOnScreen(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  const int left = CentreOffset(GetSystemMetrics(SM_CXSCREEN), outer.right - outer.left);
  const int top = CentreOffset(GetSystemMetrics(SM_CYSCREEN), outer.bottom - outer.top);
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string GetText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return NarrowLossy(text);
}

void SetText(HWND window, std::string_view utf8) {
  const std::wstring text = Widen(utf8).value_or(std::wstring());
  SetWindowTextW(window, text.c_str());
}

void AddComboItem(HWND combo, std::string_view utf8) {
  const std::wstring text = Widen(utf8).value_or(std::wstring());
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void SelectComboItem(HWND combo, std::string_view utf8) {
  const std::wstring text = Widen(utf8).value_or(std::wstring());
  const LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ShowMessageBox(HWND owner, std::string_view text, std::string_view title, UINT flags) {
  const std::wstring wide_text = Widen(text).value_or(std::wstring());
  const std::wstring wide_title = Widen(title).value_or(std::wstring());
  return MessageBoxW(owner, wide_text.c_str(), wide_title.c_str(), flags);
}

}  // namespace norvel
