// Shut-down and restart as the real program asks for them. Under Wine, ExitWindowsEx ends
// the session of the test's private prefix only (its programs get the end-session
// messages); the machine is untouched. Wine's relay trace, limited to the calls that
// matter, shows the exact arguments.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "app/form1_layout.h"
#include "driver/norvel_process.h"
#include "driver/timing.h"
#include "driver/trigger.h"
#include "driver/ui.h"
#include "toolkit/text_win.h"
#include "win_test_util.h"

namespace norvel::e2e {
namespace {

constexpr wchar_t kDebugKey[] = L"Software\\Wine\\Debug";

// Limits Wine's relay trace to the two calls, for as long as the object lives.
class RelayFilter {
 public:
  RelayFilter() {
    const wchar_t filter[] = L"user32.ExitWindowsEx;advapi32.AdjustTokenPrivileges";
    RegSetKeyValueW(HKEY_CURRENT_USER, kDebugKey, L"RelayInclude", REG_SZ, filter, sizeof filter);
  }
  ~RelayFilter() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kDebugKey, L"RelayInclude"); }
};

struct Calls {
  std::vector<std::string> exit_windows;  // "flags,reserved" of each ExitWindowsEx
  std::size_t first_adjust = std::string::npos, first_exit = std::string::npos;
};

Calls ParseTrace(const std::string& trace) {
  Calls calls;
  const std::regex exit_call(R"(Call user32\.ExitWindowsEx\(([0-9a-f]+),([0-9a-f]+)\))");
  for (auto it = std::sregex_iterator(trace.begin(), trace.end(), exit_call);
       it != std::sregex_iterator(); ++it) {
    calls.exit_windows.push_back(std::to_string(std::stoul((*it)[1].str(), nullptr, 16)) + "," +
                                 std::to_string(std::stoul((*it)[2].str(), nullptr, 16)));
    if (calls.first_exit == std::string::npos) calls.first_exit = static_cast<std::size_t>(it->position());
  }
  calls.first_adjust = trace.find("Call advapi32.AdjustTokenPrivileges(");
  return calls;
}

class Power : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(Power, ActionAsksWindowsWithExactFlagsAfterEnablingThePrivilege) {
  const auto [action, expected_flags] = GetParam();
  // Wine writes its trace to the standard error of the Linux process, which the program
  // inherits from the test; the test's CTest entry sends it to this file.
  const char* trace_variable = std::getenv("NORVEL_TRACE_FILE");
  if (!trace_variable || !*trace_variable) {
    GTEST_SKIP() << "run through the CTest entry E2E.PowerActions, which collects Wine's trace";
  }
  const std::wstring trace_file = testing::WindowsPathOf(trace_variable);
  const std::size_t trace_start = testing::ReadFileBytes(trace_file).size();
  RelayFilter filter;
  NorvelProcess norvel;
  ASSERT_TRUE(norvel.Start({{L"WINEDEBUG=+relay"}, {}}));
  const HWND form1 = WaitForSettingsWindow(norvel.process_id());
  ASSERT_NE(form1, nullptr);

  const Trigger trigger = TriggerIn(3);
  SetTrigger(form1, trigger, action);

  // The end of the session reaches the program, which closes and ends on its own.
  DWORD exit_code = 1;
  ASSERT_TRUE(norvel.WaitForExit(20000, &exit_code));
  EXPECT_EQ(exit_code, 0u);

  const Calls calls = ParseTrace(testing::ReadFileBytes(trace_file).substr(trace_start));
  ASSERT_FALSE(calls.exit_windows.empty());
  for (const auto& call : calls.exit_windows) EXPECT_EQ(call, expected_flags);
  ASSERT_NE(calls.first_adjust, std::string::npos);
  EXPECT_LT(calls.first_adjust, calls.first_exit);
}

INSTANTIATE_TEST_SUITE_P(Actions, Power,
                         ::testing::Values(std::make_pair("关闭计算机", "1,0"),
                                           std::make_pair("重启计算机", "2,0")));

}  // namespace
}  // namespace norvel::e2e
