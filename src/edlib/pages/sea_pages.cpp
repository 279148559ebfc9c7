#include "edlib/pages/sea_pages.hpp"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/spectrum_names.hpp"
#include "kelpkit/toggles.hpp"
#include "kelpkit/value_list.hpp"
#include "kelpkit/wave_formulas.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }
int kind_of(const Session& s) { return s.tpcm.i(kProgramKind); }
bool always(const Session&) { return true; }

// A line of the page's own layout, written again before its value is read.
using LineWriter = void (*)(Session&, int out);

// A custom row's drawing: the next item number and the line.
template <LineWriter line>
void drawn(Session& s, PageItems& w) {
  w.custom();
  line(s, w.out());
}

// Writes the line of a count again, reads the count and holds it to
// 0..limit; with at_least_one a count of 0 becomes 1.
void edit_count(Session& s, LineWriter line, IntWord count, int limit, bool at_least_one = false) {
  const int out = out_of(s);
  auto& n = s.tpcm.i(count);
  line(s, out);
  enteri(s, n, out, kKeyboard);
  maxchk(n, limit);
  if (at_least_one && n == 0) n = 1;
}

// Writes the line of a real again and reads it. A value typed that fails
// `valid` is not stored and the line is asked again; a blank reply keeps
// the word.
void edit_checked(Session& s, LineWriter line, RealWord word, bool (*valid)(float)) {
  const int out = out_of(s);
  for (;;) {
    line(s, out);
    float value = s.tpcm.r(word);
    int blank = 0;
    wrtlin(s, "Enter new value: ", out);
    crread(s, value, blank, kKeyboard);
    if (blank != 0) return;
    if (valid(value)) {
      store_real(s, word, value, out);
      return;
    }
  }
}

bool not_negative(float v) { return v >= 0.0f; }
bool positive(float v) { return v > 0.0f; }

// n values from word `first`, six to a line.
void write_values(Session& s, int out, RealWord first, int n, std::string_view format = "(1X,6F13.2)") {
  std::vector<fmt::Item> values;
  for (int k = 0; k < n; ++k) values.emplace_back(s.tpcm.r(RealWord{first + static_cast<std::size_t>(k)}));
  fwrite(s, out, format, values);
}

// An item whose value is a list: its title line and the values six to a
// line; selected, the value-list editor.
struct ListItem {
  std::string_view line;
  std::string_view title;
  RealWord first;
  int (*count)(const Session&);
  int (*room)(const Session&);
};
template <const ListItem& list>
void draw_list(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), list.line);
  write_values(s, w.out(), list.first, list.count(s));
}
template <const ListItem& list>
void edit_list(Session& s, int) {
  edit_word_list(s, list.title, list.first, list.count(s), list.room(s));
}

float gravity(const Session& s) { return s.tpcm.i(kUnitSystem) == kUnitsMetric ? 9.8f : 32.152f; }

// ---- Regular waves ----

int period_count(const Session& s) { return table_count(s.tpcm.i(kWaveFrequencies), kWavePeriodsMax); }
int regular_heading_room(const Session& s) { return table_count(s.tpcm.i(kRegularHeadingLimit), kRegularHeadingsMax); }
int regular_heading_count(const Session& s) {
  return table_count(s.tpcm.i(kRegularHeadingCount), regular_heading_room(s));
}

bool slope_mode(const Session& s) { return s.tpcm.i(kConstantSlope) == 1; }
std::string mode_word(const Session& s) { return slope_mode(s) ? " slope " : " height"; }

void write_period_count(Session& s, int out) {
  fwrite(s, out, "(1X,'1) Number of different periods (Max ',I3,'): ',I3)",
         {kWavePeriodsMax, s.tpcm.i(kWaveFrequencies)});
}
void edit_period_count(Session& s, int) { edit_count(s, write_period_count, kWaveFrequencies, kWavePeriodsMax); }

bool has_periods(const Session& s) { return s.tpcm.i(kWaveFrequencies) != 0; }
int period_room(const Session&) { return kWavePeriodsMax; }
constexpr ListItem kPeriodList = {" 2) Periods (seconds) --", "  -- Table of wave periods (seconds) --", kPeriods,
                                  period_count, period_room};

