#include <gtest/gtest.h>

#include "app/form1_layout.h"
#include "scheduler/ZXH.h"
#include "fake_lists.h"
#include "scheduler/alarm.h"
#include "scheduler/alarm_lists.h"

namespace norvel {
namespace {

LocalTime At(int hour, int minute, int second, int millisecond = 0, int weekday = 1) {
  LocalTime t;
  t.year = 2026, t.month = 12, t.day = 7;
  t.hour = hour, t.minute = minute, t.second = second, t.millisecond = millisecond;
  t.weekday = weekday;
  return t;
}

// The one parser of the lists: a number is its exact decimal form, nothing trimmed.
TEST(AlarmLists, ParseNumbersHoursAndActionsExactly) {
  const ListWords& words = ListWords::Get();
  const struct {
    const char* text;
    int hour, minute;  // as an hour, as a minute or second (-1: names none)
  } rows[] = {
      {"0", 0, 0},
      {"7", 7, 7},
      {"23", 23, 23},
      {"24", -1, 24},
      {"59", -1, 59},
      {"60", -1, -1},
      {"07", -1, -1},
      {" 7", -1, -1},
      {"7 ", -1, -1},
      {"+7", -1, -1},
      {"", -1, -1},
      {"1e1", -1, -1},
      {"99999999999", -1, -1},
      {"每小时", TriggerTime::kEveryHour, -1},
      {"每小时 ", -1, -1},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ParseHour(testing::Wide(row.text), words), row.hour) << row.text;
    EXPECT_EQ(ParseListNumber(testing::Wide(row.text), 59), row.minute) << row.text;
  }
  EXPECT_EQ(ParseAction(testing::Wide("无动作 "), words), AlarmAction::kNone);
  EXPECT_EQ(ParseAction(testing::Wide("关机"), words), AlarmAction::kNone);
  EXPECT_EQ(ParseAction(L"", words), AlarmAction::kNone);
}

TEST(AlarmLists, MatchComparesSecondMinuteAndHourInTheirOwnFields) {
  testing::FakeLists texts("1", "23", "4", "无动作");
  ListsReading lists(texts);
  EXPECT_TRUE(lists.MatchesTimeOfDay(At(1, 23, 4)));
  for (const LocalTime& other : {At(23, 1, 4), At(4, 23, 1), At(1, 4, 23), At(13, 23, 4)}) {
    lists.NextTick();
    EXPECT_FALSE(lists.MatchesTimeOfDay(other));
  }
  texts.Set("每小时", "30", "0", "无动作");
  for (int hour = 0; hour < 24; ++hour) {
    lists.NextTick();
    EXPECT_TRUE(lists.MatchesTimeOfDay(At(hour, 30, 0))) << hour;
    lists.NextTick();
    EXPECT_FALSE(lists.MatchesTimeOfDay(At(hour, 30, 1))) << hour;
  }
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
TEST(AlarmLists, TheListsOfferTheTextsTheTickActsOn) {
  const ListWords& words = ListWords::Get();
  const std::vector<std::string> actions = form1::ActionItems();
  const AlarmAction named[] = {AlarmAction::kRemind, AlarmAction::kShutDown, AlarmAction::kRestart};
  ASSERT_EQ(actions.size(), 3u);
  for (std::size_t i = 0; i < actions.size(); ++i) {
    EXPECT_EQ(ParseAction(testing::Wide(actions[i]), words), named[i]);
    EXPECT_EQ(ActionText(named[i]), actions[i]);
  }
  EXPECT_EQ(ParseHour(testing::Wide(form1::HourItems().front()), words), TriggerTime::kEveryHour);
}

}  // namespace
}  // namespace norvel
