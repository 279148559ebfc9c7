#pragma once
// The top of the disc-buoy kernel: the equivalent disc of the buoy, its
// hydrostatics and inertias, and the iteration of the natural frequencies of
// six modes (pitch, roll, heave, surge, sway, yaw) with, for a moored buoy,
// the quasi-linear mooring stiffness and damping, until frequencies,
// dampings and grid indices settle; then, moored, the nonlinear
// surge-correction table. Results stay in himem and in the disc words of the
// data record for the force, response and report routines.
#include <array>
#include <span>

#include "disc/s/disc_mooring.hpp"
#include "sysutl/record.hpp"

namespace kelp {

class Session;

// Grid index (1..n) of the wave period nearest to 2 pi / omega in a table
// that rises or falls; a period exactly halfway takes the lower index, and
// beyond either end the end entry.
int gridpt(std::span<const float> periods, float omega);
// Over the n periods of the data record.
int gridpt(const Tpcm& t, float omega);

// Height and maximum slope (radians) of the wave of frequency omega in water
// of the depth: mode 1 reads value as the slope in degrees, any other mode
// as the height. Returns wavvec's status (kWaveOk).
int htslop(float depth, float g, int mode, float value, float omega, float& height, float& slope);

// Twelve values and their previous values: each becomes the mean of the two,
// and the previous value that mean.
using IteratedValues = std::array<float, 12>;
void avgupd(IteratedValues& x, IteratedValues& previous);

// The equivalent disc, hydrostatics and inertias, after checking the words
// they take roots and quotients of. Refused: message, nothing computed.
int disc_characteristics(Session& s);

// The state of the natural-period iteration between passes.
struct PeriodIteration {
  int pass = 0;
  int attempt = 0;
  std::array<int, 6> previous_grid{};  // pitch, roll, heave, surge, sway, yaw
  IteratedValues previous{};           // six frequencies, then damping words 1382..1387
  float last_height = 0.0f;            // wave height of the last mode evaluation
  float surge_amplitude = 0.0f;        // surge amplitude of the last surge evaluation
  bool height_known = false;
};

// Starts the iteration: every grid index n, every mode frequency the grid's
// last frequency, and for a moored buoy the static line state.
int start_iteration(Session& s, DiscMooring* mooring, PeriodIteration& it);

// One pass. true when the iteration has ended (converged, or the current
// values accepted at the recovery question).
bool period_pass(Session& s, DiscMooring* mooring, PeriodIteration& it);

// The passes of an unmoored buoy end here at the latest, with the values of
// the last pass, should the grid indices never repeat.
inline constexpr int kUnmooredPassLimit = 200;

// The whole of it: characteristics, iteration and, moored, the table. A
// moored buoy (word 779 = 1) needs its mooring. kDiscOk or kDiscRefused.
int dskchr(Session& s, DiscMooring* mooring = nullptr);

}  // namespace kelp
