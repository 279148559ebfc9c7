#pragma once
// A mooring of one line type in a record and the line work areas, with load
// tables built from the closed-form elastic catenary: the starting point of
// the tests of the line driver and the dynamic line model.
#include <cmath>
#include <memory>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "moor/line_fixture.hpp"
#include "moor/s/line_driver.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp::testing {

inline constexpr int kMooredType = 3;
// The line of the tests: 500 long, weight 0.08, stiffness 2e4, over a depth
// of 100.
inline constexpr double kLineLength = 500.0, kLineWeight = 0.08, kLineEA = 2e4, kWaterDepth = 100.0;

// The closed-form line of the tests: range at horizontal tension H over the
// height z, and top tension at range x.
inline double range_at(double H, double z, double L = kLineLength, double w = kLineWeight, double EA = kLineEA) {
  return irvine_line(L, w, EA, H, irvine_vertical_force(L, w, EA, H, z)).x;
}
inline double tension_at(double x, double z, double L = kLineLength, double w = kLineWeight, double EA = kLineEA) {
  const double H = irvine_horizontal_tension(L, w, EA, x, z);
  return std::hypot(H, irvine_vertical_force(L, w, EA, H, z));
}

// Type 3 made of the given elements (fairlead 1, anchor depth 100) in a
// record of the given kind, lines 1 (type 3) and 2 (excluded), with load
// tables of the closed-form line of the first element's weight and
// stiffness and the whole length, over spans kWaterDepth + 10 (k - 2) in
// layer columns k = 1..columns (column 1 alone: kWaterDepth).
struct Mooring {
  ScriptedSession t;
  std::unique_ptr<Lincom> lc = std::make_unique<Lincom>();
  std::unique_ptr<Catcom> cc = std::make_unique<Catcom>();
  std::vector<float> ranges = std::vector<float>(kLegCapacity);
  std::vector<float> offsets = std::vector<float>(kLegCapacity);
  std::vector<Element> els;

  explicit Mooring(int kind = 4, int columns = 1,
                   const std::vector<Element>& elements = {{kLineLength, kLineWeight, {1.0 / kLineEA, 0, 0}}})
      : els(as_stored(elements)) {
    Tpcm& tp = t.s.tpcm;
    tp.i(kProgramKind) = kind;
    tp.i(kOutputUnit) = kScreen;
    tp.i(kInterpTableSize) = kTablePoints;
    tp.i(kMooringLegs) = 2;
    tp.i(kInterpLayers) = columns;
    tp.set_r(kInterpSpan, 10.0f * static_cast<float>(columns - 1));
    LineType lt = line_type_of(els, 1, kMooredType);
    lt.fairlead = 1;
    lt.anchor_depth = static_cast<float>(kWaterDepth);
    store_line_type(tp, lt);
    set_tension_points(*lc, 5.0, 2.0);
    for (int k = 1; k <= columns; ++k) {
      const double z = columns == 1 ? kWaterDepth : kWaterDepth + 10.0 * (k - 2);
      fill_closed_form_column(*lc, kMooredType, k, length(), els[0].w, ea(), z, kTablePoints);
    }
    lc->layer = columns == 1 ? 1 : 2;
    lc->layer_spacing = 10.0f;
    lc->request_code = {};
    lc->request_code[0] = kMooredType;
    lc->request_code[1] = 1024 + 1024 + kMooredType;  // excluded
  }
  double length() const {
    double L = 0.0;
    for (const Element& e : els) L += e.L;
    return L;
  }
  double ea() const { return 1.0 / els[0].a[0]; }
  // Diameter (in the record's diameter unit), drag and added-mass
  // coefficients of element i.
  void set_hydrodynamics(int i, float diameter, float drag, float added_mass) {
    Tpcm& tp = t.s.tpcm;
    tp.set_r(*element_word(ElementField::kDiameter, i, kMooredType), diameter);
    tp.set_r(*element_word(ElementField::kDrag, i, kMooredType), drag);
    tp.set_r(*element_word(ElementField::kAddedMass, i, kMooredType), added_mass);
  }
  void run() { lindrv(t.s, *lc, *cc, ranges, offsets); }
  float at(const std::array<float, Catcom::kNodeArray>& a, int node, int line = 1) const {
    return a[Catcom::node_index(node, line)];
  }
};

}  // namespace kelp::testing
