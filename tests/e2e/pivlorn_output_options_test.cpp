// Pages 20 and 21 in the built editor, on a new single-point-mooring record
// (kind 15): each page as shown with low-frequency dynamics (word 1919) off
// and on, and every item selected in turn, the saved file showing which
// selections were taken and which refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "e2e/e2e_util.hpp"
#include "edlib/record/data_record.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;

using Words = std::vector<std::pair<std::size_t, std::int32_t>>;

class PivlornOutputOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(program_path("pivlorn"))) FAIL() << "pivlorn is not built: " << program_path("pivlorn");
    const RunResult r = run({"C", "L", "1"});
    ASSERT_EQ(r.status, 0) << r.screen;
    fresh_ = data();
    write_file(dir_ / "LOWDAT", encode_record(std::vector<std::int32_t>(680, 0)));
  }
  RunResult run(const std::vector<std::string>& replies) { return e2e::run(dir_, "pivlorn", script(replies)); }
  // The new record with the words given set, as the data file.
  void plant(const Words& words) {
    std::string d = fresh_;
    for (const auto& [n, v] : words) d.replace(4 + 4 * n, 4, be32(static_cast<std::uint32_t>(v)));
    write_file(dir_ / "PIVADAT", d);
  }
  std::string data() { return slurp(dir_ / "PIVADAT"); }

  TempDir dir_;
  std::string fresh_;
};

const std::string kSelect = " \n Enter number of selection (\"H\" for help): ";

// The first drawing of the page whose header holds `header`: from the header
// (the screen clear writes nothing here, so it follows the last prompt on
// its line) to the end of the selection prompt after it.
std::string page_shown(const std::string& screen, const std::string& header) {
  const std::size_t at = screen.find(header);
  if (at == std::string::npos) return "(not shown: " + header + ")";
  std::size_t start = screen.rfind('\n', at) + 1;
  const std::string prompt = kSelect.substr(2);
  if (screen.compare(start, prompt.size(), prompt) == 0) start += prompt.size();
  const std::size_t end = screen.find(kSelect, at);
  return screen.substr(start, end == std::string::npos ? std::string::npos : end + kSelect.size() - start);
}

// The header, from column 20, and the empty line after it.
std::string header(int page, int options) {
  return std::string(19, ' ') + " ****  Page " + std::to_string(page) + ": Output options " +
         std::to_string(options) + " ****\n\n";
}

// A line of page 20: a blank, the number in two places, ") ", the label, a
// blank, dots up to column 70, then the value ("Yes"/"No " after 3 blanks,
// or a real in F6.2).
std::string item20(int n, std::string_view label, std::string_view value) {
  std::string line = (n < 10 ? "  " : " ") + std::to_string(n) + ") " + std::string(label) + " ";
  line += std::string(70 - line.size(), '.');
  return line + std::string(value) + "\n";
}
std::string yes20(int n, std::string_view label) { return item20(n, label, "   Yes"); }
std::string no20(int n, std::string_view label) { return item20(n, label, "   No "); }

// Page 21 texts of the menus, blank-padded to 75 and indented 5.
std::string entry21(std::string_view text) {
  return "\n     " + std::string(text) + std::string(75 - text.size(), ' ') + "\n\n";
}

struct ScreenCase {
  const char* name;
  Words words;
  std::string page20;
  std::string page21;
};

