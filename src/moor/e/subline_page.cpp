#include "moor/e/subline_page.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/array_utils.hpp"
#include "kelpkit/flag_fields.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "kelpkit/value_list.hpp"
#include "moor/e/line_materials.hpp"
#include "moor/e/subline_ops.hpp"
#include "moor/e/tendon.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

// The element shown and the page label; set again on every entry.
struct SublineWalk {
  std::string label;
  int type = 1;
  int sub = 1;
};

// The row tests and value texts of the table see the session const; the
// walk is the page's own state, so reading it through the session is safe.
const SublineWalk& walk(const Session& s) { return const_cast<Session&>(s).state<SublineWalk>(); }

int out_unit(const Session& s) { return s.tpcm.i(kOutputUnit); }
int kind_of(const Session& s) { return s.tpcm.i(kProgramKind); }

// ---- Counts of the record, held to the tables they index ----

int types_in_use(const Tpcm& r) { return table_count(r.i(kLineTypes), kLineTypeCapacity); }
// The highest type number (word 28227): the type tables end there.
int highest_type(const Tpcm& r) { return table_count(r.i(kLineTypesMax), kLineTypeCapacity); }
int sublines_of(const Tpcm& r, int t) {
  const auto w = type_sublines_word(t);
  return w ? table_count(r.i(*w), kSublineCapacity) : 0;
}
int lines_of(const Tpcm& r, int t) {
  const auto w = type_legs_word(t);
  return w ? table_count(r.i(*w), kLegCapacity) : 0;
}

// ---- Type letters ----
// Type t is the character of code 64 + t, "A" for 1; beyond type 26 the
// letters go on through the byte codes up to 64 + 150, so they are
// unsigned bytes throughout.
constexpr int kLetterBase = 64;

std::string type_letter(int t) { return std::string(1, static_cast<char>(static_cast<unsigned char>(kLetterBase + t))); }

// The type a letter names (case counts: "a" is type 33), or 0 when the
// letter is below "A" or above the letter of the highest type number.
int lettered_type(const Tpcm& r, char letter) {
  const int t = static_cast<unsigned char>(letter) - kLetterBase;
  return t >= 1 && t <= highest_type(r) ? t : 0;
}

// Digits as many as the number needs (up to three).
std::string number_text(int n) {
  const std::string_view f = n < 10 ? "(I1,$)" : n < 100 ? "(I2,$)" : "(I3,$)";
  return fmt::fortran(f, n);
}

// ---- The element shown ----

std::size_t field_word(const Session& s, ElementField f) {
  const auto& w = walk(s);
  return *element_word(f, w.sub, w.type);
}
std::size_t compliance_of(const Session& s, int k) {
  const auto& w = walk(s);
  return *compliance_word(w.sub, w.type, k);
}

bool first_subline(const Session& s) { return walk(s).sub == 1; }
bool last_subline(const Session& s) { return walk(s).sub == sublines_of(s.tpcm, walk(s).type); }

// Every type of kind 10 is a towline; in kinds 8 and 13 the hawser type is
// the one word 28540 names while the hawser is present.
bool towline_or_hawser(const Session& s) {
  const int kind = kind_of(s);
  if (kind == 10) return true;
  return (kind == 8 || kind == 13) && walk(s).type == s.tpcm.i(kHawserType) && s.tpcm.i(kHawserFlag) == 1;
}

std::string fairlead_end(const Session& s) {
  if (kind_of(s) == 10) return "tug";
  return towline_or_hawser(s) ? "buoy" : "fairlead";
}
std::string anchor_end(const Session& s) {
  if (kind_of(s) == 10) return "barge";
  return towline_or_hawser(s) ? "tanker" : "anchor";
}

std::int32_t& elastic_bits(Session& s) { return s.tpcm.i(*elastic_file_bits_word(walk(s).type)); }
bool from_file(const Session& s) { return bitval(s.tpcm.i(*elastic_file_bits_word(walk(s).type)), walk(s).sub) != 0; }
bool own_compliance(const Session& s) { return !from_file(s); }
bool not_kind7(const Session& s) { return kind_of(s) != 7; }

