// pivlorn end to end on page 5: a record of three line types walked, every
// item edited in both unit systems, a help-facility estimate, a table
// command, and the saved words at their element indices.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/e2e_util.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;

// Element (subline s, type t) of the per-element tables, counted here from
// the record layout: e = (s - 1) + 25 (t - 1).
std::size_t element(std::size_t first, int s, int t) { return first + static_cast<std::size_t>((s - 1) + 25 * (t - 1)); }
constexpr std::size_t kLength = 36081, kDiameter = 39831, kImmersed = 43581, kCompliance = 47331, kStrength = 58581,
                      kAddedMass = 62931, kDrag = 66681, kDry = 70431, kComposition = 28581;
constexpr std::size_t kTypesInUse = 28226, kSublines = 28227, kAnchorDepth = 78080, kBottom = 5275,
                      kOwnAnchorDepths = 28539, kUnits = 116;

class PivlornSubline : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(program_path("pivlorn"))) FAIL() << "pivlorn is not built";
    // A new record, saved; then three types: A with 3 sublines, B with
    // none, C with 2, lengths 100 t + s, each type its own anchor depth.
    ASSERT_EQ(run({"C", "L", "1"}).status, 0);
    write_file(dir_ / "LOWDAT", encode_record(std::vector<std::int32_t>(680, 0)));
    data_ = slurp(dir_ / "PIVADAT");
    put(kTypesInUse, 3);
    put(kSublines + 1, 3);
    put(kSublines + 2, 0);
    put(kSublines + 3, 2);
    put(kOwnAnchorDepths, 1);
    put(kBottom + 1, 1);
    for (int t = 1; t <= 3; ++t) {
      for (int s = 1; s <= 3; ++s) put_real(element(kLength, s, t), 100.0f * static_cast<float>(t) + static_cast<float>(s));
    }
  }
  void put(std::size_t word, std::int32_t v) { data_.replace(4 + 4 * word, 4, be32(static_cast<std::uint32_t>(v))); }
  void put_real(std::size_t word, float v) { put(word, std::bit_cast<std::int32_t>(v)); }
  RunResult run(const std::vector<std::string>& replies) { return e2e::run(dir_, "pivlorn", script(replies)); }
  RunResult run_on_record(const std::vector<std::string>& replies) {
    write_file(dir_ / "PIVADAT", data_);
    return run(replies);
  }
  float saved_real(std::size_t word) { return file_real(slurp(dir_ / "PIVADAT"), word); }
  std::int32_t saved(std::size_t word) { return file_word(slurp(dir_ / "PIVADAT"), word); }

  TempDir dir_;
  std::string data_;
};

TEST_F(PivlornSubline, WalkAcrossTypes) {
  // Forward over A1..A3 (B has no sublines) to C1, back to A3 and A1; "B"
  // on A1 leaves the page with -1, back through pages 4, 3 and 2 to
  // page 1. Then page 5 again and on past C2 to the next page.
  const RunResult r =
      run_on_record({"M", "J5", "", "", "", "B", "B", "B", "B", "B", "B", "B", "J5", "", "", "", "", "", "L", "2", ""});
  EXPECT_EQ(r.status, 0) << r.screen;
  const std::string walk = r.screen.substr(r.screen.find("Page 5A:"));
  std::vector<std::string> order;
  std::vector<std::size_t> at;
  for (auto p = walk.find("Page 5"); p != std::string::npos; p = walk.find("Page 5", p + 1)) {
    const auto n = walk.find("Subline number:", p);
    order.push_back(walk.substr(p + 6, 1) + walk.substr(n + 16, 2));
    at.push_back(p);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"A 1", "A 2", "A 3", "C 1", "A 3", "A 2", "A 1", "A 1", "A 2", "A 3",
                                             "C 1", "C 2"}));
  EXPECT_EQ(count_of(r.screen, "Page 5B"), 0);
  ASSERT_EQ(at.size(), 12u);
  EXPECT_LT(walk.find("Page 1: Site conditions", at[6]), at[7]);
}

