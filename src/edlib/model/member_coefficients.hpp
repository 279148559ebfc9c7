#pragma once
// Hydrodynamic coefficients of the members of the member model: added mass
// and added moment from the member's dimensions, profile, end types and
// position against the waterplane (an ellipsoid model for members with free
// ends, the elliptic-section strip values for members closed at both ends, a
// correction for rectangular and intermediate profiles, an end term for
// water-piercing members, and the free-surface factor on request), and the
// default drag coefficients. Member words: edlib/record/member_table.hpp.
#include <array>

#include "sysutl/record.hpp"

namespace kelp {

class Session;

// The axis of a member from its base to its top against the waterplane (at
// the height of the vessel draft, word 1411).
struct MemberAxis {
  std::array<float, 3> base{};
  std::array<float, 3> top{};
  float length = 0.0f;  // distance from base to top (0 for equal ends)
  float wlen = 0.0f;    // length from the base to the waterplane (all of it below, 0 above)
  int crossing = 0;     // the water-plane codes of kelpkit/wave_formulas.hpp
};
// The axis of member n (1..50).
MemberAxis member_axis(const Tpcm& t, int n);

// Recomputes the added mass and added moment coefficients of member imem
// (1..50; any other number does nothing) from the words of tpcm, writing its
// messages on the unit in word 702 and reading replies from the keyboard.
// Used by the member page, the member checks and the data upgraders.
//
// ierr: set to 1 when a message was written that the caller should
// acknowledge or count, to 0 after the non-horizontal notice of the surface
// correction; otherwise left as the caller had it.
//
// The coefficient source (word 3556 + imem) may be changed:
// - to 0 (user-specified; the coefficients are no longer touched) with the
//   missing-data message, when a dimension, the member length, a needed
//   cross-sectional area or the spar's end diameter is not positive, when an
//   end type is outside 0..2, or when a coefficient would not be a number;
// - to 1 (deep water) when the surface correction does not apply (a
//   vertical member), is abandoned by the user, or fails.
void mscalc(Session& s, int imem, int& ierr);

// The default drag coefficients of member imem (1..50): 1 across the member
// and about its transverse axes, 0 about its axis, and along its axis 0 when
// neither end is free, else 1.
void dgcalc(Session& s, int imem);

// The missing-data message of the coefficient computation (a blank line and
// three lines) on unit out.
void missing_member_data(Session& s, int out);

// Complete elliptic integral of the first kind K(k) by the arithmetic-
// geometric mean. ier = 1 (res = 1e38) when 1 - k^2 < 0; res = 1e38 for k = 1.
void cel1(float& res, float k, int& ier);

// The integral over 0..pi/2 of (a cos^2 + b sin^2) / sqrt(1 - k^2 sin^2):
// with a = 1, b = 1 - k^2 the complete integral of the second kind E(k).
// ier = 1 when 1 - k^2 < 0; for 1 - k^2 <= 0, res is 1e38 for b > 0,
// -1e38 for b < 0 and a for b = 0.
void cel2(float& res, float k, float a, float b, int& ier);

}  // namespace kelp
