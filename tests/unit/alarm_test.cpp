#include <gtest/gtest.h>

#include "app/form1_layout.h"
#include "scheduler/ZXH.h"
#include "scheduler/alarm.h"

namespace norvel {
namespace {

LocalTime At(int hour, int minute, int second, int millisecond = 0, int weekday = 1) {
  LocalTime t;
  t.year = 2026, t.month = 12, t.day = 7;
  t.hour = hour, t.minute = minute, t.second = second, t.millisecond = millisecond;
  t.weekday = weekday;
  return t;
}

// A clock that the test moves, like the ticks of a timer.
class FakeClock final : public Clock {
 public:
  LocalTime now;
  LocalTime Now() const override { return now; }
  std::int64_t MonotonicMs() const override { return 0; }
};

TEST(AlarmRule, MatchesOnEveryTickOfTheSecondAndNotAfter) {
  FakeClock clock;
  int reminders = 0;
  for (int ms = 0; ms < 2000; ms += 50) {
    clock.now = At(7, 5, 3 + ms / 1000, ms % 1000);
    if (ActionForTick("7", "5", "3", "无动作", clock.Now()) == AlarmAction::kRemind) ++reminders;
  }
  EXPECT_EQ(reminders, 20);  // all twenty ticks of 07:05:03, none of 07:05:04
}

TEST(AlarmRule, EveryHourIgnoresTheHour) {
  for (const int hour : {0, 9, 13, 23}) {
    EXPECT_TRUE(TriggerMatches("每小时", "30", "0", At(hour, 30, 0))) << hour;
    EXPECT_FALSE(TriggerMatches("每小时", "30", "0", At(hour, 30, 1))) << hour;
    EXPECT_FALSE(TriggerMatches("每小时", "30", "0", At(hour, 31, 0))) << hour;
  }
  EXPECT_FALSE(TriggerMatches("每小时", "", "0", At(5, 0, 0)));
  EXPECT_FALSE(TriggerMatches("每小时", "0", "", At(5, 0, 0)));
}

TEST(AlarmRule, TextsAreComparedExactly) {
  EXPECT_TRUE(TriggerMatches("7", "5", "3", At(7, 5, 3)));
  EXPECT_FALSE(TriggerMatches("7", "05", "3", At(7, 5, 3)));  // leading zero
  EXPECT_FALSE(TriggerMatches("07", "5", "3", At(7, 5, 3)));
  EXPECT_FALSE(TriggerMatches(" 7", "5", "3", At(7, 5, 3)));  // no trimming
  EXPECT_FALSE(TriggerMatches("7 ", "5", "3", At(7, 5, 3)));
  EXPECT_FALSE(TriggerMatches("+7", "5", "3", At(7, 5, 3)));
  EXPECT_FALSE(TriggerMatches("", "", "", At(0, 0, 0)));
  EXPECT_TRUE(TriggerMatches("0", "0", "0", At(0, 0, 0)));
  EXPECT_TRUE(TriggerMatches("23", "59", "59", At(23, 59, 59)));
  EXPECT_FALSE(TriggerMatches("每小时 ", "0", "0", At(0, 0, 0)));
}

TEST(AlarmRule, EachFieldMustMatchItsOwnField) {
  EXPECT_TRUE(TriggerMatches("1", "23", "4", At(1, 23, 4)));
  EXPECT_FALSE(TriggerMatches("1", "23", "4", At(23, 1, 4)));
  EXPECT_FALSE(TriggerMatches("1", "23", "4", At(4, 23, 1)));
  EXPECT_FALSE(TriggerMatches("1", "23", "4", At(1, 4, 23)));
  EXPECT_FALSE(TriggerMatches("1", "23", "4", At(13, 23, 4)));
}

TEST(AlarmRule, OnlyTheThreeActionTextsAct) {
  const LocalTime now = At(7, 5, 3);
  EXPECT_EQ(ActionForTick("7", "5", "3", "无动作", now), AlarmAction::kRemind);
  EXPECT_EQ(ActionForTick("7", "5", "3", "关闭计算机", now), AlarmAction::kShutDown);
  EXPECT_EQ(ActionForTick("7", "5", "3", "重启计算机", now), AlarmAction::kRestart);
  EXPECT_EQ(ActionForTick("7", "5", "3", "", now), AlarmAction::kNone);
  EXPECT_EQ(ActionForTick("7", "5", "3", "关机", now), AlarmAction::kNone);
  EXPECT_EQ(ActionForTick("7", "5", "3", "无动作 ", now), AlarmAction::kNone);
  EXPECT_EQ(ActionForTick("7", "5", "4", "关闭计算机", now), AlarmAction::kNone);
}

TEST(StatusLine, WeekdayDigitRunsFromSundayZeroToSaturdaySix) {
  EXPECT_EQ(WeekdayText(At(0, 0, 0, 0, 0)), "星期 0");
  EXPECT_EQ(WeekdayText(At(0, 0, 0, 0, 6)), "星期 6");
}

TEST(StatusLine, LiteralsWithTheirExactSpaces) {
  const StatusLineParts<char> parts{std::string(kStatusToday), std::string(kStatusNow),
                                    std::string(kStatusGap), std::string(kWeekdayPrefix)};
  std::string line;
  ComposeStatusLine<char>(line, parts, "2026/12/6", "23:59:59", 0);
  EXPECT_EQ(line, "今天是: 2026/12/6  现在时间: 23:59:59  星期 0");
  // The buffer is reused: a second line of the same length needs no new storage.
  const auto* storage = line.data();
  ComposeStatusLine<char>(line, parts, "2026/12/7", "00:00:00", 1);
  EXPECT_EQ(line, "今天是: 2026/12/7  现在时间: 00:00:00  星期 1");
  EXPECT_EQ(line.data(), storage);
}

// The settings window's lists and the tick once held their texts each on their own: an edit
// of one list would have left an alarm that never fires.
TEST(AlarmRule, TheListsOfferTheTextsTheTickActsOn) {
  const std::vector<std::string> actions = form1::ActionItems();
  ASSERT_EQ(actions.size(), 3u);
  EXPECT_EQ(ActionNamed(actions[0]), AlarmAction::kRemind);
  EXPECT_EQ(ActionNamed(actions[1]), AlarmAction::kShutDown);
  EXPECT_EQ(ActionNamed(actions[2]), AlarmAction::kRestart);
  const std::string every_hour = form1::HourItems().front();
  EXPECT_TRUE(
      TriggerMatches(every_hour, form1::MinuteItems()[5], form1::SecondItems()[3], At(13, 5, 3)));
}

}  // namespace
}  // namespace norvel
