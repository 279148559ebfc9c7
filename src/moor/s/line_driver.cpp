#include "moor/s/line_driver.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "edlib/record/data_record.hpp"
#include "kelpkit/integration.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/table_search.hpp"
#include "moor/catlib/catenary.hpp"
#include "moor/catlib/line_stiffness.hpp"
#include "moor/morlib/load_tables.hpp"
#include "moor/s/line_trace.hpp"
#include "moor/s/tension_iteration.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"

namespace kelp {
namespace {

constexpr double kTensionStep = 0.0078125;  // 1/128 of H
constexpr float kFairleadStep = 0.001f;     // of the line length

std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }

bool layered_kind(int kind) { return kind == 17 || kind == 14; }

// The state a difference is taken against: weights, coefficients and node
// values of one solution.
struct LineShape {
  std::span<const double> sclwt, secarr, tmptan, coef;
};

// Horizontal and vertical spans of elements 1..n of a solution.
double x_of(const LineShape& a, const LineType& lt, int n, double tb) {
  return xdist(a.sclwt, a.secarr, a.tmptan, a.coef, n, lt.nelem, lt.grounding, lt.length, tb);
}
double z_of(const LineShape& a, const LineType& lt, int n) {
  return zdist(a.sclwt, a.secarr, a.coef, n, lt.length, a.tmptan);
}

void skip(Session& s, int out, int line, const std::string& why) {
  fwrite(s, out, "(' ++> Line',I4,' skipped in LINDRV: ',A)", {line, why});
}

}  // namespace

float line_vertical_span(const Tpcm& tp, int kind, int t, int fl, float offset) {
  const auto zword = fairlead_word(fl, 3);
  const auto dword = anchor_depth_word(t);
  const float zf = zword ? tp.r(*zword) : 0.0f;
  const float D = dword ? tp.r(*dword) : 0.0f;
  const float h1411 = tp.r(kDraft);
  const float h2645 = tp.r(kBuoyDraft);
  if (kind == 10 || ((kind == 13 || kind == 8) && tp.i(kHawserFlag) == 1)) {
    if (t == tp.i(kHawserType)) return (zf - h2645) - (tp.r(kHawserZCopy) - h1411);
    return D + (zf - h2645);
  }
  if (layered_kind(kind)) return D + (zf - h1411) + offset;
  return D + (zf - h1411);
}

