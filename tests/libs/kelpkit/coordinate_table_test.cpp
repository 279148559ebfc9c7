#include "kelpkit/coordinate_table.hpp"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::count_of;
using testing::ScriptedSession;
using Row = std::array<float, 3>;

struct Outcome {
  std::vector<Row> rows;
  std::string shown;
  int isel = 0;
  int npage = 0;
};

// Runs the editor on `rows` (n rows of them unless n is given) with the
// replies; a blank selection at the end leaves it.
Outcome edit(std::vector<Row> rows, const std::string& replies, int npage = 0, std::optional<int> n = {}) {
  ScriptedSession t(replies);
  std::vector<float> xyz;
  for (const auto& r : rows) xyz.insert(xyz.end(), r.begin(), r.end());
  Outcome o;
  o.isel = 99;
  o.npage = npage;
  int ival = 0;
  try {
    cordin(t.s, "Fairlead coordinates", xyz, n.value_or(static_cast<int>(rows.size())), kScreen, kKeyboard,
           o.isel, o.npage, ival);
  } catch (const ProgramStop&) {
    ADD_FAILURE() << "the replies ran out: " << replies << t.shown();
  }
  for (std::size_t i = 0; i < rows.size(); ++i) o.rows.push_back({xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]});
  o.shown = t.shown();
  EXPECT_EQ(t.in.tellg(), static_cast<std::streamoff>(replies.size())) << replies << ": replies left";
  return o;
}

const std::vector<Row> kFive = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 5, 5}};

TEST(CoordinateTable, PrintPassShowsTheTableOnce) {
  const Outcome o = edit({{1.0f, 2.0f, 3.0f}, {-4.5f, 0.0f, 10.25f}}, "", 1);
  EXPECT_EQ(o.shown,
            " ++> Enter Fairlead coordinates\n"
            "            x          y          z\n"
            "   1)        1.00       2.00       3.00\n"
            "   2)       -4.50       0.00      10.25\n"
            "\n"
            "   3) Copy a single row to a range of rows\n"
            "   4) Copy-Paste a range of rows\n"
            "   5) Delete a range of rows & collapse array\n"
            "   6) Insert null rows & expand array\n"
            "\n"
            "   7) Translate a range of rows by a constant vector (dx,dy,dz)\n"
            "\n"
            "   8) Rotate a range of rows counter-clockwise about z axis\n"
            "   9) Fill a range of rows with incremental rotations of a selected row\n"
            "  10) Fill array with incremental rotations of a contiguous group of rows\n"
            "\n\n\n");
  EXPECT_EQ(o.isel, 0);
  EXPECT_EQ(o.npage, 2);
}

struct Operation {
  std::string name;
  std::vector<Row> before;
  std::string replies;
  std::vector<Row> after;
};

