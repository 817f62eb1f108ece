// Start at log-in: the tray menu's "开机时启动" writes and removes the per-user Run value and
// shows its state with a check mark; a "/tray" start stays in the notification area. The
// program runs from a folder whose path has a blank and Chinese characters.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver/input.h"
#include "driver/norvel_process.h"
#include "driver/start_values.h"
#include "driver/timing.h"
#include "driver/ui.h"
#include "toolkit/text_win.h"

namespace norvel::e2e {
namespace {

constexpr wchar_t kFolderName[] = L"我的 程序";
constexpr int kMenuRows = 3;
constexpr int kStartAtLoginRow = 1;
constexpr UINT kTrayCallback = WM_APP + 1;

POINT Centre(const RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Task Manager's 12 bytes: first byte odd when it disabled the start, even when enabled.
std::vector<std::uint8_t> Approval(std::uint8_t first) {
  std::vector<std::uint8_t> bytes(12, 0);
  bytes[0] = first;
  return bytes;
}

bool IsDark(const std::uint8_t* bgrx) {
  return bgrx[0] < 100 && bgrx[1] < 100 && bgrx[2] < 100;
}

// Which rows of the open menu show a check mark, as the user sees them. (Under Wine the
// menu of another process cannot be read: MN_GETHMENU gives its handle, but GetMenuState
// and GetMenuItemInfo refuse it with ERROR_INVALID_MENU_HANDLE.) The rows are of equal
// height, the mark is drawn in the column left of the texts, and no row is highlighted, as
// the menu is opened with the pointer outside it. Empty until every row shows its text.
std::vector<bool> CheckMarks(HWND menu) {
  RECT client{};
  GetClientRect(menu, &client);
  MapWindowPoints(menu, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const ScreenPixels shot = CaptureScreen(client);
  const int row_height = shot.height / kMenuRows;
  const int mark_width = GetSystemMetrics(SM_CXMENUCHECK) + 2;
  std::vector<bool> marks;
  for (int row = 0; row < kMenuRows && row_height > 0; ++row) {
    bool text = false, mark = false;
    for (int y = row * row_height; y < (row + 1) * row_height; ++y) {
      for (int x = 0; x < shot.width; ++x) {
        if (!IsDark(shot.At(x, y))) continue;
        (x < mark_width ? mark : text) = true;
      }
    }
    if (!text) return {};
    marks.push_back(mark);
  }
  return marks;
}

std::vector<bool> MarkedRow(int row) {
  std::vector<bool> marks(kMenuRows, false);
  if (row >= 0) marks[static_cast<std::size_t>(row)] = true;
  return marks;
}

const std::vector<bool> kUnchecked = MarkedRow(-1);
const std::vector<bool> kChecked = MarkedRow(kStartAtLoginRow);

// The settings window and the icon of the program in "我的 程序", with no value that starts
// Norvel at log-in before or after the test.
class StartAtLogin : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(FindDialInTray()) << "a dial icon is left over from an earlier program";
    ASSERT_TRUE(norvel_.Start());
    form1_ = WaitForSettingsWindow(norvel_.process_id());
    ASSERT_NE(form1_, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return (icon_ = FindDialInTray()).has_value(); }, 10000));
    run_value_ = StartValueFor(norvel_.exe());
  }
  void TearDown() override { norvel_.Kill(); }

