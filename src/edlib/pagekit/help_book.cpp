#include "edlib/pagekit/help_book.hpp"

#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/report_lines.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

void numbered_heading(Session& s, int out, const HelpBook& book, int item) {
  const int width = book.number_width > 0 ? book.number_width : (item <= 9 ? 1 : 2);
  fwrite(s, out, "(/A,I" + std::to_string(width) + ")", {std::string(book.item_heading), item});
}

}  // namespace

const HelpText* HelpBook::find(int key) const {
  for (const HelpText& t : texts) {
    if (t.key == key) return &t;
  }
  return nullptr;
}

void write_text(Session& s, int out, std::string_view text) {
  for (;;) {
    const auto end = text.find('\n');
    s.write_line(out, text.substr(0, end));
    if (end == std::string_view::npos) return;
    text.remove_prefix(end + 1);
  }
}

void show_help(Session& s, const HelpBook& book, int item, int key) {
  const int out = s.tpcm.i(kOutputUnit);
  clear(s, out);
  write_text(s, out, book.title);
  if (item != 0) {
    const HelpText* note = book.find(key);
    if (note != nullptr && book.note_heading_on_items && !note->heading.empty()) {
      lines(s, out, 1);
      s.write_line(out, note->heading);
    } else if (note != nullptr || book.heading_on_no_help) {
      numbered_heading(s, out, book, item);
    }
    write_text(s, out, note != nullptr ? note->text : book.no_help);
  } else {
    for (const HelpText& note : book.texts) {
      if (note.in_page_help != nullptr && !note.in_page_help(s)) continue;
      if (note.new_screen) help_pause(s, out, kKeyboard);
      if (!note.heading.empty()) {
        lines(s, out, 1);
        s.write_line(out, note.heading);
      } else if (book.numbered_page_help) {
        numbered_heading(s, out, book, note.key);
      } else {
        lines(s, out, 1);
      }
      write_text(s, out, note.text);
    }
  }
  help_done(s, out, kKeyboard);
}

int choose(Session& s, int out, const std::function<void()>& draw, const std::function<void(int item)>& help) {
  int reply = 0;
  for (;;) {
    draw();
    entsel(s, reply, out, kKeyboard, s.tpcm.i(kPageCounter));
    if (reply != kNavHelp) return reply;
    help(s.tpcm.i(kPageCounter));
  }
}

}  // namespace kelp
