// pivlorn end to end on page 22, the time-domain options: the options file
// "GUSTRDAT" made at the first display with the support files on, read back
// by the next run, rebuilt from planted files of another layout or of no
// layout at all, the page-4 alert, and the page's help.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/e2e_util.hpp"
#include "edlib/record/data_record.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;

using testing::kSelect;

const std::string kHeader = " ********************  Page 22:  Time-Domain Options  ********************\n";

// The page of a new record once item 1 is switched on, without a file.
const std::string kNewPage =
    kHeader +
    "\n"
    " 1) Prepare Gustrevan support files? ...................   Yes\n"
    "\n"
    "          >>> GUSTRDAT not found; loading defaults <<<\n"
    "\n"
    " 2) Restore default settings\n"
    "\n"
    "  3) Diameter of L-F excursion disc (0 for default) .....      0.00 ft    \n"
    "\n"
    "  4) Time step for time history output (seconds) ........      0.50       \n"
    "\n"
    "  5) Initial condition .................................. Quiescent Mean\n"
    "\n"
    "  6) Force-rebuild all support data? ....................   No \n"
    "\n"
    "  7) Include run-time progress reports? .................   Yes\n"
    "\n"
    "  8) Activate debugging stream? .........................   No \n"
    "\n"
    "  9) Random seed choices reproduce time histories? ......   Yes\n"
    "\n"
    " 10) Include damping from W-F line motions? .............   Yes\n"
    "\n"
    " 11) Apply supplemental stillwater linear damping? ......   Yes\n"
    " 12) Use Brenvik stillwater linear damping estimates? ...   Yes\n"
    "\n"
    " 13) User supplies zero-frequency virtual mass coeffs? ..   No \n"
    "\n"
    " 14) Include low-frequency wave variability? ............   Yes\n"
    "\n"
    " 15) Ignore wave drag variability to low-frequency force?   No \n"
    "\n"
    " 16) Analyze wind squall? ...............................   No \n"
    "\n"
    " 20) Analyze current eddy? ..............................   No \n"
    "\n"
    " 24) Interpolation option ...............................  Cubic Spline\n"
    "\n"
    " 25) Over-ride specified storm duration? ................   No \n"
    "\n"
    " 27) Over-ride default fairlead report selection? .......   No \n"
    "\n"
    " 30) Include Brenvik supplemental sway-yaw damping? .....   Yes\n"
    "\n"
    " 31) Emulate Orcaflex? ..................................   No \n"
    "\n"
    " 36) Use legacy sway-yaw damping model? .................   No \n"
    "\n"
    " 37) Output ............................................. Everything\n"
    "\n"
    " 38) Create auxiliary support files (Brenvik only)? .....   No \n"
    "\n"
    " 39) Use Brenvik motion model? ..........................   Yes\n"
    "\n"
    " 40) Solver relative tolerance factor ...................      1.00       \n"
    "\n"
    " 41) Solver absolute tolerance factor ...................      1.00       \n"
    "\n"
    " 42) Freefloating vessel (no moorings)? .................   No \n"
    "\n"
    " 43) Skip background equilibrium search? ................   No \n"
    "\n"
    " 44) Mooring map uses cylindrical coordinates? ..........   No \n"
    "\n"
    " 46) Execute in batch mode? .............................   No \n" +
    kSelect;

const std::string kFormatBox = " | >>> Changes to GUSTRDAT version structure!         |\n";
const std::string kForeignBox = " |   >>> Incompatible GUSTRDAT file found           |\n";
const std::string kNotFound = "          >>> GUSTRDAT not found; loading defaults <<<\n";

// Line n (from 1) of a text file, without its end.
std::string line_of(const std::string& text, int n) {
  std::size_t from = 0;
  for (int k = 1; k < n; ++k) from = text.find('\n', from) + 1;
  return text.substr(from, text.find('\n', from) - from);
}

class PivlornOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(program_path("pivlorn"))) FAIL() << "pivlorn is not built: " << program_path("pivlorn");
  }
  RunResult run(const std::vector<std::string>& replies) { return e2e::run(dir_, "pivlorn", script(replies)); }
  // A new record saved with the support files switched on on page 22, and
  // an empty "LOWDAT" beside it; returns the options file of that run.
  std::string create_with_options() {
    const RunResult r = run({"C", "J22", "1", "", "1"});
    EXPECT_EQ(r.status, 0) << r.screen;
    write_file(dir_ / "LOWDAT", encode_record(std::vector<std::int32_t>(680, 0)));
    return slurp(dir_ / "GUSTRDAT");
  }
  // Sets words of the saved data file.
  void set_data_words(const std::vector<std::pair<std::size_t, std::int32_t>>& words) {
    std::string data = slurp(dir_ / "PIVADAT");
    for (const auto& [n, v] : words) data.replace(4 + 4 * n, 4, be32(static_cast<std::uint32_t>(v)));
    write_file(dir_ / "PIVADAT", data);
  }
  // Opens the saved record, shows page 22, leaves it and ends without
  // saving.
  RunResult visit_page22(const std::vector<std::string>& on_page = {}) {
    std::vector<std::string> replies = {"M", "J22"};
    replies.insert(replies.end(), on_page.begin(), on_page.end());
    for (const char* r : {"", "2", ""}) replies.emplace_back(r);
    return run(replies);
  }

  TempDir dir_;
};

