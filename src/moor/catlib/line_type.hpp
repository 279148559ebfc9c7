#pragma once
// The words of the data record that the line library reads beside the
// mooring tables (whose accessors are in edlib/data_record.hpp), and one line
// type read out of the record.
#include <array>
#include <cstddef>
#include <cstdint>

#include "edlib/data_record.hpp"
#include "sysutl/record.hpp"

namespace kelp {

// Nodes of a line type: one more than its elements (sublines).
inline constexpr int kMaxNodes = kSublineCapacity + 1;

// ---- Words of tpcm read by the line library ----
inline constexpr std::size_t kDebugMaster = 113;        // int: 1 = debugging allowed
inline constexpr std::size_t kTraceFlag = 114;          // int: 1 = trace lines
inline constexpr std::size_t kAddedMassModel = 150;     // int: 1 = no catenary added mass (kinds 14 and 17)
inline constexpr std::size_t kSpanKindFlag = 775;       // int: kinds 8 and 13 measured like kind 10
inline constexpr std::size_t kMeanDraft = 1411;         // real: reference height (mean draft)
inline constexpr std::size_t kSecondHeight = 1662;      // real: reference height of the second body
inline constexpr std::size_t kMaximumLoad = 1674;       // real: largest load of the interpolation tables
inline constexpr std::size_t kThirdHeight = 2645;       // real: reference height of the special type
inline constexpr std::size_t kBuoyantSearch = 4993;     // int: non-zero = adjust the first buoyant element
inline constexpr std::size_t kObliqueModel = 4994;      // int: 1 = oblique (large-amplitude) line model
inline constexpr std::size_t kInertiaCorrection = 4995; // int: 1 = correct tensions for line inertia
inline constexpr std::size_t kEndTangentSource = 4997;  // int: 0 = mean end tangents, else the tension rates
inline constexpr std::size_t kBuoySinkage = 5007;       // int: non-zero = buoy-sinkage correction
inline constexpr std::size_t kQuasiStaticTension = 5009;  // int: non-zero = tensions from the load tables
inline constexpr std::size_t kInertiaExclusion = 5011;  // int: 0 all lines corrected, > 0 the unexcluded ones
inline constexpr std::size_t kSinkageCount = 28076;     // int: multiplier of the sinkage correction
inline constexpr std::size_t kScratchAddedMass = 78232; // real: scratch, added-mass coefficient of an element
inline constexpr std::size_t kScratchDrag = 78233;      // real: scratch, drag coefficient of an element
inline constexpr std::size_t kVerticalReference = 78391;  // real: height taken off a fairlead's in a vertical line

// One line type, copied out of the record. Arrays are indexed from element
// 1 at position 0; alpha holds three coefficients per element.
struct LineType {
  int t = 0;
  int nelem = 0;  // held to 0..25
  std::array<float, kSublineCapacity> length{};
  std::array<float, kSublineCapacity> weight{};
  std::array<float, kSublineCapacity> dry_weight{};
  std::array<float, kSublineCapacity> diameter{};
  std::array<float, kSublineCapacity> added_mass{};
  std::array<float, kSublineCapacity> drag{};
  std::array<float, 3 * kSublineCapacity> alpha{};
  int grounding = 0;
  std::int32_t strain_law_bits = 0;
  int fairlead = 0;  // line number of the type's first leg, as stored
  float anchor_depth = 0.0f;

  float total_length() const;
};

// Reads type t (1 to 150) of the record; the element count is held to 25.
LineType read_line_type(const Tpcm& tp, int t);

// Stores the three strain coefficients of element i of type t in the record
// and in its copy.
void store_alphas(Tpcm& tp, LineType& lt, int i, const std::array<float, 3>& alpha);

}  // namespace kelp
