// The scheduler's later decisions: the day list, a put-off reminder, when the picture is held.
#include <gtest/gtest.h>

#include "scheduler/put_off.h"
#include "scheduler/scheduler.h"
#include "scheduler_ticks.h"

namespace norvel {
namespace {

using testing::Second;
using testing::Ticks;

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
