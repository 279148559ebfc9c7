#pragma once
// The total mooring force, moment and potential energy on a moored body
// displaced from its mean position by a horizontal offset, a vertical
// translation and a rotation about an axis; each line's state is looked up
// in its load tables at its new horizontal distance and fairlead height.
//
// Frames: the global frame has z up; the body frame is the global frame
// turned by the body's heading about z. Fairlead coordinates are body
// coordinates. A line's direction is the plan angle (degrees, global) from
// its fairlead to its anchor at the mean position.
#include <array>
#include <cstdint>
#include <span>

#include "kelpkit/linear_algebra.hpp"
#include "moor/morlib/load_tables.hpp"

namespace kelp {

class Session;

// A 3-by-3 matrix, column by column (element (i, j) at i + 3 j).
using Matrix3 = std::array<float, 9>;
inline constexpr Matrix3 kIdentity3{1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};

struct MooringForceInput {
  float mean_heading = 0.0f;  // radians
  float heading = 0.0f;       // current heading, radians
  Vec3 axis{0.0f, 0.0f, 1.0f};  // rotation axis in the mean-heading frame (any length; 0 = no rotation)
  float rotation = 0.0f;      // rotation amount, degrees
  float axis_scale = 1.0f;    // scale of the axis components in the warnings
  float heave = 0.0f;         // vertical translation
  std::array<float, 2> offset{};  // horizontal offset (global)
  // Layer grid of the tables, which is also the vertical interpolation
  // span: layer first_layer lies at height 0, the span runs from
  // (1 - first_layer) spacing upward by grid_span.
  int first_layer = 1;
  float spacing = 0.0f;
  float grid_span = 0.0f;
  int layers = 1;             // layer columns in use
  int points = kTablePoints;  // points of the tables
  float height_a = 0.0f;      // height_a - height_b enters a vertical line's depth
  float height_b = 0.0f;
  // Mode 1: the fairleads are first placed on the body by x -> m1 x +
  // mode_offset (order 0) or, expressed in the frame m2, x -> m2 m1 (m2^T x
  // + mode_offset). Mode 2: the displaced fairleads are carried in the
  // global frame by x -> m1 x + mode_offset. Mode 3: the moment stiffness
  // matrix is formed. Other modes: none of these.
  int mode = 0;
  Matrix3 m1 = kIdentity3;
  Matrix3 m2 = kIdentity3;
  int order = 0;
  Vec3 mode_offset{};
  int first_line = 1;  // lines first_line..last_line (held to 1..150 and to the arrays)
  int last_line = 0;
  std::span<const std::int32_t> request_code;  // per line: type = code mod 1024; above 1024 excluded
  std::span<const float> direction;            // per line, degrees
  std::span<const float> mean_range;           // per line
  std::span<const float> fairleads;            // x, y, z per line
  Vec3 moment_point{};  // reference point of the body moment (body coordinates)
  Vec3 body_point{};    // body reference point subtracted from the fairleads
  LoadupTables tables;
  int line_outputs = 0;          // 2: also the new range, fairlead rise and direction per line
  bool warn_below_only = false;  // no span warning for a fairlead above the span
  int out = 6;
  int in = 5;
};

struct LineForce {
  float h = 0.0f;  // horizontal tension
  float top_tension = 0.0f;
  float vertical_force = 0.0f;
  float top_angle = 0.0f;
  float bottom_angle = 0.0f;
  float bottom_length = 0.0f;
  float energy = 0.0f;         // potential energy
  float new_range = 0.0f;      // with line outputs 2
  float dz = 0.0f;             // vertical displacement of the fairlead, with line outputs 2
  float new_direction = 0.0f;  // degrees, with line outputs 2
};

struct MooringForceOutput {
  Vec3 angles{};       // of the displaced body: -asin(ex'_z), asin(ey'_z), asin(ex'_y)
  Vec3 force{};        // total force, global frame
  Vec3 moment{};       // total moment, global frame
  Vec3 body_force{};   // total force, body frame
  Vec3 body_moment{};  // moment about the reference point, body frame
  float energy = 0.0f;
  std::array<LineForce, kLegCapacity> lines{};  // entry line - 1
  Matrix3 stiffness{};  // moment stiffness, mode 3
  int warned = 0;       // in and out: 99 once a span warning was given (the caller keeps it)
  int warned_line = 0;  // the last line found outside the span
  Matrix3 rotation_z{};  // rotation about z by the rotation amount
  Matrix3 axis_turn{};   // the matrix that turns the rotation axis into z
};

// Force, moment and energy of the lines first_line..last_line. A fairlead
// carried outside the vertical interpolation span warns once per warned
// flag and asks whether to abort ("A" stops the program). Excluded lines
// (and lines whose type is not 1..150) get zeros.
void fmoor2(Session& s, const MooringForceInput& in, MooringForceOutput& r);

}  // namespace kelp
