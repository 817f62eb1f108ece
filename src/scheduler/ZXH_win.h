// Clearing the desktop before a reminder.
#pragma once

#include <windows.h>

namespace norvel {

// EnumWindows callback: minimizes a visible top-level window that has a minimize box and
// leaves every other window alone. Always goes on with the enumeration.
BOOL CALLBACK MinimizeWindowProc(HWND window, LPARAM application_value);

}  // namespace norvel
