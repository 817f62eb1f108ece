// Real input, as the system delivers a user's mouse and keyboard (SendInput), and the
// notification area as the user sees it.
#pragma once

#include <windows.h>

#include <optional>

namespace norvel::e2e {

void MoveMouse(POINT screen);
void Click(POINT screen, bool right = false);
void DoubleClick(POINT screen);
// Presses and releases a key, with `modifier` (VK_SHIFT, VK_MENU …) held down around it.
void PressKey(WORD virtual_key, WORD modifier = 0);

// The window that has the keyboard focus in the thread of `window` (another process's).
HWND FocusOfThread(HWND window);

// Where the dial icon is drawn in the taskbar's notification area (its red second hand and
// centre give it away), or nullopt when it is not there.
std::optional<RECT> FindDialInTray();

}  // namespace norvel::e2e
