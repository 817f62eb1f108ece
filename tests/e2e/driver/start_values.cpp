#include "driver/start_values.h"

#include <cwchar>

#include "toolkit/handle_win.h"

namespace norvel::e2e {
namespace {

constexpr wchar_t kValueName[] = L"Norvel";

// Runs `command` and returns what it printed on its standard output.
std::string OutputOf(std::wstring command) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) return {};
  const UniqueKernelHandle reader(read);
  UniqueKernelHandle writer(write);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = write;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &si, &pi)) {
    return {};
  }
  const UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
  writer.reset();  // the pipe ends when the child's copy closes
  std::string output;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n > 0) output.append(buffer, n);
  WaitForSingleObject(process.get(), 10000);
  return output;
}

// reg.exe writes its output in the console's code page (the OEM one when it is not a console).
std::wstring FromConsoleText(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int n =
      MultiByteToWideChar(GetOEMCP(), 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(GetOEMCP(), 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

}  // namespace

std::optional<std::wstring> ReadStartValue(const wchar_t* key) {
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key, kValueName, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, key, kValueName, RRF_RT_REG_SZ, nullptr, value.data(),
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(std::wcslen(value.c_str()));
  return value;
}

std::optional<std::wstring> QueryStartValue(const wchar_t* key) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring output = FromConsoleText(OutputOf(
      std::wstring(L"\"") + system + L"\\reg.exe\" query \"HKCU\\" + key + L"\" /v " + kValueName));
  // A line "    Norvel    REG_SZ    <value>".
  const std::wstring marker = L"REG_SZ    ";
  for (std::size_t start = 0; start < output.size();) {
    std::size_t end = output.find(L'\n', start);
    if (end == std::wstring::npos) end = output.size();
    std::wstring line = output.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    const auto name = line.find(kValueName);
    const auto type = line.find(marker);
    if (name != std::wstring::npos && type != std::wstring::npos && name < type) {
      return line.substr(type + marker.size());
    }
    start = end + 1;
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadApproval() {
  std::vector<std::uint8_t> bytes(64);
  DWORD size = static_cast<DWORD>(bytes.size());
  if (RegGetValueW(HKEY_CURRENT_USER, kApprovedKey, kValueName, RRF_RT_REG_BINARY, nullptr,
                   bytes.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  bytes.resize(size);
  return bytes;
}

bool WriteStartValue(const wchar_t* key, const std::wstring& value) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, key, kValueName, REG_SZ, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WriteApproval(const std::vector<std::uint8_t>& bytes) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, kApprovedKey, kValueName, REG_BINARY, bytes.data(),
                         static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

std::wstring StartValueFor(const std::wstring& exe) {
  return L"\"" + exe + L"\" /tray";
}

void StartValuesCleanup::RemoveAll() {
  for (const wchar_t* key : {kRunKey, kRunOnceKey, kApprovedKey}) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, key, kValueName);
  }
}

}  // namespace norvel::e2e
