#include "edlib/model/tanker.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

// Worked by hand (double precision) from the model's formulas for a tanker of
// 100,000 long tons deadweight at a simulation draft of 40 ft:
//   W1 = 0.0422 DWT = 4220;  W2 = 6.78 DWT^(2/3) = 14607.1;  LS = 18827.1
//   DF = 118827;  VF = 35 DF = 4.15895e6 ft^3;  C = VF^(1/3) = 160.815
//   D = 0.4039 C = 64.9534;  Tmax = 0.01673 sqrt(VF) + 13.32 - 1.502e-7 VF = 46.8136
//   B = 0.25 C^2 / Tmax = 138.109;  CB = 0.807304;  CW = 0.895336;  e = 0.803355
//   L = VF / (Tmax CB B) = 796.803;  AF = 98528;  FF = D - Tmax = 18.1397
//   x = T / Tmax = 0.854452;  V = VF volfun(x) = 3.49722e6;  displacement = V / 35 = 99920.6
//   cargo = 81093.5;  freeboard F = 24.9534
//   loads: freeboard 100 FF / F = 72.6945, draft 85.4452, displacement 84.0891
//   A = alpha(T) AF = 95708;  CWT = 0.86971;  CBT = 0.794491
//   VKB = 20.6312;  VKG = 32.9662;  KMT = 60.8729;  KML = 1140.41
//   gyradii: roll 46.3596, pitch 208.996, yaw 212.11
//   wind areas 9032.45 and 25456;  current areas T B = 5524.37 and T L = 31872.1
//   bilge radius 0.07 B = 9.66766;  displacement in kips 2.24 x 99920.6 = 223822
// The minimum draft ratio solves volfun(x) = LS/DF in closed form: x = 0.174122.
TEST(TankerEstimates, MatchHandComputationForKnownTanker) {
  ScriptedSession t;
  TankerSet set{};
  set[kTkDeadweight] = 100000.0f;
  set[kTkDraft] = 40.0f;
  ASSERT_EQ(estim8(t.s, set, kScreen, kKeyboard, 0), EstimateStatus::kDone);
  auto near = [](float got, double want) { EXPECT_NEAR(got, want, std::abs(want) * 2e-4) << want; };
  near(set[kTkDisplacement], 223822);
  near(set[kTkDisplacementLoad], 84.0891);
  near(set[kTkLength], 796.803);
  near(set[kTkBeam], 138.109);
  near(set[kTkDraft], 40.0);
  near(set[kTkRollGyradius], 46.3596);
  near(set[kTkPitchGyradius], 208.996);
  near(set[kTkYawGyradius], 212.11);
  near(set[kTkWaterplaneArea], 95708);
  near(set[kTkHeadCurrentArea], 5524.37);
  near(set[kTkBeamCurrentArea], 31872.1);
  near(set[kTkFreeboardLoad], 72.6945);
  near(set[kTkDraftLoad], 85.4452);
  near(set[kTkTransverseKM], 60.8729);
  near(set[kTkLongitudinalKM], 1140.41);
  near(set[kTkVKB], 20.6312);
  near(set[kTkVKG], 32.9662);
  near(set[kTkBilgeRadius], 9.66766);
  near(set[kTkDeadweight], 100000);
  near(set[kTkHeadWindArea], 9032.45);
  near(set[kTkBeamWindArea], 25456);
  EXPECT_EQ(t.shown(), "");  // no warning on the way
}

TEST(TankerEstimates, HullFunctionsMeetTheirEnds) {
  EXPECT_FLOAT_EQ(volfun(0.0f, 0.8f), 0.0f);
  EXPECT_FLOAT_EQ(volfun(1.0f, 0.8f), 1.0f);
  EXPECT_FLOAT_EQ(alpha(46.0f, 0.8f, 46.0f), 1.0f);
  EXPECT_FLOAT_EQ(nulfun(1.0f, 0.8f, 0.25f), -0.75f);
}

TEST(TankerEstimates, MetricDraftAndUnits) {
  ScriptedSession t;
  TankerSet set{};
  set[kTkDeadweight] = 100000.0f;
  set[kTkDraft] = 40.0f * 0.3048f;
  ASSERT_EQ(estim8(t.s, set, kScreen, kKeyboard, 1), EstimateStatus::kDone);
  EXPECT_NEAR(set[kTkLength], 796.803 * 0.3048, 0.05);
  EXPECT_NEAR(set[kTkWaterplaneArea], 95708 * 0.09290304, 2.0);
  EXPECT_NEAR(set[kTkDisplacement], 99920.6 * 1.0160469, 20.0);
  EXPECT_NEAR(set[kTkDraftLoad], 85.4452, 0.02);  // percentages are not converted
}

