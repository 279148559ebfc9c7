#include "edlib/frame/saving.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "edlib/frame/kind_dispatch.hpp"
#include "edlib/frame/loading.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/file_replace.hpp"
#include "sysutl/folder_locks.hpp"
#include "sysutl/session.hpp"
#include "test_identity.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;
namespace fs = std::filesystem;

// Each test runs in its own empty working directory.
class InTempDir : public testing::InTempDir {
 protected:
  std::set<std::string> files() const { return testing::entries_of(dir_); }
};

using testing::be32;
using testing::FaultyFiles;

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
  EXPECT_EQ(bytes.substr(4, 4), be32(1987));
  EXPECT_EQ(bytes.substr(8, 4), be32(4));
  EXPECT_EQ(bytes.substr(4 + 4 * 216, 4), std::string("\x40\xD9\x99\x9A", 4));  // 6.8f
  EXPECT_EQ(bytes.substr(4 + 4 * 300, 4), be32(12345));
  EXPECT_EQ(t.s.tpcm.i(699), 0);
  EXPECT_EQ(t.s.tpcm.i(5), 2);
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
  EXPECT_EQ(read("RONDDAT").substr(4 + 4 * 300, 4), be32(3));
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
  EXPECT_EQ(now.substr(0, 4), be32(2720));
  EXPECT_EQ(now.substr(4 + 4 * 5, 4), be32(static_cast<std::uint32_t>(-9)));
  EXPECT_FALSE(fs::exists("PIVADAT"));  // the record did not change
}

// What the end of a session leaves: the files written (only what changed,
// in the kind's size), and the warning before changes would be lost.
TEST_F(Saving, TheEndOfASessionWritesWhatChangedAndWarnsBeforeLosingIt) {
  using Files = std::map<std::string, std::string>;
  struct Case {
    const char* name;
    std::string replies;
    int code;           // word 699: -2 save, 101 exit (or chain when allowed)
    bool edit;          // the session changed word 300
    int returns;        // 0 done, 1 back to the final page, -1 the replies ran out
    Files before = {};  // the directory before
    std::set<std::string> names = {};  // the directory after
    Files after = {};   // files whose bytes are known after
    std::vector<std::string> shows = {};  // texts on the screen, in order
    std::optional<std::string> screen = std::nullopt;  // the whole screen
    int kind = 4;
    int data_status = 0;  // of the load: 4 the file held fewer words
    bool low_edit = false;
    std::string rename_refused = {};  // a disk error refuses every rename onto this name
  };
  const std::string exit_warning =
      "                        >>> WARNING <<<\n"
      " This action will result in the loss of data changes to RONDDAT or LOWDAT\n"
      " made during this editing session. If you wish to \"Abort\" this\n"
      " decision and reinspect your data, enter \"A\" below.\n"
      "\a Enter \"A\" to abort or Press <RETURN> to continue: ";
  const Case cases[] = {
      // The found count is never the size written back; the old file is
      // the backup, byte for byte.
      {"a short file is written back in the kind's size", "", -2, true, 0, {{"RONDDAT", std::string(400, 'x')}},
       {"RONDBAK", "RONDDAT"}, {{"RONDBAK", std::string(400, 'x')}}, {}, {}, 4, 4},
      {"lowcof changes count only above kind 10", "", -2, false, 0, {}, {}, {}, {}, {}, 4, 1, true},
      {"an unchanged session writes nothing", "", -2, false, 0, {{"RONDDAT", "old"}}, {"RONDDAT"},
       {{"RONDDAT", "old"}}},
      {"exit after a change warns; abort returns", "a\n", 101, true, 1, {}, {}, {}, {}, exit_warning},
      {"exit confirmed writes nothing", "\n", 101, true, 0, {{"RONDDAT", "data"}}, {"RONDDAT"},
       {{"RONDDAT", "data"}}},
      // No replies: a prompt would end the input.
      {"exit unchanged stops without a prompt", "", 101, false, 0, {}, {}, {}, {}, ""},
      {"a chain request after a change warns; abort returns", "A\n", 101, true, 1, {}, {}, {},
       {" Changes to PIVADAT, or LOWDAT, or the Gustrevan excursion disk diameter\n",
        " and your simulation output will likely be seriously compromised.\n"},
       {}, 15},
      // A file is saved when its data file is in place, not its backups.
      {"end of input after LOWDAT was saved and PIVADAT failed", "", -2, true, -1,
       {{"LOWDAT", "low"}, {"PIVADAT", "data"}}, {"LOWBAK", "LOWDAT", "PIVABAK", "PIVADAT"},
       {{"LOWBAK", "low"}, {"PIVABAK", "data"}, {"PIVADAT", "data"}},
       {"File name: PIVADAT\n", "continue: \n ++> End of input: session ended; saved before it: LOWDAT\n"}, {}, 15, 0,
       true, "PIVADAT"},
      {"end of input at the note after LOWDAT and PIVADAT were saved", "", -1983, true, -1, {},
       {"LOWDAT", "PIVADAT"}, {}, {"continue: \n ++> End of input: session ended; saved before it: LOWDAT PIVADAT\n"},
       {}, 15, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& name : files()) fs::remove_all(name);
    for (const auto& [name, bytes] : c.before) write(name, bytes);
    ScriptedSession t(c.replies);
    if (!c.rename_refused.empty()) t.s.set_files(std::make_shared<FaultyFiles>(FaultyFiles::kRename, c.rename_refused));
    LoadTimeCopy copy;
    const bool moored = c.kind > 10;
    load(t.s, copy, c.kind, moored ? 78635 : 1987, c.data_status, moored ? 0 : 1);
    if (c.edit) t.s.tpcm.i(300) = 5;
    if (c.low_edit) t.s.lowcof.i(5) = -9;
    t.s.tpcm.i(kNavCode) = c.code;
    FinishArgs args;
    if (moored) {
      args.record_size = 78635;
      args.chaining_allowed = true;
    }
    int returned = -1;
    try {
      returned = finish(t.s, moored ? mooring_identity() : disc_identity(), copy, args);
    } catch (const EndOfInput&) {
    }
    EXPECT_EQ(returned, c.returns);
    EXPECT_EQ(files(), c.names);
    for (const auto& [name, bytes] : c.after) EXPECT_EQ(read(name), bytes) << name;
    if (c.names.contains("RONDDAT") && !c.after.contains("RONDDAT")) {
      EXPECT_EQ(read("RONDDAT").size(), 7956u);
    }
    const std::string shown = t.shown();
    std::size_t at = 0;
    for (const std::string& text : c.shows) {
      at = shown.find(text, at);
      ASSERT_NE(at, std::string::npos) << text;
    }
    if (c.screen) {
      EXPECT_EQ(shown, *c.screen);
    }
  }
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
  const Plant nowhere = [](const std::string& n) { fs::create_symlink("nowhere/" + n, n); };
  struct Case {
    std::string target;
    FaultyFiles::Step step;
    Plant plant;
    bool other_saved = false;  // another session saves before the retry
    std::string reason = {};   // the line that says why, after the file's name
  };
  const std::string irregular = "     Reason: not a regular file\n";
  const std::string no_folder = "     Reason: its folder may not be written\n";
  const std::string io = "     Reason: the disk reports an input or output error\n";
  const Case cases[] = {
      {"RONDDAT", FaultyFiles::kCreate, {}, false, no_folder},
      {"RONDBAK", FaultyFiles::kCreate, {}, false, no_folder},
      {"LASTBAK", FaultyFiles::kCreate, {}, false, no_folder},
      {"RONDDAT", FaultyFiles::kWrite, {}, false, io},
      {"RONDBAK", FaultyFiles::kWrite, {}, false, io},
      {"LASTBAK", FaultyFiles::kRename, {}, false, io},
      {"RONDDAT", FaultyFiles::kRename, {}, false, io},
      {"RONDDAT", FaultyFiles::kRename, {}, true, io},
      {"RONDDAT", FaultyFiles::kNone, dir, false, irregular},
      {"RONDDAT", FaultyFiles::kNone, fifo, false, irregular},
      {"RONDDAT", FaultyFiles::kNone, device, false, irregular},
      {"RONDBAK", FaultyFiles::kNone, dir, false, irregular},
      {"RONDBAK", FaultyFiles::kNone, fifo, false, irregular},
      {"LASTBAK", FaultyFiles::kNone, fifo, false, irregular},
      {"LASTBAK", FaultyFiles::kNone, nowhere, false, "     Reason: a folder on its way does not exist\n"}};
  const std::map<std::string, std::string> old = {{"RONDDAT", "data"}, {"RONDBAK", "bak"}, {"LASTBAK", "last"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target + ", step " + std::to_string(c.step));
    for (const auto& name : files()) fs::remove_all(name);
    for (const auto& [name, bytes] : old) write(name, bytes);
    if (c.plant) {
      fs::remove(c.target);
      c.plant(c.target);
    }
    auto layer = std::make_shared<FaultyFiles>(c.step, c.target);
    ScriptedSession t("\n");
    std::set<std::string> at_prompt;
    t.before_first_reply([&] { at_prompt = files(); });
    t.s.set_files(layer);
    LoadTimeCopy copy;
    load(t.s, copy, 4, 1987, 0);
    t.s.tpcm.i(300) = 5;
    t.s.tpcm.i(699) = -2;
    EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 1);  // back to the final page
    EXPECT_NE(t.shown().find(" ++> File not found or file access error in ronvaske\n     File name: " + c.target +
                             "\n" + c.reason + " \n Press <RETURN> to continue: "),
              std::string::npos)
        << t.shown();
    EXPECT_EQ(files(), (std::set<std::string>{"LASTBAK", "RONDBAK", "RONDDAT"}));
    EXPECT_EQ(at_prompt, files());  // no temporary while the message waits
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
      // A session that saved in between moved them on itself: its record
      // is then kept as the backup.
      if (c.other_saved) write("RONDDAT", "theirs");
      layer->step = FaultyFiles::kNone;
      t.s.tpcm.i(699) = -2;
      EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 0);
      EXPECT_EQ(read("LASTBAK"), c.other_saved ? "data" : "bak");
      EXPECT_EQ(read("RONDBAK"), c.other_saved ? "theirs" : "data");
      EXPECT_EQ(read("RONDDAT").substr(4 + 4 * 300, 4), be32(5));
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

