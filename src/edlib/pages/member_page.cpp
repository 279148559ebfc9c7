#include "edlib/pages/member_page.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "edlib/model/member_checks.hpp"
#include "edlib/model/member_coefficients.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "edlib/record/member_table.hpp"
#include "kelpkit/linear_algebra.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

using namespace member;

// The member shown by the member sub-pages; 1 on every entry to the page.
struct MemberPageState {
  int member = 1;
};

int& current(Session& s) { return s.state<MemberPageState>().member; }
int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }
int count_of(const Session& s) { return s.tpcm.i(kCount); }

// Names of the stored codes; a code outside the table shows blank.
constexpr std::array<std::string_view, 3> kProfileNames = {"Rectangular", "Circular/elliptic",
                                                           "Rectangular/elliptic (intermediate)"};
constexpr std::array<std::string_view, 3> kSourceNames = {"User-specified", "Computed (deep water assumption)",
                                                          "Computed (with surface correction)"};
constexpr std::array<std::string_view, 3> kEndNames = {"Free, submerged", "Water-piercing", "Wall terminated"};
constexpr std::size_t kLongName = 40;
constexpr std::size_t kShortName = 16;

std::string name_of(std::span<const std::string_view> names, int code, std::size_t width) {
  const bool known = code >= 0 && static_cast<std::size_t>(code) < names.size();
  return fixed(known ? names[static_cast<std::size_t>(code)] : std::string_view(), width);
}

// A menu choice read with enteri and held within 0..last (0: no change).
int menu_choice(Session& s, int last) {
  int choice = 0;
  enteri(s, choice, out_of(s), kKeyboard);
  maxchk(choice, last);
  return choice;
}

void wait_return(Session& s) {
  int reply = 0;
  prsret(s, out_of(s), kKeyboard, reply);
}

// ---- General sub-page ----

void draw_count(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(1X,' 1) Number of members (Max ',I2,'): ',I2)", {s.tpcm.i(kMaximum), count_of(s)});
}
void edit_count(Session& s, int item) {
  PageItems w(s, out_of(s), item);
  draw_count(s, w);
  int& count = s.tpcm.i(kCount);
  enteri(s, count, out_of(s), kKeyboard);
  maxchk(count, s.tpcm.i(kMaximum));
}

constexpr std::array<std::string_view, 3> kDefaultDragLabels = {
    " 2) Default member Mx-damping coefficient ...........",
    " 3) Default member My-damping coefficient ...........",
    " 4) Default member Mz-damping coefficient ...........",
};

template <int axis>
void draw_default_drag(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(1X,A,F10.2)",
         {std::string(kDefaultDragLabels[axis - 1]), s.tpcm.r(default_drag(axis))});
}

// A new default of one axis goes to the drag and drag-moment coefficient of
// that axis of every member, whose drag becomes user-specified. Typing the
// value already stored changes nothing and says how to refill the members.
template <int axis>
void edit_default_drag(Session& s, int item) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  write_text(s, out,
             "\n ++> NOTE: This will change the coefficient for ALL members;\n"
             "           press <RETURN> to abort change operation\n");
  PageItems w(s, out, item);
  draw_default_drag<axis>(s, w);
  const float stored = t.r(default_drag(axis));
  float value = stored;
  enterf(s, value, out, kKeyboard);
  if (std::bit_cast<std::int32_t>(value) != std::bit_cast<std::int32_t>(stored)) {
    t.set_r(default_drag(axis), value);
    for (int n = 1; n <= count_of(s); ++n) {
      t.i(drag_source(n)) = 0;
      t.set_r(drag(n, axis), value);
      t.set_r(drag_moment(n, axis), value);
    }
    return;
  }
  write_text(s, out,
             "\n ++> To fill all member values with an EXISTING default value,\n"
             "     first change to an (intermediate) NEW value,\n"
             "     then BACK to the desired original value.");
  wait_return(s);
}

