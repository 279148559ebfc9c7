#include "moor/morlib/splines.hpp"

#include <vector>

#include "kelpkit/numeric_messages.hpp"
#include "sysutl/session.hpp"

namespace kelp {
namespace {

std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }
constexpr std::size_t kLead = kSpline2MaxPoints;
std::size_t at2(int i, int j) { return ix(i) + kLead * ix(j); }

// Value and slope of the spline at x.
int spline_at(std::span<const float> xa, std::span<const float> ya, std::span<const float> y2a, int n, float x,
              float* value, float* slope) {
  if (n < 2 || xa.size() < ix(n + 1) || ya.size() < ix(n + 1) || y2a.size() < ix(n + 1)) return kSplineBadCount;
  int klo = 1;
  int khi = n;
  while (khi - klo > 1) {
    const int k = (khi + klo) / 2;
    (xa[ix(k)] > x ? khi : klo) = k;
  }
  const float h = xa[ix(khi)] - xa[ix(klo)];
  if (h == 0.0f) return kSplineBadAbscissae;
  const float a = (xa[ix(khi)] - x) / h;
  const float b = (x - xa[ix(klo)]) / h;
  if (value != nullptr) {
    *value = a * ya[ix(klo)] + b * ya[ix(khi)] +
             ((a * a * a - a) * y2a[ix(klo)] + (b * b * b - b) * y2a[ix(khi)]) * (h * h) / 6.0f;
  }
  if (slope != nullptr) {
    *slope = (ya[ix(khi)] - ya[ix(klo)]) / h +
             h * ((3.0f * b * b - 1.0f) * y2a[ix(khi)] - (3.0f * a * a - 1.0f) * y2a[ix(klo)]) / 6.0f;
  }
  return kSplineOk;
}

}  // namespace

int spline(std::span<const float> x, std::span<const float> y, int n, float yp1, float ypn, std::span<float> y2) {
  if (n < 2 || n > kSplineMaxPoints || x.size() < ix(n + 1) || y.size() < ix(n + 1) || y2.size() < ix(n + 1)) {
    return kSplineBadCount;
  }
  for (int i = 1; i < n; ++i) {
    if (x[ix(i + 1)] == x[ix(i)]) return kSplineBadAbscissae;
  }
  std::vector<float> u(static_cast<std::size_t>(n));
  std::vector<float> d(static_cast<std::size_t>(n));
  if (yp1 > 0.99e30f) {
    d[0] = u[0] = 0.0f;
  } else {
    d[0] = -0.5f;
    u[0] = (3.0f / (x[1] - x[0])) * ((y[1] - y[0]) / (x[1] - x[0]) - yp1);
  }
  for (int i = 2; i <= n - 1; ++i) {
    const float sig = (x[ix(i)] - x[ix(i - 1)]) / (x[ix(i + 1)] - x[ix(i - 1)]);
    const float p = sig * d[ix(i - 1)] + 2.0f;
    d[ix(i)] = (sig - 1.0f) / p;
    u[ix(i)] = (6.0f *
                    ((y[ix(i + 1)] - y[ix(i)]) / (x[ix(i + 1)] - x[ix(i)]) -
                     (y[ix(i)] - y[ix(i - 1)]) / (x[ix(i)] - x[ix(i - 1)])) /
                    (x[ix(i + 1)] - x[ix(i - 1)]) -
                sig * u[ix(i - 1)]) /
               p;
  }
  float qn = 0.0f;
  float un = 0.0f;
  if (!(ypn > 0.99e30f)) {
    qn = 0.5f;
    un = (3.0f / (x[ix(n)] - x[ix(n - 1)])) * (ypn - (y[ix(n)] - y[ix(n - 1)]) / (x[ix(n)] - x[ix(n - 1)]));
  }
  d[ix(n)] = (un - qn * u[ix(n - 1)]) / (qn * d[ix(n - 1)] + 1.0f);
  for (int k = n - 1; k >= 1; --k) d[ix(k)] = d[ix(k)] * d[ix(k + 1)] + u[ix(k)];
  for (int k = 1; k <= n; ++k) y2[ix(k)] = d[ix(k)];
  return kSplineOk;
}

