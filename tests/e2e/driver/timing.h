// Waiting in the end-to-end tests: on window state or process state, never fixed sleeps.
// Where 32-bit code is emulated every program start takes about a minute, so all
// time limits are multiplied by NORVEL_TIMEOUT_SCALE (default 1).
#pragma once

#include <windows.h>

#include <cstdlib>
#include <functional>

namespace norvel::e2e {

inline DWORD Scaled(DWORD ms) {
  const char* scale = std::getenv("NORVEL_TIMEOUT_SCALE");
  const long factor = scale ? std::strtol(scale, nullptr, 10) : 1;
  return ms * static_cast<DWORD>(factor > 0 ? factor : 1);
}

// Polls `condition` every 20 ms until it holds or `timeout_ms` (scaled) has passed.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + Scaled(timeout_ms);
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
}

}  // namespace norvel::e2e
