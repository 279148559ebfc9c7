#include "edlib/pages/vessel_pages.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::iw;
using testing::kNewValue;
using testing::kReturn;
using testing::kSelect;
using testing::PageCase;
using testing::PageFn;
using testing::rw;

// The three pages as ronvaske shows them (pages 2, 3 and 4), and as page 9
// of the mooring editor.
const PageFn kPage2 = [](Session& s) { vesel1(s, "2", "Vessel"); };
const PageFn kPage7 = [](Session& s) { vesel1(s, "7", "Vessel"); };
const PageFn kPage3 = [](Session& s) { vesel2(s, "3", "Vessel"); };
const PageFn kPage8 = [](Session& s) { vesel2(s, "8", "Vessel"); };
const PageFn kPage4 = [](Session& s) { vesel3(s, "4", "Vessel"); };
const PageFn kPage9 = [](Session& s) { vesel3(s, "9", "Vessel"); };

struct PageRow {
  PageFn page;
  PageCase c;
};
void expect_rows(std::initializer_list<PageRow> rows) {
  for (const PageRow& r : rows) testing::expect_page_case(r.page, r.c);
}

const testing::Words kHydroValues = {rw(1408, 1234.5f), rw(1416, 12.25f), rw(1417, 150.0f), rw(1409, 3.5f),
                                     rw(1410, 8.75f),   rw(1649, -2.0f),  rw(1412, 2000.0f), rw(1418, 60.0f),
                                     rw(1419, 60.0f),   rw(1411, 6.0f)};
const testing::Words kGyradiiValues = {rw(1413, 60.0f), rw(1414, 12.5f), rw(1415, 61.25f), rw(1420, 1.5f)};

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

const std::string kPeriodsSpecified =
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

TEST(VesselPages, ScreensEndToEnd) {
  expect_rows({
      {kPage2, {"hydrostatics", "\n", kHydroValues, {iw(kNavCode, 0)}, {}, {}, {}, 4, kUnitsEnglish,
                kHydroEnglish + kSelect}},
      // The first half page of a pair: a page break, which the screen shows as
      // a clear; the page is left with code 0.
      {kPage2, {"hydrostatics in a print pass", "", [] {
                  auto w = kHydroValues;
                  w.push_back(iw(kPrintPass, 2));
                  return w;
                }(),
                {iw(kNavCode, 0), iw(kPrintPass, 3)}, {}, {}, {}, 4, kUnitsEnglish, kHydroEnglish}},
      {kPage3, {"gyradii without keel or speed", "\n", kGyradiiValues, {}, {}, {}, {}, 4, kUnitsEnglish,
                kGyradiiEnglish + kSelect}},
      // 2 is hidden: it only redraws, without a prompt.
      {kPage4, {"periods all computed", "2\n\n", {}, {}, {}, {}, {}, 4, kUnitsEnglish,
                kPeriodsComputed + kSelect + kPeriodsComputed + kSelect}},
      {kPage9, {"periods specified, mooring toggles", "13\n14\n\n",
                {iw(kVesselType, 4), iw(766, 1), rw(1370, 5.0f), iw(765, 1), rw(1369, 2.5f), iw(769, 1),
                 rw(1373, 12.0f), iw(768, 1), rw(1372, 20.0f)},
                {iw(779, 1), iw(778, 1)}, {}, {}, {}, 12, kUnitsEnglish, {}, kPeriodsSpecified + kSelect}},
  });
}

TEST(VesselPages, UnitLabelsFollowTheUnitSystemWithoutConvertingValues) {
  expect_rows({
      {kPage2, {"hydrostatics, metric", "\n", kHydroValues, {rw(1408, 1234.5f)},
                {"  1) Vessel displacement ................................    1234.50 m.ton \n",
                 "  7) Vessel water plane area ............................    2000.00 m^2   \n",
                 " 10) Mean vessel draft ..................................       6.00 m     \n"},
                {}, {}, 4, kUnitsMetric}},
      {kPage3, {"gyradii, metric: meters and knots", "\n",
                [] {
                  auto w = kGyradiiValues;
                  w.push_back(rw(1424, 5.14f));  // 10 knots in m/s
                  return w;
                }(),
                {},
                {"  3) Yaw Gyradius .......................................     61.25 m     \n"
                 "\n"
                 "  4) Bilge radius at maximum beam station ...............      1.50 m     \n",
                 "  9) Vessel speed (knots) ...............................     10.00       \n"},
                {}, {}, 4, kUnitsMetric}},
  });
}

