#include "edlib/frame/page_loop.hpp"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "edlib/frame/saving.hpp"
#include "edlib/frame/silent_run.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

void enter_page(Tpcm& t) {
  std::int32_t& counter = t.i(kPageCounter);
  if (counter < std::numeric_limits<std::int32_t>::max()) ++counter;
  if (t.i(kNavCode) == kNavSkip) t.i(kNavCode) = 0;
}

bool end_step(Session& s, const Identity& id, int record_size, bool chaining) {
  Tpcm& t = s.tpcm;
  t.i(kVersionIncrement) = 0;
  const std::int32_t saved_unit = t.i(kOutputUnit);
  t.i(kOutputUnit) = 0;
  std::vector<std::string> saved;
  FinishArgs args;
  args.saved_unit = saved_unit;
  args.record_size = record_size;
  args.chaining_allowed = chaining;
  args.saved = &saved;
  const int status = finish(s, id, s.state<LoadTimeCopy>(), args);
  t.i(kOutputUnit) = saved_unit;
  // A silent run whose save did not happen ends here, and the session goes
  // on as if item 4 had never been chosen.
  if (status == 1 && is_silent(saved_unit)) end_silent_run(s, saved);
  return status == 1;
}

}  // namespace kelp
