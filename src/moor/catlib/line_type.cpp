#include "moor/catlib/line_type.hpp"

#include <algorithm>

namespace kelp {

std::size_t element_word(std::size_t base, int t, int i) {
  return base + static_cast<std::size_t>(kMaxElements * (t - 1) + i);
}

std::size_t strain_word(int t, int i, int n) {
  return kStrainCoefficients + static_cast<std::size_t>(75 * (t - 1) + 3 * (i - 1) + (n - 1));
}

float LineType::total_length() const {
  float sum = 0.0f;
  for (int i = 0; i < nelem; ++i) sum += length[static_cast<std::size_t>(i)];
  return sum;
}

LineType read_line_type(const Tpcm& tp, int t) {
  LineType lt;
  lt.t = t;
  lt.nelem = std::clamp(tp.i(kElementCount + static_cast<std::size_t>(t)), 0, kMaxElements);
  for (int i = 1; i <= kMaxElements; ++i) {
    const auto e = static_cast<std::size_t>(i - 1);
    lt.length[e] = tp.r(element_word(kElementLength, t, i));
    lt.weight[e] = tp.r(element_word(kElementWeight, t, i));
    lt.dry_weight[e] = tp.r(element_word(kElementDryWeight, t, i));
    lt.diameter[e] = tp.r(element_word(kElementDiameter, t, i));
    lt.added_mass[e] = tp.r(element_word(kElementAddedMass, t, i));
    lt.drag[e] = tp.r(element_word(kElementDrag, t, i));
    for (int n = 1; n <= 3; ++n) lt.alpha[3 * e + static_cast<std::size_t>(n - 1)] = tp.r(strain_word(t, i, n));
  }
  lt.grounding = tp.i(kGroundingSwitch + static_cast<std::size_t>(t));
  lt.strain_law_bits = tp.i(kStrainLawBits + static_cast<std::size_t>(t));
  lt.fairlead = tp.i(kTypeFairlead + static_cast<std::size_t>(151 * (t - 1)));
  lt.anchor_depth = tp.r(kAnchorDepth + static_cast<std::size_t>(t));
  return lt;
}

void store_alphas(Tpcm& tp, LineType& lt, int i, const std::array<float, 3>& alpha) {
  for (int n = 1; n <= 3; ++n) {
    const float a = alpha[static_cast<std::size_t>(n - 1)];
    tp.set_r(strain_word(lt.t, i, n), a);
    lt.alpha[static_cast<std::size_t>(3 * (i - 1) + n - 1)] = a;
  }
}

}  // namespace kelp
