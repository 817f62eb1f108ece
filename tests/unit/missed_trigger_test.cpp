#include <gtest/gtest.h>

#include <string>

#include "fake_lists.h"
#include "scheduler/missed_trigger.h"
#include "scheduler_ticks.h"

namespace norvel {
namespace {

using testing::Wall;

// The trigger as the lists name it, through the tick's one parser.
std::optional<MissedTrigger> Find(const TickReading& previous, const TickReading& current,
                                  const char* hour, const char* minute, const char* second) {
  const testing::FakeLists texts(hour, minute, second, "");
  ListsReading lists(texts);
  const std::optional<TriggerTime> trigger = lists.Trigger();
  if (!trigger) return std::nullopt;
  return FindMissedTrigger(previous, current, *trigger);
}

constexpr std::int64_t kAsWall = -1;  // the tick count advanced as much as the wall clock

TEST(MissedTrigger, LatestUnseenTriggerSecondBetweenTwoTicks) {
  struct Row {
    const char *name, *previous, *current, *hour, *minute, *second;
    const char* missed = nullptr;  // "HH:MM:SS", or nothing missed
    std::int64_t late = 0;
    bool power_due = false;
    std::int64_t elapsed_ms = kAsWall;
  };
  const Row rows[] = {
      {"ticks 50 ms apart", "07:05:02.950", "07:05:03.000", "7", "5", "3"},
      {"stall ending in the trigger second", "07:05:00.500", "07:05:03.200", "7", "5", "3"},
      {"stall starting in the trigger second", "07:05:03.950", "07:05:06.000", "7", "5", "3"},
      {"stall of 2 s", "07:05:02.950", "07:05:04.000", "7", "5", "3", "07:05:03", 1, true},
      {"60 s late", "07:05:02.950", "07:06:03.000", "7", "5", "3", "07:05:03", 60, true},
      {"61 s late", "07:05:02.950", "07:06:04.000", "7", "5", "3", "07:05:03", 61, false},
      {"sleep of 8 h", "2026-12-07 23:00:00.000", "2026-12-08 07:00:00.000", "6", "30", "0",
       "06:30:00", 1800},
      {"3 days: only the latest", "2026-12-04 08:00:00.000", "08:00:00.000", "7", "5", "3",
       "07:05:03", 3297},
      {"every hour over 3 h: the latest", "07:10:00.000", "10:20:00.000", "每小时", "15", "0",
       "10:15:00", 300},
      {"every hour, gap inside one hour", "07:16:00.000", "08:14:59.000", "每小时", "15", "0"},
      {"clock set back", "07:06:00.000", "07:04:00.050", "7", "5", "3", nullptr, 0, false, 50},
      {"clock set forward", "07:04:00.000", "07:05:30.000", "7", "5", "3", "07:05:03", 27, false,
       50},
      {"tick count 2 s behind is no jump", "07:05:00.000", "07:05:10.000", "7", "5", "3",
       "07:05:03", 7, true, 8000},
      {"midnight, 23:59:59", "2026-12-07 23:59:58.950", "2026-12-08 00:00:00.050", "23", "59", "59",
       "23:59:59", 1, true},
      {"midnight, 0:00:00", "2026-12-07 23:59:59.000", "2026-12-08 00:00:01.000", "0", "0", "0",
       "00:00:00", 1, true},
      {"year end", "2026-12-31 23:59:58.900", "2027-01-01 00:00:01.000", "0", "0", "0", "00:00:00",
       1, true},
      {"leap day", "2024-02-28 23:00:00.000", "2024-03-01 01:00:00.000", "12", "0", "0", "12:00:00",
       46800},
      {"a day's gap", "2026-12-06 12:00:00.000", "12:00:00.000", "7", "5", "3", "07:05:03", 17697},
      {"leading zero", "2026-12-06 12:00:00.000", "12:00:00.000", "07", "5", "3"},
      {"empty", "2026-12-06 12:00:00.000", "12:00:00.000", "7", "", "3"},
      {"blank", "2026-12-06 12:00:00.000", "12:00:00.000", "7", "5", " 3"},
      {"minute 60", "2026-12-06 12:00:00.000", "12:00:00.000", "7", "60", "3"},
      {"hour 24", "2026-12-06 12:00:00.000", "12:00:00.000", "24", "5", "3"},
      {"every hour with a blank", "2026-12-06 12:00:00.000", "12:00:00.000", "每小时 ", "5", "3"},
  };
  for (const Row& row : rows) {
    const TickReading previous{Wall(row.previous), 5'000'000};
    const TickReading current{Wall(row.current), 0};
    const std::int64_t wall_ms = (CivilSeconds(current.wall) - CivilSeconds(previous.wall)) * 1000 +
                                 current.wall.millisecond - previous.wall.millisecond;
    const TickReading now{current.wall, previous.monotonic_ms +
                                            (row.elapsed_ms == kAsWall ? wall_ms : row.elapsed_ms)};
    const auto missed = Find(previous, now, row.hour, row.minute, row.second);
    ASSERT_EQ(missed.has_value(), row.missed != nullptr) << row.name;
    if (!missed) continue;
    EXPECT_EQ(TimeOfDayText(missed->civil_second), row.missed) << row.name;
    EXPECT_EQ(missed->seconds_late, row.late) << row.name;
    EXPECT_EQ(PowerActionStillDue(*missed), row.power_due) << row.name;
  }
}

TEST(MissedTrigger, CivilSecondsCountCenturiesLeapDaysAndTimesBefore1970) {
  const struct {
    const char* wall;
    std::int64_t seconds;  // as Unix time of the same UTC reading
  } rows[] = {
      {"1900-03-01 00:00:00.000", -2203891200}, {"1969-12-31 23:59:59.000", -1},
      {"1970-01-01 00:00:00.000", 0},           {"2000-02-29 12:00:00.000", 951825600},
      {"2026-12-07 07:05:03.000", 1796627103},  {"2100-03-01 00:00:00.000", 4107542400},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CivilSeconds(Wall(row.wall)), row.seconds) << row.wall;
    EXPECT_EQ(TimeOfDayText(row.seconds), std::string(row.wall + 11, 8)) << row.wall;
  }
}

}  // namespace
}  // namespace norvel
