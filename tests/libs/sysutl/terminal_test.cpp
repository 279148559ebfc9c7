#include "sysutl/terminal.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::count_of;
using testing::kAbortAsk;
using testing::kReturn;
using testing::ScriptedSession;
using testing::slurp;
using testing::TempDir;

const std::string kEnd = std::string(kEndOfInputMessage) + "\n";
const std::string kClearSeq = "\x1b[H\x1b[2J";

// A session whose screen is a terminal, so screen clears show.
// A session whose screen counts as a terminal, so clears show.
struct TerminalSession : testing::ScriptedSession {
  explicit TerminalSession(std::string replies = {}) : ScriptedSession(std::move(replies), true) {}
};

TEST(Wrtlin, PromptOnScreenWhateverTheUnitButNotOnSilentUnit) {
  ScriptedSession t;
  wrtlin(t.s, "Enter new value: ", kScreen);
  wrtlin(t.s, "x", kSilentUnit);
  wrtlin(t.s, "y", kListingUnit);
  EXPECT_EQ(t.shown(), " Enter new value:  y");
}

TEST(Wrtlni, TextItemInThreeDigitsAndTwoBlanks) {
  ScriptedSession t;
  wrtlni(t.s, "Line", 7, kScreen);
  wrtlni(t.s, "Line", 12, kSilentUnit);
  wrtlni(t.s, "Row", 1234, kScreen);
  EXPECT_EQ(t.shown(), " Line  7   Row***  ");
}

TEST(Page, ScreenClearsListingGetsFormFeedCarriageControlGetsOne) {
  TerminalSession t;
  TempDir dir;
  const std::string listing = dir.file("listing.txt");
  const std::string cc = dir.file("listing99.txt");
  ASSERT_TRUE(t.s.open_output(kListingUnit, listing));
  ASSERT_TRUE(t.s.open_output(99, cc));
  page(t.s, kScreen, kScreen, 99);
  page(t.s, kSilentUnit, kScreen, 99);
  page(t.s, kListingUnit, kScreen, 99);
  page(t.s, 99, kScreen, 99);
  t.s.close_unit(kListingUnit);
  t.s.close_unit(99);
  EXPECT_EQ(t.shown(), kClearSeq);
  EXPECT_EQ(slurp(listing), "\f\n");
  EXPECT_EQ(slurp(cc), "1\n");
}

TEST(Twopg, FourCallsAlternatePageAndThreeEmptyLines) {
  TerminalSession t;
  int count = 0;
  for (int k = 0; k < 4; ++k) twopg(t.s, count, kScreen);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(t.shown(), kClearSeq + "\n\n\n" + kClearSeq + "\n\n\n");

  TerminalSession u;
  TempDir dir;
  const std::string listing = dir.file("listing.txt");
  ASSERT_TRUE(u.s.open_output(kListingUnit, listing));
  count = 0;
  for (int k = 0; k < 4; ++k) twopg(u.s, count, kListingUnit);
  u.s.close_unit(kListingUnit);
  EXPECT_EQ(slurp(listing), "\f\n\n\n\n\f\n\n\n\n");
  EXPECT_EQ(u.shown(), "");
}

TEST(Prsret, TruncatesTowardZero) {
  ScriptedSession t("12.7\n-3.9\n\nabc\n-1\n");
  const std::vector<int> expected = {12, -3, 0, 0, -1};
  for (int want : expected) {
    int reply = 99;
    prsret(t.s, kScreen, kKeyboard, reply);
    EXPECT_EQ(reply, want);
  }
  std::string prompts;
  for (std::size_t k = 0; k < expected.size(); ++k) prompts += kReturn;
  EXPECT_EQ(t.shown(), prompts);
}

TEST(Prsret, HugeNumbersSaturate) {
  ScriptedSession t("1e20\n-1e20\n2147483647\n");
  int reply = 0;
  prsret(t.s, kScreen, kKeyboard, reply);
  EXPECT_EQ(reply, INT_MAX);
  prsret(t.s, kScreen, kKeyboard, reply);
  EXPECT_EQ(reply, INT_MIN);
  prsret(t.s, kScreen, kKeyboard, reply);  // the nearest float is 2^31
  EXPECT_EQ(reply, INT_MAX);
}

