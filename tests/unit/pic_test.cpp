#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

#include "imaging/dib_layout.h"
#include "reminder/pic.h"
#include "toolkit/picture_limits.h"

namespace norvel {
namespace {

constexpr std::uint32_t kKeyBgr = 0x00FF00;  // packed P of the key pixels used below

// A bottom-up 24-bit picture, written by rows from the top as a person reads it:
// 'K' is the key colour, anything else a colour that differs.
struct Picture {
  int width = 0, height = 0, stride = 0;
  std::vector<std::uint8_t> bytes;

  explicit Picture(const std::vector<std::string>& rows_from_top)
      : width(static_cast<int>(rows_from_top.at(0).size())),
        height(static_cast<int>(rows_from_top.size())),
        stride(BytesPerScanLine(width)),
        bytes(static_cast<std::size_t>(stride) * height, 0xEE) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const char c = rows_from_top[y][x];
        const std::uint32_t p = c == 'K' ? kKeyBgr : c == 'n' ? kKeyBgr + 1 : 0x123456;
        Set(x, height - 1 - y, p);
      }
    }
  }
  void Set(int x, int memory_row, std::uint32_t p) {
    std::uint8_t* at = bytes.data() + static_cast<std::size_t>(memory_row) * stride + 3 * x;
    at[0] = static_cast<std::uint8_t>(p), at[1] = static_cast<std::uint8_t>(p >> 8),
    at[2] = static_cast<std::uint8_t>(p >> 16);
  }
  ConstByteView View() const { return {bytes.data(), stride, height}; }
};

std::vector<Strip> Strips(const Picture& pic, FrameMeasures frame) {
  std::vector<Strip> out;
  ForEachStrip(pic.View(), pic.width, pic.height, KeyColour(pic.View(), 1), frame,
               [&](const Strip& s) { out.push_back(s); });
  return out;
}

std::set<std::pair<int, int>> Pixels(const std::vector<Strip>& strips) {
  std::set<std::pair<int, int>> covered;
  for (const Strip& s : strips) {
    for (int y = s.top; y < s.bottom; ++y) {
      for (int x = s.left; x < s.right; ++x) EXPECT_TRUE(covered.insert({x, y}).second);
    }
  }
  return covered;
}

std::vector<Strip> Bands(const Picture& pic, FrameMeasures frame) {
  std::vector<Strip> out;
  ForEachBand(
      pic.View(), pic.width, pic.height, KeyColour(pic.View(), 1), frame,
      [&](std::span<const Strip> band) { out.insert(out.end(), band.begin(), band.end()); });
  return out;
}

// The 4 x 2 picture of the design notes: bottom row K N N K, top row N K N N, F 3, T 22.
TEST(PictureRegion, StripsOfTheSmallExample) {
  const Picture pic({"NKNN", "KNNK"});
  EXPECT_EQ(Strips(pic, {3, 22}),
            (std::vector<Strip>{{4, 23, 6, 24}, {3, 22, 4, 23}, {5, 22, 7, 23}}));
}

TEST(PictureRegion, KeyComesFromTheBottomLeftPixel) {
  // Top-left is K, bottom-left is N: the key is N's colour, so the K pixels are opaque.
  const Picture pic({"KN", "NK"});
  EXPECT_EQ(KeyColour(pic.View(), 1), 0x123456u);
  EXPECT_EQ(Strips(pic, {0, 0}), (std::vector<Strip>{{1, 1, 2, 2}, {0, 0, 1, 1}}));
  EXPECT_EQ(KeyColour(pic.View(), 0x00ABCDEF), 0x00ABCDEFu);
  EXPECT_THROW(KeyColour(ConstByteView(), 1), OutOfRangeError);
}

