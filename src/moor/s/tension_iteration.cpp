#include "moor/s/tension_iteration.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/root_finders.hpp"
#include "moor/catlib/catenary.hpp"
#include "moor/s/line_trace.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {
namespace {

// The sinkage warning is given once per run.
struct SinkageWarning {
  bool given = false;
};

constexpr int kMaxWidenings = 60;

std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }

// The wait after an overflow message (none in a silent run), then the stop.
[[noreturn]] void wait_and_stop(Session& s, int out) {
  if (!is_silent(out)) {
    char ch = ' ';
    readcp(s, ch);
  }
  throw ProgramStop(kNumericStopStatus);
}

bool buoyant_after(const Lincom& lc, int i, int n) {
  for (int j = i + 1; j <= n; ++j) {
    if (lc.sclwt[ix(j)] < 0.0) return true;
  }
  return false;
}

}  // namespace

HeightTarget height_target(Session& s, const Lincom& lc) {
  const Tpcm& tp = s.tpcm;
  HeightTarget z;
  z.span = lc.span;
  if (tp.i(kBuoySinkage) == 0) return z;
  const float area = tp.r(kWaterDensity) * tp.r(kWaterplaneArea);
  if (!(area > 0.0f)) {
    auto& warned = s.state<SinkageWarning>();
    if (!warned.given) {
      warned.given = true;
      s.write_line(tp.i(kOutputUnit), " ++> Warning: Buoy sinkage skipped; water density x waterplane area");
      s.write_line(tp.i(kOutputUnit), "     not positive.");
    }
    return z;
  }
  z.sinkage = true;
  z.scale = 1000.0 * tp.i(kSinkageCount) / area;
  z.vref = lc.top_tension_table[Lincom::table_index(1, lc.layer, lc.ityp)];
  return z;
}

double hterr2(Lincom& lc, const LineType& lt, const HeightTarget& z, double p) {
  const int n = lt.nelem;
  const double pb = lc.bottom_tangent;
  lc.botln = 0.0;
  lc.tmptan[0] = p;
  for (int i = 1; i <= n; ++i) {
    const double w = lc.sclwt[ix(i)];
    double& next = lc.tmptan[ix(i + 1)];
    next = lc.tmptan[ix(i)] - lt.length[ix(i)] * w;
    if (lt.grounding == 1 && lc.tmptan[ix(i)] >= pb && next <= pb && !buoyant_after(lc, i, n)) {
      // The element reaches the bottom: its part beyond the touchdown lies
      // there (all of it when the touchdown is at its upper end).
      const double st = strech(pb, lc.scaled_coef, i);
      lc.botln += w == 0.0 ? lt.length[ix(i)] * st : (pb - next) * st / w;
      next = pb;
    }
  }
  for (int i = 1; i <= n + 1; ++i) lc.secarr[ix(i)] = secfcn(lc.tmptan[ix(i)]);
  return zdist(lc.sclwt, lc.secarr, lc.scaled_coef, n, lt.length, lc.tmptan) - z.at(p, lc.dphld);
}

float hterr(Lincom& lc, const LineType& lt, const HeightTarget& z, float p) {
  return static_cast<float>(hterr2(lc, lt, z, p));
}

