#include "moor/morlib/load_tables.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "edlib/record/data_record.hpp"
#include "moor/catlib/catenary.hpp"
#include "moor/line_fixture.hpp"
#include "moor/morlib/splines.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::Element;
using testing::ScriptedSession;

constexpr int kType = 3;
constexpr double kL = 500.0, kW = 0.08, kEA = 2e4, kDepth = 100.0;

// A record and work area with type 3 (one element) and closed-form load
// tables at the given spans, one layer column each.
struct Tables {
  ScriptedSession t{"\n"};
  std::unique_ptr<Lincom> lc = std::make_unique<Lincom>();
  std::vector<float> anchor = std::vector<float>(kLineTypeCapacity, static_cast<float>(kDepth));
  std::vector<float> y2 = std::vector<float>(kLoadTableSize);
  std::vector<float> layers;
  const std::vector<Element> els = testing::as_stored({{kL, kW, {1.0 / kEA, 0, 0}}});

  explicit Tables(const std::vector<double>& spans) {
    Tpcm& tp = t.s.tpcm;
    tp.i(kOutputUnit) = kScreen;
    tp.i(kInterpTableSize) = kTablePoints;
    tp.set_r(kMaxTableLoad, 100.0f);
    testing::store_line_type(tp, testing::line_type_of(els, 1, kType));
    testing::set_tension_points(*lc, 5.0, 2.0);
    const Element& e = els[0];
    for (std::size_t k = 0; k < spans.size(); ++k) {
      testing::fill_closed_form_column(*lc, kType, static_cast<int>(k + 1), e.L, e.w, 1.0 / e.a[0], spans[k],
                                       kTablePoints);
      layers.push_back(static_cast<float>(k + 1));
    }
    const std::size_t block = Lincom::table_index(1, 1, kType);
    splie2(lc->tension_points, layers, std::span<const float>(lc->top_tension_table).subspan(block), kTablePoints,
           static_cast<int>(layers.size()), std::span<float>(y2).subspan(block));
  }

  LoadupOutput look(float x, float z, int nlayers) {
    LoadupInput in;
    in.x = x;
    in.z = z;
    in.t = kType;
    in.layers = nlayers;
    in.spacing = 10.0f;
    in.first_layer = nlayers > 1 ? 2 : 1;
    in.grid_span = 10.0f * static_cast<float>(nlayers - 1);
    LoadupOutput r;
    loadup(t.s, in, loadup_tables(*lc, anchor, y2, layers), r, kScreen, kKeyboard);
    return r;
  }
};

