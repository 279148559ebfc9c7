#include "moor/catlib/catenary_motion.hpp"

#include <algorithm>
#include <cmath>

#include "edlib/record/data_record.hpp"
#include "kelpkit/integration.hpp"
#include "kelpkit/report_lines.hpp"
#include "moor/catlib/catenary.hpp"
#include "moor/s/line_trace.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"

namespace kelp {
namespace {

std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }

// |z| as sqrt(re^2 + im^2) in single precision.
float modulus(std::complex<float> z) { return std::sqrt(z.real() * z.real() + z.imag() * z.imag()); }

// (r1 u + r2 v) / D + w: the products and their sum in single precision,
// the quotient and the last sum in double, the result rounded back.
std::complex<float> across(float r1, std::complex<float> u, float r2, std::complex<float> v, double D,
                           std::complex<float> w) {
  const std::complex<float> num = r1 * u + r2 * v;
  return std::complex<float>(std::complex<double>(num) / D + std::complex<double>(w));
}

}  // namespace

Separation pntsep(const LineTrace& trace, double qp, double qpb, double qpf, double tx, const ElementState& e) {
  const double rtmp = secfcn(qp);
  const double rtmpb = secfcn(qpb);
  Separation r;
  r.dx = (xfcn(rtmp, qp, e.ielem, e.coef) - xfcn(rtmpb, qpb, e.ielem, e.coef)) / e.sclwt;
  r.dz = (zfcn(rtmp, e.ielem, e.coef) - zfcn(rtmpb, e.ielem, e.coef)) / e.sclwt;
  if (trace.on()) {
    fwrite(trace.session(), trace.out(), "(1X,A/6E13.4)",
           {std::string("IN CATCOF; RTMP,RTMPB,DQP,DQPF,DQPB,TX"), rtmp, rtmpb, qp, qpf, qpb, tx});
    trace.values("BEFORE BOTTOM CORRECTION: BOTFLG,DXSEP,DZSEP", {double(e.botflg), r.dx, r.dz});
  }
  if (e.botflg != 0) {
    // The suspended part of the element is (qpf - slope) / w'; the bottom
    // slope is taken off once more through qpb, which the callers set to the
    // slope itself. Both hold for the flat bottom (slope 0) every caller has.
    const double stretch = strech(e.bottom_tangent, e.coef, e.ielem);
    const double g = (e.length - (qpf - qpb - e.bottom_tangent) / e.sclwt) * stretch;
    r.dx += g * dcsphi(e.bottom_tangent);
    r.dz += g * dsnphi(e.bottom_tangent);
    trace.values("IELEM,DXSEP,DZSEP,SCLWTP,BOTLN,STRECH(DSLOPE,BETA,IELEM)",
                 {double(e.ielem), r.dx, r.dz, e.sclwt, e.length, stretch});
  }
  return r;
}

PointMotion catmot(Session& s, const Lincom& lc, const Catcom& cc, const LineType& lt, float qp, double dqb,
                   double dqf, int ielem, int botflg) {
  const LineTrace trace(s);
  trace.values("IN CATMOT", {});
  PointMotion m;
  m.cos_phi = cospht(qp);
  m.sin_phi = sinpht(qp);
  const double d = std::max(std::fabs(lc.dhfrac * qp), 0.001);
  const auto e = ix(ielem);
  const double w = lt.weight[e];
  const double H = lc.dphld;
  const double H2 = lc.dphld2;
  const double tx = H / w;
  const ElementState mean{lc.scaled_coef, lc.sclwt[e], lt.length[e], lc.bottom_tangent, ielem, botflg};
  trace.values("IN CATMOT; BEFORE PNTSEP", {});

  // The point itself; every tangent shifted by d; H/w raised to the tension
  // step with the arc length from the upper node held.
  const Separation p0 = pntsep(trace, qp, dqb, dqf, tx, mean);
  const Separation p1 = pntsep(trace, qp + d, botflg != 0 ? dqb : dqb + d, dqf + d, tx, mean);
  m.dxdp = (p1.dx - p0.dx) / d;
  m.dzdp = (p1.dz - p0.dz) / d;
  const double dT = (H2 - H) / w;
  const double ratio = (H / w) / (H2 / w);
  const double q = ratio * (qp - dqf) + dqf;
  const double b = botflg != 0 ? dqb : ratio * (dqb - dqf) + dqf;
  const ElementState pert{lc.scaled_coef_pert, lc.sclwt_pert[e], lt.length[e], lc.bottom_tangent, ielem, botflg};
  const Separation p2 = pntsep(trace, q, b, dqf, H2 / w, pert);
  m.dxdt = (p2.dx - p0.dx) / dT;
  m.dzdt = (p2.dz - p0.dz) / dT;

  // Motion of the point per motion of the upper node: the upper node's own
  // derivatives turn its motion into (shift, tension) changes.
  const auto dxdxf = static_cast<float>(cc.dzfdt * m.dxdp - cc.dzfdp * m.dxdt);
  const auto dzdxf = static_cast<float>(cc.dzfdt * m.dzdp - cc.dzfdp * m.dzdt);
  const auto dxdzf = static_cast<float>(cc.dxfdp * m.dxdt - cc.dxfdt * m.dxdp);
  const auto dzdzf = static_cast<float>(cc.dxfdp * m.dzdt - cc.dxfdt * m.dzdp);
  m.dadxf = dzdxf * m.cos_phi - dxdxf * m.sin_phi;
  m.dadzf = dzdzf * m.cos_phi - dxdzf * m.sin_phi;
  m.dldxf = dxdxf * m.cos_phi + dzdxf * m.sin_phi;
  m.dldzf = dxdzf * m.cos_phi + dzdzf * m.sin_phi;

  if (trace.on()) {
    trace.text(" >>IN CATMOT:");
    trace.values("DXFDP,DXFDT,DZFDP,DZFDT", {cc.dxfdp, cc.dxfdt, cc.dzfdp, cc.dzfdt});
    trace.values("DXDXF,DZDXF,DXDZF,DZDZF", {dxdxf, dzdxf, dxdzf, dzdzf});
    trace.values("DXDP,DXDT,DZDP,DZDT", {m.dxdp, m.dxdt, m.dzdp, m.dzdt});
    trace.values("DXDSI,DZDSI,QP,TX ", {m.cos_phi, m.sin_phi, qp, tx});
    trace.values("CATMOT END; DADXF,DADZF,DXDP,DZDP,DZDT,DXDSI,DZDSI,QP,DQB,DQF",
                 {m.dadxf, m.dadzf, m.dxdp, m.dzdp, m.dzdt, m.cos_phi, m.sin_phi, qp, dqb, dqf});
    inbug(s, s.tpcm.i(kTraceLevel), trace.out(), kKeyboard);
    for (int k = 0; k < 3; ++k) trace.text("TRY AGAIN, AND...");
  }
  return m;
}

