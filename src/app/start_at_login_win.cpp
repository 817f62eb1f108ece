#include "app/start_at_login_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/start_at_login.h"
#include "settings/app_path_win.h"
#include "toolkit/registry_win.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunOnceKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr wchar_t kApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr wchar_t kValueName[] = L"Norvel";

// A value may name the program through environment strings ("%LOCALAPPDATA%\..."); the
// shell expands them when it starts the value, so the decisions see the expanded path.
std::wstring ExpandEnvironment(const std::wstring& text) {
  if (text.find(L'%') == std::wstring::npos) return text;
  std::wstring expanded(text.size() + 1, L'\0');
  for (;;) {
    const DWORD n = ExpandEnvironmentStringsW(text.c_str(), expanded.data(),
                                              static_cast<DWORD>(expanded.size()));
    if (n == 0) return text;
    if (n <= expanded.size()) {
      expanded.resize(n - 1);  // n counts the terminating null
      return expanded;
    }
    expanded.resize(n);
  }
}

std::optional<std::string> ReadRunValue() {
  const auto value = RegistryKey::OpenUser(kRunKey).ReadString(kValueName);
  if (!value) return std::nullopt;
  return NarrowLossy(ExpandEnvironment(*value));
}

std::optional<std::vector<std::uint8_t>> ReadApproval() {
  return RegistryKey::OpenUser(kApprovedKey).ReadBinary(kValueName);
}

bool IsFile(const std::string& path) {
  const auto wide = Widen(path);
  if (!wide || wide->empty()) return false;
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Writes "\"<this exe>\" /tray" as `subkey`'s value, creating the key if it is missing.
LONG WriteStartValueStatus(const wchar_t* subkey) {
  const std::string exe = AppExePath();
  if (exe.empty()) return ERROR_PATH_NOT_FOUND;
  const auto value = Widen(RunValueFor(exe));
  if (!value) return ERROR_NO_UNICODE_TRANSLATION;
  return RegistryKey::CreateUser(subkey).WriteString(kValueName, *value);
}

bool WriteStartValue(const wchar_t* subkey) {
  return WriteStartValueStatus(subkey) == ERROR_SUCCESS;
}

bool DeleteValue(const wchar_t* subkey) {
  return RegistryKey::OpenUser(subkey, RegistryAccess::kReadWrite).DeleteValue(kValueName) ==
         ERROR_SUCCESS;
}

struct LocalFreeDeleter {
  void operator()(LPWSTR* p) const noexcept { LocalFree(p); }
};

}  // namespace

bool StartAtLoginChecked() {
  return StartAtLoginChecked(ReadRunValue(), ReadApproval(), AppExePath());
}

bool SetStartAtLogin(bool on) {
  if (!on) return DeleteValue(kRunKey);
  if (!WriteStartValue(kRunKey)) return false;
  // Task Manager's mark is changed only here, when the user has asked for the start.
  return !DisabledAtLogin(ReadApproval()) || DeleteValue(kApprovedKey);
}

bool RepairStartAtLogin() {
  const auto value = ReadRunValue();
  if (!value) return true;
  const bool named_exists = IsFile(RunValuePath(*value));
  if (DecideRunValueRepair(*value, AppExePath(), named_exists) == RunValueRepair::kLeave) {
    return true;
  }
  return WriteStartValue(kRunKey);
}

long ArmRunOnceForRestart() {
  return StartAtLoginChecked() ? ERROR_SUCCESS : WriteStartValueStatus(kRunOnceKey);
}

long DisarmRunOnce() {
  const LONG status =
      RegistryKey::OpenUser(kRunOnceKey, RegistryAccess::kReadWrite).DeleteValue(kValueName);
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

bool StartedForTray() {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(
      CommandLineToArgvW(GetCommandLineW(), &count));
  if (!argv) return false;
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(NarrowLossy(argv.get()[i]));
  return HasTrayArgument(arguments);
}

}  // namespace norvel
