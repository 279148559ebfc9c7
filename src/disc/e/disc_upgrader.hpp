#pragma once
// The upgrader of disc-buoy data files (kind 4, 1,987 words): brings a
// record written by an older program version up to the current layout and
// defaults and reports its changes on the output unit and in the warning
// report (edlib/frame/upgrade_notes.hpp). ronvaske registers it for kind 4
// in the kind dispatch; the loader calls it before stamping the record.

namespace kelp {

class Session;

// version: the program version; status: 1 on entry, 0 when no change was
// counted. Never refuses a file; a file newer than the program ends with a
// warning.
void dscupd(Session& s, float version, int& status);

}  // namespace kelp
