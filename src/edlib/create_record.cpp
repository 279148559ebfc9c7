#include "edlib/create_record.hpp"

#include <algorithm>
#include <cstddef>

#include "sysutl/session.hpp"

namespace kelp {

namespace {

void set_ints(Tpcm& t, std::initializer_list<std::pair<std::size_t, std::int32_t>> values) {
  for (const auto& [word, v] : values) t.i(word) = v;
}

void set_reals(Tpcm& t, std::initializer_list<std::size_t> words, float v) {
  for (auto w : words) t.set_r(w, v);
}

// Per-kind defaults of a new record.
void create_by_kind(Tpcm& t, int kind) {
  switch (kind) {
    case 10:
    case 13:
      t.i(1996) = 1;
      set_reals(t, {2594, 2595, 2596, 2597, 2600, 2637, 2638, 2640, 2641, 2885, 2886, 2887, 2888, 2892, 2893, 2894,
                    2895},
                1.0f);
      t.i(2007) = kSourceAll4;
      t.i(2008) = kSourceAll2;
      t.set_r(2623, 100.0f);
      t.set_r(2625, 100.0f);
      if (kind == 13) {
        set_ints(t, {{2020, kSourceAll4}, {2010, 4}, {775, 1}});
      } else {
        set_ints(t, {{2020, kSourceAll1}, {2010, 1}, {775, 0}});
      }
      break;
    case 1:
    case 7:
    case 8:
    case 11:
    case 12:
    case 15:
    case 16:
      t.i(776) = 1;
      break;
    case 2:
      t.i(776) = 2;
      break;
    case 3:
    case 14:
      t.i(776) = 3;
      t.i(786) = kSourceAll2;
      break;
    case 4:
      t.i(776) = 4;
      t.i(786) = kSourceAll4;
      break;
    case 17:
      t.i(776) = 3;
      t.i(786) = kSourceAll3;
      break;
    default:
      break;
  }
}

}  // namespace

void create_record(Session& s, int kind, int nwords) {
  Tpcm& t = s.tpcm;
  const auto n = static_cast<std::size_t>(std::clamp<long>(nwords, 0, static_cast<long>(Tpcm::kWords)));
  std::fill_n(t.words().begin(), n, 0);

  for (std::size_t w = 53; w <= 58; ++w) t.i(w) = 1;
  t.set_text(59, 80, "");  // the two identification lines, blank
  t.set_text(79, 80, "");

  set_ints(t, {{162, 0}, {108, 1},  {163, 1},  {164, 1},  {166, 30}, {167, 1},  {753, 1},  {177, 2},
               {104, 1}, {105, 1},  {168, 6},  {762, 1},  {103, 0},  {171, 0},  {173, 0},  {193, 0},
               {1920, 1}, {1919, 1}, {101, 0}, {169, 1}, {170, 1}, {191, 2}, {776, 1}});

  t.set_r(446, 64.0f);
  t.set_r(1360, 1.0f);
  t.set_r(1367, 1.25f);
  set_reals(t, {1366, 1404, 1403, 1363, 1658, 1659, 1660, 1661, 1651, 1652, 1653, 1654, 1361, 1362}, 1.0f);
  t.set_r(448, 2.0f);
  t.set_r(460, 0.1f);
  t.set_r(487, 0.1f);
  t.set_r(477, 180.0f);
  t.set_r(449, 1.0f);
  t.set_r(1389, 100.0f);
  t.set_r(1391, 100.0f);
  set_reals(t, {1406, 1407}, 1.0f);

  t.i(773) = kSourceAll1;  // current
  t.i(774) = kSourceAll1;  // wind
  t.i(786) = kSourceAll1;  // wave drift

  // The period table: 5.0, 5.5, ... 54.5, each step added to the previous value.
  float v = 5.0f;
  for (std::size_t w = 317; w <= 416; ++w) {
    t.set_r(w, v);
    v += 0.5f;
  }

  create_by_kind(t, kind);
}

void mrinit(Session& s, char choice, int kind) {
  Tpcm& t = s.tpcm;
  set_ints(t, {{3, 0}, {28, 1}, {29, 1}, {31, 36}, {27, 1}, {112, 0}, {28378, 25}});

  if (kind == 10) {
    t.i(117) = 3;
    for (std::size_t w : {28533, 28382, 28227, 28380, 28383, 28226, 28076, 28381, 5426}) t.i(w) = 1;
  } else {
    set_ints(t, {{28533, 149}, {28382, 149}, {28227, 149}, {3662, 50}, {3664, 16}, {3661, 100}, {3658, 50}});
    if (kind != 8) {
      t.i(28534) = 1;
      switch (kind) {
        case 12: t.i(117) = 4; break;
        case 15: t.i(117) = 5; break;
        case 14: t.i(117) = 6; t.i(776) = 5; break;
        case 17: t.i(117) = 8; t.i(776) = 6; break;
        case 13: t.i(117) = 7; break;
        default: break;
      }
    }
  }

  if (choice != 'C') return;

  if (kind == 10 || kind == 13) {
    t.i(28535) = 0;
  } else {
    t.i(28535) = 1;
    set_reals(t, {3668, 3669, 3670}, 1.0f);
    t.i(3660) = 1;
    // Member count from the record, kept within the 50 entries of the tables.
    const int members = std::clamp(t.i(3662), 0, 50);
    for (int i = 1; i <= members; ++i) {
      for (int j = 1; j <= 3; ++j) {
        const auto pos = static_cast<std::size_t>(3 * (i - 1) + (j - 1));
        for (std::size_t base : {4175, 4325, 4475, 4625}) t.set_r(base + pos, 1.0f);
      }
    }
  }

  for (std::size_t w : {28226, 28381, 28540, 28541, 28379, 28383, 28380, 28538, 28534, 4983, 4985, 4982}) t.i(w) = 1;
  t.set_r(78232, 1.0f);
  t.set_r(78233, 1.0f);
  t.i(1914) = 90;
  t.i(4993) = 0;

  // Counts from the record are clamped to the tables they index: 149 lines
  // (150 for the name table) and 25 segments per line.
  const int lines = std::clamp(t.i(28382), 0, 149);
  for (int i = 1; i <= lines; ++i) t.i(static_cast<std::size_t>(5425 + i)) = i;

  const int lines2 = std::clamp(t.i(28227), 0, 149);
  const int segments = std::clamp(t.i(28378), 0, 25);
  for (int i = 1; i <= lines2; ++i) {
    const auto ui = static_cast<std::size_t>(i);
    t.i(28075 + ui) = 1;
    t.i(28227 + ui) = 1;
    t.i(5275 + ui) = kind == 10 ? 0 : 1;
    for (int j = 1; j <= segments; ++j) {
      const auto uj = static_cast<std::size_t>(j);
      t.set_text(28529 + 50 * ui + 2 * uj, 8, "");
      t.set_r(62905 + 25 * ui + uj, 1.0f);
      t.set_r(66655 + 25 * ui + uj, 1.0f);
    }
  }
}

}  // namespace kelp
