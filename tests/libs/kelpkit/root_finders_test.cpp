#include "kelpkit/root_finders.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace kelp {
namespace {

TEST(RootFinders, ExactZeroAtLeftEndIsReturnedAfterOneCall) {
  int calls = 0;
  float x = -1.0f;
  float f = -1.0f;
  int ier = -1;
  rtmi1(x, f, [&](float v) { ++calls; return v - 1.0f; }, 1.0f, 5.0f, 1e-6f, 0.0f, 50, ier);
  EXPECT_EQ(ier, kRootFound);
  EXPECT_EQ(x, 1.0f);
  EXPECT_EQ(f, 0.0f);
  EXPECT_EQ(calls, 1);
}

TEST(RootFinders, ExactZeroAtRightEndWinsOverTheSignTest) {
  int calls = 0;
  float x = 0.0f;
  float f = 0.0f;
  int ier = -1;
  // Left value positive, right value exactly zero: success, not "no sign change".
  rtmi1(x, f, [&](float v) { ++calls; return (v - 2.0f) * (v - 2.0f); }, 0.0f, 2.0f, 1e-6f, 0.0f, 50, ier);
  EXPECT_EQ(ier, kRootFound);
  EXPECT_EQ(x, 2.0f);
  EXPECT_EQ(calls, 2);
}

TEST(RootFinders, NoSignChangeGivesCode2WithTheRightEnd) {
  int calls = 0;
  float x = 0.0f;
  float f = 0.0f;
  int ier = -1;
  rtmi1(x, f, [&](float v) { ++calls; return v * v + 1.0f; }, -1.0f, 3.0f, 1e-6f, 0.0f, 50, ier);
  EXPECT_EQ(ier, kRootNoSignChange);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(x, 3.0f);
  EXPECT_EQ(f, 10.0f);
}

TEST(RootFinders, FindsTheFixedPointOfCosine) {
  // cos(x) = x at 0.7390851332151607 (a classic value).
  for (const auto& [a, b] : {std::pair{0.0f, 1.0f}, std::pair{1.0f, 0.0f}}) {
    float x = 0.0f;
    float f = 0.0f;
    int ier = -1;
    rtmi1(x, f, [](float v) { return std::cos(v) - v; }, a, b, 1e-6f, 0.0f, 50, ier);
    EXPECT_EQ(ier, kRootFound);
    EXPECT_NEAR(x, 0.7390851332f, 2e-6f);
    EXPECT_NEAR(f, 0.0f, 4e-6f);
  }
}

TEST(RootFinders, RelativeToleranceAboveOne) {
  // Root 1000 (tolerance 1e-5 relative, i.e. 0.01 absolute).
  float x = 0.0f;
  float f = 0.0f;
  int ier = -1;
  rtmi1(x, f, [](float v) { return std::log(v / 1000.0f); }, 10.0f, 5000.0f, 1e-5f, 0.0f, 100, ier);
  EXPECT_EQ(ier, kRootFound);
  EXPECT_NEAR(x, 1000.0f, 0.01f);
}

TEST(RootFinders, FunctionToleranceMustAlsoHold) {
  // A steep line: the argument test alone stops early, the function-value
  // test forces the point much closer to the root.
  const auto steep = [](float v) { return 1000.0f * (v - 0.3f); };
  float x = 0.0f;
  float f = 0.0f;
  int ier = -1;
  rtmi1(x, f, steep, 0.0f, 1.0f, 1e-2f, 1e-3f, 60, ier);
  EXPECT_EQ(ier, kRootFound);
  EXPECT_LE(std::fabs(f), 1e-3f);
}

TEST(RootFinders, StepFunctionRunsOutOfBisections) {
  // No zero and no interpolation: five halvings cannot reach 1e-7.
  int calls = 0;
  float x = 0.0f;
  float f = 0.0f;
  int ier = -1;
  rtmi1(x, f, [&](float v) { ++calls; return v < 0.3f ? -1.0f : 1.0f; }, 0.0f, 1.0f, 1e-7f, 0.0f, 5, ier);
  EXPECT_EQ(ier, kRootNoConvergence);
  EXPECT_EQ(calls, 2 + 5);
  // The best point is still one end of the last bracket around 0.3.
  EXPECT_NEAR(x, 0.3f, 1.0f / 32.0f);
}

TEST(RootFinders, NestedSearchRtmi2InsideRtmi1) {
  // Outer: the a with sqrt(a) = 1.5, where sqrt(a) is itself found by rtmi2.
  int inner_searches = 0;
  const auto root_of = [&](float a) {
    ++inner_searches;
    float r = 0.0f;
    float fr = 0.0f;
    int ier = -1;
    rtmi2(r, fr, [a](float v) { return v * v - a; }, 0.0f, 10.0f, 1e-7f, 0.0f, 60, ier);
    EXPECT_EQ(ier, kRootFound);
    return r;
  };
  float x = 0.0f;
  float f = 0.0f;
  int ier = -1;
  rtmi1(x, f, [&](float a) { return root_of(a) - 1.5f; }, 0.5f, 9.0f, 1e-6f, 0.0f, 60, ier);
  EXPECT_EQ(ier, kRootFound);
  EXPECT_NEAR(x, 2.25f, 1e-5f);
  EXPECT_GT(inner_searches, 2);
}

TEST(RootFinders, DoubleTwinsStoreSinglePrecisionValues) {
  float x = 0.0f;
  float f = 0.0f;
  int ier = -1;
  rtmi1d(x, f, [](float v) { return static_cast<double>(v) * v - 2.0; }, 0.0f, 2.0f, 1e-7f, 0.0f, 60, ier);
  EXPECT_EQ(ier, kRootFound);
  EXPECT_NEAR(x, 1.41421356f, 2e-7f);
  EXPECT_EQ(f, static_cast<float>(static_cast<double>(x) * x - 2.0));

  rtmi2d(x, f, [](float v) { return std::exp(static_cast<double>(v)) - 3.0; }, 0.0f, 2.0f, 1e-7f, 0.0f, 60, ier);
  EXPECT_EQ(ier, kRootFound);
  EXPECT_NEAR(x, 1.0986123f, 2e-7f);
}

TEST(RootFinders, NanFunctionEndsWithoutHanging) {
  float x = 0.0f;
  float f = 0.0f;
  int ier = -1;
  rtmi1(x, f, [](float v) { return v < 0.5f ? -1.0f : std::nanf(""); }, 0.0f, 1.0f, 1e-6f, 0.0f, 20, ier);
  EXPECT_NE(ier, kRootFound);
}

}  // namespace
}  // namespace kelp
