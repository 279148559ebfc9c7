#pragma once
// Help of the square-law driving force menu, shared by the output pages of
// the mooring and semisubmersible editors.

namespace kelp {

class Session;

// Item n of the menu (1 to 3), or every note for 0.
void smo3hp(Session& s, int item);

}  // namespace kelp
