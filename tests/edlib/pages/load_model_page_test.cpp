// The low-frequency dynamics characteristics page (lowves) and the user
// coefficient tables of "LOWDAT" (cofupd): what the selector words show,
// the sub-pages, the limits, help, the print pass, and the table words.
#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "edlib/pages/load_model_page.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::count_of;
using testing::expect_page_case;
using testing::iw;
using testing::kNewValue;
using testing::PageCase;
using testing::rw;
using testing::ScriptedSession;

constexpr int kSpm = 15;
const std::string kBlankSource(29, ' ');
const std::string kWindTable = " +++ <<Wind Force>> Coefficient Specification +++";
const std::string kCurrentTable = " +++ <<Current Force>> Coefficient Specification +++";

void page10(Session& s) { lowves(s, "10", "Vessel", {kWindSelector, kCurrentSelector, kDriftSelector}); }

// The wind word under test; current and wave drift on their text files.
testing::Words selectors(std::int32_t wind, std::int32_t current = 0x222, std::int32_t drift = 0x111) {
  return {iw(kWindSelector, wind), iw(kCurrentSelector, current), iw(kDriftSelector, drift)};
}

TEST(LoadModelPage, WhatTheSelectorsShow) {
  const std::vector<PageCase> cases = {
      {.name = "0x421: three wind lines, the table, the OCIMF items",
       .replies = "\n",
       .preset = selectors(0x421),
       .expect = {iw(kWindSelector, 0x421)},
       .shows = {"  2) Head-on Coefficients (Cx) ................... User-Specified LOWDAT        \n"
                 "  3) Beam-on Coefficients (Cy) ................... User-Specified WINDCOFS.txt  \n"
                 "  4) Moment Coefficients  (Cz) ................... OCIMF Tanker '77 (extended)  \n"
                 "  5) Specify wind force coefficients\n"
                 "\n"
                 "  6) Above-Water Bow Shape ....................... Conventional            \n"
                 "  7) Freeboard-Based Load ........................       0.00 Percent\n",
                 " 31) Vessel Deadweight ...........................       0.00 kips           \n"},
       .never = {" 8) "},
       .kind = kSpm},
      {.name = "0x444: one model line, no table",
       .replies = "\n",
       .preset = selectors(0x444),
       .shows = {"  2) Wind force model ............................ OCIMF Tanker '77 (extended)  \n\n  6) ", " 7) ",
                 " 31) "},
       .never = {" 5) ", " 3) ", " 4) "},
       .kind = kSpm,
       .units = kUnitsEnglish},
      {.name = "metric deadweight", .replies = "\n", .preset = selectors(0x444),
       .shows = {" 31) Vessel Deadweight ...........................       0.00 metric tons    \n"}, .kind = kSpm,
       .units = kUnitsMetric},
      {.name = "current 0x44F: NSMB '91 with the Mean curve",
       .replies = "\n",
       .preset = {iw(kWindSelector, 0x222), iw(kCurrentSelector, 0x44F), iw(kDriftSelector, 0x111), rw(kDraftLoad, 40.0f)},
       .expect = {iw(kCurrentSelector, 0x44F)},
       .shows = {" 12) Current force model ......................... NSMB Tanker '91              \n\n"
                 " 16) Below-Water Bow Shape ....................... Conventional (w/bulb)   \n"
                 " 17) Draft-Based Load ............................      40.00 Percent\n"
                 " 19) Use NSMB \"Mean\" curve for 40% load condition: Yes\n"},
       .kind = kSpm},
      {.name = "current 0x44F at 100 percent: no item 19",
       .replies = "\n",
       .preset = {iw(kWindSelector, 0x222), iw(kCurrentSelector, 0x44F), iw(kDriftSelector, 0x111),
                  rw(kDraftLoad, 100.0f)},
       .shows = {" 17) "},
       .never = {" 19) "},
       .kind = kSpm},
      {.name = "interpolated bows show their factors",
       .replies = "\n",
       .preset = {iw(kWindSelector, 0x444), iw(kCurrentSelector, 0x666), iw(kDriftSelector, 0x111),
                  rw(kWindBowShape, 0.5f), rw(kCurrentBowShape, 2.0f)},
       .shows = {"Interpolated", "  8) Bow Interpolation Factor ....................       0.50\n", "Whoops!"},
       .never = {" 17) ", " 18) "},
       .kind = kSpm},
      {.name = "semi drift: shadowing and legacy items",
       .replies = "\n",
       .preset = selectors(0x222, 0x222, 0x333),
       .shows = {" 22) Wave force model ............................ Semi (Legacy)                \n\n"
                 " 27) Head-on shadowing & geometry factor .........       0.00\n"
                 " 28) Beam-on shadowing & geometry factor .........       0.00\n\n"
                 " 29) Use legacy cylinder DFCs ....................       No \n"},
       .never = {" 26) "},
       .kind = kSpm},
      // A selector outside its table (0 in an old record, 6 to 15 for wind)
      // shows blanks and keeps its code.
      {.name = "word 774 = 0",
       .replies = "\n",
       .preset = selectors(0),
       .expect = {iw(kWindSelector, 0)},
       .shows = {"  2) Wind force model ............................ " + kBlankSource + "\n"},
       .kind = kSpm},
      {.name = "wind codes 9, 12, 15",
       .replies = "\n",
       .preset = selectors(0xFC9),
       .expect = {iw(kWindSelector, 0xFC9)},
       .shows = {"(Cx) ................... " + kBlankSource + "\n", "(Cy) ................... " + kBlankSource,
                 "(Cz) ................... " + kBlankSource},
       .kind = kSpm},
  };
  for (const PageCase& c : cases) expect_page_case(page10, c);
}

