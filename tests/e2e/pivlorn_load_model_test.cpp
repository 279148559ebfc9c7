// pivlorn end to end on the load-model pages of a new record: pages 6, 10,
// 13, 16 and 17 as shown (English and metric), their help, the print pass
// with the user coefficient tables, and the tables saved in "LOWDAT".
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/e2e_util.hpp"
#include "sysutl/diskio.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kSelect = " \n Enter number of selection (\"H\" for help): ";

// The page whose header holds `header`, from the start of that line to the
// end of its selection prompt (the n-th time it is shown).
std::string page_shown(const std::string& screen, const std::string& header, int n = 0) {
  std::size_t at = screen.find(header);
  for (int k = 0; k < n && at != std::string::npos; ++k) at = screen.find(header, at + 1);
  if (at == std::string::npos) return "(not shown: " + header + ")";
  // A page drawn after a prompt starts on the prompt's line.
  const std::string prompt = kSelect.substr(2);
  std::size_t start = screen.rfind('\n', at) + 1;
  if (screen.compare(start, prompt.size(), prompt) == 0) start += prompt.size();
  const std::size_t end = screen.find(kSelect, at);
  return screen.substr(start, end == std::string::npos ? std::string::npos : end + kSelect.size() - start);
}

// Screens that follow a prompt start after it on the same line.
std::string after_prompt(const std::string& line) { return kSelect + line; }

const std::string kPage6 =
    "            ****  Page 6: Low-frequency dynamics selection  ****\n"
    "\n"
    "\n"
    "  1) Calculate low-frequency dynamics: ............. Yes\n"
    "\n"
    "  2) Low-frequency surge damping is ................  Computed      \n"
    "  4) Low-frequency sway  damping is ................  Computed      \n"
    "  6) Low-frequency  yaw  damping is ................  Computed      \n" +
    kSelect;

const std::string kPage10 =
    "   ****  Page 10: Vessel Low-Frequency Dynamics Characteristics  ****\n"
    "\n"
    "  1) Toggle independent <<Wind>> Cx, Cy, Cz\n"
    "  2) Wind force model ............................ User-Specified LOWDAT        \n"
    "  5) Specify wind force coefficients\n"
    "\n"
    " 11) Toggle independent <<Current>> Cx, Cy, Cz\n"
    " 12) Current force model ......................... User-Specified LOWDAT        \n"
    " 15) Specify current force coefficients\n"
    "\n"
    " 21) Toggle independent <<Wave>> Cx, Cy, Cz\n"
    " 22) Wave force model ............................ User-Specified DRFTCOFS.txt  \n"
    "\n"
    " 26) Apply current correction to drift forces?     No \n" +
    kSelect;

std::string page13(const std::string& square) {
  return " ****  Page 13: Vessel Environmental Area, Moment and Enhancement Data  ****\n"
         "\n"
         "  1) Simulate <<Wind>>?   No \n"
         "\n"
         "  2) Head-on effective drag area ....................       0.00 " + square + "\n"
         " \n"
         "  5) Beam-on effective drag area ....................       0.00 " + square + "\n"
         " \n"
         "  8) Wind force enhancement factor ..................       1.00\n"
         "\n"
         "\n"
         " 11) Simulate <<Current>>?   No \n"
         "\n"
         " 12) Head-on effective drag area ....................       0.00 " + square + "\n"
         " \n"
         " 15) Beam-on effective drag area ....................       0.00 " + square + "\n"
         " \n"
         " 18) Current force enhancement factor ...............       1.00\n"
         "\n"
         "\n"
         " 20) Micromanage wave reflection (aka \"drift\") settings?     No \n"
         "\n"
         "\n"
         "\n"
         " 30) Micromanage wave absorption (aka \"drag\") settings?      No \n"
         "\n" +
         kSelect;
}

const std::string kPage16 =
    "  ****  Page 16: Line Extension / Regular wave characteristics  ****\n"
    "\n"
    "\n"
    " 1) Regular wave characteristics follow\n" +
    kSelect;

std::string page17(const std::string& length) {
  return "             ****  Page 17: Regular Wave Characteristics  ****\n"
         "\n"
         "\n"
         " 1) Number of different periods (Max 100):  30\n"
         " 2) Periods (seconds) --\n"
         "          5.00         5.50         6.00         6.50         7.00         7.50\n"
         "          8.00         8.50         9.00         9.50        10.00        10.50\n"
         "         11.00        11.50        12.00        12.50        13.00        13.50\n"
         "         14.00        14.50        15.00        15.50        16.00        16.50\n"
         "         17.00        17.50        18.00        18.50        19.00        19.50\n"
         "\n"
         " 3) Use constant wave height or wave slope:  height\n"
         " 4) Wave height .............................       0.00" + length + "\n"
         "\n"
         " 6) Wave heading ............................       0.00 degrees\n" +
         kSelect;
}

