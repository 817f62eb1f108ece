// The settings window of a freshly started norvel.exe, for the tests that drive it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/form1_layout.h"
#include "driver/norvel_process.h"
#include "driver/ui.h"
#include "toolkit/codepage.h"

namespace norvel::e2e {

inline std::string Gbk(std::string_view utf8) {
  return Cp936().Encode(utf8).value();
}

class SettingsWindow : public ::testing::Test {
 protected:
  HWND StartAndWait() {
    EXPECT_TRUE(norvel_.Start());
    form1_ = WaitForTopWindow(norvel_.process_id(), std::string(form1::kCaption), 30000);
    EXPECT_NE(form1_, nullptr);
    if (form1_) {
      EXPECT_TRUE(WaitForVisible(form1_, true, 10000));
    }
    return form1_;
  }
  HWND Control(int id) const { return GetDlgItem(form1_, id); }

  NorvelProcess norvel_;
  HWND form1_ = nullptr;
};

}  // namespace norvel::e2e