void draw_suppress(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(1X,' 5) Suppress hydrostatic warning messages ........... ',A3)",
         {yesno(s.tpcm.i(kSuppressHydroWarnings))});
}
void edit_suppress(Session& s, int) {
  toggle2(s, s.tpcm.i(kSuppressHydroWarnings), s.tpcm.i(kBatchFlag), out_of(s), kKeyboard);
}

// After the items: the count is copied for the simulation, and the member
// sub-pages start no further than the last member.
void draw_member_note(Session& s, PageItems& w) {
  auto& t = s.tpcm;
  const int count = count_of(s);
  t.i(kCountCopy) = count;
  if (count != 0) {
    fwrite(s, w.out(), "(/' Note: the next ',I2,' sub-pages consist of individual',' member information.')",
           {count});
  }
  int& m = current(s);
  if (count >= 1 && m > count) m = count;
}

const Row kGeneralRows[] = {
    Row::custom(draw_count, edit_count),
    Row::custom(draw_default_drag<1>, edit_default_drag<1>).help(2),
    Row::custom(draw_default_drag<2>, edit_default_drag<2>).help(2),
    Row::custom(draw_default_drag<3>, edit_default_drag<3>).help(2),
    Row::custom(draw_suppress, edit_suppress).blank(),
    Row::line(draw_member_note),
};

// RETURN and any number above 5 go on to the member sub-pages.
const TablePage kGeneralPage = {.header_format = "(T18,' ****  Page ',A,': Member Particulars  ****'/)",
                                .rows = kGeneralRows,
                                .book = &kMemberGeneralHelp,
                                .help_for = HelpFor::kAnyNumber,
                                .above_last = AboveLast::kLeave};

// ---- Member sub-page ----

bool sectional(Session& s) { return s.tpcm.i(form(current(s))) == 0; }

Vec3 triple_of(const Tpcm& t, std::size_t (*word)(int, int), int m) {
  return {t.r(word(m, 1)), t.r(word(m, 2)), t.r(word(m, 3))};
}

// Recomputes computed coefficients of member m through the member check; a
// fatal finding makes them user-specified.
void recompute(Session& s, int m) {
  auto& t = s.tpcm;
  if (t.i(coef_source(m)) == kUserCoefficients) return;
  clear(s, out_of(s));
  int iwarn = 0, ifatal = 0, ipause = 0, icross = 0;
  chkpak(s, m, iwarn, ifatal, ipause, icross);
  if (ipause != 0) wait_return(s);
  if (ifatal != 0) t.i(coef_source(m)) = kUserCoefficients;
}

void header(Session& s, int out) {
  auto& t = s.tpcm;
  if (t.i(kPrintPass) == 0) clear(s, out);
  int& code = t.i(alignment(current(s)));
  if (code == 0) code = 1;
  fwrite(s, out, "(T22,' +++ Member Specification +++'/)");
}

void draw_number(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(1X,' 1) Member number: ',I2,' of ',I2)", {current(s), count_of(s)});
}
void edit_number(Session& s, int item) {
  PageItems w(s, out_of(s), item);
  draw_number(s, w);
  int& m = current(s);
  enteri(s, m, out_of(s), kKeyboard);
  maxchk(m, count_of(s));
  if (m == 0) m = 1;
}

// The items of a code chosen from a menu (profile, coefficient source): the
// line's format, the names of the codes, the field, the menu, and whether
// only a sectional member has the item. A choice is followed by the
// recomputation, also when nothing was chosen.
struct CodeItem {
  std::string_view format;
  std::span<const std::string_view> names;
  std::size_t (*word)(int);
  std::string_view menu;
  bool sectional_only = false;
};

