// The disc buoy moored by real lines: the mooring linearised for one
// harmonic motion over the line library's static state and dynamic line
// model, and the natural-period iteration over it.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "disc/s/disc_fixture.hpp"
#include "disc/s/disc_line_mooring.hpp"
#include "moor/closed_form_catenary.hpp"
#include "moor/line_fixture.hpp"
#include "moor/s/work_areas.hpp"
#include "sysutl/session.hpp"

namespace kelp {
namespace {

using testing::DiscFixture;

// Lines of type 3, one element 500 long of stiffness 2e4 (the line of the
// line tests): by default of weight 0.08 from an anchor 100 below the
// fairlead, at horizontal tension 40.
constexpr int kType = 3;
constexpr double kLength = 500.0, kStiffness = 2e4, kTension = 40.0;
constexpr float kFairleadRadius = 5.0f;

struct LineShape {
  double weight = 0.08;
  double span = 100.0;
};

// The closed-form line: horizontal tension at range x, and the inclination
// of its fairlead below the horizontal.
struct ClosedFormLine {
  LineShape shape;
  double vertical(double H, double z) const {
    return testing::irvine_vertical_force(kLength, shape.weight, kStiffness, H, z);
  }
  double range(double H) const {
    return testing::irvine_line(kLength, shape.weight, kStiffness, H, vertical(H, shape.span)).x;
  }
  double tension(double x, double z) const {
    return testing::irvine_horizontal_tension(kLength, shape.weight, kStiffness, x, z);
  }
  double inclination(double x, double z) const {
    const double H = tension(x, z);
    return std::atan(vertical(H, z) / H);
  }
};

// The cylinder of the disc tests moored by lines of type 3 on the given
// headings (degrees), each at the range of horizontal tension 40, with its
// fairlead on the water line at radius 5 on the line's heading; load tables
// from the closed-form catenary.
struct LineMooredDisc : DiscFixture {
  explicit LineMooredDisc(const std::vector<float>& headings, LineShape shape = {}) : line{shape} {
    Tpcm& tp = t();
    tp.i(kMooringFeedback) = 1;
    tp.i(kProgramKind) = 4;
    tp.i(kInterpTableSize) = kTablePoints;
    tp.i(kMooringLegs) = static_cast<std::int32_t>(headings.size());
    const testing::Element e{kLength, shape.weight, {1.0 / kStiffness, 0.0, 0.0}};
    LineType lt = testing::line_type_of(testing::as_stored({e}), 1, kType);
    lt.fairlead = 1;
    lt.anchor_depth = static_cast<float>(shape.span);
    testing::store_line_type(tp, lt);
    Lincom& lc = lincom(s());
    testing::set_tension_points(lc, 5.0, 2.0);
    testing::fill_closed_form_column(lc, kType, 1, kLength, shape.weight, kStiffness, shape.span, kTablePoints);
    range = static_cast<float>(line.range(kTension));
    for (std::size_t j = 0; j < headings.size(); ++j) {
      const int n = static_cast<int>(j) + 1;
      const float a = headings[j] / kDiscDegree;
      tp.set_r(*fairlead_word(n, 1), kFairleadRadius * std::cos(a));
      tp.set_r(*fairlead_word(n, 2), kFairleadRadius * std::sin(a));
      tp.set_r(*fairlead_word(n, 3), tp.r(kDraft));
      setup.lines.push_back({kType, headings[j], range});
    }
  }
  // Drag of the lines: diameter 100 mm, drag and added-mass coefficients 1.
  void with_drag() {
    t().set_r(*element_word(ElementField::kDiameter, 1, kType), 100.0f);
    t().set_r(*element_word(ElementField::kDrag, 1, kType), 1.0f);
    t().set_r(*element_word(ElementField::kAddedMass, 1, kType), 1.0f);
  }
  bool prepared() { return set_up() == kDiscOk && mooring.prepare(s()); }
  MooringLinearisation at(const MotionAmplitudes& a, float omega = 0.5f) { return mooring.linearise(s(), a, omega); }

  ClosedFormLine line;
  LineMooring mooring;
  float range = 0.0f;
};

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
