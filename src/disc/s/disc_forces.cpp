#include "disc/s/disc_forces.hpp"

#include <array>
#include <cmath>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "disc/s/disc_fits.hpp"
#include "disc/s/disc_work_area.hpp"
#include "kelpkit/integration.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

float pitch_pd(float ratio2, float inertia_ratio, float e, float ch, float x, float j2x, float xp, float j2xp) {
  if (xp > 0.0f && j2x != 0.0f) {
    const float t = x / xp;
    return ratio2 * inertia_ratio * e * (j2xp / j2x) * (t * t);
  }
  const float limit = xp > 0.0f ? j2xp / (xp * xp) : 0.125f;
  return ratio2 * inertia_ratio * 8.0f * ch * limit;
}

std::complex<float> scaled_divide(std::complex<float> a, std::complex<float> b) {
  const float br = b.real();
  const float bi = b.imag();
  if (std::fabs(br) >= std::fabs(bi)) {
    const float r = bi / br;
    const float d = br + bi * r;
    return {(a.real() + a.imag() * r) / d, (a.imag() - a.real() * r) / d};
  }
  const float r = br / bi;
  const float d = br * r + bi;
  return {(a.real() * r + a.imag()) / d, (a.imag() * r - a.real()) / d};
}

namespace {

constexpr float kHalfPi = 1.5707964f;
constexpr float kNudge = 1e-10f;  // a heading or cosine of exactly 0 becomes this
constexpr float kDeepWater = 60.0f;

bool given(const Tpcm& t, std::size_t flag) { return t.i(flag) == 1; }

// The speed word is 0 for the evaluations at the mode frequencies and has
// its value back afterwards, however the call ends.
class SpeedHeld {
 public:
  explicit SpeedHeld(Tpcm& t) : t_(t), saved_(t.r(kSpeed)) { t_.set_r(kSpeed, 0.0f); }
  ~SpeedHeld() { t_.set_r(kSpeed, saved_); }
  SpeedHeld(const SpeedHeld&) = delete;
  SpeedHeld& operator=(const SpeedHeld&) = delete;

