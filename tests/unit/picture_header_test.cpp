#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/picture_header.h"

namespace norvel {
namespace {

using Kind = PictureHeader::Kind;
using F = PictureFormat;

std::string Le(std::uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> 8 * i);
  return s;
}
std::string Be(std::uint32_t v, int bytes) {
  std::string s;
  for (int i = bytes - 1; i >= 0; --i) s += static_cast<char>(v >> 8 * i);
  return s;
}
std::string Zeros(std::size_t n) {
  return std::string(n, '\0');
}

const std::string kPngSignature("\x89PNG\r\n\x1a\n", 8);

std::string Png(std::uint32_t w, std::uint32_t h) {
  return kPngSignature + Be(13, 4) + "IHDR" + Be(w, 4) + Be(h, 4) +
         std::string("\x08\x02\0\0\0", 5) + Zeros(4) + Zeros(4) + "IEND" + Zeros(4);
}

std::string Segment(std::uint8_t marker, const std::string& body) {
  return std::string("\xFF") + static_cast<char>(marker) +
         Be(static_cast<std::uint32_t>(body.size()) + 2, 2) + body;
}
// SOI, a JFIF segment, `before` (more segments), the frame header (`sof`), the scan, EOI.
std::string Jpeg(std::uint32_t w, std::uint32_t h, const std::string& before = "",
                 std::uint8_t sof = 0xC0) {
  return "\xFF\xD8" + Segment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14)) + before +
         Segment(sof, "\x08" + Be(h, 2) + Be(w, 2) + std::string("\x01\x01\x11\0", 4)) +
         Segment(0xDA, std::string("\x01\x01\0\0\x3F\0", 6)) + "\x12\x34\xFF\xD9";
}

struct Frame {
  std::uint32_t left, top, width, height;
};
std::string Gif(std::uint32_t w, std::uint32_t h, const std::vector<Frame>& frames) {
  std::string s = "GIF89a" + Le(w, 2) + Le(h, 2) + std::string("\x80\0\0", 3) + Zeros(6);
  for (const Frame& f : frames) {
    s += std::string("\x21\xF9\x04\0\0\0\0\0", 8);  // graphic control extension
    s += "\x2C" + Le(f.left, 2) + Le(f.top, 2) + Le(f.width, 2) + Le(f.height, 2) + '\0';
    s += std::string("\x02\x02\x4C\x01\0", 5);  // LZW code size, one sub-block, end
  }
  return s + "\x3B";
}

std::string Dib(std::int32_t w, std::int32_t h) {  // BITMAPINFOHEADER
  return Le(40, 4) + Le(static_cast<std::uint32_t>(w), 4) + Le(static_cast<std::uint32_t>(h), 4) +
         Le(1, 2) + Le(24, 2) + Zeros(24);
}
std::string Bmp(const std::string& dib) {
  return "BM" + Le(static_cast<std::uint32_t>(14 + dib.size() + 4), 4) + Zeros(4) +
         Le(static_cast<std::uint32_t>(14 + dib.size()), 4) + dib + Zeros(4);
}
std::string CoreDib(std::uint32_t w, std::uint32_t h) {  // BITMAPCOREHEADER
  return Le(12, 4) + Le(w, 2) + Le(h, 2) + Le(1, 2) + Le(24, 2);
}

struct IconImage {
  std::uint8_t listed_width, listed_height;  // 0 means 256
  std::string data;                          // a PNG file or a DIB
};
std::string Ico(const std::vector<IconImage>& images, std::size_t gap = 0) {
  std::string directory =
      std::string("\0\0\1\0", 4) + Le(static_cast<std::uint32_t>(images.size()), 2);
  std::string data = Zeros(gap);
  const std::size_t first = 6 + 16 * images.size();
  for (const IconImage& i : images) {
    directory += static_cast<char>(i.listed_width) +
                 std::string(1, static_cast<char>(i.listed_height)) + Zeros(2) + Le(1, 2) +
                 Le(32, 2) + Le(static_cast<std::uint32_t>(i.data.size()), 4) +
                 Le(static_cast<std::uint32_t>(first + data.size()), 4);
    data += i.data;
  }
  return directory + data;
}

