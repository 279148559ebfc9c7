#pragma once
// The value-list editor of page items whose value is a list of single
// numbers (wave periods, headings, heights, line lengths and the like).
#include <span>
#include <string_view>

namespace kelp {

class Session;

// Most values the list shows: four columns of 40 rows.
inline constexpr int kValueListShown = 160;

// Shows vals(1..n) under title in up to four columns and edits them in place
// until a navigation command (which is not passed back): retyping values from
// a chosen row on, and the whole-list operations auto repeat (arithmetic
// series), delete a row, insert a null row and add a constant (also modulo
// 360), which act on all nmax slots. nmax is held to vals' size and n to
// nmax. n above kValueListShown gives " ++> Array overflow in AUTORP.f" and a
// wait, and the editor then works on the first kValueListShown values. npage
// is the print-pass counter (word 701 of tpcm): at 1 or more the list is
// printed without the menu, the half-page counter advanced, and nothing read.
void autorp(Session& s, std::string_view title, std::span<float> vals, int n, int nmax, int out, int in,
            int& npage);

}  // namespace kelp
