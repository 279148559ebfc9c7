#pragma once
// Cubic splines of one and two variables, and the fit of the cubic strain
// law to a tabulated stress-strain curve.
//
// Tables of two variables have a leading dimension of 90: entry (i, j) of a
// lies at a[(i - 1) + 90 (j - 1)].
#include <array>
#include <span>

namespace kelp {

class Session;

// Status of the spline routines.
inline constexpr int kSplineOk = 0;
inline constexpr int kSplineBadAbscissae = 1;  // equal neighbouring abscissae
inline constexpr int kSplineBadCount = 2;      // a point count outside the supported range

inline constexpr int kSplineMaxPoints = 500;
inline constexpr int kSpline2MaxPoints = 90;  // the leading dimension
// End slopes above this give a natural end (zero second derivative).
inline constexpr float kNaturalEnd = 1.0e30f;

// Second derivatives y2 of the cubic spline through (x, y), n = 2..500 points
// with distinct abscissae, clamped to the end slopes yp1, ypn when they are at
// most 0.99e30 and natural otherwise. y2 is left unchanged on a bad status.
int spline(std::span<const float> x, std::span<const float> y, int n, float yp1, float ypn, std::span<float> y2);

// The spline's value at x (splint, strain_val) and its slope (strain_slope),
// from an ascending table; a point outside the table is evaluated with the
// cubic of the end interval. Equal abscissae around x give
// kSplineBadAbscissae and leave the result unchanged.
int splint(std::span<const float> xa, std::span<const float> ya, std::span<const float> y2a, int n, float x, float& y);
int strain_val(std::span<const float> xa, std::span<const float> ya, std::span<const float> y2a, int n, float x,
               float& v);
int strain_slope(std::span<const float> xa, std::span<const float> ya, std::span<const float> y2a, int n, float x,
                 float& v);

// Coefficients of alpha1 T + alpha2 T^2 + alpha3 T^3 through the origin with
// the curve's slope there, meeting the curve's value and slope at T (only the
// linear term at T <= 0).
int get_alphas(float T, std::span<const float> xa, std::span<const float> ya, std::span<const float> y2a, int n,
               std::array<float, 3>& alpha);

// Second derivatives along the second variable of every row i = 1..m of the
// table ya (m up to 90, n = 2..90), natural ends.
int splie2(std::span<const float> x1a, std::span<const float> x2a, std::span<const float> ya, int m, int n,
           std::span<float> y2a);

// The two-variable spline's value at (x1, x2), m = 2..90 and n = 2..90.
int splin2(std::span<const float> x1a, std::span<const float> x2a, std::span<const float> ya,
           std::span<const float> y2a, int m, int n, float x1, float x2, float& y);

// The pause of the spline evaluations on equal abscissae: "bad xa input in
// splint" on the error unit, one reply, and the end of the program (going on
// would divide by zero).
[[noreturn]] void splint_pause(Session& s);

}  // namespace kelp
