#pragma once
// Top-tension iteration: for one line type at the horizontal tension of the
// work area (lc.dphld), the top tangent at which the elastic catenary spans
// the vertical distance lc.span, with elements resting on the bottom where
// the type allows it; and, for a line with a buoyant element, the search of
// that element's scaled weight (between its weight in water and its weight
// in air) that puts the element's middle at lc.buoy_target.
//
// The solved state is left in lc.tmptan, lc.secarr and lc.botln; the scaled
// weights and coefficients (lc.sclwt, lc.scaled_coef) must be set for the
// tension first (sclwld, betald).
#include "moor/catlib/line_type.hpp"
#include "moor/s/work_areas.hpp"

namespace kelp {

class Session;

// The height the line must span at top tangent p: the vertical span, less
// the buoy's sinkage under the extra vertical load with the sinkage option.
struct HeightTarget {
  double span = 0.0;
  bool sinkage = false;
  double scale = 0.0;  // 1000 N / (water density x waterplane area)
  double vref = 0.0;   // reference load: first point of the top-tension column
  double at(double p, double H) const { return sinkage ? span - scale * (p * H - vref) : span; }
};

// The target of the current line (lc.span, lc.ityp, lc.layer and the
// record's sinkage words). A density times area not above 0 cannot carry a
// sinkage: this is said once per run and the plain span is used.
HeightTarget height_target(Session& s, const Lincom& lc);

// Height error of the line at top tangent p, in double precision (hterr2)
// and rounded to single precision (hterr). Sets lc.tmptan, lc.secarr and
// lc.botln.
double hterr2(Lincom& lc, const LineType& lt, const HeightTarget& z, double p);
float hterr(Lincom& lc, const LineType& lt, const HeightTarget& z, float p);

// Solves for the top tangent starting from the bracket (topt2, topt1). On
// return topt2 is the tangent and topt1 a quarter of it. A bracket without a
// sign change is widened, each end moving away from the other by a step of
// max(0.5 |topt2|, 0.1) that doubles each time; after 60 widenings, or when
// the root finder runs out of iterations, the overflow message stops the
// program.
void iter8(Session& s, Lincom& lc, const LineType& lt, float& topt1, float& topt2);

// The bracket that the buoyant-element search hands from one trial to the
// next (each trial starts from the previous solution).
struct Bracket {
  float topt1 = 0.0f;
  float topt2 = 0.0f;
};

// Height error of the middle of the buoyant element lc.ielem below its target
// for a trial scaled weight x: solves the line (iter8 from the bracket, which
// it updates). wlerr2 is the same function under its second name.
float wlerr(Session& s, Lincom& lc, const LineType& lt, Bracket& b, float x);
float wlerr2(Session& s, Lincom& lc, const LineType& lt, Bracket& b, float x);

// The driver: iter8 directly, or, with the buoyant-element option (word 4993)
// and a buoyant element in the line, the weight search around it. When the
// searched range gives no sign change the element takes its weight in air
// and the line is solved once more with it.
void iter8p(Session& s, Lincom& lc, const LineType& lt, float& topt1, float& topt2);

}  // namespace kelp
