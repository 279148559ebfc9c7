#pragma once
// Pages as tables. A page of numbered items is a table of rows, one row per
// item in the order the page shows them; the row's place gives its number,
// so a hidden row keeps its number by construction and the draw, the edit
// and the help of an item can never disagree. The page loop, the print pass
// and the help dispatch are those of run_page (page_pattern.hpp).
//
// A row is {label, field, value format, unit label, help key, shown
// condition, blank lines before}. The field decides the line and the edit:
//
//   Row::real(label, word, unit)    value line; edit_real (the checked store)
//   Row::toggle(label, word)        yes/no line; toggle2 with word 13
//   Row::mode(label, word, on, off) the mode's text; toggle3 with word 13
//   Row::text(label, value, edit)   a text the page computes; its own edit
//   Row::action(label, edit)        " nn) label" without value; its own edit
//   Row::custom(draw, edit)         a line of the page's own layout; its edit
//   Row::line(draw)                 an unnumbered line (a note, a frame line)
//   Row::gap(n)                     n numbers that are no item
//
// and the setters refine a row: .when(test) shows it only while the test
// holds, .accept_when(test) edits it when selected while hidden, .blank(n)
// writes n empty lines before it (.blank_after(n) after it), .then(edit)
// runs after the default edit, .help(key) names another item's note,
// .format(f) overrides the page's value format. A row's help key is its own
// item number unless .help() says otherwise.
//
// Tests and edits are plain functions (a lambda without captures will do),
// so a page's table is a constant:
//
//   const Row kRows[] = {
//       Row::real("Pitch Gyradius", kPitchGyradius, kLengthLabel),
//       Row::toggle("Is there a bilge keel", kBilgeKeel).blank(),
//       Row::real("Bilge keel length", kBilgeKeelLength, kLengthLabel).when(has_keel),
//   };
//   const TablePage kPage = {.title = " Gyradii", .value_format = "(A57,F10.2,1X,A6)",
//                            .rows = kRows, .book = &kGyradiiHelp};
//   run_table(s, kPage, label, noun);
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "sysutl/record.hpp"

namespace kelp {

class Session;

// A condition on the session (shown, accepted, may leave).
using PageTest = bool (*)(const Session&);
// The edit of an item (its number given).
using RowEdit = void (*)(Session&, int item);
// The line of a custom or unnumbered row; a custom row takes its number
// with w.custom().
using RowDraw = void (*)(Session&, PageItems& w);
// The value text of a text row.
using RowText = std::string (*)(const Session&);

enum class Field { kReal, kToggle, kMode, kText, kAction, kCustom, kLine, kGap };

// The unit label of a real row: an eunit code, and whether the label follows
// the unit system (word 116 added to the code, its metric twin) or is the
// same in both. kNoUnit: the value format has no unit field.
struct UnitLabel {
  int code = -1;
  bool twin = false;
};
inline constexpr UnitLabel kNoUnit = {};
inline constexpr UnitLabel kWeightLabel = {0, true};  // k.lbs, m.ton
inline constexpr UnitLabel kLengthLabel = {7, true};  // ft, m
inline constexpr UnitLabel kAreaLabel = {19, true};   // ft^2, m^2
inline constexpr UnitLabel kBlankLabel = {21, false};

struct Row {
  Field field = Field::kGap;
  std::string_view label = {};
  std::size_t word = 0;
  UnitLabel unit = {};
  std::string_view on = {}, off = {};  // the texts of a mode's two values (1 and 0)
  RowText value = nullptr;
  RowEdit edit = nullptr;
  RowDraw draw = nullptr;
  std::string_view value_format = {};  // empty: the page's
  int help_key = 0;               // 0: the item's own number
  PageTest shown = nullptr;       // nullptr: always
  PageTest accepted = nullptr;    // nullptr: only while shown
  int before = 0;
  int after = 0;
  int numbers = 1;

