#include "moor/morlib/splines.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using Vec = std::vector<float>;

TEST(Spline, SecondDerivativesWorkedByHand) {
  struct Case {
    Vec x, y;
    float yp1, ypn;
    Vec y2;
  };
  const Case cases[] = {
      // Natural: 4 M2 = 6 (0 - 2 + 0).
      {{0, 1, 2}, {0, 1, 0}, kNaturalEnd, kNaturalEnd, {0, -3, 0}},
      // Natural through x^3 at 0..3: 4 M1 + M2 = 36, M1 + 4 M2 = 72.
      {{0, 1, 2, 3}, {0, 1, 8, 27}, 2e30f, 2e30f, {0, 4.8f, 16.8f, 0}},
      // Clamped flat at both ends: 2 M0 + M1 = 6, M0 + 4 M1 + M2 = -12.
      {{0, 1, 2}, {0, 1, 0}, 0.0f, 0.0f, {6, -6, 6}},
      // A slope of 0.99e30 still clamps: 2 M0 + M1 = -6 yp1, M1 = 0.
      {{0, 1}, {0, 0}, 0.99e30f, kNaturalEnd, {-0.99e30f * 3.0f, 0.0f}},
  };
  for (const Case& c : cases) {
    Vec y2(c.x.size(), -1.0f);
    ASSERT_EQ(spline(c.x, c.y, static_cast<int>(c.x.size()), c.yp1, c.ypn, y2), kSplineOk);
    for (std::size_t i = 0; i < y2.size(); ++i) EXPECT_NEAR(y2[i], c.y2[i], 1e-5f * std::max(1.0f, std::fabs(c.y2[i])));
  }
}

TEST(Spline, ValueAndSlopeWorkedByHand) {
  const Vec x{0, 1, 2}, y{0, 1, 0}, y2{0, -3, 0};
  struct Case {
    float at, value, slope;
  };
  for (const Case& c : {Case{0.5f, 0.6875f, 1.125f}, Case{0.0f, 0.0f, 1.5f}, Case{1.0f, 1.0f, 0.0f},
                        Case{1.5f, 0.6875f, -1.125f}, Case{3.0f, -1.0f, 0.0f}}) {
    float v = 0.0f, s = 0.0f, w = 0.0f;
    EXPECT_EQ(splint(x, y, y2, 3, c.at, v), kSplineOk);
    EXPECT_EQ(strain_val(x, y, y2, 3, c.at, w), kSplineOk);
    EXPECT_EQ(strain_slope(x, y, y2, 3, c.at, s), kSplineOk);
    EXPECT_FLOAT_EQ(v, c.value) << c.at;
    EXPECT_EQ(w, v);
    EXPECT_FLOAT_EQ(s, c.slope) << c.at;
  }
}

TEST(Spline, BadInputIsRefused) {
  Vec y2(3, 7.0f);
  EXPECT_EQ(spline(Vec{0, 1, 1}, Vec{0, 1, 2}, 3, kNaturalEnd, kNaturalEnd, y2), kSplineBadAbscissae);
  EXPECT_EQ(spline(Vec{0}, Vec{0}, 1, kNaturalEnd, kNaturalEnd, y2), kSplineBadCount);
  const Vec many(501, 0.0f);
  Vec many2(501);
  EXPECT_EQ(spline(many, many, 501, kNaturalEnd, kNaturalEnd, many2), kSplineBadCount);
  EXPECT_EQ(y2, Vec(3, 7.0f));
  float v = 5.0f;
  EXPECT_EQ(splint(Vec{0, 1, 1}, Vec{0, 1, 2}, Vec{0, 0, 0}, 3, 1.5f, v), kSplineBadAbscissae);
  EXPECT_EQ(v, 5.0f);
  // The pause ends the program whatever is typed.
  testing::ScriptedSession t("go\n");
  EXPECT_THROW(splint_pause(t.s), ProgramStop);
  EXPECT_EQ(t.errors.str(), "PAUSE bad xa input in splint\nExecution cannot resume; any input will terminate the job.\n");
}

TEST(GetAlphas, CubicMeetsTheCurve) {
  // A stiffening rope curve: strain against tension.
  const Vec T{0, 10, 20, 40, 80};
  const Vec e{0, 0.012f, 0.02f, 0.031f, 0.045f};
  Vec y2(5);
  ASSERT_EQ(spline(T, e, 5, kNaturalEnd, kNaturalEnd, y2), kSplineOk);
  float s0 = 0.0f;
  strain_slope(T, e, y2, 5, 0.0f, s0);
  for (const float at : {5.0f, 25.0f, 60.0f}) {
    std::array<float, 3> a{};
    ASSERT_EQ(get_alphas(at, T, e, y2, 5, a), kSplineOk);
    float value = 0.0f, slope = 0.0f;
    strain_val(T, e, y2, 5, at, value);
    strain_slope(T, e, y2, 5, at, slope);
    EXPECT_FLOAT_EQ(a[0], s0);
    EXPECT_NEAR(a[0] * at + a[1] * at * at + a[2] * at * at * at, value, 1e-6f);
    EXPECT_NEAR(a[0] + 2 * a[1] * at + 3 * a[2] * at * at, slope, 1e-6f);
  }
  std::array<float, 3> a{9, 9, 9};
  ASSERT_EQ(get_alphas(0.0f, T, e, y2, 5, a), kSplineOk);
  EXPECT_EQ(a, (std::array<float, 3>{s0, 0.0f, 0.0f}));
}

TEST(Splin2, ReproducesABilinearTable) {
  // Natural cubic splines are exact for straight lines, so the spline of a
  // bilinear function is the function.
  const Vec x1{1, 2, 4, 7, 8};
  const Vec x2{0, 0.5f, 1, 3};
  const auto f = [](float a, float b) { return 3.0f + 2.0f * a - b + 0.5f * a * b; };
  Vec ya(90 * 4), y2a(90 * 4);
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 4; ++j) ya[static_cast<std::size_t>(i + 90 * j)] = f(x1[static_cast<std::size_t>(i)], x2[static_cast<std::size_t>(j)]);
  ASSERT_EQ(splie2(x1, x2, ya, 5, 4, y2a), kSplineOk);
  for (const auto& [a, b] : {std::pair{1.5f, 0.2f}, std::pair{6.0f, 2.5f}, std::pair{8.0f, 3.0f}}) {
    float y = 0.0f;
    ASSERT_EQ(splin2(x1, x2, ya, y2a, 5, 4, a, b, y), kSplineOk);
    EXPECT_NEAR(y, f(a, b), 1e-4f);
  }
  // At most 90 points along each variable (the leading dimension).
  Vec big(91 * 90 + 91);
  float y = 0.0f;
  EXPECT_EQ(splie2(big, big, big, 91, 4, big), kSplineBadCount);
  EXPECT_EQ(splin2(big, big, big, big, 5, 91, 1.0f, 1.0f, y), kSplineBadCount);
  EXPECT_EQ(splin2(x1, x2, ya, y2a, 1, 4, 1.0f, 1.0f, y), kSplineBadCount);
}

}  // namespace
}  // namespace kelp