template <const CodeItem& item>
void draw_code(Session& s, PageItems& w) {
  if (item.sectional_only && !sectional(s)) {
    w.hidden();
    return;
  }
  w.custom();
  fwrite(s, w.out(), item.format, {name_of(item.names, s.tpcm.i(item.word(current(s))), kLongName)});
}
template <const CodeItem& item>
void choose_code(Session& s, int) {
  const int m = current(s);
  clear(s, out_of(s));
  write_text(s, out_of(s), item.menu);
  const int choice = menu_choice(s, 3);
  if (choice != 0) s.tpcm.i(item.word(m)) = choice - 1;
  recompute(s, m);
}

constexpr CodeItem kProfileItem = {"(1X,' 3) Axial cross-section profile: ',A)", kProfileNames, profile,
                                   "\n +++ Axial Cross-Section Profile Selection +++\n\n"
                                   " 1) Rectangular\n 2) Circular/elliptic\n 3) Rectangular/elliptic (intermediate)\n",
                                   true};
constexpr CodeItem kSourceItem = {"(1X,'15) Added mass/moment coefficients: ',A)", kSourceNames, coef_source,
                                  "\n +++ Added Mass Specification Options +++\n\n"
                                  " 1) User-specified\n 2) Computed (deep water assumption)\n"
                                  " 3) Computed (with surface correction)"};

void draw_area(Session& s, PageItems& w) {
  if (!sectional(s)) {
    w.hidden();
    return;
  }
  w.custom();
  fwrite(s, w.out(), "(1X,' 5) Cross-sectional area ............................',F10.2,' square',A16)",
         {s.tpcm.r(area(current(s))), unitp(s.tpcm.i(kUnitSystem), 7)});
}
void edit_area(Session& s, int item) {
  PageItems w(s, out_of(s), item);
  draw_area(s, w);
  edit_real(s, RealWord{area(current(s))}, out_of(s));
}

// The lines of three values (dimensions, end points, coefficients): the
// item text, the field, the prompt of its edit, whether it may be edited,
// and what follows an edit (blank: the reply was blank).
struct TripleItem {
  std::string_view text;
  std::size_t (*word)(int, int);
  std::string_view prompt;
  bool (*editable)(Session&) = nullptr;
  void (*after)(Session&, bool blank) = nullptr;
};

template <const TripleItem& line>
void draw_triple(Session& s, PageItems& w) {
  w.custom();
  const Vec3 v = triple_of(s.tpcm, line.word, current(s));
  fwrite(s, w.out(), "(1X,A,3F10.2)", {std::string(line.text), v[0], v[1], v[2]});
}

template <const TripleItem& line>
void edit_triple(Session& s, int item) {
  if (line.editable != nullptr && !line.editable(s)) return;
  const int m = current(s);
  PageItems w(s, out_of(s), item);
  draw_triple<line>(s, w);
  Vec3 v = triple_of(s.tpcm, line.word, m);
  int blank = 0;
  wrtlin(s, line.prompt, out_of(s));
  crreal(s, v[0], v[1], v[2], blank, kKeyboard);
  for (int k = 1; k <= 3; ++k) {
    const RealWord word{line.word(m, k)};
    const float x = v[static_cast<std::size_t>(k - 1)];
    if (std::bit_cast<std::int32_t>(x) != s.tpcm.i(word.n)) store_real(s, word, x, out_of(s));
  }
  if (line.after != nullptr) line.after(s, blank != 0);
}

// New dimensions: a warning when the axial dimension Mz is not the largest
// of a member whose cross-section is not round; the coefficients follow.
void dimensions_typed(Session& s, bool blank) {
  const int m = current(s);
  const Vec3 d = triple_of(s.tpcm, dimension, m);
  if (d[0] != d[1] && (d[2] < d[0] || d[2] < d[1])) {
    write_text(s, out_of(s),
               "\n\n ++> WARNING: The largest member dimension is NOT the axial dimension Mz.\n"
               "              Be sure this is what you want...");
    wait_return(s);
  }
  if (!blank) recompute(s, m);
}

