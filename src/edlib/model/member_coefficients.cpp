#include "edlib/model/member_coefficients.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "edlib/model/free_surface.hpp"
#include "edlib/record/data_record.hpp"
#include "edlib/record/member_table.hpp"
#include "kelpkit/linear_algebra.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/wave_formulas.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

using namespace member;

constexpr float kPi = 3.1415927f;
constexpr int kTensionLegPlatform = 5;
constexpr int kCaissonSpar = 6;

enum class EndClass { kClosed, kOneFree, kBothFree, kNone };

EndClass end_class(int base, int top) {
  const auto known = [](int e) { return e == kFreeEnd || e == kWaterPiercing || e == kWallTerminated; };
  if (!known(base) || !known(top)) return EndClass::kNone;
  const int free_ends = (base == kFreeEnd ? 1 : 0) + (top == kFreeEnd ? 1 : 0);
  return free_ends == 0 ? EndClass::kClosed : free_ends == 1 ? EndClass::kOneFree : EndClass::kBothFree;
}

bool positive(float v) { return std::isfinite(v) && v > 0.0f; }

// Profile factors of the mass and moment coefficients across the member,
// for the transverse ratio t.
void profile_factors(int profile, float t, float& fm, float& fi) {
  fm = 1.0f;
  fi = 1.0f;
  if (profile == kRectangular) {
    fm = rectcm(1.0f / t);
    fi = rectcm(t);
  } else if (profile == kIntermediate) {
    fm = 0.5f * (1.0f + rectcm(1.0f / t));
    fi = 0.5f * (1.0f + rectcm(t));
  }
}

void give_up(Session& s, int n, int out, int& ierr) {
  missing_member_data(s, out);
  s.tpcm.i(coef_source(n)) = kUserCoefficients;
  ierr = 1;
}

}  // namespace

MemberAxis member_axis(const Tpcm& t, int n) {
  MemberAxis ax;
  for (int k = 1; k <= 3; ++k) {
    ax.base[static_cast<std::size_t>(k - 1)] = t.r(base_point(n, k));
    ax.top[static_cast<std::size_t>(k - 1)] = t.r(top_point(n, k));
  }
  std::array<float, 3> dir{};
  std::array<float, 3> cosines{};
  float ratio = 0.0f;
  wpchek(ax.base, ax.top, t.r(kDraft), dir, cosines, ax.length, ax.wlen, ratio, ax.crossing);
  return ax;
}

void missing_member_data(Session& s, int out) {
  fwrite(s, out,
         "(/' ++> All member dimension data and member endpoint data must be'/"
         "'     specified before mass/damping coefficients can be computed.'/"
         "'     Check for missing or incorrect data...')");
}

