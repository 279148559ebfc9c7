#include "edlib/frame/final_page.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "edlib/frame/create_record.hpp"
#include "edlib/frame/end_session.hpp"
#include "edlib/frame/kind_dispatch.hpp"
#include "edlib/frame/kind_files.hpp"
#include "sysutl/session.hpp"
#include "sysutl/text.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;
namespace fs = std::filesystem;

using FinalPage = testing::InTempDir;

// A disc-buoy session standing on its final page.
void ready(Session& s) {
  s.tpcm.i(1) = 4;
  s.tpcm.i(120) = 21;
  s.tpcm.i(702) = 6;
  s.tpcm.i(699) = 0;
  s.tpcm.set_r(108, 0.0f);
}

// Checks that report fixed findings and count how often they ran.
struct Findings {
  int warnings = 0;
  int fatal = 0;
  int runs = 0;
};

void install(Session& s, Findings& f) {
  s.state<FinalPageState>().checks = [&f](Session&, int& w, int& x) {
    ++f.runs;
    w = f.warnings;
    x = f.fatal;
  };
}

int count(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (auto p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + 1)) ++n;
  return n;
}

TEST(FinalPageNames, ListingAndEditorByKind) {
  EXPECT_EQ(final_listing_name(4), "RONDIN.stxt ");
  EXPECT_EQ(final_editor_name(4), "ronvaske    ");
  EXPECT_EQ(final_listing_name(1), "HULVIN.stxt ");
  EXPECT_EQ(final_editor_name(16), "Driftwel    ");
  EXPECT_EQ(final_listing_name(12), "INPUT.stxt  ");
  EXPECT_EQ(final_editor_name(0), "WhoamI?     ");
}

// The save clears the temporaries of these names: every listing of every
// final page for any kind, both programs' files and the fixed names, unpadded.
TEST(FinalPageNames, WrittenFileNamesHoldEveryFileWrittenWhole) {
  const std::set<std::string> names = written_file_names();
  std::vector<std::string> expected = {"RONDDAT",  "RONDBAK",       "PIVADAT",      "PIVABAK",
                                       "LASTBAK",  "LOWDAT",        "LOWBAK",       "LASTLOW",
                                       "GUSTRDAT", "DATUPWRN.stxt", "WAVEOUT.stxt", "Diagnostics.stxt",
                                       "ANCHIN.stxt", "DUVAIN.stxt"};
  for (const FinalPageFamily page :
       {FinalPageFamily::kShpfin, FinalPageFamily::kMorfin, FinalPageFamily::kSlmfin, FinalPageFamily::kSemfin}) {
    for (int kind = 0; kind <= kLastKind + 1; ++kind) expected.push_back(trimmed(listing_of(page, kind)));
  }
  for (const std::string& name : expected) EXPECT_TRUE(names.contains(name)) << name;
  for (const std::string& name : names) EXPECT_TRUE(!name.empty() && name == trimmed(name)) << '"' << name << '"';
}

TEST_F(FinalPage, ReturnReviewsThePagesWithoutChecks) {
  ScriptedSession t("\n");
  ready(t.s);
  Findings f;
  install(t.s, f);
  shpfin(t.s, "10");
  EXPECT_EQ(t.s.tpcm.i(699), 0);
  EXPECT_EQ(f.runs, 0);
  EXPECT_EQ(t.s.tpcm.i(701), 0);
}

TEST_F(FinalPage, SaveAndExitPassesStraightToTheLoop) {
  ScriptedSession t("1\n");
  ready(t.s);
  shpfin(t.s, "10");
  EXPECT_EQ(t.s.tpcm.i(699), -2);
  EXPECT_EQ(t.s.tpcm.i(701), 0);
  EXPECT_FALSE(fs::exists("RONDIN.stxt"));
}

TEST_F(FinalPage, ExecuteStartsOnePrintPassThenGoesToSaving) {
  ScriptedSession t("3\n");
  ready(t.s);
  Findings f;
  install(t.s, f);
  shpfin(t.s, "10");
  EXPECT_EQ(f.runs, 1);
  EXPECT_EQ(t.s.tpcm.i(699), -1980);
  EXPECT_EQ(t.s.tpcm.i(701), 1);
  EXPECT_EQ(t.s.tpcm.i(702), 1);
  EXPECT_TRUE(t.s.is_open(1));
  t.s.write_line(1, "page 1 of the listing");

  // The loop comes back after the pass: listing closed, screen restored,
  // execute goes on to saving.
  shpfin(t.s, "10");
  EXPECT_EQ(t.s.tpcm.i(699), -1983);
  EXPECT_EQ(t.s.tpcm.i(701), 0);
  EXPECT_EQ(t.s.tpcm.i(702), 6);
  EXPECT_FALSE(t.s.is_open(1));
  EXPECT_EQ(read("RONDIN.stxt"), "page 1 of the listing\n");
  EXPECT_EQ(count(t.shown(), "End of Session"), 1);
}

TEST_F(FinalPage, BackOnThePageAfterThePassTheNextExecutePrintsAgain) {
  // A save that failed (or a chain that did not happen) brings the user back
  // to the page: what is saved next may differ from the listing, so the
  // next execute writes it anew.
  ScriptedSession t("3\n3\n");
  ready(t.s);
  Findings f;
  install(t.s, f);
  for (const char* page : {"page as first listed", "page as edited since"}) {
    t.s.tpcm.i(699) = 0;
    shpfin(t.s, "10");
    ASSERT_EQ(t.s.tpcm.i(699), -1980);
    t.s.write_line(1, page);
    shpfin(t.s, "10");  // back from the pass
    EXPECT_EQ(t.s.tpcm.i(699), -1983);
    EXPECT_EQ(t.s.tpcm.i(701), 0);
    EXPECT_EQ(t.s.tpcm.i(702), 6);
    EXPECT_EQ(read("RONDIN.stxt"), std::string(page) + "\n");
  }
}

