#pragma once
// A metric cylindrical disc buoy (radius 5 m, draft 2 m, KG 1.5 m) in 100 m
// of water with twenty wave periods from 2 to 40 s, and the kernel's set-up
// for it. Hand values of the cylinder: V = pi R^2 T, KB = T/2,
// KML = KB + R^2 / (4 T), and its equivalent disc is the cylinder itself
// (a = R, h = T).
#include <array>
#include <cmath>
#include <complex>
#include <functional>
#include <string>

#include "disc/s/disc_periods.hpp"
#include "disc/s/disc_work_area.hpp"
#include "test_session.hpp"

namespace kelp::testing {

inline constexpr float kCylRadius = 5.0f;
inline constexpr float kCylDraft = 2.0f;
inline constexpr float kCylKg = 1.5f;
inline constexpr float kCylKb = 1.0f;
inline constexpr float kCylDensity = 1025.0f;  // kgw per cubic metre
inline constexpr double kCylArea = 78.53981633974483;       // pi R^2
inline constexpr double kCylVolume = kCylArea * 2.0;         // pi R^2 T
inline constexpr double kCylKml = 1.0 + 25.0 / 8.0;          // KB + R^2 / (4 T)
inline constexpr float kCylGyradius = 3.0f;                  // pitch and roll
inline constexpr float kCylYawGyradius = 3.5f;
inline constexpr int kCylPeriods = 20;

struct DiscFixture {
  explicit DiscFixture(std::string replies = {}) : run(std::move(replies)) {
    Tpcm& t = run.s.tpcm;
    t.i(kUnitSystem) = kUnitsMetric;
    t.i(kOutputUnit) = kScreen;
    t.i(kOutputDevice) = kScreen;
    t.i(kWaveFrequencies) = kCylPeriods;
    for (int i = 0; i < kCylPeriods; ++i) t.set_r(kPeriods + static_cast<std::size_t>(i), 2.0f * (i + 1));
    t.set_r(kWaterDepth, 100.0f);
    t.set_r(kWaterDensity, kCylDensity);
    t.set_r(kRegularHeight, 2.0f);
    t.set_r(kDisplacement, static_cast<float>(kCylVolume * kCylDensity / 1000.0));
    t.set_r(kBuoyancyCentre, kCylKb);
    t.set_r(kGravityCentre, kCylKg);
    t.set_r(kDraft, kCylDraft);
    t.set_r(kWaterplaneArea, static_cast<float>(kCylArea));
    t.set_r(kPitchGyradius, kCylGyradius);
    t.set_r(kRollGyradius, kCylGyradius);
    t.set_r(kYawGyradius, kCylYawGyradius);
    t.set_r(kMetacentreL, static_cast<float>(kCylKml));
    t.set_r(kMetacentreT, static_cast<float>(kCylKml));
  }

  Session& s() { return run.s; }
  Tpcm& t() { return run.s.tpcm; }
  Himem& h() { return himem(run.s); }
  int set_up() { return disc_setup(run.s, setup); }
  // Mode m's period and damping computed (false) or given (true).
  void given(int m, bool period, bool damping, float period_value = 0.0f, float percent = 0.0f) {
    t().i(mode_words(m).period_flag) = period ? 1 : 0;
    t().i(mode_words(m).damping_flag) = damping ? 1 : 0;
    if (period) t().set_r(mode_words(m).given_period, period_value);
    if (damping) t().set_r(mode_words(m).given_damping, percent);
  }
  // Set-up and natural periods of the buoy as it stands (unmoored unless
  // a mooring is given).
  bool ready(DiscMooring* mooring = nullptr) { return set_up() == kDiscOk && dskchr(run.s, mooring) == kDiscOk; }
  // A keel ring of ratio width / root radius = r (root radius a).
  void keel(float width, float root) {
    t().i(kBilgeKeel) = 1;
    t().set_r(kBilgeKeelWidth, width);
    t().set_r(kBilgeKeelInboard, root);
  }

  ScriptedSession run;
  DiscSetup setup = [] {
    DiscSetup d;
    d.gravity = 9.8f;
    d.mass_density = 1.025f;
    d.table_period = 10.0f;
    d.response_scale = 1.0f;
    d.amplitude_scale = 0.5f;
    return d;
  }();
};

// The complex array at offset word `array` for frequency index i.
inline std::complex<float> pool_at(Himem& h, int i, std::size_t array) {
  h.i(kHimemFrequencyIndex) = i;
  indxup(h);
  return pool_complex(h, array);
}

// A mooring of linear springs and dashpots, one per motion component: each
// component of non-zero amplitude A gives its spring, its damping and the
// force (spring A, omega damping A). surge_damping, when set, gives the surge
// damping of each call instead (calls counted from 1).
struct LinearMooring : DiscMooring {
  bool prepare(Session&) override { return prepared = true; }
  MooringLinearisation linearise(Session&, const MotionAmplitudes& a, float omega) override {
    ++calls;
    MooringLinearisation r;
    for (std::size_t c = 0; c < a.size(); ++c) {
      if (a[c] == 0.0f) continue;
      r.spring[c] = spring[c];
      r.damping[c] = c == kMotionSurge && surge_damping ? surge_damping(calls) : damping[c];
      r.force[c] = {spring[c] * a[c], omega * r.damping[c] * a[c]};
    }
    return r;
  }

  MotionAmplitudes spring{};
  MotionAmplitudes damping{};
  std::function<float(int)> surge_damping;
  bool prepared = false;
  int calls = 0;
};

// Lamb's coefficient alpha0 of a spheroid moving along its axis of half
// length a, the other half axes b and c, by Simpson's rule in double over
// lambda = a^2 u^2 / (1 - u)^2:
//   alpha0 = a b c  integral 0..inf  dlambda / ((a^2 + lambda) D),
//   D = sqrt((a^2 + lambda)(b^2 + lambda)(c^2 + lambda)).
inline double lamb_alpha(double a, double b, double c) {
  const auto f = [&](double u) {
    if (u >= 1.0) return 0.0;
    const double s = u / (1.0 - u);
    const double lambda = a * a * s * s;
    const double dl = 2.0 * a * a * s / ((1.0 - u) * (1.0 - u));
    const double al = a * a + lambda;
    return a * b * c * dl / (al * std::sqrt(al * (b * b + lambda) * (c * c + lambda)));
  };
  const int n = 200000;
  const double step = 1.0 / n;
  double sum = f(0.0) + f(1.0);
  for (int i = 1; i < n; ++i) sum += (i % 2 != 0 ? 4.0 : 2.0) * f(i * step);
  return sum * step / 3.0;
}

}  // namespace kelp::testing