void mscalc(Session& s, int imem, int& ierr) {
  if (!valid(imem)) return;
  Tpcm& t = s.tpcm;
  const int n = imem;
  const int out = t.i(kOutputUnit);
  const int type = t.i(kVesselType);
  const float draft = t.r(kDraft);
  const float area_n = t.r(area(n));
  const MemberAxis ax = member_axis(t, n);
  const Vec3& base = ax.base;
  const Vec3& top = ax.top;
  const float length = ax.length;
  const EndClass ends = end_class(t.i(base_end(n)), t.i(top_end(n)));
  std::array<float, 4> d = {0.0f, t.r(dimension(n, 1)), t.r(dimension(n, 2)), t.r(dimension(n, 3))};
  if (!positive(d[1]) || !positive(d[2]) || !positive(d[3]) || !positive(length) || ends == EndClass::kNone) {
    give_up(s, n, out, ierr);
    return;
  }

  const float wlen = ax.wlen;
  const int crossing = ax.crossing;
  float de = 0.0f;  // end diameter of a member crossing the waterplane upward
  if (crossing == kSegmentUp) {
    d[3] = wlen;
    const float end_area = type == kCaissonSpar ? t.r(kWaterplaneArea) : area_n;
    if (end_area > 0.0f) de = 2.0f * std::sqrt(end_area / kPi);
  }
  // A one-free-end member needs De: for the end term of a crossing member
  // (from its area), and on a spar for its mirror image (from the waterplane
  // area, so only when it crosses the waterplane).
  if (ends == EndClass::kOneFree && !positive(de) && (crossing == kSegmentUp || type == kCaissonSpar)) {
    give_up(s, n, out, ierr);
    return;
  }

  std::array<float, 4> mass{};
  std::array<float, 4> moment{};
  int warned = 0;
  for (int a = 1; a <= 3; ++a) {
    const int b = a % 3 + 1;
    const int c = b % 3 + 1;
    float rb = d[static_cast<std::size_t>(a)] / d[static_cast<std::size_t>(b)];
    float rc = d[static_cast<std::size_t>(a)] / d[static_cast<std::size_t>(c)];
    if (ends == EndClass::kOneFree) {
      // The closed end acts as a mirror, doubling the length.
      if (a == 3) {
        if (type == kCaissonSpar) {
          rb = 2.0f * d[3] / de;
          rc = rb;
        } else {
          rb = 2.0f * rb;
          rc = 2.0f * rc;
        }
      } else if (b == 3) {
        rb = rb / 2.0f;
      } else if (c == 3) {
        rc = rc / 2.0f;
      }
    }
    const float tr = a == 1 ? rb : rc;
    float fm = 1.0f;
    float fi = 1.0f;
    if (a != 3) profile_factors(t.i(profile(n)), tr, fm, fi);

    float cm = 0.0f;
    float ci = 0.0f;
    if (ends == EndClass::kClosed) {
      if (a == 3) {
        const float e = rc / rb;
        const float e2m1 = e * e - 1.0f;
        ci = 0.5f * e2m1 * e2m1 / ((1.0f + e * e) * e);
      } else {
        cm = 1.0f / tr;
        ci = tr;
      }
    } else {
      const float p = rb * rb;
      const float q = rc * rc;
      float integral = 0.0f;
      elpcof(s, p, q, 0, 1, integral, out, kKeyboard, warned, n);
      cm = cofclc(1, integral, p, q);
      elpcof(s, p, q, 0, 2, integral, out, kKeyboard, warned, n);
      ci = cofclc(2, integral, p, q);
      if (ends == EndClass::kOneFree && a == 3 && crossing == kSegmentUp) {
        if (type == kTensionLegPlatform) {
          cm = cm + 0.125f * de / wlen;
        } else if (type != kCaissonSpar && draft > 0.0f) {
          cm = std::max(cm, 0.849f * de / draft);
        }
      }
    }
    mass[static_cast<std::size_t>(a)] = fm * cm;
    moment[static_cast<std::size_t>(a)] = fi * ci;
  }
  for (int a = 1; a <= 3; ++a) {
    if (!std::isfinite(mass[static_cast<std::size_t>(a)]) || !std::isfinite(moment[static_cast<std::size_t>(a)])) {
      give_up(s, n, out, ierr);
      return;
    }
  }
  for (int a = 1; a <= 3; ++a) {
    t.set_r(added_mass(n, a), mass[static_cast<std::size_t>(a)]);
    t.set_r(added_moment(n, a), moment[static_cast<std::size_t>(a)]);
  }

  if (t.i(coef_source(n)) != kSurfaceCorrected) return;
  if (base[0] == top[0] && base[1] == top[1]) {
    fwrite(s, out, "(/' ++> Member ',I2,' is perfectly vertical; no surface'/' proximity correction applies...')",
           {n});
    ierr = 1;
    t.i(coef_source(n)) = kDeepWater;
    return;
  }
  if (base[2] != top[2]) {
    fwrite(s, out,
           "(/' ++> Member ',I2,' is not perfectly horizontal; the surface'/"
           "'     proximity correction applies rigorously only to horizontal'/"
           "'     members.  Proceed with caution or enter \"A\" at the '/"
           "'     \"Press Return\" prompt to abort surface correction')",
           {n});
    ierr = 0;
    int reply = 0;
    abort0(s, out, kKeyboard, reply);
    if (reply == -1) {
      t.i(coef_source(n)) = kDeepWater;
      return;
    }
  }
  if (!positive(area_n)) {
    give_up(s, n, out, ierr);
    return;
  }
  // The section as an ellipse of area A and axis ratio r = D2 / D1: extent
  // h along My and w along Mx.
  const float zc = 0.5f * (base[2] + top[2]);
  const float r = d[2] / d[1];
  const float h = 2.0f * std::sqrt(area_n * r / kPi);
  const float w = h / r;
  Tempcm par{4.0f * (draft - zc) / w, w / h};
  float f = 1.0f;
  if (srfcor(s, f, n, out, ierr, par) != kSurfaceApplied) {
    t.i(coef_source(n)) = kDeepWater;
    return;
  }
  t.set_r(added_mass(n, 1), t.r(added_mass(n, 1)) * f);
  t.set_r(added_moment(n, 2), t.r(added_moment(n, 2)) * f);
}

