#include "edlib/vessel_pages.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "edlib/data_record.hpp"
#include "edlib/tanker.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

const std::string kSelect = " \n Enter number of selection (\"H\" for help): ";
const std::string kNewValue = " Enter new value: ";
const std::string kReturn = " \n Press <RETURN> to continue: ";

int count_of(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (auto p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + needle.size())) ++n;
  return n;
}

// A disc-buoy record as the page loop of ronvaske leaves it.
void disc_record(Session& s, int units = kUnitsEnglish) {
  auto& t = s.tpcm;
  t.i(kProgramKind) = 4;
  t.i(kVesselType) = 4;
  t.i(kOutputUnit) = kScreen;
  t.i(kUnitSystem) = units;
}

void hydro_values(Session& s) {
  auto& t = s.tpcm;
  t.set_r(1408, 1234.5f);
  t.set_r(1416, 12.25f);
  t.set_r(1417, 150.0f);
  t.set_r(1409, 3.5f);
  t.set_r(1410, 8.75f);
  t.set_r(1649, -2.0f);
  t.set_r(1412, 2000.0f);
  t.set_r(1418, 60.0f);
  t.set_r(1419, 60.0f);
  t.set_r(1411, 6.0f);
}

// ---------------------------------------------------------------- vesel1

const std::string kHydroEnglish =
    " **************  Page 2: Vessel Hydrostatic Characteristics  **************\n"
    "\n"
    "  1) Vessel displacement ................................    1234.50 k.lbs \n"
    "  2) Transverse metacentric height (KMT) ................      12.25 ft    \n"
    "  3) Longitudinal metacentric height (KML) ..............     150.00 ft    \n"
    "  4) Vertical center of buoyancy (VKB) ..................       3.50 ft    \n"
    "  5) Vertical center of gravity (VKG) ...................       8.75 ft    \n"
    "  6) LCG-to-Midships distance ...........................      -2.00 ft    \n"
    "  7) Vessel water plane area ............................    2000.00 ft^2  \n"
    "  8) Length of vessel at waterline ......................      60.00 ft    \n"
    "  9) Beam of vessel at waterline ........................      60.00 ft    \n"
    " 10) Mean vessel draft ..................................       6.00 ft    \n";

TEST(Hydrostatics, EnglishPageOfTheDiscBuoy) {
  ScriptedSession t("\n");
  disc_record(t.s);
  hydro_values(t.s);
  vesel1(t.s, "2", "Vessel");
  EXPECT_EQ(t.shown(), kHydroEnglish + kSelect);
  EXPECT_EQ(t.s.tpcm.i(kNavCode), 0);
}

TEST(Hydrostatics, MetricLabelsWithoutConvertingValues) {
  ScriptedSession t("\n");
  disc_record(t.s, kUnitsMetric);
  hydro_values(t.s);
  vesel1(t.s, "2", "Vessel");
  const std::string shown = t.shown();
  EXPECT_NE(shown.find("  1) Vessel displacement ................................    1234.50 m.ton \n"),
            std::string::npos);
  EXPECT_NE(shown.find("  7) Vessel water plane area ............................    2000.00 m^2   \n"),
            std::string::npos);
  EXPECT_NE(shown.find(" 10) Mean vessel draft ..................................       6.00 m     \n"),
            std::string::npos);
  EXPECT_FLOAT_EQ(t.s.tpcm.r(1408), 1234.5f);
}

TEST(Hydrostatics, EditsEveryValueItem) {
  // Items 1 to 10 in turn; item 4 gets a blank reply and item 5 letters:
  // both keep their values.
  ScriptedSession t("1\n5000\n2\n21.5\n3\n300\n4\n\n5\nabc\n6\n-4.5\n7\n1500\n8\n80\n9\n30\n10\n7.25\n\n");
  disc_record(t.s);
  hydro_values(t.s);
  vesel1(t.s, "2", "Vessel");
  const auto& w = t.s.tpcm;
  EXPECT_FLOAT_EQ(w.r(1408), 5000.0f);
  EXPECT_FLOAT_EQ(w.r(1416), 21.5f);
  EXPECT_FLOAT_EQ(w.r(1417), 300.0f);
  EXPECT_FLOAT_EQ(w.r(1409), 3.5f);
  EXPECT_FLOAT_EQ(w.r(1410), 8.75f);
  EXPECT_FLOAT_EQ(w.r(1649), -4.5f);
  EXPECT_FLOAT_EQ(w.r(1412), 1500.0f);
  EXPECT_FLOAT_EQ(w.r(1418), 80.0f);
  EXPECT_FLOAT_EQ(w.r(1419), 30.0f);
  EXPECT_FLOAT_EQ(w.r(1411), 7.25f);
  EXPECT_EQ(count_of(t.shown(), kNewValue), 10);
  EXPECT_EQ(count_of(t.shown(), "Page 2: Vessel Hydrostatic"), 11);
}