// Kind 7 keeps a spring-buoy buoyancy (subline 1) and a clump weight (last
// subline) per type; their tables hold the first 12 types only.
std::optional<std::size_t> buoy_item_word(const Session& s) {
  const auto& w = walk(s);
  if (kind_of(s) != 7 || sublines_of(s.tpcm, w.type) < 2) return std::nullopt;
  if (first_subline(s)) return spring_buoy_word(w.type);
  if (last_subline(s)) return clump_weight_word(w.type);
  return std::nullopt;
}
bool shows_buoy_item(const Session& s) { return buoy_item_word(s).has_value(); }

bool bottom_editable(const Session& s) { return not_kind7(s) && last_subline(s); }
bool shows_bottom(const Session& s) { return bottom_editable(s) && !towline_or_hawser(s); }
bool depth_editable(const Session& s) { return s.tpcm.i(kAnchorDepthsPerType) == 1 && last_subline(s); }
bool shows_depth(const Session& s) { return depth_editable(s) && !towline_or_hawser(s); }
bool shows_lines(const Session& s) { return first_subline(s) && kind_of(s) != 10 && types_in_use(s.tpcm) >= 1; }

// ---- Item lines ----

// The label, its dot leader cut at column 51, a blank and the value text.
constexpr std::string_view kItemFormat = "(A51,1X,A)";

std::string unit_label(const Session& s, int english) { return trimmed(unitp(s.tpcm.i(kUnitSystem), english)); }

constexpr int kForceUnit = 0;     // kips, metric tons
constexpr int kDiameterUnit = 3;  // inches, millimeters
constexpr int kWeightUnit = 5;    // lbs/foot, kgw/meter
constexpr int kLengthUnit = 7;    // feet, meters
constexpr int kPerForceUnit = 19; // k.lbs, m.ton
constexpr int kNoUnitLabel = -1;

// Weights per unit length are kept in kips (metric tons) per length unit
// and shown and typed in pounds (kilograms).
constexpr float kWeightShown = 1000.0f;
constexpr float kWeightStored = 0.001f;

std::string real_text(const Session& s, float v, int unit) {
  return fmt::fortran("(F10.2,A,$)", v, unit == kNoUnitLabel ? std::string() : unit_label(s, unit));
}

template <ElementField F, int Unit>
std::string element_text(const Session& s) {
  return real_text(s, s.tpcm.r(field_word(s, F)), Unit);
}
template <ElementField F>
void edit_element(Session& s, int) {
  edit_real(s, RealWord{field_word(s, F)}, out_unit(s));
}

template <ElementField F>
std::string weight_text(const Session& s) {
  return real_text(s, s.tpcm.r(field_word(s, F)) * kWeightShown, kWeightUnit);
}
// A reply that leaves the shown value as it was leaves the stored weight
// untouched, so a blank reply never changes it by round-off.
template <ElementField F>
void edit_weight(Session& s, int) {
  const int out = out_unit(s);
  const std::size_t word = field_word(s, F);
  const float shown = s.tpcm.r(word) * kWeightShown;
  float typed = shown;
  enterf(s, typed, out, kKeyboard);
  if (std::bit_cast<std::int32_t>(typed) != std::bit_cast<std::int32_t>(shown)) {
    store_real(s, RealWord{word}, typed * kWeightStored, out);
  }
}

void draw_type(Session& s, PageItems& w) {
  w.custom();
  const auto& at = walk(s);
  const std::string letter = type_letter(at.type);
  std::string line;
  if (kind_of(s) == 10) {
    line = "  1) Towline comprising line type " + letter + " (type " + fmt::fortran("(I1,$)", at.type) + ")";
  } else if (towline_or_hawser(s)) {
    line = "  1) Hawser comprising line type " + letter + " (type " + number_text(at.type) + ")";
  } else {
    line = "  1) Mooring leg type " + letter + " (type " + number_text(at.type) + " of " +
           number_text(types_in_use(s.tpcm)) + ")";
  }
  s.write_line(w.out(), line);
}

void select_type(Session& s, int);

void draw_subline(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(1X,' 2) Subline number: ',I2,' of ',I2)",
         {walk(s).sub, sublines_of(s.tpcm, walk(s).type)});
}

void select_subline(Session& s, int) {
  auto& at = s.state<SublineWalk>();
  int sub = at.sub;
  enteri(s, sub, out_unit(s), kKeyboard);
  maxchk(sub, sublines_of(s.tpcm, at.type));
  at.sub = std::max(sub, 1);
}

std::string composition_text(const Session& s) {
  const auto& w = walk(s);
  return "     " + s.tpcm.text(*composition_word(w.sub, w.type), kSegmentNameChars);
}

