#pragma once
// Page 3 of the single-anchor-leg editor, "More Salm information": the
// statics/dynamics submergence option, the auxiliary lateral and yaw offset
// tables, then one sub-page per SALM element and the vessel attachment.
#include <string_view>

namespace kelp {

class Session;

// The main page, then (on a blank reply or a number above 15) the element
// sub-pages from the current element on: "0"/RETURN steps up, "B" steps down
// (from element 1 back to the main page), after the last element the page
// returns with code 1. With no elements the sub-pages are skipped and the
// page returns with code 1 at once. Other navigation codes leave the page
// with the code in word 699. The current element is kept for the session.
// In a print pass the main page, the auxiliary tables that are on, every
// element sub-page and the attachment sub-page are printed in turn.
void salm2b(Session& s, std::string_view label);

}  // namespace kelp
