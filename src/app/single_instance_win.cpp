#include "app/single_instance_win.h"

#include "app/form1_win.h"

namespace norvel {

SingleInstance::SingleInstance(bool show_running)
    : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\Norvel.SingleInstance")) {
  if (!mutex_ || GetLastError() != ERROR_ALREADY_EXISTS) return;
  first_ = false;
  if (!show_running) return;
  if (const HWND running = FindWindowW(Form1::kClassName, nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(running, &pid);
    AllowSetForegroundWindow(pid);  // it may bring its window to the front
    PostMessageW(running, Form1::ShowWindowMessage(), 0, 0);
  }
}

}  // namespace norvel
