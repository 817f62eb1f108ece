// The portable part of one alarm tick: the trigger rule on the lists' texts and the status
// line composed into a reused buffer. A copy of the status line's text (what a naive tick
// would allocate) is measured alongside as the baseline.
#include <benchmark/benchmark.h>

#include <string>

#include "scheduler/ZXH.h"
#include "scheduler/alarm.h"

namespace norvel {
namespace {

LocalTime Noon() {
  LocalTime t;
  t.year = 2026, t.month = 12, t.day = 7, t.hour = 12, t.minute = 0, t.second = 1;
  return t;
}

void BM_TickRule(benchmark::State& state) {
  const LocalTime now = Noon();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ActionForTick("每小时", "30", "0", "无动作", now));
  }
}
BENCHMARK(BM_TickRule);

void BM_StatusLineReused(benchmark::State& state) {
  const StatusLineParts<char> parts{std::string(kStatusToday), std::string(kStatusNow),
                                    std::string(kStatusGap), std::string(kWeekdayPrefix)};
  std::string line;
  for (auto _ : state) {
    ComposeStatusLine<char>(line, parts, "2026/12/7", "12:00:01", 1);
    benchmark::DoNotOptimize(line.data());
  }
}
BENCHMARK(BM_StatusLineReused);

void BM_StatusLineFreshString(benchmark::State& state) {
  for (auto _ : state) {
    std::string line = std::string(kStatusToday) + "2026/12/7" + std::string(kStatusNow) +
                       "12:00:01" + std::string(kStatusGap) + WeekdayText(Noon());
    benchmark::DoNotOptimize(line.data());
  }
}
BENCHMARK(BM_StatusLineFreshString);

}  // namespace
}  // namespace norvel
