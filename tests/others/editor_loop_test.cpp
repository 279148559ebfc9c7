// The page loop of the semisubmersible, ship and single-anchor-leg editors:
// the routing tables row by row, and whole runs of each loop over fake pages
// behind an identity routine the test registers for the kind.
#include "others/editor_loop.hpp"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "edlib/frame/kind_dispatch.hpp"
#include "edlib/record/data_record.hpp"
#include "others/other_editor_fixture.hpp"
#include "salm/e/salmed.hpp"
#include "semi/e/semied.hpp"
#include "ship/e/shiped.hpp"
#include "sysutl/replies.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

constexpr int kEnd = kEditorEndStep;

struct RouteCase {
  int slot;
  int code;
  int jump;
  int expected;
  bool empty = false;
};

void check_routes(const EditorLoop& e, const Tpcm& t, std::initializer_list<RouteCase> cases) {
  for (const RouteCase& c : cases) {
    EXPECT_EQ(editor_route(e, c.slot, c.code, c.jump, t, c.empty), c.expected)
        << "slot " << c.slot << " code " << c.code << " jump " << c.jump << " empty " << c.empty;
  }
}

TEST(EditorRoute, SemisubmersibleAndShipSlots) {
  Tpcm t;
  for (const EditorLoop* e : {&semi_loop(), &ship_loop()}) {
    check_routes(*e, t,
                 {{1, 0, 0, 2},          {1, 5, 0, 2},           {1, kNavBack, 0, 17},  {9, -2, 0, 8},
                  {10, kNavBack, 0, 9},  {10, -2, 0, 11},        {16, kNavHelp, 0, 17}, {5, kNavFirst, 0, 1},
                  {5, kNavLast, 0, 17},  {5, kNavExecute, 0, 17}, {3, kNavSkip, 0, 6},  {9, kNavSkip, 0, 11},
                  {15, kNavSkip, 0, 17}, {16, kNavSkip, 0, 1},   {2, kNavKeys, 0, 2},   {4, kNavKeys, 0, 3},
                  {5, kNavJump, 25, 1},  {5, kNavJump, 17, 17},  {5, kNavJump, 2, 2},   {5, kNavJump, 1, 1},
                  {5, kNavJump, 0, 1},   {5, kNavJump, -3, 1},   {12, kNavKeys, 0, 13, true},
                  {5, -2, 0, 6, true},   {12, kNavBack, 0, 11, true}});
    // The final slot.
    check_routes(*e, t,
                 {{17, kNavBack, 0, 16}, {17, 0, 0, 1},          {17, kNavKeys, 0, 17}, {17, kNavLast, 0, 17},
                  {17, kNavFirst, 0, 1}, {17, kNavSkip, 0, 2},   {17, kNavExecute, 0, kEnd},
                  {17, -2, 0, kEnd},     {17, 101, 0, kEnd},     {17, kNavJump, 4, 4}});
  }
}

TEST(EditorRoute, SingleAnchorLegSlots) {
  Tpcm t;
  const EditorLoop& e = salm_loop();
  t.i(kLowFrequencyOn) = 1;
  check_routes(e, t,
               {{1, kNavBack, 0, 20}, {12, -2, 0, 11},       {3, kNavKeys, 0, 4},  {3, kNavSkip, 0, 6},
                {8, kNavSkip, 0, 11}, {18, kNavSkip, 0, 20}, {19, kNavSkip, 0, 1}, {5, kNavKeys, 0, 5},
                {17, kNavBack, 0, 16}, {5, kNavLast, 0, 20}, {5, kNavJump, 20, 20}, {5, kNavJump, 21, 1},
                {20, kNavBack, 0, 18}, {20, 0, 0, 1},        {20, kNavSkip, 0, 2}, {20, kNavKeys, 0, 20},
                {20, kNavLast, 0, 20}, {20, kNavExecute, 0, kEnd}, {20, -2, 0, kEnd}, {20, 3, 0, kEnd}});
  // Back from slmout to quasck when neither vessel nor low-frequency dynamics.
  t.i(kLowFrequencyOn) = 0;
  check_routes(e, t, {{17, kNavBack, 0, 4}, {17, -2, 0, 16}});
}

