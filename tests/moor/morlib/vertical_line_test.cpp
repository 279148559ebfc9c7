#include "moor/morlib/vertical_line.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "moor/closed_form_catenary.hpp"
#include "moor/line_fixture.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::Element;
using testing::ScriptedSession;

constexpr float kHalfPi = 1.5707964f;

VerticalLineState hang(ScriptedSession& t, const std::vector<Element>& els, float z) {
  t.s.tpcm.set_r(kMaxTableLoad, 500.0f);
  t.s.tpcm.i(702) = kScreen;
  return vrtlin(t.s, z, testing::line_type_of(els, 1), 20.0f);
}

// Stretched length of a linear-law bar of weight w hanging between the
// tensions b (bottom) and b + wL (top).
double bar(const Element& e, double L, double b) { return L + e.a[0] * (b * L + e.w * L * L / 2.0); }

TEST(Vrtlin, HangingElasticBarsAgainstClosedForm) {
  const auto els = testing::as_stored({{100.0, 0.2, {4e-4, 0, 0}}, {300.0, 0.1, {1e-3, 0, 0}}});
  const Element &e1 = els[0], &e2 = els[1];
  struct Case {
    const char* name;
    float z;
    double top, grounded;
  };
  // Touchdown in element 1: s of it hangs from tension 0.
  const double s1 = testing::bisect([&](double s) { return bar(e1, s, 0.0); }, 60.0, 0.0, 100.0);
  // Touchdown in element 2: all of element 1 and s of element 2 hang.
  const double s2 = testing::bisect([&](double s) { return bar(e2, s, 0.0) + bar(e1, e1.L, e2.w * s); }, 250.0, 0.0,
                                    300.0);
  // No touchdown: the whole line hangs, pulled down by the anchor with b.
  const double b = testing::bisect([&](double v) { return bar(e2, e2.L, v) + bar(e1, e1.L, v + e2.w * e2.L); },
                                   450.0, 0.0, 1e4);
  const Case cases[] = {
      {"touchdown in element 1", 60.0f, e1.w * s1, (e1.L - s1) + e2.L},
      {"touchdown in element 1, downward", -60.0f, e1.w * s1, (e1.L - s1) + e2.L},
      {"touchdown in element 2", 250.0f, e1.w * e1.L + e2.w * s2, e2.L - s2},
      {"no touchdown", 450.0f, b + e2.w * e2.L + e1.w * e1.L, 0.0},
      {"no touchdown, downward", -450.0f, b + e2.w * e2.L + e1.w * e1.L, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedSession t;
    const VerticalLineState r = hang(t, els, c.z);
    EXPECT_NEAR(r.top_tension, c.top, 1e-5 * c.top);
    EXPECT_NEAR(r.grounded1, c.grounded, 1e-3);
    EXPECT_EQ(r.grounded2, r.grounded1);
    EXPECT_EQ(r.direction, c.z < 0 ? -1 : 1);
    if (c.grounded > 0.0) {
      EXPECT_EQ(r.top_angle, kHalfPi);
      EXPECT_EQ(r.bottom_angle, 0.0f);
    } else {
      EXPECT_EQ(r.top_angle, c.z < 0 ? -kHalfPi : kHalfPi);
      EXPECT_EQ(r.bottom_angle, r.top_angle);
    }
    EXPECT_EQ(t.shown(), "");
  }
}

TEST(Vrtlin, BuoyantElementsOnTheBottomLiftArches) {
  // A chain hangs 50 from its top; further along, a float lies between two
  // chains (arch 15: a = b = 2.5) or at the end (arch 12: a = 2).
  const Element chain{100.0, 0.1, {0, 0, 0}};
  const Element buoy{10.0, -0.05, {0, 0, 0}};
  const Element rest{200.0, 0.1, {0, 0, 0}};
  struct Case {
    std::vector<Element> els;
    double grounded;
  };
  const Case cases[] = {
      {{chain, buoy, rest}, 50.0 + 10.0 + 200.0 - 15.0},
      {{chain, rest, buoy}, 50.0 + 200.0 + 10.0 - 12.0},
      {{chain, rest}, 250.0},
  };
  for (const Case& c : cases) {
    ScriptedSession t;
    const VerticalLineState r = hang(t, testing::as_stored(c.els), 50.0f);
    EXPECT_NEAR(r.grounded1, c.grounded, 1e-3);
    EXPECT_NEAR(r.top_tension, 5.0f, 1e-5f);
    EXPECT_EQ(t.shown(), "");
  }
}

TEST(Vrtlin, ArchesThatCannotFormGiveTheBuoyantLineMessage) {
  const Element chain{100.0, 0.1, {0, 0, 0}};
  const Element rope{10.0, 0.0, {0, 0, 0}};
  const Element buoy{10.0, -0.05, {0, 0, 0}};
  const Element heavy{200.0, 0.5, {0, 0, 0}};
  const std::string message =
      "\n ++> Buoyant line handling error. First data row of the interpolation tables\n"
      "     will probably be in error; this is usually a non-issue.\n"
      " \n Press <RETURN> to continue: ";
  // A weightless element above the float: nothing is solved.
  ScriptedSession t("\n");
  VerticalLineState r = hang(t, testing::as_stored({chain, rope, buoy, chain}), -50.0f);
  EXPECT_EQ(t.shown(), message);
  EXPECT_EQ(r.direction, -1);
  EXPECT_EQ(r.top_tension, 0.0f);
  EXPECT_EQ(r.grounded1, 0.0f);
  // An arch longer than the element below it: said, and solved all the same.
  const Element big_buoy{100.0, -4.0, {0, 0, 0}};
  ScriptedSession u("\n");
  r = hang(u, testing::as_stored({chain, big_buoy, heavy}), 50.0f);
  EXPECT_EQ(u.shown(), message);
  EXPECT_NEAR(r.top_tension, 5.0f, 1e-5f);
}

TEST(Vrtlin, RootSearchWithoutBoundsStops) {
  // No maximum load: the bracket never opens.
  ScriptedSession t("\n");
  t.s.tpcm.i(702) = kScreen;
  const auto els = testing::as_stored({{100.0, 0.1, {1e-3, 0, 0}}});
  EXPECT_THROW(vrtlin(t.s, 50.0f, testing::line_type_of(els, 1), 0.0f), ProgramStop);
  EXPECT_EQ(t.shown(), " ++> Bounds error in VRTLIN \n\n Press <Return> to Continue...\n");
}

TEST(Dpdster, WeightlessTouchdownElementAtZeroTension) {
  HangingLine h;
  h.n = 1;
  h.nelem = 2;
  h.span = 30.0;
  h.L = {20.0, 50.0};
  h.w = {0.1, 0.0};
  EXPECT_EQ(dpdster(h, 0.0), 0.0);
  // With tension the weightless element's hanging part counts.
  h.extra = 40.0;
  EXPECT_DOUBLE_EQ(dpdster(h, 1.0), 30.0 - 20.0 - 10.0);
}

}  // namespace
}  // namespace kelp
