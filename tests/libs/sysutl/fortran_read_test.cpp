#include "sysutl/fortran_read.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <fstream>
#include <optional>
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

// Strict reading of file lines. reads: the statements separated by "|", each
// a comma list of reads such as "R1" (one real), "I3", "L2"; values: all
// values read, in order (logicals as 1 and 0).
struct StrictCase {
  std::vector<std::string> lines;
  std::string reads;
  bool ok;
  std::vector<double> values;
};

bool run_strict(const StrictCase& c, std::vector<double>& got) {
  std::size_t next = 0;
  ListReader in([&]() -> std::optional<std::string> {
    if (next == c.lines.size()) return std::nullopt;
    return c.lines[next++];
  });
  std::istringstream statements(c.reads);
  std::string statement;
  while (std::getline(statements, statement, '|')) {
    if (!in.statement()) return false;
    std::istringstream reads(statement);
    std::string read;
    while (std::getline(reads, read, ',')) {
      const auto n = static_cast<std::size_t>(std::stoi(read.substr(1)));
      if (read[0] == 'R') {
        std::vector<float> v(n);
        if (!in.reals(v)) return false;
        got.insert(got.end(), v.begin(), v.end());
      } else {
        std::vector<std::int32_t> v(n);
        if (!(read[0] == 'I' ? in.ints(v) : in.logicals(v))) return false;
        got.insert(got.end(), v.begin(), v.end());
      }
    }
  }
  return true;
}

TEST(FortranRead, StrictListsOverFileLines) {
  const std::vector<StrictCase> cases = {
      // Blanks, TABs and single commas separate.
      {{"\t 53\t32,52"}, "I3", true, {53, 32, 52}},
      // A statement runs on over lines; the next one starts on a new line.
      {{"1 2", "3", "9"}, "I3|I1", true, {1, 2, 3, 9}},
      {{"1 2 3", "4"}, "I2|I1", true, {1, 2, 4}},
      // A statement of no values still passes its line.
      {{"5", "x y", "6"}, "I1|I0|I1", true, {5, 6}},
      {{"\tT\tF .TRUE. .false. t"}, "L5", true, {1, 0, 1, 0, 1}},
      {{"\t  10800.00\t  4"}, "R1,I1", true, {10800, 4}},
      {{"3*7"}, "I3", true, {7, 7, 7}},
      {{"\t 0.5000000E+00\t-0.1250000E+02"}, "R2", true, {0.5, -12.5}},
      // Unreadable items, missing values and the end of the file fail.
      {{"1 x 3"}, "I3", false, {}},
      {{"\t***"}, "I1", false, {}},
      {{"1.5"}, "I1", false, {}},
      {{"TRUE"}, "L1", false, {}},
      {{"1 2"}, "I3", false, {}},
      {{"1"}, "I1|I0", false, {}},
      {{"1,,3"}, "I3", false, {}},
      {{"2*"}, "I2", false, {}},
      {{"1 / 3"}, "I3", false, {}},
      {{"\tNaN"}, "R1", false, {}},
      // A repeat may not run past the values asked for.
      {{"2*5"}, "R1,I1", false, {}},
  };
  for (const StrictCase& c : cases) {
    SCOPED_TRACE(c.lines.front() + " read as " + c.reads);
    std::vector<double> got;
    EXPECT_EQ(run_strict(c, got), c.ok);
    if (c.ok) {
      EXPECT_EQ(got, c.values);
    }
  }
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
