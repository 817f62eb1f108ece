// A reminder's sound as the real program plays it, proven by Wine's relay trace of
// winmm.PlaySoundW: the bell from memory, asynchronous and repeating, as the reminder comes;
// stopped (a null sound) by 静音, by closing the reminder and by putting it off; a sound file
// that is not there plays the bell. (The stop
// after five minutes is decided by the portable ReminderSound, tested natively.)
#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "driver/input.h"
#include "driver/settings_window.h"
#include "driver/traced.h"
#include "driver/trigger.h"

namespace norvel::e2e {
namespace {

POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(Traced, ReminderSoundLoopsUntilMutedClosedOrPutOff) {
  ASSERT_TRUE(
      norvel_.WriteSettingsBytes(Gbk("[设置]\r\n提示语=响铃\r\n动作=无动作\r\n声音=铃声\r\n")));
  const HWND form1 = Start(L"winmm.PlaySoundW");
  ASSERT_NE(form1, nullptr);
  // Out of the reminders' way (the settings window is topmost and centred).
  SetWindowPos(form1, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::string loop = std::to_string(SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP);
  // Each row: the reminder comes, then the menu item chosen from the bottom (静音, 关闭) or
  // the top (5 分钟后再提醒).
  const struct {
    const char* what;
    int rows;  // negative: from the bottom
    bool closes;
  } rows[] = {{"静音", -2, false}, {"关闭", -1, true}, {"5 分钟后再提醒", 1, true}};
  std::vector<std::string> expected;
  for (const auto& row : rows) {
    const Trigger trigger = TriggerIn(2);
    SetTrigger(form1, trigger, "无动作");
    const HWND form2 = WaitForReminder(norvel_.process_id(), 8000);
    ASSERT_NE(form2, nullptr) << row.what;
    WaitPastTrigger(trigger);
    expected.push_back(loop);
    EXPECT_TRUE(WaitUntil([&] { return PlaySoundCalls(Trace()) == expected; }, 3000))
        << row.what << ": " << ::testing::PrintToString(PlaySoundCalls(Trace()));
    Click(CentreOf(form2), /*right=*/true);
    const HWND menu = WaitForPopupMenu();
    ASSERT_NE(menu, nullptr);
    for (int i = 0; i < (row.rows > 0 ? row.rows : -row.rows); ++i) {
      PressKey(row.rows > 0 ? VK_DOWN : VK_UP);
    }
    PressKey(VK_RETURN);
    expected.push_back("stop");
    EXPECT_TRUE(WaitUntil([&] { return PlaySoundCalls(Trace()) == expected; }, 3000))
        << row.what << ": " << ::testing::PrintToString(PlaySoundCalls(Trace()));
    EXPECT_EQ(WaitUntil([&] { return !IsWindow(form2); }, 3000), row.closes) << row.what;
    if (!row.closes) PostMessageW(form2, WM_CLOSE, 0, 0);  // closed without a second stop
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(form2); }, 3000));
  }
  EXPECT_EQ(PlaySoundCalls(Trace()), expected) << "nothing more after the last";

  // A sound file that is not there plays the bell instead, and the log says so.
  ASSERT_TRUE(norvel_.WriteSettingsBytes(
      Gbk("[设置]\r\n提示语=响铃\r\n动作=无动作\r\n声音=C:\\没有这个文件.wav\r\n")));
  const Trigger trigger = TriggerIn(2);
  SetTrigger(form1, trigger, "无动作");
  ASSERT_NE(WaitForReminder(norvel_.process_id(), 8000), nullptr);
  expected.push_back(loop);
  EXPECT_TRUE(WaitUntil([&] { return PlaySoundCalls(Trace()) == expected; }, 3000))
      << ::testing::PrintToString(PlaySoundCalls(Trace()));
  EXPECT_NE(norvel_.LogBytes().find("闹钟1 的声音文件无法播放"), std::string::npos)
      << norvel_.LogBytes();
}

}  // namespace
}  // namespace norvel::e2e
