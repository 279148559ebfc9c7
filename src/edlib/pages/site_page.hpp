#pragma once
// The site conditions page, page 1 of both editors: the two identification
// lines of the data set, the unit system of the whole record, the site water
// depth and the water density. Its units item is the only place where a data
// set switches between English and metric units, by relabelling (only the
// density value is converted) or by converting every dimensional value.
#include <string>

namespace kelp {

class Session;

// The page; it works on the session's record and leaves its navigation code
// in word 699. (The old name `static` is a C++ keyword.)
void static_page(Session& s);

// Help of the site page: page help (item 0) or the text of item n.
void stathlp(Session& s, int out, int in, int item);

// Help of the units conversion sub-page: page help (item 0), option 1 or 2.
void cnvhlp(Session& s, int out, int in, int item);

// Kilograms per cubic metre in one pound per cubic foot, as the density
// items use it.
inline constexpr float kDensityFactor = 16.0185f;

}  // namespace kelp
