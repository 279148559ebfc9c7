// pivlorn end to end through the mooring layout pages 2, 3 and 4: a new
// mooring laid out and saved, the excluded lines read back from their bits,
// and a save of a record whose leg count is above 120.
#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/e2e_util.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;

class PivlornLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(program_path("pivlorn"))) FAIL() << "pivlorn is not built: " << program_path("pivlorn");
    write_file(dir_ / "LOWDAT", encode_record(std::vector<std::int32_t>(680, 0)));
  }
  RunResult run(const std::vector<std::string>& replies) { return e2e::run(dir_, "pivlorn", script(replies)); }

  TempDir dir_;
};

// Six legs of two types laid out on pages 2 to 4, then saved.
const std::vector<std::string> kLayout = {
    "C", "J2",
    "1", "6", "2", "2", "16", "250", "",    // page 2: legs, types, default anchor depth; on to page 3
    "1", "1", "4", "2", "",                  // page 3: legs per type 4 and 2
    "10", "2", "11", "1", "3", "5", "",      // excluded lines 3 and 5
    "",                                      // on to page 4
    "1", "2", "2", "1", "1", "6", "",        // dynamic lines 1 and 6
    "6", "8", "10", "2.5",                   // 8 layers, added mass 2.5
    "L", "1"};                               // save and leave

TEST_F(PivlornLayout, PagesTwoToFourLayOutAMooringThatIsSaved) {
  const RunResult r = run(kLayout);
  ASSERT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find("  **** Page 2: General Mooring Information ****                    \n"), std::string::npos);
  EXPECT_NE(r.screen.find("   4 in Type   1 {A}   2 in Type   2 {B}\n"), std::string::npos);
  EXPECT_NE(r.screen.find(" 11) Line numbers selected for exclusion:\n       3,  5,\n"), std::string::npos);
  EXPECT_NE(r.screen.find("  2) Line numbers selected for dynamic evaluation:\n       1,  6,\n"), std::string::npos);

  const std::string data = slurp(dir_ / "PIVADAT");
  EXPECT_EQ(file_word(data, 28381), 6);
  EXPECT_EQ(file_word(data, 28226), 2);
  EXPECT_EQ(file_word(data, 28541), 6);  // the hawser line number follows the leg count
  EXPECT_EQ(file_real(data, 78231), 250.0f);
  const int slots = file_word(data, 28382);  // the maximum leg count sets the depths spread
  ASSERT_GT(slots, 0);
  EXPECT_EQ(file_real(data, 78080 + static_cast<std::size_t>(slots)), 250.0f);
  EXPECT_NE(file_real(data, 78081 + static_cast<std::size_t>(slots)), 250.0f);
  EXPECT_EQ(file_word(data, 28076), 4);
  EXPECT_EQ(file_word(data, 28077), 2);
  EXPECT_EQ(file_word(data, 5002), 2);
  EXPECT_EQ(file_word(data, 5003), (1 << 2) | (1 << 4));  // bits 3 and 5
  EXPECT_EQ(file_word(data, 28380), 2);
  EXPECT_EQ(file_word(data, 28383), 1);
  EXPECT_EQ(file_word(data, 28384), 6);
  EXPECT_EQ(file_word(data, 28379), 9);
  EXPECT_EQ(file_real(data, 78232), 2.5f);
  EXPECT_EQ(file_real(data, 62931), 2.5f);  // subline 1 of type 1

  // The save's print pass lists the three pages and their tables.
  const std::string listing = slurp(dir_ / "PIVAIN.stxt");
  EXPECT_NE(listing.find("Page 2: General Mooring Information"), std::string::npos);
  EXPECT_NE(listing.find("Page 3: More General Mooring Information"), std::string::npos);
  EXPECT_NE(listing.find("--- Mooring line type multiplicity ---"), std::string::npos);
  EXPECT_NE(listing.find("Page 4: Dynamics-Related Mooring Information"), std::string::npos);
}

TEST_F(PivlornLayout, ExcludedLinesComeBackFromTheirBits) {
  ASSERT_EQ(run(kLayout).status, 0);
  const std::string saved = slurp(dir_ / "PIVADAT");
  // Line 1 and line 6 set by hand in the bit word; the page lists them.
  std::string data = saved;
  data.replace(4 + 4 * 5003, 4, be32((1u << 0) | (1u << 5)));
  write_file(dir_ / "PIVADAT", data);
  const RunResult r = run({"M", "J3", "11", "", "L", "1"});
  ASSERT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find(" 11) Line numbers selected for exclusion:\n       1,  6,\n"), std::string::npos)
      << r.screen;
  EXPECT_EQ(file_word(slurp(dir_ / "PIVADAT"), 5003), (1 << 0) | (1 << 5));
}

TEST_F(PivlornLayout, ASaveWithMoreThan120LegsNeverWaitsOnTheWarning) {
  ASSERT_EQ(run(kLayout).status, 0);
  std::string data = slurp(dir_ / "PIVADAT");
  data.replace(4 + 4 * 28381, 4, be32(150));
  write_file(dir_ / "PIVADAT", data);
  // Straight to the finish page and save: the print pass walks page 3.
  const RunResult r = run({"M", "L", "1"});
  ASSERT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(r.screen.find("Warning for systems with > 120 lines"), std::string::npos);
  EXPECT_NE(slurp(dir_ / "PIVAIN.stxt").find("Page 3: More General Mooring Information"), std::string::npos);
  // On the page itself the warning is shown, once per entry.
  const RunResult shown = run({"M", "J3", "", "L", "2"});
  EXPECT_EQ(count_of(shown.screen, " ++> Line exclusion data; Warning for systems with > 120 lines:\n"), 1)
      << shown.screen;
}

}  // namespace
}  // namespace kelp::e2e
