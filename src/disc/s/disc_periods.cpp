#include "disc/s/disc_periods.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "disc/s/disc_fits.hpp"
#include "disc/s/disc_forces.hpp"
#include "disc/s/disc_work_area.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/table_search.hpp"
#include "kelpkit/wave_formulas.hpp"
#include "moor/s/work_areas.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

int gridpt(std::span<const float> periods, float omega) {
  const int n = static_cast<int>(periods.size());
  if (n < 2) return 1;
  const auto T = [&](int i) { return periods[static_cast<std::size_t>(i - 1)]; };
  const float p = kDiscTwoPi / omega;
  int flag = kInsideTable;
  int j = 1;
  bsrch(periods, p, flag, j, n);
  int index = j;
  if (std::fabs(T(j + 1) - p) < std::fabs((T(j + 1) - T(j)) / 2.0f)) index = j + 1;
  const bool ascending = T(n) > T(1);
  if (j == 1 && (ascending ? p < T(1) : p > T(1))) index = 1;
  if (j + 1 == n && (ascending ? p > T(n) : p < T(n))) index = n;
  return index;
}

int gridpt(const Tpcm& t, float omega) {
  std::array<float, kWavePeriodsMax> periods{};
  const int n = disc_frequency_count(t);
  for (int i = 0; i < n; ++i) periods[static_cast<std::size_t>(i)] = t.r(kPeriods + static_cast<std::size_t>(i));
  return gridpt(std::span<const float>(periods.data(), static_cast<std::size_t>(n)), omega);
}

int htslop(float depth, float g, int mode, float value, float omega, float& height, float& slope) {
  float kh = 0.0f;
  const int status = wavvec(omega * std::sqrt(depth / g), kh);
  const float k = kh / depth;
  if (mode == 1) {
    slope = value / kDiscDegree;
    height = 2.0f * slope / k;
  } else {
    height = value;
    slope = 0.5f * height * k;
  }
  return status;
}

void avgupd(IteratedValues& x, IteratedValues& previous) {
  for (std::size_t i = 0; i < x.size(); ++i) {
    x[i] = 0.5f * (x[i] + previous[i]);
    previous[i] = x[i];
  }
}

namespace {

constexpr float kPi = 3.1415927f;
constexpr int kPassesPerAttempt = 200;
constexpr int kAveragingFrom = 20;  // passes after which every unsettled pass averages
constexpr int kAskingAttempt = 3;
constexpr int kAcceptReply = 99;

bool positive(float v) { return std::isfinite(v) && v > 0.0f; }
bool given(const Tpcm& t, std::size_t flag) { return t.i(flag) == 1; }
bool is_moored(const Tpcm& t) { return t.i(kMooringFeedback) == 1; }

void set_twice(Himem& h, std::size_t a, std::size_t b, float v) {
  h.set_r(a, v);
  h.set_r(b, v);
}

// The checks before any root or quotient is taken.
const char* invalid_disc(const Tpcm& t, const Wavcom& w) {
  if (w.count < 2 || !positive(w.g)) return "the kernel has not been set up.";
  if (!positive(t.r(kDisplacement))) return "the displacement is not positive.";
  if (!positive(t.r(kWaterDensity))) return "the water density is not positive.";
  if (!positive(t.r(kWaterplaneArea))) return "the water-plane area is not positive.";
  for (RealWord word : {kBuoyancyCentre, kGravityCentre, kDraft, kPitchGyradius, kRollGyradius, kYawGyradius,
                        kMetacentreT, kMetacentreL}) {
    if (!std::isfinite(t.r(word))) return "a hydrostatic value or gyradius is not a number.";
  }
  if (t.i(kBilgeKeel) != 0 && !(std::isfinite(t.r(kBilgeKeelWidth)) && std::isfinite(t.r(kBilgeKeelInboard)))) {
    return "the keel-ring dimensions are not numbers.";
  }
  const int given_modes = is_moored(t) ? kDiscModes : kModeSurge;
  for (int m = 0; m < given_modes; ++m) {
    const DiscModeWords& mw = mode_words(m);
    if (given(t, mw.period_flag) && !positive(t.r(mw.given_period))) return "a given natural period is not positive.";
  }
  return nullptr;
}

}  // namespace

