#pragma once
// Segment search and linear interpolation in monotonic tables, plain and
// layered. Positions (ilow, i, i1, n, imin, imax) are counted from 1 as
// entries of the table; the arrays are spans, and n is held to their size.
//
// A layered column holds one value per entry and, 90 entries further on, the
// same column of the next layer; a blend factor f mixes the two:
// (1 - f) a(i) + f a(i + 90).
#include <span>

namespace kelp {

// Flags of the searches.
inline constexpr int kInsideTable = 0;
inline constexpr int kBelowTable = 1;
inline constexpr int kAboveTable = 2;
// Extra flags of bsrch_moor: the first step, or (with the first step fine)
// the last step, runs against the table's direction.
inline constexpr int kFirstStepReversed = -1;
inline constexpr int kLastStepReversed = -2;

// Status codes returned by the searches and interpolations.
inline constexpr int kTableOk = 0;
inline constexpr int kTableTooShort = 1;     // fewer than two entries: no segment exists
inline constexpr int kEqualAbscissae = 2;    // interpolation segment of zero width
inline constexpr int kSegmentOutside = 3;    // i is not a segment of the table

// Distance from one layer of a layered column to the next.
inline constexpr int kLayerStride = 90;

// yv := y(i) + (xv - x(i)) / (x(i+1) - x(i)) (y(i+1) - y(i)). Guards: a table
// of fewer than two entries gives y(1) (0 for none) with kTableTooShort; a
// segment outside the table uses the nearest segment and returns
// kSegmentOutside; equal abscissae give y(i) with kEqualAbscissae.
int interp(std::span<const float> x, std::span<const float> y, float xv, float& yv, int i);

// Bisection for the segment ilow (x(ilow) .. x(ilow+1)) holding xv, in a table
// of n entries rising or falling by its end points; iflag kInsideTable,
// kBelowTable or kAboveTable. Outside the table ilow is the end segment.
// Fewer than two entries: ilow = 1, iflag from the one entry, kTableTooShort.
int bsrch(std::span<const float> x, float xv, int& iflag, int& ilow, int n);

// As bsrch, but the direction comes from the interior entries x(2), x(n-1)
// (from the end points in a table of two or three entries), and iflag is
// kFirstStepReversed or kLastStepReversed when an end step runs against it.
int bsrch_moor(std::span<const float> x, float xv, int& iflag, int& ilow, int n);

// The first segment at or after i1 that brackets xv, by a linear scan; see
// the comment at the definition for a value equal to the last entry.
int brackt(std::span<const float> x, float xv, int& iflag, int& ilow, int i1, int n);

// Blended value of a layered column's first entry: (1 - f) a(1) + f a(91).
// A column too short for a second layer gives a(1).
float midlay(std::span<const float> a, float f);
double mdlydp(std::span<const double> a, double f);

// Segment search on a layered column blended by f. The flag compares xv with
// the unblended end entries: kAboveTable above both, kBelowTable below both.
int bsrchq(std::span<const float> x, float f, float xv, int& iflag, int& ilow, int n);
int bsrcdp(std::span<const double> x, double f, double xv, int& iflag, int& ilow, int n);

// interp in segment i with x and y blended (intrpq), x only (intrpr) or y only
// (intrps); the same guards as interp.
int intrpq(std::span<const float> x, std::span<const float> y, float xv, float& yv, int i, float f);
int intrpr(std::span<const float> x, std::span<const float> y, float xv, float& yv, int i, float f);
int intrps(std::span<const float> x, std::span<const float> y, float xv, float& yv, int i, float f);
int intdpq(std::span<const double> x, std::span<const double> y, double xv, double& yv, int i, double f);
int intdpr(std::span<const double> x, std::span<const double> y, double xv, double& yv, int i, double f);
int intdps(std::span<const double> x, std::span<const double> y, double xv, double& yv, int i, double f);

// Extremes of x(1..n) and their first positions, iup = 1 when x(n) > x(1),
// imono = 1 unless a step runs against that direction. With n < 1: xmin 1e30,
// xmax -1e30, positions 1, iup 0, imono 1.
void max_min(std::span<const float> x, int n, int& imin, int& imax, float& xmin, float& xmax, int& imono, int& iup);

// Range check of xv against entries i1..i2: iflag 0 inside, 1 outside a
// rising range, 2 outside a falling or flat one, plus 3 when the entries are
// not monotonic. Positions are held to the table.
void rngchk(std::span<const float> x, int i1, int i2, float xv, int& iflag);

}  // namespace kelp
