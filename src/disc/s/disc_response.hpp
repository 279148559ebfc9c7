#pragma once
// Response amplitude operators of the disc: from the exciting forces left in
// the per-frequency arrays at every wave frequency, the complex responses of
// heave, pitch, surge, sway and roll (yaw 0), each a single-degree-of-freedom
// system with the natural frequency, restoring and quasi-linear damping of
// the natural-period iteration; written over the forces in place. For a
// moored buoy the surge response is then capped by the nonlinear correction
// over the table the natural-period iteration left in the line work area.
#include <span>

namespace kelp {

class Session;

void dskrao(Session& s);

// The amplitude ac at which the work done against the real mooring, the
// cumulative table (its zero at zero_level), equals the energy 0.5 k a^2 of
// the linear spring. Table kind 0 has uniform amplitude steps of step; any
// other kind tabulates its amplitudes. side < 0 searches the part of the
// table below its zero point. An energy within one table step of the zero
// point leaves a unchanged. index receives the table entry found. A level
// outside the table is reported on out and ends the program.
void nlncor(Session& s, std::span<const float> table, float zero_level, float step,
            std::span<const float> amplitudes, float a, float& ac, float k, float side, int points, int& index,
            int kind, int out);

}  // namespace kelp
