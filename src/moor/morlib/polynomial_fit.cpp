#include "moor/morlib/polynomial_fit.hpp"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <utility>

namespace kelp {

namespace {

// Element (i, j), counted from 1.
double& at(FitMatrix& m, int i, int j) {
  return m[static_cast<std::size_t>((i - 1) + kFitMatrixOrder * (j - 1))];
}

float weight_of(int mode, float y, float sigma) {
  if (mode > 0) return 1.0f / (sigma * sigma);
  if (mode < 0) {
    if (y > 0.0f) return 1.0f / y;
    if (y < 0.0f) return 1.0f / (-y);
  }
  return 1.0f;
}

}  // namespace

float detrm(FitMatrix& array, int norder) {
  if (norder > kFitMatrixOrder) throw std::invalid_argument("detrm: order above 20");
  double det = 1.0;
  for (int k = 1; k <= norder; ++k) {
    if (at(array, k, k) == 0.0) {
      int j = k;
      while (j <= norder && at(array, k, j) == 0.0) ++j;
      if (j > norder) return 0.0f;
      for (int i = k; i <= norder; ++i) std::swap(at(array, i, j), at(array, i, k));
      det = -det;
    }
    for (int i = k + 1; i <= norder; ++i) {
      for (int j = k + 1; j <= norder; ++j) at(array, i, j) -= at(array, i, k) * at(array, k, j) / at(array, k, k);
    }
    det *= at(array, k, k);
  }
  return static_cast<float>(det);
}

int polfit(std::span<const float> x, std::span<const float> y, std::span<const float> sigmay, int npts, int nterms,
           int mode, std::span<float> a, float& chisqr) {
  if (nterms < 1 || nterms > kMaxFitTerms || static_cast<std::size_t>(nterms) > a.size()) {
    throw std::invalid_argument("polfit: number of terms outside the work arrays");
  }
  std::size_t points = std::min(x.size(), y.size());
  if (mode > 0) points = std::min(points, sigmay.size());
  const int n = std::clamp(npts, 0, static_cast<int>(points));

  const int nmax = 2 * nterms - 1;
  std::array<double, 2 * kMaxFitTerms - 1> sumx{};
  std::array<double, kMaxFitTerms> sumy{};
  double chisq = 0.0;
  for (int p = 0; p < n; ++p) {
    const auto i = static_cast<std::size_t>(p);
    const float xi = x[i];
    const float yi = y[i];
    const float w = weight_of(mode, yi, mode > 0 ? sigmay[i] : 1.0f);
    double xterm = w;
    for (int m = 0; m < nmax; ++m) {
      sumx[static_cast<std::size_t>(m)] += xterm;
      xterm *= xi;
    }
    double yterm = static_cast<double>(w) * yi;
    for (int m = 0; m < nterms; ++m) {
      sumy[static_cast<std::size_t>(m)] += yterm;
      yterm *= xi;
    }
    chisq += w * (yi * yi);
  }

  const auto sx = [&](int j, int k) { return sumx[static_cast<std::size_t>(j + k - 2)]; };
  const auto normal_matrix = [&] {
    FitMatrix m{};
    for (int j = 1; j <= nterms; ++j) {
      for (int k = 1; k <= nterms; ++k) at(m, j, k) = sx(j, k);
    }
    return m;
  };
  FitMatrix array = normal_matrix();
  const float delta = detrm(array, nterms);
  if (delta == 0.0f) {
    chisqr = 0.0f;
    std::fill_n(a.begin(), nterms, 0.0f);
    return kFitSingular;
  }
  for (int l = 1; l <= nterms; ++l) {
    array = normal_matrix();
    for (int j = 1; j <= nterms; ++j) at(array, j, l) = sumy[static_cast<std::size_t>(j - 1)];
    a[static_cast<std::size_t>(l - 1)] = detrm(array, nterms) / delta;
  }

  for (int j = 1; j <= nterms; ++j) {
    const float aj = a[static_cast<std::size_t>(j - 1)];
    chisq -= static_cast<double>(2.0f * aj) * sumy[static_cast<std::size_t>(j - 1)];
    for (int k = 1; k <= nterms; ++k) chisq += static_cast<double>(aj * a[static_cast<std::size_t>(k - 1)]) * sx(j, k);
  }
  const int free = n - nterms;
  if (free != 0) chisqr = static_cast<float>(chisq / free);
  return kFitDone;
}

}  // namespace kelp
