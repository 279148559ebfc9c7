#include "moor/s/mooring_force.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/table_search.hpp"
#include "moor/s/line_trace.hpp"
#include "moor/s/work_areas.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {
namespace {

constexpr float kDegree = 57.295776f;
constexpr int kWarned = 99;

std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }

// a b, or a^T b, for a 3-by-3 a and a b of one or three columns.
template <std::size_t N>
std::array<float, N> product(const Matrix3& a, const std::array<float, N>& b, bool transposed) {
  std::array<float, N> r{};
  (transposed ? gtprd : gmprd)(a, b, r, 3, 3, static_cast<int>(N / 3));
  return r;
}
Matrix3 mul(const Matrix3& a, const Matrix3& b) { return product(a, b, false); }
Matrix3 tmul(const Matrix3& a, const Matrix3& b) { return product(a, b, true); }
Vec3 times(const Matrix3& a, const Vec3& v) { return product(a, v, false); }
Vec3 times_transposed(const Matrix3& a, const Vec3& v) { return product(a, v, true); }
Vec3 add(Vec3 a, const Vec3& b) {
  for (std::size_t i = 0; i < 3; ++i) a[i] += b[i];
  return a;
}
Vec3 sub(Vec3 a, const Vec3& b) {
  for (std::size_t i = 0; i < 3; ++i) a[i] -= b[i];
  return a;
}
Vec3 cross(const Vec3& a, const Vec3& b) {
  Vec3 c{};
  xprod(a, b, c);
  return c;
}

// From rows to the column-by-column layout.
Matrix3 rows(const Vec3& r1, const Vec3& r2, const Vec3& r3) {
  return {r1[0], r2[0], r3[0], r1[1], r2[1], r3[1], r1[2], r2[2], r3[2]};
}

// Turns global coordinates into those of a frame headed h.
Matrix3 heading_matrix(float h) {
  const float c = std::cos(h);
  const float s = std::sin(h);
  return rows({c, s, 0.0f}, {-s, c, 0.0f}, {0.0f, 0.0f, 1.0f});
}

float asin_held(float v) { return std::asin(std::clamp(v, -1.0f, 1.0f)); }

// Horizontal tension and vertical force of layer column k at distance x.
struct ColumnState {
  float h = 0.0f;
  float v = 0.0f;
};
ColumnState column_state(const LoadupTables& tab, int k, int t, float x, int n) {
  const auto column = [k, t](std::span<const float> table) {
    return table.subspan(std::min(table.size(), Lincom::table_index(1, k, t)));
  };
  const auto range = column(tab.range);
  int flag = kInsideTable;
  int m = 1;
  bsrch(range, x, flag, m, n);
  ColumnState c;
  float angle = 0.0f;
  interp(range, tab.tension_points, x, c.h, m);
  interp(range, column(tab.top_angle), x, angle, m);
  c.v = -(c.h * std::tan(angle));
  return c;
}

// Potential energy of a line at distance x: the work of the horizontal
// tension along layer column 1 from the first table point, then of the
// vertical force up the layers to the line's layer and fraction.
float line_energy(const LoadupTables& tab, const MooringForceInput& in, int t, float x, const LoadupOutput& lo, int n) {
  const auto range = tab.range.subspan(std::min(tab.range.size(), Lincom::table_index(1, 1, t)));
  int flag = kInsideTable;
  int m = 1;
  bsrch(range, x, flag, m, n);
  float e = 0.0f;
  for (int j = 1; j < m; ++j) {
    e += 0.5f * (tab.tension_points[ix(j)] + tab.tension_points[ix(j + 1)]) * (range[ix(j + 1)] - range[ix(j)]);
  }
  const float hx = column_state(tab, 1, t, x, n).h;
  e += (x - range[ix(m)]) * 0.5f * (hx + tab.tension_points[ix(m)]);
  if (in.layers > 1) {
    const int k = std::clamp(lo.layer, 1, kLayerColumns);
    float v_below = column_state(tab, 1, t, x, n).v;
    for (int kk = 2; kk <= k; ++kk) {
      const float v = column_state(tab, kk, t, x, n).v;
      e -= in.spacing * 0.5f * (v_below + v);
      v_below = v;
    }
    e -= lo.fraction * in.spacing * 0.5f * (v_below + lo.vertical_force);
  }
  return e;
}

