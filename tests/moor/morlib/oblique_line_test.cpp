#include "moor/morlib/oblique_line.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "moor/line_fixture.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::Element;
using testing::ScriptedSession;

constexpr int kType = 3;
constexpr int kMean = 46;  // table point of the mean range
constexpr float kRange = 2.0f;  // small, so that a probe step keeps its digits in the sum

// Load tables of one layer column whose top tension is t0 + S d + Q d^2 at
// range offset d from the mean range (table points every dx), with the
// horizontal tension rising by 0.2 per point from 20 at the mean range.
struct Tables {
  ScriptedSession t;
  std::unique_ptr<Lincom> lc = std::make_unique<Lincom>();
  LineType lt = testing::line_type_of(testing::as_stored({{500.0, 0.08, {1.0 / 2e4, 0, 0}}}), 1, kType);
  ObliqueInput in;

  Tables(float t0, float S, float Q, float dx, std::string replies = "") : t(std::move(replies)) {
    t.s.tpcm.set_r(kMaxTableLoad, 100.0f);
    lc->ref_tension[kType - 1] = 10.0f;
    for (int j = 1; j <= kTablePoints; ++j) {
      const float d = dx * static_cast<float>(j - kMean);
      const std::size_t at = Lincom::table_index(j, 1, kType);
      lc->tension_points[static_cast<std::size_t>(j - 1)] = 20.0f + 0.2f * static_cast<float>(j - kMean);
      lc->range_table[at] = kRange + d;
      lc->top_tension_table[at] = t0 + S * d + Q * d * d;
      lc->top_angle_table[at] = 0.3f;
    }
    in.spacing = 10.0f;
    in.line = 5;
    in.range = kRange;
    in.amplitude = 1.0f;
    in.kcat = 100.0f;
    in.ke = 1e4f;
    in.out = kScreen;
    in.in = kKeyboard;
  }
  ObliqueOutput run() {
    ObliqueOutput r;
    foblq(t.s, *lc, lt, in, r);
    return r;
  }
  int count(const std::string& text) const {
    const std::string shown = t.shown();
    int n = 0;
    for (auto p = shown.find(text); p != std::string::npos; p = shown.find(text, p + 1)) ++n;
    return n;
  }
};

