// UTF-8 <-> UTF-16 conversion for the portable core. Invalid input is rejected (nullopt)
// by the strict functions, never widened byte by byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace norvel {

// Strict: nullopt for malformed UTF-8 (overlong forms, surrogates, truncated sequences).
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);
// Strict: nullopt for unpaired surrogates.
std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16);
// Lenient: every malformed unit becomes U+FFFD. For reading text of unknown quality.
std::string Utf16ToUtf8Lossy(std::u16string_view utf16);

bool IsValidUtf8(std::string_view utf8);

// Appends the UTF-8 form of one code point (which must be a scalar value).
void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace norvel
