#include "salm/e/salm2b.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pages/sea_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/nohelp.hpp"
#include "kelpkit/record_words.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

// The element the sub-pages show, kept from one visit of the page to the
// next.
struct ElementWalk {
  int n = 1;
};

constexpr std::string_view kHeader = "( T18,'****  Page ',A,': More Salm information  ****'/)";
constexpr int kFreeSalm = -1;  // word 775: no vessel attached
constexpr int kYoke = 0;
constexpr int kPendularMass = 3;
constexpr int kMainItems = 15;
constexpr int kAttachmentItems = 3;
// Codes of the element sub-pages that the page handles itself.
constexpr int kNextElement = 0;
constexpr int kToMainPage = -2;
constexpr int kNextPage = 1;

int out_unit(const Session& s) { return s.tpcm.i(kOutputUnit); }
int ask(const Session& s) { return s.tpcm.i(kBatchFlag); }
bool print_pass(const Session& s) { return s.tpcm.i(kPrintPass) != 0; }

// The element count of the record, held to the element tables.
int element_count(const Tpcm& t) { return std::clamp(t.i(kElementCount), 0, kMaxSalmElements); }
// The rows of the auxiliary tables: word 1914 held to their 90 rows.
int aux_rows(const Tpcm& t) { return std::clamp(t.i(kInterpTableSize), 0, kAuxTableRows); }
bool lateral_on(const Tpcm& t) { return t.i(kAuxLateralTableOn) == 1; }
bool yaw_on(const Tpcm& t) { return t.i(kAuxYawTableOn) != 0; }
bool free_salm(const Tpcm& t) { return t.i(kHawserFlag) == kFreeSalm; }

// The label, a blank and dots up to column width - 1, and a blank: the value
// starts in column width + 1.
std::string leader(std::string_view label, int width) {
  std::string line(label);
  line += ' ';
  const int dots = width - static_cast<int>(label.size()) - 2;
  if (dots > 0) line.append(static_cast<std::size_t>(dots), '.');
  line += ' ';
  return line;
}
constexpr int kMainLeader = 50;
constexpr int kElementLeader = 43;

// "nn) label", the number in two columns.
std::string numbered(int item, std::string_view label) {
  return fmt::fortran("(I2,') ',A,$)", item, std::string(label));
}

void page_top(Session& s, std::string_view label, int out) {
  if (!print_pass(s)) clear(s, out);
  fwrite(s, out, kHeader, {std::string(label)});
}

// Unit labels: force (kips, metric tons) and length (feet, meters).
std::string force_label(const Tpcm& t) { return trimmed(unitp(t.i(kUnitSystem), 0)); }
std::string length_label(const Tpcm& t) { return trimmed(unitp(t.i(kUnitSystem), 7)); }

void real_line(Session& s, int out, const std::string& start, float v, std::string_view unit = {}) {
  s.write_line(out, start + fmt::fortran("(F10.2,$)", v) + std::string(unit));
}

// ---- The main page ----

// The submergence options of word 2002; the number in front is word 2002 + 2.
struct Submergence {
  std::string_view first, second;
};
constexpr std::array<Submergence, 7> kSubmergence = {{
    {"   2)  No above-water \"submergence\" for dynamics OR statics:",
     "\"DRY\" buoy top, \"DRY yoke\", <<FULL>> dynamic waterplane correction"},
    {"   3)  Total system \"submergence\" for dynamics only: ",
     "\"WET\" buoy top, \"WET yoke\",  <<NO>>  dynamic waterplane correction"},
    {"   4)  Partial system \"submergence\" for dynamics only: ",
     "\"WET\" buoy top, \"WET yoke\", <<FULL>> dynamic waterplane correction"},
    {"   5)  Partial system \"submergence\" for dynamics only: ",
     "\"DRY\" buoy top, \"WET yoke\", <<FULL>> dynamic waterplane correction"},
    {"   6)  Partial system \"submergence\" for dynamics only: ",
     "\"DRY\" buoy top, \"WET yoke\",  <<NO>>  dynamic waterplane correction"},
    {"   7)  Total system \"submergence\" for dynamics AND statics as follows: ",
     "\"WET\" buoy top, \"WET yoke\",  <<NO>>  dynamic waterplane correction"},
    {"   8)  Total system \"submergence\" for dynamics AND statics as follows:",
     "\"WET\" buoy top, \"WET yoke\", <<FULL>> dynamic waterplane correction"},
}};

