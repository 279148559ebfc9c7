#include "edlib/pagekit/page_table.hpp"

#include <gtest/gtest.h>

#include <string>

#include "edlib/record/data_record.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::iw;
using testing::kNewValue;
using testing::kReturn;
using testing::kSelect;
using testing::PageCase;
using testing::rw;

// The words of a probe page.
constexpr IntWord kShowAngle{800};
constexpr RealWord kDepth{801};
constexpr IntWord kSwitch{802};
constexpr IntWord kFlow{803};
constexpr RealWord kAngle{805};
constexpr IntWord kNamed{806};
constexpr IntWord kRuns{807};
constexpr RealWord kLevel{808};
constexpr IntWord kCustomEdits{809};

bool angle_shown(const Session& s) { return s.tpcm.i(kShowAngle) != 0; }
bool never(const Session&) { return false; }
bool always(const Session&) { return true; }
std::string name_of(const Session&) { return " Alpha"; }
void name_edit(Session& s, int) { s.tpcm.i(kNamed) = 1; }
void run_once(Session& s, int) { ++s.tpcm.i(kRuns); }
void note(Session& s, PageItems& w) { s.write_line(w.out(), "     -- a note --"); }
void custom_line(Session& s, PageItems& w) { fwrite(s, w.out(), "(1X,I2,') Custom ',I2)", {w.custom(), 42}); }
void custom_edit(Session& s, int) { s.tpcm.i(kCustomEdits) = 1; }
void then_depth(Session& s, int);

const Row kRows[] = {
    Row::real("Depth", kDepth, kLengthLabel),
    Row::real("Angle", kAngle, kBlankLabel).when(angle_shown),
    Row::toggle("Switch", kSwitch).blank(),
    Row::mode("Flow is", kFlow, "Specified", "Computed").then(then_depth),
    Row::text("Name", name_of, name_edit),
    Row::action("Run something", run_once).when(never).accept_when(always),
    Row::gap(2),
    Row::line(note),
    Row::custom(custom_line, custom_edit).blank_after(),
    Row::real("Level", kLevel).format("(A57,F9.2)").help(1),
};

constexpr HelpText kNotes[] = {
    {1, "     Depth note,\n     two lines."},
    {3, "     Switch note.", true},
    {4, "     Flow note, not in page help.", false, never},
};
const HelpBook kBook = {.title = " ** Probe Notes **\n", .texts = kNotes};

const TablePage kProbe = {.header_format = "(1X,'Page ',A,': Probe'/)",
                          .value_format = "(A57,F10.2,1X,A6)",
                          .rows = kRows,
                          .book = &kBook};

void then_depth(Session& s, int) {
  if (s.tpcm.i(kFlow) != 0) redo_item(s, kProbe, 1);
}

void probe(Session& s) { run_table(s, kProbe, "5"); }

const std::string kScreenOf =
    " Page 5: Probe\n"
    "\n"
    "  1) Depth ..............................................      3.00 ft    \n"
    "\n"
    "  3) Switch .............................................   No \n"
    "  4) Flow is ............................................ Computed \n"
    "  5) Name ............................................... Alpha\n"
    "     -- a note --\n"
    "  9) Custom 42\n"
    "\n"
    " 10) Level ..............................................     0.00\n";

TEST(TablePage, RowsDrawInOrderAndHiddenRowsKeepTheirNumbers) {
  for (const bool angle : {false, true}) {
    SCOPED_TRACE(angle);
    const auto t = testing::run_page_case(probe, {"", "\n", {rw(kDepth, 3.0f), iw(kShowAngle, angle ? 1 : 0)}});
    std::string expected = kScreenOf;
    if (angle) {
      expected.insert(expected.find("\n\n  3)") + 1,
                      "  2) Angle ..............................................      0.00       \n");
    }
    EXPECT_EQ(t->shown(), expected + kSelect);
  }
}

