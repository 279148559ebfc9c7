#pragma once
// What the disc-buoy kernel asks of a moored buoy's mooring. The
// natural-period iteration linearises the whole mooring for one small
// harmonic motion at a time and builds from it the nonlinear
// surge-correction table, which it keeps in the line work area for the
// response operators. An unmoored buoy needs none of this.
#include <array>
#include <complex>

namespace kelp {

class Session;

// Motion components, in the mooring's order.
enum MotionComponent : int { kMotionSurge, kMotionSway, kMotionHeave, kMotionRoll, kMotionPitch, kMotionYaw };
inline constexpr int kMotionComponents = 6;
using MotionAmplitudes = std::array<float, kMotionComponents>;  // lengths, then radians

// The mooring linearised for one harmonic motion: per component, the
// equivalent spring (in-phase part over amplitude) and damping (quadrature
// part over frequency times amplitude), and the complex total force or
// moment. A component of amplitude 0 contributes nothing.
struct MooringLinearisation {
  std::array<float, kMotionComponents> spring{};
  std::array<float, kMotionComponents> damping{};
  std::array<std::complex<float>, kMotionComponents> force{};
};

class DiscMooring {
 public:
  virtual ~DiscMooring() = default;
  // The static state of every line at the buoy's mean position (lindrv over
  // the ranges of the line work area; for program kind 13 with the 913
  // words from word 1987 of the record exchanged with those from word 753
  // around it), once before the first pass. false abandons the run (the
  // line routines said why).
  virtual bool prepare(Session& s) = 0;
  // The whole mooring for a harmonic motion of these amplitudes at omega
  // (dynspr: one evaluation of the dynamic line model per line).
  virtual MooringLinearisation linearise(Session& s, const MotionAmplitudes& amplitude, float omega) = 0;
};

}  // namespace kelp
