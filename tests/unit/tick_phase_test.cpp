#include "scheduler/tick_phase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace norvel {
namespace {

// A window timer of `granularity` ms (Wine's fires at its time; Windows' on its clock's
// ticks), started `phase` ms into a second, run for `seconds` with the phase keeper. The
// first three seconds settle it.
struct TimerRun {
  double worst_first_ms_after = 0;  // the latest first tick of a second, once settled
  int retimes_after = 0;            // SetTimer calls once settled
  double longest_gap_ms = 0;        // between two ticks
};
TimerRun RunTimer(double phase, double granularity, int seconds) {
  TickPhase keeper;
  TimerRun run;
  double due = phase, interval = kTickIntervalMs, last_fire = -1;
  long long last_second = -1;
  while (due < seconds * 1000.0) {
    const double fire = std::ceil(due / granularity) * granularity;
    const auto second = static_cast<long long>(std::floor(fire / 1000));
    const double millisecond = fire - static_cast<double>(second) * 1000.0;
    if (last_fire >= 0) run.longest_gap_ms = std::max(run.longest_gap_ms, fire - last_fire);
    if (second != last_second) {
      if (second >= 3) run.worst_first_ms_after = std::max(run.worst_first_ms_after, millisecond);
      last_second = second;
    }
    last_fire = fire;
    if (const int set = keeper.After(static_cast<int>(millisecond))) {
      if (second >= 3) ++run.retimes_after;
      interval = set;
      due = fire + set;  // SetTimer counts from the call
    } else {
      due += interval;  // a running timer keeps its own beat
    }
  }
  return run;
}

TEST(TickPhase, TheFirstTickOfEverySecondComesJustAfterItBegins) {
  struct Row {
    double phase, granularity;
    double worst_first_ms;  // at most, once settled
    int most_retimes;       // SetTimer calls once settled, in a minute
  };
  // Wine's timers (1 ms): in step within two seconds and left alone from then on.
  // Windows' 15.625 ms clock: the first tick within about one clock tick of the second's
  // start, retimed at most twice a second.
  const Row rows[] = {
      {0, 1, TickPhase::kInStepMs, 0},
      {37, 1, TickPhase::kInStepMs, 0},
      {49.5, 1, TickPhase::kInStepMs, 0},
      {999, 1, TickPhase::kInStepMs, 0},
      {3, 15.625, 18, 2 * 57},
      {41, 15.625, 18, 2 * 57},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "phase " << row.phase << ", clock " << row.granularity);
    const TimerRun run = RunTimer(row.phase, row.granularity, 60);
    EXPECT_LE(run.worst_first_ms_after, row.worst_first_ms);
    EXPECT_LE(run.retimes_after, row.most_retimes);
    // Only ever shortened: no second goes without its ticks.
    EXPECT_LE(run.longest_gap_ms, kTickIntervalMs + row.granularity);
  }
}

}  // namespace
}  // namespace norvel
