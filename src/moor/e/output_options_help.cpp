// Help books of the two output-option pages and of the peak-load menu. Keys
// are item numbers; items that share a note name the first of them.
#include "edlib/pagekit/help_book.hpp"
#include "edlib/record/data_record.hpp"
#include "moor/e/output_options.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

int kind(const Session& s) { return s.tpcm.i(kProgramKind); }

// Kinds 7 and 8 have notes for items 1 to 4 only.
bool past4(const Session& s) { return kind(s) != 7 && kind(s) != 8; }
bool note26(const Session& s) { return past4(s) && kind(s) != 12 && kind(s) != 14 && kind(s) != 17; }
bool note27(const Session& s) { return past4(s) && kind(s) != 13; }
bool note29(const Session& s) { return kind(s) == 15; }
bool note31(const Session& s) { return past4(s) && kind(s) >= 11; }
bool note42(const Session& s) { return kind(s) == 17; }
bool note56(const Session& s) { return kind(s) == 10 || kind(s) == 13; }

constexpr std::string_view kOutputTitle = "                     ****  Output Definition Notes  ****";

constexpr HelpText kPage1Texts[] = {
    {1,
     "     Outputs the line interpolation tables and the other static mooring\n"
     "     information: pretensions, static offset curves and restoring forces."},
    {2,
     "     Includes or omits the positions of the element endpoints and the\n"
     "     line tangent angles in the interpolation tables. Omitting them\n"
     "     shrinks the interpolation-table file considerably."},
    {3,
     "     When the pretensions and the layout of the lines are not in\n"
     "     equilibrium, new pretensions as close as possible to the given ones\n"
     "     are found. Answer \"No\" to force the given pretensions instead."},
    {4,
     "     A summary of line tensions and departure angles at the mean offset\n"
     "     positions of the vessel."},
    {5, "     Motions and loads that result from purely low-frequency oscillation.", false, past4},
    {6,
     "     Switches wave-frequency dynamics on or off. \"No\" shortens the run\n"
     "     considerably when only the low-frequency dynamics matter.",
     false, past4},
    {7,
     "     Line loads and motions at every nodal point of the lines, that is\n"
     "     at each interface between adjacent sublines.",
     false, past4},
    {8,
     "     Nodal motions (file \"Node_Motn.stxt\") are reported either in global\n"
     "     axes, parallel and perpendicular to the waterplane, or in line-local\n"
     "     axes tangential and normal to the line.",
     false, past4},
    {9,
     "     The relative \"hinge\" motion of the chain near the fairlead, for\n"
     "     estimates of wear and fatigue of chain at the fairlead.",
     false, past4},
    {16, "     Fairlead motion and line load RAOs at wave frequency.", true, past4},
    {17,
     "     Line tension obtained by applying the fairlead motion to the static\n"
     "     offset curves, for comparison with the full dynamic model.",
     false, past4},
    {18, "     Line load RAOs at the anchor end of the lines.", false, past4},
    {19,
     "     Wave-frequency statistics about a chosen low-frequency offset, one\n"
     "     line per page.",
     false, past4},
    {20,
     "     The large-amplitude nonlinear model of wave-frequency line loads is\n"
     "     used instead of the small-amplitude (linearised) model.",
     false, past4},
    {21,
     "     An inertial correction of the wave-frequency line loads. It is\n"
     "     untested, and off by default.",
     false, past4},
    {22,
     "     Any number of lines may be excluded from the inertial correction.\n"
     "     A count above zero requires the line numbers to be given.",
     false, past4},
    {25,
     "     Uses the fairlead motion normal to the constant-tension surface\n"
     "     instead of the motion along the line tangent.",
     true, past4},
    {26,
     "     The generalised 3-degree-of-freedom equilibrium search, kept for\n"
     "     backward compatibility.",
     false, note26},
    {27,
     "     Only wave-frequency line load RAOs about the pretension are\n"
     "     produced: no equilibrium search and no low-frequency dynamics.",
     false, note27},
    {28, "     Searches for a second stable equilibrium position.", false, past4},
    {29, "     Locks the turret to the vessel structure.", false, note29},
    {30,
     "     The mean current load on each mooring line and riser, included in\n"
     "     the equilibrium and in the net loads.",
     true, past4},
    {31, "     Only the net forces and moments appear in the snapshot report.", false, note31},
    {32,
     "     An elliptical bounding box of the mooring centroid is used for the\n"
     "     snapshot coordinates, instead of a rectangular one.",
     false, note31},
    {33, "     Restore the behaviour of the program before version 4.4.", false, note31},
    {35, "     Removes the low-frequency wave absorption damping and excitation.", false, note31},
    {36, "     Restores the surge/sway normal-mode treatment before version 5.45.", false, note31},
    {37,
     "     Forces the Gaussian/Rayleigh peak factor SQRT[2*Ln(N)] for all\n"
     "     low-frequency degrees of freedom.",
     false, note31},
    {38,
     "     Correlation spectra of drift and drag forces, for semisubmersible-\n"
     "     type vessels. This is computationally intensive.",
     true, note31},
    {40, "     A tab-delimited summary file \"XCLDAT.stxt\" for spreadsheets.", false, note31},
    {41,
     "     Loads in kiloNewtons in that file only (a factor of about 9.81\n"
     "     from metric tons).",
     false, note31},
    {42,
     "     Vertical suction due to strong current or wind. For spars only.",
     false, note42},
    {44, "     The older wave-frequency line load algorithms for spar moorings.", false, note42},
    {51,
     "     The storm duration is needed for the peak values of wave height,\n"
     "     motions and loads.",
     true, past4},
    {52,
     "     The spread of the extremes over an ensemble of storms, around the\n"
     "     most probable extreme.",
     false, past4},
    {55,
     "     A clockwise rotation of all global angles (line departure angles,\n"
     "     headings of vessels, waves, current and wind) by one increment.",
     false, past4},
    {56, "     Exchanges all data of the two indicated vessels.", false, note56},
    {81,
     "     Many auxiliary report files for follow-on time-domain analysis.",
     true, past4},
    {82,
     "     Skips the recomputation of the mooring and low-frequency wave\n"
     "     damping maps.",
     false, past4},
    {83,
     "     Diameter of the low-frequency excursion space. Exactly 0 lets the\n"
     "     simulation estimate it.",
     false, past4},
};

