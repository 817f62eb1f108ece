// The Windows half of the cross-build check: the 32- and the 64-bit build must give the
// digest that the native build gives for the same inputs.
#include <gtest/gtest.h>

#include "../unit/cross_build_digest.h"
#include "imaging/resample.h"

namespace norvel {
namespace {

using testing::CrossBuildDigest;
using testing::kCrossBuildDigest;

TEST(SameBytesEverywhere, ResamplersAndNoiseGiveTheDigestOfTheNativeBuild) {
  EXPECT_EQ(CrossBuildDigest(ResampleIntoReference), kCrossBuildDigest) << "straightforward";
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
