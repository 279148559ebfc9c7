#include "kelpkit/root_finders.hpp"

#include <cmath>
#include <utility>

namespace kelp {
namespace {

// +1 at or above zero, -1 below (a NaN counts as below).
float sign_of(float v) { return v >= 0.0f ? 1.0f : -1.0f; }

// Tolerance on the argument at point p: eps, relative once |p| exceeds 1.
float arg_tolerance(float eps, float p) {
  const float a = std::fabs(p);
  return a > 1.0f ? eps * a : eps;
}

// The one search behind all four entries. Eval turns the callable's result
// into the single-precision value that the iteration works with.
template <class Fn>
void mueller(float& x, float& f, const Fn& fct, float xli, float xri, float eps, float epsf, int iend, int& ier) {
  const auto eval = [&fct](float at) { return static_cast<float>(fct(at)); };
  const bool test_f = epsf > 0.0f;

  ier = kRootFound;
  x = xli;
  f = eval(x);
  if (f == 0.0f) return;
  float xl = xli;
  float fl = f;

  x = xri;
  f = eval(x);
  if (f == 0.0f) return;
  float xr = xri;
  float fr = f;

  if (sign_of(fl) + sign_of(fr) != 0.0f) {
    ier = kRootNoSignChange;
    return;
  }

  int i = 0;
  for (;;) {
    ++i;
    bool interpolate = false;
    float t = 0.0f;
    bool converged = false;
    for (int k = 1; k <= iend; ++k) {
      x = 0.5f * (xl + xr);
      f = eval(x);
      if (f == 0.0f) return;
      if (sign_of(f) + sign_of(fr) == 0.0f) {
        std::swap(xl, xr);
        std::swap(fl, fr);
      }
      t = f - fl;
      float a = f * t;
      a = a + a;
      if (a < fr * (fr - fl) && i <= iend) {
        interpolate = true;
        break;
      }
      xr = x;
      fr = f;
      const float tol = arg_tolerance(eps, xr);
      if (std::fabs(xr - xl) <= tol && (!test_f || std::fabs(fr - fl) <= epsf)) {
        converged = true;
        break;
      }
    }

    if (!interpolate) {
      if (!converged) ier = kRootNoConvergence;
      if (std::fabs(fr) > std::fabs(fl)) {
        x = xl;
        f = fl;
      }
      return;
    }

    // Inverse parabolic interpolation through the three latest points.
    const float a = fr - f;
    const float dx = (x - xl) * fl * (1.0f + f * (a - t) / (a * (fr - fl))) / t;
    const float xm = x;
    const float fm = f;
    x = xl - dx;
    f = eval(x);
    if (f == 0.0f) return;
    const float tol = arg_tolerance(eps, x);
    if (std::fabs(dx) <= tol && (!test_f || std::fabs(f) <= epsf)) return;
    if (sign_of(f) + sign_of(fl) == 0.0f) {
      xr = x;
      fr = f;
    } else {
      xl = x;
      xr = xm;
      fl = f;
      fr = fm;
    }
  }
}

}  // namespace

void rtmi1(float& x, float& f, const RealFunction& fct, float xli, float xri, float eps, float epsf, int iend,
           int& ier) {
  mueller(x, f, fct, xli, xri, eps, epsf, iend, ier);
}

void rtmi2(float& x, float& f, const RealFunction& fct, float xli, float xri, float eps, float epsf, int iend,
           int& ier) {
  mueller(x, f, fct, xli, xri, eps, epsf, iend, ier);
}

void rtmi1d(float& x, float& f, const DoubleFunction& fct, float xli, float xri, float eps, float epsf, int iend,
            int& ier) {
  mueller(x, f, fct, xli, xri, eps, epsf, iend, ier);
}

void rtmi2d(float& x, float& f, const DoubleFunction& fct, float xli, float xri, float eps, float epsf, int iend,
            int& ier) {
  mueller(x, f, fct, xli, xri, eps, epsf, iend, ier);
}

}  // namespace kelp
