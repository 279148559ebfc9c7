// Page 22, the time-domain options: the edits of its items and sub-pages,
// the options file at the first display (missing, unreadable, of another
// layout, in a server run), a write that fails, and the fairlead picks.
#include "moor/e/td_options_page.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "kelpkit/options_file.hpp"
#include "moor/e/td_options.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

namespace fs = std::filesystem;
using testing::count_of;
using testing::kReturn;

const std::string kHeader = " ********************  Page 22:  Time-Domain Options  ********************\n";
const std::vector<std::int32_t> kPage4 = {7, 3, 12, 1};
using Options = decltype(Gustrcom::words);

// Where line n (from 1) of a text begins, and the line without its end.
std::size_t line_start(const std::string& text, int n) {
  std::size_t from = 0;
  for (int k = 1; k < n; ++k) from = text.find('\n', from) + 1;
  return from;
}
std::string line_of(const std::string& text, int n) {
  const std::size_t from = line_start(text, n);
  return text.substr(from, text.find('\n', from) - from);
}

// The page as the mooring page loop shows it: kind 15, a storm of 3 hours,
// 50 lines of which page 4 reports 7, 3, 12 and 1, the support files on,
// gustrcom filled as at start, and files in a directory of their own.
struct OptionsPage {
  explicit OptionsPage(std::string replies,
                       std::shared_ptr<testing::DirFiles> dir = std::make_shared<testing::DirFiles>())
      : t(std::move(replies)), files(std::move(dir)) {
    testing::page_record(t.s.tpcm, 15);
    auto& r = t.s.tpcm;
    r.set_r(kStormDuration, 3.0f);
    r.set_r(kVersion, 6.8f);
    r.i(kMooringLegs) = 50;
    r.i(kDynamicLines) = static_cast<std::int32_t>(kPage4.size());
    for (std::size_t k = 0; k < kPage4.size(); ++k) r.i(*dynamic_line_word(static_cast<int>(k) + 1)) = kPage4[k];
    r.i(kTimeDomainSwitch) = 1;
    init_gustrcom(t.s.gustrcom);
    t.s.set_files(files);
  }
  // Runs the page; the exit status when it stops the program, else -1.
  int run() {
    try {
      gustropts(t.s, "22");
    } catch (const ProgramStop& stop) {
      return stop.status();
    }
    return -1;
  }
  // Writes "GUSTRDAT" from options set by `set` on a copy of the start-up
  // options, leaving this session's options as they were.
  void plant(const std::function<void(Options&)>& set) {
    const Gustrcom start = t.s.gustrcom;
    set(t.s.gustrcom.words);
    const std::vector<std::int32_t> picks(kPickCapacity, 7);
    write_td_opts(t.s, "GUSTRDAT", 6.8f, 0, kTdOptsFormatVersion, kTdOptsFormatMinor, 3.0f, 4, picks, picks,
                  kScreen);
    t.s.gustrcom = start;
  }
  Options& g() { return t.s.gustrcom.words; }
  TdOptionsState& st() { return t.s.state<TdOptionsState>(); }
  std::string file() const { return files->get("GUSTRDAT"); }

  testing::ScriptedSession t;
  std::shared_ptr<testing::DirFiles> files;
};

std::size_t opt(std::string_view name) { return option_word(name); }