// ---- What is on disk at the save ----

constexpr std::uint32_t kNobody = 65534;

TEST_F(Saving, TheDiskAtTheSaveDecidesWhichGenerationsMove) {
  // Whatever the load saw: a data file there is kept as the backup; with
  // none there the backups stay; a file there that cannot be read, written
  // or examined stops the save before any file of either cascade moves,
  // and the edits can be saved once the file is mended.
  using Files = std::map<std::string, std::string>;
  const std::string kNew = "(the new record)";
  const std::string kUnlocked =
      "\n ++> This directory cannot be locked: its file system refuses locks. Another\n"
      "     session saving in it at the same moment could replace this save.\n";
  // How the file `refused` is at fault: as a user without permission meets
  // it; with no write bit at all (for root too); failing its first read; its
  // protection unreadable; the disk's read error in the real read buffer
  // (/proc/self/mem, whose first bytes give EIO).
  enum Fault { kNone, kUnreadable, kUnwritable, kNoWriteBit, kReadError, kUnexaminable, kDiskReadError };
  struct Case {
    const char* what;
    int data_status;  // at load: 1 no file, 0 read
    Files before;
    Files after = {};  // kNew: the session's record
    Fault fault = kNone;
    std::string refused = {};
    bool low = false;      // LOWDAT changes instead of the record
    bool both = false;     // LOWDAT and the record change
    bool moved = false;    // an earlier attempt left the data file in the backup
    bool no_lock = false;  // a file system that cannot lock: saved unlocked, temporaries kept
  };
  const Case cases[] = {
      {"created by another session since a new record was started", 1, {{"RONDDAT", "theirs"}},
       {{"RONDDAT", kNew}, {"RONDBAK", "theirs"}}},
      {"created since, beside older backups", 1, {{"RONDDAT", "theirs"}, {"RONDBAK", "bak"}},
       {{"RONDDAT", kNew}, {"RONDBAK", "theirs"}, {"LASTBAK", "bak"}}},
      {"deleted since the load", 0, {{"RONDBAK", "bak"}, {"LASTBAK", "last"}},
       {{"RONDDAT", kNew}, {"RONDBAK", "bak"}, {"LASTBAK", "last"}}},
      {"LOWDAT created since", 1, {{"LOWDAT", "theirs"}}, {{"LOWDAT", kNew}, {"LOWBAK", "theirs"}}, kNone, {}, true},
      {"no lock", 0, {{"RONDDAT", "data"}, {"RONDDAT.kelpab12cd", "a live temporary"}},
       {{"RONDDAT", kNew}, {"RONDBAK", "data"}, {"RONDDAT.kelpab12cd", "a live temporary"}}, kNone, {}, false,
       false, false, true},
      {"data file unreadable", 0, {{"RONDDAT", "data"}, {"RONDBAK", "bak"}}, {}, kUnreadable, "RONDDAT"},
      {"backup unreadable", 0, {{"RONDDAT", "data"}, {"RONDBAK", "bak"}}, {}, kUnreadable, "RONDBAK"},
      {"LOWBAK unreadable", 0, {{"LOWDAT", "low"}, {"LOWBAK", "lowbak"}}, {}, kUnreadable, "LOWBAK", true},
      {"data file write-protected", 0, {{"RONDDAT", "data"}}, {}, kUnwritable, "RONDDAT"},
      {"oldest generation write-protected", 0, {{"RONDDAT", "data"}, {"RONDBAK", "bak"}, {"LASTBAK", "last"}}, {},
       kUnwritable, "LASTBAK"},
      {"data file without write bits", 0, {{"RONDDAT", "data"}}, {}, kNoWriteBit, "RONDDAT"},
      {"both files, the data file without write bits", 0, {{"PIVADAT", "data"}, {"LOWDAT", "low"}}, {}, kNoWriteBit,
       "PIVADAT", false, true},
      {"a read error in the backup copied", 0, {{"RONDDAT", "data"}, {"RONDBAK", "bak"}}, {}, kReadError, "RONDBAK"},
      {"a read error in the backup compared", 0, {{"RONDDAT", "data"}, {"RONDBAK", "data"}}, {}, kReadError,
       "RONDBAK", false, false, true},
      {"the data file's protection unreadable", 0, {{"RONDDAT", "data"}}, {}, kUnexaminable, "RONDDAT"},
      {"the disk's read error in the backup copied", 0, {{"RONDDAT", "data"}, {"RONDBAK", "bak"}}, {}, kDiskReadError,
       "RONDBAK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& name : files()) fs::remove_all(name);
    for (const auto& [name, bytes] : c.before) write(name, bytes);
    auto layer = std::make_shared<FaultyFiles>();
    layer->no_lock = c.no_lock;
    if (c.fault == kUnreadable) layer->unreadable = {c.refused};
    if (c.fault == kUnwritable) layer->unwritable = {c.refused};
    if (c.fault == kUnexaminable) layer->unexaminable = {c.refused};
    if (c.fault == kReadError) layer->read_errors = {c.refused};
    if (c.fault == kNoWriteBit) fs::permissions(c.refused, fs::perms::owner_read | fs::perms::group_read);
    if (c.fault == kDiskReadError) fs::remove(c.refused), fs::create_symlink("/proc/self/mem", c.refused);
    ScriptedSession t("\n");
    t.s.set_files(layer);
    LoadTimeCopy copy;
    const bool moored = c.low || c.both;
    load(t.s, copy, moored ? 15 : 4, moored ? 78635 : 1987, c.data_status, c.data_status);
    copy.data_generations_moved = c.moved;
    if (moored) t.s.lowcof.i(5) = -9;
    if (!c.low) t.s.tpcm.i(300) = 5;
    t.s.tpcm.i(kNavCode) = -2;
    FinishArgs args;
    args.record_size = moored ? 78635 : 1987;
    if (c.no_lock) args.locker = layer.get();
    const Identity id = moored ? mooring_identity() : disc_identity();
    Files after = c.after;
    if (c.fault != kNone) {
      // Refused, naming the file; nothing moved. Then mended: saved.
      EXPECT_EQ(finish(t.s, id, copy, args), 1);
      const bool protected_file = c.fault == kUnwritable || c.fault == kNoWriteBit;
      EXPECT_EQ(t.shown().find("     File name: " + c.refused + "\n     Reason: write-protected\n") != std::string::npos,
                protected_file)
          << t.shown();
      EXPECT_NE(t.shown().find("     File name: " + c.refused + "\n"), std::string::npos) << t.shown();
      EXPECT_EQ(t.shown().find("     Reason: it cannot be read whole\n") != std::string::npos,
                c.fault == kReadError || c.fault == kDiskReadError);
      EXPECT_EQ(files().size(), c.before.size());
      layer = std::make_shared<FaultyFiles>();
      t.s.set_files(layer);
      for (const auto& [name, bytes] : c.before) EXPECT_TRUE(fs::is_symlink(name) || read(name) == bytes) << name;
      fs::remove(c.refused);  // mended: written anew
      write(c.refused, c.before.at(c.refused));
      t.s.tpcm.i(kNavCode) = -2;
      for (const std::string data : {"RONDDAT", "PIVADAT", "LOWDAT"}) {
        if (!c.before.contains(data)) continue;
        after[data] = kNew;
        after[data == "LOWDAT" ? "LOWBAK" : data.substr(0, 4) + "BAK"] = c.before.at(data);
      }
    }
    EXPECT_EQ(finish(t.s, id, copy, args), 0);
    EXPECT_EQ(t.shown().find(kUnlocked) != std::string::npos, c.no_lock) << t.shown();
    for (const auto& [name, bytes] : after) {
      if (bytes == kNew) {
        const bool low = name == "LOWDAT";
        EXPECT_EQ(read(name).substr(low ? 4 + 4 * 5 : 4 + 4 * 300, 4), be32(low ? -9u : 5u)) << name;
      } else {
        EXPECT_EQ(read(name), bytes) << name;
      }
    }
    if (c.fault == kNone) {
      EXPECT_EQ(files().size(), after.size());
    }
  }
}

// The access list of a file ("" when it has none), and one made of
// (tag, permissions, id) entries in the kernel's extended-attribute form.
std::string acl_of(const char* path, const char* which = "system.posix_acl_access") {
  std::string value(256, '\0');
  const ssize_t got = ::getxattr(path, which, value.data(), value.size());
  return got < 0 ? std::string() : value.substr(0, static_cast<std::size_t>(got));
}
std::string acl(std::initializer_list<std::array<std::uint32_t, 3>> entries) {
  std::string bytes;
  const auto put = [&](std::uint32_t v, int n) {
    for (int k = 0; k < n; ++k) bytes += static_cast<char>((v >> (8 * k)) & 0xFFu);
  };
  put(2, 4);  // the format's version
  for (const auto& [tag, perm, id] : entries) {
    put(tag, 2);
    put(perm, 2);
    put(id, 4);
  }
  return bytes;
}
constexpr std::uint32_t kAnyId = 0xFFFFFFFFu;

// Restores the process's umask however a test ends.
struct UmaskGuard {
  explicit UmaskGuard(mode_t mask) : old(::umask(mask)) {}
  ~UmaskGuard() { ::umask(old); }
  mode_t old;
};

TEST_F(Saving, EveryFileWrittenKeepsTheProtectionOfWhatItHolds) {
  // The new data file takes the bits and access list of the one it
  // replaces, each backup those of the file it was copied from, a new name
  // 0666 less the umask and what the folder's default list gives (the owner,
  // as root: AsRootOwnersAndSharedFoldersAreRespected). A temporary that
  // will hold an existing file's content is born 0600, before anything
  // widens it, and so is the lock file. A list is removed only where a
  // file has one: a removal refused for a file without one (a FAT stick
  // mounted for everyone) costs nothing, one refused for a list the folder
  // gave refuses the save, whatever the error. Where the group cannot be
  // kept (as root, a layer that gives no owners), a file without a list
  // loses the group's bits, and one with a list its group's own entry: the
  // mask stays, and with it the users the list names. A report replaced
  // whole keeps its own protection.
  using P = fs::perms;
  const P rw_r = P::owner_read | P::owner_write | P::group_read;
  const P rw = P::owner_read | P::owner_write;
  const P rw_r_r = rw_r | P::others_read;
  // Every user may read, but one.
  const std::string denying = acl({{1, 6, kAnyId}, {2, 0, kNobody}, {4, 4, kAnyId}, {0x10, 4, kAnyId}, {0x20, 4, kAnyId}});
  // One user may read and write, the group read.
  const std::string sharing = acl({{1, 6, kAnyId}, {2, 6, kNobody}, {4, 4, kAnyId}, {0x10, 6, kAnyId}, {0x20, 0, kAnyId}});
  // New files in the folder: one user may read.
  const std::string granting = acl({{1, 7, kAnyId}, {2, 4, kNobody}, {4, 5, kAnyId}, {0x10, 5, kAnyId}, {0x20, 0, kAnyId}});
  struct Case {
    const char* what;
    P data;  // P::unknown: no data file
    P backup;
    std::string data_acl = {};
    bool folder_grants = false;  // the folder's default list grants a user read
    int removal_error = 0;       // every list's removal fails so
    bool group_not_kept = false;
    std::string acl_after = {};  // where the group was not kept
    int read_error = 0;          // every new file's list fails to be read so
  };
  const Case cases[] = {{"private", rw, rw_r},
                        {"group-readable", rw_r, rw},
                        {"a new name", P::unknown, P::unknown},
                        {"a list that denies a user", rw_r_r, rw, denying},
                        {"no list, in a folder whose default grants one", rw_r, rw, {}, true},
                        {"a new name in that folder", P::unknown, P::unknown, {}, true},
                        {"no list to remove, its removal refused", rw_r, rw, {}, false, EPERM},
                        {"a list from that folder, its removal refused", rw_r, rw, {}, true, EPERM},
                        {"a list from that folder, its removal not supported", rw_r, rw, {}, true, EOPNOTSUPP},
                        {"its group not kept", rw_r, rw, {}, false, 0, true},
                        {"its group not kept, a list that shares it", rw_r | P::group_write, rw, sharing, false, 0, true,
                         acl({{1, 6, kAnyId}, {2, 6, kNobody}, {4, 0, kAnyId}, {0x10, 6, kAnyId}, {0x20, 0, kAnyId}})},
                        {"a list from that folder, gone at its removal", rw_r, rw, {}, true, ENODATA},
                        {"a list that cannot be read, nor removed", rw_r, rw, {}, false, EPERM, false, {}, EIO},
                        {"a list from that folder that cannot be read, then removed", rw_r, rw, {}, true, 0, false, {},
                         EIO}};
  const bool root = ::geteuid() == 0;
  const UmaskGuard mask(027);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& name : files()) fs::remove_all(name);
    fs::remove(std::string(kLockFileName));
    ::removexattr(".", "system.posix_acl_default");
    const bool present = c.data != P::unknown;
    if (present) {
      write("RONDDAT", "data");
      write("RONDBAK", "bak");
      fs::permissions("RONDDAT", c.data);
      fs::permissions("RONDBAK", c.backup);
    }
    const std::string& list = c.folder_grants ? granting : c.data_acl;
    if (!list.empty() && ::setxattr(c.folder_grants ? "." : "RONDDAT",
                                    c.folder_grants ? "system.posix_acl_default" : "system.posix_acl_access",
                                    list.data(), list.size(), 0) != 0) {
      GTEST_SKIP() << "the test folder's file system keeps no access lists";
    }
    const bool group_lost = root && c.group_not_kept;
    for (const char* name : {"RONDDAT", "RONDBAK"}) {
      if (group_lost) {
        ASSERT_EQ(::chown(name, static_cast<uid_t>(-1), kNobody), 0);
      }
    }
    ScriptedSession t("\n");
    const auto layer = std::make_shared<FaultyFiles>();
    layer->acl_removal_error = c.removal_error;
    layer->no_owners = c.group_not_kept;
    layer->acl_read_error = c.read_error;
    t.s.set_files(layer);
    LoadTimeCopy copy;
    load(t.s, copy, 4, 1987, present ? 0 : 1);
    t.s.tpcm.i(300) = 5;
    t.s.tpcm.i(kNavCode) = -2;
    // A list that would stay, or one that could not be read and cannot be
    // removed, refuses the save.
    const bool kept = c.removal_error != 0 && c.removal_error != ENODATA && (c.folder_grants || c.read_error != 0);
    ASSERT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), kept ? 1 : 0);
    if (kept) continue;
    EXPECT_EQ(layer->born.size(), present ? 4u : 2u);  // the temporaries and the lock file
    for (const auto& [name, mode] : layer->born) {
      EXPECT_EQ(mode, present || is_temporary_of(name, kLockFileName) ? 0600u : 0640u) << name;
    }
    const auto perms = [](const char* name) { return fs::status(name).permissions(); };
    if (!present) {
      // 0666 less the umask 027, or within the default list's mask r-x.
      EXPECT_EQ(perms("RONDDAT"), rw_r);
      EXPECT_EQ(acl_of("RONDDAT").empty(), !c.folder_grants);
      continue;
    }
    const P data = group_lost && c.data_acl.empty() ? c.data & ~P::group_all : c.data;
    EXPECT_EQ(perms("RONDDAT"), data);
    EXPECT_EQ(perms("RONDBAK"), data);
    EXPECT_EQ(perms("LASTBAK"), c.backup);
    for (const char* name : {"RONDDAT", "RONDBAK"}) EXPECT_EQ(acl_of(name), group_lost ? c.acl_after : c.data_acl) << name;
  }
  ::removexattr(".", "system.posix_acl_default");

  write("RONDIN.stxt", "old listing");
  fs::permissions("RONDIN.stxt", rw);
  ScriptedSession t;
  ASSERT_TRUE(t.s.open_staged(kListingUnit, "RONDIN.stxt"));
  t.s.write_line(kListingUnit, "new listing");
  ASSERT_TRUE(t.s.close_unit(kListingUnit));
  EXPECT_EQ(fs::status("RONDIN.stxt").permissions(), rw);
}