TEST(VesselPages, ValueItemsAreEditedAndBlankRepliesKeepThem) {
  expect_rows({
      // Items 1 to 10 in turn; item 4 gets a blank reply and item 5 letters:
      // both keep their values.
      {kPage2, {"every hydrostatic item", "1\n5000\n2\n21.5\n3\n300\n4\n\n5\nabc\n6\n-4.5\n7\n1500\n8\n80\n9\n30\n10\n7.25\n\n",
                kHydroValues,
                {rw(1408, 5000.0f), rw(1416, 21.5f), rw(1417, 300.0f), rw(1409, 3.5f), rw(1410, 8.75f),
                 rw(1649, -4.5f), rw(1412, 1500.0f), rw(1418, 80.0f), rw(1419, 30.0f), rw(1411, 7.25f)},
                {}, {}, {{kNewValue, 10}, {"Page 2: Vessel Hydrostatic", 11}}}},
      // 6 while hidden only redraws; 5 flips the keel on (word 13 = 0), then
      // 6, 7 and 8 are edited.
      {kPage3, {"keel items once there is a keel", "6\n5\n6\n120\n7\n0.5\n8\n4.25\n\n", kGyradiiValues,
                {iw(761, 1), rw(1421, 120.0f), rw(1422, 0.5f), rw(1423, 4.25f)},
                {"  5) Is there a bilge keel ..............................   Yes\n"
                 "  6) Bilge keel length ..................................    120.00 ft    \n"
                 "  7) Bilge keel width ...................................      0.50 ft    \n"
                 "  8) Inboard keel-to-vessel centerline distance .........      4.25 ft    \n"},
                {}, {{kNewValue, 3}}}},
      // Item 10 appears once the speed is not zero.
      {kPage3, {"speed typed in knots, stored in ft/s", "9\n10\n\n", {}, {rw(1424, 10.0f * 1.687f)},
                {"  9) Vessel speed (knots) ...............................     10.00       \n"
                 " 10) Global direction of vessel motion (degrees) ........      0.00       \n"},
                {}, {}, 4, kUnitsEnglish, {}, {}, {{1424, 16.87f, 1e-5f}}}},
      {kPage3, {"speed stored in m/s, direction edited", "9\n10\n10\n90\n\n", {}, {rw(1405, 90.0f)}, {}, {}, {}, 4,
                kUnitsMetric, {}, {}, {{1424, 5.14f, 1e-6f}}}},
      // 3.3 ft/s is not a whole number of knots: a round trip would move it.
      {kPage3, {"a blank or unreadable speed keeps the stored bits", "9\n\n9\nfast\n\n", {rw(1424, 3.3f)},
                {rw(1424, 3.3f)}}},
      // 14 is hidden at first; 13 turns the RAOs on, still hidden with no
      // trim or heel; after a trim of 2 degrees 14 shows and flips.
      {kPage3, {"deck-vertical toggle needs user RAOs and an attitude", "14\n13\n14\n11\n2\n14\n\n", {},
                {iw(777, 1), rw(1364, 2.0f), iw(788, 1)},
                {" 13) Utilize user-supplied vessel RAO data ..............   Yes\n"
                 " 14) User RAOs in Deck-Vertical Coordinate System? ......   Yes\n"}}},
      {kPage3, {"heel, trim and gyradii", "12\n-3.5\n1\n55\n2\n14\n3\n57\n4\n2\n\n", {},
                {rw(1365, -3.5f), rw(1413, 55.0f), rw(1414, 14.0f), rw(1415, 57.0f), rw(1420, 2.0f)}}},
      // 1 switches heave damping to specified and reads 5; 1 again switches
      // it back and keeps the value.
      {kPage4, {"a mode that becomes specified asks for its value", "1\n5\n1\n\n", {},
                {iw(766, 0), rw(1370, 5.0f)},
                {kSelect + "  2) Heave damping (percent of critical) ................     0.00\n" + kNewValue}, {},
                {{kNewValue, 1}}}},
      // Pitch damping is set to 4, then edited through item 4.
      {kPage4, {"every mode and value", "3\n4\n5\n2.5\n7\n12\n9\n30\n11\n20\n4\n6\n\n", {},
                {iw(764, 1), iw(765, 1), iw(769, 1), iw(767, 1), iw(768, 1), rw(1368, 6.0f), rw(1369, 2.5f),
                 rw(1373, 12.0f), rw(1371, 30.0f), rw(1372, 20.0f)}}},
  });
}

