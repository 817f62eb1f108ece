// The notification-area icon and its menu, driven with real mouse and keyboard input on
// the icon in the taskbar, and the main window's close, credit box and second start.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include "app/form1_layout.h"
#include "driver/input.h"
#include "driver/norvel_process.h"
#include "driver/timing.h"
#include "driver/trigger.h"
#include "driver/ui.h"

namespace norvel::e2e {
namespace {

POINT Centre(const RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool IsTopmost(HWND window) {
  return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

class Tray : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(FindDialInTray()) << "a dial icon is left over from an earlier program";
    ASSERT_TRUE(norvel_.Start());
    form1_ = WaitForSettingsWindow(norvel_.process_id());
    ASSERT_NE(form1_, nullptr);
    ASSERT_TRUE(WaitForVisible(form1_, true, 10000));
    ASSERT_TRUE(WaitUntil([&] { return (icon_ = FindDialInTray()).has_value(); }, 10000));
  }
  void PostTrayCallback(UINT mouse_message) { PostMessageW(form1_, WM_APP + 1, 1, mouse_message); }

  NorvelProcess norvel_;
  HWND form1_ = nullptr;
  std::optional<RECT> icon_;
};

TEST_F(Tray, IconShowsItsTipAndDoubleClickHidesAndShowsTheWindow) {
  SaveScreenshot("tray-icon");
  MoveMouse(Centre(*icon_));
  HWND tip = nullptr;
  EXPECT_TRUE(WaitUntil(
      [&] {
        tip = FindWindowW(L"tooltips_class32", nullptr);
        // The second line names the next ring of all alarms: none on a first start.
        return tip && IsWindowVisible(tip) && TextOf(tip) == "Norvel V0.20\n下次: —";
      },
      8000))
      << (tip ? TextOf(tip) : std::string("no tip"));

  DoubleClick(Centre(*icon_));
  ASSERT_TRUE(WaitForVisible(form1_, false, 5000));
  EXPECT_TRUE(IsIconic(form1_));
  DoubleClick(Centre(*icon_));
  ASSERT_TRUE(WaitForVisible(form1_, true, 5000));
  EXPECT_FALSE(IsIconic(form1_));
  EXPECT_TRUE(IsTopmost(form1_));
}

TEST_F(Tray, RightClickOpensTheMenuAndShowWindowKeepsItShown) {
  Click(Centre(*icon_), /*right=*/true);
  const HWND menu = WaitForPopupMenu();
  ASSERT_NE(menu, nullptr);
  SaveScreenshot("tray-menu");
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);  // "显示窗口"
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
  EXPECT_TRUE(IsWindowVisible(form1_));
  EXPECT_TRUE(IsTopmost(form1_));
  // From the hidden state, too.
  PostTrayCallback(WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitForVisible(form1_, false, 5000));
  PostTrayCallback(WM_RBUTTONUP);
  ASSERT_NE(WaitForPopupMenu(), nullptr);
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitForVisible(form1_, true, 5000));
  EXPECT_FALSE(IsIconic(form1_));
}

TEST_F(Tray, ExitFromTheMenuRemovesTheIconAndEndsTheProgram) {
  Click(Centre(*icon_), /*right=*/true);
  ASSERT_NE(WaitForPopupMenu(), nullptr);
  PressKey(VK_UP);
  PressKey(VK_RETURN);  // "退出", the last item
  DWORD exit_code = 1;
  ASSERT_TRUE(norvel_.WaitForExit(10000, &exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_TRUE(WaitUntil([] { return !FindDialInTray(); }, 5000));
}

TEST_F(Tray, CloseBoxRemovesTheIconAndEndsTheProgram) {
  PostMessageW(form1_, WM_SYSCOMMAND, SC_CLOSE, 0);
  DWORD exit_code = 1;
  ASSERT_TRUE(norvel_.WaitForExit(10000, &exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_TRUE(WaitUntil([] { return !FindDialInTray(); }, 5000));
}

TEST_F(Tray, OtherMouseMessagesDoNothing) {
  for (const UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN}) {
    PostTrayCallback(message);
  }
  // A mouse move over the window itself is no tray message either.
  PostMessageW(form1_, WM_MOUSEMOVE, 0, MAKELPARAM(515, 5));
  PostMessageW(form1_, WM_MOUSEMOVE, 0, MAKELPARAM(517, 5));
  EXPECT_FALSE(WaitForVisible(form1_, false, 1000));
  EXPECT_EQ(FindWindowW(L"#32768", nullptr) && IsWindowVisible(FindWindowW(L"#32768", nullptr)),
            false);
}

TEST_F(Tray, IconComesBackWhenTheShellRestarts) {
  NOTIFYICONDATAW remove{};
  remove.cbSize = sizeof remove;
  remove.hWnd = form1_;
  remove.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &remove));
  ASSERT_TRUE(WaitUntil([] { return !FindDialInTray(); }, 5000));
  const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
  SendMessageTimeoutW(HWND_BROADCAST, taskbar_created, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return (icon_ = FindDialInTray()).has_value(); }, 5000));
  DoubleClick(Centre(*icon_));
  EXPECT_TRUE(WaitForVisible(form1_, false, 5000));
}

