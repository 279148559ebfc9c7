#include "moor/s/line_dynamics.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "edlib/record/data_record.hpp"
#include "kelpkit/integration.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/table_search.hpp"
#include "kelpkit/work_areas.hpp"
#include "moor/catlib/axial_wave.hpp"
#include "moor/catlib/catenary_motion.hpp"
#include "moor/catlib/line_stiffness.hpp"
#include "moor/morlib/oblique_line.hpp"
#include "moor/s/line_trace.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {
namespace {

using Complex = std::complex<float>;

constexpr int kIntegrationPoints = 5;

std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }

float modulus(Complex z) { return std::sqrt(z.real() * z.real() + z.imag() * z.imag()); }

// Magnitude m with the phase of z (the phase 0 when z is 0).
Complex with_phase(float m, Complex z) {
  const float r = modulus(z);
  return r > 0.0f ? z * (m / r) : Complex(m, 0.0f);
}

// Cosine and sine of the direction whose tangent is rise / range.
void end_direction(float rise, float range, float& c, float& s) {
  if (range == 0.0f) {
    c = 0.0f;
    s = rise < 0.0f ? -1.0f : 1.0f;
    return;
  }
  c = cospht(rise / range);
  s = sinpht(rise / range);
}

void skip(Session& s, int out, int line, const std::string& why) {
  fwrite(s, out, "(' ++> Line',I4,' skipped in DYNCOD: ',A)", {line, why});
}

// Damping and inertia sums along the line.
struct LineSums {
  float dissipation = 0.0f;
  float longitudinal = 0.0f;
  float transverse = 0.0f;
  std::array<float, kMaxNodes> longitudinal_at{};  // partial sums over the elements above each node
  std::array<float, kMaxNodes> transverse_at{};
};

// The inertia warning and its abort question, at most once per run.
void inertia_warning(Session& s, DynamicLineState& st, int out, const std::string& format,
                     const std::vector<fmt::Item>& items) {
  st.inertia_warned = true;
  fwrite(s, out, format, items);
  int reply = s.tpcm.i(kNavCode);
  abort0(s, out, kKeyboard, reply);
  s.tpcm.i(kNavCode) = reply;
  if (reply < 0) throw ProgramStop(kNumericStopStatus);
}

}  // namespace

