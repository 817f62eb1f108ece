// How large a picture the program takes. A picture file states its size before any pixel
// is decoded; a size beyond these limits is refused before decoding (as a file that does not
// load), so a small file that claims or unpacks to billions of pixels cannot exhaust memory
// or hold up the reminder. A 48-megapixel photo (8000 x 6000) still loads, and a window of
// the largest size taken is one that Windows can make.
#pragma once

#include <cstdint>

namespace norvel {

inline constexpr std::uint32_t kMaxPictureSide = 16384;
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{64} << 20;  // 8192 x 8192

constexpr bool PictureSizeAcceptable(std::uint32_t width, std::uint32_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         std::uint64_t{width} * height <= kMaxPicturePixels;
}

}  // namespace norvel