TEST_F(Saving, TheTemporariesOfAKilledSaveGoAtTheNextOne) {
  // Only regular files of exactly "<name>.kelp" and six letters or digits,
  // of the names the editors write, and none that a replacement still
  // holds in use (a helper's, and a live session's staged one). A lock
  // file's temporary goes too, also one left as the lock file's second
  // name, which this save holds.
  const std::set<std::string> stale = {"RONDDAT.kelpab12cd",     "RONDBAK.kelpzz99zz",    "LASTBAK.kelp000000",
                                       "RONDIN.stxt.kelpab12cd", "WAVEOUT.stxt.kelpq1w2e3", "GUSTRDAT.kelpzzzzzz",
                                       "LOWDAT.kelp123abc",      "PIVADAT.kelpa1b2c3",     "ANCHIN.stxt.kelpab12cd",
                                       "DUVAIN.stxt.kelpab12cd", "Diagnostics.stxt.kelp9z9z9z",
                                       ".kelp-save.lock.kelpab12cd"};
  const std::set<std::string> kept = {"RONDDAT.kelpAB12CD", "RONDDAT.kelpab12c", "RONDDAT.kelpab12cde",
                                      "XRONDDAT.kelpab12cd", "notes.stxt.kelpab12cd", "RONDBAK.kelpinuse1"};
  for (const auto& name : stale) write(name, std::string(7956, 'x'));
  for (const auto& name : kept) write(name, "someone's");
  write(std::string(kLockFileName), "");
  fs::create_hard_link(kLockFileName, ".kelp-save.lock.kelp2nd000");
  const testing::HeldInUse in_use("RONDBAK.kelpinuse1");
  fs::create_directory("RONDBAK.kelpdir123");
  fs::create_symlink("RONDDAT.kelpab12cde", "RONDDAT.kelplink00");
  write("RONDDAT", "data");
  FileSystem other;
  FileReplacement live(other);
  ASSERT_TRUE(live.stage(other.resolve("PIVADAT"), "live"));
  const auto before = files();
  const std::string staged =
      *std::ranges::find_if(before, [&](auto& n) { return n.starts_with("PIVADAT.") && !stale.contains(n); });
  ScriptedSession t;
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 0);
  t.s.tpcm.i(300) = 5;
  t.s.tpcm.i(kNavCode) = -2;
  ASSERT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 0);
  std::set<std::string> expected = kept;
  expected.insert({"RONDDAT", "RONDBAK", "RONDBAK.kelpdir123", "RONDDAT.kelplink00", staged});
  EXPECT_EQ(files(), expected);
  EXPECT_TRUE(live.commit());
  EXPECT_EQ(read("PIVADAT"), "live");
}

