#include "disc/s/disc_response.hpp"

#include <array>
#include <cmath>
#include <complex>

#include "disc/s/disc_fits.hpp"
#include "disc/s/disc_forces.hpp"
#include "disc/s/disc_work_area.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/table_search.hpp"
#include "moor/s/work_areas.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

[[noreturn]] void level_outside(Session& s, int flag, int out) {
  fwrite(s, out, "(' ++> Nonzero IER = ',I2,' in NLNCOR')", {flag});
  s.write_line(out, "     Press <RETURN> to continue");
  if (!is_silent(out)) s.read_line(kKeyboard);
  throw ProgramStop(kNumericStopStatus);
}

float signed_as(float magnitude, float sign_of) { return sign_of >= 0.0f ? std::fabs(magnitude) : -std::fabs(magnitude); }

}  // namespace

void nlncor(Session& s, std::span<const float> table, float zero_level, float step,
            std::span<const float> amplitudes, float a, float& ac, float k, float side, int points, int& index,
            int kind, int out) {
  const float level = 0.5f * k * a * a;
  int flag = kInsideTable;
  int j0 = 1;
  brackt(table, zero_level, flag, j0, 1, points);
  if (flag != kInsideTable) level_outside(s, flag, out);
  const float signed_a = signed_as(a, side);
  int lower = 0;
  int upper = 0;
  int offset = 0;
  int j = j0;
  if (signed_a < 0.0f) {
    if (j0 == 1) j0 = 2;
    brackt(table, level, flag, j, 1, j0);
    lower = j + 1;
    upper = j;
    offset = j0 - (j + 1);
  } else {
    brackt(table, level, flag, j, j0, points);
    lower = j;
    upper = j + 1;
    offset = j - j0;
  }
  if (flag != kInsideTable) level_outside(s, flag, out);
  index = j;
  if (std::abs(j - j0) <= 1) {
    ac = a;
    return;
  }
  const auto at = [&](int i) { return table[static_cast<std::size_t>(i - 1)]; };
  if (kind == 0) {
    const float fraction = (level - at(lower)) / (at(upper) - at(lower));
    ac = signed_as(step * (fraction + static_cast<float>(offset)), signed_a);
  } else {
    float y = 0.0f;
    interp(table, amplitudes, level, y, j);
    ac = y - amplitudes[static_cast<std::size_t>(j0 - 1)];
  }
}

namespace {

bool given(const Tpcm& t, std::size_t flag) { return t.i(flag) == 1; }

// What every frequency shares.
struct Buoy {
  float a, a3, a5, volume, g, rho;
  bool moored;
};

// X = N / ((wn^2 - we^2) + i beta we).
std::complex<float> response(std::complex<float> n, float wn2, float beta, float we) {
  return scaled_divide(n, {wn2 - we * we, beta * we});
}

// Heave, pitch or roll: restoring over the mass or inertia with its added
// part at this frequency, the mooring's stiffness and damping when moored.
std::complex<float> vertical_response(Session& s, const Buoy& b, int mode, float restoring, float mass,
                                      float total, float factor, std::complex<float> force, float we) {
  const Tpcm& t = s.tpcm;
  const Himem& h = himem(s);
  const DiscModeWords& mw = mode_words(mode);
  const float w = h.r(mw.frequency);
  float wn2 = w * w;
  if (!given(t, mw.period_flag)) {
    wn2 = (b.moored ? t.r(mw.stiffness) / b.rho + restoring : restoring) / mass;
  }
  float beta = w * 0.02f * t.r(mw.given_damping);
  if (!given(t, mw.damping_flag)) {
    const float own = h.r(mw.damping);
    if (!b.moored) {
      beta = w * own;
    } else if (mode == kModeHeave) {
      beta = w * (t.r(mw.mooring_damping) / (w * b.rho * total) + own);
    } else {
      beta = w * (t.r(mw.mooring_damping) / (b.rho * w * total) + own);
    }
  }
  return response(factor * (restoring / mass) * force, wn2, beta, we);
}

// Surge or sway: no restoring unmoored, radiation damping only.
std::complex<float> horizontal_response(Session& s, const Buoy& b, int mode, float c, float x, float k,
                                        std::complex<float> force, float we) {
  const Tpcm& t = s.tpcm;
  const Himem& h = himem(s);
  const DiscModeWords& mw = mode_words(mode);
  const float mass = b.volume * (1.0f + c);
  const float w = h.r(mw.frequency);
  float wn2 = 0.0f;
  float beta = sdmpd(x) * we * b.a3 / mass;
  if (b.moored) {
    wn2 = given(t, mw.period_flag) ? w * w : t.r(mw.stiffness) / (mass * b.rho);
    beta = given(t, mw.damping_flag) ? 0.02f * t.r(mw.given_damping) * w : w * h.r(mw.damping);
  }
  return response(k * (b.g / (c + 1.0f)) * force, wn2, beta, we);
}

// Caps the moored surge response by the work done against the real mooring.
std::complex<float> corrected_surge(Session& s, const Buoy& b, float c, std::complex<float> x) {
  const float a = wavcom(s).response_scale * std::abs(x);
  if (!(a > 0.0f)) return x;
  const Tpcm& t = s.tpcm;
  const DiscModeWords& mw = mode_words(kModeSurge);
  // The stiffness of a given period is the one that period implies.
  const float w = himem(s).r(mw.frequency);
  const float k = given(t, mw.period_flag) ? b.volume * (1.0f + c) * b.rho * w * w : t.r(mw.stiffness);
  const Lincom& lc = lincom(s);
  std::array<float, kTablePoints> amplitudes{};
  for (std::size_t i = 0; i < amplitudes.size(); ++i) amplitudes[i] = static_cast<float>(i) * lc.nonlinear_step;
  float ac = 0.0f;
  int index = 0;
  // On a disc buoy word 787 holds the table kind (0: uniform steps); the
  // table always has uniform steps, which any kind reads alike.
  nlncor(s, lc.nonlinear_table, 0.0f, lc.nonlinear_step, amplitudes, a, ac, k, 0.0f, kTablePoints, index,
         t.i(kTurretFlag), disc_out(s));
  if (std::fabs(a) < std::fabs(ac)) ac = a;
  return x * (ac / a);
}

}  // namespace

