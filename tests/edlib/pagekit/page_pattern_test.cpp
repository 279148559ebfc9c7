#include "edlib/pagekit/page_pattern.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::count_of;
using testing::kReturn;
using testing::kSelect;
using testing::ScriptedSession;


// A small page of five items: 1 a value, 2 hidden, 3 a yes/no, 4 an action,
// 5 a text. It records what the loop asked of it.
struct ProbePage {
  std::vector<int> edits;
  std::vector<int> helps;
  int draws = 0;
  PageHooks hooks;

  explicit ProbePage(Session& s) {
    hooks.draw = [this, &s](PageItems& w) {
      ++draws;
      s.write_line(w.out(), "PAGE");
      w.value("Depth", 12.5f, "(A57,F11.2,1X,A6)", 0, 7);
      w.hidden();
      w.yes_no("Switch", 1);
      w.blank();
      w.action("Run something");
      w.text("Name", " Alpha");
    };
    hooks.edit = [this](int n) { edits.push_back(n); };
    hooks.help = [this](int n) { helps.push_back(n); };
  }
};

struct PagePattern : ::testing::Test {
  static void prepare(Session& s) { s.tpcm.i(kOutputUnit) = kScreen; }
};

TEST_F(PagePattern, ItemLinesHaveA57ColumnLabelFieldAndHiddenItemsKeepTheirNumbers) {
  ScriptedSession t("\n");
  prepare(t.s);
  ProbePage page(t.s);
  run_page(t.s, page.hooks);
  const std::string expected =
      "PAGE\n"
      "  1) Depth ..............................................      12.50 ft    \n"
      "  3) Switch .............................................   Yes\n"
      "\n"
      "  4) Run something\n"
      "  5) Name ............................................... Alpha\n" +
      kSelect;
  EXPECT_EQ(t.shown(), expected);
  EXPECT_EQ(t.s.tpcm.i(kNavCode), 0);
  EXPECT_TRUE(page.edits.empty());
}

TEST_F(PagePattern, SelectionEditsShownItemsAndRedisplays) {
  // 1 and 5 are edited; 2 is hidden and 9 above the last item: both only
  // draw the page again; the empty reply leaves with code 0.
  ScriptedSession t("1\n2\n9\n5\n\n");
  prepare(t.s);
  ProbePage page(t.s);
  run_page(t.s, page.hooks);
  EXPECT_EQ(page.edits, (std::vector<int>{1, 5}));
  EXPECT_EQ(page.draws, 5);
  EXPECT_EQ(t.s.tpcm.i(kNavCode), 0);
}

TEST_F(PagePattern, NumberAboveLastCanLeaveThePage) {
  ScriptedSession t("6\n");
  prepare(t.s);
  ProbePage page(t.s);
  page.hooks.above_last = AboveLast::kLeave;
  run_page(t.s, page.hooks);
  EXPECT_EQ(t.s.tpcm.i(kNavCode), 6);
  EXPECT_EQ(page.draws, 1);
}

TEST_F(PagePattern, AnEditCanLeaveThePageWithItsCode) {
  // Item 4 leaves with the back code, as a sub-editor left by "B" does; the
  // loop returns at once, without another draw or reply.
  ScriptedSession t("4\n5\n");
  prepare(t.s);
  ProbePage page(t.s);
  page.hooks.edit = [&](int n) {
    page.edits.push_back(n);
    if (n == 4) leave_page(t.s, kNavBack);
  };
  run_page(t.s, page.hooks);
  EXPECT_EQ(page.edits, (std::vector<int>{4}));
  EXPECT_EQ(page.draws, 1);
  EXPECT_EQ(t.s.tpcm.i(kNavCode), kNavBack);
}

TEST_F(PagePattern, NavigationCodesLeaveInWord699WithTheirNumber) {
  struct Case {
    const char* reply;
    int code;
    int number;
  };
  for (const Case& c : {Case{"B\n", kNavBack, 0}, Case{"J7\n", kNavJump, 7}, Case{"E\n", kNavExecute, 0},
                        Case{"S\n", kNavSkip, 0}, Case{"F\n", kNavFirst, 0}, Case{"L\n", kNavLast, 0}}) {
    ScriptedSession t(c.reply);
    prepare(t.s);
    ProbePage page(t.s);
    run_page(t.s, page.hooks);
    EXPECT_EQ(t.s.tpcm.i(kNavCode), c.code) << c.reply;
    EXPECT_EQ(t.s.tpcm.i(kPageCounter), c.number) << c.reply;
    EXPECT_EQ(page.draws, 1) << c.reply;
  }
}

