#include "edlib/record/unit_conversion.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <set>

#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

// Every word the switch of a kind-4 record must convert, listed from the
// conversion tables of the site and vessel blocks.
std::set<std::size_t> disc_buoy_converted_words() {
  std::set<std::size_t> w;
  auto range = [&](std::size_t a, std::size_t b) {
    for (std::size_t n = a; n <= b; ++n) w.insert(n);
  };
  // site and environment
  range(461, 465);
  range(429, 434);
  for (std::size_t n : {445, 473, 450, 489, 490, 1666, 1672, 447, 446, 458, 480, 481, 455, 478, 479}) w.insert(n);
  range(217, 316);
  range(1685, 1864);
  w.insert(1673);
  w.insert(1674);
  // vessel block
  range(904, 1350);
  for (std::size_t n : {1353, 1355, 1357, 1359, 1374, 1375, 1424, 1438, 1439, 1447, 1450, 1649, 1662, 1664}) w.insert(n);
  range(1399, 1402);
  range(1409, 1411);
  range(1413, 1423);
  range(1425, 1427);
  range(1430, 1433);
  range(1456, 1458);
  range(1475, 1477);
  range(1489, 1491);
  for (std::size_t n : {1352, 1354, 1356, 1358, 1412, 1429}) w.insert(n);
  for (std::size_t n : {482, 1408, 1434, 1435, 1446, 1453, 1454, 1464, 1665}) w.insert(n);
  range(1467, 1469);
  range(1481, 1483);
  for (std::size_t n : {1436, 1455, 1465, 1466}) w.insert(n);
  range(1470, 1472);
  range(1484, 1486);
  for (std::size_t n : {1459, 1473, 1487, 1460, 1474, 1488}) w.insert(n);
  range(1376, 1381);
  w.insert(1449);
  w.insert(1452);
  // torsional spring and the dampings of the three external loads
  for (std::size_t n : {1461, 1462, 1478, 1479, 1492, 1493}) w.insert(n);
  return w;
}

// Fills every word with a nonzero real (distinct over the first 10,000 words)
// so that any stray write shows, also in the mooring region.
void fill_sentinels(Tpcm& t) {
  for (std::size_t n = 2; n < kTpcmWords; ++n) t.set_r(n, 100.0f + static_cast<float>(n % 10000));
}

float ulps_apart(float a, float b) {
  return static_cast<float>(std::abs(std::bit_cast<std::int32_t>(a) - std::bit_cast<std::int32_t>(b)));
}

TEST(UnitConversion, WaterDensityToMetricAndBack) {
  ScriptedSession t;
  t.s.tpcm.i(1) = 4;
  t.s.tpcm.set_r(446, 64.0f);
  ASSERT_EQ(convert_record_units(t.s), 0);
  EXPECT_EQ(t.s.tpcm.i(116), 1);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(t.s.tpcm.r(446)), 0x448025D2u);  // 1025.1819 kg/m^3
  ASSERT_EQ(convert_record_units(t.s), 0);
  EXPECT_EQ(t.s.tpcm.i(116), 0);
  EXPECT_EQ(t.s.tpcm.r(446), 64.0f);
}

TEST(UnitConversion, DiscBuoyRecordConvertsExactlyItsWords) {
  ScriptedSession t;
  Tpcm& r = t.s.tpcm;
  fill_sentinels(r);
  r.i(1) = 4;
  r.i(107) = 0;
  r.i(116) = 0;
  const Tpcm before = r;
  ASSERT_EQ(convert_record_units(t.s), 0);
  const auto expected = disc_buoy_converted_words();
  for (std::size_t n = 2; n < kTpcmWords; ++n) {
    if (n == 116) continue;
    const bool changed = r.i(n) != before.i(n);
    EXPECT_EQ(changed, expected.count(n) == 1) << "word " << n;
  }
  // Lengths scale by 0.3048 (the speed and LCG words among them).
  for (std::size_t n : {461u, 490u, 1424u, 1649u, 904u, 1350u}) {
    EXPECT_FLOAT_EQ(r.r(n), before.r(n) * 0.3048f) << n;
  }
  // Back to English: every converted word within one unit in the last place.
  ASSERT_EQ(convert_record_units(t.s), 0);
  for (std::size_t n : expected) {
    EXPECT_LE(ulps_apart(r.r(n), before.r(n)), 1.0f) << "word " << n;
  }
}

