#include "moor/morlib/oblique_line.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/table_search.hpp"
#include "moor/catlib/line_stiffness.hpp"
#include "moor/morlib/vertical_line.hpp"
#include "moor/s/line_trace.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {
namespace {

constexpr int kProbeTries = 100;
constexpr int kIgnoreFurther = 99;

[[noreturn]] void stop() { throw ProgramStop(kNumericStopStatus); }

// The abort question after a warning; "A" stops the program.
void abort_on_a(Session& s, const ObliqueInput& in) {
  int reply = 0;
  abort0(s, in.out, in.in, reply);
  if (reply == -1) stop();
}

void offer_to_ignore(Session& s, int out) {
  s.write_line(out, "              Enter 99 to ignore additional ocurrences of this condition OR...");
  s.write_line(out, "");
}

// The answer to a warning that may be silenced: 99 without asking in a
// silent run, otherwise the abort question that also takes 99.
int answer_or_ignore(Session& s, const ObliqueInput& in) {
  if (is_silent(in.out)) {
    s.write_line(in.out, "");
    return kIgnoreFurther;
  }
  offer_to_ignore(s, in.out);
  int reply = 0;
  abort3(s, in.out, in.in, reply);
  if (reply == -1) stop();
  return reply;
}

void singular_warning(Session& s, const ObliqueInput& in, const char* what) {
  fwrite(s, in.out, "(/' ++> Warning: Singular ',A,' in line',I3,'; routine FOBLQ.')", {std::string(what), in.line});
}

// The line's state with its fairlead moved by a along the top direction.
struct Displaced {
  float h = 0.0f;  // horizontal tension
  float t = 0.0f;  // top tension
  float v = 0.0f;  // vertical force
};

Displaced displaced_state(Session& s, const Lincom& lc, const LineType& lt, const ObliqueInput& in, int t, int n,
                          float a) {
  auto& warned = s.state<ObliqueWarnings>();
  const float dx = in.cx * a;
  const float dz = in.cz * a;
  int k = 1;
  float f = 0.0f;
  int outside = 0;
  setlyr(in.layers, in.layer, in.spacing, in.grid_span, dz, k, f, outside);
  if (outside == 1 && warned.span_unwarned) {
    warned.span_unwarned = false;
    fwrite(s, in.out,
           std::string("(/' ++> Warning: A vertical translation of amount ',F6.2,' has carried'/"
                       "'     fairlead number ',") +
               number_field(in.line) +
               ",' (and possibly others) outside the bounds of the'/"
               "'     specified vertical interpolation span in FOBLQ.'/"
               "'     Consider increasing the span before continuing simulation.'/)",
           {dz, in.line});
    abort_on_a(s, in);
  }
  k = std::clamp(k, 1, kLayerColumns);
  const float x = in.range + dx;
  const auto range = Lincom::column(lc.range_table, k, t);
  int flag = kInsideTable;
  int m = 1;
  bsrchq(range, f, x, flag, m, n);
  Displaced d;
  intrpr(range, lc.tension_points, x, d.h, m, f);
  if (d.h <= 0.0f) {
    d.h = 0.0f;
    const float depth = in.fairlead_z - in.z_ref + lt.anchor_depth + dz;
    const VerticalLineState v = vrtlin(s, depth, lt, lc.ref_tension[static_cast<std::size_t>(t - 1)]);
    d.t = v.top_tension;
    d.v = v.top_angle >= 0.0f ? -std::fabs(d.t) : std::fabs(d.t);
    if (std::fabs(v.grounded1 - v.grounded2) > 1e-5f) {
      s.write_line(in.out, " Bottom length mismatch in FOBLQ:VRTLIN");
      abort_on_a(s, in);
    }
    return d;
  }
  float angle = 0.0f;
  intrpq(range, Lincom::column(lc.top_tension_table, k, t), x, d.t, m, f);
  intrpq(range, Lincom::column(lc.top_angle_table, k, t), x, angle, m, f);
  d.v = -(d.h * std::tan(angle));
  return d;
}

// The probe step: the smallest 0.01 times a power of two whose linear
// tension change ks a exceeds 1 % of the mean top tension; 0 when there is
// none.
float probe_step(Session& s, const ObliqueInput& in, float ks, float t0) {
  if (!(t0 > 0.0f) || !(ks > 0.0f)) return 0.0f;
  float a = 0.01f;
  for (int k = 0; k < kProbeTries; ++k) {
    if (ks * a / t0 > 0.01f) return a;
    a *= 2.0f;
  }
  s.write_line(in.out, "");
  s.write_line(in.out, " ++> Warning: DO-loop overflow in FOBLQ (label 49).");
  s.write_line(in.out, "");
  abort_on_a(s, in);
  return 0.0f;
}

}  // namespace

