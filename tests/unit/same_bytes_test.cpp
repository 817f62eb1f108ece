// The native half of the cross-build check; the Windows tests hold the same check.
#include <gtest/gtest.h>

#include "cross_build_digest.h"
#include "imaging/resample.h"

namespace norvel {
namespace {

using testing::CrossBuildDigest;
using testing::kCrossBuildDigest;

TEST(SameBytesEverywhere, StraightforwardResamplerAndNoiseGiveTheReferenceDigest) {
  EXPECT_EQ(CrossBuildDigest(ResampleIntoReference), kCrossBuildDigest);
}

TEST(SameBytesEverywhere, EveryFastKernelGivesTheReferenceDigest) {
  for (const ResampleKernel kernel :
       {ResampleKernel::kPortable, ResampleKernel::kSse2, ResampleKernel::kAvx2}) {
    if (!IsAvailable(kernel)) continue;
    EXPECT_EQ(CrossBuildDigest([kernel](ConstImageBits source, ImageBits target) {
                ResampleInto(source, target, kernel);
              }),
              kCrossBuildDigest)
        << "kernel " << static_cast<int>(kernel);
  }
}

}  // namespace
}  // namespace norvel
