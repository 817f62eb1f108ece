// The portable part of one alarm tick: the scheduler on the lists' texts and the status
// line composed into a reused buffer. A copy of the status line's text (what a naive tick
// would allocate) is measured alongside as the baseline.
#include <benchmark/benchmark.h>

#include <string>

#include "scheduler/ZXH.h"
#include "scheduler/alarm.h"
#include "scheduler/alarm_lists.h"
#include "scheduler/alarm_set.h"
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

// `count` alarms of the same fixed texts, all on, as the settings window gives them.
class FixedAlarms final : public AlarmTexts {
 public:
  explicit FixedAlarms(int count) : count_(count) {}
  int AlarmCount() const override { return count_; }
  int AlarmNumber(int index) const override { return index + 1; }
  bool AlarmEnabled(int) const override { return true; }
  std::wstring_view AlarmText(int, AlarmList list,
                              wchar_t (&buffer)[ListTexts::kBuffer]) const override {
    return lists_.Text(list, buffer);
  }

 private:
  int count_;
  FixedLists lists_;
};

// A waiting tick of 1 or 32 alarms: one scheduler each and the plan joined from theirs
// (against BM_SchedulerTick, the single alarm's scheduler alone).
void BM_AlarmSetTick(benchmark::State& state) {
  const FixedAlarms texts(static_cast<int>(state.range(0)));
  AlarmSet alarms;
  LocalTime now = Noon();
  std::int64_t monotonic = 0;
  for (auto _ : state) {
    monotonic += 50;
    now.millisecond = static_cast<int>(monotonic % 1000);
    benchmark::DoNotOptimize(alarms.Tick({now, monotonic}, texts).reminders.size());
  }
}
BENCHMARK(BM_AlarmSetTick)->Arg(1)->Arg(32);

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
