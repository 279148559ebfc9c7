#include "edlib/record/unit_conversion.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "edlib/record/data_record.hpp"

namespace kelp {

namespace {


void scale(Tpcm& t, std::size_t word, float f) { t.set_r(word, t.r(word) * f); }

void scale_range(Tpcm& t, std::size_t first, std::size_t last, float f) {
  for (std::size_t w = first; w <= last; ++w) scale(t, w, f);
}

void scale_words(Tpcm& t, std::initializer_list<std::size_t> words, float f) {
  for (std::size_t w : words) scale(t, w, f);
}

// Words of a line-by-segment table: base + 25(i-1) + (j-1), 150 lines of 25.
void scale_segments(Tpcm& t, std::size_t base, float f) { scale_range(t, base, base + 150 * 25 - 1, f); }

}  // namespace

UnitFactors unit_factors(int new_unit_system) {
  if (new_unit_system == 1) return {0.3048f, 0.45359248f, 25.400051f};
  return {3.28084f, 2.204622f, 0.03937f};
}

int topcvrt(Session& s) {
  Tpcm& t = s.tpcm;
  int& units = t.i(kUnitSystem);
  if (units != 0 && units != 1) return 1;
  units = 1 - units;
  const UnitFactors u = unit_factors(units);
  const float L = u.L;
  const float F = u.F;
  const float L2 = L * L;

  scale_range(t, 461, 465, L);
  scale_range(t, 429, 434, L);
  scale_words(t, {445, 473, 450, 489, 490, 1666, 1672}, L);  // 490: second swell height
  if (t.i(kConstantSlope) == 0) scale(t, kRegularHeight, L);

  // Water density: (F/L)/L^2, so 64.0 lb/ft^3 becomes about 1,025.
  const float density = (F / L) / L2;
  scale(t, 446, density);

  scale_words(t, {458, 480, 481, 455, 478, 479}, L2);
  scale_range(t, 217, 316, L2);

  scale_range(t, 1685, 1774, F);
  scale_range(t, 1775, 1864, F);
  scale_words(t, {1673, 1674}, F);
  return 0;
}

void vescvrt(Session& s) {
  Tpcm& t = s.tpcm;
  const UnitFactors u = unit_factors(t.i(kUnitSystem));
  const float L = u.L;
  const float F = u.F;
  const float L2 = L * L;
  const float FL = F * L;
  const float F2 = F * F;
  const float FL2 = FL * FL;
  const float FperL = F / L;

  scale_range(t, 904, 1350, L);
  scale_words(t, {1353, 1355, 1357, 1359, 1374, 1375}, L);
  scale_range(t, 1399, 1402, L);
  scale_range(t, 1409, 1411, L);
  scale_range(t, 1413, 1423, L);
  scale(t, 1424, L);  // speed: feet/sec and meters/sec scale as lengths
  scale_range(t, 1425, 1427, L);
  scale_range(t, 1430, 1433, L);
  scale_words(t, {1438, 1439, 1447, 1450}, L);
  scale_range(t, 1456, 1458, L);
  scale_range(t, 1475, 1477, L);
  scale_range(t, 1489, 1491, L);
  scale_words(t, {1649, 1662, 1664}, L);  // 1649: LCG to midships

  scale_words(t, {1352, 1354, 1356, 1358, 1412, 1429}, L2);

  scale_words(t, {482, 1408, 1434, 1435, 1453, 1454, 1464}, F);
  scale_range(t, 1467, 1469, F);
  scale_range(t, 1481, 1483, F);
  scale(t, 1665, F);

  // Moments, the torsional spring (moment per radian) and the moment
  // dampings (moment per angular rate).
  scale_words(t, {1436, 1446, 1455, 1462, 1465, 1466, 1479, 1493}, FL);
  scale_range(t, 1470, 1472, FL);
  scale_range(t, 1484, 1486, FL);

  scale_words(t, {1459, 1473, 1487}, F2);
  scale_words(t, {1460, 1474, 1488}, FL2);

  scale_range(t, 1376, 1381, FperL);
  // Force dampings of the external loads: force per velocity.
  scale_words(t, {1449, 1452, 1461, 1478, 1492}, FperL);
}

void tugcvrt(Session& s) {
  // The second vessel's block (913 words from 1987) takes the place of the
  // first (from 753) while the vessel converter runs. Word 482 lies outside
  // the moved block and was converted with the first vessel already, so it is
  // kept out of this pass.
  Tpcm& t = s.tpcm;
  auto words = t.words();
  const std::int32_t word482 = t.bits(kPhantomWeight);
  std::swap_ranges(words.begin() + 1987, words.begin() + 1987 + 913, words.begin() + 753);
  vescvrt(s);
  std::swap_ranges(words.begin() + 1987, words.begin() + 1987 + 913, words.begin() + 753);
  t.bits(kPhantomWeight) = word482;
}

void semcvrt(Session& s) {
  Tpcm& t = s.tpcm;
  const UnitFactors u = unit_factors(t.i(kUnitSystem));
  const float L = u.L;
  scale_range(t, 3675, 3824, L);
  scale_range(t, 3825, 3974, L);
  scale_range(t, 4025, 4174, L);
  scale_range(t, 3975, 4024, L * L);
}

void slmcvrt(Session& s) {
  Tpcm& t = s.tpcm;
  const UnitFactors u = unit_factors(t.i(kUnitSystem));
  const float L = u.L;
  const float F = u.F;
  scale(t, 2373, L);
  scale_range(t, 2092, 2131, L);
  scale_range(t, 2172, 2211, L);
  scale_range(t, 2252, 2291, L);
  scale_range(t, 2332, 2371, L);
  scale(t, 2374, L * L);
  scale_range(t, 2132, 2171, L * L * L);
  scale_range(t, 2212, 2251, F);
}

void morcvrt(Session& s) {
  Tpcm& t = s.tpcm;
  const UnitFactors u = unit_factors(t.i(kUnitSystem));
  const float L = u.L;
  const float F = u.F;
  const float D = u.D;
  const float FperL = F / L;

  scale_range(t, 78081, 78230, L);
  scale_segments(t, 36081, L);            // segment lengths
  scale_range(t, 62481, 62481 + 450 - 1, L);  // 150 x 3 table
  scale_range(t, 78386, 78391, L);
  scale_words(t, {78231, 78385, 4999, 5000}, L);

  scale_segments(t, 39831, D);  // segment diameters

  scale_segments(t, 58581, F);
  // The two force tables from 78392 and 78404 overlap; every word of the
  // joint range is a force and is converted exactly once.
  scale_range(t, 78392, 78553, F);

  scale_segments(t, 43581, FperL);
  scale_segments(t, 70431, FperL);

  const int selector = t.i(kProfileMode);
  if (selector == 2 || selector == 3) {
    scale_range(t, 62331, 62480, F);
  } else if (selector == 1) {
    scale_range(t, 62331, 62480, L);
  }

  // Strain-law coefficients: coefficient k of line i, segment j at
  // 47331 + 75(i-1) + 3(j-1) + (k-1), scaled by 1/F^k.
  const float inv[3] = {1.0f / F, 1.0f / (F * F), 1.0f / (F * F * F)};
  for (std::size_t i = 0; i < 150; ++i) {
    for (std::size_t j = 0; j < 25; ++j) {
      for (std::size_t k = 0; k < 3; ++k) scale(t, 47331 + 75 * i + 3 * j + k, inv[k]);
    }
  }
}

void stmcvrt(Session&) {}
void catcvrt(Session&) {}

namespace {

// Whether a word that held a finite real holds one no longer.
bool overflowed(const Tpcm& before, const Tpcm& after) {
  const auto a = before.words();
  const auto b = after.words();
  for (std::size_t w = 0; w < a.size(); ++w) {
    if (a[w] != b[w] && std::isfinite(std::bit_cast<float>(a[w])) && !std::isfinite(std::bit_cast<float>(b[w]))) {
      return true;
    }
  }
  return false;
}

}  // namespace

int convert_record_units(Session& s) {
  // The converters run on the record itself; the copy puts it back whole
  // when any word overflowed, before anyone sees a converted value.
  const Tpcm before = s.tpcm;
  if (topcvrt(s) != 0) return kConvertBadUnitWord;
  vescvrt(s);
  switch (s.tpcm.i(kProgramKind)) {
    case 3:
      semcvrt(s);
      break;
    case 7:
      morcvrt(s);
      stmcvrt(s);
      break;
    case 8:
      morcvrt(s);
      catcvrt(s);
      break;
    case 10:
    case 13:
      tugcvrt(s);
      semcvrt(s);
      morcvrt(s);
      break;
    case 11:
      slmcvrt(s);
      break;
    case 12:
    case 14:
    case 15:
    case 17:
      semcvrt(s);
      morcvrt(s);
      break;
    default:
      break;
  }
  if (overflowed(before, s.tpcm)) {
    s.tpcm = before;
    return kConvertOverflow;
  }
  return kConverted;
}

}  // namespace kelp
