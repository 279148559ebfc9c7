// Loading and checking the data file: size classes, corruption texts, text
// byte order, the characteristics report, upgrade dispatch, create and stamp.
#include "edlib/frame/loading.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "edlib/frame/saving.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/diskio.hpp"
#include "test_identity.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::DirFiles;

using testing::ronvaske_identity;

std::int32_t bits(float v) { return std::bit_cast<std::int32_t>(v); }

// A disc-buoy record as this version writes it.
std::vector<std::int32_t> current_record(std::size_t n = 1987) {
  std::vector<std::int32_t> w(n, 0);
  w[0] = static_cast<std::int32_t>(n);
  w[1] = 4;
  w[6] = 2;
  w[14] = 149;
  w[108] = 1;
  w[120] = 21;
  w[216] = bits(6.8f);
  for (std::size_t k = 59; k < 99; ++k) w[k] = pack_text4("ABCD");
  return w;
}

struct Loader {
  explicit Loader(std::string replies) : ss(std::move(replies)), fs(std::make_shared<DirFiles>()) {
    ss.s.set_files(fs);
  }
  void put(const std::vector<std::int32_t>& words) { fs->put("RONDDAT", encode_record(words)); }
  // Runs ioinit; the stop status, or -1 when it returned.
  int run() {
    try {
      status = ioinit(ss.s, ronvaske_identity(), 1987, letter);
      return -1;
    } catch (const ProgramStop& stop) {
      return stop.status();
    }
  }
  std::string screen() const { return ss.shown(); }
  testing::ScriptedSession ss;
  std::shared_ptr<DirFiles> fs;
  char letter = ' ';
  int status = -99;
};

const char* kHeader = " >>> Input File Characteristics <<< ";

TEST(SizeClass, ComparesTheCountWordWithTheSizeOfTheFilesKind) {
  EXPECT_EQ(size_class(4, 1987, 4), kSizeExpected);
  EXPECT_EQ(size_class(4, 1988, 4), kSizeLargerOwn);
  EXPECT_EQ(size_class(4, 1986, 4), kSizeSmallerOwn);
  EXPECT_EQ(size_class(3, 5000, 4), kSizeLargerOther);
  EXPECT_EQ(size_class(3, 4000, 4), kSizeSmallerOther);
  EXPECT_EQ(size_class(10, 78635, 4), kSizeExpected);
  // Kinds 7, 8 and 11 know only the own-kind classes.
  EXPECT_EQ(size_class(8, 100, 4), kSizeSmallerOwn);
  EXPECT_EQ(size_class(11, 5000, 4), kSizeLargerOwn);
  // Unchecked kinds.
  EXPECT_EQ(size_class(2, 5, 4), kSizeExpected);
  EXPECT_EQ(size_class(9, 5, 4), kSizeExpected);
  // Kinds outside 1 to 17.
  EXPECT_EQ(size_class(0, 1987, 4), kSizeKindUnknown);
  EXPECT_EQ(size_class(18, 1987, 4), kSizeKindUnknown);
  EXPECT_EQ(size_class(-5, 1987, 4), kSizeKindUnknown);
}

TEST(Datcrpt, WritesTheFourTextsAndNothingElse) {
  testing::ScriptedSession ss;
  for (int n = 0; n <= 5; ++n) datcrpt(ss.s, kScreen, n);
  EXPECT_EQ(ss.shown(),
            " ++> Warning: Data file is corrupt.\n"
            " ++> Warning: Data file is seriously corrupt or from a very early version.\n"
            "              Inspect all editor pages with particular care...\n"
            " ++> Warning: Data file is seriously corrupt.\n"
            "              Some versions of Internet Explorer can cause this problem.\n"
            " ++> Warning: Data file is seriously corrupt.\n"
            "              It will very probably crash the simulation if you continue...\n");
}

TEST(Chswap, ReversesEachGroupOfFour) {
  testing::ScriptedSession ss;
  std::string t = "ABCDEFGH";
  chswap(ss.s, t, 8, kScreen, kKeyboard);
  EXPECT_EQ(t, "DCBAHGFE");
  chswap(ss.s, t, 8, kScreen, kKeyboard);
  EXPECT_EQ(t, "ABCDEFGH");
  EXPECT_EQ(ss.shown(), "");
}

TEST(Chswap, OverflowReportsAndLeavesTheTextAlone) {
  testing::ScriptedSession ss("\n");
  std::string t(204, 'x');
  t[0] = 'A';
  t[3] = 'D';
  const std::string before = t;
  chswap(ss.s, t, 204, kScreen, kKeyboard);
  EXPECT_EQ(t, before);
  EXPECT_EQ(ss.shown(), " ++> LEN overflow in chswap! \n \n Press <RETURN> to continue: ");
}

