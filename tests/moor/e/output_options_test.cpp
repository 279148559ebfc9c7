// Pages 20 and 21, the output options: which items each kind shows and
// accepts, the rotation of the global system against hand-computed values,
// the exchange of the vessel blocks, the exclusion list, the menus of page
// 21 and the help notes.
#include "moor/e/output_options.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "edlib/pagekit/square_law_help.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::iw;
using testing::kReturn;
using testing::PageCase;
using testing::rw;

void page20(Session& s) { morot1(s, "20"); }
void page21(Session& s) { morot2(s, "21"); }

// Block A with wave-frequency dynamics, and waves (irregular seas).
const testing::Words kBlockA = {iw(kLowFrequencyOn, 1), iw(kWaveFrequencyOn, 1), iw(kIrregularOn, 1),
                                iw(kMooringLegs, 12)};

testing::Words with(testing::Words a, const testing::Words& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// ---- Page 20: show and accept rules by kind ----

struct ItemRule {
  const char* name;
  int kind;
  testing::Words preset;
  int item;
  std::size_t word;
  bool accepted;  // selecting the item flips its word
};

TEST(OutputOptions1, ItemsAreAcceptedByTheirOwnRulesWhetherShownOrNot) {
  const std::vector<ItemRule> rules = {
      {"quiescent equilibrium, kind 8", 8, {}, 3, kQuiescentEquilibrium, true},
      {"quiescent equilibrium, kind 15", 15, {}, 3, kQuiescentEquilibrium, false},
      {"low-frequency output hidden without block A", 15, {}, 5, kOutputLowFrequency, true},
      {"large amplitude, kind 14", 14, kBlockA, 20, kLargeAmplitude, false},
      {"large amplitude, kind 15", 15, kBlockA, 20, kLargeAmplitude, true},
      {"3-DOF search, kind 17", 17, kBlockA, 26, kThreeDofSearch, false},
      {"3-DOF search, kind 10", 10, kBlockA, 26, kThreeDofSearch, true},
      {"only RAOs, kind 13", 13, with(kBlockA, {iw(kExtensionOn, 1)}), 27, kOnlyWfRaos, false},
      {"only RAOs, kind 15 with extension", 15, with(kBlockA, {iw(kExtensionOn, 1)}), 27, kOnlyWfRaos, true},
      {"only RAOs, kind 15 with regular waves", 15, kBlockA, 27, kOnlyWfRaos, false},
      {"turret lock, kind 14", 14, kBlockA, 29, kLockTurret, false},
      {"turret lock, kind 15", 15, kBlockA, 29, kLockTurret, true},
      {"current loads without current", 15, kBlockA, 30, kCurrentLineLoads, false},
      {"current loads with current", 15, with(kBlockA, {iw(kCurrentOn, 1)}), 30, kCurrentLineLoads, true},
      {"snapshot reports, kind 13", 13, kBlockA, 31, kNoLineLoadReports, false},
      {"snapshot reports, kind 10", 10, kBlockA, 31, kNoLineLoadReports, false},
      {"snapshot reports, kind 17", 17, kBlockA, 31, kNoLineLoadReports, true},
      {"elliptical box, kind 10 (hidden)", 10, kBlockA, 32, kEllipticalBox, true},
      {"elliptical box, kind 8", 8, kBlockA, 32, kEllipticalBox, false},
      {"legacy drift without current", 15, kBlockA, 33, kLegacyCurrentDrift, false},
      {"vertical suction, kind 15 (hidden)", 15, kBlockA, 42, kVerticalSuction, true},
      {"storm variability without block A", 15, {}, 52, kPeakVariability, true},
      {"endpoint axes without endpoint loads", 15, kBlockA, 8, kEndpointAxes, false},
      {"endpoint axes with endpoint loads", 15, with(kBlockA, {iw(kEndpointLoads, 1)}), 8, kEndpointAxes, true},
      {"no item 24", 15, kBlockA, 24, kEndTangentSource, false},
  };
  for (const ItemRule& r : rules) {
    SCOPED_TRACE(r.name);
    PageCase c{.name = r.name, .replies = std::to_string(r.item) + "\n\n", .preset = r.preset, .kind = r.kind};
    const auto t = testing::run_page_case(page20, c);
    EXPECT_EQ(t->s.tpcm.i(r.word), r.accepted ? 1 : 0);
  }
}

struct ShownRule {
  const char* name;
  int kind;
  testing::Words preset;
  std::vector<std::string> shows;
  std::vector<std::string> never;
};

TEST(OutputOptions1, ItemsAreShownByKindAndSwitches) {
  const std::vector<ShownRule> rules = {
      {"kind 8: no block A, quiescent equilibrium", 8, kBlockA, {" 3) Compute quiescent"}, {" 5) ", "51) "}},
      {"kind 15 without low-frequency dynamics", 15, {}, {" 1) ", " 4) "}, {" 2) ", " 5) ", "51) ", "Version 5.x"}},
      {"kind 10: tug and barge labels, swap",
       10,
       kBlockA,
       {"comparisons at tug .... ", "RAOs at barge ", "56) Swap tug, barge data"},
       {"32) ", "31) ", "40) "}},
      {"kind 13: fairlead and anchor labels, tanker swap",
       13,
       kBlockA,
       {"comparisons at fairlead ", "RAOs at anchor", "32) ", "56) Swap tanker, buoy data"},
       {"31) ", "40) "}},
      {"kind 14: no large-amplitude item", 14, kBlockA, {"21) "}, {"20) ", "26) "}},
      {"kind 17: spar items, no 3-DOF search", 17, kBlockA, {"31) ", "40) ", "42) ", "44) "}, {"26) ", "56) "}},
      {"kind 15 without wave-frequency dynamics",
       15,
       {iw(kLowFrequencyOn, 1), iw(kEndpointLoads, 1)},
       {" 6) ", "28) "},
       {" 7) ", "21) ", "33) ", "34) "}},
      {"kind 15 with swell and a cross-correlation source",
       15,
       {iw(kLowFrequencyOn, 1), iw(kSwellOn, 1), iw(kDriftSelector, 0x150)},
       {"34) ", "35) ", "38) "},
       {}},
      {"kiloNewtons only metric with the summary on",
       17,
       with(kBlockA, {iw(kUnitSystem, 1), iw(kTabSummary, 1)}),
       {"41) Use basin load units"},
       {}},
  };
  for (const ShownRule& r : rules) {
    testing::expect_page_case(page20, {.name = r.name, .replies = "\n", .preset = r.preset, .shows = r.shows,
                                       .never = r.never, .kind = r.kind});
  }
}

TEST(OutputOptions1, DisplayResetsEndpointLoadsAndTheSummaryWhereTheyCannotApply) {
  testing::expect_page_case(
      page20, {.name = "item 6 No clears word 5008; kind 10 clears word 147",
               .replies = "\n",
               .preset = {iw(kLowFrequencyOn, 1), iw(kEndpointLoads, 1), iw(kTabSummary, 1)},
               .expect = {iw(kEndpointLoads, 0), iw(kTabSummary, 0)},
               .kind = 10});
  testing::expect_page_case(page20, {.name = "the bits of word 4983",
                                     .replies = "1\n2\n\n",
                                     .expect = {iw(kOutputStaticOffsets, 3)},
                                     .shows = {" 2) Output element endpoint"},
                                     .kind = 15});
}

// ---- Rotation ----

struct Rotation : ::testing::Test {
  testing::ScriptedSession t{};
  void SetUp() override {
    testing::page_record(t.s.tpcm, 15);
    auto& r = t.s.tpcm;
    r.i(kMooringLegs) = 2;
    r.set_r(*departure_angle_word(1), 10.0f);
    r.set_r(*departure_angle_word(2), 200.0f);
    r.set_r(*departure_angle_word(3), 7.0f);  // beyond the legs: unchanged
    r.set_r(kVesselHeading, 0.0f);
    r.set_r(kWindHeading, 45.0f);
    for (RealWord w : {kBuoyHeading, kIrregularHeadings, kRegularHeadings, kCurrentHeading, kSwellDirection,
                       kMotionDirection, RealWord{kIrregularHeadings + 1}}) {
      r.set_r(w, 100.0f);
    }
    r.i(kAuxForceOn) = 1;
    r.set_r(kAuxForceX, 10.0f);
    r.i(kAuxForce2On) = 1;
    r.i(kAuxForce2Frame) = 1;  // vessel-fixed: stays
    r.set_r(kAuxForce2X, 10.0f);
    r.i(kAuxForce3On) = 1;
    r.i(kAuxForce3Frame) = 2;  // global
    r.set_r(kAuxForce3Y, 4.0f);
  }
};

TEST_F(Rotation, ThirtyDegreesClockwiseTurnsAnglesAndGlobalForces) {
  rotate_global_system(t.s, 30.0f, kScreen);
  const auto& r = t.s.tpcm;
  EXPECT_FLOAT_EQ(r.r(*departure_angle_word(1)), -20.0f);
  EXPECT_FLOAT_EQ(r.r(*departure_angle_word(2)), 170.0f);  // no angle brought back into a range
  EXPECT_FLOAT_EQ(r.r(*departure_angle_word(3)), 7.0f);
  EXPECT_FLOAT_EQ(r.r(kVesselHeading), -30.0f);
  EXPECT_FLOAT_EQ(r.r(kWindHeading), 15.0f);
  for (RealWord w : {kBuoyHeading, kIrregularHeadings, kRegularHeadings, kCurrentHeading, kSwellDirection,
                     kMotionDirection}) {
    EXPECT_FLOAT_EQ(r.r(w), 70.0f) << "word " << w.n;
  }
  EXPECT_FLOAT_EQ(r.r(RealWord{kIrregularHeadings + 1}), 100.0f);  // only the first heading of the list
  // (x c + y s, y c - x s) with c = cos 30, s = sin 30.
  EXPECT_NEAR(r.r(kAuxForceX), 8.660254f, 1e-5f);
  EXPECT_NEAR(r.r(kAuxForceY), -5.0f, 1e-5f);
  EXPECT_FLOAT_EQ(r.r(kAuxForce2X), 10.0f);
  EXPECT_NEAR(r.r(kAuxForce3X), 2.0f, 1e-5f);
  EXPECT_NEAR(r.r(kAuxForce3Y), 3.4641016f, 1e-5f);
}

TEST_F(Rotation, NoVectorTurnsBehindAFirstBlockThatIsOff) {
  t.s.tpcm.i(kAuxForceOn) = 0;
  rotate_global_system(t.s, 30.0f, kScreen);
  EXPECT_FLOAT_EQ(t.s.tpcm.r(kAuxForceX), 10.0f);
  EXPECT_FLOAT_EQ(t.s.tpcm.r(kAuxForce3Y), 4.0f);
  EXPECT_FLOAT_EQ(t.s.tpcm.r(kVesselHeading), -30.0f);
}

TEST(OutputOptions1, RotationPromptsAndCancels) {
  const testing::Words preset = {iw(kLowFrequencyOn, 1), iw(kMooringLegs, 1), rw(kVesselHeading, 5.0f)};
  const std::string prompt = "Enter clockwise rotation angle in degrees (<RETURN> to abort): ";
  testing::expect_page_case(page20, {.name = "a blank angle changes nothing",
                                     .replies = "55\n\n\n",
                                     .preset = preset,
                                     .expect = {rw(kVesselHeading, 5.0f)},
                                     .shows = {prompt},
                                     .kind = 15});
  testing::expect_page_case(page20, {.name = "an angle turns the headings",
                                     .replies = "55\n30\n\n",
                                     .preset = preset,
                                     .expect = {rw(kVesselHeading, -25.0f)},
                                     .kind = 15});
  testing::expect_page_case(page20, {.name = "A at the profile warning changes nothing",
                                     .replies = "55\nA\n\n",
                                     .preset = with(preset, {iw(kCurrentProfile, 3)}),
                                     .expect = {rw(kVesselHeading, 5.0f)},
                                     .shows = {" ++> Warning: This rotation will not (cannot) be applied to your "
                                               "CRNTPROF.txt\n"},
                                     .never = {prompt},
                                     .kind = 15});
  testing::expect_page_case(page20, {.name = "RETURN at the profile warning goes on",
                                     .replies = "55\n\n30\n\n",
                                     .preset = with(preset, {iw(kCurrentProfile, 3)}),
                                     .expect = {rw(kVesselHeading, -25.0f)},
                                     .kind = 15});
}

TEST(OutputOptions1, SwapTwiceRestoresTheRecordBitForBit) {
  constexpr std::size_t kTwinBlock = kVesselBlock + kTwinOffset;
  testing::ScriptedSession t("56\n56\n56\n\n");
  testing::page_record(t.s.tpcm, 13);
  auto& r = t.s.tpcm;
  r.i(kLowFrequencyOn) = 1;
  for (std::size_t k = 0; k < kVesselBlockWords; ++k) {
    r.i(kVesselBlock + k) = static_cast<std::int32_t>(k + 1);
    r.i(kTwinBlock + k) = -static_cast<std::int32_t>(k + 1);
  }
  const auto before = std::vector<std::int32_t>(r.words().begin(), r.words().end());
  morot1(t.s, "20");  // three swaps: the blocks end exchanged
  EXPECT_EQ(r.i(kVesselBlock), -1);
  EXPECT_EQ(r.i(kTwinBlock + kVesselBlockWords - 1), static_cast<std::int32_t>(kVesselBlockWords));
  EXPECT_EQ(r.i(kTwinBlock + kVesselBlockWords), before[kTwinBlock + kVesselBlockWords]);
  testing::ScriptedSession again("56\n\n");
  again.s.tpcm = r;
  morot1(again.s, "20");
  // Every word but the page loop's own (selection and page counter).
  for (std::size_t k = 0; k < before.size(); ++k) {
    if (k == kNavCode || k == kPageCounter) continue;
    ASSERT_EQ(again.s.tpcm.i(k), before[k]) << "word " << k;
  }
}

// ---- The exclusion list ----

const testing::Words kCorrection = with(kBlockA, {iw(kInertiaCorrection, 1)});

TEST(OutputOptions1, ExclusionCountIsHeldToTheLines) {
  testing::expect_page_case(page20, {.name = "above the legs", .replies = "22\n40\n\n", .preset = kCorrection,
                                     .expect = {iw(kInertiaExclusion, 12)}, .kind = 15});
  testing::expect_page_case(page20, {.name = "negative", .replies = "22\n-5\n\n", .preset = kCorrection,
                                     .expect = {iw(kInertiaExclusion, 0)}, .kind = 15});
  testing::expect_page_case(page20, {.name = "a count of 0: an empty line, no list; 23 does nothing",
                                     .replies = "23\n\n",
                                     .preset = kCorrection,
                                     .shows = {"22) Total number of lines EXCLUDED from correction:  0\n\n"},
                                     .never = {"23) ", "Lines Selected"},
                                     .kind = 15});
}

TEST(OutputOptions1, ExclusionListIsPackedByLine) {
  constexpr std::int32_t kAllThirty = (1 << 30) - 1;
  const testing::Words page3 = {iw(kExclusionBits, 5)};  // the broken lines of page 3 stay as they are
  const std::vector<PageCase> cases = {
      {.name = "lines 1, 3 and 12 of 12: bits 1, 3 and 12 of word 5012",
       .replies = "22\n3\n23\n1\n1\n3\n12\n\n\n",
       .preset = with(kCorrection, page3),
       .expect = {iw(kInertiaExclusionBits, 1 + 4 + 2048), iw(kInertiaExclusionBits + 1, 0), iw(kExclusionBits, 5)},
       .shows = {"--- Lines Selected for Exclusion  ---", "     1, 3,12,\n"}},
      {.name = "lines 2, 31 and 120 of 120: bit 2 of 5012, bit 1 of 5013, bit 30 of 5015",
       .replies = "22\n3\n23\n1\n2\n31\n120\n\n\n",
       .preset = with(kCorrection, {iw(kMooringLegs, 120)}),
       .expect = {iw(kInertiaExclusionBits, 2), iw(kInertiaExclusionBits + 1, 1), iw(kInertiaExclusionBits + 2, 0),
                  iw(kInertiaExclusionBits + 3, 1 << 29)}},
      {.name = "200 legs, more than a record holds: 160 held to 150, edited, lines 1 to 120 packed after the warning",
       .replies = "22\n160\n23\n\n\n151\n1\n1\n\n\n\n",
       .preset = with(kCorrection, {iw(kMooringLegs, 200)}),
       .expect = {iw(kInertiaExclusion, 150), iw(kInertiaExclusionBits, kAllThirty),
                  iw(kInertiaExclusionBits + 3, kAllThirty)},
       .shows = {" >>> Please provide ** valid line numbers...", "150)      0.00", "151) Auto repeat",
                 " ++> Line exclusion data; Warning for systems with > 120 lines:",
                 "      1, 2, 3, 4, 5, 6, 7, 8, 9,10,11,12,13,14,15,16,\n"}},
  };
  for (const PageCase& c : cases) {
    PageCase k = c;
    k.kind = 15;
    testing::expect_page_case(page20, k);
  }
}

TEST(OutputOptions1, ExclusionListIsShownFromTheRecordWordsAtEntry) {
  // Lines 2, 31 and 120: bit 2 of word 5012, bit 1 of 5013, bit 30 of 5015.
  testing::Words preset = with(kCorrection, {iw(kMooringLegs, 120), iw(kInertiaExclusion, 3), iw(kInertiaExclusionBits, 2),
                                             iw(kInertiaExclusionBits + 1, 1), iw(kInertiaExclusionBits + 3, 1 << 29)});
  testing::expect_page_case(page20, {.name = "unpacked",
                                     .replies = "\n",
                                     .preset = preset,
                                     .shows = {"23) Line numbers selected for exclusion:\n      2,31,**,\n\n"},
                                     .kind = 15});
}

TEST(OutputOptions1, InvalidLineNumbersAreRefusedUntilValid) {
  for (const char* wrong : {"0", "13"}) {  // below 1, above the 12 legs
    testing::expect_page_case(
        page20, {.name = wrong,
                 .replies = std::string("22\n1\n23\n1\n") + wrong + "\n\n\n1\n5\n\n\n",
                 .preset = kCorrection,
                 .expect = {iw(kInertiaExclusionBits, 16)},
                 .shows = {" >>> Please provide  1 valid line numbers...", "Lines Selected"},
                 .kind = 15});
  }
}

TEST(OutputOptions1, PrintPassListsTheExcludedLinesWithoutWarningOrReading) {
  testing::expect_page_case(
      page20, {.name = "150 legs, lines 1 and 2",
               .replies = "5\n",
               .preset = with(kCorrection, {iw(kMooringLegs, 150), iw(kInertiaExclusion, 2),
                                            iw(kInertiaExclusionBits, 3), iw(kPrintPass, 1)}),
               .expect = {iw(kNavCode, 0), iw(kOutputLowFrequency, 0)},
               .shows = {"23) Line numbers selected for exclusion:\n      1, 2,\n"},
               .never = {"Line exclusion data", "Enter number"},
               .kind = 15});
}

// ---- Page 21 ----

const testing::Words kPage21On = {iw(kLowFrequencyOn, 1), iw(kWaveFrequencyOn, 1)};

TEST(OutputOptions2, TheMenusStoreTheirChoices) {
  const std::vector<PageCase> cases = {
      {.name = "peak load 2", .replies = "3\n2\n\n", .preset = kPage21On, .expect = {iw(kPeakLoadAlgorithm, 1)}},
      {.name = "peak load 6 is not built",
       .replies = "3\n6\n\n4\n\n",
       .preset = kPage21On,
       .expect = {iw(kPeakLoadAlgorithm, 3)},
       .shows = {" ++> This item not yet implemented; see help notes"}},
      {.name = "peak load: blank keeps a stored 6 as 4",
       .replies = "3\n\n\n",
       .preset = with(kPage21On, {iw(kPeakLoadAlgorithm, 6)}),
       .expect = {iw(kPeakLoadAlgorithm, 4)}},
      {.name = "peak load: blank keeps a stored -1 as 0",
       .replies = "3\n\n\n",
       .preset = with(kPage21On, {iw(kPeakLoadAlgorithm, -1)}),
       .expect = {iw(kPeakLoadAlgorithm, 0)}},
      {.name = "square law 3", .replies = "6\n3\n\n", .expect = {iw(kSquareLawTreatment, 2)}},
      {.name = "square law 7 is held to 3", .replies = "6\n7\n\n", .expect = {iw(kSquareLawTreatment, 2)}},
      {.name = "square law blank keeps",
       .replies = "6\n\n\n",
       .preset = {iw(kSquareLawTreatment, 1)},
       .expect = {iw(kSquareLawTreatment, 1)}},
      {.name = "device console", .replies = "13\n1\n\n", .preset = {iw(kOutputDevice, 1)},
       .expect = {iw(kOutputDevice, kScreen)}, .shows = {" 13) Output goes to Disk, on logged drive", " 13) Output goes to Console"}},
      {.name = "device disc", .replies = "13\n2\n\n", .preset = {iw(kOutputDevice, kScreen), iw(kLoggedDrive, 1)},
       .expect = {iw(kOutputDevice, 1)}, .shows = {" 13) Output goes to Console", " 13) Output goes to Disk, on drive C"}},
      {.name = "item 8 is inverted", .replies = "8\n\n", .preset = kPage21On, .expect = {iw(kNoMotionsSummary, 1)},
       .shows = {" 8) Output vessel motions summary ..... Yes", "  9) Motions", " 8) Output vessel motions summary ..... No "}},
      {.name = "items are accepted while hidden", .replies = "1\n2\n5\n7\n9\n10\n11\n12\n\n",
       .expect = {iw(kOneSigma, 1), iw(kSpectralLineSd, 1), iw(kOutputSpreadRaos, 1), iw(kOnlySquareLaw, 1),
                  iw(kReportAtCg, 1), iw(kAngularRaoUnits, 1), iw(kQuasiStaticTension, 1), iw(kDebug, 1)},
       .never = {" 1) ", " 2) ", "11) "}},
      {.name = "a number above 13 leaves", .replies = "20\n", .expect = {iw(kNavCode, 20)}},
  };
  for (const PageCase& c : cases) {
    PageCase k = c;
    k.kind = 15;
    testing::expect_page_case(page21, k);
  }
}

TEST(OutputOptions2, SigmaLevelRewritesThePeakLoadTextsForTheRun) {
  testing::ScriptedSession t("1\n3\n\n\n");
  testing::page_record(t.s.tpcm, 15);
  t.s.tpcm.i(kLowFrequencyOn) = 1;
  t.s.tpcm.i(kWaveFrequencyOn) = 1;
  morot2(t.s, "21");
  const std::string screen = t.shown();
  const auto menu = screen.find(" +++ Peak Line Load Computation Options +++");
  ASSERT_NE(menu, std::string::npos);
  EXPECT_NE(screen.find(" 3) ++> API \"one-sigma LF, peak HF\" algorithm", menu), std::string::npos);
  EXPECT_NE(screen.find(" 5) ++> API \"peak LF, one-sigma HF\" algorithm", menu), std::string::npos);
  EXPECT_EQ(screen.find(" 6) ++> Brenvik \"full joint probability distribution\" algorithm", menu) == std::string::npos,
            false);
  const auto& texts = t.s.state<OutputOptionsState>().pkldtp;
  EXPECT_EQ(texts[3], "++> Brenvik \"one-sigma LF, peak HF\" algorithm");
}

TEST(OutputOptions2, StoredIndexesOutsideTheTablesShowBlankEntries) {
  const std::string blank(75, ' ');
  testing::expect_page_case(
      page21, {.name = "entries beyond the tables",
               .replies = "\n",
               .preset = with(kPage21On, {iw(kMemberModel, 1), iw(kPeakLoadAlgorithm, 99), iw(kSquareLawTreatment, -3)}),
               .expect = {iw(kPeakLoadAlgorithm, 99), iw(kSquareLawTreatment, -3)},
               .counts = {{"\n     " + blank + "\n", 2}},
               .kind = 15});
}

TEST(OutputOptions2, DisplayRecomputesTheRaoWordAndClearsQuasiStaticForTwoVessels) {
  testing::expect_page_case(page21, {.name = "kind 10",
                                     .replies = "\n",
                                     .preset = {iw(kFairleadRaos, 1), iw(kQuasiStaticTension, 1)},
                                     .expect = {iw(kAnyRaoOutput, 1), iw(kQuasiStaticTension, 0)},
                                     .kind = 10});
}

// ---- Help ----

struct HelpCase {
  const char* name;
  void (*help)(Session&, int);
  int kind;
  int item;
  std::string shows;
};

TEST(OutputOptionsHelp, NotesByItemAndKind) {
  const std::string sorry = " ++> Sorry, no help for this line...";
  const std::vector<HelpCase> cases = {
      {"page 20, item 3 for every kind", mothp1, 8, 3, "new pretensions"},
      {"page 20, item 5 for kind 8", mothp1, 8, 5, sorry},
      {"page 20, item 23 shares 22", mothp1, 15, 23, " ++> Item Number 23\n     Any number of lines"},
      {"page 20, item 26 for kind 14", mothp1, 14, 26, sorry},
      {"page 20, item 29 for kind 15", mothp1, 15, 29, "turret"},
      {"page 20, item 31 for kind 10", mothp1, 10, 31, sorry},
      {"page 20, item 44 for kind 17", mothp1, 17, 44, "spar moorings"},
      {"page 20, item 56 for kind 15", mothp1, 15, 56, sorry},
      {"page 20, item 81", mothp1, 15, 81, "auxiliary report files"},
      {"page 20, item 83", mothp1, 15, 83, "excursion space"},
      {"page 20, item 84", mothp1, 15, 84, sorry},
      {"page 20, item 82", mothp1, 15, 82, "damping maps"},
      {"page 20, item 24", mothp1, 15, 24, sorry},
      {"page 20, item 34 shares 33", mothp1, 15, 34, " ++> Item Number 34\n     Restore the behaviour"},
      {"page 20, item 27 for kind 13", mothp1, 13, 27, sorry},
      {"page 20, item 29 for kind 14", mothp1, 14, 29, sorry},
      {"page 20, item 40 for kind 10", mothp1, 10, 40, sorry},
      {"page 20, item 44 for kind 15", mothp1, 15, 44, sorry},
      {"page 21, item 12", mothp2, 15, 12, "debug stream"},
      {"page 21, item 4", mothp2, 15, 4, "principal wave directions"},
      {"page 21, item 13", mothp2, 15, 13, sorry},
      {"peak-load menu, item 6", mothp3, 15, 6, "joint probability"},
      {"peak-load menu, a negative item shows note 1", mothp3, 15, -2, " ++> Item Number  1\n     Loads at the mean"},
      {"square-law menu, item 1", smo3hp, 15, 1, "quasi-linear procedure"},
      {"square-law menu, item 2", smo3hp, 15, 2, "iterative"},
      {"square-law menu, item 4", smo3hp, 15, 4, sorry},
  };
  for (const HelpCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing::ScriptedSession t("\n\n\n\n\n\n\n\n\n\n");
    testing::page_record(t.s.tpcm, c.kind);
    c.help(t.s, c.item);
    EXPECT_NE(t.shown().find(c.shows), std::string::npos) << t.shown();
  }
}

TEST(OutputOptionsHelp, PageHelpOfKinds7And8StopsAfterItem4) {
  testing::ScriptedSession t("\n\n\n\n\n\n\n\n\n\n");
  testing::page_record(t.s.tpcm, 8);
  mothp1(t.s, 0);
  EXPECT_NE(t.shown().find(" ++> Item Number  4"), std::string::npos);
  EXPECT_EQ(t.shown().find(" ++> Item Number  5"), std::string::npos);
}

}  // namespace
}  // namespace kelp
