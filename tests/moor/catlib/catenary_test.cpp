#include "moor/catlib/catenary.hpp"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "moor/closed_form_catenary.hpp"

namespace kelp {
namespace {

using testing::Element;

TEST(CatenaryPrimitives, HandValues) {
  const std::vector<double> zero(3, 0.0);
  const std::vector<double> c{0.01, 0.002, 0.0003};
  EXPECT_DOUBLE_EQ(secfcn(0.75), 1.25);
  EXPECT_DOUBLE_EQ(dcsphi(0.75), 0.8);
  EXPECT_DOUBLE_EQ(dsnphi(0.75), 0.6);
  EXPECT_DOUBLE_EQ(strech(0.0, zero, 1), 1.0);
  EXPECT_DOUBLE_EQ(strech(0.0, std::vector<double>{0.01, 0, 0}, 1), 1.01);
  EXPECT_DOUBLE_EQ(strech(0.75, c, 1), 1.0 + 0.0125 + 0.003125 + 0.0005859375);
  // Element 2 of a two-element array reads its own coefficients.
  EXPECT_DOUBLE_EQ(strech(0.0, std::vector<double>{9, 9, 9, 0.5, 0, 0}, 2), 1.5);
  EXPECT_FLOAT_EQ(eainv(std::vector<float>{1e-3f, 2e-5f, 3e-7f}, 10.0f, 1), 1.49e-3f);
  EXPECT_DOUBLE_EQ(xfcn(1.0, 0.0, 1, c), 0.0);
  EXPECT_DOUBLE_EQ(dzfcnoq(1.25, 1, c), 0.8 + 0.01 + 0.0025 + 0.00046875);
  EXPECT_DOUBLE_EQ(dzfcn(1.25, 1, c), 0.75 * dzfcnoq(1.25, 1, c));
  // dxfcn as the library has it (not a derivative): (6 + 3 c2 (1 + t) + 2u (3 c1 + 2 c3 t)) / (6u).
  EXPECT_DOUBLE_EQ(dxfcn(1.25, 0.75, 1, c), (6.0 + 0.0105 + 2.5 * (0.03 + 0.00045)) / 7.5);

  std::vector<double> scaled(6);
  betald(std::vector<float>{1, 1, 1, 0.5f, 0.25f, 0.125f}, scaled, 2.0, 2);
  EXPECT_EQ(scaled, (std::vector<double>{2, 4, 8, 1, 1, 1}));
  std::vector<double> wp(2);
  sclwld(wp, std::vector<float>{3, -1}, 4.0, 2);
  EXPECT_EQ(wp, (std::vector<double>{0.75, -0.25}));

  // A weightless horizontal element has no height.
  const std::vector<double> one{1.0, 1.0};
  EXPECT_EQ(zdist(std::vector<double>{0.0}, one, zero, 1, std::vector<float>{10.0f}, std::vector<double>{0, 0}), 0.0);
}

// Spans of one element between the tangents p_top and p_bot, from the
// primitives.
struct Spans {
  double x, z;
};
Spans element_spans(const Element& e, double H, double p_top) {
  const double wp = e.w / H;
  const double p_bot = p_top - wp * e.L;
  const std::vector<double> c{e.a[0] * H, e.a[1] * H * H, e.a[2] * H * H * H};
  const double ut = secfcn(p_top);
  const double ub = secfcn(p_bot);
  return {(xfcn(ut, p_top, 1, c) - xfcn(ub, p_bot, 1, c)) / wp, (zfcn(ut, 1, c) - zfcn(ub, 1, c)) / wp};
}

TEST(CatenaryPrimitives, ElementSpansAgreeWithIrvineAndQuadrature) {
  struct Case {
    Element e;
    double H, p_top;
  };
  const Case cases[] = {
      {{300.0, 0.05, {1e-5, 0, 0}}, 20.0, 1.5},        // linear law, lower end lifted
      {{800.0, 0.08, {2.5e-6, 0, 0}}, 150.0, 0.43},    // stiff and shallow
      {{120.0, 0.2, {4e-4, 0, 0}}, 10.0, 3.0},         // soft and steep
      {{300.0, 0.05, {1e-4, 2e-6, 3e-8}}, 20.0, 1.5},  // cubic law
      {{500.0, 0.03, {5e-4, -4e-6, 2e-7}}, 35.0, 0.9},
      {{60.0, -0.04, {1e-3, 1e-5, 1e-7}}, 12.0, 0.3},  // buoyant: the tangent rises downward
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p_top);
    const Spans got = element_spans(c.e, c.H, c.p_top);
    testing::LineState ref;
    testing::add_suspended(c.e, c.H, c.p_top, c.e.L, ref);
    EXPECT_NEAR(got.x, ref.x, 1e-6 * std::fabs(ref.x));
    EXPECT_NEAR(got.z, ref.z, 1e-6 * std::fabs(ref.z));
    if (c.e.a[1] == 0.0 && c.e.w > 0.0) {
      const auto irv = testing::irvine_suspended(c.e.L, c.e.w, 1.0 / c.e.a[0], c.H, c.H * c.p_top - c.e.w * c.e.L);
      EXPECT_NEAR(got.x, irv.x, 1e-6 * irv.x);
      EXPECT_NEAR(got.z, irv.z, 1e-6 * irv.z);
    }
  }
}

// Node tangents and secants of a line from top tangent p, with the elements
// from the touchdown on lying flat.
struct Nodes {
  std::vector<double> wp, t, u, c;
  std::vector<float> L;
};
Nodes nodes_of(const std::vector<Element>& els, double H, double p, bool grounding) {
  Nodes n;
  n.t.push_back(p);
  for (const Element& e : els) {
    n.wp.push_back(e.w / H);
    n.L.push_back(static_cast<float>(e.L));
    for (int k = 0; k < 3; ++k) n.c.push_back(e.a[static_cast<std::size_t>(k)] * std::pow(H, k + 1));
    const double next = n.t.back() - e.w / H * static_cast<float>(e.L);
    n.t.push_back(grounding && next < 0.0 ? 0.0 : next);
  }
  for (const double t : n.t) n.u.push_back(secfcn(t));
  return n;
}

TEST(CatenaryPrimitives, LineSpansWithWeightlessAndGroundedElements) {
  const double H = 40.0;
  const std::vector<Element> line{{200.0, 0.06, {2e-5, 1e-7, 0}},
                                  {50.0, 0.0, {1e-5, 0, 0}},
                                  {400.0, 0.09, {3e-5, 0, 1e-9}},
                                  {300.0, 0.09, {3e-5, 0, 1e-9}}};
  struct Case {
    double p;
    bool grounding;
  };
  for (const Case& k : {Case{1.4, false}, Case{0.9, true}, Case{0.4, true}}) {
    SCOPED_TRACE(k.p);
    const Nodes n = nodes_of(line, H, k.p, k.grounding);
    const int count = static_cast<int>(line.size());
    const double x = xdist(n.wp, n.u, n.t, n.c, count, count, k.grounding ? 1 : 0, n.L, 0.0);
    const double z = zdist(n.wp, n.u, n.c, count, n.L, n.t);
    // The weightless element is straight at the angle of its upper node.
    testing::LineState ref = testing::quadrature_line({line[0]}, H, k.p, k.grounding);
    const double t1 = n.t[1];
    const double straight = line[1].L * (1.0 + testing::strain_of(line[1], H * secfcn(t1)));
    ref.x += straight / secfcn(t1);
    ref.z += straight * t1 / secfcn(t1);
    const testing::LineState rest = testing::quadrature_line({line[2], line[3]}, H, t1, k.grounding);
    ref.x += rest.x;
    ref.z += rest.z;
    EXPECT_NEAR(x, ref.x, 1e-6 * ref.x);
    EXPECT_NEAR(z, ref.z, 1e-6 * ref.z);
  }
}

TEST(CatenaryPrimitives, GroundedPartFromTheAnchor) {
  const std::vector<float> w{0.1f, 0.2f, 0.05f};
  const std::vector<float> L{100.0f, 50.0f, 200.0f};
  const std::vector<double> rigid(9, 0.0);
  const std::vector<double> elastic{0.01, 0, 0, 0.01, 0, 0, 0.01, 0, 0};
  struct Case {
    float x;
    const std::vector<double>* c;
    float W, b;
    int a;
  };
  const Case cases[] = {
      {230.0f, &rigid, 10.0f + 0.2f * 30.0f, 230.0f, 2},
      {150.0f, &rigid, 7.5f, 150.0f, 3},
      {230.0f, &elastic, 10.0f + 0.2f * 28.0f / 1.01f, 200.0f + 28.0f / 1.01f, 2},
      {1000.0f, &rigid, 30.0f, 350.0f, 1},  // beyond the line: the totals
  };
  for (const Case& c : cases) {
    float W = -1.0f, b = -1.0f;
    int a = -1;
    tuchdn(c.x, w, L, *c.c, 3, 0.0, W, a, b);
    EXPECT_EQ(a, c.a) << c.x;
    EXPECT_NEAR(W, c.W, 1e-4f) << c.x;
    EXPECT_NEAR(b, c.b, 1e-3f) << c.x;
  }
}

}  // namespace
}  // namespace kelp
