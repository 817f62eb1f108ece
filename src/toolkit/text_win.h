// Text at the Win32 edge: UTF-8 inside the program, UTF-16 for the W functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace norvel {

// Strict: malformed input gives nullopt rather than a guessed text.
std::optional<std::wstring> Widen(std::string_view utf8);

// For text that comes from the platform and must be shown whatever it holds.
std::string NarrowLossy(std::wstring_view utf16);

}  // namespace norvel
