#include "kelpkit/flag_fields.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;
using testing::slurp;
using testing::TempDir;

// The field arithmetic as the old routines did it (division, remainder and
// multiplication by powers of 16 on a non-negative word), written out here
// as an independent reference.
std::int64_t pow16(int k) {
  std::int64_t p = 1;
  while (k-- > 0) p *= 16;
  return p;
}
int reference_nibval(std::int32_t w, int f) { return static_cast<int>(w / pow16(f - 1) % 16); }
std::int32_t reference_nibset(std::int32_t w, int f, int v) {
  const std::int64_t upper = (f == 8 ? 0 : w / pow16(f)) * 16 + v;
  const std::int64_t lower = w % pow16(f - 1);
  return static_cast<std::int32_t>(upper * pow16(f - 1) + lower);
}

TEST(Nibbles, ReadsFieldsFromTheLeastSignificantEnd) {
  ScriptedSession t;
  EXPECT_EQ(801, 0x321);
  EXPECT_EQ(nibval(t.s, 801, 1, 6), 1);
  EXPECT_EQ(nibval(t.s, 801, 2, 6), 2);
  EXPECT_EQ(nibval(t.s, 801, 3, 6), 3);
  EXPECT_EQ(nibval(t.s, 801, 4, 6), 0);
  EXPECT_EQ(nibval(t.s, 0x7ABCDEF1, 8, 6), 7);
  EXPECT_EQ(nibval(t.s, 0x7ABCDEF1, 7, 6), 0xA);
  // A negative word is its bit pattern: field 8 holds the sign bit.
  EXPECT_EQ(nibval(t.s, -1, 1, 6), 15);
  EXPECT_EQ(nibval(t.s, -1, 8, 6), 15);
}

TEST(Nibbles, SetMatchesTheOldArithmeticOnEveryField) {
  ScriptedSession t;
  std::mt19937 gen(1234);
  std::uniform_int_distribution<std::int32_t> word(0, 0x7FFFFFFF);
  for (int trial = 0; trial < 2000; ++trial) {
    const std::int32_t w = word(gen);
    for (int f = 1; f <= 8; ++f) {
      ASSERT_EQ(nibval(t.s, w, f, 6), reference_nibval(w, f));
      const int v = static_cast<int>(gen() % (f == 8 ? 8 : 16));
      std::int32_t mine = w;
      nibset(t.s, mine, f, v, 6);
      ASSERT_EQ(mine, reference_nibset(w, f, v)) << w << " field " << f << " value " << v;
      ASSERT_GE(mine, 0);
    }
  }
}

TEST(Nibbles, SetKeepsTheLowerFieldsWhenTheirTopBitIsSet) {
  ScriptedSession t;
  // Field 1 holds 15 (bit 4 set): the case that went through the sign bit.
  std::int32_t w = 0x0000000F;
  nibset(t.s, w, 2, 5, 6);
  EXPECT_EQ(w, 0x5F);
  w = 0x0FFFFFFF;
  nibset(t.s, w, 8, 7, 6);
  EXPECT_EQ(w, 0x7FFFFFFF);
  nibset(t.s, w, 4, 0, 6);
  EXPECT_EQ(w, 0x7FFF0FFF);
  // Setting the value a field already has changes nothing, even on a negative word.
  w = -2;
  nibset(t.s, w, 3, 15, 6);
  EXPECT_EQ(w, -2);
  nibset(t.s, w, 1, 3, 6);
  EXPECT_EQ(w, -13);  // 0xFFFFFFF3
}

TEST(Nibbles, OneonLooksAtTheThreeAxisFields) {
  ScriptedSession t;
  EXPECT_TRUE(oneon(t.s, 0x111, 1, 6));
  EXPECT_FALSE(oneon(t.s, 0x111, 2, 6));
  EXPECT_TRUE(oneon(t.s, 0x214, 2, 6));
  EXPECT_TRUE(oneon(t.s, 0x614, 6, 6));
  EXPECT_FALSE(oneon(t.s, 0x1444, 1, 6));  // field 4 does not count
  EXPECT_TRUE(oneon(t.s, 0x1000, 0, 6));
}

TEST(Bits, ValueOfEachBitIncludingTheSignBit) {
  EXPECT_EQ(bitval(5, 1), 1);
  EXPECT_EQ(bitval(5, 2), 0);
  EXPECT_EQ(bitval(5, 3), 1);
  EXPECT_EQ(bitval(0x40000000, 31), 1);
  EXPECT_EQ(bitval(-1, 1), 1);  // a negative odd word has bit 1 set
  EXPECT_EQ(bitval(-1, 17), 1);
  EXPECT_EQ(bitval(-2147483647 - 1, 32), 1);
  EXPECT_EQ(bitval(2147483647, 32), 0);
  EXPECT_EQ(bitval(-1, 0), 0);
  EXPECT_EQ(bitval(-1, 33), 0);
}

