#include "moor/morlib/polynomial_fit.hpp"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

namespace kelp {
namespace {

FitMatrix matrix(int n, std::initializer_list<double> rows) {
  FitMatrix m{};
  int k = 0;
  for (double v : rows) {
    const int i = k / n;
    const int j = k % n;
    m[static_cast<std::size_t>(i + kFitMatrixOrder * j)] = v;
    ++k;
  }
  return m;
}

TEST(Determinant, MatchesHandExpansion) {
  struct Case {
    const char* what;
    int n;
    FitMatrix m;
    float det;
  };
  const Case cases[] = {
      {"empty", 0, FitMatrix{}, 1.0f},
      {"2x2", 2, matrix(2, {3, 8, 4, 6}), -14.0f},
      // 2 (1 - 0) - 0 + 1 (1 - 0) by cofactors of the first row.
      {"3x3", 3, matrix(3, {2, 0, 1, 1, 1, 0, 0, 1, 1}), 3.0f},
      // Zero pivots need a column exchange, which flips the sign.
      {"zero pivot", 2, matrix(2, {0, 1, 1, 0}), -1.0f},
      {"zero pivot 3x3", 3, matrix(3, {0, 2, 0, 1, 0, 0, 0, 0, 3}), -6.0f},
      {"zero row", 3, matrix(3, {1, 2, 3, 0, 0, 0, 4, 5, 6}), 0.0f},
      {"dependent rows", 3, matrix(3, {1, 2, 3, 2, 4, 6, 1, 0, 1}), 0.0f},
  };
  for (auto c : cases) EXPECT_FLOAT_EQ(detrm(c.m, c.n), c.det) << c.what;
}

// Points of yp = p0 + p1 T + p2 T^2 at tensions 10, 20, ..., 10 n.
struct Curve {
  std::vector<float> x;
  std::vector<float> y;
};
Curve curve(int n, float p0, float p1, float p2) {
  Curve c;
  for (int i = 1; i <= n; ++i) {
    const float t = 10.0f * static_cast<float>(i);
    c.x.push_back(t);
    c.y.push_back(p0 + p1 * t + p2 * t * t);
  }
  return c;
}

TEST(PolynomialFit, RecoversPolynomialsInBothUnitWeightModes) {
  struct Case {
    const char* what;
    std::array<float, 3> p;
    int n;
  };
  const Case cases[] = {
      {"constant ratio (linear strain)", {0.001f, 0.0f, 0.0f}, 4},
      {"linear ratio", {0.002f, -1.0e-5f, 0.0f}, 6},
      {"quadratic ratio", {0.0008f, -4.0e-6f, 2.0e-8f}, 20},
  };
  for (const auto& c : cases) {
    for (int mode : {kFitUnweighted, kFitWeightByValue}) {
      const Curve k = curve(c.n, c.p[0], c.p[1], c.p[2]);
      std::array<float, 3> a{9.0f, 9.0f, 9.0f};
      float chisqr = -1.0f;
      ASSERT_EQ(polfit(k.x, k.y, {}, c.n, 3, mode, a, chisqr), kFitDone) << c.what;
      // Each coefficient to float precision relative to the largest term it makes.
      const float top = 10.0f * static_cast<float>(c.n);
      EXPECT_NEAR(a[0], c.p[0], 2e-5f * c.p[0]) << c.what << " mode " << mode;
      EXPECT_NEAR(a[1] * top, c.p[1] * top, 2e-5f * c.p[0]) << c.what << " mode " << mode;
      EXPECT_NEAR(a[2] * top * top, c.p[2] * top * top, 2e-5f * c.p[0]) << c.what << " mode " << mode;
      EXPECT_NEAR(chisqr, 0.0f, 1e-8f) << c.what;
    }
  }
}

TEST(PolynomialFit, WeightsAndChiSquareMatchTextbookResults) {
  // Straight line through (0,0) (1,1) (2,1) (3,3): slope 0.9, intercept -0.1,
  // residual sum of squares 0.70 over 2 degrees of freedom.
  const std::vector<float> x{0, 1, 2, 3};
  const std::vector<float> y{0, 1, 1, 3};
  std::array<float, 2> a{};
  float chisqr = 0.0f;
  ASSERT_EQ(polfit(x, y, {}, 4, 2, kFitUnweighted, a, chisqr), kFitDone);
  EXPECT_NEAR(a[0], -0.1f, 1e-6f);
  EXPECT_NEAR(a[1], 0.9f, 1e-6f);
  EXPECT_NEAR(chisqr, 0.35f, 1e-6f);
  // Equal standard deviations of 2 keep the line and divide chi-square by 4.
  const std::vector<float> sigma{2, 2, 2, 2};
  ASSERT_EQ(polfit(x, y, sigma, 4, 2, kFitWeightBySigma, a, chisqr), kFitDone);
  EXPECT_NEAR(a[1], 0.9f, 1e-6f);
  EXPECT_NEAR(chisqr, 0.0875f, 1e-6f);
  // A constant weighted by 1/y is the harmonic mean: 3 / (1 + 1/2 + 1/4).
  const std::vector<float> c{1, 2, 4};
  std::array<float, 1> mean{};
  ASSERT_EQ(polfit(c, c, {}, 3, 1, kFitWeightByValue, mean, chisqr), kFitDone);
  EXPECT_NEAR(mean[0], 3.0f / 1.75f, 1e-6f);
  ASSERT_EQ(polfit(c, c, {}, 3, 1, kFitUnweighted, mean, chisqr), kFitDone);
  EXPECT_NEAR(mean[0], 7.0f / 3.0f, 1e-6f);
}

TEST(PolynomialFit, SingularMatrixGivesZerosAndSaysSo) {
  // All tensions equal: the normal matrix has rank one.
  const std::vector<float> x{50, 50, 50, 50};
  const std::vector<float> y{0.001f, 0.002f, 0.003f, 0.004f};
  std::array<float, 3> a{1.0f, 2.0f, 3.0f};
  float chisqr = 5.0f;
  EXPECT_EQ(polfit(x, y, {}, 4, 3, kFitUnweighted, a, chisqr), kFitSingular);
  EXPECT_EQ(a, (std::array<float, 3>{0.0f, 0.0f, 0.0f}));
  EXPECT_EQ(chisqr, 0.0f);
  // npts beyond the arrays is cut to them; too many terms is refused.
  std::array<float, 11> many{};
  EXPECT_THROW(polfit(x, y, {}, 4, 11, kFitUnweighted, many, chisqr), std::invalid_argument);
  EXPECT_EQ(polfit(x, y, {}, 400, 1, kFitUnweighted, a, chisqr), kFitDone);
  EXPECT_FLOAT_EQ(a[0], 0.0025f);
}

}  // namespace
}  // namespace kelp
