#include "kelpkit/wave_formulas.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kelp {
namespace {

// kh tanh(kh) = x^2 by Newton's method in long double, independently of the
// library's root finder.
long double dispersion_reference(long double x) {
  const long double x2 = x * x;
  long double kh = std::max(x2, x);
  for (int i = 0; i < 200; ++i) {
    const long double t = std::tanh(kh);
    const long double step = (kh * t - x2) / (t + kh * (1.0L - t * t));
    kh -= step;
    if (std::fabs(step) < 1e-18L * std::max(1.0L, kh)) break;
  }
  return kh;
}

TEST(Wavvec, MatchesTheDispersionRelationFromShallowToDeepWater) {
  // x from 1e-5 to 1e2 in 2,100 logarithmic steps; 1e-6 absolute below kh = 1,
  // relative above.
  for (int i = 0; i <= 2100; ++i) {
    const auto x = static_cast<float>(std::pow(10.0, -5.0 + i * 0.0035));
    float kh = -1.0f;
    ASSERT_EQ(wavvec(x, kh), kWaveOk) << x;
    const long double ref = dispersion_reference(x);
    ASSERT_NEAR(kh, static_cast<double>(ref), 1e-6 * std::max(1.0, static_cast<double>(ref))) << x;
  }
}

TEST(Wavvec, VeryShallowWaterKeepsRelativeAccuracy) {
  // The bracket search alone returned about x^2 here (0.001 gave 5.8e-6).
  for (float x : {1e-6f, 1e-4f, 0.001f, 0.00149f}) {
    float kh = 0.0f;
    ASSERT_EQ(wavvec(x, kh), kWaveOk);
    EXPECT_NEAR(kh / static_cast<double>(dispersion_reference(x)), 1.0, 1e-6) << x;
  }
}

TEST(Wavvec, LimitsAndZero) {
  float kh = -1.0f;
  EXPECT_EQ(wavvec(0.0f, kh), kWaveOk);
  EXPECT_EQ(kh, 0.0f);
  // Shallow water: kh close to x; deep water: kh close to x^2.
  wavvec(0.001f, kh);
  EXPECT_NEAR(kh, 0.001f, 1e-9f);
  wavvec(4.0f, kh);
  EXPECT_NEAR(kh, 16.0f, 1e-5f);
  // Negative x stands for the same frequency.
  float kh_neg = 0.0f;
  wavvec(-1.3f, kh_neg);
  wavvec(1.3f, kh);
  EXPECT_EQ(kh, kh_neg);
}

TEST(Wavvec, NonFiniteArgumentFailsWithZero) {
  for (float x : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                  -std::numeric_limits<float>::infinity(), 1e20f}) {
    float kh = 7.0f;
    EXPECT_EQ(wavvec(x, kh), kWaveBadArgument) << x;
    EXPECT_EQ(kh, 0.0f);
  }
}

TEST(Wavvec, DisprsIsTheResidual) {
  EXPECT_EQ(disprs(0.0f, 0.0f), 0.0f);
  EXPECT_NEAR(disprs(1.0f, 2.0f), 2.0f - std::tanh(1.0f), 1e-7f);
}

TEST(Cnhtsp, SlopeOfATenSecondWave) {
  // H = 10, T = 10 s, d = 100, g = 9.8: k H / 2 in degrees (28.65 per radian).
  float h = 10.0f;
  EXPECT_EQ(cnhtsp(h, 10.0f, 100.0f, 9.8f), kWaveOk);
  EXPECT_NEAR(h, 11.548f, 1e-3f);
}

TEST(Cnhtsp, BadPeriodDepthOrGravityKeepsTheHeight) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float cases[][3] = {{0.0f, 100.0f, 9.8f}, {-5.0f, 100.0f, 9.8f}, {10.0f, 0.0f, 9.8f},
                            {10.0f, -3.0f, 9.8f}, {10.0f, 100.0f, 0.0f}, {nan, 100.0f, 9.8f},
                            {10.0f, inf, 9.8f},   {10.0f, 100.0f, nan}};
  for (const auto& c : cases) {
    float h = 4.5f;
    EXPECT_EQ(cnhtsp(h, c[0], c[1], c[2]), kWaveBadArgument) << c[0] << " " << c[1] << " " << c[2];
    EXPECT_EQ(h, 4.5f);
  }
  // A period so short that x overflows is refused the same way.
  float h = 4.5f;
  EXPECT_EQ(cnhtsp(h, 1e-38f, 1e30f, 1e-30f), kWaveBadArgument);
  EXPECT_EQ(h, 4.5f);
}

