#include "edlib/model/wave_report.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "edlib/frame/end_session.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/wave_spectra.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;
namespace fs = std::filesystem;

using SeaSetter = std::function<void(Tpcm&)>;

constexpr std::size_t kSwellBandwidth = kSeaSystemWords[kFirstSwell].bandwidth;

void set_periods(Tpcm& t, int count, float first, float step) {
  t.i(kWaveFrequencies) = count;
  for (int i = 0; i < count && i < 100; ++i) {
    t.set_r(kPeriods + static_cast<std::size_t>(i), static_cast<float>(first + static_cast<double>(step) * i));
  }
}

// Metric, 50 m of water, 100 periods from 2.0 s by 0.2 s, regular height
// 2 m; irregular waves: Mean JONSWAP, Hs 4 m, Tp 10 s, towards 30 degrees,
// long-crested; first swell: the default swell spectrum, Hs 1.5 m, Tp 14 s,
// bandwidth 0.05, towards 45 degrees.
void metric_sea(Tpcm& t) {
  t.i(kUnitSystem) = kUnitsMetric;
  t.set_r(kWaterDepth, 50.0f);
  set_periods(t, 100, 2.0f, 0.2f);
  t.i(kConstantSlope) = 0;
  t.set_r(kRegularHeight, 2.0f);
  t.i(kIrregularOn) = 1;
  t.i(kSeaSpectrum) = 2;
  t.set_r(kSeaHeights, 4.0f);
  t.set_r(kSeaPeriods, 10.0f);
  t.set_r(kIrregularHeadings, 30.0f);
  t.i(kSwellOn) = 1;
  t.i(kSwell1Spectrum) = 0;
  t.set_r(kSwellHeight, 1.5f);
  t.set_r(kSwellPeriod, 14.0f);
  t.set_r(kSwellDirection, 45.0f);
  t.set_r(kSwellBandwidth, 0.05f);
}

// English, 10,000 ft of water, periods 2 and 3 s, constant slope of 5
// degrees, no irregular waves and no swell.
void deep_slope_sea(Tpcm& t) {
  t.i(kUnitSystem) = kUnitsEnglish;
  t.set_r(kWaterDepth, 10000.0f);
  set_periods(t, 2, 2.0f, 1.0f);
  t.i(kConstantSlope) = 1;
  t.set_r(kRegularHeight, 5.0f);
}

// A disc-buoy session on the screen whose report goes to the file.
struct Report : testing::InTempDir {
  ScriptedSession& session(const SeaSetter& sea, const SeaSetter& change = {}, std::string replies = {}) {
    t_ = std::make_unique<ScriptedSession>(std::move(replies));
    Tpcm& t = t_->s.tpcm;
    t.i(kProgramKind) = 4;
    t.i(kOutputUnit) = kScreen;
    t.i(kOutputDevice) = 1;
    sea(t);
    if (change) change(t);
    return *t_;
  }
  // The report of a sea state as written to "WAVEOUT.stxt".
  std::string report(const SeaSetter& sea, const SeaSetter& change = {}) {
    ScriptedSession& t = session(sea, change);
    EXPECT_TRUE(wavout(t.s)) << t.shown();
    return read(std::string(kWaveReportFile));
  }
  std::unique_ptr<ScriptedSession> t_;
};

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

// The line of text that starts with prefix ("" when none does).
std::string line_starting(const std::string& text, const std::string& prefix) {
  for (const auto& l : lines_of(text)) {
    if (l.rfind(prefix, 0) == 0) return l;
  }
  return "";
}

int occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto p = text.find(part); p != std::string::npos; p = text.find(part, p + part.size())) ++n;
  return n;
}

std::vector<std::string> fields_of(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string f; in >> f;) out.push_back(f);
  return out;
}

