// The page loop of the disc-buoy editor: the routing table, and whole runs
// of the loop over fake pages that leave scripted navigation codes.
#include "disc/e/disced.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <set>
#include <utility>
#include <vector>

#include "edlib/frame/kind_dispatch.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/replies.hpp"
#include "test_identity.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

constexpr int kEnd = kDiscEndStep;

TEST(DiscRoute, PageSlots) {
  // Next and back.
  EXPECT_EQ(disc_route(1, 0, 0, false), 2);
  EXPECT_EQ(disc_route(2, kNavBack, 0, false), 1);
  EXPECT_EQ(disc_route(1, kNavBack, 0, false), 17);
  // First, last, execute.
  EXPECT_EQ(disc_route(5, kNavFirst, 0, false), 1);
  EXPECT_EQ(disc_route(5, kNavLast, 0, false), 17);
  EXPECT_EQ(disc_route(5, kNavExecute, 0, false), 17);
  // Skip: two ahead, slot 3 to 6, slot 16 to 1.
  EXPECT_EQ(disc_route(1, kNavSkip, 0, false), 3);
  EXPECT_EQ(disc_route(3, kNavSkip, 0, false), 6);
  EXPECT_EQ(disc_route(9, kNavSkip, 0, false), 11);
  EXPECT_EQ(disc_route(15, kNavSkip, 0, true), 17);
  EXPECT_EQ(disc_route(16, kNavSkip, 0, true), 1);
  // Redisplay: the same slot, slot 4 shows slot 3.
  EXPECT_EQ(disc_route(2, kNavKeys, 0, false), 2);
  EXPECT_EQ(disc_route(4, kNavKeys, 0, false), 3);
  // Other codes: negative back, zero or positive ahead; help is one of them.
  EXPECT_EQ(disc_route(5, -2, 0, false), 4);
  EXPECT_EQ(disc_route(1, -2, 0, false), 17);
  EXPECT_EQ(disc_route(5, kNavHelp, 0, false), 4);
  EXPECT_EQ(disc_route(5, 7, 0, false), 6);
  // Empty slots go ahead on every other code, and never stay put.
  EXPECT_EQ(disc_route(12, -2, 0, true), 13);
  EXPECT_EQ(disc_route(12, kNavKeys, 0, true), 13);
  EXPECT_EQ(disc_route(12, kNavBack, 0, true), 11);
}

TEST(DiscRoute, FinalSlot) {
  EXPECT_EQ(disc_route(17, kNavExecute, 0, false), kEnd);
  EXPECT_EQ(disc_route(17, -2, 0, false), kEnd);
  EXPECT_EQ(disc_route(17, 101, 0, false), kEnd);
  EXPECT_EQ(disc_route(17, kNavHelp, 0, false), kEnd);
  EXPECT_EQ(disc_route(17, kNavSkip, 0, false), 2);
  EXPECT_EQ(disc_route(17, kNavLast, 0, false), 17);
  EXPECT_EQ(disc_route(17, kNavKeys, 0, false), 17);
  EXPECT_EQ(disc_route(17, kNavFirst, 0, false), 1);
  EXPECT_EQ(disc_route(17, 0, 0, false), 1);
  EXPECT_EQ(disc_route(17, kNavBack, 0, false), 16);
}

TEST(DiscRoute, JumpTargets) {
  for (int n : {0, 1, 18, -3, 1000}) EXPECT_EQ(disc_route(5, kNavJump, n, false), 1) << n;
  for (int n : {2, 9, 12, 17}) EXPECT_EQ(disc_route(5, kNavJump, n, false), n);
  EXPECT_EQ(disc_route(17, kNavJump, 4, false), 4);
  EXPECT_EQ(disc_route(17, kNavJump, 0, false), 1);
}

// ---- Whole runs over fake pages ----

using testing::DirFiles;

constexpr int kScriptDone = 99;

// Fake pages: each visit is recorded and leaves the next scripted code (and
// for a jump, its page number in word 700); when the script is used up the
// visited page stops the run.
struct FakeRun {
  explicit FakeRun(std::string replies, std::set<int> empty = {10, 11, 12, 13, 14, 15, 16})
      : ss(std::move(replies)), fs(std::make_shared<DirFiles>()) {
    ss.s.set_files(fs);
    kind_dispatch(ss.s).set_identity(4, [](Session&, Identity& id) { id = testing::ronvaske_identity(); });
    for (int k = 1; k <= kDiscSlots; ++k) {
      if (empty.count(k)) continue;
      set_disc_page(pages, k, [this, k](Session& s) { visit(s, k); });
    }
  }

  void visit(Session& s, int slot) {
    visits.push_back(slot);
    if (hook) hook(s, slot);
    if (next == script.size()) throw ProgramStop(kScriptDone);
    const auto [code, number] = script[next++];
    s.tpcm.i(699) = code;
    if (code == kNavJump) s.tpcm.i(700) = number;
  }

  // The stop status of the run, or -1 when disced returned.
  int run() {
    try {
      disced(ss.s, pages);
      return -1;
    } catch (const ProgramStop& stop) {
      return stop.status();
    }
  }

  testing::ScriptedSession ss;
  std::shared_ptr<DirFiles> fs;
  PageTable pages{};
  std::vector<std::pair<int, int>> script;
  std::size_t next = 0;
  std::vector<int> visits;
  std::function<void(Session&, int)> hook;
};