int disc_characteristics(Session& s) {
  const Tpcm& t = s.tpcm;
  const Wavcom& w = wavcom(s);
  if (const char* reason = invalid_disc(t, w)) return disc_refuse(s, reason);
  const float g = w.g;
  const float r = keel_ratio(t);
  const float area = t.r(kWaterplaneArea);
  const float kb = t.r(kBuoyancyCentre);
  const float kg = t.r(kGravityCentre);
  const float draft = t.r(kDraft);

  const float v = t.r(kDisplacement) * 1000.0f / t.r(kWaterDensity);
  const float a = std::sqrt(area / kPi);
  const float freeboard = draft - kg;
  const float radicand = freeboard * freeboard - 2.0f * v * (kb - kg) / area;
  if (!(radicand >= 0.0f)) return disc_refuse(s, "no equivalent thickness for these KB, KG and draft.");
  const float h = freeboard + std::sqrt(radicand);
  if (!positive(h)) return disc_refuse(s, "the equivalent thickness is not positive.");
  const float inertia = v * (t.r(kMetacentreL) - kb);
  const float gm = inertia / v - kg + kb;
  if (!positive(gm)) return disc_refuse(s, "the metacentric height is not positive.");

  // Added-mass coefficient of the spheroid of radius a and half-height h.
  const float ratio = h / a;
  const float c = spheroid_coefficient(s, ratio);

  Himem& hm = himem(s);
  set_twice(hm, kHimemThicknessRatio, kHimemThicknessRatioCopy, ratio);
  set_twice(hm, kHimemWaterplaneInertia, kHimemWaterplaneInertiaCopy, inertia);
  set_twice(hm, kHimemDiameter, kHimemDiameterCopy, 2.0f * a);
  set_twice(hm, kHimemRadius, kHimemRadiusCopy, a);
  set_twice(hm, kHimemVolume, kHimemVolumeCopy, v);
  set_twice(hm, kHimemSwayCoefficient, kHimemSurgeCoefficient, c);
  set_twice(hm, kHimemGml, kHimemGmt, gm);
  hm.set_r(kHimemThickness, h);
  const float centre = (kb * c + kg) / (c + 1.0f);
  set_twice(hm, kHimemRollCentre, kHimemPitchCentre, centre);
  hm.set_r(kHimemInertiaRatio, inertia / (v * gm));
  const float e = (c * h / 2.0f + (h + kg - draft)) / (c + 1.0f) - h;
  hm.set_r(kHimemCentreOffset, e);
  hm.set_r(kHimemCentreOffsetRatio, e / a);

  const float a3 = a * a * a;
  const float a5 = fifth_power(a);
  hm.set_r(kHimemRadiusCubed, a3);
  hm.set_r(kHimemRadiusFifth, a5);
  const float d = h + e - h / 2.0f;
  const auto gyradius2 = [&](RealWord word) { return t.r(word) * t.r(word); };
  hm.set_r(kHimemPitchInertia, v * (d * d * c + gyradius2(kPitchGyradius)));
  hm.set_r(kHimemRollInertia, v * (d * d * c + gyradius2(kRollGyradius)));
  hm.set_r(kHimemYawInertia, v * gyradius2(kYawGyradius));
  hm.set_r(kHimemHeaveRestoring, area * g);
  set_twice(hm, kHimemPitchRestoring, kHimemRollRestoring, v * gm * g);

  float keel_heave = 0.0f;
  float keel_inertia = 0.0f;
  if (t.i(kBilgeKeel) != 0) {
    const float r1 = 1.0f + r;
    const float spread = 1.0f + 1.5f * r;  // 1.5, the keel factor
    keel_heave = a3 * (4.9348025f * (r * r) + 1.333f * (r1 * r1 * r1) - 1.3333f);
    keel_inertia = a5 * 4.935f * (r * r) * (1.0f + r / 2.0f) * (spread * spread);
  }
  hm.set_r(kHimemKeelHeaveMass, keel_heave);
  hm.set_r(kHimemKeelInertia, keel_inertia);
  return kDiscOk;
}

