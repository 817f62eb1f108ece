#include "imaging/dib_layout.h"

#include <limits>

#include "imaging/errors.h"

namespace norvel {
namespace {

std::int32_t Checked(std::int64_t value, const char* what) {
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    throw OverflowError(what);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t BytesPerScanLine(std::int32_t width) {
  const std::int32_t bytes = Checked(std::int64_t{width} * 3, "row width in bytes overflows");
  const std::int32_t padded = Checked(std::int64_t{bytes} + 3, "row width in bytes overflows");
  return padded & ~std::int32_t{3};
}

std::int32_t SizeImage(std::int32_t width, std::int32_t height) {
  return Checked(std::int64_t{height} * BytesPerScanLine(width), "image size overflows");
}

}  // namespace norvel
