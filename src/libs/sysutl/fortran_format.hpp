#pragma once
// Fortran-style formatted output: edit descriptors In, Iw.m, Fw.d, Ew.d, Aw, A,
// Lw, nX, Tn, TLn, TRn, "/", "$", quoted literals, nH literals, repeat counts
// and parenthesised repeat groups, with format reversion when items remain.
// A value that does not fit its field prints as asterisks; small negative
// values keep their sign ("-0.00").
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelp {

class Session;

namespace fmt {

// One item of an output list.
using Item = std::variant<std::int32_t, float, double, std::string, bool>;

// Formats the items under a format such as "(1X,A,I3,'  ',$)". Each record
// ends in '\n'; a "$" at the end of the format leaves the last record open.
// As in gfortran, once a "$" has been passed no later record end of the
// statement ("/", reversion, the end) is written, and trailing X/T moves add
// no blanks. A kP scale factor applies to later E and F fields.
// A malformed format is a programming error: std::invalid_argument.
std::string format(std::string_view format, const std::vector<Item>& items);

template <class... T>
std::string fortran(std::string_view f, const T&... items) {
  return format(f, std::vector<Item>{Item(items)...});
}

}  // namespace fmt

// Writes items under a format on an output unit of the session.
void fwrite(Session& s, int unit, std::string_view format, const std::vector<fmt::Item>& items = {});

}  // namespace kelp
