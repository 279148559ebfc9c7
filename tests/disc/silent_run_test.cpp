// A silent run (item 4) whose save does not happen, in both editors run
// whole: the run ends there, its report holds its findings and what stopped
// the save, and the session goes on on the screen as if item 4 had never
// been chosen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "disc/e/disced.hpp"
#include "edlib/frame/kind_dispatch.hpp"
#include "edlib/record/data_record.hpp"
#include "moor/e/mooring_finish.hpp"
#include "moor/e/moored.hpp"
#include "ronvaske/dsctop.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/files_shell.hpp"
#include "test_identity.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

namespace fs = std::filesystem;
using testing::be32;
using testing::get_be32;
using testing::slurp;
using Replies = std::vector<std::string>;

// What stops a save, switched on and off while the session runs: the lock
// file taken from the save at each new file it makes, and a disk that is
// full for the data file and the silent run's report, or for the report
// alone; `session` is the session running, for a cause that edits it from
// outside.
struct Causes : testing::FaultyFiles {
  bool steal = false;
  bool full = false;
  bool report_full = false;
  std::string data;
  Session* session = nullptr;
  NewFile create_new(const Place& at, const Protection* like) override {
    if (steal) fs::remove(kLockFileName);
    NewFile made = FaultyFiles::create_new(at, like);
    const bool hit = (full && at.leaf.starts_with(data + ".kelp")) ||
                     ((full || report_full) && at.leaf.starts_with("Diagnostics.stxt.kelp"));
    if (made.out && hit) made.out = std::make_unique<std::ofstream>("/dev/full", std::ios::binary);
    return made;
  }
};

struct Editor {
  std::string data;    // its data file
  std::string caller;  // the name its file-access messages give
  Replies create;      // a new record that passes the checks, saved
  std::function<void(Session&)> run;
};

// Runs an editor whole with `replies`, `hooks[k]` before reply k; true when
// it ended by itself, false at the end of the replies.
bool run(const Editor& e, const Replies& replies, std::shared_ptr<Causes> layer, std::string& shown,
         const std::map<std::size_t, std::function<void()>>& hooks = {}) {
  std::string script;
  for (const std::string& r : replies) script += r + "\n";
  testing::ScriptedSession t(script);
  for (const auto& [k, hook] : hooks) t.before_reply(k, hook);
  t.s.set_files(layer);
  layer->session = &t.s;
  bool ended = true;
  try {
    e.run(t.s);
  } catch (const EndOfInput&) {
    ended = false;
  }
  shown = t.shown();
  return ended;
}

using SilentRun = testing::InTempDir;

