#include "kelpkit/wave_spectra.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "kelpkit/integration.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/root_finders.hpp"
#include "kelpkit/table_search.hpp"
#include "kelpkit/user_spectrum.hpp"
#include "kelpkit/wave_formulas.hpp"
#include "sysutl/conversions.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kSixPi = 18.849556f;

bool positive(float v) { return std::isfinite(v) && v > 0.0f; }

// Grid points usable with an array of the given size.
int grid_points(const Wavcom& w, std::size_t size) {
  return std::clamp(w.count, 0, static_cast<int>(std::min<std::size_t>(size, kWavePeriodsMax)));
}

// The refusal of a sea state that cannot be evaluated: the reason and a wait.
int refuse(Session& s, int out, std::string_view reason) {
  s.write_line(out, "");
  s.write_line(out, std::string(" ++> Spectrum not evaluated: ").append(reason));
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
  return kSpectrumFailed;
}

// The question after a failed root search: true to try again. An abort, and
// any failure in a silent run, abandons the spectrum.
bool try_again(Session& s, int out, std::string_view message) {
  s.write_line(out, "");
  s.write_line(out, message);
  s.write_line(out, "");
  if (is_silent(out)) return false;
  int reply = 0;
  abort0(s, out, kKeyboard, reply);
  return reply != -1;
}

// What is wrong with the inputs of code, or nullptr when they can be used.
const char* invalid_input(int code, const SeaState& sea, const Wavcom& w, float hs, float tp) {
  if (code < 0 || code > kLastSpectrumCode) return "unknown spectrum code.";
  if (w.count < 1 || !positive(w.g)) return "no wave period grid.";
  if (!positive(sea.depth)) return "water depth must be greater than zero.";
  if (code == kSwellSpectrum && !positive(sea.bandwidth)) return "spectral bandwidth must be greater than zero.";
  if (code == kGeneralJonswap || code == kTmaSpectrum) {
    if (!positive(sea.gamma)) return "gamma must be greater than zero.";
    if (!positive(sea.sigma_a) || !positive(sea.sigma_b)) return "sigma must be greater than zero.";
  }
  const bool given_height = code != kUserSpectrum && code != kLegacySpectrum && code != kOchiHubble;
  if (given_height && !(std::isfinite(hs) && hs >= 0.0f)) return "significant height must not be negative.";
  if (code == kPiersonMoskowitz && hs == 0.0f) return "significant height must be greater than zero.";
  const bool given_period = code != kPiersonMoskowitz && code != kUserSpectrum && code != kLegacySpectrum;
  if (given_period && !positive(tp)) return "peak period must be greater than zero.";
  if (code == kOchiHubble) {
    for (int j = 0; j < sea.ochi_count; ++j) {
      const auto k = static_cast<std::size_t>(j);
      if (!std::isfinite(sea.ochi_height[k]) || !positive(sea.ochi_period[k]) || !positive(sea.ochi_shape[k])) {
        return "Ochi-Hubble periods and shapes must be greater than zero.";
      }
    }
  }
  return nullptr;
}

// Peak enhancement of the JONSWAP family: ln(gamma), 2 sigma^2 below and
// above the peak, and the normalising value.
struct Enhancement {
  float log_gamma;
  float two_sa2;
  float two_sb2;
  float norm;
};

// The fixed sets of codes 2 to 4.
constexpr std::array<Enhancement, 3> kFixedJonswap{{
    {1.193922f, 0.0098f, 0.0162f, 0.3049f},  // mean, gamma 3.3
    {1.435085f, 0.005f, 0.0098f, 0.3076f},   // sharp, gamma 4.2
    {1.945910f, 0.9248f, 0.030258f, 0.7114f},  // squat, gamma 7.0
}};