void edit_composition(Session& s, int) {
  const auto& w = walk(s);
  std::string name(kSegmentNameChars, ' ');
  entera(s, name, out_unit(s), kKeyboard);
  if (!trimmed(name).empty()) s.tpcm.set_text(*composition_word(w.sub, w.type), kSegmentNameChars, name);
}

std::string elastic_text(const Session& s) { return "       " + yesno(from_file(s) ? 1 : 0); }

void edit_elastic(Session& s, int) {
  const int out = out_unit(s);
  int flag = from_file(s) ? 1 : 0;
  toggle2(s, flag, s.tpcm.i(kBatchFlag), out, kKeyboard);
  bitset(s, elastic_bits(s), walk(s).sub, flag, out);
}

// The most (tension, elongation) pairs of one element in the database file.
constexpr int kMostStrainPairs = 30;

void draw_file_note(Session& s, PageItems& w) {
  const auto& at = walk(s);
  w.blank();
  fwrite(s, w.out(), "(5X,'[You must provide a maximum of',I3,' (tension, elongation) values for')",
         {kMostStrainPairs});
  s.write_line(w.out(), "     (type, subline) = (" + number_text(at.type) + "," + number_text(at.sub) +
                            ") in the LINE_STRAIN_DB.txt database file.]");
}

template <int K>
std::string compliance_text(const Session& s) {
  return fmt::fortran("(E10.3,' (',A,')**-',I1,$)", s.tpcm.r(compliance_of(s, K)), unit_label(s, kPerForceUnit), K);
}
template <int K>
void edit_compliance(Session& s, int) {
  edit_real(s, RealWord{compliance_of(s, K)}, out_unit(s));
}

void draw_buoy_item(Session& s, PageItems& w) {
  const std::string_view label = first_subline(s) ? "Buoyancy of spring buoy" : "Clump weight";
  w.text(label, real_text(s, s.tpcm.r(*buoy_item_word(s)), kForceUnit), kItemFormat);
}
void edit_buoy_item(Session& s, int) {
  if (const auto word = buoy_item_word(s)) edit_real(s, RealWord{*word}, out_unit(s));
}

// The bottom flag is 1 for a solid bottom; the item asks whether the bottom
// is transparent, so it shows and toggles the flag inverted.
int inverted(int flag) { return flag == 0 ? 1 : flag == 1 ? 0 : flag; }
std::int32_t& bottom_flag(Session& s) { return s.tpcm.i(*bottom_flag_word(walk(s).type)); }

std::string bottom_text(const Session& s) {
  return "       " + yesno(inverted(s.tpcm.i(*bottom_flag_word(walk(s).type))));
}
void edit_bottom(Session& s, int) {
  int transparent = inverted(bottom_flag(s));
  toggle2(s, transparent, s.tpcm.i(kBatchFlag), out_unit(s), kKeyboard);
  bottom_flag(s) = inverted(transparent);
}

std::string depth_text(const Session& s) {
  return real_text(s, s.tpcm.r(*anchor_depth_word(walk(s).type)), kLengthUnit);
}
void edit_depth(Session& s, int) { edit_real(s, RealWord{*anchor_depth_word(walk(s).type)}, out_unit(s)); }

// ---- Item 20: the line numbers of the type ----

constexpr int kNumbersPerRow = 16;

void draw_lines(Session& s, PageItems& w) {
  w.custom();
  const int type = walk(s).type;
  const int n = lines_of(s.tpcm, type);
  std::vector<fmt::Item> row = {type_letter(type)};
  std::string_view format = "(1X,'20) Type ',A,' line numbers: ',16(I3,','))";
  for (int k = 1; k <= n; ++k) {
    row.emplace_back(s.tpcm.i(*type_line_word(type, k)));
    if (k % kNumbersPerRow == 0 || k == n) {
      fwrite(s, w.out(), format, row);
      row.clear();
      format = "(26X,16(I3,','))";
    }
  }
  if (n == 0) fwrite(s, w.out(), format, row);
}

