#include "kelpkit/coef_sources.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

// A selector word with Cx, Cy, Cz in fields 1, 2, 3.
std::int32_t fields(int cx, int cy, int cz) { return cx + 16 * cy + 256 * cz; }

struct Flags {
  int winduser = -1, curuser = -1, driftuser = -1, curtanker = -1, windocimf = -1, windshape = -1,
      curshape = -1;
};

Flags run_tnkrid(Session& s, std::int32_t& wind, int windsame, std::int32_t& current, int cursame,
                 std::int32_t& drift, int driftsame) {
  Flags f;
  tnkrid(s, wind, windsame, f.winduser, current, cursame, f.curuser, drift, driftsame, f.driftuser, f.curtanker,
         f.windocimf, f.windshape, f.curshape, kScreen);
  return f;
}

TEST(CoefSources, NewRecordUsesTheUserTablesEverywhere) {
  ScriptedSession t;
  std::int32_t wind = 0x111, current = 0x111, drift = 0x111;
  int ws = -1, cs = -1, ds = -1;
  initfm(t.s, wind, ws, current, cs, drift, ds, kScreen);
  EXPECT_EQ(ws, 1);
  EXPECT_EQ(cs, 1);
  EXPECT_EQ(ds, 1);
  const Flags f = run_tnkrid(t.s, wind, ws, current, cs, drift, ds);
  EXPECT_EQ(f.winduser, 1);
  EXPECT_EQ(f.curuser, 1);
  EXPECT_EQ(f.driftuser, 1);
  EXPECT_EQ(f.curtanker, 0);
  EXPECT_EQ(f.windocimf, 0);
  EXPECT_EQ(f.windshape, 0);
  EXPECT_EQ(f.curshape, 0);
  EXPECT_EQ(wind, 0x111);
  EXPECT_EQ(current, 0x111);
  EXPECT_EQ(drift, 0x111);
  EXPECT_EQ(t.shown(), "");
}

TEST(CoefSources, InitfmComparesTheThreeAxesOnly) {
  ScriptedSession t;
  int ws = -1, cs = -1, ds = -1;
  // Fields above 3 do not count; a current 15 counts as 4, but only in field 1.
  initfm(t.s, fields(2, 2, 2) + 0x7000, ws, fields(15, 4, 4), cs, fields(3, 3, 4), ds, kScreen);
  EXPECT_EQ(ws, 1);
  EXPECT_EQ(cs, 1);
  EXPECT_EQ(ds, 0);
  initfm(t.s, fields(2, 3, 2), ws, fields(4, 15, 15), cs, fields(0, 0, 0), ds, kScreen);
  EXPECT_EQ(ws, 0);
  EXPECT_EQ(cs, 0);
  EXPECT_EQ(ds, 1);
}

TEST(CoefSources, NsmbMeanCurveCountsAsNsmbTanker) {
  ScriptedSession t;
  std::int32_t wind = 0x111, current = fields(15, 4, 4), drift = 0x111;
  int ws = 0, cs = 0, ds = 0;
  initfm(t.s, wind, ws, current, cs, drift, ds, kScreen);
  EXPECT_EQ(cs, 1);
  Flags f = run_tnkrid(t.s, wind, ws, current, cs, drift, ds);
  EXPECT_EQ(f.curtanker, 2);
  EXPECT_EQ(f.curuser, 0);
  EXPECT_EQ(current, fields(15, 4, 4)) << "field 1 keeps 15, the others get 4";

  // Field 1 of 15 alone, axes kept independent: still the NSMB class.
  current = fields(15, 6, 1);
  f = run_tnkrid(t.s, wind, 0, current, 0, drift, 0);
  EXPECT_EQ(f.curtanker, 2);
  EXPECT_EQ(f.curuser, 1);
}

TEST(CoefSources, CodeFourWinsOverCodeSix) {
  ScriptedSession t;
  std::int32_t wind = 0x111, current = fields(6, 4, 1), drift = 0x111;
  Flags f = run_tnkrid(t.s, wind, 0, current, 0, drift, 0);
  EXPECT_EQ(f.curtanker, 2);
  EXPECT_EQ(f.curuser, 1);
  EXPECT_EQ(current, fields(6, 4, 1));
  current = fields(6, 2, 2);
  f = run_tnkrid(t.s, wind, 0, current, 0, drift, 0);
  EXPECT_EQ(f.curtanker, 1);
  EXPECT_EQ(f.curuser, 2);
}

TEST(CoefSources, OneSourceForAllWindAxes) {
  ScriptedSession t;
  std::int32_t wind = fields(2, 3, 5), current = 0x111, drift = 0x111;
  const Flags f = run_tnkrid(t.s, wind, 1, current, 0, drift, 0);
  EXPECT_EQ(wind, fields(2, 2, 2));
  EXPECT_EQ(f.winduser, 2);
  EXPECT_EQ(f.windshape, 0);
  // Without the same-source flag the barge and cylinder codes stay.
  wind = fields(2, 3, 5);
  const Flags g = run_tnkrid(t.s, wind, 0, current, 0, drift, 0);
  EXPECT_EQ(wind, fields(2, 3, 5));
  EXPECT_EQ(g.windshape, 1);
}