TEST(LoadModelPage, EditsAndSubPages) {
  const std::vector<PageCase> cases = {
      {.name = "row 1 for a wind axis that held another source opens the table",
       .replies = "2\n1\n\n\n",
       .preset = selectors(0x222),
       .expect = {iw(kWindSelector, 0x111), iw(kNavCode, 0)},
       .shows = {"\n +++  Wind Model Selection  +++\n\n\n 1) User-Specified LOWDAT        \n", kWindTable},
       .counts = {{kWindTable, 1}},
       .kind = kSpm},
      {.name = "row 1 again does not",
       .replies = "2\n1\n\n",
       .preset = selectors(0x111),
       .counts = {{kWindTable, 0}},
       .kind = kSpm},
      {.name = "row 1 for a current axis opens the current table",
       .replies = "12\n1\n\n\n",
       .preset = selectors(0x222),
       .expect = {iw(kCurrentSelector, 0x111)},
       .shows = {" +++  Current Model Selection  +++", kCurrentTable},
       .counts = {{kCurrentTable, 1}, {kWindTable, 0}},
       .kind = kSpm},
      {.name = "another row for one axis of a dependent type",
       .replies = "3\n4\n\n",
       .preset = selectors(0x421),
       .expect = {iw(kWindSelector, 0x441)},
       .shows = {" +++  Wind Cy Model Selection  +++"},
       .counts = {{kWindTable, 0}},
       .kind = kSpm},
      {.name = "setting independence to 1 copies Cx into Cy and Cz",
       .replies = "1\n\n",
       .preset = selectors(0x421),
       .expect = {iw(kWindSelector, 0x111)},
       .kind = kSpm},
      {.name = "1.5 for item 8 is dropped",
       .replies = "8\n1.5\n\n",
       .preset = {iw(kWindSelector, 0x444), rw(kWindBowShape, 0.5f)},
       .expect = {rw(kWindBowShape, 0.5f)},
       .kind = kSpm},
      {.name = "0.25 for item 18 is taken",
       .replies = "18\n0.25\n\n",
       .preset = {iw(kCurrentSelector, 0x666), rw(kCurrentBowShape, 0.5f)},
       .expect = {rw(kCurrentBowShape, 0.25f)},
       .kind = kSpm},
      {.name = "150 for item 7 stores 100",
       .replies = "7\n150\n\n",
       .preset = selectors(0x444),
       .expect = {rw(kFreeboardLoad, 100.0f)},
       .shows = {"  7) Freeboard-Based Load ........................       0.00 Percent\n" + kNewValue},
       .kind = kSpm},
      {.name = "-3 for item 31 stores 0", .replies = "31\n-3\n\n", .preset = selectors(0x444),
       .expect = {rw(kDeadweight, 0.0f)}, .kind = kSpm},
      {.name = "item 17 refused without NSMB", .replies = "17\n\n", .preset = selectors(0x444, 0x666),
       .never = {kNewValue}, .kind = kSpm},
      {.name = "a navigation command in the model sub-page leaves the page",
       .replies = "2\nL\n",
       .preset = selectors(0x222),
       .expect = {iw(kNavCode, kNavLast), iw(kWindSelector, 0x222)},
       .counts = {{"Page 10:", 1}},
       .kind = kSpm},
      {.name = "a navigation command in the table's axis sub-page leaves the table and the page",
       .replies = "5\n3\nL\n",
       .preset = selectors(0x111),
       .expect = {iw(kNavCode, kNavLast)},
       .counts = {{"Page 10:", 1}, {kWindTable, 2}},
       .kind = kSpm},
      {.name = "a navigation command in the bow sub-page only returns",
       .replies = "6\nL\n\n",
       .preset = selectors(0x444),
       .expect = {iw(kNavCode, 0), rw(kWindBowShape, 0.0f)},
       .shows = {"\n+++  Wind-Related Bow Type Selection  +++\n\n 1) Conventional (with bulb)\n"},
       .counts = {{"Page 10:", 2}},
       .kind = kSpm},
      {.name = "bow type 3 stores 0.5", .replies = "16\n3\n\n", .preset = selectors(0x444, 0x666),
       .expect = {rw(kCurrentBowShape, 0.5f)}, .shows = {"+++  Current-Related"}, .kind = kSpm},
      {.name = "item 19 switches the Mean curve", .replies = "19\n\n", .preset = {iw(kCurrentSelector, 0x444),
       rw(kDraftLoad, 40.0f)}, .expect = {iw(kCurrentSelector, 0x44F)}, .kind = kSpm},
      {.name = "items 27 and 28 are edited while hidden",
       .replies = "27\n2.5\n28\n1.5\n\n",
       .preset = selectors(0x222),
       .expect = {rw(kSemiFactors, 2.5f), rw(kSemiFactors + 1, 1.5f)},
       .counts = {{" 27) Head", 1}},  // the line written before its prompt
       .kind = kSpm},
      {.name = "item 29 with only code 3 redraws", .replies = "29\n\n", .preset = selectors(0x222, 0x222, 0x333),
       .expect = {iw(kLegacyCylinderDrift, 0)}, .kind = kSpm},
      {.name = "item 29 with code 5 switches", .replies = "29\n\n", .preset = selectors(0x222, 0x222, 0x555),
       .expect = {iw(kLegacyCylinderDrift, 1)}, .kind = kSpm},
      {.name = "H redraws here", .replies = "H\n\n\n", .preset = selectors(0x222), .expect = {iw(kNavCode, 0)},
       .counts = {{"Page 10:", 2}}, .kind = kSpm},
      {.name = "?5: the table note", .replies = "?5\n\n\n", .preset = selectors(0x222),
       .shows = {"Vessel Environmental Load Notes", " ++> Item Number  5\n", "LOWDAT"}, .kind = kSpm},
      {.name = "?9: Sorry", .replies = "?9\n\n\n", .preset = selectors(0x222),
       .shows = {" ++> Sorry, no help for this line..."}, .kind = kSpm},
      {.name = "? in the model sub-page: the wind sources",
       .replies = "2\n?2\n\n0\n\n",
       .preset = selectors(0x222),
       .shows = {"Wind Load Model Notes", "145 records"},
       .kind = kSpm},
  };
  for (const PageCase& c : cases) expect_page_case(page10, c);
}

