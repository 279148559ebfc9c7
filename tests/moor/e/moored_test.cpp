// The mooring page loop over fake pages that leave scripted navigation
// codes: word 700 per block, the statuses of the load with the print pass,
// the finish page's routes and the Execute step, the identity by kind.
#include "moor/e/moored.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/replies.hpp"
#include "test_identity.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

constexpr int kScriptDone = 99;
constexpr int kReturned = -1;
constexpr int kFinish = kMoorFinishBlock;
using Blocks = std::vector<int>;
using Hook = std::function<void(Session&, int block)>;
using Script = std::vector<std::pair<std::int32_t, std::int32_t>>;  // code, number after "J"

// A kind-15 session over fake pages in every block but the empty ones. Each
// visit records the block and word 700 and leaves the next scripted code;
// when the script is used up the visited page stops the run.
struct FakeLoop {
  FakeLoop(std::string replies, Script script, Hook hook = nullptr, Blocks empty = {})
      : ss(std::move(replies)), fs(std::make_shared<testing::DirFiles>()), script(std::move(script)),
        hook(std::move(hook)) {
    ss.s.set_files(fs);
    ss.s.tpcm.i(kProgramKind) = 15;
    kind_dispatch(ss.s).set_identity(15, [](Session&, Identity& id) { id = testing::pivlorn_identity(); });
    fs->put("LOWDAT", encode_record(std::vector<std::int32_t>(kLowdatWords, 0)));
    for (int b = 1; b <= kMoorBlocks; ++b) {
      if (std::ranges::find(empty, b) == empty.end()) set_moor_page(pages, b, [this, b](Session& s) { visit(s, b); });
    }
  }

  void visit(Session& s, int block) {
    blocks.push_back(block);
    counters.push_back(s.tpcm.i(kPageCounter));
    if (hook) hook(s, block);
    if (next == script.size()) throw ProgramStop(kScriptDone);
    const auto [code, number] = script[next++];
    s.tpcm.i(kNavCode) = code;
    if (code == kNavJump) s.tpcm.i(kPageCounter) = number;
  }

  int run() {
    try {
      moored(ss.s, pages);
      return kReturned;
    } catch (const ProgramStop& stop) {
      return stop.status();
    }
  }

  testing::ScriptedSession ss;
  std::shared_ptr<testing::DirFiles> fs;
  Script script;
  Hook hook;
  MoorPageTable pages{};
  std::size_t next = 0;
  Blocks blocks;
  std::vector<std::int32_t> counters;
};

template <class T>
std::vector<T> operator+(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The blocks a new kind-15 record shows, in page order: pages 9b, 12, 14
// and 15 (blocks 10, 14, 16, 17) are hidden.
const Blocks kNewRecordBlocks = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 15, 18, 19, 20, 21, 22, 23, 24, kFinish};

Script zeros(std::size_t n) { return Script(n, {0, 0}); }

TEST(Moored, WordSevenHundredRisesByOnePerBlockHiddenBlocksIncluded) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  struct Row {
    const char* what;
    Hook hook;
    Blocks blocks;
    std::vector<std::int32_t> counters;
  };
  const std::vector<Row> rows = {
      {"a new record, page after page: each block raises the counter", nullptr, kNewRecordBlocks,
       std::vector<std::int32_t>(kNewRecordBlocks.begin(), kNewRecordBlocks.end())},
      {"low-frequency dynamics off on page 6: hidden page 7 leads to page 20",
       [](Session& s, int b) { s.tpcm.i(1919) = b == 6 ? 0 : s.tpcm.i(1919); },
       {1, 2, 3, 4, 5, 6, 22, 23, 24, kFinish}, {1, 2, 3, 4, 5, 6, 8, 9, 10, 11}},
      {"the counter saturates", [](Session& s, int b) { if (b == 2) s.tpcm.i(kPageCounter) = kMax - 1; },
       {1, 2, 3, 4}, {1, 2, kMax, kMax}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    FakeLoop loop("C\n", zeros(r.blocks.size() - 1), [&](Session& s, int b) {
      EXPECT_EQ(s.tpcm.i(28378), 25);  // the mooring defaults are in place
      if (r.hook) r.hook(s, b);
    });
    EXPECT_EQ(loop.run(), kScriptDone);
    EXPECT_EQ(loop.blocks, r.blocks);
    EXPECT_EQ(loop.counters, r.counters);
  }
}

