#include "moor/s/line_driver.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "edlib/record/data_record.hpp"
#include "moor/mooring_fixture.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::Mooring;
using testing::range_at;
using testing::tension_at;

constexpr int kType = testing::kMooredType;
constexpr double kL = testing::kLineLength, kW = testing::kLineWeight, kEA = testing::kLineEA,
                 kDepth = testing::kWaterDepth;

TEST(Lindrv, SensitivitiesAgainstTheClosedForm) {
  for (const double H : {30.0, 120.0}) {  // resting on the bottom; lifted off it
    SCOPED_TRACE(H);
    Mooring m;
    const double x = range_at(H, kDepth);
    m.ranges[0] = static_cast<float>(x);
    m.run();
    EXPECT_EQ(m.t.shown(), "");
    EXPECT_NEAR(m.lc->hmean, H, 2e-3 * H);
    const double Hm = m.lc->hmean;
    const double dz = 0.01, dh = 0.01;
    const double dx_dz = (range_at(Hm, kDepth + dz) - range_at(Hm, kDepth - dz)) / (2 * dz);
    const double dx_dh = (range_at(Hm + dh, kDepth) - range_at(Hm - dh, kDepth)) / (2 * dh);
    const double dt_dx = (tension_at(x + dz, kDepth) - tension_at(x - dz, kDepth)) / (2 * dz);
    const double dt_dz = (tension_at(x, kDepth + dz) - tension_at(x, kDepth - dz)) / (2 * dz);
    const double V = testing::irvine_vertical_force(kL, kW, kEA, Hm, kDepth);
    const double axial = (V * dt_dz + Hm * dt_dx) / std::hypot(Hm, V);
    EXPECT_EQ(m.at(m.cc->dzsdzf, 1), 1.0f);
    EXPECT_NEAR(m.at(m.cc->dxsdzf, 1), dx_dz, 0.02 * std::fabs(dx_dz));
    EXPECT_NEAR(m.at(m.cc->dxsdh, 1), dx_dh, 0.02 * dx_dh);
    EXPECT_NEAR(m.cc->top_axial_rate[0], axial, 0.02 * axial);
    EXPECT_NEAR(m.lc->end_tangents[0], V / Hm, 1e-4 * V / Hm);
    // The anchor does not move.
    EXPECT_NEAR(m.at(m.cc->dxsdzf, 2), 0.0f, 1e-3f);
    EXPECT_NEAR(m.at(m.cc->dzsdzf, 2), 0.0f, 0.02f);
    EXPECT_NEAR(m.at(m.cc->dzsdh, 1), 0.0f, 0.02f * std::fabs(dx_dh));
  }
}

TEST(Lindrv, ExcludedAndBadLinesLeaveTheirEntriesUntouched) {
  struct Case {
    std::int32_t code;
    std::string message;
  };
  const Case cases[] = {
      {1025, ""},
      {1024 + 512, ""},
      {0, " ++> Line   1 skipped in LINDRV: its line type 0 is not 1 to 150.\n"},
      {1024, " ++> Line   1 skipped in LINDRV: its line type 0 is not 1 to 150.\n"},
      {151, " ++> Line   1 skipped in LINDRV: its line type 151 is not 1 to 150.\n"},
      {-3, " ++> Line   1 skipped in LINDRV: its line type -3 is not 1 to 150.\n"},
      {7, " ++> Line   1 skipped in LINDRV: line type 7 has no elements or no length.\n"},
  };
  for (const Case& c : cases) {
    Mooring m;
    m.lc->request_code[0] = c.code;
    m.ranges[0] = static_cast<float>(range_at(30.0, kDepth));
    m.cc->dxsdzf.fill(-9.0f);
    m.cc->top_axial_rate.fill(-9.0f);
    const Catcom before = *m.cc;
    m.run();
    EXPECT_EQ(m.t.shown(), c.message) << c.code;
    EXPECT_EQ(m.cc->dxsdzf, before.dxsdzf) << c.code;
    EXPECT_EQ(m.cc->top_axial_rate, before.top_axial_rate) << c.code;
  }
  // Elements of no length; no tension at the range; a fairlead outside the table.
  Mooring m;
  m.t.s.tpcm.set_r(*element_word(ElementField::kLength, 1, kType), 0.0f);
  m.run();
  EXPECT_EQ(m.t.shown(), " ++> Line   1 skipped in LINDRV: line type 3 has no elements or no length.\n");
  Mooring slack;
  slack.ranges[0] = slack.lc->range_table[Lincom::table_index(1, 1, kType)] - 100.0f;
  slack.run();
  EXPECT_EQ(slack.t.shown(), " ++> Line   1 skipped in LINDRV: its horizontal tension from the tables is not positive.\n");
  Mooring far;
  far.t.s.tpcm.i(*type_line_word(kType, 1)) = 151;
  far.run();
  EXPECT_EQ(far.t.shown(), " ++> Line   1 skipped in LINDRV: fairlead number 151 is not 1 to 150.\n");
}