// One row per option, as the descriptions above: the submergence in
// dynamics and in statics, a dry or wet buoy top and yoke, and whether the
// dynamic waterplane correction is applied in full.
constexpr std::array<std::string_view, 12> kSubmergenceMap = {
    " ********* Buoy Top/Yoke Submergence Options Map   *********",
    " *        |  \"Submergence\" in   |Buoy top |  Yoke   | Wpl. *",
    " * Option | Dynamics   Statics  |Dry  Wet |Dry  Wet |corr. *",
    " *--------+---------------------+---------+---------+------*",
    " *   2)   |   None       None   | X       | X       | FULL *",
    " *   3)   |  Total       None   |      X  |      X  |  NO  *",
    " *   4)   | Partial      None   |      X  |      X  | FULL *",
    " *   5)   | Partial      None   | X       |      X  | FULL *",
    " *   6)   | Partial      None   | X       |      X  |  NO  *",
    " *   7)   |  Total      Total   |      X  |      X  |  NO  *",
    " *   8)   |  Total      Total   |      X  |      X  | FULL *",
    " ***********************************************************",
};
constexpr int kFirstOption = 2;  // the menu number of option 0
constexpr int kLastOption = static_cast<int>(kSubmergence.size()) - 1;

// The map and the choice: a reply above 1 picks option reply - 2 (held to
// the table); any other reply keeps the option.
void choose_submergence(Session& s) {
  const int out = out_unit(s);
  clear(s, out);
  lines(s, out, 1);
  for (std::string_view row : kSubmergenceMap) s.write_line(out, row);
  lines(s, out, 1);
  int reply = 0;
  enteri(s, reply, out, kKeyboard);
  if (reply < kFirstOption) return;
  int option = reply - kFirstOption;
  maxchk(option, kLastOption);
  s.tpcm.i(kSubmergenceOption) = option;
}

void edit_aux_table(Session& s, std::string_view title, RealWord first) {
  edit_word_list(s, title, first, aux_rows(s.tpcm), kAuxTableRows);
}
constexpr std::string_view kLateralTitle = " --> Input Auxiliary Lateral Offset Force";
constexpr std::string_view kYawTitle = " --> Input Auxiliary Yaw Offset Torque";

void draw_main(Session& s, std::string_view label, PageItems& w) {
  const Tpcm& t = s.tpcm;
  const int out = w.out();
  const int count = element_count(t);
  page_top(s, label, out);
  // Items 1 to 9 open the map (2 to 9 are its menu numbers), only when
  // there are elements.
  w.hidden(count != 0);
  s.write_line(out, " 1) Change statics/dynamics \"submergence\" option, currently:");
  // A stored option outside the table has no description; it is kept.
  const int option = t.i(kSubmergenceOption);
  if (option >= 0 && option <= kLastOption) {
    const Submergence& d = kSubmergence[static_cast<std::size_t>(option)];
    lines(s, out, 1);
    s.write_line(out, d.first);
    s.write_line(out, "       " + std::string(d.second));
  }
  for (int k = 2; k <= 9; ++k) w.hidden(count != 0);
  lines(s, out, 1);
  w.custom();
  s.write_line(out, leader("10) Specify auxiliary lateral offset table", kMainLeader) + yesno(t.i(kAuxLateralTableOn)));
  if (lateral_on(t)) {
    w.custom();
    s.write_line(out, "11) Input new auxiliary static offset table");
  } else {
    w.hidden();
  }
  w.custom();
  s.write_line(out, leader("12) Specify auxiliary yaw offset table", kMainLeader) + yesno(t.i(kAuxYawTableOn)));
  if (yaw_on(t)) {
    w.custom();
    real_line(s, out, leader("13) Equilibrium yaw angle (deg)", kMainLeader), t.r(kAuxEquilibriumYaw));
    w.custom();
    real_line(s, out, leader("14) Yaw increment to use in yaw table (deg)", kMainLeader), t.r(kAuxYawIncrement));
    w.custom();
    s.write_line(out, "15) Input new auxiliary yaw offset table");
  } else {
    for (int k = 13; k <= kMainItems; ++k) w.hidden();
  }
  if (count != 0) {
    fwrite(s, out, "(/' Note: the next ',I2,' pages consist of individual Salm element information.')", {count});
  }
}

