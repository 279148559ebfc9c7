// Pages 17 and 18 of the single-anchor-leg editor, the output options: the
// screens, which items each state shows, the items edited while hidden, and
// the drive letter of the output device.
#include "salm/e/slmout.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

#include "edlib/pagekit/output_menus.hpp"
#include "edlib/record/data_record.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using namespace testing;

void page17(Session& s) { slmout(s, "17"); }
void page18(Session& s) { slmot2(s, "18"); }

// Static data, low- and wave-frequency dynamics, irregular seas and current.
const Words kAllOn = {iw(kSalmOption1995, 1), iw(kLowFrequencyOn, 1), iw(kWaveFrequencyOn, 1),
                               iw(kIrregularOn, 1), iw(kCurrentOn, 1)};

TEST(SalmOutputOptions, Screens) {
  expect_page_case(
      page17, {.name = "page 17, every item shown",
               .replies = "\n",
               .preset = kAllOn + Words{rw(kStormDuration, 3.0f), iw(kMemberFixedLoads, 1),
                                                 iw(kJointPositionRaos, 1)},
               .kind = 11,
               .screen = "                   ****  Page 17: Output options 1 ****\n"
                         "\n\n\n"
                         "  1) Output static offset and Salm mass data ............   Yes\n"
                         "  2) Output static load interpolation table .............   No \n"
                         "  3) Output static loads at prescribed offsets ..........   No \n"
                         "\n"
                         "  4) Output low-frequency motions/loads data ............   No \n"
                         "\n"
                         "  5) Simulate wave-frequency dynamics ...................   Yes\n"
                         "\n"
                         "  6) Output position RAOs at free joints ................   Yes\n"
                         "  7) Output Angle RAOs for articulated members ..........   No \n"
                         "  8) Output net load variation RAOs at free joints ......   No \n"
                         "12) Use <<Member-fixed>> Coordinates for load decomposition\n"
                         "\n"
                         "++> Begin Version 5.x Flags\n"
                         "\n"
                         " 33) Use \"Legacy\" current-wave drift force interaction mo   No \n"
                         " 34) Use \"Legacy\" peak low-frequency motion and loads mod   No \n"
                         " 35) Exclude wave absorption damping and excitation .....   No \n"
                         " 37) Force Gaussian peak factors for low-frequency motion   No \n"
                         "\n"
                         "++> End Version 5.x Flags\n"
                         "\n"
                         " 51) Storm duration (hours) for peak motion/load statisti  3.00\n"
                         " \n"
                         " Enter number of selection (\"H\" for help): "});
  expect_page_case(
      page18, {.name = "page 18, disk output on drive 4",
               .replies = "\n",
               .preset = {iw(kLowFrequencyOn, 1), iw(kWaveFrequencyOn, 1), iw(kSpreadingOn, 1),
                          iw(kAnyRaoOutput, 1), iw(kOutputDevice, 1), iw(kLoggedDrive, 4), iw(kOneSigma, 1),
                          iw(kDebug, 1)},
               .kind = 11,
               .screen = "                   ****  Page 18: Output options 2 ****\n"
                         "\n\n"
                         " 1) Use <<one>> standard deviation (sigma) statistical output values\n"
                         "  2) Utilize simplified member drag model ...............   No \n"
                         "  3) Output RAOs for principal wave directions ..........   Yes\n"
                         "  4) Output RAOs at all intermediate angles (spread sea c   No \n"
                         "  5) Substitute spectral densities for RAO output .......   No \n"
                         "  7) Output vessel motions summary ......................   Yes\n"
                         "  9) User-supplied vessel wave-frequency RAO data .......   No \n"
                         "\n"
                         " 11) Create plotter file ................................   No \n"
                         "\n"
                         "12) Debug option is on\n"
                         " 13) Output goes to Disk, on drive D\n"
                         " \n"
                         " Enter number of selection (\"H\" for help): "});
}

// The item numbers on a screen, in order.
std::vector<int> items_of(const std::string& screen) {
  std::vector<int> items;
  std::istringstream lines(screen);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream in(line);
    int n = 0;
    char paren = 0;
    if (in >> n >> paren && paren == ')') items.push_back(n);
  }
  return items;
}

