// Setting the alarm of a running program to a second a little ahead, through its lists
// (without OK), as a user would pick them.
#pragma once

#include <windows.h>

#include <string>

namespace norvel::e2e {

// The local time `seconds` from now, as the texts the lists take.
struct Trigger {
  std::string hour, minute, second;
  WORD second_value = 0;
  ULONGLONG at_tick = 0;  // GetTickCount64 at the start of that second
  std::string date;       // its local date, "YYYY-MM-DD"
};

Trigger TriggerIn(int seconds);

// The local date and time `seconds` from now as "2026-12-08 07:05:03", as the program keeps
// it in option.ini.
std::string StampIn(int seconds);

// The trigger's time of day as "HH:MM:SS", as the program writes it down.
std::string ClockText(const Trigger& trigger);

// Sets Combo4 to `action`, then Combo1 to Combo3 to the trigger's time.
void SetTrigger(HWND form1, const Trigger& trigger, const std::string& action);

// Returns once the trigger's second is over (its ticks have all passed).
void WaitPastTrigger(const Trigger& trigger);

}  // namespace norvel::e2e
