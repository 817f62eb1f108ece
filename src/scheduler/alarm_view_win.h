// What the tick needs of the settings window: the texts of its lists, and a place for the
// status line. The settings window provides it; the tick knows nothing else of it.
#pragma once

#include "scheduler/alarm_lists.h"

namespace norvel {

class AlarmView : public ListTexts {
 public:
  virtual void ShowStatusLine(const wchar_t* text) = 0;

 protected:
  ~AlarmView() = default;
};

}  // namespace norvel