// ---- Whole runs over fake pages ----

using testing::DirFiles;
using testing::FakeRun;
using testing::kScriptDone;
using testing::page_labels;
using testing::salm_pages_run;

std::vector<std::pair<int, int>> codes(std::initializer_list<int> c) {
  std::vector<std::pair<int, int>> v;
  for (int x : c) v.emplace_back(x, 0);
  return v;
}

FakeRun semi_run(std::string replies = "C\n") { return FakeRun(semied, kSemiKind, kSemiSlots, std::move(replies)); }
FakeRun ship_run(std::string replies = "C\n") { return FakeRun(shiped, kShipKind, kShipSlots, std::move(replies)); }
FakeRun salm_run(std::string replies = "C\n") { return FakeRun(salmed, kSalmKind, kSalmSlots, std::move(replies)); }

TEST(OtherEditors, InProductionEachStopsInItsInoperativeIdentityRoutine) {
  using Entry = void (*)(Session&);
  for (Entry editor : {Entry{semied}, Entry{shiped}, Entry{salmed}}) {
    auto fs = std::make_shared<DirFiles>();
    testing::ScriptedSession ss("\n");
    ss.s.set_files(fs);
    try {
      editor(ss.s);
      ADD_FAILURE() << "the editor returned";
    } catch (const ProgramStop& stop) {
      EXPECT_EQ(stop.status(), kInoperativeStopStatus);
    }
    EXPECT_NE(ss.shown().find(" ++> You are in an inoperative ???TOP file!"), std::string::npos);
    EXPECT_FALSE(fs->exists("TESTDAT"));
    EXPECT_EQ(ss.s.tpcm.i(kNavCode), 0);  // nothing loaded
  }
}

TEST(OtherEditors, JumpRedisplayAndSkipOfTheVesselEditors) {
  {
    FakeRun r = semi_run();
    r.script = {{kNavJump, 25}, {kNavJump, 17}};
    EXPECT_EQ(r.run(), kScriptDone);
    EXPECT_EQ(r.visits, (std::vector<int>{1, 1, 17}));
  }
  {
    FakeRun r = semi_run();
    r.script = codes({0, 0, 0, kNavKeys});
    EXPECT_EQ(r.run(), kScriptDone);
    EXPECT_EQ(r.visits, (std::vector<int>{1, 2, 3, 4, 3}));
  }
  {
    FakeRun r = ship_run();
    r.script = codes({0, 0, kNavSkip});
    EXPECT_EQ(r.run(), kScriptDone);
    EXPECT_EQ(r.visits, (std::vector<int>{1, 2, 3, 6}));
  }
}

// Word w of the record holds value v (an integer word) or real value f.
struct IntDefault {
  IntWord w;
  int v;
};

void expect_ints(const Tpcm& t, std::initializer_list<IntDefault> words) {
  for (const IntDefault& d : words) EXPECT_EQ(t.i(d.w), d.v) << "word " << d.w.n;
}

