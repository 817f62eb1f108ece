// Length limits counted in code page 936 bytes, as the settings file holds the text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace norvel {

// Bytes of `utf8` in code page 936: one for ASCII, two for a Chinese character. A character
// that the code page lacks counts one byte, like the '?' it would turn into.
std::size_t Cp936ByteLength(std::string_view utf8);

struct LimitedEdit {
  std::string text;   // UTF-8
  std::size_t caret;  // byte offset in `text` just after the kept insertion
};

// An edit turned `previous` into `current`. When `current` is longer than `limit` bytes (and
// longer than `previous`), the inserted part is cut to what still fits, never inside a
// character or between the CR and LF of a line break: typing beyond the limit is refused and
// a paste keeps its beginning. nullopt when the edit can stand as it is.
std::optional<LimitedEdit> FitEditToLimit(std::string_view previous, std::string_view current,
                                          std::size_t limit);

}  // namespace norvel
