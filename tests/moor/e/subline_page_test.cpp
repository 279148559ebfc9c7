// The subline specifics page: its screen, the walk over the elements, the
// items with their shown and accepted conditions, the table commands, the
// help books, and the help facility's results in the element's words.
#include "moor/e/subline_page.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "test_page.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::count_of;
using testing::iw;
using testing::kReturn;
using testing::kSelect;
using testing::PageCase;
using testing::rw;
using testing::ScriptedSession;
using testing::Words;

constexpr int kKind = 15;

std::size_t length(int s, int t) { return *element_word(ElementField::kLength, s, t); }
std::size_t field(ElementField f, int s, int t) { return *element_word(f, s, t); }

// Three types in use: A with sublines 1..3, B with none, C with 1..2. The
// length of an element in use is 100 t + s; slot 25 of A holds 125, so a
// move of the far end of the table shows. A has lines 1 and 2, C line 3;
// every type its own anchor depth (1000 + t) and a solid bottom but C.
Words three_types() {
  Words w = {iw(kLineTypes, 3),
             iw(kLineTypesMax, 149),
             iw(*type_sublines_word(1), 3),
             iw(*type_sublines_word(3), 2),
             iw(kAnchorDepthsPerType, 1),
             iw(kDefaultBottomFlag, 1),
             rw(kDefaultAnchorDepth, 500.0f),
             rw(kElementAddedMass, 1.0f),
             rw(kElementDrag, 1.0f),
             iw(*type_legs_word(1), 2),
             iw(*type_line_word(1, 1), 1),
             iw(*type_line_word(1, 2), 2),
             iw(*type_legs_word(3), 1),
             iw(*type_line_word(3, 1), 3),
             rw(length(25, 1), 125.0f)};
  for (int s = 1; s <= 3; ++s) w.push_back(rw(length(s, 1), 100.0f + static_cast<float>(s)));
  for (int s = 1; s <= 2; ++s) w.push_back(rw(length(s, 3), 300.0f + static_cast<float>(s)));
  for (int t = 1; t <= 3; ++t) {
    w.push_back(rw(*anchor_depth_word(t), 1000.0f + static_cast<float>(t)));
    w.push_back(iw(*bottom_flag_word(t), t == 3 ? 0 : 1));
  }
  return w;
}

void page5(Session& s) { oneleg(s, "5"); }

void expect_case(PageCase c) {
  c.kind = c.kind == 4 ? kKind : c.kind;
  c.preset = three_types() + c.preset;
  testing::expect_page_case(page5, c);
}

// ---- The screen ----

TEST(SublinePage, ScreenOfTheFirstElement) {
  const Words element = {rw(field(ElementField::kDiameter, 1, 1), 3.0f),
                         rw(field(ElementField::kImmersedWeight, 1, 1), 0.075f),
                         rw(field(ElementField::kDryWeight, 1, 1), 0.09f),
                         rw(field(ElementField::kBreakingStrength, 1, 1), 970.2f),
                         rw(field(ElementField::kAddedMass, 1, 1), 1.0f),
                         rw(field(ElementField::kDrag, 1, 1), 2.5f),
                         rw(*compliance_word(1, 1, 1), 1e-5f),
                         iw(*composition_word(1, 1), 0x20202020),
                         iw(*composition_word(1, 1) + 1, 0x20202020)};
  auto t = testing::run_page_case(page5, {.name = "screen", .replies = "B\n", .preset = three_types() + element,
                                          .kind = kKind});
  const std::string expected =
      "                 ****** Page 5A:  Subline Specifics *****\n"
      "          (\"C\", \"D\", \"I\", \"X\" to Copy, Delete, Insert, Exchange)\n"
      "\n"
      " ---> Subline attached to fairlead\n"
      "  1) Mooring leg type A (type 1 of 3)\n"
      "  2) Subline number:  1 of  3\n"
      "\n"
      "  3) Subline composition ..........................              \n"
      "  4) Subline length ...............................     101.00 feet\n"
      "  5) Subline outside diameter .....................       3.00 inches\n"
      "  6) Immersed weight/unit length ..................      75.00 lbs/foot\n"
      "  7) Dry weight/unit length .......................      90.00 lbs/foot\n"
      "  8) Breaking strength ............................     970.20 kips\n"
      "  9) Added mass coefficient .......................       1.00\n"
      " 10) Transverse drag coefficient ..................       2.50\n"
      "\n"
      " 11) Take elastic properties from an input file? ..        No \n"
      " 12) Compliance coefficient #1  (alpha1) ..........  0.100E-04 (k.lbs)**-1\n"
      " 13) Compliance coefficient #2  (alpha2) ..........  0.000E+00 (k.lbs)**-2\n"
      " 14) Compliance coefficient #3  (alpha3) ..........  0.000E+00 (k.lbs)**-3\n"
      "\n"
      " 20) Type A line numbers:   1,  2,\n"
      "\n"
      " 21) >> HELP << for subline physical property estimates \n" +
      kSelect;
  EXPECT_EQ(t->shown(), expected);
  EXPECT_EQ(t->s.tpcm.i(kNavCode), -1);
}