void write_wave_mode(Session& s, int out) {
  fwrite(s, out, "(' 3) Use constant wave height or wave slope: ',A)", {mode_word(s)});
}
void edit_wave_mode(Session& s, int) {
  auto& t = s.tpcm;
  toggle3(s, t.i(kConstantSlope), t.i(kBatchFlag), out_of(s), kKeyboard, "Slope", "Height");
}

void write_wave_height(Session& s, int out) {
  const std::string unit = slope_mode(s) ? unitp(kUnitsEnglish, 2) : unitp(s.tpcm.i(kUnitSystem), 7);
  fwrite(s, out, "(' 4) Wave',A,F11.2,A)", {mode_word(s), s.tpcm.r(kRegularHeight), unit});
}
void edit_wave_height(Session& s, int) {
  write_wave_height(s, out_of(s));
  edit_real(s, kRegularHeight, out_of(s));
}

bool shows_regular_headings(const Session& s) { return kind_of(s) < 10; }
bool has_regular_headings(const Session& s) {
  return shows_regular_headings(s) && s.tpcm.i(kRegularHeadingCount) != 0;
}

void write_heading_count(Session& s, int out) {
  fwrite(s, out, "(/' 5) Number of wave headings (Max ',I3,'): ',I3)",
         {s.tpcm.i(kRegularHeadingLimit), s.tpcm.i(kRegularHeadingCount)});
}
void edit_heading_count(Session& s, int) {
  edit_count(s, write_heading_count, kRegularHeadingCount, regular_heading_room(s));
}

constexpr ListItem kRegularHeadingList = {" 6) Wave headings (degrees) --", "  -- Table of wave headings (degrees) --",
                                          kRegularHeadings, regular_heading_count, regular_heading_room};

// Help: the heading items (5, 6) have none for the kinds that hide them.
void regular_help(Session& s, int item) {
  if (kind_of(s) < 10 || item < 5) reghlp(s, item, kRegularHelpPage);
}

// Every item is edited when selected, shown or not.
const Row kRegularRows[] = {
    Row::custom(drawn<write_period_count>, edit_period_count),
    Row::custom(draw_list<kPeriodList>, edit_list<kPeriodList>).when(has_periods).accept_when(always),
    Row::custom(drawn<write_wave_mode>, edit_wave_mode).blank(),
    Row::custom(drawn<write_wave_height>, edit_wave_height),
    Row::custom(drawn<write_heading_count>, edit_heading_count).when(shows_regular_headings).accept_when(always).blank(),
    Row::custom(draw_list<kRegularHeadingList>, edit_list<kRegularHeadingList>).when(has_regular_headings).accept_when(always),
};

const TablePage kRegularPage = {.header_format = "(T7,' ****  Page ',A,': Regular Wave Characteristics  ****'//)",
                                .rows = kRegularRows,
                                .help = regular_help,
                                .help_for = HelpFor::kAnyNumber,
                                .above_last = AboveLast::kLeave};

// ---- Irregular seas ----

bool waves_on(const Session& s) { return s.tpcm.i(kIrregularOn) != 0; }
int sea_code(const Session& s) { return s.tpcm.i(kSeaSpectrum); }
bool ochi(const Session& s) { return sea_code(s) == kOchiHubble; }
bool jonswap_params(const Session& s) { return sea_code(s) == kGeneralJonswap || sea_code(s) == kTmaSpectrum; }
bool spread(const Session& s) { return s.tpcm.i(kSpreadingOn) != 0; }


int irregular_heading_room(const Session& s) {
  return table_count(s.tpcm.i(kIrregularHeadingLimit), kIrregularHeadingsMax);
}
int irregular_heading_count(const Session& s) {
  return table_count(s.tpcm.i(kIrregularHeadingCount), irregular_heading_room(s));
}
// The room of the case lists: word 29, which the page sets at every display.
int case_room(const Session& s) { return table_count(s.tpcm.i(kSeaCaseLimit), kSeaCasesMax); }
IntWord case_count_word(const Session& s) { return ochi(s) ? kOchiCount : kIrregularCases; }
int case_count(const Session& s) { return table_count(s.tpcm.i(case_count_word(s)), case_room(s)); }

