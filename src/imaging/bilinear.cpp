#include "imaging/bilinear.h"

#include <algorithm>

#include "imaging/errors.h"
#include "imaging/rounding.h"

namespace norvel {

float ResampleScale(std::int32_t source_size, std::int32_t target_size) {
  return static_cast<float>((static_cast<double>(source_size) - 1.0) / target_size);
}

AxisSample SampleAxis(float scale, std::int32_t i, std::int32_t source_size) {
  // The product of a single and a 32-bit integer is formed in double, then stored as single.
  const float position = static_cast<float>(static_cast<double>(scale) * i);
  const auto floor = static_cast<float>(FloorSmall(position));  // exact: below 2^31
  const auto first = static_cast<std::int32_t>(floor);
  const std::int32_t last = source_size - 1;
  return {std::min(first, last), std::min(first + 1, last), position - floor};
}

void CheckResampleSource(ConstImageBits source) {
  if (source.bits == nullptr || source.width < 2 || source.height < 2) {
    throw OutOfRangeError("resampling needs a source of at least 2 x 2 pixels");
  }
}

}  // namespace norvel
