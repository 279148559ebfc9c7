// The low-frequency dynamics selection page (quasck), the extension page
// (extend) and the regular-excitation page (morreg): edits, shown and
// accepted items, the check before leaving, help dispatch and the period
// list held to its room.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edlib/pages/lf_dynamics_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::expect_page_case;
using testing::iw;
using testing::kNewValue;
using testing::kReturn;
using testing::kSelect;
using testing::PageCase;
using testing::rw;
using testing::Words;

constexpr int kSpm = 15;
const std::string kMustBePositive = " >>> User-specified damping must be positive definite.";
const std::string kSorry = " ++> Sorry, no help for this line...";

void page6(Session& s) { quasck(s, "6"); }
void page16(Session& s) { extend(s, "16"); }
void page17(Session& s) { morreg(s, "17"); }

TEST(LowFrequencySelection, ScreenWithSwayUserSpecified) {
  PageCase c{.name = "screen",
             .replies = "\n",
             .preset = {iw(kLowFrequencyOn, 1), iw(kLfSwayDampingMode, 1), rw(kLfSwayDamping, 5.0f)},
             .kind = kSpm};
  c.screen = std::string("            ****  Page 6: Low-frequency dynamics selection  ****\n"
                         "\n"
                         "\n"
                         "  1) Calculate low-frequency dynamics: ............. Yes\n"
                         "\n"
                         "  2) Low-frequency surge damping is ................  Computed      \n"
                         "  4) Low-frequency sway  damping is ................  User-specified\n"
                         "  5) Sway damping (percent of critical) ............      5.00\n"
                         "  6) Low-frequency  yaw  damping is ................  Computed      \n") +
             kSelect;
  expect_page_case(page6, c);
}

TEST(LowFrequencySelection, EditsAndTheCheckBeforeLeaving) {
  const Words on = {iw(kLowFrequencyOn, 1)};
  const Words sway_zero = {iw(kLowFrequencyOn, 1), iw(kLfSwayDampingMode, 1), rw(kLfSwayDamping, 0.0f)};
  const std::vector<PageCase> cases = {
      {.name = "off: only item 1, left without the check",
       .replies = "\n",
       .preset = {iw(kLowFrequencyOn, 0), iw(kLfSwayDampingMode, 1)},
       .expect = {iw(kNavCode, 0)},
       .never = {"damping", kMustBePositive},
       .kind = kSpm},
      {.name = "sway specified at 0.0 keeps the user; back to computed leaves",
       .replies = "\n\n4\n\n",
       .preset = sway_zero,
       .expect = {iw(kLfSwayDampingMode, 0), iw(kNavCode, 0)},
       .counts = {{kMustBePositive, 1}},
       .kind = kSpm},
      {.name = "a navigation command is checked too",
       .replies = "L\n\n4\nL\n",
       .preset = sway_zero,
       .expect = {iw(kNavCode, kNavLast)},
       .counts = {{kMustBePositive, 1}},
       .kind = kSpm},
      {.name = "item 3 while surge is computed does nothing",
       .replies = "3\n\n",
       .preset = on,
       .never = {kNewValue},
       .kind = kSpm},
      {.name = "item 2 answered 1 asks for the surge value at once",
       .replies = "2\n1\n7.5\n\n",
       .preset = {iw(kLowFrequencyOn, 1), iw(kBatchFlag, 1)},
       .expect = {iw(kLfSurgeDampingMode, 1), rw(kLfSurgeDamping, 7.5f)},
       .shows = {"Enter 1 for \"Specified\", 0 for \"Computed\": ",
                 "  3) Surge damping (percent of critical) ...........      0.00\n" + kNewValue},
       .kind = kSpm},
      {.name = "item 6 while the dynamics are off still edits word 1912",
       .replies = "6\n2.5\n\n",
       .preset = {iw(kLowFrequencyOn, 0)},
       .expect = {iw(kLfYawDampingMode, 1), rw(kLfYawDamping, 2.5f), iw(kLowFrequencyOn, 0)},
       .kind = kSpm},
      {.name = "items 8 to 11 switch the dynamics like item 1",
       .replies = "9\n\n",
       .preset = on,
       .expect = {iw(kLowFrequencyOn, 0)},
       .kind = kSpm},
      {.name = "a number above 11 only redraws",
       .replies = "12\n\n",
       .preset = on,
       .expect = {iw(kLowFrequencyOn, 1)},
       .counts = {{"Page 6:", 2}},
       .kind = kSpm},
  };
  for (const PageCase& c : cases) expect_page_case(page6, c);
}

