// 稍后提醒 as a user meets it: a real right-click on the reminder, its menu from the keyboard,
// the pending put-off in the icon's menu and in option.ini, and a put-off that outlives the
// program.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/input.h"
#include "driver/norvel_process.h"
#include "driver/timing.h"
#include "driver/trigger.h"
#include "driver/ui.h"
#include "toolkit/codepage.h"

namespace norvel::e2e {
namespace {

std::string Gbk(std::string_view utf8) {
  return Cp936().Encode(utf8).value();
}

POINT Centre(const RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class PutOff : public ::testing::Test {
 protected:
  void Start() {
    ASSERT_TRUE(norvel_.Start());
    form1_ = WaitForSettingsWindow(norvel_.process_id());
    ASSERT_NE(form1_, nullptr);
    // Hidden, as after OK: the topmost settings window would cover the reminder.
    PostMessageW(form1_, WM_APP + 1, 1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitForVisible(form1_, false, 5000));
  }
  // A reminder at a second a little ahead.
  // A reminder at a second a little ahead, once that second is over (every tick of it
  // would bring the reminder back).
  HWND Remind() {
    const Trigger trigger = TriggerIn(2);
    SetTrigger(form1_, trigger, "无动作");
    const HWND form2 = WaitForReminder(norvel_.process_id(), 8000);
    WaitPastTrigger(trigger);
    return form2;
  }
  // Opens a popup menu with a real right-click at `where`.
  HWND RightClickMenu(POINT where) {
    Click(where, /*right=*/true);
    return WaitForPopupMenu();
  }
  // The item of the open menu `rows_down` rows from the top (1: the first), or from the
  // bottom when negative (-1: the last).
  void Choose(HWND menu, int rows) {
    for (int i = 0; i < (rows > 0 ? rows : -rows); ++i) PressKey(rows > 0 ? VK_DOWN : VK_UP);
    PressKey(VK_RETURN);
    WaitUntil([&] { return !IsWindowVisible(menu); }, 5000);
  }
  // The kept put-off, "" when there is none.
  std::string Kept() const {
    const std::string bytes = norvel_.SettingsBytes();
    const std::string key = Gbk("稍后提醒=");
    const auto at = bytes.find(key);
    return at == std::string::npos ? "" : bytes.substr(at + key.size(), 19);
  }
  // The stamps of `seconds` from now, give or take a second or two.
  static std::vector<std::string> StampsIn(int seconds) {
    return {StampIn(seconds - 1), StampIn(seconds), StampIn(seconds + 1), StampIn(seconds + 2)};
  }
  bool KeptAt(const std::vector<std::string>& stamps) const {
    return std::find(stamps.begin(), stamps.end(), Kept()) != stamps.end();
  }

  NorvelProcess norvel_;
  HWND form1_ = nullptr;
};

// The menu's items in order, chosen from the keyboard: 5, 10 and 30 minutes are kept to the
// second (each later choice replacing the earlier one), "关闭" closes; the icon's menu then has the
// pending put-off before "退出", and cancelling it there forgets it.
TEST_F(PutOff, TheReminderMenuPutsOffOrClosesAndTheIconsMenuCancels) {
  Start();
  const struct {
    int row;  // from the top, or from the bottom when negative
    int kept_in;
  } choices[] = {{1, 300}, {2, 600}, {3, 1800}, {-1, 0}};
  for (const auto& choice : choices) {
    const HWND form2 = Remind();
    ASSERT_NE(form2, nullptr);
    RECT r{};
    GetWindowRect(form2, &r);
    const HWND menu = RightClickMenu(Centre(r));
    ASSERT_NE(menu, nullptr);
    if (choice.row == 2) SaveScreenshot("reminder-menu");
    const std::vector<std::string> expected =
        choice.row > 0 ? StampsIn(choice.kept_in) : std::vector<std::string>{Kept()};
    Choose(menu, choice.row);
    EXPECT_TRUE(WaitUntil([&] { return FindReminder(norvel_.process_id()) == nullptr; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return KeptAt(expected); }, 3000)) << choice.row << ": " << Kept();
    if (choice.row == 1) {
      EXPECT_EQ(WaitForReminder(norvel_.process_id(), 1500), nullptr) << "back before its time";
    }
  }
  const auto icon = FindDialInTray();
  ASSERT_TRUE(icon);
  HWND menu = RightClickMenu(Centre(*icon));
  ASSERT_NE(menu, nullptr);
  RECT pending{};
  GetWindowRect(menu, &pending);
  SaveScreenshot("tray-menu-put-off");
  Choose(menu, -2);  // "取消稍后提醒 (HH:MM:SS)", just before "退出"
  EXPECT_TRUE(WaitUntil([&] { return Kept().empty(); }, 3000)) << Kept();
  menu = RightClickMenu(Centre(*icon));
  ASSERT_NE(menu, nullptr);
  RECT plain{};
  GetWindowRect(menu, &plain);
  EXPECT_LT(plain.bottom - plain.top, pending.bottom - pending.top) << "one item fewer";
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(norvel_.WaitForExit(0));
}

// Killed while a put-off was pending, the next start arms it again and it comes in its second;
// one that passed while the program was not running comes at start when at most an hour late.
TEST_F(PutOff, KeptAcrossARestart) {
  const struct {
    int in;  // seconds from now (negative: late)
    bool shown_at_start, shown_later;
  } rows[] = {{6, false, true}, {-59 * 60, true, false}, {-61 * 60, false, false}};
  for (const auto& row : rows) {
    NorvelProcess norvel;
    ASSERT_TRUE(norvel.WriteSettingsBytes(Gbk("[状态]\r\n稍后提醒=" + StampIn(row.in) + "\r\n")));
    const ULONGLONG due_tick = GetTickCount64() + 1000ull * (row.in > 0 ? row.in : 0);
    ASSERT_TRUE(norvel.Start());
    ASSERT_NE(WaitForSettingsWindow(norvel.process_id()), nullptr);
    EXPECT_EQ(WaitForReminder(norvel.process_id(), 2000) != nullptr, row.shown_at_start) << row.in;
    if (row.in > 0) {
      const HWND form2 = WaitForReminder(norvel.process_id(), 10000);
      ASSERT_NE(form2, nullptr);
      EXPECT_GE(GetTickCount64() + 1000, due_tick) << "before its second";
      EXPECT_NE(norvel.LogBytes().find("显示稍后提醒"), std::string::npos) << norvel.LogBytes();
    }
    // Rung or dropped, it is no longer kept.
    EXPECT_TRUE(WaitUntil(
        [&] { return norvel.SettingsBytes().find(Gbk("稍后提醒")) == std::string::npos; }, 3000))
        << row.in;
    norvel.Kill();
  }
}

// After 退出 nothing would bring a put-off back in this run: the reminder's delays are
// disabled (choosing one does nothing and keeps nothing), and only "关闭" works.
TEST_F(PutOff, AfterExitOnlyCloseWorks) {
  Start();
  const HWND form2 = Remind();
  ASSERT_NE(form2, nullptr);
  const auto icon = FindDialInTray();
  ASSERT_TRUE(icon);
  ASSERT_NE(RightClickMenu(Centre(*icon)), nullptr);
  PressKey(VK_UP);
  PressKey(VK_RETURN);  // "退出", the last item
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(form1_); }, 5000));
  RECT r{};
  GetWindowRect(form2, &r);
  HWND menu = RightClickMenu(Centre(r));
  ASSERT_NE(menu, nullptr);
  SaveScreenshot("reminder-menu-after-exit");
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);  // "5 分钟后再提醒", disabled
  PressKey(VK_ESCAPE);
  WaitUntil([&] { return !IsWindowVisible(menu); }, 3000);
  EXPECT_TRUE(IsWindow(form2)) << "a disabled delay closed the reminder";
  EXPECT_EQ(Kept(), "");
  menu = RightClickMenu(Centre(r));
  ASSERT_NE(menu, nullptr);
  Choose(menu, -1);  // "关闭"
  EXPECT_TRUE(norvel_.WaitForExit(5000));
  EXPECT_EQ(Kept(), "");
}

