// A small timing harness for the Windows shell: wall-clock time of a callable, best of a
// few repetitions, with a time budget.
#pragma once

#include <windows.h>

#include <functional>

namespace norvel::bench {

inline double Seconds() {
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The shortest of `repetitions` runs, in seconds.
inline double BestOf(int repetitions, const std::function<void()>& run) {
  double best = 1e30;
  for (int i = 0; i < repetitions; ++i) {
    const double start = Seconds();
    run();
    const double elapsed = Seconds() - start;
    if (elapsed < best) best = elapsed;
  }
  return best;
}

void RegionBenchmarks();
void TickBenchmarks();
void PictureBenchmarks();

}  // namespace norvel::bench