// A save's messages with their continuation lines joined, so that a test
// need not know where a long folder name breaks them.
std::string joined(const std::string& screen) {
  // Built anew rather than replaced in place, which trips a false -Wrestrict
  // of g++ 12 at -O3.
  std::string one;
  std::size_t from = 0;
  for (std::size_t at; (at = screen.find("\n     ", from)) != std::string::npos; from = at + 6) {
    one.append(screen, from, at - from).push_back(' ');
  }
  return one.append(screen, from);
}

// The lines of a save's messages, joined as above, in any order.
std::multiset<std::string> said_lines(const std::string& screen) {
  std::multiset<std::string> lines;
  std::istringstream in(joined(screen));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.insert(line);
  }
  return lines;
}

TEST_F(Saving, ASaveThatWouldReplaceAnotherSessionsSaveAsksFirst) {
  // The data file on disk is compared, under the lock, with what this
  // session loaded or last saved: another's save since is named, and "A"
  // keeps it untouched; RETURN saves, keeping it as the backup. A file not
  // there at load, or one that did not change, is saved without a word.
  const std::string kNew = "(the new record)";
  const std::string warning =
      "                        >>> WARNING <<<\n"
      " RONDDAT was changed on disk after this session loaded or last saved it:\n"
      " another session may have saved it. Saving keeps that version as RONDBAK.\n"
      " If you wish to \"Abort\" this save and reinspect your data, enter \"A\" below.\n"
      "\a Enter \"A\" to abort or Press <RETURN> to continue: ";
  struct Case {
    const char* what;
    std::optional<std::string> loaded;  // the data file at load
    std::string replies;
    int returns;
    std::map<std::string, std::string> after;
    bool asked;
    bool low = false;         // LOWDAT instead of the data file
    bool unreadable = false;  // the data file cannot be read for the comparison
    std::string disk = "theirs";
    std::string meanwhile = {};  // saved by a third session while the warning waits
    bool unlocked = false;       // in a folder that cannot be locked: its notice waits before the warning
  };
  // Files longer than one piece of the comparison's reading.
  const std::string big(70000, 'x');
  const std::string bigger = big + big;
  const Case cases[] = {
      {"saved by another since, kept", "data", "A\n", 1, {{"RONDDAT", "theirs"}}, true},
      {"saved by another since, replaced", "data", "\n", 0, {{"RONDDAT", kNew}, {"RONDBAK", "theirs"}}, true},
      {"unchanged", "theirs", "", 0, {{"RONDDAT", kNew}, {"RONDBAK", "theirs"}}, false},
      {"not there at load", std::nullopt, "", 0, {{"RONDDAT", kNew}, {"RONDBAK", "theirs"}}, false},
      {"LOWDAT saved by another since, kept", "low", "A\n", 1, {{"LOWDAT", "theirs"}}, true, true},
      {"cannot be compared, kept", "theirs", "A\n", 1, {{"RONDDAT", "theirs"}}, true, false, true},
      {"saved again while asked, asked again", "data", "\n\n", 0, {{"RONDDAT", kNew}, {"RONDBAK", "zeds"}}, true,
       false, false, "theirs", "zeds"},
      {"grown past a piece", big, "A\n", 1, {{"RONDDAT", bigger}}, true, false, false, bigger},
      {"the same past a piece", bigger, "", 0, {{"RONDDAT", kNew}, {"RONDBAK", bigger}}, false, false, false, bigger},
      {"saved by another since, unlocked, kept", "data", "\nA\n", 1, {{"RONDDAT", "theirs"}}, true, false, false,
       "theirs", {}, true},
  };
  const std::string notice =
      "\n ++> This directory cannot be locked: its file system refuses locks. Another\n"
      "     session saving in it at the same moment could replace this save.\n \n Press <RETURN> to continue: ";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& name : files()) fs::remove_all(name);
    const std::string file = c.low ? "LOWDAT" : "RONDDAT";
    write(file, c.disk);
    ScriptedSession t(c.replies);
    if (!c.meanwhile.empty()) t.before_first_reply([&] { write(file, c.meanwhile); });
    auto layer = std::make_shared<FaultyFiles>();
    if (c.unreadable) layer->read_errors = {file};
    layer->no_lock = c.unlocked;
    t.s.set_files(layer);
    LoadTimeCopy copy;
    load(t.s, copy, c.low ? 15 : 4, c.low ? 78635 : 1987, 0, 0);
    (c.low ? copy.low_on_disk : copy.data_on_disk) =
        c.loaded ? std::optional(stamp_of(*c.loaded)) : std::nullopt;
    if (c.low) t.s.lowcof.i(5) = -9;
    if (!c.low) t.s.tpcm.i(300) = 5;
    t.s.tpcm.i(kNavCode) = -2;
    FinishArgs args;
    args.record_size = c.low ? 78635 : 1987;
    args.locker = layer.get();
    EXPECT_EQ(finish(t.s, c.low ? mooring_identity() : disc_identity(), copy, args), c.returns);
    EXPECT_EQ(files().size(), c.after.size());
    for (const auto& [name, bytes] : c.after) {
      if (bytes != kNew) {
        EXPECT_EQ(read(name), bytes) << name;
      }
    }
    if (c.asked && !c.low && !c.unreadable) {
      const std::string first = (c.unlocked ? notice : "") + warning;
      EXPECT_EQ(t.shown().substr(0, first.size()), first);
    }
    const std::string said = c.unreadable ? " on disk cannot be read to compare it" : " was changed on disk";
    EXPECT_EQ(testing::count_of(t.shown(), file + said), c.asked ? 1 + !c.meanwhile.empty() : 0) << t.shown();
    // Saved: what is on disk now is this session's, and the next save
    // goes without a question.
    if (c.returns == 0) {
      EXPECT_EQ(copy.data_on_disk, stamp_of(read("RONDDAT")));
      t.s.tpcm.i(300) = 6;
      t.s.tpcm.i(kNavCode) = -2;
      EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{}), 0);
    }
  }
}

