// Rounding to the nearest integer with halves to the even one, written out instead of taken
// from the floating-point environment, so that no rounding mode set by other code in the
// process can change a pixel.
#pragma once

#include <cmath>
#include <cstdint>

namespace norvel {

// Exact for |v| < 2^52, which covers every blend of byte values.
inline double RoundHalfEven(double v) {
  const double floor = std::floor(v);
  const double rest = v - floor;
  if (rest > 0.5) return floor + 1.0;
  if (rest < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

// n / 2^23 rounded, halves to even, for 0 <= n < 2^31 - 2^22.
constexpr std::int32_t RoundHalfEvenShift23(std::int32_t n) {
  return (n + ((1 << 22) - 1) + ((n >> 23) & 1)) >> 23;
}

}  // namespace norvel
