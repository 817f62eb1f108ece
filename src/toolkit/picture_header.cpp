// The picture header reader: signatures, and the formats whose size sits at a fixed place
// (PNG, BMP, icon files, WebP, DDS). JPEG, GIF and TIFF are walked in picture_header_walk.cpp.
#include "toolkit/picture_header.h"

#include "toolkit/picture_header_parts.h"
#include "toolkit/picture_limits.h"

namespace norvel {
namespace picture_header {

// Fetched windows are as large as the head: a walk through markers or blocks reads forwards.
constexpr std::size_t kFetchWindow = kPictureHeadBytes;

std::optional<std::string_view> ByteSource::At(std::uint64_t offset, std::size_t length) {
  if (offset > size_ || length > size_ - offset) return std::nullopt;
  if (offset + length <= head_.size())
    return head_.substr(static_cast<std::size_t>(offset), length);
  if (!fetch_) return std::nullopt;
  const auto in_window = [&] {
    return offset >= window_offset_ && offset + length <= window_offset_ + window_.size();
  };
  if (!in_window()) {
    window_ = fetch_(offset, std::max(length, kFetchWindow));
    window_offset_ = offset;
    if (!in_window()) return std::nullopt;  // the read failed
  }
  return std::string_view(window_).substr(static_cast<std::size_t>(offset - window_offset_),
                                          length);
}

}  // namespace picture_header

namespace {

using namespace picture_header;

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);
// An icon file may list up to 65535 images, and each is read; no real one has nearly as many.
constexpr std::uint32_t kMaxIconImages = 1024;

struct Size {
  std::uint32_t width, height;
};

bool StartsWith(ByteSource& bytes, std::string_view signature) {
  const auto start = bytes.At(0, signature.size());
  return start && *start == signature;
}

// The IHDR chunk, which must come first.
PictureHeader ReadPngAt(ByteSource& bytes, std::uint64_t offset) {
  const auto b = bytes.At(offset, 24);
  if (!b || b->substr(0, 8) != kPngSignature || Be32(*b, 8) != 13 || b->substr(12, 4) != "IHDR") {
    return Malformed(PictureFormat::kPng);
  }
  return Sized(PictureFormat::kPng, Be32(*b, 16), Be32(*b, 20));
}

// A device-independent bitmap's header: BITMAPCOREHEADER with 16-bit sides, or
// BITMAPINFOHEADER and its successors (OS/2's too) with 32-bit sides, where a negative height
// means rows from the top.
std::optional<Size> DibSize(ByteSource& bytes, std::uint64_t offset) {
  const auto b = bytes.At(offset, 12);
  if (!b) return std::nullopt;
  const std::uint32_t header_size = Le32(*b, 0);
  if (header_size == 12) return Size{Le16(*b, 4), Le16(*b, 6)};
  if (header_size < 16) return std::nullopt;
  const auto width = static_cast<std::int32_t>(Le32(*b, 4));
  const auto height = static_cast<std::int32_t>(Le32(*b, 8));
  if (width < 0 || height == INT32_MIN) return std::nullopt;
  return Size{static_cast<std::uint32_t>(width),
              static_cast<std::uint32_t>(height < 0 ? -height : height)};
}

PictureHeader ReadBmp(ByteSource& bytes) {
  const auto size = DibSize(bytes, 14);  // after the 14-byte file header
  return size ? Sized(PictureFormat::kBmp, size->width, size->height)
              : Malformed(PictureFormat::kBmp);
}

// An icon image is a PNG file or a DIB without file header whose height counts the rows of the
// colours and of the transparency mask, half each.
std::optional<Size> IconImageSize(ByteSource& bytes, std::uint64_t offset) {
  if (const auto start = bytes.At(offset, kPngSignature.size()); start && *start == kPngSignature) {
    const PictureHeader png = ReadPngAt(bytes, offset);
    if (png.kind != PictureHeader::Kind::kSize) return std::nullopt;
    return Size{png.width, png.height};
  }
  auto dib = DibSize(bytes, offset);
  if (dib) dib->height = dib->height / 2 + dib->height % 2;
  return dib;
}

// The loader decodes every image of an icon file to find the largest, so each counts: the
// directory's sizes (0 means 256) and those the images themselves state.
PictureHeader ReadIco(ByteSource& bytes) {
  const auto top = bytes.At(0, 6);
  const std::uint32_t count = top ? Le16(*top, 4) : 0;
  if (count == 0 || count > kMaxIconImages) return Malformed(PictureFormat::kIco);
  const auto listed = bytes.At(6, std::size_t{16} * count);
  if (!listed) return Malformed(PictureFormat::kIco);
  const std::string directory(*listed);
  Size largest{0, 0};
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::string_view entry = std::string_view(directory).substr(std::size_t{16} * i, 16);
    const auto image = IconImageSize(bytes, Le32(entry, 12));
    if (!image) return Malformed(PictureFormat::kIco);
    const std::uint32_t listed_width = Byte(entry, 0) ? Byte(entry, 0) : 256;
    const std::uint32_t listed_height = Byte(entry, 1) ? Byte(entry, 1) : 256;
    largest.width = std::max({largest.width, listed_width, image->width});
    largest.height = std::max({largest.height, listed_height, image->height});
  }
  return Sized(PictureFormat::kIco, largest.width, largest.height);
}

