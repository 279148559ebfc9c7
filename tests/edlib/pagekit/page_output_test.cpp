#include "edlib/pagekit/page_output.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "kelpkit/nohelp.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

constexpr const char* kClearSequence = "\x1b[H\x1b[2J";

std::string pad79(std::string s) {
  s.resize(79, ' ');
  return s;
}

// A page header line: k stars either side of the header text, and the empty
// line after it. Built by appending, as g++ 12 at -O3 warns falsely about
// a string literal placed before a std::string.
std::string header_line(std::size_t k, std::string_view header) {
  std::string line(1, ' ');
  line.append(k, '*').append("  ").append(header).append("  ").append(k, '*');
  return line.append("\n\n");
}

// ---- edlnot: item lines with dot leaders ----

TEST(ItemLine, LeaderEndsInColumnWidthPlusOne) {
  // Item 3, an 11-character label, width 50: 34 dots, the last in column 51.
  const std::string line = edlnot(3, "Mean draft:", 50);
  EXPECT_EQ(line, pad79("  3) Mean draft: " + std::string(34, '.')));
  ASSERT_EQ(line.size(), 79u);
  EXPECT_EQ(line[50], '.');
  EXPECT_EQ(line[51], ' ');
}

TEST(ItemLine, ShortLabelGetsTheRunOfFiftyDotsAfterBlanks) {
  // n = 60 - 2 - 5 = 53: the 50 dots right-justified in a field of 53.
  const std::string line = edlnot(12, "Gm", 60);
  EXPECT_EQ(line, pad79(" 12) Gm " + std::string(3, ' ') + std::string(50, '.')));
  EXPECT_EQ(line.find_last_of('.'), 60u);
  // The label field of the pages: 57 columns, leader width 56, the last dot
  // in column 57 for any label; an empty label leaves one blank before them.
  for (const std::string label : {"", "A", "Vessel displacement"}) {
    const std::string l = edlnot(1, label, 56);
    EXPECT_EQ(l.find_last_of('.'), 56u) << label;
    const std::size_t dots = std::min<std::size_t>(51 - label.size(), 50);
    EXPECT_EQ(l.substr(57 - dots, dots), std::string(dots, '.')) << label;
    EXPECT_EQ(l.substr(5 + label.size(), 52 - label.size() - dots), std::string(52 - label.size() - dots, ' '))
        << label;
  }
}

TEST(ItemLine, LongLabelGetsOneBlankAsLeader) {
  const std::string label44(44, 'L');  // n = 50 - 44 - 5 = 1
  EXPECT_EQ(edlnot(1, label44, 50), pad79("  1) " + label44 + "  "));
  const std::string label70(70, 'L');  // n negative
  EXPECT_EQ(edlnot(1, label70, 50), pad79("  1) " + label70 + "  "));
  // n = 2 is the shortest dot leader.
  const std::string label43(43, 'L');
  EXPECT_EQ(edlnot(1, label43, 50), pad79("  1) " + label43 + " .."));
}

TEST(ItemLine, LineIsCutAt79AndWideItemsShowAsterisks) {
  // A leader field far wider than the line: its dots lie beyond column 79.
  EXPECT_EQ(edlnot(5, "X", 500), pad79("  5) X"));
  EXPECT_EQ(edlnot(100, "X", 20), pad79(" **) X " + std::string(14, '.')));
  EXPECT_EQ(edlnot(1, std::string(100, 'Z'), 56), "  1) " + std::string(74, 'Z'));
}

// ---- Item writers ----

TEST(ItemWriters, RealWithUnitLabelInTheCallersFormat) {
  ScriptedSession t;
  int item = 1;
  outcfu(t.s, item, "Vessel displacement", 1234.5f, "(A57,F11.2,1X,A6)", 0, 0, kScreen, 56);
  outcfu(t.s, item, "Vessel water plane area", -0.001f, "(A57,F11.2,1X,A6)", 1, 19, kScreen, 56);
  EXPECT_EQ(item, 3);
  EXPECT_EQ(t.shown(),
            "  1) Vessel displacement ................................    1234.50 k.lbs \n"
            "  2) Vessel water plane area ............................      -0.00 m^2   \n");
}

