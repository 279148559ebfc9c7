#include "salm/e/salm.hpp"

#include <string>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/nohelp.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

constexpr int kTablePointsMax = 90;
constexpr int kForceCode = 0;
constexpr int kLengthCode = 7;
// Options 5 and 6 submerge the whole system for statics too: the piercing
// element is then the one above the topmost.
constexpr int kLastPartialSubmergence = 4;

int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }
bool has_elements(const Session& s) { return s.tpcm.i(kElementCount) != 0; }

void piercing_reset(Session& s, PageItems&) {
  auto& t = s.tpcm;
  if (has_elements(s) && t.i(kSubmergenceOption) > kLastPartialSubmergence) {
    // The count may come from a damaged file: held to the tables before adding.
    t.i(kPiercingElement) = table_count(t.i(kElementCount), kMaxSalmElements) + 1;
  }
}

// ---- Item lines ----

// The item lines: " n) " and the label in a field of 50 columns (the first
// item's label fills it with its own leader), then the value.
constexpr std::string_view kRealLine = "(A,F10.2,A)";
constexpr std::string_view kCountLine = "(A,I5)";
constexpr std::size_t kLabelField = 50;
std::string item_label(int item, std::string_view label) {
  std::string text = fmt::format("(1X,I1,') ',A)", {item, std::string(label)});
  text.pop_back();  // the record end
  return fixed(text, kLabelField);
}
void count_item(Session& s, PageItems& w, std::string_view label, int value) {
  fwrite(s, w.out(), kCountLine, {item_label(w.custom(), label), value});
}

void draw_count(Session& s, PageItems& w) {
  std::string label = fmt::format("('Number of Salm elements (Max ',I2,') ............ ')", {kMaxSalmElements});
  label.pop_back();  // the record end
  count_item(s, w, label, s.tpcm.i(kElementCount));
}
void edit_count(Session& s, int item) {
  PageItems again(s, out_of(s), item);
  draw_count(s, again);
  enter_count(s, kElementCount, kMaxSalmElements, out_of(s));
}

// A real value, then the unit label (or the first `chars` characters of it).
struct RealItem {
  std::string_view label;
  RealWord word;
  std::string_view prefix = {};
  int unit_code = -1;
  std::size_t chars = std::string::npos;
};

void real_line(Session& s, PageItems& w, const RealItem& item) {
  std::string unit(item.prefix);
  if (item.unit_code >= 0) unit += unitp(s.tpcm.i(kUnitSystem), item.unit_code).substr(0, item.chars);
  fwrite(s, w.out(), kRealLine, {item_label(w.custom(), item.label), s.tpcm.r(item.word), unit});
}
template <const RealItem& I>
constexpr Row real_row() {
  return reshown_real_row<real_line, I>();
}

constexpr RealItem kMaxLoad = {"Maximum horizontal load on Salm", kMaxTableLoad, {}, kForceCode};
constexpr RealItem kIncrement = {"Offset increment for static offset table", kOffsetIncrement, {}, kLengthCode};
constexpr RealItem kWaterplane = {"Water plane area of water-piercing element", kPiercingWaterplaneArea, " square",
                                  kLengthCode, 7};

void draw_table_size(Session& s, PageItems& w) {
  count_item(s, w, "Number of points in interpolation table", s.tpcm.i(kInterpTableSize));
}
void edit_table_size(Session& s, int) {
  fwrite(s, out_of(s), "(1X,'Interpolation table size (Max ',I2,'): ',I3)",
         {kTablePointsMax, s.tpcm.i(kInterpTableSize)});
  enter_count(s, kInterpTableSize, kTablePointsMax, out_of(s));
}

constexpr std::string_view kPiercingLabel = "Salm element that pierces water";
void draw_piercing(Session& s, PageItems& w) { count_item(s, w, kPiercingLabel, s.tpcm.i(kPiercingElement)); }
void edit_piercing(Session& s, int item) {
  PageItems again(s, out_of(s), item);
  draw_piercing(s, again);
  // Any element number is taken; a command letter (a negative code) is none.
  int typed = s.tpcm.i(kPiercingElement);
  enteri(s, typed, out_of(s), kKeyboard);
  if (typed >= 0) s.tpcm.i(kPiercingElement) = typed;
}

// ---- Default coefficients ----

struct Coefficient {
  std::string_view label;
  std::string_view intro;
  RealWord word;
  RealWord table;  // the 40 element coefficients
};
constexpr Coefficient kAddedMass = {"Reset default added mass coefficient",
                                    "(/'Current default elemental added mass coefficient = ',F6.2/)",
                                    kDefaultElementAddedMass, kElementAddedMassTable};
constexpr Coefficient kDrag = {"Reset default square-law drag coefficient",
                               "(/'Current default elemental square-law drag coefficient = ',F6.2/)",
                               kDefaultElementDrag, kElementDragTable};

template <const Coefficient& C>
void draw_coefficient(Session& s, PageItems& w) {
  fwrite(s, w.out(), kRealLine, {item_label(w.custom(), C.label), s.tpcm.r(C.word), std::string()});
}
// A new default replaces the coefficient of every element, in use or not;
// a blank reply keeps them all.
template <const Coefficient& C>
void reset_coefficient(Session& s, int) {
  auto& t = s.tpcm;
  if (!reset_default(s, C.intro, C.word, out_of(s))) return;
  for (std::size_t n = 0; n < static_cast<std::size_t>(kMaxSalmElements); ++n) {
    t.bits(RealWord{C.table + n}) = t.bits(C.word);
  }
}

void no_help(Session& s, int) {
  int reply = 0;
  nohelp(s, out_of(s), kKeyboard, reply);
}

constexpr Row kRows[] = {
    Row::line(piercing_reset),
    Row::custom(draw_count, edit_count),
    real_row<kMaxLoad>(),
    real_row<kIncrement>(),
    Row::custom(draw_table_size, edit_table_size),
    real_row<kWaterplane>().when(has_elements),
    Row::custom(draw_piercing, edit_piercing).when(has_elements),
    Row::custom(draw_coefficient<kAddedMass>, reset_coefficient<kAddedMass>).when(has_elements),
    Row::custom(draw_coefficient<kDrag>, reset_coefficient<kDrag>).when(has_elements),
};

const TablePage kPage = {
    .header_format = "(T20,'****  Page ',A,': Salm information  ****'/)",
    .rows = kRows,
    .help = no_help,
    .help_for = HelpFor::kAnyNumber,
};

}  // namespace

void salm(Session& s, std::string_view label) { run_table(s, kPage, label); }

}  // namespace kelp
