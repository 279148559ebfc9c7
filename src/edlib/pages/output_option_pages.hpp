#pragma once
// The two output-option pages of the disc-buoy editor (pages 8 and 9): what
// the motion analysis reports. "Output options" chooses the degrees of
// freedom, the units of angular RAOs, the reference point of motions and
// loads, and motions, velocities and accelerations at points of the vessel
// (with the point table in the coordinate-table editor); "More output
// options" chooses force and motion RAOs, spread-sea RAOs, the output device
// and the debug option.
//
// Both pages write their own fixed lines (no dot leaders), work on the
// session's record and leave their navigation code in word 699.
#include <string_view>

#include "edlib/pagekit/help_book.hpp"

namespace kelp {

class Session;

// "Page <label>: Output options". The point count (word 753) is held within
// 0..149 on entry, and the relative-motion word 106 within 0..2.
void shpot1(Session& s, std::string_view label);

// "Page <label>: More output options". Any number above 9 leaves the page
// with that number in word 699.
void shpot2(Session& s, std::string_view label);

// Help books of the two pages (output_option_help.cpp), keyed by item.
extern const HelpBook kOutputOptionsHelp;
extern const HelpBook kMoreOutputOptionsHelp;

}  // namespace kelp
