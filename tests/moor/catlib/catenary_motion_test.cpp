#include "moor/catlib/catenary_motion.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <memory>

#include "moor/line_fixture.hpp"
#include "moor/s/line_trace.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::Element;
using Complex = std::complex<float>;

constexpr double kH = 50.0;

// One element (linear strain law) of a line at horizontal tension kH, as the
// record stores it: weight w (negative: buoyant), stiffness 1/a1.
struct OneElement {
  testing::ScriptedSession t;
  std::unique_ptr<Lincom> lc = std::make_unique<Lincom>();
  std::unique_ptr<Catcom> cc = std::make_unique<Catcom>();
  Element e;
  LineType lt;

  explicit OneElement(double w = 0.08, double L = 400.0) {
    e = testing::as_stored({{L, w, {1.0 / 2e4, 0, 0}}})[0];
    lt = testing::line_type_of({e}, 1);
    testing::set_tension_step(*lc, lt, kH);
  }
  double tx() const { return kH / e.w; }
  double ea() const { return 1.0 / e.a[0]; }
  ElementState mean(int botflg) const { return {lc->scaled_coef, lc->sclwt[0], lt.length[0], 0.0, 1, botflg}; }
};

// Spans from the point of tangent qb to the point of tangent q of the
// suspended element, by the closed form.
testing::LineState spans(const OneElement& f, double q, double qb) {
  return testing::irvine_suspended(f.tx() * (q - qb), f.e.w, f.ea(), kH, kH * qb);
}

// Derivatives of those spans, worked out from the closed form
// x = (H^2 / (w EA)) (q - qb) + (H / w) (asinh q - asinh qb) and
// z = (H^2 / (2 w EA)) (q^2 - qb^2) + (H / w) (sqrt(1 + q^2) - sqrt(1 + qb^2)):
// for a shift of both tangents, and for a change of T = H/w that keeps the
// arc length from the upper end (tangent qf) of each point.
struct Derivatives {
  double dxdp, dzdp, dxdt, dzdt;
};
Derivatives closed_form_derivatives(const OneElement& f, double q, double qb, double qf) {
  const double T = f.tx(), w = f.e.w, ea = f.ea();
  const double sq = std::sqrt(1 + q * q), sb = std::sqrt(1 + qb * qb);
  return {T * (1 / sq - 1 / sb), w * T * T / ea * (q - qb) + T * (q / sq - qb / sb),
          w * T / ea * (q - qb) + std::asinh(q) - std::asinh(qb) + (qf - q) / sq - (qf - qb) / sb,
          w * T / ea * qf * (q - qb) + sq - sb + q * (qf - q) / sq - qb * (qf - qb) / sb};
}

TEST(Pntsep, SeparationAgainstTheClosedForm) {
  OneElement f;
  const LineTrace trace(f.t.s);
  const double qf = 0.8;
  const double Ls = f.tx() * qf;                  // suspended length above the touchdown
  const double ground = (f.e.L - Ls) * (1 + kH / f.ea());  // stretched length on the bottom
  struct Case {
    const char* name;
    double qp, qb;
    int botflg;
    double x, z;
  };
  const Case cases[] = {
      {"lower end", 0.3, 0.3, 0, 0.0, 0.0},
      {"suspended point", 0.6, 0.3, 0, spans(f, 0.6, 0.3).x, spans(f, 0.6, 0.3).z},
      {"grounded element, upper end", qf, 0.0, 1, spans(f, qf, 0.0).x + ground, spans(f, qf, 0.0).z},
      {"grounded element, touchdown", 0.0, 0.0, 1, ground, 0.0},
      {"grounded element, between", 0.4, 0.0, 1, spans(f, 0.4, 0.0).x + ground, spans(f, 0.4, 0.0).z},
  };
  for (const Case& c : cases) {
    const Separation sep = pntsep(trace, c.qp, c.qb, qf, f.tx(), f.mean(c.botflg));
    EXPECT_NEAR(sep.dx, c.x, 1e-9 * f.e.L) << c.name;
    EXPECT_NEAR(sep.dz, c.z, 1e-9 * f.e.L) << c.name;
  }
}

TEST(Catmot, FiniteDifferencesAgainstClosedFormDerivatives) {
  OneElement f;
  struct Case {
    float qp;
    double qb, qf;
    double tension_tolerance;
  };
  // The tangent step is small (0.001 at tangent 0); the tension step is a
  // forward difference over 1/128 of H, good to 1 % where the spans bend
  // little with the tension and to a few per cent elsewhere.
  for (const Case& c : {Case{0.5f, 0.2, 0.9, 0.01}, Case{0.9f, 0.2, 0.9, 0.01}, Case{0.0f, -0.2, 0.5, 0.03},
                        Case{1.7f, 1.2, 2.5, 0.015}}) {
    SCOPED_TRACE(c.qp);
    const PointMotion m = catmot(f.t.s, *f.lc, *f.cc, f.lt, c.qp, c.qb, c.qf, 1, 0);
    const Derivatives d = closed_form_derivatives(f, c.qp, c.qb, c.qf);
    EXPECT_NEAR(m.dxdp, d.dxdp, 0.01 * std::fabs(d.dxdp));
    EXPECT_NEAR(m.dzdp, d.dzdp, 0.01 * std::fabs(d.dzdp));
    EXPECT_NEAR(m.dxdt, d.dxdt, c.tension_tolerance * std::fabs(d.dxdt));
    EXPECT_NEAR(m.dzdt, d.dzdt, c.tension_tolerance * std::fabs(d.dzdt));
    EXPECT_FLOAT_EQ(m.cos_phi, 1.0f / std::sqrt(1.0f + c.qp * c.qp));
    if (c.qp == 0.0f) {
      const double secant = (spans(f, 0.001, c.qb + 0.001).x - spans(f, 0.0, c.qb).x) / 0.001;
      EXPECT_NEAR(m.dxdp, secant, 1e-4 * std::fabs(secant));
    }
  }
}

