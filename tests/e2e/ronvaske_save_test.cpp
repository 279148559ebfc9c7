// End-to-end runs of ronvaske through the End of Session page: saving with
// the backup cascade, exit without saving, execute with the print pass, the
// silent run, failed saves, and that the disc-buoy editor never chains.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "e2e/e2e_util.hpp"
#include "expected_screens.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;
using kelp::testing::kDiscEndOfSessionPage;

class RonvaskeSave : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(program_path("ronvaske"))) FAIL() << "ronvaske is not built: " << program_path("ronvaske");
  }
  RunResult run(const std::string& replies, const std::vector<std::pair<std::string, std::string>>& env = {}) {
    return e2e::run(dir_, "ronvaske", replies, env);
  }
  // A new record saved with item 1.
  std::string create_and_save() {
    const RunResult r = run(script({"C", "L", "1"}));
    EXPECT_EQ(r.status, 0) << r.screen;
    return slurp(dir_ / "RONDDAT");
  }
  // Loads the file, sets the water depth (page 1, item 4) and saves.
  RunResult modify_and_save(const std::string& depth) { return run(script({"M", "4", depth, "L", "1"})); }

  TempDir dir_;
};

TEST_F(RonvaskeSave, CreateGoToTheLastPageSaveAndExit) {
  const RunResult r = run(script({"C", "L", "1"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(r.timed_out);
  EXPECT_NE(r.screen.find("**   Welcome to Rondixa   **"), std::string::npos);
  EXPECT_NE(r.screen.find(" (M) Modify existing, (C) Create new, (E) Execute simulation, (B) Batch modify\n"),
            std::string::npos);
  // The page is the last thing shown; item 1 ends the session without a word.
  ASSERT_GE(r.screen.size(), std::strlen(kDiscEndOfSessionPage));
  EXPECT_EQ(r.screen.substr(r.screen.size() - std::strlen(kDiscEndOfSessionPage)), kDiscEndOfSessionPage);
  EXPECT_EQ(r.errors, "");

  const std::string data = slurp(dir_ / "RONDDAT");
  ASSERT_EQ(data.size(), 7956u);
  EXPECT_EQ(data.substr(0, 4), std::string("\x00\x00\x1F\x0C", 4));
  EXPECT_EQ(data.substr(7952, 4), std::string("\x00\x00\x1F\x0C", 4));
  EXPECT_EQ(file_word(data, 0), 1987);
  EXPECT_EQ(file_word(data, 1), 4);
  EXPECT_EQ(file_real(data, 216), 6.8f);
  EXPECT_EQ(data.substr(4 + 4 * 216, 4), std::string("\x40\xD9\x99\x9A", 4));
  EXPECT_EQ(file_word(data, 699), 0);  // finish clears the code before saving
  EXPECT_EQ(file_word(data, 701), 0);
  EXPECT_EQ(file_word(data, 162), 0);
  // Only the data file: a new record has no backups. The save's lock file
  // stays beside it, empty.
  EXPECT_EQ(snapshot(dir_.path()).size(), 1u);
  EXPECT_EQ(fs::file_size(dir_ / std::string(kLockFileName)), 0u);
}

TEST_F(RonvaskeSave, SavesMoveTheGenerationsThroughTheBackups) {
  const std::string first = create_and_save();
  ASSERT_EQ(first.size(), 7956u);

  RunResult r = modify_and_save("100");
  ASSERT_EQ(r.status, 0) << r.screen;
  const std::string second = slurp(dir_ / "RONDDAT");
  EXPECT_EQ(slurp(dir_ / "RONDBAK"), first);
  EXPECT_NE(second, first);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "LASTBAK"));

  r = modify_and_save("200");
  ASSERT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(slurp(dir_ / "LASTBAK"), first);
  EXPECT_EQ(slurp(dir_ / "RONDBAK"), second);
  EXPECT_EQ(slurp(dir_ / "RONDDAT").size(), 7956u);
  EXPECT_EQ(snapshot(dir_.path()).size(), 3u);  // no temporary left behind
}

TEST_F(RonvaskeSave, UnchangedSaveWritesNothing) {
  create_and_save();
  const auto before = snapshot(dir_.path());
  const RunResult r = run(script({"M", "L", "1"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(snapshot(dir_.path()), before);
}

TEST_F(RonvaskeSave, ExitWithoutUpdatingAfterAChangeAbortedThenConfirmed) {
  create_and_save();
  const auto before = snapshot(dir_.path());
  // Change, choose 2, answer "A" (back to the final page), choose 2 again
  // and confirm with RETURN.
  const RunResult r = run(script({"M", "4", "300", "L", "2", "A", "2", ""}));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(count_of(r.screen,
                     " This action will result in the loss of data changes to RONDDAT or LOWDAT\n"
                     " made during this editing session. If you wish to \"Abort\" this\n"
                     " decision and reinspect your data, enter \"A\" below.\n"),
            2);
  EXPECT_EQ(count_of(r.screen, "End of Session"), 2);
  EXPECT_EQ(snapshot(dir_.path()), before);
}

TEST_F(RonvaskeSave, ExitWithoutUpdatingUnchangedAsksNothing) {
  create_and_save();
  const auto before = snapshot(dir_.path());
  const RunResult r = run(script({"M", "L", "2"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.screen.find(">>> WARNING <<<"), std::string::npos);
  EXPECT_EQ(snapshot(dir_.path()), before);
}

TEST_F(RonvaskeSave, CodesTheFinalPageDoesNotOfferShowItAgain) {
  const RunResult r = run(script({"C", "L", "M", "C", "D", "I", "X", "8", "9", "10", "2", ""}));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(count_of(r.screen, "End of Session"), 9);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "RONDDAT"));
}

TEST_F(RonvaskeSave, ExecuteWritesTheListingSavesAndShowsTheSubmissionNote) {
  const RunResult r = run(sound_buoy_script({"L", "3", ""}));
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(slurp(dir_ / "RONDDAT").size(), 7956u);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "RONDIN.stxt"));
  EXPECT_NE(slurp(dir_ / "RONDIN.stxt").find("Welcome to Rondixa"), std::string::npos);
  EXPECT_EQ(r.errors,
            "                   >>> Brenvik Editor Software <<<\n\n\n"
            "          This data file passed preliminary error checks;\n"
            "             it is ready for submission to the server.\n \n");
  EXPECT_EQ(r.screen.substr(r.screen.size() - 29), " Press <RETURN> to continue: ");
}

TEST_F(RonvaskeSave, NewRecordShowsItsFindingsThenExecutesOnceFixed) {
  // Execute at once: a new record lacks the buoy's particulars and the water
  // depth. After the wait the End of Session page comes back; F leads to the
  // pages, which are filled in, and execute then goes through.
  std::vector<std::string> replies = {"C", "L", "3", "", "F"};
  for (const auto& l : sound_buoy_pages()) replies.push_back(l);
  replies.insert(replies.end(), {"L", "3", ""});
  const RunResult r = run(script(replies));
  EXPECT_EQ(r.status, 0) << r.screen;
  const std::string findings = std::string(kelp::testing::kNewRecordVesselFindings) +
                               " \n"
                               " Press <RETURN> to continue: ";
  EXPECT_EQ(count_of(r.screen, findings), 1) << r.screen;
  EXPECT_EQ(count_of(r.screen, "++> "), 6);
  EXPECT_EQ(slurp(dir_ / "RONDDAT").size(), 7956u);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "RONDIN.stxt"));
  EXPECT_NE(r.errors.find("it is ready for submission to the server."), std::string::npos);
}

