#include "kelpkit/toggles.hpp"

#include <gtest/gtest.h>

#include <string>

#include "sysutl/replies.hpp"
#include "sysutl/terminal.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

const std::string kYesNo = " Enter 1 for \"Yes\", 0 for \"No\": ";

TEST(Toggle, FlipsZeroAndOneRefusesOthers) {
  ScriptedSession t;
  int flag = 0;
  toggle(t.s, flag);
  EXPECT_EQ(flag, 1);
  toggle(t.s, flag);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(t.shown(), "");
  flag = 2;
  toggle(t.s, flag);
  EXPECT_EQ(flag, 2);
  EXPECT_EQ(t.shown(), " >>> Invalid argument in Toggle\n");
  bool b = false;
  toggle_l(b);
  EXPECT_TRUE(b);
  toggle_l(b);
  EXPECT_FALSE(b);
}

TEST(Toggle2, FlipWithoutAsking) {
  ScriptedSession t("");
  int flag = 5;
  toggle2(t.s, flag, 0, kScreen, kKeyboard);
  EXPECT_EQ(flag, 0);
  toggle2(t.s, flag, 0, kScreen, kKeyboard);
  EXPECT_EQ(flag, 1);
  int other = 5;
  toggle(t.s, other);  // toggle keeps what toggle2 flips
  EXPECT_EQ(other, 5);
  bool b = true;
  toggle2_l(t.s, b, 0, kScreen, kKeyboard);
  EXPECT_FALSE(b);
}

TEST(Toggle2, AskKeepsOldValueOnAnythingButOneOrZero) {
  ScriptedSession t("1\n7\nB\n\n0\nJ1\n-1\n");
  int flag = 0;
  toggle2(t.s, flag, 1, kScreen, kKeyboard);
  EXPECT_EQ(flag, 1);
  for (int k = 0; k < 3; ++k) {  // 7, B, empty
    toggle2(t.s, flag, 1, kScreen, kKeyboard);
    EXPECT_EQ(flag, 1) << "reply " << k;
  }
  toggle2(t.s, flag, 1, kScreen, kKeyboard);
  EXPECT_EQ(flag, 0);
  toggle2(t.s, flag, 1, kScreen, kKeyboard);  // J1: a jump code
  EXPECT_EQ(flag, 0);
  toggle2(t.s, flag, 1, kScreen, kKeyboard);  // -1 is "back"
  EXPECT_EQ(flag, 0);
  std::string prompts;
  for (int k = 0; k < 7; ++k) prompts += kYesNo;
  EXPECT_EQ(t.shown(), prompts);
}

TEST(Toggle2, OddOldValueSurvivesABlankReply) {
  ScriptedSession t("\n");
  int flag = 5;
  toggle2(t.s, flag, 1, kScreen, kKeyboard);
  EXPECT_EQ(flag, 5);
}

TEST(Toggle2L, AskedLogical) {
  ScriptedSession t("1\n\n7\n0\n");
  bool b = false;
  toggle2_l(t.s, b, 1, kScreen, kKeyboard);
  EXPECT_TRUE(b);
  toggle2_l(t.s, b, 1, kScreen, kKeyboard);
  EXPECT_TRUE(b);
  toggle2_l(t.s, b, 1, kScreen, kKeyboard);
  EXPECT_TRUE(b);
  toggle2_l(t.s, b, 1, kScreen, kKeyboard);
  EXPECT_FALSE(b);
  EXPECT_EQ(t.shown(), kYesNo + kYesNo + kYesNo + kYesNo);
}

TEST(Toggle2, EndOfInputStops) {
  ScriptedSession t("");
  int flag = 0;
  EXPECT_THROW(toggle2(t.s, flag, 1, kScreen, kKeyboard), ProgramStop);
  EXPECT_EQ(t.shown(), kYesNo + "\n" + std::string(kEndOfInputMessage) + "\n");
}

