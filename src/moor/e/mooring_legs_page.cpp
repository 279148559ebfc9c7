// Page 2 of the mooring editor, "General Mooring Information" (moorln).
#include <bit>
#include <cstdint>
#include <string>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "moor/e/mooring_layout_pages.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

int kind_of(const Session& s) { return s.tpcm.i(kProgramKind); }
int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }

// The count words and the tables they index.
int leg_limit(const Session& s) { return table_count(s.tpcm.i(kMooringLegsMax), kLegCapacity); }
int type_limit(const Session& s) { return table_count(s.tpcm.i(kLineTypesMax), kLineTypeCapacity); }

// ---- Value lines ----

// The unit after a real value: the first `chars` characters of the force
// or length label of the unit system (unitp), or a fixed text.
enum class Unit { kNone, kForce, kLength, kDegrees };

struct RealItem {
  std::string_view label;
  RealWord word;
  Unit unit = Unit::kNone;
  int chars = 0;
};

std::string unit_text(const Session& s, const RealItem& item) {
  const int units = s.tpcm.i(kUnitSystem);
  switch (item.unit) {
    case Unit::kForce: return unitp(units, 0).substr(0, static_cast<std::size_t>(item.chars));
    case Unit::kLength: return unitp(units, 7).substr(0, static_cast<std::size_t>(item.chars));
    case Unit::kDegrees: return " deg";
    case Unit::kNone: break;
  }
  return {};
}

void real_line(Session& s, PageItems& w, const RealItem& item) {
  const int n = w.custom();
  fwrite(s, w.out(), "(A57,F10.2,A)",
         {edlnot(n, item.label, kLeaderWidth), s.tpcm.r(item.word), unit_text(s, item)});
}

// Selecting a value item writes its line again, then asks for the value.
template <const RealItem& I>
constexpr Row real_row() {
  return reshown_real_row<real_line, I>();
}

constexpr RealItem kMaxLoad = {"Maximum interpolation table horizontal load", kMaxTableLoad, Unit::kForce, 12};
constexpr RealItem kMinLoad = {"Smallest nonzero horizontal load", kMinTableLoad, Unit::kForce, 12};
constexpr RealItem kFriction = {"Default bottom friction coefficient", kDefaultFriction};
constexpr RealItem kVesselDraft = {"Vessel draft", kDraft, Unit::kLength, 7};
constexpr RealItem kBuoyDraftItem = {"Buoy draft", kBuoyDraft, Unit::kLength, 7};
constexpr RealItem kTrimItem = {"Vessel trim angle", kTrim, Unit::kDegrees};
constexpr RealItem kHeelItem = {"Vessel heel angle", kHeel, Unit::kDegrees};
constexpr RealItem kAnchorDepthItem = {"Reset default Anchor depth", kDefaultAnchorDepth, Unit::kLength, 12};

// ---- Show conditions ----

bool not_kind7(const Session& s) { return kind_of(s) != 7; }
bool has_attachment(const Session& s) { return kind_of(s) == 13 || kind_of(s) == 8; }
bool kind8(const Session& s) { return kind_of(s) == 8; }
bool kind8_without_hawser(const Session& s) { return kind8(s) && s.tpcm.i(kHawserFlag) == 0; }

// ---- Header and note ----

void draw_note(Session& s, PageItems& w) {
  auto& t = s.tpcm;
  if (hawser_shown(s)) {
    t.i(kHawserLine) = t.i(kMooringLegs);
    t.i(kHawserType) = t.i(kLineTypes);
    fwrite(s, w.out(), "(' ++> NOTE: Line number ',I2,' & line type ',A1,' comprise Hawser data'/)",
           {t.i(kHawserLine), std::string(1, type_letter(t.i(kLineTypes)))});
  } else if (kind_of(s) == 14) {
    s.write_line(w.out(), " ++> NOTE: The first line type (Type \"A\") should contain ONLY tendon data");
    w.blank();
  }
}

// ---- Counts ----

struct CountItem {
  std::string_view label;  // up to the maximum
  IntWord count;
  int (*limit)(const Session&);
  IntWord copy;  // the hawser's word, which follows the count
};

