#include "moor/e/mooring_routing.hpp"

#include <array>

#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"

namespace kelp {

namespace {

// Per block (index block - 1): its label, the block that "S" skips to, and
// the block that "B" and the other negative codes go back to.
struct BlockRow {
  std::string_view label;
  int skip;
  int previous;
};

constexpr std::array<BlockRow, kMoorBlocks> kBlocks = {{
    {"1", 3, 25},     // 1
    {"2", 4, 1},      // 2
    {"3", 5, 2},      // 3
    {"4", 6, 3},      // 4
    {"5", 7, 4},      // 5
    {"6", 8, 5},      // 6
    {"7", 9, 6},      // 7
    {"8", 11, 7},     // 8: skips to page 10
    {"9", 12, 8},     // 9: skips to page 11
    {"9b", 12, 9},    // 10
    {"10", 13, 9},    // 11: skips to 11b, goes back to 9 (not 9b)
    {"11", 14, 11},   // 12
    {"11b", 15, 12},  // 13
    {"12", 16, 13},   // 14
    {"13", 17, 14},   // 15
    {"14", 18, 15},   // 16
    {"15", 19, 16},   // 17
    {"16", 20, 17},   // 18
    {"17", 21, 18},   // 19
    {"18", 22, 19},   // 20
    {"19", 23, 20},   // 21
    {"20", 24, 21},   // 22
    {"21", 25, 22},   // 23
    {"22", 1, 23},    // 24
    {"23", 2, 24},    // 25: its own routing below
}};

constexpr int kPage6 = 6;
constexpr int kPage7 = 7;
constexpr int kPage9 = 9;
constexpr int kPage9b = 10;
constexpr int kPage10 = 11;
constexpr int kPage12 = 14;
constexpr int kPage14 = 16;
constexpr int kPage15 = 17;
constexpr int kPage20 = 22;
constexpr int kPage22 = 24;

const BlockRow& row(int block) { return kBlocks[static_cast<std::size_t>(block - 1)]; }

bool has_time_domain_page(int kind) { return kind == 15 || kind == 12 || kind == 17 || kind == 14; }

// The routing after a page 1 to 22.
int route_page(int block, std::int32_t code, std::int32_t jump_target, const MoorShowWords& show) {
  switch (code) {
    case kNavJump: return moor_jump_block(jump_target);
    case kNavExecute:
    case kNavLast: return kMoorFinishBlock;
    case kNavFirst: return 1;
    case kNavKeys: return block;
    case kNavSkip: return row(block).skip;
    default: break;
  }
  if (code >= 0) return block + 1;
  if (block == kPage20 && code == kNavBack && show.low_frequency == 0) return kPage6;
  return row(block).previous;
}

int route_finish(std::int32_t code, std::int32_t jump_target) {
  switch (code) {
    case kNavJump: return moor_jump_block(jump_target);
    case kNavLast:
    case kNavKeys: return kMoorFinishBlock;
    case kNavFirst:
    case 0: return 1;
    case kNavSkip: return 2;
    case kNavBack: return kPage22;
    default: return kMoorExecute;  // "E", save and exit, leave, chain, and every other code
  }
}

}  // namespace

std::string_view moor_block_label(int block) {
  if (block < 1 || block > kMoorBlocks) return {};
  return row(block).label;
}

MoorShowWords MoorShowWords::from(const Tpcm& tpcm) {
  MoorShowWords w;
  w.low_frequency = tpcm.i(kLowFrequencyOn);
  w.buoy_dynamics = tpcm.i(kMooringFeedback);
  w.member_model = tpcm.i(kMemberModel);
  w.wind = tpcm.i(kWindOn);
  w.current = tpcm.i(kCurrentOn);
  return w;
}

bool moor_block_shown(int block, const MoorShowWords& show, int kind) {
  switch (block) {
    case kPage7: return show.low_frequency != 0;
    case kPage9b: return show.buoy_dynamics == 1;
    case kPage12: return show.member_model != 0;
    case kPage14: return show.wind == 1;
    case kPage15: return show.current == 1;
    case kPage22: return has_time_domain_page(kind);
    default: return block >= 1 && block <= kMoorBlocks;
  }
}

int moor_jump_block(int n) {
  if (n <= 1 || n > 23) return 1;
  if (n <= 9) return n;
  if (n <= 11) return n + 1;
  return n + 2;
}

MoorRoute moor_route(int block, std::int32_t code, std::int32_t jump_target, const MoorShowWords& show, int kind) {
  if (block == kMoorFinishBlock) return {route_finish(code, jump_target), code};
  if (block < 1 || block > kMoorBlocks) return {1, code};
  if (moor_block_shown(block, show, kind)) return {route_page(block, code, jump_target, show), code};

  // Hidden blocks.
  switch (block) {
    case kPage7:
      // Low-frequency dynamics off: pages 7 to 19 are passed whatever the
      // code, so "B" from page 8 lands on page 20 as well.
      return {kPage20, code};
    case kPage9b: return {code == kNavBack ? kPage9 : kPage10, code};
    case kPage12: {
      const std::int32_t kept = code == kNavBack ? code : 0;
      return {route_page(block, kept, jump_target, show), kept};
    }
    case kPage22: return {kMoorFinishBlock, code == kNavBack ? code : 0};
    default:
      // Pages 14 and 15: the code is routed as it came; a jump is routed
      // again on word 700, which the block has already raised.
      return {route_page(block, code, jump_target, show), code};
  }
}

}  // namespace kelp
