// Page 10 of the semisubmersible editor: the screen, the items and their
// menus, the output device with its drive letter, stored values outside
// their tables, and the help.
#include "semi/e/semot2.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "edlib/record/data_record.hpp"
#include "semi/e/semied.hpp"
#include "sysutl/replies.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using namespace testing;

void page10(Session& s) { semot2(s, "10"); }

void expect_cases(std::initializer_list<PageCase> cases) {
  for (PageCase c : cases) {
    c.kind = kSemiKind;
    expect_page_case(page10, c);
  }
}

const std::string kHeader = "                  ****  Page 10: More output options  ****\n\n";
const std::string kHelpTitle = "                     ****  Output Definition Notes  ****\n";
std::string entry(const std::string& text) { return text + std::string(75 - text.size(), ' '); }

TEST(MoreOutputOptions, ScreenWithEveryItem) {
  const auto t = run_page_case(
      page10, {.name = "all",
               .replies = "\n",
               .preset = {iw(kSpreadingOn, 1), iw(kForceRaos, 1), iw(kPhantomWeightOn, 1), rw(kPhantomWeight, 12.5f),
                          iw(kSquareLawTreatment, 1), iw(kOutputDevice, 1), iw(kLoggedDrive, 3), iw(kDebug, 1)},
               .kind = kSemiKind});
  EXPECT_EQ(t->shown(),
            kHeader +
                "  1) Output force/torque RAOs ...........................   Yes\n"
                "  2) Output motion RAOs .................................   No \n"
                "  3) Output RAOs for all spread sea angles ..............   No \n"
                "\n"
                "  4) Square-law driving force treatment:\n"
                "\n"
                "     " + entry("<<Full square-law driving force calculation at all wave periods>>") + "\n"
                "\n"
                "  5) Utilize ONLY square law driving forces .............   No \n"
                "  6) Simulate TLP mooring (\"phantom weight\") ............   Yes\n"
                "  7) Phantom weight value ...............................    12.50 kips           \n"
                "\n"
                "  9) Output goes to Disk, on drive C\n"
                " 10) Debug option is on\n" +
                kSelect);
}

TEST(MoreOutputOptions, SelectionsEditTheirWords) {
  const std::string menu = " +++ Square-Law Driving Force Treatment Options +++\n\n 1) <<Resonant damping ONLY";
  const auto disk = [](int drive) { return Words{iw(kOutputDevice, 1), iw(kLoggedDrive, drive)}; };
  expect_cases({
      {"1, 2, 5, 6 and 10 flip their words", "1\n2\n5\n6\n10\n\n", {},
       {iw(kForceRaos, 1), iw(kMotionRaos, 1), iw(kOnlySquareLaw, 1), iw(kPhantomWeightOn, 1), iw(kDebug, 1)}},
      {"3 hidden without spread seas still toggles word 100", "3\n\n", {}, {iw(kOutputSpreadRaos, 1)}, {},
       {"  3) Output"}},
      {"7 hidden: its line again, then the value", "7\n2.5\n\n", {}, {rw(kPhantomWeight, 2.5f)},
       {kSelect + "  7) Phantom weight value ....", "     0.00 kips           \n" + kNewValue}},
      {"a number above 10 leaves with it", "11\n", {}, {iw(kNavCode, 11)}},
      {"print pass: once, no prompt", "", {iw(kPrintPass, 1)}, {iw(kNavCode, 0)}, {kHeader}, {"Enter number"}},
      {"square law: 5 is held to the last entry", "4\n5\n\n", {}, {iw(kSquareLawTreatment, 2)}, {kSelect + menu}},
      {"square law: blank keeps, H and ?n show the menu again", "4\nH\n\n?3\n\n\n\n",
       {iw(kSquareLawTreatment, 1)}, {iw(kSquareLawTreatment, 1)},
       {"\n ++> Item Number  3\n     An approximate treatment", kReturn + menu}, {}, {{menu, 3}}},
      {"device: 1 the console", "9\n1\n\n", disk(0), {iw(kOutputDevice, kScreen)},
       {"on logged drive\n", kSelect + " >>> Output Device Selection: <<<\n\n 1) Console\n 2) Disc\n\n" + kSelect,
        "  9) Output goes to Console\n"}},
      {"device: ? shows no help, 2 the disk, others keep", "9\n?\n\n2\n9\n3\n\n", {}, {iw(kOutputDevice, 1)},
       {" ++> Sorry, no help for this page...\n", kReturn + " >>> Output Device Selection"}},
      {"drive above 62: no character, ?", "\n", disk(63), {}, {"  9) Output goes to Disk, on drive ?\n"}},
      {"largest drive: ?", "\n", disk(INT_MAX), {}, {"  9) Output goes to Disk, on drive ?\n"}},
      {"a negative drive names none", "\n", disk(INT_MIN), {}, {" 10) Debug"}, {"  9)"}},
      {"a treatment outside 0 to 4 shows the empty entry, kept", "\n", {iw(kSquareLawTreatment, 5)},
       {iw(kSquareLawTreatment, 5)}, {"treatment:\n\n     " + std::string(75, ' ') + "\n\n  5)"}},
      {"a negative treatment too", "\n", {iw(kSquareLawTreatment, INT_MIN)}, {iw(kSquareLawTreatment, INT_MIN)},
       {"treatment:\n\n     " + std::string(75, ' ') + "\n\n  5)"}},
  });
}

TEST(MoreOutputOptions, Help) {
  expect_cases({
      {"?2 and a number below 0 share the note of 1", "?2\n\n?-3\n\n\n", {}, {},
       {kHelpTitle + "\n ++> Item Numbers 1, 2\n     The output of the motion RAOs", "\n ++> Item Numbers 1, 2\n"}},
      {"?7 shares the note of 6", "?7\n\n\n", {}, {}, {kHelpTitle + "\n ++> Item Numbers 6,7\n     \"Yes\" simulates"}},
      {"no help", "?8\n\n\n", {}, {}, {kHelpTitle + "\n ++> Sorry, no help for this line...\n\n" + kReturn}},
      {"page help: every note, a second screen from 6", "?\n\n\n\n", {}, {},
       {kHelpTitle + "\n ++> Item Numbers 1, 2\n", "\n ++> Item Number  3\n", "\n ++> Item Number  4\n",
        "\n ++> Item Number  5\n", kReturn + "\n ++> Item Numbers 6,7\n", "\n ++> Item Number 10\n", kReturn + kHeader},
       {}, {{"Press <RETURN>", 2}}},
  });
}

}  // namespace
}  // namespace kelp
