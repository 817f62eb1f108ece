// Helpers for the tests of the image class.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "imaging/cDIBSection_win.h"
#include "toolkit/handle_win.h"

namespace norvel::testing {

// Byte `channel` (0 blue, 1 green, 2 red) of pixel x in memory row y (0 the bottom row).
inline std::uint8_t& DibByte(const cDIBSection& dib, int x, int y, int channel) {
  return dib.DIBSectionBitsPtr()[y * dib.BytesPerScanLine() + 3 * x + channel];
}

// Fills every pixel with values that differ between neighbours and channels; the bytes
// after a row's last pixel are left alone.
inline void FillPattern(const cDIBSection& dib) {
  for (int y = 0; y < dib.Height(); ++y) {
    for (int x = 0; x < dib.Width(); ++x) {
      for (int c = 0; c < 3; ++c) {
        DibByte(dib, x, y, c) = static_cast<std::uint8_t>(x * 37 + y * 101 + c * 13 + 7);
      }
    }
  }
}

// All the pixel memory, padding included.
inline std::vector<std::uint8_t> DibBytes(const cDIBSection& dib) {
  const std::uint8_t* bits = dib.DIBSectionBitsPtr();
  return {bits, bits + dib.BytesPerScanLine() * dib.Height()};
}

// A 32-bit top-down picture selected into a memory DC: another device context to copy to
// and from, whose pixels the test reads directly.
class Canvas {
 public:
  Canvas(int width, int height, std::uint32_t fill)
      : width_(width),
        height_(height),
        dc_(CreateCompatibleDC(nullptr)),
        bitmap_(Make()),
        selected_(dc_.get(), bitmap_.get()) {
    Fill(fill);
  }

  HDC dc() const { return dc_.get(); }

  void Fill(std::uint32_t value) {
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = value;
  }

  // Pixel (x, y), y counted from the top, as 0x00RRGGBB.
  std::uint32_t Pixel(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x];
  }

 private:
  // Sets bits_; runs after width_ and height_ are set.
  HBITMAP Make() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    return bitmap;
  }

  int width_;
  int height_;
  std::uint32_t* bits_ = nullptr;
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  SelectionGuard selected_;
};

// GDI makes some objects on first use and keeps them; a count is taken after this.
inline void WarmUpGdi() {
  cDIBSection dib;
  dib.Create(2, 2);
}

// A pixel of the image as the canvas stores it.
inline std::uint32_t DibPixel(const cDIBSection& dib, int x, int y) {
  return DibByte(dib, x, y, 0) | DibByte(dib, x, y, 1) << 8 | DibByte(dib, x, y, 2) << 16;
}

}  // namespace norvel::testing