TEST(Hydrostatics, HiddenItemsKeepTheirNumbers) {
  // Kind 4 never shows item 11; vessel type 4 hides item 12. Selecting or
  // asking help for them only draws the page again.
  ScriptedSession t("11\n12\n?11\n?12\n\n");
  disc_record(t.s);
  vesel1(t.s, "2", "Vessel");
  const std::string shown = t.shown();
  EXPECT_EQ(count_of(shown, "Page 2: Vessel Hydrostatic"), 5);
  EXPECT_EQ(shown.find("Vessel type for simulation"), std::string::npos);
  EXPECT_EQ(shown.find("Vessel Definition Notes"), std::string::npos);
  EXPECT_EQ(shown.find(kNewValue), std::string::npos);
  EXPECT_EQ(t.s.tpcm.i(kVesselType), 4);
}

TEST(Hydrostatics, TankerItemKeepsNumber12WhenTheTypeItemIsHidden) {
  ScriptedSession t("\n");
  disc_record(t.s);
  t.s.tpcm.i(kVesselType) = 1;
  vesel1(t.s, "2", "Vessel");
  EXPECT_NE(t.shown().find(" 10) Mean vessel draft ..................................       0.00 ft    \n"
                           "\n"
                           " 12) Help for Tanker-Type Physical Characteristics\n"),
            std::string::npos);
}

TEST(Hydrostatics, TankerItemOpensTheEstimatesPage) {
  // 12 opens the estimates page; an empty reply there leaves it unchanged,
  // and the hydrostatics page comes back.
  ScriptedSession t("12\n\n\n");
  disc_record(t.s);
  t.s.tpcm.i(kVesselType) = 1;
  hydro_values(t.s);
  const Tpcm before = t.s.tpcm;
  vesel1(t.s, "2", "Vessel");
  EXPECT_NE(t.shown().find(" >>> Independent variables for"), std::string::npos);
  EXPECT_EQ(count_of(t.shown(), "Page 2: Vessel Hydrostatic"), 2);
  Tpcm after = t.s.tpcm;
  after.i(kNavCode) = before.i(kNavCode);
  after.i(kPageCounter) = before.i(kPageCounter);
  EXPECT_TRUE(after == before);
}

TEST(Hydrostatics, SemisubmersibleKindShowsTheShortTypeMenu) {
  // Kind 3: item 11 shows; its menu lists 3, 5 and 6 and sets word 790 to 1
  // even on a blank reply, which keeps the type.
  ScriptedSession t("11\n\n\n");
  disc_record(t.s);
  t.s.tpcm.i(kProgramKind) = 3;
  t.s.tpcm.i(kVesselType) = 3;
  t.s.tpcm.i(790) = 0;
  vesel1(t.s, "2", "Vessel");
  const std::string shown = t.shown();
  EXPECT_NE(shown.find("\n"
                       " 11) Vessel type for simulation ......................... Semisubmersible\n"),
            std::string::npos);
  EXPECT_NE(shown.find(kSelect + "\n\n"
                       " +++   Vessel type for wave-frequency dynamics simulation  +++\n"
                       "\n"
                       " 3) Semisubmersible\n"
                       " 5) Tension Leg Platform\n"
                       " 6) Caisson Spar\n"
                       "\n" +
                       kSelect),
            std::string::npos);
  EXPECT_EQ(t.s.tpcm.i(kVesselType), 3);
  EXPECT_EQ(t.s.tpcm.i(790), 1);
}

