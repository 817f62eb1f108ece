#include <gtest/gtest.h>

#include "app/icon.h"
#include "app/version.h"

namespace norvel {
namespace {

TEST(TrayTip, VersionNumbersWithoutPointBeforeRevision) {
  EXPECT_EQ(TrayTipText(0, 2, 0), "Norvel V0.20");
  EXPECT_EQ(TrayTipText(1, 12, 3), "Norvel V1.123");
  EXPECT_EQ(TrayTipText(NORVEL_VERSION_MAJOR, NORVEL_VERSION_MINOR, NORVEL_VERSION_REVISION),
            "Norvel V0.20");
}

TEST(TrayCallback, DoubleClickTogglesBetweenShownAndHidden) {
  TrayCallback tray;
  EXPECT_EQ(tray.Begin(kTrayLeftDoubleClick, /*window_minimized=*/false), TrayCommand::kHideWindow);
  tray.End();
  EXPECT_EQ(tray.Begin(kTrayLeftDoubleClick, /*window_minimized=*/true), TrayCommand::kShowWindow);
  tray.End();
  EXPECT_EQ(tray.Begin(kTrayRightButtonUp, false), TrayCommand::kPopupMenu);
  tray.End();
  EXPECT_EQ(tray.bTrayBusy, 0);
}

TEST(TrayCallback, OtherMouseMessagesDoNothingAndLeaveItFree) {
  TrayCallback tray;
  for (const std::int32_t message : {0x200, 0x201, 0x202, 0x204, 0x206, 0x207}) {
    EXPECT_EQ(tray.Begin(message, false), TrayCommand::kNothing) << message;
    EXPECT_EQ(tray.lTrayMsg, message);
    EXPECT_EQ(tray.bTrayBusy, 0);
  }
}

// While the popup menu's loop runs, a callback is stored and dropped.
TEST(TrayCallback, ReentrantCallbackIsStoredAndDropped) {
  TrayCallback tray;
  ASSERT_EQ(tray.Begin(kTrayRightButtonUp, false), TrayCommand::kPopupMenu);
  EXPECT_EQ(tray.bTrayBusy, -1);
  EXPECT_EQ(tray.Begin(kTrayLeftDoubleClick, false), TrayCommand::kNothing);
  EXPECT_EQ(tray.lTrayMsg, kTrayLeftDoubleClick);
  tray.End();
  EXPECT_EQ(tray.Begin(kTrayLeftDoubleClick, false), TrayCommand::kHideWindow);
}

}  // namespace
}  // namespace norvel