TEST_F(RonvaskeSave, SilentRunWritesTheReportAndSaves) {
  const RunResult r = run(sound_buoy_script({"L", "4", ""}));
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_TRUE(std::filesystem::exists(dir_ / "Diagnostics.stxt"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "RONDIN.stxt"));
  EXPECT_EQ(slurp(dir_ / "RONDDAT").size(), 7956u);
  EXPECT_NE(r.errors.find("it is ready for submission to the server."), std::string::npos);
}

TEST_F(RonvaskeSave, PrintPassOfItemFiveComesBackToThePage) {
  const RunResult r = run(script({"C", "L", "5", "2", ""}));
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_TRUE(std::filesystem::exists(dir_ / "RONDIN.stxt"));
  EXPECT_EQ(count_of(r.screen, "End of Session"), 2);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "RONDDAT"));  // the listing does not save
}

TEST_F(RonvaskeSave, FailedDataFileReplaceKeepsTheSessionAtTheFinalPage) {
  // A directory where the data file should go: it cannot be replaced.
  fs::create_directory(dir_ / "RONDDAT");
  const RunResult r = run(script({"C", "L", "1", "", "2", ""}));
  EXPECT_EQ(r.status, 0) << r.screen;
  const std::string message =
      "\n ++> File not found or file access error in ronvaske\n     File name: RONDDAT\n"
      "     Reason: not a regular file\n \n"
      " Press <RETURN> to continue: ";
  const auto at = r.screen.find(message);
  ASSERT_NE(at, std::string::npos) << r.screen;
  EXPECT_NE(r.screen.find("End of Session", at), std::string::npos);  // back at the final page
  EXPECT_TRUE(fs::is_directory(dir_ / "RONDDAT"));
  EXPECT_TRUE(fs::is_empty(dir_ / "RONDDAT"));
  EXPECT_EQ(snapshot(dir_.path()).size(), 0u);
}

