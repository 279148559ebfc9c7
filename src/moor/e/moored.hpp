#pragma once
// The page loop of the mooring editor: identity by program kind, load, the
// 25 page blocks in their fixed order under the user's navigation codes, the
// print pass, and the end of the session through finish.
#include "edlib/frame/kind_dispatch.hpp"
#include "moor/e/mooring_pages.hpp"

namespace kelp {

class Session;

// What the loop keeps for the whole session beyond the record.
struct MooredState {
  // 1 when the finish page chose chaining to the simulation program; handed
  // to finish.
  int chain = 0;
};

// The identity of a moored program kind: the identity routine of kind 12,
// 15, 14 or 17 from the kind dispatch. Any other kind has none: its texts
// are blank (at their field widths) and its numbers 0.
Identity moor_identity(Session& s, int kind);

// Runs the mooring editor for the program kind in word 1: the identity,
// ioinit, the mooring defaults (mrinit) unless a print pass or "Execute" at
// the menu, the pages of install_moor_pages, and the Execute step. Returns
// when finish ends the session without stopping; every stop is a ProgramStop.
void moored(Session& s);

// The same over a given table of pages (tests put their own pages here).
void moored(Session& s, const MoorPageTable& pages);

}  // namespace kelp
