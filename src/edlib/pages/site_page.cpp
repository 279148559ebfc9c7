#include "edlib/pages/site_page.hpp"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/record/data_record.hpp"
#include "edlib/record/unit_conversion.hpp"
#include "kelpkit/nohelp.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// The page shows and edits the first 72 characters of each identification
// line; the last two words of each line are kept as they are.
constexpr std::size_t kIdentShownChars = 72;

constexpr float kSeawater = 64.0f;    // lbs per cubic foot
constexpr float kFreshwater = 62.44f;

// unitp codes (plus word 116).
constexpr int kLengthLabel = 7;
constexpr int kDensityLabel = 11;

// Names of the unit systems as targets of a conversion (7 characters).
constexpr std::array<std::string_view, 2> kEngmet = {"English", "metric "};

constexpr std::string_view kNoLineHelp = " ++> Sorry, no help for this line...";

bool valid_units(int u) { return u == kUnitsEnglish || u == kUnitsMetric; }

std::size_t ident_word(int line) { return line == 1 ? kIdentLine1 : kIdentLine2; }

void write_ident(Session& s, int out, int line) {
  fwrite(s, out, "(1X,I1,') [',A,A)",
         {line, s.tpcm.text(ident_word(line), kIdentShownChars), std::string("]")});
}

void write_depth(Session& s, int out) {
  fwrite(s, out, "(' 4) Site water depth: ',5X,F10.2,A)",
         {s.tpcm.r(kWaterDepth), unitp(s.tpcm.i(kUnitSystem), kLengthLabel)});
}

void write_density(Session& s, int out) {
  fwrite(s, out, "(' 5) Water density: ',8X,F10.2,A)",
         {s.tpcm.r(kWaterDensity), unitp(s.tpcm.i(kUnitSystem), kDensityLabel)});
}

void edit_ident(Session& s, int out, int line) {
  write_ident(s, out, line);
  wrtlin(s, line == 1 ? "1) :" : "2) :", out);
  std::string reply = s.read_line(kKeyboard);
  reply.resize(kIdentShownChars, ' ');
  if (reply.find_first_not_of(' ') == std::string::npos) return;  // all blank: keep the line
  s.tpcm.set_text(ident_word(line), kIdentShownChars, reply);
}

// The warning before a conversion of the whole record, and its help note.
constexpr std::string_view kConversionWarning =
    " This option should be exercised with care.\n"
    "\n"
    " 1) Round-off: a data file converted to the other units and back\n"
    "    again is not bit-for-bit identical to the original file.\n"
    " 2) Conversions between the different kinds of data set are best\n"
    "    done in the originating editor. For example, to convert a\n"
    "    TETHRAN (English) file to HULVANE (metric), convert it in\n"
    "    Tethran and then give the converted \"TETHDAT\" file to Hulvane.\n"
    " 3) User-supplied dimensional files, such as \"WINDSPEC.txt\" and\n"
    "    \"CRNTSPEC.txt\", are not converted: convert them by hand.";

// ---- Help books ----
// Site notes: items 1 to 3 show the units note (key 3), item 5 the density
// note; page help shows both under their item numbers.
constexpr HelpText kSiteTexts[] = {
    {3,
     "     The \"Units of measure\" item selects English units (feet, inches,\n"
     "     kips) or metric units (meters, millimeters, metric tons) for the\n"
     "     whole data file. The metric unit of force is the metric ton, not\n"
     "     the kiloNewton. Selecting the item leads to a sub-page of\n"
     "     conversion options. Speed units are always knots.",
     false, nullptr, " ++> Item Number  3"},
    {5,
     "     Changing the water density changes nothing else in the data file:\n"
     "     drafts and weights in water are not adjusted. Such adjustments are\n"
     "     left to the user.",
     false, nullptr, " ++> Item Number  5"},
};
constexpr HelpBook kSiteHelp = {.title = "                     ****  Site Definition Notes  ****",
                                .item_heading = " ++> Item Number  ",
                                .number_width = 2,
                                .no_help = kNoLineHelp,
                                .texts = kSiteTexts};

constexpr HelpText kConversionTexts[] = {
    {1,
     "     Option 1 changes only the displayed units (and the value of the\n"
     "     water density); no other value is converted. It is of use mainly\n"
     "     when a data file is first created. Choosing it twice restores the\n"
     "     original file.",
     false, nullptr, " ++> Item Number  1"},
    {2, kConversionWarning, false, nullptr, " ++> Item Number  2"},
};
constexpr HelpBook kConversionHelp = {.title = "                     ****  Units Conversion Notes  ****",
                                      .item_heading = " ++> Item Number  ",
                                      .number_width = 2,
                                      .no_help = "\n ++> Sorry, no help for this line...",
                                      .heading_on_no_help = false,
                                      .texts = kConversionTexts};

// Item 3 with a unit word that is neither English nor metric: no factor can
// be chosen, so nothing is switched or converted.
void refuse_units(Session& s, int out) {
  clear(s, out);
  help_lines(s, out,
             {"", " ++> The units of measure code of this data file is neither English",
              "     nor metric; the file may be damaged. The units cannot be",
              "     switched or converted."});
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
}