// The wave-parameter block: every code but the two user spectra.
bool has_parameters(const Session& s) {
  return waves_on(s) && sea_code(s) != kUserSpectrum && sea_code(s) != kLegacySpectrum;
}
// Pierson-Moskowitz takes its peak period from the height.
bool shows_peak_periods(const Session& s) {
  return has_parameters(s) && sea_code(s) != kPiersonMoskowitz && s.tpcm.i(kIrregularCases) != 0;
}
bool has_item8(const Session& s) {
  return waves_on(s) && (sea_code(s) == kSwellSpectrum || ochi(s) || jonswap_params(s));
}
bool shows_jonswap(const Session& s) { return waves_on(s) && jonswap_params(s); }
bool alpha_listed(const Session& s) {
  const auto& t = s.tpcm;
  return shows_jonswap(s) && t.r(kSeaSigmaA) > 0.0f && t.r(kSeaSigmaB) > 0.0f && t.r(kSeaGamma) > 0.0f;
}
bool spread_on(const Session& s) { return waves_on(s) && spread(s); }

void write_simulate(Session& s, int out) {
  fwrite(s, out, "('  1) Simulate irregular waves? ',A)", {yesno(s.tpcm.i(kIrregularOn))});
}
void edit_simulate(Session& s, int) {
  auto& t = s.tpcm;
  toggle2(s, t.i(kIrregularOn), t.i(kBatchFlag), out_of(s), kKeyboard);
}

void write_wave_type(Session& s, int out) { fwrite(s, out, "('  2) Wave type: ',A23)", {wavprt(sea_code(s))}); }

// The type list: number i + 1 for code i. Code 8 goes on to its densities.
void choose_wave_type(Session& s, int) {
  const int out = out_of(s);
  for (;;) {
    const int reply = choose(
        s, out,
        [&] { write_spectrum_types(s, out, "(' -- Irregular wave types --'/)"); },
        [&](int item) { ranhp2(s, item); });
    if (reply > kLastSpectrumCode + 1) continue;
    if (reply < 1) return;
    s.tpcm.i(kSeaSpectrum) = reply - 1;
    if (reply - 1 == kLegacySpectrum) edit_legacy_densities(s);
    return;
  }
}

void write_irregular_heading_count(Session& s, int out) {
  fwrite(s, out, "('  3) Number of wave headings (Max ',I3,'): ',I3)",
         {s.tpcm.i(kIrregularHeadingLimit), s.tpcm.i(kIrregularHeadingCount)});
}
void edit_irregular_heading_count(Session& s, int) {
  edit_count(s, write_irregular_heading_count, kIrregularHeadingCount, irregular_heading_room(s), true);
}

constexpr ListItem kIrregularHeadingList = {"  4) Wave headings (degrees) --", "--- Irregular wave headings ---",
                                            kIrregularHeadings, irregular_heading_count, irregular_heading_room};

void draw_parameter_title(Session& s, PageItems& w) { fwrite(s, w.out(), "(/,25X,' -- Wave parameters --'/)"); }

void write_case_count(Session& s, int out) {
  const auto& t = s.tpcm;
  fwrite(s, out,
         ochi(s) ? "('  5) Number of Ochi-Hubble wave components (Max ',I3,'): ',I3)"
                 : "('  5) Number of irregular wave cases for each heading (Max ',I3,'): ',I3)",
         {t.i(kSeaCaseLimit), t.i(case_count_word(s))});
}
void edit_case_count(Session& s, int) { edit_count(s, write_case_count, case_count_word(s), case_room(s), true); }

void draw_heights(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), ochi(s) ? "('  6) Component heights in',A)" : "('  6) Significant height in',A)",
         {unitp(s.tpcm.i(kUnitSystem), 7)});
  write_values(s, w.out(), kSeaHeights, case_count(s));
}
void edit_heights(Session& s, int) {
  edit_word_list(s, "--- Irregular wave significant heights ---", kSeaHeights, case_count(s), case_room(s));
}