// Runs catdmp on the element of f between tangents qbot and qtop.
DampingOutput integrate(OneElement& f, double qtop, double qbot, Complex dx, Complex dz, Complex dxb, Complex dzb,
                        int botflg = 0) {
  const DampingInput in{
      .tx = f.tx(), .dqtop = qtop, .dqbot = qbot, .dx = dx, .dz = dz, .dxb = dxb, .dzb = dzb, .botflg = botflg};
  DampingOutput r;
  catdmp(f.t.s, *f.lc, *f.cc, f.lt, in, r);
  return r;
}

TEST(Catdmp, TranslationAgainstClosedForm) {
  // With no relative motion a point moves with the lower node: across the
  // line by cos phi Zb - sin phi Xb. Integrals over s = T q worked by hand:
  // the integral of cos^3 phi dq is q / sqrt(1 + q^2), that of sin^3 phi dq
  // is sqrt(1 + q^2) + 1 / sqrt(1 + q^2).
  const auto cos3 = [](double q) { return q / std::sqrt(1 + q * q); };
  const auto sin3 = [](double q) { return std::sqrt(1 + q * q) + 1 / std::sqrt(1 + q * q); };
  struct Case {
    const char* name;
    double w, qtop, qbot;
    Complex xb, zb;
    double disipd;  // per T, 0: not checked
  };
  const Case cases[] = {
      {"vertical", 0.08, 0.9, 0.3, {}, {1.0f, 0.0f}, 4.0 / 3.0 * (cos3(0.9) - cos3(0.3))},
      {"horizontal", 0.08, 0.9, 0.3, {0.0f, 1.0f}, {}, 4.0 / 3.0 * (sin3(0.9) - sin3(0.3))},
      {"both, out of phase", 0.08, 1.4, 0.5, {0.3f, -0.4f}, {1.2f, 0.7f}, 0.0},
      {"buoyant element", -0.05, 0.2, 0.6, {0.5f, 0.1f}, {-0.2f, 0.9f}, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OneElement f(c.w);
    const DampingOutput r = integrate(f, c.qtop, c.qbot, {}, {}, c.xb, c.zb);
    const double T = f.tx();
    const double translation = std::norm(c.xb) + std::norm(c.zb);
    EXPECT_NEAR(r.keelmt + r.keelml, T * (c.qtop - c.qbot) * translation, 1e-5 * std::fabs(T) * translation);
    if (c.disipd != 0.0) {
      EXPECT_NEAR(r.disipd, T * c.disipd, 0.01 * T * c.disipd);
    }
    EXPECT_GE(r.adamaxq, r.adatopq);
    EXPECT_EQ(r.ctxacc, Complex());
    EXPECT_EQ(r.disoop, 0.0f);
    EXPECT_EQ(r.keoop, 0.0f);
  }
}

TEST(Catdmp, UpperNodeMovesWithItsOwnMotion) {
  OneElement f;
  const double qtop = 1.1, qbot = 0.4;
  const Complex dx{0.4f, 0.2f}, dz{-0.3f, 0.5f}, dxb{0.1f, -0.6f}, dzb{0.7f, 0.1f};
  const DampingOutput r = integrate(f, qtop, qbot, dx, dz, dxb, dzb);
  const float c = 1.0f / std::sqrt(1.0f + 1.1f * 1.1f), s = 1.1f * c;
  EXPECT_NEAR(r.adatopq, std::abs(c * (dz + dzb) - s * (dx + dxb)), 1e-4f);
  EXPECT_NEAR(r.lontopq, std::abs(c * (dx + dxb) + s * (dz + dzb)), 1e-4f);
  EXPECT_GE(r.adamaxq, r.adatopq);
  EXPECT_NE(f.cc->span_determinant, 0.0);
  // No motion at all: nothing to integrate.
  const DampingOutput still = integrate(f, qtop, qbot, {}, {}, {}, {});
  EXPECT_EQ(still.disipd + still.keelmt + still.keelml + still.adamaxq, 0.0f);
}

TEST(Catdmp, ElementsWithoutCatenaryPointsGiveZerosAndLeaveTheWorkAreaAlone) {
  struct Case {
    const char* name;
    int touchdown;
    double qtop;
    bool weightless;
  };
  const Case cases[] = {
      {"on the bottom", 1, 0.0, false},
      {"beyond the touchdown element, below the bottom slope", 1, -0.1, false},
      {"weightless", 0, 0.5, true},
  };
  for (const Case& c : cases) {
    OneElement f;
    f.lc->touchdown_element = c.touchdown;
    f.cc->dxfdp = 7.0;
    f.cc->span_determinant = 3.0;
    DampingInput in;
    in.tx = c.weightless ? std::numeric_limits<double>::infinity() : f.tx();
    in.dqtop = c.qtop;
    in.dqbot = 0.0;
    in.dxb = in.dzb = Complex(1.0f, 1.0f);
    in.botflg = c.touchdown;
    DampingOutput r;
    r.keelmt = 5.0f;
    catdmp(f.t.s, *f.lc, *f.cc, f.lt, in, r);
    EXPECT_EQ(r.keelmt + r.keelml + r.disipd + r.adamaxq + r.adatopq + r.lontopq, 0.0f) << c.name;
    EXPECT_EQ(f.cc->dxfdp, 7.0) << c.name;
    EXPECT_EQ(f.cc->span_determinant, 3.0) << c.name;
  }
}

}  // namespace
}  // namespace kelp
