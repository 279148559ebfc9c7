#include "kelpkit/integration.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

namespace kelp {
namespace {

TEST(Qatr, ConstantSettlesAtTheFifthTableEntry) {
  int calls = 0;
  float y = 0.0f;
  int ier = -1;
  std::array<float, 10> aux{};
  qatr(0.0f, 2.0f, 1e-5f, 10, [&](float) { ++calls; return 1.0f; }, y, ier, aux);
  EXPECT_EQ(ier, kQatrOk);
  EXPECT_EQ(y, 2.0f);
  EXPECT_EQ(calls, 2 + 1 + 2 + 4 + 8);
  EXPECT_EQ(aux[0], 1.0f);  // the mean value
}

TEST(Qatr, EmptyIntervalAndTooSmallTable) {
  int calls = 0;
  float y = -1.0f;
  int ier = -1;
  qatr(1.5f, 1.5f, 1e-5f, 10, [&](float x) { ++calls; return x; }, y, ier);
  EXPECT_EQ(ier, kQatrOk);
  EXPECT_EQ(y, 0.0f);
  EXPECT_EQ(calls, 2);
  // Exactly 0 even at a point where the integrand is infinite.
  qatr(0.0f, 0.0f, 1e-5f, 10, [](float x) { return 1.0f / x; }, y, ier);
  EXPECT_EQ(ier, kQatrOk);
  EXPECT_EQ(y, 0.0f);

  // ndim below 2: the trapezoid of the two ends, flagged as not converged.
  qatr(0.0f, 2.0f, 1e-5f, 1, [](float x) { return x * x; }, y, ier);
  EXPECT_EQ(ier, kQatrNoConvergence);
  EXPECT_EQ(y, 4.0f);
}

TEST(Qatr, IntegratesPolynomialsExactly) {
  float y = 0.0f;
  int ier = -1;
  qatr(0.0f, 2.0f, 1e-6f, 20, [](float x) { return x * x * x; }, y, ier);
  EXPECT_EQ(ier, kQatrOk);
  EXPECT_FLOAT_EQ(y, 4.0f);

  qatr(-1.0f, 3.0f, 1e-6f, 20, [](float x) { return 5.0f * x * x * x * x - 2.0f * x + 1.0f; }, y, ier);
  EXPECT_EQ(ier, kQatrOk);
  EXPECT_FLOAT_EQ(y, 244.0f + 4.0f - 8.0f);  // [x^5 - x^2 + x] from -1 to 3
}

TEST(Qatr, TranscendentalIntegralsToTheirTolerance) {
  float y = 0.0f;
  int ier = -1;
  qatr(0.0f, std::numbers::pi_v<float>, 1e-4f, 20, [](float x) { return std::sin(x); }, y, ier);
  EXPECT_EQ(ier, kQatrOk);
  EXPECT_NEAR(y, 2.0f, 1e-4f);

  qatr(0.0f, 1.0f, 1e-5f, 20, [](float x) { return std::exp(x); }, y, ier);
  EXPECT_EQ(ier, kQatrOk);
  EXPECT_NEAR(y, std::numbers::e_v<float> - 1.0f, 1e-5f);

  // Reversed limits give the negative.
  qatr(1.0f, 0.0f, 1e-5f, 20, [](float x) { return 1.0f / (1.0f + x * x); }, y, ier);
  EXPECT_EQ(ier, kQatrOk);
  EXPECT_NEAR(y, -std::numbers::pi_v<float> / 4.0f, 1e-5f);
}

TEST(Qatr, TableRunningOutGivesNonConvergence) {
  // sqrt has an infinite slope at 0, so with eps 0 nothing ever settles.
  int calls = 0;
  float y = 0.0f;
  int ier = -1;
  qatr(0.0f, 1.0f, 0.0f, 8, [&](float x) { ++calls; return std::sqrt(x); }, y, ier);
  EXPECT_EQ(ier, kQatrNoConvergence);
  EXPECT_EQ(calls, 2 + 127);
  EXPECT_NEAR(y, 2.0f / 3.0f, 1e-3f);
}

TEST(Qatr, GrowingDifferenceReportsRoundoffWithThePreviousEstimate) {
  // Zero for the first nine calls (estimates 2 to 4), one afterwards: the
  // fifth estimate jumps, so the difference grows.
  int calls = 0;
  float y = -1.0f;
  int ier = -1;
  qatr(0.0f, 1.0f, 1e-6f, 20, [&](float) { return ++calls > 9 ? 1.0f : 0.0f; }, y, ier);
  EXPECT_EQ(ier, kQatrRoundoff);
  EXPECT_EQ(y, 0.0f);
}

TEST(Qatr, HalvingsAreCapped) {
  EXPECT_EQ(kQatrMaxHalvings, 30);
  // A non-finite integrand stops at once instead of doubling on.
  int calls = 0;
  float y = 0.0f;
  int ier = -1;
  qatr(0.0f, 1.0f, 1e-6f, 1000, [&](float x) { ++calls; return x == 0.0f ? INFINITY : 1.0f; }, y, ier);
  EXPECT_EQ(ier, kQatrNoConvergence);
  EXPECT_LT(calls, 10);
}

TEST(Gamma, IntegersAndHalfIntegers) {
  float g = 0.0f;
  int ier = -1;
  gamma(5.0f, g, ier);
  EXPECT_EQ(ier, kGammaOk);
  EXPECT_EQ(g, 24.0f);
  gamma(1.0f, g, ier);
  EXPECT_EQ(g, 1.0f);
  gamma(0.5f, g, ier);
  EXPECT_EQ(ier, kGammaOk);
  // The polynomial fit on [1, 2] is good to about 1.5e-6 relative.
  EXPECT_NEAR(g, std::sqrt(std::numbers::pi_v<float>), 3e-6f);
  gamma(-0.5f, g, ier);
  EXPECT_EQ(ier, kGammaOk);
  EXPECT_NEAR(g, -2.0f * std::sqrt(std::numbers::pi_v<float>), 6e-6f);
}

TEST(Gamma, AgreesWithTheLibraryGammaAcrossItsRange) {
  for (int k = 0; k < 102; ++k) {
    const auto x = static_cast<float>(-3.65 + 0.37 * k);
    float g = 0.0f;
    int ier = -1;
    gamma(x, g, ier);
    ASSERT_EQ(ier, kGammaOk) << x;
    const double ref = std::tgamma(static_cast<double>(x));
    EXPECT_NEAR(g / ref, 1.0, 3e-6) << x;
  }
}

TEST(Gamma, PolesAndOverflow) {
  float g = 0.0f;
  int ier = -1;
  for (float pole : {0.0f, -1.0f, -2.0f, -7.0f, 1e-7f, -3.0000001f, -1.0e7f}) {
    gamma(pole, g, ier);
    EXPECT_EQ(ier, kGammaPole) << pole;
    EXPECT_EQ(g, 1.0f);
  }
  gamma(40.0f, g, ier);
  EXPECT_EQ(ier, kGammaOverflow);
  EXPECT_EQ(g, 1.0e38f);
  gamma(std::nanf(""), g, ier);
  EXPECT_EQ(ier, kGammaOverflow);
  gamma(-INFINITY, g, ier);
  EXPECT_EQ(ier, kGammaPole);
}

TEST(Besj, TabulatedValues) {
  float bj = 0.0f;
  int ier = -1;
  besj(1.0f, 0, bj, 1e-7f, ier);
  EXPECT_EQ(ier, kBesjOk);
  EXPECT_NEAR(bj, 0.765198f, 1e-6f);
  besj(1.0f, 1, bj, 1e-7f, ier);
  EXPECT_EQ(ier, kBesjOk);
  EXPECT_NEAR(bj, 0.440051f, 1e-6f);
  besj(5.0f, 2, bj, 1e-7f, ier);
  EXPECT_NEAR(bj, 0.0465651f, 1e-6f);
  besj(10.0f, 0, bj, 1e-7f, ier);
  EXPECT_NEAR(bj, -0.2459358f, 1e-6f);
}

TEST(Besj, AgreesWithTheLibraryBessel) {
  for (float x : {0.05f, 0.5f, 2.0f, 7.3f, 14.9f, 20.0f, 50.0f}) {
    for (int n = 0; n <= 6; ++n) {
      float bj = 0.0f;
      int ier = -1;
      besj(x, n, bj, 1e-7f, ier);
      ASSERT_EQ(ier, kBesjOk) << x << " " << n;
      EXPECT_NEAR(bj, std::cyl_bessel_j(static_cast<double>(n), static_cast<double>(x)), 2e-6) << x << " " << n;
    }
  }
}

TEST(Besj, ErrorCodes) {
  float bj = 9.0f;
  int ier = -1;
  besj(1.0f, -1, bj, 1e-6f, ier);
  EXPECT_EQ(ier, kBesjNegativeOrder);
  EXPECT_EQ(bj, 0.0f);
  besj(0.0f, 0, bj, 1e-6f, ier);
  EXPECT_EQ(ier, kBesjArgument);
  besj(std::nanf(""), 0, bj, 1e-6f, ier);
  EXPECT_EQ(ier, kBesjArgument);
  // For x = 1 the test limit is INT(20 + 10 - 1/3) = 29.
  besj(1.0f, 28, bj, 1e-6f, ier);
  EXPECT_NE(ier, kBesjOrderTooLarge);
  besj(1.0f, 29, bj, 1e-6f, ier);
  EXPECT_EQ(ier, kBesjOrderTooLarge);
  // Far beyond x = 100 the starting order already exceeds the limit.
  besj(150.0f, 0, bj, 1e-6f, ier);
  EXPECT_EQ(ier, kBesjNoConvergence);
  besj(3.0e9f, 0, bj, 1e-6f, ier);
  EXPECT_EQ(ier, kBesjNoConvergence);
}

TEST(Besj, TinyArgumentStaysFinite) {
  float bj = 0.0f;
  int ier = -1;
  besj(1e-30f, 0, bj, 1e-7f, ier);
  EXPECT_EQ(ier, kBesjOk);
  EXPECT_EQ(bj, 1.0f);
  besj(1e-30f, 1, bj, 1e-7f, ier);
  EXPECT_EQ(ier, kBesjOk);
  EXPECT_NEAR(bj, 5e-31f, 1e-36f);
}

TEST(TangentAngle, CosineAndSine) {
  EXPECT_NEAR(cospht(1.0f), 0.70710678f, 1e-7f);
  EXPECT_EQ(sinpht(1.0f), cospht(1.0f));
  EXPECT_EQ(cospht(0.0f), 1.0f);
  EXPECT_NEAR(sinpht(-std::sqrt(3.0f)), -std::sqrt(3.0f) / 2.0f, 1e-6f);  // -60 degrees
}

}  // namespace
}  // namespace kelp
