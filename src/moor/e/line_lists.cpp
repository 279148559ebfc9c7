#include "moor/e/line_lists.hpp"

#include <algorithm>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "kelpkit/array_utils.hpp"
#include "kelpkit/value_list.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

void edit_line_list(Session& s, std::string_view title, std::span<std::int32_t> list, int count, int lines,
                    int out) {
  const int capacity = static_cast<int>(std::min<std::size_t>(list.size(), kLegCapacity));
  count = std::clamp(count, 0, capacity);
  const int reach = std::clamp(lines, 0, capacity);
  std::vector<float> reals(list.size());
  fillup(list, reals, 1, capacity);
  for (;;) {
    int npage = 0;
    autorp(s, title, reals, count, reach, out, kKeyboard, npage);
    fillup(list, reals, 0, count);
    const auto picked = list.first(static_cast<std::size_t>(count));
    if (std::all_of(picked.begin(), picked.end(), [&](std::int32_t n) { return n >= 1 && n <= lines; })) return;
    fwrite(s, out, "(/' >>> Please provide ',I3,' valid line numbers...')", {count});
    int reply = 0;
    prsret(s, out, kKeyboard, reply);
  }
}

}  // namespace kelp
