// Page 4 of the mooring editor, "Dynamics-Related Mooring Information"
// (morln3): the lines evaluated dynamically, the vertical interpolation grid
// of the dynamic line model and the default coefficients spread over every
// subline.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/toggles.hpp"
#include "moor/e/line_exclusions.hpp"
#include "moor/e/mooring_layout_pages.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

int kind_of(const Session& s) { return s.tpcm.i(kProgramKind); }
int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }
int legs_of(const Session& s) { return s.tpcm.i(kMooringLegs); }

constexpr int kMostLayers = 29;
constexpr float kDefaultSpanDivisor = 200.0f;

// The tendon kind, and records treated like it, are offered a default grid.
bool default_grid_offered(const Session& s) { return kind_of(s) == 14 || s.tpcm.i(kTendonLike) == 1; }
// At least three layers for those and for kind 17.
bool three_layers_least(const Session& s) { return default_grid_offered(s) || kind_of(s) == 17; }
int fewest_layers(const Session& s) { return three_layers_least(s) ? 3 : 1; }

// Whether the user overrides the default grid; worked out from the record on
// every entry to the page.
struct GridOverride {
  int flag = 1;
};
int& override_flag(Session& s) { return s.state<GridOverride>().flag; }

bool is_default_grid(const Session& s) {
  const auto& t = s.tpcm;
  return std::fabs(t.r(kInterpSpan) - t.r(kWaterDepth) / kDefaultSpanDivisor) < 0.0001f &&
         t.i(kInterpLayers) == kMostLayers;
}

// ---- Lines for dynamic evaluation ----

bool hawser_of_kind13(const Session& s) { return kind_of(s) == 13 && s.tpcm.i(kHawserFlag) == 1; }

void draw_note(Session& s, PageItems& w) {
  if (!hawser_of_kind13(s)) return;
  fwrite(s, w.out(), "(' ++> NOTE: Line number ',I3,' & line type ',A1,' comprise Hawser data')",
         {legs_of(s), std::string(1, type_letter(s.tpcm.i(kLineTypes)))});
}

void draw_dynamic_count(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "('  1) Number of lines for dynamic evaluation (Max ',I3,'): ',I3)",
         {legs_of(s), s.tpcm.i(kDynamicLines)});
}
void edit_dynamic_count(Session& s, int item) {
  PageItems w(s, out_of(s), item);
  draw_dynamic_count(s, w);
  enter_count(s, kDynamicLines, table_count(legs_of(s), kLegCapacity), out_of(s));
}

bool has_dynamic_lines(const Session& s) { return s.tpcm.i(kDynamicLines) > 0; }

void draw_dynamic_lines(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), "  2) Line numbers selected for dynamic evaluation:");
  write_line_numbers(s, w.out(), read_table(s, dynamic_line_word, shown_count(s.tpcm.i(kDynamicLines), kLegCapacity)));
}

void edit_dynamic_lines(Session& s, int) {
  auto lines = read_table(s, dynamic_line_word, kLineListCapacity);
  edit_line_numbers(s, "--- Lines Selected for Dynamic (RAO) Evaluation ---", lines, s.tpcm.i(kDynamicLines),
                    legs_of(s), 3, out_of(s));
  write_table(s, dynamic_line_word, lines);
}

// ---- The vertical interpolation grid ----

void draw_override(Session& s, PageItems& w) {
  w.custom();
  w.blank();
  s.write_line(w.out(), "  5) Override default selection of vertical interpolation grid   " +
                            yesno_l(override_flag(s) != 0));
}
void edit_override(Session& s, int) {
  auto& t = s.tpcm;
  int& flag = override_flag(s);
  toggle2(s, flag, t.i(kBatchFlag), out_of(s), kKeyboard);
  if (flag != 0) return;
  t.i(kInterpLayers) = kMostLayers;
  store_real(s, kInterpSpan, t.r(kWaterDepth) / kDefaultSpanDivisor, out_of(s));
  t.i(kBuoySinkage) = 0;
}

// Items 6 and 7 hide behind the default grid; as their showing depends on
// the page's own flag, their lines decide it (w.hidden()).
bool grid_editable(Session& s) { return !default_grid_offered(s) || override_flag(s) != 0; }

