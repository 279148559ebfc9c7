#include "moor/s/line_trace.hpp"

#include <vector>

#include "edlib/record/data_record.hpp"
#include "moor/catlib/line_type.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"

namespace kelp {

LineTrace::LineTrace(Session& s) : s_(s), on_(s.tpcm.i(kTraceLevel) == 1), out_(s.tpcm.i(kOutputUnit)) {}

void LineTrace::values(std::string_view label, const std::vector<double>& v) const {
  if (!on_) return;
  std::vector<fmt::Item> items{std::string(label)};
  for (const double x : v) items.emplace_back(x);
  fwrite(s_, out_, "(1X,A/30(6E12.4/))", items);
}

void LineTrace::text(std::string_view line) const {
  if (on_) s_.write_line(out_, line);
}

}  // namespace kelp