TEST(Hydrostatics, TypeChoiceSetsTheCompanionFlag) {
  struct Case {
    const char* reply;
    int type;
    int companion;
  };
  for (const Case& c : {Case{"4", 4, 0}, Case{"5", 5, 1}, Case{"1", 1, 0}, Case{"3", 3, 1}, Case{"9", 6, 1},
                        Case{"2", 2, 0}, Case{"-7", 2, 7}, Case{"B", 2, 7}}) {
    ScriptedSession t(std::string("11\n") + c.reply + "\n\n");
    disc_record(t.s);
    t.s.tpcm.i(kProgramKind) = 12;
    t.s.tpcm.i(kVesselType) = 2;
    t.s.tpcm.i(790) = 7;  // untouched when the choice keeps the type
    vesel1(t.s, "7", "Vessel");
    EXPECT_EQ(t.s.tpcm.i(kVesselType), c.type) << c.reply;
    EXPECT_EQ(t.s.tpcm.i(790), c.companion) << c.reply;
    EXPECT_NE(t.shown().find(" 4) Disc-shaped vessel (CALM buoy, arctic drillship)\n"), std::string::npos);
  }
}

TEST(Hydrostatics, TypeNamesAndUndefined) {
  EXPECT_EQ(vessel_type_name(1), " Ship/barge/tanker");
  EXPECT_EQ(vessel_type_name(6), " Caisson Spar");
  EXPECT_EQ(vessel_type_name(0), " Undefined!");
  EXPECT_EQ(vessel_type_name(7), " Undefined!");
}

TEST(Hydrostatics, TypeMenuHelpNamesTheSimulationProgram) {
  ScriptedSession t("11\n?2\n\n\n\n");
  disc_record(t.s);
  t.s.tpcm.i(kProgramKind) = 12;
  vesel1(t.s, "7", "Vessel");
  EXPECT_NE(t.shown().find("                 ****  Vessel Definition Notes  ****\n"
                           "\n"
                           " ++> Item Number  2\n"
                           "     This item causes the simulation to search for Legrove\n"
                           "     to evaluate wave-frequency vessel motion response.\n" +
                           kReturn),
            std::string::npos);
}

TEST(Hydrostatics, ItemHelpUsesItsKey) {
  ScriptedSession t("?6\n\n?1\n\n\n");
  disc_record(t.s);
  vesel1(t.s, "2", "Vessel");
  const std::string shown = t.shown();
  EXPECT_NE(shown.find(" ********************  Vessel Definition Notes  ********************\n"
                       "\n"
                       "\n"
                       " ++> Item Number 6\n"
                       "     The LCG-to-Midships distance"),
            std::string::npos);
  EXPECT_NE(shown.find("OCIMF-type moment coefficients"), std::string::npos);
  EXPECT_NE(shown.find(" ++> Item Number 1\n     Displacement comprises total simulated vessel weight"),
            std::string::npos);
}

TEST(Hydrostatics, PageHelpPausesAndAddsTheTypeTextForTheMooringKinds) {
  {
    // Kind 4 (flag 1): three pauses and the final wait; no vessel-type text.
    ScriptedSession t("?\n\n\n\n\n\n");
    disc_record(t.s);
    vesel1(t.s, "2", "Vessel");
    EXPECT_EQ(count_of(t.shown(), "Press <RETURN>"), 4);
    EXPECT_EQ(t.shown().find("The vessel type selects"), std::string::npos);
    EXPECT_NE(t.shown().find("VKG should include free-surface corrections, if any."), std::string::npos);
    EXPECT_NE(t.shown().find("block coefficients above about .75"), std::string::npos);
  }
  {
    ScriptedSession t("?\n\n\n\n\n\n\n");
    disc_record(t.s);
    t.s.tpcm.i(kProgramKind) = 12;
    vesel1(t.s, "7", "Vessel");
    EXPECT_EQ(count_of(t.shown(), "Press <RETURN>"), 5);
    EXPECT_NE(t.shown().find("The vessel type selects"), std::string::npos);
  }
}

TEST(Hydrostatics, KeyListLeavesTheRedisplayToThePageLoop) {
  ScriptedSession t("H\n\n");
  disc_record(t.s);
  vesel1(t.s, "2", "Vessel");
  EXPECT_EQ(t.s.tpcm.i(kNavCode), kNavKeys);
  EXPECT_NE(t.shown().find(" (B)  Back a page\n"), std::string::npos);
}

