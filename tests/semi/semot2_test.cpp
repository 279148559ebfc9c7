// Page 10 of the semisubmersible editor: the screen, the items and their
// menus, the output device with its drive letter, stored values outside
// their tables, and the help.
#include "semi/e/semot2.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "edlib/data_record.hpp"
#include "semi/e/semied.hpp"
#include "sysutl/replies.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::iw;
using testing::kNewValue;
using testing::kReturn;
using testing::kSelect;
using testing::PageCase;
using testing::rw;

void page10(Session& s) { semot2(s, "10"); }

void expect_cases(std::initializer_list<PageCase> cases) {
  for (PageCase c : cases) {
    c.kind = kSemiKind;
    testing::expect_page_case(page10, c);
  }
}

const std::string kHeader = "                  ****  Page 10: More output options  ****\n\n";
const std::string kHelpTitle = "                     ****  Output Definition Notes  ****\n";
const std::string kBlank75(75, ' ');
std::string entry(const std::string& text) { return text + std::string(75 - text.size(), ' '); }

TEST(MoreOutputOptions, ScreenWithEveryItem) {
  const auto t = testing::run_page_case(
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
  expect_cases({
      {"1, 2, 5, 6 and 10 flip their words", "1\n2\n5\n6\n10\n\n", {},
       {iw(kForceRaos, 1), iw(kMotionRaos, 1), iw(kOnlySquareLaw, 1), iw(kPhantomWeightOn, 1), iw(kDebug, 1)}},
      {"3 hidden without spread seas still toggles word 100", "3\n\n", {}, {iw(kOutputSpreadRaos, 1)}, {},
       {"  3) Output"}},
      {"7 hidden: its line again, then the value", "7\n2.5\n\n", {}, {rw(kPhantomWeight, 2.5f)},
       {kSelect + "  7) Phantom weight value ....", "     0.00 kips           \n" + kNewValue}},
      {"7 blank keeps the weight", "7\n\n\n", {rw(kPhantomWeight, 3.0f)}, {rw(kPhantomWeight, 3.0f)}},
      {"10 asks with its labels", "10\n1\n\n", {iw(kBatchFlag, 1)}, {iw(kDebug, 1)},
       {"Enter 1 for \"On\", 0 for \"Off\": "}},
      {"8 is no item", "8\n\n", {}, {iw(kNavCode, 0)}, {}, {}, {{"Page 10", 2}}},
      {"a number above 10 leaves with it", "11\n", {}, {iw(kNavCode, 11)}},
      {"a navigation code leaves", "B\n", {}, {iw(kNavCode, kNavBack)}},
      {"print pass: once, no prompt", "", {iw(kPrintPass, 1)}, {iw(kNavCode, 0)}, {kHeader}, {"Enter number"}},
  });
}

TEST(MoreOutputOptions, SquareLawMenuClampsAndKeeps) {
  const std::string menu = " +++ Square-Law Driving Force Treatment Options +++\n\n"
                           " 1) " + entry("<<Resonant damping ONLY, no square-law driving forces>>") + "\n\n"
                           " 2) " + entry("<<Full square-law driving force calculation at all wave periods>>") + "\n\n"
                           " 3) " + entry("<<Resonant damping PLUS square-law driving forces on fixed vessel>>") +
                           "\n\n" + kSelect;
  expect_cases({
      {"2 stores 1", "4\n2\n\n", {}, {iw(kSquareLawTreatment, 1)}, {kSelect + menu}},
      {"5 is held to the last entry", "4\n5\n\n", {}, {iw(kSquareLawTreatment, 2)}},
      {"a blank reply keeps", "4\n\n\n", {iw(kSquareLawTreatment, 1)}, {iw(kSquareLawTreatment, 1)}},
      {"a navigation code keeps", "4\nB\n\n", {iw(kSquareLawTreatment, 1)}, {iw(kSquareLawTreatment, 1)}},
      {"H: the key list, then the menu again", "4\nH\n\n1\n\n", {iw(kSquareLawTreatment, 2)}, {iw(kSquareLawTreatment, 0)}, {}, {},
       {{"+++ Square-Law", 2}}},
      {"?n shows the menu's note n", "4\n?3\n\n3\n\n", {}, {iw(kSquareLawTreatment, 2)},
       {"\n ++> Item Number  3\n     An approximate treatment", kReturn + menu}},
  });
}

TEST(MoreOutputOptions, StoredTreatmentOutsideTheTableShowsTheEmptyEntry) {
  for (int stored : {3, 4, 5, -1, INT_MIN, INT_MAX}) {
    expect_cases({{"outside", "\n", {iw(kSquareLawTreatment, stored)}, {iw(kSquareLawTreatment, stored)},
                   {"  4) Square-law driving force treatment:\n\n     " + kBlank75 + "\n\n  5)"}}});
  }
}

TEST(MoreOutputOptions, OutputDeviceAndDriveLetter) {
  const std::string menu = " >>> Output Device Selection: <<<\n\n 1) Console\n 2) Disc\n\n" + kSelect;
  const auto disk = [](int drive) { return testing::Words{iw(kOutputDevice, 1), iw(kLoggedDrive, drive)}; };
  expect_cases({
      {"console", "\n", {iw(kOutputDevice, kScreen)}, {}, {"  9) Output goes to Console\n"}},
      {"logged drive", "\n", disk(0), {}, {"  9) Output goes to Disk, on logged drive\n"}},
      {"drive 3 is C", "\n", disk(3), {}, {"  9) Output goes to Disk, on drive C\n"}},
      {"drive 62 is the last character", "\n", disk(62), {}, {"  9) Output goes to Disk, on drive ~\n"}},
      {"above 62 no character: ?", "\n", disk(63), {}, {"  9) Output goes to Disk, on drive ?\n"}},
      {"largest drive: ?", "\n", disk(INT_MAX), {}, {"  9) Output goes to Disk, on drive ?\n"}},
      {"a negative drive names none", "\n", disk(INT_MIN), {}, {" 10) Debug"}, {"  9)"}},
      {"1 chooses the console", "9\n1\n\n", disk(0), {iw(kOutputDevice, kScreen)}, {kSelect + menu}},
      {"2 the disk", "9\n2\n\n", {iw(kOutputDevice, kScreen)}, {iw(kOutputDevice, 1)}},
      {"other replies keep it", "9\n3\n9\nB\n\n", {iw(kOutputDevice, kScreen)}, {iw(kOutputDevice, kScreen)}},
      {"? shows no help, then the menu", "9\n?\n\n2\n\n", {}, {iw(kOutputDevice, 1)},
       {" ++> Sorry, no help for this page...\n", kReturn + menu}},
  });
}

TEST(MoreOutputOptions, Help) {
  expect_cases({
      {"?2 shares the note of 1", "?2\n\n\n", {}, {},
       {kHelpTitle + "\n ++> Item Numbers 1, 2\n     The output of the motion RAOs"}},
      {"a number below 0 too", "?-3\n\n\n", {}, {}, {kHelpTitle + "\n ++> Item Numbers 1, 2\n"}},
      {"?7 shares the note of 6", "?7\n\n\n", {}, {}, {kHelpTitle + "\n ++> Item Numbers 6,7\n     \"Yes\" simulates"}},
      {"?4", "?4\n\n\n", {}, {}, {kHelpTitle + "\n ++> Item Number  4\n     Square-law (drag)"}},
      {"no help", "?8\n\n\n", {}, {}, {kHelpTitle + "\n ++> Sorry, no help for this line...\n\n" + kReturn}},
      {"page help: every note, a second screen from 6", "?\n\n\n\n", {}, {},
       {kHelpTitle + "\n ++> Item Numbers 1, 2\n", "\n ++> Item Number  3\n", "\n ++> Item Number  4\n",
        "\n ++> Item Number  5\n", kReturn + "\n ++> Item Numbers 6,7\n", "\n ++> Item Number 10\n", kReturn + kHeader},
       {}, {{"Press <RETURN>", 2}}},
  });
}

}  // namespace
}  // namespace kelp
