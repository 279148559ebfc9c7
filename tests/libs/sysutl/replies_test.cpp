#include "sysutl/replies.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "sysutl/terminal.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;
using testing::TempDir;
using testing::write_file;

const std::string kEnd = std::string(kEndOfInputMessage) + "\n";

// Runs f and expects the end-of-input stop (status 1) with its message.
template <class F>
void expect_end_of_input(ScriptedSession& t, F f) {
  try {
    f();
    ADD_FAILURE() << "no stop at end of input";
  } catch (const ProgramStop& stop) {
    EXPECT_EQ(stop.status(), 1);
  }
  const std::string shown = t.shown();
  ASSERT_GE(shown.size(), kEnd.size());
  EXPECT_EQ(shown.substr(shown.size() - kEnd.size()), kEnd);
}

struct ReadiRow {
  const char* reply;
  int code;
  int number;
};

// code and number start at 777 and 555, so "unchanged" shows.
constexpr int kCode0 = 777;
constexpr int kNumber0 = 555;

// Reads each row's reply with readi and checks the code and number it leaves.
template <std::size_t N>
void expect_readi_rows(const std::array<ReadiRow, N>& rows) {
  for (const auto& row : rows) {
    ScriptedSession t(std::string(row.reply) + "\n");
    int code = kCode0;
    int number = kNumber0;
    readi(t.s, code, kKeyboard, number);
    EXPECT_EQ(code, row.code) << "reply '" << row.reply << "'";
    EXPECT_EQ(number, row.number) << "reply '" << row.reply << "'";
  }
}

TEST(Readi, CommandLettersInBothCases) {
  const std::array<ReadiRow, 28> rows = {{
      {"H", -1979, 0}, {"h", -1979, 0}, {"F", -1980, 0}, {"f", -1980, 0}, {"L", -1981, 0}, {"l", -1981, 0},
      {"S", -1982, 0}, {"s", -1982, 0}, {"E", -1983, 0}, {"e", -1983, 0}, {"J", -1984, 0}, {"j", -1984, 0},
      {"M", -1985, 0}, {"m", -1985, 0}, {"C", -1986, 0}, {"c", -1986, 0}, {"D", -1987, 0}, {"d", -1987, 0},
      {"I", -1988, 0}, {"i", -1988, 0}, {"X", -1989, 0}, {"x", -1989, 0}, {"B", -1, 0},    {"b", -1, 0},
      {"?", -1978, 0}, {"!", -2013, kNumber0}, {"", kCode0, kNumber0}, {"      ", kCode0, kNumber0},
  }};
  expect_readi_rows(rows);
}

TEST(Readi, NumbersAfterLettersAndPlainNumbers) {
  const std::array<ReadiRow, 19> rows = {{
      {"J12", -1984, 12},
      {"j 3", -1984, 3},
      {"?4", -1978, 4},
      {"12", 12, 2},
      {"25", 25, 5},
      {"7", 7, 0},
      {"0", 0, 0},
      {"-7", 0, 7},
      {"-1", -1, 1},
      {"J-3", -1984, -3},          // a leading sign after the letter is a signed number
      {"Hx", kCode0, kNumber0},    // characters 2 to 6 not a number: both kept
      {"J1-3", kCode0, kNumber0},  // an embedded sign fails
      {"J1.5", kCode0, kNumber0},  // so does a point
      {"1.5", kCode0, kNumber0},
      {"Z", 0, 0},                 // unlisted letter alone
      {"Z5", 0, 5},                // unlisted letter with a number: code 0
      {"1234567", 123456, 23456},  // only six characters are read
      {" 5", 5, 5},                // blanks are ignored in both fields
      {"1 2", 12, 2},
  }};
  expect_readi_rows(rows);
}

TEST(Readi, EndOfInputStops) {
  ScriptedSession t("");
  int code = 0;
  int number = 0;
  expect_end_of_input(t, [&] { readi(t.s, code, kKeyboard, number); });
}

