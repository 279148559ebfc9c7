#include "edlib/saving.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "edlib/kind_dispatch.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"
#include "test_identity.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;
namespace fs = std::filesystem;

// Each test runs in its own empty working directory.
class InTempDir : public testing::InTempDir {
 protected:
  std::set<std::string> files() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }
};

// A file layer that fails one step for one target: creating its temporary,
// writing to it (a full disk: the temporary is made, no byte lands), or
// renaming onto it.
struct FaultyFiles : FileSystem {
  enum Step { kNone, kCreate, kWrite, kRename } step = kNone;
  std::string target;
  std::unique_ptr<std::ostream> create_new(const std::string& path) override {
    const bool hit = path.starts_with(target + ".kelp");
    if (hit && step == kCreate) return nullptr;
    auto made = FileSystem::create_new(path);
    if (made && hit && step == kWrite) return std::make_unique<std::ofstream>("/dev/full");
    return made;
  }
  bool rename(const std::string& from, const std::string& to) override {
    return !(step == kRename && to == target) && FileSystem::rename(from, to);
  }
};

Identity disc_identity() { return testing::ronvaske_identity(); }

Identity mooring_identity() {
  Identity id = disc_identity();
  id.editor_name = "pivlorn     ";
  id.data_file = "PIVADAT     ";
  id.backup_file = "PIVABAK     ";
  id.kind = 15;
  return id;
}

// A record as the loader leaves it, and its load-time copy.
void load(Session& s, LoadTimeCopy& copy, int kind, int nwords, int data_status, int low_status = 1) {
  s.tpcm.clear();
  s.tpcm.i(0) = nwords;
  s.tpcm.i(1) = kind;
  s.tpcm.set_r(216, 6.8f);
  s.tpcm.i(5) = 2;  // stamped with the run mode, as finish stores it
  s.tpcm.i(6) = 2;
  for (int k = 0; k < 680; ++k) s.lowcof.i(static_cast<std::size_t>(k)) = 1000 + k;
  std::copy(s.tpcm.words().begin(), s.tpcm.words().end(), copy.record.begin());
  copy.low.assign(s.lowcof.words().begin(), s.lowcof.words().end());
  copy.data_status = data_status;
  copy.low_status = low_status;
}

std::string be(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 8) & 0xFF),
          static_cast<char>(v & 0xFF)};
}

// ---- The backup cascade ----

using Saving = InTempDir;

TEST_F(Saving, NewRecordWritesOnlyTheDataFileInTheKindsSize) {
  ScriptedSession t;
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, /*data_status=*/1);
  t.s.tpcm.i(300) = 12345;  // an edit
  t.s.tpcm.i(699) = -2;
  EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 0);

  EXPECT_EQ(files(), std::set<std::string>{"RONDDAT"});
  const std::string bytes = read("RONDDAT");
  ASSERT_EQ(bytes.size(), 7956u);  // 4 + 1,987 x 4 + 4
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x00\x1F\x0C", 4));
  EXPECT_EQ(bytes.substr(7952, 4), std::string("\x00\x00\x1F\x0C", 4));
  EXPECT_EQ(bytes.substr(4, 4), be(1987));
  EXPECT_EQ(bytes.substr(8, 4), be(4));
  EXPECT_EQ(bytes.substr(4 + 4 * 216, 4), std::string("\x40\xD9\x99\x9A", 4));  // 6.8f
  EXPECT_EQ(bytes.substr(4 + 4 * 300, 4), be(12345));
  EXPECT_EQ(copy.data_status, 0);
  EXPECT_EQ(t.s.tpcm.i(699), 0);
  EXPECT_EQ(t.s.tpcm.i(5), 2);
}

TEST_F(Saving, ShortFileIsWrittenBackInTheKindsSizeNeverTheFoundCount) {
  ScriptedSession t;
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, /*data_status=*/4);  // the file held fewer words
  write("RONDDAT", std::string(400, 'x'));
  t.s.tpcm.i(10) = 1;
  t.s.tpcm.i(699) = -2;
  finish(t.s, disc_identity(), copy, FinishArgs{});
  EXPECT_EQ(read("RONDDAT").size(), 7956u);
  EXPECT_EQ(read("RONDBAK"), std::string(400, 'x'));  // the old file, byte for byte
}