namespace {

// Added masses at the current pitch and heave frequencies, and the totals.
void added_masses(Session& s) {
  Himem& h = himem(s);
  const float g = wavcom(s).g;
  const float a = h.r(kHimemRadius);
  const float wp = h.r(mode_words(kModePitch).frequency);
  const float wh = h.r(mode_words(kModeHeave).frequency);
  const float added_inertia = h.r(kHimemRadiusFifth) * pmasd(wp * wp * a / g);
  const float added_heave = h.r(kHimemRadiusCubed) * hmasd(wh * wh * a / g);
  set_twice(h, kHimemRollAddedInertia, kHimemPitchAddedInertia, added_inertia);
  const float keel = h.r(kHimemKeelInertia);
  h.set_r(kHimemPitchTotalInertia, h.r(kHimemPitchInertia) + added_inertia + keel);
  h.set_r(kHimemRollTotalInertia, added_inertia + h.r(kHimemRollInertia) + keel);
  h.set_r(kHimemHeaveMass, h.r(kHimemVolume) + added_heave + h.r(kHimemKeelHeaveMass));
  h.set_r(kHimemSurgeMass, h.r(kHimemVolume) * (1.0f + h.r(kHimemSurgeCoefficient)));
}

// The total mass or inertia of a mode (surge and sway share one).
float mode_mass(const Himem& h, int mode) {
  switch (mode) {
    case kModePitch: return h.r(kHimemPitchTotalInertia);
    case kModeRoll: return h.r(kHimemRollTotalInertia);
    case kModeHeave: return h.r(kHimemHeaveMass);
    case kModeYaw: return h.r(kHimemYawInertia);
    default: return h.r(kHimemSurgeMass);
  }
}

using ModeValues = std::array<float, kDiscModes>;

// Frequencies from the restoring and the masses, or from the given periods.
// Returns the hydrostatic frequencies of pitch, roll and heave.
ModeValues hydrostatic_frequencies(Session& s) {
  const Tpcm& t = s.tpcm;
  Himem& h = himem(s);
  const std::array<std::size_t, 3> restoring = {kHimemPitchRestoring, kHimemRollRestoring, kHimemHeaveRestoring};
  ModeValues w0{};
  for (int m = kModePitch; m <= kModeHeave; ++m) {
    const DiscModeWords& mw = mode_words(m);
    const float w = given(t, mw.period_flag) ? kDiscTwoPi / t.r(mw.given_period)
                                             : std::sqrt(h.r(restoring[static_cast<std::size_t>(m)]) / mode_mass(h, m));
    h.set_r(mw.frequency, w);
    w0[static_cast<std::size_t>(m)] = w;
  }
  if (is_moored(t)) {
    for (int m = kModeSurge; m <= kModeYaw; ++m) {
      const DiscModeWords& mw = mode_words(m);
      if (given(t, mw.period_flag)) h.set_r(mw.frequency, kDiscTwoPi / t.r(mw.given_period));
    }
  }
  return w0;
}

constexpr std::array<int, kDiscModes> kMotionOfMode = {kMotionPitch, kMotionRoll, kMotionHeave,
                                                       kMotionSurge, kMotionSway, kMotionYaw};

// The mooring stiffness and damping of every mode that computes either, and
// the frequencies they give (heave, pitch, roll, surge, sway, yaw).
void mooring_update(Session& s, DiscMooring& mooring, const ModeValues& w0, PeriodIteration& it) {
  dskfrc(s, kForcesAtModes);
  Tpcm& t = s.tpcm;
  Himem& h = himem(s);
  const Wavcom& w = wavcom(s);
  const float rho = w.mass_density;
  for (int m : {kModeHeave, kModePitch, kModeRoll, kModeSurge, kModeSway, kModeYaw}) {
    const DiscModeWords& mw = mode_words(m);
    const bool period_given = given(t, mw.period_flag);
    const bool damping_given = given(t, mw.damping_flag);
    if (period_given && damping_given) continue;
    const float omega = h.r(mw.frequency);
    float height = 0.0f;
    float slope = 0.0f;
    htslop(t.r(kWaterDepth), w.g, t.i(kConstantSlope), t.r(kRegularHeight), omega, height, slope);
    it.last_height = height;
    it.height_known = true;
    const bool rotation = m == kModePitch || m == kModeRoll || m == kModeYaw;
    const auto slot = static_cast<std::size_t>(kMotionOfMode[static_cast<std::size_t>(m)]);
    MotionAmplitudes amplitude{};
    amplitude[slot] = 0.1f * (rotation ? slope : height);
    const MooringLinearisation small = mooring.linearise(s, amplitude, omega);
    const float stiffness = small.spring[slot];
    float damping = small.damping[slot];
    if (m != kModeYaw) {
      const std::complex<float> x(h.r(mw.response), h.r(mw.response + 1));
      amplitude[slot] = std::abs(x) * w.amplitude_scale * height;
      if (m == kModeSurge) it.surge_amplitude = amplitude[slot];
      damping = mooring.linearise(s, amplitude, omega).damping[slot];
    }
    if (!damping_given) t.set_r(mw.mooring_damping, damping);
    if (period_given) continue;
    t.set_r(mw.stiffness, stiffness);
    float frequency = 0.0f;
    if (m <= kModeHeave) {
      const float w0m = w0[static_cast<std::size_t>(m)];
      frequency = std::sqrt(stiffness / (mode_mass(h, m) * rho) + w0m * w0m);
    } else {
      frequency = stiffness > 0.0f ? std::sqrt(stiffness / (mode_mass(h, m) * rho)) : 1e-15f;
    }
    h.set_r(mw.frequency, frequency);
  }
}

void grid_indices(Session& s) {
  Himem& h = himem(s);
  for (const DiscModeWords& mw : kDiscModeWords) h.i(mw.grid) = gridpt(s.tpcm, h.r(mw.frequency));
}

// The twelve iterated values: six frequencies, then the six mooring damping
// words of surge, sway, yaw, heave, pitch and roll.
constexpr std::array<RealWord, kDiscModes> kDampingWords = {kSurgeDamping,        kSwayDamping,
                                                            kYawDamping,          kHeaveMooringDamping,
                                                            kPitchMooringDamping, kRollMooringDamping};

IteratedValues current_values(Session& s) {
  IteratedValues v{};
  for (std::size_t m = 0; m < kDiscModes; ++m) {
    v[m] = himem(s).r(kDiscModeWords[m].frequency);
    v[kDiscModes + m] = s.tpcm.r(kDampingWords[m]);
  }
  return v;
}

void store_values(Session& s, const IteratedValues& v) {
  for (std::size_t m = 0; m < kDiscModes; ++m) {
    himem(s).set_r(kDiscModeWords[m].frequency, v[m]);
    s.tpcm.set_r(kDampingWords[m], v[kDiscModes + m]);
  }
}

// previous/current within the tolerance. A current 0 settles only on a
// previous 0 (the quotient is then taken as 1).
bool settled(float previous, float current, float tolerance) {
  if (current == 0.0f) return previous == 0.0f;
  return std::fabs(1.0f - previous / current) <= tolerance;
}

bool converged(const IteratedValues& current, const IteratedValues& previous) {
  for (std::size_t i = 0; i < current.size(); ++i) {
    const float tolerance = i < kDiscModes ? 0.01f : 0.05f;
    if (!settled(previous[i], current[i], tolerance)) return false;
  }
  return true;
}

void print_grid(Session& s, const PeriodIteration& it) {
  const int out = disc_out(s);
  fwrite(s, out, "(1X,A)", {std::string("JRR,JR,JPP,JP,JHH,JH,JGG,JSG,JWW,JSW,JYY,JY")});
  std::vector<fmt::Item> items;
  for (int m : {kModeRoll, kModePitch, kModeHeave, kModeSurge, kModeSway, kModeYaw}) {
    items.emplace_back(it.previous_grid[static_cast<std::size_t>(m)]);
    items.emplace_back(himem(s).i(mode_words(m).grid));
  }
  fwrite(s, out, "(12I12)", items);
}

// The question after a run of passes without convergence: true accepts the
// current values, false iterates again; "A" ends the program.
bool accept_current_values(Session& s, int attempt) {
  const int out = disc_out(s);
  fwrite(s, out,
         "(/,' ++> Possible iteration failure in DSKCHR period/damping loop.',//,"
         "'     Completing attempt # ',I2,/,'     Enter 99 to continue with current best estimate OR...')",
         {attempt});
  int reply = 0;
  abort3(s, out, kKeyboard, reply);
  if (reply < 0) throw ProgramStop(kNumericStopStatus);
  return reply == kAcceptReply;
}

enum class Unsettled { next_pass, accepted };

// A moored pass that has not converged: averaging, restarts and the question.
Unsettled unsettled_pass(Session& s, IteratedValues& values, PeriodIteration& it) {
  if (it.pass > kAveragingFrom) {
    avgupd(values, it.previous);
    store_values(s, values);
  }
  if (it.pass <= kPassesPerAttempt) {
    it.previous = values;
    return Unsettled::next_pass;
  }
  ++it.attempt;
  it.pass = 0;
  if (it.attempt < kAskingAttempt) {
    avgupd(values, it.previous);
    store_values(s, values);
    return Unsettled::next_pass;
  }
  return accept_current_values(s, it.attempt) ? Unsettled::accepted : Unsettled::next_pass;
}

}  // namespace