TEST(Entsel, KeyListCharacterForCharacter) {
  ScriptedSession t("H\n\n");
  int code = 5;
  int number = 9;
  entsel(t.s, code, kScreen, kKeyboard, number);
  EXPECT_EQ(code, -1979);
  EXPECT_EQ(number, 0);
  EXPECT_EQ(t.shown(),
            " \n"
            " Enter number of selection (\"H\" for help): "
            "\n"
            "\n"
            " At any \"Enter number of selection\" prompt:\n"
            "\n"
            " (F)  First page\n"
            " (L)  Last page\n"
            " (S)  Skip ahead a page\n"
            " (E)  Execute program\n"
            " (B)  Back a page\n"
            " (Jn) Jump to page \"n\"\n"
            " (?)  Help summary for current page\n"
            " (?n) Help on current page for selection \"n\"\n"
            "\n"
            " \n"
            " Press <RETURN> to continue: ");
}

TEST(Entsel, BangGivesKeyCodeWithoutList) {
  ScriptedSession t("!\n");
  int code = 5;
  int number = 9;
  entsel(t.s, code, kScreen, kKeyboard, number);
  EXPECT_EQ(code, -1979);
  EXPECT_EQ(number, 9);
  EXPECT_EQ(t.shown(), " \n Enter number of selection (\"H\" for help): ");
}

TEST(Entsel, EmptyReplyIsNextPageAndJumpKeepsNumber) {
  ScriptedSession t("\nJ4\n");
  int code = 5;
  int number = 9;
  entsel(t.s, code, kScreen, kKeyboard, number);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(number, 9);
  entsel(t.s, code, kScreen, kKeyboard, number);
  EXPECT_EQ(code, -1984);
  EXPECT_EQ(number, 4);
}

TEST(Entsel, EndOfInputStops) {
  ScriptedSession t("H\n");  // the key list's wait meets the end
  int code = 0;
  int number = 0;
  expect_end_of_input(t, [&] { entsel(t.s, code, kScreen, kKeyboard, number); });
}

TEST(Enteri, BlankKeepsLettersGiveCodesLowValuesZero) {
  ScriptedSession t("\nB\n-5\n42\n!\n");
  int v = 17;
  enteri(t.s, v, kScreen, kKeyboard);
  EXPECT_EQ(v, 17);
  enteri(t.s, v, kScreen, kKeyboard);
  EXPECT_EQ(v, -1);
  enteri(t.s, v, kScreen, kKeyboard);
  EXPECT_EQ(v, 0);
  enteri(t.s, v, kScreen, kKeyboard);
  EXPECT_EQ(v, 42);
  enteri(t.s, v, kScreen, kKeyboard);
  EXPECT_EQ(v, -2013);
  EXPECT_EQ(t.shown().substr(0, 18), " Enter new value: ");
}

TEST(Crread, BlankAndUnreadableKeepValueWithFlag) {
  ScriptedSession t("\nabc\n2 5\n1.5e2\n-0.25\n");
  float v = 3.5f;
  int blank = 7;
  crread(t.s, v, blank, kKeyboard);
  EXPECT_EQ(blank, 1);
  EXPECT_EQ(v, 3.5f);
  crread(t.s, v, blank, kKeyboard);
  EXPECT_EQ(blank, 1);
  EXPECT_EQ(v, 3.5f);
  crread(t.s, v, blank, kKeyboard);
  EXPECT_EQ(blank, 0);
  EXPECT_EQ(v, 25.0f);
  crread(t.s, v, blank, kKeyboard);
  EXPECT_EQ(v, 150.0f);
  crread(t.s, v, blank, kKeyboard);
  EXPECT_EQ(v, -0.25f);
}

TEST(Crread, NonFiniteRepliesAreUnreadable) {
  ScriptedSession t("NaN\nInf\nInfinity\n-inf\n1e39\n");
  for (int k = 0; k < 5; ++k) {
    float v = 2.0f;
    int blank = 0;
    crread(t.s, v, blank, kKeyboard);
    EXPECT_EQ(v, 2.0f) << "reply " << k;
    EXPECT_EQ(blank, 1) << "reply " << k;
  }
}

