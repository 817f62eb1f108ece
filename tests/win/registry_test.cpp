// The per-user registry key wrapper against the real registry, in a private key that each
// test removes again.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/registry_win.h"

namespace norvel {
namespace {

class Registry : public ::testing::Test {
 protected:
  // Each test process has a key of its own, so that tests running side by side never meet.
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, own_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\NorvelTest");  // only once it is empty
  }

  const std::wstring own_ = L"Software\\NorvelTest\\" + std::to_wstring(GetCurrentProcessId());
  const std::wstring subkey_ = own_ + L"\\键";
};

TEST_F(Registry, WrittenStringReadsBackAndDeletingTwiceSucceeds) {
  EXPECT_FALSE(RegistryKey::OpenUser(subkey_));
  EXPECT_EQ(RegistryKey::OpenUser(subkey_).status(), ERROR_FILE_NOT_FOUND);
  // Deleting from a key that is not there: the value is gone, which is what was asked.
  EXPECT_EQ(RegistryKey::OpenUser(subkey_, RegistryAccess::kReadWrite).DeleteValue(L"Norvel"),
            ERROR_SUCCESS);

  const RegistryKey key = RegistryKey::CreateUser(subkey_);
  ASSERT_TRUE(key);
  const std::wstring value = L"\"C:\\a b\\诺.exe\" /tray";
  EXPECT_EQ(key.WriteString(L"Norvel", value), ERROR_SUCCESS);
  EXPECT_EQ(RegistryKey::OpenUser(subkey_).ReadString(L"Norvel"), value);
  EXPECT_FALSE(key.ReadString(L"Missing"));
  EXPECT_FALSE(key.ReadBinary(L"Norvel"));  // a string is not read as bytes

  EXPECT_EQ(key.DeleteValue(L"Norvel"), ERROR_SUCCESS);
  EXPECT_FALSE(key.ReadString(L"Norvel"));
  EXPECT_EQ(key.DeleteValue(L"Norvel"), ERROR_SUCCESS);

  // A key opened for reading only refuses writes with the system's reason.
  EXPECT_EQ(RegistryKey::OpenUser(subkey_).WriteString(L"Norvel", value), ERROR_ACCESS_DENIED);
}

// Values written by others: Task Manager's bytes, an expandable string left unexpanded, and
// a string stored without its terminating null.
TEST_F(Registry, ReadsBinaryAndStringsAsStored) {
  const RegistryKey key = RegistryKey::CreateUser(subkey_);
  ASSERT_TRUE(key);
  const std::vector<std::uint8_t> mark = {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(RegSetValueExW(key.get(), L"Bytes", 0, REG_BINARY, mark.data(),
                           static_cast<DWORD>(mark.size())),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key.get(), L"Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  const std::wstring expand = L"%SystemRoot%\\x.exe";
  ASSERT_EQ(RegSetValueExW(key.get(), L"Expand", 0, REG_EXPAND_SZ,
                           reinterpret_cast<const BYTE*>(expand.c_str()),
                           static_cast<DWORD>((expand.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key.get(), L"Unterminated", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(L"abc"), 3 * sizeof(wchar_t)),
            ERROR_SUCCESS);

  EXPECT_EQ(key.ReadBinary(L"Bytes"), mark);
  EXPECT_EQ(key.ReadBinary(L"Empty"), std::vector<std::uint8_t>{});
  EXPECT_FALSE(key.ReadString(L"Bytes"));
  EXPECT_EQ(key.ReadString(L"Expand"), expand);
  EXPECT_EQ(key.ReadString(L"Unterminated"), L"abc");
}

TEST_F(Registry, OwnershipMovesWithTheKey) {
  RegistryKey first = RegistryKey::CreateUser(subkey_);
  ASSERT_TRUE(first);
  const HKEY handle = first.get();
  RegistryKey second = std::move(first);
  EXPECT_FALSE(first);
  EXPECT_EQ(second.get(), handle);
  // A moved-from key never claims that a write succeeded.
  EXPECT_NE(first.WriteString(L"Norvel", L"x"), ERROR_SUCCESS);
  EXPECT_EQ(second.WriteString(L"Norvel", L"x"), ERROR_SUCCESS);

  second = RegistryKey();  // closes the key: the handle no longer works
  EXPECT_NE(RegQueryValueExW(handle, L"Norvel", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
}

}  // namespace
}  // namespace norvel
