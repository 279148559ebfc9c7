#pragma once
// Wave exciting forces and moments on the disc, from Bessel functions of the
// non-dimensional wave number and depth-attenuation factors, for all six
// modes. At the mode frequencies (selector kForcesAtModes) it also estimates
// the quasi-linear dampings of roll, pitch, heave, surge and sway and, for a
// moored buoy, each mode's complex response at its own natural frequency; at
// every wave frequency (kForcesAtGrid) it leaves the forces in the
// per-frequency arrays for the response operators.
#include <complex>

namespace kelp {

class Session;

inline constexpr int kForcesAtModes = 0;
inline constexpr int kForcesAtGrid = 1;

void dskfrc(Session& s, int selector);

// The term P_d of the pitch and roll forces:
//   (we/wp)^2 (Mp/I) E (J2(x')/J2(x)) (x/x')^2,  E = 8 Ch J2(x)/x^2,
// given ratio2 = (we/wp)^2 and inertia_ratio = Mp/I. Where J2(x) vanishes
// (E with it) the factors are taken cancelled, (we/wp)^2 (Mp/I) 8 Ch
// J2(x')/x'^2, and at x' = 0 J2(x')/x'^2 takes its limit 1/8.
float pitch_pd(float ratio2, float inertia_ratio, float e, float ch, float x, float j2x, float xp, float j2xp);

// a / b for complex numbers by scaling with the larger part of b.
std::complex<float> scaled_divide(std::complex<float> a, std::complex<float> b);

}  // namespace kelp