TEST(LowFrequencySelection, Help) {
  const std::vector<PageCase> cases = {
      {.name = "?12: Sorry", .replies = "?12\n\n\n", .shows = {" ++> Item Number  12\n", kSorry}, .kind = kSpm},
      {.name = "?4: the damping note",
       .replies = "?4\n\n\n",
       .shows = {"Low-Frequency Dynamics Notes", " ++> Item Number   4\n", "percent of critical"},
       .kind = kSpm},
      {.name = "?: both notes",
       .replies = "?\n\n\n",
       .shows = {" ++> Item Number  1\n", "static results", " ++> Item Numbers 2+\n", "linear damping"},
       .counts = {{kReturn, 1}},
       .kind = kSpm},
  };
  for (const PageCase& c : cases) expect_page_case(page6, c);
}

TEST(ExtensionPage, SwitchLeaveAndHelp) {
  const std::vector<PageCase> cases = {
      {.name = "2 leaves with code 2", .replies = "2\n", .expect = {iw(kNavCode, 2)}, .counts = {{"Page 16", 1}}, .kind = kSpm},
      {.name = "1 switches to the extension",
       .replies = "1\n\n",
       .expect = {iw(kExtensionOn, 1)},
       .shows = {" 1) Regular wave characteristics follow\n", " 1) Line extension characteristics follow\n"},
       .kind = kSpm},
      {.name = "asked in yes/no mode",
       .replies = "1\n1\n\n",
       .preset = {iw(kBatchFlag, 1)},
       .expect = {iw(kExtensionOn, 1)},
       .shows = {"Enter 1 for \"Extension\", 0 for \"Wave\": "},
       .kind = kSpm},
      {.name = "the SALM kind names its extension",
       .replies = "\n",
       .preset = {iw(kExtensionOn, 1)},
       .shows = {"  ****  Page 16: Salm Extension / Regular wave characteristics  ****\n\n\n"
                 " 1) Salm extension characteristics follow\n"},
       .kind = 11},
      {.name = "?2: Sorry without a wait",
       .replies = "?2\n\n",
       .shows = {"****  Line Extension Help  ****\n\n" + kSorry + "\n\n"},
       .counts = {{kReturn, 0}},
       .kind = kSpm},
      {.name = "?1: the toggle note, then two more screens",
       .replies = "?1\n\n\n\n\n",
       .shows = {" ++> Item Number  1\n", "Extension Help (continued)", "vessel", "regular waves"},
       .counts = {{kReturn, 3}},
       .kind = kSpm},
      {.name = "the tugboat kind", .replies = "?\n\n\n\n\n", .shows = {"tugboat"}, .kind = 10},
  };
  for (const PageCase& c : cases) expect_page_case(page16, c);
}

Words thirty_periods() {
  Words w = {iw(kWaveFrequencies, 30)};
  for (int k = 0; k < 30; ++k) w.push_back(rw(kPeriods + static_cast<std::size_t>(k), 4.0f + static_cast<float>(k)));
  return w;
}

TEST(RegularExcitationPage, Screen) {
  PageCase c{.name = "waves, 30 periods", .replies = "\n", .preset = thirty_periods(), .kind = kSpm};
  c.preset.push_back(rw(kRegularHeight, 2.0f));
  c.preset.push_back(rw(kRegularHeadings, 180.0f));
  c.screen = std::string("             ****  Page 17: Regular Wave Characteristics  ****\n"
                         "\n"
                         "\n"
                         " 1) Number of different periods (Max 100):  30\n"
                         " 2) Periods (seconds) --\n"
                         "          4.00         5.00         6.00         7.00         8.00         9.00\n"
                         "         10.00        11.00        12.00        13.00        14.00        15.00\n"
                         "         16.00        17.00        18.00        19.00        20.00        21.00\n"
                         "         22.00        23.00        24.00        25.00        26.00        27.00\n"
                         "         28.00        29.00        30.00        31.00        32.00        33.00\n"
                         "\n"
                         " 3) Use constant wave height or wave slope:  height\n"
                         " 4) Wave height .............................       2.00 feet           \n"
                         "\n"
                         " 6) Wave heading ............................     180.00 degrees\n") +
             kSelect;
  expect_page_case(page17, c);
}