void edit_main(Session& s, int item) {
  Tpcm& t = s.tpcm;
  const int out = out_unit(s);
  switch (item) {
    case 10:
      toggle2(s, t.i(kAuxLateralTableOn), ask(s), out, kKeyboard);
      break;
    case 11:
      edit_aux_table(s, kLateralTitle, kAuxLateralForces);
      break;
    case 12:
      toggle2(s, t.i(kAuxYawTableOn), ask(s), out, kKeyboard);
      break;
    case 13:
      edit_real(s, kAuxEquilibriumYaw, out);
      break;
    case 14:
      edit_real(s, kAuxYawIncrement, out);
      break;
    case 15:
      edit_aux_table(s, kYawTitle, kAuxYawTorques);
      break;
    default:  // 1 to 9
      choose_submergence(s);
      break;
  }
}

void no_help(Session& s) {
  int reply = 0;
  nohelp(s, out_unit(s), kKeyboard, reply);
}

// ---- The element sub-pages ----

// The fields an element carries, copied and moved together; element n at
// the first word + n - 1.
constexpr std::array<std::size_t, 10> kElementFields = {
    kElementLengths.n, kElementAddedMassTable.n, kElementDragTable.n, kElementVolumes.n,
    kElementCentroids.n, kElementWeights.n, kElementGravityCentres.n, kElementJoints.n,
    kElementSpare.n, kElementGyradii.n};

std::size_t element_word(std::size_t first, int n) { return first + static_cast<std::size_t>(n - 1); }
bool valid_element(int n) { return n >= 1 && n <= kMaxSalmElements; }

void copy_element(Tpcm& t, int to, int from) {
  if (!valid_element(to) || !valid_element(from)) return;
  for (std::size_t f : kElementFields) t.i(element_word(f, to)) = t.i(element_word(f, from));
}

void clear_element(Tpcm& t, int n) {
  if (!valid_element(n)) return;
  for (std::size_t f : kElementFields) t.i(element_word(f, n)) = 0;
}

// Elements n+1..40 move down one; element 40, which nothing moves into, is
// cleared.
void delete_element(Tpcm& t, int n) {
  if (!valid_element(n)) return;
  for (int k = n; k < kMaxSalmElements; ++k) copy_element(t, k, k + 1);
  clear_element(t, kMaxSalmElements);
}

// Elements n..39 move up one (element 40 is lost) and element n is cleared.
void insert_element(Tpcm& t, int n) {
  if (!valid_element(n)) return;
  for (int k = kMaxSalmElements; k > n; --k) copy_element(t, k, k - 1);
  clear_element(t, n);
}