TEST_F(SilentRun, ASaveThatDoesNotHappenEndsTheRunAndTheSessionGoesOn) {
  const Editor ronvaske{"RONDDAT", "ronvaske",
                        Replies{"C", "4", "100", "", "1", "500", "2", "20", "3", "20", "5", "5", "7", "300", "8", "30",
                                "9", "30", "10", "10", "", "1", "10", "2", "10", "3", "10", "L", "1"},
                        [](Session& s) {
                          kind_dispatch(s).set_identity(4, dsctop);
                          disced(s);
                        }};
  // pivlorn's new record, its checks left out, with the chain to Gustrevan.
  const Editor pivlorn{"PIVADAT", "PIVLORN", {"C", "L", "1"}, [](Session& s) {
                         kind_dispatch(s).set_identity(15, [](Session&, Identity& id) { id = testing::pivlorn_identity(); });
                         s.tpcm.i(kProgramKind) = 15;
                         s.state<MorfinState>().checks = [](Session&, int&, int&) {};
                         moored(s);
                       }};
  struct Cause {
    const char* what;
    std::function<void(Causes&, bool on)> set;
    Replies replies;     // from the refusal to the End of Session page
    Replies save_again;  // item 1 once the cause is gone
    std::string report;  // "" the report cannot be written: shown on the screen instead
    // The save stops part way where LOWDAT is saved too: the report, and
    // the screen, say that it was.
    bool part_way = false;
    bool started = true;  // the silent run starts: its report could be made
  };
  const std::string kept = ", and the edits of this session are kept.";
  const std::string access = "\n ++> File not found or file access error in $\n     File name: ";
  // The data file's rename refused, after LOWDAT was put in place where it
  // is saved too.
  const auto part_way = [](Causes& c, bool on) {
    c.step = on ? Causes::kRename : Causes::kNone;
    c.target = c.data;
    if (on) c.session->lowcof.i(5) = -9;
  };
  const Cause causes[] = {
      {"changed on disk, aborted", [](Causes& c, bool on) { if (on) testing::write_file(c.data, "theirs"); },
       {"A", ""}, {"1", ""},
       "\n @ was changed on disk after this session loaded or last saved it:\n another session may have saved it. "
       "Saving keeps that version as #.\n\n ++> The save was aborted at this warning: nothing was saved, and the edits of\n"
       "     this session are kept.\n"},
      {"write-protected", [](Causes& c, bool on) { fs::permissions(c.data, on ? fs::perms(0444) : fs::perms(0644)); },
       {"", ""}, {"1"}, access + "@\n     Reason: write-protected\n \n"},
      {"a write-protected backup",
       [](Causes& c, bool on) {
         const std::string backup = c.data.substr(0, 4) + "BAK";
         if (on) testing::write_file(backup, "old");
         fs::permissions(backup, on ? fs::perms(0444) : fs::perms(0644));
       },
       {"", ""}, {"1"}, access + "#\n     Reason: write-protected\n \n"},
      {"disk full", [](Causes& c, bool on) { c.full = on; }, {"", ""}, {"1"}, ""},
      {"lock taken", [](Causes& c, bool on) { c.steal = on; }, {"", ""}, {"1"},
       "\n ++> The save lock of this directory was taken from this save again and again:\n     nothing was saved" +
           kept + "\n"},
      {"stopped part way", part_way, {"", ""}, {"1"},
       access + "@\n     Reason: the disk reports an input or output error\n \n", true},
      {"stopped part way, the report not written",
       [&](Causes& c, bool on) { part_way(c, on); c.report_full = on; }, {"", ""}, {"1"}, "", true},
      {"the report refused at the start",
       [](Causes&, bool on) {
         if (on) testing::write_file("Diagnostics.stxt", "");
         fs::permissions("Diagnostics.stxt", on ? fs::perms(0444) : fs::perms(0644));
       },
       {""}, {"1"}, "", false, false},
  };
  struct Next {
    const char* what;
    const Editor& editor;
    Replies replies;    // empty: item 1 once the cause is gone
    std::string shown;  // on the screen after the run stopped
    bool ends = false;  // the session ends by itself, not at the end of the replies
  };
  const Next nexts[] = {
      {"item 2, A, item 2", ronvaske, {"2", "A", "2", ""}, " This action will result in the loss of data changes", true},
      {"RETURN, J2", ronvaske, {"", "J2"}, "Page 2: Vessel Hydrostatic Characteristics"},
      {"item 3 with a fatal finding", ronvaske, {"", "4", "0", "L", "3", ""},
       " ++> Fatal Warning: The water depth is nonpositive."},
      {"item 1", ronvaske, {}, "", true},
      {"item 1", pivlorn, {}, "", true},
      {"item 10", pivlorn, {"10", "A"}, " Changes to PIVADAT, or LOWDAT, or the Gustrevan excursion disk diameter"},
  };
  for (const Next& next : nexts) {
    for (const Cause& cause : causes) {
      const Editor& e = next.editor;
      SCOPED_TRACE(e.data + ", " + cause.what + ", then " + next.what);
      for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry);
      auto layer = std::make_shared<Causes>();
      layer->data = e.data;
      std::string shown;
      ASSERT_TRUE(run(e, e.create, layer, shown)) << shown;
      // Loaded with output to the console, debug and trace on.
      std::string loaded = slurp(e.data);
      for (const std::size_t w : {kOutputDevice.n, kDebug.n, kTraceLevel.n, kTimeDomainSwitch.n}) {
        loaded.replace(4 + 4 * w, 4, be32(w == kOutputDevice.n ? 6 : 1));
      }
      testing::write_file(e.data, loaded);
      testing::write_file("LOWDAT", encode_record(std::vector<std::int32_t>(kLowdatWords, 0)));
      // A change of the water depth, then item 4.
      Replies replies = {"M", "4", "150", "L", "4"};
      std::map<std::size_t, std::function<void()>> hooks = {{replies.size() - 1, [&] { cause.set(*layer, true); }}};
      replies.insert(replies.end(), cause.replies.begin(), cause.replies.end());
      const bool save_again = next.replies.empty();
      if (save_again) hooks[replies.size()] = [&] { cause.set(*layer, false); };
      const Replies& rest = save_again ? cause.save_again : next.replies;
      replies.insert(replies.end(), rest.begin(), rest.end());
      EXPECT_EQ(run(e, replies, layer, shown, hooks), next.ends) << shown;
      const bool low = cause.part_way && e.data == "PIVADAT";
      const std::string what = "     " + std::string(low ? "only LOWDAT was saved" : "nothing was saved") + kept + "\n";
      const std::string stop =
          !cause.started ? " ++> The silent run did not start: nothing was saved.\n"
          : cause.report.empty()
              ? " ++> The silent run stopped at its save;\n" + what
              : " ++> The silent run stopped at its save: see \"Diagnostics.stxt\";\n" + what;
      const auto at = shown.find(stop + " \n Press <RETURN> to continue: ");
      ASSERT_NE(at, std::string::npos) << shown;
      EXPECT_EQ(testing::count_of(shown, stop), 1) << shown;
      EXPECT_NE(shown.find(next.shown, at), std::string::npos) << shown.substr(at);
      EXPECT_EQ(shown.find("Fatal warnings stop the silent run"), std::string::npos);
      std::string report =
          cause.report.empty() ? "" : cause.report + (low ? "\n ++> The silent run stopped at its save;\n" + what : "");
      for (const auto& [mark, name] : {std::pair{'@', e.data}, {'#', e.data.substr(0, 4) + "BAK"}, {'$', e.caller}}) {
        for (auto k = report.find(mark); k != std::string::npos; k = report.find(mark)) report.replace(k, 1, name);
      }
      EXPECT_EQ(slurp("Diagnostics.stxt"), report);
      EXPECT_EQ(shown.find("     File name: Diagnostics.stxt\n") != std::string::npos, report.empty()) << shown;
      // Saved after the run: the edit, and the settings the run forced for
      // itself as they were loaded.
      const std::string data = slurp(e.data);
      EXPECT_EQ(data.size() == loaded.size() && get_be32(data, 4 + 4 * 445) != get_be32(loaded, 4 + 4 * 445), save_again);
      for (const std::size_t w : {kOutputDevice.n, kDebug.n, kTraceLevel.n}) {
        EXPECT_TRUE(!save_again || get_be32(data, 4 + 4 * w) == get_be32(loaded, 4 + 4 * w)) << w;
      }
    }
  }
}

}  // namespace
}  // namespace kelp
