#include "kelpkit/table_search.hpp"

#include <algorithm>
#include <cstddef>

namespace kelp {
namespace {

int held_count(std::size_t size, int n) { return std::clamp(n, 0, static_cast<int>(std::min<std::size_t>(size, 1u << 30))); }

// Flag of a one-entry table: inside when equal to its entry.
template <class T>
int single_entry_flag(T entry, T xv) {
  if (xv < entry) return kBelowTable;
  if (xv > entry) return kAboveTable;
  return kInsideTable;
}

// Flag from the end entries first and last of a table that rises when
// first <= last.
template <class T>
int end_flag(T first, T last, T xv) {
  if (first <= last) {
    if (first <= xv && xv <= last) return kInsideTable;
    return xv > last ? kAboveTable : kBelowTable;
  }
  if (last <= xv && xv <= first) return kInsideTable;
  return xv < last ? kBelowTable : kAboveTable;
}

// Bisection over entries 1..n of value(i); returns the low end of the segment.
template <class T, class Get>
int bisect(const Get& value, T xv, bool rising, int n) {
  int low = 1;
  int high = n;
  do {
    const int mid = (low + high) / 2;
    const bool move_low = rising ? value(mid) < xv : value(mid) >= xv;
    (move_low ? low : high) = mid;
  } while (high - low > 1);
  return low;
}

// Blended entry i (from 1) of a layered column; the first layer alone when
// the span holds no second layer.
template <class T>
T blended(std::span<const T> a, int i, T f) {
  const auto k = static_cast<std::size_t>(i - 1);
  if (k + kLayerStride >= a.size()) return a[k];
  return (T(1) - f) * a[k] + f * a[k + kLayerStride];
}

// Linear interpolation in segment i over count addressable entries.
template <class T, class GetX, class GetY>
int interpolate(int count, const GetX& x, const GetY& y, T xv, T& yv, int i) {
  if (count < 2) {
    yv = count == 1 ? y(1) : T(0);
    return kTableTooShort;
  }
  int status = kTableOk;
  if (i < 1 || i > count - 1) {
    i = std::clamp(i, 1, count - 1);
    status = kSegmentOutside;
  }
  const T x0 = x(i);
  const T x1 = x(i + 1);
  if (x1 == x0) {
    yv = y(i);
    return kEqualAbscissae;
  }
  const T y0 = y(i);
  yv = y0 + (xv - x0) / (x1 - x0) * (y(i + 1) - y0);
  return status;
}

template <class T>
int layered_search(std::span<const T> x, T f, T xv, int& iflag, int& ilow, int n) {
  n = held_count(x.size(), n);
  if (n < 2) {
    iflag = n == 1 ? single_entry_flag(x[0], xv) : kInsideTable;
    ilow = 1;
    return kTableTooShort;
  }
  const T first = x[0];
  const T last = x[static_cast<std::size_t>(n - 1)];
  if (xv > first && xv > last) {
    iflag = kAboveTable;
  } else if (xv < first && xv < last) {
    iflag = kBelowTable;
  } else {
    iflag = kInsideTable;
  }
  const auto value = [&](int i) { return blended(x, i, f); };
  ilow = bisect(value, xv, value(1) <= value(n), n);
  return kTableOk;
}

}  // namespace

int interp(std::span<const float> x, std::span<const float> y, float xv, float& yv, int i) {
  const int count = static_cast<int>(std::min(x.size(), y.size()));
  return interpolate(count, [&](int k) { return x[static_cast<std::size_t>(k - 1)]; },
                     [&](int k) { return y[static_cast<std::size_t>(k - 1)]; }, xv, yv, i);
}

int bsrch(std::span<const float> x, float xv, int& iflag, int& ilow, int n) {
  n = held_count(x.size(), n);
  if (n < 2) {
    iflag = n == 1 ? single_entry_flag(x[0], xv) : kInsideTable;
    ilow = 1;
    return kTableTooShort;
  }
  const float first = x[0];
  const float last = x[static_cast<std::size_t>(n - 1)];
  iflag = end_flag(first, last, xv);
  ilow = bisect([&](int i) { return x[static_cast<std::size_t>(i - 1)]; }, xv, first <= last, n);
  return kTableOk;
}

int bsrch_moor(std::span<const float> x, float xv, int& iflag, int& ilow, int n) {
  n = held_count(x.size(), n);
  if (n < 2) {
    iflag = n == 1 ? single_entry_flag(x[0], xv) : kInsideTable;
    ilow = 1;
    return kTableTooShort;
  }
  const auto at = [&](int i) { return x[static_cast<std::size_t>(i - 1)]; };
  // The interior entries decide the direction, so that one odd end step does
  // not turn the table round. A table of two or three entries has no two
  // interior entries to compare (x(2) against x(n - 1) would call every
  // falling three-entry table, and every two-entry table, reversed): there
  // the end points decide.
  const bool rising = n <= 3 ? at(1) <= at(n) : !(at(2) > at(n - 1));
  const auto against = [&](int i) { return rising ? at(i + 1) < at(i) : at(i + 1) > at(i); };
  if (against(1)) {
    iflag = kFirstStepReversed;
  } else if (against(n - 1)) {
    iflag = kLastStepReversed;
  } else {
    iflag = end_flag(at(1), at(n), xv);
  }
  ilow = bisect(at, xv, rising, n);
  return kTableOk;
}

// A value equal to the last entry x(n) is bracketed by no segment (each
// segment holds its left end, not its right one). The old routine then
// answered with a position past the end of a rising table, or with the first
// segment of a falling one. Here it answers with the last segment, n - 1, so
// that interpolation gives exactly the last value, and never with a position
// above n - 1. Line-mechanics code that used to treat ilow = n apart after
// this routine (or that relied on the first segment for a falling table)
// must not do so: ilow is always a segment that exists.
int brackt(std::span<const float> x, float xv, int& iflag, int& ilow, int i1, int n) {
  n = held_count(x.size(), n);
  if (n < 2) {
    iflag = n == 1 ? single_entry_flag(x[0], xv) : kInsideTable;
    ilow = 1;
    return kTableTooShort;
  }
  const auto at = [&](int i) { return x[static_cast<std::size_t>(i - 1)]; };
  i1 = std::max(i1, 1);
  float xmin = at(n);
  float xmax = at(n);
  for (int i = i1; i <= n - 1; ++i) {
    const float a = at(i);
    const float b = at(i + 1);
    if ((a <= xv && xv < b) || (a >= xv && xv > b)) {
      iflag = kInsideTable;
      ilow = i;
      return kTableOk;
    }
    xmin = std::min(xmin, a);
    xmax = std::max(xmax, a);
  }
  if (xv > xmax) {
    iflag = kAboveTable;
  } else if (xv < xmin) {
    iflag = kBelowTable;
  } else {
    // Within the range seen yet in no segment: xv equals x(n) (every other
    // entry equal to xv starts a segment that holds it), or xv is not a
    // number. Either way ilow ends in a segment of the table.
    iflag = kInsideTable;
    ilow = xv == at(n) ? n - 1 : std::clamp(ilow, 1, n - 1);
  }
  return kTableOk;
}

float midlay(std::span<const float> a, float f) { return a.empty() ? 0.0f : blended(a, 1, f); }

double mdlydp(std::span<const double> a, double f) { return a.empty() ? 0.0 : blended(a, 1, f); }

int bsrchq(std::span<const float> x, float f, float xv, int& iflag, int& ilow, int n) {
  return layered_search(x, f, xv, iflag, ilow, n);
}

int bsrcdp(std::span<const double> x, double f, double xv, int& iflag, int& ilow, int n) {
  return layered_search(x, f, xv, iflag, ilow, n);
}

namespace {

template <class T>
auto plain(std::span<const T> a) {
  return [a](int k) { return a[static_cast<std::size_t>(k - 1)]; };
}

template <class T>
auto layered(std::span<const T> a, T f) {
  return [a, f](int k) { return blended(a, k, f); };
}

template <class T>
int count_of(std::span<const T> x, std::span<const T> y) {
  return static_cast<int>(std::min<std::size_t>(std::min(x.size(), y.size()), 1u << 30));
}

}  // namespace

int intrpq(std::span<const float> x, std::span<const float> y, float xv, float& yv, int i, float f) {
  return interpolate(count_of(x, y), layered(x, f), layered(y, f), xv, yv, i);
}

int intrpr(std::span<const float> x, std::span<const float> y, float xv, float& yv, int i, float f) {
  return interpolate(count_of(x, y), layered(x, f), plain(y), xv, yv, i);
}

int intrps(std::span<const float> x, std::span<const float> y, float xv, float& yv, int i, float f) {
  return interpolate(count_of(x, y), plain(x), layered(y, f), xv, yv, i);
}

int intdpq(std::span<const double> x, std::span<const double> y, double xv, double& yv, int i, double f) {
  return interpolate(count_of(x, y), layered(x, f), layered(y, f), xv, yv, i);
}

int intdpr(std::span<const double> x, std::span<const double> y, double xv, double& yv, int i, double f) {
  return interpolate(count_of(x, y), layered(x, f), plain(y), xv, yv, i);
}

int intdps(std::span<const double> x, std::span<const double> y, double xv, double& yv, int i, double f) {
  return interpolate(count_of(x, y), plain(x), layered(y, f), xv, yv, i);
}

void max_min(std::span<const float> x, int n, int& imin, int& imax, float& xmin, float& xmax, int& imono, int& iup) {
  n = held_count(x.size(), n);
  const auto at = [&](int i) { return x[static_cast<std::size_t>(i - 1)]; };
  imin = 1;
  imax = 1;
  xmin = 1.0e30f;
  xmax = -1.0e30f;
  imono = 1;
  iup = 0;
  if (n < 1) return;
  iup = at(n) > at(1) ? 1 : 0;
  for (int i = 1; i <= n - 1; ++i) {
    if (iup == 1 ? at(i + 1) < at(i) : at(i + 1) > at(i)) imono = 0;
  }
  for (int i = 1; i <= n; ++i) {
    if (at(i) < xmin) {
      xmin = at(i);
      imin = i;
    }
    if (at(i) > xmax) {
      xmax = at(i);
      imax = i;
    }
  }
}

void rngchk(std::span<const float> x, int i1, int i2, float xv, int& iflag) {
  iflag = 0;
  const int size = held_count(x.size(), static_cast<int>(std::min<std::size_t>(x.size(), 1u << 30)));
  if (size == 0 || i1 == i2) return;
  i1 = std::clamp(i1, 1, size);
  i2 = std::clamp(i2, 1, size);
  const auto at = [&](int i) { return x[static_cast<std::size_t>(i - 1)]; };
  const bool rising = at(i2) > at(i1);
  bool monotonic = true;
  for (int i = i1; i <= i2 - 1; ++i) {
    if (rising ? at(i + 1) < at(i) : at(i + 1) > at(i)) monotonic = false;
  }
  if (rising) {
    if (xv < at(i1) || xv > at(i2)) iflag = 1;
  } else {
    if (xv > at(i1) || xv < at(i2)) iflag = 2;
  }
  if (!monotonic) iflag = iflag + 3;
}

}  // namespace kelp