TEST(CoefSources, WindOcimfAndDriftFile) {
  ScriptedSession t;
  std::int32_t wind = fields(1, 4, 1), current = 0x111, drift = fields(2, 1, 3);
  Flags f = run_tnkrid(t.s, wind, 0, current, 0, drift, 0);
  EXPECT_EQ(f.windocimf, 1);
  EXPECT_EQ(f.winduser, 1);
  EXPECT_EQ(f.driftuser, 1);
  // Copying drift field 1 removes the drift file.
  f = run_tnkrid(t.s, wind, 0, current, 0, drift, 1);
  EXPECT_EQ(drift, fields(2, 2, 2));
  EXPECT_EQ(f.driftuser, 0);
}

TEST(CoefSources, CurrentShapeIsJudgedBeforeTheCopy) {
  ScriptedSession t;
  std::int32_t wind = 0x111, current = fields(1, 7, 1), drift = 0x111;
  Flags f = run_tnkrid(t.s, wind, 0, current, 1, drift, 0);
  EXPECT_EQ(current, fields(1, 1, 1));
  EXPECT_EQ(f.curshape, 1) << "the cylinder code of Cy was there when asked";
  f = run_tnkrid(t.s, wind, 0, current, 1, drift, 0);
  EXPECT_EQ(f.curshape, 0);
  current = fields(3, 1, 1);
  f = run_tnkrid(t.s, wind, 0, current, 0, drift, 0);
  EXPECT_EQ(f.curshape, 1);
}

TEST(CoefSources, UpperFieldsAreLeftAlone) {
  ScriptedSession t;
  std::int32_t wind = fields(4, 1, 1) + 0x5000, current = fields(3, 2, 2) + 0x60000, drift = fields(7, 1, 1) + 0x1000;
  run_tnkrid(t.s, wind, 1, current, 1, drift, 1);
  EXPECT_EQ(wind, fields(4, 4, 4) + 0x5000);
  EXPECT_EQ(current, fields(3, 3, 3) + 0x60000);
  EXPECT_EQ(drift, fields(7, 7, 7) + 0x1000);
}

TEST(CoefSources, SourceNamesAre29CharactersAndBlankOutsideTheTables) {
  const auto pad29 = [](std::string s) {
    s.resize(29, ' ');
    return s;
  };
  EXPECT_EQ(wind_source_name(1), pad29("User-Specified LOWDAT"));
  EXPECT_EQ(wind_source_name(2), pad29("User-Specified WINDCOFS.txt"));
  EXPECT_EQ(wind_source_name(3), pad29("Barge (Brenvik)"));
  EXPECT_EQ(wind_source_name(4), pad29("OCIMF Tanker '77 (extended)"));
  EXPECT_EQ(wind_source_name(5), pad29("Cylindrical Vessel"));
  EXPECT_EQ(current_source_name(1), pad29("User-Specified LOWDAT"));
  EXPECT_EQ(current_source_name(2), pad29("User-Specified CRNTCOFS.txt"));
  EXPECT_EQ(current_source_name(3), pad29("Barge (Brenvik)"));
  EXPECT_EQ(current_source_name(4), pad29("NSMB Tanker '91"));
  EXPECT_EQ(current_source_name(5), pad29("Extreme Cylindrical Bow '91"));
  EXPECT_EQ(current_source_name(6), pad29("OCIMF Tanker '77"));
  EXPECT_EQ(current_source_name(7), pad29("Cylindrical Vessel"));
  EXPECT_EQ(current_source_name(15), pad29("NSMB Tanker '91"));
  EXPECT_EQ(drift_source_name(1), pad29("User-Specified DRFTCOFS.txt"));
  EXPECT_EQ(drift_source_name(2), pad29("Tanker (Legacy)"));
  EXPECT_EQ(drift_source_name(3), pad29("Semi (Legacy)"));
  EXPECT_EQ(drift_source_name(4), pad29("Buoy or round ship"));
  EXPECT_EQ(drift_source_name(5), pad29("Caisson Spar"));
  EXPECT_EQ(drift_source_name(6), pad29("Tanker (2001)"));
  EXPECT_EQ(drift_source_name(7), pad29("Semi/TLP (2001)"));
  const std::string blank(29, ' ');
  for (int c : {0, 6, 7, 15, -1, INT_MIN, INT_MAX}) EXPECT_EQ(wind_source_name(c), blank) << c;
  for (int c : {0, 8, 14, 16, -1, INT_MAX}) EXPECT_EQ(current_source_name(c), blank) << c;
  for (int c : {0, 8, 15, -1, INT_MIN}) EXPECT_EQ(drift_source_name(c), blank) << c;
}

}  // namespace
}  // namespace kelp
