// The program's own state in option.ini, in a section of its own beside the settings: the
// trigger second of the last shut-down or restart carried out, and a put-off reminder. A
// file without the section behaves as before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norvel {

struct ProgramState {
  static constexpr std::string_view kSection = "状态";
  static constexpr std::string_view kLastPowerAction = "上次电源操作";
  static constexpr std::string_view kPutOff = "稍后提醒";
};

// A civil second as "2026-12-08 07:05:03", and back (nullopt for any other text or a date
// that does not exist).
std::string StampText(std::int64_t civil_second);
std::optional<std::int64_t> ParseStamp(std::string_view text);

}  // namespace norvel