// A new end point: the axis-alignment code follows (the coefficients wait
// for the next recomputation).
void end_typed(Session& s, bool) {
  auto& t = s.tpcm;
  const int m = current(s);
  if (t.i(form(m)) != 0) return;
  float length = 0.0f;
  veclen(triple_of(t, top_point, m), triple_of(t, base_point, m), length, t.i(alignment(m)));
}

bool user_coefficients(Session& s) { return s.tpcm.i(coef_source(current(s))) == kUserCoefficients; }
bool user_drag(Session& s) { return s.tpcm.i(drag_source(current(s))) != 1; }

constexpr TripleItem kDimensionLine = {" 4) Member dimensions (Mx,My,Mz) ..........", dimension,
                                       "Enter new (Mx,My,Mz) dimensions: ", nullptr, dimensions_typed};
constexpr TripleItem kBaseLine = {"10) (Vx,Vy,Vz) coordinate of member base:  ", base_point,
                                  "Enter new (Vx,Vy,Vz) coordinate: ", nullptr, end_typed};
constexpr TripleItem kTopLine = {"12) (Vx,Vy,Vz) coordinate of member top:   ", top_point,
                                 "Enter new (Vx,Vy,Vz) coordinate: ", nullptr, end_typed};
constexpr TripleItem kAddedMassLine = {"16) (Mx,My,Mz) Added mass coefficients:    ", added_mass,
                                       "Enter new (Mx,My,Mz) coefficients: ", user_coefficients};
constexpr TripleItem kAddedMomentLine = {"17) (Mx,My,Mz) Added moment coefficients:  ", added_moment,
                                         "Enter new (Mx,My,Mz) coefficients: ", user_coefficients};
constexpr TripleItem kDragLine = {"19) (Mx,My,Mz) Drag coefficients           ", drag,
                                  "Enter new (Mx,My,Mz) coefficients: ", user_drag};
constexpr TripleItem kDragMomentLine = {"20) (Mx,My,Mz) Drag moment coefficients:   ", drag_moment,
                                        "Enter new (Mx,My,Mz) coefficients: ", user_drag};

template <const TripleItem& line>
constexpr Row triple_row() {
  return Row::custom(draw_triple<line>, edit_triple<line>);
}

// The end-type menu of the base ("Base") or top (" Top") end.
void shosel(Session& s, int out, std::string_view end) {
  clear(s, out);
  fwrite(s, out, "(/' +++ ',A,'-End Termination Type Selection +++'/)", {std::string(end)});
  write_text(s, out, " 1) Free, Submerged\n 2) Water-piercing\n 3) Wall-terminated\n");
}

struct EndItem {
  std::string_view text;
  std::size_t (*word)(int);
  std::string_view end;
};
constexpr EndItem kBaseEnd = {"11) Base end termination type: ", base_end, "Base"};
constexpr EndItem kTopEnd = {"13) Top end termination type:  ", top_end, " Top"};

template <const EndItem& line>
void draw_end(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(1X,A,A16)",
         {std::string(line.text), name_of(kEndNames, s.tpcm.i(line.word(current(s))), kShortName)});
}
template <const EndItem& line>
void choose_end(Session& s, int) {
  const int m = current(s);
  shosel(s, out_of(s), line.end);
  const int choice = menu_choice(s, 3);
  if (choice == 0) return;
  s.tpcm.i(line.word(m)) = choice - 1;
  recompute(s, m);
}

void draw_drag_source(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(1X,'18) Drag/drag moment coefficients: ',A16)",
         {fixed(s.tpcm.i(drag_source(current(s))) == 1 ? "Default" : "User-specified", kShortName)});
}
void switch_drag_source(Session& s, int) {
  const int m = current(s);
  int& source = s.tpcm.i(drag_source(m));
  toggle3(s, source, s.tpcm.i(kBatchFlag), out_of(s), kKeyboard, "Default", "User-Specified");
  if (source == 1) dgcalc(s, m);
}

void draw_hint(Session& s, PageItems& w) {
  s.write_line(w.out(), "  (\"C\", \"D\", \"I\" to Copy, Delete, Insert)");
}

