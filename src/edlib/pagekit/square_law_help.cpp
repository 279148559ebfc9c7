#include "edlib/pagekit/square_law_help.hpp"

#include "edlib/pagekit/help_book.hpp"

namespace kelp {

namespace {

constexpr HelpText kSquareLawTexts[] = {
    {1,
     "     Square-law wave driving forces are ignored. Resonant damping of the\n"
     "     submerged members is still included, by a quasi-linear procedure\n"
     "     that linearises the drag about the response amplitude."},
    {2,
     "     The full square-law treatment: drag driving forces and damping of\n"
     "     the submerged members are computed at all wave periods from the\n"
     "     relative velocity of water and vessel. The motions and the forces\n"
     "     depend on each other, so the solution is iterative and slower."},
    {3,
     "     An approximate treatment: the square-law driving forces are\n"
     "     computed with the vessel held fixed, and resonant damping is added\n"
     "     as in option 1. No iteration is needed."},
};

const HelpBook kSquareLawHelp = {
    .title = "                     ****  Output Definition Notes  ****",
    .number_width = 2,
    .no_help = "\n ++> Sorry, no help for this line...\n",
    .numbered_page_help = true,
    .texts = kSquareLawTexts,
};

}  // namespace

void smo3hp(Session& s, int item) { show_help(s, kSquareLawHelp, item, item); }

}  // namespace kelp