TEST(TankerEstimates, SmallDeadweightIsRaisedOrAborted) {
  {
    ScriptedSession t("\n");
    TankerSet set{};
    set[kTkDeadweight] = 1000.0f;
    set[kTkDraft] = 10.0f;
    ASSERT_EQ(estim8(t.s, set, kScreen, kKeyboard, 0), EstimateStatus::kDone);
    EXPECT_EQ(set[kTkDeadweight], 2000.0f);
    EXPECT_NE(t.shown().find(" ++> Requested deadweight is less than 2000 long tons.\n"
                             "     To continue, the deadweight will be replaced by 2000...\n"),
              std::string::npos);
  }
  {
    ScriptedSession t("A\n");
    TankerSet set{};
    set[kTkDeadweight] = 1000.0f;
    set[kTkDraft] = 10.0f;
    set[kTkBeam] = 77.0f;
    const TankerSet before = set;
    EXPECT_EQ(estim8(t.s, set, kScreen, kKeyboard, 0), EstimateStatus::kAborted);
    EXPECT_EQ(set, before);
  }
}

TEST(TankerEstimates, DraftAboveMaximumBecomesMaximum) {
  ScriptedSession t("\n");
  TankerSet set{};
  set[kTkDeadweight] = 100000.0f;
  set[kTkDraft] = 60.0f;
  ASSERT_EQ(estim8(t.s, set, kScreen, kKeyboard, 0), EstimateStatus::kDone);
  EXPECT_NEAR(set[kTkDraft], 46.8136, 0.01);
  EXPECT_FLOAT_EQ(set[kTkDraftLoad], 100.0f);
  EXPECT_NEAR(set[kTkDisplacementLoad], 100.0f, 1e-3);
  EXPECT_NE(t.shown().find(" ++> Requested draft is greater than the maximum\n"
                           "     allowed draft for the specified deadweight...\n"
                           "     To continue, the draft will be replaced by \n"
                           "     the maximum allowable value\n"),
            std::string::npos);
}

TEST(TankerEstimates, AbortAfterDraftWarningKeepsPreviousSet) {
  ScriptedSession t("a\n");
  TankerSet set{};
  set[kTkDeadweight] = 100000.0f;
  set[kTkDraft] = 1.0f;  // below the lightship draft
  set[kTkBeam] = 12.0f;
  set[kTkLength] = 99.0f;
  const TankerSet before = set;
  EXPECT_EQ(estim8(t.s, set, kScreen, kKeyboard, 0), EstimateStatus::kAborted);
  EXPECT_EQ(set, before);
  EXPECT_NE(t.shown().find(" ++> Requested draft is less than the minimum\n"), std::string::npos);
}

TEST(TankerEstimates, AbsurdDeadweightIsRefused) {
  ScriptedSession t("\n");
  TankerSet set{};
  set[kTkDeadweight] = 1e12f;
  set[kTkDraft] = 40.0f;
  const TankerSet before = set;
  EXPECT_EQ(estim8(t.s, set, kScreen, kKeyboard, 0), EstimateStatus::kRefused);
  EXPECT_EQ(set, before);
  EXPECT_NE(t.shown().find("too large for the tanker database"), std::string::npos);
}

TEST(TankerReply, DecodesLettersNumbersAndCommands) {
  std::string letters;
  {
    ScriptedSession t("a,g,q\n");
    EXPECT_EQ(entest(t.s, kScreen, kKeyboard, letters), -1);
    EXPECT_EQ(letters, "AGQ ");
    EXPECT_EQ(t.shown(),
              "\n >>> Change items 1 or 2 for new estimates or input letter(s) (\"ACD...\")\n"
              "     to select individual replacements (or \"Z\" to replace all);\n"
              "     \"?\" for help, <Return> to continue WITHOUT replacement: ");
  }
  {
    ScriptedSession t("AZ\n");
    EXPECT_EQ(entest(t.s, kScreen, kKeyboard, letters), -1);
    EXPECT_EQ(letters, "A ");
  }
  for (auto [reply, code] : {std::pair<const char*, int>{"zebra\n", -1977},
                             {"?\n", -1978},
                             {"\n", 0},
                             {"1\n", 1},
                             {"12\n", 12},
                             {"1x\n", 0}}) {
    ScriptedSession t(reply);
    EXPECT_EQ(entest(t.s, kScreen, kKeyboard, letters), code) << reply;
  }
}

class TankerPage : public ::testing::Test {
 protected:
  void prepare(ScriptedSession& t, int units) {
    Tpcm& r = t.s.tpcm;
    r.i(116) = units;
    r.i(702) = kScreen;
    r.set_r(1665, 100000.0f / tanker_deadweight_factor(units));
    r.set_r(1411, units == 1 ? 40.0f * 0.3048f : 40.0f);
    r.set_r(1408, 5.0f);
    r.set_r(1413, 6.0f);
    r.set_r(1410, 7.0f);
    r.set_r(1419, 8.0f);
  }
};

