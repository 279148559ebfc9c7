#include "moor/catlib/line_stiffness.hpp"

#include <cmath>
#include <limits>
#include <string>

#include "edlib/record/data_record.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/root_finders.hpp"
#include "kelpkit/work_areas.hpp"
#include "moor/catlib/catenary.hpp"
#include "moor/s/line_trace.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {
namespace {

// One of kelast's warnings for element i of type t, then the abort question;
// "A" stops the program. The type is written in two digits like the element,
// but types run to 149, so one above 99 takes three.
void kelast_warning(Session& s, int out, bool slope, int t, int i) {
  const std::string where = std::string("14X,'in line (type,element) = (',") + number_field(t) + ",',',I2,').'/";
  if (slope) {
    fwrite(s, out,
           "(/' ++> Warning: A negative stress-strain curve slope was ','encountered'/" + where +
               "14X,'The slope value will be replaced by infinity'/"
               "14X,'(inextensible line) if you choose to continue')",
           {t, i});
  } else {
    fwrite(s, out,
           "(/' ++> Warning: A negative dry segment weight was ','encountered'/" + where +
               "14X,'The weight value will be replaced by zero'/"
               "14X,'(weightless line) if you choose to continue')",
           {t, i});
  }
  s.tpcm.i(kNavCode) = 0;
  int reply = 0;
  abort0(s, out, kKeyboard, reply);
  s.tpcm.i(kNavCode) = reply;
  if (reply == -1) throw ProgramStop(kNumericStopStatus);
}

// Integer part of a non-negative q, saturating.
template <class T>
int int_part(T q) {
  if (!(q < static_cast<T>(std::numeric_limits<int>::max()))) return std::numeric_limits<int>::max();
  return static_cast<int>(q);
}

template <class T>
void layer_position(int n, int r, T d, T s, T z, int& k, T& f, int& o) {
  if (!(d > T(0))) {
    k = 1;
    f = T(0);
    o = 1;
    return;
  }
  const T e = (T(1) - static_cast<T>(r)) * d;
  o = (z > s + e || z < e) ? 1 : 0;
  if (n < 2) {
    k = 1;
    f = T(0);
    return;
  }
  if (o == 0) {
    const T q = (z - e) / d;
    k = int_part(q) + 1;
    f = q - static_cast<T>(k - 1);
  } else if (z > T(0)) {
    k = n - 1;
    f = (z - (s + e)) / d + T(1);
  } else {
    k = 1;
    f = (z - e) / d;
  }
  // Keep the column and the one after it inside the grid; the position
  // (k - 1) + f stays the same.
  if (k > n - 1) {
    f += static_cast<T>(k - (n - 1));
    k = n - 1;
  }
}

}  // namespace

void kelast(Session& s, float& ke, const LineType& lt, std::span<float> k, float omega, float T) {
  Tpcm& tp = s.tpcm;
  const float g = wavcom(s).g;
  auto& warned = s.state<KelastWarnings>();
  const int out = tp.i(kOutputUnit);
  const bool known_type = lt.t >= 1 && lt.t <= kLineTypeCapacity;
  const auto slot = static_cast<std::size_t>(known_type ? lt.t - 1 : 0);
  bool slope_warned = false;
  bool weight_warned = false;
  float compliance = 0.0f;
  for (int i = 1; i <= lt.nelem; ++i) {
    const auto e = static_cast<std::size_t>(i - 1);
    tp.set_r(kElementAddedMass, lt.added_mass[e]);
    float d = eainv(lt.alpha, T, i);
    if (d < 0.0f) {
      if (known_type && !warned.negative_slope[slot]) {
        kelast_warning(s, out, true, lt.t, i);
        slope_warned = true;
      }
      d = 0.0f;
    }
    compliance += lt.length[e] * d;
    float m = lt.dry_weight[e];
    if (!(m > 0.0f)) {
      m = 0.00078539824f * lt.diameter[e] * lt.diameter[e] * tp.r(kWaterDensity) * tp.r(kElementAddedMass);
      m = tp.i(kUnitSystem) != 0 ? m * 0.000001f : m / 144.0f;
      m += lt.weight[e];
    }
    if (m < 0.0f) {
      m = 0.0f;
      if (d != 0.0f && known_type && !warned.negative_weight[slot]) {
        kelast_warning(s, out, false, lt.t, i);
        weight_warned = true;
      }
    }
    if (e < k.size()) k[e] = g > 0.0f ? std::sqrt(d * m / g) * omega : 0.0f;
  }
  if (slope_warned) warned.negative_slope[slot] = true;
  if (weight_warned) warned.negative_weight[slot] = true;
  ke = compliance > 0.0f ? 1.0f / compliance : 1.0e28f;
}

