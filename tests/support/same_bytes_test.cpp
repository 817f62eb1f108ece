// The cross-build check, built into the native and the Windows test programs alike: the
// native, the 32- and the 64-bit build must all give the one reference digest.
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
