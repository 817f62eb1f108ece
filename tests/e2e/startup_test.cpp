#include <gtest/gtest.h>

#include "app/form1_layout.h"
#include "driver/norvel_process.h"
#include "driver/ui.h"

namespace norvel::e2e {
namespace {

TEST(Startup, RunsFromAFreshFolderAndEndsWhenItsWindowCloses) {
  NorvelProcess norvel;
  ASSERT_TRUE(norvel.Start());
  const HWND form1 = WaitForSettingsWindow(norvel.process_id());
  ASSERT_NE(form1, nullptr);
  // Starting writes nothing: the settings file is made by the first save, the log by the
  // first thing that happens.
  EXPECT_EQ(norvel.FolderFiles(), std::vector<std::wstring>{L"norvel.exe"});
  PostMessageW(form1, WM_CLOSE, 0, 0);
  DWORD exit_code = 1;
  ASSERT_TRUE(norvel.WaitForExit(10000, &exit_code));
  EXPECT_EQ(exit_code, 0u);
}

}  // namespace
}  // namespace norvel::e2e