std::string count_label(const Session& s, const CountItem& item) {
  return std::string(item.label) + fmt::fortran("(I3,')')", item.limit(s)).substr(0, 4);
}
template <const CountItem& I>
void draw_count(Session& s, PageItems& w) {
  count_line(w, count_label(s, I), s.tpcm.i(I.count));
}
template <const CountItem& I>
void edit_count(Session& s, int item) {
  PageItems w(s, out_of(s), item);
  draw_count<I>(s, w);
  enter_count(s, I.count, I.limit(s), out_of(s));
  s.tpcm.i(I.copy) = s.tpcm.i(I.count);
}

constexpr CountItem kLegsItem = {"Number of mooring legs (Max ", kMooringLegs, leg_limit, kHawserLine};
constexpr CountItem kTypesItem = {"Number of distinct mooring leg types (Max ", kLineTypes, type_limit, kHawserType};

constexpr int kTablePointsMax = 90;

void draw_table_size(Session& s, PageItems& w) {
  count_line(w, "Number of points in interpolation table(s)", s.tpcm.i(kInterpTableSize));
}
void edit_table_size(Session& s, int) {
  fwrite(s, out_of(s), "(1X,'Interpolation table size (Max ',I2,'): ',I3)",
         {kTablePointsMax, s.tpcm.i(kInterpTableSize)});
  enter_count(s, kInterpTableSize, kTablePointsMax, out_of(s));
}

// ---- Mean line profile ----

std::string_view profile_name(int mode) {
  switch (mode) {
    case 0: return "fairlead line angle";
    case 1: return "distance to anchor";
    case 2: return "line tension";
    case 3: return "horizontal force";
    default: return "Undefined!";
  }
}
std::string profile_value(const Session& s) {
  return std::string(" ").append(profile_name(s.tpcm.i(kProfileMode)));
}

void choose_profile(Session& s, int) {
  const int out = out_of(s);
  const int modes = kind_of(s) == 7 ? 3 : 4;
  for (;;) {
    const int reply = choose(
        s, out,
        [&] {
          clear(s, out);
          s.write_line(out, " ----  Mean Line Profile determined by:  ----");
          lines(s, out, 2);
          write_text(s, out,
                     " 1) Fairlead line angle\n"
                     " 2) Fairlead-anchor horizontal distance\n"
                     " 3) Fairlead line tension");
          if (modes == 4) s.write_line(out, " 4) Fairlead horizontal force");
        },
        [&](int item) { mrhp1a(s, item); });
    if (reply == 0) return;
    if (reply >= 1 && reply <= modes) {
      s.tpcm.i(kProfileMode) = reply - 1;
      return;
    }
  }
}

void draw_profiles(Session& s, PageItems& w) {
  w.action(std::string("Modify individual values of ").append(profile_name(s.tpcm.i(kProfileMode))));
}

void edit_profiles(Session& s, int) {
  edit_record_list(s, profile_name(s.tpcm.i(kProfileMode)), profile_value_word, kLegCapacity, s.tpcm.i(kMooringLegs),
                   s.tpcm.i(kMooringLegsMax), out_of(s));
}

// ---- The hawser or yoke of kinds 13 and 8 ----

void draw_attachment(Session& s, PageItems& w) {
  const int flag = s.tpcm.i(kHawserFlag);
  if (kind8(s)) {
    w.yes_no("Treat LAST line type/number as a hawser", flag);
  } else {
    w.text("Vessel-buoy attachment means", flag != 0 ? " hawser" : " yoke");
  }
}
void edit_attachment(Session& s, int) {
  auto& t = s.tpcm;
  toggle3(s, t.i(kHawserFlag), t.i(kBatchFlag), out_of(s), kKeyboard, "Hawser", "Yoke");
  t.i(kHawserFlagCopy) = t.i(kHawserFlag);
}

// Item 11 of kind 8: the buoy draft with a hawser, else the trim angle.
void draw_draft_or_trim(Session& s, PageItems& w) {
  real_line(s, w, kind8_without_hawser(s) ? kTrimItem : kBuoyDraftItem);
}
void edit_draft_or_trim(Session& s, int item) {
  if (kind8_without_hawser(s)) {
    real_row<kTrimItem>().edit(s, item);
  } else {
    real_row<kBuoyDraftItem>().edit(s, item);
  }
}

