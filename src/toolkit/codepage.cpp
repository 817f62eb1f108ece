#include "toolkit/codepage.h"

namespace norvel {

std::optional<std::size_t> Cp936Length(std::string_view utf8) {
  auto bytes = Cp936().Encode(utf8);
  if (!bytes) return std::nullopt;
  return bytes->size();
}

}  // namespace norvel
