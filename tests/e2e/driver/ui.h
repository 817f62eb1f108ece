// Acting on another program's windows as a user or an automation tool would: find windows,
// read and set control texts, press buttons, wait for window states, take screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace norvel::e2e {

// A visible or hidden top-level window of process `pid` with this caption (UTF-8), or null.
HWND FindTopWindow(DWORD pid, const std::string& caption);
HWND WaitForTopWindow(DWORD pid, const std::string& caption, DWORD timeout_ms);

// The settings window of process `pid` once its start-up has finished (it is shown at the
// end of the start-up sequence; acting on it earlier would race with that sequence).
HWND WaitForSettingsWindow(DWORD pid, DWORD timeout_ms = 30000);

// A top-level window of process `pid` of that window class, or null.
HWND FindWindowOfClass(DWORD pid, const wchar_t* window_class);

// The reminder window of process `pid` (its title is the message, so it is found by class).
HWND FindReminder(DWORD pid);
HWND WaitForReminder(DWORD pid, DWORD timeout_ms);

// Texts through WM_GETTEXT / WM_SETTEXT, which work across processes (GetWindowText does not).
std::string TextOf(HWND window);
void SetTextOf(HWND window, const std::string& text);

std::vector<std::string> ComboItems(HWND combo);
// Chooses the item of a drop-down list by its text, as picking it from the list does (the
// list's owner hears CBN_SELCHANGE). False when no item has that text.
bool ChooseComboItem(HWND combo, const std::string& item);

// The open popup menu (a window of class "#32768") once it is shown, or null.
HWND WaitForPopupMenu(DWORD timeout_ms = 5000);

// Presses a button without waiting for what it starts (a modal dialog would block a send).
void PressButton(HWND button);

bool WaitForVisible(HWND window, bool visible, DWORD timeout_ms);

SIZE ClientSize(HWND window);
int ScreenDpi();

// The screen's pixels in `area`, 32-bit blue-green-red-unused, top row first.
struct ScreenPixels {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bgrx;
  const std::uint8_t* At(int x, int y) const {
    return bgrx.data() + 4 * (static_cast<std::size_t>(y) * width + x);
  }
};
ScreenPixels CaptureScreen(const RECT& area);

// Saves the screen, or the part around `window`, as <NORVEL_ARTIFACTS>/<name>.png (when the
// variable is set).
void SaveScreenshot(const std::string& name, HWND window = nullptr);

}  // namespace norvel::e2e