void draw_peak_periods(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), ochi(s) ? "  7) Component peak periods (seconds)" : "  7) Spectrum peak period (seconds)");
  write_values(s, w.out(), kSeaPeriods, case_count(s));
}
void edit_peak_periods(Session& s, int) {
  edit_word_list(s, " --- Irregular wave spectrum peak periods ---", kSeaPeriods, case_count(s), case_room(s));
}

void write_bandwidth(Session& s, int out) {
  fwrite(s, out, "('  8) Spectral bandwidth parameter: ',F8.4)", {s.tpcm.r(kSeaBandwidth)});
}
void write_gamma(Session& s, int out) {
  fwrite(s, out, "('  8) JONSWAP \"Gamma\":   ',F8.4)", {s.tpcm.r(kSeaGamma)});
}
void write_sigma_a(Session& s, int out) {
  fwrite(s, out, "('  9) JONSWAP \"Sigma a\": ',F8.4)", {s.tpcm.r(kSeaSigmaA)});
}
void write_sigma_b(Session& s, int out) {
  fwrite(s, out, "(' 10) JONSWAP \"Sigma b\": ',F8.4)", {s.tpcm.r(kSeaSigmaB)});
}

// Item 8 by code: the lambdas of Ochi-Hubble, the bandwidth of the swell
// spectrum, gamma of the JONSWAP parameters.
void draw_item8(Session& s, PageItems& w) {
  w.custom();
  const int out = w.out();
  if (ochi(s)) {
    s.write_line(out, "  8) Component Lambda Values");
    write_values(s, out, kOchiShapes, case_count(s), "(1X,6F13.5)");
  } else if (sea_code(s) == kSwellSpectrum) {
    write_bandwidth(s, out);
  } else {
    write_gamma(s, out);
  }
}
void edit_item8(Session& s, int) {
  if (ochi(s)) {
    edit_word_list(s, "--- Component Lambda Values ---", kOchiShapes, case_count(s), case_room(s));
  } else if (sea_code(s) == kSwellSpectrum) {
    edit_checked(s, write_bandwidth, kSeaBandwidth, not_negative);
  } else {
    edit_checked(s, write_gamma, kSeaGamma, positive);
  }
}
void edit_sigma_a(Session& s, int) { edit_checked(s, write_sigma_a, kSeaSigmaA, not_negative); }
void edit_sigma_b(Session& s, int) { edit_checked(s, write_sigma_b, kSeaSigmaB, not_negative); }

void write_alpha_item(Session& s, int out) { s.write_line(out, " 11) Compute JONSWAP \"Alpha\" parameter"); }

// The height and period last typed for "Alpha", kept for the session.
struct SeaAlphaInput {
  float hs = 0.0f;
  float tp = 0.0f;
};
void edit_alpha(Session& s, int) {
  const auto& t = s.tpcm;
  auto& typed = s.state<SeaAlphaInput>();
  jonswap_alpha(s, t.r(kSeaSigmaA), t.r(kSeaSigmaB), t.r(kSeaGamma), typed.hs, typed.tp);
}

void write_spreading(Session& s, int out) {
  if (spread(s)) {
    fwrite(s, out, "(/' 20) Use azimuthal spreading of irregular',' wave energy')");
  } else {
    fwrite(s, out, "(/' 20) Use long-crested irregular wave model')");
  }
}
void edit_spreading(Session& s, int) {
  auto& t = s.tpcm;
  toggle3(s, t.i(kSpreadingOn), t.i(kBatchFlag), out_of(s), kKeyboard, "Spread Seas", "Long-Crested");
}