// ---- The walk ----

TEST(SublinePage, Walk) {
  const std::string a1 = "Page 5A:", sub1 = "Subline number:  1 of  3", sub2 = "Subline number:  2 of  3";
  const std::vector<PageCase> cases = {
      // Every element once, type B (no sublines) skipped, then on to page 6.
      {.name = "blank replies walk every element",
       .replies = "\n\n\n\n\n",
       .expect = {iw(kNavCode, 0)},
       .shows = {"5A:", "Subline number:  1 of  3", "Subline number:  2 of  3", "Subline number:  3 of  3",
                 "5C:", "Subline number:  1 of  2", "Subline number:  2 of  2"},
       .never = {"5B:"}},
      // "B" from C1 goes back across B to the last subline of A; from A1 it
      // leaves the page with -1.
      {.name = "back across types",
       .replies = "1\nC\nB\nB\nB\nB\n",
       .expect = {iw(kNavCode, -1)},
       .shows = {"5C:", "5A:", "Subline number:  3 of  3", "Subline number:  2 of  3", "Subline number:  1 of  3"},
       .counts = {{"5B:", 0}}},
      {.name = "item 2 picks the subline, held to the count",
       .replies = "2\n9\n2\n0\nJ7\n",
       .expect = {iw(kNavCode, -1984), iw(kPageCounter, 7)},
       .shows = {"Subline number:  3 of  3", "Subline number:  1 of  3"}},
      {.name = "M and H show the element again; E leaves",
       .replies = "\nM\nH\n\nE\n",
       .expect = {iw(kNavCode, -1983)},
       .counts = {{sub2, 3}}},
      {.name = "item 1 by number; a type above those in use changes nothing",
       .replies = "1\n3\n1\n9\n1\n\nB\nB\nB\nB\nB\n",
       .expect = {iw(kNavCode, -1)},
       .shows = {"  1) Line type A (type   1 of   3)", "5C:", "5C:", "5C:", "5A:"}},
      {.name = "a letter beyond the highest type asks again; a blank keeps the type",
       .replies = "1\nD\n[\nC\nF\n",
       .preset = {iw(kLineTypesMax, 3)},
       .expect = {iw(kNavCode, -1980)},
       .shows = {"5C:"},
       .counts = {{"Enter new type (case sensitive letter *or* number): ", 3}}},
  };
  for (const auto& c : cases) expect_case(c);
}

TEST(SublinePage, LettersAreCaseSensitive) {
  // With 40 types in use the letter "a" (code 97) is type 33; "A" type 1.
  Words many = {iw(kLineTypes, 40), iw(*type_sublines_word(33), 1)};
  expect_case({.name = "a is type 33",
               .replies = "1\na\nF\n",
               .preset = many,
               .expect = {iw(kNavCode, -1980)},
               .shows = {"Page 5a:", "Mooring leg type a (type 33 of 40)"}});
  // With three in use the same letter is held to type 3.
  expect_case({.name = "a held to the types in use", .replies = "1\na\nF\n", .shows = {"Page 5C:"}});
}

