// The tick of Form1's Timer1: status line, trigger rule, and the action of a match.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "scheduler/ZXH.h"
#include "scheduler/alarm.h"

namespace norvel {

class Form1;

// The local time of the machine.
class LocalClock final : public Clock {
 public:
  LocalTime Now() const override;
};

// What a matching tick does to the desktop and the system; replaceable in tests.
struct AlarmEffects {
  std::function<void()> show_reminder;  // minimize the desktop's windows, show Form2
  std::function<void(UINT flags)> exit_windows;  // enable the privilege, ExitWindowsEx(flags, 0)
};

// The effects of the real program.
AlarmEffects SystemAlarmEffects(std::function<void()> show_form2);

class AlarmTick {
 public:
  AlarmTick(Form1& form1, const Clock& clock, AlarmEffects effects);

  void Tick();

 private:
  void UpdateStatusLine(const LocalTime& now);
  std::wstring_view ReadList(int id, wchar_t (&buffer)[64]) const;

  Form1& form1_;
  const Clock& clock_;
  AlarmEffects effects_;
  StatusLineParts<wchar_t> parts_;
  std::wstring every_hour_, remind_, shut_down_, restart_;
  // Reused from tick to tick: no allocation once they have grown.
  std::wstring status_, shown_status_;
  // The second the status line was last composed for: its text changes only with it.
  LocalTime status_time_{};
  bool status_composed_ = false;
};

}  // namespace norvel
