#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fake_lists.h"
#include "scheduler/scheduler.h"

namespace norvel {
namespace {

// "2026-12-07 07:05:02.950", or "07:05:02.950" on 2026-12-07.
LocalTime Wall(const char* text) {
  LocalTime t;
  t.year = 2026, t.month = 12, t.day = 7;
  if (std::strchr(text, '-') != nullptr) {
    std::sscanf(text, "%d-%d-%d %d:%d:%d.%d", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                &t.second, &t.millisecond);
  } else {
    std::sscanf(text, "%d:%d:%d.%d", &t.hour, &t.minute, &t.second, &t.millisecond);
  }
  return t;
}

std::int64_t Second(const char* text) {
  return CivilSeconds(Wall(text));
}

// Ticks of one running program: the wall clock as given, the tick count advancing with it
// unless a step says otherwise (a clock set forward or back).
class Ticks {
 public:
  explicit Ticks(const char* hour, const char* minute, const char* second, const char* action,
                 std::optional<std::int64_t> last_power = std::nullopt, const char* days = "每天")
      : texts(hour, minute, second, action, days), scheduler(last_power) {}

  const TickPlan& At(const char* wall, std::int64_t elapsed_ms = -1) {
    const LocalTime now = Wall(wall);
    if (previous_) {
      const std::int64_t wall_ms = (CivilSeconds(now) - CivilSeconds(*previous_)) * 1000 +
                                   now.millisecond - previous_->millisecond;
      monotonic_ += elapsed_ms >= 0 ? elapsed_ms : wall_ms;
    }
    previous_ = now;
    lists_.NextTick();
    const TickPlan& plan = scheduler.Tick({now, monotonic_}, lists_);
    for (const AlarmEvent& e : plan.events) events.push_back(e);
    return plan;
  }
  // Ticks every 50 ms from `from` for `seconds`; counts the ticks that showed the reminder
  // and that asked for a power action.
  void Every50Ms(const char* from, int seconds) {
    LocalTime t = Wall(from);
    for (int i = 0; i < seconds * 20; ++i) {
      char text[32];
      const int ms = t.millisecond + i * 50;
      std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", t.hour, t.minute,
                    t.second + ms / 1000, ms % 1000);
      const TickPlan& plan = At(text);
      shown += plan.show_reminder;
      powered += IsPowerAction(plan.power);
      recorded += plan.record_power;
    }
  }

  testing::FakeLists texts;
  Scheduler scheduler;
  std::vector<AlarmEvent> events;
  int shown = 0, powered = 0, recorded = 0;

