#include "kelpkit/wave_spectra.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "kelpkit/work_areas.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

constexpr double kPi = 3.14159265358979323846;
constexpr float kG = 9.8f;

// The integral of f over [a, b] by Simpson's rule on 200,000 intervals, in
// double: the reference for the grid integrations of the library.
double integral(const std::function<double(double)>& f, double a, double b) {
  constexpr int kIntervals = 200000;
  const double h = (b - a) / kIntervals;
  double sum = f(a) + f(b);
  for (int i = 1; i < kIntervals; ++i) sum += (i % 2 == 1 ? 4.0 : 2.0) * f(a + i * h);
  return sum * h / 3.0;
}

// kh tanh(kh) = x2 by Newton's method in double.
double kh_of(double x2) {
  double kh = std::max(x2, std::sqrt(x2));
  for (int i = 0; i < 100; ++i) {
    const double t = std::tanh(kh);
    kh -= (kh * t - x2) / (t + kh * (1.0 - t * t));
  }
  return kh;
}

// A metric session on the screen with a grid of 99 periods from 1 s by
// 0.3 s (omega from 6.28 down to 0.21 rad/s).
struct Sea {
  explicit Sea(std::string replies = {}, float depth = 1000.0f, int periods = 99) : t(std::move(replies)) {
    t.s.tpcm.i(702) = kScreen;
    t.s.tpcm.set_r(kWaterDepth, depth);
    std::vector<float> grid;
    for (int i = 0; i < periods; ++i) grid.push_back(1.0f + 0.3f * static_cast<float>(i));
    build_grid(wavcom(t.s), kG, depth, grid);
  }
  // Parameter words of a sea system.
  void set(int isea, float sigma_a, float sigma_b, float gamma, float bandwidth) {
    const SeaSystemWords& w = kSeaSystemWords[static_cast<std::size_t>(isea)];
    t.s.tpcm.set_r(w.sigma_a, sigma_a);
    t.s.tpcm.set_r(w.sigma_b, sigma_b);
    t.s.tpcm.set_r(w.gamma, gamma);
    t.s.tpcm.set_r(w.bandwidth, bandwidth);
  }
  void ochi(std::vector<std::array<float, 3>> components, int count = -1) {
    t.s.tpcm.i(kOchiCount) = count < 0 ? static_cast<int>(components.size()) : count;
    for (std::size_t j = 0; j < components.size(); ++j) {
      t.s.tpcm.set_r(kSeaHeights + j, components[j][0]);
      t.s.tpcm.set_r(kSeaPeriods + j, components[j][1]);
      t.s.tpcm.set_r(kOchiShapes + j, components[j][2]);
    }
  }
  // Runs wvspec; the densities land in s.
  int run(int code, float hs_in, float tp_in, int isea = kIrregularWaves) {
    hs = hs_in;
    tp = tp_in;
    s.assign(kWavePeriodsMax, -1.0f);
    return wvspec(t.s, code, s, hs, tp, wp, wk, isea);
  }
  float m0() {
    float m0 = 0.0f;
    float m2 = 0.0f;
    smpint(grid(), s, m0, m2);
    return m0;
  }
  const Wavcom& grid() { return wavcom(t.s); }
  float omega(int i) { return grid().omega[static_cast<std::size_t>(i)]; }
  int n() { return grid().count; }

  ScriptedSession t;
  std::vector<float> s;
  float hs = 0.0f;
  float tp = 0.0f;
  float wp = 0.0f;
  float wk = 0.0f;
};

