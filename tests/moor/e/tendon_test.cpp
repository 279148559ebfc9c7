#include "moor/e/tendon.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>

#include "edlib/record/data_record.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

struct Subline {
  float length;
  float weight;
  std::array<float, 3> a;
};

// Line type 1 of a two-leg mooring, its first line being line 1: anchor
// depth 1000 ft, mean draft 50 ft, fairlead 10 ft below the keel datum, so
// the span is 940 ft; pretension 200 kips given as fairlead tension.
constexpr double kSpan = 940.0;
constexpr double kTension = 200.0;

void build(Tpcm& r, std::initializer_list<Subline> sublines) {
  r.i(kOutputUnit) = kScreen;
  r.i(kMooringLegs) = 2;
  r.i(kProfileMode) = 2;
  r.i(*type_line_word(1, 1)) = 1;
  r.set_r(*anchor_depth_word(1), 1000.0f);
  r.set_r(1411, 50.0f);
  r.set_r(*fairlead_word(1, 3), -10.0f);
  r.set_r(*profile_value_word(1), static_cast<float>(kTension));
  int s = 0;
  for (const auto& sub : sublines) {
    ++s;
    r.set_r(*element_word(ElementField::kLength, s, 1), sub.length);
    r.set_r(*element_word(ElementField::kImmersedWeight, s, 1), sub.weight);
    for (int c = 1; c <= 3; ++c) r.set_r(*compliance_word(s, 1, c), sub.a[static_cast<std::size_t>(c - 1)]);
  }
  r.i(*type_sublines_word(1)) = s;
}

float fairlead_length(const Tpcm& r) { return r.r(*element_word(ElementField::kLength, 1, 1)); }

// Composite Simpson rule of g over [0, b] with n (even) intervals.
double simpson(const std::function<double(double)>& g, double b, int n = 4000) {
  const double h = b / n;
  double sum = g(0.0) + g(b);
  for (int i = 1; i < n; ++i) sum += (i % 2 ? 4.0 : 2.0) * g(i * h);
  return sum * h / 3.0;
}

// Stretched length of the type by quadrature along each subline.
double stretched(const Tpcm& r) {
  double top = kTension;
  double total = 0.0;
  for (int s = 1; s <= r.i(*type_sublines_word(1)); ++s) {
    const double L = r.r(*element_word(ElementField::kLength, s, 1));
    const double w = r.r(*element_word(ElementField::kImmersedWeight, s, 1));
    std::array<double, 3> a{};
    for (int c = 1; c <= 3; ++c) a[static_cast<std::size_t>(c - 1)] = r.r(*compliance_word(s, 1, c));
    total += simpson(
        [&](double u) {
          const double t = std::fabs(top - w * u);
          return 1.0 + a[0] * t + a[1] * t * t + a[2] * t * t * t;
        },
        L);
    top -= w * L;
  }
  return total;
}

TEST(TendonSolver, SpansTheDepth) {
  // One linear subline: L + a1 (T0 L - w L^2 / 2) = D, the smaller root of
  // (a1 w / 2) L^2 - (1 + a1 T0) L + D = 0.
  const double a1 = 1e-4;
  const double w = 0.05;
  const double b = 1.0 + a1 * kTension;
  const double closed = (b - std::sqrt(b * b - 2.0 * a1 * w * kSpan)) / (a1 * w);
  {
    ScriptedSession t;
    build(t.s.tpcm, {{1.0f, 0.05f, {1e-4f, 0, 0}}});
    tendndp(t.s, 1);
    EXPECT_NEAR(fairlead_length(t.s.tpcm), closed, 0.01);
    EXPECT_EQ(t.shown(), "");
  }
  // Two sublines with cubic laws, checked by quadrature of the stretch.
  ScriptedSession t;
  build(t.s.tpcm, {{1.0f, 0.08f, {2e-4f, -1e-7f, 1e-10f}}, {400.0f, 0.03f, {5e-5f, 2e-8f, 0}}});
  tendndp(t.s, 1);
  EXPECT_GT(fairlead_length(t.s.tpcm), 400.0f);
  EXPECT_NEAR(stretched(t.s.tpcm), kSpan, 0.01);
  EXPECT_EQ(t.shown(), "");
}