int start_iteration(Session& s, DiscMooring* mooring, PeriodIteration& it) {
  const Tpcm& t = s.tpcm;
  const int n = disc_frequency_count(t);
  if (is_moored(t)) {
    if (mooring == nullptr) return disc_refuse(s, "a moored buoy needs its mooring.");
    if (!mooring->prepare(s)) return kDiscRefused;
  }
  Himem& h = himem(s);
  const float start = wavcom(s).omega[static_cast<std::size_t>(n - 1)];
  for (const DiscModeWords& mw : kDiscModeWords) {
    h.i(mw.grid) = n;
    h.set_r(mw.frequency, start);
  }
  it = PeriodIteration{};
  return kDiscOk;
}

bool period_pass(Session& s, DiscMooring* mooring, PeriodIteration& it) {
  const bool moored = is_moored(s.tpcm) && mooring != nullptr;
  Himem& h = himem(s);
  ++it.pass;
  if (s.tpcm.i(kTraceLevel) == 1) print_grid(s, it);
  for (std::size_t m = 0; m < kDiscModes; ++m) it.previous_grid[m] = h.i(kDiscModeWords[m].grid);

  added_masses(s);
  const ModeValues w0 = hydrostatic_frequencies(s);
  if (moored) mooring_update(s, *mooring, w0, it);
  grid_indices(s);

  if (moored) {
    IteratedValues values = current_values(s);
    if (!converged(values, it.previous)) {
      if (unsettled_pass(s, values, it) == Unsettled::accepted) return true;
      return false;
    }
  }
  grid_indices(s);
  bool repeated = true;
  for (std::size_t m = 0; m < kDiscModes; ++m) repeated = repeated && h.i(kDiscModeWords[m].grid) == it.previous_grid[m];
  return repeated || (!moored && it.pass >= kUnmooredPassLimit);
}