// Kitaigorodskii depth factors phi(i) = tanh^2(kh) / (1 + 2 kh / sinh 2kh)
// from the root x = coth(kh) of rwhfun. A search that runs out of iterations
// may be continued with 100 more; a bracket without root is widened tenfold
// up to four times, and then, if the user continues, four times more.
bool tma_factors(Session& s, const Wavcom& w, int n, float depth, PeriodArray& phi, int out) {
  int iend = 100;
  float xr = 100.0f;
  int tries = 1;
  for (;;) {
    bool restart = false;
    for (int i = 0; i < n && !restart; ++i) {
      const auto k = static_cast<std::size_t>(i);
      const float q = w.omega[k] * w.omega[k] * depth / w.g;
      float x = 0.0f;
      float f = 0.0f;
      int ier = kRootFound;
      rtmi1(x, f, [q](float v) { return rwhfun(v, q); }, 1.0f, xr, 0.01f, 0.01f, iend, ier);
      if (ier == kRootNoConvergence) {
        if (!try_again(s, out, " +=> TMA spectrum convergence failure In WVSPEC.")) return false;
        iend += 100;
        restart = true;
      } else if (ier == kRootNoSignChange) {
        if (tries < 5) {
          ++tries;
          xr *= 10.0f;
        } else {
          if (!try_again(s, out, " +=> TMA spectrum bounds failure In WVSPEC.") || !std::isfinite(xr)) return false;
          tries = 1;
        }
        restart = true;
      } else {
        const float kh = q * x;
        phi[k] = 1.0f / (x * x * (1.0f + 2.0f * kh / std::sinh(2.0f * kh)));
      }
    }
    if (!restart) return true;
  }
}

// Codes 1 to 6 and 10: alpha g^2 exp(-1.25 (wp/w)^4) / w^5, times the peak
// enhancement of the JONSWAP family.
void wind_sea(const Wavcom& w, int n, float wp, float alpha, const Enhancement* jonswap, std::span<float> sp) {
  const float g2 = w.g * w.g;
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const float om = w.omega[k];
    const float x = wp / om;
    const float x2 = x * x;
    const float u = std::min(x2 * x2, 80.0f);
    const float om2 = om * om;
    const float base = g2 * std::exp(-1.25f * u) / (om2 * om2 * om);
    float factor = 1.0f;
    if (jonswap != nullptr) {
      const float d = om / wp - 1.0f;
      const float r = std::max(-(d * d) / (om <= wp ? jonswap->two_sa2 : jonswap->two_sb2), -100.0f);
      factor = std::exp(std::exp(r) * jonswap->log_gamma);
    }
    const float v = base * factor * alpha;
    sp[k] = v < 1.0e-20f ? 0.0f : v;
  }
}

// Code 0: a Gaussian in frequency about the grid frequency nearest tp whose
// zeroth moment is hs^2 / 16 (40.106052 = 16 sqrt(2 pi)).
void swell(const Wavcom& w, int n, float hs, float tp, float beta, std::span<float> sp) {
  const int m = std::clamp(trunc_saturating((tp - w.first_period) / w.period_step + 1.5f), 1, n);
  const float wm = w.omega[static_cast<std::size_t>(m - 1)];
  const float a = hs * hs / (beta * 40.106052f * wm);
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const float d = w.omega[k] / wm - 1.0f;
    const float e = 0.5f * (d * d) / (beta * beta);
    sp[k] = e <= 50.0f ? a * std::exp(-e) : 0.0f;
  }
}

// Code 9: the sum of the Ochi-Hubble components.
bool ochi_hubble(Session& s, const Wavcom& w, int n, const SeaState& sea, std::span<float> sp, int out) {
  std::array<float, kOchiComponentsMax> amp{};
  for (int j = 0; j < sea.ochi_count; ++j) {
    const auto c = static_cast<std::size_t>(j);
    float gx = 0.0f;
    int ier = kGammaOk;
    gamma(sea.ochi_shape[c], gx, ier);
    if (ier != kGammaOk) {
      s.write_line(out, " ++> Gamma function error in WVSPEC");
      int reply = 0;
      prsret(s, out, kKeyboard, reply);
      return false;
    }
    amp[c] = sea.ochi_height[c] * sea.ochi_height[c] * 0.25f / gx;
  }
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const float om = w.omega[k];
    float sum = 0.0f;
    for (int j = 0; j < sea.ochi_count; ++j) {
      const auto c = static_cast<std::size_t>(j);
      const float lam = sea.ochi_shape[c];
      const float x = kTwoPi / sea.ochi_period[c] / om;
      const float x2 = x * x;
      const float u = (lam + 0.25f) * (x2 * x2);
      const float p = std::pow(u, lam);
      // Far below the peak u^lambda overflows where exp(-u) is already 0.
      const float shape = std::isinf(p) ? std::exp(lam * std::log(u) - u) : p * std::exp(-u);
      sum += amp[c] * shape / om;
    }
    sp[k] = sum;
  }
  return true;
}