// A TIFF (or JPEG XR) whose first directory, after `gap` bytes of strips, holds the two sides.
std::string Tiff(bool big_endian, std::uint32_t type, std::uint32_t w, std::uint32_t h,
                 std::size_t gap = 0, std::string top = "", std::uint32_t width_tag = 256) {
  const auto u = [&](std::uint32_t v, int n) { return big_endian ? Be(v, n) : Le(v, n); };
  const auto value = [&](std::uint32_t v) { return type == 3 ? u(v, 2) + Zeros(2) : u(v, 4); };
  if (top.empty()) top = big_endian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
  return top + u(static_cast<std::uint32_t>(8 + gap), 4) + Zeros(gap) + u(3, 2) + u(width_tag, 2) +
         u(type, 2) + u(1, 4) + value(w) + u(width_tag + 1, 2) + u(type, 2) + u(1, 4) + value(h) +
         u(259, 2) + u(3, 2) + u(1, 4) + u(1, 2) + Zeros(2) + Zeros(4);
}
std::string JpegXr(std::uint32_t w, std::uint32_t h) {
  return Tiff(false, 4, w, h, 0, "II\xBC\x01", 0xBC80);
}

std::string Webp(const std::string& chunk, const std::string& data) {
  return "RIFF" + Le(static_cast<std::uint32_t>(12 + data.size()), 4) + "WEBP" + chunk +
         Le(static_cast<std::uint32_t>(data.size()), 4) + data;
}
std::string WebpLossy(std::uint32_t w, std::uint32_t h) {
  return Webp("VP8 ", Zeros(3) + "\x9D\x01\x2A" + Le(w, 2) + Le(h, 2) + Zeros(4));
}
std::string WebpLossless(std::uint32_t w, std::uint32_t h) {
  return Webp("VP8L", "\x2F" + Le((w - 1) | (h - 1) << 14, 4) + Zeros(6));
}
std::string WebpExtended(std::uint32_t w, std::uint32_t h) {
  return Webp("VP8X", Zeros(4) + Le(w - 1, 3) + Le(h - 1, 3));
}
std::string Dds(std::uint32_t w, std::uint32_t h) {
  return "DDS " + Le(124, 4) + Le(0x1007, 4) + Le(h, 4) + Le(w, 4) + Zeros(108);
}

PictureHeader Read(const std::string& file) {
  return ReadPictureHeader(file, file.size());
}

struct Sized {
  const char* name;
  std::string file;
  PictureFormat format;
  std::uint32_t width, height;
};

void ExpectSizes(const std::vector<Sized>& rows, PictureVerdict verdict) {
  for (const Sized& row : rows) {
    const PictureHeader header = Read(row.file);
    EXPECT_EQ(header.kind, Kind::kSize) << row.name;
    EXPECT_EQ(header.format, row.format) << row.name;
    EXPECT_EQ(header.width, row.width) << row.name;
    EXPECT_EQ(header.height, row.height) << row.name;
    EXPECT_EQ(PictureHeaderVerdict(header, row.file.size()), verdict) << row.name;
  }
}