TEST(Loadup, StateOfALineFromClosedFormTables) {
  struct Case {
    const char* name;
    std::vector<double> spans;
    float z;
    double H;
  };
  const Case cases[] = {
      {"one layer", {kDepth}, 0.0f, 20.3},
      {"three layers, between the upper two", {kDepth - 10, kDepth, kDepth + 10}, 3.0f, 31.7},
      {"three layers, between the lower two", {kDepth - 10, kDepth, kDepth + 10}, -6.0f, 12.2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tables tab(c.spans);
    const double z = kDepth + c.z;
    const double V = testing::irvine_vertical_force(kL, kW, kEA, c.H, z);
    const auto ref = testing::irvine_line(kL, kW, kEA, c.H, V);
    const LoadupOutput r = tab.look(static_cast<float>(ref.x), c.z, static_cast<int>(c.spans.size()));
    // Tables 2 apart in H and 10 apart in height: linear interpolation
    // between them is good to about 1 %.
    EXPECT_NEAR(r.H, c.H, 1e-2 * c.H);
    EXPECT_NEAR(r.top_tension, std::hypot(c.H, V), 1e-2 * c.H);
    EXPECT_NEAR(r.top_angle, std::atan(V / c.H), 2e-3);
    EXPECT_NEAR(r.vertical_force, -V, 1e-2 * V);
    EXPECT_NEAR(r.bottom_length, ref.grounded, 1.0);
    EXPECT_FLOAT_EQ(r.depth, static_cast<float>(z));
    EXPECT_EQ(tab.t.shown(), "");
  }
}

TEST(Loadup, LiftOffIntervalTakesItsNeighbours) {
  // The line leaves the bottom between two table points: the grounded
  // length is extended from the interval before, never below 0.
  Tables tab({kDepth});
  const Lincom& lc = *tab.lc;
  int j = 1;
  while (j < kTablePoints - 1 && lc.bottom_length_table[Lincom::table_index(j + 1, 1, kType)] > 0.0f) ++j;
  ASSERT_LT(j, kTablePoints - 1);
  const float x0 = lc.range_table[Lincom::table_index(j, 1, kType)];
  const float x1 = lc.range_table[Lincom::table_index(j + 1, 1, kType)];
  for (const float frac : {0.1f, 0.5f, 0.9f}) {
    const float x = x0 + frac * (x1 - x0);
    const LoadupOutput r = tab.look(x, 0.0f, 1);
    const double H = lc.tension_points[static_cast<std::size_t>(j - 1)] + 2.0 * frac;
    const auto ref = testing::irvine_line(kL, kW, kEA, H, testing::irvine_vertical_force(kL, kW, kEA, H, kDepth));
    EXPECT_EQ(r.interval, j);
    EXPECT_GE(r.bottom_length, 0.0f);
    EXPECT_NEAR(r.bottom_length, ref.grounded, 0.5);
    EXPECT_GE(r.bottom_angle, 0.0f);
  }
}

TEST(Loadup, NoHorizontalTensionHangsTheLine) {
  Tables tab({kDepth});
  const float below = tab.lc->range_table[Lincom::table_index(1, 1, kType)] - 50.0f;
  const LoadupOutput r = tab.look(below, 0.0f, 1);
  const Element& e = tab.els[0];
  const double s = testing::bisect([&](double v) { return v + e.a[0] * e.w * v * v / 2.0; }, kDepth, 0.0, kL);
  EXPECT_EQ(r.H, 0.0f);
  EXPECT_NEAR(r.top_tension, e.w * s, 1e-5);
  EXPECT_EQ(r.vertical_force, -r.top_tension);
  EXPECT_EQ(r.top_angle, 1.5707964f);
  EXPECT_NEAR(r.bottom_length, e.L - s, 1e-3);
}

// Type 3 in a record with a stress-strain curve for its element, strain
// 1e-4 T + 2e-7 T^2 at 29 tensions from 0 to 140.
struct CurveLine {
  Tables tab{{kDepth}};
  LineType lt;
  CurveLine(std::int32_t bits, float top) {
    Lincom& lc = *tab.lc;
    lt = read_line_type(tab.t.s.tpcm, kType);
    lt.strain_law_bits = bits;
    lc.curve_points[static_cast<std::size_t>(kSublineCapacity * (kType - 1))] = 29;
    const std::size_t at = Lincom::curve_index(1, kType);
    for (int p = 0; p < 29; ++p) {
      const float T = top * static_cast<float>(p) / 28.0f;
      lc.curve_tension[at + static_cast<std::size_t>(p)] = T;
      lc.curve_strain[at + static_cast<std::size_t>(p)] = 1e-4f * T + 2e-7f * T * T;
    }
    spline(std::span<const float>(lc.curve_tension).subspan(at), std::span<const float>(lc.curve_strain).subspan(at),
           29, kNaturalEnd, kNaturalEnd, std::span<float>(lc.curve_y2).subspan(at));
    for (int j = 1; j <= kTablePoints; ++j) lc.topt_start[Lincom::table_index(j, 1, 1)] = 1.0f - 0.005f * j;
    lc.span = static_cast<float>(kDepth);
    lc.ityp = kType;
    lc.dphld = 20.0;
  }
  double height() const {
    const Lincom& lc = *tab.lc;
    return zdist(lc.sclwt, lc.secarr, lc.scaled_coef, 1, lt.length, lc.tmptan);
  }
};

TEST(LoadAlphas, RefitsSwitchedElementsAtTheirTension) {
  CurveLine line(1, 140.0f);
  load_alphas(line.tab.t.s, *line.tab.lc, line.lt, 20.0, 1);
  const double T = line.tab.lc->secarr[0] * 20.0;
  const Tpcm& tp = line.tab.t.s.tpcm;
  const double a1 = tp.r(*compliance_word(1, kType, 1)), a2 = tp.r(*compliance_word(1, kType, 2)),
               a3 = tp.r(*compliance_word(1, kType, 3));
  EXPECT_NEAR(a1 * T + a2 * T * T + a3 * T * T * T, 1e-4 * T + 2e-7 * T * T, 1e-6);
  EXPECT_EQ(line.lt.alpha[0], tp.r(*compliance_word(1, kType, 1)));
  EXPECT_NEAR(line.height(), kDepth, 0.02);
  EXPECT_EQ(line.tab.t.shown(), "");
  // Without a switched element the coefficients stay and the line is solved.
  CurveLine plain(0, 140.0f);
  load_alphas(plain.tab.t.s, *plain.tab.lc, plain.lt, 20.0, 1);
  EXPECT_FLOAT_EQ(plain.lt.alpha[0], static_cast<float>(1.0 / kEA));
  EXPECT_NEAR(plain.height(), kDepth, 0.02);
}

TEST(LoadAlphas, TensionOutsideTheCurveStops) {
  CurveLine line(1, 10.0f);  // the curve ends far below the line's tension
  EXPECT_THROW(load_alphas(line.tab.t.s, *line.tab.lc, line.lt, 20.0, 1), ProgramStop);
  EXPECT_EQ(line.tab.t.shown(),
            "\n ++> MIN2 evaluation produced a nonzero IER in LOAD_ALPHAS.\n     (ITYP,IELEM) = (  3, 1).\n\n"
            " \n Press <RETURN> to continue: ");
}

TEST(Varupd, OffsetAxisAndAngle) {
  MotionParts p = varupd({1, 2, 3, 0, 0, 0}, 7.0f);
  EXPECT_EQ(p.offset, (std::array<float, 2>{1, 2}));
  EXPECT_EQ(p.heave, 3.0f);
  EXPECT_EQ(p.d, 7.0f);
  EXPECT_EQ(p.axis, (Vec3{1, 0, 0}));
  EXPECT_EQ(p.angle, 0.0f);
  EXPECT_EQ(p.one, 1.0f);
  p = varupd({0, 0, 0, 0.03f, 0, -0.04f}, 0.0f);
  EXPECT_FLOAT_EQ(p.axis[0], 0.6f);
  EXPECT_FLOAT_EQ(p.axis[2], -0.8f);
  EXPECT_FLOAT_EQ(p.angle, 57.295776f * 0.05f);
}

}  // namespace
}  // namespace kelp
