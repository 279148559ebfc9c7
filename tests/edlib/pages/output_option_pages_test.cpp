#include "edlib/pages/output_option_pages.hpp"

#include <gtest/gtest.h>

#include <string>

#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::iw;
using testing::kNewValue;
using testing::kReturn;
using testing::kSelect;
using testing::PageCase;
using testing::rw;
using testing::Words;

void page8(Session& s) { shpot1(s, "8"); }
void page9(Session& s) { shpot2(s, "9"); }

const std::string kHeader8 = "                    ****  Page 8: Output options  ****\n\n";
const std::string kHelpTitle = "                     ****  Output Definition Notes  ****\n";

// Every item of page 8 shown: an angular output, a point output with
// substitution of relative motion against the fluid at the points' level.
const Words kAllShown = {iw(kDofOutputs + 1, 1), iw(kDofOutputs + 5, 1), iw(kPointMotions, 1),
                         iw(kPointCount, 2), iw(kOption106, 2), iw(kAngularRaoUnits, 1)};

TEST(OutputOptions, ScreenWithEveryItem) {
  const auto t = testing::run_page_case(page8, {"", "\n", kAllShown});
  EXPECT_EQ(t->shown(),
            kHeader8 +
                "  1) Surge  2) Sway   3) Heave  4) Roll   5) Pitch  6) Yaw\n"
                "     No        Yes       No        No        No        Yes\n"
                "  7) RAO units for angular motions: degrees/ feet           \n"
                "  8) Report motions & loads at \"natural\" rotation centers\n"
                " Note ---> Coordinates for the following are in feet   \n"
                " 11) Output accelerations at selected points on vessel?   No \n"
                " 12) Output velocities at selected points on vessel?      No \n"
                " 13) Output relative motion at selected points on vessel? Yes\n"
                " 14) Number of points of interest (Max 149):   2\n"
                " 15) Enter point coordinates\n"
                " 16) Substitute relative motion for displacement data?    Yes\n"
                " 17) Motion is relative to fluid at specified level\n" +
                kSelect);
}

