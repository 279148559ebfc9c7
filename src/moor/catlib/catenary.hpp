#pragma once
// Closed-form mechanics of a multi-element elastic catenary with the cubic
// strain law.
//
// Per element i (from 1) of a line, with nodes i and i + 1 at its ends and
// node 1 at the fairlead:
//   H        horizontal tension of the line;
//   t, u     tangent and secant of the line angle phi at a node, so that the
//            line tension there is T = H u;
//   alpha    strain coefficients (three per element, element after element):
//            strain = alpha1 T + alpha2 T^2 + alpha3 T^3;
//   c        the same scaled by H: c_n = alpha_n H^n, so that the strain at a
//            node is c1 u + c2 u^2 + c3 u^3;
//   w'       weight per unit length in water over H (negative for a buoyant
//            element, 0 for a weightless one);
//   L        unstretched element length.
// zfcn and xfcn are the integrals of the elastic catenary: the vertical and
// horizontal spans between nodes j and j + 1 are (zfcn(u_j) - zfcn(u_j+1)) / w'
// and (xfcn(u_j, t_j) - xfcn(u_j+1, t_j+1)) / w'.
#include <span>

namespace kelp {

// sqrt(t^2 + 1), 1 / sqrt(t^2 + 1), t / sqrt(t^2 + 1).
double secfcn(double t);
double dcsphi(double t);
double dsnphi(double t);

// Elongation factor 1 + c1 s + c2 s^2 + c3 s^3 at tangent t (s = secfcn(t))
// with the scaled coefficients of element i.
double strech(double t, std::span<const double> c, int i);

// alpha1 + 2 alpha2 T + 3 alpha3 T^2 of element i: the slope of strain
// against tension, the inverse of the tangent axial stiffness.
float eainv(std::span<const float> alpha, float T, int i);

// u + c1 u^2/2 + c2 u^3/3 + c3 u^4/4.
double zfcn(double u, int i, std::span<const double> c);
// sqrt(u^2 - 1) (1/u + c1 + c2 u + c3 u^2): the derivative of zfcn with
// respect to t. No caller in the library.
double dzfcn(double u, int i, std::span<const double> c);
// 1/u + c1 + c2 u + c3 u^2: the derivative of xfcn with respect to t. Only an
// unused option of the damping integration reads it.
double dzfcnoq(double u, int i, std::span<const double> c);
// t (c1 + c2 u/2 + c3 (u^2 + 2)/3) + (1 + c2/2) ln(u + t).
double xfcn(double u, double t, int i, std::span<const double> c);
// (6 + 3 c2 (1 + t) + 2u (3 c1 + 2 c3 t)) / (6u). Kept as the line library
// has always had it: this is not the derivative of xfcn (that is dzfcnoq).
double dxfcn(double u, double t, int i, std::span<const double> c);

// wp(i) = w(i) / H, i = 1..n.
void sclwld(std::span<double> wp, std::span<const float> w, double H, int n);
// c(n, i) = alpha(n, i) H^n, n = 1..3, i = 1..count.
void betald(std::span<const float> alpha, std::span<double> c, double H, int count);

// Vertical span of elements 1..n; a weightless element is straight.
double zdist(std::span<const double> wp, std::span<const double> u, std::span<const double> c, int n,
             std::span<const float> L, std::span<const double> t);

// Horizontal span of elements 1..n, with the part of an element that lies on
// the bottom (grounding switch g = 1, no buoyant element among n+1..m, the
// element's lower node at or below the touchdown slope tb). The grounded part
// is laid along the bottom horizontally and its height is left out of zdist:
// both hold for the flat bottom (tb = 0) that every caller gives.
double xdist(std::span<const double> wp, std::span<const double> u, std::span<const double> t,
             std::span<const double> c, int n, int m, int g, std::span<const float> L, double tb);

// The first x of stretched line from the anchor of a line lying along the
// bottom at slope t: W its weight, b its unstretched length and a the element
// (from 1) in which it ends. Beyond the stretched length of the n elements,
// a = 1 and W, b are the totals.
void tuchdn(float x, std::span<const float> w, std::span<const float> L, std::span<const double> c, int n, double t,
            float& W, int& a, float& b);

}  // namespace kelp