TEST(Ioinit, CurrentFileLoadsWithoutReportOrPrompt) {
  Loader l("M\n");
  auto rec = current_record();
  rec[699] = -1983;  // a stray code and print-pass counter in the file
  rec[701] = 5;
  l.put(rec);
  EXPECT_EQ(l.run(), -1);
  EXPECT_EQ(l.status, kLoadReady);
  EXPECT_EQ(l.letter, 'M');
  EXPECT_EQ(l.screen().find(kHeader), std::string::npos);
  EXPECT_EQ(l.screen().find("abort"), std::string::npos);
  EXPECT_FALSE(l.fs->exists("DATUPWRN.stxt"));
  const Tpcm& t = l.ss.s.tpcm;
  EXPECT_EQ(t.i(699), 0);
  EXPECT_EQ(t.i(701), 0);
  EXPECT_EQ(t.text(59, 8), "ABCDABCD");
  const auto& copy = l.ss.s.state<LoadTimeCopy>();
  EXPECT_EQ(copy.data_status, 0);
  // The copy holds the file with word 702 at 0 and the two cleared words.
  rec[699] = 0;
  rec[701] = 0;
  for (std::size_t k = 0; k < rec.size(); ++k) ASSERT_EQ(copy.record[k], rec[k]) << "word " << k;
}

TEST(Ioinit, StampCarriesTheIdentity) {
  Loader l("B\n");
  auto rec = current_record();
  rec[106] = 3;
  rec[108] = 5;
  rec[778] = 9;
  rec[2] = 77;  // untouched words stay
  l.put(rec);
  ASSERT_EQ(l.run(), -1);
  const Tpcm& t = l.ss.s.tpcm;
  EXPECT_EQ(l.letter, 'M');
  EXPECT_EQ(t.i(0), 1987);
  EXPECT_EQ(t.i(1), 4);
  EXPECT_EQ(t.i(5), 2);
  EXPECT_EQ(t.i(6), 2);
  EXPECT_EQ(t.i(13), 1);
  EXPECT_EQ(t.i(106), 0);
  EXPECT_EQ(t.i(108), 1);
  EXPECT_EQ(t.i(111), 2020);
  EXPECT_EQ(t.i(120), 21);
  EXPECT_EQ(t.i(141), 49);
  EXPECT_EQ(t.r(216), 6.8f);
  EXPECT_EQ(t.i(702), 6);
  EXPECT_EQ(t.i(778), 0);
  EXPECT_EQ(t.i(2), 77);
}

TEST(Ioinit, OneWordLongGivesText2AndTheAbortQuestion) {
  Loader l("M\nA\n");
  l.put(current_record(1988));
  EXPECT_EQ(l.run(), kLoadStopStatus);
  EXPECT_NE(l.screen().find(" ++> Warning: Data file is seriously corrupt or from a very early version."),
            std::string::npos);
  EXPECT_NE(l.screen().find("Enter \"A\" to abort or Press <RETURN> to continue: "), std::string::npos);
}

TEST(Ioinit, OneWordShortGoesOnAsAnOlderFileWithTheMissingWordCleared) {
  Loader l("M\n\n");
  auto rec = current_record(1986);
  l.put(rec);
  l.ss.s.tpcm.i(1986) = 55;  // whatever the record held before
  ASSERT_EQ(l.run(), -1);
  EXPECT_EQ(l.status, kLoadReady);
  const std::string screen = l.screen();
  EXPECT_EQ(screen.find("Data file is seriously corrupt"), std::string::npos);
  EXPECT_NE(screen.find(kHeader), std::string::npos);
  EXPECT_NE(screen.find(" ++> Input Data File smaller than expected:\n"
                        "     Expected   1987 I*4s, found   1986 I*4s... CAUTION!\n"),
            std::string::npos);
  EXPECT_EQ(l.ss.s.tpcm.i(1986), 0);
  EXPECT_EQ(l.ss.s.state<LoadTimeCopy>().record[1986], 0);
  // The record size of the kind stands, whatever the file held.
  EXPECT_EQ(l.ss.s.tpcm.i(0), 1987);
  // The same lines went to the warning report.
  l.ss.s.close_unit(kWarningUnit);
  EXPECT_NE(l.fs->get("DATUPWRN.stxt").find("     Expected   1987 I*4s, found   1986 I*4s... CAUTION!\n"),
            std::string::npos);
}

