#include "kelpkit/linear_algebra.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace kelp {
namespace {

void need(std::size_t have, int rows, int cols, const char* what) {
  if (static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols) > have) {
    throw std::invalid_argument(std::string(what) + ": array smaller than its matrix");
  }
}

template <class T>
void product(std::span<const T> a, std::span<const T> b, std::span<T> r, int n, int m, int l, const char* what) {
  if (n <= 0 || l <= 0) return;
  m = std::max(m, 0);
  need(a.size(), n, m, what);
  need(b.size(), m, l, what);
  need(r.size(), n, l, what);
  for (int j = 0; j < l; ++j) {
    for (int i = 0; i < n; ++i) {
      T sum{};
      for (int k = 0; k < m; ++k) sum = sum + a[i + static_cast<std::size_t>(k) * n] * b[k + static_cast<std::size_t>(j) * m];
      r[i + static_cast<std::size_t>(j) * n] = sum;
    }
  }
}

template <class T>
void transposed_product(std::span<const T> a, std::span<const T> b, std::span<T> r, int n, int m, int l,
                        const char* what) {
  if (m <= 0 || l <= 0) return;
  n = std::max(n, 0);
  need(a.size(), n, m, what);
  need(b.size(), n, l, what);
  need(r.size(), m, l, what);
  for (int j = 0; j < l; ++j) {
    for (int i = 0; i < m; ++i) {
      T sum{};
      for (int k = 0; k < n; ++k) sum = sum + a[k + static_cast<std::size_t>(i) * n] * b[k + static_cast<std::size_t>(j) * n];
      r[i + static_cast<std::size_t>(j) * m] = sum;
    }
  }
}

}  // namespace

void gmprd(std::span<const float> a, std::span<const float> b, std::span<float> r, int n, int m, int l) {
  product(a, b, r, n, m, l, "gmprd");
}

void dgmprd(std::span<const double> a, std::span<const double> b, std::span<double> r, int n, int m, int l) {
  product(a, b, r, n, m, l, "dgmprd");
}

void cgmprd(std::span<const std::complex<float>> a, std::span<const std::complex<float>> b,
            std::span<std::complex<float>> r, int n, int m, int l) {
  product(a, b, r, n, m, l, "cgmprd");
}

void gtprd(std::span<const float> a, std::span<const float> b, std::span<float> r, int n, int m, int l) {
  transposed_product(a, b, r, n, m, l, "gtprd");
}

void dgtprd(std::span<const double> a, std::span<const double> b, std::span<double> r, int n, int m, int l) {
  transposed_product(a, b, r, n, m, l, "dgtprd");
}

void xprod(const Vec3& a, const Vec3& b, Vec3& c) {
  const Vec3 out{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  c = out;
}

void cxprod(const Vec3& a, const CVec3& b, CVec3& c) {
  const CVec3 out{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  c = out;
}

float dotp(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

double ddotp(const DVec3& a, const DVec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

float vmod(const Vec3& a) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]); }

float cvmod(const CVec3& a) {
  float sum = 0.0f;
  for (const auto& z : a) {
    const float m = std::abs(z);
    sum = sum + m * m;
  }
  return std::sqrt(sum);
}

void unitiz(const Vec3& a, Vec3& u) {
  const float m = vmod(a);
  if (!(m > 0.0f)) {
    u = {1.0f, 0.0f, 0.0f};
    return;
  }
  for (int i = 0; i < 3; ++i) u[i] = std::clamp(a[i] / m, -1.0f, 1.0f);
}

void cunitiz(const CVec3& a, CVec3& u) {
  const float m = cvmod(a);
  if (!(m > 0.0f)) {
    u = {};
    return;
  }
  for (int i = 0; i < 3; ++i) u[i] = a[i] / m;
}

void rctngl(float theta, float phi, Vec3& u) {
  const float st = std::sin(theta);
  u = {st * std::cos(phi), st * std::sin(phi), std::cos(theta)};
}

void polar(const Vec3& a, float& r, float& theta, float& phi) {
  phi = (a[0] != 0.0f || a[1] != 0.0f) ? std::atan2(a[1], a[0]) : 0.0f;
  r = vmod(a);
  theta = r != 0.0f ? std::acos(std::clamp(a[2] / r, -1.0f, 1.0f)) : 0.0f;
}

void veclen(const Vec3& p, const Vec3& q, float& d, int& iax) {
  const Vec3 diff{p[0] - q[0], p[1] - q[1], p[2] - q[2]};
  d = vmod(diff);
  iax = 4;
  if (!(d > 0.0f)) return;
  for (int i = 0; i < 3; ++i) {
    if (std::fabs(diff[i]) / d > 0.98f) iax = i + 1;
  }
}

}  // namespace kelp
