// Help books of the member particulars page: the general sub-page, a member
// sub-page and the transformation menu of the copy command. Keys are item
// numbers; items that share a note use the key of the first and show the
// note's own heading.
#include "edlib/pages/member_page.hpp"

#include <span>

namespace kelp {

namespace {

constexpr std::string_view kMemberTitle = "                     ****  Member Definition Notes  ****";
constexpr std::string_view kNoHelp = "\n ++> Sorry, no help for this line...";

constexpr HelpText kGeneralTexts[] = {
    {1,
     "     The submerged and surface-piercing part of the vessel is described\n"
     "     as a set of prismatic members: surface-piercing columns, submerged\n"
     "     pontoons and braces. A column that stands on a pontoon may be split\n"
     "     in either of two ways:\n"
     "\n"
     "          |  |                          |  |\n"
     "          |  |  column: base on         |  |  column: base at the\n"
     "          |  |  the pontoon top         |  |  pontoon axis\n"
     "       ___|__|___                    ___|  |___\n"
     "      |__________|  pontoon         |___|__|___|  pontoon\n"
     "\n"
     "     In the first the column ends where the pontoon begins; in the\n"
     "     second the column runs into the pontoon, and the volume they share\n"
     "     is counted twice unless the dimensions allow for it."},
    {2,
     "     A changed default damping coefficient applies to the submerged\n"
     "     portions of ALL members: the drag and drag moment coefficients of\n"
     "     that axis of every member are set to it. The coefficients of single\n"
     "     members can then be set individually on their sub-pages.",
     true, nullptr, " ++> Item Numbers 2,3,4"},
    {5,
     "     The simulation compares the hydrostatics computed from the member\n"
     "     data with the hydrostatic particulars of the vessel and warns of\n"
     "     inconsistencies while it runs. \"Yes\" suppresses these hydrostatic\n"
     "     warning messages; use it with caution.",
     true},
};

constexpr HelpText kMemberTexts[] = {
    {3,
     "     The axial cross-section profile is one of three kinds:\n"
     "       Rectangular:              sharp corners;\n"
     "       Circular/elliptic:        no corners;\n"
     "       Rectangular/elliptic:     highly rounded corners (intermediate)."},
    {4,
     "     Member dimensions are given in the member system (Mx,My,Mz): fixed\n"
     "     to the member, right-handed, with its origin at the member\n"
     "     centroid. Mz points along the member axis from base to top (the\n"
     "     largest dimension or an axis of symmetry). For a vertical member\n"
     "     Mx, My, Mz coincide with Vx, Vy, Vz; otherwise Mx lies orthogonal\n"
     "     to Mz in the vertical plane containing Mz, and My completes the\n"
     "     right-handed system. All coefficients are given in this system.",
     true},
    {5,
     "     The cross-sectional area is the area cut from the member by a plane\n"
     "     perpendicular to its Mz axis.",
     true},
    {10,
     "     End coordinates are given in the vessel system (Vx,Vy,Vz):\n"
     "     right-handed, with its origin at the baseline (usually keel level)\n"
     "     directly above or below the waterplane centroid; Vx positive\n"
     "     forward, Vy positive to port, Vz positive upward. The waterplane\n"
     "     lies at Vz equal to the vessel draft. The same system serves all\n"
     "     members.",
     true, nullptr, " ++> Item Numbers 10,12"},
    {11,
     "     A \"Wall terminated\" end abuts a member of comparable or larger\n"
     "     size. A \"Water-piercing\" end is out of the water. A \"Free,\n"
     "     submerged\" end lets the water circulate around it.",
     true, nullptr, " ++> Item Numbers 11,13"},
    {15,
     "     Added mass and added moment coefficients are either given by the\n"
     "     user or computed from the member's shape, with or without a\n"
     "     correction for the nearby free surface. The surface correction\n"
     "     applies formally only to horizontal members.",
     true},
    {16,
     "     The Mx coefficient belongs to motions along or about the Mx axis,\n"
     "     and likewise for My and Mz. A very long circular cylinder has a\n"
     "     coefficient of 1.0 across its axis.",
     true, nullptr, " ++> Item Numbers 16,17"},
    {18,
     "     Drag and drag moment coefficients are about 1. The default sets\n"
     "     them to 1, except 0 about the member's Mz axis, and 0 along it when\n"
     "     neither end is free.",
     true, nullptr, " ++> Item Numbers 18,19,20"},
};

constexpr HelpText kReflectionTexts[] = {
    {1,
     "     The Vx-Vz plane contains the vessel centerline. The Vy-Vz plane is\n"
     "     perpendicular to it, through the fore-aft centroid of the\n"
     "     waterplane. Both reflections together equal a rotation of 180\n"
     "     degrees about Vz.",
     false, nullptr, " ++> Item Numbers 1,2,3"},
};

// The member books share their layout: the heading with two blanks, and a
// note's own heading for items that share it.
constexpr HelpBook member_book(std::string_view title, std::span<const HelpText> texts) {
  return {.title = title,
          .item_heading = " ++> Item Number  ",
          .no_help = kNoHelp,
          .numbered_page_help = true,
          .note_heading_on_items = true,
          .texts = texts};
}

}  // namespace

const HelpBook kMemberGeneralHelp = member_book(kMemberTitle, kGeneralTexts);
const HelpBook kMemberHelp = member_book(kMemberTitle, kMemberTexts);
const HelpBook kReflectionHelp = member_book(
    "                   ****  Reflection Definition Notes  ****\n"
    "\n"
    "     This menu eases the input of the end coordinates of members that\n"
    "     are physically identical and related by symmetry: all reflections\n"
    "     through vertical planes and all rotations about vertical axes.\n"
    "     The waterplane is usually symmetric fore-aft and port-starboard,\n"
    "     and the center of gravity lies above or below the waterplane\n"
    "     centroid.",
    kReflectionTexts);

}  // namespace kelp
