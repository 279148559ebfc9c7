#include "edlib/frame/end_session.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "expected_screens.hpp"
#include "kelpkit/record_words.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;
namespace fs = std::filesystem;

using testing::InTempDir;
using testing::kDiscEndOfSessionPage;

// The words fintop works on, as the final page passes them.
struct Page {
  int kind = 4;
  int status = -7;
  int help = 0;
  int counter = 0;
  int out = 6;
  int saved = 6;
  int code = 0;
  int warnings = 0;
  int fatal = 0;
  int chain_switch = 0;
  void run(Session& s) {
    fintop(s, "10", kind, status, "RONDIN.stxt ", "ronvaske    ", help, counter, out, saved, code, warnings, fatal,
           21, chain_switch);
  }
};

int pages_shown(const std::string& screen) {
  int n = 0;
  for (auto p = screen.find("End of Session"); p != std::string::npos; p = screen.find("End of Session", p + 1)) ++n;
  return n;
}

TEST(Fintop, DiscBuoyPageShowsItemsOneToSeven) {
  ScriptedSession t("1\n");
  Page p;
  p.run(t.s);
  EXPECT_EQ(t.shown(), kDiscEndOfSessionPage);
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(p.code, -2);
  EXPECT_EQ(t.s.state<FintopState>().savedata, 1);
}

TEST(Fintop, ItemsDependOnTheKind) {
  {
    ScriptedSession t("2\n");
    Page p;
    p.kind = 10;
    p.run(t.s);
    const std::string shown = t.shown();
    EXPECT_NE(shown.find(" 6) Produce"), std::string::npos);
    EXPECT_NE(shown.find(" 7) Import Barge and environment data from an external file\n"), std::string::npos);
    EXPECT_NE(shown.find(" 8) Import mooring system data from an external file\n"), std::string::npos);
    EXPECT_NE(shown.find(" 9) Import Tug data from an external file\n"), std::string::npos);
    EXPECT_EQ(shown.find("10) Chain"), std::string::npos);
    EXPECT_EQ(p.code, 101);
    EXPECT_EQ(p.status, 1);
  }
  {
    ScriptedSession t("2\n");
    Page p;
    p.kind = 8;
    p.run(t.s);
    const std::string shown = t.shown();
    EXPECT_EQ(shown.find(" 6) Produce"), std::string::npos);
    EXPECT_NE(shown.find(" 8) Import mooring"), std::string::npos);
    EXPECT_EQ(shown.find(" 9) Import"), std::string::npos);
  }
  {
    ScriptedSession t("2\n");
    Page p;
    p.kind = 13;
    p.run(t.s);
    EXPECT_NE(t.shown().find(" 7) Import Tanker and"), std::string::npos);
    EXPECT_NE(t.shown().find(" 9) Import Buoy data"), std::string::npos);
  }
  {
    ScriptedSession t("2\n");
    Page p;
    p.kind = 16;
    p.run(t.s);
    EXPECT_EQ(t.shown().find(" 8) Import"), std::string::npos);
  }
}

TEST(Fintop, ChainingOnlyForKindsTwelveAndFifteenWithTheSwitch) {
  EXPECT_TRUE(chaining_allowed(15, 1));
  EXPECT_TRUE(chaining_allowed(12, -3));
  EXPECT_FALSE(chaining_allowed(15, 0));
  EXPECT_FALSE(chaining_allowed(4, 1));
  EXPECT_FALSE(chaining_allowed(13, 1));

  ScriptedSession t("10\n");
  Page p;
  p.kind = 15;
  p.chain_switch = 1;
  p.run(t.s);
  EXPECT_NE(t.shown().find("\n\n10) Chain to Gustrevan\n\n  (Press <RETURN> to review data)\n"), std::string::npos);
  EXPECT_EQ(p.status, 999);
  EXPECT_EQ(p.code, -1983);
  EXPECT_EQ(t.s.state<FintopState>().gustrevan_go, 1);
}

TEST(Fintop, CodesNotOfferedRedisplayAndNeverSave) {
  // Table commands, hidden items and numbers beyond the page: each shows the
  // page again; only the final 2 leaves.
  ScriptedSession t("M\nC\nD\nI\nX\n8\n9\n10\n11\n99\n2\n");
  Page p;
  p.run(t.s);
  EXPECT_EQ(pages_shown(t.shown()), 11);
  EXPECT_EQ(p.code, 101);
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(t.s.state<FintopState>().savedata, 0);
  EXPECT_EQ(t.s.state<FintopState>().gustrevan_go, 0);
}

