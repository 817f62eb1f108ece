// SSE2 loops of the fast resampler: the baseline of every x86 processor the program runs on.
#include "imaging/resample_kernels.h"

#if defined(NORVEL_X86)

#include <emmintrin.h>

#include <cstddef>
#include <cstring>

#include "imaging/simd_target.h"

namespace norvel::resample_detail {
namespace {

// Rounds n / 2^23 with halves to even in each 32-bit lane; n is below 2^31 - 2^22.
NORVEL_TARGET_SSE2 inline __m128i Shift23(__m128i n) {
  const __m128i odd = _mm_and_si128(_mm_srli_epi32(n, 23), _mm_set1_epi32(1));
  const __m128i half = _mm_add_epi32(odd, _mm_set1_epi32((1 << 22) - 1));
  return _mm_srli_epi32(_mm_add_epi32(n, half), 23);
}

// Rounds n / 2^14 the same way: the blend of weights that are multiples of 2^9, divided by 2^9.
NORVEL_TARGET_SSE2 inline __m128i Shift14(__m128i n) {
  const __m128i odd = _mm_and_si128(_mm_srli_epi32(n, 14), _mm_set1_epi32(1));
  const __m128i half = _mm_add_epi32(odd, _mm_set1_epi32((1 << 13) - 1));
  return _mm_srli_epi32(_mm_add_epi32(n, half), 14);
}

// Pairs of 16-bit values (a, b) times the split weights, rounded: one byte value per lane.
NORVEL_TARGET_SSE2 inline __m128i Blend(__m128i pairs, __m128i high, __m128i low) {
  const __m128i n =
      _mm_add_epi32(_mm_slli_epi32(_mm_madd_epi16(pairs, high), 9), _mm_madd_epi16(pairs, low));
  return Shift23(n);
}

// The same when the low parts of the weights are zero, as for every row whose position is
// at least 512: one multiply-add is then exact.
NORVEL_TARGET_SSE2 inline __m128i BlendCoarse(__m128i pairs, __m128i high, __m128i) {
  return Shift14(_mm_madd_epi16(pairs, high));
}

template <__m128i (*kBlend)(__m128i, __m128i, __m128i)>
NORVEL_TARGET_SSE2 inline void BlendRows16(const std::uint8_t* a, const std::uint8_t* b,
                                           __m128i high, __m128i low, std::uint8_t* out) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
  const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
  const __m128i first = _mm_unpacklo_epi8(va, vb);  // a0 b0 a1 b1 ...
  const __m128i second = _mm_unpackhi_epi8(va, vb);
  const __m128i r0 = kBlend(_mm_unpacklo_epi8(first, zero), high, low);
  const __m128i r1 = kBlend(_mm_unpackhi_epi8(first, zero), high, low);
  const __m128i r2 = kBlend(_mm_unpacklo_epi8(second, zero), high, low);
  const __m128i r3 = kBlend(_mm_unpackhi_epi8(second, zero), high, low);
  const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(r0, r1), _mm_packs_epi32(r2, r3));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
}

template <__m128i (*kBlend)(__m128i, __m128i, __m128i)>
NORVEL_TARGET_SSE2 void BlendRowsWith(const std::uint8_t* a, const std::uint8_t* b,
                                      SplitWeights split, std::uint8_t* out, std::int32_t n) {
  const __m128i high = _mm_set1_epi32(static_cast<int>(split.high));
  const __m128i low = _mm_set1_epi32(static_cast<int>(split.low));
  std::int32_t i = 0;
  for (; i + 16 <= n; i += 16) BlendRows16<kBlend>(a + i, b + i, high, low, out + i);
  // The last block overlaps the one before instead of reading past the row.
  if (i < n) BlendRows16<kBlend>(a + n - 16, b + n - 16, high, low, out + n - 16);
}

NORVEL_TARGET_SSE2 void BlendRowsSse2(const std::uint8_t* a, const std::uint8_t* b, std::int32_t k,
                                      std::uint8_t* out, std::int32_t n) {
  if (n < 16) {
    BlendRowsPortable(a, b, k, out, n);
  } else if ((k & 511) == 0) {
    BlendRowsWith<BlendCoarse>(a, b, Split(k), out, n);
  } else {
    BlendRowsWith<Blend>(a, b, Split(k), out, n);
  }
}

// One target pixel: the left and right pixel's bytes as (left, right) pairs per channel,
// blended into lanes blue, green, red (the fourth lane is not used).
NORVEL_TARGET_SSE2 inline __m128i BlendPixel(const std::uint8_t* left, __m128i high, __m128i low) {
  const __m128i q = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(left));
  const __m128i right = _mm_srli_epi64(q, 24);
  const __m128i pairs = _mm_unpacklo_epi8(_mm_unpacklo_epi8(q, right), _mm_setzero_si128());
  return Blend(pairs, high, low);
}

NORVEL_TARGET_SSE2 inline void Store4(std::uint8_t* out, __m128i bytes) {
  const int value = _mm_cvtsi128_si32(bytes);
  std::memcpy(out, &value, 4);
}

NORVEL_TARGET_SSE2 void BlendColumnsSse2(const std::uint8_t* blended, const ColumnTable& table,
                                         std::int32_t begin, std::int32_t end, std::uint8_t* out) {
  const std::int32_t* offset = table.offset.data();
  const std::uint32_t* high = table.high.data();
  const std::uint32_t* low = table.low.data();
  std::int32_t x = begin;
  // Each pixel is stored as 4 bytes, the fourth overwritten by the next pixel; so the group
  // needs a pixel after it in the row.
  for (; x + 4 < end; x += 4) {
    const __m128i h = _mm_loadu_si128(reinterpret_cast<const __m128i*>(high + x));
    const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low + x));
    const __m128i v0 =
        BlendPixel(blended + offset[x], _mm_shuffle_epi32(h, 0x00), _mm_shuffle_epi32(l, 0x00));
    const __m128i v1 =
        BlendPixel(blended + offset[x + 1], _mm_shuffle_epi32(h, 0x55), _mm_shuffle_epi32(l, 0x55));
    const __m128i v2 =
        BlendPixel(blended + offset[x + 2], _mm_shuffle_epi32(h, 0xAA), _mm_shuffle_epi32(l, 0xAA));
    const __m128i v3 =
        BlendPixel(blended + offset[x + 3], _mm_shuffle_epi32(h, 0xFF), _mm_shuffle_epi32(l, 0xFF));
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(v0, v1), _mm_packs_epi32(v2, v3));
    std::uint8_t* o = out + 3 * x;
    Store4(o, bytes);
    Store4(o + 3, _mm_srli_si128(bytes, 4));
    Store4(o + 6, _mm_srli_si128(bytes, 8));
    Store4(o + 9, _mm_srli_si128(bytes, 12));
  }
  BlendColumnsPortable(blended, table, x, end, out);
}

}  // namespace

const Kernels kSse2Kernels = {BlendRowsSse2, BlendColumnsSse2};

}  // namespace norvel::resample_detail

#endif