void iter8(Session& s, Lincom& lc, const LineType& lt, float& topt1, float& topt2) {
  const LineTrace trace(s);
  const HeightTarget target = height_target(s, lc);
  const auto error = [&](float p) {
    const float e = hterr(lc, lt, target, p);
    if (trace.on()) {
      std::vector<double> v{double(lt.t), double(lt.nelem), double(p), lc.sclwt[0]};
      for (int i = 1; i <= lt.nelem + 1; ++i) v.push_back(lc.tmptan[ix(i)]);
      v.push_back(lc.botln);
      trace.values(" IN HTERR; ITYP, NELEM,TOPTAN,SCLWT(1),TMPTAN(1->NELEM+1),BOTLN", v);
      for (int i = 1; i <= lt.nelem + 1; ++i) trace.values("  IELEM,SECARR(IELEM)", {double(i), lc.secarr[ix(i)]});
      trace.values(" ZDIST,DELTZP,DHTERR", {e + target.at(p, lc.dphld), target.at(p, lc.dphld), double(e)});
    }
    return e;
  };
  float step = std::max(0.5f * std::fabs(topt2), 0.1f);
  for (int widenings = 0;; ++widenings) {
    trace.values("  ALEVER,TOPT1,TOPT2", {step, topt1, topt2});
    float root = 0.0f;
    float value = 0.0f;
    int ier = kRootFound;
    rtmi1(root, value, error, topt2, topt1, 1e-5f, 0.01f, 100, ier);
    if (ier != kRootFound && trace.on()) fwrite(s, trace.out(), "(A,I3)", {std::string(" ++> RTMI ERROR # "), ier});
    if (ier == kRootNoConvergence || (ier == kRootNoSignChange && widenings >= kMaxWidenings)) {
      const int out = s.tpcm.i(kOutputUnit);
      fwrite(s, out, "(/' ++> Iteration overflow in ITER8P:ITER8; line type',I3/'     Press <Return> to Continue...')",
             {lt.t});
      wait_and_stop(s, out);
    }
    if (ier == kRootNoSignChange) {
      float& upper = topt2 >= topt1 ? topt2 : topt1;
      float& lower = topt2 >= topt1 ? topt1 : topt2;
      upper += step;
      lower -= step;
      step *= 2.0f;
      trace.values(" LOOP DONE:ICOUNT,TOPT1,TOPT2,FUNC,TOPTAN", {double(widenings + 1), topt1, topt2, value, root});
      continue;
    }
    topt2 = root;
    topt1 = 0.25f * root;
    trace.values(" LOOP DONE:ICOUNT,TOPT1,TOPT2,FUNC,TOPTAN", {double(widenings), topt1, topt2, value, root});
    return;
  }
}

float wlerr(Session& s, Lincom& lc, const LineType& lt, Bracket& b, float x) {
  const int e = lc.ielem;
  lc.sclwt[ix(e)] = x;
  iter8(s, lc, lt, b.topt1, b.topt2);
  const double above = e > 1 ? zdist(lc.sclwt, lc.secarr, lc.scaled_coef, e - 1, lt.length, lc.tmptan) : 0.0;
  const double w = lc.sclwt[ix(e)];
  double dz = 0.0;
  if (w != 0.0) {
    dz = (zfcn(lc.secarr[ix(e)], e, lc.scaled_coef) - zfcn(lc.secarr[ix(e + 1)], e, lc.scaled_coef)) / w;
  } else {
    dz = lt.length[ix(e)] * strech(lc.tmptan[ix(e)], lc.scaled_coef, e) * lc.tmptan[ix(e)] / lc.secarr[ix(e)];
  }
  return static_cast<float>(above + 0.5 * dz - lc.buoy_target);
}

float wlerr2(Session& s, Lincom& lc, const LineType& lt, Bracket& b, float x) { return wlerr(s, lc, lt, b, x); }

void iter8p(Session& s, Lincom& lc, const LineType& lt, float& topt1, float& topt2) {
  bool dry_weight = false;
  for (;;) {
    Bracket bracket{topt1, topt2};
    int e = 0;
    if (s.tpcm.i(kBuoyantAtWaterline) != 0 && !dry_weight) {
      for (int i = 1; i <= lt.nelem && e == 0; ++i) {
        if (lc.sclwt[ix(i)] < 0.0) e = i;
      }
    }
    if (e == 0) {
      iter8(s, lc, lt, topt1, topt2);
      return;
    }
    lc.ielem = e;
    const auto error = [&](float x) { return wlerr(s, lc, lt, bracket, x); };
    const auto x0 = static_cast<float>(lc.sclwt[ix(e)]);
    if (error(x0) >= 0.0f) return;
    const auto x1 = static_cast<float>(lt.dry_weight[ix(e)] / lc.dphld);
    float x = 0.0f;
    float value = 0.0f;
    int ier = kRootFound;
    rtmi2(x, value, error, x0, x1, 1e-5f, 0.001f, 100, ier);
    if (ier == kRootNoConvergence) {
      const int out = s.tpcm.i(kOutputUnit);
      fwrite(s, out,
             "(/' ++> Iteration overflow in RTMI2 (WLERR) at Htens = ',F8.2,'; '/'     Check data file and retry'//"
             "' Press <Return> to Continue...'/)",
             {static_cast<float>(lc.dphld)});
      wait_and_stop(s, out);
    }
    if (ier != kRootNoSignChange) return;
    lc.sclwt[ix(e)] = x1;
    dry_weight = true;
  }
}

}  // namespace kelp
