#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "scheduler/calendar/day_rule.h"
#include "scheduler/calendar/holiday_file.h"

namespace norvel {
namespace {

CivilDate Date(const char* text) {
  CivilDate d;
  std::sscanf(text, "%d-%d-%d", &d.year, &d.month, &d.day);
  return d;
}

HolidayCalendar CalendarFrom(std::string_view file) {
  return HolidayCalendar(ParseHolidayFile(file).overrides);
}

TEST(CivilDate, WeekdayAcrossLeapDaysAndBefore1970) {
  const struct {
    const char* date;
    int weekday;
  } rows[] = {{"1970-01-01", 4}, {"1969-12-31", 3}, {"2000-02-29", 2},
              {"2024-02-04", 0}, {"2026-02-28", 6}, {"2100-03-01", 1}};
  for (const auto& row : rows) EXPECT_EQ(WeekdayOf(Date(row.date)), row.weekday) << row.date;
}

// The generator keeps only weekday-changing facts; a date in the wrong list or out of order
// would make the binary search miss it.
TEST(HolidayTable, SortedWeekdaysOffAndWeekendWorkDaysWithinItsYears) {
  const HolidayTable table = BuiltInHolidayTable();
  EXPECT_LE(table.first_year, 2004);
  EXPECT_GE(table.last_year, 2026);
  for (const auto* list : {&table.days_off, &table.work_days}) {
    ASSERT_FALSE(list->empty());
    EXPECT_TRUE(std::is_sorted(list->begin(), list->end()));
    for (const std::uint32_t packed : *list) {
      const CivilDate d{static_cast<int>(packed / 10000), static_cast<int>(packed / 100 % 100),
                        static_cast<int>(packed % 100)};
      ASSERT_TRUE(IsValidDate(d)) << packed;
      EXPECT_TRUE(d.year >= table.first_year && d.year <= table.last_year) << packed;
      const bool weekend = WeekdayOf(d) == 0 || WeekdayOf(d) == 6;
      EXPECT_EQ(weekend, list == &table.work_days) << packed;
    }
  }
}

TEST(HolidayCalendar, PublishedHolidaysAndMakeUpDays) {
  const struct {
    const char* date;
    bool work_day;
  } rows[] = {
      {"2004-01-01", false}, {"2004-01-02", true},  {"2010-02-13", false}, {"2010-02-19", false},
      {"2010-02-20", true},  {"2010-09-26", true},  {"2010-10-01", false}, {"2010-10-07", false},
      {"2010-10-09", true},  {"2015-02-15", true},  {"2015-02-18", false}, {"2015-02-24", false},
      {"2015-10-01", false}, {"2015-10-07", false}, {"2015-10-10", true},  {"2020-01-19", true},
      {"2020-01-24", false}, {"2020-01-31", false}, {"2020-02-01", false},  // make-up day dropped
      {"2020-02-02", false}, {"2020-02-03", true},  {"2020-10-01", false}, {"2020-10-08", false},
      {"2020-10-10", true},  {"2024-02-04", true},  {"2024-02-18", true},  {"2024-03-06", true},
      {"2024-03-09", false}, {"2024-10-01", false}, {"2024-10-04", false}, {"2024-10-07", false},
      {"2024-10-08", true},  {"2024-10-12", true},  {"2025-01-26", true},  {"2025-01-28", false},
      {"2025-02-04", false}, {"2025-02-05", true},  {"2025-10-01", false}, {"2025-10-08", false},
      {"2025-10-11", true},  {"2026-02-14", true},  {"2026-02-15", false}, {"2026-02-23", false},
      {"2026-02-24", true},  {"2026-10-01", false}, {"2026-10-07", false}, {"2026-10-10", true},
  };
  const HolidayCalendar calendar;
  for (const auto& row : rows) {
    const WorkDayAnswer answer = calendar.IsWorkDay(Date(row.date));
    EXPECT_EQ(answer.work_day, row.work_day) << row.date;
    EXPECT_TRUE(answer.year_known) << row.date;
  }
}

TEST(HolidayCalendar, FileLinesOverrideTheTableAndMakeTheirYearKnown) {
  const HolidayCalendar calendar = CalendarFrom(
      "2024-10-08 休\n2024-10-03 班\n2024-02-04 休\n2027-02-20 班\n"
      "2027-01-04 班\n2027-01-04 休\n");  // the later line of a date wins
  const struct {
    const char* date;
    bool work_day;
  } rows[] = {{"2024-10-08", false}, {"2024-10-03", true}, {"2024-02-04", false},
              {"2024-10-09", true},  {"2027-02-20", true}, {"2027-02-21", false},
              {"2027-03-03", true},  {"2027-01-04", false}};
  for (const auto& row : rows) {
    const WorkDayAnswer answer = calendar.IsWorkDay(Date(row.date));
    EXPECT_EQ(answer.work_day, row.work_day) << row.date;
    EXPECT_TRUE(answer.year_known) << row.date;
  }
  EXPECT_FALSE(calendar.KnowsYear(2028));
}

TEST(DayRule, UnknownYearFallsBackToMondayToFridayAndSaysSo) {
  const HolidayCalendar calendar;
  const struct {
    DayRule rule;
    const char* date;
    bool rings;
    bool unknown;
  } rows[] = {
      {DayRule::kWorkDay, "2031-01-01", true, true},
      {DayRule::kRestDay, "2031-01-01", false, true},
      {DayRule::kWorkDay, "2031-01-04", false, true},
      {DayRule::kRestDay, "2031-01-04", true, true},
      {DayRule::kEveryDay, "2031-01-04", true, false},
      {DayRule::kSaturday, "2031-01-04", true, false},
      {DayRule::kRestDay, "2024-10-01", true, false},
      {DayRule::kWorkDay, "2024-10-12", true, false},
  };
  for (const auto& row : rows) {
    const DayRuleMatch match = DayRuleMatches(row.rule, Date(row.date), calendar);
    EXPECT_EQ(match.rings, row.rings) << row.date << " rule " << static_cast<int>(row.rule);
    EXPECT_EQ(match.unknown_year, row.unknown ? std::optional<int>(2031) : std::nullopt)
        << row.date;
  }
  EXPECT_EQ(UnknownHolidayYearText(2027),
            "2027 年的节假日安排未知，工作日按周一至周五计算，可在 holidays.txt 中补充");
}

// From 1 December of the table's last year the user hears, ahead of time, that next year is
// not built in, and how to add it; not before, and not once holidays.txt has that year.
TEST(HolidayCalendar, TellsAheadWhenNextYearIsNotBuiltIn) {
  const HolidayTable table{2004, 2026, {}, {}};
  const HolidayCalendar built_in({}, table);
  const HolidayCalendar with_file({{{2027, 1, 1}, false}}, table);
  EXPECT_EQ(NextYearUnknownText({2026, 11, 30}, built_in, table), "");
  const std::string text = NextYearUnknownText({2026, 12, 1}, built_in, table);
  EXPECT_TRUE(text.starts_with("内置的节假日安排只到 2026 年，2027 年的官方安排还没有内置。"))
      << text;
  EXPECT_NE(text.find("\"2027-01-01 休\"、\"2027-02-20 班\""), std::string::npos) << text;
  EXPECT_NE(NextYearUnknownText({2026, 12, 31}, built_in, table), "");
  EXPECT_EQ(NextYearUnknownText({2026, 12, 8}, with_file, table), "");
  EXPECT_EQ(NextYearUnknownText({2025, 12, 8}, built_in, table), "");
}

// 2024-10-07 is a Monday off, 2024-10-12 a Saturday at work: weekday items ignore both.
TEST(DayRule, WeekdayItemsRingOnTheirWeekdayOnly) {
  const HolidayCalendar calendar;
  for (int i = 0; i < 7; ++i) {
    const CivilDate date{2024, 10, 7 + i};
    for (int j = 0; j < 7; ++j) {
      const auto rule = static_cast<DayRule>(static_cast<int>(DayRule::kMonday) + j);
      EXPECT_EQ(DayRuleMatches(rule, date, calendar).rings, i == j) << date.day << ' ' << j;
    }
  }
}

TEST(DayRule, ItemTextsNameTheRulesInListOrderAndOtherTextMeansEveryDay) {
  for (std::size_t i = 0; i < kDayRuleTexts.size(); ++i) {
    EXPECT_EQ(DayRuleNamed(kDayRuleTexts[i]), static_cast<DayRule>(i)) << kDayRuleTexts[i];
  }
  EXPECT_EQ(DayRuleNamed("周日"), DayRule::kSunday);
  for (const char* other : {"", "周八", " 工作日", "工作日 ", "Monday"}) {
    EXPECT_EQ(DayRuleNamed(other), DayRule::kEveryDay) << other;
  }
}

TEST(HolidayFile, SkipsUnreadableLinesByNumberAndKeepsTheRest) {
  const HolidayFile file = ParseHolidayFile(
      "# 2027 年\n"            // 1 comment
      "\n"                     // 2 blank
      "2027-01-01 休\r\n"      // 3
      "2027-1-4\t班\n"         // 4 one-digit month and day, a tab
      "2027-02-29 休\n"        // 5 no such date
      "2027-01-01休\n"         // 6 no blank before the mark
      "2027/01/02 休\n"        // 7
      "2027-01-02 休息\n"      // 8
      "  2027-01-05 班  \r\n"  // 9 blanks around
      "\xE3\x80\x80"
      "2027-01-06\xE3\x80\x80休\xE3\x80\x80\n"  // 10 ideographic spaces
      "2027-01-07 休 元旦\n"                    // 11 text after the mark
      "   # indented comment\n"                 // 12
      "2027-01-08 班");                         // 13 no line end
  EXPECT_EQ(file.bad_lines, (std::vector<int>{5, 6, 7, 8, 11}));
  ASSERT_EQ(file.overrides.size(), 5u);
  const struct {
    const char* date;
    bool work_day;
  } expected[] = {{"2027-01-01", false},
                  {"2027-01-04", true},
                  {"2027-01-05", true},
                  {"2027-01-06", false},
                  {"2027-01-08", true}};
  for (std::size_t i = 0; i < file.overrides.size(); ++i) {
    EXPECT_EQ(file.overrides[i].date, Date(expected[i].date)) << i;
    EXPECT_EQ(file.overrides[i].work_day, expected[i].work_day) << i;
  }
  EXPECT_EQ(BadHolidayLineText(3), "holidays.txt 第 3 行无法识别，已跳过");
}

// A read that failed (an editor held the file) is tried again at the next look, though the
// file's time stamp did not change; a read that succeeded is not repeated until it changes.
TEST(HolidayFile, AFailedReadIsTriedAgainAtTheNextLook) {
  HolidayFileWatch watch;
  const HolidayFileWatch::Stamp file{true, 120, 7};
  ASSERT_TRUE(watch.ReadWanted(file));
  watch.Read(file, /*succeeded=*/false);
  EXPECT_TRUE(watch.ReadWanted(file));
  watch.Read(file, /*succeeded=*/true);
  EXPECT_FALSE(watch.ReadWanted(file));
  EXPECT_TRUE(watch.ReadWanted({true, 120, 8}));
  EXPECT_TRUE(watch.ReadWanted({}));  // gone
}

TEST(HolidayFile, ReadsUtf8WithBomAndGbk) {
  const struct {
    const char* name;
    std::string bytes;
    std::vector<int> bad_lines;
  } rows[] = {
      {"UTF-8 with BOM",
       "\xEF\xBB\xBF"
       "2027-01-01 休\n2027-01-02 班\n",
       {}},
      {"GBK", "2027-01-01 \xD0\xDD\r\n2027-01-02 \xB0\xE0\r\n", {}},
      {"GBK, a byte that is no character",
       "2027-01-01 \xD0\xDD\n2027-01-03 \xFF\n"
       "2027-01-02 \xB0\xE0\n",
       {2}},
  };
  for (const auto& row : rows) {
    const HolidayFile file = ParseHolidayFile(row.bytes);
    EXPECT_EQ(file.bad_lines, row.bad_lines) << row.name;
    ASSERT_EQ(file.overrides.size(), 2u) << row.name;
    EXPECT_EQ(file.overrides[0].date, Date("2027-01-01")) << row.name;
    EXPECT_FALSE(file.overrides[0].work_day) << row.name;
    EXPECT_EQ(file.overrides[1].date, Date("2027-01-02")) << row.name;
    EXPECT_TRUE(file.overrides[1].work_day) << row.name;
  }
}

}  // namespace
}  // namespace norvel