 private:
  Tpcm& t_;
  float saved_;
};

[[noreturn]] void bessel_failure(Session& s, int out) {
  clear(s, out);
  s.write_line(out, "");
  s.write_line(out, " ++> BESSEL function error. Increase smallest period and retry");
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
  throw ProgramStop(kNumericStopStatus);
}

// What the cases share: the disc, the keel factors and the depth.
struct Disc {
  float a, a3, a5, h, ratio, c, volume, depth, draft, pitch_centre_depth;
  float keel_factor, keel_square;
};

// The depth-attenuation factors at wave number k.
struct DepthFactors {
  float ch, ct, cp, s1, s2;
};

DepthFactors depth_factors(const Disc& d, float k, float x) {
  DepthFactors f{};
  const float kd = d.depth / d.a * x;
  const float kh = k * d.h;
  if (kd <= kDeepWater) {
    const float cosh_kd = std::cosh(kd);
    const float sinh_below = std::sinh(k * (d.depth - d.h));
    f.ch = std::cosh(k * (d.depth - d.h)) / cosh_kd;
    f.ct = std::cosh(k * (d.depth - d.draft + 2.7f)) / cosh_kd;
    f.cp = std::cosh(k * (d.depth - d.pitch_centre_depth)) / cosh_kd;
    f.s1 = (std::tanh(kd) - sinh_below / cosh_kd) / x;
    f.s2 = (kh * sinh_below / cosh_kd + f.ch - 1.0f) / (x * x);
  } else {
    f.ch = std::exp(-kh);
    f.ct = std::exp(-k * (d.draft - 2.7f));
    f.cp = std::exp(-k * d.pitch_centre_depth);
    f.s1 = (1.0f - f.ch) / x;
    f.s2 = ((kh + 1.0f) * f.ch - 1.0f) / (x * x);
  }
  return f;
}

// The forces of one case, with the terms the dampings and responses reuse.
struct CaseForces {
  std::complex<float> pitch, roll, heave, surge, sway, yaw;
  float added_inertia;  // Mp
  float added_heave;    // Mh
};

CaseForces case_forces(Session& s, const Disc& d, float beta, float k, float we) {
  const Himem& h = himem(s);
  const int out = disc_out(s);
  const float sb = std::sin(beta);
  float cb = std::cos(beta);
  if (cb == 0.0f) cb = kNudge;
  const float x = k * d.a;
  const float xp = std::fabs(x - kHalfPi);
  const DepthFactors f = depth_factors(d, k, x);

  const float tolerance = h.r(kHimemBesselTolerance);
  float j0 = 0.0f;
  float j1 = 0.0f;
  float j2 = 0.0f;
  for (auto [order, value] : {std::pair<int, float*>{0, &j0}, {1, &j1}, {2, &j2}}) {
    int ier = kBesjOk;
    besj(x, order, *value, tolerance, ier);
    if (ier != kBesjOk) bessel_failure(s, out);
  }
  float j2p = 0.0f;
  if (xp > 0.0f) {
    int ier = kBesjOk;
    besj(xp, 2, j2p, tolerance, ier);
  }

  CaseForces r{};
  const float ivgm = h.r(kHimemInertiaRatio);
  const float wp = h.r(mode_words(kModePitch).frequency);
  const float wh = h.r(mode_words(kModeHeave).frequency);
  const float e = 8.0f * f.ch * j2 / (x * x);
  const float pf = ivgm * 8.0f * f.s2 * j1 / x;
  const float ps = ivgm * e;
  const float q = 2.0f * f.s1 * (j1 / x) / d.ratio;
  const float pc = pf - h.r(kHimemCentreOffsetRatio) * q * ivgm * d.ratio * 4.0f;
  r.added_inertia = h.r(kHimemKeelInertia) * f.ct + d.a5 * pmasd(x) * f.cp;
  const float bp = d.a5 * pdmpd(x);
  const float rp = we / wp;
  const float pd = pitch_pd(rp * rp, r.added_inertia / h.r(kHimemPitchTotalInertia), e, f.ch, x, j2, xp, j2p);
  const std::complex<float> rotation(pd * bp / r.added_inertia, -ps - pc + pd - d.c * pc);
  r.pitch = -cb * rotation;
  r.roll = sb * rotation;

  const float heave_mass = h.r(kHimemHeaveMass);
  const float bh = d.a3 * hdmpd(x);
  r.added_heave = h.r(kHimemKeelHeaveMass) * f.ct + d.a3 * hmasd(x) * f.cp;
  const float rh = we / wh;
  const float gh = 2.0f * (j1 / x) * (r.added_heave / heave_mass) * (rh * rh);
  r.heave = {2.0f * f.ch * j1 / x - gh, gh * bh / heave_mass};

  const float sigma = j0 * d.c * f.s1 / d.ratio;
  const std::complex<float> translation(3.0f * sigma * sdmpd(x) / d.c, q + sigma);
  r.surge = cb * translation;
  r.sway = sb * translation;
  r.yaw = {kNudge, kNudge};
  return r;
}

void store_forces(Himem& h, const CaseForces& f) {
  set_pool_complex(h, kHimemHeaveForceAt, f.heave);
  set_pool_complex(h, kHimemSurgeForceAt, f.surge);
  set_pool_complex(h, kHimemSwayForceAt, f.sway);
  set_pool_complex(h, kHimemPitchForceAt, f.pitch);
  set_pool_complex(h, kHimemRollForceAt, f.roll);
  set_pool_complex(h, kHimemYawForceAt, f.yaw);
}

const std::complex<float>& mode_force(const CaseForces& f, int mode) {
  switch (mode) {
    case kModePitch: return f.pitch;
    case kModeRoll: return f.roll;
    case kModeHeave: return f.heave;
    case kModeSurge: return f.surge;
    case kModeSway: return f.sway;
    default: return f.yaw;
  }
}

// The quasi-linear damping of one mode at its own frequency (selector 0).
void mode_damping(Session& s, const Disc& d, int mode, int index, float beta_sin, float beta_cos, float k,
                  const CaseForces& forces) {
  const Tpcm& t = s.tpcm;
  Himem& h = himem(s);
  const Wavcom& w = wavcom(s);
  const DiscModeWords& mw = mode_words(mode);
  const float g = w.g;
  const float rho = w.mass_density;
  const float wm = h.r(mw.frequency);
  const float x = k * d.a;

  float kd = 0.0f;
  wavvec(s, h.r(kHimemDepthScale) * wm, kd);
  float height = 0.0f;
  float slope = 0.0f;
  if (t.i(kConstantSlope) == 0) {
    height = t.r(kRegularHeight) * w.amplitude_scale;
    slope = kd * height / d.depth;
  } else {
    slope = 2.0f * w.amplitude_scale * t.r(kRegularHeight) / kDiscDegree;
    height = d.depth * slope / kd;
  }
  h.set_r(kHimemWaveSlope, slope);

  const bool translation = mode == kModeSurge || mode == kModeSway;
  const float mass = d.volume * (1.0f + d.c);
  float force = std::abs(mode_force(forces, mode));
  float amplitude = 0.0f;
  if (translation) {
    const auto i = static_cast<std::size_t>(index - 1);
    const float wi = w.omega[i];
    const float velocity = wi * height / (wi * wi / (g * w.wave_number[i]));
    amplitude = velocity / h.r(mode_words(kModeSurge).frequency);
    const float side = mode == kModeSurge ? beta_cos : beta_sin;
    const float spring = given(t, mw.period_flag) ? side * amplitude * wm * wm / (mass * rho)
                                                  : t.r(mw.stiffness) * side * amplitude;
    const float resistance = given(t, mw.damping_flag) ? side * 2e-05f * t.r(mw.given_damping) * wm * mass * rho * velocity
                                                       : t.r(mw.mooring_damping) * side * velocity;
    force = std::abs(std::complex<float>(spring, resistance));
  }
  h.set_r(kHimemForceMagnitude, force);

  float damping = 0.0f;
  if (mode == kModePitch || mode == kModeRoll) {
    const float q = mode == kModeRoll ? h.r(kHimemRollAddedInertia) / h.r(kHimemRollTotalInertia)
                                      : h.r(kHimemPitchAddedInertia) / h.r(kHimemPitchTotalInertia);
    const float root = std::sqrt(4.0f * force * slope * h.r(kHimemCentreFactor) * d.keel_factor / (0.1f * 0.1f * q) + 1.0f);
    damping = (0.424f * root + 0.576f) * 0.1f * q;
  } else if (mode == kModeHeave) {
    const float q = force * (2.0f / (height * wm * wm / g)) / d.keel_square;
    const float p = hdmpd(x) * (d.a / height) * 0.63661975f / d.keel_square;
    const float z = std::sqrt(std::sqrt(p * p / 4.0f + q) - p / 2.0f);
    damping = z > 0.0f ? force / z : 0.0f;
  } else if (translation) {
    const float zr = d.a3 * sdmpd(x) / mass;
    const float zm = t.r(mw.given_damping) / (rho * mass * wm);
    const float s1 = t.r(kCurrentArea) * 0.5f * amplitude / mass;
    float u = 0.0f;
    if (s1 == 0.0f) {
      u = std::sqrt(zm + 1.0f) / (zr + zm);  // the limit for no current area
    } else {
      const float tt = (zr + zm) / s1;
      u = (std::sqrt(4.0f * std::sqrt(zm + 1.0f) / s1 + tt * tt) - tt) / 2.0f;
    }
    damping = force / (rho * amplitude * mass * wm * wm * std::sqrt(u * u + 1.0f));
  }
  if (mode != kModeYaw) h.set_r(mw.damping, damping);
  if (t.i(kTraceLevel) == 1) {
    fwrite(s, disc_out(s), "(1X,7E10.4)", {wm, kd, height, slope, force, amplitude, damping});
  }
}

// The complex response of a moored mode at its own frequency (selector 0).
void mode_response(Session& s, const Disc& d, int mode, float k, float we, const CaseForces& f) {
  const Tpcm& t = s.tpcm;
  Himem& h = himem(s);
  const Wavcom& w = wavcom(s);
  const DiscModeWords& mw = mode_words(mode);
  if (mode == kModeYaw) {
    h.set_r(mw.response, 0.0f);
    h.set_r(mw.response + 1, 0.0f);
    return;
  }
  const float rho = w.mass_density;
  const float wm = h.r(mw.frequency);
  const bool period_given = given(t, mw.period_flag);
  const bool damping_given = given(t, mw.damping_flag);
  float wn2 = wm * wm;
  float beta = wm * 0.02f * t.r(mw.given_damping);
  std::complex<float> n;
  if (mode == kModeHeave) {
    const float restoring = h.r(kHimemHeaveRestoring);
    const float mass = d.volume + f.added_heave;
    if (!period_given) wn2 = (t.r(mw.stiffness) / rho + restoring) / mass;
    if (!damping_given) beta = wm * (t.r(mw.mooring_damping) / (wm * rho * h.r(kHimemHeaveMass)) + h.r(mw.damping));
    n = (restoring / mass) * f.heave;
  } else if (mode == kModePitch || mode == kModeRoll) {
    const float restoring = h.r(kHimemPitchRestoring);
    const float inertia = h.r(kHimemPitchInertia) + f.added_inertia + h.r(kHimemKeelInertia);
    const float total = h.r(mode == kModePitch ? kHimemPitchTotalInertia : kHimemRollTotalInertia);
    if (!period_given) wn2 = (t.r(mw.stiffness) / rho + restoring) / inertia;
    if (!damping_given) beta = wm * (t.r(mw.mooring_damping) / (rho * wm * total) + h.r(mw.damping));
    n = k * (restoring / inertia) * mode_force(f, mode);
  } else {
    const float mass = d.volume * (1.0f + d.c);
    if (!period_given) wn2 = t.r(mw.stiffness) / (mass * rho);
    if (!damping_given) beta = wm * h.r(mw.damping);
    n = k * (w.g / (d.c + 1.0f)) * mode_force(f, mode);
  }
  const std::complex<float> x = scaled_divide(n, {wn2 - we * we, we * beta});
  h.set_r(mw.response, x.real());
  h.set_r(mw.response + 1, x.imag());
}

void print_case(Session& s, int out, int m, float omega, float k, float we, float u, const Disc& d) {
  const Himem& h = himem(s);
  fwrite(s, out, "(1X,I5)", {m});
  fwrite(s, out, "(' LW,LWK',5I5)", {h.i(kHimemOmegaAt), h.i(kHimemWaveNumberAt)});
  fwrite(s, out, "(1X,A)", {std::string(" RLDUM(LW),RLDUM(LWK),WENC,VCOMP,XSCALE,EDRAFT")});
  fwrite(s, out, "(4E12.4)", {omega, k, we, u, d.a, d.h});
}

}  // namespace

