#include "moor/catlib/axial_wave.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <vector>

namespace kelp {
namespace {

using Complex = std::complex<float>;
using Nodes = std::array<Complex, kMaxNodes>;

// A chain of bars: length, strain slope e (a linear strain law) and wave
// number per element, fairlead first.
struct Bar {
  float L, e, k;
};

struct Chain {
  LineType lt;
  std::vector<float> k;
  AxialWaveInput in;
  Nodes nodes{};
  AxialWaveOutput out;

  explicit Chain(const std::vector<Bar>& bars, int direction = 1) {
    lt.nelem = static_cast<int>(bars.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
      lt.length[i] = bars[i].L;
      lt.alpha[3 * i] = bars[i].e;
      k.push_back(bars[i].k);
    }
    in.ye = {0.3f, -0.1f};
    in.yc = {1.0f, 2.0f};
    in.direction = direction;
    in.wave_numbers = k;
    in.node_output = true;
    nodes.fill(Complex(-7.0f, -7.0f));
    out.nodes = nodes;
  }
  Chain& run() {
    lngwav(lt, in, out);
    return *this;
  }
};

void expect_close(Complex a, Complex b, float rel, const char* what) {
  EXPECT_NEAR(std::abs(a - b), 0.0f, rel * std::abs(b)) << what << ": " << a << " vs " << b;
}

TEST(Lngwav, UniformRodDynamicStiffness) {
  // A uniform rod of length L held at the bottom and moved by Ye at the top:
  // tension (k/e) Ye cos(k s) / sin(kL) at distance s from the bottom.
  const float L = 100.0f, e = 1e-4f, k = 0.02f;
  const Complex ye{0.3f, -0.1f};
  const auto rod = [&](float s) { return (k / e) * ye * std::cos(k * s) / std::sin(k * L); };
  for (const int parts : {1, 4}) {
    SCOPED_TRACE(parts);
    Chain c(std::vector<Bar>(static_cast<std::size_t>(parts), Bar{L / parts, e, k}));
    c.run();
    expect_close(c.out.t_far, rod(L), 1e-5f, "top");
    expect_close(c.out.t_start, rod(0.0f), 1e-5f, "bottom");
    for (int j = 1; j <= parts + 1; ++j) expect_close(c.nodes[j - 1], rod(L - (L / parts) * (j - 1)), 1e-5f, "node");
  }
  // As omega falls both tend to Ye over the series compliance.
  Chain slow({{60.0f, 2e-4f, 1e-6f}, {140.0f, 5e-5f, 3e-6f}});
  slow.run();
  const Complex quasi = ye / (60.0f * 2e-4f + 140.0f * 5e-5f);
  expect_close(slow.out.t_far, quasi, 1e-4f, "slow top");
  expect_close(slow.out.t_start, quasi, 1e-4f, "slow bottom");
  // Without node output the nodes are left alone.
  Chain quiet({{L, e, k}});
  quiet.in.node_output = false;
  quiet.run();
  EXPECT_EQ(quiet.nodes[0], Complex(-7.0f, -7.0f));
  expect_close(quiet.out.t_start, rod(0.0f), 1e-5f, "bottom");
}

TEST(Lngwav, ElementsWithoutWaveCarryTheTensionUnchanged) {
  const Bar a{80.0f, 1e-4f, 0.01f}, b{50.0f, 3e-4f, 0.015f}, still{30.0f, 7e-4f, 0.0f};
  Chain two({a, b});
  Chain three({a, still, b});
  two.run();
  three.run();
  expect_close(three.out.t_far, two.out.t_far, 1e-6f, "top");
  expect_close(three.out.t_start, two.out.t_start, 1e-6f, "bottom");
  // Nodes 2 and 3 bound the still element: both carry the tension at the
  // junction of a and b.
  expect_close(three.nodes[1], two.nodes[1], 1e-5f, "above the still element");
  expect_close(three.nodes[2], two.nodes[1], 1e-5f, "below the still element");

  // No wave anywhere: the catenary force at both ends and every node.
  Chain none({{a.L, a.e, 0.0f}, {b.L, b.e, 0.0f}});
  none.in.sigma = 0.5f;
  none.in.k_catenary = 10.0f;
  none.in.omega = 2.0f;
  none.in.mass = 0.5f;
  none.in.cq = 3.0f;
  none.in.gain = 0.4f;
  none.run();
  const Complex yc{1.0f, 2.0f};
  const Complex F = yc * Complex(std::sqrt(5.0f) * 0.5f + 10.0f - 4.0f * 0.5f, 2.0f * 3.0f * 0.4f);
  for (const Complex v : {none.out.t_far, none.out.t_start, none.nodes[0], none.nodes[1], none.nodes[2]}) {
    expect_close(v, F, 1e-6f, "catenary force");
  }
}

TEST(Lngwav, ResonanceGivesLargeFiniteTensions) {
  // An element of no length carries a wave whose phase never grows: the top
  // does not move for a unit wave.
  Chain c({{0.0f, 1e-4f, 0.02f}});
  c.run();
  EXPECT_TRUE(std::isfinite(c.out.t_far.real()) && std::isfinite(c.out.t_start.real()));
  EXPECT_GT(std::abs(c.out.t_start), 1e20f);
}

TEST(Lngwav, OtherDirectionsWalkFromTheFairlead) {
  const Bar a{80.0f, 1e-4f, 0.01f}, b{50.0f, 3e-4f, 0.015f}, z{20.0f, 2e-4f, 0.0f};
  for (const auto& bars : {std::vector<Bar>{a, b}, std::vector<Bar>{a, z}, std::vector<Bar>{z, a, b}}) {
    Chain down(bars, 0);
    Chain up(std::vector<Bar>(bars.rbegin(), bars.rend()), 1);
    down.run();
    up.run();
    expect_close(down.out.t_far, up.out.t_far, 1e-6f, "moving end");
    expect_close(down.out.t_start, up.out.t_start, 1e-6f, "held end");
    const int n = static_cast<int>(bars.size());
    for (int j = 1; j <= n + 1; ++j) {
      if (down.nodes[j - 1] != Complex(-7.0f, -7.0f)) expect_close(down.nodes[j - 1], up.nodes[n + 1 - j], 1e-5f, "node");
    }
  }
}

}  // namespace
}  // namespace kelp
