#pragma once
// The low-frequency dynamics characteristics page (lowves): where the
// time-domain program takes the wind, current and wave-drift coefficients
// of each axis (Cx, Cy, Cz) from, with the bow shapes, load conditions,
// deadweight, shadowing factors and switches those sources need; and the
// user coefficient tables of "LOWDAT" it opens (cofupd). The help routines
// are in load_model_help.cpp.
//
// The pages work on the session's records (tpcm and lowcof), leave their
// navigation code in word 699 and print themselves into the listing during
// a print pass (word 701): lowves followed by the user tables in use.
#include <string_view>

#include "sysutl/record.hpp"

namespace kelp {

class Session;

// The coefficient-source selector words the page edits: the vessel's (774,
// 773, 786), or a second body's in the kinds that have one.
struct SelectorWords {
  IntWord wind;
  IntWord current;
  IntWord drift;
};

// "Page <label>: <noun> Low-Frequency Dynamics Characteristics".
void lowves(Session& s, std::string_view label, std::string_view noun, const SelectorWords& words);

// The user coefficient table `table` (1 wind, 2 current) of lowcof under
// " +++ <title> +++": the axes whose field in the selector word holds
// `source` are the user's. The row count is held to 2..21 on entry. code:
// 0 back to the calling page, or a navigation code to pass on.
void cofupd(Session& s, std::string_view title, IntWord selector, int table, int source, int& code);

// Help: item (or source row, or choice) 0 shows every note.
void lowvhp(Session& s, int item);  // the page
void wndfhp(Session& s, int row);   // wind sources
void curfhp(Session& s, int row);   // current sources
void wavfhp(Session& s, int row);   // wave-drift sources
void wbowhp(Session& s, int item);  // wind bow shapes
void ocimhp(Session& s, int item);  // current bow shapes, OCIMF '77
void nsmbhp(Session& s, int item);  // current bow shapes, NSMB '91
void cofhlp(Session& s, int item);  // the user coefficient table

}  // namespace kelp