void dgcalc(Session& s, int imem) {
  if (!valid(imem)) return;
  Tpcm& t = s.tpcm;
  for (int k = 1; k <= 2; ++k) {
    t.set_r(drag(imem, k), 1.0f);
    t.set_r(drag_moment(imem, k), 1.0f);
  }
  t.set_r(drag_moment(imem, 3), 0.0f);
  const bool no_free_end = t.i(base_end(imem)) != 0 && t.i(top_end(imem)) != 0;
  t.set_r(drag(imem, 3), no_free_end ? 0.0f : 1.0f);
}

namespace {

// The arithmetic-geometric mean converges in a handful of passes; this cap
// only guards against arguments that are not numbers.
constexpr int kMeanPasses = 60;

// geo := 1 - k^2 as the mean iteration starts from it; false for a modulus
// that is not a number.
bool start_mean(float k, float& geo) {
  if (!std::isfinite(k)) return false;
  geo = (0.5f - k) + 0.5f;
  geo = geo + geo * k;
  return true;
}

}  // namespace

void cel1(float& res, float k, int& ier) {
  ier = 0;
  float ari = 2.0f;
  float geo = 0.0f;
  res = 0.5f;
  if (!start_mean(k, geo) || geo < 0.0f) {
    ier = 1;
    res = 1.0e38f;
    return;
  }
  if (geo == 0.0f) {
    res = 1.0e38f;
    return;
  }
  for (int pass = 0; pass < kMeanPasses; ++pass) {
    geo = 2.0f * std::sqrt(geo);
    const float aari = ari;
    ari = ari + geo;
    res = 2.0f * res;
    if (geo / aari >= 0.9999f) break;
    geo = geo * aari;
  }
  res = res / ari * 6.283185f;
}

void cel2(float& res, float k, float a, float b, int& ier) {
  ier = 0;
  float ari = 2.0f;
  float geo = 0.0f;
  if (!start_mean(k, geo)) {
    ier = 1;
    res = 1.0e38f;
    return;
  }
  res = a;
  float a1 = a + b;
  float b0 = b + b;
  if (geo <= 0.0f) {
    if (geo < 0.0f) ier = 1;
    res = b > 0.0f ? 1.0e38f : b < 0.0f ? -1.0e38f : a;
    return;
  }
  for (int pass = 0; pass < kMeanPasses; ++pass) {
    geo = 2.0f * std::sqrt(geo);
    const float aari = ari;
    ari = ari + geo;
    b0 = 2.0f * (b0 + res * geo);
    res = a1;
    a1 = b0 / ari + a1;
    if (geo / aari >= 0.9999f) break;
    geo = geo * aari;
  }
  res = 1.5707963f * a1 / ari;
}

}  // namespace kelp
