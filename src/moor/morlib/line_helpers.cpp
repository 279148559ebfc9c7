#include "moor/morlib/line_helpers.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "kelpkit/root_finders.hpp"

namespace kelp {

double sfcdp2(const Compliance& a, double t) {
  const double at = std::fabs(t);
  return 1.0 + a[0] * at + a[1] * t * t + a[2] * at * at * at;
}

double sfncdp(const Compliance& a, double t, double w) {
  const double at = std::fabs(t);
  return at * (1.0 + a[0] * at / 2.0 + a[1] * t * t / 3.0 + a[2] * at * at * at / 4.0) / w;
}

double dtkltn(std::span<const double> L, std::span<const double> w, int i1, int i2, double t0) {
  const int last = std::min(i2, static_cast<int>(std::min(L.size(), w.size())));
  double t = t0;
  for (int i = last; i >= std::max(i1, 1); --i) t += L[static_cast<std::size_t>(i - 1)] * w[static_cast<std::size_t>(i - 1)];
  return t;
}

namespace {

// +1 at or above zero, -1 below.
double sign_of(double v) { return v >= 0.0 ? 1.0 : -1.0; }

// eps, relative to |p| once |p| exceeds 1.
double arg_tolerance(double eps, double p) {
  const double a = std::fabs(p);
  return a > 1.0 ? eps * a : eps;
}

}  // namespace

void rtmidp(double& x, double& f, const DoubleFunction1& fct, double xl, double xr, double eps, int iend, int& ier,
            int& iter) {
  ier = kRootFound;
  x = xl;
  f = fct(x);
  if (f == 0.0) return;
  double fl = f;
  x = xr;
  f = fct(x);
  if (f == 0.0) return;
  double fr = f;
  if (sign_of(fl) + sign_of(fr) != 0.0) {
    ier = kRootNoSignChange;
    return;
  }

  const double tolf = 100.0 * eps;
  int i = 0;
  iter = 0;
  for (;;) {
    ++i;
    iter = i;
    bool interpolate = false;
    bool converged = false;
    double tol = 0.0;
    for (int k = 1; k <= iend; ++k) {
      x = 0.5 * (xl + xr);
      f = fct(x);
      if (f == 0.0) return;
      if (sign_of(f) + sign_of(fr) == 0.0) {
        std::swap(xl, xr);
        std::swap(fl, fr);
      }
      tol = f - fl;
      const double a = 2.0 * f * tol;
      if (a < fr * (fr - fl) && i <= iend) {
        interpolate = true;
        break;
      }
      xr = x;
      fr = f;
      if (std::fabs(xr - xl) <= arg_tolerance(eps, xr) && std::fabs(fr - fl) <= tolf) {
        converged = true;
        break;
      }
    }
    if (!interpolate) {
      if (!converged) ier = kRootNoConvergence;
      if (std::fabs(fr) <= std::fabs(fl)) {
        x = xr;
        f = fr;
      } else {
        x = xl;
        f = fl;
      }
      return;
    }

    // Inverse parabolic interpolation through (xl, fl), (x, f), (xr, fr).
    const double a = fr - f;
    const double dx = (x - xl) * fl * (1.0 + f * (a - tol) / (a * (fr - fl))) / tol;
    const double xm = x;
    const double fm = f;
    x = xl - dx;
    f = fct(x);
    if (f == 0.0) return;
    if (std::fabs(dx) <= arg_tolerance(eps, x) && std::fabs(f) <= tolf) return;
    if (sign_of(f) + sign_of(fl) == 0.0) {
      xr = x;
      fr = f;
    } else {
      xl = x;
      fl = f;
      xr = xm;
      fr = fm;
    }
  }
}

}  // namespace kelp