TEST(PictureHeader, EveryFormatStatesItsSize) {
  ExpectSizes(
      {{"png", Png(40, 30), F::kPng, 40, 30},
       {"jpeg", Jpeg(64, 48), F::kJpeg, 64, 48},
       {"progressive jpeg after DHT and fill bytes",
        Jpeg(64, 48, Segment(0xC4, Zeros(20)) + "\xFF\xFF", 0xC2), F::kJpeg, 64, 48},
       {"gif", Gif(24, 16, {{0, 0, 24, 16}}), F::kGif, 24, 16},
       {"gif frame beyond its screen", Gif(24, 16, {{0, 0, 8, 8}, {20, 10, 30, 40}}), F::kGif, 50,
        50},
       {"bmp", Bmp(Dib(40, 30)), F::kBmp, 40, 30},
       {"top-down bmp", Bmp(Dib(40, -30)), F::kBmp, 40, 30},
       {"os/2 core bmp", Bmp(CoreDib(40, 30)), F::kBmp, 40, 30},
       {"ico: 0 in the directory is 256", Ico({{16, 16, Png(16, 16)}, {0, 0, Dib(16, 32)}}),
        F::kIco, 256, 256},
       {"ico image states more than its directory", Ico({{16, 16, Png(48, 40)}}), F::kIco, 48, 40},
       {"tiff, little-endian SHORT", Tiff(false, 3, 20, 10), F::kTiff, 20, 10},
       {"tiff, big-endian LONG after its strips", Tiff(true, 4, 16000, 3, 500), F::kTiff, 16000, 3},
       {"jpeg xr", JpegXr(320, 200), F::kJpegXr, 320, 200},
       {"webp lossy", WebpLossy(320, 200), F::kWebp, 320, 200},
       {"webp lossless", WebpLossless(320, 200), F::kWebp, 320, 200},
       {"webp extended", WebpExtended(320, 200), F::kWebp, 320, 200},
       {"dds", Dds(256, 128), F::kDds, 256, 128}},
      PictureVerdict::kDecode);
}

// Each a few hundred bytes that state 30000 x 30000 (a 2.7 MB PNG unpacks to that).
TEST(PictureHeader, BombsAreRefusedFromTheirHeader) {
  constexpr std::uint32_t k = 30000;
  ExpectSizes(
      {{"png", Png(k, k), F::kPng, k, k},
       {"jpeg", Jpeg(k, k), F::kJpeg, k, k},
       {"gif screen", Gif(k, k, {{0, 0, 1, 1}}), F::kGif, k, k},
       {"gif frame", Gif(1, 1, {{0, 0, 1, 1}, {0, 0, k, k}}), F::kGif, k, k},
       {"bmp", Bmp(Dib(k, -static_cast<std::int32_t>(k))), F::kBmp, k, k},
       {"ico png listed small", Ico({{16, 16, Dib(16, 32)}, {32, 32, Png(k, k)}}), F::kIco, k, k},
       {"ico dib listed small", Ico({{16, 16, Dib(k, 2 * k)}}), F::kIco, k, k},
       {"tiff", Tiff(false, 3, k, k), F::kTiff, k, k},
       {"jpeg xr", JpegXr(k, k), F::kJpegXr, k, k},
       {"webp", WebpExtended(k, k), F::kWebp, k, k},
       {"dds", Dds(k, k), F::kDds, k, k}},
      PictureVerdict::kRefuse);
}

TEST(PictureHeader, CutShortOrBrokenHeadersAreRefused) {
  const std::string png = Png(40, 30), jpeg = Jpeg(64, 48), bmp = Bmp(Dib(40, 30));
  const struct {
    const char* name;
    std::string file;
  } rows[] = {
      {"png cut in IHDR", png.substr(0, 20)},
      {"png without IHDR first", kPngSignature + Be(0, 4) + "IDAT" + Zeros(20)},
      {"jpeg cut before its frame header", jpeg.substr(0, 22)},
      {"jpeg whose scan starts without a frame header", "\xFF\xD8" + Segment(0xDA, Zeros(10))},
      {"jpeg segment length below 2", std::string("\xFF\xD8\xFF\xE0\0\x01", 6) + Zeros(20)},
      {"gif cut in its screen", Gif(24, 16, {}).substr(0, 10)},
      {"bmp cut in its header", bmp.substr(0, 20)},
      {"bmp with a negative width", Bmp(Dib(-40, 30))},
      {"bmp whose height has no positive", Bmp(Dib(40, INT32_MIN))},
      {"bmp header of unknown size", Bmp(Le(8, 4) + Zeros(36))},
      {"ico without images", std::string("\0\0\1\0\0\0", 6)},
      {"ico image beyond the end", Ico({{16, 16, Dib(16, 32)}}).substr(0, 30)},
      {"tiff directory beyond the end", Tiff(false, 3, 20, 10).substr(0, 12)},
      {"tiff without its sides", Tiff(false, 3, 20, 10, 0, "", 300)},
      {"tiff side of type RATIONAL", Tiff(false, 5, 20, 10)},
      {"tiff directory inside its header", std::string("II*\0\x04\0\0\0", 8) + Zeros(30)},
      {"webp cut in its chunk", WebpLossy(320, 200).substr(0, 26)},
      {"webp of an unknown chunk", Webp("VP9 ", Zeros(20))},
      {"dds header of another size", "DDS " + Le(100, 4) + Zeros(120)},
  };
  for (const auto& row : rows) {
    const PictureHeader header = Read(row.file);
    EXPECT_EQ(header.kind, Kind::kMalformed) << row.name;
    EXPECT_EQ(PictureHeaderVerdict(header, row.file.size()), PictureVerdict::kRefuse) << row.name;
  }
}

