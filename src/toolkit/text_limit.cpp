#include "toolkit/text_limit.h"

#include <algorithm>

#include "toolkit/codepage.h"

namespace norvel {
namespace {

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t CodePointLength(std::string_view s, std::size_t i) {
  std::size_t n = 1;
  while (i + n < s.size() && IsContinuation(s[i + n])) ++n;
  return n;
}

std::size_t CodePointBytes(std::string_view cp) {
  if (cp.size() == 1) return 1;
  const auto encoded = Cp936().Encode(cp);
  return encoded ? encoded->size() : 1;
}

}  // namespace

std::size_t Cp936ByteLength(std::string_view utf8) {
  std::size_t total = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = CodePointLength(utf8, i);
    total += CodePointBytes(utf8.substr(i, n));
    i += n;
  }
  return total;
}

std::optional<LimitedEdit> FitEditToLimit(std::string_view previous, std::string_view current,
                                          std::size_t limit) {
  const std::size_t current_bytes = Cp936ByteLength(current);
  if (current_bytes <= limit || current_bytes <= Cp936ByteLength(previous)) return std::nullopt;

  // The edit replaced previous[prefix, previous.size() - suffix) by the inserted text.
  std::size_t prefix = 0;
  const std::size_t shorter = std::min(previous.size(), current.size());
  while (prefix < shorter && previous[prefix] == current[prefix]) ++prefix;
  while (prefix > 0 && IsContinuation(current[prefix])) --prefix;
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         previous[previous.size() - 1 - suffix] == current[current.size() - 1 - suffix]) {
    ++suffix;
  }
  while (suffix > 0 && IsContinuation(current[current.size() - suffix])) --suffix;

  const std::string_view head = current.substr(0, prefix);
  const std::string_view tail = current.substr(current.size() - suffix);
  const std::string_view inserted = current.substr(prefix, current.size() - prefix - suffix);
  const std::size_t kept_bytes = Cp936ByteLength(head) + Cp936ByteLength(tail);
  const std::size_t budget = limit > kept_bytes ? limit - kept_bytes : 0;

  std::size_t used = 0, take = 0;
  while (take < inserted.size()) {
    // A line break is kept or dropped whole.
    std::size_t n = CodePointLength(inserted, take);
    if (inserted.substr(take, 2) == "\r\n") n = 2;
    const std::size_t bytes =
        n == 2 && inserted[take] == '\r' ? 2 : CodePointBytes(inserted.substr(take, n));
    if (used + bytes > budget) break;
    used += bytes;
    take += n;
  }
  LimitedEdit result;
  result.text.reserve(head.size() + take + tail.size());
  result.text.append(head).append(inserted.substr(0, take)).append(tail);
  result.caret = head.size() + take;
  return result;
}

}  // namespace norvel