TEST_F(PivlornOutputOptions, PagesAsShownWithLowFrequencyDynamicsOffAndOn) {
  const ScreenCase cases[] = {
      {"off: items 1, 2 and 4; on page 21 debug and device",
       {{kLowFrequencyOn, 0}},
       header(20, 1) + yes20(1, "Output static offset data") +
           no20(2, "Output element endpoint & angle interpolation tables") +
           yes20(4, "Output mean orientation & line loads data") + kSelect,
       header(21, 2) + "\n12) Debug option is off\n 13) Output goes to Disk, on logged drive\n" + kSelect},
      {"on, with every switch that kind 15 can show",
       {{kLowFrequencyOn, 1}, {kEndpointLoads, 1}, {kEndpointAxes, 1}, {kFairleadRaos, 1}, {kInertiaCorrection, 1},
        {kInertiaExclusion, 1}, {kInertiaExclusionBits, 1}, {kExtensionOn, 1}, {kIrregularOn, 1}, {kCurrentOn, 1},
        {kDriftSelector, 0x117}, {kUnitSystem, 1}, {kTabSummary, 1}, {kSpreadingOn, 1}, {kMemberModel, 1},
        {kOneSigma, 1}, {kPeakLoadAlgorithm, 2}, {kSquareLawTreatment, 1}, {kReportAtCg, 1}, {kAngularRaoUnits, 1},
        {kOutputDevice, 6}},
       header(20, 1) + yes20(1, "Output static offset data") +
           no20(2, "Output element endpoint & angle interpolation tables") +
           yes20(4, "Output mean orientation & line loads data") +
           yes20(5, "Output low-frequency motions/loads data") + yes20(6, "Simulate wave-frequency dynamics") +
           yes20(7, "Output line loads and motions at element endpoints") +
           "  8) Report endpoint motion parallel & perpendicular to line tangent\n" +
           no20(9, "Output \"chain hinge\" relative motion at fairlead") + "\n" +
           yes20(16, "Output wave-frequency fairlead motions and line load RAOs") +
           no20(17, "Output static/dynamic line load RAO comparisons at fairlead ") +
           no20(18, "Output wave-frequency line load RAOs at anchor") +
           no20(19, "Analyze wave-frequency motion/loads at specified LF offset") + "\n" +
           no20(20, "Use large-amplitude nonlinear model for w.f. loads") +
           yes20(21, "Apply inertial correction to wave-frequency catenary loads") +
           " 22) Total number of lines EXCLUDED from correction:  1\n"
           " 23) Line numbers selected for exclusion:\n"
           "      1,\n\n" +
           no20(25, "Use constant tension surface for wave-frequency loads") +
           no20(26, "Use Tethran-style 3-DOF equilibrium search") +
           no20(27, "Produce *only* wave-frequency line load RAOs") +
           no20(28, "Search for alternate equilibrium position") + no20(29, "Lock the turret to the hull") +
           "\n++> Begin Version 5.x Flags\n\n" +
           no20(30, "Estimate current loads on mooring lines and risers") +
           no20(31, "Eliminate individual line load reports in SNAPOUT") +
           no20(32, "Use elliptical bounding box for snapshot coordinates") +
           no20(33, "Use \"Legacy\" current-wave drift force interaction model") +
           no20(34, "Use \"Legacy\" peak low-frequency motion and loads model") +
           no20(35, "Exclude wave absorption damping and excitation") +
           no20(36, "Use \"Legacy\" surge/sway normal mode processing") +
           no20(37, "Force Gaussian peak factors for low-frequency motions") +
           no20(38, "Expanded frequency grid for cross-correlation integration") +
           yes20(40, "Prepare tab-delimited output summary file (XCLDAT.stxt)") +
           no20(41, "Use basin load units (kiloNewtons) for XCLDAT.stxt file") +
           "\n++> End Version 5.x Flags\n\n\n" +
           item20(51, "Storm duration (hours) for peak motion/load statistics", "  1.00") +
           no20(52, "Estimate peak variability across an ensemble of storms") +
           "\n 55) Apply clockwise rotation to Global Coordinate System\n" + kSelect,
       header(21, 2) + " 1) Use <<one>> sigma values for statistical estimates\n" +
           " 2) Use spectral estimates for line load WF standard deviations? No \n" +
           " 3) Line peak load calculation treatment:\n" + entry21("++> API \"one-sigma LF, peak HF\" algorithm") +
           " 5) Output RAOs at all intermediate angles (spread sea case) ... No \n" +
           "\n 6) Square-law driving force treatment:\n" +
           entry21("++> Full square-law driving force calculation at all wave periods") +
           " 7) Utilize ONLY square law driving forces ..... No \n" +
           " 8) Output vessel motions summary ..... Yes\n" +
           "  9) Motions & loads reported at vessel c.g.\n" +
           " 10) RAO units for angular motions: degrees/ meters         \n" +
           "11) Use \"2-d API quasi-static\" wave-frequency fairlead loads ... No \n" +
           "\n12) Debug option is off\n 13) Output goes to Console\n" + kSelect},
  };
  for (const ScreenCase& c : cases) {
    SCOPED_TRACE(c.name);
    plant(c.words);
    const RunResult r = run({"M", "J20", "", "L", "2", ""});
    ASSERT_EQ(r.status, 0) << r.screen;
    EXPECT_EQ(page_shown(r.screen, "  Page 20: "), c.page20);
    EXPECT_EQ(page_shown(r.screen, "  Page 21: "), c.page21);
  }
}

// One selection of an item: the replies after its number, the word it edits
// (only the bits given), and whether the saved word shows the edit with word
// 1919 off and on.
struct Selection {
  int item;
  std::size_t word;
  bool taken_off;
  bool taken_on;
  std::vector<std::string> more = {};
  std::uint32_t bits = ~0u;
};

