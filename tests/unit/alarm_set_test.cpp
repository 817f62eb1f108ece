#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_lists.h"
#include "scheduler/alarm_set.h"
#include "scheduler_ticks.h"

namespace norvel {
namespace {

using testing::FakeLists;
using testing::Second;
using testing::Wall;

// The settings window's alarms: numbers, on/off and their lists.
class FakeAlarms final : public AlarmTexts {
 public:
  struct Alarm {
    int number;
    bool on;
    FakeLists lists;
  };
  std::vector<Alarm> alarms;

  void Add(int number, const char* hour, const char* minute, const char* second, const char* action,
           const char* days = "每天") {
    alarms.push_back({number, true, FakeLists(hour, minute, second, action, days)});
  }
  int AlarmCount() const override { return static_cast<int>(alarms.size()); }
  int AlarmNumber(int index) const override { return alarms[index].number; }
  bool AlarmEnabled(int index) const override { return alarms[index].on; }
  std::wstring_view AlarmText(int index, AlarmList list,
                              wchar_t (&buffer)[ListTexts::kBuffer]) const override {
    return alarms[index].lists.Text(list, buffer);
  }
};

class AlarmRun {
 public:
  const AlarmSetPlan& At(const char* wall) {
    const LocalTime now = Wall(wall);
    monotonic_ += 50;
    const AlarmSetPlan& plan = set.Tick({now, monotonic_}, alarms);
    for (const AlarmEvent& e : plan.events) events.push_back(e);
    return plan;
  }
  FakeAlarms alarms;
  AlarmSet set;
  std::vector<AlarmEvent> events;

