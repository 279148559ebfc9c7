#pragma once
// The silent run of the End of Session page (item 4), in one place: its
// start, the settings it forces for itself and gives back, and its end
// where its save does not happen. The End of Session page starts it, the
// final page forces its settings after each pass of the checks, and the
// page loop's end step ends it.
#include <span>
#include <string>

namespace kelp {

class Session;

// Item 4 has opened the run's report: the run starts, and out (word 702,
// the unit in force) and the settings the run forces are remembered as
// they were, to be given back.
void begin_silent_run(Session& s, int out);

// The settings a silent run forces for itself: output to disk, debug and
// trace off (words 108, 113 and 114).
void force_silent_settings(Session& s);

// Ends a silent run whose save did not happen (finish returned 1); nothing
// when no silent run is running. Its report is written now, with the run's
// findings and the refusal that stopped the save (one that cannot be
// written is named on the screen and its findings follow there); the
// output unit and the settings the run forced get back what they held
// before item 4; the screen says that the silent run stopped and what was
// saved (`saved`: the files this save put in place before it stopped, most
// often none), and waits for RETURN. The session then goes on
// interactively on the End of Session page, its edits kept.
void end_silent_run(Session& s, std::span<const std::string> saved);

}  // namespace kelp
