#include "imaging/resample_plan.h"

#include <cstddef>

#include "imaging/bilinear.h"

namespace norvel::resample_detail {
namespace {

AxisWeight Weigh(float scale, std::int32_t i, std::int32_t source_size) {
  const AxisSample sample = SampleAxis(scale, i, source_size);
  const float scaled = sample.fraction * static_cast<float>(kOne);  // exact: a power of 2
  const auto k = static_cast<std::int32_t>(scaled);
  return {sample.first, sample.second, sample.fraction, k, static_cast<float>(k) == scaled};
}

std::uint32_t PackPair(std::int32_t first, std::int32_t second) {
  return static_cast<std::uint32_t>(first) | (static_cast<std::uint32_t>(second) << 16);
}

}  // namespace

SplitWeights Split(std::int32_t k) {
  const std::int32_t keep = kOne - k;
  return {PackPair(keep >> 9, k >> 9), PackPair(keep & 511, k & 511)};
}

ColumnTable PlanColumns(std::int32_t source_width, std::int32_t target_width) {
  const float scale = ResampleScale(source_width, target_width);
  const auto count = static_cast<std::size_t>(target_width);
  ColumnTable table;
  table.offset.resize(count);
  table.k.resize(count);
  table.high.resize(count);
  table.low.resize(count);
  for (std::int32_t x = 0; x < target_width; ++x) {
    const AxisWeight column = Weigh(scale, x, source_width);
    const auto i = static_cast<std::size_t>(x);
    table.offset[i] = 3 * column.first;
    table.k[i] = column.k;
    const SplitWeights split = Split(column.k);
    table.high[i] = split.high;
    table.low[i] = split.low;
    if (!column.exact) {
      table.inexact.push_back(x);
      table.inexact_fraction.push_back(column.fraction);
    }
  }
  return table;
}

std::vector<AxisWeight> PlanRows(std::int32_t source_height, std::int32_t target_height) {
  const float scale = ResampleScale(source_height, target_height);
  std::vector<AxisWeight> rows(static_cast<std::size_t>(target_height));
  for (std::int32_t y = 0; y < target_height; ++y) {
    rows[static_cast<std::size_t>(y)] = Weigh(scale, y, source_height);
  }
  return rows;
}

}  // namespace norvel::resample_detail
