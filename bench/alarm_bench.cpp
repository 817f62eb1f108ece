// The portable part of one alarm tick: the scheduler on the lists' texts and the status
// line composed into a reused buffer. A copy of the status line's text (what a naive tick
// would allocate) is measured alongside as the baseline.
#include <benchmark/benchmark.h>

#include <string>

#include "scheduler/ZXH.h"
#include "scheduler/alarm.h"
#include "scheduler/alarm_lists.h"
#include "scheduler/scheduler.h"

namespace norvel {
namespace {

LocalTime Noon() {
  LocalTime t;
  t.year = 2026, t.month = 12, t.day = 7, t.hour = 12, t.minute = 0, t.second = 1;
  return t;
}

// The lists as fixed texts: what the tick's decisions cost without the window reads.
class FixedLists final : public ListTexts {
 public:
  std::wstring_view Text(AlarmList list, wchar_t (&)[kBuffer]) const override {
    switch (list) {
      case AlarmList::kHour:
        return hour_;
      case AlarmList::kMinute:
        return L"30";
      case AlarmList::kSecond:
        return L"0";
      case AlarmList::kAction:
        break;
      case AlarmList::kDays:
        return days_;
    }
    return action_;
  }

 private:
  std::wstring hour_ = ListWords::Get().every_hour, action_ = ListWords::Get().remind,
               days_ = ListWords::Get().day_texts[0];
};

// A waiting tick through the scheduler: one reading, the rule, the warning's once-a-second
// decision.
void BM_SchedulerTick(benchmark::State& state) {
  const FixedLists texts;
  ListsReading lists(texts);
  Scheduler scheduler;
  LocalTime now = Noon();
  std::int64_t monotonic = 0;
  for (auto _ : state) {
    monotonic += 50;
    now.millisecond = static_cast<int>(monotonic % 1000);
    lists.NextTick();
    benchmark::DoNotOptimize(scheduler.Tick({now, monotonic}, lists).show_reminder);
  }
}
BENCHMARK(BM_SchedulerTick);

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