void span_warning(Session& s, const MooringForceInput& in, int line) {
  const std::string number = number_field(line);
  const std::string tail = "'     (',F4.1,',',F4.1,',',F4.1,')',' has carried fairlead number '," + number +
                           ",' outside '/'     the bounds of the specified vertical interpolation span.'/"
                           "'     This may lead to interpolation errors. Consider increasing'/"
                           "'     the vertical interpolation span.')";
  const Vec3 a{in.axis[0] * in.axis_scale, in.axis[1] * in.axis_scale, in.axis[2] * in.axis_scale};
  if (in.rotation == 0.0f && in.heave != 0.0f) {
    fwrite(s, in.out,
           "(/' ++> Warning: A vertical translation of amount ',F8.2,' has carried'/'     fairlead number '," +
               number +
               ",' outside the bounds of the',' specified vertical'/"
               "'     interpolation span. This may lead to interpolation errors.'/"
               "'     Consider increasing the vertical interpolation span.')",
           {in.heave, line});
  } else if (in.rotation != 0.0f && in.heave == 0.0f) {
    fwrite(s, in.out, "(/' ++> Warning: A rotation of amount ',F5.1,' degrees about direction'/" + tail,
           {in.rotation, a[0], a[1], a[2], line});
  } else {
    fwrite(s, in.out,
           "(/' ++> Warning: A vertical translation of amount ',F8.2/"
           "'     plus a rotation of amount ',F5.1,' degrees about direction'/" +
               tail,
           {in.heave, in.rotation, a[0], a[1], a[2], line});
  }
  int reply = 0;
  abort0(s, in.out, in.in, reply);
  if (reply == -1) throw ProgramStop(kNumericStopStatus);
}

}  // namespace

