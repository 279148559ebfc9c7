// The disc buoy moored by real lines: the mooring linearised for one
// harmonic motion over the line library's static state and dynamic line
// model, and the natural-period iteration over it.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "disc/s/disc_line_fixture.hpp"
#include "moor/s/work_areas.hpp"
#include "sysutl/session.hpp"

namespace kelp {
namespace {

using testing::LineMooredDisc;
using testing::LineShape;
constexpr int kType = testing::kMooredLineType;

MotionAmplitudes only(int c, float a) {
  MotionAmplitudes m{};
  m[static_cast<std::size_t>(c)] = a;
  return m;
}

const char* const kComponent[] = {"surge", "sway", "heave", "roll", "pitch", "yaw"};

// Every component of amplitude 0 stays 0, whatever the others move; the
// others have sums of absolute values, so their springs and dampings are
// never negative and never below the total over the amplitude.
TEST(Dynspr, ZeroAmplitudesContributeNothingAndSumsAreNeverNegative) {
  LineMooredDisc f({30.0f, 150.0f, 270.0f, 0.0f});
  f.with_drag();
  ASSERT_TRUE(f.prepared());
  const MotionAmplitudes cases[] = {
      only(kMotionSurge, 0.5f), only(kMotionHeave, 0.3f), only(kMotionYaw, 0.05f),
      {0.0f, 0.4f, 0.0f, 0.03f, 0.0f, 0.0f}, {0.2f, 0.2f, 0.2f, 0.02f, 0.02f, 0.02f},
  };
  const float omega = 0.6f;
  bool some_damping = false;
  for (const MotionAmplitudes& a : cases) {
    const MooringLinearisation r = f.at(a, omega);
    for (std::size_t c = 0; c < a.size(); ++c) {
      const std::string what = std::string(kComponent[c]) + " of case " + std::to_string(&a - cases);
      if (a[c] == 0.0f) {
        EXPECT_EQ(r.spring[c], 0.0f) << what;
        EXPECT_EQ(r.damping[c], 0.0f) << what;
        EXPECT_EQ(r.force[c], std::complex<float>{}) << what;
        continue;
      }
      EXPECT_GT(r.spring[c], 0.0f) << what;
      EXPECT_GE(r.damping[c], 0.0f) << what;
      EXPECT_GE(r.spring[c] * (1.0f + 1e-6f), std::fabs(r.force[c].real() / a[c])) << what;
      EXPECT_GE(r.damping[c] * (1.0f + 1e-6f), std::fabs(r.force[c].imag() / (omega * a[c]))) << what;
      some_damping = some_damping || r.damping[c] > 0.0f;
    }
  }
  EXPECT_TRUE(some_damping);
  // Moved in surge, the lines at 30 and 150 degrees pull the two ways across:
  // the sway total is well below the sum.
  const MotionAmplitudes a = {0.5f, 0.01f, 0.0f, 0.0f, 0.0f, 0.0f};
  const MooringLinearisation r = f.at(a, omega);
  EXPECT_LT(std::fabs(r.force[kMotionSway].real() / a[kMotionSway]), 0.5f * r.spring[kMotionSway]);
}

// A line moved across its plane turns about its anchor: horizontal force
// H a / x against the motion (x its range), and no damping without drag.
TEST(Dynspr, ALineMovedAcrossItsPlaneTurnsAboutItsAnchor) {
  LineMooredDisc f({90.0f});
  ASSERT_TRUE(f.prepared());
  const float a = 0.2f;
  const MooringLinearisation r = f.at(only(kMotionSurge, a));
  const double H = f.line.tension(f.range, 100.0);
  EXPECT_NEAR(r.force[kMotionSurge].real(), -H * a / f.range, 1e-3 * H * a / f.range);
  EXPECT_NEAR(r.spring[kMotionSurge], H / f.range, 1e-3 * H / f.range);
  EXPECT_EQ(r.damping[kMotionSurge], 0.0f);
}

// A line moved in its plane changes its fairlead inclination as the
// closed-form catenary does: the force across the line is T0 times that
// change. A nearly horizontal tangent (|cos phi| at most 0.02, a light line
// over a span of 2) takes the change from the vertical force, the other one
// from the horizontal tension.
TEST(Dynspr, TheInclinationChangesAsTheCatenaryInBothForms) {
  struct Case {
    LineShape shape;
    bool nearly_horizontal;
  };
  const Case cases[] = {{{0.08, 100.0}, false}, {{0.0005, 2.0}, true}};
  for (const Case& c : cases) {
    LineMooredDisc f({0.0f}, c.shape);
    ASSERT_TRUE(f.prepared());
    const float a = 0.02f;  // toward the anchor
    const float b = 0.01f;  // up
    MotionAmplitudes m{};
    m[kMotionSurge] = a;
    m[kMotionHeave] = b;
    const MooringLinearisation r = f.at(m);

    const double x = f.range, z = c.shape.span;
    const double alpha = f.line.inclination(x, z);
    const double phi = alpha + M_PI / 2.0;
    EXPECT_EQ(std::fabs(std::cos(phi)) <= 0.02, c.nearly_horizontal) << z;
    const double T0 = std::hypot(f.line.tension(x, z), f.line.vertical(f.line.tension(x, z), z));
    const double change = (f.line.inclination(x - a, z + b) - f.line.inclination(x + a, z - b)) / 2.0;
    const double across = r.force[kMotionSurge].real() * std::cos(phi) - r.force[kMotionHeave].real() * std::sin(phi);
    EXPECT_NEAR(across / T0, change, 0.01 * std::fabs(change)) << z;
  }
}

// Column (layer 1, type 3) of a load table set to v.
void fill(std::vector<float>& table, float v) {
  for (int j = 1; j <= kTablePoints; ++j) table[Lincom::table_index(j, 1, kType)] = v;
}

// Where the turn out of the line's plane or the change of inclination
// would divide by zero (a distance 0, a vertical tangent, a top tension not
// above 0), the line does not turn or incline and the results stay finite:
// moved in sway across a line at 0 degrees it then gives no sway force.
TEST(Dynspr, GuardsTheTurnAndTheInclinationChange) {
  struct Case {
    const char* what;
    void (*before)(LineMooredDisc&);
    void (*after)(Lincom&);
    bool no_sway;
  };
  const Case cases[] = {
      {"distance 0",
       [](LineMooredDisc& f) {
         for (int j = 1; j <= kTablePoints; ++j) lincom(f.s()).range_table[Lincom::table_index(j, 1, kType)] -= f.range;
         f.setup.lines[0].range = 0.0f;
       },
       [](Lincom&) {}, true},
      {"top tension 0", [](LineMooredDisc&) {}, [](Lincom& lc) { fill(lc.top_tension_table, 0.0f); }, true},
      {"vertical tangent", [](LineMooredDisc&) {}, [](Lincom& lc) { fill(lc.top_angle_table, 1.5707964f); }, false},
  };
  const MotionAmplitudes m = {0.02f, 0.3f, 0.01f, 0.0f, 0.0f, 0.0f};
  for (const Case& c : cases) {
    LineMooredDisc f({0.0f});
    c.before(f);
    ASSERT_TRUE(f.prepared()) << c.what;
    c.after(lincom(f.s()));
    const MooringLinearisation r = f.at(m);
    for (std::size_t k = 0; k < m.size(); ++k) {
      EXPECT_TRUE(std::isfinite(r.spring[k]) && std::isfinite(r.damping[k])) << c.what << ' ' << kComponent[k];
      EXPECT_TRUE(std::isfinite(r.force[k].real()) && std::isfinite(r.force[k].imag())) << c.what;
    }
    if (c.no_sway) {
      EXPECT_EQ(r.spring[kMotionSway], 0.0f) << c.what;
    }
  }
}

// Lines with a request code above 1024 are left out entirely; so is a line
// without a positive horizontal tension at its range or without a static
// state, with one message for the whole run.
TEST(Dynspr, LeavesOutExcludedLinesAndLinesWithoutTension) {
  const MotionAmplitudes m = {0.3f, 0.2f, 0.1f, 0.01f, 0.02f, 0.03f};
  LineMooredDisc one({0.0f});
  ASSERT_TRUE(one.prepared());
  const MooringLinearisation alone = one.at(m);

  const std::string message =
      " ++> Mooring line   2 left out of the mooring springs and dampings:\n"
      "     no positive horizontal tension at its range, or no static line state.\n";
  struct Case {
    const char* what;
    void (*spoil)(LineMooredDisc&);
    bool message;
  };
  const Case cases[] = {
      {"code above 1024", [](LineMooredDisc& f) { f.setup.lines[1].code = 1024 + kType; }, false},
      {"no tension at its range", [](LineMooredDisc& f) { f.setup.lines[1].range = 1.0f; }, true},
  };
  for (const Case& c : cases) {
    LineMooredDisc f({0.0f, 120.0f});
    c.spoil(f);
    ASSERT_TRUE(f.prepared()) << c.what;
    const std::size_t before = f.run.shown().size();
    const MooringLinearisation r = f.at(m);
    f.at(m);
    for (std::size_t k = 0; k < m.size(); ++k) {
      EXPECT_EQ(r.spring[k], alone.spring[k]) << c.what << ' ' << kComponent[k];
      EXPECT_EQ(r.damping[k], alone.damping[k]) << c.what << ' ' << kComponent[k];
      EXPECT_EQ(r.force[k], alone.force[k]) << c.what << ' ' << kComponent[k];
    }
    EXPECT_EQ(f.run.shown().substr(before), c.message ? message : "") << c.what;
  }
}

// Kind 13 solves the lines of its second body: its draft stands in for the
// first body's while the static state is worked out, and goes back after.
TEST(LineMooring, KindThirteenSolvesTheLinesOfItsSecondBody) {
  LineMooredDisc plain({0.0f});
  plain.t().set_r(kDraft, 3.0f);
  plain.t().set_r(*fairlead_word(1, 3), 2.0f);
  ASSERT_TRUE(plain.prepared());

  LineMooredDisc twin({0.0f});
  twin.t().i(kProgramKind) = 13;
  twin.t().set_r(kBuoyDraft, 3.0f);
  ASSERT_TRUE(twin.prepared());
  EXPECT_EQ(twin.t().r(kDraft), 2.0f);
  EXPECT_EQ(twin.t().r(kBuoyDraft), 3.0f);
  EXPECT_EQ(catcom(twin.s()).top_rise_rate[0], catcom(plain.s()).top_rise_rate[0]);
  EXPECT_EQ(catcom(twin.s()).dxsdh, catcom(plain.s()).dxsdh);
}

// The natural periods of a buoy on four lines: the iteration settles, the
// surge frequency is that of the surge spring, and the correction table is
// the work done against the lines, growing with the amplitude.
TEST(LineMooring, TheMooredIterationSettlesOverRealLines) {
  LineMooredDisc f({45.0f, 135.0f, 225.0f, 315.0f});
  f.with_drag();
  ASSERT_TRUE(f.ready(&f.mooring));
  const Tpcm& t = f.t();
  const Himem& h = f.h();
  const float k = t.r(mode_words(kModeSurge).stiffness);
  EXPECT_GT(k, 0.0f);
  EXPECT_GT(t.r(mode_words(kModeSurge).mooring_damping), 0.0f);
  const float w = h.r(mode_words(kModeSurge).frequency);
  EXPECT_NEAR(w * w, k / (h.r(kHimemSurgeMass) * f.setup.mass_density), 1e-5f * w * w);
  const Lincom& lc = lincom(f.s());
  EXPECT_GT(lc.nonlinear_step, 0.0f);
  for (std::size_t i = 1; i < kTablePoints; ++i) EXPECT_GT(lc.nonlinear_table[i], lc.nonlinear_table[i - 1]) << i;
}

}  // namespace
}  // namespace kelp