class PivlornLoadModel : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(program_path("pivlorn"))) FAIL() << "pivlorn is not built: " << program_path("pivlorn");
  }
  RunResult run(const std::vector<std::string>& replies) { return e2e::run(dir_, "pivlorn", script(replies)); }
  TempDir dir_;
};

TEST_F(PivlornLoadModel, PagesOfANewRecord) {
  // Each page in turn, then "?" and "?n" on pages 6 and 10; end of input.
  const RunResult r = run({"C", "J6", "?12", "", "J10", "?", "", "", "", "", "", "", "", "", "J13", "J16", "J17"});
  EXPECT_EQ(page_shown(r.screen, "Page 6:"), kPage6);
  EXPECT_EQ(page_shown(r.screen, "Page 10:"), kPage10);
  EXPECT_EQ(page_shown(r.screen, "Page 13:"), page13("square feet  "));
  EXPECT_EQ(page_shown(r.screen, "Page 16:"), kPage16);
  EXPECT_EQ(page_shown(r.screen, "Page 17:"), page17(" feet           "));
  EXPECT_NE(r.screen.find(after_prompt("                 ****  Low-Frequency Dynamics Notes  ****\n\n"
                                       " ++> Item Number  12\n\n ++> Sorry, no help for this line...\n")),
            std::string::npos);
  EXPECT_NE(r.screen.find(" ++> Item Numbers 1, 11, 21\n"), std::string::npos);
  EXPECT_NE(r.screen.find(" ++> Item Number  31\n"), std::string::npos);
}

TEST_F(PivlornLoadModel, MetricLabels) {
  // Units switched to metric labels on page 1.
  const RunResult r = run({"C", "3", "1", "J13", "J17"});
  EXPECT_EQ(page_shown(r.screen, "Page 13:"), page13("square meters"));
  EXPECT_EQ(page_shown(r.screen, "Page 17:"), page17(" meters         "));
}

TEST_F(PivlornLoadModel, PrintPassListsThePagesAndTheTablesInUse) {
  const RunResult r = run({"C", "L", "1"});
  ASSERT_EQ(r.status, 0) << r.screen;
  const std::string listing = slurp(dir_ / "PIVAIN.stxt");
  EXPECT_EQ(page_labels(listing), "1 6 7 8 9 10 11 11b 13 16 17 18 19 20 21 22 ");
  const auto page10 = listing.find("Page 10:");
  const auto wind = listing.find(" +++ <<Wind Force>> Coefficient Specification +++");
  const auto current = listing.find(" +++ <<Current Force>> Coefficient Specification +++");
  const auto page13 = listing.find("Page 13:");
  EXPECT_LT(page10, wind);
  EXPECT_LT(wind, current);
  EXPECT_LT(current, page13);
  EXPECT_EQ(listing.find("Enter number of selection"), std::string::npos);
}

// Values typed on the wind table land in "LOWDAT" at their words, big-endian;
// tables 3 and 4 and the words after them come back as loaded. An
// independence flag set to 1 gives Cy and Cz the source of Cx.
TEST_F(PivlornLoadModel, TablesSavedInLowdat) {
  ASSERT_EQ(run({"C", "L", "1"}).status, 0);
  std::vector<std::int32_t> planted(kLowcofWords, 0);
  for (std::size_t w = 172; w < kLowcofWords; ++w) planted[w] = static_cast<std::int32_t>(0x01020304 + w);
  planted[2] = 7;
  planted[3] = 500;
  write_file(dir_ / "LOWDAT", encode_record(planted));

  const RunResult r = run({"M", "J10",
                           "5",                                         // the wind table
                           "2", "1", "0", "90", "",                     // angles 0 and 90
                           "3", "1", "1", "0.8", "0.9", "", "0", "",    // Cx through the axis sub-page
                           "1", "2", "4", "1",                          // Cx to OCIMF, all three follow
                           "L", "1"});
  ASSERT_EQ(r.status, 0) << r.screen;
  const std::string lowdat = slurp(dir_ / "LOWDAT");
  ASSERT_EQ(lowdat.size(), 4 * kLowcofWords + 8);
  EXPECT_EQ(file_word(lowdat, 0), 2);  // wind count held to 2
  EXPECT_EQ(file_word(lowdat, 1), 2);  // the current table printed in the pass
  EXPECT_EQ(lowdat.substr(4 + 4 * 5, 4), std::string("\x42\xB4\x00\x00", 4));  // angle row 2: 90.0
  EXPECT_EQ(file_real(lowdat, 25), 0.8f);  // Cx row 1
  EXPECT_EQ(file_real(lowdat, 26), 0.9f);  // Cx row 2
  for (std::size_t w = 2; w < kLowcofWords; ++w) {
    if (w >= 4 && w < 172) continue;  // counts 3 and 4, tables 3 and 4, the unused words
    EXPECT_EQ(file_word(lowdat, w), planted[w]) << "word " << w;
  }
  EXPECT_EQ(file_word(slurp(dir_ / "PIVADAT"), 774), 0x444);
}

}  // namespace
}  // namespace kelp::e2e
