// The GBK form of the settings file: code page 936, converted explicitly and
// never through whatever ANSI code page the machine happens to use.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace norvel {

class Cp936Codec {
 public:
  virtual ~Cp936Codec() = default;
  // GBK bytes to UTF-8. Bytes that form no GBK character become U+FFFD; never fails.
  virtual std::string Decode(std::string_view gbk) const = 0;
  // UTF-8 to GBK bytes; nullopt when the text is not valid UTF-8 or holds a character
  // that code page 936 cannot represent (instead of a silent question mark).
  virtual std::optional<std::string> Encode(std::string_view utf8) const = 0;
};

// The platform's converter: the Windows API on Windows, iconv elsewhere.
const Cp936Codec& Cp936();

// Length of `utf8` in code page 936 bytes; nullopt when it cannot be represented.
std::optional<std::size_t> Cp936Length(std::string_view utf8);

}  // namespace norvel