// ---- Anchors and bottom ----

// The per-type anchor depths and bottom flags are set for every slot up to
// the maximum leg count, not only the types in use, and never past the
// table's end.
int type_slots(const Session& s) { return table_count(s.tpcm.i(kMooringLegsMax), kLineTypeCapacity); }

void spread_anchor_depth(Session& s) {
  auto& t = s.tpcm;
  for (int type = 1; type <= type_slots(s); ++type) t.i(*anchor_depth_word(type)) = t.bits(kDefaultAnchorDepth);
}

void reset_anchor_depth(Session& s, int) {
  if (reset_default(s, "(1X,'Current default anchor depth = ',F10.2)", kDefaultAnchorDepth, out_of(s))) {
    spread_anchor_depth(s);
  }
}

// Back from individual depths to the default: every depth is replaced, so
// the user may abort first.
void edit_individual_depths(Session& s, int) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  if (t.i(kAnchorDepthsPerType) != 1) {
    toggle2(s, t.i(kAnchorDepthsPerType), t.i(kBatchFlag), out, kKeyboard);
    return;
  }
  clear(s, out);
  lines(s, out, 2);
  s.write_line(out, " ++> Warning: This action, unless aborted below, will replace all");
  s.write_line(out, "              existing anchor depths with the specified default value.");
  int reply = 0;
  abort0(s, out, kKeyboard, reply);
  if (reply == -1) return;
  t.i(kAnchorDepthsPerType) = 0;
  spread_anchor_depth(s);
}

// The bottom flag is stored inverted: 0 is the transparent bottom.
int transparent(const Session& s) { return s.tpcm.i(kDefaultBottomFlag) == 0 ? 1 : 0; }

void draw_transparent(Session& s, PageItems& w) {
  w.yes_no("Default bottom boundary is \"transparent\"", transparent(s));
}
void edit_transparent(Session& s, int) {
  auto& t = s.tpcm;
  int flag = transparent(s);
  toggle2(s, flag, t.i(kBatchFlag), out_of(s), kKeyboard);
  t.i(kDefaultBottomFlag) = flag == 0 ? 1 : 0;
  for (int type = 1; type <= type_slots(s); ++type) t.i(*bottom_flag_word(type)) = t.i(kDefaultBottomFlag);
}

void draw_individual_depths(Session& s, PageItems& w) {
  w.yes_no("Specify anchor depths individually", s.tpcm.i(kAnchorDepthsPerType));
}

// Kind 7 has neither item 4 nor any item from 9 on.
const Row kRows[] = {
    Row::line(draw_note),
    Row::custom(draw_count<kLegsItem>, edit_count<kLegsItem>),
    Row::custom(draw_count<kTypesItem>, edit_count<kTypesItem>),
    real_row<kMaxLoad>(),
    real_row<kMinLoad>().when(not_kind7),
    Row::custom(draw_table_size, edit_table_size),
    Row::text("Mean line profile determined by", profile_value, choose_profile),
    Row::custom(draw_profiles, edit_profiles),
    real_row<kFriction>(),
    Row::custom(draw_attachment, edit_attachment).when(has_attachment),
    real_row<kVesselDraft>().when(kind8),
    Row::custom(draw_draft_or_trim, edit_draft_or_trim).when(kind8),
    real_row<kHeelItem>().when(kind8_without_hawser).help(11),
    Row::gap(3),
    Row::custom(real_row<kAnchorDepthItem>().draw, reset_anchor_depth).when(not_kind7).blank(),
    Row::custom(draw_individual_depths, edit_individual_depths).when(not_kind7),
    Row::custom(draw_transparent, edit_transparent).when(not_kind7),
    Row::toggle("First buoyant element stays at or below waterline:", kBuoyantAtWaterline).when(not_kind7),
};

void header(Session& s, int out) { write_layout_header(s, out, "General Mooring Information", hawser_shown(s)); }

const TablePage kPage = {.header = header, .rows = kRows, .help = morhp1, .help_for = HelpFor::kAnyNumber};

}  // namespace

void moorln(Session& s, std::string_view label) {
  run_layout_page(s, kPage, label);
  if (s.tpcm.i(kPrintPass) != 0) edit_profiles(s, 0);
}

}  // namespace kelp