void foblq(Session& s, const Lincom& lc, const LineType& lt, const ObliqueInput& in, ObliqueOutput& r) {
  auto& warned = s.state<ObliqueWarnings>();
  const int t = std::clamp(lt.t, 1, kLineTypeCapacity);
  const int n = std::clamp(in.points, 2, kTablePoints);
  ObliqueInput at = in;
  at.layer = std::clamp(in.layer, 1, kLayerColumns);

  // Mean state, from the line's own layer column.
  const auto range = Lincom::column(lc.range_table, at.layer, t);
  int flag = kInsideTable;
  int m0 = 1;
  bsrch(range, in.range, flag, m0, n);
  float t0 = 0.0f;
  interp(range, Lincom::column(lc.top_tension_table, at.layer, t), in.range, t0, m0);

  // A line marked elastic (KCAT at the sentinel) is still probed: its series
  // stiffness is about K_e, and the probe's tension change gives the static
  // oblique stiffness and may carry the fairlead out of the span. Only the
  // split takes every pass as elastic. A KCAT that is not positive has no
  // series stiffness and no probe.
  const float kcat = in.kcat;
  const bool all_elastic = kcat == kElasticSentinel || !(kcat > 0.0f);
  const float ks = !(kcat > 0.0f) || in.ke == 0.0f ? 0.0f : 1.0f / (1.0f / kcat + 1.0f / in.ke);

  for (int pass = 1; pass <= 3; ++pass) {
    const float a = pass == 1 ? probe_step(s, at, ks, t0) : (pass == 2 ? in.amplitude : -in.amplitude);
    const bool probed = pass != 1 || a != 0.0f;
    float dT = 0.0f;
    if (probed) {
      const Displaced d = displaced_state(s, lc, lt, at, t, n, a);
      r.h = d.h;
      r.v = d.v;
      dT = d.t - t0;
    }
    bool elastic = !probed || all_elastic || std::fabs(dT) >= std::fabs(in.ke * a);
    const float y = elastic ? 0.0f : a - dT / in.ke;
    if (y == 0.0f) elastic = true;

    if (pass == 1) {
      r.kcato = elastic ? kcat : dT / y;
      r.static_stiffness = probed ? dT / a : 0.0f;
      if (warned.kcat_enabled && in.line != warned.kcat_line && kcat > 0.0f &&
          std::fabs(kcat - r.kcato) / kcat > 0.5f) {
        fwrite(s, in.out, "(/' ++> Warning: KCAT, KCATO differ in FOBLQ for line #',I3)", {in.line});
        warned.kcat_line = in.line;
        warned.kcat_enabled = answer_or_ignore(s, at) != kIgnoreFurther;
      }
      if (warned.singular_unwarned && r.kcato <= 0.0f) {
        warned.singular_unwarned = false;
        singular_warning(s, in, "KCATO");
        if (is_silent(in.out)) {
          s.write_line(in.out, "");
        } else {
          offer_to_ignore(s, in.out);
          abort_on_a(s, at);
        }
      }
      continue;
    }

    float sq = 0.0f;
    float ratio = 0.0f;
    if (!elastic) {
      sq = ((1.0f + r.kcato / in.ke) * dT - r.kcato * a) / (y * y);
      ratio = (sq * y * y) / (kcat * y);
    }
    (pass == 2 ? r.s_plus : r.s_minus) = sq;
    (pass == 2 ? r.y_plus : r.y_minus) = y;
    const bool large = t0 != 0.0f ? std::fabs(dT / t0) > 0.5f : dT != 0.0f;
    if (!elastic && in.line != warned.sigcq_line && sq < 0.0f && std::fabs(ratio) > 0.5f && large &&
        warned.sigcq_enabled) {
      warned.sigcq_line = in.line;
      singular_warning(s, in, "SIGCQ");
      warned.sigcq_enabled = answer_or_ignore(s, at) != kIgnoreFurther;
    }
  }
}

}  // namespace kelp
