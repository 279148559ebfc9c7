#pragma once
// Root finders for one equation in one variable: Mueller's iteration, that is
// bisection steps combined with inverse parabolic interpolation, inside a
// bracket whose ends have function values of opposite sign.
//
// The function is any callable of one float. What the old code passed through
// small shared parameter records is now captured by the callable, so the
// finders keep no state and can be nested freely; `rtmi2` and `rtmi2d` remain
// as separately named entries for the searches that run inside a function
// evaluated by `rtmi1`.
#include <functional>

namespace kelp {

// Status codes of the root finders (argument ier).
inline constexpr int kRootFound = 0;
inline constexpr int kRootNoConvergence = 1;  // a bisection loop used up iend passes
inline constexpr int kRootNoSignChange = 2;   // the bracket ends have the same sign

using RealFunction = std::function<float(float)>;
using DoubleFunction = std::function<double(float)>;

// Finds a zero of fct between xli and xri (either order).
//   x, f  out: the root (or best point) and fct(x) there
//   eps   tolerance on the argument: relative when |x| > 1, absolute otherwise
//   epsf  absolute tolerance on function values; <= 0 switches that test off
//   iend  most bisection passes per loop and most interpolation steps
//   ier   out: kRootFound, kRootNoConvergence or kRootNoSignChange
// fct is always handed a copy of the current point.
void rtmi1(float& x, float& f, const RealFunction& fct, float xli, float xri, float eps, float epsf, int iend,
           int& ier);
// The same search, for use inside a function that rtmi1 evaluates.
void rtmi2(float& x, float& f, const RealFunction& fct, float xli, float xri, float eps, float epsf, int iend,
           int& ier);
// For a function returning double: the search itself stays in single
// precision, each function value being rounded to float when it is stored.
void rtmi1d(float& x, float& f, const DoubleFunction& fct, float xli, float xri, float eps, float epsf, int iend,
            int& ier);
void rtmi2d(float& x, float& f, const DoubleFunction& fct, float xli, float xri, float eps, float epsf, int iend,
            int& ier);

}  // namespace kelp