TEST(Crread, ReplyPastColumnTwelveIsReadWhole) {
  // Cut at twelve characters these would read 123456789012 and 1.
  ScriptedSession t("1234567890123\n1.0000000000e3\n            7\n");
  float v = 0.0f;
  int blank = 9;
  crread(t.s, v, blank, kKeyboard);
  EXPECT_EQ(blank, 0);
  EXPECT_EQ(v, 1234567890123.0f);
  crread(t.s, v, blank, kKeyboard);
  EXPECT_EQ(v, 1000.0f);
  crread(t.s, v, blank, kKeyboard);
  EXPECT_EQ(blank, 0);
  EXPECT_EQ(v, 7.0f);
}

TEST(Enterf, PromptAndKeepOnBlank) {
  ScriptedSession t("\n12.5\n");
  float v = 1.0f;
  enterf(t.s, v, kScreen, kKeyboard);
  EXPECT_EQ(v, 1.0f);
  enterf(t.s, v, kScreen, kKeyboard);
  EXPECT_EQ(v, 12.5f);
  EXPECT_EQ(t.shown(), " Enter new value:  Enter new value: ");
}

TEST(Crreal, PartialListsKeepMissingValues) {
  ScriptedSession t("1.5\n1,,3\n\n4 abc 6\n7 NaN 9\n1 2 3 4\n");
  float x = 10, y = 20, z = 30;
  int blank = 5;
  crreal(t.s, x, y, z, blank, kKeyboard);
  EXPECT_EQ(blank, 0);
  EXPECT_EQ(x, 1.5f);
  EXPECT_EQ(y, 20.0f);
  EXPECT_EQ(z, 30.0f);
  crreal(t.s, x, y, z, blank, kKeyboard);
  EXPECT_EQ(x, 1.0f);
  EXPECT_EQ(y, 20.0f);
  EXPECT_EQ(z, 3.0f);
  crreal(t.s, x, y, z, blank, kKeyboard);
  EXPECT_EQ(blank, 1);
  EXPECT_EQ(x, 1.0f);
  crreal(t.s, x, y, z, blank, kKeyboard);  // read error ends the list quietly
  EXPECT_EQ(x, 4.0f);
  EXPECT_EQ(y, 20.0f);
  EXPECT_EQ(z, 3.0f);
  crreal(t.s, x, y, z, blank, kKeyboard);
  EXPECT_EQ(x, 7.0f);
  EXPECT_EQ(y, 20.0f);
  EXPECT_EQ(z, 3.0f);
  crreal(t.s, x, y, z, blank, kKeyboard);
  EXPECT_EQ(x, 1.0f);
  EXPECT_EQ(y, 2.0f);
  EXPECT_EQ(z, 3.0f);
}

TEST(Crreal, EndOfInputStops) {
  ScriptedSession t("");
  float x = 0, y = 0, z = 0;
  int blank = 0;
  expect_end_of_input(t, [&] { crreal(t.s, x, y, z, blank, kKeyboard); });
}

TEST(Readni, ReadsUpToNAndKeepsTheRest) {
  ScriptedSession t("4 5\n1,2,3,4\n\n");
  std::array<std::int32_t, 5> v = {9, 9, 9, 9, 9};
  int blank = 7;
  readni(t.s, v, 3, kKeyboard, kScreen, blank);
  EXPECT_EQ(blank, 0);
  EXPECT_EQ(v, (std::array<std::int32_t, 5>{4, 5, 9, 9, 9}));
  readni(t.s, v, 3, kKeyboard, kScreen, blank);
  EXPECT_EQ(v, (std::array<std::int32_t, 5>{1, 2, 3, 9, 9}));
  readni(t.s, v, 3, kKeyboard, kScreen, blank);
  EXPECT_EQ(blank, 1);
  EXPECT_EQ(v, (std::array<std::int32_t, 5>{1, 2, 3, 9, 9}));
  EXPECT_EQ(t.shown(), "");
}

TEST(Readni, NeverWritesPastTheCallersArray) {
  ScriptedSession t("1 2 3 4 5 6 7\n");
  std::array<std::int32_t, 4> v{};
  int blank = 0;
  readni(t.s, std::span<std::int32_t>(v).first(3), 10, kKeyboard, kScreen, blank);
  EXPECT_EQ(v, (std::array<std::int32_t, 4>{1, 2, 3, 0}));
}

