// Help books of the wind and current pages, their spectral-type menus, the
// profile table and the depth-variation menu. Keys are item or choice
// numbers.
#include "edlib/pages/environment_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

constexpr std::string_view kNoLineHelp = "\n ++> Sorry, no help for this line...";

// A book of these pages: numbered notes, each on a screen of its own in the
// page help.
constexpr HelpBook book(std::string_view title, std::span<const HelpText> texts) {
  return {.title = title,
          .item_heading = " ++> Item Number  ",
          .no_help = kNoLineHelp,
          .heading_on_no_help = false,
          .numbered_page_help = true,
          .texts = texts};
}

// ---- Wind ----

constexpr HelpText kWindTexts[] = {
    {1,
     "     The wind speed is the long-term average speed of the wind,\n"
     "     typically measured 10 meters above the sea surface. The A.P.I.\n"
     "     and N.P.D. wind spectra call for a one-hour average speed."},
    {2,
     "     The wind heading is the direction towards which the wind blows,\n"
     "     measured counter-clockwise from the positive x axis of the\n"
     "     earth-fixed (global) coordinate system: a heading of 90 degrees\n"
     "     blows towards positive y, a heading of 180 degrees towards\n"
     "     negative x. With a vessel heading of 0 degrees the global and\n"
     "     the vessel coordinate systems coincide.",
     true},
    {3,
     "     The wind spectral type selects the spectrum of the gusting part\n"
     "     of the wind load: Davenport, a legacy point spectrum, a steady\n"
     "     wind, the A.P.I. or N.P.D. spectra, or a spectrum read from the\n"
     "     file \"WINDSPEC.txt\". Choosing the item opens a sub-page of the\n"
     "     options, with notes of its own; a spectrum that needs a\n"
     "     parameter asks for it at once, and item 4 changes it later.",
     true},
};

constexpr HelpText kWindTypeTexts[] = {
    {1,
     "     The Davenport spectrum of wind gusts, defined by the mean wind\n"
     "     speed alone."},
    {2,
     "     A legacy point spectrum: a single wind speed spectral density,\n"
     "     in feet^2/sec or meters^2/sec, applied at the surge natural\n"
     "     frequency of the moored vessel.",
     true},
    {3, "     A steady wind: the wind speed does not vary in time.", true},
    {4,
     "     The A.P.I. wind spectrum. It takes one parameter, entered\n"
     "     with this choice, and a one-hour average wind speed.",
     true},
    {5,
     "     The N.P.D. wind spectrum, evaluated at the spectral evaluation\n"
     "     height entered with this choice (feet or meters above the sea\n"
     "     surface), for a one-hour average wind speed.",
     true},
    {6,
     "     A user spectrum read by the simulation program from the file\n"
     "     \"WINDSPEC.txt\" in the working directory. The editor does not\n"
     "     read the file.",
     true},
};

constexpr std::string_view kWindTitle = "                       ****  Wind Definition Notes  ****";
constexpr HelpBook kWindHelp = book(kWindTitle, kWindTexts);
constexpr HelpBook kWindTypeHelp = book(kWindTitle, kWindTypeTexts);

// ---- Current ----

#define KELP_POWER_LAW                                                   \
  "     1/7 power law: the current speed at depth H in water depth D is\n" \
  "          Speed = (Surface Current)*{1 - H/D}^(1/7)\n"
#define KELP_NO_VARIATION "     No variation: the surface current holds at every depth.\n"
#define KELP_LEGACY_TABLE                                                   \
  "     User-specified (legacy): the speeds at up to five depths are\n"      \
  "     entered in a table on a sub-page; between them the speed varies\n" \
  "     linearly.\n"
#define KELP_DRAFT_AVERAGE                                                \
  "     For the power law and the user profiles the current averaged\n"  \
  "     over the vessel draft is used for the current loads on the hull."

bool tendon_kind(const Session& s) { return s.tpcm.i(kProgramKind) == 14; }
bool not_tendon_kind(const Session& s) { return !tendon_kind(s); }

#define KELP_RMS_NOTE                                                       \
  "     The fractional RMS current variation (RMS/mean) gives the\n"       \
  "     strength of the band-limited white current spectrum: the RMS\n"    \
  "     of the current speed is this fraction of the mean speed."

