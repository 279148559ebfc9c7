// Help book of the time-domain options page. Each note is keyed by the item
// it is listed under in the page help; items that share a note name that
// item in the table of notes by item.
#include <array>

#include "edlib/pagekit/help_book.hpp"
#include "moor/e/td_options_page.hpp"

namespace kelp {

namespace {

constexpr HelpText kNotes[] = {
    {1,
     "     Answering \"Yes\" makes this program prepare the support files of the\n"
     "     time-domain simulation program Gustrevan: a sub-directory of the\n"
     "     working directory that holds them, and the options file GUSTRDAT,\n"
     "     written whenever you leave this page. Leave this item on \"No\" when\n"
     "     no time-domain run will follow: building the support files costs much\n"
     "     run time and disk space, and it changes none of the other outputs of\n"
     "     this program."},
    {2,
     "     Restores every option of this page to its default value. You are\n"
     "     asked first and may abort. Once the reset is done it cannot be undone:\n"
     "     any setting lost by it must be entered again by hand.",
     true},
    {3,
     "     The support files map the mooring properties over a grid of vessel\n"
     "     positions that covers the low-frequency excursion disc; this item is\n"
     "     the diameter of that disc. A diameter of exactly 0 lets Gustrevan\n"
     "     estimate it from the mooring and the environment. A disc that is too\n"
     "     small makes the run fail or err: offsets outside the map are out of\n"
     "     bounds (they are reported). A disc that is too large makes the grid\n"
     "     coarse. An estimate changes with the environment, and every change\n"
     "     forces the maps to be rebuilt; a fixed diameter suits a series of runs\n"
     "     over several environments.",
     true},
    {4,
     "     The time step of the time history output may be any value. The size\n"
     "     of the output is inversely proportional to it: halving the step\n"
     "     doubles the output.",
     true},
    {5,
     "     The simulation starts from one of three initial conditions:\n"
     "       1) the vessel at rest at its quiescent equilibrium position;\n"
     "       2) the vessel at rest at its mean position in the environment;\n"
     "       3) six values that you give: the mooring centroid position and\n"
     "          vessel heading {Gx, Gy, heading}, and their rates {Gvx, Gvy,\n"
     "          yaw rate}.",
     true},
    {6,
     "     Forces every support file to be rebuilt, which is slow. Normally the\n"
     "     mooring maps are rebuilt only when the data they depend on change.",
     true},
    {7,
     "     Gustrevan reports the progress of the run on the console.",
     true},
    {8,
     "     Gustrevan writes additional debugging reports on the console.",
     true},
    {9,
     "     \"Yes\" seeds the random wave phases the same way in every run, so\n"
     "     that the time histories are identical from run to run. \"No\" seeds\n"
     "     them anew, so that the time histories of different runs are\n"
     "     statistically independent.",
     true},
    {10,
     "     The damping that the wave-frequency motions of the mooring lines add\n"
     "     to the low-frequency motions can be switched off, to study its\n"
     "     influence.",
     true},
    {11,
     "     Supplemental linear damping in still water may be applied to the\n"
     "     low-frequency motions. It comes either from the built-in stillwater\n"
     "     estimates of this program or from dimensional linear damping values\n"
     "     {Cx, Cy, Cz} that you supply.",
     true},
    {13,
     "     You may supply the zero-frequency virtual mass coefficients {Cmx,\n"
     "     Cmy, Cmz} in place of the internal estimates. They multiply the dry\n"
     "     mass (surge and sway) or the dry yaw inertia (yaw), and are always\n"
     "     greater than 1; for a loaded tanker they are about 1.05, 1.90 and\n"
     "     1.60.",
     true},
    {14,
     "     The low-frequency variability of the wave forces. When it is switched\n"
     "     off, only the mean wave drift and drag forces remain.",
     true},
    {15,
     "     The variable wave drag (wave absorption) of semisubmersibles is\n"
     "     costly to compute. It can be switched off when its contribution to\n"
     "     the low-frequency force is small.",
     true},
    {16,
     "     Wind squalls and current eddies are transient forcing read from the\n"
     "     files \"Squall_Hist.txt\" and \"Eddy_Hist.txt\". Each file holds a\n"
     "     count, then that many records of time, heading and speed. A history\n"
     "     may include the background wind (current) of this data file, or come\n"
     "     on top of it. A squall history shorter than the storm duration sets\n"
     "     the duration of the run.",
     true},
    {18,
     "     Every heading of the squall (eddy) history may be overridden by one\n"
     "     fixed heading, given here in degrees.",
     true},
    {24,
     "     Time histories are interpolated linearly or by cubic splines. Cubic\n"
     "     splines are the default; they are slower and can overshoot.",
     true},
    {25,
     "     The duration of the time-domain simulation defaults to the storm\n"
     "     duration of this editor. It can be set separately here, without\n"
     "     changing the value used by the frequency-domain analysis.",
     true},
    {27,
     "     The fairleads whose loads are reported default to the lines selected\n"
     "     for dynamic evaluation on the \"Dynamics-Related Mooring Information\"\n"
     "     page. They can be selected separately here.",
     true},
    {30,
     "     Supplemental sway-yaw damping accounts for the yaw-rate effects that\n"
     "     the standard OCIMF wind and current coefficients leave out.",
     true},
    {31,
     "     Orcaflex emulation mode. It applies two sway-yaw damping coefficients\n"
     "     (added yaw and sway damping) and a cross-flow principle reduction\n"
     "     factor, and optionally the Orcaflex maneuvering loads.",
     true},
    {36,
     "     Selects the legacy square-law sway-yaw damping model in place of the\n"
     "     default closed-form model.",
     true},
    {37,
     "     Output control offers four choices:\n"
     "       1) everything: runtime data on the screen, the statistics file\n"
     "          \"TD_Statistics.stxt\", all motion and load time histories and\n"
     "          the wave-frequency line load statistics;\n"
     "       2) runtime data on the screen only; no files are written;\n"
     "       3) only the statistical summary \"TD_Statistics.stxt\"; the motion\n"
     "          and load time histories are suppressed;\n"
     "       4) everything but the wave-frequency fairlead load statistics.",
     true},
    {38,
     "     A debugging option that writes supplemental files. It should remain\n"
     "     \"No\".",
     true},
    {39,
     "     The motion model. \"No\" selects a simplified formulation that is meant\n"
     "     only for comparisons with other programs; it should remain \"Yes\".",
     true},
    {40,
     "     The solver tolerance factors are normally 1. Changing them (factors\n"
     "     from 0.01 to 100.00) can free a solver that gets stuck.",
     true, nullptr, " ++> Item Number 40\n\n ++> Item Number 41"},
    {42,
     "     A run may be made without moorings (a free-floating vessel), and\n"
     "     without the search for the background equilibrium position.",
     true, nullptr, " ++> Item Number 42\n\n ++> Item Number 43"},
    {44,
     "     The mooring map is built on a square {x,y} grid, or on a cylindrical\n"
     "     {r,theta} grid when this item is \"Yes\".",
     true},
    {45,
     "     A temporary flag for a vessel spinning about a fixed pylon: the run\n"
     "     finds the sweet spot and gives the analytic solution of the spin\n"
     "     test.",
     true},
    {46,
     "     Batch mode runs a series of simulations. It combines the squall\n"
     "     (eddy) profiles, the heading and speed modifications listed in\n"
     "     \"hdg_spd_list.txt\" (a count NangSpd, then records of angle and\n"
     "     factor) and the initial conditions listed in \"inits.txt\" (a count,\n"
     "     then six values per record): Nsq x Ninit x NangSpd runs are made.\n"
     "     The output files of each run are named by its three indices, for\n"
     "     example \"9_12_6_TD_HistoryOut.stxt\".",
     true},
};

const HelpBook kGustrHelp = {.title = "                     ****  Output Definition Notes  ****",
                             .no_help = "\n ++> Sorry, no help for this line...\n",
                             .numbered_page_help = true,
                             .texts = kNotes};

// The note of each item (item numbers never move); 0: none.
constexpr std::array<int, 48> kNoteOfItem = {
    0,                                    // the page
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  // 1-10
    11, 11, 13, 14, 15, 16, 16, 18, 18, 16,  // 11-20: damping, squalls
    16, 18, 18, 24, 25, 0,  27, 0,  0,  30,  // 21-30: eddies, duration, picks
    31, 31, 31, 31, 31, 36, 37, 38, 39, 40,  // 31-40: Orcaflex emulation
    40, 42, 42, 44, 45, 46, 46,              // 41-47
};

}  // namespace

void gustr_hlp(Session& s, int item) {
  const bool known = item >= 0 && static_cast<std::size_t>(item) < kNoteOfItem.size();
  show_help(s, kGustrHelp, item, known ? kNoteOfItem[static_cast<std::size_t>(item)] : 0);
}

}  // namespace kelp
