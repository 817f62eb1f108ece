// A digest of the pixel arithmetic's output over a fixed set of inputs. The same constant
// must come out of the native build and of the 32- and 64-bit Windows builds: the bytes are
// defined to the bit, and x87 intermediate precision or a fused multiply-add would change
// them. Shared by the native and the Windows tests.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "bitmap_test_util.h"
#include "imaging/randomise.h"
#include "imaging/resample.h"

namespace norvel::testing {

// Computed once from ResampleIntoReference and RandomiseBits on the native build.
inline constexpr std::uint64_t kCrossBuildDigest = 0xFE83C36DEF2405F9u;

class Fnv1a64 {
 public:
  void Add(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t b : bytes) value_ = (value_ ^ b) * 0x100000001B3u;
  }
  std::uint64_t Value() const { return value_; }

 private:
  std::uint64_t value_ = 0xCBF29CE484222325u;
};

// Source pictures from a fixed linear congruential sequence (the standard library's
// distributions differ between libraries). The styles give noise, values one apart (exact
// halves in the blends) and the extremes.
inline TestBitmap CrossBuildSource(std::int32_t width, std::int32_t height, std::uint32_t seed) {
  TestBitmap bitmap(width, height, 0);
  std::uint32_t state = seed;
  for (std::uint8_t& b : bitmap.bytes) {
    state = state * 1664525u + 1013904223u;
    const std::uint32_t r = state >> 24;
    switch (seed % 3) {
      case 0:
        b = static_cast<std::uint8_t>(r);
        break;
      case 1:
        b = static_cast<std::uint8_t>(127 + (r & 1));
        break;
      default:
        b = static_cast<std::uint8_t>((r & 1) ? 255 : 0);
        break;
    }
  }
  return bitmap;
}

using Resampler = std::function<void(ConstImageBits, ImageBits)>;

// Resamples a fixed set of sizes (enlarging, shrinking, odd scales, tall sources whose row
// weights are coarse) into targets whose padding is pre-filled, then fills pictures with
// grey and colour noise from fixed seeds, and digests every byte.
inline std::uint64_t CrossBuildDigest(const Resampler& resample) {
  static constexpr std::int32_t kSizes[][4] = {
      {2, 2, 4, 4},    {2, 2, 3, 5},        {10, 10, 5, 5},       {5, 3, 7, 9},
      {7, 7, 3, 3},    {3, 2, 1000, 9},     {17, 13, 203, 151},   {640, 3, 1921, 4},
      {2, 5, 7, 999},  {45, 1201, 31, 600}, {300, 200, 299, 199}, {33, 17, 1, 1},
      {50, 40, 13, 1}, {1023, 2, 3, 2}};
  Fnv1a64 digest;
  std::uint32_t seed = 1;
  for (const auto& s : kSizes) {
    const TestBitmap source = CrossBuildSource(s[0], s[1], seed++);
    TestBitmap target(s[2], s[3], 0xA5);
    resample(source.Bits(), target.Bits());
    digest.Add(target.bytes);
  }
  static constexpr float kSeeds[] = {0.0f, 1.5f, 43199.999f, 86399.999f};
  for (const float noise_seed : kSeeds) {
    for (const bool grey : {true, false}) {
      TestBitmap picture(37, 11, 0x5A);
      RandomiseBits(picture.Bits(), grey, noise_seed);
      digest.Add(picture.bytes);
    }
  }
  return digest.Value();
}

// The digest of every resampler this processor runs: the straightforward one and each fast
// kernel, named for the failure message.
inline std::vector<std::pair<std::string, std::uint64_t>> DigestsOfEveryResampler() {
  std::vector<std::pair<std::string, std::uint64_t>> digests{
      {"straightforward", CrossBuildDigest(ResampleIntoReference)}};
  for (const ResampleKernel kernel :
       {ResampleKernel::kPortable, ResampleKernel::kSse2, ResampleKernel::kAvx2}) {
    if (!IsAvailable(kernel)) continue;
    digests.emplace_back("kernel " + std::to_string(static_cast<int>(kernel)),
                         CrossBuildDigest([kernel](ConstImageBits source, ImageBits target) {
                           ResampleInto(source, target, kernel);
                         }));
  }
  return digests;
}

}  // namespace norvel::testing
