// The mooring layout pages 2, 3 and 4: their screens, the edits of every
// item, the lines of the other structure kinds, help, the print pass, and
// counts in the record that are larger than the tables they index.
#include "moor/e/mooring_layout_pages.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::iw;
using testing::kNewValue;
using testing::kReturn;
using testing::kSelect;
using testing::PageCase;
using testing::PageFn;
using testing::rw;
using testing::Words;

const PageFn kGeneral = [](Session& s) { moorln(s, "2"); };
const PageFn kMore = [](Session& s) { morln2(s, "3"); };
const PageFn kDynamics = [](Session& s) { morln3(s, "4"); };

void expect_cases(const PageFn& page, std::initializer_list<PageCase> cases) {
  for (const PageCase& c : cases) testing::expect_page_case(page, c);
}

// Four legs of two types, as the mooring defaults size the tables.
const Words kMooring = {iw(kMooringLegs.n, 4),  iw(kMooringLegsMax.n, 149), iw(kLineTypes.n, 2),
                        iw(kLineTypesMax.n, 149), iw(kSublinesMax.n, 25)};
Words with(Words a, const Words& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// ---- The screens ----

const std::string kGeneralScreen =
    "  **** Page 2: General Mooring Information ****                    \n"
    "\n"
    "  1) Number of mooring legs (Max 149) ...................    4\n"
    "  2) Number of distinct mooring leg types (Max 149) .....    2\n"
    "  3) Maximum interpolation table horizontal load ........    500.00 kips       \n"
    "  4) Smallest nonzero horizontal load ...................      1.00 kips       \n"
    "  5) Number of points in interpolation table(s) .........   90\n"
    "  6) Mean line profile determined by .................... line tension\n"
    "  7) Modify individual values of line tension\n"
    "  8) Default bottom friction coefficient ................      0.30\n"
    "\n"
    " 16) Reset default Anchor depth .........................    300.00 feet       \n"
    " 17) Specify anchor depths individually .................   Yes\n"
    " 18) Default bottom boundary is \"transparent\" ...........   Yes\n"
    " 19) First buoyant element stays at or below waterline:     Yes\n";
const Words kGeneralWords = with(kMooring, {rw(kMaxTableLoad.n, 500.0f), rw(kMinTableLoad.n, 1.0f),
                                            iw(kInterpTableSize.n, 90), iw(kProfileMode.n, 2),
                                            rw(kDefaultFriction.n, 0.3f), rw(kDefaultAnchorDepth.n, 300.0f),
                                            iw(kAnchorDepthsPerType.n, 1), iw(kDefaultBottomFlag.n, 0),
                                            iw(kBuoyantAtWaterline.n, 1)});

// Five line types (two lines of legs and of sublines) and 17 excluded lines
// (two lines of numbers).
const std::string kMoreScreen =
    "  **** Page 3: More General Mooring Information ****                    \n"
    "\n"
    " 1) Number of mooring legs associated with each type --\n"
    "\n"
    "   4 in Type   1 {A}   4 in Type   2 {B}   4 in Type   3 {C}   4 in Type   4 {D}\n"
    "   2 in Type   5 {E}\n"
    " 2) Number of sublines associated with each type (max 25) --\n"
    "   3 in Type   1 {A}   1 in Type   2 {B}  25 in Type   3 {C}   2 in Type   4 {D}\n"
    "  10 in Type   5 {E}\n"
    " 3) Edit fairlead positions\n"
    " 4) Edit plan-view line departure angles\n"
    "  5) Edit mooring moment evaluation center \n"
    "\n"
    "  6) Vessel x-coordinate of turret centroid:      12.50 feet  \n"
    "  7) Vessel heading in quiescent conditions:   180.00 Degrees\n"
    "\n"
    " 10) Number of excluded or broken lines (Max 120):  17\n"
    " 11) Line numbers selected for exclusion:\n"
    "       1,  2,  3,  4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14, 15, 16,\n"
    "      31,\n";
const Words kMoreWords = {iw(kMooringLegs.n, 40), iw(kMooringLegsMax.n, 149), iw(kLineTypes.n, 5),
                          iw(kLineTypesMax.n, 149), iw(kSublinesMax.n, 25),
                          // legs and sublines of types 1 to 5
                          iw(28076, 4), iw(28077, 4), iw(28078, 4), iw(28079, 4), iw(28080, 2), iw(28228, 3),
                          iw(28229, 1), iw(28230, 25), iw(28231, 2), iw(28232, 10), rw(kTurretX.n, 12.5f),
                          rw(kVesselHeading.n, 180.0f),
                          // lines 1 to 16 in the first bit word, line 31 in the second
                          iw(kExcludedLines.n, 17), iw(5003, 0xffff), iw(5004, 1)};

const std::string kDynamicsScreen =
    "  **** Page 4: Dynamics-Related Mooring Information ****                    \n"
    "\n"
    "  1) Number of lines for dynamic evaluation (Max  18):   3\n"
    "  2) Line numbers selected for dynamic evaluation:\n"
    "       1,  7, 18,\n"
    "  6) Number of vertical interpolation layers (Max 29, Min 1) ...   9\n"
    "  7) Total span of vertical interpolation region ...............      20.00 feet  \n"
    "\n"
    " 10) Reset default added mass coefficient ...........   1.50\n"
    " 11) Reset default square-law drag coefficient ......   1.25\n"
    "\n";
const Words kDynamicsWords = {iw(kMooringLegs.n, 18), iw(kDynamicLines.n, 3), iw(28383, 1), iw(28384, 7),
                              iw(28385, 18),          iw(kInterpLayers.n, 9), rw(kInterpSpan.n, 20.0f),
                              rw(kElementAddedMass.n, 1.5f), rw(kElementDrag.n, 1.25f)};

TEST(MooringLayout, ScreensEndToEnd) {
  testing::expect_page_case(kGeneral, {"page 2", "\n", kGeneralWords, {iw(kNavCode.n, 0)}, {}, {}, {}, 15,
                                       kUnitsEnglish, kGeneralScreen + kSelect});
  testing::expect_page_case(kMore, {"page 3", "\n", kMoreWords, {}, {}, {}, {}, 15, kUnitsEnglish,
                                    kMoreScreen + kSelect});
  testing::expect_page_case(kDynamics, {"page 4", "\n", kDynamicsWords, {}, {}, {}, {}, 15, kUnitsEnglish,
                                        kDynamicsScreen + kSelect});
}

TEST(MooringLayout, UnitLabelsFollowTheUnitSystem) {
  testing::expect_page_case(kGeneral, {"page 2 metric", "\n", kGeneralWords, {},
                                       {"horizontal load ........    500.00 metric tons\n",
                                        "Anchor depth .........................    300.00 meters     \n"},
                                       {}, {}, 15, kUnitsMetric});
  testing::expect_page_case(kMore, {"page 3 metric", "\n", kMoreWords, {}, {"centroid:      12.50 meters\n"}, {},
                                    {}, 15, kUnitsMetric});
  testing::expect_page_case(kDynamics, {"page 4 metric", "\n", kDynamicsWords, {}, {"      20.00 meters\n"}, {}, {},
                                        15, kUnitsMetric});
}

// ---- Page 2 ----

TEST(GeneralMooringPage, CountsAndValues) {
  expect_cases(kGeneral, {
      {"a leg count above the maximum is held to it; the hawser line follows", "1\n200\n\n", kMooring,
       {iw(kMooringLegs.n, 149), iw(kHawserLine.n, 149)}, {}, {}, {}, 15},
      {"a type count likewise; the hawser type follows", "2\n300\n\n", kMooring,
       {iw(kLineTypes.n, 149), iw(kHawserType.n, 149)}, {}, {}, {}, 15},
      {"a navigation letter typed as a count keeps it", "1\nB\n2\nM\n\n", kMooring,
       {iw(kMooringLegs.n, 4), iw(kLineTypes.n, 2)}, {}, {}, {}, 15},
      {"95 table points store 90", "5\n95\n\n", kMooring, {iw(kInterpTableSize.n, 90)},
       {"Interpolation table size (Max 90):   0\n" + kNewValue}, {}, {}, 15},
      {"the real items", "3\n750.5\n4\n2.5\n8\n0.25\n\n", kMooring,
       {rw(kMaxTableLoad.n, 750.5f), rw(kMinTableLoad.n, 2.5f), rw(kDefaultFriction.n, 0.25f)}, {}, {},
       {{kNewValue, 3}}, 15},
      {"item 19 toggles", "19\n\n", kMooring, {iw(kBuoyantAtWaterline.n, 1)}, {}, {}, {}, 15},
  });
}

TEST(GeneralMooringPage, ProfileSubMenu) {
  const std::string menu = " ----  Mean Line Profile determined by:  ----";
  expect_cases(kGeneral, {
      {"4 selects the horizontal force", "6\n4\n\n", kMooring, {iw(kProfileMode.n, 3)},
       {" 4) Fairlead horizontal force\n",
        "  6) Mean line profile determined by .................... horizontal force"},
       {}, {}, 15},
      {"a blank reply keeps the mode", "6\n\n\n", with(kMooring, {iw(kProfileMode.n, 2)}), {iw(kProfileMode.n, 2)},
       {}, {}, {{menu, 1}}, 15},
      {"kind 7 has three modes: 4 shows the menu again", "6\n4\n2\n\n", kMooring, {iw(kProfileMode.n, 1)}, {},
       {" 4) Fairlead horizontal force"}, {{menu, 2}}, 7},
      {"help of the sub-menu", "6\n?2\n\n1\n\n", kMooring, {iw(kProfileMode.n, 0)},
       {" ++> Item Number  2", "\"Distance to anchor\""}, {}, {}, 15},
      {"an unknown mode shows Undefined!", "\n", with(kMooring, {iw(kProfileMode.n, 9)}), {},
       {" Undefined!\n  7) Modify individual values of Undefined!\n"}, {}, {}, 15},
  });
}

TEST(GeneralMooringPage, AnchorDepthsAndBottom) {
  // Three slots of anchor depths in use (word 28382); the fourth must stay.
  const Words depths = with(kMooring, {iw(kMooringLegsMax.n, 3), rw(kDefaultAnchorDepth.n, 300.0f),
                                       rw(78081, 5.0f), rw(78082, 6.0f), rw(78083, 7.0f), rw(78084, 8.0f)});
  const std::string warning =
      " ++> Warning: This action, unless aborted below, will replace all\n"
      "              existing anchor depths with the specified default value.\n";
  expect_cases(kGeneral, {
      {"a new default depth goes to every slot up to the maximum leg count", "16\n250\n\n", depths,
       {rw(kDefaultAnchorDepth.n, 250.0f), rw(78081, 250.0f), rw(78082, 250.0f), rw(78083, 250.0f),
        rw(78084, 8.0f)},
       {"Current default anchor depth =     300.00\n Enter new value (<RETURN> to abort replacement): "}, {}, {},
       15},
      {"a blank or unreadable depth changes nothing", "16\n\n16\nxyz\n\n", depths,
       {rw(kDefaultAnchorDepth.n, 300.0f), rw(78081, 5.0f)}, {}, {}, {}, 15},
      {"individual depths Yes to No copies the default", "17\n\n\n",
       with(depths, {iw(kAnchorDepthsPerType.n, 1)}),
       {iw(kAnchorDepthsPerType.n, 0), rw(78081, 300.0f), rw(78083, 300.0f), rw(78084, 8.0f)}, {warning}, {},
       {}, 15},
      {"individual depths: A aborts", "17\nA\n\n", with(depths, {iw(kAnchorDepthsPerType.n, 1)}),
       {iw(kAnchorDepthsPerType.n, 1), rw(78081, 5.0f)}, {warning}, {}, {}, 15},
      {"individual depths No to Yes only flips", "17\n\n", with(depths, {iw(kAnchorDepthsPerType.n, 0)}),
       {iw(kAnchorDepthsPerType.n, 1), rw(78081, 5.0f)}, {}, {warning}, {}, 15},
      {"a transparent bottom is stored as 0 and copied to the types", "18\n\n",
       with(depths, {iw(kDefaultBottomFlag.n, 1), iw(5276, 1), iw(5278, 1), iw(5279, 1)}),
       {iw(kDefaultBottomFlag.n, 0), iw(5276, 0), iw(5278, 0), iw(5279, 1)},
       {" 18) Default bottom boundary is \"transparent\" ...........   No \n",
        " 18) Default bottom boundary is \"transparent\" ...........   Yes\n"},
       {}, {}, 15},
  });
}

TEST(GeneralMooringPage, LinesOfTheOtherKinds) {
  const Words hawser = with(kMooring, {iw(kHawserFlag.n, 1)});
  expect_cases(kGeneral, {
      {"kind 8 without hawser: attitude items", "9\n10\n6.5\n11\n1.5\n12\n-2\n\n", kMooring,
       {iw(kHawserFlag.n, 1), iw(kHawserFlagCopy.n, 1), rw(kDraft.n, 6.5f), rw(kBuoyDraft.n, 1.5f),
        rw(kHeel.n, 0.0f)},
       {"  9) Treat LAST line type/number as a hawser ............   No \n"
        " 10) Vessel draft .......................................      0.00 feet  \n"
        " 11) Vessel trim angle ..................................      0.00 deg\n"
        " 12) Vessel heel angle ..................................      0.00 deg\n"},
       {}, {}, 8},
      {"kind 8 with hawser: the tail, the note and the buoy draft", "\n", hawser,
       {iw(kHawserLine.n, 4), iw(kHawserType.n, 2)},
       {"  **** Page 2: General Mooring Information <<INCLUDES hawser>> ****\n",
        " ++> NOTE: Line number  4 & line type B comprise Hawser data\n",
        " 11) Buoy draft .........................................      0.00 feet  \n"},
       {" 12) Vessel heel"}, {}, 8},
      {"kind 13: hawser or yoke", "9\n\n", kMooring, {iw(kHawserFlag.n, 1), iw(kHawserFlagCopy.n, 1)},
       {"  9) Vessel-buoy attachment means ....................... yoke\n",
        "  9) Vessel-buoy attachment means ....................... hawser\n"},
       {" 10) Vessel draft"}, {}, 13},
      {"kind 14: the tendon note", "\n", kMooring, {},
       {" ++> NOTE: The first line type (Type \"A\") should contain ONLY tendon data\n"}, {}, {}, 14},
      {"kind 7: no item 4 and none from 9; selecting them does nothing", "4\n16\n\n", kMooring, {}, {},
       {"  4) Smallest", " 16) Reset", " 19) First"}, {{kNewValue, 0}}, 7},
  });
}

TEST(GeneralMooringPage, Help) {
  expect_cases(kGeneral, {
      {"item 6 for kind 15: four modes and the slack line", "?6\n\n\n", kMooring, {},
       {"Mooring Definition Notes", " ++> Item Number  6", "4) the horizontal force", "A slack line"}, {}, {},
       15},
      {"item 6 for kind 14: the tendon advice", "?6\n\n\n", kMooring, {}, {"For tendon systems"},
       {"A slack line"}, {}, 14},
      {"item 9 for kind 15 has no note", "?9\n\n\n", kMooring, {}, {" ++> Sorry, no help for this line..."}, {}, {},
       15},
  });
}

// ---- Page 3 ----

const std::string kInconsistent = " ++> Line number inconsistency; total line # =   4\n";
const Words kTypeLegs = with(kMooring, {iw(28076, 2), iw(28077, 2), iw(28228, 3), iw(28229, 4)});

TEST(MoreMooringPage, TypeTables) {
  expect_cases(kMore, {
      {"legs per type that do not add up open the editor again", "1\n1\n3\n2\n\n\n1\n1\n3\n\n\n", kTypeLegs,
       {iw(28076, 1), iw(28077, 3)}, {kInconsistent}, {}, {{kInconsistent, 1}}, 15},
      {"no line types for four legs: the message once", "1\n\n\n\n", with(kTypeLegs, {iw(kLineTypes.n, 0)}), {},
       {kInconsistent + kReturn}, {}, {{kInconsistent, 1}}, 15},
      {"subline counts are held to 0 .. word 28378", "2\n1\n30\n-2\n\n\n", kTypeLegs,
       {iw(28228, 25), iw(28229, 0)}, {}, {}, {}, 15},
  });
}

TEST(MoreMooringPage, PointsHeadingsAndTurret) {
  const Words fairlead = with(kMooring, {rw(62481, 1.0f), rw(62482, 2.0f), rw(62483, 3.0f), rw(62484, 4.0f),
                                         rw(62485, 5.0f), rw(62486, 6.0f), iw(kHawserLine.n, 2)});
  expect_cases(kMore, {
      {"kind 15: item 6 is the turret, item 8 does nothing", "6\n12.5\n8\n7\n90\n\n", kMooring,
       {rw(kTurretX.n, 12.5f), rw(kVesselHeading.n, 90.0f)}, {}, {" 8) Buoy"}, {{kNewValue, 2}}, 15},
      {"kind 13 with hawser: the buoy heading, and the fairleads copied", "3\n\n8\n45\n\n",
       with(fairlead, {iw(kHawserFlag.n, 1)}),
       {rw(kBuoyHeading.n, 45.0f), rw(2138, 1.0f), rw(2140, 3.0f), rw(2143, 6.0f), rw(kHawserFairleadZ.n, 6.0f)},
       {" ++> NOTE: Line number   4 & line type   2 {B} comprise Hawser data\n",
        " ++> Enter coordinates of fairleads",
        "  5) Edit mooring moment evaluation center (on buoy)\n"
        "  6) Edit hawser attachment point on storage vessel\n"
        "\n"
        "  7) Tanker heading in quiescent conditions:     0.00 Degrees\n"
        "  8) Buoy heading in quiescent conditions:     0.00 Degrees\n"},
       {}, {}, 13},
      {"kind 13 with hawser: the hawser point sets the turret x and the reference height", "6\n1\n7,8,9\n\n\n",
       with(kMooring, {iw(kHawserFlag.n, 1)}),
       {rw(904, 7.0f), rw(906, 9.0f), rw(kHawserZCopy.n, 9.0f), rw(kTurretX.n, 7.0f)}, {}, {}, {}, 13},
      {"kind 7: only items 1 to 4 and the exclusions", "5\n7\n\n", kMooring, {}, {},
       {"  5) Edit", "  7) Vessel"}, {{kNewValue, 0}}, 7},
      {"other kinds: the vessel heading after a blank line", "\n", kMooring, {},
       {"  5) Edit mooring moment evaluation center \n\n  7) Vessel heading"}, {"  6)"}, {}, 12},
  });
}

const std::string kRefusedExclusions = "\n >>> Please provide   2 valid line numbers...\n";
const std::string kWarn120 = " ++> Line exclusion data; Warning for systems with > 120 lines:\n";

TEST(MoreMooringPage, ExcludedLines) {
  expect_cases(kMore, {
      {"130 excluded lines store 120", "10\n130\n\n", kMooring, {iw(kExcludedLines.n, 120)}, {}, {}, {}, 15},
      {"a letter keeps the count", "10\nB\n\n", with(kMooring, {iw(kExcludedLines.n, 3)}),
       {iw(kExcludedLines.n, 3)}, {}, {}, {}, 15},
      {"a 0 and a line above the legs are refused; the valid list goes to the bits",
       "11\n1\n0\n5\n\n\n1\n2\n4\n\n\n", with(kMooring, {iw(kExcludedLines.n, 2)}),
       {iw(5003, (1 << 1) | (1 << 3)), iw(5004, 0)}, {kRefusedExclusions}, {}, {{kRefusedExclusions, 1}}, 15},
      {"more lines than legs: the message once", "11\n\n\n\n", with(kMooring, {iw(kExcludedLines.n, 5)}),
       {iw(kExcludedLines.n, 5)}, {" >>> Please provide   5 valid line numbers..."}, {}, {}, 15},
      {"150 legs: the warning on entry, and lines above 120 listed but never stored",
       "\n11\n1\n121\n150\n\n\n\n",
       with(kMooring, {iw(kMooringLegs.n, 150), iw(kExcludedLines.n, 2), iw(5003, 1), iw(5006, 1 << 29)}),
       {iw(5003, 0), iw(5006, 0)}, {kWarn120, "       1,120,\n", kWarn120}, {}, {{kWarn120, 2}}, 15},
      {"120 legs: no warning", "\n", with(kMooring, {iw(kMooringLegs.n, 120), iw(kExcludedLines.n, 1), iw(5003, 1)}),
       {}, {"       1,\n"}, {kWarn120}, {}, 15},
  });
}

TEST(MoreMooringPage, Help) {
  expect_cases(kMore, {
      {"items 7 and 8 share a note; kind 15 names the turret", "?8\n\n\n", kMooring, {},
       {" ++> Item Number  8", "The turret heading is 0 by definition"}, {}, {}, 15},
      {"item 6 of kind 15 is the turret x", "?6\n\n\n", kMooring, {}, {"x-coordinate of the turret"}, {}, {}, 15},
      {"item 11 is item 10's note", "?11\n\n\n", kMooring, {}, {"Excluded (broken) lines"}, {}, {}, 15},
  });
}

// ---- Page 4 ----

// Kind 14 away from its default grid (water depth 1000, span 20, 9 layers).
const Words kOwnGrid = with(kMooring, {rw(kWaterDepth.n, 1000.0f), iw(kInterpLayers.n, 9), rw(kInterpSpan.n, 20.0f)});
// Kind 14 on its default grid: 29 layers and depth / 200 in single precision.
const Words kDefaultGrid = with(kMooring, {rw(kWaterDepth.n, 333.3f), iw(kInterpLayers.n, 29),
                                           rw(kInterpSpan.n, 333.3f / 200.0f)});

TEST(DynamicsMooringPage, InterpolationGrid) {
  const std::string override_yes = "  5) Override default selection of vertical interpolation grid   Yes\n";
  expect_cases(kDynamics, {
      {"8 layers store 9", "6\n8\n\n", kMooring, {iw(kInterpLayers.n, 9)}, {}, {}, {}, 15},
      {"30 layers store 29", "6\n30\n\n", kMooring, {iw(kInterpLayers.n, 29)}, {}, {}, {}, 15},
      {"0 layers store 1 for kind 15", "6\n0\n\n", kMooring, {iw(kInterpLayers.n, 1)}, {}, {}, {}, 15},
      {"0 layers store 3 for kind 14 with the override on", "6\n0\n\n", kOwnGrid, {iw(kInterpLayers.n, 3)},
       {override_yes + "  6) Number of vertical interpolation layers (Max 29, Min 3) ...   9\n"}, {}, {}, 14},
      {"a letter keeps the layers", "6\nB\n\n", kOwnGrid, {iw(kInterpLayers.n, 9)}, {}, {}, {}, 14},
      {"kind 17: the Min 3 form and its limit", "6\n0\n\n", kMooring, {iw(kInterpLayers.n, 3)},
       {"(Max 29, Min 3) ...   0\n  7) Total span"}, {"  5) Override"}, {}, 17},
      {"the span is edited once there are two layers or more", "7\n5\n6\n3\n7\n12.5\n\n", kMooring,
       {iw(kInterpLayers.n, 3), rw(kInterpSpan.n, 12.5f)}, {}, {}, {{kNewValue, 2}}, 15},
      {"word 149 treats the record like kind 14", "\n", with(kOwnGrid, {iw(kTendonLike.n, 1)}), {},
       {override_yes}, {}, {}, 15},
      {"on the default grid items 6 and 7 are hidden and do nothing", "6\n7\n\n", kDefaultGrid,
       {iw(kInterpLayers.n, 29)},
       {"  5) Override default selection of vertical interpolation grid   No \n\n 10)"}, {}, {{kNewValue, 0}}, 14},
  });
}

TEST(DynamicsMooringPage, OverrideBackToTheDefaultGridHoldsOnReentry) {
  testing::ScriptedSession t("5\n\n\n");
  testing::page_record(t.s.tpcm, 14);
  testing::set_words(t.s.tpcm, with(kOwnGrid, {iw(kBuoySinkage.n, 1)}));
  morln3(t.s, "4");
  EXPECT_EQ(t.s.tpcm.i(kInterpLayers), 29);
  EXPECT_EQ(t.s.tpcm.r(kInterpSpan), 5.0f);
  EXPECT_EQ(t.s.tpcm.i(kBuoySinkage), 0);
  const std::size_t first = t.shown().size();
  morln3(t.s, "4");
  const std::string again = t.shown().substr(first);
  EXPECT_NE(again.find("grid   No \n"), std::string::npos) << again;
  EXPECT_EQ(again.find("  6) Number"), std::string::npos) << again;
}

TEST(DynamicsMooringPage, DynamicLinesAndCoefficients) {
  const std::string refused = "\n >>> Please provide   2 valid line numbers...\n";
  // Two subline slots of two types in use (words 28378 and 28227); slot 3
  // of type 1 and slot 1 of type 3 must keep their values.
  const Words slots = with(kMooring, {iw(kSublinesMax.n, 2), iw(kLineTypesMax.n, 2), rw(62933, 9.0f),
                                      rw(62981, 9.0f), rw(66681, 4.0f), rw(kElementAddedMass.n, 1.0f)});
  expect_cases(kDynamics, {
      {"the count is held to the legs", "1\n30\n\n", kMooring, {iw(kDynamicLines.n, 4)}, {}, {}, {}, 15},
      {"a letter keeps the count", "1\nB\n\n", with(kMooring, {iw(kDynamicLines.n, 2)}),
       {iw(kDynamicLines.n, 2)}, {}, {}, {}, 15},
      {"a 0 and a line above the legs are refused", "2\n1\n0\n9\n\n\n1\n1\n4\n\n\n",
       with(kMooring, {iw(kDynamicLines.n, 2)}), {iw(28383, 1), iw(28384, 4)}, {refused},
       {}, {{refused, 1}}, 15},
      {"a new added-mass default goes to every slot in use", "10\n2.5\n\n", slots,
       {rw(kElementAddedMass.n, 2.5f), rw(62931, 2.5f), rw(62932, 2.5f), rw(62956, 2.5f), rw(62957, 2.5f),
        rw(62933, 9.0f), rw(62981, 9.0f), rw(66681, 4.0f)},
       {"\nCurrent default added mass coefficient =   1.00\n Enter new value (<RETURN> to abort replacement): "}, {},
       {}, 15},
      {"a drag default likewise; a blank reply changes nothing", "11\n\n11\n0.8\n\n", slots,
       {rw(kElementDrag.n, 0.8f), rw(66681, 0.8f), rw(66707, 0.8f), rw(66683, 0.0f), rw(62931, 0.0f)}, {}, {}, {},
       15},
  });
}

TEST(DynamicsMooringPage, HeaderAndHelpByKind) {
  expect_cases(kDynamics, {
      {"kind 13 with hawser: tail and note", "\n", with(kMooring, {iw(kHawserFlag.n, 1)}), {},
       {"  **** Page 4: Dynamics-Related Mooring Information <<INCLUDES hawser>> ****\n"
        "\n"
        " ++> NOTE: Line number   4 & line type B comprise Hawser data\n"},
       {}, {}, 13},
      {"kind 8 with hawser keeps the plain tail", "\n", with(kMooring, {iw(kHawserFlag.n, 1)}), {},
       {"Information ****                    \n"}, {"NOTE"}, {}, 8},
      {"items 1 and 2 share a note", "?2\n\n\n", kMooring, {}, {" ++> Item Number  2", "DYNOUT.stxt"}, {}, {}, 15},
      {"item 5 has a note for kind 14 only", "?5\n\n\n", kMooring, {}, {" ++> Sorry, no help for this line..."}, {},
       {}, 15},
      {"item 5 for kind 14", "?5\n\n\n", kMooring, {}, {"A default grid is offered"}, {}, {}, 14},
  });
}

// ---- The print pass, and counts larger than the tables ----

// A record whose counts and maxima all read 1000: every loop stops at its
// table's end, and a print pass changes no word but the navigation code and
// the print-pass counter.
const Words kHugeCounts = {iw(kMooringLegs.n, 1000), iw(kMooringLegsMax.n, 1000), iw(kLineTypes.n, 1000),
                           iw(kLineTypesMax.n, 1000), iw(kSublinesMax.n, 1000), iw(kExcludedLines.n, 1000),
                           iw(kDynamicLines.n, 1000), iw(5003, -1), iw(5004, -1), iw(5005, -1), iw(5006, -1)};

std::vector<std::size_t> changed_words(const Tpcm& before, const Tpcm& after) {
  std::vector<std::size_t> changed;
  for (std::size_t n = 0; n < kMooredWords; ++n) {
    if (before.i(n) != after.i(n)) changed.push_back(n);
  }
  return changed;
}

TEST(MooringLayout, PrintPassesOfHugeCountsStayInTheirTables) {
  for (const PageFn& page : {kGeneral, kMore, kDynamics}) {
    for (int kind : {15, 13}) {
      SCOPED_TRACE(kind);
      testing::ScriptedSession t;
      testing::page_record(t.s.tpcm, kind);
      testing::set_words(t.s.tpcm, with(kHugeCounts, {iw(kPrintPass.n, 2), iw(kNavCode.n, 5)}));
      if (kind == 13) t.s.tpcm.i(kHawserFlag) = 1;
      const Tpcm before = t.s.tpcm;
      page(t.s);
      std::vector<std::size_t> expected = {kNavCode.n, kPrintPass.n};
      if (kind == 13 && t.s.tpcm.i(kHawserLine) != before.i(kHawserLine)) {
        expected = {kNavCode.n, kPrintPass.n, kHawserType.n, kHawserLine.n};  // the note's copies on page 2
      }
      EXPECT_EQ(changed_words(before, t.s.tpcm), expected);
      EXPECT_EQ(t.in.peek(), EOF);  // nothing read
      EXPECT_EQ(testing::count_of(t.shown(), kWarn120), 0);
    }
  }
}

TEST(MooringLayout, EditsOfHugeCountsStayInTheirTables) {
  struct Case {
    const char* name;
    PageFn page;
    std::string replies;
    std::size_t first, last;  // the words the edit may change (besides 699)
  };
  const Case cases[] = {
      {"anchor depths", kGeneral, "16\n5\n\n", 78081, 78231},
      {"added mass", kDynamics, "10\n2\n\n", 62931, 62931 + 3749},
      {"bottom flags", kGeneral, "18\n\n", 5276, 5425},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::ScriptedSession t(c.replies);
    testing::page_record(t.s.tpcm, 15);
    testing::set_words(t.s.tpcm, with(kHugeCounts, {iw(kDefaultBottomFlag.n, 1)}));
    const Tpcm before = t.s.tpcm;
    c.page(t.s);
    for (std::size_t n : changed_words(before, t.s.tpcm)) {
      if (n == kNavCode.n || n == kPageCounter.n || n == kDefaultBottomFlag.n || n == kElementAddedMass.n) continue;
      EXPECT_TRUE(n >= c.first && n <= c.last) << "word " << n;
    }
  }
  // 1000 excluded lines of 1000 legs: the 120 lines that have bits are
  // listed and edited, and stored back (with the warning each time).
  testing::ScriptedSession t("\n11\n\n\n\n");
  testing::page_record(t.s.tpcm, 15);
  testing::set_words(t.s.tpcm, kHugeCounts);
  morln2(t.s, "3");
  EXPECT_NE(t.shown().find("       1,  2,  3,"), std::string::npos);
  EXPECT_EQ(t.s.tpcm.i(kExcludedLines), 1000);
  EXPECT_EQ(t.s.tpcm.i(5003), 0x3fffffff);
  EXPECT_EQ(t.s.tpcm.i(5006), 0x3fffffff);
  EXPECT_EQ(testing::count_of(t.shown(), kWarn120), 2);
}

}  // namespace
}  // namespace kelp