TEST(Prsret, SilentUnitReturnsZeroWithoutReading) {
  ScriptedSession t("");  // reading would stop the session
  int reply = 5;
  prsret(t.s, kSilentUnit, kKeyboard, reply);
  EXPECT_EQ(reply, 0);
  EXPECT_EQ(t.shown(), "");
}

TEST(Prsret, EndOfInputStops) {
  ScriptedSession t("");
  int reply = 0;
  EXPECT_THROW(prsret(t.s, kScreen, kKeyboard, reply), ProgramStop);
  EXPECT_EQ(t.shown(), kReturn + "\n" + kEnd);
}

TEST(Wrnful, BelowFiveNothingAtFiveWaitsAndClears) {
  TerminalSession t("\n-1\n");
  int count = 4;
  wrnful(t.s, count, kScreen, kKeyboard);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(t.shown(), "");
  count = 5;
  wrnful(t.s, count, kScreen, kKeyboard);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(t.shown(), kReturn + kClearSeq);
  count = 5;
  wrnful(t.s, count, kScreen, kKeyboard);  // a negative reply keeps the list
  EXPECT_EQ(count, 5);
  EXPECT_EQ(t.shown(), kReturn + kClearSeq + kReturn);
}

// Writes `kinds` messages (w: warning, f: fatal) through wrninc and returns
// after which messages (1-based) the list paused.
std::vector<int> pauses_for(const std::string& kinds) {
  ScriptedSession t(std::string(kinds.size(), '\n'));
  int warnings = 0;
  int fatals = 0;
  std::vector<int> paused;
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    const int before = count_of(t.shown(), "Press <RETURN>");
    const int old_w = warnings;
    const int old_f = fatals;
    if (kinds[k] == 'w') {
      wrninc(t.s, warnings, warnings, fatals, kScreen, kKeyboard, 7);
      EXPECT_EQ(warnings, old_w + 1);
      EXPECT_EQ(fatals, old_f);
    } else {
      wrninc(t.s, fatals, warnings, fatals, kScreen, kKeyboard, 7);
      EXPECT_EQ(fatals, old_f + 1);
      EXPECT_EQ(warnings, old_w);
    }
    if (count_of(t.shown(), "Press <RETURN>") > before) paused.push_back(static_cast<int>(k) + 1);
  }
  return paused;
}

TEST(Wrninc, PausesAfterEverySeventhMessageWhateverTheMix) {
  EXPECT_EQ(pauses_for("wwwwwwwwwwwwwwwwwwwwww"), (std::vector<int>{7, 14, 21}));
  EXPECT_EQ(pauses_for("ffffffffffffff"), (std::vector<int>{7, 14}));
  EXPECT_EQ(pauses_for("wfwfwfwfwfwfwfwf"), (std::vector<int>{7, 14}));
  EXPECT_EQ(pauses_for("ffwwwwwwwwwwwwwf"), (std::vector<int>{7, 14}));
  EXPECT_EQ(pauses_for("wwwwww"), (std::vector<int>{}));
}

TEST(Wrninc, SilentUnitCountsWithoutWaiting) {
  ScriptedSession t("");
  int warnings = 6;
  wrninc(t.s, warnings, warnings, 0, kSilentUnit, kKeyboard, 7);
  EXPECT_EQ(warnings, 7);
  EXPECT_EQ(t.shown(), "");
}

TEST(Abort0, LetterAAbortsAnythingElseContinues) {
  ScriptedSession t("a\nA\n\nx\nabort\n");
  const std::vector<int> expected = {-1, -1, 0, 0, -1};
  std::string prompts;
  for (int want : expected) {
    int reply = 7;
    abort0(t.s, kScreen, kKeyboard, reply);
    EXPECT_EQ(reply, want);
    prompts += kAbortAsk;
  }
  EXPECT_EQ(t.shown(), prompts);
}