// Codes 7 and 8: the peak period at the mid-frequency of the first and last
// maximum, and hs from the zeroth moment. False when no density is positive.
bool tabulated_peak(const Wavcom& w, int n, std::span<const float> sp, float& hs, float& tp) {
  float top = 0.0f;
  int first = 0;
  int last = 0;
  for (int i = 1; i <= n; ++i) {
    const float v = sp[static_cast<std::size_t>(i - 1)];
    if (v > top) {
      first = last = i;
      top = v;
    } else if (v == top) {
      last = i;
    }
  }
  if (first == 0) return false;
  const float wf = w.omega[static_cast<std::size_t>(first - 1)];
  const float wl = w.omega[static_cast<std::size_t>(last - 1)];
  tp = kTwoPi / (wf - 0.5f * (wf - wl));
  float m0 = 0.0f;
  float m2 = 0.0f;
  smpint(w, sp, m0, m2);
  hs = 4.0f * std::sqrt(m0);
  return true;
}

}  // namespace

SeaState sea_state(const Tpcm& t, int isea) {
  const SeaSystemWords& words = kSeaSystemWords[static_cast<std::size_t>(std::clamp(isea, 0, 2))];
  SeaState sea;
  sea.depth = t.r(kWaterDepth);
  sea.sigma_a = t.r(words.sigma_a);
  sea.sigma_b = t.r(words.sigma_b);
  sea.gamma = t.r(words.gamma);
  sea.bandwidth = t.r(words.bandwidth);
  sea.ochi_count = std::clamp(t.i(kOchiCount), 0, kOchiComponentsMax);
  for (std::size_t j = 0; j < kOchiComponentsMax; ++j) {
    sea.ochi_height[j] = t.r(kSeaHeights + j);
    sea.ochi_period[j] = t.r(kSeaPeriods + j);
    sea.ochi_shape[j] = t.r(kOchiShapes + j);
  }
  return sea;
}

int wvspec(Session& s, int code, std::span<float> sp, float& hs, float& tp, float& wp, float& wk, int isea) {
  const int out = s.tpcm.i(kOutputUnit);
  const Wavcom& w = wavcom(s);
  const SeaState sea = sea_state(s.tpcm, isea);
  if (const char* reason = invalid_input(code, sea, w, hs, tp)) return refuse(s, out, reason);
  const int n = grid_points(w, sp.size());
  const float g = w.g;

  float alpha = 0.0081f;
  if (code == kPiersonMoskowitz) tp = 15.66f * std::sqrt(hs / g);
  if (code == kBretschneider) {
    const float r = hs / (tp * tp * g / 245.2356f);
    alpha = 0.0081f * (r * r);
  }
  wp = kTwoPi / tp;

  PeriodArray phi{};
  switch (code) {
    case kOchiHubble:
      if (!ochi_hubble(s, w, n, sea, sp, out)) return kSpectrumFailed;
      break;
    case kSwellSpectrum:
      swell(w, n, hs, tp, sea.bandwidth, sp);
      break;
    case kUserSpectrum:
    case kLegacySpectrum:
      for (int i = 0; i < n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (code == kLegacySpectrum) {
          sp[k] = s.tpcm.r(kLegacyDensities + k);
        } else if (uwvspc(s, w.omega[k], out, kKeyboard, kUserSpectrumFile, sp[k]) != kUserSpectrumOk) {
          return kSpectrumFailed;
        }
      }
      if (!tabulated_peak(w, n, sp, hs, tp)) return refuse(s, out, "the spectrum has no positive density.");
      break;
    default: {
      if (code == kTmaSpectrum && !tma_factors(s, w, n, sea.depth, phi, out)) return kSpectrumFailed;
      Enhancement jonswap{};
      const bool enhanced = code != kPiersonMoskowitz && code != kBretschneider;
      if (code >= kMeanJonswap && code <= kSquatJonswap) {
        jonswap = kFixedJonswap[static_cast<std::size_t>(code - kMeanJonswap)];
      } else if (enhanced) {
        jonswap = {std::log(sea.gamma), 2.0f * sea.sigma_a * sea.sigma_a, 2.0f * sea.sigma_b * sea.sigma_b, 0.0f};
        const int status = jonsval_report(s, sea.sigma_a, sea.sigma_b, sea.gamma, jonswap.norm, out);
        if (status != kJonsvalOk && status != kJonsvalBadArgument) return kSpectrumFailed;
        if (status != kJonsvalOk || !positive(jonswap.norm)) {
          return refuse(s, out, "no JONSWAP normalising value for these sigma and gamma.");
        }
      }
      if (enhanced) {
        const float wp2 = wp * wp;
        alpha = hs * hs * (wp2 * wp2) / (16.0f * g * g) / jonswap.norm;
      }
      wind_sea(w, n, wp, alpha, enhanced ? &jonswap : nullptr, sp);
      if (code == kTmaSpectrum) {
        PeriodArray tma{};
        for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) tma[k] = sp[k] * phi[k];
        float m0j = 0.0f;
        float m0t = 0.0f;
        float m2 = 0.0f;
        smpint(w, sp, m0j, m2);
        smpint(w, tma, m0t, m2);
        // The TMA spectrum keeps the zeroth moment of its JONSWAP parent.
        for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) sp[k] = m0t > 0.0f ? tma[k] * m0j / m0t : tma[k];
      }
    }
  }

  // Peak quantities, and what the kernel's work area keeps of them.
  Himem& h = himem(s);
  const std::int64_t peak_word = static_cast<std::int64_t>(kHimemPeakTable) - 2 + h.i(kHimemPeakRow) +
                                 3 * static_cast<std::int64_t>(h.i(kHimemPeakColumn));
  store_real(h, peak_word, tp);
  const float scale = std::sqrt(sea.depth / g);
  h.set_r(kHimemDepthScale, scale);
  h.i(kHimemFrequencyIndex) = n + 1;
  wp = kTwoPi / tp;
  float kh = 0.0f;
  if (wavvec(wp * scale, kh) != kWaveOk) return refuse(s, out, "no wave number at the peak period.");
  wk = kh / sea.depth;
  return kSpectrumOk;
}

