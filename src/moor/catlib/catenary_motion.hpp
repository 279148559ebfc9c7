#pragma once
// How the points of a suspended line element move when the element's upper
// node moves (pntsep, catmot), and the damping and inertia integrals of that
// motion along the element (catdmp). They work on the mean static state that
// lindrv left in the work areas.
//
// A point of an element is named by q, the tangent of the line angle at it.
// q runs from qb at the element's lower node (towards the anchor) to qf at
// its upper node (towards the fairlead); H/w times a change of q is the
// change of unstretched arc length, so H/w (qf - qb) is the element's
// unstretched length. Directions at a point, horizontal component first:
// along the line (cos phi, sin phi), across it (-sin phi, cos phi).
#include <complex>
#include <span>

#include "moor/catlib/line_type.hpp"
#include "moor/s/work_areas.hpp"

namespace kelp {

class Session;
class LineTrace;

// The element a point lies on, in one static state.
struct ElementState {
  std::span<const double> coef;  // scaled strain coefficients of the line (betald)
  double sclwt = 0.0;            // w/H of the element; a weightless element (0) has no points
  float length = 0.0f;           // unstretched length
  double bottom_tangent = 0.0;   // slope of the sea bottom at touchdown
  int ielem = 1;
  int botflg = 0;                // non-zero: the element reaches the bottom
};

struct Separation {
  double dx = 0.0;
  double dz = 0.0;
};

// Horizontal and vertical separation of the point at tangent qp from the
// lower end (tangent qpb) of its element; the upper end has tangent qpf. For
// the element that reaches the bottom the lower end is the element's end on
// the bottom, so the grounded part, laid along the bottom slope, is added.
// tx (H/w) is only traced.
Separation pntsep(const LineTrace& trace, double qp, double qpb, double qpf, double tx, const ElementState& e);

// Motion of a point per unit motion of the upper node of its element
// relative to the lower node. The four rates are not yet divided by the
// element's span determinant (catdmp divides).
struct PointMotion {
  float dadxf = 0.0f;  // across the line, per horizontal motion
  float dadzf = 0.0f;  // across the line, per vertical motion
  float dldxf = 0.0f;  // along the line, per horizontal motion
  float dldzf = 0.0f;  // along the line, per vertical motion
  // Derivatives of the point's separation from the lower node with respect
  // to a shift of every tangent (p) and to H/w (t).
  double dxdp = 0.0, dxdt = 0.0, dzdp = 0.0, dzdt = 0.0;
  float cos_phi = 0.0f;
  float sin_phi = 0.0f;
};

// The point at tangent qp of element ielem of the line type lt (dqb, dqf the
// element's end tangents), from the mean state (lc.dphld, lc.sclwt,
// lc.scaled_coef) and the tension-step state (lc.dphld2, lc.sclwt_pert,
// lc.scaled_coef_pert); the span derivatives of the element's upper node
// are read from cc (catdmp stores them there first). The element must have
// weight.
PointMotion catmot(Session& s, const Lincom& lc, const Catcom& cc, const LineType& lt, float qp, double dqb,
                   double dqf, int ielem, int botflg);

// Inputs of catdmp for one element.
struct DampingInput {
  double tx = 0.0;     // H/w of the element (negative for a buoyant one)
  double dqtop = 0.0;  // mean tangent at the upper node
  double dqbot = 0.0;  // mean tangent at the lower node
  int nqp = 5;         // integration points: odd, at least 3 (held so)
  std::complex<float> dx{}, dz{};    // motion of the upper node relative to the lower node
  std::complex<float> dxb{}, dzb{};  // motion of the lower node
  int ielem = 1;
  int botflg = 0;                // 1 for the line's touchdown element
  bool out_of_plane = false;     // also integrate keoop
  float y0 = 0.0f;               // horizontal offset of keoop
};

// Results of catdmp. Lengths times powers of the motion amplitudes.
struct DampingOutput {
  float disipd = 0.0f;   // 4/3 of the integral of |a|^3 ds (a the transverse amplitude)
  float disoop = 0.0f;   // always 0
  float keelmt = 0.0f;   // integral of |a|^2 ds
  float keelml = 0.0f;   // integral of |l|^2 ds (l the longitudinal amplitude)
  float keoop = 0.0f;    // the out-of-plane integral, 0 without the option
  float adamaxq = 0.0f;  // largest |a| over the points
  float adatopq = 0.0f;  // |a| at the upper node
  float lontopq = 0.0f;  // |l| at the upper node
  std::complex<float> ctxacc{};  // built from sin phi a; non-zero only for the touchdown element
  std::complex<float> ctzacc{};  // integral of cos phi a ds
};

// Transverse and longitudinal amplitudes at nqp points along one element
// and their integrals by the composite Simpson rule. Leaves the element's
// span derivatives and determinant in cc. An element lying on the bottom
// (at or beyond the touchdown element with its upper tangent at most the
// bottom slope) and a weightless element (tx not finite, or 0) give zeros
// and leave cc as it was.
void catdmp(Session& s, const Lincom& lc, Catcom& cc, const LineType& lt, const DampingInput& in, DampingOutput& r);

}  // namespace kelp
