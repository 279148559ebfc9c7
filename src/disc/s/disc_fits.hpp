#pragma once
// Added mass and radiation damping of a floating disc as closed-form fits of
// the non-dimensional frequency x = k a (a the equivalent radius, k the wave
// number; the natural-period iteration uses the deep-water x = omega^2 a / g).
// Multiplied by a^3 (heave, surge) or a^5 (pitch, roll) they give the
// coefficients divided by the water density. Single precision throughout.

namespace kelp {

float smasd(float x);  // surge added mass: 0.15 whatever x
float sdmpd(float x);  // surge damping
float pmasd(float x);  // pitch added mass
float pdmpd(float x);  // pitch damping
float rmasd(float x);  // roll added mass (the pitch fit)
float rdmpd(float x);  // roll damping (the pitch fit)
float hmasd(float x);  // heave added mass
float hdmpd(float x);  // heave damping

}  // namespace kelp
