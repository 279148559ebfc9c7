// Page 3 of the mooring editor, "More General Mooring Information" (morln2):
// legs and sublines of each line type, fairleads, departure angles, the
// moment centre, the hawser point or turret, the headings and the excluded
// lines.
#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "moor/e/line_exclusions.hpp"
#include "moor/e/mooring_layout_pages.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

int kind_of(const Session& s) { return s.tpcm.i(kProgramKind); }
int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }
int legs_of(const Session& s) { return s.tpcm.i(kMooringLegs); }

// The page's list of excluded lines, kept from one visit to the next as the
// record keeps only their bits. It holds as many lines as a mooring has legs.
struct ExcludedLines {
  std::vector<std::int32_t> lines = std::vector<std::int32_t>(kLineListCapacity, 0);
};
std::vector<std::int32_t>& excluded(Session& s) { return s.state<ExcludedLines>().lines; }

std::span<std::int32_t, kExclusionBitWords> exclusion_bits(Session& s) {
  return s.tpcm.words().subspan(kExclusionBits.n).first<kExclusionBitWords>();
}

constexpr int kMaxExcluded = kExcludableLines;

// ---- Legs and sublines per line type ----

// "(4(I4,' in Type ',I3,' {',A1,'}'))" for types 1..count: the value of
// each type, the type and its letter, four to a line.
void write_type_rows(Session& s, int out, TableWordFn word_of) {
  const int types = shown_count(s.tpcm.i(kLineTypes), kLineTypeCapacity);
  std::vector<fmt::Item> items;
  for (int type = 1; type <= types; ++type) {
    items.emplace_back(s.tpcm.i(*word_of(type)));
    items.emplace_back(type);
    items.emplace_back(std::string(1, type_letter(type)));
  }
  if (!items.empty()) fwrite(s, out, "(4(I4,' in Type ',I3,' {',A1,'}'))", items);
}

void draw_type_legs(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), " 1) Number of mooring legs associated with each type --");
  w.blank();
  write_type_rows(s, w.out(), type_legs_word);
}

void draw_type_sublines(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(' 2) Number of sublines associated with each type (max ',I2,') --')",
         {s.tpcm.i(kSublinesMax)});
  write_type_rows(s, w.out(), type_sublines_word);
}

// The per-type counts of a type table through the value-list editor: the
// types in use, at most the maximum type count, both held to the table.
std::vector<std::int32_t> edit_type_counts(Session& s, std::string_view title, TableWordFn word_of) {
  auto& t = s.tpcm;
  const int room = table_count(t.i(kLineTypesMax), kLineTypeCapacity);
  std::vector<std::int32_t> counts = read_table(s, word_of, room);
  edit_integer_list(s, title, counts, table_count(t.i(kLineTypes), room), room, out_of(s));
  write_table(s, word_of, counts);
  counts.resize(static_cast<std::size_t>(table_count(t.i(kLineTypes), room)));
  return counts;
}

// The legs of all types must add up to the number of legs. The editor opens
// again until they do, unless no list can (no line types for a nonzero leg
// count): then the message is shown once. A print pass only lists them.
void edit_type_legs(Session& s, int) {
  const int out = out_of(s);
  for (;;) {
    const auto counts = edit_type_counts(s, "--- Mooring line type multiplicity ---", type_legs_word);
    if (s.tpcm.i(kPrintPass) != 0 || out == kSilentUnit) return;
    const long long sum = std::accumulate(counts.begin(), counts.end(), 0LL);
    if (sum == legs_of(s)) return;
    fwrite(s, out, "(' ++> Line number inconsistency; total line # = ',I3)", {legs_of(s)});
    int reply = 0;
    prsret(s, out, kKeyboard, reply);
    if (counts.empty()) return;
  }
}

void edit_type_sublines(Session& s, int) {
  edit_type_counts(s, "--- Number of sublines for each distinct type ---", type_sublines_word);
  if (s.tpcm.i(kPrintPass) != 0) return;
  const int most = table_count(s.tpcm.i(kSublinesMax), kSublineCapacity);
  for (int type = 1; type <= table_count(s.tpcm.i(kLineTypes), kLineTypeCapacity); ++type) {
    maxchk(s.tpcm.i(*type_sublines_word(type)), most);
  }
}

// ---- Fairleads and departure angles ----

