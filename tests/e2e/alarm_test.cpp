// The alarm as it fires in the real program: the lists are set (without OK) to a second a
// few seconds ahead, and the test watches the desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "app/form1_layout.h"
#include "driver/desktop_windows.h"
#include "driver/norvel_process.h"
#include "driver/timing.h"
#include "driver/trigger.h"
#include "driver/ui.h"
#include "win_test_util.h"

namespace norvel::e2e {
namespace {

class Alarm : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(norvel_.Start());
    form1_ = WaitForSettingsWindow(norvel_.process_id());
    ASSERT_NE(form1_, nullptr);
  }
  HWND Control(int id) const { return GetDlgItem(form1_, id); }

  NorvelProcess norvel_;
  HWND form1_ = nullptr;
};

TEST_F(Alarm, StatusLineShowsDateTimeAndWeekdayLive) {
  std::string first;
  ASSERT_TRUE(WaitUntil([&] { return !(first = TextOf(Control(form1::kLabel5))).empty(); }, 5000));
  SYSTEMTIME st{};
  GetLocalTime(&st);
  const std::regex pattern("今天是: .+  现在时间: .+  星期 ([0-6])");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(first, match, pattern)) << first;
  EXPECT_EQ(match[1].str(), std::to_string(st.wDayOfWeek));
  // It keeps running: the time in it changes within a little more than a second.
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(form1::kLabel5)) != first; }, 3000));
  SaveScreenshot("settings-window-status-line");
}

TEST_F(Alarm, ReminderMinimizesOnlyVisibleWindowsWithMinimizeBoxAndShowsForm2) {
  DesktopWindows desktop;
  const Trigger trigger = TriggerIn(3);
  SetTrigger(form1_, trigger, "无动作");
  const HWND form2 = WaitForReminder(norvel_.process_id(), 8000);
  ASSERT_NE(form2, nullptr);
  // Not before the matching second.
  EXPECT_GE(GetTickCount64() + 60, trigger.at_tick);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(form2) != FALSE; }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(desktop.minimizable()) != FALSE; }, 2000));
  EXPECT_FALSE(IsIconic(desktop.dialog()));
  EXPECT_FALSE(IsIconic(desktop.hidden()));
  EXPECT_FALSE(IsWindowVisible(desktop.hidden()));
  EXPECT_FALSE(IsIconic(form1_));
  EXPECT_FALSE(IsIconic(form2));
  EXPECT_FALSE(GetWindowLongW(form2, GWL_STYLE) & WS_MINIMIZEBOX);
  SaveScreenshot("reminder-design-layout");

  // Within the matching second every tick acts again: a window restored meanwhile is
  // minimized again. After that second nothing more happens.
  ShowWindow(desktop.minimizable(), SW_RESTORE);
  const ULONGLONG end_of_second = trigger.at_tick + 1000;
  if (GetTickCount64() + 300 < end_of_second) {
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(desktop.minimizable()) != FALSE; }, 1000));
  }
  WaitUntil([&] { return GetTickCount64() > end_of_second + 200; }, 3000);
  ShowWindow(desktop.minimizable(), SW_RESTORE);
  PostMessageW(form2, WM_CLOSE, 0, 0);
  EXPECT_FALSE(WaitUntil([&] { return IsIconic(desktop.minimizable()) != FALSE; }, 1500));
  EXPECT_EQ(FindReminder(norvel_.process_id()), nullptr);
  // Written down once, with the time stamp of its second.
  const std::string log = norvel_.LogBytes();
  EXPECT_TRUE(std::regex_search(
      log, std::regex("^\xEF\xBB\xBF[0-9]{4}-[0-9]{2}-[0-9]{2} " + ClockText(trigger) +
                      "  闹钟1 显示提醒 \\(" + ClockText(trigger) + "\\)\r\n$")))
      << log;
}

TEST_F(Alarm, UnknownOrEmptyActionNeverActs) {
  DesktopWindows desktop;
  const Trigger trigger = TriggerIn(2);
  SetTrigger(form1_, trigger, "");
  WaitPastTrigger(trigger);
  EXPECT_EQ(FindReminder(norvel_.process_id()), nullptr);
  EXPECT_FALSE(IsIconic(desktop.minimizable()));
}

