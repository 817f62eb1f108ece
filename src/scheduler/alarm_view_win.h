// What the tick needs of the settings window: its alarms (the selected one's lists as they
// show), a place for the status line, and the timer that runs the tick. The settings window
// provides it; the tick knows nothing else of it.
#pragma once

#include "scheduler/alarm_set.h"

namespace norvel {

class AlarmView : public AlarmTexts {
 public:
  virtual void ShowStatusLine(const wchar_t* text) = 0;
  // Sets the tick's timer to this interval from now on.
  virtual void RetimeTick(int interval_ms) = 0;

 protected:
  ~AlarmView() = default;
};

}  // namespace norvel
