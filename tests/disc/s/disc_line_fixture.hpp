#pragma once
// The cylinder of the disc tests moored by real lines of the line library,
// whose load tables come from the closed-form elastic catenary.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "disc/s/disc_fixture.hpp"
#include "disc/s/disc_line_mooring.hpp"
#include "moor/closed_form_catenary.hpp"
#include "moor/line_fixture.hpp"
#include "moor/s/work_areas.hpp"

namespace kelp::testing {

// Lines of type 3, one element 500 long of stiffness 2e4 (the line of the
// line tests): by default of weight 0.08 from an anchor 100 below the
// fairlead, at horizontal tension 40.
inline constexpr int kMooredLineType = 3;
inline constexpr double kMooredLineLength = 500.0, kMooredLineStiffness = 2e4, kMooredLineTension = 40.0;
inline constexpr float kMooredFairleadRadius = 5.0f;

struct LineShape {
  double weight = 0.08;
  double span = 100.0;
};

// The closed-form line: horizontal tension at range x, and the inclination
// of its fairlead below the horizontal.
struct ClosedFormLine {
  LineShape shape;
  double vertical(double H, double z) const {
    return irvine_vertical_force(kMooredLineLength, shape.weight, kMooredLineStiffness, H, z);
  }
  double range(double H) const {
    return irvine_line(kMooredLineLength, shape.weight, kMooredLineStiffness, H, vertical(H, shape.span)).x;
  }
  double tension(double x, double z) const {
    return irvine_horizontal_tension(kMooredLineLength, shape.weight, kMooredLineStiffness, x, z);
  }
  double inclination(double x, double z) const {
    const double H = tension(x, z);
    return std::atan(vertical(H, z) / H);
  }
};

// The cylinder of the disc tests moored by lines of type 3 on the given
// headings (degrees), each at the range of horizontal tension 40, with its
// fairlead on the water line at radius 5 on the line's heading; load tables
// from the closed-form catenary.
struct LineMooredDisc : DiscFixture {
  explicit LineMooredDisc(const std::vector<float>& headings, LineShape shape = {}) : line{shape} {
    Tpcm& tp = t();
    tp.i(kMooringFeedback) = 1;
    tp.i(kProgramKind) = 4;
    tp.i(kInterpTableSize) = kTablePoints;
    tp.i(kMooringLegs) = static_cast<std::int32_t>(headings.size());
    const Element e{kMooredLineLength, shape.weight, {1.0 / kMooredLineStiffness, 0.0, 0.0}};
    LineType lt = line_type_of(as_stored({e}), 1, kMooredLineType);
    lt.fairlead = 1;
    lt.anchor_depth = static_cast<float>(shape.span);
    store_line_type(tp, lt);
    Lincom& lc = lincom(s());
    set_tension_points(lc, 5.0, 2.0);
    fill_closed_form_column(lc, kMooredLineType, 1, kMooredLineLength, shape.weight, kMooredLineStiffness, shape.span, kTablePoints);
    range = static_cast<float>(line.range(kMooredLineTension));
    for (std::size_t j = 0; j < headings.size(); ++j) {
      const int n = static_cast<int>(j) + 1;
      const float a = headings[j] / kDiscDegree;
      tp.set_r(*fairlead_word(n, 1), kMooredFairleadRadius * std::cos(a));
      tp.set_r(*fairlead_word(n, 2), kMooredFairleadRadius * std::sin(a));
      tp.set_r(*fairlead_word(n, 3), tp.r(kDraft));
      setup.lines.push_back({kMooredLineType, headings[j], range});
    }
  }
  // Drag of the lines: diameter 100 mm, drag and added-mass coefficients 1.
  void with_drag() {
    t().set_r(*element_word(ElementField::kDiameter, 1, kMooredLineType), 100.0f);
    t().set_r(*element_word(ElementField::kDrag, 1, kMooredLineType), 1.0f);
    t().set_r(*element_word(ElementField::kAddedMass, 1, kMooredLineType), 1.0f);
  }
  bool prepared() { return set_up() == kDiscOk && mooring.prepare(s()); }
  MooringLinearisation at(const MotionAmplitudes& a, float omega = 0.5f) { return mooring.linearise(s(), a, omega); }

  ClosedFormLine line;
  LineMooring mooring;
  float range = 0.0f;
};

}  // namespace kelp::testing
