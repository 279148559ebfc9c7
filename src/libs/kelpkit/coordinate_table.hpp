#pragma once
// The coordinate-table editor: a sub-editor for a page item whose value is a
// table of points (fairleads, output points, hawser points). It lists the
// rows with their x, y and z, lets the user retype rows one after another,
// and offers whole-table operations: copy a row to a range, copy and paste a
// range, delete rows, insert null rows, translate, rotate about the vertical
// axis, fill a range with incremental rotations of one row, fill the table
// with rotated copies of a group, and revert to the table as it was on entry.
#include <array>
#include <span>
#include <string_view>

namespace kelp {

class Session;

// Tables longer than this get a warning on entry and no rotations.
inline constexpr int kCoordinateRowLimit = 150;

// The 2x2 rotation matrix of an angle theta in degrees, column by column:
// (cos t, -sin t, sin t, cos t) with t = theta / 57.29578. Applied to the
// column (x, y) it gives x cos t + y sin t, -x sin t + y cos t, so the editor
// passes the negated user angle to turn points counter-clockwise.
void lodrot(double theta, std::array<double, 4>& rot);

// Row-number check: when k lies outside 1..n, indxerr is called and ierr is
// 1; otherwise ierr is 0. k itself is not changed.
void indxchk(Session& s, int k, int n, int& ierr, int out, int in);

// A blank line, " >>> Row identification error..." and the RETURN wait.
void indxerr(Session& s, int out, int in);

// Help of the editor for an n-row table: item 0 shows every operation's
// text (two screens), an operation's number (n+1 to n+9) its own text, any
// other number the no-help line. A table of fewer than two rows has no
// operations.
void crdhlp(Session& s, int out, int in, int item, int n);

// Runs the editor on the first n rows of xyz (x, y, z per row; n is limited
// to the rows xyz holds) until the user gives a navigation command.
//   title  the item's description, shown after " ++> Enter "
//   isel   in: ignored; out: the code that ended the editor (0 after a
//          print pass or RETURN, a negative navigation code otherwise)
//   npage  print-pass counter: 1 or more prints the table once and returns
//   ival   the number typed after a command letter ("?n" helps on item n)
// An empty table (n <= 0) is shown and every operation is refused. A table
// of more than 150 rows warns on entry (the user may leave at once) and
// refuses rotations; every other operation works on all its rows.
void cordin(Session& s, std::string_view title, std::span<float> xyz, int n, int out, int in, int& isel, int& npage,
            int& ival);

}  // namespace kelp