// A value item of the element sub-page: label, the first word of its table
// and its unit label.
enum class Unit { kNone, kLength, kVolume, kForce };
struct ElementValue {
  int item;
  std::string_view label;
  RealWord first;
  Unit unit;
};
constexpr std::array<ElementValue, 8> kElementValues = {{
    {2, "Length of element", kElementLengths, Unit::kLength},
    {3, "Total volume of element", kElementVolumes, Unit::kVolume},
    {4, "Centroid of volume above lower end", kElementCentroids, Unit::kLength},
    {5, "Total dry weight of element", kElementWeights, Unit::kForce},
    {6, "Center of gravity above lower end", kElementGravityCentres, Unit::kLength},
    {8, "Gyradius of element", kElementGyradii, Unit::kLength},
    {9, "Added mass coefficient", kElementAddedMassTable, Unit::kNone},
    {10, "Effective drag coefficient", kElementDragTable, Unit::kNone},
}};

const ElementValue* element_value(int item) {
  for (const ElementValue& v : kElementValues) {
    if (v.item == item) return &v;
  }
  return nullptr;
}

std::string unit_text(const Tpcm& t, Unit u) {
  switch (u) {
    case Unit::kLength:
      return length_label(t);
    case Unit::kVolume:
      return " cubic" + length_label(t);
    case Unit::kForce:
      return force_label(t);
    case Unit::kNone:
      break;
  }
  return {};
}

void value_line(Session& s, int out, const ElementValue& v, int n) {
  const RealWord word{element_word(v.first.n, n)};
  real_line(s, out, leader(numbered(v.item, v.label), kElementLeader), s.tpcm.r(word), unit_text(s.tpcm, v.unit));
}

IntWord joint_word(int n) { return IntWord{element_word(kElementJoints.n, n)}; }
IntWord moment_word(int n) { return IntWord{element_word(kElementMomentFlags.n, n)}; }

// The attachment types of word 775 from -1 (Free Salm) on.
constexpr std::array<std::string_view, 6> kAttachmentNames = {"Free Salm",     "Yoke",          "Rigid hawser",
                                                              "Buoyant riser", "Pendular mass", "Spread moor"};
std::string attachment_name(int type) {
  const int k = type - kFreeSalm;
  if (k < 0 || k >= static_cast<int>(kAttachmentNames.size())) return {};
  return std::string(kAttachmentNames[static_cast<std::size_t>(k)]);
}

void draw_element(Session& s, std::string_view label, int n, PageItems& w) {
  const Tpcm& t = s.tpcm;
  const int out = w.out();
  const int count = element_count(t);
  const bool last = n == count;
  page_top(s, label, out);
  if (n == 1) s.write_line(out, " --- Element attached to anchor ---");
  if (last) s.write_line(out, free_salm(t) ? " --- Topmost element ---" : " --- Element attached to vessel ---");
  if (n == t.i(kPiercingElement)) s.write_line(out, " --- Element that pierces water ---");
  lines(s, out, 1);
  w.custom();
  fwrite(s, out, "(' 1) Element number: ',I2,' of ',I2)", {n, count});
  for (int item = 2; item <= 10; ++item) {
    w.custom();
    if (const ElementValue* v = element_value(item)) {
      value_line(s, out, *v, n);
    } else {
      s.write_line(out, leader(" 7) Constraint at lower joint", kElementLeader) +
                            (t.i(joint_word(n)) != 0 ? "free to rotate" : "frozen"));
    }
  }
  w.custom();
  s.write_line(out, "11) Compute bending moment at top of element: " + yesno(t.i(moment_word(n))));
  lines(s, out, 1);
  w.custom();
  s.write_line(out, "12) Copy another element, Delete or Insert an element");
  if (last) {
    w.custom();
    s.write_line(out, leader("13) Type of attachment to vessel", kElementLeader) + attachment_name(t.i(kHawserFlag)));
  } else {
    w.hidden();
  }
  if (last && !free_salm(t)) {
    w.custom();
    s.write_line(out, "14) Modify vessel attachment specifics");
  } else {
    w.hidden(!free_salm(t));
  }
}

