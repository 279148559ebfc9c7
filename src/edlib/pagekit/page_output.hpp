#pragma once
// The pieces every page is drawn with: the centred page header between runs
// of stars, numbered item lines (item number, label, dot leader up to a fixed
// column, then the value) and the three unit-label tables. The item number is
// carried by the caller and advanced by each item routine, so a page numbers
// its items by the order in which it writes them.
#include <cstddef>
#include <string>
#include <string_view>

namespace kelp {

class Session;

// Length of the item line of edlnot.
inline constexpr std::size_t kItemLineWidth = 79;

// The item line: a blank, item in two digits, ")", a blank, the label, a
// blank and a dot leader of n = width - length(label) - 5 dots (one blank
// when n <= 1), so that the leader ends in column width + 1. Blank-padded
// (or cut) to 79 characters.
std::string edlnot(int item, std::string_view label, int width);

// The item line of edlnot, a real value and eunit(unit_word, offset) written
// on out under the caller's format (e.g. "(A56,F11.2,1X,A6)");
// item := item + 1.
void outcfu(Session& s, int& item, std::string_view label, float value, std::string_view format, int unit_word,
            int offset, int out, int width);
// The same without the unit label.
void outcf0(Session& s, int& item, std::string_view label, float value, std::string_view format, int out,
            int width);
// The same with an integer value.
void outci0(Session& s, int& item, std::string_view label, int value, std::string_view format, int out,
            int width);
// The same with a text value.
void outcc0(Session& s, int& item, std::string_view label, std::string_view text, std::string_view format,
            int out, int width);

// A blank, item in two digits, ") " and the text ("(1X,I2,') ',A)");
// item := item + 1.
void outtxt(Session& s, int& item, std::string_view text, int out);

// The page header: "Page " + label + ": " + title1 + title2 centred between
// two runs of k = (width - m - 4) / 2 stars (blanks, and k = 1, when k <= 1),
// preceded by a screen clear unless noclear is nonzero and followed by one
// empty line. The pages pass width 74.
void paghdr(Session& s, std::string_view label, std::string_view title1, std::string_view title2, int width,
            int out, int noclear);

// Unit labels. The English label of a quantity has an even code and its
// metric twin the next odd one, so a label is looked up by the unit word of
// the record (word 116 of tpcm: 0 English, 1 metric) and the code of the
// English label, passed apart: label code = unit_word + offset. Both are
// checked against the table before they are added, so a unit word from a
// damaged file (anywhere in the int range) gets the table's error text and
// never overflows. A label that is the same in both systems is looked up
// with unit word 0.
//
// 11 characters, codes 0 to 21 (21 is blank); "Index Error" otherwise.
std::string eunit(int unit_word, int offset);
// 16 characters with a leading blank (codes 19, 20 without), codes 0 to 20;
// " Index error" otherwise.
std::string unitp(int unit_word, int offset);
// 16 characters, codes 0 to 22; blank otherwise.
std::string units(int unit_word, int offset);

}  // namespace kelp