int splint(std::span<const float> xa, std::span<const float> ya, std::span<const float> y2a, int n, float x,
           float& y) {
  return spline_at(xa, ya, y2a, n, x, &y, nullptr);
}

int strain_val(std::span<const float> xa, std::span<const float> ya, std::span<const float> y2a, int n, float x,
               float& v) {
  return spline_at(xa, ya, y2a, n, x, &v, nullptr);
}

int strain_slope(std::span<const float> xa, std::span<const float> ya, std::span<const float> y2a, int n, float x,
                 float& v) {
  return spline_at(xa, ya, y2a, n, x, nullptr, &v);
}

int get_alphas(float T, std::span<const float> xa, std::span<const float> ya, std::span<const float> y2a, int n,
               std::array<float, 3>& alpha) {
  float s = 0.0f, a1 = 0.0f, sT = 0.0f;
  int status = strain_val(xa, ya, y2a, n, T, s);
  if (status == kSplineOk) status = strain_slope(xa, ya, y2a, n, 0.0f, a1);
  if (status == kSplineOk) status = strain_slope(xa, ya, y2a, n, T, sT);
  if (status != kSplineOk) return status;
  float a2 = 0.0f;
  float a3 = 0.0f;
  if (T > 0.0f) {
    a2 = (3.0f * s - (2.0f * a1 + sT) * T) / (T * T);
    a3 = (s - (a2 * T + a1) * T) / (T * T * T);
  }
  alpha = {a1, a2, a3};
  return kSplineOk;
}

int splie2(std::span<const float> /*x1a*/, std::span<const float> x2a, std::span<const float> ya, int m, int n,
           std::span<float> y2a) {
  if (m < 1 || m > kSpline2MaxPoints || n < 2 || n > kSpline2MaxPoints || ya.size() <= at2(m, n) ||
      y2a.size() <= at2(m, n)) {
    return kSplineBadCount;
  }
  std::vector<float> row(static_cast<std::size_t>(n));
  std::vector<float> d2(static_cast<std::size_t>(n));
  for (int i = 1; i <= m; ++i) {
    for (int j = 1; j <= n; ++j) row[ix(j)] = ya[at2(i, j)];
    const int status = spline(x2a, row, n, kNaturalEnd, kNaturalEnd, d2);
    if (status != kSplineOk) return status;
    for (int j = 1; j <= n; ++j) y2a[at2(i, j)] = d2[ix(j)];
  }
  return kSplineOk;
}

int splin2(std::span<const float> x1a, std::span<const float> x2a, std::span<const float> ya,
           std::span<const float> y2a, int m, int n, float x1, float x2, float& y) {
  if (m < 2 || m > kSpline2MaxPoints || n < 2 || n > kSpline2MaxPoints || ya.size() <= at2(m, n) ||
      y2a.size() <= at2(m, n)) {
    return kSplineBadCount;
  }
  std::vector<float> row(static_cast<std::size_t>(n));
  std::vector<float> row2(static_cast<std::size_t>(n));
  std::vector<float> column(static_cast<std::size_t>(m));
  std::vector<float> column2(static_cast<std::size_t>(m));
  for (int i = 1; i <= m; ++i) {
    for (int j = 1; j <= n; ++j) {
      row[ix(j)] = ya[at2(i, j)];
      row2[ix(j)] = y2a[at2(i, j)];
    }
    const int status = splint(x2a, row, row2, n, x2, column[ix(i)]);
    if (status != kSplineOk) return status;
  }
  const int status = spline(x1a, column, m, kNaturalEnd, kNaturalEnd, column2);
  if (status != kSplineOk) return status;
  return splint(x1a, column, column2, m, x1, y);
}

void splint_pause(Session& s) {
  s.write_line(kErrorUnit, "PAUSE bad xa input in splint");
  s.write_line(kErrorUnit, "Execution cannot resume; any input will terminate the job.");
  s.read_line(kKeyboard);
  throw ProgramStop(kNumericStopStatus);
}

}  // namespace kelp
