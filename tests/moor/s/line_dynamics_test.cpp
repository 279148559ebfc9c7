#include "moor/s/line_dynamics.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>

#include "kelpkit/work_areas.hpp"
#include "moor/mooring_fixture.hpp"

namespace kelp {
namespace {

using Complex = std::complex<float>;
using testing::Element;

constexpr double kDepth = testing::kWaterDepth;
constexpr double kH = 120.0;  // the line hangs clear of the bottom
const Element kChain{testing::kLineLength, testing::kLineWeight, {1.0 / testing::kLineEA, 0, 0}};
const Element kInextensible{testing::kLineLength, testing::kLineWeight, {0, 0, 0}};

// A mooring whose line 1 is in its static state at horizontal tension kH,
// ready for the dynamic model in a metric record.
struct Dynamic : testing::Mooring {
  DynamicLineInput in;

  explicit Dynamic(int kind = 15, const std::vector<Element>& elements = {kChain}, int columns = 1,
                   std::string replies = "")
      : Mooring(kind, columns, elements) {
    t.in.str(std::move(replies));
    ranges[0] = static_cast<float>(range_at(kH));
    run();
    wavcom(t.s).g = 9.81f;
    t.s.tpcm.set_r(kWaterDensity, 1.025f);
    t.s.tpcm.i(kUnitSystem) = 1;
    for (int i = 1; i <= static_cast<int>(els.size()); ++i) set_hydrodynamics(i, 0.0f, 0.0f, 0.0f);
    in.line = 1;
    in.range = ranges[0];
    in.diameter_unit = 0.001f;
    in.omega = 0.5f;
    cc->top_motion = {0.5f, 0.2f};
  }
  double range_at(double H, double z = kDepth) const {
    return testing::range_at(H, z, length(), els[0].w, ea());
  }
  double tension_at(double x, double z = kDepth) const { return testing::tension_at(x, z, length(), els[0].w, ea()); }
  DynamicLineOutput eval() {
    DynamicLineOutput r;
    dyncod(t.s, *lc, *cc, in, r);
    return r;
  }
  // Drag on every element: a rope of 80 mm with the given drag coefficient.
  void drag(float cd) {
    for (int i = 1; i <= static_cast<int>(els.size()); ++i) set_hydrodynamics(i, 80.0f, cd, 1.0f);
  }
};

TEST(Dyncod, InextensibleLineFollowsItsStaticStiffness) {
  // No elasticity and no drag: the top tension is the line's axial
  // stiffness times the motion at any frequency, and that stiffness is the
  // closed-form catenary's: dT/da along the line at the top.
  for (const float omega : {0.05f, 0.5f, 3.0f}) {
    SCOPED_TRACE(omega);
    Dynamic d(15, {kInextensible});
    d.in.omega = omega;
    const DynamicLineOutput r = d.eval();
    const float rate = d.cc->top_axial_rate[0];
    const Complex e = d.cc->top_motion;
    EXPECT_EQ(r.status, 1);
    EXPECT_NEAR(std::abs(r.top_tension - rate * e), 0.0f, 1e-5f * rate * std::abs(e));
    EXPECT_EQ(r.top_tension_neg, -r.top_tension);
    const double x = d.ranges[0], dz = 0.01;
    const double H = d.lc->hmean;
    const double V = testing::irvine_vertical_force(d.length(), d.els[0].w, d.ea(), H, kDepth);
    const double dt_dx = (d.tension_at(x + dz) - d.tension_at(x - dz)) / (2 * dz);
    const double dt_dz = (d.tension_at(x, kDepth + dz) - d.tension_at(x, kDepth - dz)) / (2 * dz);
    const double axial = (V * dt_dz + H * dt_dx) / std::hypot(H, V);
    EXPECT_NEAR(rate, axial, 0.02 * axial);
  }
}

TEST(Dyncod, EqualEndMotionsMakeNoTension) {
  Dynamic d;
  d.drag(1.2f);
  d.t.s.tpcm.i(kInertiaCorrection) = 1;
  d.cc->bottom_motion = d.cc->top_motion;
  const DynamicLineOutput r = d.eval();
  for (const Complex v : {r.top_tension, r.bottom_tension, r.top_tension_neg, r.bottom_tension_neg, r.catenary}) {
    EXPECT_EQ(v, Complex());
  }
  EXPECT_EQ(r.static_top, 0.0f);
}

TEST(Dyncod, QuasiStaticTensionsFromTheTables) {
  // The top moved along the line by |e| moves the range by |e| / cos of the
  // top angle: the tension change of the closed-form line.
  Dynamic d;
  d.t.s.tpcm.i(kQuasiStaticTension) = 1;
  DynamicLineOutput r = d.eval();
  const double x = d.ranges[0];
  const double expected = d.tension_at(x + std::abs(d.cc->top_motion) / d.lc->fxcomp) - d.tension_at(x);
  EXPECT_NEAR(r.static_top, expected, 0.01 * expected);
  for (const Complex v : {r.top_tension, r.bottom_tension, r.top_tension_neg, r.bottom_tension_neg}) {
    EXPECT_EQ(v.imag(), 0.0f);
  }
  EXPECT_EQ(r.top_tension.real(), r.static_top);
  EXPECT_EQ(r.bottom_tension_neg.real(), -r.static_top);
  // A vertical top has no range change.
  d.cc->mean_tangent[Catcom::node_index(1, 1)] = 1e30f;
  r = d.eval();
  EXPECT_EQ(r.static_top, 0.0f);
  EXPECT_EQ(r.top_tension, Complex());
}

TEST(Dyncod, NodeOutputsOnlyOnRequest) {
  Dynamic d(15, {kChain, kChain});
  d.drag(1.2f);
  DynamicLineOutput r;
  const Complex mark{-9.0f, 9.0f};
  for (NodeAmplitudes* a : {&r.node_tension, &r.node_tension_neg, &r.node_longitudinal, &r.node_transverse}) {
    a->fill(mark);
  }
  dyncod(d.t.s, *d.lc, *d.cc, d.in, r);
  for (const NodeAmplitudes* a : {&r.node_tension, &r.node_tension_neg, &r.node_longitudinal, &r.node_transverse}) {
    for (const Complex v : *a) EXPECT_EQ(v, mark);
  }
  d.in.node_output = true;
  dyncod(d.t.s, *d.lc, *d.cc, d.in, r);
  EXPECT_EQ(r.node_tension[0], r.top_tension);
  EXPECT_EQ(r.node_tension[2], r.bottom_tension);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(r.node_tension_neg[k], -r.node_tension[k]);
  EXPECT_EQ(r.node_longitudinal[2], Complex());
  // The top node moves with the top, along the line by the whole motion.
  EXPECT_NEAR(std::abs(r.node_longitudinal[0]), std::abs(d.cc->top_motion), 0.01f);
}

TEST(Dyncod, WeightlessElementAddsNoDampingOrInertia) {
  const Element rope{100.0, 0.0, {1.0 / testing::kLineEA, 0, 0}};
  const Element chain{200.0, testing::kLineWeight, {1.0 / testing::kLineEA, 0, 0}};
  Dynamic d(15, {chain, rope, chain});
  d.drag(1.2f);
  d.t.s.tpcm.i(kInertiaCorrection) = 1;
  d.in.node_output = true;
  const DynamicLineOutput r = d.eval();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.node_longitudinal[1], Complex());
  EXPECT_EQ(r.node_transverse[1], Complex());
  for (const Complex v : {r.top_tension, r.bottom_tension, r.node_tension[1], r.node_tension[2]}) {
    EXPECT_TRUE(std::isfinite(v.real()) && std::isfinite(v.imag())) << v;
  }
  EXPECT_NE(r.top_tension, Complex());
}

TEST(Dyncod, InertiaWarningOncePerRun) {
  // A fast motion of a heavy line with little drag: the inertia load is
  // many times the tension.
  const std::string line_warning =
      "\n ++> The inertial load correction for line  1, and probably others,\n"
      "     may be excessive; consider disabling the inertial\n"
      "     correction for these lines.\n";
  const auto fast = [](std::string replies) {
    auto d = std::make_unique<Dynamic>(15, std::vector<Element>{kInextensible}, 1, std::move(replies));
    d->drag(0.001f);
    d->t.s.tpcm.i(kInertiaCorrection) = 1;
    d->in.omega = 10.0f;
    d->in.warnings = true;
    return d;
  };
  auto d = fast("\n");
  const DynamicLineOutput r = d->eval();
  const Complex top = d->cc->top_motion;
  // The correction opposes the motion.
  EXPECT_NEAR(std::arg(r.top_tension - d->cc->top_axial_rate[0] * top), std::arg(-top), 1e-3f);
  d->eval();
  const std::string shown = d->t.shown();
  EXPECT_EQ(shown.find(line_warning), 0u);
  EXPECT_EQ(shown.find("inertial load", line_warning.size()), std::string::npos);
  EXPECT_THROW(fast("A\n")->eval(), ProgramStop);

  // A still fairlead: the nodes below it warn instead.
  auto nodes = fast("\n");
  nodes->cc->bottom_motion = nodes->cc->top_motion;
  nodes->cc->top_motion = {};
  nodes->in.node_output = true;
  nodes->eval();
  EXPECT_EQ(nodes->t.shown().find("\n ++> The inertial load correction for node  1 of line  1, and probably others,"
                                  " may be excessive;\n     consider disabling the inertial corrections for these lines.\n"),
            0u);
  auto quiet = fast("");
  quiet->in.warnings = false;
  quiet->eval();
  EXPECT_EQ(quiet->t.shown(), "");
}

TEST(Dyncod, ObliqueModelFollowsTheTables) {
  // The quadratic law meets the tables at plus and minus the motion: the
  // static tension changes are those of the closed-form line with its top
  // moved by |e| along the line.
  Dynamic d(15, {kChain}, 3, "\n\n\n");
  d.t.s.tpcm.i(kLargeAmplitude) = 1;
  const DynamicLineOutput r = d.eval();
  EXPECT_EQ(r.status, 1);
  const double x = d.ranges[0], a = std::abs(d.cc->top_motion);
  const double t0 = d.tension_at(x);
  for (const double sign : {1.0, -1.0}) {
    const double change = d.tension_at(x + sign * a * d.lc->fxcomp, kDepth + sign * a * d.lc->fzcomp) - t0;
    EXPECT_NEAR(sign > 0 ? r.static_top : r.static_bottom, change, 0.03 * std::fabs(change)) << sign;
  }
  EXPECT_GT(std::abs(r.top_tension), 0.0f);
  EXPECT_GT(std::abs(r.top_tension_neg), 0.0f);
}

TEST(Dyncod, CatenaryMassOnlyForKinds14And17UntilSwitchedOff) {
  // The line's catenary mass changes the tension of a fast inextensible
  // line (tension (K - omega^2 m) e). Word 150 at 1 takes it off, and once it was
  // off it stays off for the run.
  const auto top = [](Dynamic& d, int word150) {
    d.t.s.tpcm.i(kAddedMassModel) = word150;
    return std::abs(d.eval().top_tension);
  };
  Dynamic d(17, {kInextensible});
  d.drag(1.2f);
  d.in.omega = 2.0f;
  const float with_mass = top(d, 0);
  const float without = top(d, 1);
  EXPECT_GT(std::fabs(with_mass - without), 0.1f * without);
  EXPECT_EQ(top(d, 0), without);
}

TEST(Dyncod, LinesWithoutAStateAreSkipped) {
  struct Case {
    int line, type;
    const char* message;
  };
  const Case cases[] = {
      {2, 3, " ++> Line   2 skipped in DYNCOD: it has no static state.\n"},
      {151, 3, " ++> Line 151 skipped in DYNCOD: its number is not 1 to 150.\n"},
      {1, 0, " ++> Line   1 skipped in DYNCOD: its line type 0 is not 1 to 150.\n"},
      {1, 9, " ++> Line   1 skipped in DYNCOD: line type 9 has no elements.\n"},
  };
  for (const Case& c : cases) {
    Dynamic d;
    d.in.line = c.line;
    d.lc->ityp = c.type;
    EXPECT_EQ(d.eval().status, 0);
    EXPECT_EQ(d.t.shown(), c.message);
  }
}

}  // namespace
}  // namespace kelp