TEST_F(Saving, AWaitForAnotherSessionsSaveEndsAndNamesItsFolder) {
  // RONDDAT links into store/, whose save lock another session keeps: the
  // save says it waits for the folder it names, gives up after its wait
  // (a short one here), saves nothing and keeps the edit; once the lock is
  // free, it saves. The folder's name is shown with its backslash doubled
  // and its C1 control (NEL, as UTF-8) escaped.
  const std::string name = "st\\o\xc2\x85re";
  fs::create_directory(name);
  write(name + "/RONDDAT", "data");
  fs::create_symlink(name + "/RONDDAT", "RONDDAT");
  auto held = testing::lock_of(name);
  ASSERT_TRUE(held);
  ScriptedSession t("\n");
  LoadTimeCopy copy;
  load(t.s, copy, 4, 1987, 0);
  t.s.tpcm.i(300) = 5;
  t.s.tpcm.i(kNavCode) = -2;
  FinishArgs args;
  args.lock_wait = std::chrono::milliseconds(100);
  EXPECT_EQ(finish(t.s, disc_identity(), copy, args), 1);
  const std::string store = dir_.lexically_normal().string() + "/st\\\\o\\302\\205re";
  EXPECT_EQ(joined(t.shown()),
            "\n ++> Another session is saving in the folder " + store + ": waiting for it to finish.\n"
            "\n ++> The save lock of the folder " + store +
                " is still held by another session: nothing was saved, and the edits of this session are kept.\n"
                " \n Press <RETURN> to continue: ");
  EXPECT_EQ(files(), (std::set<std::string>{"RONDDAT", name}));
  EXPECT_EQ(read(name + "/RONDDAT"), "data");
  EXPECT_EQ(t.s.tpcm.i(300), 5);
  held.reset();
  t.s.tpcm.i(kNavCode) = -2;
  EXPECT_EQ(finish(t.s, disc_identity(), copy, args), 0);
  EXPECT_EQ(read("RONDBAK"), "data");  // the backup beside the link
}