 private:
  std::int64_t monotonic_ = 1'000'000;
};

TEST(AlarmSet, EveryAlarmDueInATickActsAndTheLogNamesIt) {
  AlarmRun run;
  run.alarms.Add(1, "7", "5", "3", "无动作");
  run.alarms.Add(4, "7", "5", "3", "无动作");
  run.alarms.Add(2, "7", "5", "3", "无动作");
  run.alarms.alarms[2].on = false;  // never rings
  run.At("07:05:02.950");
  const AlarmSetPlan& plan = run.At("07:05:03.000");
  EXPECT_EQ(plan.reminders, (std::vector<int>{1, 4}));
  ASSERT_EQ(run.events.size(), 2u);
  EXPECT_EQ(EventText(run.events[1]), "闹钟4 显示提醒 (07:05:03)");

  // Switched on after its second: nothing is caught up across the time it was off.
  run.At("07:05:09.000");
  run.alarms.alarms[2].on = true;
  EXPECT_TRUE(run.At("07:05:10.000").reminders.empty());
  EXPECT_EQ(run.events.size(), 2u);
}

TEST(AlarmSet, OneShutDownOrRestartASecondAndTheShutDownWins) {
  AlarmRun run;
  run.alarms.Add(1, "23", "0", "0", "重启计算机");
  run.alarms.Add(2, "23", "0", "0", "无动作");
  run.alarms.Add(3, "23", "0", "0", "关闭计算机");
  const AlarmSetPlan& warned = run.At("2026-12-07 22:59:30.000");
  ASSERT_TRUE(warned.update_warning && warned.warning);
  EXPECT_EQ(warned.warning_action, AlarmAction::kShutDown);  // the window names the winner
  EXPECT_EQ(warned.warning->seconds_left, 30);
  const AlarmSetPlan& plan = run.At("2026-12-07 23:00:00.000");
  EXPECT_EQ(plan.power, AlarmAction::kShutDown);
  EXPECT_EQ(plan.power_alarm, 3);
  EXPECT_TRUE(plan.record_power);
  EXPECT_EQ(plan.reminders, std::vector<int>{2});  // a reminder of that second still shows
  int requested = 0;
  for (const AlarmEvent& e : run.events) requested += e.kind == AlarmEventKind::kPowerRequested;
  EXPECT_EQ(requested, 1);

  // 取消 in the warning spares the second's action of every alarm.
  AlarmRun cancel;
  cancel.alarms.Add(1, "23", "0", "0", "重启计算机");
  cancel.alarms.Add(3, "23", "0", "0", "关闭计算机");
  EXPECT_TRUE(cancel.At("2026-12-07 22:59:30.000").warning_appeared);
  EXPECT_FALSE(cancel.At("2026-12-07 22:59:31.000").warning_appeared);  // counting down
  EXPECT_EQ(cancel.set.CancelPowerAction(Second("2026-12-07 23:00:00.000")).size(), 2u);
  EXPECT_FALSE(IsPowerAction(cancel.At("2026-12-07 22:59:32.000").power));
  EXPECT_FALSE(IsPowerAction(cancel.At("2026-12-07 23:00:00.000").power));
  // The next occurrence's warning appears again (its sound plays again).
  EXPECT_TRUE(cancel.At("2026-12-08 22:59:30.000").warning_appeared);
}

TEST(AlarmSet, EachAlarmHasItsOwnPutOffWhichEndsWithTheAlarm) {
  AlarmRun run;
  run.alarms.Add(1, "7", "0", "0", "无动作");
  run.alarms.Add(2, "8", "0", "0", "无动作");
  run.alarms.Add(3, "9", "0", "0", "无动作");
  run.set.PutOff(2, Second("10:00:00.000"));  // kept from an earlier run: before any tick
  run.set.PutOff(3, Second("10:00:05.000"));
  run.At("09:59:59.000");
  const auto pending = run.set.PendingPutOffs();
  ASSERT_EQ(pending.size(), 2u);
  EXPECT_EQ(pending[0].first, 2);
  const AlarmSetPlan& rang = run.At("10:00:00.000");
  EXPECT_EQ(rang.reminders, std::vector<int>{2});
  EXPECT_EQ(rang.put_offs_ended, std::vector<int>{2});
  EXPECT_EQ(run.events.back().alarm, 2);
  EXPECT_EQ(run.events.back().kind, AlarmEventKind::kPutOffShown);

  run.alarms.alarms.erase(run.alarms.alarms.begin() + 2);  // 删除 of alarm 3
  EXPECT_EQ(run.At("10:00:01.000").put_offs_ended, std::vector<int>{3});
  EXPECT_TRUE(run.At("10:00:05.000").reminders.empty());
  EXPECT_TRUE(run.set.PendingPutOffs().empty());
}

TEST(AlarmSet, NextRingFollowsTheDayRuleAndTheHolidays) {
  const struct {
    const char *hour, *minute, *second, *days, *now, *text;
    bool on;
  } rows[] = {
      {"7", "30", "0", "工作日", "2025-01-25 18:00:00.000", "明天 07:30:00",
       true},  // make-up Sunday
      {"7", "30", "0", "工作日", "2025-01-27 18:00:00.000", "02/05 07:30:00",
       true},  // Spring Festival
      {"7", "30", "0", "工作日", "2026-10-09 18:00:00.000", "明天 07:30:00",
       true},  // make-up Saturday
      {"7", "30", "0", "休息日", "2026-09-30 08:00:00.000", "明天 07:30:00", true},  // National Day
      {"7", "30", "0", "周一", "2026-12-09 08:00:00.000", "周一 07:30:00", true},
      {"7", "30", "0", "每天", "2026-12-09 07:29:00.000", "今天 07:30:00", true},
      {"每小时", "30", "0", "每天", "2026-12-09 23:45:00.000", "明天 00:30:00", true},
      {"7", "30", "0", "每天", "2026-12-09 07:29:00.000", "—", false},
      {"7", "30", "", "每天", "2026-12-09 07:29:00.000", "—", true},
  };
  for (const auto& row : rows) {
    FakeAlarms alarms;
    alarms.Add(1, row.hour, row.minute, row.second, "无动作", row.days);
    alarms.alarms[0].on = row.on;
    const AlarmSet set;
    const std::int64_t now = Second(row.now);
    EXPECT_EQ(NextRingText(set.NextRing(alarms, 0, now), now), row.text) << row.days << row.now;
  }
}

}  // namespace
}  // namespace norvel
