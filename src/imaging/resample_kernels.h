// The inner loops of the fast resampler, one set per instruction set. All compute the exact
// integer blend ((2^23 - k) * a + k * b) / 2^23 rounded with halves to even.
#pragma once

#include <cstdint>

#include "imaging/resample_plan.h"

namespace norvel::resample_detail {

struct Kernels {
  // out[i] from a[i] and b[i], the same two source rows' bytes, for 0 <= i < n.
  void (*blend_rows)(const std::uint8_t* a, const std::uint8_t* b, std::int32_t k,
                     std::uint8_t* out, std::int32_t n);
  // Target pixels [begin, end) of one row from a vertically blended row, whose pixel
  // after the last is a copy of the last and which has 8 readable bytes after that.
  void (*blend_columns)(const std::uint8_t* blended, const ColumnTable& table, std::int32_t begin,
                        std::int32_t end, std::uint8_t* out);
};

extern const Kernels kPortableKernels;
#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define NORVEL_X86 1
extern const Kernels kSse2Kernels;
extern const Kernels kAvx2Kernels;
#endif

void BlendRowsPortable(const std::uint8_t* a, const std::uint8_t* b, std::int32_t k,
                       std::uint8_t* out, std::int32_t n);
void BlendColumnsPortable(const std::uint8_t* blended, const ColumnTable& table, std::int32_t begin,
                          std::int32_t end, std::uint8_t* out);

}  // namespace norvel::resample_detail