TEST_F(PivlornOptions, SwitchingTheSupportFilesOnWritesTheFileAndTheNextRunReadsIt) {
  const RunResult r = run({"C", "J22", "1", "", "1"});
  ASSERT_EQ(r.status, 0) << r.screen;
  // The page with item 1 off shows item 1 alone; switched on, the whole page.
  EXPECT_NE(r.screen.find(kHeader + "\n 1) Prepare Gustrevan support files? ...................   No \n" + kSelect),
            std::string::npos);
  const std::size_t page = r.screen.find(kNewPage);
  ASSERT_NE(page, std::string::npos) << r.screen;
  EXPECT_EQ(count_of(r.screen, kNotFound), 1);

  const std::string file = slurp(dir_ / "GUSTRDAT");
  EXPECT_EQ(line_of(file, 2), "GUSTRDAT Ver [1.25.02];\t Brenvik Ver [6.80.00]");
  EXPECT_EQ(line_of(file, 3), "\t 53\t 32\t 52");
  EXPECT_EQ(count_of(line_of(file, 5), "\t"), 53);
  EXPECT_EQ(count_of(line_of(file, 6), "\t"), 32);
  EXPECT_EQ(count_of(line_of(file, 9), "\t"), 52);
  EXPECT_EQ(line_of(file, 7), line_of(file, 8));  // the picks are page 4's

  // The next run reads the file without a box and writes the same bytes.
  write_file(dir_ / "LOWDAT", encode_record(std::vector<std::int32_t>(680, 0)));
  const RunResult again = visit_page22();
  EXPECT_EQ(again.status, 0) << again.screen;
  EXPECT_NE(again.screen.find(kHeader), std::string::npos);
  for (const std::string& text : {kNotFound, kFormatBox, kForeignBox, std::string("+----")}) {
    EXPECT_EQ(again.screen.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(slurp(dir_ / "GUSTRDAT"), file);
}

TEST_F(PivlornOptions, WithTheSupportFilesOffNoFileIsWritten) {
  const RunResult r = run({"C", "J22", "", "2", ""});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_FALSE(fs::exists(dir_ / "GUSTRDAT"));
}

TEST_F(PivlornOptions, PlantedFilesOfAnotherLayoutShowTheirBox) {
  const std::string good = create_with_options();
  // A shorter logical group, as an older program wrote it.
  std::string older = good;
  older.replace(older.find("\t 53\t"), 5, "\t 50\t");
  const std::size_t logicals = older.find("\tF", older.find("\t 32\t"));
  older.erase(logicals, 6);
  struct Planted {
    const char* name;
    std::string file;
    std::string box;
  };
  for (const Planted& p : {Planted{"older layout", older, kFormatBox},
                           Planted{"no layout", "not an options file\n", kForeignBox}}) {
    SCOPED_TRACE(p.name);
    write_file(dir_ / "GUSTRDAT", p.file);
    const RunResult r = visit_page22();
    EXPECT_EQ(r.status, 0) << r.screen;
    EXPECT_EQ(count_of(r.screen, p.box), 1) << r.screen;
    EXPECT_EQ(r.screen.find(p.box == kFormatBox ? kForeignBox : kFormatBox), std::string::npos);
    // Leaving the page writes the file in this program's layout again.
    EXPECT_EQ(line_of(slurp(dir_ / "GUSTRDAT"), 3), "\t 53\t 32\t 52");
  }
}

TEST_F(PivlornOptions, APage4CountAboveWhatTheProgramReportsIsCutWithOneAlertPerRun) {
  create_with_options();
  std::vector<std::pair<std::size_t, std::int32_t>> words = {{kDynamicLines.n, 45}, {kMooringLegs.n, 50}};
  for (int k = 1; k <= 45; ++k) words.emplace_back(*dynamic_line_word(k), k);
  set_data_words(words);
  std::remove((dir_ / "GUSTRDAT").c_str());
  // Page 22, then page 23 and back to page 22.
  const RunResult r = visit_page22({"", "J22"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(count_of(r.screen, kHeader), 2);
  EXPECT_EQ(count_of(r.screen,
                     "\n >>> Alert: The Page 4 fairlead reporting number ( 45) was greater\n"
                     "            than that provisioned for time domain analysis ( 39);\n"
                     "            the time domain default has been reduced to  39.\n"),
            1);
  const std::string file = slurp(dir_ / "GUSTRDAT");
  EXPECT_EQ(line_of(file, 4), "\t   3600.00\t 39");
  EXPECT_EQ(count_of(line_of(file, 8), "\t"), 39);
  EXPECT_TRUE(line_of(file, 8).ends_with("\t 39"));
}

TEST_F(PivlornOptions, HelpOnItemsShownAndHidden) {
  create_with_options();
  const RunResult r = visit_page22({"?5", "", "?24", "", "?26", "?32"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find("                     ****  Output Definition Notes  ****\n\n ++> Item Number 5\n"),
            std::string::npos);
  EXPECT_NE(r.screen.find("\n ++> Item Number 24\n     Time histories are interpolated"), std::string::npos);
  // Item 26 is hidden while the storm duration is not overridden, and so is
  // item 32 while Orcaflex is not emulated: only the page again.
  EXPECT_EQ(r.screen.find("Item Number 26"), std::string::npos);
  EXPECT_EQ(r.screen.find("Item Number 32"), std::string::npos);
  EXPECT_EQ(count_of(r.screen, kHeader), 5);
}

}  // namespace
}  // namespace kelp::e2e