// Every lock of a save is waited for until one deadline; each wait is
// reported (here: twice), and the lock file of this directory is taken
// away while the save holds it, at its first temporary (or at every one),
// or as soon as it is linked to its name, each time.
struct LockWatcher : FaultyFiles {
  std::vector<std::chrono::steady_clock::time_point> deadlines;
  void (*steal)() = nullptr;
  bool every_time = false;
  bool at_link = false;
  bool link_at(const Place& from, const Place& to) override {
    const bool linked = FaultyFiles::link_at(from, to);
    if (linked && at_link && to.folder->name() == ".") fs::remove(kLockFileName);
    return linked;
  }
  Locked lock(FileSystem& fs, const FolderRef& folder, LockBudget& budget, std::span<const FolderLock> held,
              const std::function<void()>& on_wait) override {
    deadlines.push_back(budget.deadline);
    on_wait();
    on_wait();
    return FaultyFiles::lock(fs, folder, budget, held, on_wait);
  }
  NewFile create_new(const Place& at, const Protection* like) override {
    if (steal) std::exchange(steal, every_time ? steal : nullptr)();
    return FaultyFiles::create_new(at, like);
  }
};

TEST_F(Saving, ASaveWaitsByOneDeadlineAndTakesALockFileRemovedUnderItAgain) {
  // RONDDAT lives in store/, its backups here: two folders, each named once
  // for its wait, both by the same deadline. A lock file removed or
  // replaced while the save held it no longer keeps others out: the save
  // starts again, with the lock of the file that is there now; one that no
  // longer locks, or one taken again and again, ends the save with nothing
  // saved.
  const auto remove = [] { fs::remove(kLockFileName); };
  const auto replace = [] { testing::write_file("new", ""), fs::rename("new", kLockFileName); };
  const auto fifo = [] { fs::remove(kLockFileName), ::mkfifo(std::string(kLockFileName).c_str(), 0600); };
  const std::string lost = " ++> The save lock of this directory was taken from this save";
  const std::string again = lost + " again and again: nothing was saved, and the edits of this session are kept.";
  const struct {
    void (*steal)();
    bool every_time;
    std::string ending;  // "": saved
    bool at_link = false;
  } cases[] = {{remove, false, ""},
               {replace, false, ""},
               {fifo, false, lost + ": nothing was saved, and the edits of this session are kept."},
               {remove, true, again},
               {nullptr, false, again, true}};
  const std::string store = (dir_ / "store").lexically_normal().string();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ending);
    for (const auto& name : files()) fs::remove_all(name);
    fs::remove(kLockFileName);
    fs::create_directory("store");
    write("store/RONDDAT", "data");
    fs::create_symlink("store/RONDDAT", "RONDDAT");
    auto layer = std::make_shared<LockWatcher>();
    layer->steal = c.steal;
    layer->every_time = c.every_time;
    layer->at_link = c.at_link;
    ScriptedSession t("\n");
    t.s.set_files(layer);
    LoadTimeCopy copy;
    load(t.s, copy, 4, 1987, 0);
    t.s.tpcm.i(300) = 5;
    t.s.tpcm.i(kNavCode) = -2;
    FinishArgs args;
    args.locker = layer.get();
    EXPECT_EQ(finish(t.s, disc_identity(), copy, args), c.ending.empty() ? 0 : 1);
    // The folders are locked in the order of their inode numbers, which
    // need not be the order they were made in: a take that ends at this
    // directory may not have come to store/.
    const std::string in_store = " ++> Another session is saving in the folder " + store + ": waiting for it to finish.";
    std::multiset<std::string> said = {" ++> Another session is saving in this directory: waiting for it to finish.",
                                       in_store};
    if (!c.ending.empty()) said.insert({c.ending, " ", " Press <RETURN> to continue: "});
    std::multiset<std::string> shown = said_lines(t.shown());
    if (c.at_link) said.erase(in_store), shown.erase(in_store);
    EXPECT_EQ(shown, said);
    EXPECT_EQ(std::set(layer->deadlines.begin(), layer->deadlines.end()).size(), 1u);
    const std::string data = read("store/RONDDAT");
    EXPECT_EQ(c.ending.empty() ? data.substr(4 + 4 * 300, 4) : data, c.ending.empty() ? be32(5) : "data");
    EXPECT_EQ(fs::exists("RONDBAK"), c.ending.empty());
  }
}

using testing::AsUser;

