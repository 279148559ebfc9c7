#pragma once
// Pages 2, 3 and 4 of the mooring editor, the mooring layout:
//   moorln  "General Mooring Information": the counts of legs and line types,
//           the load-table limits, the mean line profile and its per-leg
//           values, bottom friction, the hawser of kinds 8 and 13, anchor
//           depths and the bottom options;
//   morln2  "More General Mooring Information": legs and sublines of each line
//           type, fairleads, departure angles, the moment centre, the hawser
//           point or turret, the headings and the excluded lines;
//   morln3  "Dynamics-Related Mooring Information": the lines evaluated
//           dynamically, the vertical interpolation grid and the default
//           coefficients spread over every subline.
// Each takes its page label, works on the session's record, leaves its
// navigation code in word 699 and prints itself once into the listing in a
// print pass (word 701). Every count read from the record is held to the
// table it indexes (150 legs, 150 types, 25 sublines, 120 exclusions).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "edlib/pagekit/help_book.hpp"
#include "sysutl/record.hpp"

namespace kelp {

class Session;
class PageItems;
struct TablePage;

void moorln(Session& s, std::string_view label);
void morln2(Session& s, std::string_view label);
void morln3(Session& s, std::string_view label);

// ---- Help (mooring_layout_help.cpp) ----
// Item 0 shows every note of the page for the program kind, item n that
// item's note or " ++> Sorry, no help for this line...".
void morhp1(Session& s, int item);  // page 2
void mrhp1a(Session& s, int item);  // the mean-profile sub-menu of page 2
void morhp2(Session& s, int item);  // page 3
void morhp3(Session& s, int item);  // page 4

// ---- Shared by the three pages (mooring_layout.cpp) ----

// The letter of line type t: the character of code 64 + t ("A" for type 1);
// "?" for a number no character of one byte can name.
char type_letter(int type);

// Runs a layout page (run_table) under the label the page loop handed it.
void run_layout_page(Session& s, const TablePage& page, std::string_view label);

// The header of a layout page, for its table's header hook: the screen
// cleared (not in a print pass), "  **** Page <label>: <title>" with the
// 25-character tail " <<INCLUDES hawser>> ****" when `hawser`, else " ****"
// and blanks, and an empty line.
void write_layout_header(Session& s, int out, std::string_view title, bool hawser);

// Kinds 8 and 13 with the hawser switched on (word 775 = 1): the last line
// number and line type are the hawser's.
bool hawser_shown(const Session& s);

// The item line of an integer value ("(A57,I5)").
void count_line(PageItems& w, std::string_view label, int value);

// A record table reached entry by entry (1-based; nullopt outside it).
using TableWordFn = std::optional<std::size_t> (*)(int);

// Entries 1..n of an integer record table as a list, and back (n held to
// 0..capacity by the caller).
std::vector<std::int32_t> read_table(const Session& s, TableWordFn word_of, int n);
void write_table(Session& s, TableWordFn word_of, std::span<const std::int32_t> list);

// Runs the value-list editor on the real words [first(1), first(count)] of
// a record table reached through `word_of`: the editor gets min(count,
// capacity) values, at most min(max, capacity). The values edited are
// stored back bit for bit; nothing outside the table is read or written.
void edit_record_list(Session& s, std::string_view title, TableWordFn word_of, int capacity, int count, int max,
                      int out);

// A record table of points reached row by row (1-based row, coordinate 1
// x, 2 y, 3 z; nullopt outside it).
using PointWordFn = std::optional<std::size_t> (*)(int row, int coord);

// Runs the coordinate-table editor on rows 1..rows of a point table of the
// record (rows held to 0..capacity) and stores the points back bit for bit
// unless a print pass only printed them. Returns the editor's status (0, or
// the navigation code that ended it).
int edit_record_points(Session& s, std::string_view title, PointWordFn word_of, int capacity, int rows, int out);

// Line numbers 16 to a line after five blanks, each in three digits and a
// comma ("(5X,16(I3,','))").
void write_line_numbers(Session& s, int out, std::span<const std::int32_t> numbers);

// The count a page shows of a table: the count word, or the whole table when
// the word lies outside 0..capacity.
int shown_count(int count, int capacity);

// The help books of the pages (keys as described in mooring_layout_help.cpp).
extern const HelpBook kGeneralMooringHelp;
extern const HelpBook kProfileModeHelp;
extern const HelpBook kMoreMooringHelp;
extern const HelpBook kDynamicsMooringHelp;

}  // namespace kelp