void convert_all(Session& s, int out) {
  auto& t = s.tpcm;
  clear(s, out);
  help_lines(s, out, {"", "      >>> Warning <<<", ""});
  write_text(s, out, kConversionWarning);
  if (t.i(kCurrentSpectrum) == 2 || t.i(kWindSpectrum) == 6) {
    help_lines(s, out,
               {"", " >>> NOTE: This data set uses a user-supplied spectrum file",
                "           (\"WINDSPEC.txt\" or \"CRNTSPEC.txt\"). Such files must",
                "           be converted separately by the user."});
  }
  lines(s, out, 1);
  abort0(s, out, kKeyboard, t.i(kNavCode));
  if (t.i(kNavCode) == -1) return;
  const int status = convert_record_units(s);
  if (status == kConvertBadUnitWord) refuse_units(s, out);
  if (status == kConvertOverflow) {
    help_lines(s, out,
               {"", " ++> A value of this data file would be out of range in the other",
                "     units. Nothing was converted."});
    int reply = 0;
    prsret(s, out, kKeyboard, reply);
  }
}

void units_subpage(Session& s, int out) {
  auto& t = s.tpcm;
  const int u = t.i(kUnitSystem);
  if (!valid_units(u)) {
    refuse_units(s, out);
    return;
  }
  const std::string target(kEngmet[static_cast<std::size_t>(1 - u)]);
  const int reply = choose(
      s, out,
      [&] {
        clear(s, out);
        s.write_line(out, "      >>> Units Conversion Options <<<");
        lines(s, out, 1);
        s.write_line(out, " 1) Convert only water density and unit labels to " + target + " units");
        s.write_line(out, " 2) Convert ALL data values and units labels to " + target + " units");
      },
      [&](int item) { cnvhlp(s, out, kKeyboard, item); });
  if (reply == 1) {
    // The labels switch only when the density converted: a density that
    // would overflow is refused and both stay as they were.
    const float rho = t.r(kWaterDensity);
    if (store_real(s, kWaterDensity, u == kUnitsEnglish ? kDensityFactor * rho : rho / kDensityFactor, out)) {
      toggle(s, t.i(kUnitSystem));
    }
  } else if (reply == 2) {
    convert_all(s, out);
  }
}

void density_subpage(Session& s, int out) {
  auto& t = s.tpcm;
  const int reply = choose(
      s, out,
      [&] {
        if (t.i(kPrintPass) == 0) clear(s, out);
        write_text(s, out, " -- Water density --\n\n 1) Seawater\n 2) Freshwater");
        s.write_line(out, " 3) User-specified fluid density in" + unitp(t.i(kUnitSystem), kDensityLabel));
      },
      [&](int) {
        int wait = 0;
        nohelp(s, out, kKeyboard, wait);
      });
  if (reply == 1 || reply == 2) {
    float rho = reply == 1 ? kSeawater : kFreshwater;
    if (t.i(kUnitSystem) == kUnitsMetric) rho *= kDensityFactor;
    store_real(s, kWaterDensity, rho, out);
  } else if (reply == 3) {
    write_density(s, out);
    edit_real(s, kWaterDensity, out);
  }
}

}  // namespace

void static_page(Session& s) {
  auto& t = s.tpcm;
  PageHooks page;
  page.help_for = HelpFor::kAnyNumber;
  page.above_last = AboveLast::kLeave;
  page.draw = [&](PageItems& w) {
    const int out = w.out();
    if (t.i(kPrintPass) == 0) clear(s, out);
    fwrite(s, out, "(T20,' ****  Page 1: Site conditions  ****'///)");
    s.write_line(out, "     Two-line Identification for this simulation:");
    lines(s, out, 1);
    write_ident(s, out, w.custom());
    write_ident(s, out, w.custom());
    lines(s, out, 1);
    w.custom();
    if (t.i(kUnitSystem) == kUnitsEnglish) {
      s.write_line(out, " 3) Units of measure: English");
      lines(s, out, 1);
    } else if (t.i(kUnitSystem) == kUnitsMetric) {
      s.write_line(out, " 3) Units of measure: Metric");
      lines(s, out, 1);
    }
    w.custom();
    write_depth(s, out);
    w.custom();
    write_density(s, out);
  };
  page.edit = [&](int item) {
    const int out = t.i(kOutputUnit);
    switch (item) {
      case 1:
      case 2: edit_ident(s, out, item); break;
      case 3: units_subpage(s, out); break;
      case 4:
        write_depth(s, out);
        edit_real(s, kWaterDepth, out);
        break;
      case 5: density_subpage(s, out); break;
      default: break;
    }
  };
  page.help = [&](int item) { stathlp(s, t.i(kOutputUnit), kKeyboard, item); };
  run_page(s, page);
}

void stathlp(Session& s, int /*out*/, int /*in*/, int item) {
  const int key = item >= 1 && item <= 3 ? 3 : (item == 5 ? 5 : 0);
  show_help(s, kSiteHelp, item, key);
}

void cnvhlp(Session& s, int /*out*/, int /*in*/, int item) { show_help(s, kConversionHelp, item, item); }

}  // namespace kelp