TEST_F(Saving, SecondAndThirdSaveMoveTheGenerationsWhole) {
  ScriptedSession t;
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 1);
  t.s.tpcm.i(300) = 1;
  t.s.tpcm.i(699) = -2;
  finish(t.s, disc_identity(), copy, FinishArgs{});
  const std::string first = read("RONDDAT");

  // A new session on the saved file.
  load(t.s, copy, 4, 1987, 0);
  t.s.tpcm.i(300) = 2;
  t.s.tpcm.i(699) = -2;
  finish(t.s, disc_identity(), copy, FinishArgs{});
  const std::string second = read("RONDDAT");
  EXPECT_EQ(read("RONDBAK"), first);
  EXPECT_FALSE(fs::exists("LASTBAK"));

  load(t.s, copy, 4, 1987, 0);
  t.s.tpcm.i(300) = 3;
  t.s.tpcm.i(699) = -2;
  finish(t.s, disc_identity(), copy, FinishArgs{});
  EXPECT_EQ(read("LASTBAK"), first);
  EXPECT_EQ(read("RONDBAK"), second);
  EXPECT_EQ(read("RONDDAT").substr(4 + 4 * 300, 4), be(3));
  EXPECT_EQ(files(), (std::set<std::string>{"LASTBAK", "RONDBAK", "RONDDAT"}));
}

TEST_F(Saving, LowdatGenerationsAreWholeCopiesForMooredKinds) {
  // LOWDAT has no count word: a re-read of "LOWBAK" would take its markers
  // as words. The generations must be the files as they were.
  ScriptedSession t;
  LoadTimeCopy copy;
  load(t.s, copy, 15, 78635, 0, 0);
  const std::string old_low = encode_record(copy.low);
  std::vector<std::int32_t> older(680, 7);
  const std::string old_lowbak = encode_record(older);
  write("LOWDAT", old_low);
  write("LOWBAK", old_lowbak);
  t.s.lowcof.i(5) = -9;
  t.s.tpcm.i(699) = -2;
  FinishArgs args;
  args.record_size = 78635;
  EXPECT_EQ(finish(t.s, mooring_identity(), copy, args), 0);
  EXPECT_EQ(read("LASTLOW"), old_lowbak);
  EXPECT_EQ(read("LOWBAK"), old_low);
  const std::string now = read("LOWDAT");
  ASSERT_EQ(now.size(), 2728u);
  EXPECT_EQ(now.substr(0, 4), be(2720));
  EXPECT_EQ(now.substr(4 + 4 * 5, 4), be(static_cast<std::uint32_t>(-9)));
  EXPECT_FALSE(fs::exists("PIVADAT"));  // the record did not change
}

TEST_F(Saving, LowcofChangesCountOnlyAboveKindTen) {
  ScriptedSession t;
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 1);
  t.s.lowcof.i(5) = -9;
  t.s.tpcm.i(699) = -2;
  finish(t.s, disc_identity(), copy, FinishArgs{});
  EXPECT_TRUE(files().empty());
}

TEST_F(Saving, UnchangedSessionWritesNothing) {
  ScriptedSession t;
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 0);
  write("RONDDAT", "old");
  t.s.tpcm.i(699) = -2;
  EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 0);
  EXPECT_EQ(files(), std::set<std::string>{"RONDDAT"});
  EXPECT_EQ(read("RONDDAT"), "old");
}

// ---- Failed saves ----

