#pragma once
// The line state at an offset fairlead, for the oblique (large-amplitude)
// line model: the fairlead of one line is moved along the line's direction
// at the top, first by a small probe step and then by plus and minus the
// amplitude of the line's end-to-end motion, and the line's static state at
// each displaced fairlead is looked up in the load tables. Each top-tension
// change dT is split into an elastic part dT/K_e and a catenary part y, and
// the catenary tension law dT = KCATO y + s y^2 is fitted: KCATO from the
// probe, s and y for each sign of the motion.
#include "moor/catlib/line_type.hpp"
#include "moor/s/work_areas.hpp"

namespace kelp {

class Session;

// The catenary stiffness that marks a line as purely elastic.
inline constexpr float kElasticSentinel = 1.23e23f;

struct ObliqueInput {
  int line = 1;            // messages and the warn-once memory
  float range = 0.0f;      // mean horizontal range of the line
  float amplitude = 0.0f;  // magnitude A of the line's end-to-end motion
  float kcat = 0.0f;       // catenary stiffness of the line
  float ke = 0.0f;         // elastic stiffness of the line
  int layer = 1;           // layer column of the mean state
  float spacing = 0.0f;    // spacing of the layer grid
  int layers = 1;          // layer columns in use
  int points = kTablePoints;
  float grid_span = 0.0f;  // span of the vertical interpolation region
  float fairlead_z = 0.0f; // height of the line's own fairlead (vertical-line depth)
  float z_ref = 0.0f;      // height taken off the fairlead height in the vertical-line depth
  float cx = 1.0f;         // cosine and sine of the top angle: the direction of the moves
  float cz = 0.0f;
  int out = 6;
  int in = 5;
};

struct ObliqueOutput {
  float h = 0.0f;                 // horizontal tension of the last pass (motion -A)
  float v = 0.0f;                 // vertical force of the last pass
  float static_stiffness = 0.0f;  // dT/a of the probe, 0 when no probe was made
  float kcato = 0.0f;             // oblique catenary stiffness
  float s_plus = 0.0f, s_minus = 0.0f;  // quadratic coefficients for +A and -A
  float y_plus = 0.0f, y_minus = 0.0f;  // catenary parts of +A and -A
};

// The warn-once memory of foblq, kept for the whole run (session state).
struct ObliqueWarnings {
  bool span_unwarned = true;       // the out-of-span warning is still to come
  bool kcat_enabled = true;        // the KCAT/KCATO warning, until answered 99
  int kcat_line = 0;               // line of the last KCAT/KCATO warning
  bool singular_unwarned = true;   // the singular-KCATO warning is still to come
  bool sigcq_enabled = true;       // the singular-SIGCQ warning, until answered 99
  int sigcq_line = 0;              // line of the last singular-SIGCQ warning
};

// The oblique law of line type lt from the work area's load tables (range,
// top angle, top tension, tension points, reference tensions). A displaced
// fairlead without horizontal tension is solved as a vertical line. A pass
// is elastic (y = 0, s = 0) when KCAT is the sentinel or not positive, or
// when |dT| reaches |K_e a|; the sentinel's probe is made all the same. With
// a KCAT, a mean top tension or a series stiffness that is not positive no
// probe step can be found and the probe pass is elastic at once. After 100
// refused probe steps the overflow warning asks whether to abort ("A" stops
// the program; any other answer takes the probe pass as elastic).
void foblq(Session& s, const Lincom& lc, const LineType& lt, const ObliqueInput& in, ObliqueOutput& r);

}  // namespace kelp
