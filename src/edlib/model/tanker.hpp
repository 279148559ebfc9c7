#pragma once
// Average-tanker estimates: from a deadweight (long tons) and a simulation
// draft, a model of an average crude-oil tanker gives a consistent set of 21
// vessel properties, which the user copies into the record by letter.
#include <array>
#include <cstddef>
#include <string>

#include "sysutl/session.hpp"

namespace kelp {

// The estimate set, one value per page letter A to U.
inline constexpr std::size_t kTankerValues = 21;
using TankerSet = std::array<float, kTankerValues>;

// Letter positions in the set.
enum TankerLetter : std::size_t {
  kTkDisplacement = 0,  // A
  kTkDisplacementLoad,  // B  percent
  kTkLength,            // C
  kTkBeam,              // D
  kTkDraft,             // E
  kTkRollGyradius,      // F
  kTkPitchGyradius,     // G
  kTkYawGyradius,       // H
  kTkWaterplaneArea,    // I
  kTkHeadCurrentArea,   // J
  kTkBeamCurrentArea,   // K
  kTkFreeboardLoad,     // L  percent
  kTkDraftLoad,         // M  percent
  kTkTransverseKM,      // N
  kTkLongitudinalKM,    // O
  kTkVKB,               // P
  kTkVKG,               // Q
  kTkBilgeRadius,       // R
  kTkDeadweight,        // S  long tons in the set
  kTkHeadWindArea,      // T
  kTkBeamWindArea,      // U
};

// The record word of each letter (first vessel; a second vessel adds its
// offset).
inline constexpr std::array<std::size_t, kTankerValues> kTankerWords = {
    1408, 1393, 1418, 1419, 1411, 1414, 1413, 1415, 1412, 1356, 1358,
    1389, 1391, 1416, 1417, 1409, 1410, 1420, 1665, 1352, 1354};

// Long tons per record unit of deadweight: kips (any unit word but 1) or
// metric tons (1).
float tanker_deadweight_factor(int unit_system);

// Outcome of an estimation.
enum class EstimateStatus {
  kDone,      // the set holds new estimates
  kAborted,   // the user aborted at a warning: the set is unchanged
  kRefused,   // the deadweight lies outside the model: the set is unchanged
};

// The hull functions of the model. e is the shape exponent, tmax the
// full-load draft in feet.
float volfun(float x, float e);
float alpha(float t, float e, float tmax);
float nulfun(float x, float e, float lightship_fraction);

// Computes the estimates of `set` from its deadweight and draft (the draft
// in record units). Warnings are shown on out and may be aborted; the set
// is replaced only when the estimation completes.
EstimateStatus estim8(Session& s, TankerSet& set, int out, int in, int unit_system);

// Reads the reply of the estimates page. Returns the code: -1977 for "Z"
// (copy all), -1978 for help, -1 with letters filled for a letter list, or
// the number typed (0 for an empty reply).
int entest(Session& s, int out, int in, std::string& letters);

// The help of the estimates page.
void tnkhlp(Session& s, int out, int in, int item);

// The estimates page, opened from the hydrostatics page for a displacement
// hull. out is word 702, the unit system word 116. vessel_offset selects the
// vessel block (0, or 1,234 for the second vessel). Leaves the reply code in
// word 699; record words change only on "Z" or a letter list.
void tanker(Session& s, int in = kKeyboard, std::size_t vessel_offset = 0);

// The set kept for the run between visits of the page.
struct TankerState {
  bool frstim = true;
  int filled_units = 0;  // unit system the set was filled in
  TankerSet set{};
};

}  // namespace kelp
