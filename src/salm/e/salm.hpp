#pragma once
// Page 2 of the single-anchor-leg editor, "Salm information": the number of
// elements, the load and table settings of the static offset tables, the
// water-piercing element and the default element coefficients.
#include <string_view>

namespace kelp {

class Session;

// The page; label is the text printed after "Page ". The element count is
// held to 0..40 and the table size to 0..90 when edited. At each display,
// with elements and a submergence option above 4, the piercing element
// becomes the one above the topmost (count + 1). A new default added-mass or
// drag coefficient goes to all 40 elements. "?" has no help of its own.
void salm(Session& s, std::string_view label);

}  // namespace kelp