TEST(Jonsval, GammaOneIsExactlyTheFifth) {
  float val = 0.0f;
  EXPECT_EQ(jonsval(0.07f, 0.09f, 1.0f, val), kJonsvalOk);
  EXPECT_EQ(val, 0.2f);
}

TEST(Jonsval, StandardJonswapPeak) {
  // 0.30499 by Simpson's rule with 200,000 intervals in double precision.
  float val = 0.0f;
  EXPECT_EQ(jonsval(0.07f, 0.09f, 3.3f, val), kJonsvalOk);
  EXPECT_NEAR(val, 0.30499f, 2e-4f);
}

TEST(Jonsval, BadArgumentsLeaveTheValue) {
  float val = 1.5f;
  EXPECT_EQ(jonsval(0.07f, 0.09f, 0.0f, val), kJonsvalBadArgument);
  EXPECT_EQ(jonsval(0.07f, 0.09f, -1.0f, val), kJonsvalBadArgument);
  EXPECT_EQ(jonsval(std::nanf(""), 0.09f, 3.3f, val), kJonsvalBadArgument);
  EXPECT_EQ(val, 1.5f);
}

TEST(Jonsval, IntegrandOnBothSides) {
  // At y = 1, b = 0 and c = 1: exp(ln(gamma) - 1.25).
  EXPECT_NEAR(jonint(1.0f, Localj{0.07f, 3.3f, 1}), 3.3f * std::exp(-1.25f), 1e-6f);
  EXPECT_NEAR(jonint(0.0f, Localj{0.09f, 3.3f, 2}), std::exp(-1.25f), 1e-7f);
  const float y = 0.5f;
  const float b = std::sqrt(-2.0f * 0.09f * 0.09f * std::log(y));
  EXPECT_NEAR(jonint(y, Localj{0.09f, 2.0f, 2}), std::exp(y * std::log(2.0f) - 1.25f / std::pow(1.0f + b, 4.0f)),
              1e-6f);
}

// The added-mass integral by an independent quadrature: t = u / (1 - u)
// maps [0, inf) to [0, 1), Simpson's rule in long double.
long double ellipsoid_reference(long double p, long double q, bool moment) {
  const int n = 200000;
  const auto f = [&](long double u) -> long double {
    if (u >= 1.0L) return 0.0L;
    const long double t = u / (1.0L - u);
    const long double dt = 1.0L / ((1.0L - u) * (1.0L - u));
    const long double a = 1.0L + t;
    if (!moment) return dt / (std::sqrt((1.0L + p * t) * a * (1.0L + q * t)) * a);
    const long double m = (1.0L + q * t) * (1.0L + p * t);
    return dt / (std::sqrt(a * m) * m);
  };
  long double s = f(0.0L) + f(1.0L);
  const long double h = 1.0L / n;
  for (int i = 1; i < n; ++i) s += (i % 2 ? 4.0L : 2.0L) * f(i * h);
  return s * h / 3.0L;
}

TEST(Elpcof, SphereGivesTheTextbookCoefficients) {
  // Sphere: the integral is 2/3 and the added-mass coefficient 1/2.
  float coef = 0.0f;
  int warned = 0;
  int intervals = 0;
  EXPECT_FALSE(elpcof(1.0f, 1.0f, 0, 1, coef, warned, &intervals));
  EXPECT_EQ(intervals, 400);
  EXPECT_NEAR(coef, 2.0f / 3.0f, 1e-4f);
  EXPECT_NEAR(cofclc(1, coef, 1.0f, 1.0f), 0.5f, 1e-3f);
  // Moment kind: the integral of (1 + t)^(-7/2) is 2/5.
  EXPECT_FALSE(elpcof(1.0f, 1.0f, 0, 2, coef, warned, &intervals));
  EXPECT_EQ(intervals, 4000);
  EXPECT_NEAR(coef, 0.4f, 1e-3f);
  EXPECT_EQ(warned, 0);
}