TEST(SublinePage, NoElementLeavesAtOnce) {
  // Arriving by "B" from the next page, the page leaves with "next".
  expect_case({.name = "no sublines at all",
               .replies = "",
               .preset = {iw(*type_sublines_word(1), 0), iw(*type_sublines_word(3), 0), iw(kNavCode, -1)},
               .expect = {iw(kNavCode, 0)},
               .never = {"Subline Specifics"}});
}

TEST(SublinePage, CountsFromTheFileAreClamped) {
  // 400 types, 99 sublines and 1000 lines of type A: the walk stays in the
  // 25 x 150 tables and the list of line numbers in its 150 entries.
  auto t = testing::run_page_case(
      page5, {.name = "clamped",
              .replies = "2\n30\nS\n",
              .preset = three_types() + Words{iw(kLineTypes, 400), iw(kLineTypesMax, 400),
                                              iw(*type_sublines_word(1), 99), iw(*type_legs_word(1), 1000)},
              .kind = kKind});
  const std::string screen = t->shown();
  EXPECT_NE(screen.find("Subline number: 25 of 25"), std::string::npos);
  EXPECT_NE(screen.find("(type 1 of 150)"), std::string::npos);
  EXPECT_EQ(count_of(screen, "  0,"), 148);  // lines 3..150 of A, on subline 1
  EXPECT_EQ(t->s.tpcm.i(kNavCode), -1982);
}

TEST(SublinePage, PrintPassListsEveryElementOnce) {
  auto t = testing::run_page_case(page5, {.name = "print pass",
                                          .replies = "",
                                          .preset = three_types() + Words{iw(kPrintPass, 1)},
                                          .kind = kKind});
  const std::string screen = t->shown();
  EXPECT_EQ(count_of(screen, "Subline Specifics"), 5);
  EXPECT_EQ(count_of(screen, "Page 5A:"), 3);
  EXPECT_EQ(count_of(screen, "Page 5C:"), 2);
  EXPECT_EQ(count_of(screen, "Enter number"), 0);
  EXPECT_EQ(t->s.tpcm.i(kNavCode), 0);
}

// ---- Items ----

