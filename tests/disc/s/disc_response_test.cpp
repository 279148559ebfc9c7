// Response operators of the disc and the nonlinear surge correction.
#include "disc/s/disc_response.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <vector>

#include "disc/s/disc_fixture.hpp"
#include "disc/s/disc_forces.hpp"
#include "disc/s/disc_work_area.hpp"
#include "moor/s/work_areas.hpp"

namespace kelp {
namespace {

using testing::DiscFixture;
using testing::LinearMooring;
using testing::pool_at;

// The work done against a spring of 2 over unit steps: T(i) = (i - 1)^2.
// Below, the same spring on both sides of a zero point at entry 5.
const std::vector<float> kSpring = {0, 1, 4, 9, 16, 25, 36, 49, 64, 81};
const std::vector<float> kTwoSided = {16, 9, 4, 1, 0, 1, 4, 9, 16};
const std::vector<float> kSteps = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
const std::vector<float> kTwoSidedSteps = {-4, -3, -2, -1, 0, 1, 2, 3, 4};

TEST(Nlncor, AmplitudeWhereTheTableHoldsTheSpringEnergy) {
  struct Case {
    const std::vector<float>* table;
    const std::vector<float>* amplitudes;
    int kind;
    float a, side, ac;
    int index;
  };
  // E = 0.5 2 3.5^2 = 12.25 between 9 and 16: 3 + 3.25/7 by hand.
  const float hand = 3.0f + 3.25f / 7.0f;
  const std::vector<Case> cases = {
      {&kSpring, &kSteps, 0, 3.5f, 0.0f, hand, 4},
      {&kSpring, &kSteps, 1, 3.5f, 1.0f, hand, 4},
      {&kSpring, &kSteps, 0, 0.8f, 0.0f, 0.8f, 1},  // within the first step: unchanged
      {&kSpring, &kSteps, 0, 1.2f, 0.0f, 1.2f, 2},  // within one step of the zero point
      {&kTwoSided, &kTwoSidedSteps, 0, 3.5f, 1.0f, hand, 8},
      {&kTwoSided, &kTwoSidedSteps, 0, 3.5f, -1.0f, -hand, 1},
  };
  for (const Case& c : cases) {
    testing::ScriptedSession run;
    float ac = 0.0f;
    int index = 0;
    nlncor(run.s, *c.table, 0.0f, 1.0f, *c.amplitudes, c.a, ac, 2.0f, c.side,
           static_cast<int>(c.table->size()), index, c.kind, kScreen);
    EXPECT_NEAR(ac, c.ac, 1e-6f) << c.a << " side " << c.side << " kind " << c.kind;
    EXPECT_EQ(index, c.index) << c.a << " side " << c.side;
    EXPECT_EQ(run.shown(), "");
  }
}

TEST(Nlncor, LevelOutsideTheTableStops) {
  for (int out : {kScreen, kSilentUnit}) {
    testing::ScriptedSession run(out == kScreen ? "\n" : "");
    float ac = 0.0f;
    int index = 0;
    EXPECT_THROW(nlncor(run.s, kSpring, 0.0f, 1.0f, kSteps, 20.0f, ac, 2.0f, 0.0f, 10, index, 0, out), ProgramStop);
    const char* message = " ++> Nonzero IER =  2 in NLNCOR\n     Press <RETURN> to continue\n";
    EXPECT_EQ(run.shown(), out == kScreen ? message : "");
  }
}

TEST(DiscResponse, UnmooredHeaveFollowsLongWaves) {
  DiscFixture f;
  const std::vector<float> periods = {4.0f, 50.0f, 100.0f, 200.0f};
  f.t().i(kWaveFrequencies) = static_cast<int>(periods.size());
  for (std::size_t i = 0; i < periods.size(); ++i) f.t().set_r(kPeriods + i, periods[i]);
  ASSERT_TRUE(f.ready());
  dskfrc(f.s(), kForcesAtModes);  // the quasi-linear dampings
  dskfrc(f.s(), kForcesAtGrid);
  dskrao(f.s());
  EXPECT_NEAR(std::abs(pool_at(f.h(), 4, kHimemHeaveForceAt)), 1.0f, 0.01f);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(pool_at(f.h(), i, kHimemYawForceAt), std::complex<float>(0.0f, 0.0f)) << i;
    for (std::size_t a = kHimemHeaveForceAt; a <= kHimemRollForceAt; ++a) {
      const std::complex<float> x = pool_at(f.h(), i, a);
      EXPECT_TRUE(std::isfinite(x.real()) && std::isfinite(x.imag())) << i << " " << a;
    }
  }
}

// Moored by a surge spring of 50 with a dashpot of 10, every mode given but
// surge; the surge responses with the correction (response scale 1) and
// without it (scale 0), the table optionally halved after the iteration.
std::vector<std::complex<float>> moored_surge(float response_scale, float table_scale) {
  DiscFixture f;
  f.t().i(kMooringFeedback) = 1;
  const float periods[] = {5.0f, 5.0f, 6.0f, 0.0f, 30.0f, 25.0f};
  for (int m = 0; m < kDiscModes; ++m) {
    if (m != kModeSurge) f.given(m, true, true, periods[m], 2.0f);
  }
  f.setup.response_scale = response_scale;
  LinearMooring moor;
  moor.spring[kMotionSurge] = 50.0f;
  moor.damping[kMotionSurge] = 10.0f;
  EXPECT_TRUE(f.ready(&moor));
  for (float& v : lincom(f.s()).nonlinear_table) v *= table_scale;
  dskfrc(f.s(), kForcesAtGrid);
  dskrao(f.s());
  std::vector<std::complex<float>> x;
  for (int i = 1; i <= testing::kCylPeriods; ++i) x.push_back(pool_at(f.h(), i, kHimemSurgeForceAt));
  return x;
}

TEST(DiscResponse, SurgeCorrectionNeverRaisesTheAmplitude) {
  const std::vector<std::complex<float>> linear = moored_surge(0.0f, 1.0f);
  const std::vector<std::complex<float>> corrected = moored_surge(1.0f, 1.0f);
  const std::vector<std::complex<float>> capped = moored_surge(1.0f, 0.5f);
  int reduced = 0;
  for (std::size_t i = 0; i < linear.size(); ++i) {
    EXPECT_LE(std::abs(corrected[i]), std::abs(linear[i])) << i;
    if (std::abs(corrected[i]) < std::abs(linear[i])) ++reduced;
    // A softer table would give a larger amplitude: the linear one stays.
    EXPECT_EQ(capped[i], linear[i]) << i;
  }
  EXPECT_GT(reduced, 0);
}

}  // namespace
}  // namespace kelp
