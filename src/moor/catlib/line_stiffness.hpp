#pragma once
// Stiffness, compliance and linearised drag of a mooring line: the elastic
// axial stiffness and the axial wave numbers of its elements, the catenary
// stiffness, the split of a top motion into a catenary and an elastic part
// with linearised drag, and the position of a height on the layer grid of the
// load tables.
#include <array>
#include <complex>
#include <span>

#include "moor/catlib/line_type.hpp"

namespace kelp {

class Session;

// kelast's once-per-type warnings, kept for the whole run (session state).
struct KelastWarnings {
  std::array<bool, kLineTypeCapacity> negative_slope{};
  std::array<bool, kLineTypeCapacity> negative_weight{};
};

// Elastic axial stiffness ke of line type lt at tension T, and the axial wave
// number k(i) of each element at circular frequency omega (with the gravity
// of the session's wave grid; no wave numbers while it is not set). An element with a negative strain slope or a negative
// inertia weight warns once per type (abort0: "A" stops the program) and is
// taken as inextensible or weightless. Writes each element's added-mass
// coefficient into the scratch word 78232 of the record. ke is 1e28 when the
// line has no compliance.
void kelast(Session& s, float& ke, const LineType& lt, std::span<float> k, float omega, float T);

// Total stiffness kt = |s A + p B| / |A - B| (s when A = B) of a line whose
// ends move by A and B, and the catenary stiffness kc in series with the
// elastic ke: 1 / (1/kt - 1/ke), or 100000 ke when kt is not below ke, or 0
// when kt is 0.
void kcatn(float& kc, float ke, float& kt, std::complex<float> A, std::complex<float> B, float s, float p);

// Inputs of catstr.
struct CatstrInput {
  float omega = 0.0f;
  std::complex<float> motion{};  // complex top motion X
  float sigma = 0.0f;            // stiffness slope of the quadratic catenary law
  float parity = 0.0f;           // sign of the motion (+1 or -1)
  float mass = 0.0f;             // catenary mass
  float drag = 0.0f;             // quadratic drag coefficient
  float ratio = 0.0f;            // catenary over elastic stiffness
  float ke = 0.0f;               // elastic stiffness
  int mode = 0;                  // 1: solve the amplitude equation of the quadratic law
  int kind = 0;                  // program kind
  int line = 0;                  // line number, for the message
};

// Results of catstr; left as they were where the routine sets nothing.
struct CatstrOutput {
  std::complex<float> yc{};  // catenary part of the motion
  std::complex<float> ye{};  // elastic part
  float cq = 0.0f;           // linear drag coefficient
  float y = 0.0f;            // real gain
};

// Splits the top motion into catenary and elastic responses with linearised
// drag; yc + ye is the motion. Mode 1 solves the amplitude equation (nultmp)
// and stops the program with a message when it has no root.
void catstr(Session& s, const CatstrInput& in, CatstrOutput& r, int out, int inunit);

// 1 - y^2 (b y^2 + (c y + a)^2).
float nultmp(float y, float a, float b, float c);

// Position z on the layer grid: n layer columns, first-layer offset r (layer
// r at z = 0), spacing d, span s. k is the layer column (1..max(1, n - 1)),
// f the fraction towards column k + 1 (beyond 0..1 when z lies outside the
// grid: extrapolation), o = 1 when z lies outside the span. n < 2 gives k = 1,
// f = 0; a spacing not above 0 gives k = 1, f = 0, o = 1.
void setlyr(int n, int r, float d, float s, float z, int& k, float& f, int& o);
void setldp(int n, int r, double d, double s, double z, int& k, double& f, int& o);

}  // namespace kelp
