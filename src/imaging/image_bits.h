// The pixel memory of a 24-bit bottom-up bitmap as the image class holds it: the address of
// its first byte and the header's width and height. The stride follows from the width.
#pragma once

#include <cstdint>
#include <type_traits>

#include "imaging/byte_view.h"
#include "imaging/dib_layout.h"

namespace norvel {

template <class Byte>
struct BasicImageBits {
  Byte* bits = nullptr;  // null when the image has no pixel memory
  std::int32_t width = 0;
  std::int32_t height = 0;

  operator BasicImageBits<const Byte>() const noexcept requires(!std::is_const_v<Byte>) {
    return {bits, width, height};
  }

  // Height rows of BytesPerScanLine(width) bytes; throws OverflowError like the stride.
  BasicByteView<Byte> View() const { return {bits, BytesPerScanLine(width), height}; }
};

using ImageBits = BasicImageBits<std::uint8_t>;
using ConstImageBits = BasicImageBits<const std::uint8_t>;

}  // namespace norvel
