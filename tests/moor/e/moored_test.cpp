// The mooring page loop over fake pages that leave scripted navigation
// codes: word 700 per block, the statuses of the load, the print pass, the
// finish page's routes and the Execute step, the identity by kind.
#include "moor/e/moored.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "edlib/data_record.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/replies.hpp"
#include "test_identity.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

constexpr int kScriptDone = 99;
constexpr int kPage20 = 22;  // blocks of the labels
constexpr int kPage22 = 24;
constexpr int kFinish = kMoorFinishBlock;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// One page shown: its block and word 700 as the page found it.
struct Visit {
  int block;
  std::int32_t counter;
  bool operator==(const Visit&) const = default;
};

// A kind-15 session over fake pages in every block but the empty ones. Each
// visit is recorded and leaves the next scripted code (for a jump, its page
// number in word 700); when the script is used up the visited page stops
// the run.
struct FakeLoop {
  explicit FakeLoop(std::string replies, std::vector<int> empty = {})
      : ss(std::move(replies)), fs(std::make_shared<testing::DirFiles>()) {
    ss.s.set_files(fs);
    ss.s.tpcm.i(kProgramKind) = 15;
    kind_dispatch(ss.s).set_identity(15, [](Session&, Identity& id) { id = testing::pivlorn_identity(); });
    fs->put("LOWDAT", encode_record(std::vector<std::int32_t>(kLowdatWords, 0)));
    for (int b = 1; b <= kMoorBlocks; ++b) {
      if (std::find(empty.begin(), empty.end(), b) == empty.end()) {
        set_moor_page(pages, b, [this, b](Session& s) { visit(s, b); });
      }
    }
  }

  void visit(Session& s, int block) {
    visits.push_back({block, s.tpcm.i(kPageCounter)});
    if (hook) hook(s, block);
    if (next == script.size()) throw ProgramStop(kScriptDone);
    const auto [code, number] = script[next++];
    s.tpcm.i(kNavCode) = code;
    if (code == kNavJump) s.tpcm.i(kPageCounter) = number;
  }

  std::vector<int> blocks() const {
    std::vector<int> b;
    for (const Visit& v : visits) b.push_back(v.block);
    return b;
  }

  // The stop status of the run, or -1 when moored returned.
  int run() {
    try {
      moored(ss.s, pages);
      return -1;
    } catch (const ProgramStop& stop) {
      return stop.status();
    }
  }

  testing::ScriptedSession ss;
  std::shared_ptr<testing::DirFiles> fs;
  MoorPageTable pages{};
  std::vector<std::pair<std::int32_t, std::int32_t>> script;
  std::size_t next = 0;
  std::vector<Visit> visits;
  std::function<void(Session&, int)> hook;
};

std::vector<std::pair<std::int32_t, std::int32_t>> codes(std::initializer_list<std::int32_t> c) {
  std::vector<std::pair<std::int32_t, std::int32_t>> v;
  for (std::int32_t x : c) v.emplace_back(x, 0);
  return v;
}

std::vector<int> range(int first, int last) {
  std::vector<int> v;
  for (int b = first; b <= last; ++b) v.push_back(b);
  return v;
}

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The blocks a new kind-15 record shows, in page order: pages 9b, 12, 14
// and 15 are hidden.
const std::vector<int> kNewRecordBlocks = range(1, 9) + range(11, 13) + std::vector<int>{15} + range(18, 25);

