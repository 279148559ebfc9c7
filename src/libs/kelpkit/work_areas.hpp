#pragma once
// Shared work records of the sea-state routines and the disc-buoy kernel,
// owned by the session (one of each per run, allocated on first use):
//   wavcom  the wave-frequency grid and spectral work area: gravity, the
//           regular-wave period grid with its circular frequencies and wave
//           numbers, the wave and swell densities and their peak values;
//   himem   the work area of the disc-buoy kernel, a raw pool of 32-bit words
//           addressed by word number, of which the spectrum routine writes
//           a few (see the constants below).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "sysutl/record.hpp"
#include "sysutl/session.hpp"

namespace kelp {

// Most regular-wave periods of a grid (the period table of the record).
inline constexpr int kWavePeriodsMax = 100;

using PeriodArray = std::array<float, kWavePeriodsMax>;

// The wave-frequency grid. Arrays hold entry i (1..count) at index i - 1;
// the periods rise, so omega falls from omega[0].
struct Wavcom {
  float g = 0.0f;             // gravity of the unit system (32.152 ft/s^2 or 9.8 m/s^2)
  int count = 0;              // N, the number of grid periods (0..kWavePeriodsMax)
  float first_period = 0.0f;  // T(1), s
  float last_period = 0.0f;   // T(N), s
  float period_step = 0.0f;   // T(2) - T(1), s
  PeriodArray omega{};        // 2 pi / T(i), rad/s
  PeriodArray omega2{};       // omega(i)^2, the Simpson weight factor
  PeriodArray wave_number{};  // k(i), 1/length unit

  // What the wave report keeps of the sea states it evaluates.
  int wave_code = 0;             // spectrum code of the irregular waves
  float wave_height = 0.0f;      // significant height used for the irregular waves
  float wave_period = 0.0f;      // peak period used for the irregular waves
  float swell_bandwidth = 0.0f;  // bandwidth of the first swell
  int swell_index = 0;           // grid index of the first swell's period
  float swell_height = 0.0f;     // calculated significant swell height
  PeriodArray wave_density{};    // irregular-wave densities
  PeriodArray swell_density{};   // first-swell densities
  float wave_peak_omega = 0.0f;
  float wave_peak_k = 0.0f;
  float swell_peak_omega = 0.0f;
  float swell_peak_k = 0.0f;

  // What the disc-buoy kernel needs besides the grid; its set-up fills them.
  int heading_index = 0;         // entry of the kernel's wave-heading table in use
  float mass_density = 0.0f;     // water mass density that divides the true mooring forces
  float table_period = 0.0f;     // period of the nonlinear surge-correction table, s
  float response_scale = 0.0f;   // response operator to surge amplitude
  float amplitude_scale = 0.0f;  // wave height to mode amplitude
};

// Builds the grid for the periods T(1..N) (at most kWavePeriodsMax) at depth
// d and gravity g: omega = 2 pi / T with 2 pi = 6.2831855, its square, and
// k = wavvec(omega sqrt(d / g)) / d. Returns kWaveOk, or the first failing
// wavvec status (that entry's k is then 0). The caller checks the periods
// and the depth first.
int build_grid(Wavcom& w, float g, float depth, std::span<const float> periods);

// The kernel's work area: 868,245 words (3,472,980 bytes).
inline constexpr std::size_t kHimemWords = 868245;
using Himem = WordRecord<kHimemWords>;

// Words of himem that the spectrum routine touches.
inline constexpr std::size_t kHimemDepthScale = 17;        // real: sqrt(d / g)
inline constexpr std::size_t kHimemFrequencyIndex = 164;   // int: running frequency index
inline constexpr std::size_t kHimemPeakColumn = 19886;     // int: column of the peak-period table
inline constexpr std::size_t kHimemPeakRow = 19910;        // int: row offset of the peak-period table
inline constexpr std::size_t kHimemPool = 19942;           // first word of the storage pool
inline constexpr std::size_t kHimemPeakTable = 19943;      // element (1,1) of the 3-row peak-period table

// Writes a real at a computed word number; false (nothing written) when the
// word lies outside the area.
inline bool store_real(Himem& h, std::int64_t word, float v) {
  if (word < 0 || word >= static_cast<std::int64_t>(kHimemWords)) return false;
  h.set_r(static_cast<std::size_t>(word), v);
  return true;
}

// The session's records.
inline Wavcom& wavcom(Session& s) { return s.state<Wavcom>(); }
inline Himem& himem(Session& s) { return s.state<Himem>(); }

}  // namespace kelp
