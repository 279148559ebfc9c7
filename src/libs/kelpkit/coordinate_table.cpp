#include "kelpkit/coordinate_table.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "kelpkit/linear_algebra.hpp"
#include "kelpkit/report_lines.hpp"
#include "sysutl/conversions.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// Operations, numbered from 1 after the last row.
enum Operation {
  kCopyRow = 1,
  kCopyPaste,
  kDelete,
  kInsert,
  kTranslate,
  kRotate,
  kFillRow,
  kFillGroup,
  kRevert,
};
constexpr int kOperations = 9;

constexpr std::array<std::string_view, kOperations> kMenu = {
    ") Copy a single row to a range of rows",
    ") Copy-Paste a range of rows",
    ") Delete a range of rows & collapse array",
    ") Insert null rows & expand array",
    ") Translate a range of rows by a constant vector (dx,dy,dz)",
    ") Rotate a range of rows counter-clockwise about z axis",
    ") Fill a range of rows with incremental rotations of a selected row",
    ") Fill array with incremental rotations of a contiguous group of rows",
    ") Revert to initial, unmodified coordinates",
};

constexpr std::string_view kCommasNote = "     Numerical inputs are entered with separating commas, as indicated.";

// Help texts of the operations, in menu order.
const std::array<std::vector<std::string_view>, kOperations> kHelp = {{
    {"     Copies the (x,y,z) coordinates of one source row into a specified",
     "     set of destination rows (first through last).", kCommasNote},
    {"     Copies a contiguous range of source rows to another place in the",
     "     array, starting at the specified paste row; rows that would fall",
     "     beyond the end of the array are not pasted.", kCommasNote},
    {"     Eliminates a contiguous range of rows by collapsing the array",
     "     upwards: the rows below the range move up to close the gap, and",
     "     the last row is repeated at the end of the array.", kCommasNote},
    {"     Expands the array downwards and inserts null (0,0,0) rows at the",
     "     specified row numbers; the last rows of the array are pushed",
     "     \"off the end\" and are lost.", kCommasNote},
    {"     Translates a range of rows by a user-specified 3-vector",
     "     (dx,dy,dz), which is added to the coordinates of every row.", kCommasNote},
    {"     Rotates the (x,y) values of a range of rows counter-clockwise",
     "     about the z axis, all rows by the same angle; z is unchanged.", kCommasNote},
    {"     Fills a range of rows with the sequentially rotated (x,y)",
     "     coordinates of a baseline row, each row rotated counter-clockwise",
     "     by the given angle relative to the row before it.  This is meant",
     "     for sets of points with periodic azimuthal symmetry, such as the",
     "     fairleads of a round buoy or turret.", kCommasNote},
    {"     Fills the array with copies of a contiguous group of source rows,",
     "     each copy rotated counter-clockwise about the z axis by the given",
     "     angle relative to the copy before it; the first copy is the group",
     "     itself.  This is meant for fairleads that stand in groups of",
     "     closely spaced pairs or more.", kCommasNote},
    {"     Reverts the array to the values it had on entry to this window,",
     "     to undo an unwanted global change."},
}};

// A reply item that was not read keeps this value.
constexpr std::int32_t kUnread = std::numeric_limits<std::int32_t>::min();

void array_limit_message(Session& s, int out) {
  s.write_line(out, " ++> Array limit exceeded in CORDIN; coordinate" + std::string(20, ' ') + "rotations disabled");
  lines(s, out, 1);
}

void help_text(Session& s, int out, int op) {
  lines(s, out, 1);
  for (auto line : kHelp[static_cast<std::size_t>(op - 1)]) s.write_line(out, line);
}

// The editor's state during one call of cordin.
class TableEditor {
 public:
  TableEditor(Session& s, std::span<float> xyz, int n, int out, int in)
      : s_(s), xyz_(xyz), n_(n), out_(out), in_(in),
        entry_(xyz.begin(), xyz.begin() + 3 * static_cast<std::ptrdiff_t>(std::max(n, 0))),
        work_(entry_.size()) {}

