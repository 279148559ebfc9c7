#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/coordinate_table.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "kelpkit/value_list.hpp"
#include "moor/e/mooring_layout_pages.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// The tail after the title: 25 characters, the blanks kept in the listing.
constexpr std::string_view kHawserTail = " <<INCLUDES hawser>> ****";
constexpr std::string_view kPlainTail = " ****                    ";
static_assert(kHawserTail.size() == 25 && kPlainTail.size() == 25);

// The last code a one-byte letter can have.
constexpr int kLastLetterCode = 255;

// The label of the layout page being shown.
struct LayoutLabel {
  std::string text;
};

}  // namespace

char type_letter(int type) {
  const long long code = 64LL + type;
  if (code < ' ' || code > kLastLetterCode) return '?';
  return static_cast<char>(static_cast<unsigned char>(code));
}

void run_layout_page(Session& s, const TablePage& page, std::string_view label) {
  s.state<LayoutLabel>().text = label;
  run_table(s, page, label);
}

void write_layout_header(Session& s, int out, std::string_view title, bool hawser) {
  if (s.tpcm.i(kPrintPass) == 0) clear(s, out);
  std::string line = "  **** Page ";
  line += s.state<LayoutLabel>().text;
  line += ": ";
  line += title;
  line += hawser ? kHawserTail : kPlainTail;
  s.write_line(out, line);
  lines(s, out, 1);
}

bool hawser_shown(const Session& s) {
  const int kind = s.tpcm.i(kProgramKind);
  return (kind == 13 || kind == 8) && s.tpcm.i(kHawserFlag) == 1;
}

void count_line(PageItems& w, std::string_view label, int value) {
  int item = w.custom();
  outci0(w.session(), item, label, value, "(A57,I5)", w.out(), kLeaderWidth);
}

std::vector<std::int32_t> read_table(const Session& s, TableWordFn word_of, int n) {
  std::vector<std::int32_t> list(static_cast<std::size_t>(std::max(n, 0)));
  for (int k = 1; k <= n; ++k) list[static_cast<std::size_t>(k - 1)] = s.tpcm.i(*word_of(k));
  return list;
}

void write_table(Session& s, TableWordFn word_of, std::span<const std::int32_t> list) {
  for (std::size_t k = 0; k < list.size(); ++k) s.tpcm.i(*word_of(static_cast<int>(k) + 1)) = list[k];
}

void edit_record_list(Session& s, std::string_view title, TableWordFn word_of, int capacity, int count, int max,
                      int out) {
  auto& t = s.tpcm;
  const int room = table_count(max, capacity);
  std::vector<float> values(static_cast<std::size_t>(room));
  for (int k = 1; k <= room; ++k) values[static_cast<std::size_t>(k - 1)] = t.r(*word_of(k));
  autorp(s, title, values, table_count(count, capacity), room, out, kKeyboard, t.i(kPrintPass));
  if (t.i(kPrintPass) != 0) return;
  for (int k = 1; k <= room; ++k) {
    t.i(*word_of(k)) = std::bit_cast<std::int32_t>(values[static_cast<std::size_t>(k - 1)]);
  }
}

int edit_record_points(Session& s, std::string_view title, PointWordFn word_of, int capacity, int rows, int out) {
  auto& t = s.tpcm;
  const int n = table_count(rows, capacity);
  std::vector<float> xyz(static_cast<std::size_t>(3 * n));
  for (int row = 1; row <= n; ++row) {
    for (int k = 1; k <= 3; ++k) xyz[static_cast<std::size_t>(3 * (row - 1) + k - 1)] = t.r(*word_of(row, k));
  }
  int status = 0;
  int number = 0;
  cordin(s, title, xyz, n, out, kKeyboard, status, t.i(kPrintPass), number);
  if (t.i(kPrintPass) != 0) return 0;
  for (int row = 1; row <= n; ++row) {
    for (int k = 1; k <= 3; ++k) {
      t.i(*word_of(row, k)) = std::bit_cast<std::int32_t>(xyz[static_cast<std::size_t>(3 * (row - 1) + k - 1)]);
    }
  }
  return status;
}

void write_line_numbers(Session& s, int out, std::span<const std::int32_t> numbers) {
  // One write per line: format reversion would drop the five blanks.
  constexpr std::size_t kPerLine = 16;
  for (std::size_t at = 0; at < numbers.size(); at += kPerLine) {
    const auto row = numbers.subspan(at, std::min(kPerLine, numbers.size() - at));
    fwrite(s, out, "(5X,16(I3,','))", std::vector<fmt::Item>(row.begin(), row.end()));
  }
}

int shown_count(int count, int capacity) { return count < 0 || count > capacity ? capacity : count; }

}  // namespace kelp
