#include "moor/morlib/vertical_line.hpp"

#include <cmath>

#include "edlib/record/data_record.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/root_finders.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {
namespace {

std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }

constexpr int kMaxRetries = 19;

// Stretched length of element h hanging between tensions top and bottom.
double hanging_length(const HangingLine& hl, int h, double top, double bottom, bool differ) {
  const auto e = ix(h);
  return differ ? sfncdp(hl.a[e], top, hl.w[e]) - sfncdp(hl.a[e], bottom, hl.w[e]) : hl.L[e] * sfcdp2(hl.a[e], top);
}

void buoyant_line_message(Session& s, int out) {
  s.write_line(out, "");
  s.write_line(out, " ++> Buoyant line handling error. First data row of the interpolation tables");
  s.write_line(out, "     will probably be in error; this is usually a non-issue.");
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
}

[[noreturn]] void solver_stop(Session& s, int out, const char* message) {
  s.write_line(out, message);
  s.write_line(out, "");
  s.write_line(out, " Press <Return> to Continue...");
  if (!is_silent(out)) {
    char ch = ' ';
    readcp(s, ch);
  }
  throw ProgramStop(kNumericStopStatus);
}

}  // namespace

double dpdster(const HangingLine& h, double x) {
  const int n = h.n;
  double S = 0.0;
  for (int k = 1; k <= n; ++k) {
    const double top = dtkltn(h.L, h.w, k, n, x);
    const double bottom = k < n ? dtkltn(h.L, h.w, k + 1, n, x) : x;
    S += hanging_length(h, k, top, bottom, std::fabs(top - bottom) > 0.001 * std::fabs(top));
  }
  double R = h.span - S;
  if (n < h.nelem) {
    const auto e = ix(n + 1);
    if (h.w[e] != 0.0) {
      R -= sfncdp(h.a[e], x, h.w[e]);
    } else if (x != 0.0) {
      R -= sfcdp2(h.a[e], x) * (h.L[e] - h.extra);
    } else {
      R = 0.0;
    }
  }
  return R;
}

VerticalLineState vrtlin(Session& s, float z, const LineType& lt, float ref_tension) {
  const int out = s.tpcm.i(kOutputUnit);
  const float max_load = s.tpcm.r(kMaxTableLoad);
  VerticalLineState r;
  r.direction = z < 0.0f ? -1 : 1;

  HangingLine h;
  h.nelem = lt.nelem;
  h.span = std::fabs(z);
  for (int i = 1; i <= lt.nelem; ++i) {
    const auto e = ix(i);
    h.L[e] = lt.length[e];
    h.w[e] = lt.weight[e];
    h.a[e] = {lt.alpha[3 * e], lt.alpha[3 * e + 1], lt.alpha[3 * e + 2]};
  }

  // The first element that reaches the bottom when the line above it hangs
  // with no tension at its lower end.
  int touch = 0;
  double S = 0.0;
  for (int g = 1; g <= lt.nelem && touch == 0; ++g) {
    S = 0.0;
    for (int k = 1; k <= g; ++k) {
      const double top = dtkltn(h.L, h.w, k, g, 0.0);
      const double bottom = k < g ? dtkltn(h.L, h.w, k + 1, g, 0.0) : 0.0;
      S += hanging_length(h, k, top, bottom, top != bottom);
    }
    if (h.span < S) touch = g;
  }

  double arch = 0.0;
  if (touch == 0) {
    h.n = lt.nelem;
  } else {
    for (int j = touch + 1; j <= lt.nelem; ++j) {
      if (!(h.w[ix(j)] < 0.0)) continue;
      const bool last = j == lt.nelem;
      const double above = h.w[ix(j - 1)];
      const double below = last ? 1.0 : h.w[ix(j + 1)];
      double d = 0.0, a = 0.0, b = 0.0;
      if (above != 0.0 && below != 0.0) {
        const double C = -h.w[ix(j)] / above;
        if (last) {
          d = 2.0 + C;
          if (d != 0.0) a = h.L[ix(j)] * C / d;
        } else {
          const double E = -h.w[ix(j)] / below;
          d = 2.0 + C + E;
          if (d != 0.0) {
            const double m = h.L[ix(j)] * (1.0 + E) / d;
            a = m * C;
            b = E * (h.L[ix(j)] - m);
          }
        }
      }
      if (d == 0.0) {
        // No arch can be formed (or a weightless neighbour would be divided by).
        buoyant_line_message(s, out);
        return r;
      }
      arch += a + b + h.L[ix(j)];
      if ((!last && h.L[ix(j + 1)] < b) || h.L[ix(j - 1)] < a) buoyant_line_message(s, out);
    }
    h.n = touch - 1;
    if (h.w[ix(touch)] == 0.0) h.extra = S - h.span;
  }

  double xl = 0.0;
  double xr = 100.0 * max_load;
  double eps = std::fabs(ref_tension) > 0.01f ? 1e-15 * std::fabs(ref_tension) : 1e-15 * max_load;
  double x = 0.0;
  double f = 0.0;
  const auto residual = [&h](double v) { return dpdster(h, v); };
  for (int tries = 0;;) {
    int ier = kRootFound;
    int iter = 0;
    rtmidp(x, f, residual, xl, xr, eps, 100, ier, iter);
    if (ier == kRootFound) break;
    ++tries;
    if (ier == kRootNoConvergence) {
      if (tries > kMaxRetries) solver_stop(s, out, " ++> Iteration overflow in VRTLIN");
      eps *= 5.0;
      xl = x / 2.0;
      xr = 2.0 * x;
    } else {
      if (tries > kMaxRetries) solver_stop(s, out, " ++> Bounds error in VRTLIN ");
      xr = std::ldexp(xr, tries);
      xl = -tries * static_cast<double>(max_load);
    }
  }

  const int n = h.n;
  const double T = n > 0 ? dtkltn(h.L, h.w, 1, n, x) : x;
  double grounded = 0.0;
  if (n + 1 <= lt.nelem) {
    const auto e = ix(n + 1);
    grounded = h.w[e] != 0.0 ? h.L[e] - x / h.w[e] : h.extra;
    for (int i = n + 2; i <= lt.nelem; ++i) grounded += h.L[ix(i)];
    grounded -= arch;
  }
  r.grounded1 = r.grounded2 = static_cast<float>(grounded);
  r.top_tension = static_cast<float>(std::fabs(T));
  constexpr float kHalfPi = 1.5707964f;
  if (grounded > 0.0) {
    r.top_angle = T >= 0.0 ? kHalfPi : -kHalfPi;
    r.bottom_angle = 0.0f;
  } else {
    r.top_angle = z >= 0.0f ? kHalfPi : -kHalfPi;
    r.bottom_angle = r.top_angle;
  }
  return r;
}

}  // namespace kelp
