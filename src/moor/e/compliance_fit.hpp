#pragma once
// Fit of the three compliance coefficients of e(T) = a1 T + a2 T^2 + a3 T^3
// to a measured tension-elongation curve, and the array entry screen it
// collects the points with.
#include <array>
#include <span>
#include <string_view>

namespace kelp {

class Session;

// Most points of a fitted curve; fewest points accepted.
inline constexpr int kFitMaxPoints = 20;
inline constexpr int kFitMinPoints = 4;

// Entry screen for a(1..n) (n cut to a.size(); nmax, the caller's dimension,
// is not used beyond that): lists the entries, reads a selection with entsel
// and then new values from the selected entry on until a blank or unreadable
// reply or entry n. Returns when the selection is 0 (blank), with sel := 0;
// "?" shows the no-help note, other commands redisplay.
void arayin(Session& s, int n, int nmax, int out, int in, std::span<float> a, int& sel, std::string_view title);

// The curve-fit dialogue: asks for 4 to 20 (tension, elongation) pairs, the
// point (0,0) being assumed, and fits e/T = a1 + a2 T + a3 T^2 unweighted or
// weighted (the mode chosen stays for the next fit of the session). coeff
// receives (a1, a2, a3); it is left unchanged when the user aborts or when
// the points do not determine the coefficients (a singular fit is reported
// and waited for).
void fitcrv(Session& s, std::array<float, 3>& coeff, int out, int in);

}  // namespace kelp
