// The Windows half of the cross-build check: the 32- and the 64-bit build must give the
// digest that the native build gives for the same inputs.
#include <gtest/gtest.h>

#include "../unit/cross_build_digest.h"

namespace norvel {
namespace {

TEST(SameBytesEverywhere, EveryResamplerAndTheNoiseGiveTheReferenceDigest) {
  for (const auto& [name, digest] : testing::DigestsOfEveryResampler()) {
    EXPECT_EQ(digest, testing::kCrossBuildDigest) << name;
  }
}

}  // namespace
}  // namespace norvel