TEST(Hydrostatics, PrintPassWritesThePageOnce) {
  ScriptedSession t("");
  disc_record(t.s);
  hydro_values(t.s);
  t.s.tpcm.i(kPrintPass) = 2;  // the first half page of a pair: a page break
  vesel1(t.s, "2", "Vessel");
  EXPECT_EQ(t.shown(), kHydroEnglish);  // the page break on the screen is a clear
  EXPECT_EQ(t.s.tpcm.i(kNavCode), 0);
  EXPECT_EQ(t.s.tpcm.i(kPrintPass), 3);
}

// ---------------------------------------------------------------- vesel2

const std::string kGyradiiEnglish =
    " ***********  Page 3: Vessel Gyradii and Bilge Specifications  ***********\n"
    "\n"
    "  1) Pitch Gyradius .....................................     60.00 ft    \n"
    "  2) Roll Gyradius ......................................     12.50 ft    \n"
    "  3) Yaw Gyradius .......................................     61.25 ft    \n"
    "\n"
    "  4) Bilge radius at maximum beam station ...............      1.50 ft    \n"
    "  5) Is there a bilge keel ..............................   No \n"
    "\n"
    "  9) Vessel speed (knots) ...............................      0.00       \n"
    "\n"
    " 11) Trim angle (deg; bow down positive) ................      0.00       \n"
    " 12) Heel angle (deg; starboard down positive) ..........      0.00       \n"
    "\n"
    " 13) Utilize user-supplied vessel RAO data ..............   No \n";

void gyradii_values(Session& s) {
  s.tpcm.set_r(1413, 60.0f);
  s.tpcm.set_r(1414, 12.5f);
  s.tpcm.set_r(1415, 61.25f);
  s.tpcm.set_r(1420, 1.5f);
}

TEST(Gyradii, EnglishPageWithoutKeelOrSpeed) {
  ScriptedSession t("\n");
  disc_record(t.s);
  gyradii_values(t.s);
  vesel2(t.s, "3", "Vessel");
  EXPECT_EQ(t.shown(), kGyradiiEnglish + kSelect);
}

TEST(Gyradii, MetricPageShowsMetersAndKnots) {
  ScriptedSession t("\n");
  disc_record(t.s, kUnitsMetric);
  gyradii_values(t.s);
  t.s.tpcm.set_r(1424, 5.14f);  // 10 knots in m/s
  vesel2(t.s, "3", "Vessel");
  EXPECT_NE(t.shown().find("  3) Yaw Gyradius .......................................     61.25 m     \n"
                           "\n"
                           "  4) Bilge radius at maximum beam station ...............      1.50 m     \n"),
            std::string::npos);
  EXPECT_NE(t.shown().find("  9) Vessel speed (knots) ...............................     10.00       \n"),
            std::string::npos);
}

TEST(Gyradii, KeelItemsKeepTheirNumbersUntilThereIsAKeel) {
  // 6 while hidden only redraws; 5 flips the keel on (word 13 = 0), then 6,
  // 7 and 8 are edited.
  ScriptedSession t("6\n5\n6\n120\n7\n0.5\n8\n4.25\n\n");
  disc_record(t.s);
  gyradii_values(t.s);
  vesel2(t.s, "3", "Vessel");
  const auto& w = t.s.tpcm;
  EXPECT_EQ(w.i(761), 1);
  EXPECT_FLOAT_EQ(w.r(1421), 120.0f);
  EXPECT_FLOAT_EQ(w.r(1422), 0.5f);
  EXPECT_FLOAT_EQ(w.r(1423), 4.25f);
  EXPECT_EQ(count_of(t.shown(), kNewValue), 3);
  EXPECT_NE(t.shown().find("  5) Is there a bilge keel ..............................   Yes\n"
                           "  6) Bilge keel length ..................................    120.00 ft    \n"
                           "  7) Bilge keel width ...................................      0.50 ft    \n"
                           "  8) Inboard keel-to-vessel centerline distance .........      4.25 ft    \n"),
            std::string::npos);
}

