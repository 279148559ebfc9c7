#include <benchmark/benchmark.h>

#include "sysutl/fortran_format.hpp"

namespace {

// One item line of a page, the commonest formatted write of the editors.
void BM_FormatItemLine(benchmark::State& state) {
  int k = 0;
  for (auto _ : state) {
    auto text = kelp::fmt::fortran("(1X,I2,') Swell peak period ......................... ',F11.2,' seconds')", k,
                                   static_cast<float>(k) * 0.37f);
    benchmark::DoNotOptimize(text);
    k = (k + 1) % 100;
  }
}
BENCHMARK(BM_FormatItemLine);

}  // namespace
