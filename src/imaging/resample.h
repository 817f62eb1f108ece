// Bilinear resampling of a 24-bit bottom-up bitmap into another of a different size. Both
// images count rows in memory order, so target pixel (0, 0) is source pixel (0, 0). Each
// vertical blend is rounded to a whole byte value before the horizontal blend; halves go to
// the even value. The bytes after the last pixel of a target row are never written.
//
// Errors, all raised before any target byte is written: OverflowError when a stride leaves
// the 32-bit range; OutOfRangeError when the target has pixels but the source is under
// 2 x 2 pixels or either image lacks pixel memory. A target without pixels is left alone.
#pragma once

#include "imaging/image_bits.h"

namespace norvel {

// The fast resampler: exact integer arithmetic where the weights allow it, vector code
// chosen for the processor at run time. Gives the same bytes as ResampleIntoReference.
void ResampleInto(ConstImageBits source, ImageBits target);

// The straightforward resampler, pixel by pixel through bounds-checked views. The
// definition of the result; kept for tests and measurements.
void ResampleIntoReference(ConstImageBits source, ImageBits target);

// Instruction sets of the fast resampler; kPortable runs everywhere.
enum class ResampleKernel { kPortable, kSse2, kAvx2 };

bool IsAvailable(ResampleKernel kernel);
ResampleKernel BestResampleKernel();

// ResampleInto with a given instruction set; throws std::invalid_argument when the
// processor or the build lacks it. For tests and measurements.
void ResampleInto(ConstImageBits source, ImageBits target, ResampleKernel kernel);

}  // namespace norvel
