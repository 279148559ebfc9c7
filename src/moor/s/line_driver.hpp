#pragma once
// The static state of every requested mooring line at the mean position,
// and its sensitivities to a rise of the fairlead and to a change of the
// horizontal tension (finite differences of two more solutions).
#include <span>

#include "moor/s/work_areas.hpp"

namespace kelp {

class Session;

// The vertical span the line of type t (fairlead fl) must meet, by program
// kind; offset is the line's vertical fairlead offset (kinds 14 and 17).
float line_vertical_span(const Tpcm& tp, int kind, int t, int fl, float offset);

// For each line 1..word 28381 (at most 150) whose request code in lc is
// below 1025: the horizontal tension at its range (ranges[line - 1]) from the
// load tables, the mean state, the fairlead step and the tension step, and
// the per-node and per-line rates in cc. A line whose type is not 1..150,
// whose type has no elements or no length, whose fairlead is not 1..150, or
// whose tabulated tension is not above 0 is skipped with a message, its
// entries of cc untouched.
void lindrv(Session& s, Lincom& lc, Catcom& cc, std::span<const float> ranges, std::span<const float> offsets);

}  // namespace kelp
