#include "kelpkit/report_lines.hpp"

#include <gtest/gtest.h>

#include <string>

#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

// A unit-label function in the manner of unitp: 16 characters.
std::string test_unit(int code) {
  if (code == 7) return " feet           ";
  if (code == 8) return " meters         ";
  return " Index error    ";
}

TEST(Lines, WritesNEmptyLines) {
  ScriptedSession t;
  lines(t.s, kScreen, 0);
  lines(t.s, kScreen, -2);
  EXPECT_EQ(t.shown(), "");
  lines(t.s, kScreen, 3);
  EXPECT_EQ(t.shown(), "\n\n\n");
}

TEST(Onelin, LayoutTwentyCharacterLabel) {
  ScriptedSession t;
  const std::string label = "Water depth at site " + std::string(20, ' ');  // 40 characters
  onelin(t.s, label, 20, 123.456f, test_unit, 7, kScreen);
  // 10 blanks, 20 label characters, a blank, 17 dots, F10.2, a blank, 16 unit characters.
  EXPECT_EQ(t.shown(), "          Water depth at site  .................    123.46  feet           \n");
}

TEST(Onelin, ValueColumnIsFixedWhateverTheLabelLength) {
  ScriptedSession t;
  const std::string label36 = "Longest label of thirty-six chars xx";
  ASSERT_EQ(label36.size(), 36u);
  onelin(t.s, label36 + "    ", 36, -0.004f, test_unit, 8, kScreen);
  onelin(t.s, "Mass", 4, 1.0e9f, test_unit, 99, kScreen);
  EXPECT_EQ(t.shown(),
            "          Longest label of thirty-six chars xx .     -0.00  meters         \n"
            "          Mass .................................**********  Index error    \n");
}

TEST(Capun, UnitWords) {
  const char* words[] = {"FEET    ", "METERS  ", "FT      ", "M.      ", "K.LBS   ", "M.TONS  ",
                         "LBS     ", "KGW     ", "FT      ", "DEG     ", "SLOPE   ", "HEIGHT  "};
  for (int k = 0; k < 12; ++k) EXPECT_EQ(capun(k), words[k]) << k;
  EXPECT_EQ(capun(8), capun(2));
  EXPECT_EQ(capun(12), "ERROR ! ");
  EXPECT_EQ(capun(-1), "ERROR ! ");
}

TEST(VersionString, SignDecidesTheLastCharacter) {
  EXPECT_EQ(version_string(6.8f), "Version: 6.80.00 ");
  EXPECT_EQ(version_string(-6.8f), "Version: 6.80.00b");
  EXPECT_EQ(version_string(0.0f), "Version: 0.00.00b");
  EXPECT_EQ(version_string(6.8f).size(), 17u);
}

TEST(Inbug, PromptsAndReads) {
  ScriptedSession t("\n3\n");
  int nbug = 5;
  inbug(t.s, nbug, kScreen, kKeyboard);
  EXPECT_EQ(nbug, 0);
  inbug(t.s, nbug, kScreen, kKeyboard);
  EXPECT_EQ(nbug, 3);
  EXPECT_EQ(t.shown(), " Input NBUG:  Input NBUG: ");
  EXPECT_THROW(inbug(t.s, nbug, kScreen, kKeyboard), ProgramStop);
}

}  // namespace
}  // namespace kelp