TEST(Lindrv, EqualTableTangentsStillSolve) {
  // Every tabulated top angle has tangent -0.1: the bracket starts at [-0.2, 0].
  Mooring m;
  for (int j = 1; j <= kTablePoints; ++j) m.lc->top_angle_table[Lincom::table_index(j, 1, kType)] = std::atan(-0.1f);
  m.ranges[0] = static_cast<float>(range_at(30.0, kDepth));
  m.run();
  const double Hm = m.lc->hmean;
  const double V = testing::irvine_vertical_force(kL, kW, kEA, Hm, kDepth);
  EXPECT_NEAR(m.lc->end_tangents[0], V / Hm, 1e-4 * V / Hm);
}

TEST(Lindrv, LayeredKindsBlendTheColumns) {
  // Kind 17: three layer columns 10 apart, the line's fairlead offset 4
  // above the middle one.
  Mooring m(17, 3);
  const double H = 40.0;
  m.offsets[0] = 4.0f;
  m.ranges[0] = static_cast<float>(range_at(H, kDepth + 4.0));
  m.run();
  EXPECT_EQ(m.lc->layer_blended, 2);
  EXPECT_NEAR(m.lc->hmean, H, 0.01 * H);
  EXPECT_NEAR(m.lc->span, kDepth + 4.0, 1e-4);
  const double V = testing::irvine_vertical_force(kL, kW, kEA, m.lc->hmean, kDepth + 4.0);
  EXPECT_NEAR(m.lc->end_tangents[0], V / m.lc->hmean, 1e-3);
}

TEST(Lindrv, TraceLinesWhenAsked) {
  // Debugging allowed; the trace level is asked for at the start and around
  // the mean solution.
  Mooring m;
  m.t.in.str("1\n1\n1\n");
  m.t.s.tpcm.i(kDebug) = 1;
  m.ranges[0] = static_cast<float>(range_at(30.0, kDepth));
  m.run();
  const std::string shown = m.t.shown();
  for (const char* text : {" ### In LINDRV:", "Input NBUG:", " IN HTERR; ITYP, NELEM,TOPTAN,SCLWT(1),TMPTAN(1->NELEM+1),BOTLN",
                           "  ALEVER,TOPT1,TOPT2", "ITERATION LOOP FOLLOWS:", "BEFORE DZSDH",
                           " I,DXSDZF(I,ILINE),DZSDZF(I,ILINE),DXSDH(I,ILINE),DZSDH(IELEM,ILINE)\n    1"}) {
    EXPECT_NE(shown.find(text), std::string::npos) << text;
  }
  // Without the master switch the trace flag is cleared.
  Mooring quiet;
  quiet.t.s.tpcm.i(kTraceLevel) = 1;
  quiet.ranges[0] = m.ranges[0];
  quiet.run();
  EXPECT_EQ(quiet.t.s.tpcm.i(kTraceLevel), 0);
  EXPECT_EQ(quiet.t.shown(), "");
}

TEST(Lindrv, CountsFromTheRecordAreHeldToTheTables) {
  Mooring m(17, 3);
  Tpcm& tp = m.t.s.tpcm;
  tp.i(kMooringLegs) = 100000;  // 150 lines are read
  m.lc->request_code.fill(2000);
  m.lc->request_code[0] = kType;
  tp.i(kInterpTableSize) = 5000;
  tp.i(kInterpLayers) = 1000;
  tp.i(*type_sublines_word(kType)) = 60;  // 25 elements are read
  for (int i = 2; i <= 25; ++i) tp.set_r(*element_word(ElementField::kLength, i, kType), 0.0f);
  m.ranges[0] = static_cast<float>(range_at(40.0, kDepth));
  m.run();
  EXPECT_NEAR(m.lc->hmean, 40.0, 0.4);
  EXPECT_EQ(m.t.shown(), "");
}

}  // namespace
}  // namespace kelp
