#include "scheduler/close_win.h"

#include <windows.h>

#include "toolkit/handle_win.h"

namespace norvel {

void EnableShutdownPrivilege() {
  HANDLE raw_token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw_token)) {
    return;
  }
  // Closed after the adjustment: a request every tick of the matching second must not leak
  // a token handle each time.
  const UniqueKernelHandle token(raw_token);
  LUID luid{};
  LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &luid);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Luid = luid;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

}  // namespace norvel
