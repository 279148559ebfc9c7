// Help of the environmental areas page (arhlp). Keys are the first item of
// each group of items that share a note.
#include "edlib/pagekit/help_book.hpp"
#include "edlib/pages/areas_page.hpp"

namespace kelp {

namespace {

constexpr HelpText kAreasTexts[] = {
    {2,
     "     The wind drag areas are the projected areas of the vessel above\n"
     "     the water line: head-on (seen from ahead) and beam-on (seen from\n"
     "     the side). With the wind force coefficients they give the wind\n"
     "     forces. The centroids place the resultant of each force: y and x\n"
     "     from the center of gravity, z from the keel. They are asked only\n"
     "     where the chosen coefficient source needs them.",
     false, nullptr, " ++> Item Numbers 2 -> 7"},
    {8,
     "     The wind force enhancement factor multiplies every wind force and\n"
     "     moment. 1.0 leaves the forces as the coefficients give them.",
     false, nullptr, " ++> Item Number 8"},
    {12,
     "     The current drag areas are the projected areas of the vessel\n"
     "     below the water line: head-on and beam-on. With the current force\n"
     "     coefficients they give the current forces. The centroids place\n"
     "     the resultant of each force: y and x from the center of gravity,\n"
     "     z from the keel.",
     true, nullptr, " ++> Item Numbers 12 -> 17"},
    {18,
     "     The current force enhancement factor multiplies every current\n"
     "     force and moment. 1.0 leaves the forces as the coefficients give\n"
     "     them.",
     false, nullptr, " ++> Item Number 18"},
    {20,
     "     Wave reflection (\"drift\") factors tune the mean and slowly\n"
     "     varying wave drift forces. They stay at their defaults unless\n"
     "     this item is \"Yes\". Switching it back to \"No\" resets every\n"
     "     reflection factor to its default.",
     true, nullptr, " ++> Item Number 20"},
    {21,
     "     The bow shape factor scales the head-on wave reflection forces.\n"
     "     1.0 corresponds roughly to a conventional VLCC bow. Values lie\n"
     "     normally between 0.5 and 2.0; 2.78 is an extreme upper bound.",
     false, nullptr, " ++> Item Number 21"},
    {22,
     "     The stern shape factor is the analogue of the bow shape factor\n"
     "     for the stern (default 1.25).",
     false, nullptr, " ++> Item Number 22"},
    {23,
     "     The head-on, beam-on and moment enhancement factors multiply the\n"
     "     wave reflection forces and moment.",
     true, nullptr, " ++> Item Numbers 23-25"},
    {26,
     "     The variable wave reflection enhancement factor multiplies the\n"
     "     slowly varying part of the wave reflection forces.",
     false, nullptr, " ++> Item Number 26"},
    {30,
     "     Wave absorption (\"drag\") factors tune the wave drag forces.\n"
     "     They stay at their defaults unless this item is \"Yes\".\n"
     "     Switching it back to \"No\" resets every absorption factor to\n"
     "     1.0.",
     true, nullptr, " ++> Item Number 30"},
    {31,
     "     The wave absorption factors are plain multipliers of the head-on\n"
     "     and beam-on wave absorption forces, of their moment and of their\n"
     "     slowly varying part.\n"
     "\n"
     "     The editor enforces none of the ranges given in these notes.",
     false, nullptr, " ++> Item Numbers 31-34"},
};

// Item help uses the default heading, one blank before the number, as the
// single-item headings above (other pages' books keep two).
const HelpBook kAreasHelp = {
    .title = "                 ****  Vessel Environmental Load Notes  ****",
    .no_help = "\n ++> Sorry, no help for this line...",
    .texts = kAreasTexts,
};

// The note of each item: the first item of its group.
int note_of(int item) {
  if (item >= 2 && item <= 7) return 2;
  if (item >= 12 && item <= 17) return 12;
  if (item >= 23 && item <= 25) return 23;
  if (item >= 31 && item <= 34) return 31;
  return item;
}

}  // namespace

void arhlp(Session& s, int item) { show_help(s, kAreasHelp, item, note_of(item)); }

}  // namespace kelp
