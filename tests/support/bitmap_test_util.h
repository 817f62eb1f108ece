// Plain byte buffers laid out like a 24-bit bottom-up bitmap, for the imaging tests.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/dib_layout.h"
#include "imaging/image_bits.h"

namespace norvel::testing {

struct TestBitmap {
  TestBitmap(std::int32_t w, std::int32_t h, std::uint8_t fill)
      : width(w),
        height(h),
        stride(BytesPerScanLine(w)),
        bytes(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h), fill) {}

  ImageBits Bits() { return {bytes.data(), width, height}; }
  ConstImageBits Bits() const { return {bytes.data(), width, height}; }

  std::uint8_t& At(std::int32_t x, std::int32_t y, std::int32_t channel) {
    return bytes[static_cast<std::size_t>(y * stride + 3 * x + channel)];
  }
  void SetPixel(std::int32_t x, std::int32_t y, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    At(x, y, 0) = b;
    At(x, y, 1) = g;
    At(x, y, 2) = r;
  }
  std::vector<int> Pixel(std::int32_t x, std::int32_t y) {
    return {At(x, y, 0), At(x, y, 1), At(x, y, 2)};
  }

  std::int32_t width;
  std::int32_t height;
  std::int32_t stride;
  std::vector<std::uint8_t> bytes;
};

}  // namespace norvel::testing