TEST(PictureRegion, RunsReachTheLastColumnAndOneWidePictures) {
  const Picture wide({"KKNNN"});  // bottom-left is K
  EXPECT_EQ(Strips(wide, {0, 0}), (std::vector<Strip>{{2, 0, 5, 1}}));
  const Picture narrow({"N", "K", "N", "K"});
  EXPECT_EQ(Strips(narrow, {1, 2}), (std::vector<Strip>{{1, 4, 2, 5}, {1, 2, 2, 3}}));
}

TEST(PictureRegion, OneUnitDifferenceIsOpaqueAndRowsGiveAnyNumberOfStrips) {
  const Picture pic({"KnKnKnKn", "KKKKKKKK", "nnnnnnnn", "KKKKKKKK"});
  const auto strips = Strips(pic, {0, 0});
  EXPECT_EQ(strips.size(), 5u);  // none, one, none, four
  EXPECT_EQ(strips[0], (Strip{0, 2, 8, 3}));
}

TEST(PictureRegion, FrameMeasuresRoundHalvesToEven) {
  EXPECT_EQ(MeasureFrame(10, 5, 40, 20).F, 2);  // 2.5 -> 2
  EXPECT_EQ(MeasureFrame(12, 5, 40, 20).F, 4);  // 3.5 -> 4
  const FrameMeasures m = MeasureFrame(329, 321, 310, 279);
  EXPECT_EQ(m.F, 4);
  EXPECT_EQ(m.T, 27);
  EXPECT_EQ(MeasureFrame(100, 100, 80, 80).T, 0);
}

// The banded rectangles cover exactly the pixels of the one-strip-per-run construction,
// on hand-made and on random pictures.
TEST(PictureRegion, BandsCoverExactlyTheStrips) {
  const Picture example({"NKNN", "KNNK"});
  EXPECT_EQ(Pixels(Bands(example, {3, 22})), Pixels(Strips(example, {3, 22})));
  const Picture blocks({"KNNK", "KNNK", "KNNK", "NNNN", "KKKK", "KNNK"});
  const auto bands = Bands(blocks, {0, 0});
  EXPECT_EQ(bands, (std::vector<Strip>{{1, 0, 3, 3}, {0, 3, 4, 4}, {1, 5, 3, 6}}));
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    const int w = 1 + static_cast<int>(rng() % 23), h = 1 + static_cast<int>(rng() % 17);
    std::vector<std::string> rows(h, std::string(w, 'K'));
    const unsigned density = rng() % 4;
    for (auto& row : rows) {
      for (auto& c : row) c = rng() % 4 < density ? 'N' : 'K';
    }
    if (rng() % 2) rows[h / 2] = rows[0];  // repeated rows make taller bands
    const Picture pic(rows);
    const FrameMeasures frame{static_cast<int>(rng() % 5), static_cast<int>(rng() % 30)};
    EXPECT_EQ(Pixels(Bands(pic, frame)), Pixels(Strips(pic, frame))) << round;
  }
}

TEST(PictureRegion, AllKeyPictureGivesNothing) {
  const Picture pic({"KKK", "KKK"});
  EXPECT_TRUE(Strips(pic, {3, 22}).empty());
  EXPECT_TRUE(Bands(pic, {3, 22}).empty());
}

TEST(PictureLimits, AdmitA48MegapixelPhotoAndRefuseBombsBeforeDecoding) {
  const struct {
    std::uint32_t width, height;
    bool taken;
  } rows[] = {{8000, 6000, true},  {6000, 8000, true}, {8192, 8192, true},
              {16384, 4096, true}, {1, 1, true},       {8193, 8192, false},
              {16385, 1, false},   {1, 16385, false},  {30000, 30000, false},
              {0, 10, false},      {10, 0, false},     {0xFFFFFFFF, 0xFFFFFFFF, false}};
  for (const auto& row : rows) {
    EXPECT_EQ(PictureSizeAcceptable(row.width, row.height), row.taken)
        << row.width << "x" << row.height;
  }
}

}  // namespace
}  // namespace norvel