// The torsional spring (moment per radian), the moment dampings (moment
// per angular rate) and the force dampings (force per velocity), against
// factors worked out by hand: 1 kip-ft = 0.45359248 x 0.3048 = 0.1382549
// m.ton-m, 1 kip/(ft/s) = 0.45359248 / 0.3048 = 1.4881643 m.ton/(m/s).
TEST(UnitConversion, SpringAndDampingsOfTheExternalLoads) {
  struct Case {
    std::size_t word;
    float english;
    float metric;
  };
  const Case cases[] = {
      {1446, 1000.0f, 138.25499f}, {1462, 500.0f, 69.12749f}, {1479, 2.0f, 0.27650998f},
      {1493, 10.0f, 1.3825499f},   {1461, 10.0f, 14.881643f}, {1478, 1.0f, 1.4881643f},
      {1492, 250.0f, 372.04108f},
  };
  for (int kind : {15, 10}) {
    ScriptedSession t;
    Tpcm& r = t.s.tpcm;
    r.i(1) = kind;
    for (const Case& c : cases) r.set_r(c.word, c.english);
    ASSERT_EQ(convert_record_units(t.s), 0);
    for (const Case& c : cases) EXPECT_NEAR(r.r(c.word), c.metric, c.metric * 2e-6f) << kind << " word " << c.word;
    ASSERT_EQ(convert_record_units(t.s), 0);
    for (const Case& c : cases) EXPECT_LE(ulps_apart(r.r(c.word), c.english), 1.0f) << kind << " word " << c.word;
  }
}

TEST(UnitConversion, DepthWordFollowsItsSwitch) {
  ScriptedSession t;
  t.s.tpcm.i(1) = 4;
  t.s.tpcm.set_r(447, 100.0f);
  t.s.tpcm.i(107) = 1;
  convert_record_units(t.s);
  EXPECT_EQ(t.s.tpcm.r(447), 100.0f);
}

TEST(UnitConversion, DamagedUnitWordIsRefused) {
  ScriptedSession t;
  fill_sentinels(t.s.tpcm);
  t.s.tpcm.i(116) = 7;
  const Tpcm before = t.s.tpcm;
  EXPECT_EQ(convert_record_units(t.s), 1);
  EXPECT_TRUE(t.s.tpcm == before);
}

TEST(UnitConversion, MooringForceTablesConvertEachWordOnce) {
  ScriptedSession t;
  Tpcm& r = t.s.tpcm;
  r.i(1) = 15;
  for (std::size_t n = 78392; n <= 78553; ++n) r.set_r(n, 10.0f);
  r.set_r(78554, 10.0f);
  r.set_r(78391, 10.0f);
  convert_record_units(t.s);
  for (std::size_t n = 78392; n <= 78553; ++n) EXPECT_FLOAT_EQ(r.r(n), 10.0f * 0.45359248f) << n;
  EXPECT_EQ(r.r(78554), 10.0f);
  EXPECT_FLOAT_EQ(r.r(78391), 10.0f * 0.3048f);
}

TEST(UnitConversion, SecondVesselConvertsSharedForceWordOnce) {
  ScriptedSession t;
  Tpcm& r = t.s.tpcm;
  r.i(1) = 10;
  r.set_r(482, 100.0f);
  r.set_r(1987 + (904 - 753), 50.0f);  // first table entry of the second vessel
  convert_record_units(t.s);
  EXPECT_FLOAT_EQ(r.r(482), 100.0f * 0.45359248f);
  EXPECT_FLOAT_EQ(r.r(1987 + (904 - 753)), 50.0f * 0.3048f);
}

