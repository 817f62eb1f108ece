#include "toolkit/file_io.h"

namespace norvel {

std::string_view DirectoryOf(std::string_view path) {
  const auto cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

}  // namespace norvel
