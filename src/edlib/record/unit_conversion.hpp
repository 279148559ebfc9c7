#pragma once
// Conversion of the whole record between English units (feet, kips, knots)
// and metric units (meters, metric tons) when the user switches the unit
// system on the site page. Every converter works on the session's record.
#include "sysutl/session.hpp"

namespace kelp {

// The conversion factors for the direction given by the unit word AFTER it
// has been flipped: 1 converts English to metric, 0 metric to English.
struct UnitFactors {
  float L;  // length
  float F;  // force, weight
  float D;  // line diameter, inches and millimeters
};
UnitFactors unit_factors(int new_unit_system);

// Flips the unit word (116) and converts the site and environment words.
// Returns 0, or 1 without touching the record when the unit word holds
// neither 0 nor 1 (a damaged file): no factor can be chosen then.
int topcvrt(Session& s);

// The vessel block.
void vescvrt(Session& s);
// The second vessel of kinds 10 and 13 (the vessel block moved out of the way).
void tugcvrt(Session& s);
// Columns and members of the semisubmersible kinds.
void semcvrt(Session& s);
// The single-anchor-leg block.
void slmcvrt(Session& s);
// The mooring region: lines, segments, materials.
void morcvrt(Session& s);
// Kinds 7 and 8 keep their tables beyond the last word of the record, where
// neither editor can reach; these converters have nothing to convert here.
void stmcvrt(Session& s);
void catcvrt(Session& s);

// Statuses of convert_record_units.
inline constexpr int kConverted = 0;
inline constexpr int kConvertBadUnitWord = 1;  // the unit word is neither 0 nor 1
inline constexpr int kConvertOverflow = 2;     // a value would leave the float range

// The whole switch as the site page runs it: topcvrt, vescvrt, then the
// converters of the record's kind. A switch that would turn any finite word
// into an infinity is refused as a whole: the record stays exactly as it was
// (kConvertOverflow), so no value is ever half converted or lost. On
// kConvertBadUnitWord nothing was changed either.
int convert_record_units(Session& s);

}  // namespace kelp