TEST(UnitConversion, StrainLawCoefficientsScaleByInversePowers) {
  ScriptedSession t;
  Tpcm& r = t.s.tpcm;
  r.i(1) = 12;
  const std::size_t line2seg3 = 47331 + 75 * 1 + 3 * 2;
  for (std::size_t k = 0; k < 3; ++k) r.set_r(line2seg3 + k, 1.0f);
  convert_record_units(t.s);
  const float F = 0.45359248f;
  EXPECT_FLOAT_EQ(r.r(line2seg3), 1.0f / F);
  EXPECT_FLOAT_EQ(r.r(line2seg3 + 1), 1.0f / (F * F));
  EXPECT_FLOAT_EQ(r.r(line2seg3 + 2), 1.0f / (F * F * F));
}

// The words each kind's further converters must touch, from the conversion
// tables (not from the converters): the second vessel block is the first
// one moved by 1,234 words, without word 482.
std::set<std::size_t> further_converted_words(int kind) {
  std::set<std::size_t> w;
  auto range = [&](std::size_t a, std::size_t b) {
    for (std::size_t n = a; n <= b; ++n) w.insert(n);
  };
  const bool semi = kind == 3 || kind == 10 || kind == 13 || kind == 12 || kind == 14 || kind == 15 || kind == 17;
  const bool moor = kind == 10 || kind == 13 || kind == 12 || kind == 14 || kind == 15 || kind == 17;
  if (kind == 10 || kind == 13) {
    for (std::size_t n : disc_buoy_converted_words()) {
      if (n >= 753 && n <= 1665) w.insert(n + 1234);
    }
  }
  if (semi) range(3675, 4174);
  if (kind == 11) {
    range(2092, 2291);  // lengths, volumes (L^3) and forces
    range(2332, 2371);
    w.insert(2373);
    w.insert(2374);
  }
  if (moor) {
    range(78081, 78231);
    range(78385, 78553);  // lengths 78385 to 78391, then the force tables
    w.insert(4999);
    w.insert(5000);
    range(36081, 62330);  // segment lengths, diameters, F/L, strain laws, forces
    range(62331, 62480);  // selector 2: forces
    range(62481, 62930);
    range(70431, 74180);
  }
  return w;
}

TEST(UnitConversion, EveryKindConvertsExactlyItsWordsAndComesBack) {
  for (int kind : {3, 10, 11, 15}) {
    ScriptedSession t;
    Tpcm& r = t.s.tpcm;
    for (std::size_t n = 2; n < kTpcmWords; ++n) r.set_r(n, 1.0f + static_cast<float>(n % 977) / 16.0f);
    r.i(1) = kind;
    r.i(107) = 0;
    r.i(116) = 0;
    r.i(28537) = 2;
    const Tpcm before = r;
    ASSERT_EQ(convert_record_units(t.s), 0);
    std::set<std::size_t> expected = disc_buoy_converted_words();
    for (std::size_t n : further_converted_words(kind)) expected.insert(n);
    int moved_wrongly = 0;
    for (std::size_t n = 2; n < kTpcmWords; ++n) {
      if (n == 116) continue;
      const bool changed = r.i(n) != before.i(n);
      if (changed != (expected.count(n) == 1) && ++moved_wrongly <= 5) ADD_FAILURE() << "kind " << kind << " word " << n;
    }
    EXPECT_EQ(moved_wrongly, 0) << "kind " << kind;
    // Forces once, never twice; the tug's force word once.
    if (kind != 3 && kind != 11) {
      EXPECT_EQ(r.r(78500), before.r(78500) * 0.45359248f) << kind;
    }
    EXPECT_EQ(r.r(482), before.r(482) * 0.45359248f) << kind;
    // Back to English: within rounding (the strain laws go through 1/F^3).
    ASSERT_EQ(convert_record_units(t.s), 0);
    for (std::size_t n : expected) {
      if (ulps_apart(r.r(n), before.r(n)) > 4.0f && ++moved_wrongly <= 5) ADD_FAILURE() << "kind " << kind << " word " << n;
    }
  }
}

}  // namespace
}  // namespace kelp
