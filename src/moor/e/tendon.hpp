#pragma once
// The taut-tendon solver of the subline help: the unstretched length of the
// fairlead subline for which a vertical line type, pulled at its fairlead
// with the line's pretension, exactly spans the depth from fairlead to
// anchor.
namespace kelp {

class Session;

// Solves for line type t and stores the length of its subline 1. The span is
// |anchor depth of t - mean draft + fairlead height| of the type's first
// line, the tension that line's pretension. Warns (with the choice to abort)
// when pretensions are not given as fairlead tensions, when the pretension
// is not positive and when the type is inelastic. Leaves the record
// unchanged, after a message and a wait, when the type has no valid first
// line or no sublines, when no positive length spans the depth, or when the
// root search fails.
void tendndp(Session& s, int t);

}  // namespace kelp
