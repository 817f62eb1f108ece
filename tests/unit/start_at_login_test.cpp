#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/start_at_login.h"

namespace norvel {
namespace {

constexpr const char* kExe = "C:\\a b\\norvel.exe";

// Every form a Run value takes, read back: the path it names and whether that is kExe.
TEST(StartAtLogin, RunValueNamesThePathItStarts) {
  const struct {
    const char* value;
    const char* path;
    bool names_exe;
  } cases[] = {
      {"\"C:\\a b\\norvel.exe\" /tray", "C:\\a b\\norvel.exe", true},
      {"\"C:\\a b\\norvel.exe\"", "C:\\a b\\norvel.exe", true},
      {"  \"c:\\A B\\NORVEL.EXE\" /tray", "c:\\A B\\NORVEL.EXE", true},
      {"C:\\a b\\norvel.exe", "C:\\a b\\norvel.exe", true},  // unquoted, blank in folder
      {"C:\\a b\\norvel.EXE /tray", "C:\\a b\\norvel.EXE", true},
      {"C:/a b/norvel.exe\t/tray", "C:/a b/norvel.exe", true},  // slashes, tab before argument
      {"C:\\x.exe.d\\norvel.exe /tray", "C:\\x.exe.d\\norvel.exe", false},  // ".exe" mid-name
      {"C:\\my.exe dir\\norvel.exe", "C:\\my.exe", false},      // first ".exe" before a blank wins
      {"C:\\x\\norvel.exe /tray", "C:\\x\\norvel.exe", false},  // another folder
      {"\"C:\\a b\\norvel.exe.bak\"", "C:\\a b\\norvel.exe.bak", false},
      {"C:\\x\\norvel /tray", "C:\\x\\norvel", false},  // no ".exe": the first word
      {"", "", false},
      {"   ", "", false},
      {"\"", "", false},                           // a lone quote names nothing
      {"\"C:\\a b\\norvel.exe /tray", "", false},  // an unclosed quote names nothing
      {"\"\" /tray", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RunValuePath(c.value), c.path) << c.value;
    EXPECT_EQ(RunValueNames(c.value, kExe), c.names_exe) << c.value;
  }
}

TEST(StartAtLogin, WrittenValueQuotesThePathAndReadsBack) {
  EXPECT_EQ(RunValueFor(kExe), "\"C:\\a b\\norvel.exe\" /tray");
  EXPECT_TRUE(RunValueNames(RunValueFor(kExe), kExe));
  EXPECT_TRUE(RunValueNames(RunValueFor("D:\\工具\\norvel.exe"), "D:\\工具\\norvel.exe"));
  // Only ASCII letters are folded.
  EXPECT_TRUE(SamePath("C:\\Ü\\NORVEL.exe", "c:/Ü/norvel.EXE"));
  EXPECT_FALSE(SamePath("C:\\Ü\\norvel.exe", "C:\\ü\\norvel.exe"));
  EXPECT_FALSE(SamePath("C:\\a\\norvel.exe", "C:\\a\\norvel.exe2"));
}

// Task Manager's StartupApproved bytes, and the check mark they give with a Run value that
// names this exe (a value naming another copy is never checked).
TEST(StartAtLogin, TaskManagerMarkDisablesOnOddFirstByte) {
  using Bytes = std::optional<std::vector<std::uint8_t>>;
  const auto bytes = [](std::initializer_list<std::uint8_t> list) { return Bytes(list); };
  // Task Manager writes 12 bytes: the flag, then zeros or the time it was changed.
  const auto mark = [](std::uint8_t first) {
    std::vector<std::uint8_t> twelve(12, 0);
    twelve[0] = first;
    return Bytes(twelve);
  };
  const struct {
    Bytes approved;
    bool disabled;
  } cases[] = {
      {std::nullopt, false},  // never touched by Task Manager
      {mark(0x02), false},          {mark(0x06), false}, {mark(0x03), true},
      {mark(0x07), true},           {bytes({}), false},  // empty
      {bytes({0x03}), true},                             // short: the first byte still decides
      {bytes({0x02, 0x01}), false},
  };
  for (const auto& c : cases) {
    const int first = c.approved && !c.approved->empty() ? c.approved->front() : -1;
    EXPECT_EQ(DisabledAtLogin(c.approved), c.disabled) << first;
    EXPECT_EQ(StartAtLoginChecked(RunValueFor(kExe), c.approved, kExe), !c.disabled) << first;
    EXPECT_FALSE(StartAtLoginChecked("C:\\x\\norvel.exe /tray", c.approved, kExe)) << first;
  }
  EXPECT_FALSE(StartAtLoginChecked(std::nullopt, std::nullopt, kExe));
}

// At start: only a value naming a vanished norvel.exe is rewritten.
TEST(StartAtLogin, RepairRewritesOnlyAMovedCopy) {
  const struct {
    const char* value;
    bool named_exists;
    RunValueRepair expected;
  } cases[] = {
      {"\"D:\\old\\norvel.exe\" /tray", false, RunValueRepair::kRewrite},  // folder moved
      {"D:\\old\\NORVEL.EXE", false, RunValueRepair::kRewrite},
      {"\"D:\\old\\norvel.exe\" /tray", true, RunValueRepair::kLeave},  // another copy
      {"\"C:\\A B\\norvel.exe\"", false, RunValueRepair::kLeave},  // this one (whatever it says)
      {"\"D:\\old\\other.exe\" /tray", false, RunValueRepair::kLeave},  // not a norvel.exe
      {"norvel.exe /tray", false, RunValueRepair::kLeave},     // bare name: found by search
      {"\"D:\\old\\\" /tray", false, RunValueRepair::kLeave},  // a folder, no file name
      {"\"", false, RunValueRepair::kLeave},
      {"", false, RunValueRepair::kLeave},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideRunValueRepair(c.value, kExe, c.named_exists), c.expected) << c.value;
  }
}

TEST(StartAtLogin, TrayArgumentAnywhereInAnyCase) {
  const struct {
    std::vector<std::string> arguments;
    bool tray;
  } cases[] = {
      {{"/tray"}, true},   {{"/TRAY"}, true}, {{"-Tray"}, true},   {{"x", "/tray", "y"}, true},
      {{}, false},         {{"tray"}, false}, {{"/tray2"}, false}, {{"/tra"}, false},
      {{"--tray"}, false}, {{""}, false},     {{"\\tray"}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasTrayArgument(c.arguments), c.tray)
        << (c.arguments.empty() ? "(none)" : c.arguments.front());
  }
}

}  // namespace
}  // namespace norvel