TEST_F(FinalPage, FatalFindingsKeepTheUserOnThePage) {
  // Execute is refused while fatal findings remain; 2 then leaves.
  ScriptedSession t("3\n\n3\n\n2\n");
  ready(t.s);
  Findings f;
  f.fatal = 1;
  install(t.s, f);
  shpfin(t.s, "10");
  EXPECT_EQ(f.runs, 2);
  EXPECT_EQ(t.s.tpcm.i(699), 101);
  EXPECT_EQ(t.s.tpcm.i(701), 0);
}

TEST_F(FinalPage, WarningsAreConfirmedBySecondExecute) {
  ScriptedSession t("3\n\n3\n");
  ready(t.s);
  Findings f;
  f.warnings = 2;
  install(t.s, f);
  shpfin(t.s, "10");
  EXPECT_EQ(f.runs, 1);
  EXPECT_EQ(t.s.tpcm.i(699), -1980);  // the print pass starts
  EXPECT_EQ(t.s.tpcm.i(701), 1);
}

TEST_F(FinalPage, EightFindingsWaitOnceSevenDoNot) {
  {
    ScriptedSession t("3\n\n2\n");
    ready(t.s);
    Findings f;
    f.warnings = 6;
    f.fatal = 2;
    install(t.s, f);
    shpfin(t.s, "10");
    EXPECT_EQ(count(t.shown(), "Press <RETURN> to continue"), 1);
  }
  {
    ScriptedSession t("3\n2\n");
    ready(t.s);
    Findings f;
    f.warnings = 7;
    install(t.s, f);
    shpfin(t.s, "10");
    EXPECT_EQ(count(t.shown(), "Press <RETURN> to continue"), 0);
    EXPECT_EQ(t.s.tpcm.i(699), 101);
  }
}

TEST_F(FinalPage, SilentRunWithWarningsGoesToThePrintPassWithoutWaiting) {
  ScriptedSession t("4\n");  // nothing more to read
  ready(t.s);
  t.s.tpcm.i(113) = 5;
  t.s.tpcm.i(114) = 5;
  Findings f;
  f.warnings = 3;
  install(t.s, f);
  shpfin(t.s, "10");
  EXPECT_EQ(t.s.tpcm.i(113), 0);
  EXPECT_EQ(t.s.tpcm.i(114), 0);
  EXPECT_EQ(t.s.tpcm.i(108), 1);
  EXPECT_EQ(t.s.tpcm.i(699), -1980);
  EXPECT_EQ(t.s.tpcm.i(702), 1);
  EXPECT_EQ(t.s.state<FinalPageState>().untsav, 41);
  // Back from the pass: the silent report unit is in force again.
  shpfin(t.s, "10");
  EXPECT_EQ(t.s.tpcm.i(699), -1983);
  EXPECT_EQ(t.s.tpcm.i(702), 41);
}

TEST_F(FinalPage, SilentRunWithFatalFindingsStopsAndSaysWhere) {
  ScriptedSession t("4\n");
  ready(t.s);
  Findings f;
  f.fatal = 1;
  install(t.s, f);
  bool fails = false;  // the report cannot be written
  const auto checks = [&fails](Session& s, int& w, int& x) {
    s.write_line(41, " ++> Fatal Warning: something");
    if (fails) s.set_files(std::make_shared<testing::FaultyFiles>(testing::FaultyFiles::kRename));
    w = 0;
    x = 1;
  };
  t.s.state<FinalPageState>().checks = checks;
  try {
    shpfin(t.s, "10");
    FAIL() << "no stop";
  } catch (const ProgramStop& stop) {
    EXPECT_NE(stop.status(), 0);
  }
  EXPECT_FALSE(t.s.is_open(41));
  EXPECT_EQ(read("Diagnostics.stxt"), " ++> Fatal Warning: something\n");
  const std::string shown = t.shown();
  EXPECT_TRUE(shown.ends_with("\n ++> Fatal warnings stop the silent run: see \"Diagnostics.stxt\";\n"
                              "     nothing was saved.\n"))
      << shown;
  EXPECT_FALSE(fs::exists("RONDIN.stxt"));

  // Where the report cannot be written its findings are shown instead, and
  // the run ends as on a file error.
  ScriptedSession u("4\n");
  ready(u.s);
  fails = true;
  u.s.state<FinalPageState>().checks = checks;
  try {
    shpfin(u.s, "10");
    FAIL() << "no stop";
  } catch (const ProgramStop& stop) {
    EXPECT_EQ(stop.status(), 2);
  }
  EXPECT_EQ(read("Diagnostics.stxt"), "");
  EXPECT_TRUE(u.shown().ends_with("     Reason: the disk reports an input or output error\n \n"
                                  " ++> Fatal Warning: something\n\n"
                                  " ++> Fatal warnings stop the silent run;\n     nothing was saved.\n"))
      << u.shown();
}

TEST_F(FinalPage, DefaultChecksAreTheVesselChecks) {
  // A new disc-buoy record lacks its particulars and the water depth: two
  // warnings and four fatal warnings, counted from zero. Execute is refused
  // while they stand.
  ScriptedSession t("3\n\n2\n");
  create_record(t.s, 4, 1987);
  ready(t.s);
  int w = 5;
  int x = 5;
  veswrn_counts(t.s, w, x);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(x, 4);
  shpfin(t.s, "10");
  EXPECT_EQ(count(t.shown(), " ++> Fatal Warning: "), 8);
  EXPECT_EQ(t.s.tpcm.i(699), 101);
  EXPECT_EQ(t.s.tpcm.i(701), 0);
}

}  // namespace
}  // namespace kelp
