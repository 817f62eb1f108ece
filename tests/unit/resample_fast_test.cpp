#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "bitmap_test_util.h"
#include "imaging/resample.h"

namespace norvel {
namespace {

using testing::TestBitmap;

TestBitmap RandomBitmap(std::mt19937& random, std::int32_t width, std::int32_t height) {
  TestBitmap bitmap(width, height, 0);
  // Extremes and near neighbours make exact halves likely; plain noise covers the rest.
  std::uniform_int_distribution<int> style(0, 2), byte(0, 255), small(0, 3);
  const int kind = style(random);
  for (std::uint8_t& b : bitmap.bytes) {
    b = static_cast<std::uint8_t>(kind == 0   ? byte(random)
                                  : kind == 1 ? small(random) * 85
                                              : 100 + small(random));
  }
  return bitmap;
}

std::int32_t RandomSize(std::mt19937& random) {
  // Mostly small sizes, where the edges and the vector loops' tails are, some larger ones.
  std::uniform_int_distribution<std::int32_t> small(1, 40), large(1, 700), pick(0, 4);
  return pick(random) == 0 ? large(random) : small(random);
}

class ResampleFastTest : public ::testing::TestWithParam<ResampleKernel> {};

TEST_P(ResampleFastTest, GivesTheBytesOfTheStraightforwardResampler) {
  if (!IsAvailable(GetParam())) GTEST_SKIP() << "instruction set not available here";
  std::mt19937 random(20240517u + static_cast<unsigned>(GetParam()));
  for (int trial = 0; trial < 3000; ++trial) {
    const std::int32_t sw = 1 + RandomSize(random), sh = 1 + RandomSize(random);
    const std::int32_t tw = RandomSize(random), th = RandomSize(random);
    const TestBitmap source = RandomBitmap(random, sw, sh);
    TestBitmap expected(tw, th, 0xA5), actual(tw, th, 0xA5);
    ResampleIntoReference(source.Bits(), expected.Bits());
    ResampleInto(source.Bits(), actual.Bits(), GetParam());
    ASSERT_EQ(actual.bytes, expected.bytes)
        << sw << "x" << sh << " -> " << tw << "x" << th << " (trial " << trial << ")";
  }
}

TEST_P(ResampleFastTest, GivesTheBytesOfTheStraightforwardResamplerForLargeScales) {
  // Scales far below 1 make many rows and columns take the double formula; tall sources
  // give rows whose weights are multiples of 2^-14.
  if (!IsAvailable(GetParam())) GTEST_SKIP() << "instruction set not available here";
  std::mt19937 random(7u);
  const std::int32_t sizes[][4] = {
      {2, 2, 301, 257},  {3, 2, 1000, 9},    {2, 5, 7, 999}, {17, 13, 1023, 767},
      {640, 3, 1920, 4}, {45, 1201, 31, 600}};  // rows from 512 up: coarse weights
  for (const auto& s : sizes) {
    const TestBitmap source = RandomBitmap(random, s[0], s[1]);
    TestBitmap expected(s[2], s[3], 0xA5), actual(s[2], s[3], 0xA5);
    ResampleIntoReference(source.Bits(), expected.Bits());
    ResampleInto(source.Bits(), actual.Bits(), GetParam());
    ASSERT_EQ(actual.bytes, expected.bytes) << s[0] << "x" << s[1] << " -> " << s[2] << "x" << s[3];
  }
}

std::string KernelName(const ::testing::TestParamInfo<ResampleKernel>& info) {
  switch (info.param) {
    case ResampleKernel::kPortable:
      return "Portable";
    case ResampleKernel::kSse2:
      return "Sse2";
    case ResampleKernel::kAvx2:
      return "Avx2";
  }
  return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(Kernels, ResampleFastTest,
                         ::testing::Values(ResampleKernel::kPortable, ResampleKernel::kSse2,
                                           ResampleKernel::kAvx2),
                         KernelName);

}  // namespace
}  // namespace norvel