TEST(Wvspec, ZerothMomentIsAQuarterOfTheHeightSquared) {
  struct Case {
    int code;
    float hs;
    float tp;
    double tolerance;  // relative
  };
  // The JONSWAP sets are normalised to about 0.3 %; the others to the
  // rounding of their constants and the grid integration.
  const Case cases[] = {
      {kSwellSpectrum, 2.0f, 12.0f, 5e-4},  {kPiersonMoskowitz, 4.0f, 0.0f, 5e-4},
      {kMeanJonswap, 4.0f, 9.0f, 3e-3},     {kSharpJonswap, 3.0f, 8.0f, 3e-3},
      {kSquatJonswap, 5.0f, 11.0f, 3e-3},   {kGeneralJonswap, 4.0f, 9.0f, 3e-3},
      {kBretschneider, 6.0f, 12.0f, 5e-4},  {kTmaSpectrum, 4.0f, 9.0f, 3e-3},
  };
  for (const Case& c : cases) {
    Sea sea;
    sea.set(kIrregularWaves, 0.07f, 0.09f, 3.3f, 0.1f);
    ASSERT_EQ(sea.run(c.code, c.hs, c.tp), kSpectrumOk) << c.code << sea.t.shown();
    const double expected = c.hs * c.hs / 16.0;
    EXPECT_NEAR(sea.m0() / expected, 1.0, c.tolerance) << "code " << c.code;
  }
}

// S(w) = alpha g^2 w^-5 exp(-1.25 (wp/w)^4), the textbook form of both
// Pierson-Moskowitz and the JONSWAP base.
double pierson_moskowitz(double w, double wp, double alpha = 0.0081) {
  return alpha * kG * kG * std::pow(w, -5.0) * std::exp(-1.25 * std::pow(wp / w, 4.0));
}

TEST(Wvspec, PiersonMoskowitzPeaksAtItsAnalyticValue) {
  // hs = g (10 / 15.66)^2 puts the peak period on the grid period of 10 s.
  Sea sea;
  const float hs = kG * (10.0f / 15.66f) * (10.0f / 15.66f);
  ASSERT_EQ(sea.run(kPiersonMoskowitz, hs, 0.0f), kSpectrumOk);
  EXPECT_NEAR(sea.tp, 10.0f, 1e-5f);
  const int peak = 30;  // T = 1 + 0.3 x 30 = 10 s
  ASSERT_NEAR(2.0 * kPi / sea.omega(peak), 10.0, 1e-5);
  const double wp = 2.0 * kPi / 10.0;
  EXPECT_NEAR(sea.s[peak] / pierson_moskowitz(wp, wp), 1.0, 2e-5);
  for (int i = 0; i < sea.n(); ++i) EXPECT_LE(sea.s[static_cast<std::size_t>(i)], sea.s[peak]) << i;
  EXPECT_NEAR(sea.wp, wp, 1e-5);
  // Deep water: k = omega^2 / g, at the peak and on the grid.
  EXPECT_NEAR(sea.wk, wp * wp / kG, 1e-6);
  EXPECT_NEAR(sea.grid().wave_number[peak], wp * wp / kG, 1e-6);
}

