#include "kelpkit/array_utils.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "sysutl/record.hpp"

namespace kelp {
namespace {

std::vector<std::int32_t> iota_words(int n) {
  std::vector<std::int32_t> v(static_cast<std::size_t>(n));
  std::iota(v.begin(), v.end(), 1);
  return v;
}

TEST(WordMoves, ShiftUpTheRecordKeepsEveryWord) {
  Tpcm t;
  for (int i = 0; i < 10; ++i) t.i(100 + i) = 1000 + i;
  t.set_r(105, -0.0f);
  const auto block = t.words().subspan(100, 10);
  movdwn(10, block, t.words().subspan(103));
  for (int i = 0; i < 10; ++i) {
    if (i == 5) continue;
    EXPECT_EQ(t.i(103 + i), 1000 + i) << i;
  }
  EXPECT_EQ(std::bit_cast<std::uint32_t>(t.i(108)), 0x80000000u);  // -0.0 moved as bits
}

TEST(WordMoves, WrongDirectionSmears) {
  auto v = iota_words(8);
  std::span<std::int32_t> all(v);
  movup(5, all.subspan(0, 5), all.subspan(2));  // upward shift done ascending
  EXPECT_EQ(v, (std::vector<std::int32_t>{1, 2, 1, 2, 1, 2, 1, 8}));

  v = iota_words(8);
  movup(5, std::span<std::int32_t>(v).subspan(2), std::span<std::int32_t>(v));  // downward: correct
  EXPECT_EQ(v, (std::vector<std::int32_t>{3, 4, 5, 6, 7, 6, 7, 8}));
}

TEST(WordMoves, RowsOfTwoAndThree) {
  auto v = iota_words(8);  // rows (1,2) (3,4) (5,6) (7,8)
  std::span<std::int32_t> all(v);
  movdwn2(3, all, all.subspan(2));  // shift by one row
  EXPECT_EQ(v, (std::vector<std::int32_t>{1, 2, 1, 2, 3, 4, 5, 6}));

  v = iota_words(9);
  all = std::span<std::int32_t>(v);
  movdwn3(2, all, all.subspan(3));
  EXPECT_EQ(v, (std::vector<std::int32_t>{1, 2, 3, 1, 2, 3, 4, 5, 6}));
}

TEST(WordMoves, CountsBeyondTheArraysAreCut) {
  auto v = iota_words(4);
  std::vector<std::int32_t> d(2, 0);
  movup(100, v, d);
  EXPECT_EQ(d, (std::vector<std::int32_t>{1, 2}));
  movdwn(100, v, d);
  EXPECT_EQ(d, (std::vector<std::int32_t>{1, 2}));
  movdwn3(-3, v, d);
}

TEST(Clears, OneTwoAndThreeDimensions) {
  auto v = iota_words(6);
  clear_1d(v, 6, 2, 4);
  EXPECT_EQ(v, (std::vector<std::int32_t>{1, 0, 0, 0, 5, 6}));
  clear_1d(v, 6, 5, 4);  // empty range
  EXPECT_EQ(v[4], 5);
  clear_1d(v, 6, -3, 99);  // held to the array
  EXPECT_EQ(v, std::vector<std::int32_t>(6, 0));

  // a(3, 4): clear rows 2..3 of columns 2..3.
  v = iota_words(12);
  clear_2d(v, 3, 4, 2, 3, 2, 3);
  EXPECT_EQ(v, (std::vector<std::int32_t>{1, 2, 3, 4, 0, 0, 7, 0, 0, 10, 11, 12}));
  // A negative leading dimension counts as 0: every column is the first.
  v = iota_words(4);
  clear_2d(v, -5, 4, 1, 2, 1, 2000000000);
  EXPECT_EQ(v, (std::vector<std::int32_t>{0, 0, 3, 4}));

  // a(2, 2, 2): clear (2, 1..2, 2).
  v = iota_words(8);
  clear_3d(v, 2, 2, 2, 2, 2, 1, 2, 2, 2);
  EXPECT_EQ(v, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 0, 7, 0}));
  v = iota_words(8);
  clear_3d(v, 2, 2, 2, 1, 2, 1, 2, 2, 2000000000);
  EXPECT_EQ(v, (std::vector<std::int32_t>{1, 2, 3, 4, 0, 0, 0, 0}));
}

TEST(Fillup, BothDirectionsAndSaturation) {
  std::vector<std::int32_t> ia{3, -7, 0};
  std::vector<float> ra(3, 9.0f);
  fillup(ia, ra, 1, 3);
  EXPECT_EQ(ra, (std::vector<float>{3, -7, 0}));

  ra = {2.9f, -2.9f, 1e10f};
  fillup(ia, ra, 0, 3);
  EXPECT_EQ(ia, (std::vector<std::int32_t>{2, -2, std::numeric_limits<std::int32_t>::max()}));
  ra = {-1e10f, std::nanf(""), -std::numeric_limits<float>::infinity()};
  fillup(ia, ra, -1, 3);
  EXPECT_EQ(ia, (std::vector<std::int32_t>{std::numeric_limits<std::int32_t>::min(), 0,
                                           std::numeric_limits<std::int32_t>::min()}));
  EXPECT_EQ(trunc_saturating(2147483520.0f), 2147483520);
}

TEST(Angles, Degrees) {
  EXPECT_EQ(reddeg(-90.0f), 270.0f);
  EXPECT_EQ(reddeg(720.0f), 0.0f);
  EXPECT_EQ(reddeg(365.5f), 5.5f);
  EXPECT_NEAR(reddeg2(360.0f), 359.9999f, 1e-4f);
  EXPECT_EQ(reddeg2(0.0f), 0.0f);
  EXPECT_NEAR(reddeg2(90.0f), 89.9999f, 1e-4f);
}

TEST(Angles, Radians) {
  const float pi = 3.1415927f;
  EXPECT_EQ(angsym(pi), pi);
  EXPECT_EQ(angsym(-pi), pi);
  EXPECT_NEAR(angsym(1.5f * pi), -0.5f * pi, 1e-6f);
  EXPECT_NEAR(angsym(-7.0f), -7.0f + 6.2831855f, 1e-6f);
  EXPECT_EQ(angsym(0.0f), 0.0f);
}

TEST(Angles, Arccos) {
  EXPECT_EQ(arccos(0.0f), 1.5707964f);
  EXPECT_FLOAT_EQ(arccos(0.5f), std::acos(0.5f));
  EXPECT_FLOAT_EQ(arccos(-1.0f), 3.1415927f);
  // Cosines a rounding step past the ends are held to them.
  EXPECT_EQ(arccos(1.0000001f), 0.0f);
  EXPECT_FLOAT_EQ(arccos(-1.0000001f), 3.1415927f);
}

}  // namespace
}  // namespace kelp
