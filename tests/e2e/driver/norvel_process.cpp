#include "driver/norvel_process.h"

#include "driver/timing.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace norvel::e2e {

std::wstring ProgramFolder() {
  wchar_t self[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  return path.substr(0, path.find_last_of(L"\\/"));
}

NorvelProcess::NorvelProcess() : NorvelProcess(std::wstring()) {}

NorvelProcess::NorvelProcess(const std::wstring& subfolder)
    : folder_path_(subfolder.empty() ? folder_.path() : folder_.File(subfolder)),
      exe_(folder_path_ + L"\\norvel.exe") {
  if (!subfolder.empty()) CreateDirectoryW(folder_path_.c_str(), nullptr);
  CopyFileW((ProgramFolder() + L"\\norvel.exe").c_str(), exe_.c_str(), FALSE);
}

NorvelProcess::~NorvelProcess() {
  Kill();
}

bool NorvelProcess::WriteSettingsBytes(const std::string& bytes) const {
  return testing::WriteFileBytes(SettingsPath(), bytes);
}

std::string NorvelProcess::SettingsBytes() const {
  return testing::ReadFileBytes(SettingsPath());
}

std::vector<std::wstring> NorvelProcess::FolderFiles() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder_path_ + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

namespace {

// The driver's environment with `extra` (NAME=value) added or replacing, as a block for
// CreateProcessW.
std::wstring EnvironmentBlock(const std::vector<std::wstring>& extra) {
  std::vector<std::wstring> vars;
  if (wchar_t* env = GetEnvironmentStringsW()) {
    for (const wchar_t* p = env; *p; p += wcslen(p) + 1) vars.emplace_back(p);
    FreeEnvironmentStringsW(env);
  }
  for (const auto& add : extra) {
    const auto name = add.substr(0, add.find(L'=') + 1);
    std::erase_if(vars, [&](const std::wstring& v) {
      return _wcsnicmp(v.c_str(), name.c_str(), name.size()) == 0;
    });
    vars.push_back(add);
  }
  std::wstring block;
  for (const auto& v : vars) block += v + L'\0';
  return block + L'\0';
}

struct FormSearch {
  DWORD pid;
  HWND form1;
};

// Window callbacks are CALLBACK (stdcall on 32-bit), which a lambda is not.
BOOL CALLBACK FindForm1Proc(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<FormSearch*>(lparam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  if (pid == search->pid && lstrcmpW(cls, L"NorvelForm1") == 0) search->form1 = window;
  return search->form1 == nullptr;
}

// Ends a running program: closed the way a user would first, so that its icon leaves the
// tray with it; terminated when it does not end.
void EndProcess(HANDLE process, DWORD pid) {
  if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    FormSearch search{pid, nullptr};
    EnumWindows(FindForm1Proc, reinterpret_cast<LPARAM>(&search));
    if (search.form1) {
      PostMessageW(search.form1, WM_CLOSE, 0, 0);
      WaitForSingleObject(process, 3000);
    }
  }
  if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
  }
}

// The running processes whose file name is `name`, with what `keep` says of each.
template <typename Keep>
std::vector<DWORD> ProcessesWhere(const wchar_t* name, Keep keep) {
  std::vector<DWORD> found;
  const UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, name) == 0 && keep(entry.th32ProcessID)) {
      found.push_back(entry.th32ProcessID);
    }
  }
  return found;
}

std::wstring ImagePath(HANDLE process) {
  wchar_t path[MAX_PATH * 2];
  DWORD size = MAX_PATH * 2;
  return QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size)
                                                             : std::wstring();
}

}  // namespace

std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
  return ProcessesWhere(name, [](DWORD) { return true; });
}

std::vector<DWORD> ProcessesOf(const std::wstring& exe) {
  const std::wstring name = exe.substr(exe.find_last_of(L'\\') + 1);
  return ProcessesWhere(name.c_str(), [&](DWORD pid) {
    const UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    return process && lstrcmpiW(ImagePath(process.get()).c_str(), exe.c_str()) == 0;
  });
}

void EndProcessesOf(const std::wstring& exe) {
  for (const DWORD pid : ProcessesOf(exe)) {
    const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
    if (process) EndProcess(process.get(), pid);
  }
}

bool NorvelProcess::Start(const StartOptions& options) {
  std::wstring command = L"\"" + exe_ + L"\"";
  if (!options.arguments.empty()) command += L" " + options.arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  UniqueFile output;
  if (!options.output_file.empty()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    output.reset(CreateFileW(options.output_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr));
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = output.get();
  }
  std::wstring environment;
  if (!options.environment.empty()) environment = EnvironmentBlock(options.environment);
  PROCESS_INFORMATION pi{};
  // Started from another folder, so that nothing depends on the working directory.
  if (!CreateProcessW(exe_.c_str(), command.data(), nullptr, nullptr, output ? TRUE : FALSE,
                      CREATE_UNICODE_ENVIRONMENT,
                      environment.empty() ? nullptr : environment.data(), ProgramFolder().c_str(),
                      &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  process_.reset(pi.hProcess);
  process_id_ = pi.dwProcessId;
  return true;
}

bool NorvelProcess::WaitForExit(DWORD timeout_ms, DWORD* exit_code) const {
  if (!process_ || WaitForSingleObject(process_.get(), Scaled(timeout_ms)) != WAIT_OBJECT_0)
    return false;
  if (exit_code) GetExitCodeProcess(process_.get(), exit_code);
  return true;
}

void NorvelProcess::Kill() {
  if (process_) EndProcess(process_.get(), process_id_);
  process_.reset();
}

void NorvelProcess::HoldUpThreadUntil(DWORD thread_id, ULONGLONG until_tick) {
  const UniqueKernelHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread_id));
  const bool held = thread && SuspendThread(thread.get()) != static_cast<DWORD>(-1);
  while (GetTickCount64() < until_tick) Sleep(20);
  if (held) ResumeThread(thread.get());
}

void NorvelProcess::HoldUpUntil(ULONGLONG until_tick) const {
  std::vector<UniqueKernelHandle> held;
  const UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot.get(), &entry); more;
       more = Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID != process_id_) continue;
    UniqueKernelHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
    if (thread && SuspendThread(thread.get()) != static_cast<DWORD>(-1)) {
      held.push_back(std::move(thread));
    }
  }
  while (GetTickCount64() < until_tick) Sleep(20);
  for (const auto& thread : held) ResumeThread(thread.get());
}

}  // namespace norvel::e2e
