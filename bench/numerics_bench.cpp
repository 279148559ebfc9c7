// Timing of the numerical routines the pages call most: the dispersion
// relation, the root finder on a smooth function, and the JONSWAP value.
#include <benchmark/benchmark.h>

#include <cmath>

#include "kelpkit/root_finders.hpp"
#include "kelpkit/wave_formulas.hpp"

namespace {

void BM_Wavvec(benchmark::State& state) {
  float x = 0.05f;
  for (auto _ : state) {
    float kh = 0.0f;
    benchmark::DoNotOptimize(kelp::wavvec(x, kh));
    benchmark::DoNotOptimize(kh);
    x = x < 5.0f ? x * 1.07f : 0.05f;
  }
}
BENCHMARK(BM_Wavvec);

void BM_Rtmi1Smooth(benchmark::State& state) {
  for (auto _ : state) {
    float x = 0.0f;
    float f = 0.0f;
    int ier = 0;
    kelp::rtmi1(x, f, [](float v) { return std::cos(v) - v; }, 0.0f, 1.0f, 1e-6f, 0.0f, 50, ier);
    benchmark::DoNotOptimize(x);
  }
}
BENCHMARK(BM_Rtmi1Smooth);

void BM_Jonsval(benchmark::State& state) {
  for (auto _ : state) {
    float val = 0.0f;
    benchmark::DoNotOptimize(kelp::jonsval(0.07f, 0.09f, 3.3f, val));
    benchmark::DoNotOptimize(val);
  }
}
BENCHMARK(BM_Jonsval);

}  // namespace
