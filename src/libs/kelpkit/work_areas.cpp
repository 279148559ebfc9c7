#include "kelpkit/work_areas.hpp"

#include <algorithm>
#include <cmath>

#include "kelpkit/wave_formulas.hpp"

namespace kelp {

int build_grid(Wavcom& w, float g, float depth, std::span<const float> periods) {
  constexpr float kTwoPi = 6.2831855f;
  const int n = static_cast<int>(std::min<std::size_t>(periods.size(), kWavePeriodsMax));
  w.g = g;
  w.count = n;
  w.first_period = n > 0 ? periods[0] : 0.0f;
  w.last_period = n > 0 ? periods[static_cast<std::size_t>(n - 1)] : 0.0f;
  w.period_step = n > 1 ? periods[1] - periods[0] : 0.0f;
  const float scale = std::sqrt(depth / g);
  int status = kWaveOk;
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const float omega = kTwoPi / periods[k];
    w.omega[k] = omega;
    w.omega2[k] = omega * omega;
    float kh = 0.0f;
    const int ier = wavvec(omega * scale, kh);
    if (ier != kWaveOk && status == kWaveOk) status = ier;
    w.wave_number[k] = ier == kWaveOk ? kh / depth : 0.0f;
  }
  return status;
}

}  // namespace kelp
