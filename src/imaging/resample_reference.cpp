#include <algorithm>
#include <cstdint>

#include "imaging/bilinear.h"
#include "imaging/resample.h"

namespace norvel {

void ResampleIntoReference(ConstImageBits source, ImageBits target) {
  const ConstByteView from = source.View();
  const ByteView to = target.View();
  if (target.width <= 0 || target.height <= 0) return;
  CheckResampleSource(source);

  const float x_scale = ResampleScale(source.width, target.width);
  const float y_scale = ResampleScale(source.height, target.height);
  for (std::int32_t y = 0; y < target.height; ++y) {
    const AxisSample row = SampleAxis(y_scale, y, source.height);
    for (std::int32_t x = 0; x < target.width; ++x) {
      const AxisSample column = SampleAxis(x_scale, x, source.width);
      const std::int32_t left_byte = 3 * column.first;
      const std::int32_t right_byte = 3 * column.second;
      for (std::int32_t c = 0; c < 3; ++c) {
        const std::int32_t left = BlendRound(row.fraction, from(left_byte + c, row.first),
                                             from(left_byte + c, row.second));
        const std::int32_t right = BlendRound(row.fraction, from(right_byte + c, row.first),
                                              from(right_byte + c, row.second));
        const std::int32_t value = std::clamp(BlendRound(column.fraction, left, right), 0, 255);
        to(3 * x + c, y) = static_cast<std::uint8_t>(value);
      }
    }
  }
}

}  // namespace norvel
