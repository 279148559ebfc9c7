#include "moor/catlib/line_type.hpp"

#include <algorithm>
#include <optional>

#include "edlib/record/data_record.hpp"

namespace kelp {
namespace {

float real_at(const Tpcm& tp, std::optional<std::size_t> word) { return word ? tp.r(*word) : 0.0f; }
std::int32_t int_at(const Tpcm& tp, std::optional<std::size_t> word) { return word ? tp.i(*word) : 0; }

}  // namespace

float LineType::total_length() const {
  float sum = 0.0f;
  for (int i = 0; i < nelem; ++i) sum += length[static_cast<std::size_t>(i)];
  return sum;
}

LineType read_line_type(const Tpcm& tp, int t) {
  LineType lt;
  lt.t = t;
  lt.nelem = table_count(int_at(tp, type_sublines_word(t)), kSublineCapacity);
  for (int i = 1; i <= kSublineCapacity; ++i) {
    const auto e = static_cast<std::size_t>(i - 1);
    lt.length[e] = real_at(tp, element_word(ElementField::kLength, i, t));
    lt.weight[e] = real_at(tp, element_word(ElementField::kImmersedWeight, i, t));
    lt.dry_weight[e] = real_at(tp, element_word(ElementField::kDryWeight, i, t));
    lt.diameter[e] = real_at(tp, element_word(ElementField::kDiameter, i, t));
    lt.added_mass[e] = real_at(tp, element_word(ElementField::kAddedMass, i, t));
    lt.drag[e] = real_at(tp, element_word(ElementField::kDrag, i, t));
    for (int n = 1; n <= 3; ++n) lt.alpha[3 * e + static_cast<std::size_t>(n - 1)] = real_at(tp, compliance_word(i, t, n));
  }
  lt.grounding = int_at(tp, bottom_flag_word(t));
  lt.strain_law_bits = int_at(tp, elastic_file_bits_word(t));
  lt.fairlead = int_at(tp, type_line_word(t, 1));
  lt.anchor_depth = real_at(tp, anchor_depth_word(t));
  return lt;
}

void store_alphas(Tpcm& tp, LineType& lt, int i, const std::array<float, 3>& alpha) {
  for (int n = 1; n <= 3; ++n) {
    const float a = alpha[static_cast<std::size_t>(n - 1)];
    if (const auto word = compliance_word(i, lt.t, n)) tp.set_r(*word, a);
    lt.alpha[static_cast<std::size_t>(3 * (i - 1) + n - 1)] = a;
  }
}

}  // namespace kelp