TEST_F(PagePattern, KeysLeaveForTheLoopOrRedisplayHere) {
  {
    // "H": the key list and its wait, then -1979 for the page loop.
    ScriptedSession t("H\n\n");
    prepare(t.s);
    ProbePage page(t.s);
    run_page(t.s, page.hooks);
    EXPECT_EQ(t.s.tpcm.i(kNavCode), kNavKeys);
    EXPECT_NE(t.shown().find(" (?n) Help on current page for selection \"n\""), std::string::npos);
    EXPECT_EQ(page.draws, 1);
  }
  {
    ScriptedSession t("H\n\n\n");
    prepare(t.s);
    ProbePage page(t.s);
    page.hooks.keys_redisplay_here = true;
    run_page(t.s, page.hooks);
    EXPECT_EQ(page.draws, 2);
    EXPECT_EQ(t.s.tpcm.i(kNavCode), 0);
  }
}

TEST_F(PagePattern, HelpGoesToShownItemsOnlyUnlessThePageTakesAnyNumber) {
  // "?" page help, "?3" shown, "?2" hidden, "?9" above the last, "?-4".
  const std::string replies = "?\n?3\n?2\n?9\n?-4\n\n";
  {
    ScriptedSession t(replies);
    prepare(t.s);
    ProbePage page(t.s);
    run_page(t.s, page.hooks);
    EXPECT_EQ(page.helps, (std::vector<int>{0, 3}));
    EXPECT_EQ(page.draws, 6);
    EXPECT_TRUE(page.edits.empty());
  }
  {
    ScriptedSession t(replies);
    prepare(t.s);
    ProbePage page(t.s);
    page.hooks.help_for = HelpFor::kAnyNumber;
    run_page(t.s, page.hooks);
    EXPECT_EQ(page.helps, (std::vector<int>{0, 3, 2, 9, -4}));
  }
}

TEST_F(PagePattern, PrintPassDrawsOnceOnTheListingUnitAndReadsNothing) {
  ScriptedSession t("");  // any read would end the session
  t.s.tpcm.i(kOutputUnit) = kScreen;  // the listing shown on the screen for the test
  t.s.tpcm.i(kPrintPass) = 1;
  t.s.tpcm.i(kNavCode) = -1980;
  ProbePage page(t.s);
  run_page(t.s, page.hooks);
  EXPECT_EQ(page.draws, 1);
  EXPECT_EQ(t.s.tpcm.i(kNavCode), 0);
  EXPECT_EQ(t.s.tpcm.i(kPrintPass), 2);  // twopg counted the half page
  const std::string shown = t.shown();
  EXPECT_EQ(shown.find("Enter number of selection"), std::string::npos);
  // The second half page of a pair ends with three empty lines.
  EXPECT_EQ(shown.substr(shown.size() - 4), "\n\n\n\n");
}

TEST_F(PagePattern, PrintPassGoesToTheOutputUnitOfWord702) {
  ScriptedSession t("");
  t.s.tpcm.i(kOutputUnit) = kListingUnit;  // not open: swallowed
  t.s.tpcm.i(kPrintPass) = 1;
  ProbePage page(t.s);
  run_page(t.s, page.hooks);
  EXPECT_EQ(t.shown(), "");
}

TEST(PageHelpPieces, ItemHeaderAndSorryLine) {
  ScriptedSession t;
  itemno(t.s, kScreen, 7);
  itemno(t.s, kScreen, 12);
  help_sorry(t.s, kScreen, " ++> Sorry, no help for this item ...");
  EXPECT_EQ(t.shown(),
            "\n ++> Item Number 7\n"
            "\n ++> Item Number 12\n"
            "\n ++> Sorry, no help for this item ...\n\n");
}

TEST(PageHelpPieces, PauseAndDoneWaitForReturn) {
  ScriptedSession t("\n\n");
  help_pause(t.s, kScreen, kKeyboard);
  help_done(t.s, kScreen, kKeyboard);
  EXPECT_EQ(t.shown(), " \n Press <RETURN> to continue:  \n Press <RETURN> to continue: ");
}

TEST(PageHeader, CentredBetweenStarsWithEmptyLine) {
  ScriptedSession t;
  page_header(t.s, "2", "Vessel", " Hydrostatic Characteristics", kScreen);
  EXPECT_EQ(t.shown(), " **************  Page 2: Vessel Hydrostatic Characteristics  **************\n\n");
}

}  // namespace
}  // namespace kelp