void dskrao(Session& s) {
  const Tpcm& t = s.tpcm;
  Himem& h = himem(s);
  const Wavcom& w = wavcom(s);
  Buoy b{h.r(kHimemRadius), h.r(kHimemRadiusCubed), h.r(kHimemRadiusFifth), h.r(kHimemVolume), w.g, w.mass_density,
         t.i(kMooringFeedback) == 1};
  const float speed = t.r(kSpeed) * std::cos((wave_heading(s) - t.r(kMotionDirection)) / kDiscDegree);
  const float heave_restoring = h.r(kHimemHeaveRestoring);
  const float keel_heave = h.r(kHimemKeelHeaveMass);
  const float keel_inertia = h.r(kHimemKeelInertia);
  const int n = disc_frequency_count(t);
  for (int i = 1; i <= n; ++i) {
    h.i(kHimemFrequencyIndex) = i;
    indxup(h);
    const float k = pool_real(h, kHimemWaveNumberAt);
    const float we = pool_real(h, kHimemOmegaAt) - k * speed;
    const float x = b.a * k;
    const float added_inertia = b.a5 * pmasd(x);
    const float added_heave = b.a3 * hmasd(x);

    const float heave_mass = b.volume + added_heave + keel_heave;
    set_pool_complex(h, kHimemHeaveForceAt,
                     vertical_response(s, b, kModeHeave, heave_restoring, heave_mass, h.r(kHimemHeaveMass), 1.0f,
                                       pool_complex(h, kHimemHeaveForceAt), we));
    const float pitch_inertia = h.r(kHimemPitchInertia) + added_inertia + keel_inertia;
    set_pool_complex(h, kHimemPitchForceAt,
                     vertical_response(s, b, kModePitch, h.r(kHimemPitchRestoring), pitch_inertia,
                                       h.r(kHimemPitchTotalInertia), k, pool_complex(h, kHimemPitchForceAt), we));
    set_pool_complex(h, kHimemYawForceAt, {0.0f, 0.0f});
    const float c_surge = h.r(kHimemSurgeCoefficient);
    std::complex<float> surge =
        horizontal_response(s, b, kModeSurge, c_surge, x, k, pool_complex(h, kHimemSurgeForceAt), we);
    if (b.moored) surge = corrected_surge(s, b, c_surge, surge);
    set_pool_complex(h, kHimemSurgeForceAt, surge);
    set_pool_complex(h, kHimemSwayForceAt,
                     horizontal_response(s, b, kModeSway, h.r(kHimemSwayCoefficient), x, k,
                                         pool_complex(h, kHimemSwayForceAt), we));
    const float roll_inertia = h.r(kHimemRollInertia) + added_inertia + keel_inertia;
    set_pool_complex(h, kHimemRollForceAt,
                     vertical_response(s, b, kModeRoll, h.r(kHimemRollRestoring), roll_inertia,
                                       h.r(kHimemRollTotalInertia), k, pool_complex(h, kHimemRollForceAt), we));
  }
}

}  // namespace kelp
