#include "moor/morlib/load_tables.hpp"

#include <cmath>
#include <string>

#include "edlib/record/data_record.hpp"
#include "kelpkit/flag_fields.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/table_search.hpp"
#include "moor/catlib/catenary.hpp"
#include "moor/catlib/line_stiffness.hpp"
#include "moor/morlib/splines.hpp"
#include "moor/morlib/vertical_line.hpp"
#include "moor/s/tension_iteration.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {
namespace {

constexpr int kMaxRefits = 9;

std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }

// The wait after a fatal message of load_alphas, then the stop.
[[noreturn]] void load_alphas_stop(Session& s, int out) {
  int reply = s.tpcm.i(kNavCode);
  prsret(s, out, kKeyboard, reply);
  s.tpcm.i(kNavCode) = reply;
  throw ProgramStop(kNumericStopStatus);
}

// Solves the line at H from the start tangents of interval m, column k.
void solve_at(Session& s, Lincom& lc, const LineType& lt, double H, int m, int k) {
  sclwld(lc.sclwt, lt.weight, H, lt.nelem);
  betald(lt.alpha, lc.scaled_coef, H, lt.nelem);
  float topt1 = lc.topt_start[Lincom::table_index(m + 1, k, 1)];
  float topt2 = m < 2 ? 100.0f * topt1 : lc.topt_start[Lincom::table_index(m, k, 1)];
  iter8p(s, lc, lt, topt1, topt2);
}

// The interval of element i's curve that holds its tension in the solved
// line; outside the curve the message with the label and the stop.
int curve_interval(Session& s, const Lincom& lc, const LineType& lt, double H, int i, const char* label) {
  const auto T = static_cast<float>(lc.secarr[ix(i)] * H);
  int flag = kInsideTable;
  int m = 1;
  bsrch(lc.curve(lc.curve_tension, i, lt.t), T, flag, m, lc.curve_count(i, lt.t));
  if (flag != kInsideTable) {
    const int out = s.tpcm.i(kOutputUnit);
    fwrite(s, out,
           "(/' ++> ',A,' evaluation produced a nonzero IER in LOAD_ALPHAS.'/'     (ITYP,IELEM) = (',I3,',',I2,').'/)",
           {std::string(label), lt.t, i});
    load_alphas_stop(s, out);
  }
  return m;
}

}  // namespace

void load_alphas(Session& s, Lincom& lc, LineType& lt, double H, int k) {
  const int n = std::clamp(s.tpcm.i(kInterpTableSize), 2, kTablePoints);
  int flag = kInsideTable;
  int m = 1;
  bsrch(lc.tension_points, static_cast<float>(H), flag, m, n);
  solve_at(s, lc, lt, H, m, k);
  const auto switched = [&lt](int i) { return bitval(lt.strain_law_bits, i) == 1; };
  std::array<int, kSublineCapacity> interval{};
  for (int pass = 0;; ++pass) {
    for (int i = 1; i <= lt.nelem; ++i) {
      if (!switched(i)) continue;
      interval[ix(i)] = curve_interval(s, lc, lt, H, i, "MIN2");
      const auto T = static_cast<float>(lc.secarr[ix(i)] * H);
      std::array<float, 3> alpha{};
      if (get_alphas(T, lc.curve(lc.curve_tension, i, lt.t), lc.curve(lc.curve_strain, i, lt.t),
                     lc.curve(lc.curve_y2, i, lt.t), lc.curve_count(i, lt.t), alpha) != kSplineOk) {
        splint_pause(s);
      }
      store_alphas(s.tpcm, lt, i, alpha);
    }
    solve_at(s, lc, lt, H, m, k);
    bool moved = false;
    for (int i = 1; i <= lt.nelem; ++i) {
      if (switched(i) && curve_interval(s, lc, lt, H, i, "MIN2Q") != interval[ix(i)]) moved = true;
    }
    if (!moved) return;
    if (pass + 1 > kMaxRefits) {
      const int out = s.tpcm.i(kOutputUnit);
      fwrite(s, out, "(/' ++> Alpha coefficient setting failed in LOAD_ALPHAS;',' contact Brenvik'/)");
      load_alphas_stop(s, out);
    }
  }
}

