#include "moor/catlib/axial_wave.hpp"

#include <algorithm>
#include <cmath>

#include "moor/catlib/catenary.hpp"

namespace kelp {
namespace {

// The walk along the chain. The displacement along an element of the chain
// at distance s from its end nearer the start is W (a cos ks + b sin ks) and
// the tension W (k/e) (b cos ks - a sin ks).
struct ChainWalk {
  const LineType& lt;
  const AxialWaveInput& in;
  int n = 0;
  float a = 0.0f, b = 1.0f;
  int c = 0;  // current chain element, 0 for none yet
  int last = 0;
  // First and last chain element; before any is found, the last element of
  // the walk.
  int first = 1, end = 1;

  ChainWalk(const LineType& type, const AxialWaveInput& input, int count)
      : lt(type), in(input), n(count), first(input.direction == 1 ? 1 : count), end(first) {}

  float k(int j) const {
    const auto i = static_cast<std::size_t>(j - 1);
    return i < in.wave_numbers.size() ? in.wave_numbers[i] : 0.0f;
  }
  float e(int j) const { return eainv(lt.alpha, in.t0, j); }
  float length(int j) const { return lt.length[static_cast<std::size_t>(j - 1)]; }
  // Element left and element entered at crossing i, and the node between
  // them.
  int left(int i) const { return in.direction == 1 ? n - i + 1 : i; }
  int entered(int i) const { return in.direction == 1 ? n - i : i + 1; }
  int junction(int i) const { return in.direction == 1 ? n - i + 1 : i + 1; }
  // Tension at the far end of chain element c for the current state (per
  // unit W): the tension the next element starts with.
  float far_tension() const {
    const float theta = k(c) * length(c);
    return k(c) / e(c) * (b * std::cos(theta) - a * std::sin(theta));
  }

  // Crossing i; calls node(junction, tension per unit W) from the first
  // chain element on.
  template <class Node>
  void cross(int i, const Node& node) {
    const int j1 = left(i);
    const int j2 = entered(i);
    if (k(j1) != 0.0f) {
      if (c == 0) first = last = j1;
      c = j1;
    } else if (c == 0) {
      return;
    }
    node(junction(i), far_tension());
    if (k(j2) != 0.0f) {
      last = j2;
      const float theta = k(c) * length(c);
      const float ratio = (k(c) * e(j2)) / (k(j2) * e(c));
      const float a2 = a * std::cos(theta) + b * std::sin(theta);
      const float b2 = ratio * (b * std::cos(theta) - a * std::sin(theta));
      a = a2;
      b = b2;
    }
    end = last;
  }
};

}  // namespace

void lngwav(const LineType& lt, const AxialWaveInput& in, AxialWaveOutput& out) {
  const int n = std::clamp(lt.nelem, 1, kSublineCapacity);
  const auto node_count = static_cast<std::size_t>(n + 1);
  const bool nodes = in.node_output && out.nodes.size() >= node_count;
  const auto at = [&out](int node) -> std::complex<float>& { return out.nodes[static_cast<std::size_t>(node - 1)]; };
  const int moving = in.direction == 1 ? 1 : n + 1;
  const int held = in.direction == 1 ? n + 1 : 1;

  ChainWalk walk{lt, in, n};
  for (int i = 1; i < n; ++i) walk.cross(i, [](int, float) {});

  if (walk.k(walk.first) == 0.0f) {
    const std::complex<float> yc = in.yc;
    const std::complex<float> F =
        yc * std::complex<float>(std::abs(yc) * in.sigma + in.k_catenary - in.omega * in.omega * in.mass,
                                 in.omega * in.cq * in.gain);
    out.t_start = out.t_far = F;
    if (nodes) std::fill_n(out.nodes.begin(), node_count, F);
    return;
  }
  const int l = walk.end;
  const float theta = walk.k(l) * walk.length(l);
  float D = walk.a * std::cos(theta) + walk.b * std::sin(theta);
  if (D == 0.0f) D = 1e-20f;
  const std::complex<float> W = in.ye / D;
  out.t_start = walk.k(walk.first) * W / walk.e(walk.first);
  out.t_far = (walk.k(l) * W / walk.e(l)) * (walk.b * std::cos(theta) - walk.a * std::sin(theta));
  if (!nodes) return;
  at(moving) = out.t_far;
  at(held) = out.t_start;
  ChainWalk again{lt, in, n};
  for (int i = 1; i < n; ++i) again.cross(i, [&](int node, float tension) { at(node) = W * tension; });
}

}  // namespace kelp