void lindrv(Session& s, Lincom& lc, Catcom& cc, std::span<const float> ranges, std::span<const float> offsets) {
  Tpcm& tp = s.tpcm;
  const int out = tp.i(kOutputUnit);
  if (tp.i(kDebug) == 1) {
    fwrite(s, out, "(1X,A/30(6E12.4/))", {std::string(" ### In LINDRV:")});
    inbug(s, tp.i(kTraceLevel), out, kKeyboard);
  } else {
    tp.i(kTraceLevel) = 0;
  }
  lc.dhfrac = kTensionStep;
  lc.fairlead_step = kFairleadStep;
  const int kind = tp.i(kProgramKind);
  const int lines = std::clamp(tp.i(kMooringLegs), 0, kLegCapacity);
  const int points = std::clamp(tp.i(kInterpTableSize), 2, kTablePoints);
  const int columns = std::clamp(tp.i(kInterpLayers), 0, kLayerColumns);

  for (int line = 1; line <= lines; ++line) {
    const LineTrace trace(s);
    const std::int32_t code = lc.request_code[ix(line)];
    if (code > kRequestTypeModulus) continue;
    const int t = code % kRequestTypeModulus;
    if (t < 1 || t > kLineTypeCapacity) {
      skip(s, out, line, "its line type " + std::to_string(t) + " is not 1 to 150.");
      continue;
    }
    LineType lt = read_line_type(tp, t);
    const float total = lt.total_length();
    if (lt.nelem < 1 || !(total > 0.0f)) {
      skip(s, out, line, "line type " + std::to_string(t) + " has no elements or no length.");
      continue;
    }
    if (lt.fairlead < 1 || lt.fairlead > kLegCapacity) {
      skip(s, out, line, "fairlead number " + std::to_string(lt.fairlead) + " is not 1 to 150.");
      continue;
    }
    const int n = lt.nelem;
    const float range = ix(line) < ranges.size() ? ranges[ix(line)] : 0.0f;
    const float offset = ix(line) < offsets.size() ? offsets[ix(line)] : 0.0f;
    const auto span = [&] { return line_vertical_span(tp, kind, t, lt.fairlead, offset); };

    // Horizontal tension at the line's range.
    int k = std::clamp(lc.layer, 1, kLayerColumns);
    float f = 0.0f;
    int m = 1;
    int flag = kInsideTable;
    float hmean = 0.0f;
    if (layered_kind(kind)) {
      if (trace.on()) fwrite(s, out, "(A,I4)", {std::string("Before SETLYR call; ILINE = "), line});
      int o = 0;
      setlyr(columns, lc.layer, lc.layer_spacing, tp.r(kInterpSpan), offset, lc.layer_blended, f, o);
      k = std::clamp(lc.layer_blended, 1, kLayerColumns);
      const auto col = Lincom::column(lc.range_table, k, t);
      bsrchq(col, f, range, flag, m, points);
      intrpr(col, lc.tension_points, range, hmean, m, f);
    } else {
      const auto col = Lincom::column(lc.range_table, k, t);
      bsrch(col, range, flag, m, points);
      interp(col, lc.tension_points, range, hmean, m);
    }
    if (!(hmean > 0.0f)) {
      skip(s, out, line, "its horizontal tension from the tables is not positive.");
      continue;
    }
    lc.ityp = t;
    lc.total_length = total;
    lc.span = span();
    lc.hmean = hmean;
    const double H = hmean;
    lc.dphld = H;
    trace.values("DPHLD,DPHLD2,DHFRAC", {lc.dphld, lc.dphld2, lc.dhfrac});

    if (lc.strain_law_master != 0 && lt.strain_law_bits != 0) load_alphas(s, lc, lt, H, k);
    sclwld(lc.sclwt, lt.weight, H, n);
    betald(lt.alpha, lc.scaled_coef, H, n);
    const auto mean_coef = lc.scaled_coef;

    // Start bracket of the top tangent from the top-angle table.
    const int k2 = layered_kind(kind) && k < columns ? k + 1 : k;
    const auto bracket = [&](float& topt1, float& topt2) {
      topt1 = std::tan(lc.top_angle_table[Lincom::table_index(m + 1, k, t)]);
      topt2 = std::tan(lc.top_angle_table[Lincom::table_index(m, k2, t)]);
      if (topt1 == topt2) {
        topt2 = topt1 + 0.1f;
        topt1 = topt2 - 0.2f;
      }
    };

    // Mean state.
    if (trace.on()) {
      fwrite(s, out, "(A,I5)", {std::string(" SETTING MEAN TMPTANS & SECARRS: MIN = "), m});
      inbug(s, tp.i(kTraceLevel), out, kKeyboard);
    }
    float topt1 = 0.0f, topt2 = 0.0f;
    bracket(topt1, topt2);
    iter8p(s, lc, lt, topt1, topt2);
    if (trace.on()) inbug(s, tp.i(kTraceLevel), out, kKeyboard);
    const auto mean_sclwt = lc.sclwt;
    for (int i = 1; i <= n + 1; ++i) cc.mean_tangent[Catcom::node_index(i, line)] = static_cast<float>(lc.tmptan[ix(i)]);
    const double p0 = lc.tmptan[0];
    lc.end_tangents = {static_cast<float>(p0), static_cast<float>(lc.tmptan[ix(n + 1)])};
    lc.fxcomp = cospht(lc.end_tangents[0]);
    lc.fzcomp = sinpht(lc.end_tangents[0]);
    lc.bxcomp = cospht(lc.end_tangents[1]);
    lc.bzcomp = sinpht(lc.end_tangents[1]);
    lc.tpten0 = H * lc.secarr[0];
    lc.btten0 = H * lc.secarr[ix(n + 1)];
    lc.botlnm = lc.botln;
    lc.mean_tmptan = lc.tmptan;
    lc.mean_secarr = lc.secarr;
    const double V0 = H * p0;
    trace.text("ITERATION LOOP FOLLOWS:");
    trace.values("HMEAN,RANCHR,TPTEN0,BTTEN0,BOTLNM,BXCOMP,BZCOMP,FXCOMP,FZCOMP",
                 {hmean, range, lc.tpten0, lc.btten0, lc.botlnm, lc.bxcomp, lc.bzcomp, lc.fxcomp, lc.fzcomp});
    trace.values("Dynamic line request: ILINE,ILINE,ITYP", {double(line), double(line), double(t)});
    const LineShape mean{mean_sclwt, lc.mean_secarr, lc.mean_tmptan, mean_coef};
    const LineShape now{lc.sclwt, lc.secarr, lc.tmptan, lc.scaled_coef};
    const double tb = lc.bottom_tangent;

    // Fairlead step: the span grows by dZ at the same tension.
    const float dZ = lc.fairlead_step * total;
    lc.span = span() + dZ;
    bracket(topt1, topt2);
    iter8p(s, lc, lt, topt1, topt2);
    lc.fairlead_step_tensions = {H * lc.secarr[0], H * lc.secarr[ix(n + 1)]};
    const double p1 = lc.tmptan[0];
    cc.vforce_rise_rate[ix(line)] = static_cast<float>(-(H * p1 - V0) / dZ);
    const double dp0_dz = (p1 - p0) / dZ;
    const double dx_all = x_of(now, lt, n, tb) - x_of(mean, lt, n, tb);
    for (int i = 1; i <= n + 1; ++i) {
      trace.text("BEFORE DXSDZF");
      const std::size_t at = Catcom::node_index(i, line);
      cc.dxsdzf[at] = static_cast<float>((dx_all - (x_of(now, lt, i - 1, tb) - x_of(mean, lt, i - 1, tb))) / dZ);
      trace.text("BEFORE DZSDZF");
      cc.dzsdzf[at] = static_cast<float>(1.0 - (z_of(now, lt, i - 1) - z_of(mean, lt, i - 1)) / dZ);
    }

    // Tension step: H grows by 1/128 at the mean span.
    lc.span = span();
    const double H2 = H * (1.0 + lc.dhfrac);
    lc.dphld2 = H2;
    sclwld(lc.sclwt, lt.weight, H2, n);
    betald(lt.alpha, lc.scaled_coef, H2, n);
    bracket(topt1, topt2);
    std::swap(lc.dphld, lc.dphld2);
    iter8p(s, lc, lt, topt1, topt2);
    std::swap(lc.dphld, lc.dphld2);
    lc.sclwt_pert = lc.sclwt;
    lc.scaled_coef_pert = lc.scaled_coef;
    lc.tension_step_tensions = {H2 * lc.secarr[0], H2 * lc.secarr[ix(n + 1)]};
    const double dH = H * lc.dhfrac;
    const double p2 = lc.tmptan[0];
    cc.vforce_tension_rate[ix(line)] = static_cast<float>(-(H2 * p2 - V0) / dH);
    const double dp0_dH = (p2 - p0) / dH;
    const LineShape pert{lc.sclwt_pert, lc.secarr, lc.tmptan, lc.scaled_coef_pert};
    const double dxh_all = x_of(pert, lt, n, tb) - x_of(mean, lt, n, tb);
    const double dzh_all = z_of(pert, lt, n) - z_of(mean, lt, n);
    for (int i = 1; i <= n + 1; ++i) {
      trace.text("BEFORE DXSDH");
      const std::size_t at = Catcom::node_index(i, line);
      cc.dxsdh[at] = static_cast<float>((dxh_all - (x_of(pert, lt, i - 1, tb) - x_of(mean, lt, i - 1, tb))) / dH);
      trace.text("BEFORE DZSDH");
      cc.dzsdh[at] = static_cast<float>((dzh_all - (z_of(pert, lt, i - 1) - z_of(mean, lt, i - 1))) / dH);
    }
    lc.sclwt = mean_sclwt;
    lc.scaled_coef = mean_coef;

    // Rates of the line.
    const std::size_t top = Catcom::node_index(1, line);
    const double dX = hmean * lc.dhfrac * cc.dxsdh[top];
    const auto l = ix(line);
    cc.top_range_rate[l] = static_cast<float>((lc.tension_step_tensions[0] - lc.tpten0) / dX);
    cc.bottom_range_rate[l] = static_cast<float>((lc.btten0 - lc.tension_step_tensions[1]) / dX);
    cc.top_rise_rate[l] =
        static_cast<float>((lc.fairlead_step_tensions[0] - lc.tpten0) / dZ - cc.dxsdzf[top] * cc.top_range_rate[l]);
    cc.bottom_rise_rate[l] =
        static_cast<float>((lc.btten0 - lc.fairlead_step_tensions[1]) / dZ - cc.dxsdzf[top] * cc.bottom_range_rate[l]);
    cc.top_axial_rate[l] = lc.fzcomp * cc.top_rise_rate[l] + lc.fxcomp * cc.top_range_rate[l];
    cc.bottom_axial_rate[l] = lc.bzcomp * cc.bottom_rise_rate[l] + lc.bxcomp * cc.bottom_range_rate[l];
    lc.top_angle_rate[l] = (lc.fzcomp * dp0_dz + lc.fxcomp * dp0_dH / cc.dxsdh[top]) / (p0 * p0 + 1.0);

    if (trace.on()) {
      s.write_line(out, " I,DXSDZF(I,ILINE),DZSDZF(I,ILINE),DXSDH(I,ILINE),DZSDH(IELEM,ILINE)");
      for (int i = 1; i <= n + 1; ++i) {
        const std::size_t at = Catcom::node_index(i, line);
        fwrite(s, out, "(I5,4E12.4)", {i, cc.dxsdzf[at], cc.dzsdzf[at], cc.dxsdh[at], cc.dzsdh[at]});
      }
    }
  }
}

}  // namespace kelp
