#pragma once
// The pattern every editor page follows: draw the header and the numbered
// items, print once into the listing during a print pass, otherwise read the
// selection and dispatch on it (an item edit, help on the page or on one
// item, a navigation code left in word 699 for the page loop) and draw the
// page again. Items that are hidden keep their numbers, so the numbers of the
// items after them never move.
//
// A page supplies three callbacks (draw, edit, help); the loop, the print
// pass, the hidden-item rule and the help dispatch live here once.
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kelp {

class Session;

// ---- Item-line formats ----
// The label field of an item line is 57 columns: a blank, the item number in
// two digits, ")", a blank, the label, a blank and the dot leader, which ends
// in column 57 (edlnot with width 56).
inline constexpr int kLabelColumns = 57;
inline constexpr int kLeaderWidth = kLabelColumns - 1;
// Text line and yes/no line of the 57-column label field.
inline constexpr std::string_view kTextLine = "(A57,A)";
inline constexpr std::string_view kYesNoLine = "(A57,3X,A3)";

// The width passed to paghdr by every page.
inline constexpr int kHeaderWidth = 74;

// ---- The items of one drawing of a page ----
// Numbers the items in the order the page writes them and remembers which
// were shown. Every item routine writes on the page's output unit (word 702).
class PageItems {
 public:
  // Items are numbered from `first` on (1 for a whole page).
  PageItems(Session& s, int out, int first = 1);

  Session& session() { return s_; }
  int out() const { return out_; }
  // The number the next item gets.
  int next() const { return next_; }
  // The highest item number given so far, shown or hidden.
  int last() const { return next_ - 1; }
  // Whether item n was shown in this drawing.
  bool shown(int n) const;
  // Whether selecting item n edits it: shown, or hidden but accepted.
  bool accepts(int n) const;

  // A real value with a unit label under a value format: the eunit label of
  // the unit word (word 116) and the code of the English label (see eunit).
  void value(std::string_view label, float v, std::string_view format, int unit_word, int offset);
  // A real value without unit label.
  void value(std::string_view label, float v, std::string_view format);
  // A text value ("(A57,A)" unless another format is given).
  void text(std::string_view label, std::string_view t, std::string_view format = kTextLine);
  // A yes/no value of an integer flag ("Yes", "No " or "Awk").
  void yes_no(std::string_view label, int flag);
  // An action line without value: " nn) text".
  void action(std::string_view text);
  // An item the page writes itself (a line of its own layout): only takes
  // the next number and counts as shown.
  int custom();
  // A hidden item: takes its number, writes nothing. An accepted one is
  // still edited when selected (pages whose hidden items are not locked).
  void hidden(bool accepted = false);
  // n empty lines.
  void blank(int n = 1);

 private:
  int take(bool shown, bool accepted);
  Session& s_;
  int out_;
  int next_ = 1;
  std::vector<bool> shown_;
  std::vector<bool> accepted_;
};

// ---- The page loop ----
enum class HelpFor {
  kShownItems,  // "?n" helps only for n from 1 to the last item and shown now
  kAnyNumber,   // "?n" hands every n to the help routine (it has its own "no help" text)
};

enum class AboveLast {
  kRedisplay,  // a number above the last item draws the page again
  kLeave,      // it leaves the page with that number in word 699
};

struct PageHooks {
  // Writes the header and the items.
  std::function<void(PageItems&)> draw;
  // A shown (or accepted hidden) item was selected; any other number up to
  // the last item only draws the page again.
  std::function<void(int item)> edit;
  // Help: 0 for the page, n for item n.
  std::function<void(int item)> help;
  HelpFor help_for = HelpFor::kShownItems;
  AboveLast above_last = AboveLast::kRedisplay;
  // "H": false leaves -1979 in word 699 for the page loop to redisplay;
  // true draws the page again here.
  bool keys_redisplay_here = false;
  // The check before the page is left (a blank reply, "H", any navigation
  // code, or a number above the last item when that leaves): while it fails
  // the page stays and is drawn again. The check shows its own message.
  std::function<bool()> may_leave;
};

// Runs a page until the user leaves it; the navigation code stays in word 699
// (the number after a command letter in word 700). In a print pass (word 701
// nonzero) the page is drawn once on the listing (word 702), followed by the
// half-page pairing, and left with code 0 (no check before leaving).
void run_page(Session& s, const PageHooks& page);

// Ends the page from inside an item's edit, as a sub-editor that the user
// left with a navigation command does: the code goes to word 699 and the
// page returns as soon as the edit is done (no check before leaving).
void leave_page(Session& s, int code);

// The page header of the vessel pages: paghdr with the page label, the
// vessel noun and the title, width 74, no screen clear in a print pass.
void page_header(Session& s, std::string_view label, std::string_view noun, std::string_view title, int out);

// ---- Help texts ----
// Lines of text written one per line.
void help_lines(Session& s, int out, std::initializer_list<std::string_view> text);
// An empty line and " ++> Item Number " with the number in one digit (two
// above 9).
void itemno(Session& s, int out, int item);
// An empty line, the message (" ++> Sorry, no help for this item ..."
// and its kin) and an empty line.
void help_sorry(Session& s, int out, std::string_view message);
// The pause between help screens: wait for RETURN, then clear the screen.
void help_pause(Session& s, int out, int in);
// The wait that ends every help.
void help_done(Session& s, int out, int in);

}  // namespace kelp