void write_spread_index(Session& s, int out) {
  fwrite(s, out, "(' 21) Wave spreading index: ',14X,F8.2)", {s.tpcm.r(kSpreadPower)});
}
void edit_spread_index(Session& s, int) {
  write_spread_index(s, out_of(s));
  edit_real(s, kSpreadPower, out_of(s));
}
void write_spread_sector(Session& s, int out) {
  fwrite(s, out, "(' 22) Sector size containing wave energy: ',F8.2,' deg')", {s.tpcm.r(kSpreadSector)});
}
void edit_spread_sector(Session& s, int) {
  write_spread_sector(s, out_of(s));
  edit_real(s, kSpreadSector, out_of(s));
}
void write_wedges(Session& s, int out) {
  fwrite(s, out, "(' 23) Number of angular wedges (Max ',I3,'): ',I3)",
         {s.tpcm.i(kSpreadLimit), s.tpcm.i(kSpreadWedges)});
}
// The number of wedges is even: an odd entry is rounded down.
void edit_wedges(Session& s, int) {
  auto& t = s.tpcm;
  auto& n = t.i(kSpreadWedges);
  write_wedges(s, out_of(s));
  enteri(s, n, out_of(s), kKeyboard);
  n = n / 2 * 2;
  maxchk(n, table_count(t.i(kSpreadLimit), kSpreadWedgesMax));
}

// Word 29, the room of the case lists, follows the code at every display.
void set_case_room(Session& s, PageItems&) {
  s.tpcm.i(kSeaCaseLimit) = ochi(s) ? kOchiComponentsMax : kSeaCasesMax;
}

void random_help(Session& s, int item) { ranhp1(s, item, kind_of(s), 0, sea_code(s)); }

// The rows the page of one sea state (morran) takes as they are.
constexpr Row kSimulateRow = Row::custom(drawn<write_simulate>, edit_simulate);
constexpr Row kWaveTypeRow = Row::custom(drawn<write_wave_type>, choose_wave_type).when(waves_on);
constexpr Row kParameterTitleRow = Row::line(draw_parameter_title).when(has_parameters);
constexpr Row kItem8Row = Row::custom(draw_item8, edit_item8).when(has_item8);
constexpr Row kSigmaARow = Row::custom(drawn<write_sigma_a>, edit_sigma_a).when(shows_jonswap);
constexpr Row kSigmaBRow = Row::custom(drawn<write_sigma_b>, edit_sigma_b).when(shows_jonswap);
constexpr Row kAlphaRow = Row::custom(drawn<write_alpha_item>, edit_alpha).when(alpha_listed);
constexpr Row kSpreadingRow = Row::custom(drawn<write_spreading>, edit_spreading).when(waves_on);
constexpr Row kSpreadIndexRow = Row::custom(drawn<write_spread_index>, edit_spread_index).when(spread_on);
constexpr Row kSpreadSectorRow = Row::custom(drawn<write_spread_sector>, edit_spread_sector).when(spread_on);
constexpr Row kWedgesRow = Row::custom(drawn<write_wedges>, edit_wedges).when(spread_on);

// Items 2 to 23 belong to irregular waves on: while they are off every other
// number only draws the page again. Items 5 to 7 are edited while the
// parameter block is hidden; 8 to 11 only where they are shown.
const Row kRandomRows[] = {
    Row::line(set_case_room),
    kSimulateRow,
    kWaveTypeRow,
    Row::custom(drawn<write_irregular_heading_count>, edit_irregular_heading_count).when(waves_on),
    Row::custom(draw_list<kIrregularHeadingList>, edit_list<kIrregularHeadingList>).when(waves_on),
    kParameterTitleRow,
    Row::custom(drawn<write_case_count>, edit_case_count).when(has_parameters).accept_when(waves_on),
    Row::custom(draw_heights, edit_heights).when(has_parameters).accept_when(waves_on),
    Row::custom(draw_peak_periods, edit_peak_periods).when(shows_peak_periods).accept_when(waves_on),
    kItem8Row,
    kSigmaARow,
    kSigmaBRow,
    kAlphaRow,
    Row::gap(8),
    kSpreadingRow,
    kSpreadIndexRow,
    kSpreadSectorRow,
    kWedgesRow,
};

const TablePage kRandomPage = {.header_format = "(T8,' ****  Page ',A,': Irregular wave specifications  ****'/)",
                               .rows = kRandomRows,
                               .help = random_help,
                               .help_for = HelpFor::kAnyNumber};