TEST_F(TankerPage, LetterListCopiesOnlyItsLetters) {
  ScriptedSession t("a,g,q\n");
  prepare(t, 0);
  tanker(t.s);
  const TankerSet& set = t.s.state<TankerState>().set;
  EXPECT_EQ(t.s.tpcm.i(699), -1);
  EXPECT_EQ(t.s.tpcm.r(1408), set[kTkDisplacement]);
  EXPECT_EQ(t.s.tpcm.r(1413), set[kTkPitchGyradius]);
  EXPECT_EQ(t.s.tpcm.r(1410), set[kTkVKG]);
  EXPECT_EQ(t.s.tpcm.r(1419), 8.0f);  // beam not asked for
}

TEST_F(TankerPage, DeadweightReturnsInRecordUnits) {
  for (int units : {0, 1}) {
    ScriptedSession t("S\n");
    prepare(t, units);
    t.s.tpcm.set_r(1665, 0.0f);
    t.s.tpcm.set_r(1411, 0.0f);  // nothing to estimate: the record's values show
    tanker(t.s);
    EXPECT_EQ(t.s.tpcm.r(1665), 0.0f);
  }
  ScriptedSession t("1\n150000\nS\n");
  prepare(t, 1);
  tanker(t.s);
  EXPECT_FLOAT_EQ(t.s.tpcm.r(1665), 150000.0f / 0.9842f);
}

TEST_F(TankerPage, ScreenShowsTheSetInColumns) {
  ScriptedSession t("\n");
  prepare(t, 0);
  tanker(t.s);
  const std::string screen = t.shown();
  EXPECT_NE(screen.find("\n >>> Independent variables for     1. Deadweight (DWT)....  100000. Long Tons\n"
                        "     tanker property estimates:    2. Simulation Draft ...   40.00  feet           \n"),
            std::string::npos)
      << screen;
  EXPECT_NE(screen.find("\nA. Vessel Displacement     223822. Kips   L. Freeboard-based load...    72.7%\n"
                        "B. Displacement-based load     84.1%      M. Draft-based load.......    85.4%\n"),
            std::string::npos)
      << screen;
  EXPECT_NE(screen.find("\nH. Yaw Gyradius ..........   212.11\n"), std::string::npos) << screen;
  EXPECT_EQ(t.s.tpcm.r(1408), 5.0f);  // empty reply: nothing copied
}

TEST_F(TankerPage, SetPersistsBetweenVisitsAndFollowsUnitSwitch) {
  ScriptedSession t("2\n30\n\n\n");
  prepare(t, 0);
  tanker(t.s);  // draft changed to 30 ft, then left without copying
  EXPECT_EQ(t.s.state<TankerState>().set[kTkDraft], 30.0f);
  tanker(t.s);  // second visit: the previous set, not the record's 40 ft
  EXPECT_EQ(t.s.state<TankerState>().set[kTkDraft], 30.0f);

  ScriptedSession m("\n");
  prepare(m, 0);
  m.s.state<TankerState>() = t.s.state<TankerState>();
  m.s.tpcm.i(116) = 1;  // the record was switched to metric since
  m.s.tpcm.set_r(1411, 12.0f);
  tanker(m.s);
  EXPECT_NEAR(m.s.state<TankerState>().set[kTkDraft], 12.0f, 0.1f);
  EXPECT_EQ(m.s.state<TankerState>().filled_units, 1);
}

TEST_F(TankerPage, UnfinishedEstimateKeepsThePreviousSetWithItsVariables) {
  // A draft of 1 ft lies below the lightship draft: the user aborts at the
  // warning. An absurd deadweight is refused. Either way the page goes on
  // with the set of the last finished estimate (deadweight 100000, draft 40).
  ScriptedSession t("2\n1\nA\n1\n1e12\n\n\n");
  prepare(t, 0);
  tanker(t.s);
  const TankerSet& set = t.s.state<TankerState>().set;
  EXPECT_EQ(set[kTkDeadweight], 100000.0f);
  EXPECT_EQ(set[kTkDraft], 40.0f);
  EXPECT_NEAR(set[kTkLength], 796.803, 0.2);
  EXPECT_NEAR(set[kTkDraftLoad], 85.4452, 0.02);
  const std::string shown = t.shown();
  EXPECT_NE(shown.find(" ++> Requested draft is less than the minimum\n"), std::string::npos);
  EXPECT_NE(shown.find(" ++> Requested deadweight is too large for the tanker database."), std::string::npos);
  // The last drawing of the page shows the kept set.
  const std::string last = shown.substr(shown.rfind(" >>> Independent variables for"));
  EXPECT_NE(last.find("1. Deadweight (DWT)....  100000. Long Tons"), std::string::npos) << last;
  EXPECT_NE(last.find("2. Simulation Draft ...   40.00  feet"), std::string::npos) << last;
  EXPECT_EQ(t.s.tpcm.r(1408), 5.0f);  // nothing copied
}

}  // namespace
}  // namespace kelp
