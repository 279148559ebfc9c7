#pragma once
// Numerical integration (trapezoidal rule with Romberg extrapolation), the
// Gamma function, the Bessel function of the first kind, and the cosine and
// sine of an angle given by its tangent.
#include <functional>
#include <span>

namespace kelp {

using RealFunction = std::function<float(float)>;

// Status codes of qatr.
inline constexpr int kQatrOk = 0;
inline constexpr int kQatrRoundoff = 1;        // the differences stopped shrinking
inline constexpr int kQatrNoConvergence = 2;   // the table ran out (or ndim < 2)

// The most step halvings qatr makes, whatever ndim: the point count doubles
// with each one and would overflow past this.
inline constexpr int kQatrMaxHalvings = 30;

// y := the integral of fct from xl to xu, to the absolute tolerance eps, with
// at most ndim - 1 (and at most kQatrMaxHalvings) halvings of the step.
// aux receives the Romberg table (as many entries as fit). ier: kQatrOk,
// kQatrRoundoff (y is then the estimate before the last) or kQatrNoConvergence.
void qatr(float xl, float xu, float eps, int ndim, const RealFunction& fct, float& y, int& ier,
          std::span<float> aux = {});

// Status codes of gamma.
inline constexpr int kGammaOk = 0;
inline constexpr int kGammaPole = 1;      // x at (or within 1e-6 of) 0 or a negative integer; gx = 1
inline constexpr int kGammaOverflow = 2;  // x above 34.5; gx = 1e38

// gx := Gamma(x), from a polynomial fit on [1, 2] and the recurrence.
void gamma(float x, float& gx, int& ier);

// Status codes of besj.
inline constexpr int kBesjOk = 0;
inline constexpr int kBesjNegativeOrder = 1;
inline constexpr int kBesjArgument = 2;     // x <= 0 (or not a number)
inline constexpr int kBesjNoConvergence = 3;
inline constexpr int kBesjOrderTooLarge = 4;

// bj := J_n(x) to the relative accuracy d, by backward recurrence in double
// precision. bj is 0 unless ier is kBesjOk or kBesjNoConvergence.
void besj(float x, int n, float& bj, float d, int& ier);

// 1 / sqrt(1 + t^2) and t / sqrt(1 + t^2): cosine and sine of atan(t).
float cospht(float t);
float sinpht(float t);

}  // namespace kelp