void dyncod(Session& s, Lincom& lc, Catcom& cc, const DynamicLineInput& in, DynamicLineOutput& r) {
  Tpcm& tp = s.tpcm;
  auto& st = s.state<DynamicLineState>();
  const int out = tp.i(kOutputUnit);
  const int kind = tp.i(kProgramKind);
  // Kept as the model has always had it: the catenary mass is used only by
  // kinds 17 and 14 (word 150 not 1), and once another kind has been seen
  // the code stays 0 for the rest of the run.
  if (!(kind == 17 || kind == 14) || tp.i(kAddedMassModel) == 1) st.added_mass_model = 0;

  const int line = in.line;
  const int t = lc.ityp;
  if (line < 1 || line > kLegCapacity) return skip(s, out, line, "its number is not 1 to 150.");
  if (t < 1 || t > kLineTypeCapacity) {
    return skip(s, out, line, "its line type " + std::to_string(t) + " is not 1 to 150.");
  }
  const LineType lt = read_line_type(tp, t);
  const int n = lt.nelem;
  if (n < 1) return skip(s, out, line, "line type " + std::to_string(t) + " has no elements.");
  const auto node = [line](int i) { return Catcom::node_index(i, line); };
  if (cc.dxsdh[node(1)] == 0.0f) return skip(s, out, line, "it has no static state.");
  const auto l = ix(line);
  const Complex base = cc.base_value;
  const Complex top = cc.top_motion;
  const Complex bottom = cc.bottom_motion;
  const float omega2 = in.omega * in.omega;

  // End-to-end motion and the line's direction at its two ends.
  const Complex e = top - bottom;
  const float emag = modulus(e);
  const bool mean_tangents = tp.i(kEndTangentSource) == 0;
  if (mean_tangents) {
    lc.fxcomp = cospht(cc.mean_tangent[node(1)]);
    lc.fzcomp = sinpht(cc.mean_tangent[node(1)]);
    lc.bxcomp = cospht(cc.mean_tangent[node(n + 1)]);
    lc.bzcomp = sinpht(cc.mean_tangent[node(n + 1)]);
  } else {
    end_direction(cc.top_rise_rate[l], cc.top_range_rate[l], lc.fxcomp, lc.fzcomp);
    end_direction(cc.bottom_rise_rate[l], cc.bottom_range_rate[l], lc.bxcomp, lc.bzcomp);
  }

  // Horizontal and vertical end motions, and the tension changes they make.
  const Complex dxf = lc.fxcomp * top;
  const Complex dzf = lc.fzcomp * top;
  const Complex dxb = lc.bxcomp * bottom;
  const Complex dzb = lc.bzcomp * bottom;
  const float dxsdh1 = cc.dxsdh[node(1)];
  const float dxsdzf1 = cc.dxsdzf[node(1)];
  const Complex dH1 = (dxf - dxsdzf1 * dzf) / dxsdh1;
  const Complex dH2 = (dxsdzf1 * dzb - dxb) / dxsdh1;
  const auto x_at = [&](int k) {
    const std::size_t at = node(k);
    return dxb + cc.dxsdh[at] * dH2 - cc.dxsdzf[at] * dzb + cc.dxsdh[at] * dH1 + cc.dxsdzf[at] * dzf;
  };
  const auto z_at = [&](int k) {
    const std::size_t at = node(k);
    return dzb + cc.dzsdh[at] * dH2 - cc.dzsdzf[at] * dzb + cc.dzsdh[at] * dH1 + cc.dzsdzf[at] * dzf;
  };

  // Damping and inertia of the catenary, element by element.
  const float g = wavcom(s).g;
  const auto per_g = [g](float v) { return g > 0.0f ? v / g : 0.0f; };
  const float dwovrg = per_g(0.001f * tp.r(kWaterDensity));
  LineSums sum;
  if (in.node_output) r.node_longitudinal[ix(n + 1)] = r.node_transverse[ix(n + 1)] = base;
  for (int i = 1; i <= n; ++i) {
    const auto el = ix(i);
    tp.set_r(kElementDrag, lt.drag[el]);
    tp.set_r(kElementAddedMass, lt.added_mass[el]);
    const double tx = lc.dphld / lt.weight[el];
    if (std::isfinite(tx)) r.tx = tx;
    const Complex xb = x_at(i + 1);
    const Complex zb = z_at(i + 1);
    const DampingInput d{.tx = tx,
                         .dqtop = cc.mean_tangent[node(i)],
                         .dqbot = cc.mean_tangent[node(i + 1)],
                         .nqp = kIntegrationPoints,
                         .dx = x_at(i) - xb,
                         .dz = z_at(i) - zb,
                         .dxb = xb,
                         .dzb = zb,
                         .ielem = i,
                         .botflg = i == lc.touchdown_element ? 1 : 0};
    DampingOutput dr;
    catdmp(s, lc, cc, lt, d, dr);

    const float f = dwovrg * lt.diameter[el] * in.diameter_unit;
    sum.dissipation += f * dr.disipd * lt.drag[el];
    const float displaced = lt.dry_weight[el] > 0.0f ? per_g(lt.dry_weight[el] - lt.weight[el])
                                                     : f * 0.7853982f * lt.diameter[el] * in.diameter_unit;
    float mass = std::max(per_g(lt.weight[el]) + displaced, 0.0f);
    sum.longitudinal += 0.5f * dr.keelml * mass;
    sum.longitudinal_at[ix(i + 1)] = sum.longitudinal;
    mass = std::max(mass + lt.added_mass[el] * displaced, 0.0f);
    sum.transverse += 0.5f * dr.keelmt * mass;
    sum.transverse_at[ix(i + 1)] = sum.transverse;
    if (in.node_output) {
      r.node_longitudinal[el] = with_phase(dr.lontopq, e);
      r.node_transverse[el] = with_phase(dr.adatopq, e);
    }
  }

  // Linearised drag and the inertia per unit motion.
  float cq = 0.0f;
  if (emag < 1e-9f || sum.dissipation == 0.0f) {
    sum = LineSums{};
  } else {
    if (in.node_output) {
      for (int k = 1; k <= n; ++k) {
        const float amp = modulus(r.node_longitudinal[ix(k)]);
        const float amp2 = amp * amp;
        float& lk = sum.longitudinal_at[ix(k)];
        float& tk = sum.transverse_at[ix(k)];
        // A node that does not move along the line keeps no inertia.
        lk = amp2 > 0.0f ? (sum.longitudinal - lk) / amp2 : 0.0f;
        tk = amp2 > 0.0f ? (sum.transverse - tk) / amp2 : 0.0f;
      }
    }
    cq = 3.0f * sum.dissipation / (8.0f * emag * emag * emag);
    sum.longitudinal /= emag * emag;
    sum.transverse /= emag * emag;
  }

  // Stiffnesses.
  r.status = 1;
  const auto t0 = static_cast<float>(lc.tpten0);
  float ke = 0.0f;
  kelast(s, ke, lt, lc.wave_numbers, in.omega, t0);
  cc.k_elastic = ke;
  const float top_rate = mean_tangents ? cc.top_axial_rate[l]
                                       : lc.fzcomp * cc.top_rise_rate[l] + lc.fxcomp * cc.top_range_rate[l];
  const float bottom_rate = mean_tangents ? cc.bottom_axial_rate[l]
                                          : lc.bzcomp * cc.bottom_rise_rate[l] + lc.bxcomp * cc.bottom_range_rate[l];
  kcatn(cc.k_catenary, ke, cc.k_total, top, bottom, top_rate, bottom_rate);
  const float mc = st.added_mass_model == 0 ? 0.0f : 2.0f * (sum.transverse + sum.longitudinal);
  cc.stiffness_ratio = cc.k_catenary / ke;

  // The response: catenary and elastic split, then the axial wave.
  CatstrInput ci{.omega = in.omega, .motion = e, .parity = 1.0f, .mass = mc, .drag = cq, .ke = ke, .kind = kind,
                 .line = line};
  AxialWaveInput wi{.omega = in.omega,
                    .mass = mc,
                    .t0 = t0,
                    .wave_numbers = lc.wave_numbers,
                    .k_catenary = cc.k_catenary,
                    .node_output = in.node_output};
  const auto respond = [&](const CatstrOutput& c, float sigma, NodeAmplitudes& nodes) {
    wi.yc = c.yc;
    wi.ye = c.ye;
    wi.cq = c.cq;
    wi.gain = c.y;
    wi.sigma = sigma;
    AxialWaveOutput wo{.nodes = nodes};
    lngwav(lt, wi, wo);
    return wo;
  };
  Complex inertia = base;
  const bool oblique = tp.i(kLargeAmplitude) == 1 && kind != 10 && !(kind == 13 && t == tp.i(kHawserType));
  if (oblique) {
    const ObliqueInput oi{.line = line,
                          .range = in.range,
                          .amplitude = emag,
                          .kcat = cc.k_catenary,
                          .ke = ke,
                          .layer = lc.layer,
                          .spacing = lc.layer_spacing,
                          .layers = tp.i(kInterpLayers),
                          .points = tp.i(kInterpTableSize),
                          .grid_span = tp.r(kInterpSpan),
                          .fairlead_z = tp.r(*fairlead_word(line, 3)),
                          .z_ref = tp.r(kVerticalReference),
                          .cx = lc.fxcomp,
                          .cz = lc.fzcomp,
                          .out = out,
                          .in = kKeyboard};
    ObliqueOutput ob;
    foblq(s, lc, lt, oi, ob);
    if (emag < 1e-10f) ob.s_plus = ob.s_minus = 0.0f;
    r.static_top = ob.y_plus == 0.0f ? emag * cc.k_total : ob.y_plus * (ob.y_plus * ob.s_plus + ob.kcato);
    r.static_bottom = ob.y_minus == 0.0f ? -emag * cc.k_total : ob.y_minus * (ob.y_minus * ob.s_minus + ob.kcato);
    cc.stiffness_ratio = ob.kcato / ke;
    ci.ratio = cc.stiffness_ratio;
    ci.mode = 1;
    ci.sigma = ob.s_plus;
    CatstrOutput plus;
    catstr(s, ci, plus, out, kKeyboard);
    ci.motion = -e;
    ci.sigma = ob.s_minus;
    ci.parity = -1.0f;
    CatstrOutput minus;
    catstr(s, ci, minus, out, kKeyboard);
    r.catenary = plus.yc;
    r.elastic = plus.ye;
    r.catenary_neg = minus.yc;
    r.elastic_neg = minus.ye;
    r.gain = plus.y;
    const AxialWaveOutput wp = respond(plus, ob.s_plus, r.node_tension);
    const AxialWaveOutput wm = respond(minus, ob.s_minus, r.node_tension_neg);
    r.top_tension = wp.t_far;
    r.bottom_tension = wp.t_start;
    r.top_tension_neg = wm.t_far;
    r.bottom_tension_neg = wm.t_start;
    if (emag != 0.0f) inertia = 2.0f * (sum.transverse * r.gain * r.gain + sum.longitudinal) * omega2 * top;
  } else {
    ci.ratio = cc.stiffness_ratio;
    CatstrOutput plus;
    catstr(s, ci, plus, out, kKeyboard);
    const AxialWaveOutput wp = respond(plus, 0.0f, r.node_tension);
    if (in.node_output) {
      for (int k = 1; k <= n + 1; ++k) r.node_tension_neg[ix(k)] = -r.node_tension[ix(k)];
    }
    r.gain = plus.y;
    if (emag != 0.0f) {
      r.gain = modulus(plus.yc) / emag;
      inertia = 2.0f * (sum.transverse * r.gain * r.gain + sum.longitudinal) * omega2 * e;
    }
    r.top_tension = wp.t_far;
    r.top_tension_neg = -wp.t_far;
    r.bottom_tension = wp.t_start;
    r.bottom_tension_neg = -wp.t_start;
    r.catenary = plus.yc;
    r.catenary_neg = -plus.yc;
    r.elastic = plus.ye;
    r.elastic_neg = -plus.ye;
    r.static_top = emag * cc.k_total;
    r.static_bottom = -r.static_top;
  }

  // Inertia correction of the top tension, and of each node's.
  const int exclusion_mode = tp.i(kInertiaExclusion);
  const bool correct = tp.i(kInertiaCorrection) == 1 &&
                       (exclusion_mode == 0 || (exclusion_mode > 0 && lc.inertia_exclusion[l] == 0));
  const auto may_warn = [&](Complex tension, float load) {
    return modulus(tension) < 0.1f * load && in.warnings && !st.inertia_warned;
  };
  if (correct && top != base) {
    const float load = modulus(inertia);
    inertia = with_phase(-load, top);
    if (may_warn(r.top_tension, load)) {
      inertia_warning(s, st, out,
                      std::string("(/' ++> The inertial load correction for line ',") + number_field(line) +
                          ",', and probably',' others,'/'     may be excessive; consider disabling',"
                          "' the inertial'/'     correction for these lines.')",
                      {line});
    }
  } else {
    inertia = base;
  }
  r.top_tension += inertia;
  r.top_tension_neg -= inertia;
  if (in.node_output) {
    for (int k = 1; k <= n; ++k) {
      const Complex along = r.node_longitudinal[ix(k)];
      Complex load = base;
      if (correct && along != base) {
        const float m = modulus(2.0f * (r.gain * r.gain * sum.transverse_at[ix(k)] + sum.longitudinal_at[ix(k)]) *
                                omega2 * along);
        load = with_phase(-m, along);
        if (may_warn(r.node_tension[ix(k)], m)) {
          inertia_warning(s, st, out,
                          std::string("(/' ++> The inertial load correction for node ',") + number_field(k) +
                              ",' of line '," + number_field(line) +
                              ",', and probably others, may be excessive;'/"
                              "'     consider disabling the inertial',' corrections for these lines.')",
                          {k, line});
        }
      }
      r.node_tension[ix(k)] += load;
      r.node_tension_neg[ix(k)] -= load;
    }
  }

  // Quasi-static tensions from the load tables.
  if (tp.i(kQuasiStaticTension) != 0) {
    if (mean_tangents) {
      // A vertical top (no horizontal direction) has no range change.
      r.static_top = 0.0f;
      if (lc.fxcomp != 0.0f) {
        const int k = std::clamp(lc.layer, 1, kLayerColumns);
        const auto range = Lincom::column(lc.range_table, k, t);
        const float x = emag / lc.fxcomp + in.range;
        int flag = kInsideTable;
        int m = 1;
        bsrch(range, x, flag, m, std::clamp(tp.i(kInterpTableSize), 2, kTablePoints));
        float tension = 0.0f;
        interp(range, Lincom::column(lc.top_tension_table, k, t), x, tension, m);
        r.static_top = static_cast<float>(tension - lc.tpten0);
      }
    }
    r.top_tension = r.bottom_tension = Complex(r.static_top, 0.0f);
    r.top_tension_neg = r.bottom_tension_neg = -r.top_tension;
  }
}

}  // namespace kelp
