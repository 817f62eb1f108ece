#include "imaging/random_generator.h"

#include <bit>

namespace norvel {
namespace {

constexpr std::uint64_t kMultiplier = 6364136223846793005u;
constexpr std::uint64_t kIncrement = 1442695040888963407u;

// Spreads the few bits in which nearby seeds differ over the whole state, so that seeds a
// fraction of a second apart start far apart in the sequence.
std::uint64_t Mix(std::uint64_t z) {
  z += 0x9E3779B97F4A7C15u;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

}  // namespace

RandomGenerator::RandomGenerator(float seed)
    : state_(Mix(std::bit_cast<std::uint32_t>(seed)) + kIncrement) {
  NextBits();
}

std::uint32_t RandomGenerator::NextBits() {
  const std::uint64_t old = state_;
  state_ = old * kMultiplier + kIncrement;
  const auto xorshifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
  const auto rotation = static_cast<int>(old >> 59);
  return std::rotr(xorshifted, rotation);
}

float RandomGenerator::NextUnit() {
  return static_cast<float>(NextBits() >> 8) * (1.0f / 16777216.0f);
}

}  // namespace norvel
