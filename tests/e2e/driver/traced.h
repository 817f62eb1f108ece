// The real program started under Wine's relay trace, limited to the calls that matter: the
// trace shows the exact arguments of the system calls it makes (ExitWindowsEx, the registry,
// the DLL search, the sounds). It runs through the CTest entry E2E.PowerActions, which collects the
// trace.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "driver/norvel_process.h"
#include "driver/start_values.h"
#include "driver/timing.h"
#include "driver/ui.h"
#include "win_test_util.h"

namespace norvel::e2e {

inline constexpr wchar_t kDebugKey[] = L"Software\\Wine\\Debug";

// Limits Wine's relay trace to the calls named (dll.function;…), for as long as the object
// lives.
class RelayFilter {
 public:
  explicit RelayFilter(const std::wstring& calls) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDebugKey, L"RelayInclude", REG_SZ, calls.c_str(),
                    static_cast<DWORD>((calls.size() + 1) * sizeof(wchar_t)));
  }
  ~RelayFilter() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kDebugKey, L"RelayInclude"); }
};

struct Calls {
  std::vector<std::string> exit_windows;  // "flags,reserved" of each ExitWindowsEx
  std::size_t first_adjust = std::string::npos, first_exit = std::string::npos;
};

inline Calls ParseTrace(const std::string& trace) {
  Calls calls;
  const std::regex exit_call(R"(Call user32\.ExitWindowsEx\(([0-9a-f]+),([0-9a-f]+)\))");
  for (auto it = std::sregex_iterator(trace.begin(), trace.end(), exit_call);
       it != std::sregex_iterator(); ++it) {
    calls.exit_windows.push_back(std::to_string(std::stoul((*it)[1].str(), nullptr, 16)) + "," +
                                 std::to_string(std::stoul((*it)[2].str(), nullptr, 16)));
    if (calls.first_exit == std::string::npos)
      calls.first_exit = static_cast<std::size_t>(it->position());
  }
  calls.first_adjust = trace.find("Call advapi32.AdjustTokenPrivileges(");
  return calls;
}

// The flags of each PlaySoundW call in decimal ("15": SND_ASYNC | SND_NODEFAULT | SND_MEMORY |
// SND_LOOP), or "stop" for the null sound that stops what plays.
inline std::vector<std::string> PlaySoundCalls(const std::string& trace) {
  std::vector<std::string> calls;
  const std::regex call(R"(Call winmm\.PlaySoundW\(([0-9a-f]+),([0-9a-f]+),([0-9a-f]+)\))");
  for (auto it = std::sregex_iterator(trace.begin(), trace.end(), call);
       it != std::sregex_iterator(); ++it) {
    const bool stop = std::stoull((*it)[1].str(), nullptr, 16) == 0;
    calls.push_back(stop ? "stop" : std::to_string(std::stoul((*it)[3].str(), nullptr, 16)));
  }
  return calls;
}

// Wine writes its trace to the standard error of the Linux process, which the program
// inherits from the test; the test's CTest entry sends it to this file. Empty when the test
// runs without that entry.
inline std::wstring TraceFile() {
  const char* trace_variable = std::getenv("NORVEL_TRACE_FILE");
  return trace_variable && *trace_variable ? testing::WindowsPathOf(trace_variable)
                                           : std::wstring();
}

// The real program started under Wine's relay trace, limited to some calls.
class Traced : public ::testing::Test {
 protected:
  void SetUp() override {
    trace_file_ = TraceFile();
    if (trace_file_.empty()) {
      GTEST_SKIP() << "run through the CTest entry E2E.PowerActions, which collects Wine's trace";
    }
    trace_start_ = testing::ReadFileBytes(trace_file_).size();
  }
  // Under Wine a restart runs the Run and RunOnce values as a log-in does (wineboot does it),
  // which brings the program back: once wineboot has finished, every program it started
  // runs, and is ended here.
  void TearDown() override {
    WaitUntil([] { return ProcessesNamed(L"wineboot.exe").empty(); }, 20000);
    EndProcessesOf(norvel_.exe());
  }
  // Starts the program tracing `calls` (dll.function;…); its settings window once shown.
  HWND Start(const std::wstring& calls) {
    filter_.emplace(calls);
    if (!norvel_.Start({{L"WINEDEBUG=+relay"}, {}, {}})) return nullptr;
    return WaitForSettingsWindow(norvel_.process_id());
  }
  // The trace of this test's program so far.
  std::string Trace() const { return testing::ReadFileBytes(trace_file_).substr(trace_start_); }

  std::wstring trace_file_;
  std::size_t trace_start_ = 0;
  std::optional<RelayFilter> filter_;
  StartValuesCleanup start_values_;
  NorvelProcess norvel_;
};

}  // namespace norvel::e2e
