// The noise fill of an image: grey noise, or colour noise with blue always 0. The bytes after
// the last pixel of a row are never written, and an image without pixel memory is left alone.
#pragma once

#include <cstdint>

#include "imaging/image_bits.h"

namespace norvel {

// Seconds since midnight in single precision, the seed of every fill.
float SecondsSinceMidnight(int hour, int minute, int second, int millisecond);

// r * 255 in single precision, rounded with halves to even: 0 to 255 for r in [0, 1).
std::uint8_t RandomByte(float r);

// Seeds a fresh generator with `seconds_since_midnight`, so fills made at the same time of
// day are equal. Grey (`bGray`): row by row, pixel by pixel, one draw sets blue, green and
// red. Colour: column by column, row by row within a column, blue 0, then a draw for green
// and a second draw for red. Throws OverflowError when the stride overflows.
void RandomiseBits(ImageBits image, bool bGray, float seconds_since_midnight);

}  // namespace norvel
