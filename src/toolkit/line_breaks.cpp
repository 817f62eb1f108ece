#include "toolkit/line_breaks.h"

namespace norvel {
namespace {

// Copies `text` with each line break replaced by `replacement`.
std::string ReplaceLineBreaks(std::string_view text, std::string_view replacement) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;  // CR LF is one break
    out += replacement;
  }
  return out;
}

}  // namespace

std::string WithCrLfLineBreaks(std::string_view text) {
  return ReplaceLineBreaks(text, "\r\n");
}

std::string LineBreaksAsSpaces(std::string_view text) {
  return ReplaceLineBreaks(text, " ");
}

}  // namespace norvel
