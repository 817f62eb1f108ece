#include <gtest/gtest.h>

#include <cstdio>

#include "scheduler/power_warning.h"

namespace norvel {
namespace {

// Civil seconds of 2026-12-<day> hh:mm:ss.
std::int64_t At(int day, int hour, int minute, int second) {
  LocalTime t;
  t.year = 2026, t.month = 12, t.day = day, t.hour = hour, t.minute = minute, t.second = second;
  return CivilSeconds(t);
}

constexpr int kEvery = TriggerTime::kEveryHour;

TEST(PowerWarning, ShowsTheLastMinuteBeforeTheSecondWithTheCount) {
  struct Row {
    const char* name;
    std::int64_t now;
    TriggerTime trigger;
    std::int64_t left;  // 0: no warning
    bool highlighted = false;
  };
  const Row rows[] = {
      {"a minute ahead", At(7, 7, 4, 3), {7, 5, 3}, 60},
      {"61 s ahead: not yet", At(7, 7, 4, 2), {7, 5, 3}, 0},
      {"set 8 s ahead", At(7, 7, 4, 55), {7, 5, 3}, 8, true},
      {"9 s: not highlighted", At(7, 7, 4, 54), {7, 5, 3}, 9},
      {"11 s: not yet flashing", At(7, 7, 4, 52), {7, 5, 3}, 11},
      {"last second", At(7, 7, 5, 2), {7, 5, 3}, 1},
      {"the second itself: the action, no warning", At(7, 7, 5, 3), {7, 5, 3}, 0},
      {"just after: tomorrow's is far", At(7, 7, 5, 4), {7, 5, 3}, 0},
      {"across midnight", At(7, 23, 59, 30), {0, 0, 10}, 40},
      {"across the year", At(31, 23, 59, 59), {0, 0, 0}, 1},
      {"every hour, the next hour's", At(7, 9, 59, 50), {kEvery, 0, 0}, 10, true},
      {"every hour, half past", At(7, 13, 29, 30), {kEvery, 30, 0}, 30},
      {"every hour, far", At(7, 13, 31, 0), {kEvery, 30, 0}, 0},
  };
  PowerWarningPlan plan;
  for (const Row& row : rows) {
    const auto warning = plan.At(row.now, row.trigger);
    ASSERT_EQ(warning.has_value(), row.left > 0) << row.name;
    if (!warning) continue;
    EXPECT_EQ(warning->seconds_left, row.left) << row.name;
    EXPECT_EQ(warning->occurrence, row.now + row.left) << row.name;
    EXPECT_EQ(warning->highlighted, row.highlighted) << row.name;
  }
}

TEST(PowerWarning, CancelAffectsOneOccurrenceAndAListChangeMovesTheWarning) {
  PowerWarningPlan plan;
  const TriggerTime hourly{kEvery, 0, 0};
  const auto first = plan.At(At(7, 9, 59, 30), hourly);
  ASSERT_TRUE(first);
  plan.Cancel(first->occurrence);
  EXPECT_TRUE(plan.Cancelled(At(7, 10, 0, 0)));
  EXPECT_FALSE(plan.At(At(7, 9, 59, 45), hourly));  // gone for this occurrence
  const auto next_hour = plan.At(At(7, 10, 59, 30), hourly);
  ASSERT_TRUE(next_hour);  // the next one warns again
  EXPECT_EQ(next_hour->occurrence, At(7, 11, 0, 0));
  EXPECT_FALSE(plan.Cancelled(next_hour->occurrence));
  // The lists set to another time: the warning moves to it, or goes when it is far.
  EXPECT_EQ(plan.At(At(7, 10, 59, 30), {11, 0, 20})->seconds_left, 50);
  EXPECT_FALSE(plan.At(At(7, 10, 59, 30), {12, 0, 0}));
}

}  // namespace
}  // namespace norvel
