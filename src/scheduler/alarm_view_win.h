// What the tick needs of the settings window: its alarms (the selected one's lists as they
// show), and a place for the status line. The settings window provides it; the tick knows
// nothing else of it.
#pragma once

#include "scheduler/alarm_set.h"

namespace norvel {

class AlarmView : public AlarmTexts {
 public:
  virtual void ShowStatusLine(const wchar_t* text) = 0;

 protected:
  ~AlarmView() = default;
};

}  // namespace norvel
