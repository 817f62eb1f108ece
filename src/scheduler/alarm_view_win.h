// What the tick needs of the settings window: the texts of its four lists, and a place for
// the status line. The settings window provides it; the tick knows nothing else of it.
#pragma once

#include <string_view>

namespace norvel {

enum class AlarmList { kHour, kMinute, kSecond, kAction };

class AlarmView {
 public:
  static constexpr int kListBuffer = 64;
  // The list's text, read into `buffer`; empty when it is empty or fills the buffer (a text
  // that long names no trigger and no action).
  virtual std::wstring_view ListText(AlarmList list, wchar_t (&buffer)[kListBuffer]) const = 0;
  virtual void ShowStatusLine(const wchar_t* text) = 0;

 protected:
  ~AlarmView() = default;
};

}  // namespace norvel
