#include "moor/e/line_exclusions.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "kelpkit/array_utils.hpp"
#include "kelpkit/flag_fields.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/value_list.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// Whether the session may stop and ask: not while the pages print
// themselves into the listing, and not in a silent run.
bool may_ask(const Session& s, int out) { return s.tpcm.i(kPrintPass) == 0 && out != kSilentUnit; }

void warn_above_limit(Session& s) {
  clear(s, kScreen);
  lines(s, kScreen, 2);
  s.write_line(kScreen, " ++> Line exclusion data; Warning for systems with > 120 lines:");
  s.write_line(kScreen, "     Lines with line numbers > 120 cannot be excluded...");
  s.write_line(kScreen, "     Press <Return> to continue");
  char reply = ' ';
  readcp(s, reply);
}

// Word index (0..3) and bit (1..30) of line n (1..120).
int word_of_line(int n) { return (n - 1) / kLinesPerBitWord; }
int bit_of_line(int n) { return (n - 1) % kLinesPerBitWord + 1; }

}  // namespace

int loadexclude(Session& s, int count, std::span<std::int32_t> list, std::span<std::int32_t, kExclusionBitWords> bits,
                int legs, ExcludeMode mode, int out) {
  if (legs > kExcludableLines && may_ask(s, out)) warn_above_limit(s);
  if (mode == ExcludeMode::kUnpack) {
    std::size_t listed = 0;
    const int last = std::min(legs, kExcludableLines);
    for (int n = 1; n <= last && listed < list.size(); ++n) {
      if (bitval(bits[static_cast<std::size_t>(word_of_line(n))], bit_of_line(n)) == 1) {
        list[listed++] = n;
      }
    }
    return static_cast<int>(listed);
  }
  std::fill(bits.begin(), bits.end(), 0);
  const int n_listed = std::clamp(count, 0, static_cast<int>(std::min<std::size_t>(list.size(), kLineListCapacity)));
  for (int k = 0; k < n_listed; ++k) {
    const int n = list[static_cast<std::size_t>(k)];
    if (n < 1 || n > kExcludableLines) continue;
    bitset(s, bits[static_cast<std::size_t>(word_of_line(n))], bit_of_line(n), 1, out);
  }
  return count;
}

void edit_integer_list(Session& s, std::string_view title, std::span<std::int32_t> list, int count, int max, int out) {
  const int size = static_cast<int>(std::min<std::size_t>(list.size(), kLineListCapacity));
  const int room = std::clamp(max, 0, size);
  std::vector<float> twin(static_cast<std::size_t>(room));
  fillup(list, twin, 1, room);
  autorp(s, title, twin, std::clamp(count, 0, room), room, out, kKeyboard, s.tpcm.i(kPrintPass));
  fillup(list, twin, -1, room);
}

bool edit_line_numbers(Session& s, std::string_view title, std::span<std::int32_t> list, int count, int legs,
                       int count_digits, int out) {
  const int size = static_cast<int>(std::min<std::size_t>(list.size(), kLineListCapacity));
  const int n = std::clamp(count, 0, size);
  const int reachable = std::clamp(legs, 0, size);
  for (;;) {
    edit_integer_list(s, title, list, n, reachable, out);
    if (!may_ask(s, out)) return true;
    const auto valid = [&](std::int32_t line) { return line >= 1 && line <= reachable; };
    if (std::all_of(list.begin(), list.begin() + n, valid)) return true;
    fwrite(s, out, "(/' >>> Please provide ',I" + std::to_string(count_digits) + ",' valid line numbers...')", {n});
    int reply = 0;
    prsret(s, out, kKeyboard, reply);
    if (n > reachable) return false;
  }
}

}  // namespace kelp
