// The fast resampler: position tables once per call, then per target row one vertical blend
// of the two source rows it samples (skipped when the row repeats) and one horizontal pass.
#include "imaging/resample.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "imaging/bilinear.h"
#include "imaging/cpu_features.h"
#include "imaging/resample_kernels.h"
#include "imaging/resample_plan.h"

namespace norvel {
namespace {

using resample_detail::AxisWeight;
using resample_detail::ColumnTable;
using resample_detail::Kernels;

const Kernels& KernelsFor(ResampleKernel kernel) {
  switch (kernel) {
#if defined(NORVEL_X86)
    case ResampleKernel::kSse2:
      return resample_detail::kSse2Kernels;
    case ResampleKernel::kAvx2:
      return resample_detail::kAvx2Kernels;
#endif
    default:
      return resample_detail::kPortableKernels;
  }
}

// The vertical blend of two source rows into `out`, followed by a copy of the last pixel.
void BlendRows(const Kernels& kernels, const std::uint8_t* a, const std::uint8_t* b,
               const AxisWeight& row, std::int32_t row_bytes, std::uint8_t* out) {
  if (row.k == 0 && row.exact) {
    std::memcpy(out, a, static_cast<std::size_t>(row_bytes));
  } else if (row.exact) {
    kernels.blend_rows(a, b, row.k, out, row_bytes);
  } else {
    for (std::int32_t i = 0; i < row_bytes; ++i) {
      out[i] = static_cast<std::uint8_t>(BlendRound(row.fraction, a[i], b[i]));
    }
  }
  std::memcpy(out + row_bytes, out + row_bytes - 3, 3);
}

// Columns whose weights are not multiples of 2^-23 get the double formula.
void FixInexactColumns(const ColumnTable& table, const std::uint8_t* blended, std::uint8_t* out) {
  for (std::size_t i = 0; i < table.inexact.size(); ++i) {
    const std::int32_t x = table.inexact[i];
    const std::uint8_t* left = blended + table.offset[static_cast<std::size_t>(x)];
    for (std::int32_t c = 0; c < 3; ++c) {
      const std::int32_t v = BlendRound(table.inexact_fraction[i], left[c], left[3 + c]);
      out[3 * x + c] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
    }
  }
}

}  // namespace

bool IsAvailable(ResampleKernel kernel) {
  switch (kernel) {
    case ResampleKernel::kPortable:
      return true;
#if defined(NORVEL_X86)
    case ResampleKernel::kSse2:
      return CpuHasSse2();
    case ResampleKernel::kAvx2:
      return CpuHasSse2() && CpuHasAvx2();
#endif
    default:
      return false;
  }
}

ResampleKernel BestResampleKernel() {
  static const ResampleKernel best = IsAvailable(ResampleKernel::kAvx2) ? ResampleKernel::kAvx2
                                     : IsAvailable(ResampleKernel::kSse2)
                                         ? ResampleKernel::kSse2
                                         : ResampleKernel::kPortable;
  return best;
}

void ResampleInto(ConstImageBits source, ImageBits target) {
  ResampleInto(source, target, BestResampleKernel());
}

void ResampleInto(ConstImageBits source, ImageBits target, ResampleKernel kernel) {
  if (!IsAvailable(kernel)) throw std::invalid_argument("instruction set not available");
  const ConstByteView from = source.View();
  const ByteView to = target.View();
  if (target.width <= 0 || target.height <= 0) return;
  CheckResampleSource(source);
  // The rows are checked here once, so the loops below index them freely.
  if (to.Empty()) throw OutOfRangeError("resampling into an image without pixel memory");

  const Kernels& kernels = KernelsFor(kernel);
  const ColumnTable columns = resample_detail::PlanColumns(source.width, target.width);
  const std::vector<AxisWeight> rows = resample_detail::PlanRows(source.height, target.height);
  const std::int32_t row_bytes = 3 * source.width;
  // One blended source row, plus a copy of its last pixel and room for 8-byte loads.
  std::vector<std::uint8_t> blended(static_cast<std::size_t>(row_bytes) + 3 + 8);

  const AxisWeight* previous = nullptr;
  for (std::int32_t y = 0; y < target.height; ++y) {
    const AxisWeight& row = rows[static_cast<std::size_t>(y)];
    if (previous == nullptr || previous->first != row.first || previous->fraction != row.fraction) {
      BlendRows(kernels, from.Row(row.first).data(), from.Row(row.second).data(), row, row_bytes,
                blended.data());
      previous = &row;
    }
    std::uint8_t* out = to.Row(y).data();
    kernels.blend_columns(blended.data(), columns, 0, target.width, out);
    FixInexactColumns(columns, blended.data(), out);
  }
}

}  // namespace norvel
