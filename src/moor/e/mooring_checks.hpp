#pragma once
// End-of-session checks of the mooring data (linwrn) and the switching off
// of options that the chosen settings do not allow (hardwire). The finish
// page of the mooring editor runs both, after the vessel checks, each time
// the user asks to run.
#include <optional>

#include "sysutl/record.hpp"

namespace kelp {

class Session;

// Findings per screen of the warning list.
inline constexpr int kMooringFindingsPerScreen = 7;

// Checks the mooring data of s.tpcm in 33 ordered steps and derives the
// summary words the time-domain program reads (4998, 4999, 5000, 101, 149,
// 4994, the hawser settings and the buoy copies of kinds 10 and 13). Every
// finding is written to the unit in word 702 after a blank line and counted
// in nwarn (warnings) or nfatal (fatal warnings) through the warning pager.
// Counts and line numbers read from the record never index outside their
// tables: loops run over at most 150 types, 150 legs and 25 sublines, and
// line numbers outside 1..min(legs, 150) are skipped where they would index.
void linwrn(Session& s, int& nwarn, int& nfatal);

// Wave height over water depth as the checks judge it: 1.86 H / depth for
// kind 8 or irregular seas or swell on (H from the seas, the swell or both),
// otherwise, with the regular height given as a slope in degrees (word 107 =
// 1), T^2 g slope / (2261.95 depth) with T the middle period of the table,
// otherwise the regular height over the depth. nullopt for a depth at or
// below 0.
std::optional<float> wave_steepness_ratio(const Tpcm& t);

// With a turret (word 787) and external forces on (word 1440), the mean Z
// moment of each force block that is on and applied to the moorings is
// cleared; for a vessel kind other than the disc buoy the disc-buoy options
// (words 779 and 778) are switched off.
void hardwire(Session& s);

}  // namespace kelp
