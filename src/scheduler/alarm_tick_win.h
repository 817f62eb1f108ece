// The tick of Form1's Timer1: status line, trigger rule, and the action of a match.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "scheduler/ZXH.h"
#include "scheduler/alarm.h"
#include "scheduler/alarm_view_win.h"
#include "scheduler/missed_trigger.h"
#include "scheduler/power_warning.h"

namespace norvel {

// The local time of the machine.
class LocalClock final : public Clock {
 public:
  LocalTime Now() const override;
  std::int64_t MonotonicMs() const override;
};

// What a matching tick does to the desktop and the system; replaceable in tests.
struct AlarmEffects {
  std::function<void()> show_reminder;           // minimize the desktop's windows, show Form2
  std::function<void(UINT flags)> exit_windows;  // enable the privilege, ExitWindowsEx(flags, 0)
  // Tells the user of a shut-down or restart that was missed and is not carried out late.
  std::function<void(const std::wstring& text)> tell_missed;
  // Shows, updates or (nullopt) closes the warning before a shut-down or restart named
  // `action` (its list text).
  std::function<void(const std::optional<PowerWarning>& warning, const std::wstring& action)> warn;
};

// The effects of the real program: `show_form2` shows the reminder, `tell` shows a text to
// the user (from the notification-area icon).
AlarmEffects SystemAlarmEffects(std::function<void()> show_form2,
                                std::function<void(const std::wstring&)> tell);

class AlarmTick {
 public:
  AlarmTick(AlarmView& view, const Clock& clock, AlarmEffects effects);
  AlarmTick(const AlarmTick&) = delete;  // holds views of its own strings
  AlarmTick& operator=(const AlarmTick&) = delete;

  void Tick();
  // The user cancelled the shut-down or restart at this second (civil seconds): it is
  // neither carried out nor caught up.
  void CancelPowerAction(std::int64_t occurrence);

 private:
  void UpdateWarning(std::int64_t now_second);
  void RunPowerAction(AlarmAction action, std::int64_t occurrence);
  void CatchUp(const TickReading& previous, const TickReading& current);
  void UpdateStatusLine(const LocalTime& now, std::int64_t now_second);
  std::wstring_view ReadList(AlarmList list, wchar_t (&buffer)[AlarmView::kListBuffer]) const {
    return view_.ListText(list, buffer);
  }

  AlarmView& view_;
  const Clock& clock_;
  AlarmEffects effects_;
  StatusLineParts<wchar_t> parts_;
  std::wstring every_hour_, remind_, shut_down_, restart_;
  ActionTexts<wchar_t> actions_;  // views of the three texts above
  // Reused from tick to tick: no allocation once they have grown.
  std::wstring status_, shown_status_;
  // The second (civil count) the status line was last composed for: its text changes only
  // with it.
  std::int64_t status_second_ = -1;
  // The previous tick's clocks, to see a trigger second that no tick ran in.
  std::optional<TickReading> previous_;
  PowerWarningPlan warnings_;
  std::int64_t warned_second_ = -1;  // the second the warning was last decided for
  bool warning_shown_ = false;
};

}  // namespace norvel
