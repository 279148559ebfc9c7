#include "moor/catlib/catenary.hpp"

#include <cmath>
#include <cstddef>

namespace kelp {
namespace {

// Position of coefficient n (1..3) of element i (from 1).
std::size_t cix(int i, int n) { return static_cast<std::size_t>(3 * (i - 1) + n - 1); }
std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }

// True when an element after i, up to m, is buoyant.
bool buoyant_below(std::span<const double> wp, int i, int m) {
  for (int j = i + 1; j <= m; ++j) {
    if (wp[ix(j)] < 0.0) return true;
  }
  return false;
}

}  // namespace

double secfcn(double t) { return std::sqrt(t * t + 1.0); }
double dcsphi(double t) { return 1.0 / std::sqrt(t * t + 1.0); }
double dsnphi(double t) { return t * dcsphi(t); }

double strech(double t, std::span<const double> c, int i) {
  const double s = secfcn(t);
  return 1.0 + c[cix(i, 1)] * s + c[cix(i, 2)] * s * s + c[cix(i, 3)] * s * s * s;
}

float eainv(std::span<const float> alpha, float T, int i) {
  return alpha[cix(i, 1)] + 2.0f * alpha[cix(i, 2)] * T + 3.0f * alpha[cix(i, 3)] * T * T;
}

double zfcn(double u, int i, std::span<const double> c) {
  return u + c[cix(i, 1)] * u * u / 2.0 + c[cix(i, 2)] * u * u * u / 3.0 + c[cix(i, 3)] * u * u * u * u / 4.0;
}

double dzfcn(double u, int i, std::span<const double> c) { return std::sqrt(u * u - 1.0) * dzfcnoq(u, i, c); }

double dzfcnoq(double u, int i, std::span<const double> c) {
  return 1.0 / u + c[cix(i, 1)] + c[cix(i, 2)] * u + c[cix(i, 3)] * u * u;
}

double xfcn(double u, double t, int i, std::span<const double> c) {
  const double c1 = c[cix(i, 1)];
  const double c2 = c[cix(i, 2)];
  const double c3 = c[cix(i, 3)];
  return t * (c1 + c2 * u / 2.0 + c3 * (u * u + 2.0) / 3.0) + (1.0 + c2 / 2.0) * std::log(u + t);
}

double dxfcn(double u, double t, int i, std::span<const double> c) {
  const double c1 = c[cix(i, 1)];
  const double c2 = c[cix(i, 2)];
  const double c3 = c[cix(i, 3)];
  return (6.0 + 3.0 * c2 * (1.0 + t) + 2.0 * u * (3.0 * c1 + 2.0 * c3 * t)) / (6.0 * u);
}

void sclwld(std::span<double> wp, std::span<const float> w, double H, int n) {
  for (int i = 1; i <= n; ++i) wp[ix(i)] = w[ix(i)] / H;
}

void betald(std::span<const float> alpha, std::span<double> c, double H, int count) {
  for (int i = 1; i <= count; ++i) {
    c[cix(i, 1)] = alpha[cix(i, 1)] * H;
    c[cix(i, 2)] = alpha[cix(i, 2)] * H * H;
    c[cix(i, 3)] = alpha[cix(i, 3)] * H * H * H;
  }
}

double zdist(std::span<const double> wp, std::span<const double> u, std::span<const double> c, int n,
             std::span<const float> L, std::span<const double> t) {
  double z = 0.0;
  for (int i = 1; i <= n; ++i) {
    if (wp[ix(i)] != 0.0) {
      z += (zfcn(u[ix(i)], i, c) - zfcn(u[ix(i + 1)], i, c)) / wp[ix(i)];
    } else {
      z += strech(t[ix(i)], c, i) * L[ix(i)] * t[ix(i)] / u[ix(i)];
    }
  }
  return z;
}

double xdist(std::span<const double> wp, std::span<const double> u, std::span<const double> t,
             std::span<const double> c, int n, int m, int g, std::span<const float> L, double tb) {
  double x = 0.0;
  for (int i = 1; i <= n; ++i) {
    const double w = wp[ix(i)];
    double b = 0.0;
    if (w != 0.0) {
      b = (xfcn(u[ix(i)], t[ix(i)], i, c) - xfcn(u[ix(i + 1)], t[ix(i + 1)], i, c)) / w;
    } else {
      b = strech(t[ix(i)], c, i) * L[ix(i)] / u[ix(i)];
    }
    if (g == 1 && t[ix(i)] >= 0.0 && !buoyant_below(wp, i, m) && t[ix(i + 1)] <= tb) {
      const double f = w != 0.0 ? (tb - t[ix(i)]) / w + L[ix(i)] : L[ix(i)];
      x += strech(tb, c, i) * f;
    }
    x += b;
  }
  return x;
}

void tuchdn(float x, std::span<const float> w, std::span<const float> L, std::span<const double> c, int n, double t,
            float& W, int& a, float& b) {
  W = 0.0f;
  b = 0.0f;
  a = 0;
  float stretched = 0.0f;
  float unstretched = 0.0f;
  float kept = 0.0f;
  for (int i = n; i >= 1; --i) {
    stretched += L[ix(i)] * static_cast<float>(strech(t, c, i));
    unstretched += L[ix(i)];
    if (stretched > x) {
      a = i;
      break;
    }
    kept = stretched;
    b = unstretched;
    W += w[ix(i)] * L[ix(i)];
  }
  if (a == 0) {
    // x reaches past the whole line: all of it lies on the bottom.
    a = 1;
    return;
  }
  const float r = (x - kept) / static_cast<float>(strech(t, c, a));
  W += w[ix(a)] * r;
  b += r;
}

}  // namespace kelp
