// The settings window's lists for native tests: texts set as UTF-8, read as the tick reads
// them, with a count of the reads.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "scheduler/alarm_lists.h"
#include "toolkit/utf.h"

namespace norvel::testing {

inline std::wstring Wide(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8).value_or(u"");
  return std::wstring(units.begin(), units.end());
}

class FakeLists final : public ListTexts {
 public:
  FakeLists(std::string_view hour, std::string_view minute, std::string_view second,
            std::string_view action, std::string_view days = "每天") {
    Set(hour, minute, second, action, days);
  }
  void Set(std::string_view hour, std::string_view minute, std::string_view second,
           std::string_view action, std::string_view days = "每天") {
    texts_ = {Wide(hour), Wide(minute), Wide(second), Wide(action), Wide(days)};
  }
  std::wstring_view Text(AlarmList list, wchar_t (&buffer)[kBuffer]) const override {
    ++reads[static_cast<std::size_t>(list)];
    const std::wstring& text = texts_[static_cast<std::size_t>(list)];
    text.copy(buffer, kBuffer);
    return {buffer, std::min<std::size_t>(text.size(), kBuffer)};
  }
  mutable std::array<int, 5> reads{};

 private:
  std::array<std::wstring, 5> texts_;
};

}  // namespace norvel::testing
