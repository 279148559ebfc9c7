#pragma once
// The options of the time-domain program Gustrevan as the mooring editor
// holds them in gustrcom: the table of named slots with their keyword names
// and defaults, the spare slots, and the routines that restore the defaults
// and settle the options after the options file was read.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

#include "sysutl/record.hpp"

namespace kelp {

class Session;

// The most fairleads whose loads the time-domain program reports.
inline constexpr std::int32_t kMaxFairleadReports = 39;

// One named slot of gustrcom: the word of its current value (its default is
// Gustrcom::kDefaultOffset words on), its keyword name and its default.
// Logical and integer slots hold the default as a whole number (1 true).
struct NamedOption {
  std::size_t word;
  std::string_view name;
  float value;
};

inline constexpr std::array<NamedOption, 68> kNamedOptions = {{
    {0, "aaLogical", 0},
    {1, "allDampingOff", 0},
    {2, "allSeedsEqual", 0},
    {3, "applyCFPtoLineDamp", 1},
    {4, "cQuadLinesMap", 1},
    {5, "eddyIncludesBackgroundCrnt", 1},
    {6, "emulationFlag", 0},
    {7, "existEddy", 0},
    {8, "existSquall", 0},
    {9, "fasterButLessPrecise", 0},
    {10, "forceWDFpositive", 0},
    {11, "importWfLineDamp", 1},
    {12, "lfWaveVariability", 1},
    {13, "massVariability", 1},
    {14, "overRideEddyHeading", 0},
    {15, "overRideFullDuration", 0},
    {16, "overRideLinePicks", 0},
    {17, "overRideSquallHeading", 0},
    {18, "repeatableSequences", 1},
    {19, "stillWaterLinearDmpg", 1},
    {20, "squallIncludesBackgroundWnd", 1},
    {21, "tdHullHydroDamping", 1},
    {22, "tdLinesHydroDamping", 1},
    {23, "tdSwayYawDamping", 1},
    {24, "virtualLineMassOn", 1},
    {25, "waveSeedsEqual", 0},
    {26, "showProgress", 1},
    {27, "saveWFLineStats", 0},
    {28, "mmaSupport", 0},
    {29, "batchRun", 0},
    {30, "lspin", 0},
    {31, "maneuvering", 0},
    {53, "aaInteger", 0},
    {54, "nFldReports", 0},
    {55, "addDampIndex", 1},
    {56, "interpOrder", 3},
    {57, "initialCondition", 0},
    {58, "DEBUG", 0},
    {59, "batchDataSupress", 0},
    {60, "squalProfiles", 0},
    {85, "aaReal", 0},
    {86, "initX", 0},
    {87, "initY", 0},
    {88, "initZ", 0},
    {89, "initVx", 0},
    {90, "initVy", 0},
    {91, "initVz", 0},
    {92, "cfpReduction", 1},
    {93, "crntForceMultiplierx", 1},
    {94, "crntForceMultipliery", 1},
    {95, "crntForceMultiplierz", 1},
    {96, "deltaT", 0.5f},
    {97, "eddyHeading", 0},
    {98, "fullDuration", 0},
    {99, "kSwaySofec", 0},
    {100, "kYawSofec", 0},
    {101, "lineDragFac", 1},
    {102, "surgeAMfac", 1},
    {103, "swayAMfac", 1},
    {104, "swayCdEnhancement", 1},
    {105, "squallHeading", 0},
    {106, "windForceMultiplierx", 1},
    {107, "windForceMultipliery", 1},
    {108, "windForceMultiplierz", 1},
    {109, "yawAMfac", 1},
    {110, "yawCdEnhancement", 1},
    {111, "relSolvTolFac", 1},
    {112, "absSolvTolFac", 1},
}};

// The spare slots of a group: the rest of the group after its named slots,
// named by a two-letter prefix and one lower-case letter each, in order, the
// last one "z"; their defaults are false or 0.
struct SpareRun {
  std::size_t first;
  std::size_t last;
  std::string_view prefix;
  char first_letter;
};

inline constexpr std::array<SpareRun, 3> kSpareOptions = {{
    {32, Gustrcom::kIntegerFirst - 1, "LL", 'f'},
    {61, Gustrcom::kRealFirst - 1, "II", 'c'},
    {113, Gustrcom::kSlots - 1, "RR", 'c'},
}};

// The word of the current value of a named option; in a constant expression
// an unknown name does not compile.
constexpr std::size_t option_word(std::string_view name) {
  for (const NamedOption& o : kNamedOptions) {
    if (o.name == name) return o.word;
  }
  throw std::invalid_argument("no option of that name");
}

// Page 4's fairlead reporting list (the lines selected for dynamic
// evaluation), as long as a pick list.
std::span<const std::int32_t> page4_picks(const Session& s);

// Fills gustrcom as the mooring editor starts: every current value 0, the
// defaults and the 30-character names of all 137 slots.
void init_gustrcom(Gustrcom& g);

// Restores the defaults (load_default_opts): copies the 137 defaults over
// the current values; "Ignore wave drag variability" := 1 when the drag
// selector is 1, else 0; "Force-rebuild" := 0, the excursion diameter := 0,
// overRideLinePicks := false; durationHours := the storm hours and
// fullDuration and its default := 3600 x that; nFldReports and its default :=
// the stored default report count cut to 39; currentPicks := that many
// entries of page 4's reporting list.
void load_default_opts(Session& s, std::span<std::int32_t> currentPicks, float& durationHours);

// After the options file was read with status 0 or 2: solver tolerance
// factors of 0 or less become 1; the duration in hours is fullDuration / 3600
// (the storm hours when fullDuration is 0 or less), returned; the two
// override flags tell whether that duration and currentPicks differ from
// what the data record implies.
float settle_read_opts(Session& s, std::span<const std::int32_t> currentPicks);

}  // namespace kelp