TEST(Abort0, SilentUnitAndEndOfInput) {
  ScriptedSession t("");
  int reply = 7;
  abort0(t.s, kSilentUnit, kKeyboard, reply);
  EXPECT_EQ(reply, 0);
  EXPECT_EQ(t.shown(), "");
  try {
    abort0(t.s, kScreen, kKeyboard, reply);
    FAIL() << "no stop";
  } catch (const ProgramStop& stop) {
    EXPECT_EQ(stop.status(), 1);
  }
  EXPECT_EQ(t.shown(), kAbortAsk + "\n" + kEnd);
}

TEST(ServAbort, SilentUnitStopsElseAsAbort0) {
  ScriptedSession t("A\n");
  int reply = 0;
  EXPECT_THROW(serv_abort(t.s, kSilentUnit, reply), ProgramStop);
  EXPECT_EQ(t.shown(), "");
  serv_abort(t.s, kScreen, reply);
  EXPECT_EQ(reply, -1);
}

TEST(Abort3, BlankAbortAndNinetyNine) {
  ScriptedSession t("\n  all\n99\n 99 \n");
  const std::vector<int> expected = {0, -1, 99, 99};
  for (int want : expected) {
    int reply = 7;
    abort3(t.s, kScreen, kKeyboard, reply);
    EXPECT_EQ(reply, want);
  }
}

TEST(Abort3, UnrecognisedReplyAsksAgain) {
  ScriptedSession t("5\n\na\n");
  int reply = 7;
  abort3(t.s, kScreen, kKeyboard, reply);
  EXPECT_EQ(reply, -1);
  EXPECT_EQ(t.shown(), kAbortAsk +
                           "\n"
                           " >>> Unrecognized option in ABORT3: 5           \n"
                           "     Press <Return> to continue\n" +
                           kAbortAsk);
}

TEST(Abort3, SilentUnitStopsAndEndOfInputStops) {
  ScriptedSession t("xyz\n");
  int reply = 0;
  EXPECT_THROW(abort3(t.s, kSilentUnit, kKeyboard, reply), ProgramStop);
  EXPECT_EQ(t.shown(), "");
  // An unrecognised reply followed by the end of input stops, never spins.
  try {
    abort3(t.s, kScreen, kKeyboard, reply);
    FAIL() << "no stop";
  } catch (const ProgramStop& stop) {
    EXPECT_EQ(stop.status(), 1);
  }
  EXPECT_NE(t.shown().find(kEnd), std::string::npos);
}

// A clock that advances only when slept on.
struct FakeClock {
  std::chrono::steady_clock::time_point t{};
  std::chrono::steady_clock::duration slept{};
  int readings = 0;
  DelayClock clock() {
    return DelayClock{[this] {
                        ++readings;
                        return t;
                      },
                      [this](std::chrono::steady_clock::duration d) {
                        t += d;
                        slept += d;
                      }};
  }
};

TEST(Sydelay, ClampsToOneDay) {
  FakeClock fake;
  int seconds = 100000;
  int polls = -1;
  sydelay(seconds, polls, fake.clock());
  EXPECT_EQ(seconds, 86400);
  EXPECT_EQ(fake.slept, std::chrono::seconds(86400));
  EXPECT_EQ(polls, 86401);  // a reading per one-second step and the last
}

TEST(Sydelay, ZeroAndNegativeReturnAtOnce) {
  FakeClock fake;
  int seconds = 0;
  int polls = -1;
  sydelay(seconds, polls, fake.clock());
  EXPECT_EQ(polls, 0);
  seconds = -5;
  sydelay(seconds, polls, fake.clock());
  EXPECT_EQ(seconds, -5);
  EXPECT_EQ(polls, 0);
  EXPECT_EQ(fake.readings, 0);
}

TEST(Sydelay, WaitsAtLeastTheSeconds) {
  FakeClock fake;
  int seconds = 3;
  int polls = 0;
  sydelay(seconds, polls, fake.clock());
  EXPECT_EQ(fake.slept, std::chrono::seconds(3));
  EXPECT_EQ(polls, 4);
}

}  // namespace
}  // namespace kelp
