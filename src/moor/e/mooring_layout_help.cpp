// Help books of the mooring layout pages 2, 3 and 4 and of the mean-profile
// sub-menu. Keys are item numbers; a note that reads differently for some
// program kinds has one text per wording, keyed 100 or 200 above the item,
// and the help routine picks the key of the kind (page help shows the
// wording of the kind under the item's own heading).
#include "edlib/record/data_record.hpp"
#include "moor/e/mooring_layout_pages.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

int kind_of(const Session& s) { return s.tpcm.i(kProgramKind); }

template <int... kinds>
bool kind_in(const Session& s) {
  return ((kind_of(s) == kinds) || ...);
}
template <int... kinds>
bool kind_not_in(const Session& s) {
  return !kind_in<kinds...>(s);
}

constexpr int kVariant = 100;    // a second wording of an item's note
constexpr int kVariant2 = 200;   // a third

// Every page of the layout shares this title ("(T20,A)") and these lines.
constexpr HelpBook kLayoutBook = {.title = "                   ****  Mooring Definition Notes  ****",
                                  .item_heading = " ++> Item Number  ",
                                  .no_help = "\n ++> Sorry, no help for this line...",
                                  .heading_on_no_help = false,
                                  .numbered_page_help = true};

constexpr HelpBook with_texts(std::span<const HelpText> texts) {
  HelpBook book = kLayoutBook;
  book.texts = texts;
  return book;
}

// ---- Page 2 ----

constexpr HelpText kGeneralTexts[] = {
    {1,
     "     A mooring leg comprises everything from the fairlead on the vessel\n"
     "     to the anchor on the sea floor: every subline, buoy and clump\n"
     "     weight in between. Each leg is counted once."},
    {2,
     "     Legs are of one type only if they are alike in every respect: the\n"
     "     same elements in the same order, the same anchor depth and the same\n"
     "     fairlead height. Legs that differ in any of these need types of\n"
     "     their own."},
    {3,
     "     The largest horizontal load of the internally computed\n"
     "     load-versus-offset tables. Choose it comparable to the breaking\n"
     "     strength of the weakest subline. For tendon systems choose it well\n"
     "     above the largest load any single tendon will carry."},
    {4,
     "     The first nonzero load of the tables, i.e. their second row. It is\n"
     "     normally 0.1% to 1% of the maximum load. A value of 0 lets the\n"
     "     simulation choose it. For vertical members use about 0.1 kips or\n"
     "     0.1 metric tons.",
     false, kind_not_in<7>},
    {5,
     "     Fewer table points shorten the computation but coarsen the tables;\n"
     "     reduce the number only to save time. Normally use the maximum."},
    {6,
     "     The mean (pretension) line profile may be determined by:\n"
     "       1) the fairlead line angle, measured from the horizontal;\n"
     "       2) the horizontal distance from the fairlead to the anchor;\n"
     "       3) the line tension at the fairlead;\n"
     "       4) the horizontal force at the fairlead.\n"
     "     A slack line may be given an angle of 90 degrees, or a distance or\n"
     "     a horizontal force of 0.",
     true, kind_not_in<7, 14>},
    {kVariant + 6,
     "     The mean (pretension) line profile may be determined by:\n"
     "       1) the fairlead line angle, measured from the horizontal;\n"
     "       2) the horizontal distance from the fairlead to the anchor;\n"
     "       3) the line tension at the fairlead.\n"
     "     A slack line may be given an angle of 90 degrees or a distance\n"
     "     of 0.",
     true, kind_in<7>, " ++> Item Number  6"},
    {kVariant2 + 6,
     "     The mean (pretension) line profile may be determined by:\n"
     "       1) the fairlead line angle, measured from the horizontal;\n"
     "       2) the horizontal distance from the fairlead to the anchor;\n"
     "       3) the line tension at the fairlead;\n"
     "       4) the horizontal force at the fairlead.\n"
     "     For tendon systems use the distance to the anchor or the fairlead\n"
     "     angle: a distance of 0 or an angle of 90 degrees for a tendon.",
     true, kind_in<14>, " ++> Item Number  6"},
    {7,
     "     The numerical pretension value of each line, in the quantity that\n"
     "     item 6 selects, one value per line number."},
    {8,
     "     Bottom friction only reduces the reported anchor loads: by the\n"
     "     weight of the line lying on the bottom times this coefficient. The\n"
     "     line profiles themselves are not changed."},
    {9,
     "     The vessel is attached to the buoy either by a hawser or by a\n"
     "     yoke. Selecting this item toggles between the two.",
     true, kind_in<13>},
    {kVariant + 9,
     "     \"Yes\" treats the LAST line type and line number as a hawser.\n"
     "     Only pure lateral offsets are then evaluated.",
     true, kind_in<8>, " ++> Item Number  9"},
    {10,
     "     The draft is the mean draft at zero trim and zero heel. It sets\n"
     "     the heights from the anchors to the fairleads.",
     false, kind_in<8>},
    {11,
     "     Trim and heel are given in degrees, as right-hand-rule rotations\n"
     "     about the pitch and roll axes of the vessel.",
     false, kind_in<8>, " ++> Item Numbers 11,12"},
    {16,
     "     A new default anchor depth replaces the anchor depth of all legs.\n"
     "     Depths below the waterline are positive.",
     true, kind_not_in<7>},
    {17,
     "     \"No\" uses the default anchor depth for all legs. \"Yes\" lets\n"
     "     each line type have an anchor depth of its own.",
     false, kind_not_in<7>},
    {18,
     "     \"Yes\" lets a line hang from its anchor as if there were no\n"
     "     bottom: the sea floor becomes \"transparent\".",
     false, kind_not_in<7>},
    {19,
     "     \"Yes\" keeps the first buoyant element of each line type at or\n"
     "     below the water surface.",
     false, kind_not_in<7>},
};

