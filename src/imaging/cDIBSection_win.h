// One picture held as a 24-bit bottom-up DIB section in two forms at once: pixel memory that
// the program reads and writes directly (rows of blue-green-red pixels, each padded to a
// multiple of 4 bytes, memory row 0 the bottom row), and a GDI bitmap selected into a memory
// device context of the object's own, so that it is copied to and from any other device
// context with one BitBlt and no setup.
//
// Platform failures are reported only through the boolean results. OverflowError (a size
// beyond the bitmap header's 32-bit range) and OutOfRangeError (resampling a picture under
// 2 x 2 pixels to another size) pass through to the caller. The object is used by one thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "imaging/image_bits.h"
#include "toolkit/handle_win.h"

namespace norvel {

class cDIBSection {
 public:
  cDIBSection() = default;
  ~cDIBSection() { ClearUp(); }

  cDIBSection(const cDIBSection&) = delete;
  cDIBSection& operator=(const cDIBSection&) = delete;
  // The moved-from object is left empty; its header keeps the size.
  cDIBSection(cDIBSection&& other) noexcept;
  cDIBSection& operator=(cDIBSection&& other) noexcept;

  // As a bitmap (bAsDIB false): a screen-compatible copy of the whole picture goes to the
  // clipboard as CF_BITMAP, and the clipboard owns it; true when it was accepted. As a DIB
  // (the default): a message box says that this cannot be done; false, clipboard unchanged.
  bool CopyToClipboard(bool bAsDIB = true) const;

  // Fills the header for lWidth x lHeight pixels and makes a DIB section from it for lHDC.
  // hDib receives the section (releasing what it held), and this object's pixel address is
  // set to the section's memory. Selects nothing and releases nothing this object holds. Throws
  // OverflowError when the image size leaves the 32-bit range; the header then already holds the
  // new width and height.
  bool CreateDIB(HDC lHDC, std::int32_t lWidth, std::int32_t lHeight, UniqueBitmap& hDib);

  // Copies the whole bitmap picThis into a new image of its size. A null handle, or a handle
  // that is no bitmap, leaves the object empty with Width and Height 0. Success shows in hDib
  // and DIBSectionBitsPtr being non-null.
  void CreateFromPicture(HBITMAP picThis);

  // Releases the current image and makes a new, zero-filled one. False leaves the object
  // empty with Width and Height reporting the requested size; so does an OverflowError.
  bool Create(std::int32_t lWidth, std::int32_t lHeight);

  // Width * 3 rounded up to a multiple of 4; OverflowError beyond the 32-bit range.
  std::int32_t BytesPerScanLine() const;
  // The size last given to CreateDIB, kept by ClearUp and by a failed Create; 0 before.
  std::int32_t Width() const noexcept { return bitmapInfo.bmiHeader.biWidth; }
  std::int32_t Height() const noexcept { return bitmapInfo.bmiHeader.biHeight; }

  // Copies from lHDC into the image's top-left corner, without stretching. A negative width
  // or height stands for the image's own; 0 copies nothing.
  void LoadPictureBlt(HDC lHDC, std::int32_t lSrcLeft = 0, std::int32_t lSrcTop = 0,
                      std::int32_t lSrcWidth = -1, std::int32_t lSrcHeight = -1,
                      DWORD eRop = SRCCOPY);

  // Copies from the image to lHDC, without stretching. A negative width or height stands for
  // the image's own; 0 copies nothing.
  void PaintPicture(HDC lHDC, std::int32_t lDestLeft = 0, std::int32_t lDestTop = 0,
                    std::int32_t lDestWidth = -1, std::int32_t lDestHeight = -1,
                    std::int32_t lSrcLeft = 0, std::int32_t lSrcTop = 0,
                    DWORD eRop = SRCCOPY) const;

  // The memory DC, the DIB section and the pixel address; null when the object is empty.
  HDC hdc() const noexcept { return memoryDC.get(); }
  HBITMAP hDib() const noexcept { return dibHandle.get(); }
  std::uint8_t* DIBSectionBitsPtr() const noexcept { return bitsPointer; }

  // Fills every pixel with noise seeded from the time of day: grey (bGray), or colour with
  // blue 0. Bytes after a row's last pixel are kept; an object without pixel memory is left
  // alone.
  void RandomiseBits(bool bGray = false);

  // Releases the image; the header, and so Width and Height, stay.
  void ClearUp() noexcept;

  // A new lNewWidth x lNewHeight image of this picture (height first), bilinear, or an exact
  // GDI copy at the same size; nothing when the new image cannot be made or a size is
  // negative. OutOfRangeError when a picture under 2 x 2 pixels goes to another size.
  std::optional<cDIBSection> Resample(std::int32_t lNewHeight, std::int32_t lNewWidth) const;

 private:
  // Resamples this picture into target's own size; target already holds an image.
  void ResampleInto(cDIBSection& target) const;
  ImageBits Bits() const noexcept { return {bitsPointer, Width(), Height()}; }

  UniqueBitmap dibHandle;
  // The bitmap the memory DC came with; selected back before the DIB section is deleted.
  HGDIOBJ previousBitmap = nullptr;
  UniqueMemoryDc memoryDC;
  std::uint8_t* bitsPointer = nullptr;
  // The header and one colour-table entry that stays zero.
  BITMAPINFO bitmapInfo{};
};

}  // namespace norvel