void smpint(const Wavcom& w, std::span<const float> s, float& m0, float& m2) {
  m0 = 0.0f;
  m2 = 0.0f;
  const int n = grid_points(w, s.size());
  if (n < 2) return;
  const auto f = [&](int i) { return s[static_cast<std::size_t>(i - 1)]; };
  const auto wt = [&](int i) { return w.omega2[static_cast<std::size_t>(i - 1)]; };
  // Simpson's rule needs an odd number of points.
  const int last = n % 2 == 1 ? n : n - 1;
  float so = 0.0f;
  float so2 = 0.0f;
  float se = 0.0f;
  float se2 = 0.0f;
  for (int i = 1; i <= last - 1; i += 2) {
    so += wt(i) * f(i);
    so2 += wt(i) * wt(i) * f(i);
    se += wt(i + 1) * f(i + 1);
    se2 += wt(i + 1) * wt(i + 1) * f(i + 1);
  }
  float a0 = 4.0f * se + 2.0f * so - wt(1) * f(1) + wt(last) * f(last);
  float a2 = 4.0f * se2 + 2.0f * so2 - wt(1) * wt(1) * f(1) + wt(last) * wt(last) * f(last);
  if (last < n) {
    // The trapezoid over the last interval, in the same scale (3 dT / 2).
    a0 += 1.5f * (wt(last) * f(last) + wt(n) * f(n));
    a2 += 1.5f * (wt(last) * wt(last) * f(last) + wt(n) * wt(n) * f(n));
  }
  m0 = w.period_step * a0 / kSixPi;
  m2 = w.period_step * a2 / kSixPi;
}

void grpspc(const Wavcom& w, std::span<const float> s, float& sg, float mu) {
  const int n = grid_points(w, s.size());
  const std::span<const float> om(w.omega.data(), static_cast<std::size_t>(n));
  const std::span<const float> dens = s.first(static_cast<std::size_t>(n));
  const auto density = [&](float at) {
    if (n < 1 || at > om.front() || at < om.back()) return 0.0f;
    int iflag = kInsideTable;
    int ilow = 1;
    bsrch(om, at, iflag, ilow, n);
    float v = 0.0f;
    interp(om, dens, at, v, ilow);
    return v;
  };
  PeriodArray p{};
  for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
    p[k] = density(std::fabs(om[k] + mu / 2.0f)) * density(std::fabs(om[k] - mu / 2.0f));
  }
  float m0 = 0.0f;
  float m2 = 0.0f;
  smpint(w, p, m0, m2);
  sg = 8.0f * m0;
}

float rwhfun(float x, float q) { return 1.0f - x * std::tanh(q * x); }

}  // namespace kelp