TEST(Gyradii, TogglesAskWhenWord13IsSet) {
  ScriptedSession t("5\n1\n5\n7\n\n");
  disc_record(t.s);
  t.s.tpcm.i(kBatchFlag) = 1;
  vesel2(t.s, "3", "Vessel");
  EXPECT_EQ(t.s.tpcm.i(761), 1);  // 1 sets it; 7 keeps it
  EXPECT_EQ(count_of(t.shown(), "Enter 1 for \"Yes\", 0 for \"No\": "), 2);
}

TEST(Gyradii, SpeedIsTypedInKnotsAndStoredInFeetOrMetersPerSecond) {
  {
    ScriptedSession t("9\n10\n\n");
    disc_record(t.s);
    vesel2(t.s, "3", "Vessel");
    EXPECT_EQ(t.s.tpcm.r(1424), 10.0f * 1.687f);
    EXPECT_NEAR(t.s.tpcm.r(1424), 16.87f, 1e-5f);
    // Item 10 appears once the speed is not zero.
    EXPECT_NE(t.shown().find("  9) Vessel speed (knots) ...............................     10.00       \n"
                             " 10) Global direction of vessel motion (degrees) ........      0.00       \n"),
              std::string::npos);
  }
  {
    ScriptedSession t("9\n10\n10\n90\n\n");
    disc_record(t.s, kUnitsMetric);
    vesel2(t.s, "3", "Vessel");
    EXPECT_NEAR(t.s.tpcm.r(1424), 5.14f, 1e-6f);
    EXPECT_FLOAT_EQ(t.s.tpcm.r(1405), 90.0f);
  }
}

TEST(Gyradii, BlankSpeedReplyLeavesTheStoredBitsAlone) {
  ScriptedSession t("9\n\n9\nfast\n\n");
  disc_record(t.s);
  const float stored = 3.3f;  // not a whole number of knots: a round trip would move it
  t.s.tpcm.set_r(1424, stored);
  vesel2(t.s, "3", "Vessel");
  EXPECT_EQ(std::bit_cast<std::int32_t>(t.s.tpcm.r(1424)), std::bit_cast<std::int32_t>(stored));
}

TEST(Gyradii, DeckVerticalToggleNeedsUserRaosAndAnAttitude) {
  // 14 is hidden at first; 13 turns the RAOs on, still hidden with no trim
  // or heel; after a trim of 2 degrees 14 shows and flips.
  ScriptedSession t("14\n13\n14\n11\n2\n14\n\n");
  disc_record(t.s);
  vesel2(t.s, "3", "Vessel");
  const auto& w = t.s.tpcm;
  EXPECT_EQ(w.i(777), 1);
  EXPECT_FLOAT_EQ(w.r(1364), 2.0f);
  EXPECT_EQ(w.i(788), 1);
  EXPECT_NE(t.shown().find(" 13) Utilize user-supplied vessel RAO data ..............   Yes\n"
                           " 14) User RAOs in Deck-Vertical Coordinate System? ......   Yes\n"),
            std::string::npos);
}

TEST(Gyradii, HeelAndTrimAreEdited) {
  ScriptedSession t("12\n-3.5\n1\n55\n2\n14\n3\n57\n4\n2\n\n");
  disc_record(t.s);
  vesel2(t.s, "3", "Vessel");
  const auto& w = t.s.tpcm;
  EXPECT_FLOAT_EQ(w.r(1365), -3.5f);
  EXPECT_FLOAT_EQ(w.r(1413), 55.0f);
  EXPECT_FLOAT_EQ(w.r(1414), 14.0f);
  EXPECT_FLOAT_EQ(w.r(1415), 57.0f);
  EXPECT_FLOAT_EQ(w.r(1420), 2.0f);
}

TEST(Gyradii, Kind8HidesTheRaoToggle) {
  ScriptedSession t("13\n\n");
  disc_record(t.s);
  t.s.tpcm.i(kProgramKind) = 8;
  vesel2(t.s, "8", "Vessel");
  EXPECT_EQ(t.shown().find("Utilize user-supplied"), std::string::npos);
  EXPECT_EQ(t.s.tpcm.i(777), 0);
}

