#include "kelpkit/linear_algebra.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace kelp {
namespace {

TEST(MatrixProducts, TwoByThreeTimesThreeByTwo) {
  // a = [1 2 3; 4 5 6], b = [7 8; 9 10; 11 12] column by column;
  // a b = [58 64; 139 154] by hand.
  const std::vector<float> a{1, 4, 2, 5, 3, 6};
  const std::vector<float> b{7, 9, 11, 8, 10, 12};
  std::vector<float> r(4, -1.0f);
  gmprd(a, b, r, 2, 3, 2);
  EXPECT_EQ(r, (std::vector<float>{58, 139, 64, 154}));

  std::vector<double> rd(4);
  dgmprd(std::vector<double>{1, 4, 2, 5, 3, 6}, std::vector<double>{7, 9, 11, 8, 10, 12}, rd, 2, 3, 2);
  EXPECT_EQ(rd, (std::vector<double>{58, 139, 64, 154}));
}

TEST(MatrixProducts, OuterProductAndMatrixVector) {
  std::vector<float> r(6);
  gmprd(std::vector<float>{1, 2, 3}, std::vector<float>{4, 5}, r, 3, 1, 2);
  EXPECT_EQ(r, (std::vector<float>{4, 8, 12, 5, 10, 15}));

  // Rotation by 90 degrees of (1, 0) in double precision.
  std::vector<double> v(2);
  dgmprd(std::vector<double>{0, 1, -1, 0}, std::vector<double>{1, 0}, v, 2, 2, 1);
  EXPECT_EQ(v, (std::vector<double>{0, 1}));
}

TEST(MatrixProducts, TransposedProduct) {
  // a (3 x 2) = [1 4; 2 5; 3 6], b = (1, 1, 1): a^T b = (6, 15).
  std::vector<float> r(2);
  gtprd(std::vector<float>{1, 2, 3, 4, 5, 6}, std::vector<float>{1, 1, 1}, r, 3, 2, 1);
  EXPECT_EQ(r, (std::vector<float>{6, 15}));
  std::vector<double> rd(4);
  // a^T a for a = [1 4; 2 5; 3 6]: [14 32; 32 77].
  dgtprd(std::vector<double>{1, 2, 3, 4, 5, 6}, std::vector<double>{1, 2, 3, 4, 5, 6}, rd, 3, 2, 2);
  EXPECT_EQ(rd, (std::vector<double>{14, 32, 32, 77}));
}

TEST(MatrixProducts, ComplexProduct) {
  using C = std::complex<float>;
  // [i 1] [1; -i] = i - i = 0; [2 0] ... a 1 x 2 times 2 x 1.
  std::vector<C> r(1);
  cgmprd(std::vector<C>{C(0, 1), C(1, 0)}, std::vector<C>{C(1, 0), C(0, -1)}, r, 1, 2, 1);
  EXPECT_EQ(r[0], C(0, 0));
  cgmprd(std::vector<C>{C(1, 2)}, std::vector<C>{C(3, -1)}, r, 1, 1, 1);
  EXPECT_EQ(r[0], C(5, 5));
}

TEST(MatrixProducts, ShortArraysAreRefused) {
  std::vector<float> r(3);
  EXPECT_THROW(gmprd(std::vector<float>{1, 2, 3}, std::vector<float>{1, 2}, r, 2, 2, 1), std::invalid_argument);
}

TEST(ThreeVectors, CrossDotAndLength) {
  Vec3 c{};
  xprod({1, 0, 0}, {0, 1, 0}, c);
  EXPECT_EQ(c, (Vec3{0, 0, 1}));
  xprod({1, 2, 3}, {4, 5, 6}, c);
  EXPECT_EQ(c, (Vec3{-3, 6, -3}));
  EXPECT_EQ(dotp({1, 2, 3}, {4, -5, 6}), 12.0f);
  EXPECT_EQ(ddotp({1, 2, 3}, {4, -5, 6}), 12.0);
  EXPECT_EQ(vmod({2, 3, 6}), 7.0f);

  using C = std::complex<float>;
  CVec3 cc{};
  // r x F on the real and the imaginary parts alike.
  cxprod({1, 0, 0}, {C(0, 0), C(1, 2), C(0, 0)}, cc);
  EXPECT_EQ(cc, (CVec3{C(0, 0), C(0, 0), C(1, 2)}));
  EXPECT_FLOAT_EQ(cvmod({C(3, 4), C(0, 0), C(0, 12)}), 13.0f);
}

TEST(ThreeVectors, UnitVectors) {
  Vec3 u{};
  unitiz({0, 3, 4}, u);
  EXPECT_FLOAT_EQ(u[1], 0.6f);
  EXPECT_FLOAT_EQ(u[2], 0.8f);
  unitiz({0, 0, 0}, u);
  EXPECT_EQ(u, (Vec3{1, 0, 0}));
  unitiz({0, 0, -1e-10f}, u);
  EXPECT_EQ(u[2], -1.0f);

  using C = std::complex<float>;
  CVec3 cu{};
  cunitiz({C(0, 2), C(0, 0), C(0, 0)}, cu);
  EXPECT_EQ(cu[0], C(0, 1));
  cunitiz({}, cu);
  EXPECT_EQ(cu, CVec3{});
}

TEST(ThreeVectors, PolarAndRectangular) {
  float r = -1.0f, theta = -1.0f, phi = -1.0f;
  polar({0, 0, 5}, r, theta, phi);
  EXPECT_EQ(r, 5.0f);
  EXPECT_EQ(theta, 0.0f);
  EXPECT_EQ(phi, 0.0f);
  polar({0, 0, 0}, r, theta, phi);
  EXPECT_EQ(r, 0.0f);
  EXPECT_EQ(theta, 0.0f);
  EXPECT_EQ(phi, 0.0f);
  polar({0, 2, 0}, r, theta, phi);
  EXPECT_FLOAT_EQ(theta, std::numbers::pi_v<float> / 2);
  EXPECT_FLOAT_EQ(phi, std::numbers::pi_v<float> / 2);
  // A cosine that rounds past -1 is held at -1 (no NaN).
  polar({1e-20f, 0, -3}, r, theta, phi);
  EXPECT_FLOAT_EQ(theta, std::numbers::pi_v<float>);

  Vec3 u{};
  rctngl(std::numbers::pi_v<float> / 2, 0.0f, u);
  EXPECT_NEAR(u[0], 1.0f, 1e-7f);
  EXPECT_NEAR(u[2], 0.0f, 1e-7f);
  // Round trip.
  rctngl(1.0f, 2.0f, u);
  polar(u, r, theta, phi);
  EXPECT_NEAR(r, 1.0f, 1e-6f);
  EXPECT_NEAR(theta, 1.0f, 1e-6f);
  EXPECT_NEAR(phi, 2.0f, 1e-6f);
}

TEST(ThreeVectors, Veclen) {
  float d = 0.0f;
  int iax = 0;
  veclen({0, 0, 0}, {0, 0, 10}, d, iax);
  EXPECT_EQ(d, 10.0f);
  EXPECT_EQ(iax, 3);
  veclen({1, 1, 0}, {0, 0, 0}, d, iax);
  EXPECT_EQ(iax, 4);
  veclen({5, 0.5f, 0}, {0, 0, 0}, d, iax);  // cosine 0.995
  EXPECT_EQ(iax, 1);
  veclen({2, 2, 2}, {2, 2, 2}, d, iax);
  EXPECT_EQ(d, 0.0f);
  EXPECT_EQ(iax, 4);
}

}  // namespace
}  // namespace kelp
