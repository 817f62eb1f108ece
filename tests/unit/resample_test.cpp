#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "bitmap_test_util.h"
#include "imaging/errors.h"
#include "imaging/resample.h"

namespace norvel {
namespace {

using testing::TestBitmap;

// Every resampler must give the bytes of the straightforward one; these cases
// pin the arithmetic down for each of them.
struct Resampler {
  std::string name;
  void (*run)(ConstImageBits, ImageBits);
  bool available;
};

std::vector<Resampler> AllResamplers() {
  return {
      {"Reference", ResampleIntoReference, true},
      {"Best", [](ConstImageBits s, ImageBits t) { ResampleInto(s, t); }, true},
      {"Portable",
       [](ConstImageBits s, ImageBits t) { ResampleInto(s, t, ResampleKernel::kPortable); },
       IsAvailable(ResampleKernel::kPortable)},
      {"Sse2", [](ConstImageBits s, ImageBits t) { ResampleInto(s, t, ResampleKernel::kSse2); },
       IsAvailable(ResampleKernel::kSse2)},
      {"Avx2", [](ConstImageBits s, ImageBits t) { ResampleInto(s, t, ResampleKernel::kAvx2); },
       IsAvailable(ResampleKernel::kAvx2)},
  };
}

void PrintTo(const Resampler& resampler, std::ostream* out) {
  *out << resampler.name;
}

class ResampleTest : public ::testing::TestWithParam<Resampler> {
 protected:
  void SetUp() override {
    if (!GetParam().available) GTEST_SKIP() << GetParam().name << " not available here";
  }
  void Run(const TestBitmap& source, TestBitmap& target) {
    GetParam().run(source.Bits(), target.Bits());
  }
};

TEST_P(ResampleTest, TwoByTwoToFourByFourUsesQuarterWeightsAndRoundsVerticalBlendsFirst) {
  TestBitmap source(2, 2, 0);
  source.SetPixel(0, 0, 0, 100, 7);  // P00
  source.SetPixel(1, 0, 10, 0, 7);   // P10
  source.SetPixel(0, 1, 6, 0, 7);    // P01
  source.SetPixel(1, 1, 0, 0, 7);    // P11
  TestBitmap target(4, 4, 0xEE);
  Run(source, target);

  EXPECT_EQ(target.Pixel(0, 0), (std::vector<int>{0, 100, 7}));  // dx = dy = 0: P00 itself
  // (1, 0): dx = 0.25. Blue 0.75 * 0 + 0.25 * 10 = 2.5 -> 2; green 0.75 * 100
  // = 75.
  EXPECT_EQ(target.Pixel(1, 0), (std::vector<int>{2, 75, 7}));
  // (0, 1): dy = 0.25. Blue 0.25 * 6 = 1.5 -> 2; green 75.
  EXPECT_EQ(target.Pixel(0, 1), (std::vector<int>{2, 75, 7}));
  // (3, 3): dx = dy = 0.75. Blue: left 0.25 * 0 + 0.75 * 6 = 4.5 -> 4,
  // right 2.5 -> 2, then 0.25 * 4 + 0.75 * 2 = 2.5 -> 2. Unrounded vertical
  // blends would give 3, horizontal first 4.
  EXPECT_EQ(target.At(3, 3, 0), 2);
  EXPECT_EQ(target.At(3, 3, 1),
            6);  // left 0.25 * 100 = 25, right 0: 0.25 * 25 = 6.25 -> 6
}

TEST_P(ResampleTest, ExactHalvesGoToTheEvenValue) {
  TestBitmap source(2, 2, 0);
  source.SetPixel(0, 0, 0, 1, 2);
  source.SetPixel(1, 0, 1, 2, 3);
  TestBitmap target(4, 4, 0xEE);
  Run(source, target);
  // (2, 0): dx = 0.5, dy = 0. 0 and 1 give 0; 1 and 2 give 2; 2 and 3 give 2.
  EXPECT_EQ(target.Pixel(2, 0), (std::vector<int>{0, 2, 2}));
}

TEST_P(ResampleTest, TenToFiveSamplesEveryOnePointEightPixels) {
  // Blue rises by 10 per column, green by 10 per row, so a sample at position p
  // reads 10p.
  TestBitmap source(10, 10, 0);
  for (std::int32_t y = 0; y < 10; ++y) {
    for (std::int32_t x = 0; x < 10; ++x) {
      source.SetPixel(x, y, static_cast<std::uint8_t>(10 * x), static_cast<std::uint8_t>(10 * y),
                      0);
    }
  }
  TestBitmap target(5, 5, 0xEE);
  Run(source, target);
  // Positions 0, 1.8, 3.6, 5.4, 7.2: the scale is 9 / 5, not 9 / 4.
  const int expected[] = {0, 18, 36, 54, 72};
  for (std::int32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(target.At(i, 0, 0), expected[i]) << "column " << i;
    EXPECT_EQ(target.At(0, i, 1), expected[i]) << "row " << i;
  }
}

TEST_P(ResampleTest, BytesAfterTheLastPixelOfATargetRowAreNeverWritten) {
  TestBitmap source(7, 6, 0);
  for (std::size_t i = 0; i < source.bytes.size(); ++i) {
    source.bytes[i] = static_cast<std::uint8_t>(i * 37);
  }
  TestBitmap target(5, 4,
                    0xEE);  // stride 16: byte 15 of each row belongs to no pixel
  Run(source, target);
  for (std::int32_t y = 0; y < 4; ++y) EXPECT_EQ(target.bytes[y * 16 + 15], 0xEE) << y;
}

TEST_P(ResampleTest, SourceUnderTwoByTwoFailsBeforeAnyTargetByteIsWritten) {
  const TestBitmap narrow(1, 5, 9);
  const TestBitmap low(5, 1, 9);
  const TestBitmap empty(0, 0, 9);
  for (const TestBitmap* source : {&narrow, &low, &empty}) {
    TestBitmap target(3, 3, 0xEE);
    EXPECT_THROW(Run(*source, target), OutOfRangeError);
    EXPECT_EQ(target.bytes, std::vector<std::uint8_t>(target.bytes.size(), 0xEE));
  }
}

TEST_P(ResampleTest, ImageWithoutPixelMemoryFailsWithoutTouchingMemory) {
  TestBitmap source(4, 4, 1);
  TestBitmap target(3, 3, 0xEE);
  EXPECT_THROW(GetParam().run({nullptr, 4, 4}, target.Bits()), OutOfRangeError);
  EXPECT_EQ(target.bytes, std::vector<std::uint8_t>(target.bytes.size(), 0xEE));
  EXPECT_THROW(GetParam().run(source.Bits(), {nullptr, 3, 3}), OutOfRangeError);
}

TEST_P(ResampleTest, StrideOverflowIsAnOverflowNotARangeError) {
  TestBitmap target(3, 3, 0xEE);
  EXPECT_THROW(GetParam().run({nullptr, 715827882, 2}, target.Bits()), OverflowError);
}

INSTANTIATE_TEST_SUITE_P(Resamplers, ResampleTest, ::testing::ValuesIn(AllResamplers()),
                         [](const auto& suite) { return suite.param.name; });

}  // namespace
}  // namespace norvel
