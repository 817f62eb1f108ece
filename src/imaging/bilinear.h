// The arithmetic of bilinear resampling shared by the straightforward and the fast
// resampler, so that both sample at the same positions and round the same way. Positions,
// scale factors and fractions are single precision; blends are double precision.
#pragma once

#include <cstdint>

#include "imaging/image_bits.h"
#include "imaging/rounding.h"

namespace norvel {

// (source_size - 1) / target_size, computed in double and stored as single. Dividing by the
// target size (not by target_size - 1) keeps the last sample short of the last source pixel.
float ResampleScale(std::int32_t source_size, std::int32_t target_size);

// Where target pixel i samples the source along one axis.
struct AxisSample {
  std::int32_t first;   // floor(i * scale)
  std::int32_t second;  // first + 1
  float fraction;       // i * scale - first: the weight of `second`
};

// Single precision rounding can put the position of a target pixel of a very large image
// exactly on the last source pixel; then `second` is clamped to it as well. Its weight is
// zero or too small to change a byte, and the read stays inside the image.
AxisSample SampleAxis(float scale, std::int32_t i, std::int32_t source_size);

// round((1 - t) * a + t * b), halves to even. 1 - t is taken in single precision (the
// constant 1 is single); the products and the sum are double.
inline std::int32_t BlendRound(float t, std::int32_t a, std::int32_t b) {
  const float keep = 1.0f - t;
  const double blend = static_cast<double>(keep) * a + static_cast<double>(t) * b;
  return static_cast<std::int32_t>(RoundHalfEven(blend));
}

// A source under 2 x 2 pixels, or without pixel memory, has no second pixel to blend with:
// throws OutOfRangeError. Called before any target byte is written.
void CheckResampleSource(ConstImageBits source);

}  // namespace norvel
