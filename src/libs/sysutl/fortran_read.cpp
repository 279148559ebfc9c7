// Fortran-style input conversions of reply text, following the rules of the
// gfortran run-time library for "(BN,Iw)", "(BN,Fw.d)" and list-directed
// input, except that non-finite reals (NaN, Inf, overflow) are unreadable.
#include "sysutl/fortran_read.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace kelp::fin {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Builds "<sign>digits.digits" from a cleaned mantissa and a decimal exponent
// and converts it with the C library (correctly rounded to REAL(4)).
std::optional<float> convert(const std::string& mantissa, long long exponent) {
  std::string text = mantissa;
  text += 'e';
  text += std::to_string(exponent);
  errno = 0;
  char* end = nullptr;
  const float value = std::strtof(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Adds a digit to an exponent without overflowing: a huge exponent only needs
// to stay huge (the conversion gives infinity or zero).
void add_exponent_digit(long long& e, char c) {
  if (e < 100000000LL) e = e * 10 + (c - '0');
}

// Parses one list-directed real item (no blanks inside): sign, digits with an
// optional point (at least one digit), optional exponent with a letter E, D, Q
// and an optional sign, or with a sign alone.
std::optional<float> parse_list_real(std::string_view t) {
  std::size_t p = 0;
  std::string mantissa;
  if (p < t.size() && (t[p] == '+' || t[p] == '-')) {
    if (t[p] == '-') mantissa += '-';
    ++p;
  }
  bool digits = false;
  bool point = false;
  for (; p < t.size(); ++p) {
    const char c = t[p];
    if (is_digit(c)) {
      digits = true;
      mantissa += c;
    } else if (c == '.' && !point) {
      point = true;
      mantissa += c;
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  long long exponent = 0;
  if (p < t.size()) {
    const char c = t[p];
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D' || c == 'q' || c == 'Q') {
      ++p;
    } else if (c != '+' && c != '-') {
      return std::nullopt;
    }
    int sign = 1;
    if (p < t.size() && (t[p] == '+' || t[p] == '-')) {
      if (t[p] == '-') sign = -1;
      ++p;
    }
    if (p == t.size()) return std::nullopt;
    for (; p < t.size(); ++p) {
      if (!is_digit(t[p])) return std::nullopt;
      add_exponent_digit(exponent, t[p]);
    }
    exponent *= sign;
  }
  return convert(mantissa, exponent);
}

// Parses one list-directed integer item: an optional sign and digits only.
std::optional<std::int32_t> parse_list_int(std::string_view t) {
  std::size_t p = 0;
  bool negative = false;
  if (p < t.size() && (t[p] == '+' || t[p] == '-')) {
    negative = t[p] == '-';
    ++p;
  }
  if (p == t.size()) return std::nullopt;
  long long value = 0;
  for (; p < t.size(); ++p) {
    if (!is_digit(t[p])) return std::nullopt;
    value = value * 10 + (t[p] - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool ends_token(char c) { return is_blank(c) || c == ',' || c == '/'; }

// The list-directed reader shared by reals and integers.
template <class T, class Parse>
int read_list_of(std::string_view text, std::span<T> values, Parse parse) {
  const std::size_t n = values.size();
  std::size_t i = 0;
  std::size_t p = 0;
  auto skip_blanks = [&] {
    while (p < text.size() && is_blank(text[p])) ++p;
  };
  // After a value: blanks, at most one comma, blanks.
  auto separator = [&] {
    skip_blanks();
    if (p < text.size() && text[p] == ',') {
      ++p;
      skip_blanks();
    }
  };
  while (i < n) {
    skip_blanks();
    if (p >= text.size() || text[p] == '/') break;
    if (text[p] == ',') {  // null value
      ++i;
      ++p;
      continue;
    }
    std::size_t end = p;
    while (end < text.size() && !ends_token(text[end])) ++end;
    std::string_view token = text.substr(p, end - p);
    p = end;
    std::size_t repeat = 1;
    const std::size_t star = token.find('*');
    if (star != std::string_view::npos) {
      long long r = 0;
      if (star == 0) break;
      for (std::size_t k = 0; k < star; ++k) {
        if (!is_digit(token[k])) return static_cast<int>(i);
        if (r < 1000000000LL) r = r * 10 + (token[k] - '0');
      }
      if (r == 0) break;
      repeat = static_cast<std::size_t>(r);
      token = token.substr(star + 1);
      if (token.empty()) {  // r null values
        i += std::min(repeat, n - i);
        separator();
        continue;
      }
    }
    const std::optional<T> value = parse(token);
    if (!value) break;
    for (std::size_t k = 0; k < repeat && i < n; ++k) values[i++] = *value;
    separator();
  }
  return static_cast<int>(i);
}

}  // namespace

std::optional<std::int32_t> read_int_bn(std::string_view field) {
  std::size_t p = 0;
  while (p < field.size() && field[p] == ' ') ++p;
  if (p == field.size()) return 0;
  bool negative = false;
  if (field[p] == '+' || field[p] == '-') {
    negative = field[p] == '-';
    ++p;
  }
  bool digits = false;
  long long value = 0;
  for (; p < field.size(); ++p) {
    const char c = field[p];
    if (c == ' ') continue;
    if (!is_digit(c)) return std::nullopt;
    digits = true;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (!digits) return std::nullopt;
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<float> read_real_bn(std::string_view field, int d) {
  std::size_t p = 0;
  auto skip_blanks = [&] {
    while (p < field.size() && field[p] == ' ') ++p;
  };
  skip_blanks();
  if (p == field.size()) return 0.0f;
  std::string mantissa;
  if (field[p] == '+' || field[p] == '-') {
    if (field[p] == '-') mantissa += '-';
    ++p;
    skip_blanks();
    if (p == field.size()) return 0.0f;  // a sign alone reads as zero
  }
  const char first = field[p];
  if (!is_digit(first) && first != '.' && first != '+' && first != '-' && first != 'e' &&
      first != 'E' && first != 'd' && first != 'D' && first != 'q' && first != 'Q') {
    return std::nullopt;  // letters, "NaN", "Inf", "Infinity"
  }
  bool point = false;
  bool digits = false;
  bool has_exponent = false;
  for (; p < field.size(); ++p) {
    const char c = field[p];
    if (c == ' ') continue;
    if (is_digit(c)) {
      mantissa += c;
      digits = true;
    } else if (c == '.') {
      if (point) return std::nullopt;
      point = true;
      mantissa += c;
    } else if (c == '+' || c == '-') {
      has_exponent = true;
      break;
    } else if (c == 'e' || c == 'E' || c == 'd' || c == 'D' || c == 'q' || c == 'Q') {
      has_exponent = true;
      ++p;
      break;
    } else {
      return std::nullopt;
    }
  }
  long long exponent = 0;
  if (has_exponent) {
    skip_blanks();
    int sign = 1;
    if (p < field.size() && (field[p] == '+' || field[p] == '-')) {
      if (field[p] == '-') sign = -1;
      ++p;
    }
    bool exponent_digits = false;
    for (; p < field.size(); ++p) {
      const char c = field[p];
      if (c == ' ') continue;
      if (!is_digit(c)) return std::nullopt;
      exponent_digits = true;
      add_exponent_digit(exponent, c);
    }
    if (!exponent_digits) return std::nullopt;
    exponent *= sign;
  }
  if (!point) exponent -= d;
  // A mantissa without digits ("-", ".", "E5") reads as zero of its sign.
  if (!digits) mantissa += '0';
  return convert(mantissa, exponent);
}

int read_list(std::string_view text, std::span<float> values) {
  return read_list_of(text, values, parse_list_real);
}

int read_list(std::string_view text, std::span<std::int32_t> values) {
  return read_list_of(text, values, parse_list_int);
}

}  // namespace kelp::fin
