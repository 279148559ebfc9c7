#pragma once
// Page 22 of the mooring editor, "Time-Domain Options": whether the editor
// prepares the support files of the time-domain program Gustrevan, and the
// options of that program (gustrcom) with the words of tpcm that belong to
// them. The page loads its options from "GUSTRDAT" at its first display in a
// run with the support files on (creating the file from defaults when it is
// missing or unreadable) and writes the file whenever the user leaves the
// page with the support files on.
#include <array>
#include <cstdint>
#include <string_view>

#include "kelpkit/options_file.hpp"

namespace kelp {

class Session;

// What the page keeps for the whole run.
struct TdOptionsState {
  // True until the options file was settled at a display with the support
  // files on.
  bool first_entry = true;
  // The current fairlead pick list (nFldReports entries used) and the list
  // last read from the file as the default picks.
  std::array<std::int32_t, kPickCapacity> current{};
  std::array<std::int32_t, kPickCapacity> defaults{};
  // The time-domain duration in hours (fullDuration / 3600).
  float hours = 0.0f;
};

// The page (gustropts); `label` is printed after "Page ". Leaves its
// navigation code in word 699 (0 after a print pass).
void gustropts(Session& s, std::string_view label);

// The help of the page (gustr_hlp): item 0 shows every note in turn, item n
// the note of item n (an item without one: the no-help line).
void gustr_hlp(Session& s, int item);

}  // namespace kelp
