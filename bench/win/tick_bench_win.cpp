// One tick of the real handler on a real settings window: status line, trigger rule on the
// lists' texts, with an action that never matches (the steady state of a waiting program).
#include <windows.h>

#include <cstdio>

#include "app/form1_layout.h"
#include "app/form1_win.h"
#include "bench_win.h"
#include "scheduler/alarm_tick_win.h"
#include "toolkit/controls_win.h"

namespace norvel::bench {

void TickBenchmarks() {
  Form1 form1(nullptr, nullptr);
  if (!form1.Load()) return;
  SetText(form1.Control(form1::kCombo1), "每小时");
  SetText(form1.Control(form1::kCombo2), "30");
  SetText(form1.Control(form1::kCombo3), "0");
  SetText(form1.Control(form1::kCombo4), "无动作");
  const LocalClock clock;
  int actions = 0;
  AlarmEffects effects;
  effects.show_reminders = [&](const std::vector<int>&) { ++actions; };
  effects.exit_windows = [&](UINT) -> DWORD {
    ++actions;
    return 0;
  };
  AlarmTick tick(form1, clock, effects);
  constexpr int kTicks = 20000;
  const double seconds = BestOf(3, [&] {
    for (int i = 0; i < kTicks; ++i) tick.Tick();
  });
  // Reading the four lists alone, for comparison: what a tick costs before any logic.
  wchar_t buffer[64];
  const double reads = BestOf(3, [&] {
    for (int i = 0; i < kTicks; ++i) {
      for (const int id : {form1::kCombo1, form1::kCombo2, form1::kCombo3, form1::kCombo4}) {
        GetWindowTextW(form1.Control(id), buffer, 64);
      }
    }
  });
  std::printf("\nalarm tick, %d ticks, best of 3\n", kTicks);
  std::printf("  whole tick:          %.2f us\n", seconds * 1e6 / kTicks);
  std::printf("  reading four lists:  %.2f us (tick / reads = %.2f)\n", reads * 1e6 / kTicks,
              seconds / reads);
  std::printf("  per second at 20 ticks: %.3f ms of work\n", seconds * 1e3 / kTicks * 20);
  form1.Destroy();
}

}  // namespace norvel::bench
