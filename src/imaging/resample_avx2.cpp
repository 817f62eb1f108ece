// AVX2 loops of the fast resampler, chosen at run time on processors that have it.
#include "imaging/resample_kernels.h"

#if defined(NORVEL_X86)

#include <immintrin.h>

#include <cstddef>
#include <cstring>

#include "imaging/simd_target.h"

namespace norvel::resample_detail {
namespace {

NORVEL_TARGET_AVX2 inline __m256i Shift23(__m256i n) {
  const __m256i odd = _mm256_and_si256(_mm256_srli_epi32(n, 23), _mm256_set1_epi32(1));
  const __m256i half = _mm256_add_epi32(odd, _mm256_set1_epi32((1 << 22) - 1));
  return _mm256_srli_epi32(_mm256_add_epi32(n, half), 23);
}

NORVEL_TARGET_AVX2 inline __m256i Shift14(__m256i n) {
  const __m256i odd = _mm256_and_si256(_mm256_srli_epi32(n, 14), _mm256_set1_epi32(1));
  const __m256i half = _mm256_add_epi32(odd, _mm256_set1_epi32((1 << 13) - 1));
  return _mm256_srli_epi32(_mm256_add_epi32(n, half), 14);
}

NORVEL_TARGET_AVX2 inline __m256i Blend(__m256i pairs, __m256i high, __m256i low) {
  const __m256i n = _mm256_add_epi32(_mm256_slli_epi32(_mm256_madd_epi16(pairs, high), 9),
                                     _mm256_madd_epi16(pairs, low));
  return Shift23(n);
}

// Weights whose low parts are zero (positions of at least 512): one multiply-add is exact.
NORVEL_TARGET_AVX2 inline __m256i BlendCoarse(__m256i pairs, __m256i high, __m256i) {
  return Shift14(_mm256_madd_epi16(pairs, high));
}

template <__m256i (*kBlend)(__m256i, __m256i, __m256i)>
NORVEL_TARGET_AVX2 inline void BlendRows32(const std::uint8_t* a, const std::uint8_t* b,
                                           __m256i high, __m256i low, std::uint8_t* out) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i va = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a));
  const __m256i vb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b));
  // Unpacking and packing both work within 128-bit lanes, so the bytes come back in order.
  const __m256i first = _mm256_unpacklo_epi8(va, vb);
  const __m256i second = _mm256_unpackhi_epi8(va, vb);
  const __m256i r0 = kBlend(_mm256_unpacklo_epi8(first, zero), high, low);
  const __m256i r1 = kBlend(_mm256_unpackhi_epi8(first, zero), high, low);
  const __m256i r2 = kBlend(_mm256_unpacklo_epi8(second, zero), high, low);
  const __m256i r3 = kBlend(_mm256_unpackhi_epi8(second, zero), high, low);
  const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(r0, r1), _mm256_packs_epi32(r2, r3));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), bytes);
}

template <__m256i (*kBlend)(__m256i, __m256i, __m256i)>
NORVEL_TARGET_AVX2 void BlendRowsWith(const std::uint8_t* a, const std::uint8_t* b,
                                      SplitWeights split, std::uint8_t* out, std::int32_t n) {
  const __m256i high = _mm256_set1_epi32(static_cast<int>(split.high));
  const __m256i low = _mm256_set1_epi32(static_cast<int>(split.low));
  std::int32_t i = 0;
  for (; i + 32 <= n; i += 32) BlendRows32<kBlend>(a + i, b + i, high, low, out + i);
  if (i < n) BlendRows32<kBlend>(a + n - 32, b + n - 32, high, low, out + n - 32);
}

NORVEL_TARGET_AVX2 void BlendRowsAvx2(const std::uint8_t* a, const std::uint8_t* b, std::int32_t k,
                                      std::uint8_t* out, std::int32_t n) {
  if (n < 32) {
    kSse2Kernels.blend_rows(a, b, k, out, n);
  } else if ((k & 511) == 0) {
    BlendRowsWith<BlendCoarse>(a, b, Split(k), out, n);
  } else {
    BlendRowsWith<Blend>(a, b, Split(k), out, n);
  }
}

// Two 8-byte loads (left and right pixel of two target pixels) in one 128-bit register.
NORVEL_TARGET_AVX2 inline __m128i LoadTwo(const std::uint8_t* first, const std::uint8_t* second) {
  const __m128i lo = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(first));
  return _mm_castpd_si128(
      _mm_loadh_pd(_mm_castsi128_pd(lo), reinterpret_cast<const double*>(second)));
}

