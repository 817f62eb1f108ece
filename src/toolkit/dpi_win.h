// DPI of windows and DPI-aware metrics, with fallbacks for systems that lack the per-monitor
// functions (they are looked up at run time so that the program still starts on Windows 7).
#pragma once

#include <windows.h>

namespace norvel {

int DpiForWindow(HWND hwnd);
int SystemDpi();

// The outer rectangle for a client area of `client_width` x `client_height` pixels.
SIZE OuterSizeForClient(int client_width, int client_height, DWORD style, DWORD ex_style, int dpi);

// For WM_DPICHANGED: moves `window` to the rectangle the system suggests (its lParam).
void MoveToSuggestedRect(HWND window, LPARAM suggested);

// The system's message font (the default user-interface font) at `dpi`.
LOGFONTW MessageFont(int dpi);

}  // namespace norvel