const std::string kAbortPrompt = "\a Enter \"A\" to abort or Press <RETURN> to continue: ";
const std::string kByTension =
    " ++> WARNING: Pretension specification must be determined by \n"
    "     fairlead tension for the exercise of this help option...\n" + kAbortPrompt;
const std::string kInelastic = " ++> WARNING: This line type is totally inelastic...\n" + kAbortPrompt;
const std::string kWait = " Press <Return> to Continue...\n";
const std::string kBadLine = " ++> This line type has no valid first line number; nothing is changed.\n" + kWait;

TEST(TendonSolver, WarningsAndRefusals) {
  const Subline elastic{1.0f, 0.05f, {1e-4f, 0, 0}};
  const Subline rigid_top{1.0f, 0.05f, {0, 0, 0}};
  const Subline rigid_rest{300.0f, 0.05f, {0, 0, 0}};
  struct Case {
    const char* what;
    std::initializer_list<Subline> sublines;
    std::function<void(Tpcm&)> edit;
    std::string replies;
    std::string shown;  // the whole screen
    float length;       // subline 1 afterwards: 1 the record unchanged, -1 solved
  };
  const auto none = [](Tpcm&) {};
  const auto first_line = [](int line, int legs) {
    return [=](Tpcm& r) {
      r.i(*type_line_word(1, 1)) = line;
      r.i(kMooringLegs) = legs;
    };
  };
  const Case cases[] = {
      {"profile not by tension, aborted", {elastic}, [](Tpcm& r) { r.i(kProfileMode) = 0; }, "A\n", kByTension, 1},
      {"profile not by tension, continued", {elastic}, [](Tpcm& r) { r.i(kProfileMode) = 1; }, "\n", kByTension, -1},
      {"pretension not positive, aborted", {elastic}, [](Tpcm& r) { r.set_r(*profile_value_word(1), 0.0f); }, "a\n",
       " ++> WARNING: The specified pretension for this line type is not positive\n" + kAbortPrompt, 1},
      {"inelastic, aborted", {rigid_top, rigid_rest}, none, "A\n", kInelastic, 1},
      {"inelastic, continued", {rigid_top, rigid_rest}, none, "\n", kInelastic, 640},
      {"inelastic, the other sublines already reach the anchor", {rigid_top, {940.0f, 0.05f, {0, 0, 0}}}, none,
       "\n\n", kInelastic + " ++> No positive fairlead subline length spans this depth; nothing is changed.\n" + kWait,
       1},
      {"line number 0", {elastic}, first_line(0, 2), "\n", kBadLine, 1},
      {"line number above the lines in use", {elastic}, first_line(3, 2), "\n", kBadLine, 1},
      {"line number beyond the tables", {elastic}, first_line(151, 100000), "\n", kBadLine, 1},
      {"no sublines", {elastic}, [](Tpcm& r) { r.i(*type_sublines_word(1)) = 0; }, "\n",
       " ++> This line type has no sublines; nothing is changed.\n" + kWait, 1},
      // The lower subline alone stretches past the anchor: no bracket.
      {"bounds error", {elastic, {900.0f, 0.05f, {1e-3f, 0, 0}}}, none, "\n", "++> Bounds error in TENDON \n" + kWait,
       1},
  };
  for (const auto& c : cases) {
    ScriptedSession t(c.replies);
    build(t.s.tpcm, c.sublines);
    c.edit(t.s.tpcm);
    const Tpcm before = t.s.tpcm;
    tendndp(t.s, 1);
    EXPECT_EQ(t.shown(), c.shown) << c.what;
    EXPECT_EQ(t.in.peek(), EOF) << c.what;
    if (c.length == 1.0f) {
      EXPECT_TRUE(t.s.tpcm == before) << c.what;
    } else if (c.length > 1.0f) {
      EXPECT_FLOAT_EQ(fairlead_length(t.s.tpcm), c.length) << c.what;
    } else {
      EXPECT_NEAR(stretched(t.s.tpcm), kSpan, 0.01) << c.what;
    }
  }
}

}  // namespace
}  // namespace kelp
