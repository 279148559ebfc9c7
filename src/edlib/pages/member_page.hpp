#pragma once
// The member particulars page of the mooring editor: the submerged and
// surface-piercing body of a moored vessel as up to 50 prismatic members.
// A general sub-page (member count, default drag coefficients, the
// hydrostatic-warning switch) is followed by one sub-page per member
// (profile, dimensions, area, end points and end types, added-mass and drag
// coefficients), with copy, delete and insert commands and a
// coordinate-transformation menu for copied members. A change of geometry
// or coefficient source runs the member check, which recomputes computed
// coefficients. Member words: edlib/record/member_table.hpp.
#include <string_view>

#include "edlib/pagekit/help_book.hpp"

namespace kelp {

class Session;

// "Page <label>: Member Particulars" and the member sub-pages; leaves its
// navigation code in word 699. The member count (word 3660) and maximum
// (word 3662) are held within the 50 slots of the table on entry.
void cylndr(Session& s, std::string_view label);

// Help books (member_help.cpp): the general sub-page, a member sub-page and
// the transformation menu of the copy command, keyed by item.
extern const HelpBook kMemberGeneralHelp;
extern const HelpBook kMemberHelp;
extern const HelpBook kReflectionHelp;

}  // namespace kelp
