#pragma once
// Free-surface correction of a horizontal member near the waterline: a
// two-parameter conformal map of the unit circle fitted to the member's
// cross-section at its depth, and three power series summed into the factor
// F by which the member's Mx added mass and My added moment coefficients are
// multiplied. Single precision throughout; the map check uses single
// precision complex numbers.
namespace kelp {

class Session;

// Parameters of the correction, filled by the caller.
struct Tempcm {
  float t0 = 0.0f;  // centre-depth parameter 4 (draft - zc) / w; raised to the depth limit when below it
  float t1 = 1.0f;  // w / h: the section's extent along Mx over its extent along My
};

// The functions of the map (x the map parameter, s = x^2, c = c1fun).
float c1fun(float x, float s, float t0);
float wide(float c, float s);   // the map's width
float thick(float c, float s);  // the map's thickness
// The root function: t1 wide(c, s) - thick(c, s) with s = x^2, c = c1fun(x, s, t0).
float bafun(float x, const Tempcm& par);

// sum := the sum over i = 1, 2, ... of i (q^i)^n (1 + sigma) / (1 - sigma),
// sigma = |q^i| with the sign of sgn. Stops with ierr = 0 after the first
// term of magnitude at most tol, or with ierr = 1 once more than nmax terms
// were added (or when |q| >= 1, where the terms do not shrink); term is the
// last term added.
void dumsum(float& sum, float q, int n, float tol, int nmax, int& ierr, float& term, float sgn);

// The computation without dialogue.
struct SurfaceFit {
  float f = 1.0f;           // the factor
  float x = 0.0f;           // the map parameter found
  float limit = 0.0f;       // the depth limit (2 / t1 + 12) / 7
  bool raised = false;      // t0 was at or below the limit and was set to limit + 0.00001
  int root_status = 0;      // the root finder's code (kRootFound when the map parameter was found)
  bool map_failed = false;  // the map is not valid (a root of modulus above 1)
  bool finite = true;       // parameters and factor are finite numbers
};

// Raises par.t0 to the depth limit when needed, finds the map parameter in
// 2 .. 10 t0, checks the map and sums the series. f stays 1 when the root
// is not found or anything is not finite.
SurfaceFit surface_fit(Tempcm& par);

// Outcomes of srfcor.
inline constexpr int kSurfaceApplied = 0;    // f holds the factor
inline constexpr int kSurfaceDeepWater = 1;  // no factor: the root search failed or F is not a number
inline constexpr int kSurfaceAbandoned = 2;  // the user abandoned the correction after a map failure

// The correction of member imem with its messages on unit out (41: a silent
// run, which never pauses):
// - depth limit: the warning, then ierr = 1 in a silent run, otherwise
//   ierr = 0 and the program pause; the computation goes on;
// - root search failure: its message and the pause (interactive), ierr = 1,
//   kSurfaceDeepWater;
// - map failure: the warning and the abort question: "A" gives
//   kSurfaceAbandoned, otherwise ierr = 0 and the computation goes on;
// - a factor that is not a finite number: a warning, ierr = 1,
//   kSurfaceDeepWater.
// Otherwise ierr keeps the caller's value.
int srfcor(Session& s, float& f, int imem, int out, int& ierr, Tempcm& par);

// The messages, waits and outcome of srfcor for a fit already computed.
int surface_dialogue(Session& s, const SurfaceFit& fit, float& f, int imem, int out, int& ierr);

// The standard program pause on the error stream: "PAUSE ", then "To resume
// execution, type go.  Other input will terminate the job." and one reply
// from the keyboard. "go" and an empty reply resume ("RESUMED"); the session
// is never ended here: any other reply asks again.
void program_pause(Session& s);

}  // namespace kelp
