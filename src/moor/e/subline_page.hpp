#pragma once
// Page 5 of the mooring editor, the subline specifics: every subline
// (element) of every line type in turn, its properties, the table commands
// that copy, delete, insert and exchange elements or whole types, and the
// help facility of item 21 that estimates an element's properties.
#include <string_view>

namespace kelp {

class Session;
struct HelpBook;

// The page. It walks the elements from type 1, subline 1 on: a blank reply
// shows the next subline (then the next type that has sublines; after the
// last the page is left with code 0), "B" the previous one (from the first
// element the page is left with -1). "C", "D", "I" and "X" run the table
// commands on the element shown; "M" and "H" show it again; every other
// command leaves the page with its code.
void oneleg(Session& s, std::string_view label);

// Help of the page: the note of item `item`, or every note for 0.
void linhlp(Session& s, int item);

// The help facility of item 21 for element (subline, type): estimates from
// the line-material calculator go straight into the element's words in the
// record's units; choice 5 solves the fairlead subline length of a taut type.
// An element without a positive diameter gets a message only.
void helpus(Session& s, int subline, int type);

// Help of the facility's menu: the note of choice `item`, or every note for 0.
void mtlhlp(Session& s, int item);

// The notes of the page and of the facility (subline_help.cpp).
extern const HelpBook kLineNotes;
extern const HelpBook kMaterialNotes;

}  // namespace kelp
