#pragma once
// Matrix products (single, double and complex) and three-vector operations.
// Matrices are stored column by column (first index fastest); a result goes
// to a separate array that must not overlap the operands. A span shorter than
// its matrix is a programming error (std::invalid_argument).
#include <array>
#include <complex>
#include <span>

namespace kelp {

using Vec3 = std::array<float, 3>;
using DVec3 = std::array<double, 3>;
using CVec3 = std::array<std::complex<float>, 3>;

// r(n x l) = a(n x m) b(m x l), each element summed from zero in the order of
// the inner index.
void gmprd(std::span<const float> a, std::span<const float> b, std::span<float> r, int n, int m, int l);
void dgmprd(std::span<const double> a, std::span<const double> b, std::span<double> r, int n, int m, int l);
void cgmprd(std::span<const std::complex<float>> a, std::span<const std::complex<float>> b,
            std::span<std::complex<float>> r, int n, int m, int l);
// r(m x l) = transpose(a(n x m)) b(n x l).
void gtprd(std::span<const float> a, std::span<const float> b, std::span<float> r, int n, int m, int l);
void dgtprd(std::span<const double> a, std::span<const double> b, std::span<double> r, int n, int m, int l);

// c = a x b.
void xprod(const Vec3& a, const Vec3& b, Vec3& c);
// c = a x b for a real a and a complex b.
void cxprod(const Vec3& a, const CVec3& b, CVec3& c);
float dotp(const Vec3& a, const Vec3& b);
double ddotp(const DVec3& a, const DVec3& b);
float vmod(const Vec3& a);
// sqrt(|a1|^2 + |a2|^2 + |a3|^2) with complex moduli.
float cvmod(const CVec3& a);
// u = a / |a|, each component limited to [-1, 1]; (1, 0, 0) when |a| is not positive.
void unitiz(const Vec3& a, Vec3& u);
// u = a / |a|; zero when |a| is not positive.
void cunitiz(const CVec3& a, CVec3& u);
// u = (sin theta cos phi, sin theta sin phi, cos theta).
void rctngl(float theta, float phi, Vec3& u);
// Length r, polar angle theta (from the z axis) and azimuth phi of a; the
// cosine a3 / r is held within [-1, 1].
void polar(const Vec3& a, float& r, float& theta, float& phi);
// d = |p - q|; iax = the highest axis (1 to 3) whose direction cosine exceeds
// 0.98 in magnitude, or 4 when none does (or d is 0).
void veclen(const Vec3& p, const Vec3& q, float& d, int& iax);

}  // namespace kelp
