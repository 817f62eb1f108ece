// Turning the outline of a picture into one window region.
#pragma once

#include <windows.h>

#include <cstdint>

#include "imaging/byte_view.h"
#include "reminder/pic.h"
#include "toolkit/handle_win.h"

namespace norvel {

// The region of all non-key pixels, built from merged bands in small sorted leaves that are
// joined pairwise (each join costs the size of its two parts), so the time grows about as
// N log N in the number of runs and never more than a few dozen regions exist at once.
// Null when no pixel differs from the key. `peak_regions`, when given, receives the most
// regions that were alive at once.
UniqueRegion BuildPictureRegion(ConstByteView pixels, int width, int height, std::uint32_t key,
                                FrameMeasures frame, int* peak_regions = nullptr);

}  // namespace norvel
