// Pages 20 and 21 in the built editor: a new single-point-mooring record
// (kind 15) with low-frequency dynamics off and on, items toggled and
// refused, and the words the saved file then holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "e2e/e2e_util.hpp"
#include "edlib/data_record.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;

class PivlornOutputOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(program_path("pivlorn"))) FAIL() << "pivlorn is not built: " << program_path("pivlorn");
  }
  RunResult run(const std::vector<std::string>& replies) { return e2e::run(dir_, "pivlorn", script(replies)); }
  // A new record saved, with an empty "LOWDAT" beside it and the words given
  // set in the data file.
  void create(const std::vector<std::pair<std::size_t, std::int32_t>>& words) {
    const RunResult r = run({"C", "L", "1"});
    ASSERT_EQ(r.status, 0) << r.screen;
    write_file(dir_ / "LOWDAT", encode_record(std::vector<std::int32_t>(680, 0)));
    std::string data = slurp(dir_ / "PIVADAT");
    for (const auto& [n, v] : words) data.replace(4 + 4 * n, 4, be32(static_cast<std::uint32_t>(v)));
    write_file(dir_ / "PIVADAT", data);
  }
  std::string data() { return slurp(dir_ / "PIVADAT"); }

  TempDir dir_;
};

TEST_F(PivlornOutputOptions, WithoutLowFrequencyDynamicsHiddenItemsStillEditTheirWords) {
  create({{kLowFrequencyOn, 0}});
  const std::string was = data();
  const RunResult r = run({"M", "J20", "4", "5", "3", "56", "", "12", "L", "1"});
  ASSERT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find(" ****  Page 20: Output options 1 ****"), std::string::npos);
  EXPECT_EQ(r.screen.find("++> Begin Version 5.x Flags"), std::string::npos);
  EXPECT_EQ(r.screen.find("51) "), std::string::npos);
  EXPECT_NE(r.screen.find("12) Debug option is on"), std::string::npos);
  EXPECT_EQ(r.screen.find(" 1) Use <<"), std::string::npos);
  const std::string d = data();
  EXPECT_EQ(file_word(d, kOutputMeanLoads), 1 - file_word(was, kOutputMeanLoads));
  EXPECT_EQ(file_word(d, kOutputLowFrequency), 1 - file_word(was, kOutputLowFrequency));
  EXPECT_EQ(file_word(d, kQuiescentEquilibrium), file_word(was, kQuiescentEquilibrium));  // kind 8 only
  EXPECT_EQ(file_word(d, kDebug), 1 - file_word(was, kDebug));
}

TEST_F(PivlornOutputOptions, WithLowFrequencyDynamicsTheFlagsAreFramedAndKindRulesHold) {
  create({{kLowFrequencyOn, 1}, {kWaveFrequencyOn, 1}, {kIrregularOn, 1}});
  const RunResult r = run({"M", "J20", "29", "31", "40", "27", "56", "", "1", "L", "1"});
  ASSERT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find("\n++> Begin Version 5.x Flags\n\n"), std::string::npos);
  EXPECT_NE(r.screen.find("29) Lock the turret to the hull"), std::string::npos);
  EXPECT_NE(r.screen.find("51) Storm duration (hours)"), std::string::npos);
  EXPECT_EQ(r.screen.find("56) "), std::string::npos);
  EXPECT_NE(r.screen.find(" 1) Use <<one>> sigma values for statistical estimates"), std::string::npos);
  const std::string d = data();
  EXPECT_EQ(file_word(d, kLockTurret), 1);
  EXPECT_EQ(file_word(d, kNoLineLoadReports), 1);
  EXPECT_EQ(file_word(d, kTabSummary), 1);
  EXPECT_EQ(file_word(d, kOnlyWfRaos), 0);  // regular waves, not an imposed extension
  EXPECT_EQ(file_word(d, kOneSigma), 1);
}

}  // namespace
}  // namespace kelp::e2e
