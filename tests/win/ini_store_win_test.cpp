// The settings store on the real Windows file system (as Wine provides it).
#include <windows.h>

#include <gtest/gtest.h>

#include "settings/ini.h"
#include "toolkit/codepage.h"
#include "win_test_util.h"

namespace norvel {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

TEST(SettingsStoreWin, RoundTripInAFolderWithChineseName) {
  TempFolder folder;
  const std::string file = folder.FileUtf8(L"option.ini");
  ASSERT_EQ(
      WriteIniValue(AlarmSettings::kSection, AlarmSettings::kMessage, "该休息了\r\n真的", file),
      WriteStatus::kOk);
  EXPECT_EQ(ReadIniValue(AlarmSettings::kSection, AlarmSettings::kMessage, file),
            "该休息了\r\n真的");
  EXPECT_EQ(ReadFileBytes(folder.File(L"option.ini")),
            Cp936().Encode("[设置]\r\n提示语=该休息了\\r\\n真的\r\n").value());
  // No temporary file is left behind by a successful save.
  EXPECT_EQ(GetFileAttributesW(folder.File(L"option.ini.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(SettingsStoreWin, ReadOnlyFileIsReportedAndKept) {
  TempFolder folder;
  const std::string file = folder.FileUtf8(L"option.ini");
  ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "7", file),
            WriteStatus::kOk);
  const std::string before = ReadFileBytes(folder.File(L"option.ini"));
  ASSERT_TRUE(SetFileAttributesW(folder.File(L"option.ini").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "8", file),
            WriteStatus::kReadOnly);
  EXPECT_EQ(ReadFileBytes(folder.File(L"option.ini")), before);
  EXPECT_EQ(ReadIniValue(AlarmSettings::kSection, AlarmSettings::kHour, file), "7");
}

TEST(SettingsStoreWin, DirectoryNamedLikeTheFileIsReported) {
  TempFolder folder;
  ASSERT_TRUE(CreateDirectoryW(folder.File(L"option.ini").c_str(), nullptr));
  const std::string file = folder.FileUtf8(L"option.ini");
  EXPECT_EQ(ReadIniValue(AlarmSettings::kSection, AlarmSettings::kHour, file), "");
  EXPECT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "7", file),
            WriteStatus::kIoError);
}

TEST(SettingsStoreWin, FileLockedByAnotherWriterIsReported) {
  TempFolder folder;
  const std::string file = folder.FileUtf8(L"option.ini");
  ASSERT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "7", file),
            WriteStatus::kOk);
  // Another program holds the temporary file open without sharing.
  HANDLE other = CreateFileW(folder.File(L"option.ini.tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(WriteIniValue(AlarmSettings::kSection, AlarmSettings::kHour, "8", file),
            WriteStatus::kIoError);
  CloseHandle(other);
  EXPECT_EQ(ReadIniValue(AlarmSettings::kSection, AlarmSettings::kHour, file), "7");
}

}  // namespace
}  // namespace norvel