TEST_F(Saving, AFailedSaveKeepsEveryFileAndTheEditAndLeavesNoTemporary) {
  // A step of the file layer fails, or a target is no regular file: a
  // directory (also one that took the data file's place during the session),
  // a FIFO, a device. Nothing moves before every generation is ready.
  using Plant = std::function<void(const std::string&)>;
  const Plant dir = [](const std::string& n) { fs::create_directory(n); };
  const Plant fifo = [](const std::string& n) { ASSERT_EQ(::mkfifo(n.c_str(), 0600), 0); };
  const Plant device = [](const std::string& n) { fs::create_symlink("/dev/null", n); };
  struct Case {
    std::string target;
    FaultyFiles::Step step;
    Plant plant;
  };
  const Case cases[] = {
      {"RONDDAT", FaultyFiles::kCreate, {}}, {"RONDBAK", FaultyFiles::kCreate, {}},
      {"LASTBAK", FaultyFiles::kCreate, {}}, {"RONDDAT", FaultyFiles::kWrite, {}},
      {"RONDBAK", FaultyFiles::kWrite, {}},  {"LASTBAK", FaultyFiles::kRename, {}},
      {"RONDDAT", FaultyFiles::kRename, {}}, {"RONDDAT", FaultyFiles::kNone, dir},
      {"RONDDAT", FaultyFiles::kNone, fifo}, {"RONDDAT", FaultyFiles::kNone, device},
      {"RONDBAK", FaultyFiles::kNone, dir},  {"RONDBAK", FaultyFiles::kNone, fifo},
      {"LASTBAK", FaultyFiles::kNone, fifo}};
  const std::map<std::string, std::string> old = {{"RONDDAT", "data"}, {"RONDBAK", "bak"}, {"LASTBAK", "last"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target + ", step " + std::to_string(c.step));
    for (const auto& name : files()) fs::remove_all(name);
    for (const auto& [name, bytes] : old) write(name, bytes);
    if (c.plant) {
      fs::remove(c.target);
      c.plant(c.target);
    }
    auto layer = std::make_shared<FaultyFiles>();
    layer->step = c.step;
    layer->target = c.target;
    ScriptedSession t("\n");
    t.s.set_files(layer);
    LoadTimeCopy copy;
    load(t.s, copy, 4, 1987, 0);
    t.s.tpcm.i(300) = 5;
    t.s.tpcm.i(699) = -2;
    EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 1);  // back to the final page
    EXPECT_NE(t.shown().find(" ++> File not found or file access error in ronvaske\n     File name: " + c.target +
                             "\n \n Press <RETURN> to continue: "),
              std::string::npos);
    EXPECT_EQ(files(), (std::set<std::string>{"LASTBAK", "RONDBAK", "RONDDAT"}));
    EXPECT_EQ(t.s.tpcm.i(300), 5);
    // Only the data file's own rename comes after the backups moved; they
    // then hold the old files, and a second attempt does not move them again.
    const bool moved = c.step == FaultyFiles::kRename && c.target == "RONDDAT";
    const auto now = moved ? decltype(old){{"RONDDAT", "data"}, {"RONDBAK", "data"}, {"LASTBAK", "bak"}} : old;
    for (const auto& [name, bytes] : now) {
      if (c.plant && name == c.target) {
        EXPECT_NE(fs::symlink_status(name).type(), fs::file_type::regular);
      } else {
        EXPECT_EQ(read(name), bytes) << name;
      }
    }
    if (moved) {
      layer->step = FaultyFiles::kNone;
      t.s.tpcm.i(699) = -2;
      EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 0);
      EXPECT_EQ(read("LASTBAK"), "bak");
      EXPECT_EQ(read("RONDDAT").substr(4 + 4 * 300, 4), be(5));
    }
  }
}

TEST_F(Saving, SilentRunShowsTheFaultOnTheScreenAndInTheReport) {
  ScriptedSession t("\n");
  ASSERT_TRUE(t.s.open_output(kSilentUnit, "Diagnostics.stxt"));
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 1);
  fs::create_directory("RONDDAT");
  t.s.tpcm.i(300) = 5;
  t.s.tpcm.i(699) = -1983;
  FinishArgs args;
  args.saved_unit = kSilentUnit;
  EXPECT_EQ(finish(t.s, disc_identity(), copy, args), 1);
  t.s.close_unit(kSilentUnit);
  EXPECT_NE(t.shown().find("     File name: RONDDAT\n"), std::string::npos);
  EXPECT_NE(read("Diagnostics.stxt").find("     File name: RONDDAT\n"), std::string::npos);
}

// ---- Exit without saving ----

TEST_F(Saving, ExitWithoutSavingAfterAChangeWarnsAndAbortReturns) {
  ScriptedSession t("a\n");
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 0);
  t.s.tpcm.i(300) = 5;
  t.s.tpcm.i(699) = 101;
  EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 1);
  EXPECT_EQ(t.shown(),
            "                        >>> WARNING <<<\n"
            " This action will result in the loss of data changes to RONDDAT or LOWDAT\n"
            " made during this editing session. If you wish to \"Abort\" this\n"
            " decision and reinspect your data, enter \"A\" below.\n"
            "\a Enter \"A\" to abort or Press <RETURN> to continue: ");
  EXPECT_TRUE(files().empty());
}

TEST_F(Saving, ExitWithoutSavingConfirmedWritesNothing) {
  ScriptedSession t("\n");
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 0);
  write("RONDDAT", "data");
  t.s.tpcm.i(300) = 5;
  t.s.tpcm.i(699) = 101;
  EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 0);
  EXPECT_EQ(files(), std::set<std::string>{"RONDDAT"});
  EXPECT_EQ(read("RONDDAT"), "data");
}

TEST_F(Saving, ExitWithoutSavingUnchangedStopsWithoutAPrompt) {
  ScriptedSession t;  // no replies: a prompt would end the input
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 0);
  t.s.tpcm.i(699) = 101;
  EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 0);
  EXPECT_EQ(t.shown(), "");
  EXPECT_TRUE(files().empty());
}