TEST(SublinePage, ItemEdits) {
  const auto near = [](std::size_t w, float v) { return testing::Near{w, v, std::fabs(v) * 1e-6f}; };
  const std::vector<PageCase> cases = {
      {.name = "values in English units",
       .replies = "4\n12.5\n5\n3\n6\n25\n7\n30\n8\n970.2\n9\n1.1\n10\n2.6\n12\n1e-5\n13\n2e-7\n14\n3e-9\n3\nWIRE\nJ7\n",
       .expect = {rw(length(1, 1), 12.5f), rw(field(ElementField::kDiameter, 1, 1), 3.0f),
                  rw(field(ElementField::kBreakingStrength, 1, 1), 970.2f),
                  rw(field(ElementField::kAddedMass, 1, 1), 1.1f), rw(field(ElementField::kDrag, 1, 1), 2.6f),
                  rw(*compliance_word(1, 1, 1), 1e-5f), rw(*compliance_word(1, 1, 2), 2e-7f),
                  rw(*compliance_word(1, 1, 3), 3e-9f)},
       .shows = {"     25.00 lbs/foot", "     30.00 lbs/foot", "     WIRE    "},
       .near = {near(field(ElementField::kImmersedWeight, 1, 1), 0.025f),
                near(field(ElementField::kDryWeight, 1, 1), 0.030f)}},
      {.name = "values in metric units",
       .replies = "6\n40\n5\n76.2\n\n\n17\n-30\nJ7\n",
       .expect = {rw(*anchor_depth_word(1), -30.0f)},
       .shows = {"     40.00 kgw/meter", "     76.20 millimeters", "5A:", "5A:", "  -30.00 meters"},
       .units = kUnitsMetric,
       .near = {near(field(ElementField::kImmersedWeight, 1, 1), 0.040f)}},
      {.name = "a blank reply keeps a weight bit for bit",
       .replies = "6\n\nJ7\n",
       .preset = {rw(field(ElementField::kImmersedWeight, 1, 1), 0.0123456f)},
       .expect = {rw(field(ElementField::kImmersedWeight, 1, 1), 0.0123456f)}},
      {.name = "a blank composition keeps the name",
       .replies = "3\n\nJ7\n",
       .preset = {iw(*composition_word(1, 1), 0x49414843), iw(*composition_word(1, 1) + 1, 0x2020204e)},
       .expect = {iw(*composition_word(1, 1), 0x49414843)},
       .shows = {"     CHAIN   "}},
      {.name = "item 11 Yes hides 12 to 14, shows the note and refuses them",
       .replies = "11\n12\n13\nJ7\n",
       .expect = {iw(*elastic_file_bits_word(1), 1)},
       .shows = {"        Yes", "\n\n     [You must provide a maximum of 30 (tension, elongation) values for\n"
                                "     (type, subline) = (1,1) in the LINE_STRAIN_DB.txt database file.]\n"},
       .counts = {{"Enter new value", 0}, {" 12) Compliance", 1}}},
      {.name = "item 11 asks 1 or 0 in the asking mode, on bit s",
       .replies = "\n\n11\n1\nJ7\n",
       .preset = {iw(kBatchFlag, 1)},
       .expect = {iw(*elastic_file_bits_word(1), 4)},
       .shows = {"(type, subline) = (1,3)"}},
      {.name = "bottom flag shown inverted on the last subline",
       .replies = "\n\n16\nJ7\n",
       .expect = {iw(*bottom_flag_word(1), 0)},
       .shows = {" 16) Bottom is transparent to mooring line ........        No ",
                 " 16) Bottom is transparent to mooring line ........        Yes"}},
      {.name = "bottom and anchor depth are refused away from the last subline",
       .replies = "16\n17\n20\n1\n7\n\n\nJ7\n",
       .expect = {iw(*bottom_flag_word(1), 1), rw(*anchor_depth_word(1), 1001.0f), iw(*type_line_word(1, 1), 7),
                  iw(*type_legs_word(1), 2)},
       .never = {" 16) Bottom", " 17) Anchor"},
       .counts = {{"Enter new value:", 0}}},
      {.name = "anchor depths in common hide item 17",
       .replies = "\n\n17\nJ7\n",
       .preset = {iw(kAnchorDepthsPerType, 0)},
       .counts = {{" 17) Anchor", 0}, {"Enter new value", 0}}},
      {.name = "line numbers saturate; the count stays",
       .replies = "20\n2\n5e12\n\n\nJ7\n",
       .expect = {iw(*type_line_word(1, 2), INT_MAX), iw(*type_line_word(1, 1), 1), iw(*type_legs_word(1), 2)},
       .shows = {"--- Lines associated with this line type ---"}},
      {.name = "numbers above 21 and 18, 19 only redisplay",
       .replies = "18\n19\n22\nJ7\n",
       .counts = {{"5A:", 4}}},
  };
  for (const auto& c : cases) expect_case(c);
}

TEST(SublinePage, KindLabelsAndHiddenItems) {
  const std::vector<PageCase> cases = {
      // The hawser type of kind 13: other end labels; 16 and 17 hidden but
      // taken by number on the last subline.
      {.name = "hawser type of kind 13",
       .replies = "\n\n16\n17\n55\nJ7\n",
       .preset = {iw(kHawserType, 1), iw(kHawserFlag, 1)},
       .expect = {iw(*bottom_flag_word(1), 0), rw(*anchor_depth_word(1), 55.0f)},
       .shows = {"---> Subline attached to buoy", "  1) Hawser comprising line type A (type 1)",
                 "---> Subline attached to tanker"},
       .never = {" 16) Bottom", " 17) Anchor"},
       .kind = 13},
      {.name = "kind 10: towlines, no line numbers",
       .replies = "F\n",
       .shows = {"---> Subline attached to tug", "  1) Towline comprising line type A (type 1)"},
       .never = {" 20) Type"},
       .kind = 10},
      {.name = "kind 7: buoyancy on subline 1, clump weight on the last, no 7, 9, 10, 11, 16",
       .replies = "15\n4.5\n7\n9\n\n\n15\n6\nF\n",
       .expect = {rw(*spring_buoy_word(1), 4.5f), rw(*clump_weight_word(1), 6.0f)},
       .shows = {" 15) Buoyancy of spring buoy ......................       4.50 kips",
                 " 15) Clump weight .................................       6.00 kips"},
       .never = {" 7) Dry", " 9) Added", "10) Trans", "11) Take", "16) Bottom"},
       .counts = {{"Enter new value", 2}},
       .kind = 7},
      {.name = "kind 14: the first type is for tendons",
       .replies = "F\n",
       .shows = {" ---> Elements of this type reserved for TENDON data only\n ---> Subline attached to fairlead"},
       .kind = 14},
  };
  for (const auto& c : cases) expect_case(c);
}

