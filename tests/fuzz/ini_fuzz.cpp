// Fuzz target for the settings file reader and writer: any bytes as a file, any value.
// A write that is accepted must read back exactly and leave the other keys as they were.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/ini.h"
#include "settings/ini_file.h"
#include "toolkit/codepage.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using norvel::AlarmSettings;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The input is "<file bytes>\xFF\x00<value>"; without the separator it is all file.
  const std::string_view separator("\xFF\x00", 2);
  const auto cut = input.find(separator);
  const std::string_view file = input.substr(0, cut);
  const std::string_view value =
      cut == std::string_view::npos ? std::string_view("值") : input.substr(cut + 2);

  norvel::IniFile ini(file, norvel::Cp936());
  const auto other_before = ini.Get(AlarmSettings::kSection, AlarmSettings::kHour);
  (void)ini.Get("s", "k");

  const std::string stored = norvel::EscapeLineBreaks(value);
  Check(norvel::UnescapeLineBreaks(stored) == value);
  if (ini.Set(AlarmSettings::kSection, AlarmSettings::kMessage, stored)) {
    const norvel::IniFile again(ini.Bytes(), norvel::Cp936());
    Check(again.encoding() == ini.encoding());
    Check(again.Get(AlarmSettings::kSection, AlarmSettings::kMessage) == stored);
    Check(again.Get(AlarmSettings::kSection, AlarmSettings::kHour) == other_before);
  }
  return 0;
}
