// A process that saves the settings in a loop is killed at random moments; the file must be
// complete and readable after every kill.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "settings/ini.h"
#include "saver_value.h"
#include "toolkit/handle_win.h"
#include "win_test_util.h"

namespace norvel {
namespace {

std::wstring SaverPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"ini_saver.exe";
}

// A value is whole when it is exactly what the saver writes for some round.
bool IsWholeValue(std::string_view key, const std::string& value) {
  const std::string prefix = std::string(key) + "第";
  if (value.rfind(prefix, 0) != 0) return false;
  const auto end = value.find("轮", prefix.size());
  if (end == std::string::npos) return false;
  const std::string digits = value.substr(prefix.size(), end - prefix.size());
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  return value == SaverValue(key, static_cast<unsigned>(std::stoul(digits)));
}

TEST(SettingsKill, FileIsAlwaysCompleteAfterKillsDuringSaves) {
  testing::TempFolder folder;
  const std::string file = folder.FileUtf8(L"option.ini");
  for (const auto key : AlarmSettings::kKeys) {
    ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, key, SaverValue(key, 0), file),
              WriteStatus::kOk);
  }
  std::mt19937 rng(std::random_device{}());
  std::wstring command = L"\"" + SaverPath() + L"\" \"" + folder.File(L"option.ini") + L"\"";
  int killed_while_running = 0;
  for (int attempt = 0; attempt < 40; ++attempt) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    Sleep(5 + rng() % 120);
    if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) ++killed_while_running;
    TerminateProcess(process.get(), 9);
    WaitForSingleObject(process.get(), INFINITE);
    for (const auto key : AlarmSettings::kKeys) {
      const std::string value = ReadIniValue(AlarmSettings::kSection, key, file);
      ASSERT_TRUE(IsWholeValue(key, value)) << "after kill " << attempt << ": " << value;
    }
  }
  // The saver must really have been interrupted, not have ended on its own.
  EXPECT_GT(killed_while_running, 30);
}

}  // namespace
}  // namespace norvel