namespace {

// The work done against the mooring over surge amplitudes up to twice the
// larger of the last surge amplitude and wave height (with the surge given,
// eight wave amplitudes), at the table period.
void build_correction_table(Session& s, DiscMooring& mooring, const PeriodIteration& it) {
  const Tpcm& t = s.tpcm;
  const Wavcom& w = wavcom(s);
  const DiscModeWords& surge = mode_words(kModeSurge);
  float height = it.last_height;
  if (!it.height_known) {
    // No mode was evaluated: the wave height at the surge frequency.
    float slope = 0.0f;
    htslop(t.r(kWaterDepth), w.g, t.i(kConstantSlope), t.r(kRegularHeight), himem(s).r(surge.frequency), height,
           slope);
  }
  const bool computed = !given(t, surge.period_flag) || !given(t, surge.damping_flag);
  const float range = computed ? 2.0f * std::max(it.surge_amplitude, height) : 8.0f * w.amplitude_scale * height;
  Lincom& lc = lincom(s);
  const float step = range / static_cast<float>(kTablePoints);
  const float omega = kDiscTwoPi / w.table_period;
  lc.nonlinear_step = step;
  lc.nonlinear_table[0] = 0.0f;
  for (int i = 2; i <= kTablePoints; ++i) {
    MotionAmplitudes amplitude{};
    amplitude[kMotionSurge] = static_cast<float>(i - 1) * step;
    const std::complex<float> z = mooring.linearise(s, amplitude, omega).force[kMotionSurge];
    const auto k = static_cast<std::size_t>(i - 1);
    lc.nonlinear_table[k] = lc.nonlinear_table[k - 1] + std::abs(z) * step;
  }
}

}  // namespace

int dskchr(Session& s, DiscMooring* mooring) {
  if (disc_characteristics(s) != kDiscOk) return kDiscRefused;
  PeriodIteration it;
  if (start_iteration(s, mooring, it) != kDiscOk) return kDiscRefused;
  while (!period_pass(s, mooring, it)) {
  }
  if (is_moored(s.tpcm)) build_correction_table(s, *mooring, it);
  return kDiscOk;
}

}  // namespace kelp