void kcatn(float& kc, float ke, float& kt, std::complex<float> A, std::complex<float> B, float s, float p) {
  const std::complex<float> diff = A - B;
  const float D = std::sqrt(diff.real() * diff.real() + diff.imag() * diff.imag());
  if (D > 0.0f) {
    const std::complex<float> load = s * A + p * B;
    kt = std::sqrt(load.real() * load.real() + load.imag() * load.imag()) / D;
  } else {
    kt = s;
  }
  if (kt == 0.0f) {
    kc = 0.0f;  // no total stiffness: no catenary stiffness either
    return;
  }
  const float c = 1.0f / kt - 1.0f / ke;
  kc = c > 0.0f ? 1.0f / c : 100000.0f * ke;
}

float nultmp(float y, float a, float b, float c) {
  const float q = c * y + a;
  return 1.0f - y * y * (b * y * y + q * q);
}

void catstr(Session& s, const CatstrInput& in, CatstrOutput& r, int out, int inunit) {
  const std::complex<float> motion = in.motion;
  const float X = std::sqrt(motion.real() * motion.real() + motion.imag() * motion.imag());
  if (X == 0.0f) {
    r.yc = r.ye = {};
    r.y = 0.0f;
    return;
  }
  r.cq = (in.kind == 17 ? 1.2f : 0.848826f) * X * in.omega * in.drag;
  if (in.ratio > 100000.0f) {
    r.yc = {};
    r.ye = motion;
    r.y = 0.0f;
    return;
  }
  if (in.ratio < 1e-20f) {
    r.yc = motion;
    r.ye = {};
    r.y = 1.0f;
    return;
  }
  const float A = 1.0f + in.ratio - in.omega * in.omega * in.mass / in.ke;
  const float u = in.omega * r.cq / in.ke;
  float y = 0.0f;
  if (A * A == 0.0f) {
    // At the catenary resonance only the drag holds the motion; without drag
    // nothing does, and the whole motion is taken as catenary motion.
    if (!(u > 0.0f)) {
      r.yc = motion;
      r.ye = {};
      r.y = 1.0f;
      return;
    }
    y = 1.0f / std::sqrt(u);
  } else {
    const float v0 = u / (A * A);
    float v = v0;
    if (v >= 0.01f) {
      // sqrt(0.5 (sqrt(p^2 + 1) - 1)) with p = 2u / A^2, written without the
      // cancellation of the difference in single precision and without
      // forming p^2, which overflows near the resonance.
      const float p = 2.0f * v0;
      v = p / std::sqrt(2.0f * (std::hypot(p, 1.0f) + 1.0f));
    }
    v = std::copysign(v, A);
    y = std::fabs(v0 >= 1e-15f ? A * v / u : 1.0f / A);
  }
  // The phase of the catenary part is that of 1 / (A + i y u), so that the
  // two parts add up to the motion for either sign of A.
  const float phi1 = -std::atan2(u * y, A);
  const float I = y * u;
  r.yc = y * motion * std::complex<float>(std::cos(phi1), std::sin(phi1));
  r.ye = r.yc * std::complex<float>(A - 1.0f, I);
  r.y = y;
  if (in.mode != 1) return;

  const float a = A;
  const float b = u * u;
  const float c = std::fabs(in.sigma * X / in.ke);
  const auto f = [a, b, c](float v) { return nultmp(v, a, b, c); };
  // nultmp is 1 at 0 and falls without bound unless a = b = c = 0: widen the
  // upper end until the function is no longer positive there.
  float upper = 1.5f;
  while (f(upper) > 0.0f && upper < 1e37f) upper *= 2.0f;
  float root = 0.0f;
  float value = 0.0f;
  int ier = kRootNoSignChange;
  if (!(f(upper) > 0.0f)) rtmi1(root, value, f, 0.0f, upper, 0.0001f, 0.001f, 100, ier);
  if (ier != kRootFound) {
    fwrite(s, out, "(' ++> Error return (IER = ',I1,'; Line #',I3,'; Period = ',F8.2,') from RTMI in CATSTR... ')",
           {ier, in.line, 6.2831855f / in.omega});
    int reply = 0;
    prsret(s, out, inunit, reply);
    throw ProgramStop(kNumericStopStatus);
  }
  const float R = in.omega * (root * r.cq) * root / in.ke;
  float phi2 = 0.0f;
  if (std::fabs(R) <= 1.0f) {
    phi2 = -std::asin(R);
  } else {
    phi2 = R < 0.0f ? 1.5707964f : -1.5707964f;
  }
  r.yc = root * motion * std::complex<float>(std::cos(phi2), std::sin(phi2));
  const float e = in.sigma * in.parity * X * root / in.ke + in.ratio;
  r.ye = r.yc * std::complex<float>(e, I);
  r.y = root;
}

void setlyr(int n, int r, float d, float s, float z, int& k, float& f, int& o) { layer_position(n, r, d, s, z, k, f, o); }

void setldp(int n, int r, double d, double s, double z, int& k, double& f, int& o) {
  layer_position(n, r, d, s, z, k, f, o);
}

}  // namespace kelp
