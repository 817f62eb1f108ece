#include <gtest/gtest.h>

#include "app/reminder_sound.h"

namespace norvel {
namespace {

using Command = ReminderSound::Command;

TEST(ReminderSound, ListTextsAndWhatAValueNames) {
  EXPECT_EQ(SoundKindOf(""), SoundKind::kNone);  // every alarm written before sounds
  EXPECT_EQ(SoundKindOf("无"), SoundKind::kNone);
  EXPECT_EQ(SoundKindOf("铃声"), SoundKind::kBell);
  EXPECT_EQ(SoundKindOf("系统提示音"), SoundKind::kSystem);
  EXPECT_EQ(SoundKindOf("C:\\声音\\门铃.wav"), SoundKind::kFile);
  EXPECT_EQ(SoundListText(""), "无");
  EXPECT_EQ(SoundListText("C:\\声音\\门铃.wav"), "文件: 门铃.wav");
  EXPECT_TRUE(LooksLikeWave(std::string("RIFF\x24\x08\0\0WAVEfmt ", 16)));
  EXPECT_FALSE(LooksLikeWave("RIFF\x24\x08\0\0AVI "));
  EXPECT_FALSE(LooksLikeWave("RIFF"));
}

// One sound a tick, the first alarm's; it stops when none of its reminders is open, at
// 静音, or after five minutes.
TEST(ReminderSound, PlaysUntilItsRemindersAreGoneMutedOrFiveMinutesPassed) {
  ReminderSound sound;
  EXPECT_EQ(sound.Shown(1, true, true, 0), Command::kPlay);
  EXPECT_EQ(sound.Shown(2, false, true, 0), Command::kNothing);  // joins the first one's
  EXPECT_EQ(sound.Ended(1), Command::kNothing);                  // reminder 2 is still open
  EXPECT_EQ(sound.Ended(2), Command::kStop);                     // closed or put off

  EXPECT_EQ(sound.Shown(3, true, true, 1000), Command::kPlay);
  EXPECT_EQ(sound.Look(1000 + ReminderSound::kLongestMs - 1), Command::kNothing);
  EXPECT_EQ(sound.Look(1000 + ReminderSound::kLongestMs), Command::kStop);
  EXPECT_EQ(sound.Ended(3), Command::kNothing);  // stopped already

  EXPECT_EQ(sound.Shown(4, true, true, 0), Command::kPlay);
  EXPECT_EQ(sound.Muted(), Command::kStop);
  EXPECT_EQ(sound.Muted(), Command::kNothing);

  // A silent first alarm: no sound for its tick, whatever the second has.
  EXPECT_EQ(sound.Shown(5, true, false, 0), Command::kNothing);
  EXPECT_EQ(sound.Shown(6, false, true, 0), Command::kNothing);
  EXPECT_FALSE(sound.playing());
}

}  // namespace
}  // namespace norvel
