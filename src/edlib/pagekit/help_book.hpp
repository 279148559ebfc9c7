#pragma once
// Help texts as data. Each page keeps its notes in one help book: the title
// written after the screen clear, the heading of an item's note, the lines
// shown when an item has no note, and the notes by key. A page's rows name
// the key of their note (see page_table.hpp); a sub-menu uses its choice
// numbers as keys.
//
// Item help (item n >= 1): title, an empty line and the heading with n, the
// note of the key (or the no-help lines), then the wait for RETURN. Page help
// (item 0): title, then every note in book order whose condition holds, each
// after an empty line (and its heading where the book numbers them); a note
// that opens a new screen is preceded by a wait and a screen clear. Page help
// ends with the wait too.
//
// Texts are written line by line: a '\n' in a text starts a new line, so
// "\n ++> Sorry...\n" is an empty line, the message and an empty line.
#include <functional>
#include <span>
#include <string_view>

namespace kelp {

class Session;

struct HelpText {
  int key = 0;
  std::string_view text = {};
  // Page help: a wait and a screen clear before this note.
  bool new_screen = false;
  // Page help: the note is shown only when this holds (nullptr: always).
  bool (*in_page_help)(const Session&) = nullptr;
  // Page help: the heading line above the note, in place of the numbered
  // heading (" ++> Item Numbers 1 -> 3").
  std::string_view heading = {};
};

struct HelpBook {
  // Lines written after the screen clear.
  std::string_view title = {};
  // The item heading: an empty line, then this text and the item number in
  // `number_width` columns (0: one digit up to 9, two above).
  std::string_view item_heading = " ++> Item Number ";
  int number_width = 0;
  // Lines shown for an item without a note.
  std::string_view no_help = "\n ++> Sorry, no help for this item ...\n";
  // Whether an item without a note gets its heading before the no-help lines.
  bool heading_on_no_help = true;
  // Whether page help writes the numbered heading of each note's key.
  bool numbered_page_help = false;
  // Whether item help, too, writes a note's own heading in place of the
  // item's number (items that share a note: " ++> Item Numbers 10,12").
  bool note_heading_on_items = false;
  std::span<const HelpText> texts = {};

  // The note of a key, or nullptr.
  const HelpText* find(int key) const;
};

// Shows the help of `item` (0: page help) with the note of `key`, on the
// output unit of word 702, waits read from the keyboard.
void show_help(Session& s, const HelpBook& book, int item, int key);

// Writes a text line by line on out.
void write_text(Session& s, int out, std::string_view text);

// The sub-menu of an item ("list, choose, ? for help"): draws the menu, reads
// the choice with entsel (a number after a command letter goes to word 700);
// "?" or "?n" shows help for n (0 for "?") and draws the menu again. Returns
// the reply: 0 for a blank reply, a navigation code, or the number typed.
int choose(Session& s, int out, const std::function<void()>& draw, const std::function<void(int item)>& help);

}  // namespace kelp