// The numbers go through a real list for the value-list editor. Its count
// stays as it is; the list is as long as the highest type number allows
// (at most 150). Only the entries the editor changed are copied back, so an
// untouched number keeps every bit.
void edit_lines(Session& s, int) {
  auto& r = s.tpcm;
  const int type = walk(s).type;
  const int most = highest_type(r);
  const auto size = static_cast<std::size_t>(most);
  std::vector<std::int32_t> numbers(size);
  for (std::size_t k = 0; k < size; ++k) numbers[k] = r.i(*type_line_word(type, static_cast<int>(k) + 1));
  std::vector<float> list(size);
  fillup(numbers, list, 1, most);
  const std::vector<float> before = list;
  autorp(s, "--- Lines associated with this line type ---", list, lines_of(r, type), most, out_unit(s), kKeyboard,
         r.i(kPrintPass));
  fillup(numbers, list, -1, most);
  for (std::size_t k = 0; k < size; ++k) {
    if (std::bit_cast<std::int32_t>(list[k]) != std::bit_cast<std::int32_t>(before[k])) {
      r.i(*type_line_word(type, static_cast<int>(k) + 1)) = numbers[k];
    }
  }
}

void open_helpus(Session& s, int) { helpus(s, walk(s).sub, walk(s).type); }

// ---- The page ----

void header(Session& s, int out) {
  const auto& w = walk(s);
  if (s.tpcm.i(kPrintPass) == 0) clear(s, out);
  fwrite(s, out,
         "(T17,' ****** Page ',A,A,':  Subline Specifics *****'/"
         "T10,' (\"C\", \"D\", \"I\", \"X\" to Copy, Delete, Insert, Exchange)'/)",
         {w.label, type_letter(w.type)});
  if (kind_of(s) == 14 && w.type == 1) s.write_line(out, " ---> Elements of this type reserved for TENDON data only");
  if (first_subline(s)) s.write_line(out, " ---> Subline attached to " + fairlead_end(s));
  if (last_subline(s)) s.write_line(out, " ---> Subline attached to " + anchor_end(s));
}

constexpr Row element_row(std::string_view label, RowText value, RowEdit edit) {
  return Row::text(label, value, edit).format(kItemFormat);
}

const Row kRows[] = {
    Row::custom(draw_type, select_type),
    Row::custom(draw_subline, select_subline).blank_after(),
    element_row("Subline composition", composition_text, edit_composition),
    element_row("Subline length", element_text<ElementField::kLength, kLengthUnit>,
                edit_element<ElementField::kLength>),
    element_row("Subline outside diameter", element_text<ElementField::kDiameter, kDiameterUnit>,
                edit_element<ElementField::kDiameter>),
    element_row("Immersed weight/unit length", weight_text<ElementField::kImmersedWeight>,
                edit_weight<ElementField::kImmersedWeight>),
    element_row("Dry weight/unit length", weight_text<ElementField::kDryWeight>, edit_weight<ElementField::kDryWeight>)
        .when(not_kind7),
    element_row("Breaking strength", element_text<ElementField::kBreakingStrength, kForceUnit>,
                edit_element<ElementField::kBreakingStrength>),
    element_row("Added mass coefficient", element_text<ElementField::kAddedMass, kNoUnitLabel>,
                edit_element<ElementField::kAddedMass>)
        .when(not_kind7),
    element_row("Transverse drag coefficient", element_text<ElementField::kDrag, kNoUnitLabel>,
                edit_element<ElementField::kDrag>)
        .when(not_kind7),
    element_row("Take elastic properties from an input file?", elastic_text, edit_elastic).when(not_kind7).blank(),
    Row::line(draw_file_note).when(from_file),
    element_row("Compliance coefficient #1  (alpha1)", compliance_text<1>, edit_compliance<1>).when(own_compliance),
    element_row("Compliance coefficient #2  (alpha2)", compliance_text<2>, edit_compliance<2>).when(own_compliance),
    element_row("Compliance coefficient #3  (alpha3)", compliance_text<3>, edit_compliance<3>).when(own_compliance),
    Row::custom(draw_buoy_item, edit_buoy_item).when(shows_buoy_item).blank(),
    element_row("Bottom is transparent to mooring line", bottom_text, edit_bottom)
        .when(shows_bottom)
        .accept_when(bottom_editable)
        .blank(),
    element_row("Anchor depth for this leg type", depth_text, edit_depth).when(shows_depth).accept_when(depth_editable),
    Row::gap(2),
    Row::custom(draw_lines, edit_lines).when(shows_lines).blank(),
    Row::action(">> HELP << for subline physical property estimates ", open_helpus).blank(),
};

