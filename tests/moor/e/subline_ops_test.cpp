#include "moor/e/subline_ops.hpp"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

TEST(ReadType, Replies) {
  struct Case {
    std::string reply;
    int blank;
    char letter;
    int number;
  };
  const Case cases[] = {
      {"12", 0, ' ', 12},   {"1 2", 0, ' ', 12},  {"998", 0, ' ', 998}, {"999", 0, ' ', 0},
      {"0", 0, ' ', 0},     {"1234", 0, ' ', 123}, {"B", 0, 'B', 0},     {"a", 0, 'a', 0},
      {"Bx7", 0, 'B', 0},   {" 5", 0, ' ', 0},     {"", 1, 'Q', 0},      {"   ", 1, 'Q', 0},
      {"1x", 1, ' ', 0},    {"1-2", 1, ' ', 0},
  };
  for (const auto& c : cases) {
    ScriptedSession t(c.reply + "\n");
    int blank = 9;
    char letter = 'Q';
    int number = 77;
    read_type(t.s, blank, letter, number, kKeyboard);
    EXPECT_EQ(blank, c.blank) << '"' << c.reply << '"';
    EXPECT_EQ(letter, c.letter) << '"' << c.reply << '"';
    EXPECT_EQ(number, c.number) << '"' << c.reply << '"';
  }
}

TEST(ReadType, EnterTypePromptsForOneCharacter) {
  ScriptedSession t("cx\n");
  char letter = ' ';
  enter_type(t.s, letter, kScreen, kKeyboard);
  EXPECT_EQ(letter, 'c');
  EXPECT_EQ(t.shown(), " Enter new type: ");
}

TEST(Swaps, TextsKeepTheirLengths) {
  struct Case {
    std::string a, b, want_a, want_b;
  };
  const std::string long_a(100, 'x');
  const std::string long_b = std::string(90, 'y') + "0123456789";
  const Case cases[] = {
      {"CHAIN   ", "WIRE    ", "WIRE    ", "CHAIN   "},
      {"abc", "ABCDEFGH", "ABC", "abc     "},
      // Whole strings, however long: nothing is lost past a fixed buffer.
      {long_a, long_b, long_b, long_a},
  };
  for (auto c : cases) {
    swapc(c.a, c.b);
    EXPECT_EQ(c.a, c.want_a);
    EXPECT_EQ(c.b, c.want_b);
  }
}

// ---- Element operations on a hand-built table ----

// An element as the pages see it.
struct Element {
  std::string name;
  std::array<float, 11> values;  // length .. breaking strength, compliance 1..3
};
constexpr std::array<ElementField, 8> kFields = {
    ElementField::kLength,    ElementField::kDiameter, ElementField::kImmersedWeight, ElementField::kDryWeight,
    ElementField::kReserve,   ElementField::kAddedMass, ElementField::kDrag,          ElementField::kBreakingStrength};

Element read_element(const Tpcm& r, int s, int t) {
  Element e{r.text(*composition_word(s, t), 8), {}};
  for (std::size_t k = 0; k < kFields.size(); ++k) e.values[k] = r.r(*element_word(kFields[k], s, t));
  for (int c = 1; c <= 3; ++c) e.values[7 + static_cast<std::size_t>(c)] = r.r(*compliance_word(s, t, c));
  return e;
}

void write_element(Tpcm& r, int s, int t, const Element& e) {
  r.set_text(*composition_word(s, t), 8, e.name);
  for (std::size_t k = 0; k < kFields.size(); ++k) r.set_r(*element_word(kFields[k], s, t), e.values[k]);
  for (int c = 1; c <= 3; ++c) r.set_r(*compliance_word(s, t, c), e.values[7 + static_cast<std::size_t>(c)]);
}

// Per-type values that travel with elements.
constexpr std::size_t buoyancy(int t) { return 78391 + static_cast<std::size_t>(t); }
constexpr std::size_t clump(int t) { return 78403 + static_cast<std::size_t>(t); }

// Types 1 (three sublines), 2 (two) and 3 (one) with distinct values in every
// word the operations may move, and counts, line numbers and elastic bits
// that they must leave alone.
Tpcm table() {
  Tpcm r;
  const std::array<int, 3> sublines = {3, 2, 1};
  for (int t = 1; t <= 3; ++t) {
    r.i(*type_sublines_word(t)) = sublines[static_cast<std::size_t>(t - 1)];
    r.i(*type_legs_word(t)) = 1;
    r.i(*type_line_word(t, 1)) = t;
    r.i(*elastic_file_bits_word(t)) = 0b101 * t;
    r.set_r(*anchor_depth_word(t), 1000.0f + static_cast<float>(t));
    r.i(*bottom_flag_word(t)) = t % 2;
    r.set_r(buoyancy(t), 10.0f * static_cast<float>(t));
    r.set_r(clump(t), 20.0f * static_cast<float>(t));
    for (int s = 1; s <= 3; ++s) {
      Element e{"T?S?", {}};
      e.name[1] = static_cast<char>('0' + t);
      e.name[3] = static_cast<char>('0' + s);
      for (std::size_t k = 0; k < e.values.size(); ++k) {
        e.values[k] = static_cast<float>(100 * t + 10 * s) + static_cast<float>(k) / 16.0f;
      }
      write_element(r, s, t, e);
    }
  }
  r.i(28226) = 3;
  r.set_r(78231, 500.0f);   // default anchor depth
  r.set_r(78232, 1.0f);     // default added mass
  r.set_r(78233, 1.25f);    // default drag
  r.i(28535) = 1;           // default bottom flag
  return r;
}