// Items 2, 6 to 9 and 14 are no items; 3 and 5 belong to sectional members.
const Row kMemberRows[] = {
    Row::custom(draw_number, edit_number),
    Row::gap(1),
    Row::custom(draw_code<kProfileItem>, choose_code<kProfileItem>),
    triple_row<kDimensionLine>().blank(),
    Row::custom(draw_area, edit_area),
    Row::gap(4),
    triple_row<kBaseLine>().blank(),
    Row::custom(draw_end<kBaseEnd>, choose_end<kBaseEnd>),
    triple_row<kTopLine>().blank().help(10),
    Row::custom(draw_end<kTopEnd>, choose_end<kTopEnd>).help(11),
    Row::gap(1),
    Row::custom(draw_code<kSourceItem>, choose_code<kSourceItem>).blank(),
    triple_row<kAddedMassLine>(),
    triple_row<kAddedMomentLine>().help(16),
    Row::custom(draw_drag_source, switch_drag_source).blank(),
    triple_row<kDragLine>().help(18),
    triple_row<kDragMomentLine>().help(18),
    Row::line(draw_hint).blank(),
};

const TablePage kMemberPage = {.header = header,
                               .rows = kMemberRows,
                               .book = &kMemberHelp,
                               .help_for = HelpFor::kAnyNumber};

// ---- Copy, delete, insert ----

// Every word of member slot n.
std::vector<std::size_t> slot_words(int n) {
  std::vector<std::size_t> words = {base_end(n), top_end(n),  alignment(n),  form(n),
                                    profile(n),  coef_source(n), drag_source(n), area(n)};
  for (auto field : {base_point, top_point, dimension, added_mass, added_moment, drag, drag_moment}) {
    for (int k = 1; k <= 3; ++k) words.push_back(field(n, k));
  }
  return words;
}

void move_slot(Tpcm& t, int to, int from) {
  const std::vector<std::size_t> target = slot_words(to);
  const std::vector<std::size_t> source = slot_words(from);
  for (std::size_t k = 0; k < target.size(); ++k) t.i(target[k]) = t.i(source[k]);
}

// Slots m.. move up one; the last slot keeps its content.
void delete_member(Session& s, int m) {
  const int last = s.tpcm.i(kMaximum);
  for (int n = m; n < last; ++n) move_slot(s.tpcm, n, n + 1);
}

// Slots m.. move down one (the last slot's content is lost); slot m is
// cleared.
void insert_member(Session& s, int m) {
  for (int n = s.tpcm.i(kMaximum); n > m; --n) move_slot(s.tpcm, n, n - 1);
  for (std::size_t word : slot_words(m)) s.tpcm.i(word) = 0;
}

void draw_transformations(Session& s, int out) {
  clear(s, out);
  write_text(s, out,
             "\n\n +++   Coordinate Transformation Properties  +++\n"
             "         (<Return> for no transformation)\n\n"
             " 1) Reflect about Vx-Vz plane  (x,y) -> (x, -y)\n"
             " 2) Reflect about Vy-Vz plane  (x,y) -> (-x, y)\n"
             " 3) Reflect through origin     (x,y) -> (-x,-y)\n"
             " 4) Reflect about x-y diagonal (x,y) -> (y,  x)\n"
             " 5) Counter-Clockwise rotation about z-axis\n\n\n"
             "                     Vx\n"
             "                     ^\n"
             "                   .-|-.\n"
             "                  /  |  \\\n"
             "                 |   |   |\n"
             "          Vy <---|---+   |\n"
             "                 |       |\n"
             "                 |       |\n"
             "                  \\_____/\n"
             "\n"
             "          (Vz is out of screen)");
}