TEST_F(Saving, ARefusedFileIsNamedWithWhy) {
  // An ordinary user (root's test runs as another) in a folder of its own
  // that it may not write: item 1 names the backup, item 5 the listing,
  // item 4 the silent run's report, each with why, and says that alone (not
  // that the folder cannot be locked). A folder that loses its search bit
  // after the walk is named so too.
  const bool root = ::geteuid() == 0;
  write("RONDDAT", "data");
  fs::create_directory("sub");
  for (const char* name : {".", "RONDDAT", "sub"}) {
    if (root) {
      ASSERT_EQ(::chown(name, kNobody, kNobody), 0);
    }
  }
  std::optional<AsUser> as;
  if (root) as.emplace(kNobody);
  const struct Restore {
    ~Restore() { fs::permissions(".", fs::perms::owner_all), fs::permissions("sub", fs::perms::owner_all); }
  } restore;
  fs::permissions(".", fs::perms(0555));
  const std::string not_writable = "its folder may not be written";
  const struct {
    std::string name;
    std::function<void(ScriptedSession&)> act;
    std::string why;
  } cases[] = {
      {"RONDBAK",
       [](ScriptedSession& t) {
         LoadTimeCopy copy;
         load(t.s, copy, 4, 1987, 0);
         t.s.tpcm.i(300) = 5;
         t.s.tpcm.i(kNavCode) = -2;
         finish(t.s, disc_identity(), copy, FinishArgs{});
       },
       not_writable},
      {"RONDIN.stxt",
       [](ScriptedSession& t) {
         open_staged_report(t.s, "RONDIN.stxt", kListingUnit, "E", kScreen);
         close_report(t.s, kListingUnit, "RONDIN.stxt", "E", kScreen);
       },
       not_writable},
      {"Diagnostics.stxt", [](ScriptedSession& t) { open_report(t.s, "Diagnostics.stxt", kSilentUnit, "E", kScreen); },
       not_writable},
      {"sub/RONDDAT",
       [](ScriptedSession& t) {
         const Resolution to = t.s.files().resolve("sub/RONDDAT");
         fs::permissions("sub", fs::perms(0600));
         Refusal why = Refusal::kNone;
         EXPECT_FALSE(replace_at(t.s.files(), to, "new", &why));
         acerr_report(t.s, "E", to.name(), kScreen, why);
       },
       "its folder may not be searched"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedSession t("\n");
    c.act(t);
    EXPECT_NE(t.shown().find("     File name: " + c.name + "\n     Reason: " + c.why + "\n"), std::string::npos)
        << t.shown();
    EXPECT_EQ(t.shown().find("cannot be locked"), std::string::npos) << t.shown();
  }
  EXPECT_EQ(files(), (std::set<std::string>{"RONDDAT", "sub"}));
}

TEST_F(Saving, AsRootOwnersAndSharedFoldersAreRespected) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root: files of other users are planted and a save runs as another";
  // Root's save keeps the owner of the file it replaces, and refuses a
  // write-protected file. In a world-writable sticky folder another user's
  // link is followed by no one, whether it is the whole name or a folder
  // on the way: nothing is created, locked, cleaned or moved before the
  // refusal. And a user who may not rename a file there (root's, in root's
  // folder) is refused before the first generation moves.
  const testing::TempDir elsewhere;  // private: root's alone
  write(elsewhere / "conf", "root's");
  write(elsewhere / "conf.kelpab12cd", "looks stale");
  fs::create_directory(elsewhere / "sub");
  const struct Restore {
    ~Restore() { fs::permissions(".", fs::perms::owner_all); }
  } restore;
  struct Case {
    const char* what;
    std::function<void()> plant;
    std::string refused;  // "": saved
    bool as_nobody = false;
    std::string_view reason = {};
  };
  const std::string_view foreign = "another user's link in a shared folder";
  const auto link_of_nobody = [](const std::string& to, const std::string& name) {
    fs::create_symlink(to, name);
    ASSERT_EQ(::lchown(name.c_str(), kNobody, kNobody), 0);
  };
  const Case cases[] = {
      {"the owner is kept", [] { ASSERT_EQ(::chown("RONDDAT", kNobody, kNobody), 0); }, ""},
      {"no write bit, for root too", [] { fs::permissions("RONDDAT", fs::perms::owner_read); }, "RONDDAT", false,
       "write-protected"},
      {"another user's link as the name", [&] { fs::remove("LASTBAK"), link_of_nobody(elsewhere / "conf", "LASTBAK"); },
       "LASTBAK", false, foreign},
      {"another user's link on the way",
       [&] { fs::remove("LASTBAK"), link_of_nobody(elsewhere.path(), "sub"), fs::create_symlink("sub/conf", "LASTBAK"); },
       "LASTBAK", false, foreign},
      {"root's files renamed by another user",
       [] {
         ASSERT_EQ(::chown("LASTBAK", kNobody, kNobody), 0);
         for (const char* name : {"RONDDAT", "RONDBAK"}) fs::permissions(name, fs::perms(0666));
       },
       "RONDBAK", true, "another user's file that the shared folder does not let you rename"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& name : files()) fs::remove_all(name);
    fs::remove(std::string(kLockFileName));
    fs::permissions(".", fs::perms::all | fs::perms::sticky_bit);
    const std::map<std::string, std::string> before = {{"RONDDAT", "data"}, {"RONDBAK", "bak"}, {"LASTBAK", "last"}};
    for (const auto& [name, bytes] : before) write(name, bytes);
    c.plant();
    ScriptedSession t("\n");
    LoadTimeCopy copy;
    load(t.s, copy, 4, 1987, 0);
    t.s.tpcm.i(300) = 5;
    t.s.tpcm.i(kNavCode) = -2;
    int returned = -1;
    {
      std::optional<AsUser> as;
      if (c.as_nobody) as.emplace(kNobody);
      returned = finish(t.s, disc_identity(), copy, FinishArgs{});
    }
    EXPECT_EQ(read(elsewhere / "conf"), "root's");
    EXPECT_EQ(testing::entries_of(elsewhere.path()), (std::set<std::string>{"conf", "conf.kelpab12cd", "sub"}));
    EXPECT_FALSE(fs::exists(elsewhere / std::string(kLockFileName)));
    if (c.refused.empty()) {
      EXPECT_EQ(returned, 0);
      struct stat st {};
      for (const char* name : {"RONDDAT", "RONDBAK"}) {
        ASSERT_EQ(::stat(name, &st), 0);
        EXPECT_EQ(st.st_uid, kNobody) << name;
      }
      continue;
    }
    EXPECT_EQ(returned, 1);
    EXPECT_NE(t.shown().find("     File name: " + c.refused + "\n     Reason: " + std::string(c.reason) + "\n"),
              std::string::npos)
        << t.shown();
    for (const auto& [name, bytes] : before) {
      if (!fs::is_symlink(name)) {
        EXPECT_EQ(read(name), bytes) << name;
      }
    }
    EXPECT_EQ(files().size(), before.size() + (fs::exists("sub") ? 1 : 0));
  }
}

