#pragma once
// The environmental areas page: wind and current on or off, their drag areas,
// centroids and force enhancement factors, and the wave-drift tuning factors
// (reflection and absorption), which stay at their defaults unless the user
// asks to manage them. Help (arhlp) in areas_help.cpp.
#include <string_view>

#include "sysutl/record.hpp"

namespace kelp {

class Session;

// "Page <label>: <noun> Environmental Area, Moment and Enhancement Data".
// Leaves its navigation code in word 699.
void areas(Session& s, std::string_view label, std::string_view noun);

// 0 when the six reflection factors (bow 1360, variable 1366, stern 1367,
// head-on 1403, beam-on 1363, moment 1404) hold their defaults (1.0, and
// 1.25 for the stern), else 1.
int setfgs(const Tpcm& t);

// The notes of the page: item 0 all of them, n the note of item n.
void arhlp(Session& s, int item);

}  // namespace kelp