void catdmp(Session& s, const Lincom& lc, Catcom& cc, const LineType& lt, const DampingInput& in, DampingOutput& r) {
  r = DampingOutput{};
  r.ctxacc = r.ctzacc = cc.base_value;
  const double tx = in.tx;
  if (in.ielem < 1 || in.ielem > kSublineCapacity) return;
  if (lc.touchdown_element != 0 && in.ielem >= lc.touchdown_element && in.dqtop <= lc.bottom_tangent) return;
  // A weightless element (H/w infinite) is straight: it has no catenary
  // points to move, and its damping and inertia are left out.
  if (!std::isfinite(tx) || tx == 0.0) return;
  const int nqp = std::max(3, in.nqp % 2 == 0 ? in.nqp + 1 : in.nqp);

  const auto h = static_cast<float>((in.dqtop - in.dqbot) / (nqp - 1));
  const PointMotion top = catmot(s, lc, cc, lt, static_cast<float>(in.dqtop), in.dqbot, in.dqtop, in.ielem, in.botflg);
  cc.dxfdp = top.dxdp;
  cc.dxfdt = top.dxdt;
  cc.dzfdp = top.dzdp;
  cc.dzfdt = top.dzdt;
  double D = cc.dxfdp * cc.dzfdt - cc.dxfdt * cc.dzfdp;
  if (D == 0.0) D = 1e-20;
  cc.span_determinant = D;

  std::complex<float> sx = cc.base_value;
  std::complex<float> sz = cc.base_value;
  double x1 = 0.0;
  auto q = static_cast<float>(in.dqbot - h);
  for (int j = 1; j <= nqp; ++j) {
    q += h;
    const PointMotion m = catmot(s, lc, cc, lt, q, in.dqbot, in.dqtop, in.ielem, in.botflg);
    const std::complex<float> a =
        across(m.dadxf, in.dx, m.dadzf, in.dz, D, m.cos_phi * in.dzb - m.sin_phi * in.dxb);
    const std::complex<float> l =
        across(m.dldxf, in.dx, m.dldzf, in.dz, D, m.cos_phi * in.dxb + m.sin_phi * in.dzb);
    const float am = modulus(a);
    const float lm = modulus(l);
    r.adamaxq = std::max(r.adamaxq, am);
    if (j == nqp) {
      r.adatopq = am;
      r.lontopq = lm;
    }
    float g = 0.0f;
    if (in.out_of_plane) {
      const double u = secfcn(q);
      const double x = xfcn(u, q, in.ielem, lc.scaled_coef);
      if (j == 1) x1 = x;
      const auto y = static_cast<float>(in.y0 + tx * (x - x1));
      g = static_cast<float>(y * y * tx * dxfcn(u, q, in.ielem, lc.scaled_coef) * u);
    }
    const float wj = (j == 1 || j == nqp) ? 1.0f : (j % 2 == 0 ? 4.0f : 2.0f);
    r.disipd += wj * am * am * am;
    r.keelmt += wj * am * am;
    r.keelml += wj * lm * lm;
    r.keoop += wj * g;
    sx += wj * sinpht(q) * a;
    sz += wj * cospht(q) * a;
  }
  r.disipd *= static_cast<float>(4.0 * tx * h / 9.0);
  r.keelmt = static_cast<float>(r.keelmt * (tx * h / 3.0));
  r.keelml = static_cast<float>(r.keelml * (tx * h / 3.0));
  r.keoop *= h / 3.0f;
  if (sx != cc.base_value) r.ctxacc = static_cast<float>(tx * h / 6.0) * (sx * sx - sz * sz) / sx;
  r.ctzacc = std::complex<float>(tx * h * std::complex<double>(sz) / 3.0);
  if (in.botflg == 0) r.ctxacc = cc.base_value;
}

}  // namespace kelp