TEST_F(RonvaskeSave, FailedBackupKeepsTheOldFilesIntact) {
  const std::string first = create_and_save();
  fs::create_directory(dir_ / "RONDBAK");  // the old data file cannot move here
  const RunResult r = run(script({"M", "4", "100", "L", "1", "", "2", ""}));
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find("     File name: RONDBAK\n"), std::string::npos);
  EXPECT_EQ(slurp(dir_ / "RONDDAT"), first);
  EXPECT_TRUE(fs::is_directory(dir_ / "RONDBAK"));
  EXPECT_EQ(snapshot(dir_.path()).size(), 1u);  // RONDDAT only, no temporary
}

TEST_F(RonvaskeSave, ABackupThatFindsTheDiskFullSaysSo) {
  // The data file and a filler on a file system of 16 KiB (in a mount
  // namespace of its own) leave no room for the backup; with a larger
  // filler, none for the silent run's report at its end, whose findings
  // then come to the screen, and the run ends as on a file error.
  if (std::system("unshare -rm true 2>/dev/null") != 0) {
    GTEST_SKIP() << "needs unshare and user namespaces for a small file system of its own";
  }
  const std::string first = create_and_save();
  const struct {
    const char* filler;
    std::vector<std::string> replies;
    int status;
    std::string said;
  } cases[] = {{"4096", {"M", "4", "100", "L", "1", "", "2", ""}, 0,
                "     File name: RONDBAK\n     Reason: no room left on the disk\n"},
               {"8192", {"M", "L", "4"}, 2,
                "     File name: Diagnostics.stxt\n     Reason: no room left on the disk\n \n\n ++> Warning: A vessel GM"}};
  for (const auto& c : cases) {
    fs::remove_all(dir_ / "small");
    fs::create_directory(dir_ / "small");
    write_file(dir_ / "on-small-disk", "#!/bin/sh\nexec unshare -rm sh -c 'mount -t tmpfs -o size=16k none small && cp "
                                       "RONDDAT small/ && head -c " + std::string(c.filler) +
                                           " /dev/zero >small/filler && cd small && exec \"$0\"' " +
                                           program_path("ronvaske") + "\n");
    fs::permissions(dir_ / "on-small-disk", fs::perms::owner_all);
    const RunResult r = e2e::run(dir_ / "on-small-disk", dir_.path(), script(c.replies));
    EXPECT_EQ(r.status, c.status) << r.screen;
    EXPECT_NE(r.screen.find(c.said), std::string::npos) << r.screen;
    EXPECT_EQ(slurp(dir_ / "RONDDAT"), first);
  }
}