TEST(Fintop, HiddenWaveReportIsRefusedForKindsSevenToNine) {
  ScriptedSession t("6\n2\n");  // no wait is read for the refused item
  Page p;
  p.kind = 9;
  p.run(t.s);
  EXPECT_EQ(pages_shown(t.shown()), 2);
  EXPECT_EQ(t.shown().find("wave report"), std::string::npos);
}

TEST(Fintop, WaveReportAndImportComeBackToThePage) {
  // The import is asked for a path; a blank one is refused with a wait.
  ScriptedSession t("6\n\n7\n\n\n2\n");
  t.s.tpcm.i(kOutputUnit) = kScreen;  // the wave report speaks on the record's output unit
  Page p;
  p.run(t.s);
  EXPECT_EQ(pages_shown(t.shown()), 3);
  EXPECT_NE(t.shown().find(" ++> Wave report not written: the number of wave periods must lie between 2 and 100.\n"),
            std::string::npos);
  EXPECT_NE(t.shown().find(" >>> Path:  >>> Invalid Filename!\n"), std::string::npos);
  EXPECT_EQ(p.code, 101);
}

TEST(Fintop, NavigationCodesPassThroughWithStatusOne) {
  struct Case {
    const char* reply;
    int code;
  };
  for (const Case c : {Case{"", 0}, Case{"B", -1}, Case{"F", -1980}, Case{"L", -1981}, Case{"S", -1982},
                       Case{"J5", -1984}, Case{"H", -1979}, Case{"!", -1979}}) {
    ScriptedSession t(std::string(c.reply) + "\n\n");
    Page p;
    p.code = 77;
    p.run(t.s);
    EXPECT_EQ(p.code, c.code) << c.reply;
    EXPECT_EQ(p.status, 1) << c.reply;
  }
  ScriptedSession t("J5\n");
  Page p;
  p.run(t.s);
  EXPECT_EQ(p.help, 5);
}

TEST(Fintop, ExecuteDependsOnTheFindingsOfTheLastCheck) {
  for (const char* reply : {"3", "E", "e"}) {
    ScriptedSession t(std::string(reply) + "\n");
    Page p;
    p.run(t.s);
    EXPECT_EQ(p.code, -1983) << reply;
    EXPECT_EQ(p.status, 0) << reply;  // the checks have not run yet
  }
  {
    ScriptedSession t("3\n");
    Page p;
    p.warnings = 2;
    p.run(t.s);
    EXPECT_EQ(p.status, 1);  // warnings seen: it goes through
  }
  {
    ScriptedSession t("E\n");
    Page p;
    p.warnings = 2;
    p.fatal = 1;
    p.run(t.s);
    EXPECT_EQ(p.status, 0);  // fatal findings: check again
  }
}

TEST(Fintop, ExecuteChosenEarlierRunsTheChecksWithoutThePage) {
  ScriptedSession t;
  Page p;
  p.code = -1983;
  p.run(t.s);
  EXPECT_EQ(p.status, 0);
  EXPECT_EQ(p.code, -1983);
  EXPECT_EQ(t.shown(), "");
}

using FintopFiles = InTempDir;

TEST_F(FintopFiles, SilentRunOpensTheReportAndClearsTheCounts) {
  ScriptedSession t("4\n");
  Page p;
  p.warnings = 3;
  p.fatal = 2;
  p.run(t.s);
  EXPECT_EQ(p.out, 41);
  EXPECT_EQ(p.warnings, 0);
  EXPECT_EQ(p.fatal, 0);
  EXPECT_EQ(p.status, 0);
  EXPECT_EQ(p.code, -1983);
  EXPECT_TRUE(t.s.is_open(41));
  EXPECT_TRUE(t.s.close_unit(41));  // written whole when closed
  EXPECT_TRUE(fs::exists("Diagnostics.stxt"));
}

