#pragma once
// Words of the member model in tpcm: up to 50 prismatic members, each with
// its end types, axis-alignment code, form flag, profile, coefficient
// sources, end points, dimensions, area and coefficient triples. Members
// are numbered from 1; axis k runs 1, 2, 3 for Mx, My, Mz (or Vx, Vy, Vz).
// A member number outside 1..50 has no words: callers check it first. The
// vessel words they read (type, draft, waterplane area) are named in
// data_record.hpp.
#include <cstddef>

namespace kelp::member {

inline constexpr int kMaxMembers = 50;

inline constexpr std::size_t kCount = 3660;    // int: number of members
inline constexpr std::size_t kMaximum = 3662;  // int: maximum number (50 for the moored kinds)
inline constexpr std::size_t kCountCopy = 3657;  // int: copy of the count, written by the member page
// Real: the default drag coefficient of axis k (1..3) that the member page
// gives every member.
inline constexpr std::size_t default_drag(int k) { return 3667 + static_cast<std::size_t>(k); }

// End types: 0 free and submerged, 1 water-piercing, 2 wall-terminated.
inline constexpr int kFreeEnd = 0;
inline constexpr int kWaterPiercing = 1;
inline constexpr int kWallTerminated = 2;

// Profiles: 0 rectangular, 1 circular/elliptic, 2 intermediate.
inline constexpr int kRectangular = 0;
inline constexpr int kElliptic = 1;
inline constexpr int kIntermediate = 2;

// Coefficient sources: 0 user-specified, 1 computed in deep water, 2
// computed with the free-surface correction.
inline constexpr int kUserCoefficients = 0;
inline constexpr int kDeepWater = 1;
inline constexpr int kSurfaceCorrected = 2;

inline constexpr std::size_t base_end(int n) { return 3306 + static_cast<std::size_t>(n); }
inline constexpr std::size_t top_end(int n) { return 3356 + static_cast<std::size_t>(n); }
inline constexpr std::size_t alignment(int n) { return 3406 + static_cast<std::size_t>(n); }
inline constexpr std::size_t form(int n) { return 3456 + static_cast<std::size_t>(n); }
inline constexpr std::size_t profile(int n) { return 3506 + static_cast<std::size_t>(n); }
inline constexpr std::size_t coef_source(int n) { return 3556 + static_cast<std::size_t>(n); }
inline constexpr std::size_t drag_source(int n) { return 3606 + static_cast<std::size_t>(n); }
inline constexpr std::size_t area(int n) { return 3974 + static_cast<std::size_t>(n); }

// Triples: component k (1..3) of member n.
inline constexpr std::size_t triple(std::size_t origin, int n, int k) {
  return origin + 3 * static_cast<std::size_t>(n) + static_cast<std::size_t>(k);
}
inline constexpr std::size_t base_point(int n, int k) { return triple(3671, n, k); }
inline constexpr std::size_t top_point(int n, int k) { return triple(3821, n, k); }
inline constexpr std::size_t dimension(int n, int k) { return triple(4021, n, k); }
inline constexpr std::size_t added_mass(int n, int k) { return triple(4171, n, k); }
inline constexpr std::size_t added_moment(int n, int k) { return triple(4321, n, k); }
inline constexpr std::size_t drag(int n, int k) { return triple(4471, n, k); }
inline constexpr std::size_t drag_moment(int n, int k) { return triple(4621, n, k); }

inline constexpr bool valid(int n) { return n >= 1 && n <= kMaxMembers; }

}  // namespace kelp::member