constexpr HelpText kProfileTexts[] = {
    {1,
     "     \"Fairlead line angle\" is measured from the horizontal. Smaller\n"
     "     angles mean higher pretension."},
    {2,
     "     \"Distance to anchor\" is the plan-view horizontal distance from\n"
     "     the fairlead to the anchor. It is useful for a second run at a new\n"
     "     water depth with the same line lengths."},
    {3, "     \"Line tension\" is the total line tension at the fairlead."},
    {4, "     \"Horizontal force\" is the horizontal component of the fairlead\n     tension.", false,
     kind_not_in<7>},
};

// ---- Page 3 ----

constexpr HelpText kMoreTexts[] = {
    {1,
     "     The numbers of legs of all types must add up to the total number\n"
     "     of lines (page 2); otherwise an error is shown and the list must\n"
     "     be corrected."},
    {2,
     "     The maximum number of sublines applies to each type, not to the\n"
     "     total of all types. Buoys and clump weights count as sublines."},
    {3,
     "     Fairleads are given in vessel coordinates: x toward the bow, y to\n"
     "     port, z up from the keel; the origin lies at the center of gravity\n"
     "     in plan view.\n"
     "\n"
     "                          y (port)\n"
     "                          ^\n"
     "                 _________|_________\n"
     "                /         |         \\\n"
     "               |          +------------> x (bow)\n"
     "                \\___________________/\n"
     "                         CG",
     true, kind_not_in<15>},
    {kVariant + 3,
     "     Fairleads are given in vessel coordinates: x toward the bow, y to\n"
     "     port, z up from the keel; the origin lies at the center of gravity\n"
     "     in plan view. The turret and the vessel share this origin.\n"
     "\n"
     "                          y (port)\n"
     "                          ^\n"
     "                 _________|_________\n"
     "                /         |         \\\n"
     "               |          +------------> x (bow)\n"
     "                \\___________________/\n"
     "                         CG",
     true, kind_in<15>, " ++> Item Number  3"},
    {4,
     "     Departure angles are given in the right-handed global system:\n"
     "     zero along the positive x axis, positive counter-clockwise, so\n"
     "     90 degrees points along the positive y axis.\n"
     "\n"
     "                    90\n"
     "                    ^\n"
     "                    |\n"
     "           180 <----+----> 0\n"
     "                    |\n"
     "                   270",
     true},
    {5,
     "     The mooring moment evaluation center is given in vessel\n"
     "     coordinates, at keel level.",
     true},
    {6,
     "     The hawser attachment point on the storage vessel, in vessel\n"
     "     coordinates.",
     false, kind_not_in<15>},
    {kVariant + 6,
     "     The x-coordinate of the turret centroid in vessel coordinates.",
     false, kind_in<15>, " ++> Item Number  6"},
    {7,
     "     The initial heading in quiescent conditions, relative to the\n"
     "     global zero direction.",
     false, kind_not_in<15>, " ++> Item Numbers 7,8"},
    {kVariant + 7,
     "     The initial vessel heading in quiescent conditions, relative to\n"
     "     the global zero direction. The turret heading is 0 by definition:\n"
     "     fairleads are relative to the turret.",
     false, kind_in<15>, " ++> Item Numbers 7,8"},
    {10,
     "     Excluded (broken) lines change the equilibrium position and the\n"
     "     load sharing of the remaining lines. Their line numbers must be\n"
     "     listed.",
     true, nullptr, " ++> Item Numbers 10,11"},
};

