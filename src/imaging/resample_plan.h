// Position tables of the fast resampler, computed once per call: where each target column
// and row samples the source, and its weights as integers.
//
// For a coordinate of at least 1 the single-precision fraction t is a multiple of 2^-23, so
// 1 - t is exact and the double blend (1 - t) * a + t * b equals the integer
// ((2^23 - k) * a + k * b) / 2^23 with k = t * 2^23; rounding it is a shift by 23 with halves
// to even. Fractions that are not such multiples (coordinates under 1 when upsampling) are
// marked inexact and blended with the double formula instead.
#pragma once

#include <cstdint>
#include <vector>

namespace norvel::resample_detail {

constexpr std::int32_t kOne = 1 << 23;

// The weights 2^23 - k and k, each split into its bits from 9 up and its low 9 bits, so that
// a 16-bit multiply-add of byte pairs gives exact partial sums: n = (high << 9) + low.
// Each half is packed as two 16-bit weights, the first in the low half of the word.
struct SplitWeights {
  std::uint32_t high = 0;
  std::uint32_t low = 0;
};
SplitWeights Split(std::int32_t k);

struct AxisWeight {
  std::int32_t first = 0;
  std::int32_t second = 0;
  float fraction = 0;
  std::int32_t k = 0;  // fraction * 2^23 when exact
  bool exact = true;
};

struct ColumnTable {
  std::vector<std::int32_t> offset;  // 3 * first: the left pixel's byte in a blended row
  std::vector<std::int32_t> k;
  std::vector<std::uint32_t> high;  // SplitWeights per column, as two arrays for vector loads
  std::vector<std::uint32_t> low;
  std::vector<std::int32_t> inexact;  // columns that need the double formula
  std::vector<float> inexact_fraction;
};

ColumnTable PlanColumns(std::int32_t source_width, std::int32_t target_width);
std::vector<AxisWeight> PlanRows(std::int32_t source_height, std::int32_t target_height);

}  // namespace norvel::resample_detail