TEST(Gyradii, HelpOnItem4HasNoText) {
  ScriptedSession t("?4\n\n\n");
  disc_record(t.s);
  vesel2(t.s, "3", "Vessel");
  EXPECT_NE(t.shown().find(" *********************  Vessel Definition Notes  *********************\n"
                           "\n"
                           "\n"
                           " ++> Item Number 4\n"
                           "\n"
                           " ++> Sorry, no help for this item...\n"
                           "\n" +
                           kReturn),
            std::string::npos);
}

TEST(Gyradii, ItemHelpKeysAndPageHelp) {
  {
    ScriptedSession t("?3\n\n?11\n\n\n");
    disc_record(t.s);
    vesel2(t.s, "3", "Vessel");
    EXPECT_NE(t.shown().find("Yaw gyradius = SQRT(Pg^2 + Rg^2)"), std::string::npos);
    EXPECT_NE(t.shown().find(" ++> Item Number 11\n     Trim and heel"), std::string::npos);
  }
  {
    // The RAO text names the limits of the RAO file.
    ScriptedSession t("?13\n\n\n");
    disc_record(t.s);
    vesel2(t.s, "3", "Vessel");
    EXPECT_NE(t.shown().find("     Maximum number of array frequencies = 121\n"
                             "     Maximum number of attack angles in [0,360] circle = 145\n"),
              std::string::npos);
  }
  {
    ScriptedSession t("?\n\n\n\n\n\n\n");
    disc_record(t.s);
    vesel2(t.s, "3", "Vessel");
    EXPECT_EQ(count_of(t.shown(), "Press <RETURN>"), 5);
    EXPECT_NE(t.shown().find("Motion toward 90 degrees"), std::string::npos);
  }
}

// ---------------------------------------------------------------- vesel3

const std::string kPeriodsComputed =
    " ***********  Page 4: Vessel Period and Damping Specifications  ***********\n"
    "\n"
    "  1) Heave damping is ................................... Computed \n"
    "  3) Pitch damping is ................................... Computed \n"
    "  5) Roll damping is .................................... Computed \n"
    "\n"
    "  7) Heave period is .................................... Computed \n"
    "  9) Pitch period is .................................... Computed \n"
    " 11) Roll period is ..................................... Computed \n";

TEST(Periods, AllComputedShowsOnlyTheModes) {
  // 2 is hidden: it only redraws, without a prompt.
  ScriptedSession t("2\n\n");
  disc_record(t.s);
  vesel3(t.s, "4", "Vessel");
  EXPECT_EQ(t.shown(), kPeriodsComputed + kSelect + kPeriodsComputed + kSelect);
}

TEST(Periods, SpecifyingAModeAsksForItsValueAtOnce) {
  // 1 switches heave damping to specified and reads 5; 1 again switches it
  // back and keeps the value.
  ScriptedSession t("1\n5\n1\n\n");
  disc_record(t.s);
  vesel3(t.s, "4", "Vessel");
  EXPECT_EQ(t.s.tpcm.i(766), 0);
  EXPECT_FLOAT_EQ(t.s.tpcm.r(1370), 5.0f);
  EXPECT_NE(t.shown().find(kSelect + "  2) Heave damping (percent of critical) ................     0.00\n" +
                           kNewValue),
            std::string::npos);
  EXPECT_EQ(count_of(t.shown(), kNewValue), 1);
}

TEST(Periods, EveryModeAndValueIsEdited) {
  ScriptedSession t("3\n4\n5\n2.5\n7\n12\n9\n30\n11\n20\n4\n6\n\n");
  disc_record(t.s);
  vesel3(t.s, "4", "Vessel");
  const auto& w = t.s.tpcm;
  EXPECT_EQ(w.i(764), 1);
  EXPECT_EQ(w.i(765), 1);
  EXPECT_EQ(w.i(769), 1);
  EXPECT_EQ(w.i(767), 1);
  EXPECT_EQ(w.i(768), 1);
  EXPECT_FLOAT_EQ(w.r(1368), 6.0f);  // set to 4, then edited through item 4
  EXPECT_FLOAT_EQ(w.r(1369), 2.5f);
  EXPECT_FLOAT_EQ(w.r(1373), 12.0f);
  EXPECT_FLOAT_EQ(w.r(1371), 30.0f);
  EXPECT_FLOAT_EQ(w.r(1372), 20.0f);
}

