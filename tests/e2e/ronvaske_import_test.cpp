// End-to-end runs of ronvaske importing vessel and environment data from
// another data file through the End of Session page.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e/e2e_util.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;

class RonvaskeImport : public ::testing::Test {
 protected:
  // The import file: a new record with a water depth of 250, saved and moved
  // to "src dir/RONDDAT". The record edited: a new record as it is created.
  void SetUp() override {
    if (!fs::exists(program_path("ronvaske"))) FAIL() << "ronvaske is not built: " << program_path("ronvaske");
    ASSERT_EQ(run(script({"C", "4", "250", "L", "1"})).status, 0);
    fs::create_directory(dir_ / "src dir");
    fs::rename(dir_ / "RONDDAT", dir_ / "src dir/RONDDAT");
    ASSERT_EQ(run(script({"C", "L", "1"})).status, 0);
  }
  RunResult run(const std::string& replies) { return e2e::run(dir_, "ronvaske", replies); }
  TempDir dir_;
};

TEST_F(RonvaskeImport, SameKindImportTakesTheWholeRecord) {
  ASSERT_NE(slurp(dir_ / "RONDDAT"), slurp(dir_ / "src dir/RONDDAT"));
  const RunResult r = run(script({"M", "L", "7", "src dir/RONDDAT", "", "1"}));
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find(" >>> Input full or relative path to import target in quotes\n"
                          "     (e.g. \"C:\\Brenvik\\HULVDAT)\" or \"HULVDAT\")\n\n"
                          " >>> Path: \n >>> Import successful!\n \n Press <RETURN> to continue: "),
            std::string::npos);
  EXPECT_EQ(slurp(dir_ / "RONDDAT"), slurp(dir_ / "src dir/RONDDAT"));
}

}  // namespace
}  // namespace kelp::e2e