TEST_F(FintopFiles, PrintPassOfItemFiveIsClosedAndThePageComesBack) {
  ScriptedSession t("5\n2\n");
  Page p;
  p.run(t.s);
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(p.code, -1980);
  EXPECT_EQ(p.counter, 1);
  EXPECT_EQ(p.out, 1);
  EXPECT_EQ(p.saved, 6);
  EXPECT_EQ(t.s.state<FintopState>().usrhcp, 1);
  t.s.write_line(1, "listing line");

  // The pass comes back to the final page: listing closed, screen restored,
  // page shown again.
  p.run(t.s);
  EXPECT_FALSE(t.s.is_open(1));
  std::ifstream f("RONDIN.stxt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), "listing line\n");
  EXPECT_EQ(p.out, 6);
  EXPECT_EQ(p.counter, 0);
  EXPECT_EQ(p.code, 101);
  EXPECT_EQ(t.s.state<FintopState>().usrhcp, 0);
  EXPECT_EQ(pages_shown(t.shown()), 2);
}

TEST_F(FintopFiles, SecondItemFiveStartsANewPass) {
  ScriptedSession t("5\n5\n");
  Page p;
  p.run(t.s);
  t.s.write_line(1, "first pass");
  p.run(t.s);
  EXPECT_EQ(p.code, -1980);
  EXPECT_EQ(p.counter, 1);
  EXPECT_EQ(p.out, 1);
  EXPECT_EQ(p.saved, 6);
  EXPECT_TRUE(t.s.is_open(1));
}

TEST_F(FintopFiles, PassOnTheWayOutEndsWithTheRememberedChoice) {
  {
    ScriptedSession t;
    Page p;
    ASSERT_TRUE(t.s.open_output(1, "RONDIN.stxt"));
    p.counter = 1;
    p.out = 1;
    p.saved = 41;
    p.run(t.s);
    EXPECT_FALSE(t.s.is_open(1));
    EXPECT_EQ(p.counter, 0);
    EXPECT_EQ(p.out, 41);
    EXPECT_EQ(p.status, 1);
    EXPECT_EQ(p.code, -1983);
    EXPECT_EQ(t.shown(), "");
  }
  {
    ScriptedSession t;
    t.s.state<FintopState>().savedata = 1;
    Page p;
    p.counter = 1;
    p.run(t.s);
    EXPECT_EQ(p.status, 1);
    EXPECT_EQ(p.code, -2);
  }
  {
    ScriptedSession t;
    t.s.state<FintopState>().savedata = 1;
    t.s.state<FintopState>().gustrevan_go = 1;
    Page p;
    p.counter = 1;
    p.run(t.s);
    EXPECT_EQ(p.status, 999);
    EXPECT_EQ(p.code, 101);
  }
}

// ---- Help ----

TEST(Finhlp, OneItemWaitsOnce) {
  ScriptedSession t("?3\n\n2\n");
  Page p;
  p.run(t.s);
  const std::string shown = t.shown();
  EXPECT_NE(shown.find("                 ****  Vessel Environmental Load Notes  ****\n\n ++> Item Number   3\n"),
            std::string::npos);
  EXPECT_NE(shown.find("the\n     same as \"E\" typed on any page"), std::string::npos);
  EXPECT_EQ(pages_shown(shown), 2);
  EXPECT_EQ(p.code, 101);
}

TEST(Finhlp, AllNotesThenTheChainingNote) {
  ScriptedSession t("\n\n");
  finhlp(t.s, 6, 5, 0, 15, true);
  const std::string shown = t.shown();
  for (int k = 1; k <= 10; ++k) {
    EXPECT_NE(shown.find(" ++> Item Number  " + std::string(k < 10 ? " " : "") + std::to_string(k) + "\n"),
              std::string::npos)
        << k;
  }
  EXPECT_EQ(pages_shown(shown), 0);
  int waits = 0;
  for (auto q = shown.find("Press <RETURN>"); q != std::string::npos; q = shown.find("Press <RETURN>", q + 1)) ++waits;
  EXPECT_EQ(waits, 2);
}

TEST(Finhlp, NoNoteForItemsBeyondThePage) {
  ScriptedSession t("\n\n");
  finhlp(t.s, 6, 5, 10, 4, false);  // item 10 without chaining
  EXPECT_NE(t.shown().find(" ++> Sorry, no help for this line...\n\n"), std::string::npos);
  ScriptedSession u("\n");
  finhlp(u.s, 6, 5, -3, 4, false);
  EXPECT_NE(u.shown().find(" ++> Sorry, no help for this line...\n"), std::string::npos);
}

}  // namespace
}  // namespace kelp
