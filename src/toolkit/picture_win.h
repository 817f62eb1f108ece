// The picture loader: any image the Windows Imaging Component decodes (BMP, PNG, JPEG, GIF,
// TIFF, ICO, …) becomes a 24-bit GDI bitmap. Pixels with alpha are laid over a background
// colour, so a transparent background turns into one flat colour.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/handle_win.h"

namespace norvel {

// The first frame of a GIF, the first page of a TIFF, the largest image of an icon file.
// Null ("no picture") for an empty path, a path that names no file, a file that does not
// decode, or one that its header does not admit (PictureHeaderVerdict: a stated size beyond the
// picture limits, a header cut short, a large file of a format not read), checked before any
// decoder opens it. COM must be initialised on the calling thread.
UniqueBitmap LoadPicture(const std::string& path, COLORREF background);

// Lays one straight-alpha channel value over the background: opaque keeps the colour
// exactly, transparent gives the background exactly.
inline BYTE Composite(BYTE colour, BYTE alpha, BYTE background) {
  return static_cast<BYTE>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

}  // namespace norvel
