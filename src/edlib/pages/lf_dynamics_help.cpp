// Help of the low-frequency dynamics selection page (quashp), of the
// extension page (exthlp) and the regular-wave notes of the mooring
// editor's regular-wave page (reghlp_extension).
#include <string>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pages/lf_dynamics_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/report_lines.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr std::string_view kSorryLine = " ++> Sorry, no help for this line...";

// ---- Low-frequency dynamics selection ----

constexpr HelpText kQuasckTexts[] = {
    {1,
     "     When this item is \"No\", neither the low-frequency nor the\n"
     "     wave-frequency dynamics are computed: the simulation produces\n"
     "     the static results only (mean offsets, mean line loads).",
     false, nullptr, " ++> Item Number  1"},
    {2,
     "     Computed damping includes the nonlinear and the environment-\n"
     "     dependent contributions (wind, current, wave drift and the drag\n"
     "     of the mooring lines), so it changes with the environment.\n"
     "\n"
     "     User-specified damping is a linear damping coefficient, given in\n"
     "     percent of critical damping; it stays the same whatever the\n"
     "     environment.",
     false, nullptr, " ++> Item Numbers 2+"},
};

const HelpBook kQuasckHelp = {
    .title = "                 ****  Low-Frequency Dynamics Notes  ****",
    .item_heading = " ++> Item Number  ",
    .number_width = 2,
    .no_help = "\n ++> Sorry, no help for this line...",
    .texts = kQuasckTexts,
};

// ---- Extension ----

constexpr std::string_view kExtensionToggleText =
    "     This page chooses the driving mechanism of the wave-frequency\n"
    "     motion: an imposed extension or regular waves. The amplitude and\n"
    "     the periods of either are given on the next page.";

constexpr std::string_view kLineExtensionText =
    "     A line extension is a motion of fixed amplitude, independent of\n"
    "     frequency, imposed at the fairlead tangentially to the line. It\n"
    "     stands for the wave-frequency motion of the %s at the top of\n"
    "     the line, without computing that motion.";

constexpr std::string_view kLineWaveText =
    "     With regular waves, the wave forces act on the %s and\n"
    "     produce motions that depend on the wave frequency; the line loads\n"
    "     follow from those motions.";

constexpr std::string_view kSalmExtensionText =
    "     A SALM extension is a lateral motion of fixed amplitude, imposed\n"
    "     on the single-anchor-leg mooring at each period given on the\n"
    "     regular-wave page.";

constexpr std::string_view kSalmWaveText =
    "     With regular waves, all wave-frequency effects on the single-\n"
    "     anchor-leg mooring come from the regular waves of the\n"
    "     regular-wave page.";

// A note with the noun of the moored body in place of "%s".
std::string with_noun(std::string_view text, std::string_view noun) {
  std::string out(text);
  const auto at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, noun);
  return out;
}

// ---- Regular waves, the mooring editor's form ----

constexpr std::string_view kPeriodsText =
    "     The periods serve two purposes: the response amplitude operators\n"
    "     (RAOs) are computed at each of them, and they are the frequency\n"
    "     grid of the spectral integrations for random seas. They should\n"
    "     span every period at which the waves or the swell carry\n"
    "     substantial energy.\n"
    "\n"
    "     The wave periods MUST be equally spaced whenever irregular-wave\n"
    "     computations are done. The \"Auto repeat\" feature of the table\n"
    "     assures equal spacing.";

constexpr std::string_view kHeightText =
    "     RAOs are computed at each period with either a uniform wave\n"
    "     height or a uniform wave slope. A constant height of SWH/SQRT[2]\n"
    "     is recommended, or the slope of the wave whose height at the\n"
    "     spectral peak period Tp is SWH/SQRT[2] (SWH: significant wave\n"
    "     height). When one run holds several spectra, the spectrum of\n"
    "     greatest engineering interest decides.\n"
    "\n"
    "     The amplitude of a \"mooring extension\" must be given here too:\n"
    "     the value of item 4 is the amplitude the mooring analysis uses.";

constexpr std::string_view kHeadingText =
    "     Angle convention: a right-handed, earth-fixed coordinate system\n"
    "     with z up; angles are measured from the positive x axis, positive\n"
    "     counter-clockwise. The heading is the direction TOWARDS which the\n"
    "     waves travel: 180 degrees travels towards negative x, 90 degrees\n"
    "     towards positive y. At zero vessel heading the global and the\n"
    "     vessel coordinate systems coincide.\n"
    "\n"
    "                          y (90 deg)\n"
    "                          ^\n"
    "                          |\n"
    "            180 deg  <----+---->  x (0 deg)\n"
    "                          |\n"
    "                          v\n"
    "                       270 deg";

constexpr HelpText kRegularTexts[] = {
    {2, kPeriodsText},
    {3, kHeightText, true, nullptr, " ++> Item Numbers 3 -> 4"},
    {6, kHeadingText, true},
};

const HelpBook kRegularHelp = {
    .title = "                  ****  Regular Wave Definition Notes  ****",
    .item_heading = " ++> Item Number  ",
    .number_width = 2,
    .no_help = "\n ++> Sorry, no help for this line...",
    .heading_on_no_help = false,
    .numbered_page_help = true,
    .texts = kRegularTexts,
};

}  // namespace

void quashp(Session& s, int item) {
  const int key = item <= 1 ? 1 : (item <= 11 ? 2 : 0);
  show_help(s, kQuasckHelp, item, key);
}

void exthlp(Session& s, int item, int variant) {
  const int out = s.tpcm.i(kOutputUnit);
  const std::string name = variant == 0 ? "Salm" : "Line";
  clear(s, out);
  fwrite(s, out, "(T19,'****  ',A,' Extension Help  ****')", {name});
  if (item != 0 && item != 1) {
    lines(s, out, 1);
    s.write_line(out, kSorryLine);
    lines(s, out, 1);
    return;
  }
  fwrite(s, out, "(/' ++> Item Number  ',A)", {std::string("1")});
  write_text(s, out, kExtensionToggleText);
  help_pause(s, out, kKeyboard);
  fwrite(s, out, "(T14,'****  ',A,' Extension Help (continued)  ****')", {name});
  const std::string noun = variant == 11 ? "tugboat" : "vessel";
  const std::string notes[] = {
      variant == 0 ? std::string(kSalmExtensionText) : with_noun(kLineExtensionText, noun),
      variant == 0 ? std::string(kSalmWaveText) : with_noun(kLineWaveText, noun),
  };
  for (const std::string& note : notes) {
    lines(s, out, 1);
    write_text(s, out, note);
    help_pause(s, out, kKeyboard);
  }
}

void reghlp_extension(Session& s, int item) { show_help(s, kRegularHelp, item, item == 4 ? 3 : item); }

}  // namespace kelp
