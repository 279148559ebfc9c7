#pragma once
// The page loop of the disc-buoy editor: identity, load, the 17 page slots in
// their fixed order under the user's navigation codes, the print pass, and
// the end of the session through finish.
#include "disc/e/disc_pages.hpp"

namespace kelp {

class Session;

// Record size of the disc-buoy kind (words), fixed for loading and saving.
inline constexpr int kDiscRecordWords = 1987;

// Where the routing of a slot leads: a slot 1 to 17, or the end step.
inline constexpr int kDiscEndStep = 0;

// The slot that follows `slot` (1 to 17) for navigation code `code`, with
// word 700 at `jump_target`. `empty` tells that the slot ran no routine:
// such a slot keeps the code the last page left and routes every code it
// does not know to the next slot (a redisplay there moves on as well, so the
// loop never spins on a slot that shows nothing).
int disc_route(int slot, int code, int jump_target, bool empty);

// The slot of a jump to page n: 2 to 17 as typed, anything else slot 1.
int disc_jump_slot(int n);

// Runs the editor: the identity routine of kind 4 (kind dispatch), ioinit,
// the pages of install_disc_pages and the end step. Returns when the session
// ends without going back to the editor; every stop is a ProgramStop.
void disced(Session& s);

// The same over a given table of pages (tests put their own pages here).
void disced(Session& s, const PageTable& pages);

}  // namespace kelp
