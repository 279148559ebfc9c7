#include "edlib/pagekit/page_table.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

bool holds(PageTest test, const Session& s) { return test == nullptr || test(s); }

// The row of each item number (index 0 unused; nullptr for gaps).
std::vector<const Row*> rows_by_item(std::span<const Row> rows) {
  std::vector<const Row*> by_item(1, nullptr);
  for (const Row& r : rows) {
    for (int k = 0; k < r.numbers; ++k) by_item.push_back(r.field == Field::kGap ? nullptr : &r);
  }
  return by_item;
}

const Row* row_of(const std::vector<const Row*>& by_item, int item) {
  return item >= 1 && static_cast<std::size_t>(item) < by_item.size() ? by_item[static_cast<std::size_t>(item)]
                                                                       : nullptr;
}

// The line of a shown row.
void write_row(Session& s, const TablePage& page, const Row& row, PageItems& w) {
  const auto& t = s.tpcm;
  const std::string_view format = row.value_format.empty() ? page.value_format : row.value_format;
  switch (row.field) {
    case Field::kReal:
      if (row.unit.code < 0) {
        w.value(row.label, t.r(row.word), format);
      } else {
        w.value(row.label, t.r(row.word), format, row.unit.twin ? t.i(kUnitSystem) : kUnitsEnglish, row.unit.code);
      }
      break;
    case Field::kToggle: w.yes_no(row.label, t.i(row.word)); break;
    case Field::kMode: w.text(row.label, mode_text(row, t.i(row.word))); break;
    case Field::kText: w.text(row.label, row.value(s), row.value_format.empty() ? kTextLine : row.value_format); break;
    case Field::kAction: w.action(row.label); break;
    case Field::kCustom:
    case Field::kLine: row.draw(s, w); break;
    case Field::kGap: break;
  }
}

void draw_row(Session& s, const TablePage& page, const Row& row, PageItems& w) {
  if (row.field == Field::kGap || !holds(row.shown, s)) {
    for (int k = 0; k < row.numbers; ++k) w.hidden(row.accepted != nullptr && row.accepted(s));
    return;
  }
  w.blank(row.before);
  write_row(s, page, row, w);
  w.blank(row.after);
}

void edit_row(Session& s, const Row& row, int item) {
  auto& t = s.tpcm;
  const int out = t.i(kOutputUnit);
  const int ask = t.i(kBatchFlag);
  switch (row.field) {
    case Field::kReal: edit_real(s, RealWord{row.word}, out); break;
    case Field::kToggle: toggle2(s, t.i(row.word), ask, out, kKeyboard); break;
    case Field::kMode: toggle3(s, t.i(row.word), ask, out, kKeyboard, row.on, row.off); break;
    default: break;
  }
  if (row.edit != nullptr) row.edit(s, item);
}

}  // namespace

std::string mode_text(const Row& row, int value) {
  const std::size_t width = 1 + std::max(row.on.size(), row.off.size());
  std::string text(1, ' ');
  text += value != 0 ? row.on : row.off;
  return fixed(text, width);
}

void reshow_and_edit_real(Session& s, int item, RealWord word, void (*line)(Session&, PageItems&)) {
  const int out = s.tpcm.i(kOutputUnit);
  PageItems again(s, out, item);
  line(s, again);
  edit_real(s, word, out);
}

void run_table(Session& s, const TablePage& page, std::string_view label, std::string_view noun) {
  auto& t = s.tpcm;
  const std::vector<const Row*> by_item = rows_by_item(page.rows);
  PageHooks hooks;
  hooks.help_for = page.help_for;
  hooks.above_last = page.above_last;
  hooks.draw = [&](PageItems& w) {
    if (page.header != nullptr) {
      page.header(s, w.out());
    } else if (page.header_format.empty()) {
      page_header(s, label, noun, page.title, w.out());
    } else {
      if (t.i(kPrintPass) == 0) clear(s, w.out());
      fwrite(s, w.out(), page.header_format, {std::string(label)});
    }
    for (const Row& row : page.rows) draw_row(s, page, row, w);
  };
  hooks.edit = [&](int item) {
    if (const Row* row = row_of(by_item, item)) edit_row(s, *row, item);
  };
  hooks.help = [&](int item) {
    if (page.help != nullptr) {
      page.help(s, item);
    } else if (page.book != nullptr) {
      const Row* row = row_of(by_item, item);
      const int key = row == nullptr ? 0 : (row->help_key != 0 ? row->help_key : item);
      show_help(s, *page.book, item, key);
    }
  };
  if (page.may_leave != nullptr) hooks.may_leave = [&] { return page.may_leave(s); };
  run_page(s, hooks);
}

void redo_item(Session& s, const TablePage& page, int item) {
  const Row* row = row_of(rows_by_item(page.rows), item);
  if (row == nullptr) return;
  PageItems w(s, s.tpcm.i(kOutputUnit), item);
  write_row(s, page, *row, w);
  edit_row(s, *row, item);
}

}  // namespace kelp
