#pragma once
// The page slots of the disc-buoy editor and the routines that fill them.
#include <array>
#include <functional>

namespace kelp {

class Session;

// One page of the page loop: it shows itself, reads the user's choices and
// leaves its navigation code in word 699 of tpcm.
using DiscPage = std::function<void(Session&)>;

// The 17 page slots, slot k at index k - 1. An empty slot runs nothing and
// keeps the code the last page left.
inline constexpr int kDiscSlots = 17;
using PageTable = std::array<DiscPage, kDiscSlots>;

// Puts `page` into slot (1 to 17).
void set_disc_page(PageTable& pages, int slot, DiscPage page);

// Fills the slots with the pages of ronvaske: one line per page.
void install_disc_pages(PageTable& pages);

}  // namespace kelp
