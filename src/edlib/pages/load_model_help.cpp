// Help of the low-frequency dynamics characteristics page (lowvhp), of its
// model selection sub-page (wndfhp, curfhp, wavfhp, one note per source
// row), of its bow type sub-page (wbowhp, ocimhp, nsmbhp) and of the user
// coefficient tables (cofhlp).
#include "edlib/pagekit/help_book.hpp"
#include "edlib/pages/load_model_page.hpp"

namespace kelp {

namespace {

constexpr std::string_view kSorry = "\n ++> Sorry, no help for this line...";
constexpr std::string_view kHeading = " ++> Item Number  ";

constexpr HelpBook book(std::string_view title, std::span<const HelpText> texts) {
  return {.title = title, .item_heading = kHeading, .no_help = kSorry, .numbered_page_help = true, .texts = texts};
}

// ---- The page ----

constexpr HelpText kPageTexts[] = {
    {1,
     "     Each environmental load type (wind, current, wave drift) has three\n"
     "     sets of load coefficients: head-on force (Cx), beam-on force (Cy)\n"
     "     and yaw moment (Cz). The toggle chooses whether the three sets\n"
     "     come from one source (a single \"force model\" line) or each from\n"
     "     a source of its own. Making them dependent gives Cy and Cz the\n"
     "     source of Cx at once.",
     false, nullptr, " ++> Item Numbers 1, 11, 21"},
    {2,
     "     Each of these items opens the model selection sub-page, a list of\n"
     "     the coefficient sources of the load type: a user table, a user\n"
     "     text file read by the simulation, or one of its built-in\n"
     "     databases. \"?\" on the sub-page describes every source.",
     false, nullptr, " ++> Item Numbers 2->4, 12->14, 22->24"},
    {5,
     "     Opens the table of user coefficients (saved in LOWDAT): attack\n"
     "     angles with the coefficients of every axis that uses the user\n"
     "     table. Choosing the user table for an axis opens it at once.",
     true, nullptr, " ++> Item Numbers 5, 15"},
    {6,
     "     Opens the bow type sub-page: conventional, cylindrical, or an\n"
     "     interpolation between the two. After choosing \"Interpolated\",\n"
     "     give the interpolation factor with the item that follows.",
     false, nullptr, " ++> Item Numbers 6, 16"},
    {7,
     "     Freeboard-based load condition, in percent:\n"
     "\n"
     "          Load % = 100 x (full-load freeboard)/(simulation freeboard)\n"
     "\n"
     "     100% gives the OCIMF \"Loaded\" coefficients, 32% the \"Ballasted\"\n"
     "     coefficients; other values interpolate between the two.",
     true, nullptr, " ++> Item Number  7"},
    {8,
     "     The interpolation factor lies between 0 and 1: 0 gives the\n"
     "     conventional bow, 1 the cylindrical bow, values between them\n"
     "     interpolate. A value outside 0..1 is not taken.",
     false, nullptr, " ++> Item Numbers 8, 18"},
    {17,
     "     Draft-based load condition, in percent:\n"
     "\n"
     "          Load % = 100 x (simulation draft)/(full-load draft)\n"
     "\n"
     "     100% gives the NSMB \"Loaded\" coefficients, 40% the curve of the\n"
     "     40% draft condition. The item is hidden unless NSMB '91 is used.",
     true, nullptr, " ++> Item Number  17"},
    {19,
     "     At the 40% load condition NSMB '91 gives a \"Mean\" curve as well.\n"
     "     \"Yes\" uses the \"Mean\" curve, \"No\" the 40% draft curve.",
     false, nullptr, " ++> Item Number  19"},
    {26,
     "     The coefficients of DRFTCOFS.txt are for zero current. \"Yes\"\n"
     "     corrects the drift forces for the current of the simulation.",
     true, nullptr, " ++> Item Number  26"},
    {27,
     "     Head-on and beam-on shadowing and geometry factors of the\n"
     "     semisubmersible and spar drift models multiply the drift forces\n"
     "     for the shadowing of one member by another and for the geometry\n"
     "     of the members.",
     false, nullptr, " ++> Item Numbers 27, 28"},
    {29,
     "     \"Yes\" uses the legacy drift force coefficients (DFCs) of\n"
     "     cylinders in place of the current ones.",
     false, nullptr, " ++> Item Number  29"},
    {31,
     "     The vessel deadweight only separates VLCCs (above 155 kDWT) from\n"
     "     small tankers (below 80 kDWT) in the OCIMF '77 (extended) wind\n"
     "     model (row 4); tankers of midrange deadweight are interpolated.\n"
     "     No other wind model uses it, and the item is shown for no other.",
     true, nullptr, " ++> Item Number  31"},
};
constexpr HelpBook kPageHelp = book("            *******  Vessel Environmental Load Notes  *******", kPageTexts);

// The note of each item: the first item of its entry.
int page_key(int item) {
  switch (item) {
    case 11:
    case 21: return 1;
    case 3: case 4: case 12: case 13: case 14: case 22: case 23: case 24: return 2;
    case 15: return 5;
    case 16: return 6;
    case 18: return 8;
    case 28: return 27;
    default: return item;
  }
}

// ---- Sources ----

constexpr std::string_view kUserTableText =
    "     The coefficients come from the user table of this editor, kept in\n"
    "     the file LOWDAT: attack angles with Cx, Cy and Cz. Item 5 (wind)\n"
    "     or 15 (current) of the page opens it.";

constexpr std::string_view kBargeText =
    "     Built-in coefficients of a rectangular barge. The drag area\n"
    "     centroids of the areas page place the forces.";

constexpr HelpText kWindTexts[] = {
    {1, kUserTableText},
    {2,
     "     WINDCOFS.txt is a text file that the simulation reads. Its first\n"
     "     line holds the number of records; then one record per line:\n"
     "     angle, Cx, Cy, Cz. At most 145 records. Angles are headings in\n"
     "     degrees relative to the bow, counter-clockwise (bow-on is 180\n"
     "     degrees).",
     true},
    {3, kBargeText, true},
    {4,
     "     The OCIMF '77 tanker coefficients, extended: the above-water bow\n"
     "     shape, the freeboard-based load condition and the deadweight of\n"
     "     the page select and interpolate them.",
     true},
    {5, "     Built-in coefficients of a cylindrical vessel.", true},
};

constexpr HelpText kCurrentTexts[] = {
    {1, kUserTableText},
    {2,
     "     CRNTCOFS.txt is a text file that the simulation reads, laid out\n"
     "     as WINDCOFS.txt: the number of records on the first line, then\n"
     "     angle, Cx, Cy, Cz per line, at most 145 records.",
     true},
    {3, kBargeText, true},
    {4,
     "     The NSMB '91 tanker coefficients: the below-water bow shape and\n"
     "     the draft-based load condition of the page select and\n"
     "     interpolate them; at 40% load the \"Mean\" curve may be used.",
     true},
    {5, "     NSMB '91 coefficients of an extreme cylindrical bow.", true},
    {6,
     "     The OCIMF '77 tanker coefficients: the below-water bow shape of\n"
     "     the page selects them.",
     true},
    {7, "     Built-in coefficients of a cylindrical vessel.", true},
};

constexpr HelpText kWaveTexts[] = {
    {1,
     "     DRFTCOFS.txt is a text file that the simulation reads: Cx, Cy and\n"
     "     Cz over a two-dimensional array of circular wave frequencies and\n"
     "     wave headings, at most 121 frequencies and 145 attack angles in\n"
     "     [0, 360] degrees; values in between are interpolated. The\n"
     "     coefficients are for zero current; item 26 of the page corrects\n"
     "     them for current."},
    {2, "     The legacy drift force coefficients of a tanker.", true},
    {3, "     The legacy drift force coefficients of a semisubmersible.", true},
    {4, "     Drift force coefficients of a buoy or a round ship.", true},
    {5, "     Drift force coefficients of a caisson spar.", true},
    {6, "     The drift force coefficients of a tanker, 2001 edition.", true},
    {7, "     The drift force coefficients of a semisubmersible or a TLP, 2001\n     edition.", true},
};

constexpr HelpBook kWindHelp = book("                 ****  Wind Load Model Notes  ****", kWindTexts);
constexpr HelpBook kCurrentHelp = book("                ****  Current Load Model Notes  ****", kCurrentTexts);
constexpr HelpBook kWaveHelp = book("                 ****  Wave Load Model Notes  ****", kWaveTexts);

// ---- Bow shapes ----

constexpr HelpText kWindBowTexts[] = {
    {1, "     A conventional bow above the water line."},
    {2, "     A cylindrical (rounded) bow above the water line.", true},
    {3,
     "     Coefficients interpolated between the conventional and the\n"
     "     cylindrical bow; the interpolation factor of the page (0 to 1)\n"
     "     sets the blend.",
     true},
};
constexpr HelpText kOcimfBowTexts[] = {
    {1, "     OCIMF '77 current coefficients of a conventional bow with bulb."},
    {2, "     OCIMF '77 current coefficients of a cylindrical bow without\n     bulb.", true},
    {3,
     "     OCIMF '77 current coefficients interpolated between the two bows;\n"
     "     the interpolation factor of the page (0 to 1) sets the blend.",
     true},
};
constexpr HelpText kNsmbBowTexts[] = {
    {1, "     NSMB '91 current coefficients of a conventional bow with bulb."},
    {2, "     NSMB '91 current coefficients of a cylindrical bow without bulb.", true},
    {3,
     "     NSMB '91 current coefficients interpolated between the two bows;\n"
     "     the interpolation factor of the page (0 to 1) sets the blend.",
     true},
};

constexpr HelpBook kWindBowHelp = book("           ****  Wind-Associated Bow Shape Notes  ****", kWindBowTexts);
constexpr HelpBook kOcimfBowHelp = book("      ****  OCIMF '77 Current-Associated Bow Shape Notes  ****", kOcimfBowTexts);
constexpr HelpBook kNsmbBowHelp = book("       ****  NSMB '91 Current-Associated Bow Shape Notes  ****", kNsmbBowTexts);

// ---- User coefficient table ----

constexpr HelpText kTableTexts[] = {
    {1,
     "     The number of attack angles of the table, 2 to 21. The angles\n"
     "     and the coefficient columns share it."},
    {2,
     "     The attack angles, in degrees relative to the bow, span the\n"
     "     semicircle: a monotonic array from 0 to 180 degrees with at least\n"
     "     two values (for example 19 values at 10-degree steps). The\n"
     "     simulation extends the table to the full circle by the vessel's\n"
     "     symmetry and interpolates in between.",
     true},
    {3,
     "     The coefficients are dimensionless:\n"
     "\n"
     "       Head-on force = 0.5 x mass density x Cx x head-on area x V^2\n"
     "       Beam-on force = 0.5 x mass density x Cy x beam-on area x V^2\n"
     "       Yaw moment    = 0.5 x mass density x Cz x beam-on area x LBP x V^2\n"
     "\n"
     "     with V the wind or current speed, LBP the length between\n"
     "     perpendiculars, and the areas of the environmental areas page.",
     true},
};
constexpr HelpBook kTableHelp = book("           ****  User Coefficient Specification Notes  ****", kTableTexts);

}  // namespace

void lowvhp(Session& s, int item) { show_help(s, kPageHelp, item, page_key(item)); }
void wndfhp(Session& s, int row) { show_help(s, kWindHelp, row, row); }
void curfhp(Session& s, int row) { show_help(s, kCurrentHelp, row, row); }
void wavfhp(Session& s, int row) { show_help(s, kWaveHelp, row, row); }
void wbowhp(Session& s, int item) { show_help(s, kWindBowHelp, item, item); }
void ocimhp(Session& s, int item) { show_help(s, kOcimfBowHelp, item, item); }
void nsmbhp(Session& s, int item) { show_help(s, kNsmbBowHelp, item, item); }
void cofhlp(Session& s, int item) { show_help(s, kTableHelp, item, item); }

}  // namespace kelp
