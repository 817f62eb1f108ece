// The native half of the cross-build check; the Windows tests hold the same check.
#include <gtest/gtest.h>

#include "cross_build_digest.h"

namespace norvel {
namespace {

TEST(SameBytesEverywhere, EveryResamplerAndTheNoiseGiveTheReferenceDigest) {
  for (const auto& [name, digest] : testing::DigestsOfEveryResampler()) {
    EXPECT_EQ(digest, testing::kCrossBuildDigest) << name;
  }
}

}  // namespace
}  // namespace norvel
