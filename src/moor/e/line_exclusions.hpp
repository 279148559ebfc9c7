#pragma once
// Lists of line numbers kept by the mooring pages: the excluded (broken)
// lines and the lines excluded from the inertial correction, stored in the
// record as bit fields of four words (30 lines each, lines 1 to 120), and
// the list editor that refuses a list until every entry is a line number of
// the mooring.
#include <cstdint>
#include <span>
#include <string_view>

namespace kelp {

class Session;

// Lines 1..120 have a bit: bit b (1..30) of word k (0..3) is line 30 k + b.
inline constexpr int kExcludableLines = 120;
inline constexpr int kLinesPerBitWord = 30;
inline constexpr int kExclusionBitWords = 4;
// A page's list holds as many line numbers as a mooring has legs.
inline constexpr int kLineListCapacity = 150;

enum class ExcludeMode {
  kPack = 0,    // the four words from the list
  kUnpack = 1,  // the list from the four words
};

// Converts between a list of line numbers and the four bit-field words.
//   kUnpack: the lines 1..min(legs, 120) whose bits are set go to list[0..],
//            ascending (as many as the list holds); the number listed is
//            returned. count is not used.
//   kPack:   the four words are cleared, then the bit of each of the first
//            count entries (at most the list's size) is set; numbers outside
//            1..120 set nothing. count is returned.
// With more than 120 legs the user is warned first, on the screen, that
// lines above 120 cannot be excluded, and one reply line is read; never in a
// print pass (word 701 not 0) nor when out is the silent unit 41, so that a
// save never waits on the keyboard.
int loadexclude(Session& s, int count, std::span<std::int32_t> list, std::span<std::int32_t, kExclusionBitWords> bits,
                int legs, ExcludeMode mode, int out);

// The value-list editor on a list of integers: the first count entries, at
// most max (both held to the list's size), go to the editor as reals and
// come back truncated toward zero. In a print pass the list is only printed.
void edit_integer_list(Session& s, std::string_view title, std::span<std::int32_t> list, int count, int max, int out);

// Edits the first count entries of a list of line numbers with the
// value-list editor (its real twin) under title, the editor's maximum being
// min(legs, list size), until every entry is a line number 1..legs. An
// entry that is not gives " >>> Please provide <count> valid line numbers..."
// (count in count_digits columns), a wait, and the editor again. When no
// list can be valid (no legs, or more entries than the editor can reach)
// the message is shown once and false returned. In a print pass the editor
// only prints the list, and neither a print pass nor the silent unit 41 runs
// the check. True when the list is valid (or only printed).
bool edit_line_numbers(Session& s, std::string_view title, std::span<std::int32_t> list, int count, int legs,
                       int count_digits, int out);

}  // namespace kelp
