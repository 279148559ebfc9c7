// A new record and the mooring defaults.
#include "edlib/frame/create_record.hpp"

#include <gtest/gtest.h>

#include "test_session.hpp"

namespace kelp {
namespace {

TEST(CreateRecord, DiscBuoyRecord) {
  testing::ScriptedSession ss;
  Tpcm& t = ss.s.tpcm;
  t.i(100) = 12345;   // inside the record: cleared
  t.i(1987) = 777;    // beyond the disc-buoy record: not touched
  create_record(ss.s, 4, 1987);
  EXPECT_EQ(t.i(100), 0);
  EXPECT_EQ(t.i(1987), 777);
  EXPECT_EQ(t.i(776), 4);
  EXPECT_EQ(t.i(786), 0x444);
  EXPECT_EQ(t.i(773), 0x111);
  EXPECT_EQ(t.i(774), 0x111);
  for (std::size_t w = 53; w <= 58; ++w) EXPECT_EQ(t.i(w), 1) << w;
  EXPECT_EQ(t.text(59, 80), std::string(80, ' '));
  EXPECT_EQ(t.text(79, 80), std::string(80, ' '));
  EXPECT_EQ(t.i(166), 30);
  EXPECT_EQ(t.i(168), 6);
  EXPECT_EQ(t.i(177), 2);
  EXPECT_EQ(t.i(191), 2);
  EXPECT_EQ(t.i(1919), 1);
  EXPECT_EQ(t.i(1920), 1);
  EXPECT_EQ(t.r(446), 64.0f);
  EXPECT_EQ(t.r(448), 2.0f);
  EXPECT_EQ(t.r(460), 0.1f);
  EXPECT_EQ(t.r(477), 180.0f);
  EXPECT_EQ(t.r(1367), 1.25f);
  EXPECT_EQ(t.r(1389), 100.0f);
  for (std::size_t w : {1360, 1361, 1362, 1363, 1366, 1403, 1404, 1406, 1407, 1651, 1654, 1658, 1661}) {
    EXPECT_EQ(t.r(w), 1.0f) << w;
  }
  // The period table: 100 values from 5.0 in steps of 0.5.
  EXPECT_EQ(t.r(317), 5.0f);
  EXPECT_EQ(t.r(318), 5.5f);
  EXPECT_EQ(t.r(416), 54.5f);
  EXPECT_EQ(t.r(417), 0.0f);
}

TEST(CreateRecord, VesselKindAndDriftSourceByProgramKind) {
  struct Case {
    int kind, vessel, drift;
  };
  for (auto c : {Case{1, 1, 0x111}, Case{2, 2, 0x111}, Case{3, 3, 0x222}, Case{14, 3, 0x222},
                 Case{17, 3, 0x333}, Case{15, 1, 0x111}, Case{10, 1, 0x111}}) {
    testing::ScriptedSession ss;
    create_record(ss.s, c.kind, 78635);
    EXPECT_EQ(ss.s.tpcm.i(776), c.vessel) << c.kind;
    EXPECT_EQ(ss.s.tpcm.i(786), c.drift) << c.kind;
  }
}

TEST(CreateRecord, TugDefaultsOfKinds10And13) {
  testing::ScriptedSession s10, s13;
  create_record(s10.s, 10, 78635);
  create_record(s13.s, 13, 78635);
  for (auto* t : {&s10.s.tpcm, &s13.s.tpcm}) {
    EXPECT_EQ(t->i(1996), 1);
    EXPECT_EQ(t->r(2594), 1.0f);
    EXPECT_EQ(t->r(2895), 1.0f);
    EXPECT_EQ(t->r(2623), 100.0f);
    EXPECT_EQ(t->i(2007), 0x444);
    EXPECT_EQ(t->i(2008), 0x222);
  }
  EXPECT_EQ(s10.s.tpcm.i(2020), 0x111);
  EXPECT_EQ(s10.s.tpcm.i(2010), 1);
  EXPECT_EQ(s10.s.tpcm.i(775), 0);
  EXPECT_EQ(s13.s.tpcm.i(2020), 0x444);
  EXPECT_EQ(s13.s.tpcm.i(2010), 4);
  EXPECT_EQ(s13.s.tpcm.i(775), 1);
}

TEST(Mrinit, NotCreateChangesOnlyCountsAndSubEditorKind) {
  testing::ScriptedSession ss;
  Tpcm& t = ss.s.tpcm;
  t.i(5426) = -7;
  t.set_r(62931, 3.0f);
  mrinit(ss.s, 'M', 12);
  EXPECT_EQ(t.i(28378), 25);
  EXPECT_EQ(t.i(28382), 149);
  EXPECT_EQ(t.i(28227), 149);
  EXPECT_EQ(t.i(3662), 50);
  EXPECT_EQ(t.i(28534), 1);
  EXPECT_EQ(t.i(117), 4);
  EXPECT_EQ(t.i(31), 36);
  // Per-line tables untouched.
  EXPECT_EQ(t.i(5426), -7);
  EXPECT_EQ(t.r(62931), 3.0f);
  EXPECT_EQ(t.i(1914), 0);
}

TEST(Mrinit, SubEditorKindByProgramKind) {
  struct Case {
    int kind, sub, vessel;
  };
  for (auto c : {Case{15, 5, 0}, Case{14, 6, 5}, Case{17, 8, 6}, Case{13, 7, 0}, Case{10, 3, 0}, Case{8, 0, 0}}) {
    testing::ScriptedSession ss;
    mrinit(ss.s, 'M', c.kind);
    EXPECT_EQ(ss.s.tpcm.i(117), c.sub) << c.kind;
    EXPECT_EQ(ss.s.tpcm.i(776), c.vessel) << c.kind;
  }
  testing::ScriptedSession k8;
  mrinit(k8.s, 'M', 8);
  EXPECT_EQ(k8.s.tpcm.i(28534), 0);
}

TEST(Mrinit, CreateFillsThePerLineTables) {
  testing::ScriptedSession ss;
  Tpcm& t = ss.s.tpcm;
  mrinit(ss.s, 'C', 12);
  EXPECT_EQ(t.i(28535), 1);
  EXPECT_EQ(t.i(1914), 90);
  EXPECT_EQ(t.r(78232), 1.0f);
  // Line numbers 1..149 from word 5426.
  EXPECT_EQ(t.i(5426), 1);
  EXPECT_EQ(t.i(5574), 149);
  EXPECT_EQ(t.i(5575), 0);
  // Member tables: 50 members by 3 axes.
  EXPECT_EQ(t.r(4175), 1.0f);
  EXPECT_EQ(t.r(4175 + 149), 1.0f);
  EXPECT_EQ(t.r(4625 + 149), 1.0f);
  // Line 1, segment 1 and line 149, segment 25.
  EXPECT_EQ(t.r(62905 + 25 + 1), 1.0f);
  EXPECT_EQ(t.r(66655 + 25 * 149 + 25), 1.0f);
  EXPECT_EQ(t.text(28529 + 50 + 2, 8), std::string(8, ' '));
  EXPECT_EQ(t.i(5276), 1);
  EXPECT_EQ(t.i(28076), 1);
}

TEST(Mrinit, TowingKindHasOneLine) {
  testing::ScriptedSession ss;
  Tpcm& t = ss.s.tpcm;
  mrinit(ss.s, 'C', 10);
  EXPECT_EQ(t.i(117), 3);
  EXPECT_EQ(t.i(28382), 1);
  EXPECT_EQ(t.i(28535), 0);
  EXPECT_EQ(t.i(5426), 1);
  EXPECT_EQ(t.i(5427), 0);
  EXPECT_EQ(t.i(5276), 0);
  EXPECT_EQ(t.r(3668), 0.0f);
}

}  // namespace
}  // namespace kelp