TEST_F(Tray, SecondStartShowsTheFirstWindowAndEnds) {
  PostTrayCallback(WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitForVisible(form1_, false, 5000));
  NorvelProcess second;
  ASSERT_TRUE(second.Start());
  DWORD exit_code = 1;
  ASSERT_TRUE(second.WaitForExit(20000, &exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_TRUE(WaitForVisible(form1_, true, 5000));
  EXPECT_TRUE(IsTopmost(form1_));
  const auto icon = FindDialInTray();
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->right - icon->left, icon_->right - icon_->left);  // still one icon
}

// 退出 while a reminder is open: the process lives on for its reminder, and once a new start
// then showed nothing (the old process still held the single-instance guard).
TEST_F(Tray, NewStartAfterExitWithAReminderOpenHasItsOwnWindowAndIcon) {
  SetTrigger(form1_, TriggerIn(2), "无动作");
  const HWND reminder = WaitForReminder(norvel_.process_id(), 8000);
  ASSERT_NE(reminder, nullptr);
  Click(Centre(*icon_), /*right=*/true);
  ASSERT_NE(WaitForPopupMenu(), nullptr);
  PressKey(VK_UP);
  PressKey(VK_RETURN);  // "退出", the last item
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(form1_); }, 5000));
  ASSERT_TRUE(WaitUntil([] { return !FindDialInTray(); }, 5000));
  EXPECT_FALSE(norvel_.WaitForExit(0)) << "the open reminder keeps the program running";

  NorvelProcess second;
  ASSERT_TRUE(second.Start());
  const HWND second_form1 = WaitForSettingsWindow(second.process_id());
  ASSERT_NE(second_form1, nullptr);
  EXPECT_TRUE(WaitForVisible(second_form1, true, 5000));
  EXPECT_TRUE(WaitUntil([] { return FindDialInTray().has_value(); }, 10000));

  // The old process still ends when its reminder closes; the new one runs on. (The new
  // settings window, topmost and centred, covers the reminder: moved to the screen's corner
  // as a user drags it, and the reminder double-clicked near its bottom right.)
  SetWindowPos(second_form1, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(reminder, &client);
  POINT near_bottom{client.right - 10, client.bottom - 6};
  ClientToScreen(reminder, &near_bottom);
  DoubleClick(near_bottom);
  EXPECT_TRUE(norvel_.WaitForExit(10000));
  EXPECT_FALSE(second.WaitForExit(0));
}

TEST_F(Tray, DoubleClickOnTheMarginShowsTheCreditBoxOnly) {
  RECT frame{};
  GetWindowRect(GetDlgItem(form1_, form1::kFrame1), &frame);
  // Inside the frame, away from every control: nothing.
  DoubleClick({frame.right - 4, frame.bottom - 4});
  EXPECT_EQ(WaitForTopWindow(norvel_.process_id(), "你知道吗:", 1000), nullptr);
  // The margin between the window's edge and the frame.
  DoubleClick({frame.left - 3, frame.top + 20});
  const HWND box = WaitForTopWindow(norvel_.process_id(), "你知道吗:", 5000);
  ASSERT_NE(box, nullptr);
  SaveScreenshot("credit-box");
  EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
  const HWND icon = GetDlgItem(box, 0x14);  // a message box's icon, when it has one
  EXPECT_TRUE(!icon || !IsWindowVisible(icon));
  const HWND text = GetDlgItem(box, 0xFFFF);
  ASSERT_NE(text, nullptr);
  EXPECT_NE(TextOf(text).find("Norvel 0.2"), std::string::npos) << TextOf(text);

  // The alarm still fires while the credit box is open.
  const Trigger trigger = TriggerIn(2);
  SetTrigger(form1_, trigger, "无动作");
  EXPECT_NE(WaitForReminder(norvel_.process_id(), 6000), nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Tray, AlarmFiresWhileTheMenuIsOpen) {
  const Trigger trigger = TriggerIn(3);
  SetTrigger(form1_, trigger, "无动作");
  Click(Centre(*icon_), /*right=*/true);
  ASSERT_NE(WaitForPopupMenu(), nullptr);
  EXPECT_NE(WaitForReminder(norvel_.process_id(), 6000), nullptr);
  PressKey(VK_ESCAPE);
}

}  // namespace
}  // namespace norvel::e2e
