// The size a picture file states in its own header, read before any decoder sees the file.
// Decoders unpack the whole picture as soon as they are opened, so a file of a few megabytes
// that states (and unpacks to) billions of pixels must be refused from its header, not after
// decoding. Portable: the Windows loader reads the file and passes its bytes in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "toolkit/picture_limits.h"

namespace norvel {

// How much of the start of a file the loader reads first; most headers lie within it.
inline constexpr std::size_t kPictureHeadBytes = 64 * 1024;

enum class PictureFormat { kUnknown, kPng, kJpeg, kGif, kBmp, kIco, kTiff, kJpegXr, kWebp, kDds };

struct PictureHeader {
  enum class Kind {
    kSize,           // a known format; width and height are set
    kUnknownFormat,  // no signature this reader knows
    kMalformed,      // a known signature, but the header is cut short or makes no sense
  };
  Kind kind = Kind::kUnknownFormat;
  PictureFormat format = PictureFormat::kUnknown;
  // The largest extent the decoder may unpack: the frame header's size, for an icon file the
  // widest and the tallest of its images, for a GIF its screen and every frame seen.
  std::uint32_t width = 0, height = 0;
};

// Up to `length` bytes of the file at `offset` (fewer at its end or when the read fails).
using FetchPictureBytes = std::function<std::string(std::uint64_t offset, std::size_t length)>;

// Reads the header of a file of `file_size` bytes whose first bytes are `head`. Parts beyond the
// head (a JPEG frame header after large metadata, a TIFF directory at the end of the file, an
// icon's images) are read through `fetch`; without it they count as missing, so a header that
// needs them is malformed and a GIF's frames are read as far as the head goes.
PictureHeader ReadPictureHeader(std::string_view head, std::uint64_t file_size,
                                const FetchPictureBytes& fetch = nullptr);

// An unknown format may still be one that the system decodes (HEIF, AVIF, camera raw or
// JPEG XL through installed codecs; the formats most often met are read by their headers), and
// nothing tells its size. What a file can unpack to grows with its length, so such a file is
// decoded only when it is small: at 1024:1 (DEFLATE's limit is about 1032:1) 256 KB unpack to at
// most what the largest picture taken costs as 32-bit pixels (64 MP x 4 bytes = 256 MB). Codecs of
// the HEVC kind compress flat content further, and a decoder may trust a stated size: no
// length makes those safe, which is why the bound is this small rather than larger. Real
// photos in such formats are larger and are refused; icons and clip art in them still load.
inline constexpr std::uint64_t kUnknownFormatMaxBytes = kMaxPicturePixels * 4 / 1024;

enum class PictureVerdict { kDecode, kRefuse };

// kDecode when the stated size is within the picture limits, or when the format is unknown
// and the file is at most kUnknownFormatMaxBytes long; kRefuse otherwise (also when malformed).
PictureVerdict PictureHeaderVerdict(const PictureHeader& header, std::uint64_t file_size);

}  // namespace norvel
