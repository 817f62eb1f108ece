#include "toolkit/dialog_keys_win.h"

namespace norvel {
namespace {

bool IsMultiLineEdit(HWND window) {
  wchar_t window_class[8] = {};
  GetClassNameW(window, window_class, 8);
  return lstrcmpiW(window_class, L"Edit") == 0 &&
         (GetWindowLongW(window, GWL_STYLE) & ES_MULTILINE) != 0;
}

}  // namespace

bool DialogKeys::Translate(MSG& msg) {
  if (!window_ || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  // A multi-line edit under the dialog manager takes Esc as "close the dialog" and posts
  // WM_CLOSE to its parent, which would end the program. No button is the cancel button
  // here, so Esc in such an edit does nothing at all.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && IsMultiLineEdit(msg.hwnd) &&
      IsChild(window_, msg.hwnd)) {
    return true;
  }
  return IsDialogMessageW(window_, &msg) != FALSE;
}

void DialogKeys::NextControl(WPARAM wparam, LPARAM lparam) {
  const HWND target = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                                     : GetNextDlgTabItem(window_, GetFocus(), wparam != 0);
  if (!target) return;
  if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    SendMessageW(target, EM_SETSEL, 0, -1);
  }
  SetFocus(target);
}

void DialogKeys::RememberFocus() {
  const HWND focus = GetFocus();
  if (focus && IsChild(window_, focus)) focus_ = focus;
}

void DialogKeys::RestoreFocus() {
  if (IsIconic(window_)) return;  // a minimized window keeps the focus itself
  if (!focus_ || !IsChild(window_, focus_)) focus_ = GetNextDlgTabItem(window_, nullptr, FALSE);
  if (focus_) SetFocus(focus_);
}

void DialogKeys::TakeKeyboard() {
  // A window activated while still minimized kept the focus itself: hand it on now.
  SetForegroundWindow(window_);
  const HWND focus = GetFocus();
  if (!focus || focus == window_) RestoreFocus();
}

}  // namespace norvel
