#include <gtest/gtest.h>

#include <filesystem>

#include "scheduler/alarm_log.h"
#include "scheduler/program_state.h"
#include "temp_dir.h"

namespace norvel {
namespace {

constexpr std::int64_t kAt = 1796627103;  // 2026-12-07 07:05:03

// Each event's line names what a reader of the log needs: the event, the action, its second
// and, where there is one, the lateness or the system's error; only a missed or failed
// shut-down or restart is also told.
TEST(AlarmLog, EachEventNamesItsSecondAndOnlyMissedOrFailedPowerActionsAreTold) {
  const struct {
    AlarmEvent event;
    const char* word;    // what happened
    const char* number;  // the lateness or the error, or ""
    bool told;
  } rows[] = {
      {{AlarmEventKind::kReminderShown, AlarmAction::kRemind, kAt}, "显示提醒", "", false},
      {{AlarmEventKind::kReminderCaughtUp, AlarmAction::kRemind, kAt, 125},
       "补显提醒",
       "125",
       false},
      {{AlarmEventKind::kPutOffShown, AlarmAction::kRemind, kAt, 7}, "稍后提醒", "7", false},
      {{AlarmEventKind::kPowerRequested, AlarmAction::kShutDown, kAt}, "关闭计算机", "", false},
      {{AlarmEventKind::kPowerRequested, AlarmAction::kRestart, kAt, 42},
       "重启计算机",
       "42",
       false},
      {{AlarmEventKind::kPowerCancelled, AlarmAction::kRestart, kAt}, "已取消", "", false},
      {{AlarmEventKind::kPowerRepeatRefused, AlarmAction::kRestart, kAt}, "已执行过", "", false},
      {{AlarmEventKind::kPowerSkippedLate, AlarmAction::kShutDown, kAt, 300}, "跳过", "300", true},
      {{AlarmEventKind::kPowerFailed, AlarmAction::kRestart, kAt, 0, 1314}, "失败", "1314", true},
  };
  for (const auto& row : rows) {
    const std::string text = EventText(row.event);
    EXPECT_NE(text.find("07:05:03"), std::string::npos) << text;
    EXPECT_NE(text.find(row.word), std::string::npos) << text;
    if (IsPowerAction(row.event.action)) {
      EXPECT_NE(text.find(ActionText(row.event.action)), std::string::npos) << text;
    }
    if (*row.number) {
      EXPECT_NE(text.find(row.number), std::string::npos) << text;
    }
    const std::string notice = EventNotice(row.event);
    EXPECT_EQ(!notice.empty(), row.told) << text;
    if (row.told) {
      EXPECT_NE(notice.find("07:05:03"), std::string::npos) << notice;
    }
  }
  LocalTime now;
  now.year = 2026, now.month = 12, now.day = 8, now.hour = 0, now.minute = 0, now.second = 9;
  AlarmEvent of_alarm_12 = rows[0].event;
  of_alarm_12.alarm = 12;  // every line names its alarm
  EXPECT_EQ(LogLine(of_alarm_12, now), "2026-12-08 00:00:09  闹钟12 显示提醒 (07:05:03)\r\n");
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

// A failed state write names what failed, its key and the reason in the log; the user is
// told what it means, once per run.
TEST(ProgramState, AFailedWriteNamesItsKeyAndReasonAndIsToldOnce) {
  EXPECT_EQ(StateWriteFailedLogText(StateWrite::kPutOff, "option.ini 是只读的"),
            "无法保存稍后提醒 ([状态] 稍后提醒): option.ini 是只读的");
  EXPECT_EQ(StateWriteFailedLogText(StateWrite::kRunOnce, "注册表拒绝写入 (系统错误 5)"),
            "无法设置重启后启动一次 (RunOnce Norvel): 注册表拒绝写入 (系统错误 5)");
  EXPECT_TRUE(StateWriteFailedNotice(StateWrite::kLastPowerAction, "r")
                  .starts_with("无法记录这次电源操作:r\n"));
  OncePerRun told;
  EXPECT_TRUE(told.First());
  EXPECT_FALSE(told.First());
}

// Still running two minutes after its own restart was asked for, the restart did not happen:
// said once, not before.
TEST(ProgramState, ARestartStillWaitedForAfterTwoMinutesDidNotHappen) {
  RestartFollowUp follow_up;
  EXPECT_FALSE(follow_up.DidNotHappen(500000));  // nothing asked
  follow_up.Requested(1000);
  EXPECT_FALSE(follow_up.DidNotHappen(120999));
  EXPECT_TRUE(follow_up.DidNotHappen(121000));
  EXPECT_FALSE(follow_up.DidNotHappen(130000));
  EXPECT_EQ(RestartDidNotHappenLogText(),
            "重启没有发生 (请求后 120 秒程序仍在运行), 已删除 RunOnce");
}

}  // namespace
}  // namespace norvel
