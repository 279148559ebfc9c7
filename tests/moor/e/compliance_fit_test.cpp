#include "moor/e/compliance_fit.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "moor/e/screen_checks.hpp"
#include "moor/morlib/polynomial_fit.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::occurrences;
using testing::ScriptedSession;
using testing::shows_in_order;

TEST(ArrayEntry, TwentyEntriesShowFiveDoubleRows) {
  ScriptedSession t("\n");
  std::vector<float> a;
  for (int i = 1; i <= 20; ++i) a.push_back(static_cast<float>(i));
  int sel = 7;
  arayin(t.s, 20, 20, kScreen, kKeyboard, a, sel, "Tensions");
  EXPECT_EQ(sel, 0);
  EXPECT_EQ(t.shown(),
            " -->> Array input for Tensions\n\n\n"
            "  1)       1.0000  16)      16.0000\n  2)       2.0000  17)      17.0000\n"
            "  3)       3.0000  18)      18.0000\n  4)       4.0000  19)      19.0000\n"
            "  5)       5.0000  20)      20.0000\n  6)       6.0000\n  7)       7.0000\n  8)       8.0000\n"
            "  9)       9.0000\n 10)      10.0000\n 11)      11.0000\n 12)      12.0000\n 13)      13.0000\n"
            " 14)      14.0000\n 15)      15.0000\n \n Enter number of selection (\"H\" for help): ");
}

TEST(ArrayEntry, SelectionsEditFromTheChosenEntry) {
  struct Case {
    const char* what;
    std::string replies;
    std::vector<float> want;
    int screens;
  };
  const Case cases[] = {
      {"run ended by a blank", "2\n7.5\n8.5\n\n\n", {1, 7.5f, 8.5f, 4}, 2},
      {"run ended by an unreadable reply", "3\n9\nx\n\n", {1, 2, 9, 4}, 2},
      {"run ends after the last entry", "3\n9\n10\n\n", {1, 2, 9, 10}, 2},
      {"selection clamped to the last entry", "25\n6\n\n", {1, 2, 3, 6}, 2},
      {"commands only redisplay", "B\nJ3\n\n", {1, 2, 3, 4}, 3},
      {"help shows the no-help note", "?\n\n\n", {1, 2, 3, 4}, 2},
  };
  for (const auto& c : cases) {
    ScriptedSession t(c.replies);
    std::vector<float> a{1, 2, 3, 4};
    int sel = 5;
    arayin(t.s, 4, 20, kScreen, kKeyboard, a, sel, "X");
    EXPECT_EQ(a, c.want) << c.what;
    EXPECT_EQ(occurrences(t.shown(), "Array input"), c.screens) << c.what;
    EXPECT_EQ(occurrences(t.shown(), " ++> Sorry, no help for this page..."), c.replies[0] == '?') << c.what;
  }
}

// The replies of a whole fit: the count, each array (select entry 1, the
// values, leave) and the weighting answer.
std::string fit_replies(const std::string& count, const std::vector<float>& x, const std::vector<float>& y,
                        const std::string& weighting = "\n") {
  std::string r = count + "\n";
  for (const auto* v : {&x, &y}) {
    r += "1\n";
    for (float e : *v) r += std::to_string(e) + "\n";
    r += "\n";
  }
  return r + weighting;
}

// n tensions 10, 20, ... and the elongations of the strain law e = 0.001 T.
std::vector<float> tensions(int n) {
  std::vector<float> x;
  for (int i = 1; i <= n; ++i) x.push_back(10.0f * static_cast<float>(i));
  return x;
}
std::vector<float> linear_strain(const std::vector<float>& x) {
  std::vector<float> y;
  for (float t : x) y.push_back(0.001f * t);
  return y;
}

constexpr const char* kZeroNote =
    "\n A tension or elongation of zero is not allowed;\n a point at (0,0) is ASSUMED! - reenter arrays\n\n";
constexpr const char* kCountPrompt = " Enter number of data points (max 20, min 4; -1 to abort): ";