TEST(ItemWriters, RealIntegerAndTextWithoutUnit) {
  ScriptedSession t;
  int item = 7;
  outcf0(t.s, item, "Roll period", 12.25f, "(A57,F9.2)", kScreen, 56);
  outci0(t.s, item, "Number of lines", 12, "(A57,I5)", kScreen, 56);
  outcc0(t.s, item, "Vessel type", " Disc-shaped vessel", "(A57,A)", kScreen, 56);
  EXPECT_EQ(item, 10);
  EXPECT_EQ(t.shown(),
            "  7) Roll period ........................................    12.25\n"
            "  8) Number of lines ....................................   12\n"
            "  9) Vessel type ........................................ Disc-shaped vessel\n");
}

TEST(ItemWriters, TextItemsNumberInOrder) {
  ScriptedSession t;
  int item = 1;
  outtxt(t.s, item, "Help for Tanker-Type Physical Characteristics", kScreen);
  outtxt(t.s, item, "Next", kScreen);
  EXPECT_EQ(item, 3);
  EXPECT_EQ(t.shown(),
            "  1) Help for Tanker-Type Physical Characteristics\n"
            "  2) Next\n");
}

TEST(ItemWriters, WriteOnTheGivenUnitOnly) {
  ScriptedSession t;
  int item = 1;
  outtxt(t.s, item, "Hidden", kSilentUnit);  // unit 41 not open: swallowed
  EXPECT_EQ(item, 2);
  EXPECT_EQ(t.shown(), "");
}

// ---- paghdr ----

TEST(PageHeader, CentredBetweenStarsAfterAClear) {
  std::istringstream in;
  std::ostringstream screen, errors;
  Session s(in, screen, errors, /*screen_is_terminal=*/true);
  paghdr(s, "1", "Site", "", 74, kScreen, 0);
  EXPECT_EQ(screen.str(), kClearSequence + header_line(29, "Page 1: Site"));
}

TEST(PageHeader, NoClearDuringAPrintPass) {
  std::istringstream in;
  std::ostringstream screen, errors;
  Session s(in, screen, errors, /*screen_is_terminal=*/true);
  paghdr(s, "2", "Vessel", " Hydrostatic Characteristics", 74, kScreen, 1);
  // m = 1 + 6 + 28 + 7 = 42, k = (74 - 42 - 4) / 2 = 14.
  EXPECT_EQ(screen.str(), header_line(14, "Page 2: Vessel Hydrostatic Characteristics"));
}

TEST(PageHeader, OddRemainderIsDropped) {
  ScriptedSession t;
  paghdr(t.s, "1", "Sites", "", 74, kScreen, 0);  // m = 13, k = 57 / 2 = 28
  EXPECT_EQ(t.shown(), header_line(28, "Page 1: Sites"));
}

TEST(PageHeader, LongTitlesGetSingleBlanks) {
  ScriptedSession t;
  const std::string t59(59, 'T');  // m = 67, k = 1: blanks
  paghdr(t.s, "1", t59, "", 74, kScreen, 0);
  const std::string t60(60, 'T');  // m = 68, k = 0: one blank each side
  paghdr(t.s, "1", t60, "", 74, kScreen, 0);
  const std::string t99(99, 'T');  // m = 106: k negative
  paghdr(t.s, "1", t99, "", 74, kScreen, 0);
  EXPECT_EQ(t.shown(), "    Page 1: " + t59 + "   \n\n" + "    Page 1: " + t60 + "   \n\n" + "    Page 1: " + t99 +
                           "   \n\n");
  // k = 2 is the shortest run of stars.
  ScriptedSession u;
  const std::string t55(55, 'T');  // m = 63, k = (74 - 67) / 2 = 3
  const std::string t57(57, 'T');  // m = 65, k = 2
  paghdr(u.s, "1", t57, "", 74, kScreen, 0);
  paghdr(u.s, "1", t55, "", 74, kScreen, 0);
  EXPECT_EQ(u.shown(), " **  Page 1: " + t57 + "  **\n\n ***  Page 1: " + t55 + "  ***\n\n");
}

TEST(PageHeader, RunWiderThanFortyStarsIsPaddedInFront) {
  ScriptedSession t;
  paghdr(t.s, "1", "Site", "", 200, kScreen, 0);  // k = 92
  const std::string run = std::string(52, ' ') + std::string(40, '*');
  EXPECT_EQ(t.shown(), " " + run + "  Page 1: Site  " + run + "\n\n");
}

// ---- Unit labels ----

std::string pad(std::string s, std::size_t n) {
  s.resize(n, ' ');
  return s;
}