TEST(Ioinit, FoundCountIsTheWholeWordsReallyPresent) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* replies;
    const char* message;
  };
  const std::string whole = encode_record(current_record());
  std::string markers = whole;
  markers.replace(markers.size() - 4, 4, testing::be32(0));
  const Case cases[] = {
      {"a wrong trailing marker", markers, "M\n\n",
       " ++> Input Data File damaged: its two record markers differ.\n"
       "     Leading marker        7948, trailing marker           0... CAUTION!\n"},
      {"one byte short", whole.substr(0, whole.size() - 1), "M\n\n",
       " ++> Input Data File smaller than expected:\n     Expected   1987 I*4s, found   1986 I*4s"},
      {"beyond what the reader stages", encode_record(current_record(130000)), "M\n\n\n",
       " ++> Input Data File larger than expected:\n     Expected   1987 I*4s, found 130000 I*4s"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Loader l(c.replies);
    l.fs->put("RONDDAT", c.bytes);
    ASSERT_EQ(l.run(), -1);
    EXPECT_NE(l.screen().find(c.message), std::string::npos) << l.screen();
  }
}

TEST(Ioinit, KindOutsideTheTableGivesText4AndUnknownCreator) {
  for (int kind : {0, 18, 1000}) {
    Loader l("M\n\n\n");
    auto rec = current_record();
    rec[1] = kind;
    l.put(rec);
    ASSERT_EQ(l.run(), -1) << kind;
    const std::string screen = l.screen();
    EXPECT_NE(screen.find(" ++> Warning: Data file is seriously corrupt.\n"
                          "              It will very probably crash the simulation if you continue...\n"),
              std::string::npos);
    EXPECT_NE(screen.find(" ++> Input Data File Creator was UNKNOWN\n"), std::string::npos) << kind;
    EXPECT_EQ(l.ss.s.tpcm.i(1), 4);
  }
}

TEST(Ioinit, VersionWithinToleranceIsTheSameVersion) {
  Loader l("M\n");
  auto rec = current_record();
  rec[216] = bits(6.8f - 0.0005f);
  l.put(rec);
  ASSERT_EQ(l.run(), -1);
  EXPECT_EQ(l.screen().find(kHeader), std::string::npos);
}

TEST(Ioinit, OlderVersionRunsTheUpgraderOfTheProgramKind) {
  Loader l("M\n\n");
  int calls = 0;
  float seen = 0.0f;
  kind_dispatch(l.ss.s).set_upgrader(4, [&](Session&, float v, int& status) {
    ++calls;
    seen = v;
    status = 0;
  });
  auto rec = current_record();
  rec[216] = bits(6.798f);
  l.put(rec);
  ASSERT_EQ(l.run(), -1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen, 6.8f);
  EXPECT_NE(l.screen().find(" ++> Version mismatch: Data (version  6.80) predates simulation (version  6.80)\n"
                            "     Although a reasonable effort has been made to insure forward\n"
                            "     compatibility of data files, this cannot be guaranteed.\n"
                            "     Carefully inspect each editor screen before proceeding...\n"),
            std::string::npos);
  EXPECT_EQ(l.ss.s.tpcm.r(216), 6.8f);
}

TEST(Ioinit, NewerFileIsReportedAndAsked) {
  Loader l("M\nA\n");
  int calls = 0;
  kind_dispatch(l.ss.s).set_upgrader(4, [&](Session&, float, int&) { ++calls; });
  auto rec = current_record();
  rec[216] = bits(7.0f);
  l.put(rec);
  EXPECT_EQ(l.run(), kLoadStopStatus);
  EXPECT_EQ(calls, 0);
  EXPECT_NE(l.screen().find(" ++> Version mismatch: Data (version  7.00) POSTDATES simulation (version  6.80)\n"
                            "     Data files are NOT generally backwards-compatible!\n"),
            std::string::npos);
}