  // The title, the rows and the operation menu.
  void draw(std::string_view title, bool printing) const;
  // Copies, rotations and pastes read their source rows from this copy, so
  // overlapping ranges read the rows as they stood before the operation.
  void take_working_copy() {
    std::copy(xyz_.begin(), xyz_.begin() + static_cast<std::ptrdiff_t>(work_.size()), work_.begin());
  }
  // Retypes rows from `from` on until a blank reply.
  void edit_rows(int from);
  // Runs operation op (1 to 9); an abandoned one changes nothing.
  void operate(int op);

 private:
  float& at(int row, int k) { return xyz_[static_cast<std::size_t>(3 * (row - 1) + k)]; }
  double work(int row, int k) const { return work_[static_cast<std::size_t>(3 * (row - 1) + k)]; }
  // Writes the working-copy row src, rotated counter-clockwise by turns
  // times the working angle, into row dest.
  void rotated(int dest, int src, double turns);

  bool read_rows(std::string_view prompt, std::span<int> rows);
  bool read_range(std::string_view prompt, int& first, int& last, bool ordered);
  bool read_angle();
  bool operation_done(int op);

  Session& s_;
  std::span<float> xyz_;
  int n_;
  int out_;
  int in_;
  std::vector<float> entry_;
  std::vector<double> work_;
  bool modified_ = false;
  double angle_ = 0.0;  // degrees, negated as lodrot wants it
};

void TableEditor::draw(std::string_view title, bool printing) const {
  if (!printing) clear(s_, out_);
  s_.write_line(out_, std::string(" ++> Enter ").append(title));
  s_.write_line(out_, std::string(5, ' ') + "       x          y          z");
  for (int r = 1; r <= n_; ++r) {
    const auto i = static_cast<std::size_t>(3 * (r - 1));
    fwrite(s_, out_, "(1X,I3,') ',3F11.2)", {r, xyz_[i], xyz_[i + 1], xyz_[i + 2]});
  }
  if (n_ < 2) return;
  const int shown = modified_ ? kRevert : kRevert - 1;
  for (int op = 1; op <= shown; ++op) {
    if (op == kCopyRow || op == kTranslate || op == kRotate) lines(s_, out_, 1);
    fwrite(s_, out_, "(1X,I3,A)", {n_ + op, std::string(kMenu[static_cast<std::size_t>(op - 1)])});
  }
}

void TableEditor::edit_rows(int from) {
  for (int r = from; r <= n_; ++r) {
    float x = at(r, 0);
    float y = at(r, 1);
    float z = at(r, 2);
    int blank = 0;
    entcrd(s_, r, x, y, z, 3, out_, in_, blank);
    if (blank != 0) return;
    at(r, 0) = x;
    at(r, 1) = y;
    at(r, 2) = z;
    modified_ = true;
  }
}

bool TableEditor::read_rows(std::string_view prompt, std::span<int> rows) {
  wrtlin(s_, prompt, out_);
  std::array<std::int32_t, 2> v = {kUnread, kUnread};
  const auto wanted = std::span<std::int32_t>(v).first(rows.size());
  int blank = 0;
  readni(s_, wanted, static_cast<int>(rows.size()), in_, out_, blank);
  if (blank != 0 || std::ranges::find(wanted, kUnread) != wanted.end()) return false;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    int ierr = 0;
    indxchk(s_, v[k], n_, ierr, out_, in_);
    if (ierr != 0) return false;
    rows[k] = v[k];
  }
  return true;
}

bool TableEditor::read_range(std::string_view prompt, int& first, int& last, bool ordered) {
  std::array<int, 2> r = {0, 0};
  if (!read_rows(prompt, r)) return false;
  if (ordered && r[1] < r[0]) {
    indxerr(s_, out_, in_);
    return false;
  }
  first = r[0];
  last = r[1];
  return true;
}

bool TableEditor::read_angle() {
  wrtlin(s_, "Enter rotation angle (degrees): ", out_);
  float reply = 0.0f;
  int blank = 0;
  crread(s_, reply, blank, in_);
  if (blank != 0) return false;
  angle_ = -static_cast<double>(reply);
  return true;
}