TEST(Moored, WordSevenHundredRisesByOnePerBlockHiddenBlocksIncluded) {
  struct Row {
    const char* what;
    std::function<void(Session&, int)> hook;
    std::vector<Visit> visits;
  };
  std::vector<Visit> every;
  for (int b : kNewRecordBlocks) every.push_back({b, b});
  const std::vector<Row> rows = {
      {"a new record, page after page", nullptr, every},
      {"low-frequency dynamics switched off on page 6: page 7 is passed to page 20",
       [](Session& s, int b) {
         if (b == 6) s.tpcm.i(1919) = 0;
       },
       {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {kPage20, 8}, {23, 9}, {kPage22, 10}, {kFinish, 11}}},
      {"the counter saturates",
       [](Session& s, int b) {
         if (b == 2) s.tpcm.i(kPageCounter) = kMax - 1;
       },
       {{1, 1}, {2, 2}, {3, kMax}, {4, kMax}}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    FakeLoop loop("C\n");
    loop.hook = [&](Session& s, int b) {
      EXPECT_EQ(s.tpcm.i(28378), 25);  // the mooring defaults are in place
      if (r.hook) r.hook(s, b);
    };
    loop.script.assign(r.visits.size() - 1, {0, 0});
    EXPECT_EQ(loop.run(), kScriptDone);
    EXPECT_EQ(loop.visits, r.visits);
  }
}

// A kind-15 file as pivlorn writes it, with word 28 away from the mooring
// default (1), so that a run of mrinit shows.
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

TEST(Moored, ExecuteAtTheMenuStartsAtTheFinishPageWithoutDefaults) {
  FakeLoop loop("E\n");
  loop.fs->put("PIVADAT", planted_record());
  loop.hook = [](Session& s, int) {
    EXPECT_EQ(s.tpcm.i(kNavCode), kNavExecute);
    EXPECT_EQ(s.tpcm.i(28), 5);
  };
  EXPECT_EQ(loop.run(), kScriptDone);
  EXPECT_EQ(loop.blocks(), std::vector<int>{kFinish});
}

TEST(Moored, APrintPassStartedOnTheFinishPageRunsEveryBlockAgainWithoutDefaults) {
  FakeLoop loop("C\n");
  int finishes = 0;
  loop.hook = [&](Session& s, int b) {
    if (b == 1 && finishes == 0) s.tpcm.i(28) = 7;
    if (b != kFinish) {
      EXPECT_EQ(s.tpcm.i(kPrintPass) != 0, finishes == 1) << b;
      EXPECT_EQ(s.tpcm.i(28), 7) << b;
      return;
    }
    // The finish page starts the pass the first time and ends it the second.
    s.tpcm.i(kPrintPass) = finishes == 0 ? 1 : 0;
    ++finishes;
  };
  loop.script = codes({kNavLast, kNavFirst});
  loop.script.resize(kNewRecordBlocks.size() + 1, {0, 0});
  EXPECT_EQ(loop.run(), kScriptDone);
  EXPECT_EQ(loop.blocks(), std::vector<int>({1, kFinish}) + kNewRecordBlocks);
}

TEST(Moored, FinishPageCodesThroughTheLoop) {
  struct Row {
    const char* what;
    std::pair<std::int32_t, std::int32_t> code;
    std::vector<int> then;  // blocks shown after page 1 and page 23
  };
  const std::vector<Row> rows = {
      {"RETURN: page 1", {0, 0}, {1}},
      {"S: page 2", {kNavSkip, 0}, {2}},
      {"B: page 22", {kNavBack, 0}, {kPage22}},
      {"H: page 23 again", {kNavKeys, 0}, {kFinish}},
      {"J9: page 9", {kNavJump, 9}, {9}},
      {"J12 with page 12 hidden: page 13", {kNavJump, 12}, {15}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    FakeLoop loop("C\n");
    loop.script = {{kNavLast, 0}, r.code};
    EXPECT_EQ(loop.run(), kScriptDone);
    EXPECT_EQ(loop.blocks(), std::vector<int>({1, kFinish}) + r.then);
  }
}

TEST(Moored, ExecuteEndsTheSessionThroughFinish) {
  // Save and exit: finish writes the record and the loop returns.
  FakeLoop save("C\n");
  save.script = codes({kNavLast, -2});
  EXPECT_EQ(save.run(), -1);
  EXPECT_EQ(save.fs->get("PIVADAT").size(), 4 * kMooredWords + 8);

  // Leave without saving, answered "A": back to the finish page with the
  // editing run's output unit.
  FakeLoop leave("C\nA\n");
  leave.script = codes({kNavLast, 101});
  EXPECT_EQ(leave.run(), kScriptDone);
  EXPECT_EQ(leave.blocks(), std::vector<int>({1, kFinish, kFinish}));
  EXPECT_EQ(leave.ss.s.tpcm.i(kOutputUnit), 6);
  EXPECT_FALSE(leave.fs->exists("PIVADAT"));
}

TEST(Moored, ABlockWithoutAPageNeverHoldsTheLoop) {
  // "F" leads to page 1, which shows nothing here: the loop moves on.
  FakeLoop loop("C\n", {1});
  loop.script = codes({kNavFirst});
  EXPECT_EQ(loop.run(), kScriptDone);
  EXPECT_EQ(loop.blocks(), std::vector<int>({2, 2}));
}

TEST(MooredIdentity, ByProgramKind) {
  testing::ScriptedSession t;
  kind_dispatch(t.s).set_identity(15, [](Session&, Identity& id) { id = testing::pivlorn_identity(); });
  EXPECT_EQ(moor_identity(t.s, 15).data_file, "PIVADAT     ");
  // Kinds without an identity routine of the mooring editor: blank and zero,
  // even where the kind dispatch has a routine (kind 4).
  kind_dispatch(t.s).set_identity(4, [](Session&, Identity& id) { id = testing::ronvaske_identity(); });
  for (int kind : {13, 4, 0, -1, 99}) {
    const Identity id = moor_identity(t.s, kind);
    EXPECT_EQ(id.program_name, std::string(8, ' ')) << kind;
    for (const std::string& text : {id.main_name, id.editor_name, id.data_file, id.backup_file})
      EXPECT_EQ(text, std::string(12, ' ')) << kind;
    EXPECT_EQ(id.version, 0.0f);
    EXPECT_EQ(id.kind + id.year + id.os_code + id.layout_code + id.run_mode, 0);
  }
  // Kinds 12, 14 and 17 reach the inoperative stubs, which stop.
  for (int kind : {12, 14, 17}) {
    testing::ScriptedSession stub("\n");
    try {
      moor_identity(stub.s, kind);
      ADD_FAILURE() << "no stop for kind " << kind;
    } catch (const ProgramStop& stop) {
      EXPECT_EQ(stop.status(), kInoperativeStopStatus);
    }
    EXPECT_NE(stub.shown().find("inoperative ???TOP"), std::string::npos);
  }
}

}  // namespace
}  // namespace kelp
