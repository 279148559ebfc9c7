#include "kelpkit/wave_formulas.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "kelpkit/integration.hpp"
#include "kelpkit/root_finders.hpp"

namespace kelp {

// ---- Dispersion relation ----

float disprs(float kh, float x2) { return x2 - kh * std::tanh(kh); }

int wavvec(float x, float& kh) {
  const float x2 = x * x;
  if (!std::isfinite(x2)) {
    kh = 0.0f;
    return kWaveBadArgument;
  }
  // Very shallow water. The search below stops on the size of its last step
  // alone, and with a root this close to the bracket's left end (x^2) it
  // accepts a first interpolated point far from the root (kh about x^2
  // instead of x). There kh = x (1 + x^2 / 6) holds to float precision.
  const float ax = std::fabs(x);
  if (ax < kShallowSeriesLimit) {
    kh = ax * (1.0f + x2 / 6.0f);
    return kWaveOk;
  }
  // kh tanh(kh) < kh, so the root lies at or above x^2, and within 0.5 of it.
  float f = 0.0f;
  int ier = 0;
  rtmi1(kh, f, [x2](float k) { return disprs(k, x2); }, x2, x2 + 0.5f, 1.0e-5f, 0.0f, 100, ier);
  return ier;
}

int cnhtsp(float& h, float t, float d, float g) {
  const auto positive = [](float v) { return std::isfinite(v) && v > 0.0f; };
  if (!positive(t) || !positive(d) || !positive(g)) return kWaveBadArgument;
  const float x = (6.283f / t) * std::sqrt(d / g);
  float kh = 0.0f;
  const int status = wavvec(x, kh);
  if (status != kWaveOk) return status;
  h = h * 28.65f * kh / d;
  return kWaveOk;
}

// ---- JONSWAP normalising value ----

float jonint(float y, const Localj& par) {
  const float b = y != 0.0f ? std::sqrt(-2.0f * (par.sigma * par.sigma) * std::log(y)) : 0.0f;
  const float c = par.side == 1 ? 1.0f - b : 1.0f + b;
  const float c2 = c * c;
  return std::exp(y * std::log(par.gamma) - 1.25f / (c2 * c2));
}

namespace {

// One integral of jonsval with its tolerance loop. try_limit is the number of
// tries after which retry is asked.
int jonswap_integral(float lower, float upper, const Localj& par, int try_limit, const std::function<bool()>& retry,
                     float& result) {
  constexpr int kLargestTable = 80;
  std::array<float, kLargestTable> aux{};
  const RealFunction integrand = [&par](float y) { return jonint(y, par); };
  float e = 1.0e-4f;
  int ndim = 10;
  int tries = 0;
  for (;;) {
    ++tries;
    if (tries > try_limit) {
      if (!retry || !retry()) return kJonsvalAborted;
      tries = 0;
    }
    float y = 0.0f;
    int ier = 0;
    qatr(lower, upper, e, ndim, integrand, y, ier, aux);
    if (ier == kQatrRoundoff) {
      if (std::fabs(y) > 10.0f * e) {
        e = e * 10.0f;
        continue;
      }
      return kJonsvalRoundoff;
    }
    if (ier == kQatrNoConvergence) {
      if (ndim > 40) return kJonsvalTableTooSmall;
      ndim = ndim * 2;
      continue;
    }
    if (e > 0.01f * y) {
      e = 0.008f * y;
      continue;
    }
    result = y;
    return kJonsvalOk;
  }
}

}  // namespace

int jonsval(float sa, float sb, float gamma, float& val, const std::function<bool()>& retry) {
  if (!std::isfinite(sa) || !std::isfinite(sb) || !std::isfinite(gamma) || !(gamma > 0.0f)) {
    return kJonsvalBadArgument;
  }
  float i1 = 0.0f;
  int status = jonswap_integral(std::exp(-0.5f / (sa * sa)), 1.0f, Localj{sa, gamma, 1}, 100, retry, i1);
  if (status != kJonsvalOk) return status;
  float i2 = 0.0f;
  status = jonswap_integral(0.0f, 1.0f, Localj{sb, gamma, 2}, 20, retry, i2);
  if (status != kJonsvalOk) return status;
  val = 0.2f * (1.0f - (i1 - i2) * std::log(gamma));
  return kJonsvalOk;
}

// ---- Ellipsoid coefficients ----

float argmas(float theta, float p, float q) {
  const float t = std::tan(theta);
  const float c = std::cos(theta);
  return 1.0f / (c * c * std::sqrt((1.0f + p * t) * (1.0f + t) * (1.0f + q * t)) * (1.0f + t));
}

float argmom(float theta, float p, float q) {
  const float t = std::tan(theta);
  const float c = std::cos(theta);
  const float m = (1.0f + q * t) * (1.0f + p * t);
  return 1.0f / (c * c * std::sqrt((1.0f + t) * m) * m);
}

int elpcof_intervals(float p, float q, int n, int kind) {
  // Counts are kept in float until capped, so no candidate can overflow.
  constexpr auto cap = static_cast<float>(kElpcofMaxIntervals);
  float count = static_cast<float>(n);
  if (n == 0) {
    count = 0.0f;
    for (const float candidate : {2.0f / p, 2.0f / q, 2.0f * p, 2.0f * q}) {
      if (std::isfinite(candidate)) count = std::max(count, candidate);
    }
    count = std::trunc(std::min(count, cap));
  }
  int intervals = static_cast<int>(std::clamp(count, -cap, cap));
  if (intervals % 2 != 0) intervals = intervals + 1;
  intervals = std::max(intervals, kind == 1 ? 400 : 4000);
  return std::min(intervals, kElpcofMaxIntervals);
}

float elpcof_sum(float p, float q, int intervals, int kind) {
  const auto integrand = kind == 1 ? argmas : argmom;
  intervals = std::max(intervals, 2);
  const float h = 1.5707964f / static_cast<float>(intervals);
  float coef = 1.0f;  // the integrand at theta = 0; at pi/2 it is 0
  for (int i = 1; i < intervals; ++i) {
    const float weight = i % 2 != 0 ? 4.0f : 2.0f;
    coef = coef + weight * integrand(static_cast<float>(i) * h, p, q);
  }
  return coef * h / 3.0f;
}

bool elpcof(float p, float q, int n, int kind, float& coef, int& warned, int* intervals) {
  const int count = elpcof_intervals(p, q, n, kind);
  const bool warn = count > kElpcofWarnIntervals && warned != 1;
  if (warn) warned = 1;
  if (intervals != nullptr) *intervals = count;
  coef = elpcof_sum(p, q, count, kind);
  return warn;
}

float cofclc(int kind, float r, float a, float b, int& ier) {
  ier = 0;
  float value = 0.0f;
  if (kind == 1) {
    const float den = 2.0f - r;
    if (den == 0.0f) {
      ier = 1;
      return 0.0f;
    }
    value = r / den;
  } else {
    const float pp = 1.0f / a;
    const float qq = 1.0f / b;
    const float den = (2.0f * pp * qq - r * (pp + qq)) * (pp + qq);
    if (den == 0.0f) {
      ier = 1;
      return 0.0f;
    }
    value = r * ((pp - qq) * (pp - qq)) / den;
  }
  if (!std::isfinite(value)) {
    ier = 1;
    return 0.0f;
  }
  return value;
}

float cofclc(int kind, float r, float a, float b) {
  int ier = 0;
  return cofclc(kind, r, a, b, ier);
}

float rectcm(float x) { return 1.215488f * std::pow(x, -0.14883f); }

// ---- Member segment against the water plane ----

void wpchek(const std::array<float, 3>& p1, const std::array<float, 3>& p2, float zw, std::array<float, 3>& d,
            std::array<float, 3>& c, float& slen, float& wlen, float& r, int& is) {
  for (int i = 0; i < 3; ++i) d[i] = p2[i] - p1[i];
  slen = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  for (int i = 0; i < 3; ++i) c[i] = slen > 0.0f ? std::min(d[i] / slen, 1.0f) : 0.0f;
  const float h1 = p1[2] - zw;
  const float h2 = h1 + c[2] * slen;
  if (h1 <= 0.0f && h2 <= 0.0f) {
    is = kSegmentBelow;
  } else if (h1 >= 0.0f && h2 >= 0.0f) {
    is = kSegmentAbove;  // includes one end lying on the plane
  } else if (h1 < 0.0f && h2 > 0.0f) {
    is = kSegmentUp;
  } else if (h1 > 0.0f && h2 < 0.0f) {
    is = kSegmentDown;
  } else {
    is = kSegmentBelow;  // only reached with a coordinate that is not a number
  }
  if (is == kSegmentBelow) {
    wlen = slen;
    r = 1.0f;
  } else if (is == kSegmentAbove) {
    wlen = 0.0f;
    r = 1.0f;
  } else {
    r = 1.0f / c[2];
    wlen = -h1 / c[2];
  }
}

}  // namespace kelp
