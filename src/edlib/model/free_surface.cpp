#include "edlib/model/free_surface.hpp"

#include <array>
#include <cmath>
#include <complex>
#include <string>

#include "kelpkit/report_lines.hpp"
#include "kelpkit/root_finders.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

float c1fun(float x, float s, float t0) {
  return (x - t0) / (2.0f * x / (1.0f + s) - (2.0f - s) * t0 / (1.0f - s));
}

float wide(float c, float s) { return 2.0f * (c * (2.0f + s) / (1.0f + s) + 1.0f); }

float thick(float c, float s) { return 2.0f * (1.0f - (2.0f - s) * c / (1.0f - s)); }

float bafun(float x, const Tempcm& par) {
  const float s = x * x;
  const float c = c1fun(x, s, par.t0);
  return par.t1 * wide(c, s) - thick(c, s);
}

void dumsum(float& sum, float q, int n, float tol, int nmax, int& ierr, float& term, float sgn) {
  sum = 0.0f;
  term = 0.0f;
  ierr = 1;
  if (!(std::fabs(q) < 1.0f)) return;  // the terms would not shrink
  float qi = 1.0f;
  for (int i = 1; i <= nmax; ++i) {
    qi = qi * q;
    float qin = 1.0f;
    for (int k = 0; k < n; ++k) qin = qin * qi;
    const float sigma = std::copysign(std::fabs(qi), sgn);
    term = static_cast<float>(i) * qin * (1.0f + sigma) / (1.0f - sigma);
    sum = sum + term;
    if (std::fabs(term) <= tol) {
      ierr = 0;
      return;
    }
  }
}

SurfaceFit surface_fit(Tempcm& par) {
  SurfaceFit fit;
  if (!std::isfinite(par.t0) || !std::isfinite(par.t1) || par.t1 <= 0.0f) {
    fit.finite = false;
    return fit;
  }
  fit.limit = (2.0f / par.t1 + 12.0f) / 7.0f;
  if (fit.limit >= par.t0) {
    par.t0 = fit.limit + 0.00001f;
    fit.raised = true;
  }
  const float upper = 10.0f * par.t0;
  if (!std::isfinite(upper)) {
    fit.finite = false;
    return fit;
  }
  const Tempcm p = par;
  float x = 0.0f;
  float fx = 0.0f;
  rtmi1(x, fx, [&p](float v) { return bafun(v, p); }, 2.0f, upper, 0.00001f, 0.001f, 100, fit.root_status);
  fit.x = x;
  if (fit.root_status != kRootFound) return fit;

  const float s = x * x;
  const float c = c1fun(x, s, p.t0);
  // The map is valid when both roots lie within the unit circle.
  const float m = c - 0.25f * s;
  const std::complex<float> r = std::sqrt(std::complex<float>(c * (c - s), 0.0f));
  for (std::complex<float> zeta : {std::sqrt(m + r), std::sqrt(m - r)}) {
    if (zeta.imag() < 0.0f) zeta = -zeta;
    zeta = zeta - std::complex<float>(0.0f, 0.5f * x);
    if (std::abs(zeta) > 1.0f) fit.map_failed = true;
  }

  const float hh = std::sqrt(std::fmax(s - 4.0f, 0.0f));
  const float q = (x - hh) / (x + hh);
  const float h = hh / 2.0f;
  const float l = c * (1.0f - q) / (h - x / 2.0f);
  const float big_m = 2.0f * h - l;
  const float ih = x / 2.0f + h;
  const float j = 1.0f / q - 1.0f;
  const std::array<float, 3> alpha = {big_m * big_m, 2.0f * c * j * big_m / ih, (c * j / ih) * (c * j / ih)};
  float total = 0.0f;
  for (int n = 1; n <= 3; ++n) {
    float sum = 0.0f;
    float term = 0.0f;
    int ierr = 0;
    dumsum(sum, q, n, 0.000001f, 100000, ierr, term, 1.0f);  // a series cut at the limit is used as summed
    total = total + sum * alpha[static_cast<std::size_t>(n - 1)];
  }
  const float half_width = 0.5f * wide(c, s);
  const float f = total / (half_width * half_width);
  if (!std::isfinite(f)) {
    fit.finite = false;
    return fit;
  }
  fit.f = f;
  return fit;
}

void program_pause(Session& s) {
  s.write_line(kErrorUnit, "PAUSE ");
  for (;;) {
    s.write_line(kErrorUnit, "To resume execution, type go.  Other input will terminate the job.");
    s.unit(kErrorUnit).flush();
    std::string reply = s.read_line(kKeyboard);
    reply.resize(std::min<std::size_t>(reply.size(), 3));
    const std::string word = trimmed(reply);
    if (word.empty() || word == "go") {
      s.write_line(kErrorUnit, "RESUMED");
      return;
    }
  }
}

int srfcor(Session& s, float& f, int imem, int out, int& ierr, Tempcm& par) {
  return surface_dialogue(s, surface_fit(par), f, imem, out, ierr);
}

int surface_dialogue(Session& s, const SurfaceFit& fit, float& f, int imem, int out, int& ierr) {
  const bool silent = is_silent(out);
  if (fit.raised) {
    fwrite(s, out,
           "(/' ++> Warning: Member ',I2,' center draft parameter too ','small;'/"
           "'              limiting value for this aspect ratio is ',F8.4,'.'/"
           "'              Added mass will default to its limiting value.'//"
           "'     Press <RETURN> to continue')",
           {imem, fit.limit});
    ierr = silent ? 1 : 0;
    if (!silent) program_pause(s);
  }
  if (fit.finite && fit.root_status != kRootFound) {
    if (fit.root_status == kRootNoSignChange) {
      fwrite(s, out,
             "(/' ++> SRFCOR:RTMI1 - Root not found within initial bounds; ','contact Brenvik.'//"
             "'     Press <RETURN> to Continue')");
    } else {
      fwrite(s, out,
             "(/' ++> Iteration overflow in SRFCOR:RTMI1 at; ',I3,' iterations, contact Brenvik.'//"
             "'     Press <RETURN> to continue')",
             {100});
    }
    if (!silent) program_pause(s);
    ierr = 1;
    return kSurfaceDeepWater;
  }
  if (fit.map_failed) {
    fwrite(s, out, "(/' ++> Warning: conformal map failure in surface added-mass ','correction algorithm;')");
    int reply = 0;
    abort0(s, out, kKeyboard, reply);
    ierr = 0;
    if (reply == -1) return kSurfaceAbandoned;
  }
  if (!fit.finite) {
    fwrite(s, out,
           "(/' ++> Warning: Member ',I2,' surface correction failed; deep-water'/"
           "'     coefficients are used.')",
           {imem});
    ierr = 1;
    return kSurfaceDeepWater;
  }
  f = fit.f;
  return kSurfaceApplied;
}

}  // namespace kelp
