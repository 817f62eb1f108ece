// The reminder window of the real program at a trigger: its picture's outline, position,
// drag with the left button and close with a double-click.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/form1_layout.h"
#include "driver/input.h"
#include "driver/norvel_process.h"
#include "driver/timing.h"
#include "driver/trigger.h"
#include "driver/ui.h"
#include "imaging/dib_layout.h"
#include "reminder/form2_layout.h"
#include "reminder/pic.h"
#include "toolkit/codepage.h"
#include "toolkit/handle_win.h"
#include "toolkit/layout.h"
#include "toolkit/text_win.h"
#include "win_test_util.h"

namespace norvel::e2e {
namespace {

// The picture's pixels as a bottom-up 24-bit buffer, read by the test itself.
struct PicturePixels {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bytes;
  ConstByteView View() const { return {bytes.data(), BytesPerScanLine(width), height}; }
};

PicturePixels ReadBmp(const std::wstring& path) {
  PicturePixels p;
  const UniqueBitmap bitmap(static_cast<HBITMAP>(LoadImageW(
      nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  BITMAP info{};
  GetObjectW(bitmap.get(), sizeof info, &info);
  p.width = info.bmWidth;
  p.height = info.bmHeight;
  BITMAPINFOHEADER header{sizeof header, p.width, p.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  p.bytes.resize(static_cast<std::size_t>(BytesPerScanLine(p.width)) * p.height);
  const HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap.get(), 0, p.height, p.bytes.data(),
            reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return p;
}

UniqueRegion ExpectedRegion(const PicturePixels& p, FrameMeasures frame) {
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ForEachStrip(p.View(), p.width, p.height, KeyColour(p.View(), 1), frame, [&](const Strip& s) {
    const UniqueRegion strip(CreateRectRgn(s.left, s.top, s.right, s.bottom));
    CombineRgn(region.get(), region.get(), strip.get(), RGN_OR);
  });
  return region;
}

POINT ClientToScreenPoint(HWND window, POINT p) {
  ClientToScreen(window, &p);
  return p;
}

// A press, a movement in steps and a release, spaced in time as a hand would make them.
void Drag(POINT from, POINT to, bool right) {
  const auto send = [](POINT p, DWORD flags) {
    INPUT i{};
    i.type = INPUT_MOUSE;
    i.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    i.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    i.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &i, sizeof i);
    Sleep(30);
  };
  send(from, 0);
  send(from, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 8; ++step) {
    send({from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8}, 0);
  }
  send(to, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

class Reminder : public ::testing::Test {
 protected:
  void SetUp() override {
    picture_ =
        norvel_.folder() + L"\\提醒图片" + picture_source_.substr(picture_source_.find(L'.'));
    ASSERT_TRUE(CopyFileW(
        testing::WindowsPathOf(NORVEL_E2E_PICTURES "/" + NarrowLossy(picture_source_)).c_str(),
        picture_.c_str(), FALSE));
    ASSERT_TRUE(norvel_.WriteSettingsBytes(Cp936()
                                               .Encode("[设置]\r\n提示语=" + stored_message_ +
                                                       "\r\n图片=" + NarrowLossy(picture_) + "\r\n")
                                               .value()));
    ASSERT_TRUE(norvel_.Start());
    form1_ = WaitForSettingsWindow(norvel_.process_id());
    ASSERT_NE(form1_, nullptr);
    if (!replacement_.empty()) {
      // The picture file changes after the program read it (and began to make it ready).
      ASSERT_TRUE(CopyFileW(
          testing::WindowsPathOf(NORVEL_E2E_PICTURES "/" + NarrowLossy(replacement_)).c_str(),
          picture_.c_str(), FALSE));
    }
    // The trigger a few seconds ahead, set in the lists without OK (further where 32-bit code
    // is emulated: the picture is made ready from then on, and the reminder waits at most two
    // seconds past its second for it).
    trigger_ = TriggerIn(static_cast<int>(Scaled(2000) / 1000));
    SetTrigger(form1_, trigger_, "无动作");
    // As after OK: the settings window waits hidden in the notification area (shown, it
    // would lie above the reminder, being topmost).
    PostMessageW(form1_, WM_APP + 1, 1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitForVisible(form1_, false, 5000));
    form2_ = WaitForReminder(norvel_.process_id(), 8000);
    shown_at_ = GetTickCount64();
    if (!form2_) SaveScreenshot("reminder-missing");
    ASSERT_NE(form2_, nullptr) << "exited: " << norvel_.WaitForExit(0);
    EXPECT_EQ(TextOf(form2_), title_);
    ASSERT_TRUE(WaitForVisible(form2_, true, 3000));
    // Let the ticks of the matching second pass before acting on the window.
    const WORD trigger_second = trigger_.second_value;
    WaitUntil(
        [&] {
          SYSTEMTIME now{};
          GetLocalTime(&now);
          return now.wSecond != trigger_second;
        },
        2500);
  }

  NorvelProcess norvel_;
  std::string stored_message_ = "快休息", title_ = "快休息";
  std::wstring picture_source_ = L"reminder.bmp";
  std::wstring replacement_;  // a picture copied over the first one after the start
  std::wstring picture_;
  Trigger trigger_;
  ULONGLONG shown_at_ = 0;
  HWND form1_ = nullptr, form2_ = nullptr;
};

TEST_F(Reminder, TakesThePictureShapeSizeAndPlace) {
  const PicturePixels pixels = ReadBmp(picture_);
  RECT outer{}, client{};
  GetWindowRect(form2_, &outer);
  GetClientRect(form2_, &client);
  EXPECT_EQ(client.right, pixels.width);
  EXPECT_EQ(client.bottom, pixels.height);
  const FrameMeasures frame =
      MeasureFrame(outer.right - outer.left, client.right, outer.bottom - outer.top, client.bottom);
  // The top-left corner is where centring the design size put it; not centred again.
  const int dpi = ScreenDpi();
  const int design_w = TwipsToPixels(form2::kClientWidth, dpi) + 2 * frame.F;
  const int design_h = TwipsToPixels(form2::kClientHeight, dpi) + frame.F + frame.T;
  EXPECT_EQ(outer.left, CentreOffset(GetSystemMetrics(SM_CXSCREEN), design_w));
  EXPECT_EQ(outer.top, CentreOffset(GetSystemMetrics(SM_CYSCREEN), design_h));
  // The region, read across processes, is the picture's outline.
  UniqueRegion actual(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(form2_, actual.get()), ERROR);
  EXPECT_TRUE(EqualRgn(actual.get(), ExpectedRegion(pixels, frame).get()));
  EXPECT_FALSE(GetWindowLongW(form2_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SaveScreenshot("reminder-shaped");
  SaveScreenshot("reminder-window", form2_);
}

TEST_F(Reminder, LeftDragMovesRightDragDoesNot) {
  RECT before{};
  GetWindowRect(form2_, &before);
  const POINT disc = ClientToScreenPoint(form2_, {110, 60});  // on the red disc
  Drag(disc, {disc.x + 60, disc.y + 40}, /*right=*/true);
  RECT after_right{};
  WaitUntil([] { return false; }, 300);
  GetWindowRect(form2_, &after_right);
  EXPECT_EQ(after_right.left, before.left);
  EXPECT_EQ(after_right.top, before.top);
  Drag(disc, {disc.x + 60, disc.y + 40}, /*right=*/false);
  RECT moved{};
  EXPECT_TRUE(WaitUntil(
      [&] {
        GetWindowRect(form2_, &moved);
        return moved.left == before.left + 60 && moved.top == before.top + 40;
      },
      3000))
      << moved.left - before.left << "," << moved.top - before.top;
}

TEST_F(Reminder, DoubleClickOnTheLabelKeepsItAndOnThePictureClosesIt) {
  RECT label{};
  GetWindowRect(GetDlgItem(form2_, form2::kLabel1), &label);
  DoubleClick({(label.left + label.right) / 2, (label.top + label.bottom) / 2});
  EXPECT_FALSE(WaitUntil([&] { return !IsWindow(form2_); }, 1000));
  DoubleClick(ClientToScreenPoint(form2_, {110, 170}));  // lower part of the disc
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(form2_); }, 3000));
  // Form1 lives on; the program keeps running.
  EXPECT_TRUE(IsWindow(form1_));
}

// A picture bomb (2.7 MB of PNG, 2.7 GB of RGB pixels) once drove the program to gigabytes of
// memory and no reminder came. Its stated size is refused before decoding: the reminder comes
// in its second, as without a picture (design size, rectangular), and the memory the program
// ever held stays far below what the picture unpacks to.
class PictureBombReminder : public Reminder {
 protected:
  void SetUp() override {
    picture_source_ = L"bomb.png";
    Reminder::SetUp();
  }
};

TEST_F(PictureBombReminder, ComesInItsSecondWithTheDesignSize) {
  EXPECT_LT(shown_at_, trigger_.at_tick + 1000);
  const SIZE client = ClientSize(form2_);
  EXPECT_EQ(client.cx, TwipsToPixels(form2::kClientWidth, ScreenDpi()));
  EXPECT_EQ(client.cy, TwipsToPixels(form2::kClientHeight, ScreenDpi()));
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(form2_, region.get()), ERROR);  // no region: rectangular
  PROCESS_MEMORY_COUNTERS memory{};
  ASSERT_TRUE(K32GetProcessMemoryInfo(norvel_.process(), &memory, sizeof memory));
  EXPECT_LT(memory.PeakWorkingSetSize, SIZE_T{500} << 20) << memory.PeakWorkingSetSize;
}

// The picture is made ready ahead of its time; a file changed since is never shown stale.
class ChangedPictureReminder : public Reminder {
 protected:
  void SetUp() override {
    replacement_ = L"reminder-small.bmp";
    Reminder::SetUp();
  }
};

TEST_F(ChangedPictureReminder, ShowsThePictureAsTheFileIsNow) {
  const SIZE client = ClientSize(form2_);
  EXPECT_EQ(client.cx, 200);
  EXPECT_EQ(client.cy, 120);
}

// A message of two lines, the break written by hand as a lone "\n": once only the first line
// showed, and the title had a box for the break.
class MultiLineReminder : public Reminder {
 protected:
  void SetUp() override {
    stored_message_ = "短\\n第二行长一些";
    title_ = "短 第二行长一些";
    Reminder::SetUp();
  }
};

TEST_F(MultiLineReminder, LabelShowsEveryLineAndTheTitleOneLine) {
  const HWND label = GetDlgItem(form2_, form2::kLabel1);
  EXPECT_EQ(TextOf(label), "短\r\n第二行长一些");
  // The label's font, measured here: the widest line, two lines high.
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(form2::kLabelFontPoints, ScreenDpi(), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = static_cast<BYTE>(form2::kLabelFontCharset);
  form2::kLabelFontFace.copy(lf.lfFaceName, LF_FACESIZE - 1);
  const UniqueFont font(CreateFontIndirectW(&lf));
  const HDC screen = GetDC(nullptr);
  SIZE wide{};
  TEXTMETRICW tm{};
  {
    SelectionGuard select(screen, font.get());
    GetTextExtentPoint32W(screen, L"第二行长一些", 6, &wide);
    GetTextMetricsW(screen, &tm);
  }
  ReleaseDC(nullptr, screen);
  RECT rect{};
  GetWindowRect(label, &rect);
  EXPECT_EQ(rect.right - rect.left, wide.cx);
  EXPECT_EQ(rect.bottom - rect.top, 2 * tm.tmHeight);
  SaveScreenshot("reminder-two-lines");
}

}  // namespace
}  // namespace norvel::e2e
