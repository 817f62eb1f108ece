// The keyboard of a dialog-like top-level window that is not a dialog: Tab and Shift+Tab
// move through the tab order from every control, access keys press their buttons, Esc and
// Enter press nothing (no button is the default or the cancel button), and the control that
// had the focus gets it back when the window is active again.
#pragma once

#include <windows.h>

namespace norvel {

class DialogKeys {
 public:
  explicit DialogKeys(HWND window = nullptr) : window_(window) {}
  void Attach(HWND window) { window_ = window; }

  // For a message of the loop: true when the keyboard used it up.
  bool Translate(MSG& msg);
  // WM_NEXTDLGCTL, which a multi-line edit sends on Tab: moves the focus as the dialog
  // manager moves it from any other control.
  void NextControl(WPARAM wparam, LPARAM lparam);
  // Keeps the control that has the focus (on deactivation, before hiding).
  void RememberFocus();
  // Gives the focus back to it; the first control of the tab order at the first show.
  void RestoreFocus();
  // Makes the window the active one and hands the focus on from the window to its control.
  void TakeKeyboard();

 private:
  HWND window_;
  HWND focus_ = nullptr;
};

}  // namespace norvel
