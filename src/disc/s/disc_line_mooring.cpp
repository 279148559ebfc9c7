#include "disc/s/disc_line_mooring.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>

#include "disc/s/disc_work_area.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/array_utils.hpp"
#include "kelpkit/linear_algebra.hpp"
#include "kelpkit/table_search.hpp"
#include "moor/catlib/catenary.hpp"
#include "moor/catlib/line_type.hpp"
#include "moor/morlib/load_tables.hpp"
#include "moor/s/line_driver.hpp"
#include "moor/s/line_dynamics.hpp"
#include "moor/s/work_areas.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

constexpr float kHalfPi = 1.5707964f;
constexpr float kNearlyHorizontal = 0.02f;  // |cos phi| at or below: the tangent is nearly horizontal
constexpr float kFeetPerInch = 0.0833f;
constexpr float kMetresPerMillimetre = 0.001f;
constexpr int kSecondBodyKind = 13;

struct LeftOutWarning {
  bool shown = false;
};

// Kind 13 solves the lines of its second body: the second body's vessel
// block stands in for the first's meanwhile, and goes back however the
// solution ends.
class SecondBodyBlock {
 public:
  explicit SecondBodyBlock(Tpcm& tp) : tp_(tp), on_(tp.i(kProgramKind) == kSecondBodyKind) { exchange(); }
  ~SecondBodyBlock() { exchange(); }
  SecondBodyBlock(const SecondBodyBlock&) = delete;
  SecondBodyBlock& operator=(const SecondBodyBlock&) = delete;

 private:
  void exchange() {
    if (!on_) return;
    const auto w = tp_.words();
    swpcom(static_cast<int>(kVesselBlockWords), w.subspan(kVesselBlock + kTwinOffset, kVesselBlockWords),
           w.subspan(kVesselBlock, kVesselBlockWords));
  }
  Tpcm& tp_;
  bool on_;
};

std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }

void leave_out(Session& s, int line) {
  bool& shown = s.state<LeftOutWarning>().shown;
  if (shown) return;
  shown = true;
  fwrite(s, disc_out(s),
         "(' ++> Mooring line',I4,' left out of the mooring springs and dampings:',/,"
         "'     no positive horizontal tension at its range, or no static line state.')",
         {line});
}

// The angle (from the vertical) of the chord direction, from the rates of
// top tension per fairlead rise and per range.
float chord_angle(float rise, float range) {
  const float a = range != 0.0f ? std::atan(rise / range) : (rise < 0.0f ? -kHalfPi : kHalfPi);
  return a + kHalfPi;
}

Vec3 cross(const Vec3& a, const Vec3& b) {
  Vec3 c{};
  xprod(a, b, c);
  return c;
}

// A line's state at its fairlead distance, from its type's load tables.
struct TableState {
  float inclination = 0.0f;     // fairlead angle below the horizontal, radians
  float tension = 0.0f;         // horizontal tension
  float top_tension = 0.0f;
  float bottom_angle = 0.0f;
  float bottom_length = 0.0f;
};

TableState table_state(const Lincom& lc, int k, int t, float x, int points) {
  const auto range = Lincom::column(lc.range_table, k, t);
  int flag = kInsideTable;
  int m = 1;
  bsrch(range, x, flag, m, points);
  TableState st;
  interp(range, Lincom::column(lc.top_angle_table, k, t), x, st.inclination, m);
  interp(range, lc.tension_points, x, st.tension, m);
  interp(range, Lincom::column(lc.top_tension_table, k, t), x, st.top_tension, m);
  interp(range, Lincom::column(lc.bottom_angle_table, k, t), x, st.bottom_angle, m);
  interp(range, Lincom::column(lc.bottom_length_table, k, t), x, st.bottom_length, m);
  return st;
}

// The line work area at the line's tension: weights and strain
// coefficients scaled at H and at the tension step, the mean tensions, and
// the element that reaches the bottom.
void set_line_state(Session& s, Lincom& lc, LineType& lt, const TableState& st, int k) {
  const double H = st.tension;
  const int n = lt.nelem;
  lc.ityp = lt.t;
  lc.hmean = st.tension;
  lc.dphld = H;
  lc.dphld2 = H * (1.0 + lc.dhfrac);
  lc.tpten0 = st.top_tension;
  const double tb = std::tan(static_cast<double>(st.bottom_angle));
  lc.btten0 = std::sqrt(1.0 + tb * tb) * H;
  if (lc.strain_law_master != 0 && lt.strain_law_bits != 0) load_alphas(s, lc, lt, H, k);
  sclwld(lc.sclwt_pert, lt.weight, lc.dphld2, n);
  betald(lt.alpha, lc.scaled_coef_pert, lc.dphld2, n);
  sclwld(lc.sclwt, lt.weight, H, n);
  betald(lt.alpha, lc.scaled_coef, H, n);
  lc.touchdown_element = 0;
  if (lt.grounding != 0 && st.bottom_length > 0.0f) {
    float weight = 0.0f;
    float unstretched = 0.0f;
    tuchdn(st.bottom_length, lt.weight, lt.length, lc.scaled_coef, n, lc.bottom_tangent, weight, lc.touchdown_element,
           unstretched);
  }
}

// Adds a line's force and moment to each component of non-zero amplitude.
void accumulate(const MotionAmplitudes& amplitude, float omega, const CVec3& force, const CVec3& moment,
                MooringLinearisation& r) {
  const std::complex<float> load[kMotionComponents] = {force[0], force[1], force[2], moment[0], moment[1], moment[2]};
  for (std::size_t c = 0; c < std::size(load); ++c) {
    const float a = amplitude[c];
    if (a == 0.0f) continue;
    r.spring[c] += std::fabs(load[c].real() / a);
    if (omega != 0.0f) r.damping[c] += std::fabs(load[c].imag() / (omega * a));
    r.force[c] += load[c];
  }
}

}  // namespace

