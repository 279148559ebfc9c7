#include "moor/morlib/taut_tendon.hpp"

#include <algorithm>
#include <cstddef>

namespace kelp {

double dvster(const TendonData& d, double x) {
  const int n = std::clamp(d.sublines, 0, kTendonSublines);
  std::array<double, kTendonSublines> length = d.length;
  length[0] = x;
  double bottom = d.top_tension;
  for (int j = 0; j < n; ++j) bottom -= d.weight[static_cast<std::size_t>(j)] * length[static_cast<std::size_t>(j)];

  // top[j]: tension at the top of subline j + 1; top[n] the bottom tension.
  std::array<double, kTendonSublines + 1> top{};
  for (int j = 1; j <= n; ++j) top[static_cast<std::size_t>(j - 1)] = dtkltn(length, d.weight, j, n, bottom);
  top[static_cast<std::size_t>(n)] = bottom;

  double stretched = 0.0;
  for (std::size_t j = 0; j < static_cast<std::size_t>(n); ++j) {
    const Compliance& a = d.compliance[j];
    if (top[j] != top[j + 1]) {
      stretched += sfncdp(a, top[j], d.weight[j]) - sfncdp(a, top[j + 1], d.weight[j]);
    } else {
      stretched += length[j] * sfcdp2(a, top[j]);
    }
  }
  return d.span - stretched;
}

}  // namespace kelp
