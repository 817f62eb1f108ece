// The pseudo-random generator of the noise fill: PCG-XSH-RR 32 (a 64-bit linear
// congruential state with a permuted 32-bit output), seeded from a single-precision number
// such as the seconds since midnight.
#pragma once

#include <cstdint>

namespace norvel {

class RandomGenerator {
 public:
  explicit RandomGenerator(float seed);

  std::uint32_t NextBits();

  // Uniform in [0, 1): the top 24 bits of the next output, so every value is a multiple
  // of 2^-24 and exact in single precision.
  float NextUnit();

 private:
  std::uint64_t state_ = 0;
};

}  // namespace norvel