void TableEditor::rotated(int dest, int src, double turns) {
  std::array<double, 4> rot{};
  lodrot(turns * angle_, rot);
  const std::array<double, 2> v = {work(src, 0), work(src, 1)};
  std::array<double, 2> r{};
  dgmprd(rot, v, r, 2, 2, 1);
  at(dest, 0) = static_cast<float>(r[0]);
  at(dest, 1) = static_cast<float>(r[1]);
  at(dest, 2) = static_cast<float>(work(src, 2));
}

void TableEditor::operate(int op) {
  if (op == kRotate || op == kFillRow || op == kFillGroup) {
    if (n_ > kCoordinateRowLimit) {
      array_limit_message(s_, out_);
      int reply = 0;
      prsret(s_, out_, in_, reply);
      return;
    }
    if (!read_angle()) return;
  }
  if (op == kRevert) {
    if (!modified_) return;
    std::copy(entry_.begin(), entry_.end(), xyz_.begin());
    modified_ = false;
    return;
  }
  if (operation_done(op)) modified_ = true;
}

// One operation other than revert; false when it was abandoned.
bool TableEditor::operation_done(int op) {
  int first = 0;
  int last = 0;
  std::array<int, 1> one = {0};
  switch (op) {
    case kCopyRow: {
      if (!read_range("Enter (first,last) destination rows (e.g.: 1,3): ", first, last, true)) return false;
      if (!read_rows("Enter source row for Copy: ", one)) return false;
      for (int r = first; r <= last; ++r) {
        for (int k = 0; k < 3; ++k) at(r, k) = static_cast<float>(work(one[0], k));
      }
      return true;
    }
    case kCopyPaste: {
      if (!read_range("Enter (first,last) contiguous rows to Copy (e.g.: 1,3): ", first, last, false)) return false;
      if (!read_rows("Enter starting row for Paste: ", one)) return false;
      const int end = std::min(n_, one[0] + (last - first));
      for (int r = one[0]; r <= end; ++r) {
        for (int k = 0; k < 3; ++k) at(r, k) = static_cast<float>(work(first + (r - one[0]), k));
      }
      return true;
    }
    case kDelete: {
      if (!read_range("Enter (first,last) contiguous rows to delete (e.g.: 1,3): ", first, last, true)) return false;
      const int gap = last - first + 1;
      for (int r = first; r <= n_; ++r) {
        const int from = std::min(r + gap, n_);
        for (int k = 0; k < 3; ++k) at(r, k) = at(from, k);
      }
      return true;
    }
    case kInsert: {
      if (!read_range("Enter (first,last) contiguous rows to zero out (e.g.: 1,3): ", first, last, true)) {
        return false;
      }
      const int gap = last - first + 1;
      for (int r = n_; r > last; --r) {
        for (int k = 0; k < 3; ++k) at(r, k) = at(r - gap, k);
      }
      for (int r = first; r <= last; ++r) {
        for (int k = 0; k < 3; ++k) at(r, k) = 0.0f;
      }
      return true;
    }
    case kTranslate: {
      // Row numbers come as reals here: range-checked before they become
      // integers, and silently refused outside the table.
      wrtlin(s_, "Enter (first,last) contiguous rows to translate (e.g.: 1,4) ", out_);
      float a = 0.0f;
      float b = 0.0f;
      float unused = 0.0f;
      int blank = 0;
      crreal(s_, a, b, unused, blank, in_);
      const float top = static_cast<float>(n_) + 1.0f;
      const auto in_table = [top](float v) { return v >= 1.0f && v < top; };
      if (!in_table(a) || !in_table(b)) return false;
      first = trunc_saturating(a);
      last = trunc_saturating(b);
      wrtlin(s_, "Enter offset vector (dx,dy,dz): ", out_);
      std::array<float, 3> d = {0.0f, 0.0f, 0.0f};
      crreal(s_, d[0], d[1], d[2], blank, in_);
      if (blank != 0) return false;
      for (int r = first; r <= last; ++r) {
        for (int k = 0; k < 3; ++k) at(r, k) = at(r, k) + d[static_cast<std::size_t>(k)];
      }
      return true;
    }
    case kRotate: {
      if (!read_range("Enter (first,last) contiguous rows to rotate (e.g.: 1,4) ", first, last, true)) return false;
      for (int r = first; r <= last; ++r) rotated(r, r, 1.0);
      return true;
    }
    case kFillRow: {
      if (!read_range("Enter (first,last) contiguous rows to fill (e.g.: 1,3): ", first, last, true)) return false;
      if (!read_rows("Enter source row to rotate: ", one)) return false;
      for (int r = first; r <= last; ++r) rotated(r, one[0], static_cast<double>(r - first + 1));
      return true;
    }
    case kFillGroup: {
      if (!read_range("Enter (first,last) contiguous source rows in group (e.g.: 1,3): ", first, last, true)) {
        return false;
      }
      if (!read_rows("Enter number of copies of rotated group: ", one)) return false;
      const int group = last - first + 1;
      for (int m = 1; m <= one[0]; ++m) {
        for (int j = 0; j < group; ++j) {
          const int dest = (m - 1) * group + 1 + j;
          if (dest > n_) return true;
          rotated(dest, first + j, static_cast<double>(m - 1));
        }
      }
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

void lodrot(double theta, std::array<double, 4>& rot) {
  const double t = theta / 57.29578;
  rot = {std::cos(t), -std::sin(t), std::sin(t), std::cos(t)};
}

void indxerr(Session& s, int out, int in) {
  lines(s, out, 1);
  s.write_line(out, " >>> Row identification error...");
  int reply = 0;
  prsret(s, out, in, reply);
}

void indxchk(Session& s, int k, int n, int& ierr, int out, int in) {
  ierr = 0;
  if (k >= 1 && k <= n) return;
  indxerr(s, out, in);
  ierr = 1;
}

void crdhlp(Session& s, int out, int in, int item, int n) {
  clear(s, out);
  const std::string stars(16, '*');
  fwrite(s, out, "(1X,A,2X,A,2X,A)", {stars, std::string("Coordinate Input Definition Notes"), stars});
  lines(s, out, 1);
  const bool operations = n >= 2;
  int reply = 0;
  if (item == 0 && operations) {
    for (int op = kCopyRow; op <= kOperations; ++op) {
      help_text(s, out, op);
      if (op == kRotate || op == kOperations) {
        prsret(s, out, in, reply);
        clear(s, out);
      }
    }
    return;
  }
  fwrite(s, out, item <= 9 ? "(/' ++> Item Number ',I2)" : "(/' ++> Item Number ',I3)", {item});
  const long long op = static_cast<long long>(item) - n;
  if (operations && op >= 1 && op <= kOperations) {
    help_text(s, out, static_cast<int>(op));
  } else {
    lines(s, out, 1);
    s.write_line(out, " ++> Sorry, no help for this item ...");
    lines(s, out, 1);
  }
  prsret(s, out, in, reply);
}

void cordin(Session& s, std::string_view title, std::span<float> xyz, int n, int out, int in, int& isel, int& npage,
            int& ival) {
  // Never past the rows the caller handed in.
  n = std::min(n, static_cast<int>(std::min<std::size_t>(xyz.size() / 3, std::numeric_limits<int>::max())));
  const bool printing = npage >= 1;
  if (n > kCoordinateRowLimit && !printing) {
    clear(s, out);
    array_limit_message(s, out);
    int reply = 0;
    abort0(s, out, in, reply);
    if (reply == -1) {
      isel = 0;
      return;
    }
  }
  TableEditor editor(s, xyz, n, out, in);
  for (;;) {
    editor.draw(title, npage >= 1);
    if (npage >= 1) {
      twopg(s, npage, out);
      isel = 0;
      return;
    }
    editor.take_working_copy();
    entsel(s, isel, out, in, ival);
    const int sel = isel;
    if (sel >= 1 && sel <= n) {
      editor.edit_rows(sel);
      continue;
    }
    if (sel == kNavHelp) {
      // Without operations the only help is the no-help line of item 1.
      crdhlp(s, out, in, n >= 2 ? ival : 1, n);
      continue;
    }
    if (sel < 1 && sel != kNavKeys) return;
    if (n < 2 || sel == kNavKeys) continue;
    const long long op = static_cast<long long>(sel) - n;
    if (op >= 1 && op <= kOperations) editor.operate(static_cast<int>(op));
  }
}

}  // namespace kelp
