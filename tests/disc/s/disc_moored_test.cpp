// The natural-period iteration of a moored buoy, over a mooring of linear
// springs and dashpots: convergence, averaging, the recovery question and
// the nonlinear surge-correction table.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "disc/s/disc_fixture.hpp"
#include "disc/s/disc_periods.hpp"
#include "moor/s/work_areas.hpp"
#include "sysutl/session.hpp"

namespace kelp {
namespace {

using testing::DiscFixture;
using testing::LinearMooring;

// Moored, every mode given (periods 5, 5, -, 30, 30, 25 s, 2 %) but heave.
void moored_heave_only(DiscFixture& f) {
  f.t().i(kMooringFeedback) = 1;
  const float periods[] = {5.0f, 5.0f, 0.0f, 30.0f, 30.0f, 25.0f};
  for (int m = 0; m < kDiscModes; ++m) {
    if (m != kModeHeave) f.given(m, true, true, periods[m], 2.0f);
  }
}

TEST(DiscMooredIteration, HeaveSettlesOnItsSpringAndTheTableIsTheWorkDone) {
  DiscFixture f;
  moored_heave_only(f);
  LinearMooring moor;
  moor.spring[kMotionHeave] = 5000.0f;
  moor.damping[kMotionHeave] = 100.0f;
  moor.spring[kMotionSurge] = 40.0f;
  ASSERT_EQ(f.set_up(), kDiscOk);
  ASSERT_EQ(disc_characteristics(f.s()), kDiscOk);
  PeriodIteration it;
  ASSERT_EQ(start_iteration(f.s(), &moor, it), kDiscOk);
  EXPECT_TRUE(moor.prepared);
  EXPECT_FALSE(period_pass(f.s(), &moor, it));  // the previous values start at 0

  DiscFixture g;
  moored_heave_only(g);
  ASSERT_TRUE(g.ready(&moor));
  const Himem& h = g.h();
  const DiscModeWords& heave = mode_words(kModeHeave);
  EXPECT_EQ(g.t().r(heave.stiffness), 5000.0f);
  EXPECT_EQ(g.t().r(heave.mooring_damping), 100.0f);
  const float w = h.r(heave.frequency);
  EXPECT_NEAR(w * w, (5000.0f / 1.025f + h.r(kHimemHeaveRestoring)) / h.r(kHimemHeaveMass), 1e-5f * w * w);
  // Given modes keep their periods, and their words stay as given.
  EXPECT_FLOAT_EQ(h.r(mode_words(kModeSurge).frequency), 6.2831855f / 30.0f);
  EXPECT_EQ(g.t().r(mode_words(kModeSurge).stiffness), 30.0f);
  // Surge given: the table spans eight wave amplitudes (8 x 0.5 x 2 m) in
  // 90 steps; a linear spring of 40 gives 40 step^2 i (i - 1) / 2.
  const float step = 8.0f / 90.0f;
  const Lincom& lc = lincom(g.s());
  EXPECT_FLOAT_EQ(lc.nonlinear_step, step);
  EXPECT_EQ(lc.nonlinear_table[0], 0.0f);
  for (int i : {2, 10, 90}) {
    EXPECT_NEAR(lc.nonlinear_table[static_cast<std::size_t>(i - 1)], 40.0 * step * step * i * (i - 1) / 2.0,
                1e-4 * 40.0 * step * step * i * i)
        << i;
  }
}

// Moored, surge damping computed and alternating 1, 2, 1, ... pass by pass
// (two mooring calls a pass), everything else given: it never settles.
void restless_surge(DiscFixture& f, LinearMooring& moor) {
  moored_heave_only(f);
  f.given(kModeHeave, true, true, 6.0f, 2.0f);
  f.given(kModeSurge, true, false, 20.0f);
  moor.spring[kMotionSurge] = 40.0f;
  moor.surge_damping = [](int call) { return ((call + 1) / 2) % 2 != 0 ? 1.0f : 2.0f; };
}

TEST(DiscMooredIteration, AveragesFromPass21) {
  DiscFixture f;
  LinearMooring moor;
  restless_surge(f, moor);
  ASSERT_EQ(f.set_up(), kDiscOk);
  ASSERT_EQ(disc_characteristics(f.s()), kDiscOk);
  PeriodIteration it;
  ASSERT_EQ(start_iteration(f.s(), &moor, it), kDiscOk);
  const std::size_t word = mode_words(kModeSurge).mooring_damping;
  for (int p = 1; p <= 20; ++p) {
    ASSERT_FALSE(period_pass(f.s(), &moor, it));
    EXPECT_EQ(f.t().r(word), p % 2 != 0 ? 1.0f : 2.0f) << p;
  }
  ASSERT_FALSE(period_pass(f.s(), &moor, it));
  EXPECT_EQ(f.t().r(word), 1.5f);  // (1 + 2) / 2
  ASSERT_FALSE(period_pass(f.s(), &moor, it));
  EXPECT_EQ(f.t().r(word), 1.75f);  // (2 + 1.5) / 2
}

const std::string kRecovery =
    "\n ++> Possible iteration failure in DSKCHR period/damping loop.\n\n     Completing attempt # ";

TEST(DiscMooredIteration, TheThirdRunOfPassesAsks) {
  struct Case {
    const char* replies;
    int out;
    bool stops;
    int questions;
  };
  const Case cases[] = {
      {"99\n", kScreen, false, 1},
      {"\n99\n", kScreen, false, 2},
      {"A\n", kScreen, true, 1},
      {"", kSilentUnit, true, 0},
  };
  for (const Case& c : cases) {
    DiscFixture f(c.replies);
    f.t().i(kOutputUnit) = c.out;
    LinearMooring moor;
    restless_surge(f, moor);
    if (c.stops) {
      EXPECT_THROW(f.ready(&moor), ProgramStop) << c.replies;
    } else {
      EXPECT_TRUE(f.ready(&moor)) << c.replies;
      EXPECT_GT(lincom(f.s()).nonlinear_step, 0.0f);
    }
    const std::string shown = f.run.shown();
    const std::string third = kRecovery + " 3\n     Enter 99 to continue with current best estimate OR...\n";
    EXPECT_EQ(shown.find(third) != std::string::npos, c.questions >= 1) << c.replies;
    EXPECT_EQ(shown.find(kRecovery + " 4\n") != std::string::npos, c.questions >= 2) << c.replies;
    EXPECT_EQ(shown.find(kRecovery + " 5"), std::string::npos) << c.replies;
  }
}

}  // namespace
}  // namespace kelp