TEST(TdOptionsPage, ItemEdits) {
  struct Case {
    const char* name;
    std::vector<std::string> replies;  // a blank reply at the end leaves the page
    std::function<void(OptionsPage&)> before;
    std::function<void(OptionsPage&)> check;
  };
  const auto none = [](OptionsPage&) {};
  const std::vector<Case> cases = {
      {"item 1 off clears the free-floating and equilibrium flags", {"1"},
       [](OptionsPage& p) {
         p.t.s.tpcm.i(kFreeFloating) = 1;
         p.t.s.tpcm.i(kSkipEquilibrium) = 1;
       },
       [](OptionsPage& p) {
         EXPECT_EQ(p.t.s.tpcm.i(kTimeDomainSwitch), 0);
         EXPECT_EQ(p.t.s.tpcm.i(kFreeFloating), 0);
         EXPECT_EQ(p.t.s.tpcm.i(kSkipEquilibrium), 0);
       }},
      {"a duration of 0 is the storm duration", {"25", "26", "0"}, none,
       [](OptionsPage& p) {
         EXPECT_EQ(p.st().hours, 3.0f);
         EXPECT_EQ(p.g().r(opt("fullDuration")), 10800.0f);
         EXPECT_EQ(p.g().i(opt("overRideFullDuration")), 1);
       }},
      {"a duration of its own", {"25", "26", "2.5"}, none,
       [](OptionsPage& p) { EXPECT_EQ(p.g().r(opt("fullDuration")), 9000.0f); }},
      {"switching the duration override off restores the storm", {"25", "26", "2.5", "25"}, none,
       [](OptionsPage& p) {
         EXPECT_EQ(p.g().i(opt("overRideFullDuration")), 0);
         EXPECT_EQ(p.g().r(opt("fullDuration")), 10800.0f);
       }},
      {"40 fairleads are cut to 39", {"27", "28", "45"}, none,
       [](OptionsPage& p) { EXPECT_EQ(p.g().i(kNFldReportsWord), 39); }},
      {"no more fairleads than lines", {"27", "28", "30"},
       [](OptionsPage& p) { p.t.s.tpcm.i(kMooringLegs) = 20; },
       [](OptionsPage& p) { EXPECT_EQ(p.g().i(kNFldReportsWord), 20); }},
      {"a negative count is the default", {"27", "28", "9", "28", "-1"}, none,
       [](OptionsPage& p) { EXPECT_EQ(p.g().i(kNFldReportsWord), 4); }},
      {"switching the picks override off restores page 4's picks", {"27", "28", "2", "27"}, none,
       [](OptionsPage& p) {
         EXPECT_EQ(p.g().i(kNFldReportsWord), 4);
         EXPECT_EQ(std::vector<std::int32_t>(p.st().current.begin(), p.st().current.begin() + 4), kPage4);
       }},
      {"a free-floating vessel reports no fairleads", {"42"}, none,
       [](OptionsPage& p) {
         EXPECT_EQ(p.t.s.tpcm.i(kFreeFloating), 1);
         EXPECT_EQ(p.g().i(kNFldReportsWord), 0);
         EXPECT_EQ(p.g().i(opt("overRideLinePicks")), 1);
         EXPECT_NE(p.t.shown().find(" 29) Modify fairlead selection\n\n >>> Active fairlead choice array: \n\n\n"),
                   std::string::npos);
       }},
      {"an invalid interpolation order is shown and set", {"24"},
       [](OptionsPage& p) { p.plant([](Options& g) { g.i(option_word("interpOrder")) = 2; }); },
       [](OptionsPage& p) {
         EXPECT_NE(p.t.shown().find(" 24) Interpolation option ...............................  Invalid order!\n"),
                   std::string::npos);
         EXPECT_EQ(p.g().i(opt("interpOrder")), 3);
       }},
      {"cubic to linear", {"24"}, none, [](OptionsPage& p) { EXPECT_EQ(p.g().i(opt("interpOrder")), 1); }},
      {"item 13 turned off edits nothing else", {"13"},
       [](OptionsPage& p) { p.t.s.tpcm.i(kUserVirtualMass) = 1; },
       [](OptionsPage& p) { EXPECT_EQ(p.t.s.tpcm.i(kUserVirtualMass), 0); }},
      {"emulation sets the damping index", {"31"}, none,
       [](OptionsPage& p) { EXPECT_EQ(p.g().i(opt("addDampIndex")), 5); }},
      {"the legacy model sets the damping index", {"36"}, none,
       [](OptionsPage& p) { EXPECT_EQ(p.g().i(opt("addDampIndex")), 2); }},
      {"a hidden item only redisplays", {"32"}, none,
       [](OptionsPage& p) {
         EXPECT_EQ(count_of(p.t.shown(), kHeader), 2);
         EXPECT_EQ(p.t.shown().find(testing::kNewValue), std::string::npos);
       }},
      {"batch profiles are at least 1", {"46", "47", "0"}, none,
       [](OptionsPage& p) { EXPECT_EQ(p.g().i(opt("squalProfiles")), 1); }},
      {"output: only statistics", {"37", "3"}, none,
       [](OptionsPage& p) {
         EXPECT_EQ(p.g().i(opt("batchDataSupress")), 2);
         EXPECT_EQ(p.g().i(opt("saveWFLineStats")), 0);
       }},
      {"output: everything, and a choice above 4 is 4", {"37", "1", "37", "9"}, none,
       [](OptionsPage& p) {
         EXPECT_EQ(p.g().i(opt("batchDataSupress")), 3);
         EXPECT_EQ(p.g().i(opt("saveWFLineStats")), 0);
       }},
      {"output help", {"37", "?", "", "1"}, none,
       [](OptionsPage& p) {
         EXPECT_NE(p.t.shown().find(" Get help on the parent page (\"Time-Domain Options\") for more detail.\n"),
                   std::string::npos);
         EXPECT_EQ(p.g().i(opt("saveWFLineStats")), 1);
       }},
      {"initial condition help names the unit", {"5", "?", "", "2"}, none,
       [](OptionsPage& p) {
         EXPECT_NE(p.t.shown().find(" Initial global mooring centroid location relative to quiescent equilibrium "
                                    "(ft), plus vessel initial orientation (degrees)\n"),
                   std::string::npos);
         EXPECT_EQ(p.g().i(opt("initialCondition")), 1);
       }},
      {"restore aborted", {"4", "2", "2", "A"}, none,
       [](OptionsPage& p) { EXPECT_EQ(p.g().r(opt("deltaT")), 2.0f); }},
      {"restore", {"4", "2", "2", ""}, none, [](OptionsPage& p) { EXPECT_EQ(p.g().r(opt("deltaT")), 0.5f); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string replies;
    for (const std::string& r : c.replies) replies += r + "\n";
    OptionsPage p(replies + "\n");
    c.before(p);
    EXPECT_EQ(p.run(), -1) << p.t.shown();
    EXPECT_EQ(p.t.s.tpcm.i(kNavCode), 0);
    c.check(p);
  }
}

TEST(TdOptionsPage, AFailedWriteKeepsTheOldFileTheEditsAndTheSession) {
  struct NoRename : testing::DirFiles {
    bool fail = false;
    bool rename_at(const Place& from, const Place& to) override {
      return fail ? (errno = EIO, false) : DirFiles::rename_at(from, to);
    }
  };
  auto files = std::make_shared<NoRename>();
  {
    OptionsPage first("\n", files);
    first.run();
  }
  const std::string old = files->get("GUSTRDAT");
  ASSERT_FALSE(old.empty());
  files->fail = true;
  // The rewrite after the read fails, and so does the one on leaving: each
  // named with why, on the screen and in a silent run's report.
  OptionsPage p("\n4\n2\n\n\n", files);
  ASSERT_TRUE(p.t.s.open_staged(kSilentUnit, "Diagnostics.stxt"));
  EXPECT_EQ(p.run(), -1);
  const std::string failed =
      "++> I/O Error in WRITE_TD_OPTS; GUSTRDAT not written, the session continues...\n"
      "     File name: GUSTRDAT\n     Reason: the disk reports an input or output error\n";
  EXPECT_EQ(count_of(p.t.shown(), failed + " \n Press <RETURN> to continue: "), 2) << p.t.shown();
  EXPECT_EQ(count_of(p.t.s.staged_text(kSilentUnit), failed), 2);
  EXPECT_EQ(files->get("GUSTRDAT"), old);
  EXPECT_EQ(p.g().r(opt("deltaT")), 2.0f);
}

TEST(TdOptionsPage, TheFileAtTheFirstDisplay) {
  struct Case {
    const char* name;
    std::function<void(OptionsPage&)> plant;
    std::string box;
    std::function<void(OptionsPage&, const std::string& before)> check;
  };
  const std::vector<Case> cases = {
      {"missing: the defaults file is written at once", [](OptionsPage&) {},
       "\n          >>> GUSTRDAT not found; loading defaults <<<\n",
       [](OptionsPage& p, const std::string&) {
         EXPECT_EQ(line_of(p.file(), 4), "\t  10800.00\t  4");
         EXPECT_EQ(line_of(p.file(), 8), "\t  7\t  3\t 12\t  1");
       }},
      {"unreadable: the defaults file is written at once",
       [](OptionsPage& p) { p.files->put("GUSTRDAT", "not an options file\n"); },
       "\n +--------------------------------------------------+\n"
       " |   >>> Incompatible GUSTRDAT file found           |\n"
       " |      Creating new file using defaults.           |\n"
       " |    Please review your options carefully!         |\n"
       " +--------------------------------------------------+\n",
       [](OptionsPage& p, const std::string&) {
         EXPECT_EQ(line_of(p.file(), 3), "\t 53\t 32\t 52");
         EXPECT_EQ(line_of(p.file(), 4), "\t  10800.00\t  4");
         EXPECT_EQ(p.g().i(opt("interpOrder")), 3);
       }},
      {"unreadable and private: the defaults file keeps its protection",
       [](OptionsPage& p) {
         p.files->put("GUSTRDAT", "not an options file\n");
         fs::permissions(p.files->at("GUSTRDAT"), fs::perms::owner_read | fs::perms::owner_write);
       },
       " |   >>> Incompatible GUSTRDAT file found           |\n",
       [](OptionsPage& p, const std::string&) {
         EXPECT_EQ(fs::status(p.files->at("GUSTRDAT")).permissions() & fs::perms::all,
                   fs::perms::owner_read | fs::perms::owner_write);
         EXPECT_EQ(line_of(p.file(), 3), "\t 53\t 32\t 52");
       }},
      {"another layout: the duration follows the storm, nothing is rewritten",
       [](OptionsPage& p) {
         p.plant([](Options& g) {
           g.set_r(option_word("fullDuration"), 0.0f);
           g.i(option_word("interpOrder")) = 1;
         });
         std::string text = p.file();
         text.replace(text.find("\t 53\t"), 5, "\t 50\t");
         text.erase(line_start(text, 5), 3 * 2);  // three logicals
         p.files->put("GUSTRDAT", text);
       },
       "\n +----------------------------------------------------+\n"
       " | >>> Changes to GUSTRDAT version structure!         |\n"
       " |     Please review your options VERY carefully!     |\n"
       " +----------------------------------------------------+\n",
       [](OptionsPage& p, const std::string& before) {
         EXPECT_EQ(p.file(), before);
         EXPECT_EQ(p.st().hours, 3.0f);
         EXPECT_EQ(p.g().i(opt("overRideFullDuration")), 0);
         EXPECT_EQ(p.g().i(opt("interpOrder")), 1);  // what was read stays
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // In the print pass the page is drawn once and left without a write.
    OptionsPage p("");
    p.t.s.tpcm.i(kPrintPass) = 1;
    c.plant(p);
    const std::string before = p.files->exists("GUSTRDAT") ? p.file() : "";
    EXPECT_EQ(p.run(), -1);
    EXPECT_EQ(count_of(p.t.shown(), c.box), 1) << p.t.shown();
    c.check(p, before);
  }
}

TEST(TdOptionsPage, LeavingAfterAFileOfAnotherLayoutWritesTheStormDuration) {
  OptionsPage p("\n");
  p.plant([](Options& g) { g.set_r(option_word("fullDuration"), 0.0f); });
  std::string text = p.file();
  text.replace(text.find("\t 52\n"), 5, "\t 51\n");
  p.files->put("GUSTRDAT", text);
  EXPECT_EQ(p.run(), -1);
  EXPECT_EQ(line_of(p.file(), 3), "\t 53\t 32\t 52");
  EXPECT_EQ(p.g().r(opt("fullDuration")), 10800.0f);
}

TEST(TdOptionsPage, AMissingFileStopsAServerRun) {
  OptionsPage p("\n");
  p.t.s.tpcm.i(kWriterRunMode) = 3;
  const int status = p.run();
  EXPECT_NE(status, -1);
  EXPECT_NE(status, 0);
  EXPECT_EQ(count_of(p.t.shown(), "\n >>> GUSTRDAT not found; aborting...\n\n"), 1);
  EXPECT_FALSE(p.files->exists("GUSTRDAT"));
}

TEST(TdOptionsPage, FairleadPicksNameLinesOfTheMooring) {
  // Item 29: a pick beyond the 50 lines is refused with page 4's message
  // until every pick is a line.
  OptionsPage p("27\n29\n1\n60\n\n\n\n1\n5\n\n\n\n");
  EXPECT_EQ(p.run(), -1);
  EXPECT_EQ(count_of(p.t.shown(), "\n >>> Please provide   4 valid line numbers...\n" + kReturn), 1);
  EXPECT_EQ(p.st().current[0], 5);
  EXPECT_EQ(p.st().current[1], 3);
  EXPECT_NE(p.t.shown().find("\n >>> Active fairlead choice array: \n\n   5,  3, 12,  1,\n"), std::string::npos);
}

TEST(TdOptionsPage, WholeListOperationsStayWithinThePickList) {
  // A damaged line count: the auto repeat runs over the 150 picks, no
  // further (the sanitizer build checks), and the four picks take 1 to 4.
  OptionsPage p("27\n29\n5\n1\n1\n\n\n");
  p.t.s.tpcm.i(kMooringLegs) = 100000;
  EXPECT_EQ(p.run(), -1);
  EXPECT_EQ(std::vector<std::int32_t>(p.st().current.begin(), p.st().current.begin() + 4),
            (std::vector<std::int32_t>{1, 2, 3, 4}));
}

TEST(TdOptionsPage, LinesShownWithTheirOptions) {
  OptionsPage p("\n");
  p.plant([](Options& g) {
    g.i(option_word("emulationFlag")) = 1;
    g.i(option_word("stillWaterLinearDmpg")) = 1;
    g.i(option_word("initialCondition")) = 2;
    g.set_r(option_word("initX"), 12.5f);
    g.set_r(option_word("initVz"), -0.25f);
    g.set_r(option_word("kYawSofec"), 12345.0f);
    g.i(kNFldReportsWord) = 4;
    g.i(option_word("batchRun")) = 1;
    g.i(option_word("squalProfiles")) = 3;
  });
  auto& t = p.t.s.tpcm;
  t.i(kUserStillwaterDamping) = 1;
  t.i(kUserVirtualMass) = 1;
  t.set_r(kStillwaterDamping, 1500.0f);
  t.set_r(RealWord{kVirtualMassCoefs.n + 2}, 1.6f);
  EXPECT_EQ(p.run(), -1);
  for (const char* block : {
           "  5) Initial condition .................................. User Specified\n\n"
           "     Inital global position (Gx,Gy,Yaw):      12.50      0.00      0.00\n"
           "     Inital global rates (Vx,Vy,YawDot):       0.00      0.00     -0.25\n\n  6)",
           " 12) Use Brenvik stillwater linear damping estimates? ...   No \n\n"
           "     Dimensional linear damping values {Cx,Cy,Cz}:\n"
           "     {0.1500E+04, 0.0000E+00, 0.0000E+00}\n\n 13)",
           " 13) User supplies zero-frequency virtual mass coeffs? ..   Yes\n\n"
           "     Zero-frequency virtual mass coefficients {Cmx,Cmy,Cmz}:\n"
           "     {0.0000E+00, 0.0000E+00, 0.1600E+01}\n\n 14)",
           // The picks read differ from page 4's: the override is on.
           " 27) Over-ride default fairlead report selection? .......   Yes\n"
           " 28) Number of fairleads to report; max  39 .............   4\n"
           " 29) Modify fairlead selection\n\n >>> Active fairlead choice array: \n\n   7,  7,  7,  7,\n\n 31)",
           " 31) Emulate Orcaflex? ..................................   Yes\n"
           " 32) Cross flow principle reduction factor ..............      0.00       \n"
           " 33) Orcaflex added yaw-damping coefficient .............  0.123E+05       \n"
           " 34) Orcaflex added sway-damping coefficient ............  0.000E+00       \n"
           " 35) Emulate Orcaflex Maneuvering Loads? ................   No \n\n 37)",
           " 46) Execute in batch mode? .............................   Yes\n\n"
           " 47) Number of distinct squall profiles in batch ........   3\n",
       }) {
    EXPECT_NE(p.t.shown().find(block), std::string::npos) << block << "\nin\n" << p.t.shown();
  }
}

}  // namespace
}  // namespace kelp
