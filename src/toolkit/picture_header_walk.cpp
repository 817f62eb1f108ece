// The formats whose size lies behind a walk: JPEG's markers, GIF's blocks, the first image
// file directory of TIFF and JPEG XR.
#include <algorithm>

#include "toolkit/picture_header_parts.h"

namespace norvel::picture_header {
namespace {

// Segments before the frame header in a real file are a few dozen (an ICC profile split in
// chunks at most 255); a walk that finds none in this many markers gives up.
constexpr int kMaxJpegMarkers = 1024;
constexpr std::size_t kScanChunk = 4096;

// The offset of the first byte at or after `at` that is 0xFF (or, with `ff` false, is not);
// none when the file ends first or cannot be read.
std::optional<std::uint64_t> Scan(ByteSource& bytes, std::uint64_t at, bool ff) {
  while (at < bytes.size()) {
    const auto length =
        static_cast<std::size_t>(std::min<std::uint64_t>(kScanChunk, bytes.size() - at));
    const auto chunk = bytes.At(at, length);
    if (!chunk) return std::nullopt;
    const std::size_t i = ff ? chunk->find('\xFF') : chunk->find_first_not_of('\xFF');
    if (i != std::string_view::npos) return at + i;
    at += length;
  }
  return std::nullopt;
}

// As the decoder does: bytes up to an 0xFF are skipped, so are 0xFF fill bytes, and an 0xFF 0x00
// pair is no marker. Leaves `at` after the marker's code.
std::optional<std::uint32_t> NextMarker(ByteSource& bytes, std::uint64_t& at) {
  for (;;) {
    const auto ff = Scan(bytes, at, true);
    const auto code_at = ff ? Scan(bytes, *ff, false) : std::nullopt;
    const auto code = code_at ? bytes.At(*code_at, 1) : std::nullopt;
    if (!code) return std::nullopt;
    at = *code_at + 1;
    if (Byte(*code, 0) != 0) return Byte(*code, 0);
  }
}

// SOF0 to SOF15, less DHT (C4), JPG (C8) and DAC (CC), which share the range.
bool IsFrameHeader(std::uint32_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool StandsAlone(std::uint32_t marker) {  // SOI, TEM and RST0 to RST7 carry no length
  return marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

std::uint64_t ColourTableBytes(std::uint32_t flags) {  // GIF's global or local colour table
  return (flags & 0x80) ? 3 * (std::uint64_t{2} << (flags & 7)) : 0;
}

// Past a chain of GIF data sub-blocks (each a length byte and that many bytes, ended by 0).
std::optional<std::uint64_t> SkipSubBlocks(ByteSource& bytes, std::uint64_t at) {
  for (;;) {
    const auto length = bytes.At(at, 1);
    if (!length) return std::nullopt;
    if (Byte(*length, 0) == 0) return at + 1;
    at += 1 + Byte(*length, 0);
  }
}

}  // namespace

// Markers up to the frame header, which holds the height and then the width; an image's start
// (SOS) or end (EOI) before it leaves the picture without a size.
PictureHeader ReadJpeg(ByteSource& bytes) {
  std::uint64_t at = 2;  // after SOI
  for (int i = 0; i < kMaxJpegMarkers; ++i) {
    const auto marker = NextMarker(bytes, at);
    if (!marker || *marker == 0xD9 || *marker == 0xDA) break;
    if (StandsAlone(*marker)) continue;
    const auto segment = bytes.At(at, 7);
    const std::uint32_t length = segment ? Be16(*segment, 0) : 0;
    if (length < 2) break;
    if (IsFrameHeader(*marker))
      return Sized(PictureFormat::kJpeg, Be16(*segment, 5), Be16(*segment, 3));
    at += length;
  }
  return Malformed(PictureFormat::kJpeg);
}

// The logical screen, then every image descriptor up to the trailer, as far as the bytes go:
// a frame may reach beyond the screen, and the decoder unpacks every frame when it opens the
// file. A block of no known kind ends the walk; the decoder judges the rest.
PictureHeader ReadGif(ByteSource& bytes) {
  const auto screen = bytes.At(0, 13);
  if (!screen) return Malformed(PictureFormat::kGif);
  std::uint32_t width = Le16(*screen, 6), height = Le16(*screen, 8);
  std::optional<std::uint64_t> at = 13 + ColourTableBytes(Byte(*screen, 10));
  while (at) {
    const auto block = bytes.At(*at, 10);  // an image descriptor is the longest block head
    const std::uint32_t kind = block ? Byte(*block, 0) : 0;
    if (kind == 0x21) {  // extension: its label, then sub-blocks
      at = SkipSubBlocks(bytes, *at + 2);
    } else if (kind == 0x2C) {  // image descriptor: left, top, width, height, flags
      width = std::max(width, Le16(*block, 1) + Le16(*block, 5));
      height = std::max(height, Le16(*block, 3) + Le16(*block, 7));
      // Past the local colour table and the LZW code size: the image's sub-blocks.
      at = SkipSubBlocks(bytes, *at + 10 + ColourTableBytes(Byte(*block, 9)) + 1);
    } else {
      break;  // the trailer (0x3B), another byte, or the end of the bytes
    }
  }
  return Sized(PictureFormat::kGif, width, height);
}

PictureHeader ReadFirstDirectory(ByteSource& bytes, PictureFormat format, bool big_endian,
                                 std::uint32_t width_tag, std::uint32_t height_tag) {
  const auto u16 = [&](std::string_view b, std::size_t i) {
    return big_endian ? Be16(b, i) : Le16(b, i);
  };
  const auto u32 = [&](std::string_view b, std::size_t i) {
    return big_endian ? Be32(b, i) : Le32(b, i);
  };
  const auto top = bytes.At(0, 8);
  const std::uint64_t directory = top ? u32(*top, 4) : 0;
  const auto count_bytes = directory >= 8 ? bytes.At(directory, 2) : std::nullopt;
  const std::uint32_t count = count_bytes ? u16(*count_bytes, 0) : 0;
  const auto entries = count ? bytes.At(directory + 2, std::size_t{12} * count) : std::nullopt;
  if (!entries) return Malformed(format);
  std::optional<std::uint32_t> width, height;
  for (std::uint32_t i = 0; i < count; ++i) {
    // Each entry: tag, type, count, and a value that fits in four bytes held in place.
    const std::string_view entry = entries->substr(std::size_t{12} * i, 12);
    const std::uint32_t tag = u16(entry, 0), type = u16(entry, 2);
    if (tag != width_tag && tag != height_tag) continue;
    if (u32(entry, 4) != 1 || (type != 3 && type != 4)) return Malformed(format);
    const std::uint32_t value = type == 3 ? u16(entry, 8) : u32(entry, 8);  // SHORT or LONG
    auto& side = tag == width_tag ? width : height;  // a repeated tag: the larger counts
    side = std::max(side.value_or(0), value);
  }
  if (!width || !height) return Malformed(format);
  return Sized(format, *width, *height);
}

}  // namespace norvel::picture_header
