#pragma once
// The strain law refitted to tabulated stress-strain curves at the working
// tension of a line, the static state of one line looked up in its load
// tables, and the parts of a six-component body motion.
#include <array>
#include <span>

#include "kelpkit/linear_algebra.hpp"
#include "moor/catlib/line_type.hpp"
#include "moor/s/work_areas.hpp"

namespace kelp {

class Session;

// Refits the strain coefficients of every element of lt whose bit is set in
// lt.strain_law_bits to its curve in lc at the element's tension, solving
// the line at H (lc.dphld) in turn until no tension changes its interval of
// the curve; k is the layer column of the start tangents. The coefficients
// go into the record and into lt. A tension outside its curve, or no
// settling within 10 passes, stops the program with a message.
void load_alphas(Session& s, Lincom& lc, LineType& lt, double H, int k);

// Where loadup looks: the point and layer of one line.
struct LoadupInput {
  float x = 0.0f;         // horizontal range
  float z = 0.0f;         // fairlead height on the layer grid
  float height_a = 0.0f;  // the difference height_a - height_b enters the depth
  float height_b = 0.0f;
  int t = 1;              // line type
  int layers = 1;         // layer columns in use
  float spacing = 0.0f;   // layer spacing
  int first_layer = 1;    // layer at height 0
  float grid_span = 0.0f; // span of the layer grid
  int points = kTablePoints;
};

// The tables loadup reads: load tables (90, 29, types) and per-type arrays
// (entry t at position t - 1).
struct LoadupTables {
  std::span<const float> tension_points;
  std::span<const float> anchor_depth;
  std::span<const float> ref_tension;
  std::span<const float> range;
  std::span<const float> top_tension;
  std::span<const float> bottom_length;
  std::span<const float> top_angle;
  std::span<const float> bottom_angle;
  std::span<const float> top_tension_y2;   // second derivatives along the layers (splie2)
  std::span<const float> layer_positions;  // abscissae of the layers for splin2
};

// The load tables of the work area with the caller's per-type and spline
// arrays.
LoadupTables loadup_tables(const Lincom& lc, std::span<const float> anchor_depth,
                           std::span<const float> top_tension_y2, std::span<const float> layer_positions);

struct LoadupOutput {
  float depth = 0.0f;
  int interval = 1;
  float fraction = 0.0f;  // layer fraction
  float H = 0.0f;
  float top_tension = 0.0f;
  float vertical_force = 0.0f;
  float top_angle = 0.0f;
  float bottom_angle = 0.0f;
  float bottom_length = 0.0f;
  int layer = 1;
};

// The static state of one line at range x and fairlead height z. A line
// without horizontal tension is solved as a vertical line of its type
// (vrtlin); a mismatch of its two grounded lengths asks whether to abort.
void loadup(Session& s, const LoadupInput& in, const LoadupTables& tab, LoadupOutput& r, int out, int inunit);

// The parts of a motion a (three translations, three rotations in radians).
struct MotionParts {
  std::array<float, 2> offset{};  // horizontal offset
  float heave = 0.0f;
  float d = 0.0f;       // handed through
  Vec3 axis{};          // rotation axis, (1, 0, 0) without rotation
  float angle = 0.0f;   // degrees
  float one = 1.0f;
};
MotionParts varupd(const std::array<float, 6>& a, float d_in);

}  // namespace kelp
