#pragma once
// The check of one member of the member model against its own end points
// and the waterplane, with the refresh of its axis-alignment code and of its
// computed coefficients.
namespace kelp {

class Session;

// Checks member imem and writes its findings on the unit in word 702:
// - a member without length (both end points equal, or not numbers): the
//   missing-data message, a fatal finding;
// - an Mz dimension that is not positive or differs from the end-point
//   distance by more than 1%: a warning;
// - the top below the base, or the axis crossing the waterplane downward:
//   a fatal finding; both ends above the waterplane (one may lie on it):
//   "completely dry"; crossing upward with neither end water-piercing: the
//   end types warning.
// Then it stores the axis-alignment code (member-form flag 0) and, for a
// computed coefficient source, recomputes the coefficients (mscalc; not for
// a member without length).
//   iwarn   out: 1 when anything was reported (also a message of mscalc)
//   ifatal  out: 1 for a fatal finding
//   ipause  out: 1 when a message waits for acknowledgement
//   icross  in/out: set to 1 when the member crosses the waterplane upward
//           or has a fatal finding; never reset
// A member number outside 1..count (count clamped to 0..50) returns at once
// with the three outputs 0.
void chkpak(Session& s, int imem, int& iwarn, int& ifatal, int& ipause, int& icross);

}  // namespace kelp