TEST(OtherEditors, DefaultsOfACreatedDataSet) {
  {
    FakeRun r = semi_run();
    EXPECT_EQ(r.run(), kScriptDone);
    const Tpcm& t = r.ss.s.tpcm;
    expect_ints(t, {{kSubEditorKind, 0}, {kSessionReserved, 0}, {kIrregularHeadingLimit, 37}, {kSeaCaseLimit, 6},
                    {kSpreadLimit, 36}, {kRegularHeadingLimit, 12}, {kMemberModel, 1}, {IntWord{3662}, 50},
                    {kSemiTableLimit3664, 16}, {kSemiTableLimit3661, 100}, {kSemiTableLimit3658, 50},
                    {kNoMotionsSummary, 0}, {IntWord{3660}, 1}, {kIrregularOn, 1}, {kIrregularHeadingCount, 1},
                    {kIrregularCases, 1}});
    EXPECT_EQ(t.r(kStormDuration), 1.0f);
    for (std::size_t w : {3668u, 3670u, 4175u, 4326u, 4624u, 4774u}) {
      EXPECT_EQ(t.r(RealWord{w}), 1.0f) << w;
    }
  }
  {
    FakeRun r = ship_run();
    EXPECT_EQ(r.run(), kScriptDone);
    expect_ints(r.ss.s.tpcm, {{kSubEditorKind, 0}, {kIrregularHeadingLimit, 37}, {kSeaCaseLimit, 6},
                              {kSpreadLimit, 36}, {kRegularHeadingLimit, 12}, {kVesselType, 1},
                              {kMemberModel, 0}, {kNoMotionsSummary, 0}});
  }
  {
    FakeRun r = salm_run();
    EXPECT_EQ(r.run(), kScriptDone);
    const Tpcm& t = r.ss.s.tpcm;
    expect_ints(t, {{kSessionReserved, 0}, {kIrregularHeadingLimit, 1}, {kSeaCaseLimit, 1}, {kSpreadLimit, 36},
                    {kRegularHeadingLimit, 1}, {kVesselType, 1}, {kSubEditorKind, 1}, {kOption106, 0},
                    {kSalmOption760, 0}, {kExtensionOn, 0}, {kMotionRaos, 0}, {kSalmOption2007, 0},
                    {kElementCount, 1}, {kPiercingElement, 1}, {kLowFrequencyOn, 1}, {kSalmOption2469, 1},
                    {kWaveFrequencyOn, 1}, {kAnyRaoOutput, 1}, {kIrregularOn, 1}, {kSalmOption1993, 1},
                    {kInterpTableSize, 90}});
    for (RealWord w : {kDefaultElementAddedMass, kDefaultElementDrag, kAttachmentSeparation, kStormDuration,
                       kElementAddedMassTable, RealWord{2415}, kElementDragTable, RealWord{2455}}) {
      EXPECT_EQ(t.r(w), 1.0f) << w.n;
    }
    EXPECT_EQ(t.r(kFreeboardLoad), 100.0f);
  }
}

TEST(OtherEditors, SingleAnchorLegSlotsShownByTheRecord) {
  struct Case {
    int hawser;        // word 775 left by salm2b
    int low_frequency;  // word 1919 left by salm2b
    std::vector<std::pair<int, int>> script;
    std::vector<int> visits;
  };
  const Case cases[] = {
      // A free SALM passes quasck and the vessel pages to curent (hidden: on
      // to extend); back from there reaches wind, and past lowves vesel3.
      {-1, 1, codes({0, 0, 0, kNavBack, kNavBack, kNavBack, kNavBack}), {1, 2, 3, 13, 11, 10, 9, 7}},
      // Vessel attached without low-frequency dynamics: quasck, then on to
      // slmout, whose back leads to quasck.
      {0, 0, codes({0, 0, 0, 0, kNavBack}), {1, 2, 3, 4, 17, 4}},
      // Redisplay and skip after salm2b.
      {0, 1, codes({0, 0, kNavKeys, kNavFirst, 0, 0, kNavSkip}), {1, 2, 3, 4, 1, 2, 3, 6}},
      // With low-frequency dynamics: lowves is shown, skip from it to wind.
      {0, 1, codes({kNavJump, kNavSkip, 0}), {1, 8, 11, 12}},
  };
  for (const Case& c : cases) {
    FakeRun r = salm_run();
    r.script = c.script;
    if (c.visits[1] == 8) r.script[0].second = 8;
    r.hook = [&c](Session& s, int slot) {
      s.tpcm.i(kWindOn) = 1;
      s.tpcm.i(kCurrentOn) = c.hawser == -1 ? 0 : 1;
      if (slot == 3) {
        s.tpcm.i(kHawserFlag) = c.hawser;
        s.tpcm.i(kLowFrequencyOn) = c.low_frequency;
      }
    };
    EXPECT_EQ(r.run(), kScriptDone);
    EXPECT_EQ(r.visits, c.visits) << c.hawser << " " << c.low_frequency;
    // salm2b's aftermath: a free SALM has word 2470 set and 1919, 1907 cleared.
    const Tpcm& t = r.ss.s.tpcm;
    EXPECT_EQ(t.i(kNoQuasiStatics), c.hawser == -1 ? 1 : 0);
    if (c.hawser == -1) {
      EXPECT_EQ(t.i(kLowFrequencyOn), 0);
    }
  }
}

