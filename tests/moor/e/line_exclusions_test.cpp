#include "moor/e/line_exclusions.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::count_of;
using testing::ScriptedSession;

const std::string kWarning =
    " ++> Line exclusion data; Warning for systems with > 120 lines:\n"
    "     Lines with line numbers > 120 cannot be excluded...\n"
    "     Press <Return> to continue\n";

using Bits = std::array<std::int32_t, kExclusionBitWords>;

// Bit b of a word, as worked out by hand: 1 << (b - 1).
constexpr std::int32_t bit(int b) { return static_cast<std::int32_t>(1u << (b - 1)); }

struct BitCase {
  const char* name;
  std::vector<std::int32_t> lines;  // the list packed
  Bits bits;                        // the words it gives
  std::vector<std::int32_t> back;   // the list the words give with 150 legs
};

const BitCase kBitCases[] = {
    {"range ends", {1, 30, 31, 60, 61, 90, 91, 120},
     {bit(1) | bit(30), bit(1) | bit(30), bit(1) | bit(30), bit(1) | bit(30)}, {1, 30, 31, 60, 61, 90, 91, 120}},
    {"unordered, repeated", {45, 2, 45, 100}, {bit(2), bit(15), 0, bit(10)}, {2, 45, 100}},
    {"above 120 and below 1 set nothing", {121, 150, 0, -3, 7}, {bit(7), 0, 0, 0}, {7}},
    {"empty list", {}, {0, 0, 0, 0}, {}},
};

TEST(LoadExclude, PacksAndUnpacksHandWorkedBitFields) {
  for (const BitCase& c : kBitCases) {
    SCOPED_TRACE(c.name);
    ScriptedSession t("\n\n");
    std::vector<std::int32_t> list = c.lines;
    list.resize(kLineListCapacity);
    Bits bits = {-1, -1, -1, -1};  // packing starts from clear words
    const int count = static_cast<int>(c.lines.size());
    EXPECT_EQ(loadexclude(t.s, count, list, bits, 150, ExcludeMode::kPack, kScreen), count);
    EXPECT_EQ(bits, c.bits);

    std::vector<std::int32_t> unpacked(kLineListCapacity, 0);
    const int listed = loadexclude(t.s, 0, unpacked, bits, 150, ExcludeMode::kUnpack, kScreen);
    unpacked.resize(static_cast<std::size_t>(listed));
    EXPECT_EQ(unpacked, c.back);
  }
}

TEST(LoadExclude, UnpackStopsAtTheLegCountAndTheListSize) {
  ScriptedSession t;
  Bits bits = {bit(1) | bit(5) | bit(30), bit(1), 0, 0};
  std::vector<std::int32_t> list(kLineListCapacity, 99);
  EXPECT_EQ(loadexclude(t.s, 0, list, bits, 5, ExcludeMode::kUnpack, kScreen), 2);  // lines 1 and 5 of 5 legs
  EXPECT_EQ(list[0], 1);
  EXPECT_EQ(list[1], 5);
  EXPECT_EQ(list[2], 99);  // entries past the lines found keep their values
  std::vector<std::int32_t> two(2, 0);
  EXPECT_EQ(loadexclude(t.s, 0, two, bits, 120, ExcludeMode::kUnpack, kScreen), 2);
  EXPECT_EQ(loadexclude(t.s, 0, list, bits, -4, ExcludeMode::kUnpack, kScreen), 0);
}

TEST(LoadExclude, WarnsAboveOneHundredTwentyLegsOnlyWhenItMayAsk) {
  struct Case {
    const char* name;
    int legs;
    int print_pass;
    int out;
    int warnings;
  };
  const Case cases[] = {
      {"120 legs", 120, 0, kScreen, 0},
      {"121 legs", 121, 0, kScreen, 1},
      {"print pass", 150, 1, kListingUnit, 0},
      {"silent run", 150, 0, kSilentUnit, 0},
  };
  for (const Case& c : cases) {
    for (ExcludeMode mode : {ExcludeMode::kPack, ExcludeMode::kUnpack}) {
      SCOPED_TRACE(c.name);
      ScriptedSession t("\n");  // one reply line: the warning reads it
      t.s.tpcm.i(kPrintPass) = c.print_pass;
      std::vector<std::int32_t> list(kLineListCapacity, 0);
      Bits bits = {};
      loadexclude(t.s, 0, list, bits, c.legs, mode, c.out);
      EXPECT_EQ(count_of(t.shown(), kWarning), c.warnings);
      EXPECT_EQ(t.in.peek() == EOF, c.warnings == 1);
    }
  }
}

// ---- The list editor ----

const std::string kTwoLines = "--- Lines ---";
const std::string kRefused = "\n >>> Please provide   2 valid line numbers...\n";

struct EditCase {
  const char* name;
  std::string replies;
  int count;
  int legs;
  int print_pass;
  bool valid;
  std::vector<std::int32_t> after;  // the first entries of the list
  int refusals;
};

const EditCase kEditCases[] = {
    {"valid at once", "1\n3\n4\n\n", 2, 5, 0, true, {3, 4, 0}, 0},
    {"a line above the legs, then mended", "1\n3\n6\n\n\n2\n5\n\n", 2, 5, 0, true, {3, 5, 0}, 1},
    {"a zero refused twice", "1\n0\n2\n\n" "\n" "\n" "\n" "1\n1\n\n\n", 2, 5, 0, true, {1, 2, 0}, 2},
    {"no legs: the message once", "\n\n", 2, 0, 0, false, {0, 0, 0}, 1},
    {"more entries than legs: the message once", "\n\n", 2, 1, 0, false, {0, 0, 0}, 1},
    {"print pass: listed, never checked", "", 2, 5, 1, true, {0, 0, 0}, 0},
};

TEST(EditLineNumbers, RefusesUntilEveryEntryIsALineOfTheMooring) {
  for (const EditCase& c : kEditCases) {
    SCOPED_TRACE(c.name);
    ScriptedSession t(c.replies);
    t.s.tpcm.i(kPrintPass) = c.print_pass;
    std::vector<std::int32_t> list(kLineListCapacity, 0);
    EXPECT_EQ(edit_line_numbers(t.s, kTwoLines, list, c.count, c.legs, 3, kScreen), c.valid);
    list.resize(c.after.size());
    EXPECT_EQ(list, c.after);
    EXPECT_EQ(count_of(t.shown(), kRefused), c.refusals);
    EXPECT_EQ(t.in.peek(), EOF);
  }
}

}  // namespace
}  // namespace kelp
