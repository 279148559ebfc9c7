#pragma once
// The 25 page blocks of the mooring editor and the routines that fill them.
#include <array>
#include <functional>

#include "moor/e/mooring_routing.hpp"

namespace kelp {

class Session;

// One page of the mooring page loop: it shows itself, reads the user's
// choices and leaves its navigation code in word 699 of tpcm.
using MoorPage = std::function<void(Session&)>;

// The blocks in page order, block k at index k - 1 (page 9b is block 10,
// page 11b block 13; mooring_routing.hpp). An empty block runs nothing and
// keeps the code the last page left.
using MoorPageTable = std::array<MoorPage, kMoorBlocks>;

// Puts `page` into block (1 to 25).
void set_moor_page(MoorPageTable& pages, int block, MoorPage page);

// Fills the blocks with the pages of the mooring editor: one line per page.
void install_moor_pages(MoorPageTable& pages);

}  // namespace kelp
