#pragma once
// Independent reference results for the mooring-line tests: the elastic
// catenary in closed form (linear strain law, line lying on a flat frictionless
// bottom from the anchor to the touchdown point), and a direct quadrature of
// (1 + strain) cos phi ds and (1 + strain) sin phi ds along a line of several
// elements with the cubic strain law. Nothing here uses the library's own
// formulas.
#include <array>
#include <cmath>
#include <vector>

namespace kelp::testing {

// One element: unstretched length, weight per unit length in water, and
// strain = a1 T + a2 T^2 + a3 T^3.
struct Element {
  double L = 0.0;
  double w = 0.0;
  std::array<double, 3> a{};
};

// Spans, grounded length (stretched) and the tangents at the top and the
// bottom of the suspended part.
struct LineState {
  double x = 0.0;
  double z = 0.0;
  double grounded = 0.0;
  double top_tangent = 0.0;
  double bottom_tangent = 0.0;
};

// Suspended elastic catenary of length L, weight w, stiffness EA under
// horizontal tension H with vertical force Va at its lower end: the spans
// between its ends.
inline LineState irvine_suspended(double L, double w, double EA, double H, double Va) {
  const double Vt = Va + w * L;
  LineState s;
  s.x = H * L / EA + (H / w) * (std::asinh(Vt / H) - std::asinh(Va / H));
  s.z = (w * L / EA) * (Va / w + L / 2.0) + (H / w) * (std::sqrt(1.0 + (Vt / H) * (Vt / H)) -
                                                        std::sqrt(1.0 + (Va / H) * (Va / H)));
  s.top_tangent = Vt / H;
  s.bottom_tangent = Va / H;
  return s;
}

// A single-element line from an anchor on the bottom to a fairlead where the
// vertical force is V: with V up to wL the part of the line beyond V/w lies
// on the bottom.
inline LineState irvine_line(double L, double w, double EA, double H, double V) {
  if (V > w * L) return irvine_suspended(L, w, EA, H, V - w * L);
  const double Ls = V / w;
  LineState s = irvine_suspended(Ls, w, EA, H, 0.0);
  const double grounded = L - Ls;
  s.x += grounded * (1.0 + H / EA);
  s.grounded = grounded * (1.0 + H / EA);
  return s;
}

// Bisection of an increasing function g on [lo, hi] for g = target.
template <class G>
double bisect(const G& g, double target, double lo, double hi) {
  for (int k = 0; k < 200; ++k) {
    const double mid = 0.5 * (lo + hi);
    (g(mid) < target ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

// The vertical fairlead force at which the line spans the height z.
inline double irvine_vertical_force(double L, double w, double EA, double H, double z) {
  return bisect([&](double V) { return irvine_line(L, w, EA, H, V).z; }, z, 0.0, 1e6 * (w * L + H));
}

// The horizontal tension at which the line spans x across and z up.
inline double irvine_horizontal_tension(double L, double w, double EA, double x, double z) {
  return bisect([&](double H) { return irvine_line(L, w, EA, H, irvine_vertical_force(L, w, EA, H, z)).x; }, x, 1e-6,
                1e3 * w * L);
}

inline double strain_of(const Element& e, double T) { return e.a[0] * T + e.a[1] * T * T + e.a[2] * T * T * T; }

// Composite Simpson rule over [0, b].
template <class G>
double simpson(const G& g, double b, int n = 4000) {
  if (b == 0.0) return 0.0;
  const double h = b / n;
  double sum = g(0.0) + g(b);
  for (int i = 1; i < n; ++i) sum += (i % 2 ? 4.0 : 2.0) * g(i * h);
  return sum * h / 3.0;
}

// Spans of one suspended stretch of element e, of unstretched length s, whose
// tangent is t0 at its upper end and falls by w/H per unit length.
inline void add_suspended(const Element& e, double H, double t0, double s, LineState& st) {
  const auto t = [&](double q) { return t0 - e.w * q / H; };
  const auto stretch = [&](double q) { return 1.0 + strain_of(e, H * std::sqrt(1.0 + t(q) * t(q))); };
  st.x += simpson([&](double q) { return stretch(q) / std::sqrt(1.0 + t(q) * t(q)); }, s);
  st.z += simpson([&](double q) { return stretch(q) * t(q) / std::sqrt(1.0 + t(q) * t(q)); }, s);
}

// The line of elements (fairlead first) under horizontal tension H with top
// tangent p0, integrated down to the anchor. With grounding, an element whose
// tangent reaches 0 lies on the flat bottom from there on, with every element
// after it.
inline LineState quadrature_line(const std::vector<Element>& els, double H, double p0, bool grounding) {
  LineState st;
  st.top_tangent = p0;
  double t = p0;
  bool down = false;
  for (const Element& e : els) {
    double suspended = e.L;
    if (down) {
      suspended = 0.0;
    } else if (grounding && e.w > 0.0 && t - e.w * e.L / H <= 0.0) {
      suspended = t * H / e.w;
      down = true;
    }
    add_suspended(e, H, t, suspended, st);
    t -= e.w * suspended / H;
    const double on_bottom = (e.L - suspended) * (1.0 + strain_of(e, H));
    st.x += on_bottom;
    st.grounded += on_bottom;
  }
  st.bottom_tangent = down ? 0.0 : t;
  return st;
}

// The top tangent at which the line spans the height z (the span rises with
// the tangent).
inline double quadrature_top_tangent(const std::vector<Element>& els, double H, double z, bool grounding) {
  return bisect([&](double p) { return quadrature_line(els, H, p, grounding).z; }, z, 0.0, 50.0);
}

}  // namespace kelp::testing