TEST_F(RonvaskeSave, AReportThatCannotBeWrittenCostsNoEdit) {
  // Print (5), execute (3, whose print pass writes the listing) and the
  // silent run (4) each need a report file. One that cannot be created gets
  // the file error (the silent run's report: and that the run did not
  // start; the listing of a silent run: in its report too). For print and
  // the silent run's report the page comes back and item 1 still saves the
  // edit; the listing of a run's pass costs the run nothing: it goes on and
  // saves (its RETURN answers the note).
  struct Case {
    const char* blocked;
    bool fifo;
    const char* item;
    const char* caller;
    bool page_back = true;
  };
  const Case cases[] = {
      {"RONDIN.stxt", false, "5", "ronvaske"},       {"RONDIN.stxt", false, "3", "ronvaske", false},
      {"RONDIN.stxt", false, "4", "ronvaske", false}, {"Diagnostics.stxt", false, "4", "Fintop"},
      {"RONDIN.stxt", true, "5", "ronvaske"},        {"Diagnostics.stxt", true, "4", "Fintop"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.blocked) + (c.fifo ? " FIFO, item " : " directory, item ") + c.item);
    TempDir dir;
    const std::string blocked = dir / c.blocked;
    if (c.fifo) {
      ASSERT_EQ(::mkfifo(blocked.c_str(), 0600), 0);
    } else {
      fs::create_directory(blocked);
    }
    // The sound record passes the checks, so execute and the silent run go
    // straight to their report files.
    const RunResult r = e2e::run(dir, "ronvaske", sound_buoy_script({"L", c.item, "", "1"}));
    EXPECT_EQ(r.status, 0) << r.screen;
    const std::string message = std::string(" ++> File not found or file access error in ") + c.caller +
                                "\n     File name: " + c.blocked +
                                "\n     Reason: not a regular file\n \n" +
                                (c.caller == std::string("Fintop")
                                     ? " ++> The silent run did not start: nothing was saved.\n \n"
                                     : "") +
                                " Press <RETURN> to continue: ";
    const auto at = r.screen.find(message);
    ASSERT_NE(at, std::string::npos) << r.screen;
    EXPECT_EQ(r.screen.find("End of Session", at) != std::string::npos, c.page_back);
    // The silent run's report names the listing it could not write.
    const bool listing_of_run = std::string(c.item) == "4" && std::string(c.blocked) == "RONDIN.stxt";
    const std::string report = fs::is_regular_file(dir / "Diagnostics.stxt") ? slurp(dir / "Diagnostics.stxt") : "";
    EXPECT_EQ(report.find("     File name: RONDIN.stxt\n     Reason: not a regular file\n") != std::string::npos,
              listing_of_run);
    EXPECT_FLOAT_EQ(file_real(slurp(dir / "RONDDAT"), 445), 100.0f);
    EXPECT_NE(fs::symlink_status(blocked).type(), fs::file_type::regular);
  }
}

TEST_F(RonvaskeSave, EndOfInputOnTheFinalPageWritesNothing) {
  const RunResult r = run(script({"C", "L"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.screen.find(" ++> End of input: session ended, nothing saved.\n"), std::string::npos);
  EXPECT_EQ(snapshot(dir_.path()).size(), 0u);
}

TEST_F(RonvaskeSave, EndOfInputAtTheSubmissionNoteNamesTheSavedFile) {
  // The record is saved before the note's wait; running out of replies there
  // must not leave the user believing nothing was saved.
  const RunResult r = run(sound_buoy_script({"L", "E"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.screen.ends_with("\n ++> End of input: session ended; saved before it: RONDDAT\n")) << r.screen;
  EXPECT_EQ(r.screen.find("nothing saved"), std::string::npos)
      << r.screen;
  EXPECT_EQ(slurp(dir_ / "RONDDAT").size(), 7956u);
}

TEST_F(RonvaskeSave, DiscBuoyEditorNeverChains) {
  const std::string bin = std::string(KELP_BINARY_DIR) + "/bin";
  const char* path = std::getenv("PATH");
  const RunResult r = run(script({"C", "L", "10", "2", ""}), {{"PATH", bin + ":" + (path ? path : "")}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.screen.find("Chain to Gustrevan"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Gustrevan.log"));
}

}  // namespace
}  // namespace kelp::e2e