 private:
  ListsReading lists_{texts};
  std::optional<LocalTime> previous_;
  std::int64_t monotonic_ = 1'000'000;
};

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

// The day list decides by the date of the trigger second: 2024-02-04 was a make-up Sunday,
// 2024-10-01 … 07 the National Day break, 2024-10-12 a make-up Saturday.
TEST(Scheduler, RingsOnTheDaysOfTheDayListOnly) {
  const struct {
    const char *days, *at, *hour;
    bool rings;
  } rows[] = {
      {"每天", "2024-10-05 09:00:00.000", "9", true},
      {"工作日", "2024-02-04 09:00:00.000", "9", true},  // make-up Sunday
      {"休息日", "2024-02-04 09:00:00.000", "9", false},
      {"工作日", "2024-10-01 09:00:00.000", "9", false},  // holiday on a Tuesday
      {"休息日", "2024-10-01 09:00:00.000", "9", true},
      {"工作日", "2024-10-08 00:00:00.000", "0", true},        // midnight belongs to the new day
      {"工作日", "2024-10-07 23:00:00.000", "每小时", false},  // the break's last hour
      {"工作日", "2024-10-08 00:00:00.000", "每小时", true},
      {"周六", "2024-10-12 09:00:00.000", "9", true},
      {"工作日", "2024-10-12 09:00:00.000", "9", true},
      {"周日", "2024-10-12 09:00:00.000", "9", false},
  };
  for (const auto& row : rows) {
    Ticks run(row.hour, "0", "0", "无动作", std::nullopt, row.days);
    EXPECT_EQ(run.At(row.at).show_reminder, row.rings) << row.days << " " << row.at;
  }
  // Nothing to catch up and no warning on a day it does not ring.
  Ticks slept("9", "0", "0", "无动作", std::nullopt, "工作日");
  slept.At("2024-10-01 08:00:00.000");
  EXPECT_FALSE(slept.At("2024-10-01 10:00:00.000").show_reminder);
  Ticks warned("9", "0", "0", "关闭计算机", std::nullopt, "工作日");
  EXPECT_FALSE(warned.At("2024-10-01 08:59:30.000").warning);
  EXPECT_TRUE(warned.At("2024-10-08 08:59:30.000").warning);
}

TEST(Scheduler, AYearNobodyKnowsFallsBackToTheWeekdaysAndIsToldOnce) {
  Ticks run("每小时", "0", "0", "无动作", std::nullopt, "工作日");
  const TickPlan& monday = run.At("2031-01-06 09:00:00.000");
  EXPECT_TRUE(monday.show_reminder);
  EXPECT_EQ(monday.unknown_holiday_year, 2031);
  EXPECT_FALSE(run.At("2031-01-06 10:00:00.000").unknown_holiday_year);
  EXPECT_FALSE(run.At("2031-01-11 10:00:00.000").show_reminder);  // a Saturday
  // The user's own file makes the year known, and its days count.
  const HolidayCalendar own({{{2031, 1, 11}, true}});
  run.scheduler.SetCalendar(own);
  EXPECT_TRUE(run.At("2031-01-11 11:00:00.000").show_reminder);
}

TEST(Scheduler, APutOffReminderComesOnceAtItsSecondAndANewChoiceReplacesIt) {
  Ticks run("7", "5", "3", "无动作");
  run.scheduler.PutOffReminder(Second("2026-12-08 00:04:00.000"));  // across midnight
  EXPECT_FALSE(run.At("23:59:59.000").show_reminder);
  run.scheduler.PutOffReminder(Second("2026-12-08 00:00:01.000"));  // replaces it
  EXPECT_FALSE(run.At("2026-12-08 00:00:00.950").show_reminder);
  const TickPlan& due = run.At("2026-12-08 00:00:01.000");
  EXPECT_TRUE(due.show_reminder && due.put_off_rang);
  EXPECT_FALSE(run.At("2026-12-08 00:00:01.050").show_reminder);  // once
  EXPECT_FALSE(run.At("2026-12-08 00:04:00.000").show_reminder);  // the replaced one is gone
  ASSERT_EQ(run.events.size(), 1u);
  EXPECT_EQ(run.events[0].kind, AlarmEventKind::kPutOffShown);

  // Cancelled, it never comes; a stall over its second catches it up once, told as late.
  run.scheduler.PutOffReminder(Second("2026-12-08 01:00:00.000"));
  run.scheduler.CancelPutOff();
  EXPECT_FALSE(run.At("2026-12-08 01:00:00.000").show_reminder);
  run.scheduler.PutOffReminder(Second("2026-12-08 02:00:00.000"));
  run.At("2026-12-08 01:59:59.000");
  EXPECT_TRUE(run.At("2026-12-08 02:00:05.000").show_reminder);
  EXPECT_EQ(run.events.back().seconds_late, 5);
  EXPECT_FALSE(run.scheduler.PendingPutOff());
}

TEST(PutOff, AtStartAheadOrUpToAnHourLateIsArmedOlderIsDropped) {
  const std::int64_t due = Second("12:00:00.000");
  EXPECT_EQ(DecidePutOffAtStart(due, due - 300), PutOffAtStart::kArm);
  EXPECT_EQ(DecidePutOffAtStart(due, due + 59 * 60), PutOffAtStart::kArm);
  EXPECT_EQ(DecidePutOffAtStart(due, due + 61 * 60), PutOffAtStart::kDrop);
  EXPECT_EQ(DroppedPutOffText(due), "错过了 12:00:00 的稍后提醒");
  EXPECT_EQ(CancelPutOffMenuText(due + 5), "取消稍后提醒 (12:00:05)");
}

// The picture is held only from a minute before the reminder's second until that second has
// passed: a minute of the day, or of each hour with "每小时".
TEST(Scheduler, HoldsThePictureOnlyInTheMinuteBeforeTheReminder) {
  const struct {
    const char *hour, *action, *days, *at;
    bool hold;
  } rows[] = {
      {"7", "无动作", "每天", "07:04:02.000", false},
      {"7", "无动作", "每天", "07:04:03.000", true},  // 60 s ahead
      {"7", "无动作", "每天", "07:05:03.000", true},  // its second
      {"7", "无动作", "每天", "07:05:04.000", false},
      {"7", "无动作", "每天", "06:04:30.000", false},  // the right minute of another hour
      {"每小时", "无动作", "每天", "06:04:30.000", true},
      {"每小时", "无动作", "每天", "06:06:00.000", false},
      {"7", "关闭计算机", "每天", "07:05:00.000", false},  // no reminder, no picture
      {"7", "无动作", "周日", "07:05:00.000", false},      // 2026-12-07 is a Monday
  };
  for (const auto& row : rows) {
    Ticks run(row.hour, "5", "3", row.action, std::nullopt, row.days);
    EXPECT_EQ(run.At(row.at).hold_picture, row.hold) << row.hour << " " << row.at;
  }
  // Across midnight, and a list changed inside the window.
  Ticks midnight("0", "0", "30", "无动作");
  EXPECT_TRUE(midnight.At("23:59:31.000").hold_picture);
  midnight.texts.Set("0", "10", "30", "无动作");
  EXPECT_FALSE(midnight.At("23:59:32.000").hold_picture);
  // A put-off reminder's second too.
  Ticks put_off("7", "5", "3", "无动作");
  put_off.scheduler.PutOffReminder(Second("12:00:00.000"));
  EXPECT_FALSE(put_off.At("11:58:59.000").hold_picture);
  EXPECT_TRUE(put_off.At("11:59:00.000").hold_picture);
}

}  // namespace
}  // namespace norvel