NORVEL_TARGET_AVX2 inline __m256i Join(__m128i lane0, __m128i lane1) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(lane0), lane1, 1);
}

// Eight target pixels, four per 128-bit lane. Within a lane, register a holds the 8 loaded
// bytes of pixels 0 and 1 (left blue, green, red, right blue, green, red, 2 spare), b those
// of pixels 2 and 3. The shuffles make (left, right) 16-bit pairs in output order: the
// twelve channels of four pixels fill three registers of four pairs each, so the packed
// result is the twelve output bytes in a row.
NORVEL_TARGET_AVX2 void BlendColumnsAvx2(const std::uint8_t* blended, const ColumnTable& table,
                                         std::int32_t begin, std::int32_t end, std::uint8_t* out) {
  constexpr char z = -128;  // shuffle index that gives a zero byte
  const __m256i pick0 = _mm256_setr_epi8(0, z, 3, z, 1, z, 4, z, 2, z, 5, z, 8, z, 11, z,  //
                                         0, z, 3, z, 1, z, 4, z, 2, z, 5, z, 8, z, 11, z);
  const __m256i pick1a = _mm256_setr_epi8(9, z, 12, z, 10, z, 13, z, z, z, z, z, z, z, z, z,  //
                                          9, z, 12, z, 10, z, 13, z, z, z, z, z, z, z, z, z);
  const __m256i pick1b = _mm256_setr_epi8(z, z, z, z, z, z, z, z, 0, z, 3, z, 1, z, 4, z,  //
                                          z, z, z, z, z, z, z, z, 0, z, 3, z, 1, z, 4, z);
  const __m256i pick2 = _mm256_setr_epi8(2, z, 5, z, 8, z, 11, z, 9, z, 12, z, 10, z, 13, z,  //
                                         2, z, 5, z, 8, z, 11, z, 9, z, 12, z, 10, z, 13, z);
  // Which pixel's weights each pair takes: pixels 0 0 0 1 | 1 1 2 2 | 2 3 3 3 per lane.
  const __m256i weight0 = _mm256_setr_epi32(0, 0, 0, 1, 4, 4, 4, 5);
  const __m256i weight1 = _mm256_setr_epi32(1, 1, 2, 2, 5, 5, 6, 6);
  const __m256i weight2 = _mm256_setr_epi32(2, 3, 3, 3, 6, 7, 7, 7);

  const std::int32_t* offset = table.offset.data();
  const std::uint32_t* high = table.high.data();
  const std::uint32_t* low = table.low.data();
  std::int32_t x = begin;
  for (; x + 8 <= end; x += 8) {
    const std::int32_t* o = offset + x;
    const __m256i a =
        Join(LoadTwo(blended + o[0], blended + o[1]), LoadTwo(blended + o[4], blended + o[5]));
    const __m256i b =
        Join(LoadTwo(blended + o[2], blended + o[3]), LoadTwo(blended + o[6], blended + o[7]));
    const __m256i p0 = _mm256_shuffle_epi8(a, pick0);
    const __m256i p1 =
        _mm256_or_si256(_mm256_shuffle_epi8(a, pick1a), _mm256_shuffle_epi8(b, pick1b));
    const __m256i p2 = _mm256_shuffle_epi8(b, pick2);
    const __m256i h = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(high + x));
    const __m256i l = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(low + x));
    const __m256i v0 =
        Blend(p0, _mm256_permutevar8x32_epi32(h, weight0), _mm256_permutevar8x32_epi32(l, weight0));
    const __m256i v1 =
        Blend(p1, _mm256_permutevar8x32_epi32(h, weight1), _mm256_permutevar8x32_epi32(l, weight1));
    const __m256i v2 =
        Blend(p2, _mm256_permutevar8x32_epi32(h, weight2), _mm256_permutevar8x32_epi32(l, weight2));
    const __m256i bytes =
        _mm256_packus_epi16(_mm256_packs_epi32(v0, v1), _mm256_packs_epi32(v2, v2));
    // Lane 0's four spare bytes are overwritten by lane 1; lane 1 stores exactly 12 bytes.
    std::uint8_t* dst = out + 3 * x;
    const __m128i lane1 = _mm256_extracti128_si256(bytes, 1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm256_castsi256_si128(bytes));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 12), lane1);
    const int last = _mm_cvtsi128_si32(_mm_srli_si128(lane1, 8));
    std::memcpy(dst + 20, &last, 4);
  }
  kSse2Kernels.blend_columns(blended, table, x, end, out);
}

}  // namespace

const Kernels kAvx2Kernels = {BlendRowsAvx2, BlendColumnsAvx2};

}  // namespace norvel::resample_detail

#endif
