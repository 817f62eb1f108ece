#include "scheduler/calendar/calendar.h"

#include <algorithm>

namespace norvel {
namespace {

bool Contains(std::span<const std::uint32_t> sorted, std::uint32_t packed) {
  return std::binary_search(sorted.begin(), sorted.end(), packed);
}

}  // namespace

HolidayCalendar::HolidayCalendar(const std::vector<HolidayOverride>& overrides, HolidayTable table)
    : table_(table) {
  overrides_.reserve(overrides.size());
  for (const HolidayOverride& o : overrides)
    overrides_.emplace_back(PackedDate(o.date), o.work_day);
  // A stable sort keeps each date's lines in file order; the last of them is the one kept.
  std::stable_sort(overrides_.begin(), overrides_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::pair<std::uint32_t, bool>> last;
  last.reserve(overrides_.size());
  for (const auto& entry : overrides_) {
    if (!last.empty() && last.back().first == entry.first) {
      last.back() = entry;
    } else {
      last.push_back(entry);
    }
  }
  overrides_ = std::move(last);
  for (const HolidayOverride& o : overrides) file_years_.push_back(o.date.year);
  std::sort(file_years_.begin(), file_years_.end());
  file_years_.erase(std::unique(file_years_.begin(), file_years_.end()), file_years_.end());
}

bool HolidayCalendar::KnowsYear(int year) const {
  return (year >= table_.first_year && year <= table_.last_year) ||
         std::binary_search(file_years_.begin(), file_years_.end(), year);
}

WorkDayAnswer HolidayCalendar::IsWorkDay(CivilDate date) const {
  const std::uint32_t packed = PackedDate(date);
  const auto entry =
      std::lower_bound(overrides_.begin(), overrides_.end(), packed,
                       [](const auto& o, std::uint32_t value) { return o.first < value; });
  if (entry != overrides_.end() && entry->first == packed) return {entry->second, true};

  const int weekday = WeekdayOf(date);
  const bool weekend = weekday == 0 || weekday == 6;
  // Outside the table's years both spans' lookups find nothing: plain Monday to Friday.
  const bool work_day =
      weekend ? Contains(table_.work_days, packed) : !Contains(table_.days_off, packed);
  return {work_day, KnowsYear(date.year)};
}

std::string UnknownHolidayYearText(int year) {
  std::string text = std::to_string(year);
  text += " 年的节假日安排未知，工作日按周一至周五计算，可在 ";
  text += kHolidayFileName;
  text += " 中补充";
  return text;
}

std::string NextYearUnknownText(CivilDate today, const HolidayCalendar& calendar,
                                const HolidayTable& table) {
  const int next = table.last_year + 1;
  if (today.year != table.last_year || today.month != 12 || calendar.KnowsYear(next)) return {};
  const std::string year = std::to_string(next);
  std::string text = "内置的节假日安排只到 " + std::to_string(table.last_year) + " 年，" + year +
                     " 年的官方安排还没有内置。\n公布后可写进 norvel.exe 旁的 ";
  text += kHolidayFileName;
  text += "，每行一个日期，例如 \"" + year + "-01-01 休\"、\"" + year + "-02-20 班\"。";
  return text;
}

const HolidayCalendar& BuiltInCalendar() {
  static const HolidayCalendar calendar;
  return calendar;
}

}  // namespace norvel
