#include "moor/s/work_areas.hpp"

#include <algorithm>

namespace kelp {

Lincom::Lincom()
    : range_table(kLoadTableSize),
      bottom_length_table(kLoadTableSize),
      further_table(kLoadTableSize),
      top_tension_table(kLoadTableSize),
      top_angle_table(kLoadTableSize),
      bottom_angle_table(kLoadTableSize),
      topt_start(std::size_t{kTablePoints} * kLayerColumns),
      curve_points(std::size_t{kSublineCapacity} * kLineTypeCapacity),
      curve_tension(kCurveArraySize),
      curve_strain(kCurveArraySize),
      curve_y2(kCurveArraySize) {}

std::size_t Lincom::table_index(int j, int k, int t) {
  j = std::clamp(j, 1, kTablePoints);
  k = std::clamp(k, 1, kLayerColumns);
  t = std::clamp(t, 1, kLineTypeCapacity);
  return static_cast<std::size_t>((j - 1) + kTablePoints * (k - 1) + kTablePoints * kLayerColumns * (t - 1));
}

std::span<const float> Lincom::column(const std::vector<float>& table, int k, int t) {
  return std::span<const float>(table).subspan(table_index(1, k, t));
}

std::size_t Lincom::curve_index(int i, int t) {
  i = std::clamp(i, 1, kSublineCapacity);
  t = std::clamp(t, 1, kLineTypeCapacity);
  return static_cast<std::size_t>(kCurvePoints * ((i - 1) + kSublineCapacity * (t - 1)));
}

std::span<const float> Lincom::curve(const std::vector<float>& a, int i, int t) const {
  return std::span<const float>(a).subspan(curve_index(i, t), kCurvePoints);
}

int Lincom::curve_count(int i, int t) const {
  i = std::clamp(i, 1, kSublineCapacity);
  t = std::clamp(t, 1, kLineTypeCapacity);
  return std::clamp(curve_points[static_cast<std::size_t>((i - 1) + kSublineCapacity * (t - 1))], 2, kCurvePoints);
}

}  // namespace kelp
