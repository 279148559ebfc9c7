#pragma once
// Conversions of values that a user or a file supplies.
#include <cmath>
#include <limits>

namespace kelp {

// Truncation toward zero of a real, saturating at the ends of the int range
// (NaN gives 0): a typed or stored value never overflows an integer.
inline int trunc_saturating(float v) {
  if (std::isnan(v)) return 0;
  constexpr float kTop = 2147483648.0f;  // 2^31, exactly representable
  if (v >= kTop) return std::numeric_limits<int>::max();
  if (v < -kTop) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

}  // namespace kelp