TEST_F(PivlornSubline, EditEveryItemInEnglishUnits) {
  const RunResult r = run_on_record({"M", "J5",
                                     // A1
                                     "3", "CHAIN", "4", "250", "5", "3", "6", "25", "7", "30", "8", "900", "9", "1.1",
                                     "10", "2.5", "12", "1e-5", "13", "2e-7", "14", "3e-9",
                                     // A1's breaking strength from the calculator: 3-inch stud-link chain.
                                     "21", "2", "1", "0",
                                     // A3: bottom transparent, anchor depth.
                                     "", "", "16", "17", "-50",
                                     // C1: exchange with A's subline 2.
                                     "", "X", "E", "A", "2", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find("  6) Immersed weight/unit length ..................      25.00 lbs/foot"), std::string::npos);
  EXPECT_EQ(saved(kComposition + 2 * element(0, 1, 1)), 0x49414843);  // "CHAI"
  EXPECT_EQ(saved_real(element(kLength, 1, 1)), 250.0f);
  EXPECT_EQ(saved_real(element(kDiameter, 1, 1)), 3.0f);
  EXPECT_NEAR(saved_real(element(kImmersed, 1, 1)), 0.025f, 1e-8f);  // typed x 0.001 in single precision
  EXPECT_NEAR(saved_real(element(kDry, 1, 1)), 0.030f, 1e-8f);  // typed x 0.001 in single precision
  EXPECT_NEAR(saved_real(element(kStrength, 1, 1)), 107.8f * 9.0f, 1e-3f);
  EXPECT_EQ(saved_real(element(kAddedMass, 1, 1)), 1.1f);
  EXPECT_EQ(saved_real(element(kDrag, 1, 1)), 2.5f);
  EXPECT_EQ(saved_real(kCompliance + 3 * element(0, 1, 1)), 1e-5f);
  EXPECT_EQ(saved_real(kCompliance + 3 * element(0, 1, 1) + 1), 2e-7f);
  EXPECT_EQ(saved_real(kCompliance + 3 * element(0, 1, 1) + 2), 3e-9f);
  EXPECT_EQ(saved(kBottom + 1), 0);
  EXPECT_EQ(saved_real(kAnchorDepth + 1), -50.0f);
  // The exchange: C1 and A2.
  EXPECT_EQ(saved_real(element(kLength, 1, 3)), 102.0f);
  EXPECT_EQ(saved_real(element(kLength, 2, 1)), 301.0f);
  // The save ran the print pass: every element of every type once.
  const std::string listing = slurp(dir_ / "PIVAIN.stxt");
  EXPECT_EQ(count_of(listing, "Subline Specifics"), 5);
  EXPECT_EQ(count_of(listing, "Page 5A:"), 3);
  EXPECT_EQ(count_of(listing, "Page 5C:"), 2);
}

TEST_F(PivlornSubline, EditInMetricUnits) {
  put(kUnits, 1);
  const RunResult r = run_on_record({"M", "J5", "6", "40", "5", "76.2", "8", "100", "", "", "17", "-20", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find("      40.00 kgw/meter"), std::string::npos);
  EXPECT_NE(r.screen.find("      76.20 millimeters"), std::string::npos);
  EXPECT_NE(r.screen.find("     100.00 metric tons"), std::string::npos);
  EXPECT_NE(r.screen.find("     -20.00 meters"), std::string::npos);
  EXPECT_NEAR(saved_real(element(kImmersed, 1, 1)), 0.040f, 1e-8f);  // typed x 0.001 in single precision
  EXPECT_EQ(saved_real(element(kDiameter, 1, 1)), 76.2f);
  EXPECT_EQ(saved_real(element(kStrength, 1, 1)), 100.0f);
  EXPECT_EQ(saved_real(kAnchorDepth + 1), -20.0f);
  EXPECT_EQ(saved(kUnits), 1);
}

}  // namespace
}  // namespace kelp::e2e