TEST_F(Saving, AsRootTheLoadTheSilentReportAndTheLockFilesKeepTheRules) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root: files of other users are planted and a save runs as another";
  // In a world-writable sticky folder another user's link is neither read
  // by the load nor written by the silent run's report.
  const testing::TempDir elsewhere;
  write(elsewhere / "secret", "root's");
  fs::permissions(dir_, fs::perms::all | fs::perms::sticky_bit);
  for (const char* name : {"RONDDAT", "Diagnostics.stxt"}) {
    fs::create_symlink(elsewhere / "secret", name);
    ASSERT_EQ(::lchown(name, kNobody, kNobody), 0);
  }
  const std::string refused = "     Reason: another user's link in a shared folder\n";
  {
    ScriptedSession t("M\n\n");
    char letter = ' ';
    EXPECT_THROW(ioinit(t.s, disc_identity(), 1987, letter), ProgramStop);
    EXPECT_NE(t.shown().find("     File name: RONDDAT\n" + refused), std::string::npos) << t.shown();
    ScriptedSession u("\n");
    EXPECT_FALSE(open_report(u.s, "Diagnostics.stxt", kSilentUnit, "Fintop", kScreen));
    EXPECT_NE(u.shown().find("     File name: Diagnostics.stxt\n" + refused), std::string::npos) << u.shown();
  }
  EXPECT_EQ(read(elsewhere / "secret"), "root's");

  // A lock file root makes in another user's folder is that user's; one
  // the folder's owner cannot open is named with its owner.
  fs::permissions(dir_, fs::perms(0711));
  fs::create_directory("theirs");
  ASSERT_EQ(::chown("theirs", kNobody, kNobody), 0);
  ASSERT_TRUE(testing::lock_of("theirs"));
  struct stat st {};
  ASSERT_EQ(::stat(("theirs/" + std::string(kLockFileName)).c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kNobody);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  ASSERT_EQ(::chown(("theirs/" + std::string(kLockFileName)).c_str(), 0, 0), 0);
  // In root's shared sticky folder another user may not remove it either:
  // the message says who may. Root's lock file that is wider than its
  // folder calls for locks another user's save, and stays as it is.
  fs::create_directory("shared");
  fs::permissions("shared", fs::perms(01777));
  write("shared/" + std::string(kLockFileName), "");
  ASSERT_EQ(::chown(("shared/" + std::string(kLockFileName)).c_str(), kNobody, kNobody), 0);
  fs::create_directory("open");
  ASSERT_EQ(::chown("open", 0, kNobody), 0);
  fs::permissions("open", fs::perms(0770));
  const std::string wide = "open/" + std::string(kLockFileName);
  write(wide, "");
  fs::permissions(wide, fs::perms(0666));
  // Root's lock file in another user's folder, changed a moment ago, may
  // be in its birth: it is waited on first.
  const struct {
    const char* folder;
    std::uint32_t saver;
    std::string advice;
    bool waited = false;
  } cases[] = {{"theirs", kNobody, "belongs to root; removing that file while no one saves there restores locking",
                true},
               {"shared", kNobody - 1,
                "belongs to nobody; removing that file while no one saves there restores locking, which only nobody "
                "or root may do"},
               {"open", kNobody, ""}};
  for (const auto& c : cases) {
    fs::current_path(dir_ / c.folder);
    ScriptedSession t;
    LoadTimeCopy copy;
    load(t.s, copy, 4, 1987, 1);
    t.s.tpcm.i(300) = 5;
    t.s.tpcm.i(kNavCode) = -2;
    {
      const AsUser saver(c.saver);
      EXPECT_EQ(finish(t.s, disc_identity(), copy, FinishArgs{.lock_wait = std::chrono::milliseconds(100)}), 0);
    }
    EXPECT_EQ(joined(t.shown()),
              std::string(c.waited ? "\n ++> Another session is saving in this directory: waiting for it to finish.\n"
                                   : "") +
                  (c.advice.empty() ? std::string()
                                    : "\n ++> This directory cannot be locked: no permission to open its lock file "
                                      ".kelp-save.lock, which " + c.advice +
                                          ". Another session saving in it at the same moment could replace this "
                                          "save.\n"));
  }
  EXPECT_EQ(fs::status(dir_ / wide).permissions(), fs::perms(0666));
}

TEST_F(Saving, AFolderThatCannotBeLockedIsSaidWithWhy) {
  // Something else at the lock file's name is said as what it is, also
  // where this user may not open it; a lock file that cannot be made, or
  // that is gone each time it is looked for, is said so, and one of the
  // saver's own that it may not open is not said to be another's. The save
  // goes on; before the submission note of an execute clears the screen,
  // the notice waits for RETURN, and a silent run's report holds it.
  const struct {
    void (*odd)(FaultyFiles&);
    std::string why;
  } cases[] = {
      {[](FaultyFiles&) { ASSERT_EQ(::mkfifo(std::string(kLockFileName).c_str(), 0), 0); },
       "the name of its lock file holds a FIFO, not a plain file"},
      {[](FaultyFiles&) { fs::create_directory(kLockFileName); }, "the name of its lock file holds a directory, not a plain file"},
      {[](FaultyFiles& f) {
         write(std::string(kLockFileName), "");
         fs::permissions(kLockFileName, fs::perms::owner_read);
         f.unwritable = {std::string(kLockFileName)};  // refused to root too
       },
       "no permission to open its lock file .kelp-save.lock"},
      {[](FaultyFiles& f) { f.lock_birth_error = ENOSPC; },
       "its lock file .kelp-save.lock cannot be created: no room left on the disk"},
      {[](FaultyFiles& f) { f.lock_birth_error = EMFILE; },
       "its lock file .kelp-save.lock cannot be created: too many files are open"},
      {[](FaultyFiles& f) { f.lock_name_taken = 3; },
       "its lock file .kelp-save.lock was removed each time before it could be opened"},
  };
  const std::string wait = " \n Press <RETURN> to continue: ";
  const struct {
    int code;
    int unit;  // the unit in force before the end step: 41 a silent run
    std::string after;
  } ends[] = {{-2, kScreen, ""}, {-1983, kScreen, wait + " Press <RETURN> to continue: "},
              {-1983, kSilentUnit, wait + " Press <RETURN> to continue: "}};
  for (const auto& c : cases) {
    for (const auto& end : ends) {
      SCOPED_TRACE(c.why + ", code " + std::to_string(end.code) + ", unit " + std::to_string(end.unit));
      for (const auto& name : {std::string(kLockFileName), std::string("RONDDAT")}) fs::remove_all(name);
      const auto layer = std::make_shared<FaultyFiles>();
      c.odd(*layer);
      ScriptedSession t("\n\n");
      t.s.set_files(layer);
      ASSERT_TRUE(t.s.open_staged(kSilentUnit, "Diagnostics.stxt", true));
      LoadTimeCopy copy;
      load(t.s, copy, 4, 1987, 1);
      t.s.tpcm.i(300) = 5;
      t.s.tpcm.i(kNavCode) = end.code;
      t.s.tpcm.i(kOutputUnit) = 0;  // as the end step holds it
      FinishArgs args;
      args.locker = layer.get();
      args.saved_unit = end.unit;
      EXPECT_EQ(finish(t.s, disc_identity(), copy, args), 0);
      const std::string notice = "\n ++> This directory cannot be locked: " + c.why +
                                 ". Another session saving in it at the same moment could replace this save.\n";
      EXPECT_EQ(joined(t.shown()), notice + end.after);
      EXPECT_EQ(joined(t.s.staged_text(kSilentUnit)), end.unit == kSilentUnit ? notice : "");
      EXPECT_EQ(read("RONDDAT").substr(4 + 4 * 300, 4), be32(5));
    }
  }
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

TEST_F(Saving, ChainingRunsTheStandInAndWaits) {
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
