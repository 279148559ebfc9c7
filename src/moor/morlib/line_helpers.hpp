#pragma once
// Double-precision helpers of the cubic compliance law of a line element, and
// a bracketing root finder in double precision.
//
// Compliance law: a piece of line of unstretched length L under tension T is
// stretched to L (1 + a1 |T| + a2 T^2 + a3 |T|^3). The helpers use the
// absolute value of the tension throughout, so a negative (compressive)
// tension stretches like the positive one.
//
// The taut-tendon solver and the vertical-line solver of the line library
// are built on these four routines.
#include <array>
#include <functional>
#include <span>

namespace kelp {

// The three compliance coefficients a1, a2, a3 of one element.
using Compliance = std::array<double, 3>;

// Stretch factor 1 + a1 |t| + a2 t^2 + a3 |t|^3.
double sfcdp2(const Compliance& a, double t);

// |t| (1 + a1 |t| / 2 + a2 t^2 / 3 + a3 |t|^3 / 4) / w: the integral of the
// stretch factor from tension 0 to |t|, divided by w. That is the stretched
// length of a vertical piece of line of weight w per unit length that carries
// tension 0 at its lower end and |t| at its upper end. w must not be 0.
double sfncdp(const Compliance& a, double t, double w);

// t0 + sum over i = i2 down to i1 of L(i) w(i), positions from 1: the tension
// at the top of element i1 when t0 acts at the bottom of element i2. Nothing
// is added when i2 < i1; positions beyond the spans are not read.
double dtkltn(std::span<const double> L, std::span<const double> w, int i1, int i2, double t0);

using DoubleFunction1 = std::function<double(double)>;

// Root of fct between xl and xr by bisection combined with inverse parabolic
// interpolation, all in double precision.
//   x, f   out: the root (or the better end of the last bracket) and fct(x)
//   eps    tolerance on the argument, relative once |x| exceeds 1; function
//          values are accepted within 100 eps
//   iend   most bisection steps per pass, and most interpolation passes
//   ier    out: kRootFound, kRootNoConvergence or kRootNoSignChange
//          (kelpkit/root_finders.hpp)
//   iter   out: passes of the outer iteration; left unchanged when the
//          search ends at one of the two first evaluations
// fct is evaluated first at xl, then at xr; a value of exactly 0 ends the
// search at once with that point, and two end values of the same sign end it
// after those two evaluations with x = xr, f = fct(xr).
void rtmidp(double& x, double& f, const DoubleFunction1& fct, double xl, double xr, double eps, int iend, int& ier,
            int& iter);

}  // namespace kelp