// Every item of both pages for kind 15, in order, on a new record (word 13
// = 0: a selection flips a yes/no at once). Item 6 turns wave-frequency
// dynamics off, so with 1919 on each display clears word 5008 again, and
// item 8 is then refused; with 1919 off nothing is displayed that would.
const std::vector<Selection> kPage20 = {
    {1, kOutputStaticOffsets, true, true, {}, 1},
    {2, kOutputStaticOffsets, true, true, {}, 2},
    {3, kQuiescentEquilibrium, false, false},  // kind 8 only
    {4, kOutputMeanLoads, true, true},
    {5, kOutputLowFrequency, true, true},
    {6, kWaveFrequencyOn, true, true},
    {7, kEndpointLoads, true, false},
    {8, kEndpointAxes, true, false},
    {9, kChainHinge, true, true},
    {16, kFairleadRaos, true, true},
    {17, kRaoComparisons, true, true},
    {18, kAnchorRaos, true, true},
    {19, kOffsetAnalysis, true, true},
    {20, kLargeAmplitude, true, true},
    {21, kInertiaCorrection, true, true},
    {22, kInertiaExclusion, true, true, {"1"}},
    {23, kInertiaExclusionBits, true, true, {"1", "1", ""}},  // row 1 := line 1
    {25, kEndTangentSource, true, true},
    {26, kThreeDofSearch, true, true},
    {27, kOnlyWfRaos, false, false},  // regular waves, no imposed extension
    {28, kAlternateEquilibrium, true, true},
    {29, kLockTurret, true, true},
    {30, kCurrentLineLoads, false, false},  // no current
    {31, kNoLineLoadReports, true, true},
    {32, kEllipticalBox, true, true},
    {33, kLegacyCurrentDrift, false, false},  // no current
    {34, kLegacyPeakModel, true, true},
    {35, kExcludeWaveAbsorption, true, true},
    {36, kLegacyModes, true, true},
    {37, kGaussianPeaks, true, true},
    {38, kExpandedGrid, true, true},
    {40, kTabSummary, true, true},
    {41, kTabSummaryKiloNewtons, true, true},
    {42, kVerticalSuction, true, true},
    {44, kAddedMassModel, true, true},
    {51, kStormDuration, true, true, {"2.5"}},
    {52, kPeakVariability, true, true},
    {55, kVesselHeading, true, true, {"30"}},
    {56, kVesselBlock, false, false},  // kinds 10 and 13 only
};
const std::vector<Selection> kPage21 = {
    {1, kOneSigma, true, true},
    {2, kSpectralLineSd, true, true},
    {3, kPeakLoadAlgorithm, true, true, {"3"}},
    {5, kOutputSpreadRaos, true, true},
    {6, kSquareLawTreatment, true, true, {"3"}},
    {7, kOnlySquareLaw, true, true},
    {8, kNoMotionsSummary, true, true},
    {9, kReportAtCg, true, true},
    {10, kAngularRaoUnits, true, true},
    {11, kQuasiStaticTension, true, true},
    {12, kDebug, true, true},
    {13, kOutputDevice, true, true, {"1"}},
};

TEST_F(PivlornOutputOptions, EveryItemIsTakenOrRefusedByItsRule) {
  for (const int lf : {0, 1}) {
    SCOPED_TRACE(lf == 0 ? "word 1919 off" : "word 1919 on");
    plant({{kLowFrequencyOn, lf}});
    std::vector<std::string> replies = {"M", "J20"};
    for (const auto* page : {&kPage20, &kPage21}) {
      for (const Selection& c : *page) {
        replies.push_back(std::to_string(c.item));
        replies.insert(replies.end(), c.more.begin(), c.more.end());
      }
      replies.push_back(page == &kPage20 ? "" : "L");
    }
    replies.push_back("1");
    const RunResult r = run(replies);
    ASSERT_EQ(r.status, 0) << r.screen;
    const std::string was = fresh_;
    const std::string d = data();
    for (const auto* page : {&kPage20, &kPage21}) {
      for (const Selection& c : *page) {
        SCOPED_TRACE("page " + std::string(page == &kPage20 ? "20" : "21") + ", item " + std::to_string(c.item));
        const auto changed = (static_cast<std::uint32_t>(file_word(d, c.word) ^ file_word(was, c.word)) & c.bits) != 0;
        EXPECT_EQ(changed, lf == 0 ? c.taken_off : c.taken_on);
      }
    }
    // The list went to its own words, not to the broken-line words of page 3.
    EXPECT_EQ(file_word(d, kInertiaExclusionBits), 1);
    EXPECT_EQ(file_word(d, kExclusionBits), file_word(was, kExclusionBits));
    EXPECT_FLOAT_EQ(file_real(d, kVesselHeading), file_real(was, kVesselHeading) - 30.0f);
    EXPECT_EQ(file_word(d, kPeakLoadAlgorithm), 2);
    EXPECT_EQ(file_word(d, kSquareLawTreatment), 2);
  }
}

}  // namespace
}  // namespace kelp::e2e