// "RIFF", its size, "WEBP", then the first chunk: lossy VP8 (14-bit sides after the key frame's
// start code), lossless VP8L (14-bit sides less one) or extended VP8X (24-bit canvas sides less
// one).
PictureHeader ReadWebp(ByteSource& bytes) {
  const auto b = bytes.At(0, 30);
  if (!b) return Malformed(PictureFormat::kWebp);
  const std::string_view chunk = b->substr(12, 4);
  if (chunk == "VP8 " && b->substr(23, 3) == "\x9d\x01\x2a") {
    return Sized(PictureFormat::kWebp, Le16(*b, 26) & 0x3FFF, Le16(*b, 28) & 0x3FFF);
  }
  if (chunk == "VP8L" && Byte(*b, 20) == 0x2F) {
    const std::uint32_t bits = Le32(*b, 21);
    return Sized(PictureFormat::kWebp, (bits & 0x3FFF) + 1, (bits >> 14 & 0x3FFF) + 1);
  }
  if (chunk == "VP8X") {
    return Sized(PictureFormat::kWebp, std::uint64_t{Le24(*b, 24)} + 1,
                 std::uint64_t{Le24(*b, 27)} + 1);
  }
  return Malformed(PictureFormat::kWebp);
}

// "DDS " and a 124-byte header with the largest surface's height and width.
PictureHeader ReadDds(ByteSource& bytes) {
  const auto b = bytes.At(0, 20);
  if (!b || Le32(*b, 4) != 124) return Malformed(PictureFormat::kDds);
  return Sized(PictureFormat::kDds, Le32(*b, 16), Le32(*b, 12));
}

bool IsWebp(ByteSource& bytes) {
  const auto b = bytes.At(0, 12);
  return b && b->substr(0, 4) == "RIFF" && b->substr(8, 4) == "WEBP";
}

}  // namespace

PictureHeader ReadPictureHeader(std::string_view head, std::uint64_t file_size,
                                const FetchPictureBytes& fetch) {
  ByteSource bytes(head, file_size, fetch);
  using namespace std::string_view_literals;
  if (StartsWith(bytes, kPngSignature)) return ReadPngAt(bytes, 0);
  if (StartsWith(bytes, "\xFF\xD8"sv)) return ReadJpeg(bytes);
  if (StartsWith(bytes, "GIF87a"sv) || StartsWith(bytes, "GIF89a"sv)) return ReadGif(bytes);
  if (StartsWith(bytes, "BM"sv)) return ReadBmp(bytes);
  if (StartsWith(bytes, "\0\0\1\0"sv)) return ReadIco(bytes);
  if (StartsWith(bytes, "II*\0"sv)) {
    return ReadFirstDirectory(bytes, PictureFormat::kTiff, false, 256, 257);
  }
  if (StartsWith(bytes, "MM\0*"sv)) {
    return ReadFirstDirectory(bytes, PictureFormat::kTiff, true, 256, 257);
  }
  if (StartsWith(bytes, "II\xBC"sv)) {  // JPEG XR: ImageWidth and ImageHeight of its own
    return ReadFirstDirectory(bytes, PictureFormat::kJpegXr, false, 0xBC80, 0xBC81);
  }
  if (IsWebp(bytes)) return ReadWebp(bytes);
  if (StartsWith(bytes, "DDS "sv)) return ReadDds(bytes);
  return {};
}

PictureVerdict PictureHeaderVerdict(const PictureHeader& header, std::uint64_t file_size) {
  switch (header.kind) {
    case PictureHeader::Kind::kSize:
      return PictureSizeAcceptable(header.width, header.height) ? PictureVerdict::kDecode
                                                                : PictureVerdict::kRefuse;
    case PictureHeader::Kind::kUnknownFormat:
      return file_size <= kUnknownFormatMaxBytes ? PictureVerdict::kDecode
                                                 : PictureVerdict::kRefuse;
    case PictureHeader::Kind::kMalformed:
      break;
  }
  return PictureVerdict::kRefuse;
}

}  // namespace norvel
