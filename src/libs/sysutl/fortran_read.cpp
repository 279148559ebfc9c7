// Fortran-style input conversions of reply text, following the rules of the
// gfortran run-time library for "(BN,Iw)", "(BN,Fw.d)" and list-directed
// input, except that non-finite reals (NaN, Inf, overflow) are unreadable.
#include "sysutl/fortran_read.hpp"

#include <algorithm>
#include <cctype>
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

// Parses one list-directed logical item: T, F, .TRUE. or .FALSE., in either
// case; 1 for true, 0 for false.
std::optional<std::int32_t> parse_list_logical(std::string_view t) {
  std::string upper(t);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "T" || upper == ".TRUE.") return 1;
  if (upper == "F" || upper == ".FALSE.") return 0;
  return std::nullopt;
}

// Why a scan of one text stopped.
enum class ListStop { Full, EndOfText, Slash, Unreadable, Null, Overrun };

struct ListScan {
  std::size_t items = 0;  // values consumed, null values included
  std::size_t pos = 0;    // where the scan stopped in the text
  ListStop stop = ListStop::Full;
};

// The list-directed tokenizer shared by every list read: scans text from pos
// into values. A strict scan stops at a null value (",," or "r*") and at a
// repeat count that runs past the values asked for, where a lenient one
// skips the null values and cuts the repeat.
template <class T, class Parse>
ListScan scan_list(std::string_view text, std::size_t pos, std::span<T> values, Parse parse, bool strict) {
  const std::size_t n = values.size();
  ListScan r;
  std::size_t& i = r.items;
  std::size_t& p = r.pos;
  p = pos;
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
  auto stopped = [&](ListStop why) {
    r.stop = why;
    return r;
  };
  while (i < n) {
    skip_blanks();
    if (p >= text.size()) return stopped(ListStop::EndOfText);
    if (text[p] == '/') return stopped(ListStop::Slash);
    if (text[p] == ',') {  // null value
      if (strict) return stopped(ListStop::Null);
      ++i;
      ++p;
      continue;
    }
    std::size_t end = p;
    while (end < text.size() && !ends_token(text[end])) ++end;
    std::string_view token = text.substr(p, end - p);
    std::size_t repeat = 1;
    const std::size_t star = token.find('*');
    if (star != std::string_view::npos) {
      long long count = 0;
      if (star == 0) return stopped(ListStop::Unreadable);
      for (std::size_t k = 0; k < star; ++k) {
        if (!is_digit(token[k])) return stopped(ListStop::Unreadable);
        if (count < 1000000000LL) count = count * 10 + (token[k] - '0');
      }
      if (count == 0) return stopped(ListStop::Unreadable);
      repeat = static_cast<std::size_t>(count);
      token = token.substr(star + 1);
      if (strict && repeat > n - i) return stopped(ListStop::Overrun);
      if (token.empty()) {  // r null values
        if (strict) return stopped(ListStop::Null);
        p = end;
        i += std::min(repeat, n - i);
        separator();
        continue;
      }
    }
    const std::optional<T> value = parse(token);
    if (!value) return stopped(ListStop::Unreadable);
    p = end;
    for (std::size_t k = 0; k < repeat && i < n; ++k) values[i++] = *value;
    separator();
  }
  return stopped(ListStop::Full);
}

// The lenient list read of reply text.
template <class T, class Parse>
int read_list_of(std::string_view text, std::span<T> values, Parse parse) {
  return static_cast<int>(scan_list(text, 0, values, parse, false).items);
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

std::optional<std::string> ListReader::next() {
  in_statement_ = false;
  std::optional<std::string> line;
  if (!failed_) line = next_line_();
  failed_ = !line;
  return line;
}

std::optional<std::string> ListReader::text(std::size_t width) {
  std::optional<std::string> line = next();
  if (line) line->resize(width, ' ');
  return line;
}

bool ListReader::statement() {
  std::optional<std::string> line = next();
  if (!line) return false;
  line_ = std::move(*line);
  pos_ = 0;
  in_statement_ = true;
  return true;
}

template <class T, class Parse>
bool ListReader::items(std::span<T> values, Parse parse) {
  if (failed_ || !in_statement_) return false;
  std::size_t done = 0;
  while (true) {
    const ListScan r = scan_list(line_, pos_, values.subspan(done), parse, true);
    done += r.items;
    pos_ = r.pos;
    if (r.stop == ListStop::Full) return true;
    if (r.stop != ListStop::EndOfText) failed_ = true;
    std::optional<std::string> line = next();
    if (!line) return false;
    line_ = std::move(*line);
    pos_ = 0;
    in_statement_ = true;
  }
}

bool ListReader::reals(std::span<float> values) { return items(values, parse_list_real); }

bool ListReader::ints(std::span<std::int32_t> values) { return items(values, parse_list_int); }

bool ListReader::logicals(std::span<std::int32_t> values) { return items(values, parse_list_logical); }

}  // namespace kelp::fin
