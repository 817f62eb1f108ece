// The picture region built the straightforward way, one rectangle and one union per run:
// its cost grows with the square of the runs, so the program builds it another way, and the
// tests and the benchmark hold this one to prove that way equal.
#pragma once

#include <windows.h>

#include "reminder/pic.h"
#include "toolkit/handle_win.h"

namespace norvel::testing {

inline UniqueRegion BuildPictureRegionOneUnionPerRun(ConstByteView pixels, int width, int height,
                                                     std::uint32_t key, FrameMeasures frame) {
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ForEachStrip(pixels, width, height, key, frame, [&](const Strip& s) {
    const UniqueRegion strip(CreateRectRgn(s.left, s.top, s.right, s.bottom));
    CombineRgn(region.get(), region.get(), strip.get(), RGN_OR);
  });
  return region;
}

}  // namespace norvel::testing