TEST(LoadModelPage, PrintPassPrintsTheTablesInUse) {
  PageCase c{.name = "wind on the table, current on its file",
             .replies = "",
             .preset = selectors(0x211),
             .expect = {iw(kNavCode, 0)},
             .shows = {"Page 10:", kWindTable, "  1) Number of angles (21 Maximum):  2\n"},
             .counts = {{kCurrentTable, 0}, {"Enter number", 0}},
             .kind = kSpm};
  c.preset.push_back(iw(kPrintPass, 1));
  expect_page_case(page10, c);
}

// ---- The user tables ----

// A session with lowcof words 172..679 (tables 3 and 4 and the unused
// words) set to a pattern, the given count for table 1, and every wind axis
// on the user table unless said.
struct TableRun {
  explicit TableRun(const std::string& replies, std::int32_t count = 0, std::int32_t wind = 0x111)
      : t(replies) {
    testing::page_record(t.s.tpcm, kSpm);
    t.s.tpcm.i(kWindSelector) = wind;
    t.s.lowcof.i(*lowcof_count_word(1)) = count;
    for (std::size_t w = 172; w < kLowcofWords; ++w) t.s.lowcof.i(w) = static_cast<std::int32_t>(w * 7);
    cofupd(t.s, "<<Wind Force>> Coefficient Specification", kWindSelector, kLowcofWindTable, 1, code);
  }
  std::int32_t count() const { return t.s.lowcof.i(*lowcof_count_word(1)); }
  float at(int column, int row) const { return t.s.lowcof.r(*lowcof_word(1, column, row)); }
  bool rest_kept() const {
    for (std::size_t w = 172; w < kLowcofWords; ++w) {
      if (t.s.lowcof.i(w) != static_cast<std::int32_t>(w * 7)) return false;
    }
    return true;
  }
  ScriptedSession t;
  int code = 99;
};

