// The open-file dialog of the settings window: cancelled, a file chosen, and across a
// reminder: the reminder comes while the
// dialog is open and is closed by the user, the dialog is cancelled, and "..." must open it
// again with the program still ticking.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "app/form1_layout.h"
#include "driver/input.h"
#include "driver/norvel_process.h"
#include "driver/timing.h"
#include "driver/trigger.h"
#include "driver/settings_window.h"
#include "driver/ui.h"
#include "toolkit/codepage.h"
#include "toolkit/text_win.h"

namespace norvel::e2e {
namespace {

// The file name field of the open-file dialog: the edit of the name combo box (id 0x47C),
// or the plain name edit (0x480).
struct FieldSearch {
  HWND dialog, found;
};

// A window callback must be CALLBACK (stdcall on 32-bit), which a lambda is not.
BOOL CALLBACK FindFileNameField(HWND child, LPARAM lparam) {
  auto* s = reinterpret_cast<FieldSearch*>(lparam);
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (lstrcmpiW(cls, L"Edit") != 0 || !IsWindowVisible(child)) return TRUE;
  for (HWND w = child; w && w != s->dialog; w = GetParent(w)) {
    const int id = GetDlgCtrlID(w);
    if (id == 0x47C || id == 0x480) {
      s->found = child;
      return FALSE;
    }
  }
  return TRUE;
}

HWND FileNameField(HWND dialog) {
  FieldSearch search{dialog, nullptr};
  EnumChildWindows(dialog, FindFileNameField, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The open-file dialog, driven through its standard controls.
class PictureChooser : public SettingsWindow {
 protected:
  HWND OpenChooser() {
    PressButton(Control(form1::kCommand2));
    return WaitForTopWindow(norvel_.process_id(), "打开文件", 20000);
  }
};

TEST_F(PictureChooser, CancelKeepsThePathShownAndSaved) {
  const std::string original = Gbk("[设置]\r\n图片=C:\\old.bmp\r\n");
  ASSERT_TRUE(norvel_.WriteSettingsBytes(original));
  ASSERT_TRUE(StartAndWait());
  const HWND dialog = OpenChooser();
  ASSERT_NE(dialog, nullptr);
  SaveScreenshot("picture-chooser");
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
  EXPECT_EQ(TextOf(Control(form1::kText2)), "C:\\old.bmp");
  EXPECT_EQ(norvel_.SettingsBytes(), original);
}

TEST_F(PictureChooser, ChosenFileIsShownAndSavedAtOnce) {
  const std::wstring picture = norvel_.folder() + L"\\提醒.bmp";
  ASSERT_TRUE(testing::WriteFileBytes(picture, "BM"));
  ASSERT_TRUE(StartAndWait());
  const HWND dialog = OpenChooser();
  ASSERT_NE(dialog, nullptr);
  const HWND name = FileNameField(dialog);
  ASSERT_NE(name, nullptr);
  const std::string path = NarrowLossy(picture);
  SetTextOf(name, path);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(form1::kText2)) == path; }, 5000));
  EXPECT_EQ(norvel_.SettingsBytes(), Gbk("[设置]\r\n图片=" + path + "\r\n"));
}

constexpr char kDialogCaption[] = "打开文件";

// A window's text, or nullopt when its thread does not answer within `timeout_ms`: the
// program's UI thread may be the thing under test.
std::optional<std::string> TextIfAnswering(HWND window, UINT timeout_ms) {
  wchar_t text[256] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, timeout_ms, &copied)) {
    return std::nullopt;
  }
  return NarrowLossy(std::wstring(text, copied));
}

// A point on the screen where the user sees the bare window itself (not its label, not a
// window above it), or nullopt. The open-file dialog may cover the reminder in part.
std::optional<POINT> BarePointOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  for (int y = 2; y < client.bottom; y += 6) {
    for (int x = 2; x < client.right; x += 6) {
      POINT p{x, y};
      ClientToScreen(window, &p);
      if (WindowFromPoint(p) == window) return p;
    }
  }
  return std::nullopt;
}

class PictureChooserAcrossReminder : public ::testing::Test {
 protected:
  HWND Control(int id) const { return GetDlgItem(form1_, id); }
  HWND OpenChooser() {
    PressButton(Control(form1::kCommand2));
    return WaitForTopWindow(norvel_.process_id(), kDialogCaption, 20000);
  }

  NorvelProcess norvel_;
  HWND form1_ = nullptr;
};

TEST_F(PictureChooserAcrossReminder, OpensAgainAfterAReminderCameDuringItsFirstOpening) {
  const std::string original = Cp936().Encode("[设置]\r\n图片=C:\\没有.bmp\r\n").value();
  ASSERT_TRUE(norvel_.WriteSettingsBytes(original));
  ASSERT_TRUE(norvel_.Start());
  form1_ = WaitForSettingsWindow(norvel_.process_id());
  ASSERT_NE(form1_, nullptr);

  const HWND first = OpenChooser();
  ASSERT_NE(first, nullptr);
  // The alarm's second comes while the dialog is open: the reminder (no picture, design
  // size) appears and the user closes it with a double-click beside its label. (The settings
  // window, topmost and centred, would cover it: moved to the corner as a user drags it.)
  SetWindowPos(form1_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const Trigger trigger = TriggerIn(3);
  SetTrigger(form1_, trigger, "无动作");
  const HWND form2 = WaitForReminder(norvel_.process_id(), 8000);
  ASSERT_NE(form2, nullptr);
  ASSERT_TRUE(WaitForVisible(form2, true, 2000));
  // Every tick of the matching second shows the reminder again: act after it.
  WaitPastTrigger(trigger);
  std::optional<POINT> bare;
  ASSERT_TRUE(WaitUntil([&] { return (bare = BarePointOf(form2)).has_value(); }, 2000));
  DoubleClick(*bare);
  ASSERT_TRUE(WaitUntil([&] { return FindReminder(norvel_.process_id()) == nullptr; }, 5000));

  // "取消": nothing chosen, nothing saved.
  PressButton(GetDlgItem(first, IDCANCEL));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(first); }, 10000));
  EXPECT_EQ(TextIfAnswering(Control(form1::kText2), 5000), "C:\\没有.bmp");
  EXPECT_EQ(norvel_.SettingsBytes(), original);

  // "..." again: the dialog comes, and the settings window keeps ticking meanwhile.
  const HWND second = OpenChooser();
  if (!second) {
    const auto status = TextIfAnswering(Control(form1::kLabel5), 5000);
    FAIL() << "no dialog; status line: " << status.value_or("(the window does not answer)");
  }
  const std::optional<std::string> status = TextIfAnswering(Control(form1::kLabel5), 5000);
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(
      WaitUntil([&] { return TextIfAnswering(Control(form1::kLabel5), 5000) != status; }, 3000));
  PressButton(GetDlgItem(second, IDCANCEL));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(second); }, 10000));
  EXPECT_EQ(norvel_.SettingsBytes(), original);
  // What the tick's watchdog saw (a stop of the tick is written down).
  std::printf("norvel.log:\n%s\n", norvel_.LogBytes().c_str());
}

}  // namespace
}  // namespace norvel::e2e