TEST(VesselPages, HiddenItemsKeepTheirNumbersAndOnlyRedraw) {
  expect_rows({
      // Kind 4 never shows item 11; vessel type 4 hides item 12. Selecting or
      // asking help for them only draws the page again.
      {kPage2, {"hydrostatics of the disc buoy", "11\n12\n?11\n?12\n\n", {}, {iw(kVesselType, 4)}, {},
                {"Vessel type for simulation", "Vessel Definition Notes", kNewValue},
                {{"Page 2: Vessel Hydrostatic", 5}}}},
      {kPage2, {"the tanker item keeps number 12", "\n", {iw(kVesselType, 1)}, {},
                {" 10) Mean vessel draft ..................................       0.00 ft    \n"
                 "\n"
                 " 12) Help for Tanker-Type Physical Characteristics\n"}}},
      {kPage8, {"kind 8 hides the RAO toggle", "13\n\n", {}, {iw(777, 0)}, {}, {"Utilize user-supplied"}, {}, 8}},
      {kPage4, {"the disc-buoy editor never shows the mooring toggles", "13\n14\n\n", {}, {iw(779, 0), iw(778, 0)},
                {}, {"Feedback mooring"}}},
  });
}

TEST(VesselPages, TogglesAndTheVesselTypeChoice) {
  const std::string full_menu = " 4) Disc-shaped vessel (CALM buoy, arctic drillship)\n";
  // From kind 12 with type 2 (word 790 at 7: untouched when the choice keeps
  // the type).
  const auto choice = [&](const char* reply, int type, int companion) {
    return PageRow{kPage7, {reply, std::string("11\n") + reply + "\n\n", {iw(kVesselType, 2), iw(790, 7)},
                            {iw(kVesselType, type), iw(790, companion)}, {full_menu}, {}, {}, 12}};
  };
  expect_rows({
      {kPage3, {"toggles ask when word 13 is set: 1 sets, 7 keeps", "5\n1\n5\n7\n\n", {iw(kBatchFlag, 1)},
                {iw(761, 1)}, {}, {}, {{"Enter 1 for \"Yes\", 0 for \"No\": ", 2}}}},
      {kPage4, {"the asking mode toggle names its modes", "1\n1\n8.5\n\n", {iw(kBatchFlag, 1)},
                {iw(766, 1), rw(1370, 8.5f)}, {"Enter 1 for \"Specified\", 0 for \"Computed\": "}}},
      // Kind 3: item 11 shows; its menu lists 3, 5 and 6 and sets word 790 to
      // 1 even on a blank reply, which keeps the type.
      {kPage2, {"kind 3: the short type menu", "11\n\n\n", {iw(kVesselType, 3), iw(790, 0)},
                {iw(kVesselType, 3), iw(790, 1)},
                {"\n"
                 " 11) Vessel type for simulation ......................... Semisubmersible\n",
                 kSelect + "\n\n"
                           " +++   Vessel type for wave-frequency dynamics simulation  +++\n"
                           "\n"
                           " 3) Semisubmersible\n"
                           " 5) Tension Leg Platform\n"
                           " 6) Caisson Spar\n"
                           "\n" +
                     kSelect},
                {}, {}, 3}},
      choice("4", 4, 0), choice("5", 5, 1), choice("1", 1, 0), choice("3", 3, 1), choice("9", 6, 1),
      choice("2", 2, 0), choice("-7", 2, 7), choice("B", 2, 7),
      {kPage7, {"the type menu's help names the simulation program", "11\n?2\n\n\n\n", {}, {},
                {"                 ****  Vessel Definition Notes  ****\n"
                 "\n"
                 " ++> Item Number  2\n"
                 "     This item causes the simulation to search for Legrove\n"
                 "     to evaluate wave-frequency vessel motion response.\n" +
                 kReturn},
                {}, {}, 12}},
      {kPage2, {"the key list leaves the redisplay to the page loop", "H\n\n", {}, {iw(kNavCode, kNavKeys)},
                {" (B)  Back a page\n"}}},
  });
}

