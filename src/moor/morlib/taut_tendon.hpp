#pragma once
// The residual of the taut-tendon equation: how far a vertical line type,
// hanging from a fairlead with a given tension, falls short of the span from
// fairlead to anchor when its fairlead subline has a trial length.
#include <array>

#include "moor/morlib/line_helpers.hpp"

namespace kelp {

// Most sublines of a line type.
inline constexpr int kTendonSublines = 25;

// What one tendon solve knows of its line type: the span D, the fairlead
// tension T0 and per subline (fairlead first) the compliance coefficients,
// unstretched length and submerged weight per unit length. Only the first
// `sublines` entries (0..25) are used.
struct TendonData {
  int type = 0;
  double span = 0.0;
  double top_tension = 0.0;
  std::array<Compliance, kTendonSublines> compliance{};
  std::array<double, kTendonSublines> length{};
  std::array<double, kTendonSublines> weight{};
  int sublines = 0;
};

// D minus the stretched length of the line when subline 1 has unstretched
// length x. The tension falls from T0 at the fairlead by w L along each
// subline; a subline whose end tensions differ stretches by the integral of
// its stretch factor (sfncdp at both ends), one with equal end tensions by
// L sfcdp2. A bottom tension below zero enters with its absolute value.
double dvster(const TendonData& d, double x);

}  // namespace kelp
