// The picture region for large pictures of three kinds: the fast construction, and the
// one-union-per-run loop on the same pictures, stopped after a time budget and its total
// extrapolated from its growth (each union costs about as much as the region built so far).
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <random>
#include <vector>

#include "bench_win.h"
#include "imaging/dib_layout.h"
#include "reminder/pic.h"
#include "reminder/region_win.h"

namespace norvel::bench {
namespace {

struct Picture {
  const char* kind;
  int width, height, stride;
  std::vector<std::uint8_t> bytes;
  Picture(const char* k, int w, int h)
      : kind(k),
        width(w),
        height(h),
        stride(BytesPerScanLine(w)),
        bytes(static_cast<std::size_t>(stride) * h) {}
  void Set(int x, int row, std::uint32_t rgb) {
    std::uint8_t* p = bytes.data() + static_cast<std::size_t>(row) * stride + 3 * x;
    p[0] = static_cast<std::uint8_t>(rgb), p[1] = static_cast<std::uint8_t>(rgb >> 8),
    p[2] = static_cast<std::uint8_t>(rgb >> 16);
  }
  ConstByteView View() const { return {bytes.data(), stride, height}; }
};

constexpr std::uint32_t kKey = 0x00FF00;

Picture PhotoLike(int w, int h) {  // a photo with a plain key border: a few runs a row
  Picture p("photo", w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool inside = x > w / 20 && x < w - w / 20 && y > h / 20 && y < h - h / 20;
      p.Set(x, y, inside ? ((x * 3 + y * 5) & 0xFFFF) | 0x400000 : kKey);
    }
  }
  return p;
}

Picture ClipArt(int w, int h, std::mt19937& rng) {  // about 50 runs a row
  Picture p("clip-art", w, h);
  std::vector<int> edges;
  for (int y = 0; y < h; ++y) {
    if (y % 8 == 0) {  // shapes change every few rows
      edges.clear();
      for (int i = 0; i < 100; ++i) edges.push_back(static_cast<int>(rng() % w));
      std::sort(edges.begin(), edges.end());
    }
    std::size_t e = 0;
    bool opaque = false;
    for (int x = 0; x < w; ++x) {
      while (e < edges.size() && edges[e] == x) opaque = !opaque, ++e;
      p.Set(x, y, opaque ? 0xC04020 : kKey);
    }
  }
  return p;
}

Picture Noise(int w, int h) {  // every other pixel
  Picture p("noise", w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p.Set(x, y, (x + y) % 2 ? 0x102030 : kKey);
  }
  return p;
}

std::size_t CountRuns(const Picture& p) {
  std::size_t runs = 0;
  ForEachStrip(p.View(), p.width, p.height, kKey, {4, 27}, [&](const Strip&) { ++runs; });
  return runs;
}

// The straightforward loop until `budget` seconds have passed. Returns the runs done and the
// time taken; the total follows from the quadratic growth.
std::pair<std::size_t, double> OneUnionPerRunWithin(const Picture& p, double budget) {
  const double start = Seconds();
  const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  std::size_t done = 0;
  try {
    ForEachStrip(p.View(), p.width, p.height, kKey, {4, 27}, [&](const Strip& s) {
      const UniqueRegion strip(CreateRectRgn(s.left, s.top, s.right, s.bottom));
      CombineRgn(region.get(), region.get(), strip.get(), RGN_OR);
      if ((++done & 255) == 0 && Seconds() - start > budget) throw done;
    });
  } catch (std::size_t) {
  }
  return {done, Seconds() - start};
}

}  // namespace

void RegionBenchmarks() {
  std::mt19937 rng(5);
  std::printf("picture region (scan + region), best of 3\n");
  std::printf("%-9s %-10s %9s %10s %10s %12s %14s\n", "kind", "size", "runs", "fast ms",
              "peak rgns", "loop ms/run", "loop total s");
  for (const auto& [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
    const Picture pictures[] = {PhotoLike(w, h), ClipArt(w, h, rng), Noise(w, h)};
    for (const Picture& p : pictures) {
      const std::size_t runs = CountRuns(p);
      int peak = 0;
      const double fast = BestOf(3, [&] {
        const UniqueRegion region =
            BuildPictureRegion(p.View(), p.width, p.height, kKey, {4, 27}, &peak);
      });
      const auto [done, taken] = OneUnionPerRunWithin(p, 3.0);
      // Each union costs about as much as the region so far: time grows as runs squared.
      const double ratio = static_cast<double>(runs) / static_cast<double>(done);
      const double total = done == runs ? taken : taken * ratio * ratio;
      char size[24];
      std::snprintf(size, sizeof size, "%dx%d", w, h);
      std::printf("%-9s %-10s %9zu %10.1f %10d %12.4f %14.1f%s\n", p.kind, size, runs, fast * 1000,
                  peak, taken * 1000 / static_cast<double>(done), total,
                  done == runs ? "" : " (extrapolated)");
    }
  }
}

}  // namespace norvel::bench