// Each row below was worked out in double precision from linear wave
// theory (kh tanh kh = (2 pi / T)^2 d / g by Newton's method; L = 2 pi / k;
// c = omega / k; cg = c/2 (1 + 2kh / sinh 2kh); a = H/2 or slope / k;
// vertical particle displacement, velocity and acceleration a, a omega,
// a omega^2 / g, horizontal ones divided by tanh kh) and written by gfortran
// under the report's row formats.
TEST_F(Report, RowsMatchLinearWaveTheory) {
  struct Case {
    const char* name;
    SeaSetter sea;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"T 10 s in 50 m",
       metric_sea,
       {
           "                           Water Depth    =     50.00 m.",
           "                           Wave Height    =      2.00 m.",
           // kh = 2.0783: L 151.16 m, slope ak 2.38 deg, c 15.12, cg 8.54, k 0.0416
           "    10.00     151.16       2.38      15.12       8.54    0.416E-01     0.628",
           // tanh kh = 0.9692: accelerations 0.042 and 0.040 g, velocities 0.648 and 0.628 m/s
           "   10.00     0.042      0.040       0.648      0.628       1.032      1.000",
           // JONSWAP (alpha = Hs^2 wp^4 / 16 g^2 / 0.3049) and the Gaussian swell
           // A exp(-(w/wm - 1)^2 / 2 beta^2), A = Hs^2 / (beta 16 sqrt(2 pi) wm), at 14 s
           "     14.000        0.449      256.932        1.401       0.2306       2.5001",
           // 8 times the integral of S^2: 19.32 for the JONSWAP sea (fine quadrature),
           // 8 A^2 wm beta sqrt(pi) = 1.989 for the swell
           "  .0000     Infinity       Infinity      Infinity     1.93E+01      1.99E+00",
           // 0.1412 g Tp; Hs k(Tp) / 2 in degrees; the swell's m0 is Hs^2 / 16
           "          Spectrum characteristic wind speed ...     13.84  meters/sec     ",
           "          Spectrum characteristic wave slope ...      4.76  degrees        ",
           "          Calculated Significant swell height ..      1.50  meters         ",
       }},
      {"T 2 s in 10,000 ft, constant slope",
       deep_slope_sea,
       {
           "                           Water Depth    =  10000.00 ft",
           "                           Wave Slope     =      5.00 degrees",
           // kh = 3069.7 (deep): L = g T^2 / 2 pi, height 2a with a = slope / k, cg = c / 2
           "     2.00      20.47       0.57      10.23       5.12    0.307E+00     3.142",
           // tanh kh = 1: both accelerations ak = 0.087 g, velocities a omega
           "    2.00     0.087      0.087       0.893      0.893       0.284      0.284",
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = report(c.sea);
    const std::vector<std::string> got = lines_of(text);
    for (const auto& want : c.lines) EXPECT_NE(std::find(got.begin(), got.end(), want), got.end()) << want;
  }
}

// The group spectrum of the Gaussian swell has the closed form
// 8 A^2 wm beta sqrt(pi) exp(-mu^2 / (4 sigma^2)), sigma = wm beta; that of
// the JONSWAP sea comes from a fine quadrature of S(w + mu/2) S(w - mu/2).
// The grid interpolates the densities linearly, hence the 2 %.
TEST_F(Report, GroupSpectraFollowTheProductOfTheDensities) {
  const std::string text = report(metric_sea);
  const auto f = fields_of(line_starting(text, "  .0500 "));
  ASSERT_EQ(f.size(), 6u);
  // 2 pi / mu, and that times cg at the peaks (8.542 and 13.096 m/s).
  EXPECT_EQ(f[1], "125.66");
  EXPECT_EQ(f[2], "1073.46");
  EXPECT_EQ(f[3], "1645.70");
  EXPECT_NEAR(std::stod(f[4]), 16.631, 0.02 * 16.631);
  EXPECT_NEAR(std::stod(f[5]), 0.57484, 0.02 * 0.57484);
}

TEST_F(Report, SpectralPagesFollowTheSeaSystemsThatAreOn) {
  struct Case {
    int waves;
    int swell;
    std::size_t spectrum_fields;  // of the 14 s row
    std::size_t group_fields;     // of the 0.05 rad/s row
  };
  for (const Case c : {Case{0, 0, 0, 0}, Case{1, 0, 5, 4}, Case{0, 1, 5, 4}, Case{1, 1, 6, 6}}) {
    SCOPED_TRACE(::testing::Message() << "waves " << c.waves << " swell " << c.swell);
    const std::string text = report(metric_sea, [&](Tpcm& t) {
      t.i(kIrregularOn) = c.waves;
      t.i(kSwellOn) = c.swell;
    });
    EXPECT_EQ(text.find("Irregular Wave Spectral Values") != std::string::npos, c.spectrum_fields > 0);
    EXPECT_EQ(text.find("Wave Spectral Type -- Mean JONSWAP; Long-crested seas") != std::string::npos, c.waves == 1);
    EXPECT_EQ(text.find("Swell Spectral Type --  Brenvik swell spectrum") != std::string::npos, c.swell == 1);
    EXPECT_EQ(fields_of(line_starting(text, "     14.000 ")).size(), c.spectrum_fields);
    EXPECT_EQ(fields_of(line_starting(text, "  .0500 ")).size(), c.group_fields);
    // Both regular sections always.
    EXPECT_NE(text.find(" >>> Water Particle Dynamics At Surface"), std::string::npos);
  }
}

// An Ochi-Hubble sea is reported as one sea of height sqrt(3^2 + 4^2) at
// the peak period of its higher component; its zeroth moment is the sum of
// the components' Hs^2 / 16.
TEST_F(Report, OchiHubbleSeaIsTheSumOfItsComponents) {
  const std::string text = report(metric_sea, [](Tpcm& t) {
    t.i(kSeaSpectrum) = 9;
    t.i(kOchiCount) = 2;
    // Component 1: 3 m at 8 s, lambda 2; component 2: 4 m at 12 s, lambda 3.
    for (const std::size_t j : {0u, 1u}) {
      t.set_r(kSeaHeights + j, j == 0 ? 3.0f : 4.0f);
      t.set_r(kSeaPeriods + j, j == 0 ? 8.0f : 12.0f);
      t.set_r(kOchiShapes + j, j == 0 ? 2.0f : 3.0f);
    }
  });
  const std::vector<std::string> got = lines_of(text);
  for (const std::string want : {"     Wave Spectral Type -- Ochi-Hubble; Long-crested seas",
                                 "          Requested Significant wave height ....      5.00  meters         ",
                                 "          Calculated Significant wave height ...      5.00  meters         ",
                                 "          Spectrum peak period .................     12.00  seconds        "}) {
    EXPECT_EQ(std::count(got.begin(), got.end(), want), 2) << want;
  }
}

// A peak off the period grid takes the group speed of the nearest end of
// the grid (cg = 1.5597 m/s at 2 s, 17.838 m/s at 21.8 s); a swell at
// T(1) - dT/2 lies on the grid.
TEST_F(Report, PeaksOffTheGridAreClampedToIt) {
  struct Case {
    float wave_period;
    int swell;
    std::string row;
  };
  for (const Case& c : {Case{100.0f, 0, "  .0500       125.66        2241.56     "},
                        Case{0.5f, 1, "  .0500       125.66         196.00        196.00     "}}) {
    SCOPED_TRACE(c.wave_period);
    const std::string text = report(metric_sea, [&](Tpcm& t) {
      t.i(kSeaSpectrum) = 0;
      t.set_r(kSeaPeriods, c.wave_period);
      t.set_r(kSeaSystemWords[kIrregularWaves].bandwidth, 0.1f);
      t.i(kSwellOn) = c.swell;
      t.set_r(kSwellPeriod, 1.9f);
    });
    EXPECT_EQ(line_starting(text, "  .0500 ").substr(0, c.row.size()), c.row);
  }
}

TEST_F(Report, ReportUnitWord) {
  // 99 writes the file as 1 does; a second report in the session writes the
  // same numbers.
  ScriptedSession& t = session(metric_sea);
  ASSERT_TRUE(wavout(t.s));
  const std::string first = read(std::string(kWaveReportFile));
  t.s.tpcm.i(kOutputDevice) = 99;
  ASSERT_TRUE(wavout(t.s));
  EXPECT_EQ(read(std::string(kWaveReportFile)), first);
  EXPECT_FALSE(t.s.is_open(kListingUnit));

  // 6: the report on the screen, with a wait after each regular section
  // and at the end; no file.
  fs::remove(std::string(kWaveReportFile));
  ScriptedSession& u = session(metric_sea, [](Tpcm& w) { w.i(kOutputDevice) = kScreen; }, "\n\n\n");
  ASSERT_TRUE(wavout(u.s));
  EXPECT_FALSE(fs::exists(std::string(kWaveReportFile)));
  const std::string shown = u.shown();
  EXPECT_NE(shown.find("    10.00     151.16       2.38      15.12       8.54    0.416E-01     0.628\n"),
            std::string::npos);
  EXPECT_EQ(occurrences(shown, "Press <RETURN>"), 3);
}

// The End of Session page of the disc-buoy editor, item 6, then item 2.
int run_item_six(Session& s) {
  int status = 0;
  int help = 0;
  int counter = 0;
  int out = kScreen;
  int saved = kScreen;
  int code = 0;
  int warnings = 0;
  int fatal = 0;
  fintop(s, "10", 4, status, "RONDIN.stxt", "ronvaske", help, counter, out, saved, code, warnings, fatal, 21, 0);
  return code;
}

// Every sea state the report cannot use gives its message and a wait, and
// the page comes back: nothing is written and the session goes on.
TEST_F(Report, RefusalsReturnToTheEndOfSessionPage) {
  struct Case {
    const char* name;
    SeaSetter change;
    std::string message;
  };
  const std::string refused = " ++> Wave report not written: the ";
  const std::string count = refused + "number of wave periods must lie between 2 and 100.";
  const std::string steps = refused + "wave periods must rise in equal steps.";
  const std::string outside = " ++> Swell outside wave period range";
  const std::vector<Case> cases = {
      {"one period", [](Tpcm& t) { t.i(kWaveFrequencies) = 1; }, count},
      {"count of 150", [](Tpcm& t) { t.i(kWaveFrequencies) = 150; }, count},
      {"uneven step", [](Tpcm& t) { t.set_r(kPeriods + 2, 2.5f); }, steps},
      {"falling periods", [](Tpcm& t) { set_periods(t, 100, 21.8f, -0.2f); }, steps},
      {"period at zero", [](Tpcm& t) { set_periods(t, 100, 0.0f, 0.2f); },
       refused + "wave periods must be greater than zero."},
      {"depth at zero", [](Tpcm& t) { t.set_r(kWaterDepth, 0.0f); },
       refused + "water depth must be greater than zero."},
      {"swell below the grid", [](Tpcm& t) { t.set_r(kSwellPeriod, 1.89f); }, outside},
      {"swell above the grid", [](Tpcm& t) { t.set_r(kSwellPeriod, 21.91f); }, outside},
      {"Ochi-Hubble swell", [](Tpcm& t) { t.i(kSwell1Spectrum) = 9; },
       " ++> The Ochi-Hubble spectrum cannot be used for swell seas."},
      {"gamma at zero",
       [](Tpcm& t) {
         t.i(kSeaSpectrum) = 5;
         t.set_r(kSeaSystemWords[kIrregularWaves].gamma, 0.0f);
       },
       " ++> Spectrum not evaluated: gamma must be greater than zero."},
      {"Gamma function error",
       [](Tpcm& t) {
         t.i(kSeaSpectrum) = 9;
         t.i(kOchiCount) = 1;
         t.set_r(kOchiShapes, 40.0f);
       },
       " ++> Gamma function error in WVSPEC"},
      {"no user spectrum file", [](Tpcm& t) { t.i(kSeaSpectrum) = 7; },
       " ++>  User-supplied wave spectrum file \"WAVSPEC.txt  \" not found"},
      {"report file not writable", [](Tpcm&) { fs::create_directory(std::string(kWaveReportFile)); },
       " ++> File not found or file access error in WAVEOUT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(std::string(kWaveReportFile));
    ScriptedSession& t = session(metric_sea, c.change, "6\n\n2\n");
    EXPECT_EQ(run_item_six(t.s), 101);
    const std::string shown = t.shown();
    EXPECT_EQ(occurrences(shown, c.message + "\n"), 1) << shown;
    EXPECT_EQ(occurrences(shown, "End of Session"), 2);
    EXPECT_FALSE(fs::is_regular_file(std::string(kWaveReportFile)));
  }
}

// Finite sea states whose spectrum overflows or divides by zero in single
// precision give their message in place of a report of "NaN" or "Infinity":
// nothing of the report reaches the file or the screen, and the record is
// as it was.
TEST_F(Report, ValuesThatOverflowAbandonTheReport) {
  struct Case {
    const char* name;
    SeaSetter change;
    std::string reason = "the wave spectrum cannot be evaluated for these values.";
  };
  const std::vector<Case> cases = {
      // alpha = Hs^2 wp^4 / 16 g^2 / 0.3049 overflows.
      {"height 1e30", [](Tpcm& t) { t.set_r(kSeaHeights, 1.0e30f); }},
      {"swell height 1e30",
       [](Tpcm& t) {
         t.i(kSwellOn) = 1;
         t.set_r(kSwellHeight, 1.0e30f);
         t.set_r(kSwellPeriod, t.r(kPeriods));
       },
       "the swell spectrum cannot be evaluated for these values."},
      // The slope of a regular wave of 3e38 m overflows.
      {"regular height 3e38", [](Tpcm& t) { t.set_r(kRegularHeight, 3.0e38f); },
       "the regular waves cannot be evaluated for this height or slope."},
      // 2 sigma^2 underflows to 0.
      {"sigma 1e-30",
       [](Tpcm& t) {
         t.i(kSeaSpectrum) = 5;
         t.set_r(kSeaSystemWords[kIrregularWaves].sigma_a, 1.0e-30f);
         t.set_r(kSeaSystemWords[kIrregularWaves].sigma_b, 0.09f);
         t.set_r(kSeaSystemWords[kIrregularWaves].gamma, 3.3f);
       }},
      // Each density is finite; their zeroth moment is not.
      {"user density 1e38",
       [](Tpcm& t) {
         t.i(kSeaSpectrum) = 7;
         write("WAVSPEC.txt", "2\n0.1 1.0E38\n4.0 1.0E38\n");
       }},
  };
  for (const Case& c : cases) {
    for (const int device : {1, kScreen}) {
      SCOPED_TRACE(::testing::Message() << c.name << ", device " << device);
      fs::remove(std::string(kWaveReportFile));
      ScriptedSession& t = session(
          metric_sea,
          [&](Tpcm& w) {
            c.change(w);
            w.i(kOutputDevice) = device;
          },
          "6\n\n2\n");
      const Tpcm before = t.s.tpcm;
      EXPECT_EQ(run_item_six(t.s), 101);
      const std::string shown = t.shown();
      EXPECT_EQ(occurrences(shown, "\n ++> Wave report not written: " + c.reason + "\n"), 1) << shown;
      EXPECT_EQ(shown.find("KINEMATICS"), std::string::npos);
      EXPECT_FALSE(fs::exists(std::string(kWaveReportFile)));
      EXPECT_TRUE(t.s.tpcm == before);
    }
  }
}

}  // namespace
}  // namespace kelp
