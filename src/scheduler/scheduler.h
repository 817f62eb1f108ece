// The alarm's state machine, one call per tick: given one reading of the clocks and the lists
// as the settings window shows them, it says everything this tick must do. It keeps what
// the ticks need to remember: the previous reading (to see a trigger second that no tick
// ran in), the cancelled occurrence, the warning shown, what was already written down.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "scheduler/alarm.h"
#include "scheduler/alarm_lists.h"
#include "scheduler/alarm_log.h"
#include "scheduler/calendar/calendar.h"
#include "scheduler/missed_trigger.h"
#include "scheduler/power_warning.h"
#include "scheduler/put_off.h"

namespace norvel {

// What one tick must do. Reused from tick to tick: no allocation once it has grown.
struct TickPlan {
  std::int64_t now_second = 0;  // the tick's second (civil seconds)
  bool new_second = false;      // the status line shows a new second
  bool show_reminder = false;   // clear the desktop and show the reminder
  // A shut-down or restart to ask of the system, for the trigger second `power_occurrence`.
  AlarmAction power = AlarmAction::kNone;
  std::int64_t power_occurrence = 0;
  // The first request of this occurrence: its second is recorded before the request, so
  // that it is never carried out twice.
  bool record_power = false;
  // Show, update or (nullopt) close the warning for `warning_action`.
  bool update_warning = false;
  std::optional<PowerWarning> warning;
  AlarmAction warning_action = AlarmAction::kNone;
  // What to write down, and tell the user where EventNotice has a text.
  std::vector<AlarmEvent> events;
  // The reminder's picture is wanted ready: its second (the trigger's, or a put-off's) is at
  // most kPrepareAheadSeconds ahead or is this one. Decided once a second.
  bool hold_picture = false;
  // The put-off reminder rang: it is no longer pending (nor kept in the settings file).
  bool put_off_rang = false;
  // A year whose holidays no one knows decided a "工作日" or "休息日" by the weekdays alone:
  // told once per run.
  std::optional<int> unknown_holiday_year;
};

inline constexpr std::int64_t kPrepareAheadSeconds = 60;

class Scheduler {
 public:
  // `last_power_second`: the trigger second of the last shut-down or restart carried out,
  // as recorded (nullopt: none).
  explicit Scheduler(std::optional<std::int64_t> last_power_second = std::nullopt)
      : calendar_(&BuiltInCalendar()), recorded_power_(last_power_second) {}

  const TickPlan& Tick(const TickReading& reading, ListsReading& lists);

  // The work-day calendar for "工作日" and "休息日" (the built-in one until set); it must
  // outlive the scheduler or the next call.
  void SetCalendar(const HolidayCalendar& calendar) { calendar_ = &calendar; }

  // The alarm was switched off: it forgets the tick it saw last (nothing is caught up across
  // the time it was off), a late shut-down or restart and its put-off.
  void Pause() {
    previous_.reset();
    late_power_.reset();
    put_off_.Cancel();
  }

  // 稍后提醒: the reminder comes again at `due` (civil seconds), replacing a pending one.
  void PutOffReminder(std::int64_t due) { put_off_.Set(due); }
  void CancelPutOff() { put_off_.Cancel(); }
  std::optional<std::int64_t> PendingPutOff() const { return put_off_.due(); }

  // The user cancelled the shut-down or restart of this second in its warning: it is neither
  // carried out nor caught up. Returns the event to write down.
  AlarmEvent CancelPowerAction(std::int64_t occurrence, AlarmAction action);
  // The system refused the request: the event to write down and tell, once per occurrence.
  std::optional<AlarmEvent> PowerActionFailed(AlarmAction action, std::int64_t occurrence,
                                              std::uint32_t error);

 private:
  void CatchUp(const TickReading& previous, const TickReading& current, ListsReading& lists);
  void UpdateWarning(ListsReading& lists);
  bool ReminderSoon(const LocalTime& now, ListsReading& lists);
  void Remind(std::int64_t occurrence, std::int64_t seconds_late);
  void RunPowerAction(AlarmAction action, std::int64_t occurrence, std::int64_t seconds_late = 0);
  void CatchUpPowerAction(AlarmAction action, const MissedTrigger& missed);
  bool PowerActionDone(std::int64_t occurrence) const;
  // Whether the trigger second `occurrence` falls on a day the lists' day rule rings on.
  bool RingsOn(ListsReading& lists, std::int64_t occurrence);

  TickPlan plan_;
  const HolidayCalendar* calendar_;
  PutOff put_off_;
  std::vector<int> told_years_;  // unknown holiday years already told
  std::optional<TickReading> previous_;
  std::int64_t status_second_ = -1;
  PowerWarningPlan warnings_;
  std::int64_t warned_second_ = -1;      // the second the warning was last decided for
  std::int64_t warned_occurrence_ = -1;  // the occurrence of the warning on screen, or -1
  // A shut-down or restart caught up without its warning having been seen: it warns for a
  // minute from its catch-up and is carried out at `due`.
  struct LatePowerAction {
    AlarmAction action = AlarmAction::kNone;
    std::int64_t occurrence = 0, due = 0;
  };
  std::optional<LatePowerAction> late_power_;
  std::int64_t reminded_ = -1;  // the last occurrence written down as shown
  bool same_second_ = false;
  bool hold_picture_ = false;                   // the previous tick ran in this tick's second
  std::optional<std::int64_t> recorded_power_;  // the last one carried out, by any run
  std::int64_t requested_power_ = -1;           // first asked of the system by this run
  std::int64_t refused_power_ = -1;             // written down as a repeat
  std::int64_t failed_power_ = -1;              // told as failed
};

}  // namespace norvel