// Kind 13 keeps a copy of the fairleads in the buoy's table and of the
// hawser fairlead's height.
void copy_fairleads_to_buoy(Session& s) {
  auto& t = s.tpcm;
  for (int leg = 1; leg <= table_count(legs_of(s), kBuoyFairleadCapacity); ++leg) {
    for (int k = 1; k <= 3; ++k) t.i(*buoy_fairlead_word(leg, k)) = t.i(*fairlead_word(leg, k));
  }
  if (const auto z = fairlead_word(t.i(kHawserLine), 3)) t.bits(kHawserFairleadZ) = t.i(*z);
}

void draw_fairleads_item(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), " 3) Edit fairlead positions");
}
void draw_angles_item(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), " 4) Edit plan-view line departure angles");
}

void edit_fairleads(Session& s, int) {
  for (;;) {
    const int status = edit_record_points(s, "coordinates of fairleads", fairlead_word, kLegCapacity, legs_of(s),
                                          out_of(s));
    if (kind_of(s) == 13 && s.tpcm.i(kPrintPass) == 0) copy_fairleads_to_buoy(s);
    if (status < 0) leave_page(s, status);
    if (status <= 0) return;
  }
}

void edit_departure_angles(Session& s, int) {
  edit_record_list(s, "Plan-view GLOBAL Angles (Zero forward; Positive C-clockwise)", departure_angle_word,
                   kLegCapacity, legs_of(s), s.tpcm.i(kMooringLegsMax), out_of(s));
}

// ---- Moment centre, hawser point, turret and headings ----

bool not_kind7(const Session& s) { return kind_of(s) != 7; }
bool hawser_or_turret(const Session& s) { return hawser_shown(s) || kind_of(s) == 15; }

// The points of one row at fixed words.
template <const RealWord& first>
std::optional<std::size_t> single_point(int row, int coord) {
  if (row != 1 || coord < 1 || coord > 3) return std::nullopt;
  return first.n + static_cast<std::size_t>(coord - 1);
}

void draw_moment_centre(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), hawser_shown(s) ? "  5) Edit mooring moment evaluation center (on buoy)"
                                        : "  5) Edit mooring moment evaluation center ");
}

void turret_line(Session& s, int out) {
  fwrite(s, out, "('  6) Vessel x-coordinate of turret centroid: ',F10.2,A)",
         {s.tpcm.r(kTurretX), unitp(s.tpcm.i(kUnitSystem), 7).substr(0, 7)});
}

void draw_item6(Session& s, PageItems& w) {
  w.custom();
  if (hawser_shown(s)) {
    s.write_line(w.out(), "  6) Edit hawser attachment point on storage vessel");
    return;
  }
  w.blank();
  turret_line(s, w.out());
}

// "  n) <name> heading in quiescent conditions: <angle> Degrees".
void heading_line(Session& s, int out, int item, std::string_view name, RealWord word) {
  fwrite(s, out, "(2X,I1,') ',A,' heading in quiescent conditions: ',F8.2,' Degrees')",
         {item, std::string(name), s.tpcm.r(word)});
}
std::string_view vessel_name(const Session& s) { return hawser_shown(s) ? "Tanker" : "Vessel"; }

void draw_vessel_heading(Session& s, PageItems& w) {
  w.custom();
  if (kind_of(s) != 15) w.blank();
  heading_line(s, w.out(), 7, vessel_name(s), kVesselHeading);
}
void draw_buoy_heading(Session& s, PageItems& w) {
  w.custom();
  heading_line(s, w.out(), 8, "Buoy", kBuoyHeading);
}

void edit_vessel_heading(Session& s, int) {
  heading_line(s, out_of(s), 7, vessel_name(s), kVesselHeading);
  edit_real(s, kVesselHeading, out_of(s));
}
void edit_buoy_heading(Session& s, int) {
  if (!hawser_shown(s)) return;
  heading_line(s, out_of(s), 8, "Buoy", kBuoyHeading);
  edit_real(s, kBuoyHeading, out_of(s));
}

// The hawser point of kinds 13 and 8, the turret of kind 15. A status above
// 0 goes on to item 7.
void edit_item6(Session& s, int) {
  auto& t = s.tpcm;
  if (kind_of(s) == 15 && !hawser_shown(s)) {
    turret_line(s, out_of(s));
    edit_real(s, kTurretX, out_of(s));
    return;
  }
  if (!hawser_shown(s)) return;
  const int status =
      edit_record_points(s, "hawser attachment point", single_point<kHawserPoint>, 1, 1, out_of(s));
  if (t.i(kPrintPass) != 0) return;
  t.bits(kHawserZCopy) = t.i(*single_point<kHawserPoint>(1, 3));
  t.bits(kTurretX) = t.bits(kHawserPoint);
  if (status < 0) leave_page(s, status);
  if (status > 0) edit_vessel_heading(s, 7);
}

