#pragma once
// The spectral library of the sea-state routines: the wave spectral density of
// one sea system at every frequency of the grid in wavcom (work_areas.hpp) for
// the eleven spectrum codes, with the peak quantities of the sea state; the
// zeroth and second moments of a density array; the wave-group spectrum; and
// the depth function of the TMA spectrum.
//
// Nothing here stops the program. A sea state that cannot be evaluated gets a
// message on the output unit (word 702 of tpcm) and kSpectrumFailed; the
// caller abandons its work and returns to its page.
#include <array>
#include <cstddef>
#include <span>

#include "kelpkit/record_words.hpp"
#include "kelpkit/work_areas.hpp"
#include "sysutl/record.hpp"

namespace kelp {

class Session;

// Spectrum codes (their names: kelpkit/spectrum_names.hpp).
inline constexpr int kSwellSpectrum = 0;      // default swell spectrum, Gaussian in frequency
inline constexpr int kPiersonMoskowitz = 1;
inline constexpr int kMeanJonswap = 2;
inline constexpr int kSharpJonswap = 3;
inline constexpr int kSquatJonswap = 4;
inline constexpr int kGeneralJonswap = 5;
inline constexpr int kBretschneider = 6;
inline constexpr int kUserSpectrum = 7;       // the file "WAVSPEC.txt" (user_spectrum.hpp)
inline constexpr int kLegacySpectrum = 8;     // densities stored in the record
inline constexpr int kOchiHubble = 9;
inline constexpr int kTmaSpectrum = 10;       // shallow-water JONSWAP
inline constexpr int kLastSpectrumCode = 10;

// Sea systems.
inline constexpr int kIrregularWaves = 0;
inline constexpr int kFirstSwell = 1;
inline constexpr int kSecondSwell = 2;

// The words of tpcm that describe the sea state are named in
// kelpkit/record_words.hpp. The shape list runs into the water depth after four entries.
inline constexpr int kOchiComponentsMax = 4;

// Parameter words of a sea system: the JONSWAP widths below and above the
// peak, the peak enhancement gamma, and the bandwidth of the swell spectrum.
struct SeaSystemWords {
  std::size_t sigma_a;
  std::size_t sigma_b;
  std::size_t gamma;
  std::size_t bandwidth;
};
inline constexpr std::array<SeaSystemWords, 3> kSeaSystemWords{{
    {474, 475, 476, 487},  // irregular waves
    {484, 485, 486, 460},  // first swell
    {494, 495, 496, 493},  // second swell
}};

// One sea system as the record holds it, the component count clamped to
// 0..kOchiComponentsMax.
struct SeaState {
  float depth = 0.0f;
  float sigma_a = 0.0f;
  float sigma_b = 0.0f;
  float gamma = 0.0f;
  float bandwidth = 0.0f;
  int ochi_count = 0;
  std::array<float, kOchiComponentsMax> ochi_height{};
  std::array<float, kOchiComponentsMax> ochi_period{};
  std::array<float, kOchiComponentsMax> ochi_shape{};
};

// The sea state of sea system isea (clamped to 0..2) from the record.
SeaState sea_state(const Tpcm& t, int isea);

// Status of wvspec.
inline constexpr int kSpectrumOk = 0;
inline constexpr int kSpectrumFailed = 1;

// Fills sp(1..N) (N = wavcom count) with the densities of spectrum code for
// sea system isea, in (length unit)^2 s/rad; code 9 gives the sum of the
// components. hs and tp are the significant height and peak period (s): in,
// and out for codes 1 (tp), 7 and 8 (both). wp := 2 pi / tp and wk := the
// wave number at the peak. Also writes the peak period, the depth scale and
// the frequency index into himem. The inputs are checked first (depth > 0,
// code 0 bandwidth > 0, codes 5 and 10 gamma and both widths > 0, height
// not negative, given peak periods > 0, components with period and shape
// > 0); a failed check, a Gamma-function error, a TMA root search abandoned
// by the user (or met in a silent run), or a failure of the user spectrum
// file gives its message and kSpectrumFailed with sp partly written.
int wvspec(Session& s, int code, std::span<float> sp, float& hs, float& tp, float& wp, float& wk, int isea);

// Zeroth and second moments of the densities s(1..N) over the grid: Simpson's
// rule in the period (d omega = omega^2 / (2 pi) dT). With an even number of
// points the first N - 1 go under Simpson's rule and the last interval under
// the trapezoidal rule. Fewer than two points give 0.
void smpint(const Wavcom& w, std::span<const float> s, float& m0, float& m2);

// sg := the wave-group (difference-frequency) spectral value at the group
// frequency mu (rad/s): 8 m0 of S(|omega + mu/2|) S(|omega - mu/2|), the
// densities interpolated in the grid and 0 outside it.
void grpspc(const Wavcom& w, std::span<const float> s, float& sg, float mu);

// 1 - x tanh(q x): its root x = coth(kh) gives kh = q x for q = omega^2 d / g.
float rwhfun(float x, float q);

}  // namespace kelp