TEST(CurveFit, DialoguePaths) {
  const auto x4 = tensions(4);
  const auto y4 = linear_strain(x4);
  const auto x20 = tensions(20);
  struct Case {
    const char* what;
    std::string replies;
    bool fitted;  // coefficients become (0.001, 0, 0), else they stay
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"four points", fit_replies("4", x4, y4), true, {kCountPrompt, " Curve fit will be unweighted"}},
      {"three points are asked again", "3\n" + fit_replies("4", x4, y4), true, {kCountPrompt, kCountPrompt}},
      {"25 points are cut to 20", fit_replies("25", x20, linear_strain(x20)), true, {" 20)     200.0000"}},
      {"-1 aborts", "-1\n", false, {kCountPrompt}},
      {"a command aborts", "J5\n", false, {kCountPrompt}},
      {"blank at the first fit aborts", "\n", false, {kCountPrompt}},
      // A zero restarts at the count; a blank count keeps 4 and the arrays
      // keep their values, so only the wrong entry is typed again.
      {"zero tension restarts", fit_replies("4", {10, 0, 30, 40}, y4, "") + "\n2\n20\n\n\n\n\n", true,
       {kZeroNote, kCountPrompt, " Curve fit will be"}},
      {"zero elongation restarts", fit_replies("4", x4, {0.01f, 0.02f, 0.03f, 0.0f}, "") + "\n\n4\n0.04\n\n\n", true,
       {kZeroNote, kCountPrompt, " Curve fit will be"}},
      {"weighted by request", fit_replies("4", x4, y4, "C\n\n"), true,
       {" Curve fit will be unweighted", "weighted by 1/elongation; to CHANGE weighting method,\n"
                                         " enter \"C\"; otherwise press <Return> to continue:"}},
      {"equal tensions do not determine the fit", fit_replies("4", {50, 50, 50, 50}, y4) + "\n", false,
       {" ++> The curve fit failed: these points do not determine the coefficients\n"
        "     (are all tensions equal?); the coefficients are left unchanged.\n",
        "Press <RETURN> to continue: "}},
  };
  for (const auto& c : cases) {
    ScriptedSession t(c.replies);
    std::array<float, 3> coeff{7.0f, 8.0f, 9.0f};
    fitcrv(t.s, coeff, kScreen, kKeyboard);
    const std::array<float, 3> want = c.fitted ? std::array{0.001f, 0.0f, 0.0f} : std::array{7.0f, 8.0f, 9.0f};
    for (std::size_t j = 0; j < 3; ++j) EXPECT_NEAR(coeff[j], want[j], 1e-9f) << c.what;
    EXPECT_TRUE(shows_in_order(t.shown(), c.shown)) << c.what;
    EXPECT_EQ(t.in.peek(), EOF) << c.what;  // every reply was used
  }
}

TEST(CurveFit, WeightingModeStaysForTheNextFit) {
  // Strains that no cubic law fits exactly, so the two weightings differ.
  const auto x = tensions(5);
  const std::vector<float> y{0.01f, 0.03f, 0.04f, 0.07f, 0.08f};
  ScriptedSession t(fit_replies("5", x, y, "C\n\n") + fit_replies("", x, y, "\n"));
  std::array<float, 3> first{};
  fitcrv(t.s, first, kScreen, kKeyboard);
  const auto second_start = t.shown().size();
  std::array<float, 3> second{};
  fitcrv(t.s, second, kScreen, kKeyboard);
  EXPECT_NE(t.shown().find(" Curve fit will be weighted by 1/elongation", second_start), std::string::npos);
  EXPECT_EQ(first, second);

  std::vector<float> ratio;
  for (std::size_t i = 0; i < x.size(); ++i) ratio.push_back(y[i] / x[i]);
  std::array<float, 3> weighted{};
  std::array<float, 3> plain{};
  float chisqr = 0.0f;
  polfit(x, ratio, {}, 5, 3, kFitWeightByValue, weighted, chisqr);
  polfit(x, ratio, {}, 5, 3, kFitUnweighted, plain, chisqr);
  EXPECT_EQ(second, weighted);
  EXPECT_NE(second, plain);
}

}  // namespace
}  // namespace kelp