// Counts and limits held within their lists, and at least one Ochi-Hubble
// component pair.
void hold_sea_counts(Session& s) {
  auto& t = s.tpcm;
  t.i(kWaveFrequencies) = period_count(s);
  t.i(kIrregularHeadingLimit) = irregular_heading_room(s);
  t.i(kIrregularHeadingCount) = irregular_heading_count(s);
  t.i(kIrregularCases) = table_count(t.i(kIrregularCases), kSeaCasesMax);
  t.i(kOchiCount) = t.i(kOchiCount) < 1 ? 2 : std::min(t.i(kOchiCount), kOchiComponentsMax);
  t.i(kSpreadLimit) = table_count(t.i(kSpreadLimit), kSpreadWedgesMax);
  t.i(kSpreadWedges) = table_count(t.i(kSpreadWedges), t.i(kSpreadLimit));
}

// The legacy densities follow the page in a print pass, on a half page of
// their own.
void print_legacy_densities(Session& s) {
  auto& t = s.tpcm;
  if (t.i(kPrintPass) != 0 && waves_on(s) && sea_code(s) == kLegacySpectrum) {
    twopg(s, t.i(kPrintPass), out_of(s));
    edit_legacy_densities(s);
  }
}

// ---- Irregular seas of the mooring editor: one sea state ----
// One heading (word 713) and one case (words 429 and 435); Ochi-Hubble keeps
// its component lists and edits the heading in its table of one row.

// Word 29 is the room of the Ochi-Hubble components; other codes leave it.
void set_component_room(Session& s, PageItems&) {
  if (ochi(s)) s.tpcm.i(kSeaCaseLimit) = kOchiComponentsMax;
}

bool shows_components(const Session& s) { return has_parameters(s) && ochi(s); }

void write_one_heading(Session& s, int out) {
  fwrite(s, out, "(1X,' 4) Wave heading: ',F8.2,' degrees')", {s.tpcm.r(kIrregularHeadings)});
}
void edit_one_heading(Session& s, int item) {
  if (ochi(s)) return edit_list<kIrregularHeadingList>(s, item);
  write_one_heading(s, out_of(s));
  edit_real(s, kIrregularHeadings, out_of(s));
}

void write_one_height(Session& s, int out) {
  fwrite(s, out, "(1X,' 6) Significant height:   ',F8.2,A16)",
         {s.tpcm.r(kSeaHeights), unitp(s.tpcm.i(kUnitSystem), 7)});
}
void draw_one_height(Session& s, PageItems& w) {
  if (ochi(s)) return draw_heights(s, w);
  w.custom();
  write_one_height(s, w.out());
}
void edit_one_height(Session& s, int item) {
  if (ochi(s)) return edit_heights(s, item);
  write_one_height(s, out_of(s));
  edit_real(s, kSeaHeights, out_of(s));
}

void write_one_period(Session& s, int out) {
  fwrite(s, out, "(1X,' 7) Spectrum peak period: ',F8.2,' seconds')", {s.tpcm.r(kSeaPeriods)});
}
void draw_one_period(Session& s, PageItems& w) {
  if (ochi(s)) return draw_peak_periods(s, w);
  w.custom();
  write_one_period(s, w.out());
}
void edit_one_period(Session& s, int item) {
  if (ochi(s)) return edit_peak_periods(s, item);
  write_one_period(s, out_of(s));
  edit_real(s, kSeaPeriods, out_of(s));
}

// No item 3: the page has one heading. Item 5 belongs to Ochi-Hubble alone.
const Row kMorranRows[] = {
    Row::line(set_component_room),
    kSimulateRow,
    kWaveTypeRow,
    Row::gap(1),
    Row::custom(drawn<write_one_heading>, edit_one_heading).when(waves_on),
    kParameterTitleRow,
    Row::custom(drawn<write_case_count>, edit_case_count).when(shows_components),
    Row::custom(draw_one_height, edit_one_height).when(has_parameters).accept_when(waves_on),
    Row::custom(draw_one_period, edit_one_period).when(shows_peak_periods).accept_when(waves_on),
    kItem8Row,
    kSigmaARow,
    kSigmaBRow,
    kAlphaRow,
    Row::gap(8),
    kSpreadingRow,
    kSpreadIndexRow,
    kSpreadSectorRow,
    kWedgesRow,
};

