#pragma once
// The identity of the single-point-mooring editor: what the program is
// called, which files it keeps, its version, kind and the codes it stamps
// into every record.
#include "edlib/frame/kind_dispatch.hpp"

namespace kelp {

// Fills the identity of pivlorn (kind 15, "PIVADAT", "PIVABAK", version 6.8).
void spmtop(Session& s, Identity& id);

}  // namespace kelp
