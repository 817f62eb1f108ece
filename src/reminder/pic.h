// The outline of a picture as window-region rectangles: every pixel except those of one
// key colour, placed where the window paints the picture (after its frame and caption).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "imaging/byte_view.h"

namespace norvel {

// F: the side frame's width; T: the top inset (top frame and caption bar), in pixels.
struct FrameMeasures {
  int F = 0;
  int T = 0;
};

// F = (outer width − client width) / 2 and T = outer height − client height − F, computed
// in floating point and rounded to the nearest integer, halves to even.
FrameMeasures MeasureFrame(double outer_width, double client_width, double outer_height,
                           double client_height);

// The key colour: with lKeyColor 1 the packed colour (b0 + 256 b1 + 65536 b2) of the
// bottom-left pixel (pixel 0 of memory row 0), otherwise lKeyColor itself. An empty picture
// has no bottom-left pixel: OutOfRangeError.
std::uint32_t KeyColour(ConstByteView pixels, std::int32_t lKeyColor);

// A rectangle in window pixels; left and top inside, right and bottom outside.
struct Strip {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const Strip&, const Strip&) = default;
};

struct Run {
  int start = 0, end = 0;  // pixels start … end − 1
  friend bool operator==(const Run&, const Run&) = default;
};

// The maximal runs of non-key pixels of memory row `row`, left to right, into `runs`
// (cleared first). The row is bounds-checked once; its pixels are read in place.
void RowRuns(ConstByteView pixels, int width, int row, std::uint32_t key, std::vector<Run>& runs);

// One strip per run, memory row 0 (the picture's bottom row) first: the rectangles of the
// straightforward one-union-per-run construction.
void ForEachStrip(ConstByteView pixels, int width, int height, std::uint32_t key,
                  FrameMeasures frame, const std::function<void(const Strip&)>& strip);

// The same area in the order a region keeps it: window rows from the top, runs left to right,
// consecutive rows with the same runs merged into one taller rectangle. `band` receives each
// finished band (its rectangles share top and bottom and are sorted by left).
void ForEachBand(ConstByteView pixels, int width, int height, std::uint32_t key,
                 FrameMeasures frame, const std::function<void(std::span<const Strip>)>& band);

}  // namespace norvel
