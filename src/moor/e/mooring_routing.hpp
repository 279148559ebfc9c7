#pragma once
// Routing of the mooring page loop: the 25 page blocks, which of them are
// shown, and where the navigation code that a block leaves in word 699 leads.
// Pure functions of the block, the code, word 700, the record words that
// decide what is shown, and the program kind; the loop itself calls the pages.
#include <cstdint>
#include <string_view>

#include "sysutl/record.hpp"

namespace kelp {

// Blocks are numbered 1 to 25 in page order; pages 9b and 11b are blocks 10
// and 13, so page n is block n up to 9, block n + 1 for 10 and 11, and block
// n + 2 from 12 on.
inline constexpr int kMoorBlocks = 25;
inline constexpr int kMoorFinishBlock = 25;  // page 23
// Where a route leads when the session goes on to the Execute step.
inline constexpr int kMoorExecute = 0;

// The label a block's page prints after "Page " ("1" to "23", "9b", "11b");
// empty outside 1 to 25.
std::string_view moor_block_label(int block);

// The record words that decide which blocks are shown.
struct MoorShowWords {
  std::int32_t low_frequency = 1;  // word 1919: page 7 shown when not 0
  std::int32_t buoy_dynamics = 0;  // word 779: page 9b shown when 1
  std::int32_t member_model = 0;   // word 790: page 12 shown when not 0
  std::int32_t wind = 0;           // word 174: page 14 shown when 1
  std::int32_t current = 0;        // word 175: page 15 shown when 1

  static MoorShowWords from(const Tpcm& tpcm);
};

// True when the page of `block` is shown for these words and program kind
// (page 22 only for kinds 12, 14, 15 and 17).
bool moor_block_shown(int block, const MoorShowWords& show, int kind);

// The block of a jump to page n: pages 2 to 23 by their number (9b and 11b
// cannot be reached), anything else page 1.
int moor_jump_block(int n);

// Where the loop goes from `block` after its page left `code` in word 699,
// with word 700 at `jump_target`, and the code word 699 holds from then on
// (a hidden page 12 or 22 turns every code but "B" into 0). A block
// outside 1 to 25 leads to page 1.
struct MoorRoute {
  int block;           // 1 to 25, or kMoorExecute
  std::int32_t code;
};
MoorRoute moor_route(int block, std::int32_t code, std::int32_t jump_target, const MoorShowWords& show, int kind);

}  // namespace kelp
