#pragma once
// Least-squares fit of a polynomial by determinants: the normal equations
// are summed in double precision and solved by Cramer's rule; inputs,
// weights and results are single precision.
#include <array>
#include <span>

namespace kelp {

// The square work matrix of the fit: leading dimension 20, element (i, j)
// (from 1) at (i - 1) + 20 (j - 1).
inline constexpr int kFitMatrixOrder = 20;
using FitMatrix = std::array<double, kFitMatrixOrder * kFitMatrixOrder>;

// The most terms a fit takes (its 2 nterms - 1 power sums fit the matrix).
inline constexpr int kMaxFitTerms = 10;

// Weighting modes of polfit.
inline constexpr int kFitWeightBySigma = 1;     // any mode > 0: w = 1 / sigmay^2
inline constexpr int kFitUnweighted = 0;        // w = 1
inline constexpr int kFitWeightByValue = -1;    // any mode < 0: w = 1 / |y| (1 for y = 0)

// Status of polfit.
inline constexpr int kFitDone = 0;
inline constexpr int kFitSingular = 1;  // determinant 0: coefficients and chisqr set to 0

// Determinant of the leading norder x norder block of the matrix by Gaussian
// elimination without row pivoting (a zero pivot is replaced by exchanging
// columns); the matrix is destroyed. The product is kept in double and
// returned as a single. norder <= 0 gives 1; norder above 20 is a
// programming error (std::invalid_argument).
float detrm(FitMatrix& array, int norder);

// Fits y = a1 + a2 x + ... + a_nterms x^(nterms - 1) to the first npts
// points. mode selects the weights (above). chisqr := the reduced chi-square,
// left as it was when npts equals nterms. npts is cut to the shortest array
// (sigmay is read only when mode > 0 and may then be empty otherwise);
// nterms outside 1..kMaxFitTerms or above a.size() is a programming error
// (std::invalid_argument). Returns kFitDone, or kFitSingular when the normal
// matrix has determinant 0.
int polfit(std::span<const float> x, std::span<const float> y, std::span<const float> sigmay, int npts, int nterms,
           int mode, std::span<float> a, float& chisqr);

}  // namespace kelp
