#include <gtest/gtest.h>

#include <filesystem>

#include "scheduler/alarm_log.h"
#include "scheduler/program_state.h"
#include "temp_dir.h"

namespace norvel {
namespace {

constexpr std::int64_t kAt = 1796627103;  // 2026-12-07 07:05:03

TEST(AlarmLog, EachEventHasItsLineAndOnlyMissedOrFailedPowerActionsAreTold) {
  const struct {
    AlarmEvent event;
    const char *text, *notice;
  } rows[] = {
      {{AlarmEventKind::kReminderShown, AlarmAction::kRemind, kAt}, "显示提醒 (07:05:03)", ""},
      {{AlarmEventKind::kReminderCaughtUp, AlarmAction::kRemind, kAt, 125},
       "补显提醒 (07:05:03, 晚了 125 秒)",
       ""},
      {{AlarmEventKind::kPowerRequested, AlarmAction::kShutDown, kAt}, "关闭计算机 (07:05:03)", ""},
      {{AlarmEventKind::kPowerCancelled, AlarmAction::kRestart, kAt},
       "已取消 07:05:03 的重启计算机",
       ""},
      {{AlarmEventKind::kPowerRepeatRefused, AlarmAction::kRestart, kAt},
       "跳过 07:05:03 的重启计算机 (这一秒已执行过一次)",
       ""},
      {{AlarmEventKind::kPowerSkippedLate, AlarmAction::kShutDown, kAt, 300},
       "跳过 07:05:03 的关闭计算机 (晚了 300 秒, 不补做)",
       "错过了 07:05:03 的关闭计算机。\n那时程序没能运行(计算机休眠、繁忙或时钟被调整),"
       "为免意外,没有补做。"},
      {{AlarmEventKind::kPowerFailed, AlarmAction::kRestart, kAt, 0, 1314},
       "重启计算机失败 (07:05:03, 系统错误 1314)",
       "07:05:03 的重启计算机没有成功:系统拒绝了请求(错误 1314)。"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(EventText(row.event), row.text);
    EXPECT_EQ(EventNotice(row.event), row.notice) << row.text;
  }
  LocalTime now;
  now.year = 2026, now.month = 12, now.day = 8, now.hour = 0, now.minute = 0, now.second = 9;
  EXPECT_EQ(LogLine(rows[0].event, now), "2026-12-08 00:00:09  显示提醒 (07:05:03)\r\n");
}

TEST(AlarmLog, StartsWithAByteOrderMarkAndDropsTheOlderHalfWhenFull) {
  const std::string bom = "\xEF\xBB\xBF";
  EXPECT_EQ(AppendedLog("", "a\r\n"), bom + "a\r\n");
  EXPECT_EQ(AppendedLog(bom + "a\r\n", "b\r\n"), bom + "a\r\nb\r\n");
  std::string full = bom;
  for (int i = 0; i < 10; ++i) full += "line " + std::to_string(i) + "\r\n";  // 8 bytes each
  const std::string trimmed = AppendedLog(full, "new\r\n", full.size() + 4);
  EXPECT_EQ(trimmed, bom + "line 6\r\nline 7\r\nline 8\r\nline 9\r\nnew\r\n");
}

TEST(AlarmLog, AFolderThatCannotBeWrittenMeansNoLog) {
  testing::TempDir dir;
  const std::string log = LogFilePath(dir.path().string());
  EXPECT_TRUE(AppendToLog(dir.File("norvel.log"), "a\r\n"));
  EXPECT_TRUE(AppendToLog(dir.File("norvel.log"), "b\r\n"));
  EXPECT_EQ(testing::ReadBytes(dir.File("norvel.log")),
            "\xEF\xBB\xBF"
            "a\r\nb\r\n");
  EXPECT_FALSE(AppendToLog(dir.File("missing/norvel.log"), "a\r\n"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
  EXPECT_EQ(log.substr(log.size() - 11), "\\norvel.log");
}

TEST(ProgramState, StampsReadBackAndNothingElseIsAStamp) {
  for (const char* stamp : {"2026-12-07 07:05:03", "2024-02-29 00:00:00", "1999-12-31 23:59:59"}) {
    const auto second = ParseStamp(stamp);
    ASSERT_TRUE(second) << stamp;
    EXPECT_EQ(StampText(*second), stamp);
  }
  EXPECT_EQ(ParseStamp("2026-12-07 07:05:03"), kAt);
  for (const char* bad :
       {"", "2026-12-07", "2026-12-07 7:05:03", "2025-02-29 00:00:00", "2026-12-07 24:00:00",
        "2026-12-07 07:60:00", "2026-12-07T07:05:03", "2026-12-07 07:05:03 "}) {
    EXPECT_FALSE(ParseStamp(bad)) << bad;
  }
}

}  // namespace
}  // namespace norvel