// A head of 64 KB, the rest fetched; without fetching, what lies beyond is missing.
TEST(PictureHeader, PartsBeyondTheHeadAreFetched) {
  const std::string icc = Segment(0xE2, Zeros(60000));
  const std::string one_frame = Gif(10, 10, {{0, 0, 10, 10}});
  const std::string first_frame = one_frame.substr(0, one_frame.size() - 1);  // no trailer
  const std::string second_frame = Gif(1, 1, {{0, 0, 20000, 4}}).substr(19);  // after the table
  std::string long_comment = "\x21\xFE";
  for (int i = 0; i < 300; ++i) long_comment += "\xFF" + Zeros(255);
  long_comment += '\0';
  const struct {
    const char* name;
    std::string file;
    std::uint32_t width, height;
    Kind head_only;
  } rows[] = {
      {"jpeg frame header after large profiles", Jpeg(30000, 30000, icc + icc), 30000, 30000,
       Kind::kMalformed},
      {"tiff directory after its strips", Tiff(true, 4, 800, 600, 200000), 800, 600,
       Kind::kMalformed},
      {"ico image after the head", Ico({{16, 16, Png(30000, 30000)}}, 70000), 30000, 30000,
       Kind::kMalformed},
      {"gif frame after a long comment", first_frame + long_comment + second_frame, 20000, 10,
       Kind::kSize},
  };
  for (const auto& row : rows) {
    ASSERT_GT(row.file.size(), kPictureHeadBytes) << row.name;
    const std::string_view head = std::string_view(row.file).substr(0, kPictureHeadBytes);
    int fetches = 0;
    const FetchPictureBytes fetch = [&](std::uint64_t offset, std::size_t length) {
      ++fetches;
      return row.file.substr(static_cast<std::size_t>(offset), length);
    };
    const PictureHeader fetched = ReadPictureHeader(head, row.file.size(), fetch);
    EXPECT_EQ(fetched.kind, Kind::kSize) << row.name;
    EXPECT_EQ(fetched.width, row.width) << row.name;
    EXPECT_EQ(fetched.height, row.height) << row.name;
    EXPECT_LE(fetches, 8) << row.name;  // a window at a time, not a read per byte
    EXPECT_EQ(ReadPictureHeader(head, row.file.size()).kind, row.head_only) << row.name;
    // A read that fails is a file cut short.
    const FetchPictureBytes failing = [](std::uint64_t, std::size_t) { return std::string(); };
    EXPECT_NE(ReadPictureHeader(head, row.file.size(), failing).width, row.width) << row.name;
  }
}

TEST(PictureHeaderVerdict, UnknownFormatsAreDecodedOnlyWhenSmall) {
  const std::string text = "not a picture at all";
  const PictureHeader unknown = Read(text);
  EXPECT_EQ(unknown.kind, Kind::kUnknownFormat);
  EXPECT_EQ(Read("").kind, Kind::kUnknownFormat);
  EXPECT_EQ(Read("GIF8").kind, Kind::kUnknownFormat);  // too short for a signature
  EXPECT_EQ(Read(std::string("\0\0\2\0", 4) + Zeros(40)).kind, Kind::kUnknownFormat);  // cursor
  EXPECT_EQ(PictureHeaderVerdict(unknown, kUnknownFormatMaxBytes), PictureVerdict::kDecode);
  EXPECT_EQ(PictureHeaderVerdict(unknown, kUnknownFormatMaxBytes + 1), PictureVerdict::kRefuse);
}

}  // namespace
}  // namespace norvel
