#include "edlib/pagekit/page_output.hpp"

#include <array>
#include <optional>
#include <string>

#include "kelpkit/report_lines.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

// The dot leader: a run of 50 dots. A leader field wider than the run shows
// the run right-justified (blanks in front), so it still ends in column
// width + 1.
constexpr std::size_t kLeaderDots = 50;
// Leader fields wider than this start their dots beyond column 79 anyway.
constexpr long long kLeaderFieldMax = 999;
// The runs on either side of a page header.
constexpr std::size_t kHeaderStars = 40;

// A formatted record without its line end.
std::string one_record(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}


// The integer descriptor that writes v into a run-time format: I2 as the
// format templates have it, wider only for a value that I2 could not hold
// (which would otherwise leave asterisks in the built format).
std::string count_field(int v) {
  std::string field = "I";
  // Appended, not prefixed: "I" + std::string trips a false overlap warning
  // of g++ 12 at -O3.
  field += std::to_string(v >= 0 && v <= 99 ? 2 : std::to_string(v).size());
  return field;
}

// Entry unit_word + offset of a label table, or nullopt outside it. The two
// are range-checked before they are added, so no sum can overflow.
template <std::size_t N>
std::optional<std::string_view> label_of(const std::array<std::string_view, N>& table, int unit_word, int offset) {
  constexpr int size = static_cast<int>(N);
  if (unit_word < 0 || unit_word >= size || offset < 0 || offset >= size) return std::nullopt;
  const int code = unit_word + offset;
  if (code >= size) return std::nullopt;
  return table[static_cast<std::size_t>(code)];
}

}  // namespace

std::string edlnot(int item, std::string_view label, int width) {
  // n = width - length - 5, computed wide so no label length can overflow it.
  long long n = static_cast<long long>(width) - static_cast<long long>(label.size()) - 5;
  std::string leader;
  if (n > 1) {
    // Nothing beyond column 79 is shown, so a wider field changes nothing.
    if (n > kLeaderFieldMax) n = kLeaderFieldMax;
    leader.assign(kLeaderDots, '.');
  } else {
    leader.assign(kLeaderDots, ' ');
    n = 1;
  }
  const int nn = static_cast<int>(n);
  const std::string line_format =
      one_record(fmt::format("('(1X,I2,'')'',1X,A,1X,A'," + count_field(nn) + ",')')", {nn}));
  std::string line = one_record(fmt::format(line_format, {item, std::string(label), leader}));
  return fixed(line, kItemLineWidth);
}

void outcfu(Session& s, int& item, std::string_view label, float value, std::string_view format, int unit_word,
            int offset, int out, int width) {
  fwrite(s, out, format, {edlnot(item, label, width), value, eunit(unit_word, offset)});
  ++item;
}

void outcf0(Session& s, int& item, std::string_view label, float value, std::string_view format, int out,
            int width) {
  fwrite(s, out, format, {edlnot(item, label, width), value});
  ++item;
}

void outci0(Session& s, int& item, std::string_view label, int value, std::string_view format, int out,
            int width) {
  fwrite(s, out, format, {edlnot(item, label, width), value});
  ++item;
}

void outcc0(Session& s, int& item, std::string_view label, std::string_view text, std::string_view format,
            int out, int width) {
  fwrite(s, out, format, {edlnot(item, label, width), std::string(text)});
  ++item;
}

void outtxt(Session& s, int& item, std::string_view text, int out) {
  fwrite(s, out, "(1X,I2,') ',A)", {item, std::string(text)});
  ++item;
}

void paghdr(Session& s, std::string_view label, std::string_view title1, std::string_view title2, int width,
            int out, int noclear) {
  std::string header = "Page ";
  header += label;
  header += ": ";
  header += title1;
  header += title2;
  const long long m_wide = static_cast<long long>(label.size() + title1.size() + title2.size()) + 7;
  long long k_wide = (static_cast<long long>(width) - m_wide - 4) / 2;
  std::string run;
  if (k_wide > 1) {
    run.assign(kHeaderStars, '*');
  } else {
    run.assign(kHeaderStars, ' ');
    k_wide = 1;
  }
  // A header run wider than any line is cut to what a line can show.
  if (k_wide > 999) k_wide = 999;
  const int k = static_cast<int>(k_wide);
  const int m = static_cast<int>(m_wide);

  if (noclear == 0) clear(s, out);
  const std::string header_format =
      one_record(fmt::format("('(1X,A'," + count_field(k) + ",',2X,A'," + count_field(m) + ",',2X,A'," +
                                 count_field(k) + ",')')",
                             {k, m, k}));
  fwrite(s, out, header_format, {run, header, run});
  lines(s, out, 1);
}

std::string eunit(int unit_word, int offset) {
  static constexpr std::array<std::string_view, 22> kLabels = {
      "k.lbs", "m.ton",    "deg",     "in",  "mm",     "lbs/ft", "kgw/m",   "ft",   "m",      "ft/ft", "m/m",
      "lbs/ft^3", "kgw/m^3", "kts", "ft/sec", "m/sec", "sec",    "height:", "slope:", "ft^2", "m^2",   ""};
  return fixed(label_of(kLabels, unit_word, offset).value_or("Index Error"), 11);
}

std::string unitp(int unit_word, int offset) {
  static constexpr std::array<std::string_view, 21> kLabels = {
      " kips",          " metric tons",      " degrees",    " inches",    " millimeters", " lbs/foot",
      " kgw/meter",     " feet",             " meters",     " feet/feet", " meters/meters",
      " lbs/cubic foot", " kgw/cubic meter", " knots",      " feet/sec",  " meters/sec",  " seconds",
      " height:",       " slope:",           "k.lbs",       "m.ton"};
  return fixed(label_of(kLabels, unit_word, offset).value_or(" Index error"), 16);
}

std::string units(int unit_word, int offset) {
  static constexpr std::array<std::string_view, 23> kLabels = {
      "k.lbs",     "m.ton",         "degrees",        "in",              "mm",    "lbs/ft",
      "kgw/m.",    "ft",            "m.",             "feet/feet",       "meters/meters",
      "lbs/cubic foot", "kgw/cubic meter", "knots",   "feet/sec",        "meters/sec",
      "seconds",   "height",        "slope",          "foot-kips",       "ton-meters",
      "ft-kp",     "ton-m"};
  return fixed(label_of(kLabels, unit_word, offset).value_or(""), 16);
}

}  // namespace kelp
