// pivlorn end to end: create and save with the print pass, backups, Execute
// at the menu, a file of another kind, the checks of a run request on a new
// record, the silent run, chaining to the simulation program, file errors
// and end of input.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/e2e_util.hpp"
#include "expected_screens.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kPivadatBytes = 314548;  // 78,635 words and two markers
const std::string kMarker("\x00\x04\xCC\xAC", 4);

class Pivlorn : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(program_path("pivlorn"))) FAIL() << "pivlorn is not built: " << program_path("pivlorn");
  }
  RunResult run(const std::vector<std::string>& replies,
                const std::vector<std::pair<std::string, std::string>>& env = {}) {
    return e2e::run(dir_, "pivlorn", script(replies), env);
  }
  // A new record saved with item 1, and an empty "LOWDAT" beside it (a
  // missing one makes every load ask about the coefficient tables).
  std::string create_and_save() {
    const RunResult r = run({"C", "L", "1"});
    EXPECT_EQ(r.status, 0) << r.screen;
    write_file(dir_ / "LOWDAT", encode_record(std::vector<std::int32_t>(680, 0)));
    return slurp(dir_ / "PIVADAT");
  }

  TempDir dir_;
};

TEST_F(Pivlorn, CreateGoToTheLastPageSaveAndExit) {
  const RunResult r = run({"C", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find("**   Welcome to Pivara    **"), std::string::npos);
  EXPECT_EQ(page_labels(r.screen), "1 23 ");
  EXPECT_EQ(r.errors, "");

  const std::string data = slurp(dir_ / "PIVADAT");
  ASSERT_EQ(data.size(), kPivadatBytes);
  EXPECT_EQ(data.substr(0, 4), kMarker);
  EXPECT_EQ(data.substr(kPivadatBytes - 4), kMarker);
  EXPECT_EQ(file_word(data, 0), 78635);
  EXPECT_EQ(file_word(data, 1), 15);
  EXPECT_EQ(data.substr(4 + 4 * 216, 4), std::string("\x40\xD9\x99\x9A", 4));  // 6.8
  EXPECT_EQ(file_word(data, 787), 1);  // a turret, set by the finish page

  // A save starts the print pass: the banner and every page shown.
  const std::string listing = slurp(dir_ / "PIVAIN.stxt");
  EXPECT_EQ(page_labels(listing), "1 6 7 8 9 10 11 11b 13 16 17 18 19 20 21 22 ");
  EXPECT_NE(listing.find("**   Welcome to Pivara    **"), std::string::npos);
  // No backup of a new record; "LOWDAT" is written: the print pass of page
  // 10 opens the user tables of a new record, which hold their counts to 2.
  EXPECT_EQ(snapshot(dir_.path()).size(), 3u);
}

TEST_F(Pivlorn, SecondSaveMakesTheBackup) {
  const std::string first = create_and_save();
  const RunResult r = run({"M", "4", "150", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(slurp(dir_ / "PIVABAK"), first);
  EXPECT_EQ(file_real(slurp(dir_ / "PIVADAT"), 445), 150.0f);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "LASTBAK"));
}

TEST_F(Pivlorn, ExecuteAtTheMenuStartsAtTheFinishPage) {
  create_and_save();
  const auto before = snapshot(dir_.path());
  // The checks run at once; after their two waits the page is shown, and
  // item 2 leaves (the checks' derived words count as a change).
  const RunResult r = run({"E", "", "", "2", ""});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(page_labels(r.screen), "23 ");
  EXPECT_LT(r.screen.find(" ++> Warning: A vessel GM is zero."), r.screen.find("Page 23: End of Session"));
  EXPECT_EQ(snapshot(dir_.path()), before);
}

TEST_F(Pivlorn, AFileOfTheDiscBuoyKindIsCheckedAgainstKind15) {
  const std::string disc = encode_record(disc_buoy_words());
  write_file(dir_ / "PIVADAT", disc);
  write_file(dir_ / "LOWDAT", encode_record(std::vector<std::int32_t>(680, 0)));
  const RunResult r = run({"M", "", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find(" ++> Input Data File smaller than expected:\n"
                          "     Expected  78635 I*4s, found   1987 I*4s... CAUTION!\n"
                          " ++> Input Data File Creator was RONDIXA\n"),
            std::string::npos)
      << r.screen;
  const std::string data = slurp(dir_ / "PIVADAT");
  ASSERT_EQ(data.size(), kPivadatBytes);
  EXPECT_EQ(file_word(data, 1), 15);
  EXPECT_EQ(slurp(dir_ / "PIVABAK"), disc);
}

TEST_F(Pivlorn, RunRequestListsTheFindingsOfANewRecord) {
  // Worked out from the checks for a new kind-15 record: no vessel
  // particulars, no water depth, one line type of one subline with no
  // length, no weight, no fairleads; a turret without its centroid. The
  // pager waits after the seventh finding, the page after the tenth.
  const RunResult r = run({"C", "L", "3", "", "", "2", ""});
  EXPECT_EQ(r.status, 0) << r.screen;
  const std::string findings =
      std::string(kelp::testing::kNewRecordVesselFindings) +
      "\n"
      " ++> Fatal Warning: The line length for line type 1, \n"
      "     and possibly others, is non-positive.\n"
      " \n"
      " Press <RETURN> to continue: \n"
      " ++> Warning: Nonpositive dry weight detected for\n"
      "     (type,element) = (1,1), and possibly others.\n"
      "     Default estimates will be applied.\n"
      "\n"
      " ++> Warning: Missing fairlead data?\n"
      "\n"
      " ++> Warning: Missing turret centroid data?\n"
      " \n"
      " Press <RETURN> to continue: ";
  EXPECT_EQ(count_of(r.screen, findings), 1) << r.screen;
  EXPECT_EQ(count_of(r.screen, "++> "), 10);
  EXPECT_EQ(count_of(r.screen, "Page 23: End of Session"), 2);
  EXPECT_EQ(snapshot(dir_.path()).size(), 0u);
}

TEST_F(Pivlorn, DynamicsAndMemberPagesFollowTheirSwitches) {
  // Page 7: a disc-shaped vessel; page 9: feedback of the mooring forces,
  // which brings page 9b (the yaw period specified there). Then a
  // semisubmersible, which brings page 12: two members, the first shown.
  const RunResult r = run({"C", "J7", "11", "4", "", "", "13", "", "11", "25", "B", "F",
                           "J7", "11", "3", "J12", "1", "2", "", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(page_labels(r.screen), "1 7 7 8 9 9 9b 9b 9 1 7 7 12 12 23 ");
  EXPECT_NE(r.screen.find(" 12) Yaw period (sec) ...................................    25.00\n"), std::string::npos);
  EXPECT_NE(r.screen.find("  1) Member number:  1 of  2\n"), std::string::npos);

  const std::string data = slurp(dir_ / "PIVADAT");
  EXPECT_EQ(file_word(data, 779), 1);
  EXPECT_EQ(file_word(data, 785), 1);
  EXPECT_EQ(file_real(data, 1378), 25.0f);
  EXPECT_EQ(file_word(data, 790), 1);
  EXPECT_EQ(file_word(data, 3660), 2);
  EXPECT_EQ(page_labels(slurp(dir_ / "PIVAIN.stxt")), "1 6 7 8 9 9b 10 11 11b 12 13 16 17 18 19 20 21 22 ");
}

TEST_F(Pivlorn, SilentRunWithAFatalFindingWritesNoDataFile) {
  const RunResult r = run({"C", "L", "4"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.screen.ends_with(
      "\n ++> Fatal warnings stop the silent run: see \"Diagnostics.stxt\";\n"
      "     nothing was saved.\n"))
      << r.screen;
  EXPECT_NE(slurp(dir_ / "Diagnostics.stxt").find(" ++> Fatal Warning: The line length for line type 1, "),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "PIVADAT"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "PIVAIN.stxt"));
}

TEST_F(Pivlorn, ChainingRunsThePrintPassThenTheSimulationProgramOnce) {
  std::string data = create_and_save();
  data.replace(4 + 4 * 1866, 4, be32(1));  // the time-domain support on
  write_file(dir_ / "PIVADAT", data);
  const std::string bin = std::string(KELP_BINARY_DIR) + "/bin";
  const char* path = std::getenv("PATH");
  // A changed depth, then item 10: the pass, then finish with code 101
  // warns of the change; RETURN goes on to the chain.
  const RunResult r = run({"M", "4", "150", "L", "10", ""}, {{"PATH", bin + ":" + (path ? path : "")}});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find("10) Chain to Gustrevan"), std::string::npos);
  EXPECT_NE(r.screen.find(" Changes to PIVADAT, or LOWDAT, or the Gustrevan excursion disk diameter\n"),
            std::string::npos);
  EXPECT_NE(r.screen.find(" >>> Chaining to Gustrevan\n"), std::string::npos);
  EXPECT_EQ(count_of(r.screen, "Gustrevan stand-in\n"), 1);
  EXPECT_NE(slurp(dir_ / "Gustrevan.log").find("PIVADAT: 314548 bytes"), std::string::npos);
  EXPECT_EQ(slurp(dir_ / "PIVADAT"), data);  // chaining saves nothing
  EXPECT_TRUE(std::filesystem::exists(dir_ / "PIVAIN.stxt"));
}

TEST_F(Pivlorn, AfterAChainThatDidNotHappenTheSaveListsThePagesAgain) {
  // Item 10 prints the pages (depth 150), "A" at the chain warning brings the
  // page back; the depth is changed again and item 1 saves: the listing
  // shows what was saved.
  std::string data = create_and_save();
  data.replace(4 + 4 * 1866, 4, be32(1));
  write_file(dir_ / "PIVADAT", data);
  const RunResult r = run({"M", "4", "150", "L", "10", "A", "F", "4", "170", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_FLOAT_EQ(file_real(slurp(dir_ / "PIVADAT"), 445), 170.0f);
  const std::string listing = slurp(dir_ / "PIVAIN.stxt");
  EXPECT_EQ(count_of(listing, " 4) Site water depth:          170.00 feet"), 1) << listing;
  EXPECT_EQ(count_of(listing, "Page 1:"), 1);
}

TEST_F(Pivlorn, AListingThatCannotBeWrittenCostsNoSave) {
  // The file error names the listing; after its wait the save goes on.
  const std::string first = create_and_save();
  for (const bool fifo : {false, true}) {
    SCOPED_TRACE(fifo ? "FIFO" : "directory");
    fs::remove_all(dir_ / "PIVAIN.stxt");
    if (fifo) {
      ASSERT_EQ(::mkfifo((dir_ / "PIVAIN.stxt").c_str(), 0600), 0);
    } else {
      fs::create_directory(dir_ / "PIVAIN.stxt");
    }
    write_file(dir_ / "PIVADAT", first);
    const RunResult r = run({"M", "4", "150", "L", "1", ""});
    EXPECT_EQ(r.status, 0) << r.screen;
    EXPECT_NE(r.screen.find(" ++> File not found or file access error in pivlorn\n     File name: PIVAIN.stxt\n"),
              std::string::npos)
        << r.screen;
    EXPECT_FLOAT_EQ(file_real(slurp(dir_ / "PIVADAT"), 445), 150.0f);
    EXPECT_EQ(slurp(dir_ / "PIVABAK"), first);
  }
}

TEST_F(Pivlorn, AnOrdinaryUserKeepsWriteProtectionAndNeverOpensAFileToAGroup) {
  // As a user other than root: the access test of a write in place
  // protects a read-only file, although a rename would not ask (the edit
  // stays; item 2 and RETURN leave without it). A record whose group the
  // user is not in cannot keep that group, and so loses the group's bits.
  if (::geteuid() != 0) GTEST_SKIP() << "switching to another user needs root";
  constexpr int kNobody = 65534;
  const struct {
    const char* what;
    fs::perms mode;
    bool refused;
  } cases[] = {{"read-only", fs::perms(0444), true}, {"group-readable, root's group", fs::perms(0640), false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& e : fs::directory_iterator(dir_.path())) fs::remove(e.path());
    const std::string first = create_and_save();
    fs::permissions(dir_.path(), fs::perms::all);
    for (const auto& [name, bytes] : snapshot(dir_.path())) {
      ASSERT_EQ(::chown((dir_ / name).c_str(), kNobody, kNobody), 0);
    }
    ASSERT_EQ(::chown((dir_ / "PIVADAT").c_str(), kNobody, 0), 0);
    fs::permissions(dir_ / "PIVADAT", c.mode);
    Started p = start(program_path("pivlorn"), dir_.path(), script({"M", "4", "150", "L", "1", "", "2", ""}), {},
                      30, kNobody);
    const RunResult r = finish(p);
    EXPECT_EQ(r.status, 0) << r.screen << r.errors;
    EXPECT_EQ(r.screen.find(" ++> File not found or file access error in PIVLORN\n     File name: PIVADAT\n") !=
                  std::string::npos,
              c.refused)
        << r.screen;
    EXPECT_EQ(slurp(dir_ / "PIVADAT") == first, c.refused);
    EXPECT_EQ(fs::exists(dir_ / "PIVABAK"), !c.refused);
    if (c.refused) continue;
    for (const char* name : {"PIVADAT", "PIVABAK"}) {
      struct stat st {};
      ASSERT_EQ(::stat((dir_ / name).c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 0777, 0600u) << name;
      EXPECT_EQ(st.st_gid, static_cast<gid_t>(kNobody)) << name;
    }
  }
}

TEST_F(Pivlorn, AFailedSaveNamesTheEditorAndKeepsTheSession) {
  fs::create_directory(dir_ / "PIVADAT");
  const RunResult r = run({"C", "L", "1", "", "2", ""});
  EXPECT_EQ(r.status, 0) << r.screen;
  const auto at = r.screen.find(" ++> File not found or file access error in PIVLORN\n     File name: PIVADAT\n");
  ASSERT_NE(at, std::string::npos) << r.screen;
  EXPECT_NE(r.screen.find("Page 23: End of Session", at), std::string::npos);
  EXPECT_TRUE(fs::is_empty(dir_ / "PIVADAT"));
}

TEST_F(Pivlorn, EndOfInputLeavesEveryFileUntouched) {
  create_and_save();
  const auto before = snapshot(dir_.path());
  const std::vector<std::vector<std::string>> scripts = {
      {}, {"M"}, {"M", "4", "150"}, {"M", "4", "150", "L"}, {"M", "L", "3"}, {"M", "4", "150", "L", "2"}};
  for (const auto& replies : scripts) {
    SCOPED_TRACE(replies.size());
    const RunResult r = run(replies);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.screen.ends_with(" ++> End of input: session ended, nothing saved.\n")) << r.screen;
    EXPECT_EQ(snapshot(dir_.path()), before);
  }
}

TEST_F(Pivlorn, IrregularSeasOfOneSeaStateOnPage18) {
  // Irregular waves on, a heading of 30 degrees, then a save: one heading
  // and one case whatever the new record held.
  const RunResult r = run({"C", "J18", "1", "4", "30", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(page_labels(r.screen), "1 18 18 18 23 ");
  EXPECT_NE(r.screen.find("  4) Wave heading:    30.00 degrees\n"), std::string::npos);

  const std::string data = slurp(dir_ / "PIVADAT");
  EXPECT_EQ(file_word(data, 171), 1);
  EXPECT_EQ(file_real(data, 713), 30.0f);
  EXPECT_EQ(file_word(data, 169), 1);
  EXPECT_EQ(file_word(data, 170), 1);
}

TEST_F(Pivlorn, AnOlderFileIsUpgradedWithItsNotesAndSavedAtTheCurrentVersion) {
  std::string data = create_and_save();
  // Version 5.0: the upgrader of the single-point mooring runs its steps
  // from there on; the fairlead layout is already the current one.
  data.replace(4 + 4 * 216, 4, be32(std::bit_cast<std::uint32_t>(5.0f)));
  write_file(dir_ / "PIVADAT", data);
  std::vector<std::string> replies{"M"};
  replies.insert(replies.end(), 12, "");  // the change notes' waits, then pages
  replies.insert(replies.end(), {"L", "1"});
  const RunResult r = run(replies);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find(" ++> Dry weight specification now required for moorings.\n"), std::string::npos);
  EXPECT_NE(slurp(dir_ / "DATUPWRN.stxt").find("**** Data File Changes Since Version  5.00: ****"), std::string::npos);
  const std::string saved = slurp(dir_ / "PIVADAT");
  ASSERT_EQ(saved.size(), kPivadatBytes);
  EXPECT_FLOAT_EQ(std::fabs(file_real(saved, 216)), 6.8f);
  EXPECT_TRUE(slurp(dir_ / "PIVABAK") == data);
}


}  // namespace
}  // namespace kelp::e2e
