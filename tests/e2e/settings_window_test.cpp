// The settings window as a user meets it: first start, stored settings, OK, the picture
// chooser, and a save that fails.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/form1_layout.h"
#include "driver/input.h"
#include "driver/norvel_process.h"
#include "driver/timing.h"
#include "driver/settings_window.h"
#include "driver/ui.h"
#include "toolkit/codepage.h"
#include "toolkit/layout.h"

namespace norvel::e2e {
namespace {

TEST_F(SettingsWindow, FirstStartWithoutSettingsFile) {
  ASSERT_TRUE(StartAndWait());
  EXPECT_EQ(TextOf(Control(form1::kText1)), "时间到,请休息!");
  for (const int id :
       {form1::kCombo1, form1::kCombo2, form1::kCombo3, form1::kCombo4, form1::kText2}) {
    EXPECT_EQ(TextOf(Control(id)), "") << id;
  }
  EXPECT_EQ(ComboItems(Control(form1::kCombo1)), form1::HourItems());
  EXPECT_EQ(ComboItems(Control(form1::kCombo2)), form1::MinuteItems());
  EXPECT_EQ(ComboItems(Control(form1::kCombo3)), form1::SecondItems());
  EXPECT_EQ(ComboItems(Control(form1::kCombo4)), form1::ActionItems());
  EXPECT_EQ(ComboItems(Control(form1::kCombo5)), form1::DayItems());
  EXPECT_EQ(TextOf(Control(form1::kCombo5)), "每天");
  EXPECT_EQ(ComboItems(Control(form1::kCombo6)), form1::SoundItems());
  EXPECT_EQ(TextOf(Control(form1::kCombo6)), "无");  // silent, as every alarm before
  EXPECT_EQ(GetWindowLongW(Control(form1::kCombo5), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(GetFileAttributesW(norvel_.SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);
  SaveScreenshot("settings-window-first-start");
}

TEST_F(SettingsWindow, FrameStyleSizeTopmostAndCaptions) {
  ASSERT_TRUE(StartAndWait());
  const LONG style = GetWindowLongW(form1_, GWL_STYLE);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(GetWindowLongW(form1_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  const int dpi = ScreenDpi();
  const SIZE client = ClientSize(form1_);
  EXPECT_EQ(client.cx, TwipsToPixels(form1::kClientWidth, dpi));
  EXPECT_EQ(client.cy, TwipsToPixels(form1::kClientHeight, dpi));
  // Every control is where its layout puts it, with its caption.
  const auto controls = form1::Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const HWND control = Control(controls[i].id);
    ASSERT_NE(control, nullptr) << controls[i].name;
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, form1_, reinterpret_cast<POINT*>(&rect), 2);
    const PixelRect expected = ControlRect(controls, i, dpi);
    EXPECT_EQ(rect.left, expected.left) << controls[i].name;
    EXPECT_EQ(rect.top, expected.top) << controls[i].name;
    EXPECT_EQ(rect.right - rect.left, expected.width) << controls[i].name;
    // (Label5, the status line, has the time in it by now.)
    if (controls[i].id != form1::kLabel5 &&
        (controls[i].kind == ControlKind::kFrame || controls[i].kind == ControlKind::kButton ||
         controls[i].kind == ControlKind::kLabel)) {
      EXPECT_EQ(TextOf(control), controls[i].caption) << controls[i].name;
    }
  }
  // Centred on the screen.
  RECT outer{};
  GetWindowRect(form1_, &outer);
  EXPECT_EQ(outer.left, CentreOffset(GetSystemMetrics(SM_CXSCREEN), outer.right - outer.left));
  EXPECT_EQ(outer.top, CentreOffset(GetSystemMetrics(SM_CYSCREEN), outer.bottom - outer.top));
}

TEST_F(SettingsWindow, TabMovesThroughTheControlsInDesignOrder) {
  ASSERT_TRUE(StartAndWait());
  // 删除 is grey while alarm 1 is selected: Tab passes it by.
  const int expected[] = {
      form1::kCombo2,     form1::kCombo3,      form1::kCombo4, form1::kCombo5,   form1::kCombo6,
      form1::kCommand1,   form1::kText1,       form1::kText2,  form1::kCommand2, form1::kAlarmList,
      form1::kCommandNew, form1::kCommandCopy, form1::kCombo1};
  HWND current = Control(form1::kCombo1);
  for (const int id : expected) {
    current = GetNextDlgTabItem(form1_, current, FALSE);
    ASSERT_NE(current, nullptr);
    // A combo box's edit field is a child of the combo box.
    const HWND parent = GetParent(current);
    const int current_id = parent == form1_ ? GetDlgCtrlID(current) : GetDlgCtrlID(parent);
    EXPECT_EQ(current_id, id);
  }
}

// The control that has the keyboard focus: a combo box for its edit field.
int FocusedId(HWND form1) {
  HWND focus = FocusOfThread(form1);
  if (focus && GetParent(focus) != form1) focus = GetParent(focus);
  return focus ? GetDlgCtrlID(focus) : 0;
}

POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Keys pressed on the display, as a person types them. Esc in the message box once ended
// the program, and Tab could not leave it.
TEST_F(SettingsWindow, KeysMoveAndPressAsInADialog) {
  ASSERT_TRUE(StartAndWait());
  const auto focus_becomes = [&](int id) {
    return WaitUntil([&] { return FocusedId(form1_) == id; }, 3000);
  };
  Click(CentreOf(Control(form1::kText1)));
  ASSERT_TRUE(focus_becomes(form1::kText1));
  PressKey(VK_ESCAPE);
  // Tab from the message box goes on through the whole tab order, and Shift+Tab back.
  const int forward[] = {
      form1::kText2,  form1::kCommand2, form1::kAlarmList, form1::kCommandNew, form1::kCommandCopy,
      form1::kCombo1, form1::kCombo2,   form1::kCombo3,    form1::kCombo4,     form1::kCombo5,
      form1::kCombo6, form1::kCommand1, form1::kText1};
  for (const int id : forward) {
    PressKey(VK_TAB);
    EXPECT_TRUE(focus_becomes(id)) << "Tab to " << id << ", focus on " << FocusedId(form1_);
  }
  for (int i = static_cast<int>(std::size(forward)) - 2; i >= -1; --i) {
    PressKey(VK_TAB, VK_SHIFT);
    const int id = i >= 0 ? forward[i] : form1::kText1;
    EXPECT_TRUE(focus_becomes(id)) << "Shift+Tab to " << id << ", focus on " << FocusedId(form1_);
  }
  // Esc (pressed before all that) neither closed nor hid anything.
  EXPECT_FALSE(norvel_.WaitForExit(0));
  EXPECT_TRUE(IsWindowVisible(form1_));

  // Enter in the message box makes a new line and presses nothing.
  Click(CentreOf(Control(form1::kText1)));
  ASSERT_TRUE(focus_becomes(form1::kText1));
  SetTextOf(Control(form1::kText1), "ab");
  PressKey(VK_END, VK_CONTROL);
  PressKey(VK_RETURN);
  PressKey('C');
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(form1::kText1)) == "ab\r\nc"; }, 3000))
      << TextOf(Control(form1::kText1));
  EXPECT_TRUE(IsWindowVisible(form1_));
  EXPECT_EQ(GetFileAttributesW(norvel_.SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);

  // Alt+O presses OK.
  PressKey('O', VK_MENU);
  ASSERT_TRUE(WaitForVisible(form1_, false, 5000));
  EXPECT_NE(norvel_.SettingsBytes().find(Gbk("提示语=ab\\r\\nc\r\n")), std::string::npos);

  // Hidden and shown again from the icon, the control that had the focus has it again.
  const auto icon = FindDialInTray();
  ASSERT_TRUE(icon);
  const POINT dial{(icon->left + icon->right) / 2, (icon->top + icon->bottom) / 2};
  DoubleClick(dial);
  ASSERT_TRUE(WaitForVisible(form1_, true, 5000));
  Click(CentreOf(Control(form1::kText2)));
  ASSERT_TRUE(focus_becomes(form1::kText2));
  DoubleClick(dial);
  ASSERT_TRUE(WaitForVisible(form1_, false, 5000));
  DoubleClick(dial);
  ASSERT_TRUE(WaitForVisible(form1_, true, 5000));
  EXPECT_TRUE(focus_becomes(form1::kText2)) << FocusedId(form1_);
  SaveScreenshot("settings-window-keys");
}

TEST_F(SettingsWindow, StoredSettingsAreShownUnchanged) {
  ASSERT_TRUE(norvel_.WriteSettingsBytes(
      Gbk("[设置]\r\n提示语=喝水\\r\\n起来走走\r\n小时=每小时\r\n分钟=07\r\n秒钟=5\r\n"
          "动作=关闭计算机\r\n图片=C:\\图片\\猫.bmp\r\n日期=工作日\r\n")));
  ASSERT_TRUE(StartAndWait());
  EXPECT_EQ(TextOf(Control(form1::kText1)), "喝水\r\n起来走走");
  EXPECT_EQ(TextOf(Control(form1::kCombo1)), "每小时");
  EXPECT_EQ(ComboItems(Control(form1::kCombo1)).front(), "每小时");
  EXPECT_EQ(TextOf(Control(form1::kCombo2)), "07");
  EXPECT_EQ(TextOf(Control(form1::kCombo3)), "5");
  EXPECT_EQ(TextOf(Control(form1::kCombo4)), "关闭计算机");
  EXPECT_EQ(TextOf(Control(form1::kText2)), "C:\\图片\\猫.bmp");
  EXPECT_EQ(TextOf(Control(form1::kCombo5)), "工作日");
}

// The day list takes no typing: a stored text that is none of its items shows "每天".
TEST_F(SettingsWindow, UnknownStoredDaysShowEveryDay) {
  ASSERT_TRUE(norvel_.WriteSettingsBytes(Gbk("[设置]\r\n日期=周八\r\n")));
  ASSERT_TRUE(StartAndWait());
  EXPECT_EQ(TextOf(Control(form1::kCombo5)), "每天");
}

TEST_F(SettingsWindow, OkSavesEveryKeyAsGbkAndHidesTheWindow) {
  ASSERT_TRUE(StartAndWait());
  SetTextOf(Control(form1::kText1), "该休息了");
  SetTextOf(Control(form1::kCombo1), "每小时");
  SetTextOf(Control(form1::kCombo2), "30");
  SetTextOf(Control(form1::kCombo3), "0");
  SetTextOf(Control(form1::kCombo4), "无动作");
  SetTextOf(Control(form1::kText2), "D:\\a.bmp");
  ChooseComboItem(Control(form1::kCombo5), "周三");
  PressButton(Control(form1::kCommand1));
  ASSERT_TRUE(WaitForVisible(form1_, false, 10000));
  EXPECT_EQ(norvel_.SettingsBytes(),
            Gbk("[设置]\r\n提示语=该休息了\r\n小时=每小时\r\n分钟=30\r\n秒钟=0\r\n动作=无动作\r\n"
                "图片=D:\\a.bmp\r\n日期=周三\r\n"));
}

TEST_F(SettingsWindow, MessageIsLimitedTo255Cp936Bytes) {
  ASSERT_TRUE(StartAndWait());
  const HWND text1 = Control(form1::kText1);
  SetTextOf(text1, std::string(254, 'a'));
  SendMessageW(text1, EM_SETSEL, 254, 254);
  SendMessageW(text1, WM_CHAR, L'字', 0);  // two bytes: refused
  EXPECT_EQ(TextOf(text1), std::string(254, 'a'));
  SendMessageW(text1, WM_CHAR, L'b', 0);  // the 255th byte fits
  EXPECT_EQ(TextOf(text1), std::string(254, 'a') + "b");
  SendMessageW(text1, WM_CHAR, L'c', 0);
  EXPECT_EQ(TextOf(text1), std::string(254, 'a') + "b");
}

TEST_F(SettingsWindow, ReadOnlySettingsFileMakesOkReportAndStayShown) {
  const std::string original = Gbk("[设置]\r\n小时=7\r\n");
  ASSERT_TRUE(norvel_.WriteSettingsBytes(original));
  ASSERT_TRUE(SetFileAttributesW(norvel_.SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(StartAndWait());
  SetTextOf(Control(form1::kCombo1), "8");
  PressButton(Control(form1::kCommand1));
  const HWND box = WaitForTopWindow(norvel_.process_id(), "Norvel", 10000);
  ASSERT_NE(box, nullptr);
  SaveScreenshot("settings-window-save-failed");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
  EXPECT_TRUE(IsWindowVisible(form1_));
  EXPECT_EQ(norvel_.SettingsBytes(), original);
  SetFileAttributesW(norvel_.SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A message that code page 936 cannot hold: once the other five keys were written before
// the failure was reported. Now nothing is written and the message box names the field.
TEST_F(SettingsWindow, UnrepresentableMessageSavesNothingAndNamesTheField) {
  const std::string original = Gbk("[设置]\r\n提示语=旧的\r\n小时=7\r\n");
  ASSERT_TRUE(norvel_.WriteSettingsBytes(original));
  ASSERT_TRUE(StartAndWait());
  SetTextOf(Control(form1::kText1), "안녕하세요");
  SetTextOf(Control(form1::kCombo1), "8");
  Click(CentreOf(Control(form1::kCommand1)));
  const HWND box = WaitForTopWindow(norvel_.process_id(), "Norvel", 10000);
  ASSERT_NE(box, nullptr);
  const HWND text = GetDlgItem(box, 0xFFFF);
  ASSERT_NE(text, nullptr);
  EXPECT_NE(TextOf(text).find("“提示语”"), std::string::npos) << TextOf(text);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
  EXPECT_TRUE(IsWindowVisible(form1_));
  EXPECT_EQ(norvel_.SettingsBytes(), original);
}

}  // namespace
}  // namespace norvel::e2e