TEST(SublineTable, ClearCopyAndExchangeMoveExactlyTheirWords) {
  // What each operation should do, word by word: element (s, t) receives
  // element `from` ({0, 0}: cleared); the clump weight and buoyancy of type
  // `to` those of type `from` (0: zero); with `last`, the anchor depth and
  // bottom flag of type `to` those of type `from` (0: the defaults).
  struct Move {
    std::array<int, 2> to, from;
  };
  struct Travel {
    int to, from;
  };
  struct Case {
    const char* what;
    std::function<void(Tpcm&)> op;
    std::vector<Move> elements;
    std::vector<Travel> types, last;
  };
  const Case cases[] = {
      {"clear a middle subline: clump and buoyancy still go", [](Tpcm& r) { clrdat(r, 2, 1); }, {{{2, 1}, {0, 0}}},
       {{1, 0}}, {}},
      {"clear the last subline", [](Tpcm& r) { clrdat(r, 3, 1); }, {{{3, 1}, {0, 0}}}, {{1, 0}}, {{1, 0}}},
      {"copy last onto middle", [](Tpcm& r) { copy_subline(r, 1, 2, 1, 2); }, {{{1, 1}, {2, 2}}}, {{1, 2}}, {}},
      {"copy middle onto last", [](Tpcm& r) { copy_subline(r, 2, 1, 2, 1); }, {{{2, 2}, {1, 1}}}, {{2, 1}}, {}},
      {"copy last onto last", [](Tpcm& r) { copy_subline(r, 1, 3, 3, 1); }, {{{1, 3}, {3, 1}}}, {{3, 1}},
       {{3, 1}}},
      {"copy onto itself", [](Tpcm& r) { copy_subline(r, 3, 3, 1, 1); }, {}, {}, {}},
      {"exchange middle with last", [](Tpcm& r) { swap_subline(r, 2, 2, 1, 2); },
       {{{2, 1}, {2, 2}}, {{2, 2}, {2, 1}}}, {{1, 2}, {2, 1}}, {}},
      {"exchange last with last", [](Tpcm& r) { swap_subline(r, 3, 1, 1, 3); },
       {{{3, 1}, {1, 3}}, {{1, 3}, {3, 1}}}, {{1, 3}, {3, 1}}, {{1, 3}, {3, 1}}},
      {"subline outside the table", [](Tpcm& r) { clrdat(r, 26, 1); }, {}, {}, {}},
      {"type outside the table", [](Tpcm& r) { copy_subline(r, 1, 1, 151, 1); }, {}, {}, {}},
      {"type 0", [](Tpcm& r) { swap_subline(r, 1, 1, 0, 1); }, {}, {}, {}},
      // The buoyancy word of type 13 is the clump weight of type 1.
      {"type 13 clears the clump weight of type 1", [](Tpcm& r) { clrdat(r, 5, 13); }, {{{5, 13}, {0, 0}}},
       {{13, 0}}, {}},
  };
  const Element cleared{"        ", {0, 0, 0, 0, 0, 1.0f, 1.25f, 0, 0, 0, 0}};
  for (const auto& c : cases) {
    const Tpcm before = table();
    Tpcm want = before;
    for (const auto& m : c.elements) {
      write_element(want, m.to[0], m.to[1], m.from[0] == 0 ? cleared : read_element(before, m.from[0], m.from[1]));
    }
    for (const auto& [to, from] : c.types) {
      want.i(clump(to)) = from == 0 ? 0 : before.i(clump(from));
      want.i(buoyancy(to)) = from == 0 ? 0 : before.i(buoyancy(from));
    }
    for (const auto& [to, from] : c.last) {
      want.i(*anchor_depth_word(to)) = before.i(from == 0 ? 78231 : *anchor_depth_word(from));
      want.i(*bottom_flag_word(to)) = before.i(from == 0 ? 28535 : *bottom_flag_word(from));
    }
    Tpcm got = before;
    c.op(got);
    EXPECT_TRUE(got == want) << c.what;
  }
}

}  // namespace
}  // namespace kelp