TEST(VesselPages, HelpShowsTheNotesOfTheItemsKeys) {
  expect_rows({
      {kPage2, {"hydrostatics: item help by key", "?6\n\n?1\n\n\n", {}, {},
                {" ********************  Vessel Definition Notes  ********************\n"
                 "\n"
                 "\n"
                 " ++> Item Number 6\n"
                 "     The LCG-to-Midships distance",
                 "OCIMF-type moment coefficients",
                 " ++> Item Number 1\n     Displacement comprises total simulated vessel weight"}}},
      // Kind 4: three pauses and the final wait; no vessel-type text.
      {kPage2, {"hydrostatics: page help of the disc buoy", "?\n\n\n\n\n\n", {}, {},
                {"VKG should include free-surface corrections, if any.", "block coefficients above about .75"},
                {"The vessel type selects"}, {{"Press <RETURN>", 4}}}},
      {kPage7, {"hydrostatics: page help of the mooring kinds", "?\n\n\n\n\n\n\n", {}, {},
                {"The vessel type selects"}, {}, {{"Press <RETURN>", 5}}, 12}},
      {kPage3, {"gyradii: item 4 has no note", "?4\n\n\n", {}, {},
                {" *********************  Vessel Definition Notes  *********************\n"
                 "\n"
                 "\n"
                 " ++> Item Number 4\n"
                 "\n"
                 " ++> Sorry, no help for this item...\n"
                 "\n" +
                 kReturn}}},
      {kPage3, {"gyradii: item help by key", "?3\n\n?11\n\n\n", {}, {},
                {"Yaw gyradius = SQRT(Pg^2 + Rg^2)", " ++> Item Number 11\n     Trim and heel"}}},
      // The RAO note names the limits of the RAO file.
      {kPage3, {"gyradii: the RAO note", "?13\n\n\n", {}, {},
                {"     Maximum number of array frequencies = 121\n"
                 "     Maximum number of attack angles in [0,360] circle = 145\n"}}},
      {kPage3, {"gyradii: page help", "?\n\n\n\n\n\n\n", {}, {}, {"Motion toward 90 degrees"}, {},
                {{"Press <RETURN>", 5}}}},
      {kPage4, {"periods: item help by key", "?8\n\n\n", {iw(769, 1)}, {},
                {" ++> Item Number 8\n     Natural periods are normally computed"}}},
      // Vessel type 4: the page help goes on to the two mooring notes.
      {kPage4, {"periods: page help with the mooring notes", "?\n\n\n\n\n", {}, {}, {"\"OFFSETS\""}, {},
                {{"Press <RETURN>", 3}}}},
      {kPage4, {"periods: page help of a ship", "?\n\n\n", {iw(kVesselType, 1)}, {},
                {"\"equivalent linear damping\""}, {"CALM buoy"}, {{"Press <RETURN>", 1}}}},
  });
}

TEST(Hydrostatics, TankerItemOpensTheEstimatesPage) {
  // 12 opens the estimates page; an empty reply there leaves it unchanged,
  // and the hydrostatics page comes back.
  PageCase c{"tanker", "12\n\n\n", kHydroValues, {}, {" >>> Independent variables for"}, {},
             {{"Page 2: Vessel Hydrostatic", 2}}};
  c.preset.push_back(iw(kVesselType, 1));
  testing::expect_page_case(kPage2, c);
  const auto t = testing::run_page_case(kPage2, c);
  Tpcm before;
  testing::page_record(before);
  testing::set_words(before, c.preset);
  Tpcm after = t->s.tpcm;
  after.i(kNavCode) = before.i(kNavCode);
  after.i(kPageCounter) = before.i(kPageCounter);
  EXPECT_TRUE(after == before);
}

TEST(Hydrostatics, TypeNamesAndUndefined) {
  EXPECT_EQ(vessel_type_name(1), " Ship/barge/tanker");
  EXPECT_EQ(vessel_type_name(6), " Caisson Spar");
  EXPECT_EQ(vessel_type_name(0), " Undefined!");
  EXPECT_EQ(vessel_type_name(7), " Undefined!");
}


// ---------------------------------------------------------------- vesel4

void dynamics(Session& s) { vesel4(s, "9b", "Vessel"); }

