// The finish page of the mooring editor: names and flags by kind, the
// tidying on entry, run and save requests with the one print pass, chaining,
// and the checks it runs by default.
#include "moor/e/mooring_finish.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "edlib/frame/create_record.hpp"
#include "edlib/record/data_record.hpp"
#include "moor/e/record_edits.hpp"
#include "moor/e/screen_checks.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::Edits;
using testing::ScriptedSession;
using MooringFinish = testing::InTempDir;

// A new record of `kind` standing on its finish page.
void ready(Session& s, int kind = 15) {
  create_record(s, kind, static_cast<int>(kMooredWords));
  mrinit(s, 'C', kind);
  s.tpcm.i(kProgramKind) = kind;
  s.tpcm.i(kWriterOs) = kOsLinux;
  s.tpcm.i(kOutputUnit) = 6;
}

TEST_F(MooringFinish, NamesAndTurretByKind) {
  // The listing cannot be created (a directory holds its name): the file
  // error names the listing and the editor, and the save goes on without it.
  struct Row {
    int kind;
    const char* listing;
    const char* editor;
    std::int32_t turret;  // word 787 after the page; it enters as 2
    float turret_x;       // word 1374 after the page; it enters as 5
  };
  const std::vector<Row> rows = {
      {15, "PIVAIN.stxt", "pivlorn", 1, 5.0f},  {14, "TENDIN.stxt", "Tendvik", 0, 5.0f},
      {12, "TETHIN.stxt", "Tethwick", 0, 0.0f}, {17, "KOLUIN.stxt", "Kolwerth", 0, 0.0f},
      {13, "WHOIN.stxt", "WhoAmI?", 2, 5.0f},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.kind);
    ScriptedSession t("1\n\n");
    ready(t.s, r.kind);
    t.s.tpcm.i(787) = 2;
    t.s.tpcm.set_r(1374, 5.0f);
    std::filesystem::create_directory(r.listing);
    int chain = 7;
    morfin(t.s, "23", chain);
    EXPECT_EQ(chain, 0);
    EXPECT_EQ(t.s.tpcm.i(kNavCode), -2);
    EXPECT_EQ(t.s.tpcm.i(787), r.turret);
    EXPECT_EQ(t.s.tpcm.r(1374), r.turret_x);
    EXPECT_NE(t.shown().find(std::string(" ++> File not found or file access error in ") + r.editor +
                             "\n     File name: " + r.listing + "\n"),
              std::string::npos);
    EXPECT_EQ(testing::occurrences(t.shown(), "Page 23: End of Session"), 1);
    std::filesystem::remove(r.listing);
  }
}

TEST_F(MooringFinish, TidiesDependentFlagsOnEntry) {
  struct Row {
    const char* what;
    Edits edits;
    std::size_t word;
    testing::WordValue value;
  };
  const std::vector<Row> rows = {
      {"relative motions off", {{106, 2}}, 106, 0},
      {"output switch 100 kept with its value and an RAO output", {{100, 1}, {448, 2.0f}, {101, 1}}, 100, 1},
      {"output switch 100 off without its value", {{100, 1}, {448, 0.0f}, {101, 1}}, 100, 0},
      {"output switch 100 off without an RAO output", {{100, 1}, {448, 2.0f}, {101, 0}}, 100, 0},
      {"swell heading unlocked", {{180, 1}}, 180, 0},
      {"heading of the irregular seas", {{171, 1}, {173, 1}, {713, 30.0f}, {452, 50.0f}}, 417, 30.0f},
      {"heading of the swell", {{171, 0}, {173, 1}, {713, 30.0f}, {452, 50.0f}}, 417, 50.0f},
      {"steady wind: no parameter", {{164, 3}, {455, 2.5f}}, 455, 0.0f},
      {"no current spectrum: no density", {{165, 0}, {458, 3.0f}}, 458, 0.0f},
      {"low-frequency dynamics off", {{1919, 0}, {1920, 1}}, 1920, 0},
  };
  for (const Row& r : rows) {
    ScriptedSession t("2\n");
    ready(t.s);
    testing::edit_record(t.s.tpcm, r.edits);
    int chain = 0;
    morfin(t.s, "23", chain);
    EXPECT_TRUE(testing::word_holds(t.s.tpcm, r.word, r.value)) << r.what;
  }
}