TEST(Wvspec, TmaIsJonswapInDeepWaterAndKeepsItsZerothMoment) {
  Sea deep("", 5000.0f);
  deep.set(kIrregularWaves, 0.07f, 0.09f, 3.3f, 0.0f);
  ASSERT_EQ(deep.run(kGeneralJonswap, 4.0f, 9.0f), kSpectrumOk);
  const std::vector<float> jonswap = deep.s;
  ASSERT_EQ(deep.run(kTmaSpectrum, 4.0f, 9.0f), kSpectrumOk);
  for (std::size_t k = 0; k < static_cast<std::size_t>(deep.n()); ++k) EXPECT_FLOAT_EQ(deep.s[k], jonswap[k]);

  // In 20 m of water the shape follows the Kitaigorodskii factor
  // tanh^2(kh) / (1 + 2 kh / sinh 2kh) (to the 1 % of the root search) and
  // the zeroth moment stays that of the JONSWAP parent.
  Sea shallow("", 20.0f);
  shallow.set(kIrregularWaves, 0.07f, 0.09f, 3.3f, 0.0f);
  ASSERT_EQ(shallow.run(kGeneralJonswap, 4.0f, 9.0f), kSpectrumOk);
  const std::vector<float> parent = shallow.s;
  const float m0_parent = shallow.m0();
  ASSERT_EQ(shallow.run(kTmaSpectrum, 4.0f, 9.0f), kSpectrumOk);
  EXPECT_NEAR(shallow.m0() / m0_parent, 1.0, 1e-5);
  std::vector<double> ratio;
  for (int i = 0; i < shallow.n(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (parent[k] < 1e-4f * parent[30]) continue;
    const double kh = kh_of(shallow.omega(i) * shallow.omega(i) * 20.0 / kG);
    const double phi = std::pow(std::tanh(kh), 2.0) / (1.0 + 2.0 * kh / std::sinh(2.0 * kh));
    ratio.push_back(shallow.s[k] / (parent[k] * phi));
  }
  ASSERT_GT(ratio.size(), 20u);
  for (double r : ratio) EXPECT_NEAR(r / ratio.front(), 1.0, 0.02);
}

TEST(Wvspec, OchiHubbleFollowsItsClosedForm) {
  Sea sea;
  // Two components; a third of shape 20 whose u^lambda overflows at the
  // long periods; a stored count of 6 is held to 4, so the water depth and
  // density beyond the fourth shape are never read as shapes.
  const std::vector<std::array<float, 3>> parts = {
      {3.0f, 12.0f, 2.5f}, {2.0f, 7.0f, 1.2f}, {1.0f, 10.0f, 20.0f}, {0.0f, 5.0f, 1.0f}};
  sea.ochi(parts, 6);
  ASSERT_EQ(sea.run(kOchiHubble, 0.0f, 12.0f), kSpectrumOk) << sea.t.shown();
  const std::vector<float> first = sea.s;
  for (int i = 0; i < sea.n(); ++i) {
    const double w = sea.omega(i);
    double expected = 0.0;
    for (const auto& c : parts) {
      const double lam = c[2];
      const double wp = 2.0 * kPi / c[1];
      const double a = (4.0 * lam + 1.0) / 4.0;
      expected += 0.25 * std::pow(a * std::pow(wp, 4.0), lam) / std::tgamma(lam) * c[0] * c[0] /
                  std::pow(w, 4.0 * lam + 1.0) * std::exp(-a * std::pow(wp / w, 4.0));
    }
    EXPECT_NEAR(sea.s[static_cast<std::size_t>(i)], expected, 1e-5 * std::max(expected, 1e-3)) << i;
  }
  EXPECT_NEAR(sea.m0() / ((9.0 + 4.0 + 1.0) / 16.0), 1.0, 0.003);
  // A second call gives the same densities.
  ASSERT_EQ(sea.run(kOchiHubble, 0.0f, 12.0f), kSpectrumOk);
  EXPECT_EQ(sea.s, first);
}

TEST(Wvspec, SwellAndRecordedSpectra) {
  Sea sea;
  sea.set(kFirstSwell, 0.0f, 0.0f, 0.0f, 0.05f);
  // Code 0: at the grid period nearest 12.1 s (12.1 s, index 37) the density
  // is hs^2 / (beta 16 sqrt(2 pi) omega_m); no height gives no density.
  ASSERT_EQ(sea.run(kSwellSpectrum, 2.0f, 12.1f, kFirstSwell), kSpectrumOk);
  EXPECT_NEAR(sea.s[37], 4.0 / (0.05 * 16.0 * std::sqrt(2.0 * kPi) * sea.omega(37)), 1e-4);
  ASSERT_EQ(sea.run(kSwellSpectrum, 0.0f, 12.1f, kFirstSwell), kSpectrumOk);
  for (int i = 0; i < sea.n(); ++i) EXPECT_EQ(sea.s[static_cast<std::size_t>(i)], 0.0f);

  // Code 8: equal maxima at grid entries 3 and 7 put the peak at the mean of
  // their frequencies; a later equal value moves only the last one.
  for (int i = 1; i <= sea.n(); ++i) sea.t.s.tpcm.set_r(kLegacyDensities + static_cast<std::size_t>(i - 1), 0.5f);
  sea.t.s.tpcm.set_r(kLegacyDensities + 2, 2.0f);
  sea.t.s.tpcm.set_r(kLegacyDensities + 6, 2.0f);
  ASSERT_EQ(sea.run(kLegacySpectrum, 0.0f, 0.0f), kSpectrumOk);
  EXPECT_NEAR(sea.tp, 2.0 * kPi / (0.5 * (sea.omega(2) + sea.omega(6))), 1e-5);
  EXPECT_NEAR(sea.hs, 4.0 * std::sqrt(sea.m0()), 1e-6);
  EXPECT_EQ(sea.s[2], 2.0f);
}

TEST(Grpspc, AtZeroOffsetIsEightTimesTheIntegralOfTheSquare) {
  Sea sea;
  const float hs = kG * (10.0f / 15.66f) * (10.0f / 15.66f);
  ASSERT_EQ(sea.run(kPiersonMoskowitz, hs, 0.0f), kSpectrumOk);
  float sg = 0.0f;
  grpspc(sea.grid(), sea.s, sg, 0.0f);
  const double wp = 2.0 * kPi / 10.0;
  const auto square = [wp](double w) { return std::pow(pierson_moskowitz(w, wp), 2.0); };
  const double expected = 8.0 * integral(square, sea.omega(sea.n() - 1), sea.omega(0));
  EXPECT_NEAR(sg / expected, 1.0, 0.003);
  // Offsets move both densities off the grid points; the value falls.
  float sg1 = 0.0f;
  grpspc(sea.grid(), sea.s, sg1, 0.1f);
  EXPECT_GT(sg1, 0.0f);
  EXPECT_LT(sg1, sg);
}

TEST(Smpint, ExactForLinearIntegrandsWithOddAndEvenPointCounts) {
  // With W s = 3 + 2T and W^2 s = 1 - T both rules are exact, so m0 and m2
  // equal the integrals over the periods divided by 2 pi; an even count
  // once gave its last point the weight 5.
  for (int n : {2, 3, 4, 7, 10, 99, 100}) {
    Sea sea("", 1000.0f, n);
    const Wavcom& w = sea.grid();
    std::vector<float> s0(static_cast<std::size_t>(n));
    std::vector<float> s2(static_cast<std::size_t>(n));
    for (std::size_t k = 0; k < s0.size(); ++k) {
      const float t = 1.0f + 0.3f * static_cast<float>(k);
      s0[k] = (3.0f + 2.0f * t) / w.omega2[k];
      s2[k] = (1.0f - t) / (w.omega2[k] * w.omega2[k]);
    }
    const double a = 1.0;
    const double b = 1.0 + 0.3 * (n - 1);
    float m0 = 0.0f;
    float m2 = 0.0f;
    float unused = 0.0f;
    smpint(w, s0, m0, unused);
    smpint(w, s2, unused, m2);
    EXPECT_NEAR(m0, (3.0 * (b - a) + (b * b - a * a)) / (2.0 * kPi), 2e-5 * b * b) << n;
    EXPECT_NEAR(m2, ((b - a) - 0.5 * (b * b - a * a)) / (2.0 * kPi), 2e-5 * b * b) << n;
  }
}

TEST(Wvspec, RefusesWhatItCannotEvaluateWithoutStopping) {
  struct Case {
    const char* what;
    std::function<void(Sea&)> setup;
    int code;
    float hs;
    float tp;
    std::string message;
  };
  const std::string not_evaluated = " ++> Spectrum not evaluated: ";
  const Case cases[] = {
      {"no depth", [](Sea& s) { s.t.s.tpcm.set_r(kWaterDepth, 0.0f); }, kPiersonMoskowitz, 4.0f, 0.0f,
       not_evaluated + "water depth must be greater than zero."},
      {"no depth for TMA", [](Sea& s) { s.t.s.tpcm.set_r(kWaterDepth, -5.0f); }, kTmaSpectrum, 4.0f, 9.0f,
       not_evaluated + "water depth must be greater than zero."},
      {"no bandwidth", [](Sea& s) { s.set(kIrregularWaves, 0.07f, 0.09f, 3.3f, 0.0f); }, kSwellSpectrum, 2.0f, 12.0f,
       not_evaluated + "spectral bandwidth must be greater than zero."},
      {"negative bandwidth", [](Sea& s) { s.set(kIrregularWaves, 0.07f, 0.09f, 3.3f, -0.1f); }, kSwellSpectrum, 2.0f,
       12.0f, not_evaluated + "spectral bandwidth must be greater than zero."},
      {"gamma 0", [](Sea& s) { s.set(kIrregularWaves, 0.07f, 0.09f, 0.0f, 0.1f); }, kGeneralJonswap, 4.0f, 9.0f,
       not_evaluated + "gamma must be greater than zero."},
      {"sigma 0", [](Sea& s) { s.set(kIrregularWaves, 0.07f, 0.0f, 3.3f, 0.1f); }, kTmaSpectrum, 4.0f, 9.0f,
       not_evaluated + "sigma must be greater than zero."},
      {"no peak period", [](Sea&) {}, kMeanJonswap, 4.0f, 0.0f,
       not_evaluated + "peak period must be greater than zero."},
      {"negative height", [](Sea&) {}, kBretschneider, -1.0f, 9.0f,
       not_evaluated + "significant height must not be negative."},
      {"unknown code", [](Sea&) {}, 11, 4.0f, 9.0f, not_evaluated + "unknown spectrum code."},
      {"Ochi-Hubble shape 0", [](Sea& s) { s.ochi({{3.0f, 12.0f, 0.0f}}); }, kOchiHubble, 0.0f, 12.0f,
       not_evaluated + "Ochi-Hubble periods and shapes must be greater than zero."},
      {"Gamma overflow", [](Sea& s) { s.ochi({{3.0f, 12.0f, 40.0f}}); }, kOchiHubble, 0.0f, 12.0f,
       " ++> Gamma function error in WVSPEC"},
      {"recorded spectrum all zero", [](Sea&) {}, kLegacySpectrum, 0.0f, 0.0f,
       not_evaluated + "the spectrum has no positive density."},
  };
  for (const Case& c : cases) {
    Sea sea("\n");
    sea.set(kIrregularWaves, 0.07f, 0.09f, 3.3f, 0.1f);
    c.setup(sea);
    EXPECT_EQ(sea.run(c.code, c.hs, c.tp), kSpectrumFailed) << c.what;
    const std::string shown = sea.t.shown();
    EXPECT_NE(shown.find(c.message + "\n \n Press <RETURN> to continue: "), std::string::npos) << c.what << shown;
  }
}

TEST(Wvspec, TmaRootSearchWidensItsBracketAndAsksBeforeGoingOn) {
  // At 1e-11 m the root coth(kh) lies near 5e6, beyond the fifth bracket
  // (1e6): the user is asked; "A" abandons, RETURN widens on; a silent run
  // abandons without asking.
  const std::string bounds = "\n +=> TMA spectrum bounds failure In WVSPEC.\n\n";
  const std::string& ask = testing::kAbortAsk;
  struct Case {
    std::string reply;
    int out;
    int status;
    std::string shown;
  };
  const Case cases[] = {
      {"A\n", kScreen, kSpectrumFailed, bounds + ask},
      {"\n", kScreen, kSpectrumOk, bounds + ask},
      {"", kSilentUnit, kSpectrumFailed, ""},
  };
  for (const Case& c : cases) {
    Sea sea(c.reply, 1e-11f);
    sea.set(kIrregularWaves, 0.07f, 0.09f, 3.3f, 0.1f);
    sea.t.s.tpcm.i(702) = c.out;
    EXPECT_EQ(sea.run(kTmaSpectrum, 1.0f, 9.0f), c.status) << c.reply;
    EXPECT_EQ(sea.t.shown(), c.shown);
  }
}

TEST(Wvspec, KeepsThePeakInTheKernelsWorkArea) {
  Sea sea;
  Himem& h = himem(sea.t.s);
  h.i(kHimemPeakRow) = 1;
  h.i(kHimemPeakColumn) = 2;
  ASSERT_EQ(sea.run(kMeanJonswap, 4.0f, 9.0f), kSpectrumOk);
  EXPECT_EQ(h.r(19941 + 1 + 6), 9.0f);  // element (3, 2) of the table at 19943
  EXPECT_FLOAT_EQ(h.r(kHimemDepthScale), std::sqrt(1000.0f / kG));
  EXPECT_EQ(h.i(kHimemFrequencyIndex), sea.n() + 1);
  // Offsets that point outside the area write nothing there.
  h.i(kHimemPeakColumn) = 400000;
  EXPECT_EQ(sea.run(kMeanJonswap, 4.0f, 9.0f), kSpectrumOk);
}

}  // namespace
}  // namespace kelp