constexpr HelpText kCurrentTexts[] = {
    {1,
     "     The current speed is the speed of the current at the sea\n"
     "     surface, in knots. Its variation with depth is set by item 3."},
    {2,
     "     Angles are given in a right-handed earth-fixed coordinate\n"
     "     system, z up, zero along +x and counter-clockwise positive.\n"
     "     The current heading is the direction towards which the\n"
     "     current flows:\n"
     "\n"
     "                  y  90\n"
     "                  ^\n"
     "                  |\n"
     "        180  -----+----->  x  0\n"
     "                  |\n"
     "                  |  270",
     true},
    {3, KELP_POWER_LAW KELP_NO_VARIATION KELP_LEGACY_TABLE KELP_DRAFT_AVERAGE, true},
    {4,
     "     The number of points of the current profile table, at most 5.\n"
     "     It is offered only with the user-specified (legacy) variation.",
     true},
    {5,
     "     Opens the current profile table on a sub-page, with notes of\n"
     "     its own. It is offered only with the user-specified (legacy)\n"
     "     variation.",
     true},
    {6,
     "     The spectral options set the variation of the current in time;\n"
     "     see the notes of the spectral type sub-page.",
     true},
    {7, KELP_RMS_NOTE, true, not_tendon_kind},
    // Item 7 for the tendon kind.
    {17,
     KELP_RMS_NOTE
     "\n"
     "\n"
     "     For this program kind the fraction also adjusts the\n"
     "     low-frequency tendon and riser loads; 0 removes the adjustment.\n"
     "     The fraction is taken as invariant with depth.",
     true, tendon_kind},
};

constexpr HelpText kCurrentTypeTexts[] = {
    {1, "     A steady current has no variation in time."},
    {2,
     "     A legacy point spectrum: a single spectral value at the surge\n"
     "     natural frequency, in speed^2/(rad/s) with the speed in ft/s or\n"
     "     m/s, on a one-sided frequency band.",
     true},
    {3,
     "     The simulation program reads the spectrum from the file\n"
     "     \"CRNTSPEC.txt\". Its first line holds the number of (frequency,\n"
     "     spectral value) pairs, at most 1000; then one pair per line,\n"
     "     separated by a comma or a tab. Frequencies are circular, in\n"
     "     rad/s, monotonic (ascending or descending); values are in\n"
     "     (ft/sec)^2/(radian/sec) or (m/sec)^2/(radian/sec). The file ends\n"
     "     with an empty line. Outside the range of the file the spectrum\n"
     "     is extrapolated linearly from the end values. Values given per\n"
     "     Hz must be divided by 2*pi.",
     true},
    {4,
     "     The band-limited white spectrum:\n"
     "          So = [(Vrms)^2]/(dW)\n"
     "     over a bandwidth dW of 0.02 Hz, with Vrms the RMS fraction of\n"
     "     item 7 times the mean current speed. Typical RMS fractions are\n"
     "     0.05 to 0.15. The spectrum is taken as invariant with depth.",
     true},
};

constexpr HelpText kProfileTexts[] = {
    {1,
     "     The profile gives the average current on the submerged hull and\n"
     "     the current loads on subsurface structures. The speed varies\n"
     "     linearly between the levels of the table. Depths are positive\n"
     "     and increase down the table. The surface point (depth 0) is\n"
     "     implicit and must not be entered. For mooring loads the last\n"
     "     row must be the full water depth with the bottom current, or a\n"
     "     level with zero current."},
};

constexpr HelpText kDepthTexts[] = {
    {1, KELP_POWER_LAW KELP_DRAFT_AVERAGE},
    {2, KELP_NO_VARIATION, true},
    {3, KELP_LEGACY_TABLE KELP_DRAFT_AVERAGE, true},
    {4,
     "     User-specified (CRNTPROF): the simulation program reads the\n"
     "     profile from the file \"CRNTPROF.txt\": its first line holds the\n"
     "     number of records, then one record per line with the depth, the\n"
     "     speed (knots) and the heading (degrees). The hull loads use its\n"
     "     speeds but keep the surface direction down to the draft.",
     true},
};

#undef KELP_POWER_LAW
#undef KELP_NO_VARIATION
#undef KELP_LEGACY_TABLE
#undef KELP_DRAFT_AVERAGE
#undef KELP_RMS_NOTE

constexpr HelpBook kCurrentHelp = book("                     ****  Current Definition Notes  ****", kCurrentTexts);
constexpr HelpBook kCurrentTypeHelp = book("                     ****  Current Spectrum Help  ****", kCurrentTypeTexts);
constexpr HelpBook kProfileHelp = book("                     ****  Current Profile Notes  ****", kProfileTexts);
constexpr HelpBook kDepthHelp = book("                     ****  Current Depth Variation Notes  ****", kDepthTexts);

}  // namespace

void wndhp1(Session& s, int item) { show_help(s, kWindHelp, item, item); }
void wndhp2(Session& s, int item) { show_help(s, kWindTypeHelp, item, item); }
void curhlp1(Session& s, int item) {
  show_help(s, kCurrentHelp, item, item == 7 && tendon_kind(s) ? 17 : item);
}
void curhlp2(Session& s, int item) { show_help(s, kCurrentTypeHelp, item, item); }
// One text, shown for any item.
void curhlp3(Session& s, int item) { show_help(s, kProfileHelp, item, 1); }
void curhlp4(Session& s, int item) { show_help(s, kDepthHelp, item, item); }

}  // namespace kelp