// A put-off that cannot be kept (option.ini read-only) is written down with the key and the
// reason, and told; the reminder is still put off in this run.
TEST_F(PutOff, AKeepThatFailsIsWrittenDownAndTold) {
  ASSERT_TRUE(norvel_.WriteSettingsBytes(Gbk("[设置]\r\n提示语=x\r\n")));
  const std::wstring settings = norvel_.folder() + L"\\option.ini";
  ASSERT_TRUE(SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_READONLY));
  Start();
  const HWND form2 = Remind();
  ASSERT_NE(form2, nullptr);
  RECT r{};
  GetWindowRect(form2, &r);
  const HWND menu = RightClickMenu(Centre(r));
  ASSERT_NE(menu, nullptr);
  Choose(menu, 1);
  EXPECT_TRUE(WaitUntil([&] { return FindReminder(norvel_.process_id()) == nullptr; }, 3000));
  EXPECT_TRUE(WaitUntil(
      [&] {
        return norvel_.LogBytes().find("无法保存稍后提醒 ([状态] 稍后提醒): option.ini 是只读的") !=
               std::string::npos;
      },
      3000))
      << norvel_.LogBytes();
  SaveScreenshot("state-write-failed-balloon");
  SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Kept(), "");
}

}  // namespace
}  // namespace norvel::e2e