TEST(UserCoefficientTable, CountsAreHeldToTheColumn) {
  struct Case {
    const char* name;
    std::string replies;
    std::int32_t stored;
    std::int32_t expected;
    int rows_shown;  // rows on the last drawing
  };
  const Case cases[] = {
      {"count 0 shows two rows and stores 2", "\n", 0, 2, 2},
      {"30 typed stores 21", "1\n30\n\n", 5, 21, 21},
      {"1 typed stores 2", "1\n1\n\n", 5, 2, 2},
      {"a file count of 500 is held to 21", "\n", 500, 21, 21},
      {"a negative file count is raised to 2", "\n", -7, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TableRun r(c.replies, c.stored);
    EXPECT_EQ(r.count(), c.expected);
    EXPECT_EQ(r.code, 0);
    const std::string screen = r.t.shown();
    const std::string last = screen.substr(screen.rfind(kWindTable));
    EXPECT_EQ(count_of(last, "     0.00    "), c.rows_shown);
    EXPECT_TRUE(r.rest_kept());
  }
}

TEST(UserCoefficientTable, TypedValuesLandInTheirColumns) {
  // Angles 0 and 90, then Cx 0.5 and 0.7 through the axis sub-page, then Cz.
  const TableRun r("2\n1\n0\n90\n\n3\n1\n1\n0.5\n0.7\n\n3\n1\n-0.25\n\n\n0\n\n");
  EXPECT_EQ(r.count(), 2);
  EXPECT_EQ(r.at(kLowcofAngle, 2), 90.0f);
  EXPECT_EQ(r.at(kLowcofCx, 1), 0.5f);
  EXPECT_EQ(r.at(kLowcofCx, 2), 0.7f);
  EXPECT_EQ(r.at(kLowcofCz, 1), -0.25f);
  EXPECT_EQ(r.at(kLowcofCy, 1), 0.0f);
  // The words themselves: angle row 2 at word 5, Cx rows at 25, 26, Cz at 67.
  EXPECT_EQ(r.t.s.lowcof.i(5), std::bit_cast<std::int32_t>(90.0f));
  EXPECT_EQ(r.t.s.lowcof.i(26), std::bit_cast<std::int32_t>(0.7f));
  EXPECT_EQ(r.t.s.lowcof.i(67), std::bit_cast<std::int32_t>(-0.25f));
  EXPECT_TRUE(r.rest_kept());
  EXPECT_NE(r.t.shown().find(" Bow-Relative    Cx       Cy       Cz \n Attack Angle\n\n"
                             "     0.00        0.500    0.000   -0.250\n"
                             "    90.00        0.700    0.000    0.000\n"),
            std::string::npos)
      << r.t.shown();
}

TEST(UserCoefficientTable, AxisChoice) {
  struct Case {
    const char* name;
    std::string replies;
    std::int32_t wind;
    std::vector<std::string> shows;
    std::vector<std::string> never;
    int code;
  };
  const Case cases[] = {
      {"only Cy: item 3 goes straight to its column", "3\n\n\n", 0x313, {" Bow-Relative    Cy \n", "-- Table of Coefficients --"},
       {"Select coefficient"}, 0},
      {"Cx and Cz: Cz is 3, and 2 changes nothing", "3\n2\n0\n\n", 0x121,
       {" ++> Select coefficient array to modify\n\n   1) Cx\n   3) Cz\n"}, {"   2) Cy", "-- Table of Coefficients --"}, 0},
      {"a navigation command leaves the table", "3\nL\n", 0x121, {"Select coefficient"}, {}, kNavLast},
      {"? in the axis sub-page: no help for the page", "3\n?\n\n0\n\n", 0x121,
       {" ++> Sorry, no help for this page..."}, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TableRun r(c.replies, 2, c.wind);
    EXPECT_EQ(r.code, c.code);
    for (const std::string& text : c.shows) EXPECT_NE(r.t.shown().find(text), std::string::npos) << text << r.t.shown();
    for (const std::string& text : c.never) EXPECT_EQ(r.t.shown().find(text), std::string::npos) << text;
  }
}

// The list editor leaves the shared count alone: deleting an angle row
// keeps the count, so the angles and the coefficients stay in step.
TEST(UserCoefficientTable, TheListEditorKeepsTheCount) {
  const TableRun r("2\n5\n1\n\n\n", 3);
  EXPECT_EQ(r.count(), 3);
  EXPECT_TRUE(r.rest_kept());
}

}  // namespace
}  // namespace kelp
