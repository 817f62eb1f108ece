// norvel_bench_win.exe: timings of the picture region, the alarm tick and the steps of a
// reminder with a large photo under Wine.
#include <objbase.h>

#include <cstdio>

#include "bench_win.h"

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  norvel::bench::RegionBenchmarks();
  norvel::bench::TickBenchmarks();
  norvel::bench::PictureBenchmarks();
  std::fflush(stdout);
  return 0;
}