const HelpBook kPage1Help = {
    .title = kOutputTitle,
    .number_width = 2,
    .no_help = "\n ++> Sorry, no help for this line...\n",
    .numbered_page_help = true,
    .texts = kPage1Texts,
};

constexpr HelpText kPage2Texts[] = {
    {1,
     "     One or two standard deviations are taken as the characteristic\n"
     "     values of the statistical estimates."},
    {2,
     "     Spectral estimates of the wave-frequency line load standard\n"
     "     deviations are used in place of the nonlinear load response."},
    {3,
     "     Line loads are composed of the pretension, the mean environmental\n"
     "     load, the low-frequency load and the wave-frequency load. The peak\n"
     "     load is formed from these by the treatment chosen here."},
    {4,
     "     RAOs are output for the principal wave directions. (This item does\n"
     "     not appear on the page.)"},
    {5,
     "     RAOs at the intermediate angles of a spread sea. Invisible unless\n"
     "     spread seas are selected."},
    {6, "     Options for square-law forces on submerged members.", true},
    {7,
     "     The wave driving force on a member has three phase components; this\n"
     "     uses only the square-law (drag) component."},
    {8,
     "     Vessel RAOs and random-wave data, together with the fairlead\n"
     "     motions."},
    {9,
     "     Motions and loads are reported at the vessel's c.g. or at the\n"
     "     natural rotation centres."},
    {10,
     "     Angular RAOs in degrees per degree of wave slope, or in degrees per\n"
     "     unit wave amplitude."},
    {11,
     "     A 2-d quasi-static analysis makes two constraints: first, the\n"
     "     vertical fairlead motions are quenched; second, the lines respond\n"
     "     quasi-statically in their own vertical planes.",
     true},
    {12, "     The debug stream is written to the screen."},
};

const HelpBook kPage2Help = {
    .title = kOutputTitle,
    .number_width = 2,
    .no_help = "\n ++> Sorry, no help for this line...\n",
    .numbered_page_help = true,
    .texts = kPage2Texts,
};

constexpr HelpText kPeakLoadTexts[] = {
    {1, "     Loads at the mean position."},
    {2, "     Loads at the extreme low-frequency offset."},
    {3,
     "     Wave-frequency motion at the n-sigma low-frequency offset, where n\n"
     "     is 1 or 2 as chosen by item 1 of the page."},
    {4,
     "     Wave-frequency motion at the n-sigma low-frequency offset, where n\n"
     "     is 1 or 2 as chosen by item 1 of the page."},
    {5,
     "     The n-sigma wave-frequency load at the extreme excursion, added to\n"
     "     the quasi-static load there."},
    {6, "     The joint probability of the wave- and low-frequency statistics.", true},
};

const HelpBook kPeakLoadHelp = {
    .title = "                   ****  Mooring Definition Notes  ****",
    .number_width = 2,
    .no_help = "\n ++> Sorry, no help for this line...\n",
    .numbered_page_help = true,
    .texts = kPeakLoadTexts,
};

// The note of an item of page 20, or none when the kind has none.
int page1_key(const Session& s, int item) {
  const int key = item == 23 ? 22 : item == 34 ? 33 : item;
  const HelpText* note = kPage1Help.find(key);
  if (note == nullptr || (note->in_page_help != nullptr && !note->in_page_help(s))) return -1;
  return key;
}

}  // namespace

void mothp1(Session& s, int item) { show_help(s, kPage1Help, item, page1_key(s, item)); }

void mothp2(Session& s, int item) { show_help(s, kPage2Help, item, item); }

void mothp3(Session& s, int item) {
  const int n = item < 0 ? 1 : item;
  show_help(s, kPeakLoadHelp, n, n);
}

}  // namespace kelp
