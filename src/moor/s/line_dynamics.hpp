#pragma once
// The dynamic line model: the response of one mooring line to a harmonic
// motion of its two ends at one circular frequency. It gives the complex
// tension amplitudes at the top and bottom (and, on request, at every node),
// the line's elastic, catenary and total stiffness, a linearised quadratic
// drag of the line's transverse motion through the water, and a correction
// of the tension for the inertia of the line and its added mass.
//
// How to call it, per line and frequency:
//   1. lindrv has left the line's static state in the work areas (per-line
//      entries of Catcom: node sensitivities, rates, mean node tangents).
//   2. The caller sets, in the work areas: lc.ityp (the line's type),
//      lc.dphld (its horizontal tension H), lc.tpten0 (its mean top
//      tension), lc.touchdown_element (0, or the element that reaches the
//      bottom), lc.layer (the layer column of its tables), and the two
//      complex motion amplitudes cc.top_motion (fairlead) and
//      cc.bottom_motion (anchor end), each along the line's direction at
//      that end.
//   3. dyncod(session, lc, cc, input, output).
// It reads the record's switches (words 150, 446, 4994, 4995, 4997, 5009,
// 5011, the line type's element data) and the gravity of the wave grid,
// writes the stiffness fields of cc (k_elastic, k_catenary, k_total,
// stiffness_ratio) and the line's end directions in lc (fxcomp, fzcomp,
// bxcomp, bzcomp), and leaves the last element's drag and added-mass
// coefficients in the record's scratch words 78233 and 78232.
#include <array>
#include <complex>

#include "moor/catlib/line_type.hpp"
#include "moor/s/work_areas.hpp"

namespace kelp {

class Session;

// Complex amplitudes at the nodes of a line: node 1 at the fairlead, node
// nelem + 1 at the anchor end.
using NodeAmplitudes = std::array<std::complex<float>, kMaxNodes>;

struct DynamicLineInput {
  int line = 1;               // line number, 1..150
  float omega = 0.0f;         // circular frequency, rad/s
  float diameter_unit = 0.0f; // length of one unit of the stored diameters (0.0833 English, 0.001 metric)
  float range = 0.0f;         // the line's mean horizontal range (oblique and quasi-static tensions)
  bool node_output = false;   // fill the four node arrays
  bool warnings = false;      // the inertia-correction warning may be given
};

// Results. "_neg" is the response to the opposite motion (the oblique model
// evaluates both signs; the plain model gives the negatives).
struct DynamicLineOutput {
  double tx = 0.0;  // H/w of the last element with weight
  int status = 0;   // 1 when the line was evaluated; 0 (and nothing else set) when it was skipped
  std::complex<float> catenary{}, catenary_neg{};  // catenary part of the end-to-end motion
  std::complex<float> elastic{}, elastic_neg{};    // elastic part
  std::complex<float> top_tension{}, bottom_tension{};          // tension amplitudes
  std::complex<float> top_tension_neg{}, bottom_tension_neg{};
  float static_top = 0.0f;     // tension change of the static stiffness (quadratic law in the oblique model)
  float static_bottom = 0.0f;  // the same for the opposite motion
  // Per node; written only with node output on.
  NodeAmplitudes node_tension{}, node_tension_neg{};
  NodeAmplitudes node_longitudinal{};  // motion along the line at the upper node of each element
  NodeAmplitudes node_transverse{};    // motion across the line there
  float gain = 0.0f;  // catenary response over end-to-end motion (the ratio the inertia load uses)
};

// What dyncod keeps for the whole run (session state).
struct DynamicLineState {
  int added_mass_model = 2;     // 0: no catenary mass
  bool inertia_warned = false;  // one inertia warning per run
};

// The model for one line. A line outside 1..150, a type outside 1..150 or
// without elements, or a line without static state is skipped with a
// message (status 0). A weightless element has no catenary points: it adds
// no damping or inertia and its node amplitudes are 0. The inertia warning
// asks whether to abort: "A" stops the program.
void dyncod(Session& s, Lincom& lc, Catcom& cc, const DynamicLineInput& in, DynamicLineOutput& r);

}  // namespace kelp
