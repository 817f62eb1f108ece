#include "imaging/randomise.h"

#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/random_generator.h"
#include "imaging/rounding.h"

namespace norvel {

float SecondsSinceMidnight(int hour, int minute, int second, int millisecond) {
  return static_cast<float>(hour * 3600.0 + minute * 60.0 + second + millisecond / 1000.0);
}

std::uint8_t RandomByte(float r) {
  const float scaled = r * 255.0f;
  return static_cast<std::uint8_t>(RoundHalfEven(scaled));
}

void RandomiseBits(ImageBits image, bool bGray, float seconds_since_midnight) {
  const ByteView view = image.View();
  if (view.Empty()) return;
  RandomGenerator random(seconds_since_midnight);
  // Pixel offsets 0, 3, ... up to (width - 1) * 3; the view checks each row, and the last
  // pixel ends inside the stride.
  const std::size_t pixel_end = static_cast<std::size_t>(image.width) * 3;
  if (bGray) {
    for (std::int32_t y = 0; y < view.Rows(); ++y) {
      const std::span<std::uint8_t> row = view.Row(y);
      for (std::size_t x = 0; x < pixel_end; x += 3) {
        const std::uint8_t v = RandomByte(random.NextUnit());
        row[x] = v;
        row[x + 1] = v;
        row[x + 2] = v;
      }
    }
  } else {
    for (std::size_t x = 0; x < pixel_end; x += 3) {
      for (std::int32_t y = 0; y < view.Rows(); ++y) {
        const std::span<std::uint8_t> row = view.Row(y);
        row[x] = 0;
        row[x + 1] = RandomByte(random.NextUnit());
        row[x + 2] = RandomByte(random.NextUnit());
      }
    }
  }
}

}  // namespace norvel