TEST(UnitLabels, EunitTableAndErrorText) {
  const std::vector<std::string> labels = {"k.lbs",  "m.ton", "deg",     "in",     "mm",      "lbs/ft",
                                           "kgw/m",  "ft",    "m",       "ft/ft",  "m/m",     "lbs/ft^3",
                                           "kgw/m^3", "kts",  "ft/sec",  "m/sec",  "sec",     "height:",
                                           "slope:", "ft^2",  "m^2",     ""};
  for (int c = 0; c < 22; ++c) EXPECT_EQ(eunit(0, c), pad(labels[static_cast<std::size_t>(c)], 11)) << c;
}

TEST(UnitLabels, UnitpTableAndErrorText) {
  const std::vector<std::string> labels = {
      " kips",     " metric tons",     " degrees", " inches",   " millimeters", " lbs/foot",
      " kgw/meter", " feet",           " meters",  " feet/feet", " meters/meters", " lbs/cubic foot",
      " kgw/cubic meter", " knots",    " feet/sec", " meters/sec", " seconds", " height:",
      " slope:",   "k.lbs",            "m.ton"};
  for (int c = 0; c < 21; ++c) EXPECT_EQ(unitp(0, c), pad(labels[static_cast<std::size_t>(c)], 16)) << c;
}

TEST(UnitLabels, UnitsTableAndBlankOutside) {
  const std::vector<std::string> labels = {
      "k.lbs",   "m.ton",     "degrees",    "in",    "mm",    "lbs/ft", "kgw/m.",     "ft",
      "m.",      "feet/feet", "meters/meters", "lbs/cubic foot", "kgw/cubic meter", "knots", "feet/sec",
      "meters/sec", "seconds", "height",    "slope", "foot-kips", "ton-meters", "ft-kp", "ton-m"};
  for (int c = 0; c < 23; ++c) EXPECT_EQ(units(0, c), pad(labels[static_cast<std::size_t>(c)], 16)) << c;
}

TEST(UnitLabels, MetricTwinFollowsTheEnglishCode) {
  // Word 116 (0 English, 1 metric) and the code of the English label.
  EXPECT_EQ(eunit(0, 7), pad("ft", 11));
  EXPECT_EQ(eunit(1, 7), pad("m", 11));
  EXPECT_EQ(unitp(1, 0), pad(" metric tons", 16));
  EXPECT_EQ(units(1, 19), pad("ton-meters", 16));
}

TEST(UnitLabels, CodesOutsideATableGiveItsErrorTextAndNeverOverflow) {
  // A unit word from a damaged file can be anything; with the sanitizers an
  // overflowing sum would stop the program here.
  struct Pair {
    int unit_word;
    int offset;
  };
  const Pair outside[] = {{0, 23}, {2, 21}, {-1, 7}, {INT_MAX, 7}, {INT_MIN, 7}, {INT_MAX - 3, 11},
                          {7, INT_MAX}, {0, -1}, {INT_MAX, -INT_MAX}, {INT_MIN, INT_MAX}};
  for (const auto& p : outside) {
    SCOPED_TRACE(std::to_string(p.unit_word) + " + " + std::to_string(p.offset));
    EXPECT_EQ(eunit(p.unit_word, p.offset), "Index Error");
    EXPECT_EQ(unitp(p.unit_word, p.offset), pad(" Index error", 16));
    EXPECT_EQ(units(p.unit_word, p.offset), std::string(16, ' '));
  }
}

// ---- nohelp ----

TEST(NoHelp, ClearsSaysSorryAndWaits) {
  std::istringstream in("3\n");
  std::ostringstream screen, errors;
  Session s(in, screen, errors, /*screen_is_terminal=*/true);
  int reply = -9;
  nohelp(s, kScreen, kKeyboard, reply);
  EXPECT_EQ(reply, 3);
  EXPECT_EQ(screen.str(), std::string(kClearSequence) +
                              "\n\n ++> Sorry, no help for this page...\n\n \n Press <RETURN> to continue: ");
}

TEST(NoHelp, SilentUnitNeitherShowsThePromptNorWaits) {
  ScriptedSession t;  // no replies: a read would stop the session
  int reply = -9;
  nohelp(t.s, kSilentUnit, kKeyboard, reply);
  EXPECT_EQ(reply, 0);
  EXPECT_EQ(t.shown(), "");
}

}  // namespace
}  // namespace kelp
