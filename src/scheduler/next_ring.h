// When an alarm rings next, for the list's "下次" column and the icon's tip: the trigger's
// next second on a day its day rule rings on, by the holiday calendar.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "scheduler/calendar/day_rule.h"
#include "scheduler/missed_trigger.h"

namespace norvel {

// The next second at or after `from` that `trigger` rings on under `rule`, looking at most
// 400 days ahead (nullopt beyond).
std::optional<std::int64_t> NextRingSecond(std::int64_t from, TriggerTime trigger, DayRule rule,
                                           const HolidayCalendar& calendar);

// The list's "下次" text of a ring at `next` seen at `now` (civil seconds): "今天 17:30:00",
// "明天 07:30:00", "周一 07:30:00" within the next seven days, else "12/28 07:30:00"; "—"
// for none.
std::string NextRingText(std::optional<std::int64_t> next, std::int64_t now);

}  // namespace norvel
