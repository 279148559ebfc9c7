#include "edlib/frame/silent_run.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "edlib/record/data_record.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// A word the silent run forces, and the value it forces it to.
struct Forced {
  IntWord word;
  std::int32_t value;
};
// Output to disk, debug and trace off.
constexpr std::array kForced{Forced{kOutputDevice, 1}, Forced{kDebug, 0}, Forced{kTraceLevel, 0}};

}  // namespace

// A silent run and what it changed for itself, as it was before item 4.
// Kept in Session::state<SilentRun>().
struct SilentRun {
  bool running = false;
  int unit_before = kScreen;
  std::array<std::int32_t, kForced.size()> before{};
};

void begin_silent_run(Session& s, int out) {
  SilentRun& run = s.state<SilentRun>();
  run = {true, out, {}};
  for (std::size_t k = 0; k < kForced.size(); ++k) run.before[k] = s.tpcm.i(kForced[k].word);
}

void force_silent_settings(Session& s) {
  for (const Forced& f : kForced) s.tpcm.i(f.word) = f.value;
}

void end_silent_run(Session& s, std::span<const std::string> saved) {
  SilentRun& run = s.state<SilentRun>();
  if (!run.running) return;
  // A save stops part way after "LOWDAT" at most: one name.
  const std::string what = saved.empty() ? "nothing was saved" : "only " + saved.front() + " was saved";
  const auto stop_lines = [&](bool see_report) {
    std::string text = "\n ++> The silent run stopped at its save";
    if (see_report) text.append(": see \"").append(kSilentReportFile).append("\"");
    return text.append(";\n     ").append(what).append(", and the edits of this session are kept.\n");
  };
  // The report already says why nothing was saved; a save that stopped
  // part way it tells what it put in place. The screen says so below: a
  // report that cannot be written does not show it there again.
  if (!saved.empty()) s.write_shown(kSilentUnit, stop_lines(false));
  const bool written = close_run_report(s, kSilentUnit);
  s.tpcm.i(kOutputUnit) = run.unit_before;
  for (std::size_t k = 0; k < kForced.size(); ++k) s.tpcm.i(kForced[k].word) = run.before[k];
  run.running = false;
  s.write(kScreen, stop_lines(written));
  // The End of Session page clears the screen: the user reads this first.
  int reply = 0;
  prsret(s, kScreen, kKeyboard, reply);
}

}  // namespace kelp
