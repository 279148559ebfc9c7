#include "sysutl/fortran_read.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kelp::fin {
namespace {

// One line of read_expected.txt, written by tests/libs/sysutl/gfortran/read_cases.f90.
struct Case {
  std::string kind;  // I, F, LI, LR
  int d = 0;
  int n = 0;
  std::string text;
  std::string status;  // ok, err, end
  std::vector<long long> numbers;
  std::string line;
};

std::vector<Case> load_cases() {
  std::ifstream in(std::string(KELP_TEST_DATA) + "/fortran/read_expected.txt");
  std::vector<Case> cases;
  std::string line;
  while (std::getline(in, line)) {
    Case c;
    c.line = line;
    // kind|d|n|text|result: the text lies between the third and the last bar.
    const std::size_t b1 = line.find('|');
    const std::size_t b2 = line.find('|', b1 + 1);
    const std::size_t b3 = line.find('|', b2 + 1);
    const std::size_t last = line.rfind('|');
    c.kind = line.substr(0, b1);
    c.d = std::stoi(line.substr(b1 + 1, b2 - b1 - 1));
    c.n = std::stoi(line.substr(b2 + 1, b3 - b2 - 1));
    c.text = line.substr(b3 + 1, last - b3 - 1);
    std::istringstream result(line.substr(last + 1));
    result >> c.status;
    long long v = 0;
    while (result >> v) c.numbers.push_back(v);
    cases.push_back(c);
  }
  return cases;
}

float from_bits(long long bits) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(static_cast<std::int32_t>(bits)));
}

TEST(FortranRead, MatchesGfortranOnEveryRecordedCase) {
  const std::vector<Case> cases = load_cases();
  ASSERT_GT(cases.size(), 100u);
  int checked = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    if (c.kind == "I") {
      const auto got = read_int_bn(c.text);
      if (c.status == "ok") {
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, c.numbers.at(0));
      } else {
        EXPECT_FALSE(got.has_value());
      }
    } else if (c.kind == "F") {
      const auto got = read_real_bn(c.text, c.d);
      const float want = from_bits(c.numbers.at(0));
      // Non-finite results (NaN, Inf, overflow) are unreadable here.
      if (c.status == "ok" && std::isfinite(want)) {
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(std::bit_cast<std::uint32_t>(*got), std::bit_cast<std::uint32_t>(want));
      } else {
        EXPECT_FALSE(got.has_value());
      }
    } else if (c.kind == "LI") {
      std::vector<std::int32_t> v(static_cast<std::size_t>(c.n));
      for (int k = 0; k < c.n; ++k) v[static_cast<std::size_t>(k)] = 901 + k;
      read_list(c.text, std::span<std::int32_t>(v));
      ASSERT_EQ(c.numbers.size(), v.size());
      for (std::size_t k = 0; k < v.size(); ++k) EXPECT_EQ(v[k], c.numbers[k]) << "item " << k + 1;
    } else if (c.kind == "LR") {
      std::vector<float> v(static_cast<std::size_t>(c.n));
      for (int k = 0; k < c.n; ++k) v[static_cast<std::size_t>(k)] = static_cast<float>(901 + k);
      read_list(c.text, std::span<float>(v));
      ASSERT_EQ(c.numbers.size(), v.size());
      for (std::size_t k = 0; k < v.size(); ++k) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(v[k]),
                  std::bit_cast<std::uint32_t>(from_bits(c.numbers[k])))
            << "item " << k + 1;
      }
    } else {
      ADD_FAILURE() << "unknown case kind";
    }
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(cases.size()));
}

TEST(FortranRead, NonFiniteRealsAreUnreadable) {
  for (const char* text : {"NaN", "nan", "Inf", "-inf", "Infinity", "INFINITY", "1E39", "-3.5E38",
                           "1e99999999999"}) {
    EXPECT_FALSE(read_real_bn(text).has_value()) << text;
  }
  float v[3] = {7, 8, 9};
  EXPECT_EQ(read_list("1 inf 3", std::span<float>(v)), 1);
  EXPECT_EQ(v[0], 1.0f);
  EXPECT_EQ(v[1], 8.0f);
  EXPECT_EQ(read_list("2 1e39 3", std::span<float>(v)), 1);
  EXPECT_EQ(v[0], 2.0f);
  EXPECT_EQ(v[1], 8.0f);
  EXPECT_EQ(read_list("NaN", std::span<float>(v)), 0);
}

TEST(FortranRead, RealFieldsOfReplies) {
  // A reply of 2, a blank and 5 reads as 25; F12.0 keeps integer values.
  EXPECT_EQ(read_real_bn("2 5         "), 25.0f);
  EXPECT_EQ(read_real_bn("1500"), 1500.0f);
  EXPECT_EQ(read_real_bn("  -0.25E+2  "), -25.0f);
  EXPECT_FALSE(read_real_bn("abc").has_value());
  EXPECT_EQ(read_real_bn(""), 0.0f);
}

TEST(FortranRead, ListCountsNullsAndRepeatsButNotWhatFollowsTheEnd) {
  std::int32_t v[4] = {0, 0, 0, 0};
  EXPECT_EQ(read_list("1,,3", std::span<std::int32_t>(v)), 3);
  EXPECT_EQ(read_list("1 2 3 4 5 6", std::span<std::int32_t>(v)), 4);
  EXPECT_EQ(read_list("2*5 7", std::span<std::int32_t>(v)), 3);
  EXPECT_EQ(read_list("9*5", std::span<std::int32_t>(v)), 4);
  EXPECT_EQ(read_list("3*", std::span<std::int32_t>(v)), 3);
  EXPECT_EQ(read_list("1 / 3", std::span<std::int32_t>(v)), 1);
  EXPECT_EQ(read_list("", std::span<std::int32_t>(v)), 0);
  EXPECT_EQ(read_list("1,2,", std::span<std::int32_t>(v)), 2);
  EXPECT_EQ(read_list("1,2,,", std::span<std::int32_t>(v)), 3);
  EXPECT_EQ(read_list(",", std::span<std::int32_t>(v)), 1);
  EXPECT_EQ(read_list("4 1.5 3", std::span<std::int32_t>(v)), 1);
  EXPECT_EQ(read_list("0*3", std::span<std::int32_t>(v)), 0);
}

TEST(FortranRead, UnreadableListItemsKeepTheirValue) {
  // A semicolon is no separator, and a lone point is no number: the item
  // stops the reading and keeps its value.
  std::int32_t iv[3] = {7, 8, 9};
  EXPECT_EQ(read_list("1;2", std::span<std::int32_t>(iv)), 0);
  EXPECT_EQ(iv[0], 7);
  float fv[3] = {7, 8, 9};
  EXPECT_EQ(read_list("1 . 3", std::span<float>(fv)), 1);
  EXPECT_EQ(fv[0], 1.0f);
  EXPECT_EQ(fv[1], 8.0f);
  EXPECT_EQ(fv[2], 9.0f);
}

TEST(FortranRead, IntegerFieldsOfReplies) {
  // Characters 2 to 7 of a navigation reply: "J12" gives "12    ".
  EXPECT_EQ(read_int_bn("12    "), 12);
  EXPECT_EQ(read_int_bn(" 3    "), 3);
  EXPECT_EQ(read_int_bn("      "), 0);
  EXPECT_EQ(read_int_bn(""), 0);
  EXPECT_FALSE(read_int_bn("x     ").has_value());
  EXPECT_EQ(read_int_bn("-7"), -7);
}

}  // namespace
}  // namespace kelp::fin