TEST(RegularExcitationPage, Edits) {
  const std::vector<PageCase> cases = {
      {.name = "the extension retitles the page and goes back to height",
       .replies = "\n",
       .preset = {iw(kExtensionOn, 1), iw(kConstantSlope, 1)},
       .expect = {iw(kConstantSlope, 0)},
       .shows = {"            ****  Page 17: Line Extension Characteristics  ****\n",
                 " 4) Line extension amplitude:       0.00 meters         \n"},
       .never = {" 3) ", " 6) "},
       .kind = kSpm,
       .units = kUnitsMetric},
      {.name = "slope in degrees", .replies = "\n", .preset = {iw(kConstantSlope, 1)},
       .shows = {" 3) Use constant wave height or wave slope:  slope \n", " 4) Wave slope  ......", " degrees"},
       .kind = kSpm},
      {.name = "heading hidden with irregular seas", .replies = "6\n\n", .preset = {iw(kIrregularOn, 1)},
       .never = {" 6) ", kNewValue}, .kind = kSpm},
      {.name = "150 periods typed store 100", .replies = "1\n150\n\n", .expect = {iw(kWaveFrequencies, 100)},
       .shows = {" 1) Number of different periods (Max 100):   0\n" + kNewValue}, .kind = kSpm},
      {.name = "a negative count stores 0", .replies = "1\n-5\n\n", .preset = {iw(kWaveFrequencies, 3)},
       .expect = {iw(kWaveFrequencies, 0)}, .kind = kSpm},
      {.name = "no periods: item 2 still opens the list", .replies = "2\n\n\n",
       .shows = {"-- Table of periods (seconds) --"}, .never = {" 2) Periods"}, .kind = kSpm},
      {.name = "3 switches to slope", .replies = "3\n\n", .expect = {iw(kConstantSlope, 1)}, .kind = kSpm},
      {.name = "4 edits the amplitude", .replies = "4\n3.5\n\n", .expect = {rw(kRegularHeight, 3.5f)},
       .shows = {" 4) Wave height ..", kNewValue}, .kind = kSpm},
      {.name = "7 leaves", .replies = "7\n", .expect = {iw(kNavCode, 7)}, .kind = kSpm},
      {.name = "?3: the height note with the extension note",
       .replies = "?3\n\n\n",
       .shows = {"Regular Wave Definition Notes", " ++> Item Number   3\n", "mooring extension"},
       .kind = kSpm},
      {.name = "?5: Sorry", .replies = "?5\n\n\n", .shows = {kSorry}, .kind = kSpm},
  };
  for (const PageCase& c : cases) expect_page_case(page17, c);
}

// A stored count above the list's room: item 1 shows it, the page lists 100
// periods, and the list editor works on those 100 only, never on the words
// after the periods (heading 417, depth 445, amplitude 447, hours 449, wind).
TEST(RegularExcitationPage, StoredCountAboveTheRoomStaysInTheList) {
  PageCase c{.name = "count 150", .replies = "2\n7\n5\n\n\n\n", .kind = kSpm};
  c.preset = {iw(kWaveFrequencies, 150)};
  for (std::size_t w = 417; w <= 466; ++w) c.preset.push_back(rw(w, 99.0f));
  c.expect = {iw(kWaveFrequencies, 150), rw(kPeriods + 6, 5.0f)};
  for (std::size_t w = 417; w <= 466; ++w) c.expect.push_back(rw(w, 99.0f));
  c.shows = {" 1) Number of different periods (Max 100): 150\n"};
  const auto t = testing::run_page_case(page17, c);
  expect_page_case(page17, c);
  // 100 periods in 17 lines of six or fewer on the page itself.
  const std::string screen = t->shown();
  const auto list = screen.find(" 2) Periods (seconds) --\n");
  ASSERT_NE(list, std::string::npos);
  EXPECT_EQ(testing::count_of(screen.substr(list, screen.find(" 3) ") - list), "\n"), 1 + 17 + 1);
}

}  // namespace
}  // namespace kelp