TEST(Bits, SwapAndSetFlipSingleBits) {
  ScriptedSession t;
  std::int32_t w = 0;
  bitswp(w, 32);
  EXPECT_EQ(w, -2147483647 - 1);
  bitswp(w, 32);
  EXPECT_EQ(w, 0);
  bitswp(w, 0);
  bitswp(w, 33);
  EXPECT_EQ(w, 0);

  w = 0;
  bitset(t.s, w, 3, 1, 6);
  EXPECT_EQ(w, 4);
  bitset(t.s, w, 3, 1, 6);
  EXPECT_EQ(w, 4);
  bitset(t.s, w, 3, 0, 6);
  EXPECT_EQ(w, 0);

  // Clearing bit 32 of a negative word adds 2^31.
  w = -5;
  bitset(t.s, w, 32, 0, 6);
  EXPECT_EQ(w, -5 + 2147483647 + 1);
  EXPECT_EQ(bitval(w, 32), 0);
  EXPECT_GE(w, 0);
}

// ---- Programming errors ----

struct ErrorCase {
  std::string first_line;
  std::function<void(Session&, std::int32_t&)> call;
};

std::vector<ErrorCase> error_cases() {
  const std::string nibval_msg = " Incorrect NIBBLE value in NIBVAL; contact Brenvik";
  const std::string nibset_msg = " Incorrect NIBBLE/position value in NIBSET; contact Brenvik.";
  const std::string msb_msg = " Attempt to set most significant bit in NIBSET; contact Brenvik";
  const std::string bitset_msg = " Incorrect bit value in BITSET; contact Brenvik.";
  return {
      {nibval_msg, [](Session& s, std::int32_t& w) { nibval(s, w, 0, 6); }},
      {nibval_msg, [](Session& s, std::int32_t& w) { nibval(s, w, 9, 6); }},
      {nibset_msg, [](Session& s, std::int32_t& w) { nibset(s, w, 0, 1, 6); }},
      {nibset_msg, [](Session& s, std::int32_t& w) { nibset(s, w, 9, 1, 6); }},
      {nibset_msg, [](Session& s, std::int32_t& w) { nibset(s, w, 2, -1, 6); }},
      {nibset_msg, [](Session& s, std::int32_t& w) { nibset(s, w, 2, 16, 6); }},
      {msb_msg, [](Session& s, std::int32_t& w) { nibset(s, w, 8, 8, 6); }},
      {bitset_msg, [](Session& s, std::int32_t& w) { bitset(s, w, 3, 2, 6); }},
      {bitset_msg, [](Session& s, std::int32_t& w) { bitset(s, w, 3, -1, 6); }},
  };
}

TEST(FlagErrors, MessageWaitForOneLineAndStop) {
  for (const auto& c : error_cases()) {
    SCOPED_TRACE(c.first_line);
    ScriptedSession t("\nNEXT\n");
    std::int32_t w = 0x123;
    try {
      c.call(t.s, w);
      FAIL() << "no stop";
    } catch (const ProgramStop& stop) {
      EXPECT_NE(stop.status(), 0);
    }
    EXPECT_EQ(t.shown(), c.first_line + "\n Press <Return> to continue\n");
    EXPECT_EQ(w, 0x123);
    EXPECT_EQ(t.s.read_line(kKeyboard), "NEXT");  // exactly one line was read
  }
}

TEST(FlagErrors, SilentRunWritesTheReportAndStopsWithoutWaiting) {
  TempDir dir;
  const std::string path = dir.file("Diagnostics.stxt");
  ScriptedSession t;  // no replies: a wait would end the input
  ASSERT_TRUE(t.s.open_output(kSilentUnit, path));
  std::int32_t w = 0;
  try {
    nibset(t.s, w, 8, 9, kSilentUnit);
    FAIL() << "no stop";
  } catch (const ProgramStop& stop) {
    EXPECT_NE(stop.status(), 0);
  }
  t.s.close_unit(kSilentUnit);
  EXPECT_EQ(slurp(path), " Attempt to set most significant bit in NIBSET; contact Brenvik\n Press <Return> to continue\n");
  EXPECT_EQ(t.shown(), "");
}

}  // namespace
}  // namespace kelp
