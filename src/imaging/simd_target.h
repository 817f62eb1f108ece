// Per-function instruction-set targets. GCC and Clang (also as clang-cl) compile a vector function
// only for the instruction set named on it, so the rest of the program keeps the baseline and runs
// on any processor; which function runs is decided from the processor at run time. MSVC
// compiles these intrinsics without such marks.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define NORVEL_TARGET_SSE2 __attribute__((target("sse2")))
#define NORVEL_TARGET_AVX2 __attribute__((target("avx2")))
#else
#define NORVEL_TARGET_SSE2
#define NORVEL_TARGET_AVX2
#endif
