// Fuzz target for the picture header reader: any bytes as a file. Read at once or through a
// shorter head and fetches, the header comes out the same, and the verdict follows from it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "toolkit/picture_header.h"
#include "toolkit/picture_limits.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using norvel::PictureHeader;
  using norvel::PictureVerdict;
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const PictureHeader whole = norvel::ReadPictureHeader(file, size);

  const norvel::FetchPictureBytes fetch = [&](std::uint64_t offset, std::size_t length) {
    Check(offset <= size);
    return std::string(file.substr(static_cast<std::size_t>(offset), length));
  };
  const PictureHeader fetched = norvel::ReadPictureHeader(file.substr(0, size / 2), size, fetch);
  Check(fetched.kind == whole.kind && fetched.format == whole.format &&
        fetched.width == whole.width && fetched.height == whole.height);

  const PictureVerdict verdict = norvel::PictureHeaderVerdict(whole, size);
  switch (whole.kind) {
    case PictureHeader::Kind::kSize:
      Check(whole.format != norvel::PictureFormat::kUnknown);
      Check((verdict == PictureVerdict::kDecode) ==
            norvel::PictureSizeAcceptable(whole.width, whole.height));
      break;
    case PictureHeader::Kind::kUnknownFormat:
      Check(whole.format == norvel::PictureFormat::kUnknown);
      break;
    case PictureHeader::Kind::kMalformed:
      Check(verdict == PictureVerdict::kRefuse);
      break;
  }
  return 0;
}
