#pragma once
// The data-file upgraders of the ship (kind 1), semisubmersible (3),
// single-anchor-leg (11) and moored kinds (12, 14, 15, 17). Each brings a
// record written by an older program version up to the current layout and
// defaults and reports its changes (edlib/frame/upgrade_notes.hpp); the loader
// calls the one of the program kind through the kind dispatch, where they
// are the default routines of their kinds.
//
// All take the program version and a status: 1 on entry, 0 when no change
// was counted.

namespace kelp {

class Session;
class UpgradeNotes;  // edlib/frame/upgrade_notes.hpp

// The closing steps of the upgraders of the one-vessel records of 1,987
// words (ship and disc buoy): the point coordinates, the swell directions,
// the version-5.0 note and defaults, below 5.57 no member model, the
// vessel block laid out for 149 fairleads, and the notes closed.
void close_vessel_upgrade(UpgradeNotes& n);

// Ship records (1,987 words).
void shpupd(Session& s, float version, int& status);
// Semisubmersible records (4,975 words).
void semupd(Session& s, float version, int& status);
// Single-anchor-leg records (4,975 words); this kind carries only the
// vessel-block stage of the fairlead resize.
void slmupd(Session& s, float version, int& status);
// Moored records (78,635 words). A file older than 5.0 read by a program
// above 6.0 is refused: the message, a wait, and a stop (nothing written).
void morupd(Session& s, float version, int& status);

}  // namespace kelp
