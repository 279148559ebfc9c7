#pragma once
// A line that hangs straight down (no horizontal tension) over a vertical
// span: which elements hang, the tension at the top, the length lying on the
// bottom and the end angles. Buoyant elements lying on the bottom lift short
// arches of their neighbours, which shortens the grounded length.
#include <array>

#include "moor/catlib/line_type.hpp"
#include "moor/morlib/line_helpers.hpp"

namespace kelp {

class Session;

// The hanging part of a vertical line (elements 1..n hang, element n + 1
// touches down when n < nelem).
struct HangingLine {
  int n = 0;
  int nelem = 0;
  double span = 0.0;   // |z|
  double extra = 0.0;  // weightless touchdown element: hanging stretched length beyond the span
  std::array<Compliance, kSublineCapacity> a{};
  std::array<double, kSublineCapacity> L{};
  std::array<double, kSublineCapacity> w{};
};

// Residual of the vertical span for a trial tension x at the bottom of the
// hanging part: the span less the stretched hanging length.
double dpdster(const HangingLine& h, double x);

struct VerticalLineState {
  int direction = 1;         // -1 when the span is negative, else +1
  float grounded1 = 0.0f;    // length on the bottom
  float top_angle = 0.0f;    // radians
  float top_tension = 0.0f;  // magnitude
  float grounded2 = 0.0f;    // the same length again
  float bottom_angle = 0.0f;
};

// The vertical line of type lt over the span z (its sign gives the
// direction); ref_tension sets the tolerance of the root search. A buoyant
// element next to a weightless one, or one whose arch cannot be formed,
// gives the buoyant-line message and a wait (the state then stays zero);
// a root search that fails 20 times stops the program with its message.
VerticalLineState vrtlin(Session& s, float z, const LineType& lt, float ref_tension);

}  // namespace kelp