// The copy, delete and insert of item 12 and of the commands "C", "D", "I".
void table_command(Session& s, int code, int n) {
  Tpcm& t = s.tpcm;
  if (code == kNavTableC) {
    wrtlin(s, "Copy data from which element? : ", out_unit(s));
    int from = 0;
    int scratch = 0;
    readi(s, from, kKeyboard, scratch);
    maxchk(from, element_count(t));
    if (from != 0) copy_element(t, n, from);
  } else if (code == kNavTableD) {
    delete_element(t, n);
  } else if (code == kNavTableI) {
    insert_element(t, n);
  }
}

void choose_command(Session& s, int n) {
  wrtlin(s, "(C)opy, (D)elete, or (I)nsert? : ", out_unit(s));
  char ch = ' ';
  readc(s, ch, kKeyboard);
  int kind = 0;
  upcase(ch, kind);
  const int code = ch == 'C' ? kNavTableC : ch == 'D' ? kNavTableD : ch == 'I' ? kNavTableI : 0;
  table_command(s, code, n);
}

void choose_attachment(Session& s) {
  const int out = out_unit(s);
  clear(s, out);
  lines(s, out, 1);
  s.write_line(out, " ----  Type of attachment to vessel:  ----");
  lines(s, out, 1);
  for (std::size_t k = 0; k < kAttachmentNames.size(); ++k) {
    static constexpr std::array<std::string_view, 6> kMenu = {" 1) Free Salm",     " 2) Yoke",
                                                              " 3) Rigid Hawser",  " 4) Buoyant Riser",
                                                              " 5) Pendular Mass", " 6) Spread Moor"};
    s.write_line(out, kMenu[k]);
  }
  lines(s, out, 1);
  int reply = 0;
  enteri(s, reply, out, kKeyboard);
  maxchk(reply, static_cast<int>(kAttachmentNames.size()));
  if (reply != 0) s.tpcm.i(kHawserFlag) = reply - 2;
}

// ---- The attachment sub-page ----

bool has_separation(const Tpcm& t) { return t.i(kHawserFlag) == kYoke || t.i(kHawserFlag) == kPendularMass; }

struct AttachmentValue {
  std::string_view line;
  RealWord word;
};
constexpr std::array<AttachmentValue, 3> kAttachmentValues = {{
    {" 1) Yoke to waterline height at vessel", kYokeHeight},
    {" 2) X-Coordinate of Salm attachment", kTurretX},
    {" 3) Separation of attachment points", kAttachmentSeparation},
}};

void attachment_line(Session& s, int out, int item) {
  const AttachmentValue& v = kAttachmentValues[static_cast<std::size_t>(item - 1)];
  real_line(s, out, leader(v.line, kElementLeader), s.tpcm.r(v.word), length_label(s.tpcm));
}

PageHooks attachment_page(Session& s, std::string_view label) {
  PageHooks p;
  p.draw = [&s, label](PageItems& w) {
    page_top(s, label, w.out());
    for (int item = 1; item <= kAttachmentItems; ++item) {
      if (item == kAttachmentItems && !has_separation(s.tpcm)) {
        w.hidden();
        continue;
      }
      w.custom();
      attachment_line(s, w.out(), item);
    }
  };
  p.edit = [&s](int item) {
    const int out = out_unit(s);
    attachment_line(s, out, item);
    edit_real(s, kAttachmentValues[static_cast<std::size_t>(item - 1)].word, out);
  };
  p.help = [&s](int) { no_help(s); };
  p.help_for = HelpFor::kAnyNumber;
  p.above_last = AboveLast::kLeave;
  return p;
}

// Runs the attachment sub-page; a code below 0 ends the element sub-page
// with it, anything else goes back to the element.
void modify_attachment(Session& s, std::string_view label) {
  run_page(s, attachment_page(s, label));
  const int code = s.tpcm.i(kNavCode);
  s.tpcm.i(kNavCode) = 0;
  if (code < 0) leave_page(s, code);
}