void layers_line(Session& s, int out) {
  fwrite(s, out, "('  6) Number of vertical interpolation layers (Max ',I2,', Min ',I1,') ... ',I3)",
         {kMostLayers, fewest_layers(s), s.tpcm.i(kInterpLayers)});
}
void draw_layers(Session& s, PageItems& w) {
  if (!grid_editable(s)) return w.hidden();
  w.custom();
  layers_line(s, w.out());
}

// An odd count of 1 (3) to 29 layers: an even count is raised by one.
void edit_layers(Session& s, int) {
  if (!grid_editable(s)) return;
  auto& t = s.tpcm;
  layers_line(s, out_of(s));
  int layers = t.i(kInterpLayers);
  enteri(s, layers, out_of(s), kKeyboard);
  if (layers < 0) return;  // a navigation letter
  if (layers % 2 == 0) ++layers;
  maxchk(layers, kMostLayers);
  t.i(kInterpLayers) = std::max(layers, fewest_layers(s));
}

bool span_shown(Session& s) {
  if (default_grid_offered(s)) return override_flag(s) != 0;
  return kind_of(s) == 17 || s.tpcm.i(kInterpLayers) >= 2;
}

void span_line(Session& s, int out) {
  fwrite(s, out, "('  7) Total span of vertical interpolation region ............... ',F10.2,A)",
         {s.tpcm.r(kInterpSpan), unitp(s.tpcm.i(kUnitSystem), 7).substr(0, 7)});
}
void draw_span(Session& s, PageItems& w) {
  if (!span_shown(s)) return w.hidden();
  w.custom();
  span_line(s, w.out());
}
void edit_span(Session& s, int) {
  if (!span_shown(s) || s.tpcm.i(kInterpLayers) < 2) return;
  span_line(s, out_of(s));
  edit_real(s, kInterpSpan, out_of(s));
}

// ---- Default coefficients ----

struct Coefficient {
  std::string_view label;
  std::string_view intro;
  RealWord word;
  ElementField field;
};
constexpr Coefficient kAddedMass = {"Reset default added mass coefficient ........... ",
                                    "(/'Current default added mass coefficient = ',F6.2)", kElementAddedMass,
                                    ElementField::kAddedMass};
constexpr Coefficient kDrag = {"Reset default square-law drag coefficient ...... ",
                               "(/'Current default square-law drag coefficient = ',F6.2)", kElementDrag,
                               ElementField::kDrag};

template <const Coefficient& C>
void draw_coefficient(Session& s, PageItems& w) {
  const int n = w.custom();
  fwrite(s, w.out(), "(1X,I2,') ',A,F6.2)", {n, std::string(C.label), s.tpcm.r(C.word)});
}

// A new default goes to every subline slot of every line type, in use or
// not, up to the maximum counts held to the tables.
template <const Coefficient& C>
void reset_coefficient(Session& s, int) {
  auto& t = s.tpcm;
  if (!reset_default(s, C.intro, C.word, out_of(s))) return;
  const int sublines = table_count(t.i(kSublinesMax), kSublineCapacity);
  const int types = table_count(t.i(kLineTypesMax), kLineTypeCapacity);
  for (int type = 1; type <= types; ++type) {
    for (int sub = 1; sub <= sublines; ++sub) t.i(*element_word(C.field, sub, type)) = t.bits(C.word);
  }
}

const Row kRows[] = {
    Row::line(draw_note),
    Row::custom(draw_dynamic_count, edit_dynamic_count),
    Row::custom(draw_dynamic_lines, edit_dynamic_lines).when(has_dynamic_lines),
    Row::gap(2),
    Row::custom(draw_override, edit_override).when(default_grid_offered),
    Row::custom(draw_layers, edit_layers),
    Row::custom(draw_span, edit_span),
    Row::gap(2),
    Row::custom(draw_coefficient<kAddedMass>, reset_coefficient<kAddedMass>).blank(),
    Row::custom(draw_coefficient<kDrag>, reset_coefficient<kDrag>).blank_after(),
};

void header(Session& s, int out) {
  write_layout_header(s, out, "Dynamics-Related Mooring Information", hawser_of_kind13(s));
}

const TablePage kPage = {.header = header, .rows = kRows, .help = morhp3, .help_for = HelpFor::kAnyNumber};

}  // namespace

void morln3(Session& s, std::string_view label) {
  override_flag(s) = default_grid_offered(s) && is_default_grid(s) ? 0 : 1;
  run_layout_page(s, kPage, label);
}

}  // namespace kelp
