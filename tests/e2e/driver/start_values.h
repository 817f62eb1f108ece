// The per-user registry values that start Norvel at log-in, as the tests see and set them:
// read with the registry functions and with the system's own reg.exe, written and removed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norvel::e2e {

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunOnceKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr wchar_t kApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The REG_SZ value "Norvel" under HKCU\<key>, or nothing.
std::optional<std::wstring> ReadStartValue(const wchar_t* key);
// The same value as `reg.exe query HKCU\<key> /v Norvel` prints it, or nothing when reg.exe
// finds none.
std::optional<std::wstring> QueryStartValue(const wchar_t* key);
// Task Manager's mark for "Norvel" (REG_BINARY), or nothing.
std::optional<std::vector<std::uint8_t>> ReadApproval();

bool WriteStartValue(const wchar_t* key, const std::wstring& value);
bool WriteApproval(const std::vector<std::uint8_t>& bytes);

// What the program writes for `exe`: "\"<exe>\" /tray".
std::wstring StartValueFor(const std::wstring& exe);

// Removes the Run, RunOnce and StartupApproved values "Norvel" when made and when destroyed:
// a value left behind would start a program at the next log-in of the test prefix.
class StartValuesCleanup {
 public:
  StartValuesCleanup() { RemoveAll(); }
  ~StartValuesCleanup() { RemoveAll(); }
  StartValuesCleanup(const StartValuesCleanup&) = delete;
  StartValuesCleanup& operator=(const StartValuesCleanup&) = delete;
  static void RemoveAll();
};

}  // namespace norvel::e2e
