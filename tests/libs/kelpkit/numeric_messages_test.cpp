#include "kelpkit/numeric_messages.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "kelpkit/wave_formulas.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

TEST(ElpcofMessages, MemberWarningShowsOnceAndWaits) {
  ScriptedSession t("\n");
  float coef = 0.0f;
  int warned = 0;
  elpcof(t.s, 1.0f, 1.0f, 7501, 1, coef, kScreen, kKeyboard, warned, 12);
  EXPECT_EQ(warned, 1);
  EXPECT_NEAR(coef, 2.0f / 3.0f, 1e-4f);
  const std::string expected =
      "\n"
      " ++> Warning: Member 12 requires   7502 integration points\n"
      "              in ELPCOF; this may result in pathological mass coefficients.\n"
      "              Consider using a less eccentric member model; this will not\n"
      "              appreciably affect your added mass estimates.\n";
  // The warning, then the RETURN wait.
  const std::string shown = t.shown();
  EXPECT_EQ(shown.substr(0, expected.size()), expected);
  EXPECT_NE(shown.find("Press <RETURN> to continue: ", expected.size()), std::string::npos);

  // A second member with the flag set: no warning, no wait.
  elpcof(t.s, 1e-30f, 1.0f, 0, 2, coef, kScreen, kKeyboard, warned, 13);
  EXPECT_EQ(t.shown(), shown);
}

TEST(ElpcofMessages, BodyWarningWithoutMember) {
  ScriptedSession t("\n");
  float coef = 0.0f;
  int warned = 0;
  elpcof(t.s, 1e-30f, 1.0f, 0, 1, coef, kScreen, kKeyboard, warned, 0);
  EXPECT_NE(t.shown().find("\n ++> Warning: A highly eccentric body requires2000000 integration points\n"
                           "              in ELPCOF; this may result in pathological mass coefficients.\n"
                           "              Contact Brenvik to report this message.\n"),
            std::string::npos)
      << t.shown();
}

TEST(ElpcofMessages, SilentRunDoesNotWait) {
  ScriptedSession t("");  // no replies at all: a wait would end the input
  float coef = 0.0f;
  int warned = 0;
  elpcof(t.s, 1.0f, 1.0f, 9001, 1, coef, kSilentUnit, kKeyboard, warned, 3);
  EXPECT_EQ(warned, 1);
  EXPECT_EQ(t.shown(), "");
}

TEST(WavvecMessages, BadArgumentReturnsWithoutStopping) {
  ScriptedSession t("");
  float kh = 3.0f;
  EXPECT_EQ(wavvec(t.s, std::nanf(""), kh), kWaveBadArgument);
  EXPECT_EQ(kh, 0.0f);
  EXPECT_EQ(wavvec(t.s, 1.0f, kh), kWaveOk);
  EXPECT_GT(kh, 1.0f);
  EXPECT_EQ(t.shown(), "");
}

TEST(JonsvalMessages, QuietOnSuccess) {
  ScriptedSession t("");
  float val = 0.0f;
  EXPECT_EQ(jonsval(t.s, 0.07f, 0.09f, 1.0f, val, kScreen), kJonsvalOk);
  EXPECT_EQ(val, 0.2f);
  EXPECT_EQ(jonsval(t.s, 0.07f, 0.09f, 0.0f, val, kScreen), kJonsvalBadArgument);
  EXPECT_EQ(t.shown(), "");
}

}  // namespace
}  // namespace kelp
