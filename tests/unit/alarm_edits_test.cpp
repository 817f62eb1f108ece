#include <gtest/gtest.h>

#include "app/alarm_edits.h"

namespace norvel {
namespace {

AlarmSettings Texts(const char* hour, const char* minute, const char* second,
                    const char* message = "") {
  AlarmSettings texts;
  texts.hour = hour, texts.minute = minute, texts.second = second, texts.message = message;
  return texts;
}

// New numbers continue after the highest ever given (a deleted alarm's number is never
// given again), alarm 1 is never deleted, and at 32 nothing is added.
TEST(AlarmEdits, NumbersAreNeverGivenTwiceAndTheFirstAlarmStays) {
  AlarmEdits edits;
  edits.Load({{StoredAlarm{1, true, Texts("7", "0", "0")}, StoredAlarm{4, false, {}}}, 6, false});
  EXPECT_FALSE(edits.CanDelete());  // alarm 1 selected
  ASSERT_TRUE(edits.CopySelected());
  EXPECT_EQ(edits.Selected().number, 7);
  EXPECT_EQ(edits.Selected().texts, Texts("7", "0", "0"));
  ASSERT_TRUE(edits.DeleteSelected());
  EXPECT_EQ(edits.deleted(), std::vector<int>{7});
  EXPECT_EQ(edits.selected(), 1);  // the one before it
  ASSERT_TRUE(edits.Add(Texts("", "", "")));
  EXPECT_EQ(edits.Selected().number, 8);
  edits.Saved();
  EXPECT_TRUE(edits.deleted().empty());

  while (edits.CanAdd()) edits.Add({});
  EXPECT_EQ(edits.alarms().size(), 32u);
  EXPECT_FALSE(edits.Add({}));
  EXPECT_FALSE(edits.CopySelected());
  edits.Select(0);
  EXPECT_FALSE(edits.DeleteSelected());
}

TEST(AlarmEdits, RowTextsShowTheTimeZeroPaddedAndTheMessagesFirstLine) {
  const struct {
    AlarmSettings texts;
    const char *time, *message;
  } rows[] = {
      {Texts("7", "30", "0", "下班\r\n明天见"), "07:30:00", "下班"},
      {Texts("每小时", "5", "30", "喝水"), "每小时 :05:30", "喝水"},
      {Texts("23", "", "0"), "—", ""},
  };
  for (const auto& row : rows) {
    const AlarmRowTexts shown = RowTextsOf(row.texts);
    EXPECT_EQ(shown.time, row.time);
    EXPECT_EQ(shown.message, row.message);
  }
}

}  // namespace
}  // namespace norvel
