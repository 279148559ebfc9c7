// Help of the sea-state pages: the regular-wave notes (reghlp), the random-
// wave notes of the irregular-seas and swell items (ranhp1) and the notes of
// the spectrum types (ranhp2).
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pages/sea_pages.hpp"

namespace kelp {

namespace {

// ---- Regular waves ----

constexpr std::string_view kPeriodGridText =
    "     The period array serves two purposes: the response amplitude\n"
    "     operators (RAOs) are computed at each of these periods, and the\n"
    "     same periods are the frequency grid of the spectral integrations\n"
    "     for random seas. The array should span all periods at which the\n"
    "     waves or the swell carry substantial energy.\n"
    "\n"
    "     The wave periods MUST be equally spaced whenever irregular-wave\n"
    "     computations are done. The \"Auto repeat\" feature of the table\n"
    "     assures equal spacing.";

constexpr std::string_view kRaoText =
    "     RAOs are computed at each period with either a uniform wave\n"
    "     height or a uniform wave slope. The recommended choice is a\n"
    "     constant height of SWH/SQRT[2], or the slope of the wave whose\n"
    "     height at the spectral peak period Tp is SWH/SQRT[2], where SWH\n"
    "     is the significant wave height. When one run holds several\n"
    "     spectra, the spectrum of greatest engineering interest decides.";

constexpr std::string_view kMooringExtensionText =
    "\n"
    "     The amplitude of a \"mooring extension\" must be given here as\n"
    "     well: the wave height (or slope) of this page is the amplitude\n"
    "     the mooring analysis uses.";

constexpr std::string_view kAngleText =
    "     Angle convention: a right-handed, earth-fixed coordinate system\n"
    "     with z up. Angles are measured from the positive x axis and are\n"
    "     positive counter-clockwise. The heading is the direction TOWARDS\n"
    "     which the waves travel: waves of 180 degrees travel towards\n"
    "     negative x, waves of 90 degrees towards positive y. At zero\n"
    "     vessel heading the global and the vessel coordinate systems\n"
    "     coincide.\n"
    "\n"
    "                          y (90 deg)\n"
    "                          ^\n"
    "                          |\n"
    "            180 deg  <----+---->  x (0 deg)\n"
    "                          |\n"
    "                          v\n"
    "                       270 deg";

// The books of the sea-state notes: the title from column 19, the item
// number in two columns, one no-help text.
constexpr HelpBook notes_book(std::string_view title) {
  return {.title = title,
          .item_heading = " ++> Item Number  ",
          .number_width = 2,
          .no_help = "\n ++> Sorry, no help for this line...\n",
          .numbered_page_help = true};
}

const HelpBook kRegularBook = notes_book("                  ****  Regular Wave Definition Notes  ****");

// ---- Random waves ----

constexpr std::string_view kCategoriesText =
    "     The built-in wave spectra fall into seven general categories:\n"
    "\n"
    "       1) the Brenvik default swell spectrum, a Gaussian function;\n"
    "       2) the Pierson-Moskowitz spectrum of a fully developed sea;\n"
    "       3) the JONSWAP family: Mean, Sharp, Squat and General JONSWAP;\n"
    "       4) the Bretschneider spectrum;\n"
    "       5) user-supplied spectra: the \"WAVSPEC.txt\" input file and\n"
    "          the legacy custom spectrum;\n"
    "       6) the Ochi-Hubble spectrum of several components;\n"
    "       7) the TMA shallow-water spectrum.\n"
    "\n"
    "     Ask for help (\"?n\") on the list of types for the notes of each.";

constexpr std::string_view kSwellHeadingText =
    "     The swell heading is given either in global coordinates or\n"
    "     locked to the irregular waves. When it is locked, the swell\n"
    "     heading is taken relative to the heading of the irregular waves,\n"
    "     so that swell and waves keep their relative direction whenever\n"
    "     the wave heading changes.";

constexpr std::string_view kHeadingConventionText =
    "     Angle convention: a right-handed, earth-fixed coordinate system\n"
    "     with z up; angles from the positive x axis, positive counter-\n"
    "     clockwise. The heading is the direction TOWARDS which the waves\n"
    "     travel: 180 degrees travels towards negative x, 90 degrees\n"
    "     towards positive y.";

constexpr std::string_view kOchiComponentsText =
    "     The Ochi-Hubble spectrum is the sum of up to four components.\n"
    "     Each component is given by its own significant height, its modal\n"
    "     (peak) period and a shape parameter lambda, which sets the\n"
    "     sharpness of its peak: lambda = 1 gives the Pierson-Moskowitz\n"
    "     shape, larger values a narrower peak. Two components, one for the\n"
    "     swell and one for the wind sea, describe most sea states.";

constexpr std::string_view kBandwidthText =
    "     The spectral bandwidth parameter is the dimensionless width of\n"
    "     the default (Gaussian) swell spectrum: the standard deviation of\n"
    "     the frequency about the peak frequency, divided by the peak\n"
    "     frequency. It must be greater than zero; small values give a\n"
    "     narrow spectrum.";

constexpr std::string_view kGeneralJonswapText =
    "     The \"General\" JONSWAP and the TMA spectra take their shape from\n"
    "     three parameters:\n"
    "          Gamma    the peak enhancement factor (3.3 for the Mean\n"
    "                   JONSWAP spectrum); it must be greater than zero;\n"
    "          Sigma a  the width of the peak below the peak frequency;\n"
    "          Sigma b  the width of the peak above the peak frequency.\n"
    "     The TMA spectrum is the JONSWAP spectrum corrected for the site\n"
    "     water depth; it keeps the energy of its JONSWAP parent.";

constexpr std::string_view kSigmaText =
    "     Sigma a and Sigma b set the width of the peak enhancement below\n"
    "     and above the peak frequency wp:\n"
    "          S(w) = Alpha g^2 w^-5 exp[-1.25 (wp/w)^4] Gamma^r\n"
    "          r    = exp[-(w - wp)^2 / (2 Sigma^2 wp^2)]\n"
    "     with Sigma = Sigma a for w <= wp and Sigma b for w > wp. The Mean\n"
    "     JONSWAP values are Sigma a = 0.07 and Sigma b = 0.09.";

constexpr std::string_view kAlphaText =
    "     \"Alpha\" is the scale factor of the JONSWAP definition:\n"
    "          S(w) = Alpha g^2 w^-5 exp[-1.25 (wp/w)^4] Gamma^r\n"
    "     This item computes Alpha for a significant height and a peak\n"
    "     period that you enter, with the Gamma, Sigma a and Sigma b of\n"
    "     this page. Nothing is stored: the spectrum is always scaled to\n"
    "     the significant height of the sea state.";

constexpr std::string_view kLongCrestedText =
    "     The long-crested model puts all the wave energy in the direction\n"
    "     of the wave heading. Azimuthal spreading distributes the energy\n"
    "     over a sector of directions about the heading (items 21 to 23).";

constexpr std::string_view kSpreadIndexText =
    "     The wave spreading index is the power p of the spreading function\n"
    "          Sd(w,A) = S(w) K [cos(pi A/Ac)]^p   for -Ac/2 < A < +Ac/2\n"
    "          Sd(w,A) = 0                          otherwise\n"
    "     where A is the angle from the wave heading, Ac the sector size\n"
    "     and K the factor that keeps the total wave energy.";

constexpr std::string_view kSectorText =
    "     The sector size Ac is the width of the sector of directions that\n"
    "     contains the wave energy. It must be positive; it is otherwise\n"
    "     unrestricted.";

constexpr std::string_view kSectorNote =
    "\n"
    "     Ac = 180 degrees is the usual choice; values above 360 degrees are\n"
    "     allowed.";

constexpr std::string_view kWedgesText =
    "     The spread sea is divided into angular wedges of equal width.\n"
    "     The number of wedges must be even; the page rounds an odd entry\n"
    "     down to the even number below it.";

const HelpBook kRandomBook = notes_book("                  ****  Random Wave Definition Notes  ****");

// ---- Spectrum types ----

constexpr std::string_view kUserFileText =
    "     The spectrum is read from the text file \"WAVSPEC.txt\" in the\n"
    "     working directory. Its first line holds the number of points N\n"
    "     (2 to 1000); each of the next N lines holds one circular\n"
    "     frequency (rad/s) and the spectral density there (ft^2-s or\n"
    "     m^2-s per radian). The frequencies must rise or fall steadily.\n"
    "     Densities between the points are interpolated linearly; outside\n"
    "     the range of the file they are extrapolated after a warning.";

constexpr HelpText kSpectrumTexts[] = {
    {1,
     "     The default Brenvik swell spectrum: a Gaussian function of the\n"
     "     wave period about the peak period, as wide as the spectral\n"
     "     bandwidth parameter says. It suits narrow-banded swell."},
    {2,
     "     The Pierson-Moskowitz spectrum of a fully developed sea. Only the\n"
     "     significant height is used; the peak period follows from it:\n"
     "          Tp = 15.66 SQRT(Hs/g)",
     true},
    {3,
     "     The JONSWAP spectra of a developing sea, shaped by the peak\n"
     "     enhancement factor Gamma and the widths Sigma a and Sigma b below\n"
     "     and above the peak:\n"
     "          Mean JONSWAP      Gamma 3.3, Sigma a 0.07, Sigma b 0.09\n"
     "          Sharp JONSWAP     Gamma 4.2, Sigma a 0.05, Sigma b 0.07\n"
     "          Squat JONSWAP     Gamma 7.0, Sigma a 0.68, Sigma b 0.123\n"
     "          General JONSWAP   Gamma, Sigma a and Sigma b as entered\n"
     "     Each is scaled to the significant height entered.",
     true, nullptr, " ++> Item Numbers 3 -> 6"},
    {7,
     "     The Bretschneider spectrum: the Pierson-Moskowitz form with two\n"
     "     parameters, the significant height and the peak period.",
     true},
    {8, kUserFileText, true},
    {108,
     "     Normalising user spectra: the densities of \"WAVSPEC.txt\" are\n"
     "     used as they stand, and the significant height and the peak\n"
     "     period of the sea state follow from them (Hs = 4 SQRT(m0)). To\n"
     "     simulate another significant height, scale the densities by the\n"
     "     square of (wanted Hs)/(Hs of the file) before the run. The file\n"
     "     is not converted when the units of the data file are switched.",
     true, nullptr, " ++> Normalising user-supplied spectra"},
    {9,
     "     The legacy custom spectrum: one spectral density for each regular\n"
     "     wave period, entered in a table when this type is chosen. The\n"
     "     significant height and the peak period follow from the densities.",
     true},
    {10,
     "     The Ochi-Hubble spectrum: the sum of up to four components, each\n"
     "     with its own significant height, modal period and shape parameter\n"
     "     lambda. It describes seas that hold both swell and wind sea. It\n"
     "     cannot be used for swell.",
     true},
    {11,
     "     The TMA shallow-water spectrum: the General JONSWAP spectrum\n"
     "     times the depth factor of the site water depth, scaled back to\n"
     "     the energy of its JONSWAP parent.",
     true},
};

constexpr int kUserFileItem = 8;
constexpr int kNormalisingKey = 108;

HelpBook spectrum_book() {
  HelpBook book = kRandomBook;
  book.texts = kSpectrumTexts;
  return book;
}
const HelpBook kSpectrumBook = spectrum_book();

// Shows notes as one help: each after its heading, each note that opens a
// new screen after a wait and a clear.
void show_notes(Session& s, const HelpBook& book, std::span<const HelpText> notes) {
  HelpBook shown = book;
  shown.texts = notes;
  show_help(s, shown, 0, 0);
}

// Texts one after the other, each on lines of its own.
std::string joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view p : parts) text.append(text.empty() ? "" : "\n").append(p);
  return text;
}