TEST(SalmOutputOptions, ItemsShownByState) {
  struct Case {
    const char* name;
    PageFn page;
    Words preset;
    std::vector<int> shown;
  };
  const Words kRaos = {iw(kWaveFrequencyOn, 1), iw(kSpreadingOn, 1), iw(kAnyRaoOutput, 1)};
  const Words free_salm = {iw(kSalmOption1995, 1), iw(kNoQuasiStatics, 1), iw(kWaveFrequencyOn, 1)};
  const std::vector<Case> cases = {
      {"17: nothing on", page17, {}, {1, 4, 5, 12, 37, 51}},
      {"17: static data only", page17, {iw(kSalmOption1995, 1)}, {1, 2, 3, 12, 37, 51}},
      {"17: low frequency", page17, {iw(kSalmOption1995, 1), iw(kLowFrequencyOn, 1)}, {1, 2, 3, 4, 5, 12, 37, 51}},
      {"17: free SALM, wave frequency", page17, free_salm, {1, 2, 3, 5, 6, 7, 8, 12, 37, 51}},
      {"17: swell without current", page17, {iw(kSwellOn, 1)}, {1, 4, 5, 12, 34, 35, 37, 51}},
      {"17: swell code 2 is no swell", page17, {iw(kSwellOn, 2), iw(kCurrentOn, 1)}, {1, 4, 5, 12, 37, 51}},
      {"17: everything", page17, kAllOn, {1, 2, 3, 4, 5, 6, 7, 8, 12, 33, 34, 35, 37, 51}},
      {"18: nothing on", page18, {}, {11, 12, 13}},
      {"18: low frequency", page18, {iw(kLowFrequencyOn, 1)}, {1, 11, 12, 13}},
      {"18: wave frequency", page18, {iw(kLowFrequencyOn, 1), iw(kWaveFrequencyOn, 1)}, {1, 2, 3, 7, 9, 11, 12, 13}},
      {"18: RAOs in spread seas", page18, kRaos + Words{iw(kLowFrequencyOn, 1)},
       {1, 2, 3, 4, 5, 7, 9, 11, 12, 13}},
      {"18: free SALM", page18, kRaos + Words{iw(kNoQuasiStatics, 1)}, {1, 2, 3, 5, 11, 12, 13}},
      {"18: device other than console or disk", page18, {iw(kOutputDevice, 99)}, {11, 12}},
      {"18: print pass", page18, {iw(kPrintPass, 1)}, {11, 12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Words preset = Words{iw(kOutputDevice, kScreen)} + c.preset;
    const auto t = run_page_case(c.page, {.name = c.name, .replies = "\n", .preset = preset, .kind = 11});
    EXPECT_EQ(items_of(t->shown()), c.shown);
  }
}

TEST(SalmOutputOptions, EditsWhetherShownOrNot) {
  const std::vector<std::pair<PageFn, PageCase>> cases = {
      {page17, {.name = "17: hidden items toggle; 33 only with current", .replies = "2\n3\n6\n7\n8\n33\n34\n35\n\n",
                .expect = {iw(kSalmOption2469, 1), iw(kSalmOption2001, 1), iw(kJointPositionRaos, 1),
                           iw(kArticulationAngleRaos, 1), iw(kSalmOption1993, 1), iw(kLoadVariationCopy, 1),
                           iw(kLegacyCurrentDrift, 0), iw(kLegacyPeakModel, 1), iw(kExcludeWaveAbsorption, 1)}}},
      {page17, {.name = "17: legacy drift with current, no waves", .replies = "33\n\n", .preset = {iw(kCurrentOn, 1)},
                .expect = {iw(kLegacyCurrentDrift, 1)}}},
      {page17, {.name = "17: frame, storm, gaps and leaving", .replies = "12\n51\n6.5\n40\n52\n",
                .expect = {iw(kMemberFixedLoads, 1), rw(kStormDuration, 6.5f), iw(kNavCode, 52)},
                .counts = {{"Page 17", 4}}}},
      {page18, {.name = "18: hidden items toggle, 7 inverted", .replies = "1\n2\n3\n4\n5\n7\n9\n11\n12\n\n",
                .preset = {iw(kNoMotionsSummary, 1)},
                .expect = {iw(kOneSigma, 1), iw(kSimplifiedMemberDrag, 1), iw(kAnyRaoOutput, 1),
                           iw(kOutputSpreadRaos, 1), iw(kSpectralRaoOutput, 1), iw(kNoMotionsSummary, 0),
                           iw(kUserRaos, 1), iw(kPlotterFile, 1), iw(kDebug, 1)}}},
      {page18, {.name = "18: device menu, no help there; gaps; leaving", .replies = "13\n?\n\n2\n6\n14\n",
                .expect = {iw(kOutputDevice, 1), iw(kNavCode, 14)},
                .shows = {"\n\n\n 1) Console\n 2) Disc\n", "Sorry, no help for this page", " 13) Output goes to Disk"},
                .counts = {{"Page 18", 3}}}},
      {page18, {.name = "18: console again", .replies = "13\n1\n\n", .preset = {iw(kOutputDevice, 1)},
                .expect = {iw(kOutputDevice, kScreen)}}},
  };
  for (auto [page, c] : cases) {
    c.kind = 11;
    expect_page_case(page, c);
  }
}

TEST(SalmOutputOptions, DriveLetterIsPrintableOrAQuestionMark) {
  const std::vector<std::pair<int, std::string>> cases = {
      {1, "A"}, {4, "D"}, {26, "Z"}, {62, "~"}, {63, "?"}, {0, "?"}, {-1, "?"}, {INT_MAX, "?"}, {INT_MIN, "?"}};
  for (const auto& [drive, letter] : cases) EXPECT_EQ(drive_letter(drive), letter) << drive;
  expect_page_case(page18, {.name = "drive 63 on the page", .replies = "\n",
                                     .preset = {iw(kOutputDevice, 1), iw(kLoggedDrive, 63)},
                                     .shows = {" 13) Output goes to Disk, on drive ?\n"}, .kind = 11});
}

}  // namespace
}  // namespace kelp
