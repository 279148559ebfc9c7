#include "kelpkit/banner.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

constexpr const char* kClearSequence = "\x1b[H\x1b[2J";

// The box rows above the version row, the same for every kind.
std::string box_top(const std::string& welcome_row) {
  return "\n"
         "           +========================================================+\n"
         "           |                                                        |\n"
         "           |                                                        |\n"
         "           |                                                        |\n" +
         welcome_row +
         "           |                                                        |\n"
         "           |                                                        |\n";
}

const std::string kBoxBottom =
    "           |                                                        |\n"
    "           |                                                        |\n"
    "           |                                                        |\n"
    "           |                                                        |\n"
    "           +========================================================+\n"
    "\n"
    "\n"
    "\n"
    "\n"
    " ------------------------------------------------------------------------------\n";

const std::string kMenu =
    "\n"
    " (M) Modify existing, (C) Create new, (E) Execute simulation, (B) Batch modify\n"
    "\n"
    " Enter letter of selection: ";

const std::string kRondixaBox =
    box_top("           |              **   Welcome to Rondixa   **              |\n") +
    "           |                 Rondixa Version: 6.80.00               |\n"
    "           |              Motion Evaluations: 149 points            |\n" +
    kBoxBottom;

TEST(Banner, DiscBuoyKindShowsMotionEvaluationsAndMenu) {
  ScriptedSession t("M\n");
  char reply = ' ';
  title(t.s, 4, "Rondixa", 6.8f, kScreen, kKeyboard, reply, 0);
  EXPECT_EQ(reply, 'M');
  EXPECT_EQ(t.shown(), kRondixaBox + kMenu);
}

TEST(Banner, SublineKindShowsSublineCapacity) {
  ScriptedSession t("c\n");
  char reply = ' ';
  title(t.s, 10, "Towline", 6.8f, kScreen, kKeyboard, reply, 0);
  EXPECT_EQ(reply, 'C');
  EXPECT_EQ(t.shown(), box_top("           |              **   Welcome to Towline   **              |\n") +
                           "           |                 Towline Version: 6.80.00               |\n"
                           "           |                Subline Capacity:  25 items             |\n" +
                           kBoxBottom + kMenu);
}

TEST(Banner, MooringKindShowsMooringCapacityAndEightCharacterName) {
  // A name longer than 8 characters is cut to its field; a negative version
  // is marked with "b".
  ScriptedSession t("e\n");
  char reply = ' ';
  title(t.s, 15, "PivaraXYZ", -6.8f, kScreen, kKeyboard, reply, 0);
  EXPECT_EQ(reply, 'E');
  EXPECT_EQ(t.shown(), box_top("           |              **   Welcome to PivaraXY  **              |\n") +
                           "           |                 PivaraXYVersion: 6.80.00b              |\n"
                           "           |                Mooring Capacity: 149 lines             |\n" +
                           kBoxBottom + kMenu);
}

TEST(Banner, CapacityRowFollowsKindBoundaries) {
  const auto capacity_row = [](int kind) {
    ScriptedSession t;
    char reply = 'X';
    title(t.s, kind, "Prog", 1.0f, kScreen, kKeyboard, reply, 1);
    std::istringstream lines(t.shown());
    std::string line;
    for (int i = 0; i < 10; ++i) std::getline(lines, line);
    return line;
  };
  EXPECT_NE(capacity_row(9).find("Motion Evaluations: 149 points"), std::string::npos);
  EXPECT_NE(capacity_row(-3).find("Motion Evaluations: 149 points"), std::string::npos);
  EXPECT_NE(capacity_row(10).find("  Subline Capacity:  25 items "), std::string::npos);
  EXPECT_NE(capacity_row(11).find("  Mooring Capacity: 149 lines "), std::string::npos);
  EXPECT_NE(capacity_row(17).find("  Mooring Capacity: 149 lines "), std::string::npos);
}

TEST(Banner, MenuAsksAgainUntilOneOfTheFourLetters) {
  // empty reply, a digit, another letter, then a lower-case b.
  ScriptedSession t("\n7\nx\nbatch\n");
  char reply = ' ';
  title(t.s, 4, "Rondixa", 6.8f, kScreen, kKeyboard, reply, 0);
  EXPECT_EQ(reply, 'B');
  EXPECT_EQ(t.shown(), kRondixaBox + kMenu + kMenu + kMenu + kMenu);
}

TEST(Banner, EndOfInputAtTheMenuStopsInsteadOfAskingAgain) {
  ScriptedSession t("q\n");
  char reply = ' ';
  try {
    title(t.s, 4, "Rondixa", 6.8f, kScreen, kKeyboard, reply, 0);
    FAIL() << "the menu returned without a letter";
  } catch (const ProgramStop& stop) {
    EXPECT_NE(stop.status(), 0);
  }
  EXPECT_EQ(reply, ' ');
  EXPECT_EQ(t.shown(), kRondixaBox + kMenu + kMenu + "\n" + std::string(kEndOfInputMessage) + "\n");
}

TEST(Banner, ScreenIsClearedBeforeTheBoxOnlyOutsideAPrintPass) {
  std::istringstream in("m\n");
  std::ostringstream screen, errors;
  Session s(in, screen, errors, /*screen_is_terminal=*/true);
  char reply = ' ';
  title(s, 4, "Rondixa", 6.8f, kScreen, kKeyboard, reply, 0);
  EXPECT_EQ(screen.str(), kClearSequence + kRondixaBox + kMenu);
}

TEST(Banner, PrintPassWritesTheBoxWithoutClearingOrAsking) {
  std::istringstream in("M\n");
  std::ostringstream screen, errors;
  Session s(in, screen, errors, /*screen_is_terminal=*/true);
  char reply = '?';
  title(s, 4, "Rondixa", 6.8f, kScreen, kKeyboard, reply, 3);
  EXPECT_EQ(reply, '?');
  EXPECT_EQ(screen.str(), kRondixaBox);
  std::string rest;
  std::getline(in, rest);
  EXPECT_EQ(rest, "M") << "the print pass read a reply";
}

}  // namespace
}  // namespace kelp