bool jonswap_code(int code) { return code == kGeneralJonswap || code == kTmaSpectrum; }

}  // namespace

void reghlp(Session& s, int item, int flag) {
  const std::string rao = flag == kRegularHelpMooring ? joined({kRaoText, kMooringExtensionText}) : std::string(kRaoText);
  const HelpText notes[] = {
      {2, kPeriodGridText},
      {3, rao, true, nullptr, " ++> Item Numbers 3 -> 4"},
      {6, kAngleText, true},
  };
  HelpBook book = kRegularBook;
  book.texts = notes;
  show_help(s, book, item, item == 4 ? 3 : item);
}

void ranhp1(Session& s, int item, int kind, int swell, int code) {
  const bool swell_heading = kind <= 9 && swell == 1;
  const bool spreading = swell != 1;
  const std::string index = joined({kSpreadIndexText, kSectorNote});
  const std::string sector = joined({kSectorText, kSectorNote});

  // The note of each item under the page's conditions (empty: none).
  const auto note = [&](int n) -> std::string_view {
    switch (n) {
      case 2: return kCategoriesText;
      case 3: return swell_heading ? kSwellHeadingText : std::string_view();
      case 4: return kHeadingConventionText;
      case 5:
      case 6:
      case 7: return code == kOchiHubble ? kOchiComponentsText : std::string_view();
      case 8:
        if (code == kSwellSpectrum) return kBandwidthText;
        if (jonswap_code(code)) return kGeneralJonswapText;
        return code == kOchiHubble ? kOchiComponentsText : std::string_view();
      case 9:
      case 10: return jonswap_code(code) ? kSigmaText : std::string_view();
      case 11: return jonswap_code(code) ? kAlphaText : std::string_view();
      case 20: return spreading ? kLongCrestedText : std::string_view();
      case 21: return spreading ? std::string_view(index) : std::string_view();
      case 22: return spreading ? std::string_view(sector) : std::string_view();
      case 23: return spreading ? kWedgesText : std::string_view();
      default: return {};
    }
  };

  if (item != 0) {
    std::vector<HelpText> one;
    if (!note(item).empty()) one.push_back({item, note(item)});
    HelpBook book = kRandomBook;
    book.texts = one;
    show_help(s, book, item, item);
    return;
  }
  // Page help: the notes the page has, one screen each; the JONSWAP items
  // 8 to 10 share one note.
  std::vector<HelpText> notes;
  for (const int n : {2, 3, 4, 8, 11, 20, 21, 22, 23}) {
    const std::string_view text = note(n);
    if (text.empty()) continue;
    HelpText t = {n, text, !notes.empty()};
    if (n == 8 && jonswap_code(code)) t.heading = " ++> Item Numbers 8-10";
    notes.push_back(t);
  }
  show_notes(s, kRandomBook, notes);
}

void ranhp2(Session& s, int item) {
  if (item == kUserFileItem) {
    // The user file's note goes on to a second screen.
    HelpText first = *kSpectrumBook.find(kUserFileItem);
    first.new_screen = false;
    const HelpText notes[] = {first, *kSpectrumBook.find(kNormalisingKey)};
    show_notes(s, kSpectrumBook, notes);
    return;
  }
  const bool jonswap = item >= 4 && item <= 6;
  show_help(s, kSpectrumBook, item, jonswap ? 3 : item == kNormalisingKey ? 0 : item);
}

}  // namespace kelp
