#pragma once
// Members of the member model written into tpcm, for the tests of the
// coefficient computation, the member checks and the consistency checks.
#include <array>

#include "edlib/record/data_record.hpp"
#include "edlib/record/member_table.hpp"
#include "sysutl/record.hpp"

namespace kelp::testing {

struct MemberSpec {
  std::array<float, 3> base{};
  std::array<float, 3> top{};
  std::array<float, 3> dims{};
  float area = 0.0f;
  int base_end = member::kFreeEnd;
  int top_end = member::kFreeEnd;
  int profile = member::kElliptic;
  int source = member::kDeepWater;
};

inline constexpr float kPi = 3.1415927f;

// Writes member n and raises the member count to n when it is lower.
inline void put_member(Tpcm& t, int n, const MemberSpec& m) {
  using namespace member;
  for (int k = 1; k <= 3; ++k) {
    const auto i = static_cast<std::size_t>(k - 1);
    t.set_r(base_point(n, k), m.base[i]);
    t.set_r(top_point(n, k), m.top[i]);
    t.set_r(dimension(n, k), m.dims[i]);
  }
  t.set_r(area(n), m.area);
  t.i(base_end(n)) = m.base_end;
  t.i(top_end(n)) = m.top_end;
  t.i(profile(n)) = m.profile;
  t.i(coef_source(n)) = m.source;
  if (t.i(kCount) < n) t.i(kCount) = n;
}

// The vessel words the member computations read.
inline void member_vessel(Tpcm& t, int type, float draft, float waterplane = 0.0f) {
  t.i(kOutputUnit) = 6;
  t.i(kVesselType) = type;
  t.set_r(kDraft, draft);
  t.set_r(kWaterplaneArea, waterplane);
}

inline std::array<float, 3> added_mass(const Tpcm& t, int n) {
  return {t.r(member::added_mass(n, 1)), t.r(member::added_mass(n, 2)), t.r(member::added_mass(n, 3))};
}
inline std::array<float, 3> added_moment(const Tpcm& t, int n) {
  return {t.r(member::added_moment(n, 1)), t.r(member::added_moment(n, 2)), t.r(member::added_moment(n, 3))};
}

// Shapes used by several tests (end points along Vz unless noted; the
// waterplane lies well above them in a draft of 100).
// A horizontal circular cylinder along Vx, closed at both ends, at height z.
inline MemberSpec pontoon(float z) {
  return {{0.0f, 0.0f, z}, {20.0f, 0.0f, z}, {2.0f, 2.0f, 20.0f}, kPi, member::kWallTerminated,
          member::kWallTerminated};
}
// A vertical circular column of diameter 2 from z0 to z1: free base and the
// given top.
inline MemberSpec column(float z0, float z1, int top_end) {
  return {{0.0f, 0.0f, z0}, {0.0f, 0.0f, z1}, {2.0f, 2.0f, z1 - z0}, kPi, member::kFreeEnd, top_end};
}

}  // namespace kelp::testing
