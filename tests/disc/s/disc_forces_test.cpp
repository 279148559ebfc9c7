// Wave exciting forces on the disc: headings, deep water, the speed word,
// the guarded points of the pitch term and the quasi-linear dampings.
#include "disc/s/disc_forces.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <vector>

#include "disc/s/disc_fixture.hpp"
#include "disc/s/disc_work_area.hpp"
#include "kelpkit/integration.hpp"

namespace kelp {
namespace {

using testing::DiscFixture;
using Forces = std::array<std::complex<float>, 6>;  // heave, surge, sway, pitch, roll, yaw

Forces forces_at(Himem& h, int i) {
  Forces f{};
  for (std::size_t k = 0; k < f.size(); ++k) f[k] = testing::pool_at(h, i, kHimemHeaveForceAt + k);
  return f;
}

constexpr std::size_t kHeave = 0, kSurge = 1, kSway = 2, kPitch = 3, kRoll = 4;

// Puts x = k a at grid entry i (with the deep-water frequency of that k).
void put_wave_number(Himem& h, int i, float x) {
  h.i(kHimemFrequencyIndex) = i;
  indxup(h);
  const float k = x / testing::kCylRadius;
  set_pool_real(h, kHimemWaveNumberAt, k);
  set_pool_real(h, kHimemOmegaAt, std::sqrt(9.8f * k));
}

void expect_close(const Forces& a, const Forces& b, float tolerance, const char* what) {
  for (std::size_t k = 0; k < a.size(); ++k) {
    EXPECT_LE(std::abs(a[k] - b[k]), tolerance * std::max(1e-6f, std::abs(a[k]))) << what << " force " << k;
  }
}

TEST(DiscForces, HeadOnAndBeamSeasSwapPitchSurgeWithRollSway) {
  std::vector<Forces> head;
  std::vector<Forces> beam;
  for (float heading : {0.0f, 90.0f}) {
    DiscFixture f;
    f.setup.wave_heading = heading;
    ASSERT_TRUE(f.ready());
    dskfrc(f.s(), kForcesAtGrid);
    for (int i = 1; i <= testing::kCylPeriods; ++i) (heading == 0.0f ? head : beam).push_back(forces_at(f.h(), i));
  }
  for (std::size_t i = 0; i < head.size(); ++i) {
    const Forces& h0 = head[i];
    const Forces& b = beam[i];
    EXPECT_EQ(h0[kHeave], b[kHeave]) << i;
    EXPECT_NEAR(std::abs(h0[kPitch]), std::abs(b[kRoll]), 1e-6f * std::abs(h0[kPitch])) << i;
    EXPECT_NEAR(std::abs(h0[kSurge]), std::abs(b[kSway]), 1e-6f * std::abs(h0[kSurge])) << i;
    EXPECT_LT(std::abs(h0[kRoll]), 1e-6f * std::abs(h0[kPitch])) << i;
    EXPECT_LT(std::abs(h0[kSway]), 1e-6f * std::abs(h0[kSurge])) << i;
    EXPECT_LT(std::abs(b[kPitch]), 1e-6f * std::abs(b[kRoll])) << i;
    EXPECT_LT(std::abs(b[kSurge]), 1e-6f * std::abs(b[kSway])) << i;
    EXPECT_GT(std::abs(h0[kPitch]), 0.0f) << i;
  }
}

TEST(DiscForces, DeepWaterFormsJoinTheHyperbolicOnesAtKd60) {
  // A 2 s wave has k = 1.00709 in deep water: kD = 59.92 and 60.12.
  std::vector<Forces> f2;
  for (float depth : {59.5f, 59.7f}) {
    DiscFixture f;
    f.t().set_r(kWaterDepth, depth);
    ASSERT_TRUE(f.ready());
    dskfrc(f.s(), kForcesAtGrid);
    f2.push_back(forces_at(f.h(), 1));
  }
  expect_close(f2[0], f2[1], 1e-4f, "kD 60");
}

TEST(DiscForces, SpeedWordIsZeroAtTheModesAndComesBack) {
  DiscFixture still;
  ASSERT_TRUE(still.ready());
  dskfrc(still.s(), kForcesAtModes);
  DiscFixture moving;
  moving.t().set_r(kSpeed, 3.5f);
  ASSERT_TRUE(moving.ready());
  dskfrc(moving.s(), kForcesAtModes);
  EXPECT_EQ(moving.t().r(kSpeed), 3.5f);
  for (int m = kModePitch; m <= kModeHeave; ++m) {
    const int i = still.h().i(mode_words(m).grid);
    expect_close(forces_at(still.h(), i), forces_at(moving.h(), i), 0.0f, "speed");
  }
  // At every wave frequency the speed counts.
  dskfrc(moving.s(), kForcesAtGrid);
  dskfrc(still.s(), kForcesAtGrid);
  EXPECT_NE(forces_at(still.h(), 5)[kHeave], forces_at(moving.h(), 5)[kHeave]);
}

TEST(DiscForces, GuardedPointsAreFiniteAndJoinTheirNeighbours) {
  // x' = |ka - pi/2| = 0, and J2(ka) = 0 at ka = 5.135622, each between two
  // neighbours a little to either side.
  for (float centre : {1.5707964f, 5.1356223f}) {
    DiscFixture f;
    ASSERT_TRUE(f.ready());
    const float step = 2e-3f;
    put_wave_number(f.h(), 1, centre - step);
    put_wave_number(f.h(), 2, centre);
    put_wave_number(f.h(), 3, centre + step);
    dskfrc(f.s(), kForcesAtGrid);
    const Forces lo = forces_at(f.h(), 1);
    const Forces mid = forces_at(f.h(), 2);
    const Forces hi = forces_at(f.h(), 3);
    for (std::size_t k = 0; k < mid.size(); ++k) {
      ASSERT_TRUE(std::isfinite(mid[k].real()) && std::isfinite(mid[k].imag())) << centre << " " << k;
      const std::complex<float> between = 0.5f * (lo[k] + hi[k]);
      EXPECT_LE(std::abs(mid[k] - between), 1e-3f * std::max(1e-6f, std::abs(between))) << centre << " " << k;
    }
  }
}

TEST(DiscForces, PitchTermCancelsWhereItsDivisorVanishes) {
  const float ch = 0.8f, x = 5.1356223f, xp = x - 1.5707964f;
  float j2p = 0.0f;
  int ier = 0;
  besj(xp, 2, j2p, 1e-6f, ier);
  ASSERT_EQ(ier, kBesjOk);
  const float cancelled = 1.3f * 0.2f * 8.0f * ch * j2p / (xp * xp);
  for (float j2 : {1e-3f, 1e-6f, 0.0f}) {
    const float e = 8.0f * ch * j2 / (x * x);
    EXPECT_NEAR(pitch_pd(1.3f, 0.2f, e, ch, x, j2, xp, j2p), cancelled, 1e-6f * cancelled) << j2;
  }
  // x' = 0: J2(x') / x'^2 is 1/8.
  const float e = 8.0f * ch * 0.25f / (1.5707964f * 1.5707964f);
  EXPECT_FLOAT_EQ(pitch_pd(1.0f, 1.0f, e, ch, 1.5707964f, 0.25f, 0.0f, 0.0f), ch);
}

TEST(DiscForces, UnmooredModesGiveDampingsAndNoResponses) {
  DiscFixture f;
  ASSERT_TRUE(f.ready());
  f.t().i(kTraceLevel) = 1;
  dskfrc(f.s(), kForcesAtModes);
  EXPECT_NE(f.run.shown().find(" LW,LWK"), std::string::npos);
  for (int m = kModePitch; m <= kModeHeave; ++m) {
    EXPECT_GT(f.h().r(mode_words(m).damping), 0.0f) << m;
    EXPECT_TRUE(std::isfinite(f.h().r(mode_words(m).damping))) << m;
  }
  for (int m = kModeSurge; m <= kModeYaw; ++m) EXPECT_EQ(f.h().r(mode_words(m).damping), 0.0f) << m;
  for (std::size_t w = 100; w <= 111; ++w) EXPECT_EQ(f.h().r(w), 0.0f) << w;
}

TEST(DiscForces, SurgeDampingWithoutCurrentAreaIsTheLimit) {
  // Moored, surge and sway with given periods of 30 s.
  std::vector<float> damping;
  for (float area : {0.0f, 1e-10f}) {
    DiscFixture f;
    ASSERT_TRUE(f.ready());
    f.t().i(kMooringFeedback) = 1;
    f.t().set_r(kCurrentArea, area);
    for (int m = kModeSurge; m <= kModeYaw; ++m) {
      f.t().i(mode_words(m).period_flag) = 1;
      f.t().set_r(mode_words(m).given_period, 30.0f);
      f.h().set_r(mode_words(m).frequency, 6.2831855f / 30.0f);
      f.h().i(mode_words(m).grid) = 15;
    }
    dskfrc(f.s(), kForcesAtModes);
    damping.push_back(f.h().r(mode_words(kModeSurge).damping));
    EXPECT_TRUE(std::isfinite(f.h().r(mode_words(kModeSway).damping)));
    EXPECT_EQ(f.h().r(110), 0.0f);
    EXPECT_TRUE(std::isfinite(f.h().r(mode_words(kModeSurge).response)));
  }
  ASSERT_GT(damping[0], 0.0f);
  EXPECT_NEAR(damping[1], damping[0], 1e-2f * damping[0]);
}

}  // namespace
}  // namespace kelp
