#include "moor/morlib/line_helpers.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kelpkit/root_finders.hpp"

namespace kelp {
namespace {

// Composite Simpson rule of g over [0, b] with n (even) intervals.
template <class G>
double simpson(const G& g, double b, int n = 2000) {
  const double h = b / n;
  double sum = g(0.0) + g(b);
  for (int i = 1; i < n; ++i) sum += (i % 2 ? 4.0 : 2.0) * g(i * h);
  return sum * h / 3.0;
}

TEST(ComplianceHelpers, StretchFactorAndVerticalLengthAgainstHandAndQuadrature) {
  struct Case {
    Compliance a;
    double t, w, factor;
  };
  const Case cases[] = {
      {{0, 0, 0}, 3.5, 2.0, 1.0},
      {{0.01, 0.001, 0.0001}, 2.0, 0.5, 1.0248},
      {{0.02, 0, 0}, 10.0, 1.5, 1.2},
      {{0, 0.003, 0}, 4.0, 0.2, 1.048},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    for (const double t : {c.t, -c.t}) {  // even in the tension
      EXPECT_NEAR(sfcdp2(c.a, t), c.factor, 1e-12);
      const double quad = simpson([&](double u) { return sfcdp2(c.a, u); }, c.t) / c.w;
      EXPECT_NEAR(sfncdp(c.a, t, c.w), quad, 1e-10 * quad);
    }
  }
  EXPECT_DOUBLE_EQ(sfncdp({0, 0, 0}, -6.0, 3.0), 2.0);  // |t| / w
}

TEST(ComplianceHelpers, TensionSummedUpTheElements) {
  const std::vector<double> L{10, 20, 30};
  const std::vector<double> w{1, 0.5, -0.25};
  struct Case {
    int i1, i2;
    double t0, expected;
  };
  const Case cases[] = {
      {1, 3, 5.0, 5.0 + 10 + 10 - 7.5},
      {2, 3, 0.0, 2.5},
      {3, 3, 1.0, -6.5},
      {3, 2, 4.25, 4.25},  // i1 > i2: nothing added
      {1, 9, 0.0, 12.5},   // positions beyond the arrays are not read
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(dtkltn(L, w, c.i1, c.i2, c.t0), c.expected) << c.i1 << "," << c.i2;
}

struct Search {
  double x = 0, f = 0;
  int ier = -9, iter = -7, calls = 0;
};

template <class F>
Search search(const F& fn, double xl, double xr, double eps, int iend) {
  Search r;
  rtmidp(
      r.x, r.f, [&](double v) { ++r.calls; return fn(v); }, xl, xr, eps, iend, r.ier, r.iter);
  return r;
}

TEST(Rtmidp, FindsKnownRoots) {
  struct Case {
    double (*fn)(double);
    double xl, xr, root;
  };
  const Case cases[] = {
      {[](double v) { return std::cos(v) - v; }, 0.0, 1.0, 0.73908513321516064},
      {[](double v) { return std::cos(v) - v; }, 1.0, 0.0, 0.73908513321516064},
      {[](double v) { return v * v * v - 2.0; }, 0.0, 5.0, std::cbrt(2.0)},
      {[](double v) { return std::log(v / 1000.0); }, 10.0, 5000.0, 1000.0},
      {[](double v) { return std::exp(v) - 1.0 - 1e-3; }, -1.0, 1.0, std::log1p(1e-3)},
  };
  for (const Case& c : cases) {
    const Search r = search(c.fn, c.xl, c.xr, 1e-12, 100);
    EXPECT_EQ(r.ier, kRootFound);
    EXPECT_NEAR(r.x, c.root, 1e-10 * std::max(1.0, c.root));
    EXPECT_EQ(r.f, c.fn(r.x));
    EXPECT_GE(r.iter, 1);
  }
}

TEST(Rtmidp, EndPathsStopAfterTheirEvaluations) {
  // An exact zero at the left end: one evaluation.
  Search r = search([](double v) { return v - 2.0; }, 2.0, 7.0, 1e-10, 50);
  EXPECT_EQ(r.ier, kRootFound);
  EXPECT_EQ(r.x, 2.0);
  EXPECT_EQ(r.calls, 1);
  EXPECT_EQ(r.iter, -7);
  // An exact zero at the right end wins over the sign test: two evaluations.
  r = search([](double v) { return (v - 3.0) * (v - 3.0); }, 0.0, 3.0, 1e-10, 50);
  EXPECT_EQ(r.ier, kRootFound);
  EXPECT_EQ(r.x, 3.0);
  EXPECT_EQ(r.calls, 2);
  // Same sign at both ends: code 2 after exactly two evaluations, the right
  // end returned, the pass count untouched.
  r = search([](double v) { return v * v + 1.0; }, -1.0, 2.0, 1e-10, 50);
  EXPECT_EQ(r.ier, kRootNoSignChange);
  EXPECT_EQ(r.calls, 2);
  EXPECT_EQ(r.x, 2.0);
  EXPECT_EQ(r.f, 5.0);
  EXPECT_EQ(r.iter, -7);
}

TEST(Rtmidp, NonConvergenceReturnsTheBetterEnd) {
  // A step function has no root to converge on: the bracket closes on the
  // jump until the bisection steps run out.
  const auto step = [](double v) { return v < 0.3 ? -1.0 : 2.0; };
  const Search r = search(step, 0.0, 1.0, 0.0, 20);
  EXPECT_EQ(r.ier, kRootNoConvergence);
  EXPECT_NEAR(r.x, 0.3, 1e-5);
  EXPECT_EQ(r.f, -1.0);  // |f| = 1 at the left end beats 2 at the right
}

}  // namespace
}  // namespace kelp