TEST_F(MooringFinish, RequestsAndTheOnePrintPass) {
  // Each call of the page as the loop makes them: what it leaves in word
  // 699, whether a print pass runs, and the chain flag.
  struct Call {
    std::int32_t code;
    bool pass;
    int chain;
  };
  struct Row {
    const char* what;
    std::int32_t chain_switch;  // word 1866
    int warnings;               // found by the checks of a run request
    const char* replies;
    std::vector<Call> calls;
    int checks_run;
  };
  const std::vector<Row> rows = {
      {"leave without saving", 0, 0, "2\n", {{101, false, 0}}, 0},
      {"a save starts the pass, then saves", 0, 0, "1\n", {{kNavFirst, true, 0}, {-2, false, 0}}, 0},
      // The counts start from 0 on every entry, so the page ends the pass
      // at once although the run request found warnings.
      {"a run confirmed over warnings", 0, 2, "3\n\n3\n", {{kNavFirst, true, 0}, {kNavExecute, false, 0}}, 1},
      {"chaining runs the pass first", 1, 0, "10\n", {{kNavFirst, true, 1}, {101, false, 1}}, 0},
      // Back on the page after a pass (a save that failed, a chain that did
      // not happen): the next request lists the pages again, and ends with
      // that request, not an earlier one.
      {"a run after coming back", 0, 0, "3\n3\n",
       {{kNavFirst, true, 0}, {kNavExecute, false, 0}, {kNavFirst, true, 0}, {kNavExecute, false, 0}}, 2},
      {"a chain after a save", 1, 0, "1\n10\n",
       {{kNavFirst, true, 0}, {-2, false, 0}, {kNavFirst, true, 1}, {101, false, 1}}, 0},
      {"a save after a chain", 1, 0, "10\n1\n",
       {{kNavFirst, true, 1}, {101, false, 1}, {kNavFirst, true, 0}, {-2, false, 0}}, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    ScriptedSession t(r.replies);
    ready(t.s);
    t.s.tpcm.i(kTimeDomainSwitch) = r.chain_switch;
    int runs = 0;
    t.s.state<MorfinState>().checks = [&](Session&, int& w, int&) {
      ++runs;
      w = r.warnings;
    };
    for (const Call& c : r.calls) {
      int chain = 7;
      morfin(t.s, "23", chain);
      EXPECT_EQ(t.s.tpcm.i(kNavCode), c.code);
      EXPECT_EQ(t.s.tpcm.i(kPrintPass) != 0, c.pass);
      EXPECT_EQ(t.s.tpcm.i(kOutputUnit), c.pass ? kListingUnit : kScreen);
      EXPECT_EQ(chain, c.chain);
    }
    EXPECT_EQ(runs, r.checks_run);
    // The listing is written by the pass alone.
    EXPECT_EQ(std::filesystem::remove("PIVAIN.stxt"), r.calls.size() > 1);
  }
}

TEST_F(MooringFinish, RunRequestChecksTheVesselThenTheMooring) {
  // A new record: the vessel findings come first, then the mooring ones;
  // hardwire and the time-domain switch tidy after the checks.
  ScriptedSession t("3\n\n\n2\n");
  ready(t.s);
  testing::edit_record(t.s.tpcm, {{779, 1}, {kTimeDomainSwitch, 1}, {147, 1}});
  int chain = 0;
  morfin(t.s, "23", chain);
  EXPECT_TRUE(testing::shows_in_order(
      t.shown(), std::vector<std::string>{" ++> Warning: A vessel GM is zero.",
                                          " ++> Fatal Warning: A vessel draft exceeds water depth.",
                                          " ++> Fatal Warning: The line length for line type 1, ",
                                          " ++> Warning: Missing turret centroid data?", "End of Session"}));
  EXPECT_EQ(t.s.tpcm.i(779), 0);
  EXPECT_EQ(t.s.tpcm.i(147), 0);
  EXPECT_EQ(t.s.tpcm.i(kNavCode), 101);
}

}  // namespace
}  // namespace kelp
