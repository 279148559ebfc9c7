#pragma once
// Lines in the library's work areas for the mooring-line tests: a line type
// made of test elements, a work area set up for one horizontal tension, and
// load tables filled from the closed-form elastic catenary.
#include <cmath>
#include <memory>
#include <vector>

#include "moor/catlib/catenary.hpp"
#include "moor/catlib/line_type.hpp"
#include "moor/closed_form_catenary.hpp"
#include "moor/s/work_areas.hpp"
#include "sysutl/record.hpp"

namespace kelp::testing {

// The elements with every value rounded to what the record stores.
inline std::vector<Element> as_stored(std::vector<Element> els) {
  for (Element& e : els) {
    e.L = static_cast<float>(e.L);
    e.w = static_cast<float>(e.w);
    for (double& a : e.a) a = static_cast<float>(a);
  }
  return els;
}

inline LineType line_type_of(const std::vector<Element>& els, int grounding, int t = 3) {
  LineType lt;
  lt.t = t;
  lt.nelem = static_cast<int>(els.size());
  lt.grounding = grounding;
  for (std::size_t i = 0; i < els.size(); ++i) {
    lt.length[i] = static_cast<float>(els[i].L);
    lt.weight[i] = static_cast<float>(els[i].w);
    for (std::size_t n = 0; n < 3; ++n) lt.alpha[3 * i + n] = static_cast<float>(els[i].a[n]);
  }
  return lt;
}

// Writes a line type into the record, as the mooring pages store it.
inline void store_line_type(Tpcm& tp, const LineType& lt) {
  const int t = lt.t;
  tp.i(*type_sublines_word(t)) = lt.nelem;
  tp.i(*bottom_flag_word(t)) = lt.grounding;
  tp.i(*elastic_file_bits_word(t)) = lt.strain_law_bits;
  tp.i(*type_line_word(t, 1)) = lt.fairlead;
  tp.set_r(*anchor_depth_word(t), lt.anchor_depth);
  for (int i = 1; i <= lt.nelem; ++i) {
    const auto e = static_cast<std::size_t>(i - 1);
    tp.set_r(*element_word(ElementField::kLength, i, t), lt.length[e]);
    tp.set_r(*element_word(ElementField::kImmersedWeight, i, t), lt.weight[e]);
    tp.set_r(*element_word(ElementField::kDryWeight, i, t), lt.dry_weight[e]);
    for (int n = 1; n <= 3; ++n) tp.set_r(*compliance_word(i, t, n), lt.alpha[3 * e + static_cast<std::size_t>(n - 1)]);
  }
}

// The work area at horizontal tension H for a line that must span z.
inline void set_tension(Lincom& lc, const LineType& lt, double H, double z) {
  lc.ityp = lt.t;
  lc.dphld = H;
  lc.span = static_cast<float>(z);
  sclwld(lc.sclwt, lt.weight, H, lt.nelem);
  betald(lt.alpha, lc.scaled_coef, H, lt.nelem);
}

// The work area at H and at the tension step above it (1/128 of H), as
// lindrv leaves it for the dynamic model.
inline void set_tension_step(Lincom& lc, const LineType& lt, double H) {
  set_tension(lc, lt, H, 0.0);
  lc.dhfrac = 0.0078125;
  lc.dphld2 = H * (1.0 + lc.dhfrac);
  sclwld(lc.sclwt_pert, lt.weight, lc.dphld2, lt.nelem);
  betald(lt.alpha, lc.scaled_coef_pert, lc.dphld2, lt.nelem);
}

// Load tables of type t, layer column k, for a single-element line (linear
// law, stiffness EA) spanning z: at each of the n tension points, the range,
// top tension, top angle, grounded length and bottom angle of the closed
// form. The tension points are those of the work area.
inline void fill_closed_form_column(Lincom& lc, int t, int k, double L, double w, double EA, double z, int n) {
  for (int j = 1; j <= n; ++j) {
    const double H = lc.tension_points[static_cast<std::size_t>(j - 1)];
    const double V = irvine_vertical_force(L, w, EA, H, z);
    const LineState st = irvine_line(L, w, EA, H, V);
    const std::size_t at = Lincom::table_index(j, k, t);
    lc.range_table[at] = static_cast<float>(st.x);
    lc.top_tension_table[at] = static_cast<float>(std::hypot(H, V));
    lc.top_angle_table[at] = static_cast<float>(std::atan(V / H));
    lc.bottom_length_table[at] = static_cast<float>(st.grounded);
    lc.bottom_angle_table[at] = static_cast<float>(std::atan(st.bottom_tangent));
  }
}

// Tension points rising evenly from h0 by dh.
inline void set_tension_points(Lincom& lc, double h0, double dh) {
  for (int j = 0; j < kTablePoints; ++j) lc.tension_points[static_cast<std::size_t>(j)] = static_cast<float>(h0 + dh * j);
}

}  // namespace kelp::testing
