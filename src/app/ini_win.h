// Window helpers of the settings module.
#pragma once

#include <windows.h>

namespace norvel {

// Puts `window` into the topmost band without moving or resizing it.
void SetTopmost(HWND window);

}  // namespace norvel
