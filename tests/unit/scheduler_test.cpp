#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "scheduler/scheduler.h"
#include "scheduler_ticks.h"

namespace norvel {
namespace {

using testing::Second;
using testing::Ticks;

TEST(Scheduler, ActsOnEveryTickOfTheTriggerSecondAndWritesItDownOnce) {
  Ticks remind("7", "5", "3", "无动作");
  remind.Every50Ms("07:05:02.000", 3);
  EXPECT_EQ(remind.shown, 20);  // all twenty ticks of 07:05:03, none of :02 or :04
  ASSERT_EQ(remind.events.size(), 1u);
  EXPECT_EQ(remind.events[0], (AlarmEvent{AlarmEventKind::kReminderShown, AlarmAction::kRemind,
                                          Second("07:05:03.000")}));

  Ticks shut_down("7", "5", "3", "关闭计算机");
  shut_down.Every50Ms("07:05:02.000", 3);
  EXPECT_EQ(shut_down.powered, 20);  // asked again while the system has not ended Norvel
  EXPECT_EQ(shut_down.recorded, 1);  // recorded before the first request only
  ASSERT_EQ(shut_down.events.size(), 1u);
  EXPECT_EQ(shut_down.events[0].kind, AlarmEventKind::kPowerRequested);

  Ticks hourly("每小时", "30", "0", "无动作");
  EXPECT_TRUE(hourly.At("13:30:00.000").show_reminder);
  EXPECT_FALSE(hourly.At("13:30:01.000").show_reminder);
  EXPECT_TRUE(hourly.At("14:30:00.000").show_reminder);
}

// Stalls, sleeps and clock changes: the latest unseen trigger second is caught up once, a
// shut-down or restart only within a minute and never across a forward clock change.
TEST(Scheduler, CatchesUpASecondNoTickSaw) {
  const struct {
    const char *name, *action, *previous, *current;
    std::int64_t elapsed_ms;  // -1: as the wall clock
    AlarmEventKind event;
    bool acts;  // shows the reminder or asks for the power action
  } rows[] = {
      {"stall, reminder", "无动作", "07:05:02.950", "07:05:04.000", -1,
       AlarmEventKind::kReminderCaughtUp, true},
      {"sleep of 8 h, reminder", "无动作", "2026-12-06 23:00:00.000", "07:10:00.000", -1,
       AlarmEventKind::kReminderCaughtUp, true},
      {"stall of 60 s, shut-down", "关闭计算机", "07:05:02.950", "07:06:03.000", -1,
       AlarmEventKind::kPowerRequested, true},
      {"stall of 61 s, shut-down", "关闭计算机", "07:05:02.950", "07:06:04.000", -1,
       AlarmEventKind::kPowerSkippedLate, false},
      {"clock set forward, restart", "重启计算机", "07:04:00.000", "07:05:30.000", 50,
       AlarmEventKind::kPowerSkippedLate, false},
  };
  for (const auto& row : rows) {
    Ticks run("7", "5", "3", row.action);
    run.At(row.previous);
    const TickPlan& plan = run.At(row.current, row.elapsed_ms);
    EXPECT_EQ(plan.show_reminder || IsPowerAction(plan.power), row.acts) << row.name;
    ASSERT_EQ(run.events.size(), 1u) << row.name;
    EXPECT_EQ(run.events[0].kind, row.event) << row.name;
    EXPECT_EQ(run.events[0].occurrence, Second("07:05:03.000")) << row.name;
  }
  // A clock set back over the trigger second: nothing strictly between, nothing caught up.
  Ticks back("7", "5", "3", "无动作");
  back.At("07:06:00.000");
  EXPECT_FALSE(back.At("07:04:00.050", 50).show_reminder);
  EXPECT_TRUE(back.events.empty());
}

// A shut-down caught up within its minute is carried out at once only when its warning was on
// screen in the last tick before its second; after a sleep through the warning's minute it
// warns first, counting a minute from the catch-up, and 取消 there still spares it.
TEST(Scheduler, ALateShutDownWithoutItsWarningWarnsAMinuteFirst) {
  Ticks run("7", "5", "3", "关闭计算机");
  run.At("07:03:00.000");                           // the warning's minute had not begun
  const TickPlan& caught = run.At("07:05:30.000");  // woke 27 s late
  EXPECT_FALSE(IsPowerAction(caught.power));
  ASSERT_TRUE(caught.update_warning && caught.warning);
  EXPECT_EQ(caught.warning->occurrence, Second("07:05:03.000"));
  EXPECT_EQ(caught.warning->seconds_left, 60);
  EXPECT_EQ(caught.warning_action, AlarmAction::kShutDown);
  EXPECT_EQ(run.At("07:06:29.000").warning->seconds_left, 1);
  EXPECT_TRUE(run.events.empty());
  const TickPlan& done = run.At("07:06:30.000");
  EXPECT_EQ(done.power, AlarmAction::kShutDown);
  EXPECT_TRUE(done.record_power);
  ASSERT_EQ(run.events.size(), 1u);
  EXPECT_EQ(run.events[0], (AlarmEvent{AlarmEventKind::kPowerRequested, AlarmAction::kShutDown,
                                       Second("07:05:03.000"), 87}));
  EXPECT_EQ(EventText(run.events[0]), "闹钟1 关闭计算机 (07:05:03, 晚了 87 秒)");

  Ticks cancelled("7", "5", "3", "重启计算机");
  cancelled.At("07:03:00.000");
  cancelled.At("07:05:30.000");
  cancelled.scheduler.CancelPowerAction(Second("07:05:03.000"), AlarmAction::kRestart);
  EXPECT_FALSE(cancelled.At("07:05:31.000").warning);
  EXPECT_FALSE(IsPowerAction(cancelled.At("07:06:30.000").power));
  EXPECT_TRUE(cancelled.events.empty());
}

TEST(Scheduler, WarnsAMinuteAheadAndACancelSparesThatOccurrenceOnly) {
  Ticks run("每小时", "0", "0", "关闭计算机");
  EXPECT_FALSE(run.At("06:58:59.000").update_warning);
  const TickPlan& first = run.At("06:59:00.000");
  ASSERT_TRUE(first.update_warning && first.warning);
  EXPECT_EQ(first.warning->seconds_left, 60);
  EXPECT_EQ(first.warning_action, AlarmAction::kShutDown);
  EXPECT_FALSE(run.At("06:59:00.500").update_warning);  // decided once a second
  EXPECT_EQ(run.scheduler.CancelPowerAction(Second("07:00:00.000"), AlarmAction::kShutDown).kind,
            AlarmEventKind::kPowerCancelled);
  EXPECT_FALSE(run.At("06:59:01.000").update_warning);  // the window closed itself
  EXPECT_EQ(run.At("07:00:00.000").power, AlarmAction::kNone);
  run.At("07:00:01.000");
  // Not caught up after a stall over it either, and not told as skipped.
  Ticks stalled("每小时", "0", "0", "关闭计算机");
  stalled.At("06:59:30.000");
  stalled.scheduler.CancelPowerAction(Second("07:00:00.000"), AlarmAction::kShutDown);
  EXPECT_EQ(stalled.At("07:00:20.000").power, AlarmAction::kNone);
  EXPECT_TRUE(stalled.events.empty());
  // The next hour warns again.
  EXPECT_TRUE(run.At("07:59:00.000").warning);
}

TEST(Scheduler, AListChangedInTheWarningsMinuteMovesOrClosesIt) {
  Ticks run("7", "5", "3", "重启计算机");
  ASSERT_TRUE(run.At("07:04:30.000").warning);
  run.texts.Set("7", "5", "10", "重启计算机");
  const TickPlan& moved = run.At("07:04:31.000");
  ASSERT_TRUE(moved.warning);
  EXPECT_EQ(moved.warning->seconds_left, 39);
  run.texts.Set("7", "5", "10", "无动作");
  const TickPlan& closed = run.At("07:04:32.000");
  EXPECT_TRUE(closed.update_warning);
  EXPECT_FALSE(closed.warning);
  EXPECT_FALSE(run.At("07:04:33.000").update_warning);
}

// A restart recorded before the reboot, and the clock set back over its second afterwards:
// a timed restart must never loop. A reminder is not affected.
TEST(Scheduler, APowerActionsSecondIsNeverCarriedOutTwice) {
  const std::int64_t done = Second("07:05:03.000");
  Ticks after_reboot("7", "5", "3", "重启计算机", done);
  EXPECT_FALSE(after_reboot.At("07:04:30.000").warning);
  after_reboot.Every50Ms("07:05:02.000", 3);
  EXPECT_EQ(after_reboot.powered, 0);
  ASSERT_EQ(after_reboot.events.size(), 1u);
  EXPECT_EQ(after_reboot.events[0].kind, AlarmEventKind::kPowerRepeatRefused);
  // The next day's second is a new one.
  EXPECT_EQ(after_reboot.At("2026-12-08 07:05:03.000").power, AlarmAction::kRestart);

  Ticks same_run("7", "5", "3", "关闭计算机");
  EXPECT_EQ(same_run.At("07:05:03.000").power, AlarmAction::kShutDown);
  same_run.At("07:05:04.000");
  EXPECT_EQ(same_run.At("07:05:03.000", 50).power, AlarmAction::kNone);  // clock set back

  Ticks reminder("7", "5", "3", "无动作", done);
  EXPECT_TRUE(reminder.At("07:05:03.000").show_reminder);
}

TEST(Scheduler, AFailedRequestIsToldOncePerOccurrence) {
  Scheduler scheduler;
  const std::int64_t at = Second("07:05:03.000");
  const auto failed = scheduler.PowerActionFailed(AlarmAction::kShutDown, at, 5);
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->error, 5u);
  EXPECT_FALSE(scheduler.PowerActionFailed(AlarmAction::kShutDown, at, 5));
  EXPECT_TRUE(scheduler.PowerActionFailed(AlarmAction::kShutDown, at + 86400, 5));
}

// Reading a list is the costly part of a tick: a waiting tick reads the second list, and
// once a second the action list (for the warning) and, for a reminder, the minute list (is
// its picture wanted yet?); the hour and day lists only when those ask for them.
TEST(Scheduler, AnOrdinaryTickReadsOnlyWhatItsDecisionsNeed) {
  Ticks run("7", "5", "3", "无动作");
  run.Every50Ms("12:00:00.000", 2);
  EXPECT_EQ(run.texts.reads[static_cast<int>(AlarmList::kSecond)], 40);
  EXPECT_EQ(run.texts.reads[static_cast<int>(AlarmList::kAction)], 2);
  EXPECT_EQ(run.texts.reads[static_cast<int>(AlarmList::kMinute)], 2);
  EXPECT_EQ(run.texts.reads[static_cast<int>(AlarmList::kHour)], 0);
  EXPECT_EQ(run.texts.reads[static_cast<int>(AlarmList::kDays)], 0);
}

}  // namespace
}  // namespace norvel
