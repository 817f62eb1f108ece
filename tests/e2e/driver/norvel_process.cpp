#include "driver/norvel_process.h"

#include "driver/timing.h"

namespace norvel::e2e {

std::wstring ProgramFolder() {
  wchar_t self[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  return path.substr(0, path.find_last_of(L"\\/"));
}

NorvelProcess::NorvelProcess() : exe_(folder_.File(L"norvel.exe")) {
  CopyFileW((ProgramFolder() + L"\\norvel.exe").c_str(), exe_.c_str(), FALSE);
}

NorvelProcess::~NorvelProcess() { Kill(); }

bool NorvelProcess::WriteSettingsBytes(const std::string& bytes) const {
  return testing::WriteFileBytes(SettingsPath(), bytes);
}

std::string NorvelProcess::SettingsBytes() const {
  return testing::ReadFileBytes(SettingsPath());
}

bool NorvelProcess::Start() {
  std::wstring command = L"\"" + exe_ + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  // Started from another folder, so that nothing depends on the working directory.
  if (!CreateProcessW(exe_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      ProgramFolder().c_str(), &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  process_.reset(pi.hProcess);
  process_id_ = pi.dwProcessId;
  return true;
}

bool NorvelProcess::WaitForExit(DWORD timeout_ms, DWORD* exit_code) const {
  if (!process_ || WaitForSingleObject(process_.get(), Scaled(timeout_ms)) != WAIT_OBJECT_0) return false;
  if (exit_code) GetExitCodeProcess(process_.get(), exit_code);
  return true;
}

void NorvelProcess::Kill() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
  process_.reset();
}

}  // namespace norvel::e2e