// ---- Page 4 ----

constexpr HelpText kDynamicsTexts[] = {
    {1,
     "     The selection only limits the output: the dynamic line-load\n"
     "     response of the selected lines is written to \"DYNOUT.stxt\".\n"
     "     All lines still count for the damping of low-frequency motions.",
     false, nullptr, " ++> Item Numbers 1,2"},
    {5,
     "     A default grid is offered as a starting point. It can be changed\n"
     "     after toggling this item.",
     false, kind_in<14>},
    {6,
     "     The number of levels must be odd and at least 1 (at least 3 for\n"
     "     tension-leg and spar systems)."},
    {7, "     The span must contain the vertical motions of the fairleads."},
    {10,
     "     The new coefficient is applied to all sublines of all line types.\n"
     "     Each subline's value can then be set on the subline page.",
     true, nullptr, " ++> Item Numbers 10,11"},
};

// The key of an item's note for the kind, 0 for none (help for a hidden item
// of the kind reads "Sorry").
int general_key(const Session& s, int item) {
  const int kind = kind_of(s);
  if (kind == 7 && (item == 4 || item >= 9)) return 0;
  if (item == 6) return kind == 7 ? kVariant + 6 : kind == 14 ? kVariant2 + 6 : 6;
  if (item == 9) return kind == 13 ? 9 : kind == 8 ? kVariant + 9 : 0;
  if (item >= 10 && item <= 12) {
    if (kind != 8) return 0;
    if (item == 11 && s.tpcm.i(kHawserFlag) != 0) return 10;  // the buoy draft
    return item == 10 ? 10 : 11;
  }
  return item;
}

int more_key(const Session& s, int item) {
  const bool turret = kind_of(s) == 15;
  if (item == 3 || item == 6 || item == 7) return turret ? kVariant + item : item;
  if (item == 8) return turret ? kVariant + 7 : 7;
  if (item == 11) return 10;
  return item;
}

int dynamics_key(const Session& s, int item) {
  if (item == 2) return 1;
  if (item == 5) return kind_of(s) == 14 ? 5 : 0;
  if (item == 11) return 10;
  return item;
}

}  // namespace

const HelpBook kGeneralMooringHelp = with_texts(kGeneralTexts);
const HelpBook kProfileModeHelp = with_texts(kProfileTexts);
const HelpBook kMoreMooringHelp = with_texts(kMoreTexts);
const HelpBook kDynamicsMooringHelp = with_texts(kDynamicsTexts);

void morhp1(Session& s, int item) { show_help(s, kGeneralMooringHelp, item, general_key(s, item)); }
void mrhp1a(Session& s, int item) {
  show_help(s, kProfileModeHelp, item, item == 4 && kind_of(s) == 7 ? 0 : item);
}
void morhp2(Session& s, int item) { show_help(s, kMoreMooringHelp, item, more_key(s, item)); }
void morhp3(Session& s, int item) { show_help(s, kDynamicsMooringHelp, item, dynamics_key(s, item)); }

}  // namespace kelp
