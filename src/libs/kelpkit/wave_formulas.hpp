#pragma once
// Formulas of linear wave theory and potential-flow hydrodynamics: the wave
// number from the dispersion relation, the maximum slope of a regular wave,
// the JONSWAP normalising value, the added-mass and added-moment integrals of
// an ellipsoid with their closed-form coefficients, and the test of a member
// segment against the water plane. All single precision.
//
// These are pure: failures come back as status codes. The variants that print
// the old messages, wait and stop live in kelpkit/numeric_messages.hpp.
#include <array>
#include <functional>

namespace kelp {

// ---- Dispersion relation ----

// Status codes of wavvec and cnhtsp. 1 and 2 are the root finder's codes
// (kRootNoConvergence, kRootNoSignChange) passed on.
inline constexpr int kWaveOk = 0;
inline constexpr int kWaveBadArgument = 3;

// Residual of the dispersion relation: x2 - kh tanh(kh), where x2 = x^2.
float disprs(float kh, float x2);

// Below this |x|, wavvec uses the shallow-water series kh = x (1 + x^2/6).
inline constexpr float kShallowSeriesLimit = 0.0015f;

// kh := the root of kh tanh(kh) = x^2, with x = omega sqrt(depth / g): the
// wave number times the depth, found by rtmi1 in the bracket x^2 .. x^2 + 0.5
// (for |x| below kShallowSeriesLimit from the series, which the bracket search
// gets wrong there). Returns kWaveOk, the root finder's code (which cannot
// occur for a finite x), or kWaveBadArgument with kh = 0 when x or x^2 is not
// finite.
int wavvec(float x, float& kh);

// Turns the wave height h of a regular wave of period t in depth d (gravity g)
// into its maximum slope k H / 2 in degrees. When t, d or g is not positive
// and finite, h is left as it was and kWaveBadArgument is returned; a failure
// of wavvec is passed on likewise.
int cnhtsp(float& h, float t, float d, float g);

// ---- JONSWAP normalising value ----

// Parameters of the JONSWAP integrand: width of the peak, peak-enhancement factor
// and the side of the peak (1 below the peak frequency, 2 above).
struct Localj {
  float sigma = 0.0f;
  float gamma = 1.0f;
  int side = 1;
};

// Integrand of jonsval: exp(y ln(gamma) - 1.25 / c^4) with c = 1 -/+ b,
// b = sqrt(-2 sigma^2 ln y) (0 at y = 0).
float jonint(float y, const Localj& par);

// Status codes of jonsval.
inline constexpr int kJonsvalOk = 0;
inline constexpr int kJonsvalRoundoff = 1;      // unfixable rounding errors
inline constexpr int kJonsvalTableTooSmall = 2; // the integration table would exceed 80
inline constexpr int kJonsvalAborted = 3;       // the try limit was reached and no retry was granted
inline constexpr int kJonsvalBadArgument = 4;   // a non-finite width or a gamma that is not positive and finite

// val := 0.2 (1 - (I1 - I2) ln(gamma)), the JONSWAP normalising value for
// the widths sa below and sb above the peak. When either integral has been
// retried past its try limit (100 for the first, 20 for the second), retry is
// asked whether to go on; without a retry callable the call gives up with
// kJonsvalAborted. val is only changed on success.
int jonsval(float sa, float sb, float gamma, float& val, const std::function<bool()>& retry = {});

// ---- Ellipsoid coefficients ----

// Integrands of elpcof at angle theta for the squared axis ratios p and q.
float argmas(float theta, float p, float q);
float argmom(float theta, float p, float q);

// Interval count above which elpcof warns, and the most it ever uses.
inline constexpr int kElpcofWarnIntervals = 7500;
inline constexpr int kElpcofMaxIntervals = 2000000;

// The number of Simpson intervals elpcof uses: n, or for n = 0 the largest of
// 2/p, 2/q, 2p and 2q (non-finite candidates ignored); made even; at least 400
// (kind 1) or 4000 (other kinds); at most kElpcofMaxIntervals.
int elpcof_intervals(float p, float q, int n, int kind);

// Simpson's rule over theta from 0 to pi/2 with the given even count: the
// added-mass integral (kind 1) or the added-moment integral (other kinds).
float elpcof_sum(float p, float q, int intervals, int kind);

// coef := the ellipsoid integral of kind 1 (mass) or 2 (moment). Returns true
// when the large-count warning is due: the count exceeds kElpcofWarnIntervals
// and warned is not 1; warned is then set to 1. intervals (when given) receives
// the count used.
bool elpcof(float p, float q, int n, int kind, float& coef, int& warned, int* intervals = nullptr);

// Closed-form coefficient from the integral r: kind 1 r / (2 - r); other kinds
// with P = 1/a, Q = 1/b: r (P - Q)^2 / ((2PQ - r(P + Q))(P + Q)). A zero
// divisor or a non-finite result gives 0 with ier = 1 (else ier = 0).
float cofclc(int kind, float r, float a, float b, int& ier);
float cofclc(int kind, float r, float a, float b);

// 1.215488 x^(-0.14883).
float rectcm(float x);

// ---- Member segment against the water plane ----

// Codes of wpchek.
inline constexpr int kSegmentBelow = 0;     // at or below the plane
inline constexpr int kSegmentUp = 1;        // crosses upward from p1
inline constexpr int kSegmentDown = -1;     // crosses downward from p1
inline constexpr int kSegmentAbove = 99;    // at or above the plane (not lying in it)

// The segment from p1 to p2 against the plane z = zw:
//   d := p2 - p1; slen := |d|; c := d / slen (each at most 1; (0,0,0) for a
//   zero-length segment); is := one of the codes above; wlen := the length
//   from p1 to the plane (slen below, 0 above); r := 1 / c(3) for a crossing,
//   else 1.
void wpchek(const std::array<float, 3>& p1, const std::array<float, 3>& p2, float zw, std::array<float, 3>& d,
            std::array<float, 3>& c, float& slen, float& wlen, float& r, int& is);

}  // namespace kelp
