#pragma once
// The identity of the disc-buoy editor: what the program is called, which
// files it keeps, its version, kind and the codes it stamps into every record.
#include "edlib/frame/kind_dispatch.hpp"

namespace kelp {

// Fills the identity of ronvaske (kind 4, "RONDDAT", "RONDBAK", version 6.8).
void dsctop(Session& s, Identity& id);

}  // namespace kelp
