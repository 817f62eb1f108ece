// The value the kill test's saver writes for a key in a given round.
#pragma once

#include <string>
#include <string_view>

namespace norvel {

inline std::string SaverValue(std::string_view key, unsigned round) {
  std::string value(key);
  value += "第" + std::to_string(round) + "轮|";
  value.append(400, '#');  // long enough that a torn write would show
  value += "|完";
  return value;
}

}  // namespace norvel
