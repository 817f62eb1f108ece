// The alarm list as a user works it with mouse and keyboard: add, copy, delete, switch off,
// edit the selected alarm and see its row follow; OK keeps the list, a restart shows it; two
// alarms of one second ring together, one that is off does not.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/form1_layout.h"
#include "driver/input.h"
#include "driver/list_view.h"
#include "driver/norvel_process.h"
#include "driver/settings_window.h"
#include "driver/timing.h"
#include "driver/trigger.h"
#include "driver/ui.h"

namespace norvel::e2e {
namespace {

POINT Centre(const RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

class AlarmList : public SettingsWindow {
 protected:
  HWND List() const { return Control(form1::kAlarmList); }
  void ClickButton(int id) { Click(Centre(WindowRect(Control(id)))); }
  // Chooses a row with the mouse, as a user does.
  void ChooseRow(int row) {
    Click(Centre(RowRect(List(), row)));
    ASSERT_TRUE(WaitUntil([&] { return SelectedRow(List()) == row; }, 3000)) << row;
  }
  bool RowBecomes(int row, int column, const std::string& text) {
    return WaitUntil([&] { return CellText(List(), row, column) == text; }, 3000);
  }
};

TEST_F(AlarmList, AddCopyDeleteSwitchOffAndEditShowInTheRowsAndOkKeepsThem) {
  ASSERT_TRUE(StartAndWait());
  ASSERT_EQ(RowCount(List()), 1);
  EXPECT_EQ(CellText(List(), 0, 0), "—");  // a first start names no time
  EXPECT_TRUE(RowChecked(List(), 0));
  EXPECT_FALSE(IsWindowEnabled(Control(form1::kCommandDelete)));  // alarm 1 stays
  ASSERT_TRUE(ChooseComboItem(Control(form1::kCombo1), "每小时"));
  ASSERT_TRUE(ChooseComboItem(Control(form1::kCombo2), "0"));
  ASSERT_TRUE(ChooseComboItem(Control(form1::kCombo3), "0"));
  ASSERT_TRUE(ChooseComboItem(Control(form1::kCombo4), "无动作"));
  EXPECT_TRUE(RowBecomes(0, 0, "每小时 :00:00"));

  ClickButton(form1::kCommandNew);
  ASSERT_TRUE(WaitUntil([&] { return RowCount(List()) == 2 && SelectedRow(List()) == 1; }, 3000));
  EXPECT_EQ(TextOf(Control(form1::kText1)), "时间到,请休息!");  // a first start's defaults
  EXPECT_TRUE(IsWindowEnabled(Control(form1::kCommandDelete)));
  // The selected alarm's lists show in its row at once.
  ASSERT_TRUE(ChooseComboItem(Control(form1::kCombo1), "17"));
  ASSERT_TRUE(ChooseComboItem(Control(form1::kCombo2), "30"));
  ASSERT_TRUE(ChooseComboItem(Control(form1::kCombo3), "0"));
  ASSERT_TRUE(ChooseComboItem(Control(form1::kCombo5), "工作日"));
  // The message as typed: its end by the keyboard (a text set from outside is no typing).
  SetTextOf(Control(form1::kText1), "提醒下班\r\n明天");
  Click(Centre(WindowRect(Control(form1::kText1))));
  PressKey(VK_END, VK_CONTROL);
  PressKey('X');
  EXPECT_TRUE(RowBecomes(1, 0, "17:30:00"));
  EXPECT_TRUE(RowBecomes(1, 1, "工作日"));
  EXPECT_TRUE(RowBecomes(1, 3, "提醒下班")) << CellText(List(), 1, 3);
  EXPECT_NE(CellText(List(), 1, 4), "—");              // it rings some day
  EXPECT_EQ(CellText(List(), 0, 0), "每小时 :00:00");  // alarm 1 is as it was

  ClickButton(form1::kCommandCopy);
  ASSERT_TRUE(WaitUntil([&] { return RowCount(List()) == 3 && SelectedRow(List()) == 2; }, 3000));
  EXPECT_EQ(CellText(List(), 2, 0), "17:30:00");
  EXPECT_EQ(CellText(List(), 2, 3), "提醒下班");
  EXPECT_EQ(TextOf(Control(form1::kCombo5)), "工作日");
  SYSTEMTIME now{};
  GetLocalTime(&now);  // half a day away: it never comes while the test runs
  ASSERT_TRUE(ChooseComboItem(Control(form1::kCombo1), std::to_string((now.wHour + 12) % 24)));
  ASSERT_TRUE(ChooseComboItem(Control(form1::kCombo4), "关闭计算机"));
  EXPECT_TRUE(RowBecomes(2, 2, "关闭计算机"));
  EXPECT_EQ(CellText(List(), 1, 2), "");  // the copy's edits are its own
  SaveScreenshot("settings-window", form1_);
  ClickButton(form1::kCommandDelete);
  ASSERT_TRUE(WaitUntil([&] { return RowCount(List()) == 2 && SelectedRow(List()) == 1; }, 3000));

  // Switched off with Space: it names no next ring.
  ChooseRow(1);
  PressKey(VK_SPACE);
  ASSERT_TRUE(WaitUntil([&] { return !RowChecked(List(), 1); }, 3000));
  EXPECT_TRUE(RowBecomes(1, 4, "—"));
  // The first row's lists come back when it is chosen again.
  ChooseRow(0);
  EXPECT_EQ(TextOf(Control(form1::kCombo1)), "每小时");
  EXPECT_FALSE(IsWindowEnabled(Control(form1::kCommandDelete)));
  SaveScreenshot("settings-window-alarm-list", form1_);

  // OK keeps both; the copy that was deleted left no section, and its number is used up.
  ClickButton(form1::kCommand1);
  ASSERT_TRUE(WaitForVisible(form1_, false, 5000));
  const std::string file = norvel_.SettingsBytes();
  EXPECT_NE(file.find(Gbk("[闹钟2]\r\n提示语=提醒下班\\r\\n明天x\r\n小时=17\r\n")),
            std::string::npos)
      << file;
  EXPECT_NE(file.find(Gbk("启用=0")), std::string::npos);
  EXPECT_EQ(file.find(Gbk("[闹钟3]")), std::string::npos);
  EXPECT_NE(file.find(Gbk("最大闹钟号=3")), std::string::npos);

  // A restart shows both rows as they were kept.
  norvel_.Kill();
  ASSERT_TRUE(StartAndWait());
  ASSERT_EQ(RowCount(List()), 2);
  EXPECT_EQ(CellText(List(), 1, 0), "17:30:00");
  EXPECT_TRUE(RowChecked(List(), 0));
  EXPECT_FALSE(RowChecked(List(), 1));
}

TEST_F(AlarmList, TwoAlarmsOfOneSecondGiveTwoRemindersAndOneSwitchedOffNone) {
  ASSERT_TRUE(
      norvel_.WriteSettingsBytes(Gbk("[设置]\r\n提示语=一号提醒\r\n动作=无动作\r\n"
                                     "[闹钟2]\r\n提示语=二号提醒\r\n动作=无动作\r\n"
                                     "[闹钟3]\r\n提示语=三号提醒\r\n动作=无动作\r\n")));
  ASSERT_TRUE(StartAndWait());
  ASSERT_EQ(RowCount(List()), 3);
  // Each alarm's time is set in its own lists, the selected one's as they show.
  const Trigger trigger = TriggerIn(8);
  for (const int row : {2, 1, 0}) {
    ChooseRow(row);
    SetTrigger(form1_, trigger, "无动作");
  }
  ChooseRow(2);
  PressKey(VK_SPACE);  // alarm 3 off
  ASSERT_TRUE(WaitUntil([&] { return !RowChecked(List(), 2); }, 3000));
  ChooseRow(0);

  HWND first = nullptr, second = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        first = FindTopWindow(norvel_.process_id(), "一号提醒");
        second = FindTopWindow(norvel_.process_id(), "二号提醒");
        return first && second && IsWindowVisible(first) && IsWindowVisible(second);
      },
      15000));
  EXPECT_GE(GetTickCount64() + 60, trigger.at_tick);
  // The second of the tick sits 32 pixels down and right of the first.
  RECT a{}, b{};
  GetWindowRect(first, &a);
  GetWindowRect(second, &b);
  EXPECT_EQ(b.left - a.left, 32);
  EXPECT_EQ(b.top - a.top, 32);
  WaitPastTrigger(trigger);
  EXPECT_EQ(FindTopWindow(norvel_.process_id(), "三号提醒"), nullptr);
  SaveScreenshot("two-reminders");
  const std::string log = norvel_.LogBytes();
  const std::string at = ClockText(trigger);
  EXPECT_NE(log.find("闹钟1 显示提醒 (" + at + ")"), std::string::npos) << log;
  EXPECT_NE(log.find("闹钟2 显示提醒 (" + at + ")"), std::string::npos) << log;
  EXPECT_EQ(log.find("闹钟3"), std::string::npos) << log;
}

}  // namespace
}  // namespace norvel::e2e
