// Layout of a bottom-up 24-bit bitmap: rows of blue-green-red pixels, each row padded to a
// multiple of 4 bytes. The bitmap header stores these numbers as signed 32-bit values.
#pragma once

#include <cstdint>

namespace norvel {

// Bytes of one row: width * 3 rounded up to a multiple of 4. Throws OverflowError when
// width * 3, or that plus 3, leaves the signed 32-bit range.
std::int32_t BytesPerScanLine(std::int32_t width);

// The header's image size: height * BytesPerScanLine(width). Throws OverflowError when the
// stride or the product leaves the signed 32-bit range.
std::int32_t SizeImage(std::int32_t width, std::int32_t height);

}  // namespace norvel
