// pivlorn end to end with files under stress: a damaged "LOWDAT", a current
// file still laid out for 49 fairleads, a simulation program that cannot be
// started, and two sessions saving in one directory at once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/e2e_util.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kLowdat = encode_record(std::vector<std::int32_t>(680, 0));

class PivlornFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(program_path("pivlorn"))) FAIL() << "pivlorn is not built: " << program_path("pivlorn");
    // A saved record and a whole, empty "LOWDAT" beside it.
    ASSERT_EQ(run({"C", "L", "1"}).status, 0);
    write_file(dir_ / "LOWDAT", kLowdat);
    saved_ = slurp(dir_ / "PIVADAT");
  }
  RunResult run(const std::vector<std::string>& replies,
                const std::vector<std::pair<std::string, std::string>>& env = {}) {
    return e2e::run(dir_, "pivlorn", script(replies), env);
  }

  TempDir dir_;
  std::string saved_;
};

TEST_F(PivlornFiles, ADamagedLowdatIsNamedAndAsked) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* damage;
  };
  std::string markers = kLowdat;
  markers.replace(markers.size() - 4, 4, be32(0));
  const Case cases[] = {
      {"cut to 100 bytes", kLowdat.substr(0, 100), "it holds 100 bytes, not the 2728 of one record of 680 words."},
      {"2,732 bytes", kLowdat + be32(0), "it holds 2732 bytes, not the 2728 of one record of 680 words."},
      {"3 bytes, no marker", kLowdat.substr(0, 3), "it holds 3 bytes, not the 2728 of one record of 680 words."},
      {"empty", "", "it is empty."},
      {"a record of 681 words", encode_record(std::vector<std::int32_t>(681, 0)),
       "its record marker is not that of 680 words."},
      {"a wrong trailing marker", markers, "its two record markers differ."},
  };
  // What the screen and the warning report say of a damaged file.
  const auto lines = [](const Case& c) {
    return std::string(" ++> LOWDAT file damaged: ") + c.damage +
           "\n     User-specified environmental coefficient tables will be empty.\n";
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write_file(dir_ / "LOWDAT", c.bytes);
    const RunResult r = run({"M", "A"});
    EXPECT_EQ(r.status, 1) << r.screen;
    EXPECT_NE(r.screen.find(lines(c)), std::string::npos) << r.screen;
    EXPECT_EQ(slurp(dir_ / "DATUPWRN.stxt"), lines(c));
    EXPECT_EQ(slurp(dir_ / "LOWDAT"), c.bytes);
    EXPECT_EQ(slurp(dir_ / "PIVADAT"), saved_);
  }

  // Replies that end at the question: the report of this load replaces an
  // older one, and nothing else is written.
  write_file(dir_ / "DATUPWRN.stxt", "an older report\n");
  write_file(dir_ / "LOWDAT", cases[0].bytes);
  auto files = snapshot(dir_.path().string());
  const RunResult ended = run({"M"});
  EXPECT_EQ(ended.status, 1) << ended.screen;
  files["DATUPWRN.stxt"] = lines(cases[0]);
  EXPECT_EQ(snapshot(dir_.path().string()), files);

  // RETURN goes on with empty tables; the save keeps the damaged file as
  // the backup.
  write_file(dir_ / "LOWDAT", kLowdat.substr(0, 100));
  const RunResult r = run({"M", "", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(slurp(dir_ / "LOWBAK"), kLowdat.substr(0, 100));
  EXPECT_EQ(slurp(dir_ / "LOWDAT").size(), kLowdat.size());

  // 680 bare words load as they stand, a wind count of 2,720 in the first
  // word included: no question; the save keeps them as the backup and
  // writes them as one record, the count held to 21 rows by the listing.
  std::vector<std::int32_t> planted(680, 7);
  planted[0] = 2720;
  const std::string bare = encode_record(planted).substr(4, 2720);
  write_file(dir_ / "LOWDAT", bare);
  const RunResult loaded = run({"M", "L", "1"});
  EXPECT_EQ(loaded.status, 0) << loaded.screen;
  EXPECT_EQ(loaded.screen.find("LOWDAT file damaged"), std::string::npos) << loaded.screen;
  EXPECT_EQ(slurp(dir_ / "LOWBAK"), bare);
  planted[0] = 21;
  EXPECT_EQ(slurp(dir_ / "LOWDAT"), encode_record(planted));
}

TEST_F(PivlornFiles, ACurrentFileOfTheOldFairleadLayoutIsResized) {
  // Version 6.8 with word 14 at 49: the tables are still those of 49
  // fairleads, so the upgrader runs with its fairlead note alone. Old word
  // 600 moves 200 words on, as every table of the vessel block does.
  std::string data = saved_;
  data.replace(4 + 4 * 14, 4, be32(49));
  data.replace(4 + 4 * 600, 4, be32(4242));
  write_file(dir_ / "PIVADAT", data);
  const RunResult r = run({"M", "", "", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  const auto heading = r.screen.find("**** Data File Changes Since Version  6.80: ****");
  ASSERT_NE(heading, std::string::npos) << r.screen;
  EXPECT_EQ(count_of(r.screen.substr(heading), " ++> "), 1);
  EXPECT_NE(r.screen.find("\n ++> Data file resized for 149 fairleads\n", heading), std::string::npos);
  const std::string after = slurp(dir_ / "PIVADAT");
  EXPECT_EQ(file_word(after, 14), 149);
  EXPECT_EQ(file_word(after, 800), 4242);
  EXPECT_EQ(file_word(after, 600), 0);
}

TEST_F(PivlornFiles, AChainComesBackToTheEndOfSessionPageOnlyWhenGustrevanCannotStart) {
  std::string data = saved_;
  data.replace(4 + 4 * 1866, 4, be32(1));  // chaining offered
  // An empty PATH directory, Gustrevans that cannot be started, and those
  // that start (one exits 127 itself): a chain that starts ends the session.
  const struct {
    const char* what;
    const char* script;  // nullptr: no Gustrevan
    bool executable;     // else read and write permission only
    bool runs;
  } cases[] = {{"not found", nullptr, false, false},
               {"not executable", "#!/bin/sh\n", false, false},
               {"interpreter missing", "#!/nonexistent/sh\n", true, false},
               {"no #! line", "exit 0\n", true, true},
               {"found, exits 127", "#!/bin/sh\nexit 127\n", true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir bin;
    if (c.script) {
      write_file(bin / "Gustrevan", c.script);
      fs::permissions(bin / "Gustrevan",
                      c.executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
    }
    write_file(dir_ / "PIVADAT", data);
    // A changed depth, item 10, RETURN at the chain warning; after the
    // message and its wait the page is back, and item 1 saves the edit (a
    // chain that runs ends the session first).
    const RunResult r = run({"M", "4", "150", "L", "10", "", "", "1"}, {{"PATH", bin.path().string()}});
    EXPECT_EQ(r.status, 0) << r.screen;
    EXPECT_EQ((r.screen + r.errors).find("1: Gustrevan: "), std::string::npos) << r.errors;  // no shell complaint
    const auto chained = r.screen.find(" >>> Chaining to Gustrevan\n");
    ASSERT_NE(chained, std::string::npos) << r.screen;
    const auto at = r.screen.find(
        "\n ++> Gustrevan could not be started: not found on the PATH, or not executable.\n \n"
        " Press <RETURN> to continue: ");
    if (c.runs) {
      EXPECT_EQ(at, std::string::npos) << r.screen;
      EXPECT_EQ(r.screen.find("Page 23: End of Session", chained), std::string::npos) << r.screen;
      EXPECT_EQ(slurp(dir_ / "PIVADAT"), data);
      continue;
    }
    ASSERT_NE(at, std::string::npos) << r.screen;
    EXPECT_NE(r.screen.find("Page 23: End of Session", at), std::string::npos);
    EXPECT_FLOAT_EQ(file_real(slurp(dir_ / "PIVADAT"), 445), 150.0f);
    EXPECT_EQ(slurp(dir_ / "PIVABAK"), data);
  }
}

// What a started program has shown so far (read without moving the offset
// it writes at).
std::string shown_so_far(const Started& p) {
  std::string out;
  char buf[4096];
  for (ssize_t n = 0; (n = ::pread(::fileno(p.out), buf, sizeof buf, static_cast<off_t>(out.size()))) > 0;) {
    out.append(buf, static_cast<std::size_t>(n));
  }
  return out;
}

TEST_F(PivlornFiles, TwoSessionsSavingAtOnceKeepEachEditInAGeneration) {
  // The test holds the lock of the folder the record lives in, so both
  // sessions, having loaded the same record, stand at their save together,
  // each saying why (naming the folder where the record is linked from
  // another); when it lets go they save one after the other, the later one
  // after a RETURN to the warning that it replaces the other's save. Also
  // when the second session works in another folder whose files link to
  // the record, and in a folder its user may write but not read (as an
  // ordinary user: root reads every folder).
  const std::string waiting = "\n ++> Another session is saving in ";
  const struct {
    const char* what;
    bool linked;
    bool unreadable_folder;
  } cases[] = {{"one folder", false, false}, {"linked from another", true, false}, {"a 0333 folder", false, true}};
  const int user = ::geteuid() == 0 ? 65534 : -1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const char* name : {"PIVABAK", "LASTBAK"}) fs::remove(dir_ / name);
    write_file(dir_ / "PIVADAT", saved_);
    TempDir other;
    if (c.linked) {
      fs::create_symlink(dir_ / "PIVADAT", other / "PIVADAT");
      fs::create_symlink(dir_ / "LOWDAT", other / "LOWDAT");
    }
    auto held = testing::lock_of(dir_.path());
    ASSERT_TRUE(held);
    if (c.unreadable_folder) {
      for (const auto& e : fs::directory_iterator(dir_.path())) {
        ASSERT_EQ(user < 0 || ::chown(e.path().c_str(), user, user) == 0, true);
      }
      ASSERT_EQ(user < 0 || ::chown(dir_.path().c_str(), user, user) == 0, true);
      fs::permissions(dir_.path(), fs::perms(0333));
    }
    const int as = c.unreadable_folder ? user : -1;
    Started first = start(program_path("pivlorn"), dir_.path(), script({"M", "4", "150", "L", "1", ""}), {}, 30, as);
    Started second = start(program_path("pivlorn"), c.linked ? other.path() : dir_.path(),
                           script({"M", "4", "160", "L", "1", ""}), {}, 30, as);
    bool both_wait = false;
    for (int k = 0; k < 2000 && !both_wait; ++k) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      both_wait = count_of(shown_so_far(first), waiting) == 1 && count_of(shown_so_far(second), waiting) == 1;
    }
    held.reset();
    const RunResult a = finish(first);
    const RunResult b = finish(second);
    fs::permissions(dir_.path(), fs::perms::owner_all);
    ASSERT_TRUE(both_wait) << a.screen << b.screen;
    EXPECT_EQ(a.status, 0) << a.screen;
    EXPECT_EQ(b.status, 0) << b.screen;
    EXPECT_EQ(count_of(a.screen + b.screen, "\n PIVADAT was changed on disk after this session loaded"), 1);
    // Each edit is in the record or a backup (the backups of the linked
    // session are beside it).
    std::set<float> edits;
    for (const std::string& name : {dir_ / "PIVADAT", dir_ / "PIVABAK", other / "PIVABAK"}) {
      if (fs::exists(name)) edits.insert(file_real(slurp(name), 445));
    }
    EXPECT_TRUE(edits.contains(150.0f) && edits.contains(160.0f));
    EXPECT_TRUE(c.linked || slurp(dir_ / "LASTBAK") == saved_);
  }
}

}  // namespace
}  // namespace kelp::e2e