TEST(TablePage, SelectionRunsTheEditOfTheRowsField) {
  const std::string kMetric = "  1) Depth ..............................................      3.00 m     \n";
  const PageCase cases[] = {
      {"real", "1\n12.5\n\n", {}, {rw(kDepth, 12.5f)}, {kSelect + kNewValue}},
      {"real, blank keeps it", "1\n\n\n", {rw(kDepth, 3.0f)}, {rw(kDepth, 3.0f)}},
      {"real, unit of the metric twin", "\n", {rw(kDepth, 3.0f)}, {}, {kMetric}, {}, {}, 4, kUnitsMetric},
      {"hidden row: drawn again, no prompt", "2\n\n", {}, {rw(kAngle, 0.0f)}, {}, {kNewValue}, {{"Page 5", 2}}},
      {"toggle flips", "3\n\n", {}, {iw(kSwitch, 1)}, {"  3) Switch .............................................   Yes\n"}},
      {"toggle asks in batch mode", "3\n1\n\n", {iw(kBatchFlag, 1)}, {iw(kSwitch, 1)},
       {"Enter 1 for \"Yes\", 0 for \"No\": "}},
      {"mode, then its follow-up edit", "4\n7.5\n\n", {}, {iw(kFlow, 1), rw(kDepth, 7.5f)},
       {kSelect + "  1) Depth ..............................................      0.00 ft    \n" + kNewValue,
        "  4) Flow is ............................................ Specified\n"}},
      {"mode back: no follow-up", "4\n\n", {iw(kFlow, 1)}, {iw(kFlow, 0)}, {}, {kNewValue}},
      {"text edit", "5\n\n", {}, {iw(kNamed, 1)}},
      {"hidden action accepted", "6\n6\n\n", {}, {iw(kRuns, 2)}, {}, {"Run something"}},
      {"gap numbers are no item", "7\n8\n\n", {}, {}, {}, {}, {{"Page 5", 3}}},
      {"custom edit", "9\n\n", {}, {iw(kCustomEdits, 1)}},
      {"row format", "10\n2.5\n\n", {}, {rw(kLevel, 2.5f)}, {" 10) Level ....", "     2.50\n"}},
      {"above the last: drawn again", "11\n\n", {}, {iw(kNavCode, 0)}, {}, {}, {{"Page 5", 2}}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(probe, c);
}

TEST(TablePage, HelpComesFromTheBookByTheRowsKey) {
  const std::string title = " ** Probe Notes **\n\n";
  const PageCase cases[] = {
      {"item: own number", "?1\n\n\n", {}, {}, {title + "\n ++> Item Number 1\n     Depth note,\n     two lines.\n" + kReturn}},
      {"item: key of another item", "?10\n\n\n", {}, {}, {"\n ++> Item Number 10\n     Depth note,"}},
      {"item without note", "?5\n\n\n", {}, {},
       {title + "\n ++> Item Number 5\n\n ++> Sorry, no help for this item ...\n\n" + kReturn}},
      {"note outside page help", "?4\n\n\n", {}, {}, {"Flow note, not in page help."}},
      {"hidden item: no help", "?2\n\n", {}, {}, {}, {"Probe Notes"}},
      {"page help: notes in order, a new screen waits", "?\n\n\n\n", {}, {},
       {title + "\n     Depth note,\n     two lines.\n" + kReturn + "\n     Switch note.\n" + kReturn},
       {"Flow note"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(probe, c);
}

bool depth_set(Session& s) {
  if (s.tpcm.r(kDepth) > 0.0f) return true;
  s.write_line(s.tpcm.i(kOutputUnit), " >>> Depth must be positive.");
  return false;
}

TEST(TablePage, CheckBeforeLeavingKeepsThePage) {
  TablePage page = kProbe;
  page.may_leave = depth_set;
  const auto run = [&](Session& s) { run_table(s, page, "5"); };
  const PageCase cases[] = {
      {"blank and H stay until the check holds", "\nH\n\nJ3\n1\n4\nB\n", {}, {iw(kNavCode, kNavBack), rw(kDepth, 4.0f)},
       {}, {}, {{" >>> Depth must be positive.", 3}, {"Page 5", 5}}},
      {"the check holds at once", "\n", {rw(kDepth, 1.0f)}, {iw(kNavCode, 0)}, {}, {"must be positive"}},
      {"a print pass never checks", "", {iw(kPrintPass, 1)}, {iw(kNavCode, 0)}, {}, {"must be positive"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(run, c);
}

constexpr HelpText kChoiceNotes[] = {
    {1, "     First choice."},
    {2, "     Second choice."},
    {3, "     Third, under a heading of its own.", false, nullptr, " ++> Item Numbers 3 -> 4"},
};
const HelpBook kChoiceBook = {.title = "   Choice Notes",
                              .item_heading = " ++> Item Number  ",
                              .number_width = 2,
                              .no_help = " ++> Sorry, no help for this line...",
                              .heading_on_no_help = false,
                              .numbered_page_help = true,
                              .texts = kChoiceNotes};

TEST(SubMenu, HelpRedrawsTheMenuAndTheReplyIsReturned) {
  struct Case {
    const char* name;
    std::string replies;
    int reply;
    std::string screen;
  };
  const std::string menu = " 1) One\n 2) Two\n";
  const Case cases[] = {
      {"a choice", "2\n", 2, menu + kSelect},
      {"blank", "\n", 0, menu + kSelect},
      {"navigation code", "B\n", kNavBack, menu + kSelect},
      {"item help", "?2\n\n1\n", 1,
       menu + kSelect + "   Choice Notes\n\n ++> Item Number   2\n     Second choice.\n" + kReturn + menu + kSelect},
      {"no note: no heading", "?7\n\n1\n", 1,
       menu + kSelect + "   Choice Notes\n ++> Sorry, no help for this line...\n" + kReturn + menu + kSelect},
      {"page help: numbered headings", "?\n\n1\n", 1,
       menu + kSelect + "   Choice Notes\n\n ++> Item Number   1\n     First choice.\n\n ++> Item Number   2\n"
              "     Second choice.\n\n ++> Item Numbers 3 -> 4\n     Third, under a heading of its own.\n" +
           kReturn + menu + kSelect},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::ScriptedSession t(c.replies);
    t.s.tpcm.i(kOutputUnit) = kScreen;
    const int reply = choose(
        t.s, kScreen, [&] { t.s.write(kScreen, menu); },
        [&](int item) { show_help(t.s, kChoiceBook, item, item); });
    EXPECT_EQ(reply, c.reply);
    EXPECT_EQ(t.shown(), c.screen);
  }
}

}  // namespace
}  // namespace kelp