TEST_F(Saving, ChainRequestAfterAChangeWarnsAndAbortReturns) {
  ScriptedSession t("A\n");
  LoadTimeCopy copy;
  load(t.s, copy, 15, 78635, 0, 0);
  t.s.tpcm.i(300) = 5;
  t.s.tpcm.i(699) = 101;
  FinishArgs args;
  args.record_size = 78635;
  args.chaining_allowed = true;
  EXPECT_EQ(finish(t.s, mooring_identity(), copy, args), 1);
  const std::string shown = t.shown();
  EXPECT_NE(shown.find(" Changes to PIVADAT, or LOWDAT, or the Gustrevan excursion disk diameter\n"),
            std::string::npos);
  EXPECT_NE(shown.find(" and your simulation output will likely be seriously compromised.\n"), std::string::npos);
  EXPECT_TRUE(files().empty());
}

// ---- Execute ----

TEST_F(Saving, ExecuteShowsTheSubmissionNoteOnTheErrorStream) {
  ScriptedSession t("\n");
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 0);
  t.s.tpcm.i(699) = -1983;
  t.s.tpcm.i(702) = 0;  // set by the page loop for the end step
  EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 0);
  EXPECT_EQ(t.errors.str(),
            "                   >>> Brenvik Editor Software <<<\n\n\n"
            "          This data file passed preliminary error checks;\n"
            "             it is ready for submission to the server.\n \n");
  EXPECT_EQ(t.shown(), " Press <RETURN> to continue: ");
  EXPECT_TRUE(files().empty());  // nothing changed, nothing written
}

TEST_F(Saving, WebsiteSessionWaitsSixtySeconds) {
  ScriptedSession t;
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 0);
  t.s.tpcm.i(5) = 2;
  t.s.tpcm.i(699) = -1983;
  t.s.tpcm.i(702) = 0;
  Identity id = disc_identity();
  id.run_mode = 5;
  std::chrono::steady_clock::time_point now{};
  std::chrono::steady_clock::duration slept{};
  DelayClock clock{[&] { return now; }, [&](std::chrono::steady_clock::duration d) {
                     now += d;
                     slept += d;
                   }};
  FinishArgs args;
  args.clock = &clock;
  EXPECT_EQ(finish(t.s, id, copy, args), 0);
  EXPECT_EQ(slept, std::chrono::seconds(60));
  EXPECT_NE(t.errors.str().find("           Please wait; processing will begin shortly...\n"), std::string::npos);
}

// ---- Chaining ----

TEST(ChainGustr, CommandsByOperatingSystem) {
  EXPECT_EQ(chain_command(21), "Gustrevan           ");
  EXPECT_EQ(chain_command(5), "cmd /c Gustrevan    ");
  EXPECT_EQ(chain_command(3), "");
}

TEST(ChainGustr, UnknownOperatingSystemStops) {
  ScriptedSession t;
  EXPECT_THROW(chain_gustr(t.s, 9), ProgramStop);
  EXPECT_EQ(t.shown(), "++> Undefined OS type! Aborting out of CHAIN_GUSTR\n");
}

TEST_F(Saving, ChainingRunsTheStandInThroughTheShellAndWaits) {
  const std::string bin = std::string(KELP_BINARY_DIR) + "/bin";
  if (!fs::exists(bin + "/Gustrevan")) GTEST_SKIP() << "stand-in not built";
  const char* old_path = std::getenv("PATH");
  const std::string saved = old_path ? old_path : "";
  ::setenv("PATH", (bin + ":" + saved).c_str(), 1);
  ScriptedSession t;
  LoadTimeCopy copy;
  load(t.s, copy, 15, 78635, 0, 0);
  write("PIVADAT", encode_record(std::vector<std::int32_t>{3, 15, 0}));
  write("GUSTRDAT", "xyz");
  t.s.tpcm.i(699) = 101;
  FinishArgs args;
  args.record_size = 78635;
  args.chaining_allowed = true;
  const int status = finish(t.s, mooring_identity(), copy, args);
  ::setenv("PATH", saved.c_str(), 1);
  EXPECT_EQ(status, 0);
  // The stand-in leaves its report beside the files it read.
  const std::string report = read("Gustrevan.log");
  EXPECT_NE(report.find("PIVADAT"), std::string::npos);
  EXPECT_NE(report.find("kind 15"), std::string::npos);
  EXPECT_NE(report.find("GUSTRDAT 3 bytes"), std::string::npos);
}

}  // namespace
}  // namespace kelp