const TablePage kPage = {.header = header, .rows = kRows, .help = linhlp, .help_for = HelpFor::kAnyNumber};

// ---- Item 1: choosing the type ----

void select_type(Session& s, int) {
  auto& r = s.tpcm;
  auto& at = s.state<SublineWalk>();
  const int n = types_in_use(r);
  if (n <= 1) return;
  const int out = out_unit(s);
  fwrite(s, out, "(1X,' 1) Line type ',A,' (type ',I3,' of ',I3,')')", {type_letter(at.type), at.type, n});
  for (;;) {
    wrtlin(s, "    Enter new type (case sensitive letter *or* number): ", out);
    int blank = 0;
    char letter = ' ';
    int number = 0;
    read_type(s, blank, letter, number, kKeyboard);
    if (blank == 1) return;
    if (number != 0) {
      if (number > n) return;
      at.type = number;
    } else {
      int t = lettered_type(r, letter);
      if (t == 0) continue;
      maxchk(t, n);
      at.type = t;
    }
    at.sub = 1;
    return;
  }
}

// ---- The table commands ----

// A reply to the element questions that ends the command; a blank reply
// leaves it as it is and so ends the command too.
constexpr int kAbortReply = 99;
constexpr int kCopyAllReply = 101;

// The other type of "C" and "X": type 1 without a question when only one
// type is in use; 0 when the command ends (a blank reply, or for "C" a
// number above the types in use).
int other_type(Session& s, std::string_view prompt, bool too_high_ends) {
  const auto& r = s.tpcm;
  const int n = types_in_use(r);
  if (n == 1) return 1;
  for (;;) {
    wrtlin(s, prompt, out_unit(s));
    int blank = 0;
    char letter = ' ';
    int number = 0;
    read_type(s, blank, letter, number, kKeyboard);
    if (blank == 1) return 0;
    if (number != 0) {
      if (number <= n) return number;
      if (too_high_ends) return 0;
      continue;
    }
    const int t = lettered_type(r, letter);
    if (t >= 1 && t <= n) return t;
  }
}

// An element number from 1 to `count`, or 0 when the reply is 99 (or
// blank); `also` is one more reply accepted as it is.
int element_number(Session& s, std::string_view prompt, int count, int also = 0) {
  for (;;) {
    wrtlin(s, prompt, out_unit(s));
    int reply = kAbortReply;
    int after_letter = 0;
    readi(s, reply, kKeyboard, after_letter);
    if (reply == kAbortReply) return 0;
    if ((reply >= 1 && reply <= count) || (also != 0 && reply == also)) return reply;
  }
}

// "E" or "T" (a letter answer upper-cased): the scope of "D", "I" and
// "X"; another letter as it is; '\0' when the command ends on a blank reply.
char scope(Session& s, std::string_view prompt) {
  for (;;) {
    wrtlin(s, prompt, out_unit(s));
    int blank = 0;
    char letter = ' ';
    int number = 0;
    read_type(s, blank, letter, number, kKeyboard);
    if (blank == 1) return '\0';
    int kind = 0;
    upcase(letter, kind);
    if (number == 0 && kind == 0) return letter;
  }
}

void refuse(Session& s, std::string_view message) {
  const int out = out_unit(s);
  s.write_line(out, message);
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
}

// All 25 slots of type `from` onto type `to`, and the clearing of a type.
void copy_type(Tpcm& r, int to, int from) {
  for (int k = 1; k <= kSublineCapacity; ++k) copy_subline(r, k, k, to, from);
}
void clear_type(Tpcm& r, int t) {
  for (int k = 1; k <= kSublineCapacity; ++k) clrdat(r, k, t);
}

void copy_command(Session& s) {
  auto& r = s.tpcm;
  const auto& at = walk(s);
  const int out = out_unit(s);
  const int from = other_type(s, "Copy data from which type?: ", true);
  if (from == 0) return;
  const int ns = sublines_of(r, from);
  if (ns < 2) {
    copy_subline(r, at.sub, 1, at.type, from);
    return;
  }
  s.write_line(out, " Copy data from which element number?");
  const int e = element_number(s, "(99 to abort; 101 to copy all elements): ", ns, kCopyAllReply);
  if (e == 0) return;
  if (e != kCopyAllReply) {
    copy_subline(r, at.sub, e, at.type, from);
    return;
  }
  // The destination's further sublines are not the source's to fill: only
  // as many sublines as both types have are copied.
  const int nd = sublines_of(r, at.type);
  if (nd < ns) {
    fwrite(s, out,
           "(' >>> More elements in source Type (',I2,') than destination Type (',I2,').'/"
           "'     Only the first ',I2,' Elements will be copied...')",
           {ns, nd, nd});
    int reply = 0;
    prsret(s, out, kKeyboard, reply);
  }
  for (int k = 1; k <= std::min(nd, ns); ++k) copy_subline(r, k, k, at.type, from);
}

