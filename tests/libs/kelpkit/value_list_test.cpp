#include "kelpkit/value_list.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::kSelect;
using testing::ScriptedSession;


// The menu under a list of n values.
std::string menu(int n) {
  const auto item = [](int k) {
    std::string text = std::to_string(k);
    return std::string(4 - text.size(), ' ') + text;
  };
  std::string text = "\n";
  text += item(n + 1) + ") Auto repeat\n\n";
  text += item(n + 2) + ") Delete a row & collapse array\n";
  text += item(n + 3) + ") Insert a null row & expand array\n";
  text += item(n + 4) + ") Add a constant value to each array element\n";
  text += item(n + 5) + ") Add a constant value to each array element (modulo 360)\n";
  return text;
}

// Runs the editor on vals with the replies; returns the screen.
std::string edit(std::vector<float>& vals, int n, const std::string& replies, int& npage) {
  ScriptedSession t(replies);
  autorp(t.s, "-- Wave periods --", vals, n, static_cast<int>(vals.size()), kScreen, kKeyboard, npage);
  return t.shown();
}

TEST(Autorp, RetypesRowsUntilABlankReply) {
  std::vector<float> v = {1.0f, 2.0f, 3.0f};
  int npage = 0;
  const std::string shown = edit(v, 3, "2\n7.5\n\nE\n", npage);
  const auto screen = [](const std::string& second) {
    return " -- Wave periods --\n\n   1)      1.00\n   2)" + second + "\n   3)      3.00\n" + menu(3) + kSelect;
  };
  const std::string rows = " Enter new value for #   2   Enter new value for #   3  ";
  EXPECT_EQ(shown, screen("      2.00") + rows + screen("      7.50"));
  EXPECT_EQ(v, (std::vector<float>{1.0f, 7.5f, 3.0f}));
  EXPECT_EQ(npage, 0);
}

TEST(Autorp, WholeListOperations) {
  struct Case {
    const char* what;
    std::vector<float> vals;
    int n;
    std::string replies;  // ending with the reply that leaves
    std::vector<float> expected;
  };
  const Case cases[] = {
      {"series, blank increment", {1, 2, 3, 4}, 2, "3\n5\n\nB\n", {5, 5, 5, 5}},
      {"series over all slots", {1, 2, 3, 4}, 2, "3\n1\n0.5\n\n", {1, 1.5f, 2, 2.5f}},
      {"blank start", {1, 2, 3}, 3, "4\n\nE\n", {1, 2, 3}},
      {"delete row 2", {1, 2, 3}, 3, "5\n2\nF\n", {1, 3, 0}},
      {"delete row 2.9", {1, 2, 3}, 3, "5\n2.9\n\n", {1, 3, 0}},
      {"delete outside the shown rows", {1, 2, 3}, 2, "4\n3\n4\n0\nJ3\n", {1, 2, 3}},
      {"insert at row 2", {1, 2, 3}, 3, "6\n2\n\n", {1, 0, 2}},
      {"add a constant", {1, 2, 3}, 3, "7\n-1.5\n\n", {-0.5f, 0.5f, 1.5f}},
      {"add modulo 360", {300, 10}, 2, "7\n90\n\n", {30, 100}},
      {"add modulo 360 below zero", {10, 350}, 2, "7\n-20\n\n", {350, 330}},
      {"out of range stays", {3e38f, 1}, 2, "6\n3e38\n\n\n", {3e38f, 1}},
      {"selection above the menu", {1, 2}, 2, "9\nL\n", {1, 2}},
      {"unreadable value ends the row editing", {1, 2}, 2, "1\n4\nx\n\n", {4, 2}},
  };
  for (const Case& c : cases) {
    std::vector<float> v = c.vals;
    int npage = 0;
    edit(v, c.n, c.replies, npage);
    EXPECT_EQ(v, c.expected) << c.what;
  }
}

TEST(Autorp, MoreThanItCanShowIsCutAfterAMessage) {
  // 170 values (of 200 slots): the four columns of 40 are shown, the message
  // and a wait follow, and the menu counts from the 160 shown.
  std::vector<float> v(200, 1.0f);
  int npage = 0;
  const std::string shown = edit(v, 170, "\n161\n2\n\n\n", npage);
  const std::string cut = "  40)      1.00       80)      1.00      120)      1.00      160)      1.00\n"
                          " ++> Array overflow in AUTORP.f\n" " \n Press <RETURN> to continue: ";
  ASSERT_NE(shown.find(cut + menu(160)), std::string::npos) << shown;
  EXPECT_EQ(shown.find("170)"), std::string::npos);
  EXPECT_EQ(shown.find("AUTORP", shown.find("AUTORP") + 1), std::string::npos);  // once
  EXPECT_EQ(v[199], 2.0f);  // the series still runs over every slot
}

TEST(Autorp, PrintPassListsWithoutMenuOrReplies) {
  std::vector<float> v(41);
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<float>(i + 1);
  int npage = 1;
  const std::string shown = edit(v, 41, "", npage);
  EXPECT_EQ(npage, 2);
  const std::string top = " -- Wave periods --\n\n   1)      1.00       41)     41.00\n   2)      2.00\n";
  const std::string end = "  40)     40.00\n\n\n\n";  // and the half-page gap
  EXPECT_EQ(shown.substr(0, top.size()), top);
  EXPECT_EQ(shown.substr(shown.size() - end.size()), end);
  EXPECT_EQ(shown.find("Auto repeat"), std::string::npos);
}

}  // namespace
}  // namespace kelp