void dynspr(Session& s, const MotionAmplitudes& amplitude, float omega, std::span<const float> distance,
            MooringLinearisation& r) {
  r = MooringLinearisation{};
  const Tpcm& tp = s.tpcm;
  Lincom& lc = lincom(s);
  Catcom& cc = catcom(s);
  const int lines = std::clamp(tp.i(kMooringLegs), 0, kLegCapacity);
  const int points = std::clamp(tp.i(kInterpTableSize), 2, kTablePoints);
  const int k = std::clamp(lc.layer, 1, kLayerColumns);
  const float draft = tp.r(kDraft);
  const bool along_tangent = tp.i(kEndTangentSource) == 0;
  const float unit = tp.i(kUnitSystem) == 0 ? kFeetPerInch : kMetresPerMillimetre;
  const float mean_heading = equilb(s).heading;
  const Vec3 theta = {amplitude[kMotionRoll], amplitude[kMotionPitch], amplitude[kMotionYaw]};

  for (int line = 1; line <= lines; ++line) {
    const auto l = ix(line);
    const std::int32_t code = lc.request_code[l];
    if (code > kRequestTypeModulus) continue;
    const int t = code % kRequestTypeModulus;
    const float x = l < distance.size() ? distance[l] : 0.0f;
    const std::size_t top = Catcom::node_index(1, line);
    if (t < 1 || t > kLineTypeCapacity || cc.dxsdh[top] == 0.0f) {
      leave_out(s, line);
      continue;
    }
    const TableState st = table_state(lc, k, t, x, points);
    if (!(st.tension > 0.0f)) {
      leave_out(s, line);
      continue;
    }
    const float phi = st.inclination + kHalfPi;
    const float psi = angsym(lc.heading[l] / kDiscDegree - mean_heading);
    const float sphi = std::sin(phi);
    const float cphi = std::cos(phi);
    const float spsi = std::sin(psi);
    const float cpsi = std::cos(psi);

    // The fairlead and its displacement.
    const auto at = [&](int coord) { return tp.r(*fairlead_word(line, coord)); };
    const Vec3 rf = {at(1), at(2), at(3) - draft};
    const Vec3 turn = cross(theta, rf);
    const Vec3 d = {amplitude[kMotionSurge] + turn[0], amplitude[kMotionSway] + turn[1],
                    amplitude[kMotionHeave] + turn[2]};

    // The dynamic tension from the fairlead motion along the line.
    Vec3 u{};
    rctngl(phi, psi, u);
    Vec3 axis = u;
    if (!along_tangent) rctngl(chord_angle(cc.top_rise_rate[l], cc.top_range_rate[l]), psi, axis);
    LineType lt = read_line_type(tp, t);
    set_line_state(s, lc, lt, st, k);
    cc.top_motion = {-dotp(d, axis), 0.0f};
    cc.bottom_motion = {};
    const DynamicLineInput in{.line = line, .omega = omega, .diameter_unit = unit, .range = x};
    DynamicLineOutput dyn;
    dyncod(s, lc, cc, in, dyn);
    if (dyn.status == 0) continue;
    const std::complex<float> td = dyn.top_tension;

    // The change of the line's direction: out of its plane, and in it from
    // the changes of top tension (q1), horizontal tension (q2) and minus the
    // vertical force (q3).
    const Vec3 nrm = cross(u, Vec3{0.0f, 0.0f, 1.0f});
    const float across = x * vmod(nrm);
    const float dpsi = across != 0.0f ? dotp(nrm, d) / across : 0.0f;
    const float sh = -cpsi * d[0] - spsi * d[1];
    const float dz = d[2];
    const float q1 = dz * cc.top_rise_rate[l] + cc.top_range_rate[l] * sh;
    const float q2 = (sh - dz * cc.dxsdzf[top]) / cc.dxsdh[top];
    const float q3 = dz * cc.vforce_rise_rate[l] + cc.vforce_tension_rate[l] * q2;
    const float t0 = st.top_tension;
    float dphi = 0.0f;
    if (t0 > 0.0f) {
      dphi = std::fabs(cphi) <= kNearlyHorizontal ? (q1 * cphi - q3) / (sphi * t0) : (q2 - q1 * sphi) / (cphi * t0);
    }
    const Vec3 spin = cross(u, theta);
    const Vec3 du = {cphi * cpsi * dphi - sphi * spsi * dpsi + spin[0],
                     sphi * cpsi * dpsi + cphi * spsi * dphi + spin[1], -sphi * dphi + spin[2]};

    // Force T0 du + u Td, and its moment about the reference point.
    CVec3 force{};
    for (std::size_t c = 0; c < 3; ++c) force[c] = {t0 * du[c] + u[c] * td.real(), u[c] * td.imag()};
    CVec3 moment{};
    cxprod(rf, force, moment);
    accumulate(amplitude, omega, force, moment, r);
  }
}

bool LineMooring::prepare(Session& s) {
  const SecondBodyBlock second_body(s.tpcm);
  Lincom& lc = lincom(s);
  lindrv(s, lc, catcom(s), lc.ranchr, lc.line_offset);
  return true;
}

MooringLinearisation LineMooring::linearise(Session& s, const MotionAmplitudes& amplitude, float omega) {
  MooringLinearisation r;
  dynspr(s, amplitude, omega, lincom(s).ranchr, r);
  return r;
}

}  // namespace kelp
