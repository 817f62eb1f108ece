// Inside the picture header reader: random access to the file's bytes, the integer reads, and
// the readers of the formats whose size lies behind a walk (markers, blocks, directories).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/picture_header.h"

namespace norvel::picture_header {

// The file as the readers see it: the head, and beyond it what `fetch` reads, a window at a
// time (a walk through a file mostly reads forwards).
class ByteSource {
 public:
  ByteSource(std::string_view head, std::uint64_t size, const FetchPictureBytes& fetch)
      : head_(head.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(head.size(), size)))),
        size_(size),
        fetch_(fetch) {}

  std::uint64_t size() const { return size_; }

  // `length` bytes at `offset`, valid until the next call; none when they lie beyond the end of
  // the file or cannot be read.
  std::optional<std::string_view> At(std::uint64_t offset, std::size_t length);

 private:
  std::string_view head_;
  std::uint64_t size_;
  const FetchPictureBytes& fetch_;
  std::string window_;
  std::uint64_t window_offset_ = 0;
};

inline std::uint32_t Byte(std::string_view b, std::size_t at) {
  return static_cast<unsigned char>(b[at]);
}
inline std::uint32_t Le16(std::string_view b, std::size_t at) {
  return Byte(b, at) | Byte(b, at + 1) << 8;
}
inline std::uint32_t Be16(std::string_view b, std::size_t at) {
  return Byte(b, at) << 8 | Byte(b, at + 1);
}
inline std::uint32_t Le24(std::string_view b, std::size_t at) {
  return Le16(b, at) | Byte(b, at + 2) << 16;
}
inline std::uint32_t Le32(std::string_view b, std::size_t at) {
  return Le16(b, at) | Le16(b, at + 2) << 16;
}
inline std::uint32_t Be32(std::string_view b, std::size_t at) {
  return Be16(b, at) << 16 | Be16(b, at + 2);
}

inline PictureHeader Sized(PictureFormat format, std::uint64_t width, std::uint64_t height) {
  constexpr std::uint64_t kMax = UINT32_MAX;
  return {PictureHeader::Kind::kSize, format, static_cast<std::uint32_t>(std::min(width, kMax)),
          static_cast<std::uint32_t>(std::min(height, kMax))};
}
inline PictureHeader Malformed(PictureFormat format) {
  return {PictureHeader::Kind::kMalformed, format, 0, 0};
}

PictureHeader ReadJpeg(ByteSource& bytes);
PictureHeader ReadGif(ByteSource& bytes);
// The first image file directory of a TIFF-like file (TIFF, JPEG XR): the two tags that hold
// the width and the height, each a SHORT or a LONG.
PictureHeader ReadFirstDirectory(ByteSource& bytes, PictureFormat format, bool big_endian,
                                 std::uint32_t width_tag, std::uint32_t height_tag);

}  // namespace norvel::picture_header