const TablePage kMorranPage = {
    .header_format = "(T11,' ****  Page ',A,': Irregular wave ','specifications  ****'//)",
    .rows = kMorranRows,
    .help = random_help,
    .help_for = HelpFor::kAnyNumber};

}  // namespace

// ---- Shared pieces ----

void edit_word_list(Session& s, std::string_view title, RealWord first, int count, int room) {
  auto& t = s.tpcm;
  room = std::max(room, 0);
  std::vector<float> values(static_cast<std::size_t>(room));
  for (std::size_t k = 0; k < values.size(); ++k) values[k] = t.r(RealWord{first + k});
  autorp(s, title, values, std::clamp(count, 0, room), room, out_of(s), kKeyboard, t.i(kPrintPass));
  // Only the values the editor changed are stored, bit for bit.
  for (std::size_t k = 0; k < values.size(); ++k) {
    const auto bits = std::bit_cast<std::int32_t>(values[k]);
    if (bits != t.i(first + k)) t.i(first + k) = bits;
  }
}

void write_spectrum_types(Session& s, int out, std::string_view title) {
  if (s.tpcm.i(kPrintPass) == 0) clear(s, out);
  fwrite(s, out, title);
  for (int code = 0; code <= kLastSpectrumCode; ++code) fwrite(s, out, "(I3,') ',A23)", {code + 1, wavprt(code)});
}

void edit_legacy_densities(Session& s) {
  edit_word_list(s, " Specify spectral densities at regular wave periods", kLegacyDensities, period_count(s),
                 kWavePeriodsMax);
}

void jonswap_alpha(Session& s, float sigma_a, float sigma_b, float gamma, float& hs, float& tp) {
  const int out = out_of(s);
  wrtlin(s, "Enter [Sig. Height, Peak Period]: ", out);
  float unused = 0.0f;
  int blank = 0;
  crreal(s, hs, tp, unused, blank, kKeyboard);
  if (blank != 0 || !(hs > 0.0f) || !(tp > 0.0f)) return;
  int reply = 0;
  float norm = 0.0f;
  const int status = sigma_a > 0.0f && sigma_b > 0.0f && gamma > 0.0f
                         ? jonsval_report(s, sigma_a, sigma_b, gamma, norm, out)
                         : kJonsvalBadArgument;
  if (status == kJonsvalBadArgument) {
    s.write_line(out, "");
    s.write_line(out, " ++> Gamma, Sigma a and Sigma b must be above zero for \"Alpha\".");
    prsret(s, out, kKeyboard, reply);
  }
  if (status != kJonsvalOk) return;
  const float w = 6.2831855f / tp;
  const float g = gravity(s);
  const float alpha = (hs / 4.0f) * (hs / 4.0f) * (w * w) * (w * w) / norm / (g * g);
  fwrite(s, out, "(/' ++> The JONSWAP \"Alpha\" Parameter is:',F8.4)", {alpha});
  prsret(s, out, kKeyboard, reply);
}

// ---- The pages ----

void reglar(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  t.i(kWaveFrequencies) = period_count(s);
  t.i(kRegularHeadingLimit) = regular_heading_room(s);
  t.i(kRegularHeadingCount) = regular_heading_count(s);
  run_table(s, kRegularPage, label);
}

void random(Session& s, std::string_view label) {
  hold_sea_counts(s);
  run_table(s, kRandomPage, label);
  print_legacy_densities(s);
}

void morran(Session& s, std::string_view label) {
  // Every entry starts from one heading and one case.
  hold_sea_counts(s);
  auto& t = s.tpcm;
  t.i(kIrregularHeadingCount) = 1;
  t.i(kIrregularCases) = 1;
  run_table(s, kMorranPage, label);
  print_legacy_densities(s);
}

}  // namespace kelp
