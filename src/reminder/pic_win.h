// Shaping a window to its picture.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/handle_win.h"

namespace norvel {

// A picture's outline: its size and the region of its pixels that are not of the key
// colour, as if the window had no frame (the frame offset is added when it is applied).
struct PictureOutline {
  int width = 0, height = 0;
  UniqueRegion region;  // null when no pixel differs from the key
};

// The outline of `picture` (with lKeyColor 1 the key is the colour of its bottom-left
// pixel); an empty picture has size 0 x 0 and no region. Errors pass to the caller.
PictureOutline OutlineOf(HBITMAP picture, std::int32_t lKeyColor);

// Resizes `window` so that its client area is as large as the picture, keeping its position,
// and gives it the outline, moved past its frame and caption, as its region. An outline
// without a region keeps the window rectangular, so that the reminder stays visible and can
// be closed.
void ApplyOutline(HWND window, const PictureOutline& outline);

// Both steps at once: the window takes the shape of `picture`.
void ShapeWindowToPicture(HWND frmTarget, HBITMAP picture, std::int32_t lKeyColor);

}  // namespace norvel
