#pragma once
// Axial wave transfer along a mooring line: the elastic part of the line's
// axial response at one frequency turned into tension amplitudes at its two
// ends. The elements form a chain of uniform elastic bars held still at the
// end where the chain starts and moved at the other end by the elastic
// response. Without any axial wave the tension at both ends is the dynamic
// force of the catenary spring.
#include <complex>
#include <span>

#include "moor/catlib/line_type.hpp"

namespace kelp {

struct AxialWaveInput {
  float omega = 0.0f;            // circular frequency, rad/s
  std::complex<float> yc{};      // catenary response at the moving end (catstr)
  std::complex<float> ye{};      // elastic response at the moving end (catstr), length
  float mass = 0.0f;             // catenary mass
  float cq = 0.0f;               // linear drag coefficient (catstr)
  float gain = 0.0f;             // the gain y catstr returned for the same motion
  float sigma = 0.0f;            // stiffness slope of the oblique model, 0 in the plain one
  float t0 = 0.0f;               // tension at which the strain slopes are taken
  int direction = 1;             // 1: the chain runs from the bottom element to the fairlead,
                                 // which moves; otherwise from element 1 down, the bottom moving
  std::span<const float> wave_numbers;  // axial wave number per element (kelast)
  float k_catenary = 0.0f;       // catenary stiffness, used without any wave
  bool node_output = false;      // fill the node tensions
};

struct AxialWaveOutput {
  std::complex<float> t_far{};    // tension at the moving end
  std::complex<float> t_start{};  // tension at the held end
  // Tension per node (node 1 at the fairlead), nelem + 1 entries; written
  // only with node output on. Nodes between the held end and the first
  // element that carries a wave keep what they held.
  std::span<std::complex<float>> nodes;
};

// Tensions at the ends (and nodes) of the line type lt. An element with
// wave number 0 carries displacement and tension across unchanged. At an
// exact axial resonance (the moving end does not move for a unit wave) the
// divisor is taken as 1e-20, so the tensions are large and finite.
void lngwav(const LineType& lt, const AxialWaveInput& in, AxialWaveOutput& out);

}  // namespace kelp
