#pragma once
// The disc buoy's mooring made of the mooring lines of the line library: the
// static state of every line at the buoy's mean position, and the mooring
// linearised for one small harmonic motion of the buoy (dynspr).
//
// dynspr moves every line's fairlead with the motion, asks the dynamic line
// model for the complex tension that the motion along the line causes, adds
// the change of the line's direction under its mean tension, and sums over
// the lines, per motion component of non-zero amplitude, the equivalent
// spring (in-phase part over amplitude), damping (quadrature part over
// frequency times amplitude) and complex force or moment about the buoy's
// reference point.
#include <span>

#include "disc/s/disc_mooring.hpp"

namespace kelp {

class Session;

// The whole mooring for a harmonic motion of these amplitudes (surge, sway,
// heave as lengths; roll, pitch, yaw in radians) at omega; distance[line - 1]
// is each line's horizontal fairlead distance. It works on the static line
// state that LineMooring::prepare left in the line work areas, keeps nothing
// and allocates nothing. Lines with a request code above 1024 are left out;
// so is a line without a positive horizontal tension at its distance or
// without a static state, with one message for the whole run.
void dynspr(Session& s, const MotionAmplitudes& amplitude, float omega, std::span<const float> distance,
            MooringLinearisation& r);

class LineMooring final : public DiscMooring {
 public:
  bool prepare(Session& s) override;
  MooringLinearisation linearise(Session& s, const MotionAmplitudes& amplitude, float omega) override;
};

}  // namespace kelp