TEST(Elpcof, EllipsoidsAgainstAnIndependentQuadrature) {
  const float shapes[][2] = {{4.0f, 4.0f}, {0.25f, 1.0f}, {9.0f, 0.5f}};
  for (const auto& s : shapes) {
    float coef = 0.0f;
    int warned = 0;
    elpcof(s[0], s[1], 0, 1, coef, warned);
    EXPECT_NEAR(coef, static_cast<double>(ellipsoid_reference(s[0], s[1], false)), 2e-4) << s[0] << " " << s[1];
    elpcof(s[0], s[1], 0, 2, coef, warned);
    EXPECT_NEAR(coef, static_cast<double>(ellipsoid_reference(s[0], s[1], true)), 2e-4) << s[0] << " " << s[1];
  }
}

TEST(Elpcof, IntervalCounts) {
  EXPECT_EQ(elpcof_intervals(1.0f, 1.0f, 0, 1), 400);
  EXPECT_EQ(elpcof_intervals(1.0f, 1.0f, 0, 2), 4000);
  EXPECT_EQ(elpcof_intervals(1.0f, 1.0f, 7501, 1), 7502);  // odd counts go up by one
  EXPECT_EQ(elpcof_intervals(0.001f, 1.0f, 0, 1), 2000);   // 2/p
  EXPECT_EQ(elpcof_intervals(3000.5f, 1.0f, 0, 2), 6002);  // 2p truncated, made even
  EXPECT_EQ(elpcof_intervals(1.0f, 1.0f, -9, 1), 400);
}

TEST(Elpcof, ZeroOrTinyDimensionIsCapped) {
  EXPECT_EQ(elpcof_intervals(0.0f, 1.0f, 0, 1), 400);  // 2/0 is ignored
  EXPECT_EQ(elpcof_intervals(1e-30f, 1.0f, 0, 1), kElpcofMaxIntervals);
  EXPECT_EQ(elpcof_intervals(1e30f, 1e-30f, 0, 2), kElpcofMaxIntervals);
  EXPECT_EQ(elpcof_intervals(1.0f, 1.0f, 2147483647, 1), kElpcofMaxIntervals);
  EXPECT_EQ(elpcof_intervals(std::nanf(""), std::nanf(""), 0, 1), 400);

  float coef = 0.0f;
  int warned = 0;
  EXPECT_TRUE(elpcof(1e-30f, 1.0f, 0, 1, coef, warned));
  EXPECT_EQ(warned, 1);
  EXPECT_TRUE(std::isfinite(coef));
  // The warning shows once per flag.
  EXPECT_FALSE(elpcof(1.0f, 1.0f, 7501, 1, coef, warned));
  warned = 0;
  EXPECT_TRUE(elpcof(1.0f, 1.0f, 7501, 1, coef, warned));
  EXPECT_FALSE(elpcof(1.0f, 1.0f, 7500, 1, coef, warned = 0));
}

TEST(Cofclc, ClosedFormsAndTheirPoles) {
  int ier = -1;
  EXPECT_NEAR(cofclc(1, 2.0f / 3.0f, 0.0f, 0.0f, ier), 0.5f, 1e-7f);
  EXPECT_EQ(ier, 0);
  // Kind 2 with a = 1, b = 2, r = 0.5: P = 1, Q = 0.5; 0.125 / (0.25 * 1.5).
  EXPECT_NEAR(cofclc(2, 0.5f, 1.0f, 2.0f, ier), 1.0f / 3.0f, 1e-7f);
  EXPECT_EQ(ier, 0);
  // A sphere has no added moment.
  EXPECT_EQ(cofclc(2, 0.4f, 1.0f, 1.0f, ier), 0.0f);
  EXPECT_EQ(ier, 0);

  EXPECT_EQ(cofclc(1, 2.0f, 1.0f, 1.0f, ier), 0.0f);
  EXPECT_EQ(ier, 1);
  // 2PQ = r (P + Q) with P = Q = 1 at r = 1.
  EXPECT_EQ(cofclc(2, 1.0f, 1.0f, 1.0f, ier), 0.0f);
  EXPECT_EQ(ier, 1);
  EXPECT_EQ(cofclc(2, 0.5f, 0.0f, 1.0f, ier), 0.0f);
  EXPECT_EQ(ier, 1);
  EXPECT_EQ(cofclc(1, 2.0f, 1.0f, 1.0f), 0.0f);
}

