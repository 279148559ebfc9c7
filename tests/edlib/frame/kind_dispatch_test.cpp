#include "edlib/frame/kind_dispatch.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

const std::string kUpdMessage =
    " ++> You are in an inoperative ???UPD file!\n"
    "     Press <Return> to quit\n";
const std::string kTopMessage =
    " ++> You are in an inoperative ???TOP file!\n"
    "     Press <Return> to quit\n";

// Runs f, expecting the inoperative stop after exactly one line was read.
void expect_inoperative_stop(const std::function<void(Session&)>& f, const std::string& message) {
  ScriptedSession t("\nnot read\n");
  try {
    f(t.s);
    ADD_FAILURE() << "the stub returned";
  } catch (const ProgramStop& stop) {
    EXPECT_EQ(stop.status(), kInoperativeStopStatus);
    EXPECT_NE(stop.status(), 0);
  }
  EXPECT_EQ(t.shown(), message);
  std::string rest;
  std::getline(t.in, rest);
  EXPECT_EQ(rest, "not read") << "the stub must read one line only";
}

TEST(InoperativeStubs, UpgradeStubsTellWaitAndStop) {
  using Upd = void (*)(Session&, float, int&);
  for (Upd stub : {&jckupd, &stmupd, &catupd, &towupd, &clmupd, &sloupd, &dscupd_stub}) {
    int status = 7;
    expect_inoperative_stop([&](Session& s) { stub(s, 6.8f, status); }, kUpdMessage);
  }
}

TEST(InoperativeStubs, IdentityStubsTellWaitAndStop) {
  using Top = void (*)(Session&, Identity&);
  for (Top stub : {&shptop, &semtop, &slmtop, &mortop, &tlptop, &spmtop_stub, &sprtop}) {
    Identity id;
    expect_inoperative_stop([&](Session& s) { stub(s, id); }, kTopMessage);
  }
}

TEST(InoperativeStubs, EndOfInputAtTheWaitStillStops) {
  ScriptedSession t;
  int status = 0;
  EXPECT_THROW(jckupd(t.s, 6.8f, status), ProgramStop);
  EXPECT_EQ(t.shown().substr(0, kUpdMessage.size()), kUpdMessage);
}

TEST(InoperativeStubs, ImportStubsChangeNothing) {
  ScriptedSession t;
  t.s.tpcm.i(1) = 8;
  const Tpcm before = t.s.tpcm;
  catimport(t.s, 8);
  sloimport(t.s, 16);
  EXPECT_EQ(t.s.tpcm, before);
  EXPECT_EQ(t.shown(), "");
}

TEST(KindDispatch, DefaultTableHoldsTheStubs) {
  KindDispatch table;
  for (int kind : {1, 3, 4, 11, 12, 14, 15, 17}) EXPECT_TRUE(table.has_identity(kind)) << kind;
  for (int kind : {2, 5, 6, 7, 8, 9, 10, 13, 16}) EXPECT_FALSE(table.has_identity(kind)) << kind;
  for (int kind : {1, 2, 3, 4, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17}) EXPECT_TRUE(table.has_upgrader(kind)) << kind;
  for (int kind : {5, 6, 9}) EXPECT_FALSE(table.has_upgrader(kind)) << kind;
  for (int kind = 1; kind <= 17; ++kind) EXPECT_EQ(table.has_import(kind), kind == 8 || kind == 16) << kind;

  for (int kind : {2, 7, 8, 10, 13, 16, 4}) {
    expect_inoperative_stop(
        [&](Session& s) {
          int status = 0;
          table.run_upgrader(s, kind, 6.8f, status);
        },
        kUpdMessage);
  }
  for (int kind : {1, 3, 4, 11, 12, 14, 15, 17}) {
    expect_inoperative_stop(
        [&](Session& s) {
          Identity id;
          table.run_identity(s, kind, id);
        },
        kTopMessage);
  }
}

TEST(KindDispatch, KindsOutsideTheTableRunNothing) {
  ScriptedSession t;
  KindDispatch table;
  Identity id;
  int status = 5;
  for (int kind : {0, -1, 18, 5, 9, INT_MIN, INT_MAX}) {
    EXPECT_FALSE(table.run_upgrader(t.s, kind, 6.8f, status)) << kind;
    EXPECT_FALSE(table.run_import(t.s, kind, kind)) << kind;
  }
  for (int kind : {0, -1, 18, 2, INT_MIN, INT_MAX}) EXPECT_FALSE(table.run_identity(t.s, kind, id)) << kind;
  // Registration outside 1..17 is ignored.
  table.set_identity(0, [](Session&, Identity&) {});
  table.set_upgrader(18, [](Session&, float, int&) {});
  table.set_import(INT_MIN, [](Session&, int) {});
  EXPECT_FALSE(table.has_identity(0));
  EXPECT_FALSE(table.has_upgrader(18));
  EXPECT_FALSE(table.has_import(INT_MIN));
  EXPECT_EQ(status, 5);
  EXPECT_EQ(t.shown(), "");
}

TEST(KindDispatch, ImportSlotsRunAndChangeNothing) {
  ScriptedSession t;
  const Tpcm before = t.s.tpcm;
  KindDispatch table;
  EXPECT_TRUE(table.run_import(t.s, 8, 8));
  EXPECT_TRUE(table.run_import(t.s, 16, 16));
  EXPECT_EQ(t.s.tpcm, before);
  EXPECT_EQ(t.shown(), "");
}

TEST(KindDispatch, ProgramRegistersItsOwnRoutines) {
  ScriptedSession t;
  KindDispatch& table = kind_dispatch(t.s);
  EXPECT_EQ(&table, &kind_dispatch(t.s)) << "one table per session";
  table.set_identity(4, [](Session&, Identity& id) {
    id.program_name = "Rondixa ";
    id.data_file = "RONDDAT     ";
    id.version = 6.8f;
    id.kind = 4;
  });
  float seen_version = 0.0f;
  table.set_upgrader(4, [&](Session&, float v, int& status) {
    seen_version = v;
    status = 0;
  });
  int imported = 0;
  table.set_import(8, [&](Session&, int kind) { imported = kind; });

  Identity id;
  EXPECT_TRUE(table.run_identity(t.s, 4, id));
  EXPECT_EQ(id.program_name, "Rondixa ");
  EXPECT_EQ(id.data_file, "RONDDAT     ");
  EXPECT_EQ(id.kind, 4);
  int status = 1;
  EXPECT_TRUE(table.run_upgrader(t.s, 4, 6.8f, status));
  EXPECT_EQ(status, 0);
  EXPECT_FLOAT_EQ(seen_version, 6.8f);
  EXPECT_TRUE(table.run_import(t.s, 8, 8));
  EXPECT_EQ(imported, 8);
  EXPECT_EQ(t.shown(), "");

  // Another session starts with the stubs again.
  ScriptedSession other("\n");
  Identity other_id;
  EXPECT_THROW(kind_dispatch(other.s).run_identity(other.s, 4, other_id), ProgramStop);
  EXPECT_EQ(other.shown(), kTopMessage);
}

}  // namespace
}  // namespace kelp
