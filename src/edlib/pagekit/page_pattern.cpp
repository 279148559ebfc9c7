#include "edlib/pagekit/page_pattern.hpp"

#include <algorithm>
#include <string>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

// ---- PageItems ----

PageItems::PageItems(Session& s, int out, int first)
    : s_(s), out_(out), next_(first), shown_(static_cast<std::size_t>(std::max(first, 1)), false),
      accepted_(shown_) {}

bool PageItems::shown(int n) const {
  return n >= 1 && static_cast<std::size_t>(n) < shown_.size() && shown_[static_cast<std::size_t>(n)];
}

bool PageItems::accepts(int n) const {
  return n >= 1 && static_cast<std::size_t>(n) < accepted_.size() && accepted_[static_cast<std::size_t>(n)];
}

int PageItems::take(bool shown, bool accepted) {
  shown_.push_back(shown);
  accepted_.push_back(shown || accepted);
  return next_++;
}

void PageItems::value(std::string_view label, float v, std::string_view format, int unit_word, int offset) {
  int item = take(true, true);
  outcfu(s_, item, label, v, format, unit_word, offset, out_, kLeaderWidth);
}

void PageItems::value(std::string_view label, float v, std::string_view format) {
  int item = take(true, true);
  outcf0(s_, item, label, v, format, out_, kLeaderWidth);
}

void PageItems::text(std::string_view label, std::string_view t, std::string_view format) {
  int item = take(true, true);
  outcc0(s_, item, label, t, format, out_, kLeaderWidth);
}

void PageItems::yes_no(std::string_view label, int flag) { text(label, yesno(flag), kYesNoLine); }

void PageItems::action(std::string_view text) {
  int item = take(true, true);
  outtxt(s_, item, text, out_);
}

int PageItems::custom() { return take(true, true); }

void PageItems::hidden(bool accepted) { take(false, accepted); }

void PageItems::blank(int n) { lines(s_, out_, n); }

// ---- The page loop ----

namespace {

// Set by leave_page during an edit, taken by the page loop after it.
struct PageLeave {
  bool pending = false;
};

}  // namespace

void leave_page(Session& s, int code) {
  s.tpcm.i(kNavCode) = code;
  s.state<PageLeave>().pending = true;
}

void run_page(Session& s, const PageHooks& page) {
  auto& t = s.tpcm;
  bool& leaving_edit = s.state<PageLeave>().pending;
  leaving_edit = false;
  for (;;) {
    const int out = t.i(kOutputUnit);
    PageItems items(s, out);
    t.i(kNavCode) = 0;
    page.draw(items);

    if (t.i(kPrintPass) != 0) {
      // The print pass: the page is in the listing once; go on to the next.
      twopg(s, t.i(kPrintPass), t.i(kOutputUnit));
      t.i(kNavCode) = 0;
      return;
    }

    entsel(s, t.i(kNavCode), out, kKeyboard, t.i(kPageCounter));
    const int code = t.i(kNavCode);

    if (code == kNavHelp) {
      const int n = t.i(kPageCounter);
      const bool wanted = n == 0 || page.help_for == HelpFor::kAnyNumber ||
                          (n >= 1 && n <= items.last() && items.shown(n));
      if (wanted && page.help) page.help(n);
      continue;
    }
    if (code == kNavKeys && page.keys_redisplay_here) continue;
    // A blank reply (next page), a navigation code for the loop, or a
    // number above the last item on a page where that leaves.
    const bool leaving = code <= 0 || (code > items.last() && page.above_last == AboveLast::kLeave);
    if (leaving) {
      if (page.may_leave && !page.may_leave()) continue;
      return;
    }
    if (items.accepts(code) && page.edit) page.edit(code);
    if (leaving_edit) {
      leaving_edit = false;
      return;
    }
  }
}

void page_header(Session& s, std::string_view label, std::string_view noun, std::string_view title, int out) {
  paghdr(s, label, noun, title, kHeaderWidth, out, s.tpcm.i(kPrintPass));
}

// ---- Help texts ----

void help_lines(Session& s, int out, std::initializer_list<std::string_view> text) {
  for (auto line : text) s.write_line(out, line);
}

void itemno(Session& s, int out, int item) {
  fwrite(s, out, item <= 9 ? "(/' ++> Item Number ',I1)" : "(/' ++> Item Number ',I2)", {item});
}

void help_sorry(Session& s, int out, std::string_view message) {
  lines(s, out, 1);
  s.write_line(out, message);
  lines(s, out, 1);
}

void help_pause(Session& s, int out, int in) {
  int reply = 0;
  prsret(s, out, in, reply);
  clear(s, out);
}

void help_done(Session& s, int out, int in) {
  int reply = 0;
  prsret(s, out, in, reply);
}

}  // namespace kelp
