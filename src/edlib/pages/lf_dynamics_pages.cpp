#include "edlib/pages/lf_dynamics_pages.hpp"

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "kelpkit/value_list.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// ---- Low-frequency dynamics selection ----

// The three low-frequency modes: the names on the status and value lines,
// the dots that line the value leaders up, and the two words of each.
struct DampingMode {
  std::string_view status_name;  // five characters
  std::string_view value_name;
  std::string_view dots;
  IntWord mode;
  RealWord value;
};
constexpr DampingMode kModes[] = {
    {"surge", "Surge", ".", kLfSurgeDampingMode, kLfSurgeDamping},
    {"sway ", "Sway", "..", kLfSwayDampingMode, kLfSwayDamping},
    {" yaw ", "Yaw", "...", kLfYawDampingMode, kLfYawDamping},
};
// Items 8 to 11 switch the dynamics like item 1 (their numbers are taken).
constexpr int kQuasckLastItem = 11;

constexpr std::string_view kQuasckHeader = "(T13,'****  Page ',A,': Low-frequency dynamics',' selection  ****'//)";
constexpr std::string_view kQuasckItem1 = "( 1X,' 1) Calculate low-frequency dynamics: .............' ,1X,A/)";
// Four data descriptors for three values: the line ends after the status.
constexpr std::string_view kStatusLine = "( 1X,I2,') Low-frequency ',A,' damping is ................',A,1X,A16)";
constexpr std::string_view kDampingLine = "( 1X,I2,') ',A,' damping (percent of critical) ..........' ,A,F10.2)";

void write_damping(Session& s, int out, int item, const DampingMode& m) {
  fwrite(s, out, kDampingLine, {item, std::string(m.value_name), std::string(m.dots), s.tpcm.r(m.value)});
}

// The mode of item 2, 4 or 6 (3, 5 or 7 for its value).
const DampingMode& mode_of_item(int item) { return kModes[static_cast<std::size_t>((item - 2) / 2)]; }

// Leaving with the dynamics on needs every user-specified damping above 0.
bool dampings_positive(Session& s) {
  const auto& t = s.tpcm;
  if (t.i(kLowFrequencyOn) == 0) return true;
  const bool bad = std::any_of(std::begin(kModes), std::end(kModes),
                               [&](const DampingMode& m) { return t.i(m.mode) != 0 && t.r(m.value) <= 0.0f; });
  if (!bad) return true;
  const int out = t.i(kOutputUnit);
  clear(s, out);
  lines(s, out, 1);
  s.write_line(out, " >>> User-specified damping must be positive definite.");
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
  return false;
}

// ---- Extension and regular waves ----

constexpr int kSalmKind = 11;
constexpr int kTugKind = 10;

std::string extension_name(const Session& s) { return s.tpcm.i(kProgramKind) == kSalmKind ? "Salm" : "Line"; }

int extension_variant(const Session& s) {
  const int kind = s.tpcm.i(kProgramKind);
  if (kind == kSalmKind) return 0;
  return kind == kTugKind ? 11 : 1;
}

constexpr int kSlopeLabel = 2;  // unitp: " degrees"
constexpr int kLengthCode = 7;  // unitp: " feet", its metric twin " meters"

// The periods the page lists and hands to the list editor: the stored count
// when it lies in 0..100, else 100.
int listed_periods(const Session& s) {
  const int n = s.tpcm.i(kWaveFrequencies);
  return n >= 0 && n <= kPeriodsMax ? n : kPeriodsMax;
}

std::string height_or_slope(const Session& s) { return s.tpcm.i(kConstantSlope) == 1 ? " slope " : " height"; }

void write_periods_count(Session& s, int out) {
  fwrite(s, out, "(1X,'1) Number of different periods (Max ',I3,'): ',I3)", {kPeriodsMax, s.tpcm.i(kWaveFrequencies)});
}

// Item 4: the wave height or slope, or the extension amplitude (which is
// always a length: word 107 goes back to height).
void write_amplitude(Session& s, int out) {
  auto& t = s.tpcm;
  if (t.i(kExtensionOn) == 0) {
    const std::string label =
        t.i(kConstantSlope) == 1 ? unitp(kUnitsEnglish, kSlopeLabel) : unitp(t.i(kUnitSystem), kLengthCode);
    fwrite(s, out, "(1X,'4) Wave',A7, ' .............................',F11.2,A16/)",
           {height_or_slope(s), t.r(kRegularHeight), label});
  } else {
    t.i(kConstantSlope) = 0;
    fwrite(s, out, "(1X,'4) ',A,' extension amplitude:',F11.2,A16/)",
           {extension_name(s), t.r(kRegularHeight), unitp(t.i(kUnitSystem), kLengthCode)});
  }
}

void write_heading(Session& s, int out) {
  fwrite(s, out, "(1X,'6) Wave heading ............................',F11.2,' degrees')", {s.tpcm.r(kRegularHeadings)});
}

bool shows_heading(const Session& s) {
  const auto& t = s.tpcm;
  return t.i(kExtensionOn) == 0 && t.i(kIrregularOn) == 0 && t.i(kSwellOn) == 0;
}

// The period list through the list editor: the periods the page lists, the
// count left as it is.
void edit_periods(Session& s, int out) {
  auto& t = s.tpcm;
  std::vector<float> periods(kPeriodsMax);
  for (std::size_t k = 0; k < periods.size(); ++k) periods[k] = t.r(RealWord{kPeriods + k});
  autorp(s, "  -- Table of periods (seconds) --", periods, listed_periods(s), kPeriodsMax, out, kKeyboard,
         t.i(kPrintPass));
  for (std::size_t k = 0; k < periods.size(); ++k) t.i(kPeriods + k) = std::bit_cast<std::int32_t>(periods[k]);
}

}  // namespace