// A program held up over its trigger second (a busy machine, a stalled thread) once never
// showed that reminder. It comes once, right after.
TEST_F(Alarm, ReminderMissedWhileHeldUpComesOnceRightAfter) {
  PostMessageW(form1_, WM_APP + 1, 1, WM_LBUTTONDBLCLK);  // hidden, as after OK
  ASSERT_TRUE(WaitForVisible(form1_, false, 5000));
  const Trigger trigger = TriggerIn(3);
  SetTrigger(form1_, trigger, "无动作");
  WaitUntil([&] { return GetTickCount64() + 1500 >= trigger.at_tick; }, 5000);
  norvel_.HoldUpUntil(trigger.at_tick + 3500);  // 4.5 s, the trigger second in the middle
  const HWND form2 = WaitForReminder(norvel_.process_id(), 3000);
  ASSERT_NE(form2, nullptr);
  EXPECT_TRUE(WaitForVisible(form2, true, 2000));
  PostMessageW(form2, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return FindReminder(norvel_.process_id()) == nullptr; }, 3000));
  EXPECT_EQ(WaitForReminder(norvel_.process_id(), 1500), nullptr) << "caught up only once";
  EXPECT_NE(norvel_.LogBytes().find("补显提醒 (" + ClockText(trigger) + ", 晚了 "),
            std::string::npos)
      << norvel_.LogBytes();
}

// The day list as a user picks it, with a holidays.txt of their own beside the program.
struct DayCase {
  const char* name;
  bool off_in_file;  // holidays.txt makes the trigger's day a day off
  int weekday_offset;  // -1: the list's "工作日"/"休息日" below; else the trigger's weekday + this
  const char* days;
  bool rings;
};

// The local date `days` from now, and its weekday (0: Sunday).
SYSTEMTIME DateIn(int days) {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t{};
  t.LowPart = now.dwLowDateTime, t.HighPart = now.dwHighDateTime;
  t.QuadPart += static_cast<ULONGLONG>(days) * 24 * 3600 * 10'000'000ULL;
  const FILETIME then{t.LowPart, t.HighPart};
  FILETIME local{};
  FileTimeToLocalFileTime(&then, &local);
  SYSTEMTIME date{};
  FileTimeToSystemTime(&local, &date);
  return date;
}

// The weekday of a trigger's date ("YYYY-MM-DD").
int WeekdayOf(const Trigger& trigger) {
  for (int days : {0, 1}) {
    const SYSTEMTIME d = DateIn(days);
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", d.wYear, d.wMonth, d.wDay);
    if (trigger.date == text) return d.wDayOfWeek;
  }
  return -1;
}

class DayList : public ::testing::TestWithParam<DayCase> {};

// The trigger's day, not the day the test began: around midnight the file holds today and
// tomorrow, and the weekday is the trigger's own.
TEST_P(DayList, RingsOnlyOnTheDaysChosen) {
  const DayCase& c = GetParam();
  NorvelProcess norvel;
  if (c.off_in_file) {
    std::string lines = "# 公司的安排\r\n";
    for (int days : {0, 1}) {
      const SYSTEMTIME d = DateIn(days);
      char line[32];
      std::snprintf(line, sizeof line, "%04u-%02u-%02u 休\r\n", d.wYear, d.wMonth, d.wDay);
      lines += line;
    }
    ASSERT_TRUE(testing::WriteFileBytes(norvel.folder() + L"\\holidays.txt", lines));
  }
  ASSERT_TRUE(norvel.Start());
  const HWND form1 = WaitForSettingsWindow(norvel.process_id());
  ASSERT_NE(form1, nullptr);
  const Trigger trigger = TriggerIn(3);
  const int weekday = WeekdayOf(trigger);
  ASSERT_GE(weekday, 0) << trigger.date;
  // "周一" is the fourth item; Sunday is weekday 0 and the last item.
  const std::string days =
      c.weekday_offset < 0 ? c.days : form1::DayItems()[3 + (weekday + 6 + c.weekday_offset) % 7];
  ASSERT_TRUE(ChooseComboItem(GetDlgItem(form1, form1::kCombo5), days));
  SetTrigger(form1, trigger, "无动作");
  WaitPastTrigger(trigger);
  EXPECT_EQ(FindReminder(norvel.process_id()) != nullptr, c.rings) << c.name << ": " << days;
}

INSTANTIATE_TEST_SUITE_P(
    Days, DayList,
    ::testing::Values(DayCase{"TodaysWeekday", false, 0, nullptr, true},
                      DayCase{"AnotherWeekday", false, 3, nullptr, false},
                      DayCase{"WorkDaysOnADayOffOfTheFile", true, -1, "工作日", false},
                      DayCase{"RestDaysOnADayOffOfTheFile", true, -1, "休息日", true}),
    [](const ::testing::TestParamInfo<DayCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace norvel::e2e