TEST(OutputOptions, ItemsAreShownByTheirWords) {
  const std::string kNoPoints = " 13) Output displacements at selected points on vessel?   No \n" + kSelect;
  const PageCase cases[] = {
      {"no angular output, no points: 7 and 14 to 17 hidden", "\n", {}, {},
       {"  8) Report motions & loads at", kNoPoints}, {"  7) RAO", " 14)"}},
      {"slope units by default", "\n", {iw(kDofOutputs + 3, 1)}, {}, {"degrees/ degrees        \n"}},
      {"report at the c.g.", "\n", {iw(kReportAtCg, 1)}, {}, {"  8) Report motions & loads at vessel c.g.\n"}},
      {"metric note", "\n", {}, {}, {" Note ---> Coordinates for the following are in meters \n"}, {}, {}, 4,
       kUnitsMetric},
      {"accelerations alone: no 16", "\n", {iw(kPointAccelerations, 1)}, {},
       {" 15) Enter point coordinates\n" + kSelect}},
      {"no substitution: no 17", "\n", {iw(kPointMotions, 1)}, {},
       {" 16) Substitute relative motion for displacement data?    No \n" + kSelect}},
      {"free surface", "\n", {iw(kPointMotions, 1), iw(kOption106, 1)}, {},
       {" 17) Motion is relative to free surface\n"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(page8, c);
}

TEST(OutputOptions, SelectionsEditTheirWords) {
  const PageCase cases[] = {
      {"1 to 6 flip their degrees of freedom", "1\n4\n6\n6\n\n", {}, {iw(kDofOutputs, 1), iw(kDofOutputs + 3, 1),
                                                                      iw(kDofOutputs + 5, 0)}},
      {"7 while hidden", "7\n\n", {}, {iw(kAngularRaoUnits, 1)}},
      {"7 asks with its labels", "7\n1\n\n", {iw(kBatchFlag, 1)}, {iw(kAngularRaoUnits, 1)},
       {"Enter 1 for \"degrees/height\", 0 for \"degrees/degree\": "}},
      {"8 asks with its labels", "8\n1\n\n", {iw(kBatchFlag, 1)}, {iw(kReportAtCg, 1)},
       {"Enter 1 for \"c.g.\", 0 for \"Rotation center\": "}},
      {"11, 12 and 13", "11\n12\n13\n\n", {}, {iw(kPointAccelerations, 1), iw(kPointVelocities, 1),
                                              iw(kPointMotions, 1)}},
      {"9 and 10 are no items", "9\n10\n\n", {}, {}, {}, {}, {{"Page 8", 3}}},
      {"14 clamps the count", "14\n200\n\n", {iw(kPointVelocities, 1)}, {iw(kPointCount, 149)},
       {kSelect + " 14) Number of points of interest (Max 149):   0\n" + kNewValue}},
      {"14 and 15 hidden without point output", "14\n15\n16\n17\n\n", {iw(kOption106, 1)},
       {iw(kPointCount, 0), iw(kOption106, 1)}, {}, {kNewValue, " ++> Enter"}, {{"Page 8", 5}}},
      {"16 off clears word 106", "16\n\n", {iw(kPointMotions, 1), iw(kOption106, 2)}, {iw(kOption106, 0)}},
      {"16 on, then 17 once", "16\n17\n\n", {iw(kPointMotions, 1)}, {iw(kOption106, 2)}},
      {"17 remembers the level while 16 is off", "16\n16\n\n", {iw(kPointMotions, 1), iw(kOption106, 2)},
       {iw(kOption106, 2)}},
      {"a blank reply goes on", "\n", {}, {iw(kNavCode, 0)}},
      {"a navigation code leaves", "B\n", {}, {iw(kNavCode, kNavBack)}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(page8, c);
}

TEST(OutputOptions, WordsFromTheFileAreHeldInRangeOnEntry) {
  const PageCase cases[] = {
      {"count above the table", "\n", {iw(kPointCount, 5000), iw(kPointVelocities, 1)}, {iw(kPointCount, 149)},
       {"(Max 149): 149\n"}},
      {"negative count", "\n", {iw(kPointCount, -7)}, {iw(kPointCount, 0)}},
      {"word 106 outside 0 to 2", "\n", {iw(kOption106, 5), iw(kPointMotions, 1)}, {iw(kOption106, 0)},
       {" 13) Output displacements"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(page8, c);
}

TEST(OutputOptions, PointTableEditorWorksOnTheRecord) {
  const std::string kRow2 = "   2)        1.50       2.00      -3.00\n";
  const PageCase cases[] = {
      // Row 2 retyped, then RETURN back to the page and on.
      {"rows typed", "15\n2\n1.5,2,-3\n\n\n\n", {iw(kPointMotions, 1), iw(kPointCount, 2)},
       {rw(kPointTable + 3, 1.5f), rw(kPointTable + 4, 2.0f), rw(kPointTable + 5, -3.0f), iw(kNavCode, 0)},
       {" ++> Enter point coordinates for motions evaluation\n", kRow2, "Page 8"}},
      // A navigation command in the editor ends the page with its code.
      {"a command leaves the page", "15\nB\n", {iw(kPointMotions, 1), iw(kPointCount, 2)},
       {iw(kNavCode, kNavBack)}, {}, {}, {{"Page 8", 1}}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(page8, c);
}

TEST(OutputOptions, PrintPassListsThePointTable) {
  const PageCase cases[] = {
      {"with points", "", {iw(kPrintPass, 1), iw(kPointAccelerations, 1), iw(kPointCount, 1)},
       {iw(kNavCode, 0), iw(kPrintPass, 3)},
       {kHeader8, " 15) Enter point coordinates\n", " ++> Enter point coordinates for motions evaluation\n",
        "   1)        0.00       0.00       0.00\n"},
       {"Enter number"}},
      {"without points", "", {iw(kPrintPass, 1)}, {iw(kNavCode, 0), iw(kPrintPass, 2)}, {kHeader8},
       {" ++> Enter", "Enter number"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(page8, c);
}

TEST(OutputOptions, Help) {
  const PageCase cases[] = {
      {"item", "?3\n\n\n", {}, {},
       {kHelpTitle + "\n ++> Item Number 3\n     The output of each degree of freedom" }},
      {"item of a hidden line", "?17\n\n\n", {}, {}, {"\n ++> Item Number 17\n     Relative motion is taken"}},
      {"no help", "?9\n\n\n", {}, {}, {kHelpTitle + "\n ++> Sorry, no help for this line...\n\n" + kReturn}},
      {"page help pauses after 7, 8, 11 and 12", "?\n\n\n\n\n\n\n", {}, {},
       {kHelpTitle + "\n ++> Item Numbers 1 -> 6\n", "\n ++> Item Number 7\n", kReturn + "\n ++> Item Number 8\n",
        kReturn + "\n ++> Item Number 11\n", kReturn + "\n ++> Item Number 12\n", kReturn + "\n ++> Item Number 15\n",
        "\n ++> Item Number 16\n", "\n ++> Item Number 17\n"},
       {}, {{"Press <RETURN>", 5}}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(page8, c);
}

// ---- More output options ----

const std::string kHeader9 = "                  ****  Page 9: More output options  ****\n\n\n";

TEST(MoreOutputOptions, ScreenWithEveryItem) {
  const auto t = testing::run_page_case(
      page9, {"", "\n", {iw(kForceRaos, 1), iw(kSpreadingOn, 1), iw(kOutputDevice, kScreen), iw(kDebug, 1)}});
  EXPECT_EQ(t->shown(), kHeader9 +
                            "  1) Output force/torque RAOs ................. Yes\n"
                            "  2) Output motion RAOs ....................... No \n"
                            "  3) Output RAOs for all spread sea angles .... No \n"
                            "  8) Output goes to Console\n"
                            "  9) Debug option is on\n" +
                            kSelect);
}

TEST(MoreOutputOptions, SelectionsEditTheirWords) {
  const std::string kDevice =
      "\n >>> Output Device Selection: <<<\n\n 1) Console\n 2) Disc\n\n" + kSelect;
  const PageCase cases[] = {
      {"1 and 2", "1\n2\n2\n\n", {}, {iw(kForceRaos, 1), iw(kMotionRaos, 0)}},
      {"3 while hidden", "3\n\n", {}, {iw(kOutputSpreadRaos, 1)}, {}, {"  3) Output RAOs"}},
      {"4 to 7 draw again", "4\n7\n\n", {}, {iw(kNavCode, 0)}, {}, {}, {{"Page 9", 3}}},
      {"a number above 9 leaves with it", "10\n", {}, {iw(kNavCode, 10)}, {}, {}, {{"Page 9", 1}}},
      {"9 asks On or Off", "9\n1\n\n", {iw(kBatchFlag, 1)}, {iw(kDebug, 1)},
       {"Enter 1 for \"On\", 0 for \"Off\": "}},
      {"device: disc", "8\n2\n\n", {iw(kOutputDevice, kScreen)}, {iw(kOutputDevice, 1)},
       {kSelect + kDevice, "  8) Output goes to Disk, on logged drive\n"}},
      {"device: console is the output unit", "8\n1\n\n", {iw(kOutputDevice, 1)}, {iw(kOutputDevice, kScreen)}},
      {"device: other replies keep it; help has none", "8\n?\n\n3\n\n", {iw(kOutputDevice, 99)},
       {iw(kOutputDevice, 99)}, {kDevice, " ++> Sorry, no help for this page...", kDevice}, {"Output goes to"}},
      {"disk line only on the logged drive", "\n", {iw(kOutputDevice, 1), iw(kLoggedDrive, 1)}, {}, {},
       {"Output goes to"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(page9, c);
}

TEST(MoreOutputOptions, HelpAndPrintPass) {
  const PageCase cases[] = {
      {"item 2 has the note of 1", "?2\n\n\n", {}, {},
       {kHelpTitle + "\n ++> Item Number 2\n     The output of the motion RAOs"}},
      {"page help pauses before 9", "?\n\n\n\n", {}, {},
       {"\n ++> Item Numbers 1 -> 2\n", "\n ++> Item Number 3\n", kReturn + "\n ++> Item Number 9\n"}, {},
       {{"Press <RETURN>", 2}}},
      {"print pass", "", {iw(kPrintPass, 1)}, {iw(kNavCode, 0), iw(kPrintPass, 2)}, {kHeader9}, {"Enter number"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(page9, c);
}

}  // namespace
}  // namespace kelp
