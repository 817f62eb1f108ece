#include <cstddef>

#include "imaging/resample_kernels.h"
#include "imaging/rounding.h"

namespace norvel::resample_detail {

void BlendRowsPortable(const std::uint8_t* a, const std::uint8_t* b, std::int32_t k,
                       std::uint8_t* out, std::int32_t n) {
  const std::int32_t keep = kOne - k;
  for (std::int32_t i = 0; i < n; ++i) {
    out[i] = static_cast<std::uint8_t>(RoundHalfEvenShift23(keep * a[i] + k * b[i]));
  }
}

void BlendColumnsPortable(const std::uint8_t* blended, const ColumnTable& table, std::int32_t begin,
                          std::int32_t end, std::uint8_t* out) {
  for (std::int32_t x = begin; x < end; ++x) {
    const auto i = static_cast<std::size_t>(x);
    const std::uint8_t* left = blended + table.offset[i];
    const std::int32_t k = table.k[i];
    const std::int32_t keep = kOne - k;
    for (std::int32_t c = 0; c < 3; ++c) {
      out[3 * x + c] =
          static_cast<std::uint8_t>(RoundHalfEvenShift23(keep * left[c] + k * left[3 + c]));
    }
  }
}

const Kernels kPortableKernels = {BlendRowsPortable, BlendColumnsPortable};

}  // namespace norvel::resample_detail
