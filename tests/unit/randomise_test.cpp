#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

#include "bitmap_test_util.h"
#include "imaging/random_generator.h"
#include "imaging/randomise.h"

namespace norvel {
namespace {

using testing::TestBitmap;

constexpr float kNoon = 43200.25f;

TEST(RandomGenerator, GivesMultiplesOfTwoToTheMinus24InTheUnitInterval) {
  RandomGenerator random(kNoon);
  double sum = 0;
  constexpr int kDraws = 100000;
  for (int i = 0; i < kDraws; ++i) {
    const float r = random.NextUnit();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    const float scaled = r * 16777216.0f;
    ASSERT_EQ(scaled, static_cast<float>(static_cast<std::int32_t>(scaled)));
    sum += r;
  }
  EXPECT_NEAR(sum / kDraws, 0.5, 0.01);
}

TEST(RandomGenerator, NeighbouringSeedsGiveDifferentSequences) {
  // Near noon single precision resolves the time of day to 1/256 s.
  RandomGenerator a(kNoon), b(std::nextafter(kNoon, 86400.0f)), c(kNoon);
  const std::uint32_t first = a.NextBits();
  EXPECT_NE(first, b.NextBits());
  EXPECT_EQ(first, c.NextBits());
}

TEST(RandomByte, RoundsTheSinglePrecisionProductHalvesToEven) {
  EXPECT_EQ(RandomByte(0.0f), 0);
  EXPECT_EQ(RandomByte(1.0f - 1.0f / 16777216.0f), 255);
  EXPECT_EQ(RandomByte(0.5f), 128);  // 127.5
  // 4243649 / 2^24 * 255 is 64.5000037..., exactly 64.5 in single precision: 64, where a
  // double product or rounding halves up would give 65.
  EXPECT_EQ(RandomByte(4243649.0f / 16777216.0f), 64);
}

TEST(RandomiseBits, GreyGivesEqualChannelsAndLeavesRowPaddingAlone) {
  TestBitmap image(5, 7, 0xEE);  // stride 16
  RandomiseBits(image.Bits(), true, kNoon);
  std::set<int> values;
  for (std::int32_t y = 0; y < 7; ++y) {
    for (std::int32_t x = 0; x < 5; ++x) {
      EXPECT_EQ(image.At(x, y, 0), image.At(x, y, 1));
      EXPECT_EQ(image.At(x, y, 0), image.At(x, y, 2));
      values.insert(image.At(x, y, 0));
    }
    EXPECT_EQ(image.bytes[y * 16 + 15], 0xEE) << "row " << y;
  }
  EXPECT_GT(values.size(), 20u);
}

TEST(RandomiseBits, ColourLeavesBlueZeroAndRowPaddingAlone) {
  TestBitmap image(5, 7, 0xEE);
  RandomiseBits(image.Bits(), false, kNoon);
  std::set<int> greens, reds;
  for (std::int32_t y = 0; y < 7; ++y) {
    for (std::int32_t x = 0; x < 5; ++x) {
      EXPECT_EQ(image.At(x, y, 0), 0);
      greens.insert(image.At(x, y, 1));
      reds.insert(image.At(x, y, 2));
    }
    EXPECT_EQ(image.bytes[y * 16 + 15], 0xEE) << "row " << y;
  }
  EXPECT_GT(greens.size(), 20u);
  EXPECT_GT(reds.size(), 20u);
}

TEST(RandomiseBits, GreyDrawsRowByRowColourColumnByColumnGreenBeforeRed) {
  TestBitmap grey(3, 2, 0), colour(3, 2, 0);
  RandomiseBits(grey.Bits(), true, kNoon);
  RandomiseBits(colour.Bits(), false, kNoon);
  RandomGenerator grey_draws(kNoon), colour_draws(kNoon);
  for (std::int32_t y = 0; y < 2; ++y) {
    for (std::int32_t x = 0; x < 3; ++x) {
      EXPECT_EQ(grey.At(x, y, 0), RandomByte(grey_draws.NextUnit())) << x << ", " << y;
    }
  }
  for (std::int32_t x = 0; x < 3; ++x) {
    for (std::int32_t y = 0; y < 2; ++y) {
      EXPECT_EQ(colour.At(x, y, 1), RandomByte(colour_draws.NextUnit())) << x << ", " << y;
      EXPECT_EQ(colour.At(x, y, 2), RandomByte(colour_draws.NextUnit())) << x << ", " << y;
    }
  }
}

TEST(RandomiseBits, EachCallReseedsFromTheGivenTimeOfDay) {
  TestBitmap first(4, 4, 0), again(4, 4, 0), later(4, 4, 0);
  RandomiseBits(first.Bits(), false, kNoon);
  RandomiseBits(again.Bits(), false, kNoon);
  RandomiseBits(later.Bits(), false, SecondsSinceMidnight(12, 0, 1, 0));
  EXPECT_EQ(first.bytes, again.bytes);
  EXPECT_NE(first.bytes, later.bytes);
  EXPECT_EQ(SecondsSinceMidnight(12, 0, 0, 250), kNoon);
}

TEST(RandomiseBits, ImageWithoutPixelMemoryIsLeftAlone) {
  EXPECT_NO_THROW(RandomiseBits({nullptr, 10, 10}, false, kNoon));
  EXPECT_NO_THROW(RandomiseBits({nullptr, 10, 10}, true, kNoon));
}

}  // namespace
}  // namespace norvel
