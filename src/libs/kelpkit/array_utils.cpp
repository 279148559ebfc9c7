#include "kelpkit/array_utils.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace kelp {
namespace {

// Number of elements of a span usable as a count, capped so that products
// of counts stay far from overflow.
long long usable(std::size_t size) { return static_cast<long long>(std::min<std::size_t>(size, 1u << 30)); }

// a * b for non-negative a and b, held at 2^40 (far beyond any span used).
long long saturating_product(long long a, long long b) {
  constexpr long long kHeld = 1LL << 40;
  if (a == 0 || b == 0) return 0;
  return a > kHeld / b ? kHeld : std::min(a * b, kHeld);
}

// Zeroes the words base + i - 1 for i = i1..i2 (i from 1) that the span has.
// Positions with an index below 1 lie outside the array and are left alone.
void zero_range(std::span<std::int32_t> a, long long base, int i1, int i2) {
  const long long first = base + std::max(i1, 1) - 1;
  const long long last = std::min(base + i2 - 1, usable(a.size()) - 1);
  for (long long p = first; p <= last; ++p) a[static_cast<std::size_t>(p)] = 0;
}

// Copies rows n..1 of `width` words each, the words of a row in order.
void move_rows_down(int n, int width, std::span<const std::int32_t> src, std::span<std::int32_t> dst) {
  const long long rows = std::min<long long>(n, std::min(usable(src.size()), usable(dst.size())) / width);
  for (long long row = rows - 1; row >= 0; --row) {
    for (int w = 0; w < width; ++w) {
      const auto k = static_cast<std::size_t>(row * width + w);
      dst[k] = src[k];
    }
  }
}

}  // namespace

void movup(int n, std::span<const std::int32_t> src, std::span<std::int32_t> dst) {
  const long long count = std::min<long long>(n, std::min(usable(src.size()), usable(dst.size())));
  for (long long i = 0; i < count; ++i) dst[static_cast<std::size_t>(i)] = src[static_cast<std::size_t>(i)];
}

void movdwn(int n, std::span<const std::int32_t> src, std::span<std::int32_t> dst) { move_rows_down(n, 1, src, dst); }

void movdwn2(int n, std::span<const std::int32_t> src, std::span<std::int32_t> dst) { move_rows_down(n, 2, src, dst); }

void movdwn3(int n, std::span<const std::int32_t> src, std::span<std::int32_t> dst) { move_rows_down(n, 3, src, dst); }

void clear_1d(std::span<std::int32_t> a, int /*n*/, int i1, int i2) { zero_range(a, 0, i1, i2); }

void clear_2d(std::span<std::int32_t> a, int size1, int /*size2*/, int i1, int i2, int j1, int j2) {
  const long long ld = std::max(size1, 0);
  const long long limit = usable(a.size());
  for (long long j = std::max(j1, 1); j <= j2; ++j) {
    const long long base = saturating_product(j - 1, ld);
    if (base >= limit) break;
    zero_range(a, base, i1, i2);
    if (ld == 0) break;  // every column is the same words
  }
}

void clear_3d(std::span<std::int32_t> a, int size1, int size2, int /*size3*/, int i1, int i2, int j1, int j2, int k1,
              int k2) {
  const long long ld1 = std::max(size1, 0);
  const long long plane = saturating_product(ld1, std::max(size2, 0));
  const long long limit = usable(a.size());
  for (long long k = std::max(k1, 1); k <= k2; ++k) {
    const long long base_k = saturating_product(k - 1, plane);
    if (base_k >= limit) break;
    for (long long j = std::max(j1, 1); j <= j2; ++j) {
      const long long base = base_k + saturating_product(j - 1, ld1);
      if (base >= limit) break;
      zero_range(a, base, i1, i2);
      if (ld1 == 0) break;
    }
    if (plane == 0) break;
  }
}

void fillup(std::span<std::int32_t> ia, std::span<float> ra, int idir, int n) {
  const long long count = std::min<long long>(n, std::min(usable(ia.size()), usable(ra.size())));
  for (long long i = 0; i < count; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (idir > 0) {
      ra[k] = static_cast<float>(ia[k]);
    } else {
      ia[k] = trunc_saturating(ra[k]);
    }
  }
}

float reddeg(float a) {
  float b = std::fmod(a, 360.0f);
  if (b < 0.0f) b = b + 360.0f;
  return b;
}

float reddeg2(float a) {
  if (a == 0.0f) return 0.0f;
  return reddeg(a + 359.9999f);
}

float angsym(float a) {
  float b = std::fmod(a, 6.2831855f);
  if (b <= -3.1415927f) {
    b = b + 6.2831855f;
  } else if (b > 3.1415927f) {
    b = b - 6.2831855f;
  }
  return b;
}

float arccos(float x) {
  x = std::clamp(x, -1.0f, 1.0f);
  if (x == 0.0f) return 1.5707964f;
  return std::atan2(std::sqrt(1.0f - x * x), x);
}

}  // namespace kelp
