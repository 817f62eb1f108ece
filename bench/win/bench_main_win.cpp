// norvel_bench_win.exe: timings of the picture region and of the alarm tick under Wine.
#include <objbase.h>

#include <cstdio>

#include "bench_win.h"

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  norvel::bench::RegionBenchmarks();
  norvel::bench::TickBenchmarks();
  std::fflush(stdout);
  return 0;
}