  // The rows by field.
  static constexpr Row real(std::string_view label, RealWord word, UnitLabel unit = kNoUnit) {
    return {.field = Field::kReal, .label = label, .word = word.n, .unit = unit};
  }
  static constexpr Row toggle(std::string_view label, IntWord word) {
    return {.field = Field::kToggle, .label = label, .word = word.n};
  }
  static constexpr Row mode(std::string_view label, IntWord word, std::string_view on, std::string_view off) {
    return {.field = Field::kMode, .label = label, .word = word.n, .on = on, .off = off};
  }
  static constexpr Row text(std::string_view label, RowText value, RowEdit edit) {
    return {.field = Field::kText, .label = label, .value = value, .edit = edit};
  }
  static constexpr Row action(std::string_view label, RowEdit edit) {
    return {.field = Field::kAction, .label = label, .edit = edit};
  }
  static constexpr Row custom(RowDraw draw, RowEdit edit) { return {.field = Field::kCustom, .edit = edit, .draw = draw}; }
  static constexpr Row line(RowDraw draw) { return {.field = Field::kLine, .draw = draw, .numbers = 0}; }
  static constexpr Row gap(int n) { return {.field = Field::kGap, .numbers = n}; }

  // Refinements.
  constexpr Row when(PageTest test) const {
    Row r = *this;
    r.shown = test;
    return r;
  }
  constexpr Row accept_when(PageTest test) const {
    Row r = *this;
    r.accepted = test;
    return r;
  }
  constexpr Row blank(int n = 1) const {
    Row r = *this;
    r.before = n;
    return r;
  }
  constexpr Row blank_after(int n = 1) const {
    Row r = *this;
    r.after = n;
    return r;
  }
  constexpr Row then(RowEdit e) const {
    Row r = *this;
    r.edit = e;
    return r;
  }
  constexpr Row help(int key) const {
    Row r = *this;
    r.help_key = key;
    return r;
  }
  constexpr Row format(std::string_view f) const {
    Row r = *this;
    r.value_format = f;
    return r;
  }
};

// A real item whose line a page writes in a layout of its own: the row
// draws Line(s, w, Item) and, when the item is selected, writes the line
// again and reads the value of Item.word through the checked store.
void reshow_and_edit_real(Session& s, int item, RealWord word, void (*line)(Session&, PageItems&));
template <auto Line, const auto& Item>
constexpr Row reshown_real_row() {
  constexpr RowDraw draw = [](Session& s, PageItems& w) { Line(s, w, Item); };
  return Row::custom(draw, [](Session& s, int item) { reshow_and_edit_real(s, item, Item.word, draw); });
}

struct TablePage {
  // Header: paghdr with the page label, the noun and this title; or, when
  // header_format is set, a screen clear (none in a print pass) and that
  // format with the page label ("(T20,' ****  Page ',A,': Wind  ****'//)").
  std::string_view title = {};
  std::string_view header_format = {};
  // Or a header of the page's own layout, in place of both (it clears the
  // screen itself).
  void (*header)(Session&, int out) = nullptr;
  // The format of the real rows: the 57-column label field, the value and,
  // for rows with a unit label, the label ("(A57,F11.2,1X,A6)").
  std::string_view value_format = {};
  std::span<const Row> rows = {};
  // Help: the page's book, or a help routine of its own (item 0: the page).
  const HelpBook* book = nullptr;
  void (*help)(Session&, int item) = nullptr;
  HelpFor help_for = HelpFor::kShownItems;
  AboveLast above_last = AboveLast::kRedisplay;
  // The check before leaving (page_pattern.hpp); nullptr: none.
  bool (*may_leave)(Session&) = nullptr;
};

// Runs a table page until the user leaves it (run_page).
void run_table(Session& s, const TablePage& page, std::string_view label, std::string_view noun = {});

// Writes the line of item `item` of the page again on word 702 and runs its
// edit, as selecting it does: for an edit that goes on to another item.
void redo_item(Session& s, const TablePage& page, int item);

// The text of a mode: a blank and the text of the value (on for nonzero),
// in a field one wider than the longer text.
std::string mode_text(const Row& row, int value);

}  // namespace kelp