TEST(Ioinit, OldLayoutMarkerRunsTheUpgraderWithoutMismatchLine) {
  Loader l("M\n\n");
  int calls = 0;
  kind_dispatch(l.ss.s).set_upgrader(4, [&](Session&, float, int&) { ++calls; });
  auto rec = current_record();
  rec[14] = 49;
  rec[162] = 1;  // the increment makes the report needed
  l.put(rec);
  ASSERT_EQ(l.run(), -1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(l.screen().find("Version mismatch"), std::string::npos);
}

TEST(Ioinit, VersionIncrementMismatch) {
  Loader l("M\n\n");
  auto rec = current_record();
  rec[162] = 3;
  l.put(rec);
  ASSERT_EQ(l.run(), -1);
  EXPECT_NE(l.screen().find(" ++> Version increment mismatch: \n"
                            "     DATfile  version  increment  =  3\n"
                            "     Simulation version increment =  0\n"),
            std::string::npos);
}

TEST(Ioinit, TextFromABigEndianMachineIsRepaired) {
  Loader l("M\n\n\n");
  auto rec = current_record();
  rec[120] = 3;
  l.put(rec);
  ASSERT_EQ(l.run(), -1);
  EXPECT_NE(l.screen().find(" ++> File was produced on a Macintosh PPC computer.\n"), std::string::npos);
  EXPECT_EQ(l.ss.s.tpcm.text(59, 8), "DCBADCBA");
  EXPECT_EQ(l.ss.s.tpcm.text(79, 4), "DCBA");
  // The copy keeps the file as it was, so the repair counts as a change.
  EXPECT_EQ(l.ss.s.state<LoadTimeCopy>().record[59], pack_text4("ABCD"));
}

TEST(Ioinit, FileOfAnotherKindOfANewerVersionStops) {
  Loader l("M\n\n");
  auto rec = current_record();
  rec[1] = 1;
  rec[216] = bits(5.0f);
  l.put(rec);
  EXPECT_EQ(l.run(), kLoadStopStatus);
  EXPECT_NE(l.screen().find(" ++> Input Data File Creator was HULVANE\n"
                            "     Before importing this data file, you MUST first update it\n"
                            "     with version  6.80 of HULVANE on the originating computer platform.\n"),
            std::string::npos);
}

TEST(Ioinit, ExecuteOnAGoodFileGoesToTheFinalPage) {
  Loader l("E\n");
  l.put(current_record());
  ASSERT_EQ(l.run(), -1);
  EXPECT_EQ(l.status, kLoadExecute);
  EXPECT_EQ(l.ss.s.tpcm.i(699), -1983);
}

TEST(Ioinit, ExecuteOnAFileThatNeedsAReportOpensThePages) {
  Loader l("E\n\n");
  auto rec = current_record();
  rec[162] = 1;
  l.put(rec);
  ASSERT_EQ(l.run(), -1);
  EXPECT_EQ(l.status, kLoadReady);
  EXPECT_EQ(l.letter, 'M');
  EXPECT_EQ(l.ss.s.tpcm.i(699), 0);
}

TEST(Ioinit, ModifyWithoutDataFileIsAFileError) {
  Loader l("M\n\n");
  EXPECT_EQ(l.run(), 2);
  EXPECT_NE(l.screen().find(" ++> File not found or file access error in ronvaske    \n"
                            "     File name: RONDDAT     \n"),
            std::string::npos);
}

TEST(Ioinit, CreateBuildsAndStampsANewRecord) {
  Loader l("C\n");
  ASSERT_EQ(l.run(), -1);
  EXPECT_EQ(l.status, kLoadReady);
  const Tpcm& t = l.ss.s.tpcm;
  EXPECT_EQ(t.i(0), 1987);
  EXPECT_EQ(t.i(1), 4);
  EXPECT_EQ(t.i(5), 2);
  EXPECT_EQ(t.r(216), 6.8f);
  EXPECT_EQ(t.i(776), 4);
  EXPECT_EQ(t.i(786), 0x444);
  EXPECT_EQ(l.ss.s.state<LoadTimeCopy>().data_status, kDiskioNotFound);
}

TEST(Ioinit, CreateOverACorruptFileSkipsTheChecks) {
  Loader l("C\n");
  auto rec = current_record(1990);
  rec[1] = 0;
  l.put(rec);
  ASSERT_EQ(l.run(), -1);
  EXPECT_EQ(l.status, kLoadReady);
  EXPECT_EQ(l.screen().find("Warning"), std::string::npos);
  EXPECT_EQ(l.screen().find(kHeader), std::string::npos);
  EXPECT_EQ(l.ss.s.tpcm.i(1), 4);
  // The existing file is known to exist, so a save backs it up.
  EXPECT_NE(l.ss.s.state<LoadTimeCopy>().data_status, kDiskioNotFound);
}

TEST(Ioinit, PrintPassWritesTheBannerOnTheListingOnly) {
  Loader l("");
  l.ss.s.tpcm.i(701) = 1;
  l.ss.s.tpcm.i(702) = 1;
  ASSERT_TRUE(l.ss.s.open_output(1, "listing.txt"));
  ASSERT_EQ(l.run(), -1);
  EXPECT_EQ(l.status, kLoadPrintPass);
  EXPECT_EQ(l.ss.s.tpcm.i(701), 2);
  EXPECT_EQ(l.screen(), "");
  l.ss.s.close_unit(1);
  EXPECT_NE(l.fs->get("listing.txt").find("**   Welcome to Rondixa   **"), std::string::npos);
}

}  // namespace
}  // namespace kelp