void fmoor2(Session& s, const MooringForceInput& in, MooringForceOutput& r) {
  // The rotation R about the axis (turned into the body frame): A turns the
  // axis into z, so R = A^T Rz A.
  const float ch = std::cos(in.mean_heading);
  const float sh = std::sin(in.mean_heading);
  const float length = vmod(in.axis);
  float rot = in.rotation / kDegree;
  float theta = 0.0f;
  float phi = 0.0f;
  if (length > 0.0f) {
    const Vec3 u{in.axis[0] / length, in.axis[1] / length, in.axis[2] / length};
    const float x = ch * u[0] + sh * u[1];
    const float y = ch * u[1] - sh * u[0];
    theta = std::acos(std::clamp(u[2], -1.0f, 1.0f));
    phi = (x == 0.0f && y == 0.0f) ? 0.0f : std::atan2(y, x);
  } else {
    rot = 0.0f;  // no axis, no rotation
  }
  const float ct = std::cos(theta), st = std::sin(theta), cp = std::cos(phi), sp = std::sin(phi);
  r.axis_turn = rows({cp * ct, sp * ct, -st}, {-sp, cp, 0.0f}, {cp * st, sp * st, ct});
  r.rotation_z = rows({std::cos(rot), -std::sin(rot), 0.0f}, {std::sin(rot), std::cos(rot), 0.0f}, {0.0f, 0.0f, 1.0f});
  const Matrix3 R = tmul(r.axis_turn, mul(r.rotation_z, r.axis_turn));
  const Matrix3 mean_turn = heading_matrix(in.mean_heading);
  const Matrix3 turn = heading_matrix(in.heading);
  r.angles = {-asin_held(R[2]), asin_held(R[5]), asin_held(R[1])};

  r.force = r.moment = r.body_force = r.body_moment = Vec3{};
  r.energy = 0.0f;
  if (in.mode == 3) r.stiffness = Matrix3{};

  // Body frame to global: the rotation, then the current heading; the mode
  // transforms around them.
  Matrix3 placing = kIdentity3;  // mode 1: fairleads placed on the body
  Vec3 placed_offset{};
  if (in.mode == 1) {
    placing = in.order == 0 ? in.m1 : mul(in.m2, mul(in.m1, tmul(in.m2, kIdentity3)));  // m2 m1 m2^T
    placed_offset = in.order == 0 ? in.mode_offset : times(mul(in.m2, in.m1), in.mode_offset);
  }
  const Matrix3 rotated = tmul(turn, R);
  Matrix3 to_global = mul(rotated, placing);
  if (in.mode == 2) to_global = mul(in.m1, to_global);

  const int n = std::clamp(in.points, 2, kTablePoints);
  const int top_line = std::min({in.last_line, kLegCapacity, static_cast<int>(in.request_code.size()),
                                 static_cast<int>(in.direction.size()), static_cast<int>(in.mean_range.size()),
                                 static_cast<int>(in.fairleads.size() / 3)});
  const float span_bottom = static_cast<float>(1 - in.first_layer) * in.spacing;
  const float span_top = span_bottom + in.grid_span;
  for (int line = std::max(in.first_line, 1); line <= top_line; ++line) {
    LineForce& lf = r.lines[ix(line)];
    lf = LineForce{};
    const std::int32_t code = in.request_code[ix(line)];
    const int t = code % kRequestTypeModulus;
    if (code > kRequestTypeModulus || t < 1 || t > kLineTypeCapacity) {
      if (in.line_outputs == 2) {
        lf.new_range = in.mean_range[ix(line)];
        lf.new_direction = in.direction[ix(line)];
      }
      continue;
    }
    const std::size_t f = 3 * ix(line);
    const Vec3 fairlead{in.fairleads[f], in.fairleads[f + 1], in.fairleads[f + 2]};
    const Vec3 r0 = sub(fairlead, in.body_point);

    // Displacement of the fairlead, global frame.
    Vec3 moved = times(rotated, add(times(placing, r0), placed_offset));
    if (in.mode == 2) moved = add(times(in.m1, moved), in.mode_offset);
    Vec3 d = sub(moved, times_transposed(mean_turn, r0));
    d = add(d, {in.offset[0], in.offset[1], in.heave});
    const float d2 = d[0] * d[0] + d[1] * d[1];
    const float z = d[2];

    if (z > span_top || z < span_bottom) {
      r.warned_line = line;
      if (r.warned != kWarned) {
        r.warned = kWarned;
        if (!(in.warn_below_only && z > span_top)) span_warning(s, in, line);
      }
    }

    // The line's new horizontal distance and direction.
    const float dep = in.direction[ix(line)] / kDegree;
    const float r_mean = in.mean_range[ix(line)];
    const float a = (d[0] == 0.0f && d[1] == 0.0f ? 0.0f : std::atan2(d[1], d[0])) - dep;
    const float sq = r_mean * r_mean + d2 - 2.0f * std::sqrt(d2) * r_mean * std::cos(a);
    const float dist = sq > 0.0f ? std::sqrt(sq) : 0.0f;
    const float beta = std::atan2(r_mean * std::sin(dep) - d[1], r_mean * std::cos(dep) - d[0]);

    const LoadupInput li{.x = dist,
                         .z = z,
                         .height_a = in.height_a,
                         .height_b = in.height_b,
                         .t = t,
                         .layers = in.layers,
                         .spacing = in.spacing,
                         .first_layer = in.first_layer,
                         .grid_span = in.grid_span,
                         .points = n};
    LoadupOutput lo;
    loadup(s, li, in.tables, lo, in.out, in.in);
    lf.h = lo.H;
    lf.top_tension = lo.top_tension;
    lf.vertical_force = lo.vertical_force;
    lf.top_angle = lo.top_angle;
    lf.bottom_angle = lo.bottom_angle;
    lf.bottom_length = lo.bottom_length;
    lf.energy = line_energy(in.tables, in, t, dist, lo, n);
    r.energy += lf.energy;
    if (in.line_outputs == 2) {
      lf.new_range = dist;
      lf.dz = z;
      lf.new_direction = beta * kDegree;
    }

    // The line's force on the body and its moments.
    const Vec3 force{lo.H * std::cos(beta), lo.H * std::sin(beta), lo.vertical_force};
    r.force = add(r.force, force);
    const Vec3 body_force = times_transposed(to_global, force);
    r.body_force = add(r.body_force, body_force);
    const Vec3 body_moment = cross(sub(fairlead, in.moment_point), body_force);
    r.body_moment = add(r.body_moment, body_moment);
    Vec3 moment = times(to_global, body_moment);
    if (in.mode == 2) moment = add(moment, cross(in.mode_offset, force));
    r.moment = add(r.moment, moment);
    if (in.mode == 3) {
      const float rf = dotp(body_force, r0);
      for (std::size_t i = 0; i < 3; ++i) {
        r.stiffness[i + 3 * i] -= rf;
        for (std::size_t k = 0; k < 3; ++k) r.stiffness[i + 3 * k] += body_force[i] * r0[k];
      }
    }
  }
}

}  // namespace kelp