TEST(Rectcm, PowerLaw) {
  EXPECT_FLOAT_EQ(rectcm(1.0f), 1.215488f);
  EXPECT_NEAR(rectcm(10.0f), 1.215488 * std::pow(10.0, -0.14883), 1e-6);
}

struct Segment {
  std::array<float, 3> d{}, c{};
  float slen = -1.0f, wlen = -1.0f, r = -1.0f;
  int is = -7;
};

Segment check(std::array<float, 3> p1, std::array<float, 3> p2, float zw) {
  Segment s;
  wpchek(p1, p2, zw, s.d, s.c, s.slen, s.wlen, s.r, s.is);
  return s;
}

TEST(Wpchek, BelowAboveAndCrossing) {
  auto s = check({0, 0, -5}, {3, 0, -1}, 0.0f);
  EXPECT_EQ(s.is, kSegmentBelow);
  EXPECT_FLOAT_EQ(s.slen, 5.0f);
  EXPECT_EQ(s.wlen, s.slen);
  EXPECT_EQ(s.r, 1.0f);
  EXPECT_FLOAT_EQ(s.c[0], 0.6f);

  s = check({0, 0, 1}, {0, 0, 4}, 0.0f);
  EXPECT_EQ(s.is, kSegmentAbove);
  EXPECT_EQ(s.wlen, 0.0f);
  EXPECT_EQ(s.r, 1.0f);

  // Upward through the plane z = 2: 3 units of 4 lie below it.
  s = check({1, 1, -1}, {1, 1, 3}, 2.0f);
  EXPECT_EQ(s.is, kSegmentUp);
  EXPECT_FLOAT_EQ(s.wlen, 3.0f);
  EXPECT_FLOAT_EQ(s.r, 1.0f);

  // Downward on a 45-degree slope: half the length lies above.
  s = check({0, 0, 2}, {4, 0, -2}, 0.0f);
  EXPECT_EQ(s.is, kSegmentDown);
  EXPECT_NEAR(s.wlen, std::sqrt(8.0f), 1e-6f);
  EXPECT_NEAR(s.r, -std::sqrt(2.0f), 1e-6f);
  EXPECT_FLOAT_EQ(s.d[0], 4.0f);
  EXPECT_FLOAT_EQ(s.d[2], -4.0f);
}

TEST(Wpchek, OneEndOnThePlane) {
  for (const auto& [a, b] : {std::pair{0.0f, 5.0f}, std::pair{5.0f, 0.0f}}) {
    const auto s = check({0, 0, a}, {0, 2, b}, 0.0f);
    EXPECT_EQ(s.is, kSegmentAbove) << a << " " << b;
    EXPECT_EQ(s.wlen, 0.0f);
    EXPECT_EQ(s.r, 1.0f);
  }
  for (const auto& [a, b] : {std::pair{0.0f, -5.0f}, std::pair{-5.0f, 0.0f}, std::pair{0.0f, 0.0f}}) {
    const auto s = check({0, 0, a}, {2, 0, b}, 0.0f);
    EXPECT_EQ(s.is, kSegmentBelow) << a << " " << b;
    EXPECT_EQ(s.wlen, s.slen);
  }
}

TEST(Wpchek, ZeroLengthSegment) {
  auto s = check({1, 2, 3}, {1, 2, 3}, 0.0f);
  EXPECT_EQ(s.slen, 0.0f);
  EXPECT_EQ(s.c, (std::array<float, 3>{0, 0, 0}));
  EXPECT_EQ(s.is, kSegmentAbove);
  EXPECT_EQ(s.wlen, 0.0f);
  EXPECT_EQ(s.r, 1.0f);
  s = check({1, 2, -3}, {1, 2, -3}, 0.0f);
  EXPECT_EQ(s.is, kSegmentBelow);
  EXPECT_EQ(s.wlen, 0.0f);
  s = check({1, 2, 0}, {1, 2, 0}, 0.0f);
  EXPECT_EQ(s.is, kSegmentBelow);
}

}  // namespace
}  // namespace kelp
