#include "kelpkit/table_search.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kelp {
namespace {

struct Found {
  int status = -9;
  int iflag = -9;
  int ilow = -9;
};

Found search(const std::vector<float>& x, float xv) {
  Found f;
  f.status = bsrch(x, xv, f.iflag, f.ilow, static_cast<int>(x.size()));
  return f;
}

TEST(Bsrch, RisingTable) {
  const std::vector<float> x{1, 2, 3, 4};
  auto f = search(x, 2.0f);
  EXPECT_EQ(f.iflag, kInsideTable);
  EXPECT_EQ(f.ilow, 1);  // an entry is the right end of its segment
  EXPECT_EQ(search(x, 2.5f).ilow, 2);
  EXPECT_EQ(search(x, 1.0f).ilow, 1);
  EXPECT_EQ(search(x, 4.0f).ilow, 3);
  f = search(x, 0.0f);
  EXPECT_EQ(f.iflag, kBelowTable);
  EXPECT_EQ(f.ilow, 1);
  f = search(x, 9.0f);
  EXPECT_EQ(f.iflag, kAboveTable);
  EXPECT_EQ(f.ilow, 3);
  EXPECT_EQ(f.status, kTableOk);
}

TEST(Bsrch, FallingTable) {
  const std::vector<float> x{4, 3, 2, 1};
  auto f = search(x, 3.0f);
  EXPECT_EQ(f.iflag, kInsideTable);
  EXPECT_EQ(f.ilow, 2);  // falling: an entry starts its segment
  EXPECT_EQ(search(x, 3.5f).ilow, 1);
  f = search(x, 0.5f);
  EXPECT_EQ(f.iflag, kBelowTable);
  EXPECT_EQ(f.ilow, 3);
  f = search(x, 7.0f);
  EXPECT_EQ(f.iflag, kAboveTable);
  EXPECT_EQ(f.ilow, 1);
}

TEST(Bsrch, ShortTablesAreGuarded) {
  auto f = search({5.0f}, 5.0f);
  EXPECT_EQ(f.status, kTableTooShort);
  EXPECT_EQ(f.iflag, kInsideTable);
  EXPECT_EQ(f.ilow, 1);
  EXPECT_EQ(search({5.0f}, 7.0f).iflag, kAboveTable);
  EXPECT_EQ(search({}, 7.0f).status, kTableTooShort);
  // n larger than the table is held to it.
  const std::vector<float> x{1, 2, 3};
  int iflag = 0, ilow = 0;
  EXPECT_EQ(bsrch(x, 9.0f, iflag, ilow, 100), kTableOk);
  EXPECT_EQ(ilow, 2);
  EXPECT_EQ(bsrch_moor(std::vector<float>{1}, 1.0f, iflag, ilow, 1), kTableTooShort);
}

TEST(BsrchMoor, EndStepFlags) {
  int iflag = 0, ilow = 0;
  // Rising interior, first step falling.
  bsrch_moor(std::vector<float>{3, 2, 4, 6}, 5.0f, iflag, ilow, 4);
  EXPECT_EQ(iflag, kFirstStepReversed);
  EXPECT_EQ(ilow, 3);
  // Rising interior, last step falling.
  bsrch_moor(std::vector<float>{1, 2, 4, 3}, 1.5f, iflag, ilow, 4);
  EXPECT_EQ(iflag, kLastStepReversed);
  EXPECT_EQ(ilow, 1);
  // Monotonic: the flags of bsrch.
  bsrch_moor(std::vector<float>{8, 6, 4, 2}, 1.0f, iflag, ilow, 4);
  EXPECT_EQ(iflag, kBelowTable);
  EXPECT_EQ(ilow, 3);
  bsrch_moor(std::vector<float>{1, 2, 3, 4}, 2.5f, iflag, ilow, 4);
  EXPECT_EQ(iflag, kInsideTable);
  EXPECT_EQ(ilow, 2);
}

TEST(BsrchMoor, TwoEntryTablesAreNotCalledReversed) {
  int iflag = 0, ilow = 0;
  bsrch_moor(std::vector<float>{1, 2}, 1.5f, iflag, ilow, 2);
  EXPECT_EQ(iflag, kInsideTable);
  EXPECT_EQ(ilow, 1);
  bsrch_moor(std::vector<float>{2, 1}, 3.0f, iflag, ilow, 2);
  EXPECT_EQ(iflag, kAboveTable);
}

TEST(BsrchMoor, ThreeEntryTablesTakeTheirEndPoints) {
  // One interior entry gives no direction; a falling table is not reversed.
  int iflag = 0, ilow = 0;
  bsrch_moor(std::vector<float>{30, 20, 10}, 25.0f, iflag, ilow, 3);
  EXPECT_EQ(iflag, kInsideTable);
  EXPECT_EQ(ilow, 1);
  bsrch_moor(std::vector<float>{30, 20, 10}, 5.0f, iflag, ilow, 3);
  EXPECT_EQ(iflag, kBelowTable);
  EXPECT_EQ(ilow, 2);
  bsrch_moor(std::vector<float>{10, 20, 30}, 25.0f, iflag, ilow, 3);
  EXPECT_EQ(iflag, kInsideTable);
  EXPECT_EQ(ilow, 2);
  // A genuine reversal is still reported.
  bsrch_moor(std::vector<float>{10, 30, 20}, 25.0f, iflag, ilow, 3);
  EXPECT_EQ(iflag, kLastStepReversed);
}

TEST(Interp, InsideAndBeyond) {
  const std::vector<float> x{1, 2, 3, 4};
  const std::vector<float> y{10, 20, 30, 40};
  float yv = 0.0f;
  EXPECT_EQ(interp(x, y, 9.0f, yv, 3), kTableOk);
  EXPECT_EQ(yv, 90.0f);
  interp(x, y, 1.25f, yv, 1);
  EXPECT_EQ(yv, 12.5f);
  interp(x, y, 0.0f, yv, 1);
  EXPECT_EQ(yv, 0.0f);
}

TEST(Interp, Guards) {
  float yv = -1.0f;
  EXPECT_EQ(interp(std::vector<float>{1}, std::vector<float>{7}, 3.0f, yv, 1), kTableTooShort);
  EXPECT_EQ(yv, 7.0f);
  EXPECT_EQ(interp(std::vector<float>{}, std::vector<float>{}, 3.0f, yv, 1), kTableTooShort);
  EXPECT_EQ(yv, 0.0f);
  EXPECT_EQ(interp(std::vector<float>{1, 1, 2}, std::vector<float>{5, 6, 7}, 1.0f, yv, 1), kEqualAbscissae);
  EXPECT_EQ(yv, 5.0f);
  // Segment 4 of a four-entry table does not exist: the last one is used.
  EXPECT_EQ(interp(std::vector<float>{1, 2, 3, 4}, std::vector<float>{10, 20, 30, 40}, 5.0f, yv, 4),
            kSegmentOutside);
  EXPECT_EQ(yv, 50.0f);
}

TEST(Brackt, ScanFromAStartingPosition) {
  const std::vector<float> x{5, 1, 2, 3, 4};
  int iflag = -1, ilow = -1;
  brackt(x, 4.5f, iflag, ilow, 1, 5);
  EXPECT_EQ(iflag, kInsideTable);
  EXPECT_EQ(ilow, 1);  // 5 >= 4.5 > 1
  brackt(x, 4.5f, iflag, ilow, 3, 5);  // entries before 3 are ignored
  EXPECT_EQ(iflag, kAboveTable);
  brackt(x, 2.5f, iflag, ilow, 3, 5);
  EXPECT_EQ(iflag, kInsideTable);
  EXPECT_EQ(ilow, 3);
  ilow = 77;
  brackt(x, 0.5f, iflag, ilow, 1, 5);
  EXPECT_EQ(iflag, kBelowTable);
  EXPECT_EQ(ilow, 77);  // unchanged outside
}

TEST(Brackt, ValueEqualToTheLastEntry) {
  int iflag = -1, ilow = -1;
  // Rising: never a position past the end.
  brackt(std::vector<float>{1, 2, 3, 4, 5}, 5.0f, iflag, ilow, 1, 5);
  EXPECT_EQ(iflag, kInsideTable);
  EXPECT_EQ(ilow, 4);
  // Falling: the last segment, not the first.
  brackt(std::vector<float>{5, 4, 3, 2, 1}, 1.0f, iflag, ilow, 1, 5);
  EXPECT_EQ(iflag, kInsideTable);
  EXPECT_EQ(ilow, 4);
  // A flat tail.
  brackt(std::vector<float>{1, 2, 3, 3}, 3.0f, iflag, ilow, 1, 4);
  EXPECT_EQ(ilow, 3);
  // Start beyond the last segment.
  brackt(std::vector<float>{1, 2, 3}, 3.0f, iflag, ilow, 5, 3);
  EXPECT_EQ(iflag, kInsideTable);
  EXPECT_EQ(ilow, 2);
  // The first entry of a falling table is bracketed as usual.
  brackt(std::vector<float>{5, 4, 3}, 5.0f, iflag, ilow, 1, 3);
  EXPECT_EQ(ilow, 1);
  EXPECT_EQ(brackt(std::vector<float>{5}, 5.0f, iflag, ilow, 1, 1), kTableTooShort);
}

TEST(Brackt, ValueThatIsNotANumberStaysInTheTable) {
  int iflag = -1;
  int ilow = 99;
  brackt(std::vector<float>{1, 2, 3}, std::nanf(""), iflag, ilow, 1, 3);
  EXPECT_GE(ilow, 1);
  EXPECT_LE(ilow, 2);
  ilow = 2;
  brackt(std::vector<float>{1, 2, 3}, std::nanf(""), iflag, ilow, 1, 3);
  EXPECT_EQ(ilow, 2);
}

std::vector<float> layered(std::vector<float> first, std::vector<float> second) {
  std::vector<float> a(kLayerStride + second.size(), 0.0f);
  std::copy(first.begin(), first.end(), a.begin());
  std::copy(second.begin(), second.end(), a.begin() + kLayerStride);
  return a;
}

TEST(Layers, BlendAndSearch) {
  const auto x = layered({1, 2, 3, 4}, {3, 4, 5, 6});
  EXPECT_EQ(midlay(x, 0.25f), 1.5f);
  EXPECT_EQ(midlay(std::vector<float>{2}, 0.5f), 2.0f);  // no second layer
  std::vector<double> xd(x.begin(), x.end());
  EXPECT_EQ(mdlydp(xd, 0.5), 2.0);

  // Blended with f = 0.5: 2, 3, 4, 5. The flag uses the first layer (1..4).
  int iflag = -1, ilow = -1;
  EXPECT_EQ(bsrchq(x, 0.5f, 4.5f, iflag, ilow, 4), kTableOk);
  EXPECT_EQ(iflag, kAboveTable);
  EXPECT_EQ(ilow, 3);
  bsrchq(x, 0.5f, 2.5f, iflag, ilow, 4);
  EXPECT_EQ(iflag, kInsideTable);
  EXPECT_EQ(ilow, 1);
  bsrcdp(xd, 0.5, 3.5, iflag, ilow, 4);
  EXPECT_EQ(ilow, 2);
}

TEST(Layers, Interpolation) {
  const auto x = layered({0, 1}, {0, 3});  // blended at 0.5: 0, 2
  const auto y = layered({10, 20}, {30, 60});  // blended at 0.5: 20, 40
  const std::vector<float> xp{0, 1};
  const std::vector<float> yp{10, 20};
  float yv = 0.0f;
  intrpq(x, y, 1.0f, yv, 1, 0.5f);
  EXPECT_EQ(yv, 30.0f);
  intrpr(x, yp, 1.0f, yv, 1, 0.5f);
  EXPECT_EQ(yv, 15.0f);
  intrps(xp, y, 0.5f, yv, 1, 0.5f);
  EXPECT_EQ(yv, 30.0f);

  const std::vector<double> xd(x.begin(), x.end()), yd(y.begin(), y.end());
  const std::vector<double> xpd{0, 1}, ypd{10, 20};
  double v = 0.0;
  intdpq(xd, yd, 1.0, v, 1, 0.5);
  EXPECT_EQ(v, 30.0);
  intdpr(xd, ypd, 1.0, v, 1, 0.5);
  EXPECT_EQ(v, 15.0);
  intdps(xpd, yd, 0.5, v, 1, 0.5);
  EXPECT_EQ(v, 30.0);
  EXPECT_EQ(intrpq(std::vector<float>{1}, std::vector<float>{2}, 0.0f, yv, 1, 0.5f), kTableTooShort);
}

TEST(MaxMin, ExtremesAndDirection) {
  int imin = 0, imax = 0, imono = -1, iup = -1;
  float xmin = 0, xmax = 0;
  max_min(std::vector<float>{3, 1, 2}, 3, imin, imax, xmin, xmax, imono, iup);
  EXPECT_EQ(xmin, 1.0f);
  EXPECT_EQ(imin, 2);
  EXPECT_EQ(xmax, 3.0f);
  EXPECT_EQ(imax, 1);
  EXPECT_EQ(iup, 0);
  EXPECT_EQ(imono, 0);
  max_min(std::vector<float>{1, 2, 2, 5, 5}, 5, imin, imax, xmin, xmax, imono, iup);
  EXPECT_EQ(iup, 1);
  EXPECT_EQ(imono, 1);  // equal neighbours keep it monotonic
  EXPECT_EQ(imax, 4);   // first position of a repeated extreme
}

TEST(Rngchk, RangeAndMonotonicity) {
  int iflag = -1;
  const std::vector<float> up{1, 2, 3, 4};
  rngchk(up, 1, 4, 2.5f, iflag);
  EXPECT_EQ(iflag, 0);
  rngchk(up, 1, 4, 5.0f, iflag);
  EXPECT_EQ(iflag, 1);
  rngchk(std::vector<float>{4, 3, 2, 1}, 1, 4, 5.0f, iflag);
  EXPECT_EQ(iflag, 2);
  rngchk(std::vector<float>{1, 3, 2, 4}, 1, 4, 2.5f, iflag);
  EXPECT_EQ(iflag, 3);
  rngchk(std::vector<float>{1, 3, 2, 4}, 1, 4, 9.0f, iflag);
  EXPECT_EQ(iflag, 4);
  rngchk(up, 2, 2, 99.0f, iflag);
  EXPECT_EQ(iflag, 0);
  rngchk(up, 1, 40, 9.0f, iflag);  // held to the table
  EXPECT_EQ(iflag, 1);
}

}  // namespace
}  // namespace kelp
