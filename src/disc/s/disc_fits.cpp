#include "disc/s/disc_fits.hpp"

#include <cmath>

namespace kelp {

// The kernel takes the surge coefficient as the constant wherever it needs
// it; the fit is kept with its fellows.
float smasd(float /*x*/) { return 0.15f; }

float sdmpd(float x) { return 0.181f * (x * x) * std::exp(-0.8f * x); }

float pmasd(float x) { return (0.641f * (x * x) + 0.089f) * std::exp(-1.825f * x) + 0.11f; }

float pdmpd(float x) { return 0.151f * (x * x) * std::exp(-0.952f * x); }

// An axisymmetric disc rolls as it pitches.
float rmasd(float x) { return pmasd(x); }

float rdmpd(float x) { return pdmpd(x); }

float hmasd(float x) { return 1.7f * std::exp(-1.224f * x) + 1.0f; }

float hdmpd(float x) { return 4.92f * x / std::pow(1.0f + x, 2.429f); }

}  // namespace kelp
