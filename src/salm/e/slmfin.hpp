#pragma once
// The final page of the single-anchor-leg editor and the checks of its
// element data.
#include <string_view>

namespace kelp {

class Session;

// Both counts from 0, the vessel checks, then the element checks: free
// joints, the height of the water-piercing element against the water depth,
// its volume, length and waterplane area, the attachment type the version
// supports, the elements selected for shear and moment (word 2004, printed
// with debug on) and the tanker dimensions. Sets word 787 := 1.
void slmchk(Session& s, int& warnings, int& fatal);

// The final page "19": the shared final page with the listing "ANCHIN.stxt",
// the editor name "ANCHWELD" and slmchk; its print-pass flag and saved unit
// are its own.
void slmfin(Session& s, std::string_view label);

}  // namespace kelp