  // Opens the menu with a real right-click on the icon; the check marks of its rows.
  std::vector<bool> OpenMenu() {
    Click(Centre(*icon_), /*right=*/true);
    menu_ = WaitForPopupMenu();
    if (!menu_) return {};
    std::vector<bool> marks;
    WaitUntil([&] { return !(marks = CheckMarks(menu_)).empty(); }, 3000);
    return marks;
  }
  // Chooses the item in `row` from the keyboard (the first Down selects the first row).
  void Choose(int row) {
    for (int i = 0; i <= row; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    WaitUntil([&] { return !IsWindowVisible(menu_); }, 5000);
  }
  void CloseMenu() {
    PressKey(VK_ESCAPE);
    WaitUntil([&] { return !IsWindowVisible(menu_); }, 5000);
  }
  bool WaitForRunValue(const std::optional<std::wstring>& expected) {
    return WaitUntil([&] { return ReadStartValue(kRunKey) == expected; }, 5000);
  }

  StartValuesCleanup cleanup_;
  NorvelProcess norvel_{kFolderName};
  HWND form1_ = nullptr;
  HWND menu_ = nullptr;
  std::optional<RECT> icon_;
  std::wstring run_value_;
};

TEST_F(StartAtLogin, ChoosingTheItemWritesTheRunValueAndChoosingItAgainRemovesIt) {
  ASSERT_EQ(OpenMenu(), kUnchecked);
  Choose(kStartAtLoginRow);
  ASSERT_TRUE(WaitForRunValue(run_value_)) << NarrowLossy(ReadStartValue(kRunKey).value_or(L""));
  EXPECT_EQ(QueryStartValue(kRunKey), run_value_) << "as reg.exe sees it";
  EXPECT_EQ(ReadStartValue(kRunOnceKey), std::nullopt);
  EXPECT_EQ(ReadApproval(), std::nullopt);
  EXPECT_TRUE(IsWindowVisible(form1_));

  EXPECT_EQ(OpenMenu(), kChecked);
  SaveScreenshot("tray-menu-start-at-login");
  Choose(kStartAtLoginRow);
  EXPECT_TRUE(WaitForRunValue(std::nullopt));
  EXPECT_EQ(QueryStartValue(kRunKey), std::nullopt);
  EXPECT_EQ(OpenMenu(), kUnchecked);
  CloseMenu();
  EXPECT_FALSE(norvel_.WaitForExit(0));
}

TEST_F(StartAtLogin, DisabledInTaskManagerShowsUncheckedAndChoosingItEnablesItAgain) {
  ASSERT_TRUE(WriteStartValue(kRunKey, run_value_));
  ASSERT_TRUE(WriteApproval(Approval(0x03)));
  EXPECT_EQ(OpenMenu(), kUnchecked);
  Choose(kStartAtLoginRow);
  EXPECT_TRUE(WaitUntil([] { return !ReadApproval().has_value(); }, 5000));
  EXPECT_EQ(ReadStartValue(kRunKey), run_value_);
  EXPECT_EQ(QueryStartValue(kRunKey), run_value_);
  EXPECT_EQ(OpenMenu(), kChecked);
  CloseMenu();
}

// The mark is read afresh from the registry each time the menu opens.
TEST_F(StartAtLogin, CheckMarkFollowsTheValuesAsTheyAreWhenTheMenuOpens) {
  struct Case {
    const char* what;
    std::optional<std::wstring> run;
    std::optional<std::uint8_t> approval;
    bool checked;
  };
  const Case cases[] = {
      {"enabled in Task Manager", run_value_, 0x02, true},
      {"disabled in Task Manager (07)", run_value_, 0x07, false},
      {"without quotes", norvel_.exe() + L" /tray", std::nullopt, true},
      {"another copy", L"\"C:\\其他\\norvel.exe\" /tray", std::nullopt, false},
      {"none", std::nullopt, 0x02, false},
  };
  for (const Case& c : cases) {
    StartValuesCleanup::RemoveAll();
    if (c.run) {
      ASSERT_TRUE(WriteStartValue(kRunKey, *c.run));
    }
    if (c.approval) {
      ASSERT_TRUE(WriteApproval(Approval(*c.approval)));
    }
    EXPECT_EQ(OpenMenu(), c.checked ? kChecked : kUnchecked) << c.what;
    CloseMenu();
  }
}

// Chosen from the keyboard: the first row shows the window, the second changes the start at
// log-in, the third ends the program, and a fourth Down is back on the first.
TEST_F(StartAtLogin, MenuHasShowWindowStartAtLoginAndExitInThisOrder) {
  PostMessageW(form1_, kTrayCallback, 1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitForVisible(form1_, false, 5000));
  ASSERT_FALSE(OpenMenu().empty());
  Choose(kMenuRows);  // wraps round to "显示窗口"
  EXPECT_TRUE(WaitForVisible(form1_, true, 5000));
  EXPECT_EQ(ReadStartValue(kRunKey), std::nullopt);

  ASSERT_FALSE(OpenMenu().empty());
  Choose(2);  // "退出"
  DWORD exit_code = 1;
  EXPECT_TRUE(norvel_.WaitForExit(10000, &exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_EQ(ReadStartValue(kRunKey), std::nullopt);
}

// Started with "/tray", as the Run value starts it at log-in.
class TrayStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(FindDialInTray()) << "a dial icon is left over from an earlier program";
    ASSERT_TRUE(norvel_.Start({{}, {}, L"/tray"}));
    ASSERT_TRUE(WaitUntil([&] { return (icon_ = FindDialInTray()).has_value(); }, 10000));
    form1_ = FindWindowOfClass(norvel_.process_id(), L"NorvelForm1");
    ASSERT_NE(form1_, nullptr);
  }

  NorvelProcess norvel_{kFolderName};
  HWND form1_ = nullptr;
  std::optional<RECT> icon_;
};

TEST_F(TrayStart, ShowsNoWindowUntilTheIconIsDoubleClicked) {
  EXPECT_FALSE(WaitForVisible(form1_, true, 1500)) << "the settings window came up";
  DoubleClick(Centre(*icon_));
  ASSERT_TRUE(WaitForVisible(form1_, true, 5000));
  EXPECT_FALSE(IsIconic(form1_));
  EXPECT_TRUE(GetWindowLongW(form1_, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(TrayStart, SecondTrayStartEndsQuietly) {
  NorvelProcess second{kFolderName};
  ASSERT_TRUE(second.Start({{}, {}, L"/tray"}));
  DWORD exit_code = 1;
  ASSERT_TRUE(second.WaitForExit(20000, &exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_FALSE(WaitForVisible(form1_, true, 1500)) << "the running one showed its window";
  const auto icon = FindDialInTray();
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->right - icon->left, icon_->right - icon_->left);  // still one icon
  EXPECT_FALSE(norvel_.WaitForExit(0));
}

}  // namespace
}  // namespace norvel::e2e