LoadupTables loadup_tables(const Lincom& lc, std::span<const float> anchor_depth,
                           std::span<const float> top_tension_y2, std::span<const float> layer_positions) {
  return {lc.tension_points, anchor_depth, lc.ref_tension, lc.range_table, lc.top_tension_table,
          lc.bottom_length_table, lc.top_angle_table, lc.bottom_angle_table, top_tension_y2, layer_positions};
}

void loadup(Session& s, const LoadupInput& in, const LoadupTables& tab, LoadupOutput& r, int out, int inunit) {
  const int n = std::clamp(in.points, 2, kTablePoints);
  const int t = std::clamp(in.t, 1, kLineTypeCapacity);
  int o = 0;
  setlyr(in.layers, in.first_layer, in.spacing, in.grid_span, in.z, r.layer, r.fraction, o);
  const int k = std::clamp(r.layer, 1, kLayerColumns);
  const float f = r.fraction;
  const auto column = [k, t](std::span<const float> table) {
    return table.subspan(std::min(table.size(), Lincom::table_index(1, k, t)));
  };
  const std::span<const float> range = column(tab.range);
  int flag = kInsideTable;
  bsrchq(range, f, in.x, flag, r.interval, n);
  const int m = r.interval;
  intrpr(range, tab.tension_points, in.x, r.H, m, f);
  r.depth = (in.height_a - in.height_b) + tab.anchor_depth[ix(t)] + in.z;

  if (r.H < 0.001f) {
    r.H = 0.0f;
    const VerticalLineState v = vrtlin(s, r.depth, read_line_type(s.tpcm, t), tab.ref_tension[ix(t)]);
    r.top_tension = v.top_tension;
    r.top_angle = v.top_angle;
    r.bottom_angle = v.bottom_angle;
    r.bottom_length = v.grounded1;
    r.vertical_force = v.top_angle >= 0.0f ? -std::fabs(v.top_tension) : std::fabs(v.top_tension);
    if (std::fabs(v.grounded1 - v.grounded2) > 1e-5f) {
      s.write_line(out, " Bottom length mismatch in LOADUP:VRTLIN");
      int reply = 0;
      abort0(s, out, inunit, reply);
      if (reply == -1) throw ProgramStop(kNumericStopStatus);
    }
    return;
  }

  if (in.layers < 2) {
    intrpq(range, column(tab.top_tension), in.x, r.top_tension, m, f);
  } else {
    const std::size_t block = Lincom::table_index(1, 1, t);
    if (splin2(tab.tension_points, tab.layer_positions, tab.top_tension.subspan(std::min(tab.top_tension.size(), block)),
               tab.top_tension_y2.subspan(std::min(tab.top_tension_y2.size(), block)), n, in.layers, r.H,
               static_cast<float>(r.layer) + f, r.top_tension) != kSplineOk) {
      splint_pause(s);
    }
  }
  intrpq(range, column(tab.top_angle), in.x, r.top_angle, m, f);
  r.vertical_force = -(r.H * std::tan(r.top_angle));

  // Where the line lifts off the bottom within the interval, the grounded
  // length comes from the interval before and the bottom angle from the one
  // after.
  const std::span<const float> bottom = column(tab.bottom_length);
  const float here = midlay(bottom.subspan(ix(m)), f);
  const float next = midlay(bottom.subspan(ix(m + 1)), f);
  if (here > 0.0f && next <= 0.0f) {
    intrpq(range, bottom, in.x, r.bottom_length, m == 1 ? m : m - 1, f);
    intrpq(range, column(tab.bottom_angle), in.x, r.bottom_angle, m + 1 < n ? m + 1 : m, f);
    r.bottom_length = std::max(r.bottom_length, 0.0f);
    r.bottom_angle = std::max(r.bottom_angle, 0.0f);
  } else {
    intrpq(range, bottom, in.x, r.bottom_length, m, f);
    intrpq(range, column(tab.bottom_angle), in.x, r.bottom_angle, m, f);
  }
}

MotionParts varupd(const std::array<float, 6>& a, float d_in) {
  MotionParts p;
  p.offset = {a[0], a[1]};
  p.heave = a[2];
  p.d = d_in;
  const Vec3 rot{a[3], a[4], a[5]};
  const float r = vmod(rot);
  if (r == 0.0f) {
    p.axis = {1.0f, 0.0f, 0.0f};
  } else {
    unitiz(rot, p.axis);
  }
  p.angle = 57.295776f * r;
  p.one = 1.0f;
  return p;
}

}  // namespace kelp
