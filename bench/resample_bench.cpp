// Resampling speed in output megapixels per second: the straightforward resampler, the fast
// one with each instruction set, and a plain copy of the output's bytes as the ceiling.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "imaging/dib_layout.h"
#include "imaging/resample.h"

namespace norvel {
namespace {

struct Bitmap {
  Bitmap(std::int32_t w, std::int32_t h)
      : width(w), height(h), bytes(static_cast<std::size_t>(SizeImage(w, h))) {}
  ImageBits Bits() { return {bytes.data(), width, height}; }
  std::int32_t width;
  std::int32_t height;
  std::vector<std::uint8_t> bytes;
};

Bitmap Noise(std::int32_t w, std::int32_t h) {
  Bitmap bitmap(w, h);
  std::mt19937 random(1);
  for (std::uint8_t& b : bitmap.bytes) b = static_cast<std::uint8_t>(random());
  return bitmap;
}

void SetRate(benchmark::State& state, const Bitmap& target) {
  state.counters["Mpix/s"] = benchmark::Counter(static_cast<double>(target.width) * target.height *
                                                    static_cast<double>(state.iterations()) / 1e6,
                                                benchmark::Counter::kIsRate);
}

// Arguments: source width, height, target width, height.
void Reference(benchmark::State& state) {
  Bitmap source =
      Noise(static_cast<std::int32_t>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
  Bitmap target(static_cast<std::int32_t>(state.range(2)),
                static_cast<std::int32_t>(state.range(3)));
  for (auto _ : state) {
    ResampleIntoReference(source.Bits(), target.Bits());
    benchmark::DoNotOptimize(target.bytes.data());
    benchmark::ClobberMemory();
  }
  SetRate(state, target);
}

void Fast(benchmark::State& state, ResampleKernel kernel) {
  if (!IsAvailable(kernel)) {
    state.SkipWithError("instruction set not available");
    return;
  }
  Bitmap source =
      Noise(static_cast<std::int32_t>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
  Bitmap target(static_cast<std::int32_t>(state.range(2)),
                static_cast<std::int32_t>(state.range(3)));
  for (auto _ : state) {
    ResampleInto(source.Bits(), target.Bits(), kernel);
    benchmark::DoNotOptimize(target.bytes.data());
    benchmark::ClobberMemory();
  }
  SetRate(state, target);
}

void Copy(benchmark::State& state) {
  Bitmap source(static_cast<std::int32_t>(state.range(2)),
                static_cast<std::int32_t>(state.range(3)));
  Bitmap target(source.width, source.height);
  std::memset(source.bytes.data(), 1, source.bytes.size());
  for (auto _ : state) {
    std::memcpy(target.bytes.data(), source.bytes.data(), target.bytes.size());
    benchmark::DoNotOptimize(target.bytes.data());
    benchmark::ClobberMemory();
  }
  SetRate(state, target);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({1920, 1080, 3840, 2160});
  b->Args({3840, 2160, 1280, 720});
  b->Args({1024, 768, 1023, 767});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(Reference)->Apply(Sizes);
BENCHMARK_CAPTURE(Fast, Portable, ResampleKernel::kPortable)->Apply(Sizes);
BENCHMARK_CAPTURE(Fast, Sse2, ResampleKernel::kSse2)->Apply(Sizes);
BENCHMARK_CAPTURE(Fast, Avx2, ResampleKernel::kAvx2)->Apply(Sizes);
BENCHMARK(Copy)->Apply(Sizes);

}  // namespace
}  // namespace norvel
