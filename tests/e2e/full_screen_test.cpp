// A reminder never comes over a full-screen program: while a window of another program
// covers the whole screen in front (a slide show, as the system sees one), the reminder waits
// and the desktop stays as it is; it comes within two seconds after that window closes.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "app/form1_layout.h"
#include "driver/desktop_windows.h"
#include "driver/norvel_process.h"
#include "driver/timing.h"
#include "driver/trigger.h"
#include "driver/ui.h"

namespace norvel::e2e {
namespace {

// A borderless window over the whole screen, in front, on a thread that pumps its messages.
class FullScreenWindow {
 public:
  FullScreenWindow() {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, ready] {
      thread_id_ = GetCurrentThreadId();
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"NorvelTestSlideShow";
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
      RegisterClassW(&wc);
      window_ = CreateWindowExW(0, wc.lpszClassName, L"幻灯片放映", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                nullptr, nullptr, wc.hInstance, nullptr);
      SetForegroundWindow(window_);
      SetEvent(ready);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      DestroyWindow(window_);
    });
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
  }
  ~FullScreenWindow() { Close(); }
  FullScreenWindow(const FullScreenWindow&) = delete;
  FullScreenWindow& operator=(const FullScreenWindow&) = delete;

  HWND window() const { return window_; }
  void Close() {
    if (!thread_.joinable()) return;
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }

 private:
  std::thread thread_;
  DWORD thread_id_ = 0;
  HWND window_ = nullptr;
};

TEST(FullScreen, AReminderWaitsWhileAFullScreenWindowIsInFrontAndComesWhenItCloses) {
  NorvelProcess norvel;
  ASSERT_TRUE(norvel.Start());
  const HWND form1 = WaitForSettingsWindow(norvel.process_id());
  ASSERT_NE(form1, nullptr);
  DesktopWindows desktop;
  FullScreenWindow show;
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == show.window(); }, 3000));

  const Trigger trigger = TriggerIn(3);
  SetTrigger(form1, trigger, "无动作");
  WaitPastTrigger(trigger);
  const HWND status = GetDlgItem(form1, form1::kLabel5);
  EXPECT_TRUE(
      WaitUntil([&] { return TextOf(status).starts_with("提醒等待全屏程序结束: 闹钟1"); }, 2000))
      << TextOf(status);
  EXPECT_EQ(FindReminder(norvel.process_id()), nullptr);
  EXPECT_FALSE(IsIconic(desktop.minimizable()));  // the desktop stays as it is
  EXPECT_NE(norvel.LogBytes().find("闹钟1 的提醒在等待: 正在演示或运行全屏程序"), std::string::npos)
      << norvel.LogBytes();

  show.Close();
  const HWND form2 = WaitForReminder(norvel.process_id(), 2000);
  ASSERT_NE(form2, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(desktop.minimizable()) != FALSE; }, 2000));
  EXPECT_NE(norvel.LogBytes().find("全屏程序已结束, 显示等待的提醒"), std::string::npos);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(status).starts_with("今天是"); }, 2000));
}

}  // namespace
}  // namespace norvel::e2e