TEST(Readni, MoreThanFiftyAsksAndAbortStops) {
  ScriptedSession t("A\n");
  std::array<std::int32_t, 60> v{};
  int blank = 0;
  EXPECT_THROW(readni(t.s, v, 51, kKeyboard, kScreen, blank), ProgramStop);
  EXPECT_EQ(t.shown(), "\n ++> Error in READNI...\n\n\a Enter \"A\" to abort or Press <RETURN> to continue: ");
}

TEST(Readni, MoreThanFiftyContinuesWithFifty) {
  std::string reply;
  for (int k = 1; k <= 23; ++k) reply += std::to_string(k) + " ";  // 69 characters hold 23 numbers
  ScriptedSession t("\n" + reply + "\n");
  std::array<std::int32_t, 60> v{};
  int blank = 0;
  readni(t.s, v, 60, kKeyboard, kScreen, blank);
  EXPECT_EQ(v[0], 1);
  EXPECT_EQ(v[22], 23);
  EXPECT_EQ(v[23], 0);
}

TEST(Entera, BlankCutAndPad) {
  ScriptedSession t("\nabcdefgh\nxy\n");
  std::string text = "old!!";
  entera(t.s, text, kScreen, kKeyboard);
  EXPECT_EQ(text, "     ");
  entera(t.s, text, kScreen, kKeyboard);
  EXPECT_EQ(text, "abcde");
  entera(t.s, text, kScreen, kKeyboard);
  EXPECT_EQ(text, "xy   ");
  EXPECT_EQ(t.shown().substr(0, 29), " Enter new character string: ");
}

TEST(Entcrd, PromptsByDimension) {
  ScriptedSession t("1 2 3\n\n4\n");
  float x = 0, y = 0, z = 0;
  int blank = 0;
  entcrd(t.s, 7, x, y, z, 2, kScreen, kKeyboard, blank);
  EXPECT_EQ(z, 3.0f);  // a third value is stored with ndim 2 too
  entcrd(t.s, 12, x, y, z, 3, kScreen, kKeyboard, blank);
  EXPECT_EQ(blank, 1);
  entcrd(t.s, 123, x, y, z, 4, kScreen, kKeyboard, blank);
  EXPECT_EQ(x, 4.0f);
  EXPECT_EQ(t.shown(),
            " Enter new data for #  7 (x,y): "
            " Enter new data for # 12 (x,y,z): "
            " Enter new data for #123 ERROR!");
}

TEST(Readc, InputUnitAndKeyboard) {
  TempDir dir;
  const std::string path = dir.file("unit8.txt");
  write_file(path, "qrs\n");
  ScriptedSession t("k\n\n");
  ASSERT_TRUE(t.s.open_input(8, path));
  char ch = '?';
  readc(t.s, ch, 8);
  EXPECT_EQ(ch, 'q');
  readcp(t.s, ch);  // the keyboard, not unit 8
  EXPECT_EQ(ch, 'k');
  readc(t.s, ch, kKeyboard);
  EXPECT_EQ(ch, ' ');
  expect_end_of_input(t, [&] { readcp(t.s, ch); });
  t.s.close_unit(8);
}

TEST(Upcase, LettersBlankAndOthers) {
  char c = 'a';
  int kind = -1;
  upcase(c, kind);
  EXPECT_EQ(c, 'A');
  EXPECT_EQ(kind, 0);
  c = 'Q';
  upcase(c, kind);
  EXPECT_EQ(c, 'Q');
  EXPECT_EQ(kind, 0);
  c = ' ';
  upcase(c, kind);
  EXPECT_EQ(kind, 2);
  c = '3';
  upcase(c, kind);
  EXPECT_EQ(c, '3');
  EXPECT_EQ(kind, 1);
  c = '{';  // every code above 'Z' loses 32
  upcase(c, kind);
  EXPECT_EQ(c, '[');
  EXPECT_EQ(kind, 1);
}

}  // namespace
}  // namespace kelp
