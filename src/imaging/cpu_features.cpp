#include "imaging/cpu_features.h"

#if !defined(__GNUC__) && defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#define NORVEL_MSVC_CPUID 1
#include <immintrin.h>
#include <intrin.h>
#endif

namespace norvel {

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))

// The compiler's run-time check also asks the operating system whether it saves the
// 256-bit registers (XGETBV), which AVX2 needs besides the processor's flag.
bool CpuHasSse2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2");
}

bool CpuHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

#elif defined(NORVEL_MSVC_CPUID)

bool CpuHasSse2() {
  int info[4];
  __cpuid(info, 1);
  return (info[3] & (1 << 26)) != 0;
}

bool CpuHasAvx2() {
  int info[4];
  __cpuid(info, 0);
  if (info[0] < 7) return false;
  __cpuid(info, 1);
  const bool os_saves_avx = (info[2] & (1 << 27)) != 0 && (info[2] & (1 << 28)) != 0;
  if (!os_saves_avx || (_xgetbv(0) & 6) != 6) return false;
  __cpuidex(info, 7, 0);
  return (info[1] & (1 << 5)) != 0;
}

#else

bool CpuHasSse2() {
  return false;
}
bool CpuHasAvx2() {
  return false;
}

#endif

}  // namespace norvel
