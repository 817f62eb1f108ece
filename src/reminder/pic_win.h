// Shaping a window to its picture.
#pragma once

#include <windows.h>

#include <cstdint>

namespace norvel {

// Resizes `frmTarget` so that its client area is as large as `picture` and gives it the
// picture's outline as its region: every pixel except those of the key colour (with
// lKeyColor 1 the colour of the picture's bottom-left pixel). A picture without a single
// pixel of another colour keeps the rectangular window, so the reminder stays visible and
// can be closed. Errors (an empty picture) pass to the caller.
void ShapeWindowToPicture(HWND frmTarget, HBITMAP picture, std::int32_t lKeyColor);

}  // namespace norvel
