// Growing records of the old fairlead layout: where every old word lands,
// what is cleared, and that nothing beyond the record is written.
#include "edlib/frame/fairlead_resize.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kelp {
namespace {

constexpr std::int32_t kGuard = 0x47554152;
constexpr int kZero = -1;

// A record of n words whose word w holds a value that tells w (never 0),
// the kind in word 1, and a guard word behind the record.
std::vector<std::int32_t> tagged_record(int n, int kind) {
  std::vector<std::int32_t> rec(static_cast<std::size_t>(n) + 1);
  for (std::size_t w = 0; w < rec.size(); ++w) rec[w] = 0x5A000000 + static_cast<std::int32_t>(w);
  rec[1] = kind;
  rec.back() = kGuard;
  return rec;
}

// New words first..last hold the old words from `old` on (kZero: cleared).
struct Region {
  int first;
  int last;
  int old;
};

// The vessel block worked out by hand: old words 499 to 602 move 200 words
// on, 603 to 750 move 300 on, 751 to 1,386 move 600 on, the rest drops out.
#define VESSEL_BLOCK {0, 498, 0}, {499, 698, kZero}, {699, 802, 499}, {803, 902, kZero}, \
                     {903, 1050, 603}, {1051, 1350, kZero}, {1351, 1986, 751}

TEST(FairleadResize, OldWordsLandWhereTheNewLayoutWantsThem) {
  struct Case {
    int kind;
    int n;
    std::vector<Region> map;
  };
  const std::vector<Case> cases = {
      {4, 1987, {VESSEL_BLOCK}},
      {1, 1987, {VESSEL_BLOCK}},
      // Kind 11 stops after the vessel block; its last step shifts the
      // second-vessel block by one word (old word 1,386 stays at 1,986 too).
      {11, 4975, {VESSEL_BLOCK, {1987, 4974, 1386}}},
      {3, 4975, {VESSEL_BLOCK, {1987, 2036, 1386}, {2037, 2136, kZero}, {2137, 2284, 1436}, {2285, 2584, kZero},
                 {2585, 4974, 1584}}},
  };
  for (const Case& c : cases) {
    auto rec = tagged_record(c.n, c.kind);
    const auto before = rec;
    update_to_149(rec, c.n);
    int covered = 0;
    for (const Region& r : c.map) {
      for (int w = r.first; w <= r.last; ++w, ++covered) {
        const std::int32_t want = r.old == kZero ? 0 : before[static_cast<std::size_t>(r.old + w - r.first)];
        ASSERT_EQ(rec[static_cast<std::size_t>(w)], want) << "kind " << c.kind << " word " << w;
      }
    }
    EXPECT_EQ(covered, c.n) << "the map covers every word";
    EXPECT_EQ(rec.back(), kGuard) << "kind " << c.kind;
  }
}

// A table of the mooring region after the resize: `lines` lines of
// `entries` entries of `width` words at word `base`, of which the first
// `old_lines` lines and `old_entries` entries came from the old layout.
struct Table {
  int base;
  int width;
  int old_entries;
  int entries;
  int old_lines;
  int lines;
};

TEST(FairleadResize, MooringTablesGrowLineByLineAndTheGuardStays) {
  constexpr int kN = 78635;
  auto rec = tagged_record(kN, 15);
  update_to_149(rec, kN);
  EXPECT_EQ(rec.back(), kGuard);

  std::vector<Table> tables = {{5426, 1, 51, 151, 50, 150}, {28581, 2, 10, 25, 50, 150},
                               {47331, 3, 10, 25, 50, 150}, {62481, 3, 1, 1, 50, 150}};
  for (int base : {5126, 5276, 28076, 28228, 28383, 62331, 77931, 78081, 78235}) {
    tables.push_back({base, 1, 50, 150, 1, 1});
  }
  for (int base : {36081, 39831, 43581, 58581, 62931, 66681, 70431, 74181}) tables.push_back({base, 1, 10, 25, 50, 150});

  for (const Table& t : tables) {
    std::int32_t next = 0;  // the old word expected next in the kept part
    for (int line = 0; line < t.lines; ++line) {
      for (int entry = 0; entry < t.entries; ++entry) {
        for (int k = 0; k < t.width; ++k) {
          const auto w = static_cast<std::size_t>(t.base + (line * t.entries + entry) * t.width + k);
          if (line < t.old_lines && entry < t.old_entries) {
            if (next != 0) {
              ASSERT_EQ(rec[w], next) << "table " << t.base << " word " << w;
            }
            next = rec[w] + 1;
          } else {
            ASSERT_EQ(rec[w], 0) << "table " << t.base << " word " << w;
          }
        }
      }
    }
  }
  for (int w : {5026, 5125, 78433, 78632}) EXPECT_EQ(rec[static_cast<std::size_t>(w)], 0) << w;
  // Nothing is reordered or doubled: the surviving words keep their order.
  std::int32_t last = 0;
  for (std::size_t w = 1988; w < kN; ++w) {
    if (rec[w] == 0) continue;
    ASSERT_GT(rec[w], last) << "word " << w;
    last = rec[w];
  }
}

}  // namespace
}  // namespace kelp