TEST(Dynamics, ScreenWithEveryMotionSpecified) {
  using testing::iw;
  using testing::rw;
  const auto t = testing::run_page_case(
      dynamics, {"", "\n",
                 {iw(kSurgeDampingMode, 1), rw(kSurgeDamping, 4.0f), iw(kSwayDampingMode, 1), rw(kSwayDamping, 5.0f),
                  iw(kYawDampingMode, 1), rw(kYawDamping, 6.0f), iw(kSurgePeriodMode, 1), rw(kSurgePeriod, 30.0f),
                  iw(kSwayPeriodMode, 1), rw(kSwayPeriod, 40.0f), iw(kYawPeriodMode, 1), rw(kYawPeriod, 50.0f)},
                 {}, {}, {}, {}, 15});
  EXPECT_EQ(t->shown(),
            " ***************  Page 9b: Vessel Dynamics Specifications  ***************\n"
            "\n"
            "  1) Surge damping is ................................... Specified\n"
            "  2) Surge damping (percent of critical) ................     4.00\n"
            "\n"
            "  3) Sway damping is .................................... Specified\n"
            "  4) Sway damping (percent of critical) .................     5.00\n"
            "\n"
            "  5) Yaw damping is ..................................... Specified\n"
            "  6) Yaw damping (percent of critical) ..................     6.00\n"
            "\n"
            "\n"
            "  7) Surge period is .................................... Specified\n"
            "  8) Surge period (sec) .................................    30.00\n"
            "\n"
            "  9) Sway period is ..................................... Specified\n"
            " 10) Sway period (sec) ..................................    40.00\n"
            "\n"
            " 11) Yaw period is ...................................... Specified\n"
            " 12) Yaw period (sec) ...................................    50.00\n" +
                kSelect);
}

TEST(Dynamics, ModesAndValues) {
  using testing::iw;
  using testing::rw;
  const std::string kYawPeriodLine = " 12) Yaw period (sec) ...................................     0.00\n";
  const testing::PageCase cases[] = {
      {"all computed: odd items only; 2 only draws again", "2\n\n", {}, {},
       {"  1) Surge damping is ................................... Computed \n"
        "  3) Sway damping is .................................... Computed \n"
        "  5) Yaw damping is ..................................... Computed \n\n"
        "  7) Surge period is .................................... Computed \n"
        "  9) Sway period is ..................................... Computed \n"
        " 11) Yaw period is ...................................... Computed \n" + kSelect},
       {kNewValue}, {{"Page 9b", 2}}, 15},
      {"11 specified asks for the yaw period at once", "11\n25\n\n", {}, {iw(kYawPeriodMode, 1), rw(kYawPeriod, 25.0f)},
       {kSelect + kYawPeriodLine + kNewValue}, {}, {}, 15},
      {"back to computed keeps the value", "1\n\n", {iw(kSurgeDampingMode, 1), rw(kSurgeDamping, 3.0f)},
       {iw(kSurgeDampingMode, 0), rw(kSurgeDamping, 3.0f)}, {}, {kNewValue}, {}, 15},
      {"the yes/no question in batch mode", "3\n1\n7\n\n", {iw(kBatchFlag, 1)},
       {iw(kSwayDampingMode, 1), rw(kSwayDamping, 7.0f)}, {"Enter 1 for \"Yes\", 0 for \"No\": "}, {"Specified\","}, {}, 15},
      {"a value edited on its own", "10\n33\n\n", {iw(kSwayPeriodMode, 1)}, {rw(kSwayPeriod, 33.0f)}, {}, {}, {}, 15},
  };
  for (const auto& c : cases) testing::expect_page_case(dynamics, c);
}

TEST(Dynamics, Help) {
  const std::string kTitle = " *********************  Vessel Definition Notes  *********************\n";
  const testing::PageCase cases[] = {
      {"damping items share a note", "?5\n\n\n", {}, {},
       {kTitle + "\n\n ++> Item Number 5\n     Wave-frequency surge, sway and yaw damping"}, {}, {}, 15},
      {"period items share a note", "?11\n\n\n", {}, {}, {"\n ++> Item Number 11\n     The wave-frequency surge"},
       {}, {}, 15},
      {"page help: both notes on one screen", "?\n\n\n", {}, {},
       {kTitle + "\n\n     Wave-frequency", "\n     The wave-frequency"}, {}, {{"Press <RETURN>", 1}}, 15},
  };
  for (const auto& c : cases) testing::expect_page_case(dynamics, c);
}

}  // namespace
}  // namespace kelp
