#pragma once
// Steps that the page loops of the editors share.
#include "sysutl/record.hpp"

namespace kelp {

class Session;
struct Identity;  // edlib/frame/kind_dispatch.hpp

// On entry to every page slot: word 700 rises by one (it stays at the
// largest integer once there), and a pending skip (-1982) becomes 0, so a
// page arrived at by "S" shows as if arrived at by "next".
void enter_page(Tpcm& t);

// The end step after the final page: word 162 := 0 and finish (edlib/
// saving.hpp) with the record of record_size words, word 702 held at 0
// during the call and restored after it; its messages go to the unit in
// force before. chaining tells finish that the final page chose chaining.
// True when finish sends the session back to the final page; a silent run
// (item 4) whose save did not happen has then ended (end_silent_run,
// edlib/frame/silent_run.hpp), and the page is the interactive session's.
bool end_step(Session& s, const Identity& id, int record_size, bool chaining);

}  // namespace kelp