void dskfrc(Session& s, int selector) {
  Tpcm& t = s.tpcm;
  Himem& h = himem(s);
  const int out = disc_out(s);
  const bool diagnostics = t.i(kTraceLevel) == 1;

  Disc d{};
  d.a = h.r(kHimemRadius);
  d.a3 = h.r(kHimemRadiusCubed);
  d.a5 = h.r(kHimemRadiusFifth);
  d.h = h.r(kHimemThickness);
  d.volume = h.r(kHimemVolume);
  d.depth = t.r(kWaterDepth);
  d.draft = t.r(kDraft);
  d.keel_factor = 1.5f;
  d.keel_square = 1.0f;
  if (t.i(kBilgeKeel) != 0) {
    const float r1 = 1.0f + keel_ratio(t);
    d.keel_factor = 1.5f * fifth_power(r1);
    d.keel_square = r1 * r1;
  }

  // Hydrostatic scale factors.
  const float area_scale = 0.001f * t.r(kWaterDensity) * t.r(kWaterplaneArea);
  const float heave_scale = d.h * area_scale / kDiscDegree;
  h.set_r(kHimemScaleFactors + 2, area_scale);
  h.set_r(kHimemScaleFactors, heave_scale);
  h.set_r(kHimemScaleFactors + 1, heave_scale);
  h.set_r(kHimemScaleFactors + 4, h.r(kHimemGml) * heave_scale);
  h.set_r(kHimemScaleFactors + 5, h.r(kHimemGml) * heave_scale);
  h.set_r(kHimemScaleFactors + 3, h.r(kHimemGmt) * heave_scale);

  d.ratio = d.h / d.a;
  h.set_r(kHimemThicknessRatio, d.ratio);
  h.set_r(kHimemThicknessRatioCopy, d.ratio);
  d.c = spheroid_coefficient(s, d.ratio);
  h.set_r(kHimemSwayCoefficient, d.c);
  h.set_r(kHimemSurgeCoefficient, d.c);
  d.pitch_centre_depth = 0.287f * d.a + d.h;
  h.set_r(kHimemDepthRatio, d.depth / d.a);
  const float centre = h.r(kHimemRollCentre);
  h.set_r(kHimemCentreFactor, fifth_power(1.0f - t.r(kBilgeRadius) / std::sqrt(centre * centre + d.a * d.a)));
  if (diagnostics) {
    std::vector<fmt::Item> items;
    for (std::size_t i = 0; i < 6; ++i) items.emplace_back(h.r(kHimemScaleFactors + i));
    items.emplace_back(d.c);
    fwrite(s, out, "(1X,7E10.4)", items);
  }

  const bool at_modes = selector == kForcesAtModes;
  const bool moored = t.i(kMooringFeedback) == 1;
  std::optional<SpeedHeld> held;
  if (at_modes) held.emplace(t);
  const int cases = at_modes ? (moored ? kDiscModes : 3) : disc_frequency_count(t);
  const float heading = wave_heading(s);
  const float speed = t.r(kSpeed) * std::cos((heading - t.r(kMotionDirection)) / kDiscDegree);
  constexpr std::array<int, kDiscModes> kCaseMode = {kModeRoll, kModePitch, kModeHeave, kModeSurge, kModeSway, kModeYaw};

  for (int m = 1; m <= cases; ++m) {
    int index = m;
    float beta = heading / kDiscDegree;
    int mode = kModeYaw;
    if (at_modes) {
      mode = kCaseMode[static_cast<std::size_t>(m - 1)];
      index = h.i(mode_words(mode).grid);
      beta = mode == kModeRoll || mode == kModeSway ? kHalfPi : 0.0f;
    }
    if (beta == 0.0f) beta = kNudge;
    h.i(kHimemFrequencyIndex) = index;
    indxup(h);
    const float omega = pool_real(h, kHimemOmegaAt);
    const float k = pool_real(h, kHimemWaveNumberAt);
    const float we = omega - k * speed;
    if (diagnostics) print_case(s, out, m, omega, k, we, speed, d);
    const CaseForces f = case_forces(s, d, beta, k, we);
    store_forces(h, f);
    if (!at_modes) continue;
    float cb = std::cos(beta);
    if (cb == 0.0f) cb = kNudge;
    mode_damping(s, d, mode, index, std::sin(beta), cb, k, f);
    if (moored) mode_response(s, d, mode, k, we, f);
  }
}

}  // namespace kelp
