// A tick that stops never goes unnoticed: the real program's UI thread held up while its other
// threads run is written down in norvel.log, and ticks that stay stopped are told. (Wine, like
// Windows, lets no other process kill the window's timer, so a lost timer itself is not made
// here; the watchdog's decisions are shown natively.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/form1_layout.h"
#include "driver/norvel_process.h"
#include "driver/timing.h"
#include "driver/ui.h"

namespace norvel::e2e {
namespace {

class Watchdog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(norvel_.Start());
    form1_ = WaitForSettingsWindow(norvel_.process_id());
    ASSERT_NE(form1_, nullptr);
  }
  bool Logged(const char* text, DWORD within_ms) {
    return WaitUntil([&] { return norvel_.LogBytes().find(text) != std::string::npos; }, within_ms);
  }
  // The status line changes within a little more than a second while the tick runs.
  bool Ticking() {
    const std::string first = TextOf(GetDlgItem(form1_, form1::kLabel5));
    return WaitUntil([&] { return TextOf(GetDlgItem(form1_, form1::kLabel5)) != first; }, 3000);
  }

  NorvelProcess norvel_;
  HWND form1_ = nullptr;
};

// The UI thread held up for 12 s (its watchdog runs on): the stop is written down, and after
// 10 s the user is told that the alarm cannot ring; once the thread runs again, so do the
// ticks.
TEST_F(Watchdog, TicksThatStayStoppedAreToldAndTheirReturnWrittenDown) {
  ASSERT_TRUE(Ticking());
  const DWORD ui_thread = GetWindowThreadProcessId(form1_, nullptr);
  NorvelProcess::HoldUpThreadUntil(ui_thread, GetTickCount64() + 12500);
  SaveScreenshot("stopped-tick-balloon");
  const std::string log = norvel_.LogBytes();
  EXPECT_NE(log.find("计时停止了 3 秒, 已重新启动计时器"), std::string::npos) << log;
  EXPECT_NE(log.find("计时仍然停止 ("), std::string::npos) << log;
  EXPECT_TRUE(Ticking());
  EXPECT_TRUE(Logged("计时恢复 (停了 ", 3000)) << norvel_.LogBytes();
}

}  // namespace
}  // namespace norvel::e2e
