// A restart the program carries out itself: it comes back after it, through RunOnce when it
// would not start at log-in, and the second of the restart is recorded beside the settings
// without touching them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "driver/norvel_process.h"
#include "driver/start_values.h"
#include "driver/timing.h"
#include "driver/traced.h"
#include "driver/trigger.h"
#include "driver/ui.h"
#include "toolkit/codepage.h"
#include "toolkit/text_win.h"

namespace norvel::e2e {
namespace {

// The lines of the trace written by the thread that wrote the line at `at` (each line starts
// with the thread's id and a colon).
std::string ThreadLines(const std::string& trace, std::size_t at) {
  const std::size_t line = trace.rfind('\n', at);
  const std::size_t begin = line == std::string::npos ? 0 : line + 1;
  const std::string thread = trace.substr(begin, trace.find(':', begin) + 1 - begin);
  std::string lines;
  for (std::size_t pos = 0; pos < trace.size();) {
    std::size_t next = trace.find('\n', pos);
    next = next == std::string::npos ? trace.size() : next + 1;
    if (trace.compare(pos, thread.size(), thread) == 0) lines.append(trace, pos, next - pos);
    pos = next;
  }
  return lines;
}

// Before its own restart the program writes down the trigger second in its state section
// and, when it would not start at log-in, writes the RunOnce value that brings it back once
// after the restart. The settings themselves are left byte for byte. Under Wine the restart
// (wineboot) runs the per-user Run values, as a log-in does, but not the per-user RunOnce
// values: there the program comes back only when it starts at log-in, and the RunOnce value
// is left as written.
class RestartComesBack : public Traced, public ::testing::WithParamInterface<bool> {};

TEST_P(RestartComesBack, RunOnceWrittenBeforeTheRestartOnlyWhenNotStartingAtLogin) {
  const bool starts_at_login = GetParam();
  const std::string settings = Cp936()
                                   .Encode(
                                       "[设置]\r\n提示语=该休息了\r\n小时=8\r\n分钟=30\r\n秒钟="
                                       "0\r\n动作=无动作\r\n图片=\r\n")
                                   .value();
  ASSERT_TRUE(norvel_.WriteSettingsBytes(settings));
  if (starts_at_login) {
    ASSERT_TRUE(WriteStartValue(kRunKey, StartValueFor(norvel_.exe())));
  }
  const HWND form1 = Start(
      L"user32.ExitWindowsEx;advapi32.RegCreateKeyExW;kernelbase.RegCreateKeyExW;"
      L"advapi32.RegSetValueExW;kernelbase.RegSetValueExW");
  ASSERT_NE(form1, nullptr);
  const Trigger trigger = TriggerIn(3);
  SetTrigger(form1, trigger, "重启计算机");
  ASSERT_TRUE(norvel_.WaitForExit(20000));
  if (starts_at_login) {
    EXPECT_TRUE(WaitUntil([&] { return !ProcessesOf(norvel_.exe()).empty(); }, 20000))
        << "the program did not come back after the restart";
  } else {
    EXPECT_EQ(ReadStartValue(kRunOnceKey), StartValueFor(norvel_.exe()));
  }

  const std::string all = Trace();
  const Calls first = ParseTrace(all);
  ASSERT_NE(first.first_exit, std::string::npos);
  const std::string trace = ThreadLines(all, first.first_exit);
  const Calls calls = ParseTrace(trace);
  ASSERT_FALSE(calls.exit_windows.empty());
  EXPECT_EQ(calls.exit_windows.front(), "2,0");
  std::smatch create, set;
  const bool armed = std::regex_search(
      trace, create,
      std::regex(
          R"(Call \w+\.RegCreateKeyExW\([0-9a-f]+,[0-9a-f]+ L"[^"]*CurrentVersion\\{1,2}RunOnce")",
          std::regex::icase));
  EXPECT_EQ(armed, !starts_at_login) << trace;
  if (armed) {
    const std::string after = trace.substr(static_cast<std::size_t>(create.position(0)));
    ASSERT_TRUE(std::regex_search(
        after, set,
        std::regex(R"(Call \w+\.RegSetValueExW\([0-9a-f]+,[0-9a-f]+ L"Norvel",0+,0*1,)",
                   std::regex::icase)))
        << trace;
    EXPECT_LT(static_cast<std::size_t>(create.position(0) + set.position(0)), calls.first_exit)
        << "RunOnce written after the restart was asked for";
  } else {
    EXPECT_EQ(trace.find("L\"Norvel\""), std::string::npos) << "a value written: " << trace;
  }
  EXPECT_EQ(norvel_.SettingsBytes(),
            settings + Cp936()
                           .Encode("[状态]\r\n上次电源操作=" + trigger.date + " " +
                                   ClockText(trigger) + "\r\n")
                           .value());
}

INSTANTIATE_TEST_SUITE_P(Traced, RestartComesBack, ::testing::Bool());

}  // namespace
}  // namespace norvel::e2e
