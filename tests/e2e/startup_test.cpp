#include <gtest/gtest.h>

#include "driver/norvel_process.h"

namespace norvel::e2e {
namespace {

TEST(Startup, RunsFromAFreshFolderAndEndsCleanly) {
  NorvelProcess norvel;
  ASSERT_TRUE(norvel.Start());
  DWORD exit_code = 1;
  ASSERT_TRUE(norvel.WaitForExit(30000, &exit_code));
  EXPECT_EQ(exit_code, 0u);
  // Starting writes nothing: the settings file is made by the first save.
  EXPECT_EQ(GetFileAttributesW(norvel.SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace norvel::e2e