TEST(Toggle3, LabelledPrompt) {
  EXPECT_EQ(toggle3_prompt("English", "Metric"), "Enter 1 for \"English\", 0 for \"Metric\": ");
  // Fixed-length labels keep their blanks inside the quotes.
  EXPECT_EQ(toggle3_prompt("On  ", "Off"), "Enter 1 for \"On  \", 0 for \"Off\": ");
  // Cut at 60 characters, trailing blanks removed, one blank added.
  const std::string long1 = "Relabel units only (no conversion)";
  const std::string long0 = "Convert all values";
  const std::string full = "Enter 1 for \"" + long1 + "\", 0 for \"" + long0 + "\": ";
  ASSERT_GT(full.size(), 60u);
  EXPECT_EQ(toggle3_prompt(long1, long0), full.substr(0, 60) + " ");
  EXPECT_EQ(toggle3_prompt(std::string(13, 'x'), std::string("abcdefgh") + std::string(20, ' ')),
            "Enter 1 for \"xxxxxxxxxxxxx\", 0 for \"abcdefgh ");  // blanks at the cut go

  ScriptedSession t("0\n\n");
  int flag = 1;
  toggle3(t.s, flag, 1, kScreen, kKeyboard, "English", "Metric");
  EXPECT_EQ(flag, 0);
  toggle3(t.s, flag, 1, kScreen, kKeyboard, "English", "Metric");
  EXPECT_EQ(flag, 0);
  toggle3(t.s, flag, 0, kScreen, kKeyboard, "English", "Metric");
  EXPECT_EQ(flag, 1);
  const std::string p = " Enter 1 for \"English\", 0 for \"Metric\": ";
  EXPECT_EQ(t.shown(), p + p);
}

TEST(Toggle2, SilentUnitShowsNoPrompt) {
  ScriptedSession t("1\n");
  int flag = 0;
  toggle2(t.s, flag, 1, kSilentUnit, kKeyboard);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(t.shown(), "");
}

TEST(Yesno, Texts) {
  EXPECT_EQ(yesno(1), "Yes");
  EXPECT_EQ(yesno(0), "No ");
  EXPECT_EQ(yesno(2), "Awk");
  EXPECT_EQ(yesno(-1), "Awk");
  EXPECT_EQ(yesno_l(true), "Yes");
  EXPECT_EQ(yesno_l(false), "No ");
}

TEST(RangeChecks, MaxchkAndPoschk) {
  int n = -3;
  maxchk(n, 10);
  EXPECT_EQ(n, 0);
  n = 12;
  maxchk(n, 10);
  EXPECT_EQ(n, 10);
  n = 4;
  maxchk(n, 10);
  EXPECT_EQ(n, 4);
  n = 5;
  maxchk(n, -2);  // nmax first, then the floor
  EXPECT_EQ(n, 0);
  n = 0;
  poschk(n, 10);
  EXPECT_EQ(n, 1);
  n = 5;
  poschk(n, 0);
  EXPECT_EQ(n, 1);
  n = 11;
  poschk(n, 10);
  EXPECT_EQ(n, 10);
}

// A short page dialogue through the real Session: select item 2 and type a
// value, select item 3 and answer its yes/no question, select item 4 with
// its labelled question, type "!" (key code, no list), then jump.
TEST(Dialogue, SelectionsValueAndToggles) {
  ScriptedSession t("2\n 3.75\n3\n1\n4\nx\n!\nj 4\n");
  int code = 0;
  int number = 0;
  float depth = 100.0f;
  int flag = 0;
  int units = 1;
  entsel(t.s, code, kScreen, kKeyboard, number);
  ASSERT_EQ(code, 2);
  enterf(t.s, depth, kScreen, kKeyboard);
  entsel(t.s, code, kScreen, kKeyboard, number);
  ASSERT_EQ(code, 3);
  toggle2(t.s, flag, 1, kScreen, kKeyboard);
  entsel(t.s, code, kScreen, kKeyboard, number);
  ASSERT_EQ(code, 4);
  toggle3(t.s, units, 1, kScreen, kKeyboard, "English", "Metric");
  entsel(t.s, code, kScreen, kKeyboard, number);
  EXPECT_EQ(code, -1979);
  entsel(t.s, code, kScreen, kKeyboard, number);
  EXPECT_EQ(code, -1984);
  EXPECT_EQ(number, 4);
  EXPECT_EQ(depth, 3.75f);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(units, 1);
  const std::string& select = testing::kSelect;
  EXPECT_EQ(t.shown(), select + " Enter new value: " + select + kYesNo + select +
                           " Enter 1 for \"English\", 0 for \"Metric\": " + select + select);
  const std::string before = t.shown();
  EXPECT_THROW(entsel(t.s, code, kScreen, kKeyboard, number), ProgramStop);
  EXPECT_EQ(t.shown(), before + select + "\n" + std::string(kEndOfInputMessage) + "\n");
}

}  // namespace
}  // namespace kelp