// The end points of member m from the source's (taken before the menu),
// transformed as the user chooses; a choice above 5 keeps m's own.
void transform_ends(Session& s, int m, const Vec3& base, const Vec3& top) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  for (;;) {
    const int choice = choose(
        s, out, [&] { draw_transformations(s, out); },
        [&](int item) { show_help(s, kReflectionHelp, item, item >= 1 && item <= 3 ? 1 : item); });
    if (choice > 5) return;
    std::array<Vec3, 2> ends = {base, top};
    if (choice >= 1 && choice <= 3) {
      const float fx = choice == 1 ? 1.0f : -1.0f;
      const float fy = choice == 2 ? 1.0f : -1.0f;
      for (Vec3& p : ends) p = {fx * p[0], fy * p[1], p[2]};
    } else if (choice == 4) {
      for (Vec3& p : ends) p = {p[1], p[0], p[2]};
    }
    bool turned = false;
    if (choice == 5) {
      wrtlin(s, "Enter C-Clockwise rotation about vertical (degrees): ", out);
      float degrees = 0.0f;
      int blank = 0;
      crread(s, degrees, blank, kKeyboard);
      if (blank != 0) continue;
      const float a = degrees / 57.295776f;
      const float c = std::cos(a);
      const float sn = std::sin(a);
      for (Vec3& p : ends) p = {p[0] * c - p[1] * sn, p[0] * sn + p[1] * c, p[2]};
      turned = true;
    }
    for (int k = 1; k <= 3; ++k) {
      const auto i = static_cast<std::size_t>(k - 1);
      for (std::size_t e = 0; e < 2; ++e) {
        const RealWord word{e == 0 ? base_point(m, k) : top_point(m, k)};
        // Rotated points are computed from the reply: the checked store.
        if (turned) {
          store_real(s, word, ends[e][i], out);
        } else {
          t.set_r(word, ends[e][i]);
        }
      }
    }
    return;
  }
}

// Copies member `source` (asked for) into m: its kind and coefficients, and
// its end points through the transformation menu. No member check follows.
void copy_member(Session& s, int m) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  clear(s, out);
  wrtlin(s, "Copy data from which member? : ", out);
  int source = 0;
  int number = 0;
  readi(s, source, kKeyboard, number);
  source = std::min(source, count_of(s));
  if (source < 1) return;
  for (auto field : {base_end, top_end, alignment, form, profile, coef_source, drag_source, area}) {
    t.i(field(m)) = t.i(field(source));
  }
  transform_ends(s, m, triple_of(t, base_point, source), triple_of(t, top_point, source));
  for (auto field : {dimension, added_mass, added_moment, drag, drag_moment}) {
    for (int k = 1; k <= 3; ++k) t.i(field(m, k)) = t.i(field(source, k));
  }
}

// The member sub-pages from the current member on. True: back to the
// general sub-page ("B" on member 1); false: the page is left with the code
// in word 699.
bool member_pages(Session& s) {
  auto& t = s.tpcm;
  int& m = current(s);
  for (;;) {
    if (count_of(s) < m || m == 0) return false;
    run_table(s, kMemberPage, {});
    if (t.i(kPrintPass) != 0) {
      if (m >= count_of(s)) return false;
      ++m;
      continue;
    }
    switch (t.i(kNavCode)) {
      case 0:
        t.i(kNavCode) = 1;
        ++m;
        break;
      case kNavBack:
        if (m == 1) return true;
        --m;
        break;
      case kNavTableC: copy_member(s, m); break;
      case kNavTableD: delete_member(s, m); break;
      case kNavTableI: insert_member(s, m); break;
      case kNavTableM: break;
      default: return false;
    }
  }
}

}  // namespace

void cylndr(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  // Both words come from the file and bound every loop over the table.
  t.i(kMaximum) = std::clamp(t.i(kMaximum), 0, kMaxMembers);
  t.i(kCount) = std::clamp(t.i(kCount), 0, t.i(kMaximum));
  current(s) = 1;
  for (;;) {
    run_table(s, kGeneralPage, label);
    if (t.i(kNavCode) < 0) return;
    if (!member_pages(s)) return;
  }
}

}  // namespace kelp
