#pragma once
// The words of the data record that describe mooring line types, and one
// line type read out of them.
//
// Word numbers count from 0. Element i (1 to 25) of line type t (1 to 150)
// sits at base + 25 (t - 1) + i in the per-element tables; its three strain
// coefficients at 47331 + 75 (t - 1) + 3 (i - 1) + (n - 1), n = 1, 2, 3.
#include <array>
#include <cstddef>
#include <cstdint>

#include "sysutl/record.hpp"

namespace kelp {

// Limits of the line tables.
inline constexpr int kMaxElements = 25;            // elements (sublines) per line type
inline constexpr int kMaxNodes = kMaxElements + 1;
inline constexpr int kMaxLineTypes = 150;
inline constexpr int kMaxLines = 150;

// ---- Words of tpcm read by the line library ----
inline constexpr std::size_t kDebugMaster = 113;        // int: 1 = debugging allowed
inline constexpr std::size_t kTraceFlag = 114;          // int: 1 = trace lines
inline constexpr std::size_t kWaterDensity = 446;       // real: weight per unit volume of water
inline constexpr std::size_t kSpanKindFlag = 775;       // int: kinds 8 and 13 measured like kind 10
inline constexpr std::size_t kMeanDraft = 1411;         // real: reference height (mean draft)
inline constexpr std::size_t kWaterplaneArea = 1412;    // real
inline constexpr std::size_t kSecondHeight = 1662;      // real: reference height of the second body
inline constexpr std::size_t kMaximumLoad = 1674;       // real: largest load of the interpolation tables
inline constexpr std::size_t kThirdHeight = 2645;       // real: reference height of the special type
inline constexpr std::size_t kBuoyantSearch = 4993;     // int: non-zero = adjust the first buoyant element
inline constexpr std::size_t kBuoySinkage = 5007;       // int: non-zero = buoy-sinkage correction
inline constexpr std::size_t kSinkageCount = 28076;     // int: multiplier of the sinkage correction
inline constexpr std::size_t kLayerCount = 28379;       // int: layer columns of the load tables in use
inline constexpr std::size_t kLineCount = 28381;        // int: number of mooring lines
inline constexpr std::size_t kSpecialType = 28540;      // int: type measured from the third height
inline constexpr std::size_t kLayerGrid = 78385;        // real: span of the layer grid
inline constexpr std::size_t kScratchAddedMass = 78232; // real: scratch, added-mass coefficient of an element
inline constexpr std::size_t kScratchDrag = 78233;      // real: scratch, drag coefficient of an element

// Per-type words: word base + t.
inline constexpr std::size_t kStrainLawBits = 5125;     // int: bit i set = element i follows its curve
inline constexpr std::size_t kGroundingSwitch = 5275;   // int: 1 = the line may rest on the bottom
inline constexpr std::size_t kElementCount = 28227;     // int: NELEM
inline constexpr std::size_t kAnchorDepth = 78080;      // real
// Fairlead number of type t: word 5426 + 151 (t - 1).
inline constexpr std::size_t kTypeFairlead = 5426;
// Fairlead coordinates x, y, z of fairlead f: words 62478 + 3 f to 62480 + 3 f.
inline constexpr std::size_t kFairleadZ = 62480;
inline constexpr int kMaxFairleads = 150;

// Per-element tables: word base + 25 (t - 1) + i.
inline constexpr std::size_t kElementLength = 36080;    // unstretched length
inline constexpr std::size_t kElementDiameter = 39830;
inline constexpr std::size_t kElementWeight = 43580;    // weight per unit length in water
inline constexpr std::size_t kElementAddedMass = 62930; // added-mass coefficient
inline constexpr std::size_t kElementDrag = 66680;      // drag coefficient
inline constexpr std::size_t kElementDryWeight = 70430; // weight per unit length in air
inline constexpr std::size_t kStrainCoefficients = 47331;

std::size_t element_word(std::size_t base, int t, int i);
std::size_t strain_word(int t, int i, int n);

// One line type, copied out of the record. Arrays are indexed from element
// 1 at position 0; alpha holds three coefficients per element.
struct LineType {
  int t = 0;
  int nelem = 0;  // held to 0..25
  std::array<float, kMaxElements> length{};
  std::array<float, kMaxElements> weight{};
  std::array<float, kMaxElements> dry_weight{};
  std::array<float, kMaxElements> diameter{};
  std::array<float, kMaxElements> added_mass{};
  std::array<float, kMaxElements> drag{};
  std::array<float, 3 * kMaxElements> alpha{};
  int grounding = 0;
  std::int32_t strain_law_bits = 0;
  int fairlead = 0;  // as stored, not checked
  float anchor_depth = 0.0f;

  float total_length() const;
};

// Reads type t (1 to 150) of the record.
LineType read_line_type(const Tpcm& tp, int t);

// Stores the three strain coefficients of element i of type t in the record
// and in its copy.
void store_alphas(Tpcm& tp, LineType& lt, int i, const std::array<float, 3>& alpha);

}  // namespace kelp