// A status above 0 goes on to item 6.
void edit_moment_centre(Session& s, int) {
  const int status =
      edit_record_points(s, "mooring moment evaluation center", single_point<kMomentCentre>, 1, 1, out_of(s));
  if (s.tpcm.i(kPrintPass) != 0) return;
  if (status < 0) leave_page(s, status);
  if (status > 0) edit_item6(s, 6);
}

// ---- Excluded lines ----

int excluded_count(const Session& s) { return std::min(s.tpcm.i(kExcludedLines), kMaxExcluded); }
bool has_exclusions(const Session& s) { return s.tpcm.i(kExcludedLines) > 0; }

void draw_exclusion_count(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(' 10) Number of excluded or broken lines (Max ',I3,'): ',I3)",
         {kMaxExcluded, s.tpcm.i(kExcludedLines)});
}
void edit_exclusion_count(Session& s, int item) {
  PageItems w(s, out_of(s), item);
  draw_exclusion_count(s, w);
  enter_count(s, kExcludedLines, kMaxExcluded, out_of(s));
}

void draw_exclusions(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), " 11) Line numbers selected for exclusion:");
  const auto& lines = excluded(s);
  write_line_numbers(s, w.out(), std::span(lines).first(static_cast<std::size_t>(excluded_count(s))));
}

void edit_exclusions(Session& s, int) {
  auto& lines = excluded(s);
  const int count = excluded_count(s);
  if (edit_line_numbers(s, "--- Lines Selected for Damage or Exclusion ---", lines, count, legs_of(s), 3,
                        out_of(s))) {
    loadexclude(s, count, lines, exclusion_bits(s), legs_of(s), ExcludeMode::kPack, out_of(s));
  }
}

const Row kRows[] = {
    Row::line([](Session& s, PageItems& w) {
      if (!hawser_shown(s)) return;
      fwrite(s, w.out(), "(' ++> NOTE: Line number ',I3,' & line type ',I3,' {',A1,'}',' comprise Hawser data')",
             {legs_of(s), s.tpcm.i(kLineTypes), std::string(1, type_letter(s.tpcm.i(kLineTypes)))});
    }),
    Row::custom(draw_type_legs, edit_type_legs),
    Row::custom(draw_type_sublines, edit_type_sublines),
    Row::custom(draw_fairleads_item, edit_fairleads),
    Row::custom(draw_angles_item, edit_departure_angles),
    Row::custom(draw_moment_centre, edit_moment_centre).when(not_kind7),
    Row::custom(draw_item6, edit_item6).when(hawser_or_turret),
    Row::custom(draw_vessel_heading, edit_vessel_heading).when(not_kind7),
    Row::custom(draw_buoy_heading, edit_buoy_heading).when(hawser_shown),
    Row::gap(1),
    Row::custom(draw_exclusion_count, edit_exclusion_count).blank(),
    Row::custom(draw_exclusions, edit_exclusions).when(has_exclusions),
};

void header(Session& s, int out) { write_layout_header(s, out, "More General Mooring Information", hawser_shown(s)); }

const TablePage kPage = {.header = header, .rows = kRows, .help = morhp2, .help_for = HelpFor::kAnyNumber};

// The print pass goes on through the tables of items 1 to 6.
void print_tables(Session& s) {
  edit_type_legs(s, 1);
  edit_type_sublines(s, 2);
  edit_fairleads(s, 3);
  edit_departure_angles(s, 4);
  if (!not_kind7(s)) return;
  edit_moment_centre(s, 5);
  if (hawser_shown(s)) edit_item6(s, 6);
}

}  // namespace

void morln2(Session& s, std::string_view label) {
  if (s.tpcm.i(kExcludedLines) > 0) {
    loadexclude(s, 0, excluded(s), exclusion_bits(s), legs_of(s), ExcludeMode::kUnpack, out_of(s));
  }
  run_layout_page(s, kPage, label);
  if (s.tpcm.i(kPrintPass) != 0) print_tables(s);
}

}  // namespace kelp
