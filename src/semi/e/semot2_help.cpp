// Help book of the semisubmersible's "More output options" page. Keys are
// item numbers; items 1 and 2, and 6 and 7, share a note under a heading of
// its own.
#include "edlib/pagekit/help_book.hpp"
#include "semi/e/semot2.hpp"

namespace kelp {

namespace {

constexpr HelpText kTexts[] = {
    {1,
     "     The output of the motion RAOs and of the load (force and torque)\n"
     "     RAOs can be included in or excluded from the reports, each on its\n"
     "     own.",
     false, nullptr, " ++> Item Numbers 1, 2"},
    {3,
     "     With azimuthally spread seas, the RAOs of the intermediate wave\n"
     "     angles around the main direction can be included in or excluded\n"
     "     from the reports."},
    {4,
     "     Square-law (drag) driving forces on the submerged members can be\n"
     "     treated in one of three ways. The options are described in detail\n"
     "     on the sub-page of this item: select it and type \"?\" there."},
    {5,
     "     The wave driving force on a member has three components of\n"
     "     different phase. \"Yes\" uses only the square-law (drag) component\n"
     "     and leaves out the other two."},
    {6,
     "     \"Yes\" simulates a tension-leg (TLP) mooring by a phantom weight,\n"
     "     whose value is entered as item 7. The option is meant for use with\n"
     "     companion simulations of semisubmersible-type structures.",
     true, nullptr, " ++> Item Numbers 6,7"},
    {10,
     "     With the debug option on, debugging information is written to the\n"
     "     screen during the run."},
};

const HelpBook kHelp = {
    .title = "                     ****  Output Definition Notes  ****",
    .number_width = 2,
    .no_help = "\n ++> Sorry, no help for this line...\n",
    .heading_on_no_help = false,
    .numbered_page_help = true,
    .note_heading_on_items = true,
    .texts = kTexts,
};

// The note of an item: items 2 and 7 share the notes of 1 and 6, and a
// number below 0 shows the first note.
int key_of(int item) {
  if (item < 0 || item == 2) return 1;
  if (item == 7) return 6;
  return item;
}

}  // namespace

void smo2hp(Session& s, int item) { show_help(s, kHelp, item, key_of(item)); }

}  // namespace kelp