void quasck(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  PageHooks page;
  page.help_for = HelpFor::kAnyNumber;
  page.draw = [&](PageItems& w) {
    const int out = w.out();
    if (t.i(kPrintPass) == 0) clear(s, out);
    fwrite(s, out, kQuasckHeader, {std::string(label)});
    w.custom();
    fwrite(s, out, kQuasckItem1, {yesno(t.i(kLowFrequencyOn))});
    const bool on = t.i(kLowFrequencyOn) != 0;
    for (const DampingMode& m : kModes) {
      // Hidden items are not locked: selecting one still edits it.
      if (on) {
        // The status is a 16-character text: the listing keeps its field.
        const std::string status = t.i(m.mode) != 0 ? "  User-specified" : "  Computed      ";
        fwrite(s, out, kStatusLine, {w.custom(), std::string(m.status_name), status});
      } else {
        w.hidden(true);
      }
      if (on && t.i(m.mode) != 0) {
        write_damping(s, out, w.custom(), m);
      } else {
        w.hidden(true);
      }
    }
    while (w.next() <= kQuasckLastItem) w.hidden(true);
  };
  page.edit = [&](int item) {
    const int out = t.i(kOutputUnit);
    if (item == 1 || item > 7) {
      toggle2(s, t.i(kLowFrequencyOn), t.i(kBatchFlag), out, kKeyboard);
      return;
    }
    const DampingMode& m = mode_of_item(item);
    if (item % 2 == 0) toggle3(s, t.i(m.mode), t.i(kBatchFlag), out, kKeyboard, "Specified", "Computed");
    if (t.i(m.mode) != 0) {
      write_damping(s, out, item % 2 == 0 ? item + 1 : item, m);
      edit_real(s, m.value, out);
    }
  };
  page.help = [&](int item) { quashp(s, item); };
  page.may_leave = [&] { return dampings_positive(s); };
  run_page(s, page);
}

void extend(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  PageHooks page;
  page.help_for = HelpFor::kAnyNumber;
  page.above_last = AboveLast::kLeave;
  page.draw = [&](PageItems& w) {
    const int out = w.out();
    if (t.i(kPrintPass) == 0) clear(s, out);
    fwrite(s, out, "(T3,'****  Page ',A,': ',A,' Extension ','/ Regular wave characteristics  ****'//)",
           {std::string(label), extension_name(s)});
    if (t.i(kExtensionOn) == 1) {
      w.custom();
      fwrite(s, out, "(1X,'1) ',A,' extension characteristics follow')", {extension_name(s)});
    } else if (t.i(kExtensionOn) == 0) {
      w.custom();
      fwrite(s, out, "(1X,'1) Regular wave characteristics follow')");
    } else {
      w.hidden(true);
    }
  };
  page.edit = [&](int) {
    toggle3(s, t.i(kExtensionOn), t.i(kBatchFlag), t.i(kOutputUnit), kKeyboard, "Extension", "Wave");
  };
  page.help = [&](int item) { exthlp(s, item, extension_variant(s)); };
  run_page(s, page);
}

void morreg(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  PageHooks page;
  page.help_for = HelpFor::kAnyNumber;
  page.above_last = AboveLast::kLeave;
  page.draw = [&](PageItems& w) {
    const int out = w.out();
    if (t.i(kPrintPass) == 0) clear(s, out);
    if (t.i(kExtensionOn) != 0) {
      fwrite(s, out, "(T13,'****  Page ',A,': ',A,' Extension ','Characteristics  ****'//)",
             {std::string(label), extension_name(s)});
    } else {
      fwrite(s, out, "(T14,'****  Page ',A,': Regular Wave Characteristics  ****'//)", {std::string(label)});
    }
    w.custom();
    write_periods_count(s, out);
    // Item 2 opens the list editor even while no period is listed.
    if (t.i(kWaveFrequencies) != 0) {
      w.custom();
      fwrite(s, out, "(1X,'2) Periods (seconds) --')");
      std::vector<fmt::Item> periods;
      for (int k = 0; k < listed_periods(s); ++k) periods.emplace_back(t.r(RealWord{kPeriods + static_cast<std::size_t>(k)}));
      fwrite(s, out, "(1X,6F13.2)", periods);
      lines(s, out, 1);
    } else {
      w.hidden(true);
    }
    if (t.i(kExtensionOn) != 1) {
      w.custom();
      fwrite(s, out, "(' 3) Use constant wave height or wave slope: ',A7)", {height_or_slope(s)});
    } else {
      w.hidden(true);
    }
    w.custom();
    write_amplitude(s, out);
    w.hidden(true);  // item 5: no item
    if (shows_heading(s)) {
      w.custom();
      write_heading(s, out);
    } else {
      w.hidden(true);
    }
  };
  page.edit = [&](int item) {
    const int out = t.i(kOutputUnit);
    switch (item) {
      case 1:
        write_periods_count(s, out);
        enteri(s, t.i(kWaveFrequencies), out, kKeyboard);
        maxchk(t.i(kWaveFrequencies), kPeriodsMax);
        break;
      case 2: edit_periods(s, out); break;
      case 3: toggle3(s, t.i(kConstantSlope), t.i(kBatchFlag), out, kKeyboard, "Slope", "Height"); break;
      case 4:
        write_amplitude(s, out);
        edit_real(s, kRegularHeight, out);
        break;
      case 6:
        if (t.i(kExtensionOn) == 0 && t.i(kIrregularOn) != 1 && t.i(kSwellOn) == 0) {
          write_heading(s, out);
          edit_real(s, kRegularHeadings, out);
        }
        break;
      default: break;
    }
  };
  page.help = [&](int item) { reghlp_extension(s, item); };
  run_page(s, page);
}

}  // namespace kelp