TEST(Foblq, QuadraticLawFromTheTables) {
  // Tension linear in range with slope S: the catenary part of a move a is
  // y = a (1 - S/Ke), so KCATO = S / (1 - S/Ke) and the law has no square term.
  // The probe's dT/a is S wherever a probe is made. The elastic sentinel is
  // probed too: ks = 1/(1/1.23e23 + 1/1e4) = 1e4, ks 0.01 / 40 = 2.5 > 0.01,
  // so a = 0.01, dT = 50 x 0.01 = 0.5 and dT/a = 50. Without a catenary
  // stiffness or a mean tension there is no probe and dT/a stays 0.
  const float S = 50.0f, ke = 1e4f;
  const float linear = 1.0f / (1.0f / S - 1.0f / ke);
  struct Case {
    const char* name;
    float kcat, amplitude, t0;
    float kcato, y;  // y for +A
    float probe;     // dT/a of the probe
    bool square_free;
  };
  const Case cases[] = {
      {"linear table", 60.0f, 2.0f, 40.0f, linear, 2.0f * (1.0f - S / ke), S, true},
      {"no motion", 60.0f, 0.0f, 40.0f, linear, 0.0f, S, true},
      {"elastic sentinel", kElasticSentinel, 2.0f, 40.0f, kElasticSentinel, 0.0f, 50.0f, true},
      {"no catenary stiffness", 0.0f, 2.0f, 40.0f, 0.0f, 0.0f, 0.0f, true},
      // No probe: KCATO is KCAT, and the square term takes up the difference.
      {"no mean tension", 60.0f, 2.0f, 0.0f, 60.0f, 2.0f * (1.0f - S / ke), 0.0f, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tables tab(c.t0, S, 0.0f, 0.05f, "\n");
    tab.in.ke = ke;
    tab.in.kcat = c.kcat;
    tab.in.amplitude = c.amplitude;
    const ObliqueOutput r = tab.run();
    EXPECT_NEAR(r.kcato, c.kcato, 1e-4f * std::fabs(c.kcato));
    EXPECT_NEAR(r.y_plus, c.y, 1e-5f);
    EXPECT_NEAR(r.y_minus, -c.y, 1e-5f);
    EXPECT_NEAR(r.static_stiffness, c.probe, 1e-3f);
    // The square term is lost in the rounding of the tension change.
    if (!c.square_free) continue;
    EXPECT_NEAR(r.s_plus * c.y * c.y, 0.0f, 1e-4f * S * c.amplitude);
    EXPECT_NEAR(r.s_minus * c.y * c.y, 0.0f, 1e-4f * S * c.amplitude);
    EXPECT_GT(r.h, 0.0f);
  }
}

TEST(Foblq, ProbeStep) {
  // Mean tension 1 and a series stiffness of exactly 1 (KCAT = Ke = 2): the
  // first step 0.01 changes the tension by exactly 1 % and is refused. The
  // tension 1 + 0.5 d + 10 d^2 on points 0.01 apart shows the step taken in
  // dT/a = 0.5 + 10 a.
  struct Case {
    float k;
    float step;
  };
  for (const Case& c : {Case{2.0f, 0.02f}, Case{2.001f, 0.01f}}) {
    Tables tab(1.0f, 0.5f, 10.0f, 0.01f, "\n");
    tab.in.kcat = tab.in.ke = c.k;
    EXPECT_NEAR(tab.run().static_stiffness, 0.5f + 10.0f * c.step, 1e-3f) << c.step;
  }
  // A stiffness too small for any step of 100: the warning and the abort
  // question; any answer but "A" takes the probe as elastic.
  Tables tab(1.0f, 0.5f, 0.0f, 0.05f, "\n");
  tab.in.kcat = 1e-31f;
  tab.in.ke = 1.0f;
  const ObliqueOutput r = tab.run();
  EXPECT_EQ(r.kcato, 1e-31f);
  EXPECT_EQ(r.static_stiffness, 0.0f);
  EXPECT_NE(tab.t.shown().find("\n ++> Warning: DO-loop overflow in FOBLQ (label 49).\n\n"), std::string::npos);
  Tables stop(1.0f, 0.5f, 0.0f, 0.05f, "A\n");
  stop.in.kcat = 1e-31f;
  EXPECT_THROW(stop.run(), ProgramStop);
}

TEST(Foblq, NoHorizontalTensionHangsTheLine) {
  // The move -A takes the range far below the table: the tension
  // extrapolates below 0 and the line hangs over the fairlead's depth,
  // 4 - 1 + 97 = 100, carrying the weight of its hanging length s, where
  // s (1 + a1 w s / 2) = 100.
  Tables tab(40.0f, 50.0f, 0.0f, 0.05f);
  tab.in.amplitude = 8.0f;
  tab.in.fairlead_z = 4.0f;
  tab.in.z_ref = 1.0f;
  tab.lt.anchor_depth = 97.0f;
  const ObliqueOutput r = tab.run();
  const Element e = testing::as_stored({{500.0, 0.08, {1.0 / 2e4, 0, 0}}})[0];
  const double s = testing::bisect([&](double v) { return v + e.a[0] * e.w * v * v / 2.0; }, 100.0, 0.0, e.L);
  EXPECT_EQ(r.h, 0.0f);
  EXPECT_NEAR(r.v, -e.w * s, 1e-4);
}

TEST(Foblq, WarningsOncePerRunAndTheirAnswers) {
  const std::string kcat = " ++> Warning: KCAT, KCATO differ in FOBLQ for line #";
  const std::string ignore = "              Enter 99 to ignore additional ocurrences of this condition OR...\n\n";
  // KCAT far from the tables' 50: warned for a line, not again for the same
  // line; silenced by 99.
  Tables tab(40.0f, 50.0f, 0.0f, 0.05f, "\n99\n");
  for (const int line : {1, 1, 2, 3}) {
    tab.in.line = line;
    tab.in.kcat = 200.0f;
    tab.run();
  }
  EXPECT_EQ(tab.count(kcat), 2);
  EXPECT_NE(tab.t.shown().find("\n" + kcat + "  1\n" + ignore), std::string::npos);
  // In a silent run the answer is 99 at once.
  Tables silent(40.0f, 50.0f, 0.0f, 0.05f);
  silent.in.out = kSilentUnit;
  silent.in.kcat = 200.0f;
  silent.run();
  EXPECT_FALSE(silent.t.s.state<ObliqueWarnings>().kcat_enabled);

  // A fairlead moved out of the span, and a falling tension (KCATO below 0):
  // each said once per run.
  Tables span(40.0f, -20.0f, 0.0f, 0.05f, "\n\n\n\n\n");
  span.in.cx = 0.6f;
  span.in.cz = 0.8f;
  for (const int line : {1, 2}) {
    span.in.line = line;
    span.run();
  }
  EXPECT_EQ(span.count(" ++> Warning: A vertical translation of amount"), 1);
  EXPECT_NE(span.t.shown().find("\n ++> Warning: A vertical translation of amount   0.01 has carried\n"
                                "     fairlead number  1 (and possibly others) outside the bounds of the\n"
                                "     specified vertical interpolation span in FOBLQ.\n"
                                "     Consider increasing the span before continuing simulation.\n\n"),
            std::string::npos);
  EXPECT_EQ(span.count("\n ++> Warning: Singular KCATO in line  1; routine FOBLQ.\n" + ignore), 1);
  EXPECT_EQ(span.count("Singular"), 1);
  // Line numbers above 99 take three digits.
  Tables far(40.0f, 50.0f, 0.0f, 0.05f, "\n");
  far.in.cz = 0.8f;
  far.in.kcat = 50.0f;
  far.in.line = 120;
  far.run();
  EXPECT_EQ(far.count("     fairlead number 120 (and possibly others) outside the bounds of the\n"), 1);

  // A law bending down hard (s < 0, |s y / KCAT| and |dT / T0| above 1/2
  // for the move -2): the SIGCQ warning, once per line in a row.
  Tables bend(10.0f, 10.0f, -5.0f, 0.05f, "\n\n");
  bend.in.kcat = 10.0f;
  bend.in.ke = 1e6f;
  bend.in.amplitude = 2.0f;
  for (const int line : {7, 7, 120}) {
    bend.in.line = line;
    const ObliqueOutput r = bend.run();
    EXPECT_LT(r.s_minus, 0.0f);
  }
  EXPECT_EQ(bend.count("\n ++> Warning: Singular SIGCQ in line  7; routine FOBLQ.\n" + ignore), 1);
  EXPECT_EQ(bend.count("\n ++> Warning: Singular SIGCQ in line120; routine FOBLQ.\n" + ignore), 1);
}

}  // namespace
}  // namespace kelp
