// The kernel's set-up, its small companions, the equivalent disc and the
// natural-period iteration of an unmoored buoy.
#include "disc/s/disc_periods.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <vector>

#include "disc/s/disc_fits.hpp"
#include "disc/s/disc_fixture.hpp"
#include "disc/s/disc_work_area.hpp"
#include "kelpkit/wave_formulas.hpp"
#include "moor/s/work_areas.hpp"

namespace kelp {
namespace {

using testing::DiscFixture;
using testing::kCylPeriods;

constexpr double kTwoPi = 6.283185307179586;

// kh tanh(kh) = x^2 by Newton's method in double.
double dispersion_kh(double x) {
  const double x2 = x * x;
  double kh = std::max(x, x2);
  for (int i = 0; i < 100; ++i) {
    const double t = std::tanh(kh);
    kh -= (kh * t - x2) / (t + kh * (1.0 - t * t));
  }
  return kh;
}

// ---- Set-up ----

struct Refusal {
  const char* reason;
  std::function<void(DiscFixture&)> spoil;
};

TEST(DiscSetup, RefusesWhatWouldDivideByZeroAndSetsNothing) {
  const std::vector<Refusal> cases = {
      {"fewer than 2 wave periods.", [](DiscFixture& f) { f.t().i(kWaveFrequencies) = 1; }},
      {"a wave period is not positive.", [](DiscFixture& f) { f.t().set_r(kPeriods + 4, 0.0f); }},
      {"the water depth is not positive.", [](DiscFixture& f) { f.t().set_r(kWaterDepth, -1.0f); }},
      {"the wave size is neither a height (0) nor a slope (1).", [](DiscFixture& f) { f.t().i(kConstantSlope) = 2; }},
      {"the wave height or slope is not positive.", [](DiscFixture& f) { f.t().set_r(kRegularHeight, 0.0f); }},
      {"the wave amplitude scale is not positive.", [](DiscFixture& f) { f.setup.amplitude_scale = 0.0f; }},
      {"the water mass density is not positive.", [](DiscFixture& f) { f.setup.mass_density = NAN; }},
      {"gravity is not positive.", [](DiscFixture& f) { f.setup.gravity = 0.0f; }},
      {"the correction-table period is not positive.",
       [](DiscFixture& f) {
         f.t().i(kMooringFeedback) = 1;
         f.setup.table_period = 0.0f;
       }},
      {"the wave or equilibrium heading is not a number.",
       [](DiscFixture& f) { f.setup.equilibrium_heading = NAN; }},
      {"the Bessel tolerance is not positive.", [](DiscFixture& f) { f.setup.bessel_tolerance = 0.0f; }},
      {"more than 150 mooring lines.", [](DiscFixture& f) { f.setup.lines.resize(151); }},
      {"a mooring line's heading or range is not a number.",
       [](DiscFixture& f) { f.setup.lines = {{1, 0.0f, 100.0f}, {2, INFINITY, 100.0f}}; }},
  };
  for (const Refusal& c : cases) {
    DiscFixture f;
    c.spoil(f);
    EXPECT_EQ(f.set_up(), kDiscRefused) << c.reason;
    EXPECT_EQ(f.run.shown(), std::string(" ++> Disc buoy not analysed: ") + c.reason + "\n");
    EXPECT_EQ(wavcom(f.s()).count, 0) << c.reason;
    EXPECT_EQ(f.h().r(kHimemBesselTolerance), 0.0f) << c.reason;
  }
}

TEST(DiscSetup, HoldsTheFrequencyCountAtOneHundred) {
  DiscFixture f;
  f.t().i(kWaveFrequencies) = 150;
  for (int i = 0; i < 100; ++i) f.t().set_r(kPeriods + static_cast<std::size_t>(i), 1.0f + 0.1f * i);
  f.t().set_r(kPeriods + 100, -1.0f);  // past the table: never read
  ASSERT_EQ(f.set_up(), kDiscOk);
  EXPECT_EQ(wavcom(f.s()).count, 100);
  EXPECT_EQ(disc_frequency_count(f.t()), 100);
}

TEST(DiscSetup, GivesEveryArrayItsOwnWordsAndFillsTheGridAndLines) {
  DiscFixture f;
  f.setup.lines = {{3, 45.0f, 310.0f}, {1027, 135.0f, 290.0f}};
  f.setup.equilibrium_heading = 0.25f;
  ASSERT_EQ(f.set_up(), kDiscOk);
  EXPECT_EQ(equilb(f.s()).heading, 0.25f);
  const Lincom& lc = lincom(f.s());
  EXPECT_EQ(lc.request_code[1], 1027);
  EXPECT_EQ(lc.heading[0], 45.0f);
  EXPECT_EQ(lc.ranchr[1], 290.0f);
  Himem& h = f.h();
  const Wavcom& w = wavcom(f.s());
  EXPECT_EQ(w.mass_density, 1.025f);
  EXPECT_EQ(wave_heading(f.s()), 0.0f);
  EXPECT_FLOAT_EQ(h.r(kHimemDepthScale), std::sqrt(100.0f / 9.8f));
  std::set<std::size_t> words;
  for (int i = 1; i <= kCylPeriods; ++i) {
    h.i(kHimemFrequencyIndex) = i;
    indxup(h);
    EXPECT_FLOAT_EQ(pool_real(h, kHimemOmegaAt), static_cast<float>(kTwoPi / (2.0 * i)));
    EXPECT_NEAR(pool_real(h, kHimemWaveNumberAt) * 100.0, dispersion_kh(kTwoPi / (2.0 * i) * std::sqrt(100.0 / 9.8)),
                1e-5 * std::max(1.0, pool_real(h, kHimemWaveNumberAt) * 100.0));
    for (std::size_t a = kHimemOmegaAt; a <= kHimemWaveNumberAt; ++a) words.insert(kHimemPool + h.i(a));
    for (std::size_t a = kHimemHeaveForceAt; a <= kHimemYawForceAt; ++a) {
      words.insert(kHimemComplexPool + 2 * h.i(a));
      words.insert(kHimemComplexPool + 2 * h.i(a) + 1);
    }
  }
  EXPECT_EQ(words.size(), static_cast<std::size_t>(kCylPeriods * (3 + 6 * 2)));
}

TEST(DiscWorkArea, IndxupAddsTheIndexToEachBase) {
  Himem h;
  const std::vector<std::pair<std::size_t, std::size_t>> base_of = {
      {166, 19902}, {167, 19904}, {168, 19903}, {169, 19898}, {170, 19896},
      {171, 19897}, {172, 19900}, {173, 19899}, {174, 19901}};
  for (std::size_t k = 0; k < base_of.size(); ++k) h.i(base_of[k].second) = static_cast<std::int32_t>(100 * k);
  h.i(kHimemFrequencyIndex) = 7;
  indxup(h);
  EXPECT_EQ(h.i(kHimemIndexBase), 6);
  for (std::size_t k = 0; k < base_of.size(); ++k) EXPECT_EQ(h.i(base_of[k].first), 6 + 100 * static_cast<int>(k));
}

// ---- Companions ----

TEST(DiscGrid, NearestPeriodHalfwayLowerAndEnds) {
  const std::vector<float> up = {2.0f, 4.0f, 6.0f, 8.0f, 10.0f};
  const std::vector<float> down = {10.0f, 8.0f, 6.0f, 4.0f, 2.0f};
  struct Case {
    const std::vector<float>* table;
    float period;
    int index;
  };
  const std::vector<Case> cases = {
      {&up, 5.0f, 2},  {&up, 5.1f, 3},  {&up, 4.0f, 2},   {&up, 1.0f, 1},   {&up, 2.5f, 1},
      {&up, 9.5f, 5},  {&up, 30.0f, 5}, {&down, 5.0f, 3}, {&down, 4.9f, 4}, {&down, 11.0f, 1},
      {&down, 9.2f, 1}, {&down, 8.9f, 2}, {&down, 1.0f, 5}, {&down, 2.9f, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gridpt(*c.table, 6.2831855f / c.period), c.index) << c.period << (c.table == &up ? " up" : " down");
  }
}

TEST(DiscGrid, HeightAndSlopeFromTheDispersionRelation) {
  // 10 s in 100 m with g = 9.8, against Newton's root of the dispersion relation.
  const double k = dispersion_kh(kTwoPi / 10.0 * std::sqrt(100.0 / 9.8)) / 100.0;
  float height = 0.0f;
  float slope = 0.0f;
  ASSERT_EQ(htslop(100.0f, 9.8f, 0, 3.0f, 0.62831855f, height, slope), kWaveOk);
  EXPECT_EQ(height, 3.0f);
  EXPECT_NEAR(slope, 1.5 * k, 1e-6);
  ASSERT_EQ(htslop(100.0f, 9.8f, 1, 5.0f, 0.62831855f, height, slope), kWaveOk);
  EXPECT_NEAR(slope, 5.0 / 57.29577951, 1e-7);
  EXPECT_NEAR(height, 2.0 * slope / k, 1e-4);
  // The published table of linear wave lengths: d/L0 = 0.1 gives d/L = 0.1410.
  const float depth = 10.0f;
  const float omega = static_cast<float>(std::sqrt(kTwoPi * 9.8 / (depth / 0.1)));
  ASSERT_EQ(htslop(depth, 9.8f, 0, 2.0f, omega, height, slope), kWaveOk);
  EXPECT_NEAR(depth * slope / kTwoPi, 0.1410, 5e-5);  // slope = k (H/2) = k
}

TEST(DiscGrid, AvgupdLeavesBothTheMean) {
  IteratedValues x{};
  IteratedValues p{};
  x[0] = 1.0f, p[0] = 2.0f, x[11] = -4.0f, p[11] = 8.0f;
  avgupd(x, p);
  EXPECT_EQ(x, p);
  EXPECT_EQ(x[0], 1.5f);
  EXPECT_EQ(x[11], 2.0f);
}

// ---- The equivalent disc ----

struct Disc {
  double c, volume, gm, centre, offset, pitch_inertia, yaw_inertia;
};

// The cylinder's hand values, from Lamb's coefficient of its spheroid.
Disc hand_disc() {
  Disc d{};
  const double a = 5.0, h = 2.0, kb = 1.0, kg = 1.5, t = 2.0;
  const double alpha = testing::lamb_alpha(a, h, a);
  d.c = alpha / (2.0 - alpha);
  d.volume = testing::kCylVolume;
  d.gm = (testing::kCylKml - kb) - kg + kb;
  d.centre = (kb * d.c + kg) / (d.c + 1.0);
  d.offset = (d.c * h / 2.0 + (h + kg - t)) / (d.c + 1.0) - h;
  const double arm = h + d.offset - h / 2.0;
  d.pitch_inertia = d.volume * (arm * arm * d.c + 9.0);
  d.yaw_inertia = d.volume * 3.5 * 3.5;
  return d;
}

TEST(DiscCharacteristics, CylinderAgainstHandValues) {
  DiscFixture f;
  ASSERT_EQ(f.set_up(), kDiscOk);
  ASSERT_EQ(disc_characteristics(f.s()), kDiscOk);
  const Himem& h = f.h();
  const Disc d = hand_disc();
  const double g = 9.8;
  struct Expect {
    std::size_t word;
    double value;
  };
  const std::vector<Expect> expected = {
      {kHimemVolume, d.volume},
      {kHimemVolumeCopy, d.volume},
      {kHimemRadius, 5.0},
      {kHimemDiameter, 10.0},
      {kHimemThickness, 2.0},
      {kHimemThicknessRatio, 0.4},
      {kHimemWaterplaneInertia, d.volume * (testing::kCylKml - 1.0)},  // pi R^4 / 4
      {kHimemGml, d.gm},
      {kHimemGmt, d.gm},
      {kHimemInertiaRatio, (testing::kCylKml - 1.0) / d.gm},
      {kHimemRollCentre, d.centre},
      {kHimemPitchCentre, d.centre},
      {kHimemCentreOffset, d.offset},
      {kHimemCentreOffsetRatio, d.offset / 5.0},
      {kHimemRadiusCubed, 125.0},
      {kHimemRadiusFifth, 3125.0},
      {kHimemPitchInertia, d.pitch_inertia},
      {kHimemRollInertia, d.pitch_inertia},
      {kHimemYawInertia, d.yaw_inertia},
      {kHimemHeaveRestoring, testing::kCylArea * g},
      {kHimemPitchRestoring, d.volume * d.gm * g},
      {kHimemRollRestoring, d.volume * d.gm * g},
      {kHimemKeelHeaveMass, 0.0},
      {kHimemKeelInertia, 0.0},
  };
  for (const Expect& e : expected) EXPECT_NEAR(h.r(e.word), e.value, 1e-5 * std::max(1.0, std::fabs(e.value))) << e.word;
  // The spheroid's coefficient is Lamb's.
  EXPECT_NEAR(h.r(kHimemSurgeCoefficient), d.c, 2e-5);
  EXPECT_EQ(h.r(kHimemSwayCoefficient), h.r(kHimemSurgeCoefficient));
}

TEST(DiscCharacteristics, SphereCoefficientIsOneHalf) {
  DiscFixture f;
  EXPECT_NEAR(spheroid_coefficient(f.s(), 1.0f), 0.5f, 5e-5f);
}

TEST(DiscCharacteristics, KeelRing) {
  struct Case {
    float width, root;
    double heave, inertia;
  };
  // a = 5: r = 0.2 worked by hand; r = 0 (no positive root radius) leaves
  // a^3 (1.333 - 1.3333) and no inertia.
  const std::vector<Case> cases = {
      {1.0f, 5.0f, 125.0 * (4.9348025 * 0.04 + 1.333 * 1.728 - 1.3333), 3125.0 * 4.935 * 0.04 * 1.1 * 1.69},
      {1.0f, 0.0f, 125.0 * (1.333 - 1.3333), 0.0},
  };
  for (const Case& c : cases) {
    DiscFixture f;
    f.keel(c.width, c.root);
    ASSERT_EQ(f.set_up(), kDiscOk);
    ASSERT_EQ(disc_characteristics(f.s()), kDiscOk);
    EXPECT_NEAR(f.h().r(kHimemKeelHeaveMass), c.heave, 1e-4 * std::max(1.0, std::fabs(c.heave))) << c.root;
    EXPECT_NEAR(f.h().r(kHimemKeelInertia), c.inertia, 1e-4 * std::max(1.0, c.inertia)) << c.root;
  }
}

TEST(DiscCharacteristics, RefusesBeforeTakingRootsOrQuotients) {
  const std::vector<Refusal> cases = {
      {"the displacement is not positive.", [](DiscFixture& f) { f.t().set_r(kDisplacement, 0.0f); }},
      {"the water density is not positive.", [](DiscFixture& f) { f.t().set_r(kWaterDensity, 0.0f); }},
      {"the water-plane area is not positive.", [](DiscFixture& f) { f.t().set_r(kWaterplaneArea, -2.0f); }},
      {"a hydrostatic value or gyradius is not a number.", [](DiscFixture& f) { f.t().set_r(kYawGyradius, NAN); }},
      {"no equivalent thickness for these KB, KG and draft.",
       [](DiscFixture& f) {
         f.t().set_r(kBuoyancyCentre, 3.0f);
         f.t().set_r(kGravityCentre, 0.5f);
       }},
      {"the metacentric height is not positive.", [](DiscFixture& f) { f.t().set_r(kMetacentreL, 1.2f); }},
      {"a given natural period is not positive.",
       [](DiscFixture& f) {
         f.t().i(mode_words(kModeHeave).period_flag) = 1;
         f.t().set_r(mode_words(kModeHeave).given_period, 0.0f);
       }},
      {"a moored buoy needs its mooring.", [](DiscFixture& f) { f.t().i(kMooringFeedback) = 1; }},
  };
  for (const Refusal& c : cases) {
    DiscFixture f;
    c.spoil(f);
    ASSERT_EQ(f.set_up(), kDiscOk) << c.reason;
    EXPECT_EQ(dskchr(f.s()), kDiscRefused) << c.reason;
    EXPECT_EQ(f.run.shown(), std::string(" ++> Disc buoy not analysed: ") + c.reason + "\n");
    if (f.t().i(kMooringFeedback) == 0) {
      EXPECT_EQ(f.h().r(kHimemVolume), 0.0f) << c.reason;
    }
  }
}

// ---- The unmoored iteration ----

// The pitch and heave frequencies the added masses at omega give.
float pitch_frequency(const Himem& h, float omega) {
  const float added = h.r(kHimemRadiusFifth) * pmasd(omega * omega * 5.0f / 9.8f);
  return std::sqrt(h.r(kHimemPitchRestoring) / (h.r(kHimemPitchInertia) + added));
}

float heave_frequency(const Himem& h, float omega) {
  const float added = h.r(kHimemRadiusCubed) * hmasd(omega * omega * 5.0f / 9.8f);
  return std::sqrt(h.r(kHimemHeaveRestoring) / (h.r(kHimemVolume) + added));
}

TEST(DiscIteration, UnmooredEndsWhenTheGridIndicesRepeat) {
  DiscFixture f;
  ASSERT_EQ(f.set_up(), kDiscOk);
  ASSERT_EQ(disc_characteristics(f.s()), kDiscOk);
  PeriodIteration it;
  ASSERT_EQ(start_iteration(f.s(), nullptr, it), kDiscOk);
  const Himem& h = f.h();
  std::vector<int> heave_index;
  while (!period_pass(f.s(), nullptr, it)) heave_index.push_back(h.i(mode_words(kModeHeave).grid));
  // The first pass starts from the longest period and moves the indices.
  ASSERT_GE(it.pass, 2);
  EXPECT_NE(heave_index.front(), kCylPeriods);
  for (int m = 0; m < kDiscModes; ++m) {
    EXPECT_EQ(h.i(mode_words(m).grid), it.previous_grid[static_cast<std::size_t>(m)]) << m;
  }
  // Pitch, roll and heave sit where their own added masses put them: one
  // more pass would move them within their grid cells.
  const float wp = h.r(mode_words(kModePitch).frequency);
  const float wh = h.r(mode_words(kModeHeave).frequency);
  EXPECT_EQ(h.r(mode_words(kModeRoll).frequency), wp);
  EXPECT_EQ(gridpt(f.t(), pitch_frequency(h, wp)), h.i(mode_words(kModePitch).grid));
  EXPECT_EQ(gridpt(f.t(), heave_frequency(h, wh)), h.i(mode_words(kModeHeave).grid));
  EXPECT_NEAR(wp, pitch_frequency(h, wp), 0.02f);
  EXPECT_NEAR(wh, heave_frequency(h, wh), 0.02f);
  // Surge, sway and yaw keep the start: the longest period's frequency.
  for (int m = kModeSurge; m <= kModeYaw; ++m) {
    EXPECT_FLOAT_EQ(h.r(mode_words(m).frequency), 6.2831855f / 40.0f) << m;
    EXPECT_EQ(h.i(mode_words(m).grid), kCylPeriods) << m;
  }
  // No mooring words are written.
  for (const DiscModeWords& mw : kDiscModeWords) {
    EXPECT_EQ(f.t().r(mw.stiffness), 0.0f);
    EXPECT_EQ(f.t().r(mw.mooring_damping), 0.0f);
  }
  EXPECT_EQ(f.run.shown(), "");
}

TEST(DiscIteration, GivenPeriodsSetTheFrequencies) {
  DiscFixture f;
  const std::vector<float> periods = {5.0f, 7.1f, 13.0f};  // pitch, roll, heave
  for (int m = kModePitch; m <= kModeHeave; ++m) {
    f.t().i(mode_words(m).period_flag) = 1;
    f.t().set_r(mode_words(m).given_period, periods[static_cast<std::size_t>(m)]);
  }
  f.t().i(kTraceLevel) = 1;
  ASSERT_EQ(f.set_up(), kDiscOk);
  ASSERT_EQ(dskchr(f.s()), kDiscOk);
  // Each pass shows the indices before and after the pass before it, roll,
  // pitch, heave, surge, sway, yaw: the second pass shows the first's move.
  const std::string pass2 = "          20           4          20           2          20           6"
                            "          20          20          20          20          20          20\n";
  EXPECT_EQ(f.run.shown().substr(f.run.shown().size() - pass2.size()), pass2);
  EXPECT_EQ(f.run.shown().find(" JRR,JR,JPP,JP,JHH,JH,JGG,JSG,JWW,JSW,JYY,JY\n"), 0u);
  const std::vector<int> index = {2, 4, 6};  // nearest of 2, 4, ..., 40 s; halfway takes the lower
  for (int m = kModePitch; m <= kModeHeave; ++m) {
    const auto k = static_cast<std::size_t>(m);
    EXPECT_FLOAT_EQ(f.h().r(mode_words(m).frequency), 6.2831855f / periods[k]) << m;
    EXPECT_EQ(f.h().i(mode_words(m).grid), index[k]) << m;
  }
}

}  // namespace
}  // namespace kelp
