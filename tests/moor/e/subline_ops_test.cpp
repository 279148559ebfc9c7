#include "moor/e/subline_ops.hpp"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace kelp
