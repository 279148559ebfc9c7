// Help books of the subline specifics page (keys: its item numbers, 12 for
// the three compliance coefficients) and of its help facility (keys: the
// choices of the facility's menu).
#include <string>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/record/data_record.hpp"
#include "moor/e/subline_page.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

bool not_kind7(const Session& s) { return s.tpcm.i(kProgramKind) != 7; }
bool kind7(const Session& s) { return !not_kind7(s); }

constexpr std::string_view kNoLineHelp = "\n ++> Sorry, no help for this line...";

// Page help comes in six screens: 3 and 5; 6 and 7; 8, 9 and 10; 11;
// 12 to 14; 16 and 17. Kind 7, without items 7, 9, 10 and 16, opens the
// last screen with the note of item 17.
constexpr HelpText kLineTexts[] = {
    {3,
     "     The subline composition is a name of at most 8 characters (CHAIN,\n"
     "     WIRE, POLY and the like). It documents the output only; the\n"
     "     simulation does not read it."},
    {5,
     "     The outside diameter is the nominal diameter of the standard line\n"
     "     tables; for chain it is the diameter of the stock (bar) the links\n"
     "     are made of. It is used for the drag on the subline and for the\n"
     "     property estimates of the help facility (item 21)."},
    {6,
     "     The immersed (submerged) weight per unit length governs the\n"
     "     quasi-static, catenary behaviour of the line. It is entered in\n"
     "     pounds per foot or kilograms per meter.",
     true},
    {7,
     "     The dry weight per unit length (the weight in air) gives the line's\n"
     "     inertia, which influences the dynamic load variations caused by\n"
     "     wave-frequency motions of the fairlead. With a value of zero or\n"
     "     less the simulation estimates it as the immersed weight plus the\n"
     "     weight of the water displaced by a line of the given diameter.",
     false, not_kind7},
    {8,
     "     The breaking strength is used only to check the load range of the\n"
     "     force-offset interpolation table of the line type.",
     true},
    {9,
     "     The added mass coefficient multiplies the net displacement of the\n"
     "     line per unit length, which is taken proportional to the dry weight\n"
     "     less the submerged weight. Values far from 1.0 are rarely right.",
     false, not_kind7},
    {10,
     "     The transverse drag coefficient refers to the nominal diameter of\n"
     "     item 5: near 1.0 for cables and wire rope, 2.5 to 3.0 for chain.",
     false, not_kind7},
    {11,
     "     \"Yes\" takes the elastic properties of this (type, subline) from\n"
     "     the ASCII database file LINE_STRAIN_DB.txt in place of the\n"
     "     compliance coefficients. The file holds one block for each\n"
     "     (type, subline) whose item is \"Yes\":\n"
     "       - a first row with the number of (tension, elongation) pairs,\n"
     "         the type number and the subline number;\n"
     "       - then the pairs, one per row, the first pair being (0,0).\n"
     "     The tensions should span 1.5 times the largest horizontal load of\n"
     "     the interpolation table. Values are separated by tabs or commas;\n"
     "     the blocks follow the order of this editor, with no blank lines\n"
     "     between them, and the file ends with at least one blank line.\n"
     "     The page shows the largest number of pairs a block may hold.",
     true, nullptr, " ++> Item Numbers 11"},
    {12,
     "     The compliance coefficients A1, A2 and A3 give the strain e of the\n"
     "     subline at tension t:\n"
     "\n"
     "          e(t) = A1*t + A2*t^2 + A3*t^3\n"
     "\n"
     "     with t in kips (English units) or metric tons (metric units). For\n"
     "     wire rope and chain A1 = 1/(AE) and A2 = A3 = 0. The AE of chain\n"
     "     must be inferred with care, because its nominal diameter is not\n"
     "     the diameter of an equivalent solid section.",
     true, nullptr, " ++> Item Numbers 12 -> 14"},
    {16,
     "     \"No\": the bottom is solid and the line lies on it. \"Yes\": the line\n"
     "     hangs from its anchor as if there were no bottom, as for lines\n"
     "     anchored to towers or docks; use it with individual anchor depths.",
     true, not_kind7},
    {17,
     "     The anchor depth is measured down from the waterline; it is\n"
     "     negative for anchors above the waterline.",
     false, not_kind7},
    {17,
     "     The anchor depth is measured down from the waterline; it is\n"
     "     negative for anchors above the waterline.",
     true, kind7},
};

constexpr HelpText kMaterialTexts[] = {
    {1,
     "     Estimates the weight per unit length of the subline in air, in\n"
     "     seawater or in freshwater from its diameter and the line type\n"
     "     chosen from the built-in database, and stores it as the immersed\n"
     "     weight of the subline."},
    {2,
     "     Estimates the breaking strength of the subline from its diameter\n"
     "     and the line type chosen from the built-in database."},
    {3,
     "     Estimates the three compliance coefficients of the subline from its\n"
     "     diameter and the line type chosen from the built-in database, or\n"
     "     fits them to a tension-elongation curve that you enter."},
    {4,
     "     Estimates the dry weight per unit length (the weight in air) of the\n"
     "     subline from its diameter and the line type chosen from the\n"
     "     built-in database."},
    {5,
     "     For taut-wire or tension-leg lines: computes the length of the\n"
     "     fairlead subline (subline 1) with which the line, stretched by the\n"
     "     requested pretension, exactly spans the depth from its fairlead to\n"
     "     its anchor.",
     false, not_kind7},
};

constexpr std::string_view kLineTitle = "                       ****  Line Definition Notes  ****";
constexpr std::string_view kMaterialTitle = "                  ****  Material Properties Help Notes  ****";

}  // namespace

const HelpBook kLineNotes = {.title = kLineTitle,
                             .item_heading = " ++> Item Number  ",
                             .no_help = kNoLineHelp,
                             .numbered_page_help = true,
                             .texts = kLineTexts};

const HelpBook kMaterialNotes = {.title = kMaterialTitle,
                                 .item_heading = " ++> Item Number  ",
                                 .no_help = kNoLineHelp,
                                 .numbered_page_help = true,
                                 .texts = kMaterialTexts};

void linhlp(Session& s, int item) {
  // Kind 7 has no notes for its items 7, 9, 10, 11 and 16: their heading
  // alone is shown.
  const bool bare = kind7(s) && (item == 7 || item == 9 || item == 10 || item == 11 || item == 16);
  if (bare) {
    const int out = s.tpcm.i(kOutputUnit);
    clear(s, out);
    write_text(s, out, kLineNotes.title);
    fwrite(s, out, item <= 9 ? "(/A,I1)" : "(/A,I2)", {std::string(kLineNotes.item_heading), item});
    help_done(s, out, kKeyboard);
    return;
  }
  show_help(s, kLineNotes, item, item == 13 || item == 14 ? 12 : item);
}

void mtlhlp(Session& s, int item) { show_help(s, kMaterialNotes, item, item == 5 && kind7(s) ? 0 : item); }

}  // namespace kelp