// ---- Commands ----

// The lengths of types 1 to 4 that differ from the fixture's.
struct Cell {
  int t, s;
  float length;
};

void expect_lengths(const Tpcm& r, const std::vector<Cell>& changed, const std::string& name) {
  Tpcm before;
  for (const auto& w : three_types()) before.i(w.word) = w.bits;
  for (const Cell& c : changed) before.set_r(length(c.s, c.t), c.length);
  for (int t = 1; t <= 4; ++t) {
    for (int s = 1; s <= 25; ++s) {
      EXPECT_EQ(r.r(length(s, t)), before.r(length(s, t))) << name << ": type " << t << " subline " << s;
    }
  }
}

TEST(SublinePage, Commands) {
  struct Case {
    const char* name;
    std::string replies;
    std::vector<Cell> changed;
    Words preset = {};
    Words expect = {};
    std::vector<std::string> shows = {};
  };
  const Words counts_kept = {iw(*type_sublines_word(1), 3), iw(*type_sublines_word(3), 2), iw(*type_legs_word(1), 2),
                             iw(*type_line_word(1, 2), 2), iw(*elastic_file_bits_word(1), 5)};
  const std::vector<Case> cases = {
      {"C: one element of a type", "C\nC\n2\n", {{1, 1, 302.0f}}},
      {"C: 99 and a blank end it", "C\nC\n99\nC\n\nC\nC\n\n", {}},
      {"C: a number above the types in use ends it", "C\n4\n", {}},
      {"C: a letter outside asks again", "C\nZ\nb\nB\n", {{1, 1, 0.0f}}},
      // Source C has fewer sublines than A: A3 keeps its data.
      {"C: 101 copies as many as both have", "C\nC\n101\n", {{1, 1, 301.0f}, {1, 2, 302.0f}}},
      {"C: 101 into a shorter type", "1\nC\nC\nA\n101\n\n", {{3, 1, 101.0f}, {3, 2, 102.0f}},
       {}, {}, {" >>> More elements in source Type ( 3) than destination Type ( 2).\n"
                "     Only the first  2 Elements will be copied..."}},
      {"D E: later slots move up, slot 25 cleared", "\nD\n[\n1\ne\n",
       {{1, 2, 103.0f}, {1, 3, 0.0f}, {1, 24, 125.0f}, {1, 25, 0.0f}}},
      {"D T: later types move down", "D\nT\n",
       {{1, 1, 0.0f}, {1, 2, 0.0f}, {1, 3, 0.0f}, {1, 25, 0.0f}, {2, 1, 301.0f}, {2, 2, 302.0f}, {3, 1, 0.0f},
        {3, 2, 0.0f}}},
      {"D: another letter does nothing", "D\nQ\n", {}},
      {"I E: slots from s on move down", "\nI\nE\n",
       {{1, 2, 0.0f}, {1, 3, 102.0f}, {1, 4, 103.0f}, {1, 25, 0.0f}}},
      {"I T: types from t on move up", "I\nT\n",
       {{1, 1, 0.0f}, {1, 2, 0.0f}, {1, 3, 0.0f}, {1, 25, 0.0f}, {2, 1, 101.0f}, {2, 2, 102.0f}, {2, 3, 103.0f},
        {2, 25, 125.0f}, {3, 1, 0.0f}, {3, 2, 0.0f}, {4, 1, 301.0f}, {4, 2, 302.0f}}},
      {"I E: refused on a type of 25 sublines", "I\nE\n\n", {}, {iw(*type_sublines_word(1), 25)},
       {iw(*type_sublines_word(1), 25)}, {" ++> All 25 sublines of this type are in use; nothing is inserted."}},
      {"I T: refused when every type number is in use", "I\nT\n\n", {}, {iw(kLineTypesMax, 3)}, {},
       {" ++> Every line type number is in use; nothing is inserted."}},
      {"X E: with an element of another type", "X\nE\n9\nC\n3\n2\n", {{1, 1, 302.0f}, {3, 2, 101.0f}}},
      {"X T: whole types", "X\nt\n3\n", {{1, 1, 301.0f}, {1, 2, 302.0f}, {1, 3, 0.0f}, {1, 25, 0.0f},
                                          {3, 1, 101.0f}, {3, 2, 102.0f}, {3, 3, 103.0f}, {3, 25, 125.0f}}},
      {"X: another letter or a blank ends it", "X\nZ\nX\n\nX\nE\n\nX\nE\nC\n99\n", {}},
      // Last sublines carry their types' anchor depths and bottom flags.
      {"X E: last sublines exchange anchor depth and bottom flag", "\n\nX\nE\nC\n2\n",
       {{1, 3, 302.0f}, {3, 2, 103.0f}}, {},
       {rw(*anchor_depth_word(1), 1003.0f), rw(*anchor_depth_word(3), 1001.0f), iw(*bottom_flag_word(1), 0),
        iw(*bottom_flag_word(3), 1)}},
      {"X E: a middle subline keeps them", "\nX\nE\nC\n2\n", {{1, 2, 302.0f}, {3, 2, 102.0f}}, {},
       {rw(*anchor_depth_word(1), 1001.0f), rw(*anchor_depth_word(3), 1003.0f)}},
      {"D E on the last slot of a full type resets the anchor depth", "D\nE\n", {{1, 1, 102.0f}, {1, 2, 103.0f},
       {1, 3, 0.0f}, {1, 24, 125.0f}, {1, 25, 0.0f}}, {iw(*type_sublines_word(1), 25)},
       {rw(*anchor_depth_word(1), 500.0f), iw(*type_sublines_word(1), 25)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto t = testing::run_page_case(
        page5, {.name = c.name,
                .replies = c.replies + "J7\n",
                .preset = three_types() + Words{iw(*elastic_file_bits_word(1), 5)} + c.preset,
                .kind = kKind});
    const Tpcm& r = t->s.tpcm;
    expect_lengths(r, c.changed, c.name);
    // The commands keep counts and line numbers.
    if (c.preset.empty()) {
      for (const auto& w : counts_kept) EXPECT_EQ(r.i(w.word), w.bits) << w.word;
    }
    for (const auto& w : c.expect) EXPECT_EQ(r.i(w.word), w.bits) << w.word;
    for (const auto& text : c.shows) EXPECT_NE(t->shown().find(text), std::string::npos) << text;
    EXPECT_EQ(r.i(kNavCode), -1984);
  }
}

TEST(SublinePage, OneTypeAsksNoType) {
  const Words one = {iw(kLineTypes, 1)};
  auto c = testing::run_page_case(page5, {.name = "C", .replies = "C\n3\nX\nE\n2\nJ7\n",
                                          .preset = three_types() + one, .kind = kKind});
  EXPECT_EQ(count_of(c->shown(), "which type"), 0);
  // A1 := A3, then A1 and A2 exchanged.
  EXPECT_EQ(c->s.tpcm.r(length(1, 1)), 102.0f);
  EXPECT_EQ(c->s.tpcm.r(length(2, 1)), 103.0f);
}

// ---- Help ----

TEST(SublinePage, Help) {
  const std::string title = "                       ****  Line Definition Notes  ****\n";
  const std::vector<PageCase> cases = {
      {.name = "note of an item",
       .replies = "?6\n\nJ7\n",
       .shows = {title + "\n ++> Item Number  6\n     The immersed (submerged) weight", kReturn}},
      {.name = "13 and 14 share the note of 12",
       .replies = "?14\n\nJ7\n",
       .shows = {" ++> Item Number  14\n     The compliance coefficients A1"}},
      {.name = "items without a note",
       .replies = "?2\n\n?25\n\nJ7\n",
       .shows = {" ++> Item Number  2\n\n ++> Sorry, no help for this line...", " ++> Item Number  25"}},
      {.name = "page help in six screens",
       .replies = "?\n\n\n\n\n\n\nJ7\n",
       .shows = {" ++> Item Number  3", " ++> Item Number  5", kReturn, " ++> Item Number  6",
                 " ++> Item Number  7", kReturn, " ++> Item Number  8", " ++> Item Number  10", kReturn,
                 " ++> Item Numbers 11", kReturn, " ++> Item Numbers 12 -> 14", kReturn, " ++> Item Number  16",
                 " ++> Item Number  17", kReturn},
       .counts = {{"Press <RETURN>", 6}}},
      {.name = "kind 7: items without their lines, heading alone",
       .replies = "?9\n\n?\n\n\n\n\n\n\nF\n",
       .shows = {" ++> Item Number  9\n" + kReturn},
       .never = {"Item Number  7", "Item Number  10", "Item Number  16"},
       .counts = {{"Press <RETURN>", 7}},
       .kind = 7},
  };
  for (const auto& c : cases) expect_case(c);
}

// ---- The help facility ----

struct Facility {
  ScriptedSession t;
  explicit Facility(const std::string& replies, int units = kUnitsEnglish, float diameter = 3.0f, int kind = kKind)
      : t(replies) {
    testing::page_record(t.s.tpcm, kind, units);
    testing::set_words(t.s.tpcm, three_types());
    t.s.tpcm.set_r(field(ElementField::kDiameter, 2, 1), diameter);
    helpus(t.s, 2, 1);
  }
  float at(ElementField f) const { return t.s.tpcm.r(field(f, 2, 1)); }
  float compliance(int k) const { return t.s.tpcm.r(*compliance_word(2, 1, k)); }
};

TEST(SublineHelpFacility, CalculatorResultsLandInTheElement) {
  // A 3-inch stud-link chain (material 1): 0.001 x 10 x 9 kips/ft dry,
  // times (7.82 - 1.025) / 7.82 in seawater; 107.8 x 9 kips breaking.
  const double dry = 0.09, strength = 970.2;
  Facility weight("1\n3\n1\n\n");
  EXPECT_NEAR(weight.at(ElementField::kImmersedWeight), dry * (7.82 - 1.025) / 7.82, 1e-7);
  Facility air("4\n1\n\n");
  EXPECT_NEAR(air.at(ElementField::kDryWeight), dry, 1e-7);
  Facility bs("2\n1\n\n");
  EXPECT_NEAR(bs.at(ElementField::kBreakingStrength), strength, 1e-3);
  Facility coeffs("3\n2\n1\n\n");
  EXPECT_NEAR(coeffs.compliance(1), 0.00948 / strength, 1e-10);
  EXPECT_EQ(coeffs.at(ElementField::kBreakingStrength), 0.0f);  // the scalar result is discarded
  // The same chain as 76.2 mm: metric tons.
  Facility metric("2\n1\n\n", kUnitsMetric, 76.2f);
  EXPECT_NEAR(metric.at(ElementField::kBreakingStrength), strength / 2.204, 1e-2);
  Facility metric_weight("4\n1\n\n", kUnitsMetric, 76.2f);
  EXPECT_NEAR(metric_weight.at(ElementField::kDryWeight), 0.001 * 10 * 76.2 * 76.2 * 0.00231, 1e-5);
}

TEST(SublineHelpFacility, LeavingWritesNothing) {
  for (const char* replies : {"1\n0\n\n", "2\n\n\n", "3\n0\n\n", "4\nB\nB\n", "9\n0\n"}) {
    Facility f(replies);
    EXPECT_EQ(f.at(ElementField::kImmersedWeight), 0.0f) << replies;
    EXPECT_EQ(f.at(ElementField::kBreakingStrength), 0.0f) << replies;
    EXPECT_EQ(f.at(ElementField::kDryWeight), 0.0f) << replies;
    EXPECT_EQ(f.compliance(1), 0.0f) << replies;
    EXPECT_EQ(f.at(ElementField::kLength), 102.0f) << replies;
  }
}

TEST(SublineHelpFacility, MenuAndDiameter) {
  Facility none("\n", kUnitsEnglish, 0.0f);
  EXPECT_EQ(none.t.shown(), "\n ****  Simulation Help Facility  ****\n\n"
                            " ++> Subline diameter must be input to obtain help.\n" + kReturn);
  Facility menu("?5\n\n\n");
  EXPECT_NE(menu.t.shown().find(" 4) HELP with dry weight per unit length...\n"
                                " 5) Fairlead subline length for specified tautwire tension...\n"),
            std::string::npos);
  EXPECT_NE(menu.t.shown().find(" ++> Item Number  5\n     For taut-wire"), std::string::npos);
  // Kind 7: four entries, choice 5 does nothing, and item 5 has no note.
  Facility seven("5\n?5\n\n\n", kUnitsEnglish, 3.0f, 7);
  EXPECT_EQ(count_of(seven.t.shown(), " 5) Fairlead"), 0);
  EXPECT_EQ(count_of(seven.t.shown(), "REQUIRES"), 0);
  EXPECT_NE(seven.t.shown().find(" ++> Item Number  5\n\n ++> Sorry, no help for this line..."), std::string::npos);
  EXPECT_EQ(count_of(seven.t.shown(), "****  Simulation Help Facility  ****"), 3);
}

// Type 1 as a taut line: line 1 its first, anchor depth 1000, draft 50,
// fairlead 10 below the datum: a span of 940; pretension 200 at the
// fairlead; sublines 2 and 3 are 100 long.
Words taut_type(float a1) {
  Words w = {iw(kMooringLegs, 2),
             iw(kProfileMode, 2),
             rw(*anchor_depth_word(1), 1000.0f),
             rw(kDraft, 50.0f),
             rw(*fairlead_word(1, 3), -10.0f),
             rw(*profile_value_word(1), 200.0f),
             rw(length(2, 1), 100.0f),
             rw(length(3, 1), 100.0f)};
  for (int s = 1; s <= 3; ++s) {
    w.push_back(rw(field(ElementField::kImmersedWeight, s, 1), 0.05f));
    w.push_back(rw(*compliance_word(s, 1, 1), a1));
  }
  return w;
}

TEST(SublineHelpFacility, TautFairleadLength) {
  const auto run = [](const std::string& replies, float a1) {
    auto f = std::make_unique<ScriptedSession>(replies);
    testing::page_record(f->s.tpcm, kKind);
    testing::set_words(f->s.tpcm, three_types() + taut_type(a1));
    f->s.tpcm.set_r(field(ElementField::kDiameter, 1, 1), 3.0f);
    helpus(f->s, 1, 1);
    return f;
  };
  // Inelastic: after the warning, the span less the other sublines.
  const auto inelastic = run("5\n\n\n\n", 0.0f);
  EXPECT_EQ(inelastic->s.tpcm.r(length(1, 1)), 740.0f);
  EXPECT_NE(inelastic->shown().find("\n\n ++> The requested computation REQUIRES the following data:\n\n"
                                    "     1. Submerged weights for ALL sublines of this type\n"),
            std::string::npos);
  // "A" at the requirements changes nothing.
  const auto aborted = run("5\nA\n\n", 0.0f);
  EXPECT_EQ(aborted->s.tpcm.r(length(1, 1)), 101.0f);
  // Elastic: the stretched sublines span 940. A piece of weight w between
  // tensions Tb and T0 stretches to (T0 - Tb) / w + a1 (T0^2 - Tb^2) / (2 w);
  // with all three of weight w and one coefficient the sum is a quadratic in
  // the fairlead length x, with L = x + 200 the whole unstretched length:
  //   L + a1 (T0 L - w L^2 / 2) = 940.
  const double a1 = 1e-4, w = 0.05, t0 = 200.0;
  const double whole = ((1 + a1 * t0) - std::sqrt((1 + a1 * t0) * (1 + a1 * t0) - 2 * a1 * w * 940.0)) / (a1 * w);
  const auto elastic = run("5\n\n\n", static_cast<float>(a1));
  EXPECT_NEAR(elastic->s.tpcm.r(length(1, 1)), whole - 200.0, 1e-3);
}

}  // namespace
}  // namespace kelp