// A kind-15 file with word 28 away from its mooring default (1).
std::string planted_record() {
  std::vector<std::int32_t> w(kMooredWords, 0);
  w[kRecordLength] = static_cast<std::int32_t>(kMooredWords);
  w[kProgramKind] = 15;
  w[kWriterRunMode] = 2;
  w[kFairleadLayout] = kLayoutCurrent;
  w[kWriterOs] = kOsLinux;
  w[kVersion] = std::bit_cast<std::int32_t>(6.8f);
  w[28] = 5;
  return encode_record(w);
}

TEST(Moored, LoadStatusesAndTheFinishPage) {
  // The print pass: page 1 changes word 28 first; the finish page starts
  // the pass, and every page runs again without the mooring defaults.
  int finishes = 0;
  const Hook pass = [&](Session& s, int b) {
    if (b == 1 && finishes == 0) s.tpcm.i(28) = 7;
    if (b == kFinish) s.tpcm.i(kPrintPass) = finishes++ == 0 ? 1 : 0;
    else EXPECT_EQ(s.tpcm.i(28), 7) << b;
  };
  const Hook execute = [](Session& s, int) {
    EXPECT_EQ(s.tpcm.i(kNavCode), kNavExecute);
    EXPECT_EQ(s.tpcm.i(28), 5);  // no mooring defaults
  };
  struct Row {
    const char* what;
    std::string replies;
    Script script;  // from page 1, then page 23
    Hook hook;
    Blocks blocks;
    int result;
    Blocks empty;
  };
  const Script to23 = {{kNavLast, 0}};
  const std::vector<Row> rows = {
      {"E at the menu", "E\n", {}, execute, {kFinish}, kScriptDone, {}},
      {"print pass", "C\n", to23 + zeros(kNewRecordBlocks.size()), pass,
       Blocks{1, kFinish} + kNewRecordBlocks, kScriptDone, {}},
      {"RETURN: page 1", "C\n", {{kNavLast, 0}, {0, 0}}, nullptr, {1, kFinish, 1}, kScriptDone, {}},
      {"S: page 2", "C\n", {{kNavLast, 0}, {kNavSkip, 0}}, nullptr, {1, kFinish, 2}, kScriptDone, {}},
      {"B: page 22", "C\n", {{kNavLast, 0}, {kNavBack, 0}}, nullptr, {1, kFinish, 24}, kScriptDone, {}},
      {"J12, page 12 hidden: page 13", "C\n", {{kNavLast, 0}, {kNavJump, 12}}, nullptr, {1, kFinish, 15},
       kScriptDone, {}},
      {"save and exit", "C\n", {{kNavLast, 0}, {-2, 0}}, nullptr, {1, kFinish}, kReturned, {}},
      {"leave without saving, answered A", "C\nA\n", {{kNavLast, 0}, {101, 0}}, nullptr, {1, kFinish, kFinish},
       kScriptDone, {}},
      {"F to an empty page 1 moves on", "C\n", {{kNavFirst, 0}}, nullptr, {2, 2}, kScriptDone, {1}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    finishes = 0;
    FakeLoop loop(r.replies, r.script, r.hook, r.empty);
    const std::string planted = planted_record();
    loop.fs->put("PIVADAT", planted);
    EXPECT_EQ(loop.run(), r.result);
    EXPECT_EQ(loop.blocks, r.blocks);
    EXPECT_EQ(loop.ss.s.tpcm.i(kOutputUnit), 6);  // the editing run's unit, after finish too
    // Only the save writes the data file anew.
    EXPECT_EQ(loop.fs->get("PIVADAT") != planted, r.result == kReturned);
  }
}

TEST(Moored, IdentityByProgramKind) {
  testing::ScriptedSession t;
  kind_dispatch(t.s).set_identity(15, [](Session&, Identity& id) { id = testing::pivlorn_identity(); });
  kind_dispatch(t.s).set_identity(4, [](Session&, Identity& id) { id = testing::ronvaske_identity(); });
  EXPECT_EQ(moor_identity(t.s, 15).data_file, "PIVADAT     ");
  // Kinds without an identity routine of the mooring editor (kind 4's is
  // not one): blank and zero.
  for (int kind : {13, 4, 0, 99}) {
    const Identity id = moor_identity(t.s, kind);
    EXPECT_EQ(id.program_name + id.main_name + id.editor_name + id.data_file + id.backup_file,
              std::string(56, ' '));
    EXPECT_EQ(id.version, 0.0f);
    EXPECT_EQ(id.kind + id.year + id.os_code + id.layout_code + id.run_mode, 0);
  }
  // Kinds 12, 14 and 17 reach the inoperative stubs, which stop.
  for (int kind : {12, 14, 17}) {
    testing::ScriptedSession stub("\n");
    EXPECT_THROW(moor_identity(stub.s, kind), ProgramStop) << kind;
  }
}

}  // namespace
}  // namespace kelp
