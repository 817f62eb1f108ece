// The tick of Form1's Timer1: reads the clock and the alarms, asks them what this tick must
// do, and applies the answer (status line, warning, reminder, shut-down or
// restart, what the user is told and what is written down).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "scheduler/alarm.h"
#include "scheduler/alarm_view_win.h"
#include "scheduler/ZXH.h"
#include "scheduler/power_warning.h"
#include "scheduler/alarm_set.h"
#include "scheduler/tick_phase.h"

namespace norvel {

// The local time of the machine.
class LocalClock final : public Clock {
 public:
  LocalTime Now() const override;
  std::int64_t MonotonicMs() const override;
};

// What the tick does to the desktop and the system; replaceable in tests.
struct AlarmEffects {
  // Minimize the desktop's windows and show these alarms' reminders (every tick of their
  // second).
  std::function<void(const std::vector<int>& alarms)> show_reminders;
  // Runs once before the first request of a shut-down or restart at `occurrence`.
  std::function<void(AlarmAction action, std::int64_t occurrence)> before_power;
  // The system refused the first request of a shut-down or restart (not a repeat of it
  // within its second, which may fail because the first is under way).
  std::function<void(AlarmAction action)> power_refused;
  // Asks the system to shut down or restart (`flags` of ExitWindowsEx): 0 when it took the
  // request, otherwise the system's error number.
  std::function<DWORD(UINT flags)> exit_windows;
  // Tells the user something from the notification-area icon.
  std::function<void(const std::wstring& text)> tell;
  // Shows, updates or (nullopt) closes the warning before a shut-down or restart named
  // `action` (its list text).
  std::function<void(const std::optional<PowerWarning>& warning, const std::wstring& action)> warn;
  // A warning appeared (none showed before): the alarm whose shut-down or restart it is.
  std::function<void(int alarm)> warning_appeared;
  // The alarm's put-off is pending no more (it rang, or the alarm is off or deleted).
  std::function<void(int alarm)> put_off_ended;
  // Writes one line (UTF-8, with its line end) to the program's log.
  std::function<void(const std::string& line)> log;
};

// Appends one line to norvel.log beside the program. Safe from any thread: the appends of
// the tick and of its watchdog never lose each other's line.
void AppendToProgramLog(const std::string& line);

// The effects of the real program: `show_reminders` clears the desktop and shows the
// reminders (every tick of their second), `tell` shows a text to the user (from the
// notification-area icon); the log is norvel.log beside the program.
AlarmEffects SystemAlarmEffects(std::function<void(const std::vector<int>&)> show_reminders,
                                std::function<void(const std::wstring&)> tell);

class AlarmTick {
 public:
  AlarmTick(AlarmView& view, const Clock& clock, AlarmEffects effects,
            std::optional<std::int64_t> last_power_second = std::nullopt);
  AlarmTick(const AlarmTick&) = delete;
  AlarmTick& operator=(const AlarmTick&) = delete;

  void Tick();
  // The user cancelled the shut-down or restart at this second (civil seconds): it is
  // neither carried out nor caught up.
  void CancelPowerAction(std::int64_t occurrence);
  // 稍后提醒: the alarm's reminder comes again `minutes` from now; returns its second.
  // Replaces the alarm's pending one.
  std::int64_t PutOffReminder(int alarm, int minutes);
  // Arms a put-off kept from an earlier run (civil seconds).
  void RearmPutOff(int alarm, std::int64_t due) { alarms_.PutOff(alarm, due); }
  void CancelPutOff(int alarm) { alarms_.CancelPutOff(alarm); }
  std::vector<std::pair<int, std::int64_t>> PendingPutOffs() const {
    return alarms_.PendingPutOffs();
  }
  // The alarm whose reminder's picture is wanted ready (from a minute before its second), or 0.
  int PictureWanted() const { return picture_wanted_; }
  // The next second the alarm at `index` rings, or nullopt (off, or no trigger).
  std::optional<std::int64_t> NextRing(int index) const {
    return alarms_.NextRing(view_, index, NowSecond());
  }
  // The clock's second now (civil seconds).
  std::int64_t NowSecond() const { return CivilSeconds(clock_.Now()); }
  // A note the status line shows before the time instead of the date ("" for none): a
  // reminder that waits, say.
  void SetStatusNote(const std::wstring& note) { note_ = note; }
  // The work-day calendar of "工作日" and "休息日"; it must outlive its use.
  void SetCalendar(const HolidayCalendar& calendar) { alarms_.SetCalendar(calendar); }

 private:
  void Apply(const AlarmSetPlan& plan, const LocalTime& now);
  void RunPowerAction(const AlarmSetPlan& plan, const LocalTime& now);
  void Note(const AlarmEvent& event, const LocalTime& now);
  void UpdateStatusLine(const LocalTime& now);

  AlarmView& view_;
  const Clock& clock_;
  AlarmEffects effects_;
  AlarmSet alarms_;
  TickPhase phase_;
  int picture_wanted_ = 0;
  StatusLineParts<wchar_t> parts_;
  // Reused from tick to tick: no allocation once they have grown.
  std::wstring status_, shown_status_, note_;
};

}  // namespace norvel
