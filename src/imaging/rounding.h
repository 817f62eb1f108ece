// Rounding to the nearest integer with halves to the even one, written out instead of taken
// from the floating-point environment, so that no rounding mode set by other code in the
// process can change a pixel.
#pragma once

#include <cstdint>

namespace norvel {

// Floor of a value below 2^31 in magnitude, by truncation (which needs no library call).
inline double FloorSmall(double v) {
  const double truncated = static_cast<double>(static_cast<std::int32_t>(v));
  return truncated - static_cast<double>(truncated > v);
}

// For |v| < 2^31, which covers every blend of byte values and every random byte. Written
// without branches: on noise the rounding direction is unpredictable.
inline double RoundHalfEven(double v) {
  const double floor = FloorSmall(v);
  const double rest = v - floor;  // exact
  const bool odd = (static_cast<std::int32_t>(floor) & 1) != 0;
  const bool up = (rest > 0.5) | ((rest == 0.5) & odd);
  return floor + static_cast<double>(up);
}

// n / 2^23 rounded, halves to even, for 0 <= n < 2^31 - 2^22.
constexpr std::int32_t RoundHalfEvenShift23(std::int32_t n) {
  return (n + ((1 << 22) - 1) + ((n >> 23) & 1)) >> 23;
}

}  // namespace norvel
