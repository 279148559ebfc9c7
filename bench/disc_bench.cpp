// Timing of the disc buoy's mooring linearisation (dynspr): one dynamic
// line model per line, called two or three times per mode and pass of the
// natural-period iteration and 89 times for the surge-correction table.
#include <benchmark/benchmark.h>

#include <vector>

#include "disc/s/disc_line_fixture.hpp"
#include "disc/s/disc_line_mooring.hpp"

namespace {

// A buoy on n lines spread evenly round it, moved in all six components.
void BM_Dynspr(benchmark::State& state) {
  const auto n = static_cast<int>(state.range(0));
  std::vector<float> headings;
  for (int j = 0; j < n; ++j) headings.push_back(360.0f * static_cast<float>(j) / static_cast<float>(n));
  kelp::testing::LineMooredDisc f(headings);
  if (!f.prepared()) {
    state.SkipWithError("the lines have no static state");
    return;
  }
  const kelp::MotionAmplitudes amplitude = {0.3f, 0.2f, 0.1f, 0.01f, 0.02f, 0.03f};
  const std::vector<float> range(static_cast<std::size_t>(n), f.range);
  kelp::MooringLinearisation r;
  for (auto _ : state) {
    kelp::dynspr(f.s(), amplitude, 0.5f, range, r);
    benchmark::DoNotOptimize(r);
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Dynspr)->Arg(1)->Arg(4)->Arg(12);

}  // namespace