PageHooks element_page(Session& s, std::string_view label) {
  PageHooks p;
  p.draw = [&s, label](PageItems& w) { draw_element(s, label, s.state<ElementWalk>().n, w); };
  p.edit = [&s, label](int item) {
    Tpcm& t = s.tpcm;
    const int out = out_unit(s);
    int& n = s.state<ElementWalk>().n;
    if (const ElementValue* v = element_value(item)) {
      value_line(s, out, *v, n);
      edit_real(s, RealWord{element_word(v->first.n, n)}, out);
      return;
    }
    switch (item) {
      case 1:
        enteri(s, n, out, kKeyboard);
        maxchk(n, element_count(t));
        if (n == 0) n = 1;
        break;
      case 7:
        toggle3(s, t.i(joint_word(n)), ask(s), out, kKeyboard, "Free", "Frozen");
        break;
      case 11:
        toggle2(s, t.i(moment_word(n)), ask(s), out, kKeyboard);
        break;
      case 12:
        choose_command(s, n);
        break;
      case 13:
        choose_attachment(s);
        break;
      case 14:
        modify_attachment(s, label);
        break;
      default:
        break;
    }
  };
  p.help = [&s](int) { no_help(s); };
  p.help_for = HelpFor::kAnyNumber;
  p.above_last = AboveLast::kLeave;
  return p;
}

// Walks the element sub-pages from the current element on. True when the
// user goes back to the main page; false when the page is left (the code in
// word 699).
bool walk_elements(Session& s, std::string_view label) {
  Tpcm& t = s.tpcm;
  int& n = s.state<ElementWalk>().n;
  const PageHooks page = element_page(s, label);
  for (;;) {
    const int count = element_count(t);
    n = std::clamp(n, 1, std::max(count, 1));
    run_page(s, page);
    const int code = t.i(kNavCode);
    if (code == kNextElement) {
      if (n < count) {
        ++n;
        continue;
      }
      t.i(kNavCode) = kNextPage;
      return false;
    }
    if (code == kNavBack) {
      if (n > 1) {
        --n;
        continue;
      }
      return true;
    }
    if (code == kToMainPage) return true;
    if (code == kNavTableC || code == kNavTableD || code == kNavTableI) {
      table_command(s, code, n);
      continue;
    }
    if (code == kNavTableM) continue;
    return false;
  }
}

// The rest of a print pass after the main page: the auxiliary tables that
// are on, every element sub-page and the attachment sub-page.
void print_rest(Session& s, std::string_view label) {
  Tpcm& t = s.tpcm;
  if (lateral_on(t)) edit_aux_table(s, kLateralTitle, kAuxLateralForces);
  if (yaw_on(t)) edit_aux_table(s, kYawTitle, kAuxYawTorques);
  int& n = s.state<ElementWalk>().n;
  const int kept = n;
  const PageHooks element = element_page(s, label);
  for (n = 1; n <= element_count(t); ++n) run_page(s, element);
  n = kept;
  run_page(s, attachment_page(s, label));
  t.i(kNavCode) = 0;
}

}  // namespace

void salm2b(Session& s, std::string_view label) {
  Tpcm& t = s.tpcm;
  PageHooks main;
  main.draw = [&s, label](PageItems& w) {
    int& n = s.state<ElementWalk>().n;
    n = std::clamp(n, 1, std::max(element_count(s.tpcm), 1));
    draw_main(s, label, w);
  };
  main.edit = [&s](int item) { edit_main(s, item); };
  main.help = [&s](int) { no_help(s); };
  main.help_for = HelpFor::kAnyNumber;
  main.above_last = AboveLast::kLeave;
  for (;;) {
    run_page(s, main);
    if (print_pass(s)) {
      print_rest(s, label);
      return;
    }
    if (t.i(kNavCode) < 0) return;
    // A blank reply or a number above the last item: the element sub-pages;
    // without elements the page is done.
    if (element_count(t) == 0) {
      t.i(kNavCode) = kNextPage;
      return;
    }
    if (!walk_elements(s, label)) return;
  }
}

}  // namespace kelp
