#pragma once
// Word-array moves and clears for shifting blocks of a record when its layout
// grows, integer/real column conversion, and reductions of angles.
//
// Words are copied without being interpreted, so integers, reals and packed
// text move alike. Positions are counted from 1; arrays of two or three
// dimensions are stored column by column (first index fastest). Nothing is
// ever read or written outside the spans handed in: counts and positions
// beyond them are cut to fit.
#include <cstdint>
#include <span>

#include "sysutl/conversions.hpp"  // trunc_saturating

namespace kelp {


// dst(i) := src(i), i = 1..n ascending: safe for a shift toward lower
// positions within one array (dst starting at or below src).
void movup(int n, std::span<const std::int32_t> src, std::span<std::int32_t> dst);
// dst(i) := src(i), i = n..1 descending: safe for a shift toward higher
// positions (dst starting at or above src).
void movdwn(int n, std::span<const std::int32_t> src, std::span<std::int32_t> dst);
// The same over rows of 2 (movdwn2) or 3 (movdwn3) words: rows n..1, within a
// row the words in order.
void movdwn2(int n, std::span<const std::int32_t> src, std::span<std::int32_t> dst);
void movdwn3(int n, std::span<const std::int32_t> src, std::span<std::int32_t> dst);

// a(i) := 0 for i = i1..i2 (n, the declared size, is not used).
void clear_1d(std::span<std::int32_t> a, int n, int i1, int i2);
// a(i, j) := 0 for j = j1..j2, i = i1..i2, with leading dimension size1
// (size2 is not used; a negative leading dimension counts as 0).
void clear_2d(std::span<std::int32_t> a, int size1, int size2, int i1, int i2, int j1, int j2);
// a(i, j, k) := 0 for k = k1..k2, j = j1..j2, i = i1..i2 (size3 not used).
void clear_3d(std::span<std::int32_t> a, int size1, int size2, int size3, int i1, int i2, int j1, int j2, int k1,
              int k2);

// idir > 0: ra(i) := ia(i) as a real; otherwise ia(i) := ra(i) truncated
// toward zero (saturating), i = 1..n.
void fillup(std::span<std::int32_t> ia, std::span<float> ra, int idir, int n);

// a reduced to [0, 360): MOD(a, 360), plus 360 when negative.
float reddeg(float a);
// 0 for a exactly 0; otherwise reddeg(a + 359.9999).
float reddeg2(float a);
// a (radians) reduced to (-pi, pi] with 2 pi = 6.2831855.
float angsym(float a);
// Inverse cosine as atan2(sqrt(1 - x^2), x) (1.5707964 at 0), with x first
// held within [-1, 1].
float arccos(float x);

}  // namespace kelp