void delete_command(Session& s) {
  auto& r = s.tpcm;
  const auto& at = walk(s);
  const char what = scope(s, "Delete this \"E\"lement or all elements of this \"T\"ype?: ");
  if (what == 'E') {
    for (int k = at.sub; k < kSublineCapacity; ++k) copy_subline(r, k, k + 1, at.type, at.type);
    clrdat(r, kSublineCapacity, at.type);
  } else if (what == 'T') {
    const int last = std::max(highest_type(r), at.type);
    for (int t = at.type; t < last; ++t) copy_type(r, t, t + 1);
    clear_type(r, last);
  }
}

// An insert moves the last slot out of its table, so it is refused while
// that slot is in use.
void insert_command(Session& s) {
  auto& r = s.tpcm;
  const auto& at = walk(s);
  const char what = scope(s, "Insert a single \"E\"lement or an entire \"T\"ype?: ");
  if (what == 'E') {
    if (sublines_of(r, at.type) >= kSublineCapacity) {
      refuse(s, " ++> All 25 sublines of this type are in use; nothing is inserted.");
      return;
    }
    for (int k = kSublineCapacity - 1; k >= at.sub; --k) copy_subline(r, k + 1, k, at.type, at.type);
    clrdat(r, at.sub, at.type);
  } else if (what == 'T') {
    const int last = highest_type(r);
    if (types_in_use(r) >= last) {
      refuse(s, " ++> Every line type number is in use; nothing is inserted.");
      return;
    }
    for (int t = last - 1; t >= at.type; --t) copy_type(r, t + 1, t);
    clear_type(r, at.type);
  }
}

void exchange_command(Session& s) {
  auto& r = s.tpcm;
  const auto& at = walk(s);
  const char what = scope(s, "Exchange a single \"E\"lement or an entire \"T\"ype?: ");
  if (what != 'E' && what != 'T') return;
  const int other = other_type(s, "Exchange data with which type?: ", false);
  if (other == 0) return;
  if (what == 'T') {
    for (int k = 1; k <= kSublineCapacity; ++k) swap_subline(r, k, k, at.type, other);
    return;
  }
  int e = 1;
  const int count = sublines_of(r, other);
  if (count >= 2) {
    e = element_number(s, "Exchange with which element number? (99 to abort): ", count);
    if (e == 0) return;
  }
  swap_subline(r, at.sub, e, at.type, other);
}

// ---- The walk ----

// Subline 1 of the first type from t on that has sublines; false when no
// type is left.
bool first_from(const Tpcm& r, SublineWalk& w, int t) {
  for (; t <= types_in_use(r); ++t) {
    if (sublines_of(r, t) > 0) {
      w.type = t;
      w.sub = 1;
      return true;
    }
  }
  return false;
}

bool next_element(const Tpcm& r, SublineWalk& w) {
  if (w.sub < sublines_of(r, w.type)) {
    ++w.sub;
    return true;
  }
  return first_from(r, w, w.type + 1);
}

// The subline before, or the last subline of the nearest earlier type that
// has sublines; false from the first element.
bool previous_element(const Tpcm& r, SublineWalk& w) {
  if (w.sub > 1) {
    --w.sub;
    return true;
  }
  for (int t = w.type - 1; t >= 1; --t) {
    if (const int n = sublines_of(r, t); n > 0) {
      w.type = t;
      w.sub = n;
      return true;
    }
  }
  return false;
}

// ---- The help facility ----

// Stores a value the calculator left when it differs from the word's.
void store_changed(Session& s, std::size_t word, float value) {
  if (std::bit_cast<std::int32_t>(value) != s.tpcm.i(word)) store_real(s, s.tpcm.i(word), value, out_unit(s));
}

