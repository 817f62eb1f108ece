#include "reminder/pic.h"

#include <cmath>

namespace norvel {
namespace {

std::uint32_t Packed(const std::uint8_t* p) {
  return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
}

int RoundHalfToEven(double value) {
  return static_cast<int>(std::nearbyint(value));
}

}  // namespace

FrameMeasures MeasureFrame(double outer_width, double client_width, double outer_height,
                           double client_height) {
  FrameMeasures m;
  const double f = (outer_width - client_width) / 2.0;
  m.F = RoundHalfToEven(f);
  // T uses F as rounded, as the side frame counted for the bottom frame.
  m.T = RoundHalfToEven(outer_height - client_height - m.F);
  return m;
}

std::uint32_t KeyColour(ConstByteView pixels, std::int32_t lKeyColor) {
  if (lKeyColor != 1) return static_cast<std::uint32_t>(lKeyColor);
  return pixels(0, 0) | (static_cast<std::uint32_t>(pixels(1, 0)) << 8) |
         (static_cast<std::uint32_t>(pixels(2, 0)) << 16);
}

void RowRuns(ConstByteView pixels, int width, int row, std::uint32_t key, std::vector<Run>& runs) {
  runs.clear();
  const auto bytes = pixels.Row(row);
  if (width <= 0) return;
  if (static_cast<std::size_t>(width) * 3 > bytes.size()) {
    throw OutOfRangeError("row narrower than the picture");
  }
  const std::uint8_t* p = bytes.data();
  int x = 0;
  while (x < width) {
    while (x < width && Packed(p + 3 * x) == key) ++x;
    if (x == width) break;
    const int start = x;
    while (x < width && Packed(p + 3 * x) != key) ++x;
    runs.push_back({start, x});
  }
}

void ForEachStrip(ConstByteView pixels, int width, int height, std::uint32_t key,
                  FrameMeasures frame, const std::function<void(const Strip&)>& strip) {
  std::vector<Run> runs;
  for (int r = 0; r < height; ++r) {
    RowRuns(pixels, width, r, key, runs);
    const int top = frame.T + (height - 1 - r);
    for (const Run& run : runs) strip({frame.F + run.start, top, frame.F + run.end, top + 1});
  }
}

void ForEachBand(ConstByteView pixels, int width, int height, std::uint32_t key,
                 FrameMeasures frame, const std::function<void(std::span<const Strip>)>& band) {
  std::vector<Run> current, next;
  std::vector<Strip> rects;
  int band_top = frame.T;
  const auto emit = [&](int bottom) {
    if (current.empty()) return;
    rects.clear();
    for (const Run& run : current) {
      rects.push_back({frame.F + run.start, band_top, frame.F + run.end, bottom});
    }
    band(rects);
  };
  // Window row y shows memory row height − 1 − y.
  for (int y = 0; y < height; ++y) {
    RowRuns(pixels, width, height - 1 - y, key, next);
    if (y > 0 && next == current) continue;
    emit(frame.T + y);
    current.swap(next);
    band_top = frame.T + y;
  }
  if (height > 0) emit(frame.T + height);
}

}  // namespace norvel
