#include "moor/morlib/taut_tendon.hpp"

#include <gtest/gtest.h>

namespace kelp {
namespace {

// One subline of length L, weight w and linear compliance a1 under fairlead
// tension T0 stretches to L + a1 (T0^2 - (T0 - w L)^2) / (2 w).
TEST(TendonResidual, MatchesClosedForms) {
  struct Case {
    const char* what;
    TendonData d;
    double x;
    double want;
  };
  TendonData linear;
  linear.span = 940.0;
  linear.top_tension = 200.0;
  linear.sublines = 1;
  linear.weight[0] = 0.05;
  linear.compliance[0] = {1e-4, 0, 0};
  linear.length[0] = 12345.0;  // replaced by the trial length

  TendonData rigid = linear;
  rigid.sublines = 3;
  rigid.compliance[0] = {0, 0, 0};
  rigid.length[1] = 100.0;
  rigid.length[2] = 250.0;
  rigid.weight[1] = 0.02;
  rigid.weight[2] = 0.03;

  // A weightless subline carries one tension along its length.
  TendonData weightless = linear;
  weightless.weight[0] = 0.0;

  // The weight exceeds the fairlead tension: the bottom tension -10 enters
  // with its absolute value, so the two ends cancel and nothing is stretched.
  TendonData slack = linear;
  slack.top_tension = 10.0;
  slack.weight[0] = 1.0;

  const Case cases[] = {
      {"linear subline", linear, 900.0, 940.0 - (900.0 + 1e-4 * (200.0 * 200.0 - 155.0 * 155.0) / 0.1)},
      {"inelastic type", rigid, 300.0, 940.0 - 650.0},
      {"weightless subline", weightless, 900.0, 940.0 - 900.0 * 1.02},
      {"negative bottom tension", slack, 20.0, 940.0},
      {"no sublines", TendonData{0, 5.0, 1.0, {}, {}, {}, 0}, 3.0, 5.0},
  };
  for (const auto& c : cases) EXPECT_NEAR(dvster(c.d, c.x), c.want, 1e-9) << c.what;
}

}  // namespace
}  // namespace kelp