TEST(Periods, AskingToggleUsesSpecifiedAndComputedLabels) {
  ScriptedSession t("1\n1\n8.5\n\n");
  disc_record(t.s);
  t.s.tpcm.i(kBatchFlag) = 1;
  vesel3(t.s, "4", "Vessel");
  EXPECT_NE(t.shown().find("Enter 1 for \"Specified\", 0 for \"Computed\": "), std::string::npos);
  EXPECT_EQ(t.s.tpcm.i(766), 1);
  EXPECT_FLOAT_EQ(t.s.tpcm.r(1370), 8.5f);
}

TEST(Periods, LayoutOfSpecifiedValuesAndTheMooringToggles) {
  ScriptedSession t("13\n14\n\n");
  disc_record(t.s);
  auto& w = t.s.tpcm;
  w.i(kProgramKind) = 12;
  w.i(766) = 1;
  w.set_r(1370, 5.0f);
  w.i(765) = 1;
  w.set_r(1369, 2.5f);
  w.i(769) = 1;
  w.set_r(1373, 12.0f);
  w.i(768) = 1;
  w.set_r(1372, 20.0f);
  vesel3(t.s, "9", "Vessel");
  const std::string expected =
      " ***********  Page 9: Vessel Period and Damping Specifications  ***********\n"
      "\n"
      "  1) Heave damping is ................................... Specified\n"
      "  2) Heave damping (percent of critical) ................     5.00\n"
      "\n"
      "  3) Pitch damping is ................................... Computed \n"
      "  5) Roll damping is .................................... Specified\n"
      "  6) Roll damping (percent of critical) .................     2.50\n"
      "\n"
      "\n"
      "  7) Heave period is .................................... Specified\n"
      "  8) Heave period (sec) .................................    12.00\n"
      "\n"
      "  9) Pitch period is .................................... Computed \n"
      " 11) Roll period is ..................................... Specified\n"
      " 12) Roll period (sec) ..................................    20.00\n"
      "\n"
      " 13) Feedback mooring forces to wave-frequency motions?     Yes\n"
      "\n"
      " 14) Output static wave force vs mooring force analysis?    Yes\n";
  EXPECT_EQ(w.i(779), 1);
  EXPECT_EQ(w.i(778), 1);
  const std::string shown = t.shown();
  EXPECT_EQ(shown.substr(shown.rfind(" ***********  Page 9")), expected + kSelect);
}

TEST(Periods, DiscBuoyEditorNeverShowsTheMooringToggles) {
  ScriptedSession t("13\n14\n\n");
  disc_record(t.s);
  vesel3(t.s, "4", "Vessel");
  EXPECT_EQ(t.shown().find("Feedback mooring"), std::string::npos);
  EXPECT_EQ(t.s.tpcm.i(779), 0);
  EXPECT_EQ(t.s.tpcm.i(778), 0);
}

TEST(Periods, HelpKeysAndPageHelpFlag) {
  {
    ScriptedSession t("?8\n\n\n");
    disc_record(t.s);
    t.s.tpcm.i(769) = 1;
    vesel3(t.s, "4", "Vessel");
    EXPECT_NE(t.shown().find(" ++> Item Number 8\n     Natural periods are normally computed"), std::string::npos);
  }
  {
    // Vessel type 4: flag 2, the page help goes on to the two mooring texts.
    ScriptedSession t("?\n\n\n\n\n");
    disc_record(t.s);
    vesel3(t.s, "4", "Vessel");
    EXPECT_EQ(count_of(t.shown(), "Press <RETURN>"), 3);
    EXPECT_NE(t.shown().find("\"OFFSETS\""), std::string::npos);
  }
  {
    ScriptedSession t("?\n\n\n");
    disc_record(t.s);
    t.s.tpcm.i(kVesselType) = 1;
    vesel3(t.s, "4", "Vessel");
    EXPECT_EQ(count_of(t.shown(), "Press <RETURN>"), 1);
    EXPECT_NE(t.shown().find("\"equivalent linear damping\""), std::string::npos);
    EXPECT_EQ(t.shown().find("CALM buoy"), std::string::npos);
  }
}

}  // namespace
}  // namespace kelp