TEST(OtherEditors, SingleAnchorLegPagesShownByTheRecord) {
  // Replies from the menu on, the labels shown from the start, a label passed.
  const std::string cases[][3] = {
      // A new data set: lowves, extfrc, areas; wind and current off pass on.
      {"C\nJ8\n0\n0\n0\nJ15\n0\n", " 1 8 9 10 13 15 16 ", " 12 "},
      // Wind and current switched on at areas: wind, then curent.
      {"C\nJ10\n1\n11\n0\n0\n", " 1 10 10 10 11 12 ", " 13 "},
      // Low-frequency dynamics off at quasck: vesel3 goes past lowves.
      {"C\nJ4\n1\nJ7\n0\n", " 1 4 4 7 ", " 8 "},
  };
  for (const auto& [replies, shown, passed] : cases) {
    FakeRun r = salm_pages_run(replies);
    r.run();
    const std::string labels = page_labels(r.ss.shown());
    EXPECT_EQ(labels.substr(0, shown.size()), shown) << replies;
    EXPECT_EQ(labels.find(passed), std::string::npos) << labels;
  }
}

TEST(OtherEditors, SingleAnchorLegConstantForceKeptInTheRecord) {
  // Every item edited, the listing made (a print pass), saved.
  FakeRun r = salm_pages_run("C\nJ9\n1\n2\n250\n4\n-3.5e3\n5\n6\n12.5\n7\n-4\n0\nL\n5\n1\n");
  EXPECT_EQ(r.run(), -1);
  const Tpcm& t = r.ss.s.tpcm;
  const ForceBlockWords& b = kExternalForces[0];
  EXPECT_EQ(std::vector<int>({t.i(b.on), t.i(b.frame)}), std::vector<int>({1, 1}));
  EXPECT_EQ(std::vector<float>({t.r(b.mean_x), t.r(b.mean_y), t.r(b.moment), t.r(b.x), t.r(b.y)}),
            std::vector<float>({250.0f, 0.0f, -3500.0f, 12.5f, -4.0f}));
  EXPECT_NE(r.fs->get("ANCHIN.stxt").find(" 2) X force component ........................     250.00 kips"),
            std::string::npos);
  // Replies that run out on the page leave the edit in the record.
  FakeRun cut = salm_pages_run("C\nJ9\n1\n2\n-7\n");
  cut.run();
  EXPECT_EQ(cut.ss.s.tpcm.r(b.mean_x), -7.0f);
}

TEST(OtherEditors, PrintPassRunsEveryPageAgain) {
  // The ship editor's slots 10 to 16 are empty.
  FakeRun r(shiped, kShipKind, kShipSlots, "C\n", {10, 11, 12, 13, 14, 15, 16});
  int finals = 0;
  r.hook = [&](Session& s, int slot) {
    if (slot != kShipSlots) return;
    ++finals;
    s.tpcm.i(kPrintPass) = finals == 1 ? 1 : 0;
  };
  r.script = codes({kNavLast, kNavFirst, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(r.run(), kScriptDone);
  EXPECT_EQ(r.visits, (std::vector<int>{1, 17, 1, 2, 3, 4, 5, 6, 7, 8, 9, 17}));
}

TEST(OtherEditors, ExecuteGoesThroughFinishWithTheOutputUnitRestored) {
  {
    FakeRun r = salm_run("C\nA\n");
    r.script = codes({kNavLast, 101});
    EXPECT_EQ(r.run(), kScriptDone);
    EXPECT_EQ(r.visits, (std::vector<int>{1, 20, 20}));
    EXPECT_FALSE(r.fs->exists("TESTDAT"));
    EXPECT_EQ(r.ss.s.tpcm.i(kOutputUnit), 6);
  }
  {
    FakeRun r = semi_run();
    r.script = codes({kNavLast, -2});
    EXPECT_EQ(r.run(), -1);
    EXPECT_TRUE(r.fs->exists("TESTDAT"));
  }
}

}  // namespace
}  // namespace kelp
