#pragma once
// One line type read out of the record (the words and the mooring tables
// the line library reads are named in edlib/record/data_record.hpp).
#include <array>
#include <cstddef>
#include <cstdint>

#include "edlib/record/data_record.hpp"
#include "sysutl/record.hpp"

namespace kelp {

// Nodes of a line type: one more than its elements (sublines).
inline constexpr int kMaxNodes = kSublineCapacity + 1;

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