// One run of the calculator on the element: its result goes into `into`
// (none for the compliance estimate, whose result is discarded), the
// coefficients it leaves into the element's compliance.
void calculate(Session& s, int sub, int type, int mode, std::optional<ElementField> into) {
  auto& r = s.tpcm;
  const std::size_t result_word = into ? *element_word(*into, sub, type) : 0;
  float result = into ? r.r(result_word) : 0.0f;
  std::array<float, 3> coeff{};
  for (int k = 1; k <= 3; ++k) coeff[static_cast<std::size_t>(k - 1)] = r.r(*compliance_word(sub, type, k));
  help_materials(s, result, coeff, r.i(kUnitSystem), r.r(*element_word(ElementField::kDiameter, sub, type)), mode,
                 out_unit(s), kKeyboard);
  if (into) store_changed(s, result_word, result);
  for (int k = 1; k <= 3; ++k) store_changed(s, *compliance_word(sub, type, k), coeff[static_cast<std::size_t>(k - 1)]);
}

void taut_fairlead_length(Session& s, int type) {
  const int out = out_unit(s);
  clear(s, out);
  lines(s, out, 2);
  write_text(s, out,
             " ++> The requested computation REQUIRES the following data:\n"
             "\n"
             "     1. Submerged weights for ALL sublines of this type\n"
             "     2. Elastic coefficients for ALL sublines of this type\n"
             "     3. Fairlead heights for fairleads of this type\n"
             "     4. Line pretensions for lines of this type\n"
             "     5. Anchor depth for this line type\n"
             "     6. Line numbers corresponding to lines of this type\n"
             "\n"
             " The calculation will fail if any data is missing or incorrect.");
  int reply = 0;
  abort0(s, out, kKeyboard, reply);
  if (reply == -1) return;
  tendndp(s, type);
}

}  // namespace

void oneleg(Session& s, std::string_view label) {
  auto& r = s.tpcm;
  auto& w = s.state<SublineWalk>();
  w = SublineWalk{std::string(label), 1, 1};
  r.i(kNavCode) = 0;
  if (!first_from(r, w, 1)) return;
  for (;;) {
    run_table(s, kPage, label);
    switch (r.i(kNavCode)) {
      case 0:
        if (!next_element(r, w)) return;
        break;
      case kNavBack:
        if (!previous_element(r, w)) return;
        break;
      case kNavKeys:
      case kNavTableM:
        break;
      case kNavTableC: copy_command(s); break;
      case kNavTableD: delete_command(s); break;
      case kNavTableI: insert_command(s); break;
      case kNavTableX: exchange_command(s); break;
      default:
        return;
    }
  }
}

void helpus(Session& s, int sub, int type) {
  const auto& r = s.tpcm;
  const int out = out_unit(s);
  const auto diameter = element_word(ElementField::kDiameter, sub, type);
  if (!diameter) return;
  const auto title = [&] {
    clear(s, out);
    lines(s, out, 1);
    s.write_line(out, " ****  Simulation Help Facility  ****");
    lines(s, out, 1);
  };
  if (!(r.r(*diameter) > 0.0f)) {
    title();
    s.write_line(out, " ++> Subline diameter must be input to obtain help.");
    int reply = 0;
    prsret(s, out, kKeyboard, reply);
    return;
  }
  const bool taut = kind_of(s) != 7;
  for (;;) {
    const int choice = choose(
        s, out,
        [&] {
          title();
          write_text(s, out,
                     " 1) HELP with submerged weight per unit length...\n"
                     " 2) HELP with breaking strength...\n"
                     " 3) HELP with compliance coefficients...\n"
                     " 4) HELP with dry weight per unit length...");
          if (taut) s.write_line(out, " 5) Fairlead subline length for specified tautwire tension...");
        },
        [&](int item) { mtlhlp(s, item); });
    switch (choice) {
      case 1: calculate(s, sub, type, kEstimateSubmergedWeight, ElementField::kImmersedWeight); break;
      case 2: calculate(s, sub, type, kEstimateStrength, ElementField::kBreakingStrength); break;
      case 3: calculate(s, sub, type, kEstimateCompliance, std::nullopt); break;
      case 4: calculate(s, sub, type, kEstimateDryWeight, ElementField::kDryWeight); break;
      case 5:
        if (taut) taut_fairlead_length(s, type);
        break;
      default:
        if (choice <= 0) return;
        break;
    }
  }
}

}  // namespace kelp