TEST(CoordinateTable, Operations) {
  const std::vector<Row> four = {{1, 0, 7}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
  const std::vector<Row> six = {{1, 0, 1}, {2, 0, 2}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
  const float c = -0.5f;         // cos 120
  const float s = 0.8660254f;    // sin 120
  const std::vector<Operation> cases = {
      {"retype rows until a blank reply", kFive, "2\n7,8,9\n6\n\n\n",
       {{1, 1, 1}, {7, 8, 9}, {6, 3, 3}, {4, 4, 4}, {5, 5, 5}}},
      {"copy row 2 into rows 1 to 3", kFive, "6\n1,3\n2\n\n", {{2, 2, 2}, {2, 2, 2}, {2, 2, 2}, {4, 4, 4}, {5, 5, 5}}},
      {"copy rows 1 to 2, paste at 4", kFive, "7\n1,2\n4\n\n", {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {1, 1, 1}, {2, 2, 2}}},
      {"paste cut at the end", kFive, "7\n1,3\n5\n\n", {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {1, 1, 1}}},
      {"delete rows 2 to 3", kFive, "8\n2,3\n\n", {{1, 1, 1}, {4, 4, 4}, {5, 5, 5}, {5, 5, 5}, {5, 5, 5}}},
      {"insert rows 2 to 3", kFive, "9\n2,3\n\n", {{1, 1, 1}, {0, 0, 0}, {0, 0, 0}, {2, 2, 2}, {3, 3, 3}}},
      {"translate rows 2 to 3", kFive, "10\n2,3\n1,-2\n\n", {{1, 1, 1}, {3, 0, 2}, {4, 1, 3}, {4, 4, 4}, {5, 5, 5}}},
      {"rotate row 1 by 90", kFive, "11\n90\n1,1\n\n", {{-1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 5, 5}}},
      {"fill rows 1 to 4 with 90 degree steps of row 1", four, "11\n90\n1,4\n1\n\n",
       {{0, 1, 7}, {-1, 0, 7}, {0, -1, 7}, {1, 0, 7}}},
      {"three copies of rows 1 to 2, 120 degrees apart", six, "14\n120\n1,2\n3\n\n",
       {{1, 0, 1}, {2, 0, 2}, {c, s, 1}, {2 * c, 2 * s, 2}, {c, -s, 1}, {2 * c, -2 * s, 2}}},
      {"revert after two changes", kFive, "8\n1,2\n6\n1,1\n5\n14\n\n", kFive},
      {"revert without a change does nothing", kFive, "14\n\n", kFive},
      // Refused or abandoned operations leave the table as it was.
      {"a range given backwards", kFive, "8\n3,2\n\n\n", kFive},
      {"a row outside the table", kFive, "6\n0,3\n\n\n", kFive},
      {"a source row outside the table", kFive, "6\n1,2\n6\n\n\n", kFive},
      {"a row number too large to read", kFive, "6\n1,99999999999\n\n", kFive},
      {"a blank range", kFive, "9\n\n\n", kFive},
      {"translate rows typed as huge reals", kFive, "10\n1e30,2\n\n", kFive},
      {"translate rows typed as fractions", kFive, "10\n1,5.5\n1\n\n",
       {{2, 1, 1}, {3, 2, 2}, {4, 3, 3}, {5, 4, 4}, {6, 5, 5}}},
      {"translate rows beyond the table", kFive, "10\n1,6\n\n", kFive},
      {"translate by a blank vector", kFive, "10\n1,5\n\n\n", kFive},
      {"rotation without an angle", kFive, "11\n\n\n", kFive},
      {"numbers above the menu", kFive, "15\n999\n\n", kFive},
  };
  for (const auto& op : cases) {
    const Outcome o = edit(op.before, op.replies);
    ASSERT_EQ(o.rows.size(), op.after.size()) << op.name;
    for (std::size_t i = 0; i < o.rows.size(); ++i) {
      for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(o.rows[i][k], op.after[i][k], 1e-5f) << op.name << " row " << i + 1;
      }
    }
    EXPECT_EQ(o.isel, 0) << op.name;
  }
}

TEST(CoordinateTable, RowErrorsAndTheRevertItem) {
  Outcome o = edit(kFive, "8\n3,2\n\n\n");
  EXPECT_EQ(count_of(o.shown, "\n >>> Row identification error...\n \n Press <RETURN> to continue: "), 1);
  // Revert is offered after a change and disappears again after it.
  o = edit(kFive, "2\n9,9,9\n\n14\n\n");
  EXPECT_EQ(count_of(o.shown, "  14) Revert to initial, unmodified coordinates\n"), 1);
  EXPECT_EQ(count_of(o.shown, "  11) Rotate a range"), 3);
}

TEST(CoordinateTable, NavigationLeavesTheEditor) {
  for (const auto& [reply, code] : std::vector<std::pair<std::string, int>>{
           {"\n", 0}, {"B\n", kNavBack}, {"J3\n", kNavJump}, {"E\n", kNavExecute}, {"C\n", kNavTableC}}) {
    EXPECT_EQ(edit(kFive, reply).isel, code) << reply;
  }
  // "H" shows the key list and the table again.
  const Outcome o = edit(kFive, "H\n\n\n");
  EXPECT_EQ(count_of(o.shown, " ++> Enter Fairlead coordinates"), 2);
}

TEST(CoordinateTable, TablesWithoutOperations) {
  // One row: no menu; numbers other than 1 show the table again; help is
  // the no-help line of item 1.
  Outcome o = edit({{1, 2, 3}}, "5\n?\n\n1\n4,5,6\n\n");
  EXPECT_EQ(o.rows, (std::vector<Row>{{4, 5, 6}}));
  EXPECT_EQ(o.shown.find(") Copy"), std::string::npos);
  EXPECT_EQ(count_of(o.shown, "\n ++> Item Number  1\n\n ++> Sorry, no help for this item ...\n\n"), 1);
  // An empty table: shown, every number refused, nothing written.
  o = edit({}, "1\n3\n11\n?4\n\n\n");
  EXPECT_EQ(count_of(o.shown, " ++> Enter Fairlead coordinates\n            x          y          z\n \n"), 5);
  EXPECT_EQ(o.shown.find("Enter new data"), std::string::npos);
  EXPECT_EQ(o.isel, 0);
  // A negative count is an empty table too; a count above the rows handed
  // in stands for the rows there are.
  EXPECT_EQ(edit(kFive, "1\n\n", 0, -3).rows, kFive);
  o = edit({{1, 1, 1}, {2, 2, 2}}, "2\n9,9,9\n\n", 0, 7);
  EXPECT_EQ(o.rows, (std::vector<Row>{{1, 1, 1}, {9, 9, 9}}));
  EXPECT_EQ(count_of(o.shown, "   3) Copy a single row"), 2);
}

TEST(CoordinateTable, LongTablesRefuseRotationsOnly) {
  std::vector<Row> rows(151, Row{0, 0, 0});
  rows[150] = {7, 8, 9};
  // The entry warning lets the user leave at once.
  Outcome o = edit(rows, "A\n");
  EXPECT_EQ(o.shown,
            " ++> Array limit exceeded in CORDIN; coordinate                    rotations disabled\n"
            "\n"
            "\a Enter \"A\" to abort or Press <RETURN> to continue: ");
  EXPECT_EQ(o.isel, 0);
  // Rotations are refused with the warning; copies reach every row.
  o = edit(rows, "\n157\n\n152\n1,1\n151\n\n");
  EXPECT_EQ(count_of(o.shown, "rotations disabled\n\n \n Press <RETURN> to continue: "), 1);
  EXPECT_EQ(o.rows[0], (Row{7, 8, 9}));
  EXPECT_EQ(o.shown.find("rotation angle"), std::string::npos);
}

TEST(CoordinateTable, Help) {
  const std::string title = " ****************  Coordinate Input Definition Notes  ****************\n\n";
  struct Case {
    int item;
    int n;
    std::string replies;
    std::string starts;  // what follows the title
  };
  for (const auto& c : std::vector<Case>{
           {7, 5, "\n", "\n ++> Item Number  7\n\n     Copies a contiguous range of source rows"},
           {14, 5, "\n", "\n ++> Item Number  14\n\n     Reverts the array to the values it had on entry"},
           {15, 5, "\n", "\n ++> Item Number  15\n\n ++> Sorry, no help for this item ...\n\n \n Press"},
           {3, 5, "\n", "\n ++> Item Number  3\n\n ++> Sorry, no help for this item ...\n"},
           {0, 5, "\n\n", "\n     Copies the (x,y,z) coordinates of one source row"},
       }) {
    ScriptedSession t(c.replies);
    crdhlp(t.s, kScreen, kKeyboard, c.item, c.n);
    ASSERT_EQ(t.shown().substr(0, title.size()), title) << c.item;
    EXPECT_EQ(t.shown().substr(title.size(), c.starts.size()), c.starts) << c.item;
  }
  // The whole set: two screens, nine texts, eight of them with the note on
  // commas.
  ScriptedSession t("\n\n");
  crdhlp(t.s, kScreen, kKeyboard, 0, 5);
  EXPECT_EQ(count_of(t.shown(), "Press <RETURN> to continue"), 2);
  EXPECT_EQ(count_of(t.shown(), "     Numerical inputs are entered with separating commas, as indicated.\n"), 8);
  EXPECT_EQ(count_of(t.shown(), "\"off the end\""), 1);
}

}  // namespace
}  // namespace kelp
