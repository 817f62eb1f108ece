#include "scheduler/close_win.h"

#include "toolkit/handle_win.h"

namespace norvel {

DWORD EnableShutdownPrivilege() {
  HANDLE raw_token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw_token)) {
    return GetLastError();
  }
  // Closed after the adjustment: a request every tick of the matching second must not leak
  // a token handle each time.
  const UniqueKernelHandle token(raw_token);
  LUID luid{};
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &luid)) return GetLastError();
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Luid = luid;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  // Succeeds also when the token lacks the privilege; the last error then says so.
  if (!AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)) {
    return GetLastError();
  }
  return GetLastError() == ERROR_NOT_ALL_ASSIGNED ? ERROR_NOT_ALL_ASSIGNED : 0;
}

DWORD RequestExitWindows(UINT flags) {
  if (const DWORD error = EnableShutdownPrivilege()) return error;
  if (ExitWindowsEx(flags, 0)) return 0;
  const DWORD error = GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;
}

}  // namespace norvel