std::vector<std::pair<int, int>> codes(std::initializer_list<int> c) {
  std::vector<std::pair<int, int>> v;
  for (int x : c) v.emplace_back(x, 0);
  return v;
}

TEST(Disced, CreateStartsOnPageOneWithTheSessionDefaults) {
  FakeRun r("C\n");
  r.hook = [](Session& s, int) {
    EXPECT_EQ(s.tpcm.i(28), 37);
    EXPECT_EQ(s.tpcm.i(29), 6);
    EXPECT_EQ(s.tpcm.i(27), 12);
    EXPECT_EQ(s.tpcm.i(31), 36);
    EXPECT_EQ(s.tpcm.i(776), 4);
    EXPECT_EQ(s.tpcm.i(117), 0);
  };
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{1}));
}

TEST(Disced, SkipFromThreeLandsOnSixAndFromNineRunsOnToTheFinalPage) {
  FakeRun r("C\n");
  r.script = codes({0, 0, kNavSkip, kNavSkip, 0, kNavSkip});
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{1, 2, 3, 6, 8, 9, 17}));
}

TEST(Disced, SkipFromTheFinalPageShowsPageTwo) {
  FakeRun r("C\n");
  r.script = codes({kNavLast, kNavSkip});
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{1, 17, 2}));
}

TEST(Disced, BackPassesThroughTheEmptySlots) {
  FakeRun r("C\n");
  r.script = codes({0, kNavBack, kNavBack, kNavBack, kNavBack});
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{1, 2, 1, 17, 9, 8}));
}

TEST(Disced, JumpsToPagesAndThroughEmptySlots) {
  FakeRun r("C\n");
  r.script = {{kNavJump, 5}, {kNavJump, 12}, {kNavJump, 0}, {kNavJump, 18}, {kNavJump, -3}, {kNavJump, 1},
              {kNavJump, 17}};
  std::vector<int> counters;
  r.hook = [&](Session& s, int) { counters.push_back(s.tpcm.i(700)); };
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{1, 5, 17, 1, 1, 1, 1, 17}));
  // Each slot entry adds one to word 700: the jump to 12 reaches the final
  // page with 17 + 1.
  EXPECT_EQ(counters[2], 18);
  EXPECT_EQ(counters[1], 6);
}

TEST(Disced, RedisplayAndOtherCodes) {
  FakeRun r("C\n");
  r.script = codes({0, 0, 0, kNavKeys, kNavKeys, 0, 0, kNavHelp, -2, 7});
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{1, 2, 3, 4, 3, 3, 4, 5, 4, 3, 4}));
}

TEST(Disced, AnUnbuiltPageBehavesLikeAnEmptySlot) {
  FakeRun r("C\n", {3, 10, 11, 12, 13, 14, 15, 16});
  // Redisplay from page 4 goes to the empty slot 3, which moves on.
  r.script = codes({0, 0, kNavKeys});
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{1, 2, 4, 4}));
}

TEST(Disced, ExecuteAtTheMenuGoesStraightToTheFinalPage) {
  FakeRun r("E\n");
  std::vector<std::int32_t> rec(1987, 0);
  rec[0] = 1987;
  rec[1] = 4;
  rec[6] = 2;
  rec[14] = 149;
  rec[28] = 5;
  rec[120] = 21;
  rec[216] = std::bit_cast<std::int32_t>(6.8f);
  {
    std::ofstream f(r.fs->at("RONDDAT"), std::ios::binary);
    f << encode_record(rec);
  }
  r.hook = [](Session& s, int) {
    EXPECT_EQ(s.tpcm.i(28), 5);  // no session defaults
    EXPECT_EQ(s.tpcm.i(699), kNavExecute);
  };
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{17}));
}

TEST(Disced, PrintPassRunsEveryPageAgain) {
  FakeRun r("C\n");
  int finals = 0;
  r.hook = [&](Session& s, int slot) {
    if (slot != 17) {
      EXPECT_EQ(s.tpcm.i(701) != 0, finals == 1) << slot;
      return;
    }
    ++finals;
    if (finals == 1) {
      // The final page starts the pass as shpfin does.
      s.tpcm.i(701) = 1;
      s.tpcm.i(702) = 1;
    } else {
      s.tpcm.i(701) = 0;
      s.tpcm.i(702) = 6;
    }
  };
  r.script = codes({kNavLast, kNavFirst, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{1, 17, 1, 2, 3, 4, 5, 6, 7, 8, 9, 17}));
}

TEST(Disced, ExitWithoutSavingAnsweredAReturnsToTheFinalPage) {
  FakeRun r("C\nA\n");
  r.script = codes({kNavLast, 101});
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{1, 17, 17}));
  EXPECT_FALSE(r.fs->exists("RONDDAT"));
  // The output unit of the editing run is back in force.
  EXPECT_EQ(r.ss.s.tpcm.i(702), 6);
}

TEST(Disced, SaveAndExitEndsTheLoop) {
  FakeRun r("C\n");
  r.script = codes({kNavLast, -2});
  EXPECT_EQ(r.run(), -1);
  EXPECT_TRUE(r.fs->exists("RONDDAT"));
}

}  // namespace
}  // namespace kelp
