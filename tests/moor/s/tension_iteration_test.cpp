#include "moor/s/tension_iteration.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "moor/catlib/catenary.hpp"
#include "moor/line_fixture.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::Element;
using testing::ScriptedSession;

struct Solved {
  float topt1, topt2;
  double x, z, botln;
};

// Solves the line at H for span z from the bracket (b1, b2) and measures it.
Solved solve(ScriptedSession& t, Lincom& lc, const LineType& lt, double H, double z, float b1, float b2) {
  testing::set_tension(lc, lt, H, z);
  float topt1 = b1, topt2 = b2;
  iter8p(t.s, lc, lt, topt1, topt2);
  const int n = lt.nelem;
  return {topt1, topt2, xdist(lc.sclwt, lc.secarr, lc.tmptan, lc.scaled_coef, n, n, lt.grounding, lt.length, 0.0),
          zdist(lc.sclwt, lc.secarr, lc.scaled_coef, n, lt.length, lc.tmptan), lc.botln};
}

void expect_rel(double got, double want, double tol, const char* what) {
  EXPECT_NEAR(got, want, tol * std::max(std::fabs(want), 1.0)) << what;
}

TEST(Iter8p, SingleElementAgainstTheClosedFormWithSeabedContact) {
  struct Case {
    const char* name;
    double L, w, EA, H, V;  // the closed form's state gives the span
  };
  const Case cases[] = {
      {"inextensible, grounded", 500.0, 0.08, 1e30, 25.0, 30.0},
      {"elastic, grounded", 500.0, 0.08, 2e4, 25.0, 30.0},
      {"elastic, lifted off the bottom", 300.0, 0.05, 5e3, 12.0, 22.0},
      {"soft, steep", 200.0, 0.1, 800.0, 6.0, 18.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto els = testing::as_stored({{c.L, c.w, {1.0 / c.EA, 0, 0}}});
    const auto& e = els[0];
    const auto ref = testing::irvine_line(e.L, e.w, 1.0 / e.a[0], c.H, c.V);
    ScriptedSession t;
    auto lc = std::make_unique<Lincom>();
    const LineType lt = testing::line_type_of(els, 1);
    const Solved s = solve(t, *lc, lt, c.H, ref.z, 0.2f, 0.9f);
    expect_rel(s.topt2, c.V / c.H, 1e-4, "top tangent");
    EXPECT_FLOAT_EQ(s.topt1, 0.25f * s.topt2);
    expect_rel(s.botln, ref.grounded, 1e-4, "grounded length");
    expect_rel(s.x, ref.x, 1e-4, "span");
    EXPECT_EQ(t.shown(), "");
  }
}

TEST(Iter8p, TwoElementsAgainstQuadrature) {
  const auto els = testing::as_stored({{250.0, 0.03, {2e-4, -1e-6, 4e-8}}, {400.0, 0.09, {5e-5, 2e-7, 0}}});
  struct Case {
    double H, z;
    int grounding;
  };
  for (const Case& c : {Case{30.0, 150.0, 1}, Case{30.0, 260.0, 1}, Case{60.0, 220.0, 0}}) {
    SCOPED_TRACE(c.z);
    ScriptedSession t;
    auto lc = std::make_unique<Lincom>();
    const LineType lt = testing::line_type_of(els, c.grounding);
    const Solved s = solve(t, *lc, lt, c.H, c.z, 0.1f, 0.5f);
    const double p = testing::quadrature_top_tangent(els, c.H, c.z, c.grounding == 1);
    const auto ref = testing::quadrature_line(els, c.H, p, c.grounding == 1);
    expect_rel(s.topt2, p, 1e-4, "top tangent");
    expect_rel(s.botln, ref.grounded, 1e-4, "grounded length");
    expect_rel(s.x, ref.x, 1e-4, "span");
  }
}

TEST(Iter8p, PublishedPeerCasesWithTheirHorizontalTension) {
  // Two published floating-wind mooring definitions (one line each, kN and
  // m): the horizontal tension that meets the geometry comes from the closed
  // form, and the iteration must reproduce the rest of the state.
  const double g = 9.80665;
  const double d2 = 1.025 * 3.14159265358979 / 4.0 * 0.0766 * 0.0766;
  struct Case {
    const char* name;
    double L, w, EA, x, z;
  };
  const Case cases[] = {
      {"spar, 320 m water", 902.2, 0.698094, 384243.0, 853.87 - 5.2, 320.0 - 70.0},
      {"semisubmersible, 200 m water", 835.5, (0.11335 - d2) * g, 753600.0, 837.6 - 40.868, 200.0 - 14.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto els = testing::as_stored({{c.L, c.w, {1.0 / c.EA, 0, 0}}});
    const auto& e = els[0];
    const double EA = 1.0 / e.a[0];
    const double H = testing::irvine_horizontal_tension(e.L, e.w, EA, c.x, c.z);
    const double V = testing::irvine_vertical_force(e.L, e.w, EA, H, c.z);
    const auto ref = testing::irvine_line(e.L, e.w, EA, H, V);
    ScriptedSession t;
    auto lc = std::make_unique<Lincom>();
    const Solved s = solve(t, *lc, testing::line_type_of(els, 1), H, c.z, 0.1f, 1.0f);
    expect_rel(s.topt2, V / H, 1e-4, "top tangent");
    expect_rel(s.botln, ref.grounded, 1e-4, "grounded length");
    expect_rel(s.x, c.x, 1e-4, "span");
  }
}

TEST(Iter8, BracketsWithoutSignChangeAreWidened) {
  // The root (tangent 0.6) lies above every start bracket: zero and negative
  // upper ends too, which a step of half the upper end never widens.
  const auto els = testing::as_stored({{500.0, 0.08, {5e-5, 0, 0}}});
  const auto e = els[0];
  const auto ref = testing::irvine_line(e.L, e.w, 1.0 / e.a[0], 25.0, 15.0);
  struct Case {
    float b1, b2;
  };
  for (const Case& c : {Case{-0.2f, 0.0f}, Case{-0.5f, -0.3f}, Case{0.0f, 0.0f}, Case{0.05f, 0.1f}}) {
    ScriptedSession t;
    auto lc = std::make_unique<Lincom>();
    const Solved s = solve(t, *lc, testing::line_type_of(els, 1), 25.0, ref.z, c.b1, c.b2);
    expect_rel(s.topt2, 0.6, 1e-4, "top tangent");
  }
}

TEST(Iter8, UnreachableSpanEndsWithTheOverflowMessage) {
  // The inextensible line is 100 long and cannot span 150: no bracket ever
  // holds a root.
  const auto els = testing::as_stored({{100.0, 0.08, {0, 0, 0}}});
  for (const int out : {kScreen, kSilentUnit}) {
    ScriptedSession t("\n");
    t.s.tpcm.i(702) = out;
    auto lc = std::make_unique<Lincom>();
    try {
      solve(t, *lc, testing::line_type_of(els, 1), 25.0, 150.0, 0.2f, 0.9f);
      ADD_FAILURE() << "no stop";
    } catch (const ProgramStop& stop) {
      EXPECT_NE(stop.status(), 0);
    }
    if (out == kScreen) {
      EXPECT_EQ(t.shown(), "\n ++> Iteration overflow in ITER8P:ITER8; line type  3\n     Press <Return> to Continue...\n");
    }
  }
}

TEST(Iter8, BuoySinkageLowersTheTarget) {
  const auto els = testing::as_stored({{500.0, 0.08, {5e-5, 0, 0}}});
  const double H = 25.0, span = 150.0;
  struct Case {
    float density, area;
    bool sinks;
  };
  for (const Case& c : {Case{64.0f, 2.0f, true}, Case{0.0f, 2.0f, false}, Case{64.0f, -1.0f, false}}) {
    ScriptedSession t;
    Tpcm& tp = t.s.tpcm;
    tp.i(702) = kScreen;
    tp.i(kBuoySinkage) = 1;
    tp.i(kSinkageCount) = 3;
    tp.set_r(kWaterDensity, c.density);
    tp.set_r(kWaterplaneArea, c.area);
    auto lc = std::make_unique<Lincom>();
    lc->layer = 2;
    lc->top_tension_table[Lincom::table_index(1, 2, 3)] = 20.0f;
    const Solved s = solve(t, *lc, testing::line_type_of(els, 1), H, span, 0.2f, 0.9f);
    const double want = c.sinks ? span - 3000.0 * (s.topt2 * H - 20.0) / (64.0 * 2.0) : span;
    expect_rel(s.z, want, 1e-4, "height");
    EXPECT_EQ(t.shown().empty(), c.sinks);
    solve(t, *lc, testing::line_type_of(els, 1), H, span, 0.2f, 0.9f);  // said once per run
    EXPECT_EQ(t.shown(), c.sinks ? ""
                                 : " ++> Warning: Buoy sinkage skipped; water density x waterplane area\n"
                                   "     not positive.\n");
  }
}

TEST(Iter8p, BuoyantElementSearch) {
  // A chain, a buoy element (floating in water, heavy in air) and a chain.
  auto els = testing::as_stored({{100.0, 0.06, {1e-4, 0, 0}}, {20.0, -0.5, {0, 0, 0}}, {300.0, 0.06, {1e-4, 0, 0}}});
  const double H = 20.0, span = 120.0;
  struct Case {
    const char* name;
    int option;
    float target;
    double sclwt;  // scaled weight of the buoy afterwards; NaN: found by the search
  };
  const Case cases[] = {
      {"option off", 0, 50.0f, -0.5 / H},
      {"target already reached", 1, 10.0f, -0.5 / H},
      {"target out of reach: weight in air", 1, 500.0f, 0.2 / H},
      {"target reached by the search", 1, 55.0f, NAN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedSession t;
    t.s.tpcm.i(kBuoyantAtWaterline) = c.option;
    auto lc = std::make_unique<Lincom>();
    lc->buoy_target = c.target;
    LineType lt = testing::line_type_of(els, 1);
    lt.dry_weight[1] = 0.2f;
    const Solved s = solve(t, *lc, lt, H, span, 0.2f, 0.9f);
    const double w = lc->sclwt[1];
    if (std::isnan(c.sclwt)) {
      EXPECT_GT(w, -0.5 / H);
      EXPECT_LT(w, 0.2 / H);
      // The middle of the buoy sits at the target.
      const double top = zdist(lc->sclwt, lc->secarr, lc->scaled_coef, 1, lt.length, lc->tmptan);
      const double middle = top + 0.5 * (zfcn(lc->secarr[1], 2, lc->scaled_coef) -
                                         zfcn(lc->secarr[2], 2, lc->scaled_coef)) / w;
      EXPECT_NEAR(middle, c.target, 0.01);
    } else {
      EXPECT_FLOAT_EQ(static_cast<float>(w), static_cast<float>(c.sclwt));
    }
    EXPECT_NEAR(s.z, span, 0.02);  // the line solved with the weight it ends with
    EXPECT_EQ(lc->ielem, c.option ? 2 : 0);
  }
}

TEST(Hterr, NoElementGroundsAboveABuoyantOne) {
  // A long chain that would reach the bottom, followed by a float.
  const auto els = testing::as_stored({{400.0, 0.1, {0, 0, 0}}, {10.0, -0.2, {0, 0, 0}}});
  auto lc = std::make_unique<Lincom>();
  const LineType lt = testing::line_type_of(els, 1);
  testing::set_tension(*lc, lt, 10.0, 50.0);
  hterr(*lc, lt, HeightTarget{50.0}, 1.0f);
  EXPECT_EQ(lc->botln, 0.0);
  EXPECT_NEAR(lc->tmptan[1], 1.0 - 400.0 * 0.01, 1e-6);  // carried on below the bottom slope
  // Without the float the chain lies down from tangent 0 on.
  const LineType chain = testing::line_type_of({els[0]}, 1);
  testing::set_tension(*lc, chain, 10.0, 50.0);
  hterr(*lc, chain, HeightTarget{50.0}, 1.0f);
  EXPECT_NEAR(lc->botln, 300.0, 1e-4);
  EXPECT_EQ(lc->tmptan[1], 0.0);
}

}  // namespace
}  // namespace kelp
