#include "sysutl/files_shell.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <utility>

#include "sysutl/program_entry.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;
using testing::slurp;
using testing::TempDir;
using testing::write_file;

namespace fs = std::filesystem;

const std::string kEnd = std::string(kEndOfInputMessage) + "\n";

int stop_status(const std::function<void()>& f) {
  try {
    f();
  } catch (const ProgramStop& stop) {
    return stop.status();
  }
  return -1;
}

const std::string kAcerrScreen =
    "\n"
    " ++> File not found or file access error in LOADER\n"
    "     File name: ";

TEST(Syopen, StatusZeroReplacesAnExistingFileByAnEmptyOne) {
  TempDir dir;
  const auto name = dir.file("RONDIN.stxt");
  write_file(name, "old listing\n");
  ScriptedSession t;
  syopen(t.s, name, 1, 0, kListingUnit, "FINPAG", kScreen);
  EXPECT_TRUE(t.s.is_open(kListingUnit));
  EXPECT_TRUE(fs::exists(name));
  EXPECT_EQ(fs::file_size(name), 0u);
  t.s.write_line(kListingUnit, "new");
  hclose(t.s, kListingUnit, name, "FINPAG", kScreen);
  EXPECT_FALSE(t.s.is_open(kListingUnit));
  EXPECT_EQ(slurp(name), "new\n");
  EXPECT_EQ(t.shown(), "");
}

TEST(Syopen, StatusZeroCreatesAMissingFile) {
  TempDir dir;
  const auto name = dir.file("DATUPWRN.stxt");
  ScriptedSession t;
  syopen(t.s, name, 1, 0, kWarningUnit, "IOINIT", kScreen);
  EXPECT_TRUE(fs::exists(name));
  hclose(t.s, kWarningUnit, name, "IOINIT", kScreen);
}

TEST(Syopen, StatusTwoOnAMissingFileReturnsQuietly) {
  TempDir dir;
  ScriptedSession t("");
  syopen(t.s, dir.file("nothere"), 1, 2, 31, "UWVSPC", kScreen);
  EXPECT_FALSE(t.s.is_open(31));
  EXPECT_FALSE(fs::exists(dir.file("nothere")));
  EXPECT_EQ(t.shown(), "");
}

TEST(Syopen, ExistingFileOpensAtItsStartForReading) {
  TempDir dir;
  const auto name = dir.file("GUSTRDAT");
  write_file(name, "3\n0.1 2.0\n");
  ScriptedSession t;
  syopen(t.s, name, 1, 1, 31, "UWVSPC", kScreen);
  EXPECT_EQ(t.s.try_read_line(31), "3");
  syopen(t.s, name, 1, 2, 31, "UWVSPC", kScreen);  // opened again: at the start
  EXPECT_EQ(t.s.try_read_line(31), "3");
  hclose(t.s, 31, name, "UWVSPC", kScreen);
}

TEST(Syopen, StatusTwoForOutputWritesFromTheStart) {
  TempDir dir;
  const auto name = dir.file("report.stxt");
  write_file(name, "a long old report\n");
  ScriptedSession t;
  syopen(t.s, name, 1, 2, 22, "X", kScreen, true);
  t.s.write_line(22, "new");
  hclose(t.s, 22, name, "X", kScreen);
  EXPECT_EQ(slurp(name), "new\n");
}

TEST(Syopen, StatusOneOnAMissingFileReportsWaitsAndStops) {
  TempDir dir;
  const auto name = dir.file("LOWDAT");
  ScriptedSession t("\n");
  EXPECT_EQ(stop_status([&] { syopen(t.s, name, 0, 1, kListingUnit, "LOADER", kScreen); }), 2);
  EXPECT_EQ(t.shown(), kAcerrScreen + name + "\n     Reason: there is no such file\n \n Press <RETURN> to continue: ");
  EXPECT_FALSE(fs::exists(name));
}

TEST(Syopen, StatusZeroThatCannotCreateStops) {
  TempDir dir;
  const auto name = dir.file("no/such/dir/FILE");
  ScriptedSession t("\n");
  EXPECT_EQ(stop_status([&] { syopen(t.s, name, 1, 0, kListingUnit, "LOADER", kScreen); }), 2);
  EXPECT_EQ(t.shown(),
            kAcerrScreen + name + "\n     Reason: a folder on its way does not exist\n \n Press <RETURN> to continue: ");
}

TEST(Acerr, EndOfInputAtItsWaitStillStops) {
  ScriptedSession t("");
  EXPECT_EQ(stop_status([&] { acerr(t.s, "LOADER", "X", kScreen); }), 1);
  EXPECT_EQ(t.shown(), kAcerrScreen + "X\n \n Press <RETURN> to continue: \n" + kEnd);
}

TEST(Acerr, TheNameIsShownEscapedAndARefusalSaysWhy) {
  // A name cannot forge a line of its own or reach the terminal's controls
  // (C0, C1 as UTF-8 or as raw bytes, format characters), nor pass a
  // backslash for an escape; the other characters of UTF-8 stand.
  const struct {
    std::string name;
    Refusal why;
    std::string lines;
  } cases[] = {
      {"a\n ++> Saved. Nothing to worry about", Refusal::kNone, "a\\n ++> Saved. Nothing to worry about\n"},
      {"dir\033[2J/RONDDAT", Refusal::kNotRegular, "dir\\033[2J/RONDDAT\n     Reason: not a regular file\n"},
      {"tab\there\x7f\r", Refusal::kUnreachable, "tab\\there\\177\\r\n     Reason: cannot be reached\n"},
      {"a\\nb", Refusal::kNoRoom, "a\\\\nb\n     Reason: no room left on the disk\n"},
      {"csi\xc2\x9b" "2J nel\x85 \x9b", Refusal::kNone, "csi\\302\\2332J nel\\205 \\233\n"},
      {"Ā\xc4\x80é ś \xc3", Refusal::kFolderNotWritable, "ĀĀé ś \xc3\n     Reason: its folder may not be written\n"},
      // Format characters (Cf) and the separators a terminal obeys unseen,
      // each range's ends beside neighbours that stand.
      {"\u200a\u200b\u200f\u2010|\u2027\u2028\u2029\u202a\u202e\u202f", Refusal::kNone,
       "\u200a\\u{200b}\\u{200f}\u2010|\u2027\\u{2028}\\u{2029}\\u{202a}\\u{202e}\u202f\n"},
      {"\u205f\u2060\u2064\u2065\u2066\u206f\u2070 \ufff8\ufff9\ufffb\ufffc \ufeff.txt", Refusal::kNotRegular,
       "\u205f\\u{2060}\\u{2064}\u2065\\u{2066}\\u{206f}\u2070 \ufff8\\u{fff9}\\u{fffb}\ufffc \\u{feff}.txt\n"
       "     Reason: not a regular file\n"},
      {"\u00ac\u00ad\u00ae\u05ff\u0600\u0605\u0606\u061b\u061c\u061d\u06dc\u06dd\u06de\u070e\u070f\u0710\u088f\u0890"
       "\u0891\u0892\u08e1\u08e2\u08e3\u180d\u180e\u180f", Refusal::kNone,
       "\u00ac\\u{ad}\u00ae\u05ff\\u{600}\\u{605}\u0606\u061b\\u{61c}\u061d\u06dc\\u{6dd}\u06de\u070e\\u{70f}\u0710"
       "\u088f\\u{890}\\u{891}\u0892\u08e1\\u{8e2}\u08e3\u180d\\u{180e}\u180f\n"},
      {"\U000110bc\U000110bd\U000110be\U000110cc\U000110cd\U000110ce\U0001342f\U00013430\U0001343f\U00013440"
       "\U0001bc9f\U0001bca0\U0001bca3\U0001bca4\U0001d172\U0001d173\U0001d17a\U0001d17b\U000e0000\U000e0001"
       "\U000e0002\U000e001f\U000e0020\U000e007f\U000e0080", Refusal::kNone,
       "\U000110bc\\u{110bd}\U000110be\U000110cc\\u{110cd}\U000110ce\U0001342f\\u{13430}\\u{1343f}\U00013440"
       "\U0001bc9f\\u{1bca0}\\u{1bca3}\U0001bca4\U0001d172\\u{1d173}\\u{1d17a}\U0001d17b\U000e0000\\u{e0001}"
       "\U000e0002\U000e001f\\u{e0020}\\u{e007f}\U000e0080\n"},
  };
  for (const auto& c : cases) {
    ScriptedSession t("\n");
    acerr_report(t.s, "LOADER", c.name, kScreen, c.why);
    EXPECT_EQ(t.shown(), kAcerrScreen + c.lines + " \n Press <RETURN> to continue: ");
  }
}

TEST(Acerr, SilentUnitWritesTheReportAndStopsWithoutReading) {
  TempDir dir;
  const auto report = dir.file("Diagnostics.stxt");
  ScriptedSession t("");  // a read would end the input: status 1, not 2
  ASSERT_TRUE(t.s.open_output(kSilentUnit, report));
  EXPECT_EQ(stop_status([&] { acerr(t.s, "Fintop", "Diagnostics.stxt", kSilentUnit); }), 2);
  t.s.close_unit(kSilentUnit);
  EXPECT_EQ(slurp(report),
            "\n"
            " ++> File not found or file access error in Fintop\n"
            "     File name: Diagnostics.stxt\n"
            " \n");
  EXPECT_EQ(t.shown(), "");
}

TEST(OpenReport, AnEarlierReportGoesAtOnceAndThisRunsIsWrittenAtItsEnd) {
  // So a run that a signal ends leaves no earlier run's report behind. At
  // the end of a run, stopped or not, a report that cannot be written is
  // named with why, its findings follow, and the run ends as on a file
  // error; a file-size limit does not end the program. After an internal
  // error the session's end writes the report without a word.
  TempDir dir;
  const std::string report = dir.file("Diagnostics.stxt");
  using Fault = testing::FaultyFiles;
  enum End { kReturns, kStops, kBreaks, kOverLimit };
  const struct {
    End end;
    Fault::Step fault;
    int status;
    std::string why;  // "": written, or nothing said
  } cases[] = {
      {kReturns, Fault::kNone, 0, ""},
      {kReturns, Fault::kWrite, 2, "the disk reports an input or output error"},  // a full disk, here
      {kStops, Fault::kCreate, 2, "its folder may not be written"},
      {kOverLimit, Fault::kNone, 2, "larger than may be written"},
      {kBreaks, Fault::kNone, 70, ""},
      {kBreaks, Fault::kRename, 70, ""},
  };
  rlimit before{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.end) + " " + std::to_string(c.fault));
    write_file(report, "an earlier run's report");
    std::ostringstream screen, errors;
    std::streambuf* const out = std::cout.rdbuf(screen.rdbuf());
    std::streambuf* const err = std::cerr.rdbuf(errors.rdbuf());
    const int status = run_editor_program("ronvaske", [&](Session& s) {
      const auto layer = std::make_shared<Fault>();
      s.set_files(layer);
      ASSERT_TRUE(open_report(s, report, kSilentUnit, "Fintop", kScreen));
      EXPECT_EQ(slurp(report), "");
      s.write_line(kSilentUnit, "finding");
      layer->step = c.fault;
      const rlimit none{0, before.rlim_max};
      if (c.end == kOverLimit) ::setrlimit(RLIMIT_FSIZE, &none);
      if (c.end == kStops) throw ProgramStop(1);
      if (c.end == kBreaks) throw std::runtime_error("broken");
    });
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::cout.rdbuf(out), std::cerr.rdbuf(err);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(screen.str(), c.why.empty() ? "" : "\n ++> File not found or file access error in Fintop\n     File name: " +
                                                      report + "\n     Reason: " + c.why + "\n \nfinding\n");
    EXPECT_EQ(errors.str(), c.end == kBreaks ? " ++> ronvaske stopped on an internal error: broken\n" : "");
    EXPECT_EQ(slurp(report), c.why.empty() && c.fault == Fault::kNone ? "finding\n" : "");
  }
}

TEST(Hclose, AFailedWriteIsReported) {
  ScriptedSession t("\n");
  t.s.set_files(std::make_shared<testing::FaultyFiles>(testing::FaultyFiles::kOpenWrite));
  syopen(t.s, "WAVEOUT.stxt", 1, 0, kListingUnit, "WAVEOUT", kScreen);
  t.s.write_line(kListingUnit, "a report line");
  EXPECT_EQ(stop_status([&] { hclose(t.s, kListingUnit, "WAVEOUT.stxt", "WAVEOUT", kScreen); }), 2);
  EXPECT_EQ(t.shown(),
            "\n ++> File not found or file access error in WAVEOUT\n"
            "     File name: WAVEOUT.stxt\n"
            "     Reason: the disk reports an input or output error\n \n Press <RETURN> to continue: ");
}

TEST(Hclose, AUnitNotOpenIsNoError) {
  ScriptedSession t("");
  hclose(t.s, 55, "x", "Y", kScreen);
  EXPECT_EQ(t.shown(), "");
}

TEST(Filerr, ReportsWaitsAndStops) {
  ScriptedSession t("\n");
  EXPECT_EQ(stop_status([&] { filerr(t.s, "GUST\\RDAT\n\xc2\x9b", "UWVSPC", kScreen, kKeyboard); }), 2);
  EXPECT_EQ(t.shown(),
            "\n"
            " ++> End of file or related file error in routine UWVSPC\n"
            "     file name GUST\\\\RDAT\\n\\302\\233\n"
            " \n"
            " Press <RETURN> to continue: ");
}

TEST(Filerr, SilentUnitStopsWithoutReading) {
  ScriptedSession t("");
  EXPECT_EQ(stop_status([&] { filerr(t.s, "f", "R", kSilentUnit, kKeyboard); }), 2);
}

TEST(Sytime, MinutesSinceMidnightAndSeconds) {
  std::tm tm{};
  tm.tm_hour = 13;
  tm.tm_min = 5;
  tm.tm_sec = 9;
  int minutes = 0;
  int seconds = 0;
  sytime_of(tm, minutes, seconds);
  EXPECT_EQ(minutes, 785);
  EXPECT_EQ(seconds, 9);
}

TEST(Sydate, MonthDayYear) {
  std::tm tm{};
  tm.tm_year = 2024 - 1900;
  tm.tm_mon = 1;
  tm.tm_mday = 29;
  int month = 0, day = 0, year = 0;
  sydate_of(tm, month, day, year);
  EXPECT_EQ(month, 2);
  EXPECT_EQ(day, 29);
  EXPECT_EQ(year, 2024);
}

TEST(Sydate, TodayFromTheLibraryMatchesTheSystemClock) {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  int month = 0, day = 0, year = 0;
  sydate(month, day, year);
  int minutes = -1, seconds = -1;
  sytime(minutes, seconds);
  EXPECT_EQ(year, tm.tm_year + 1900);
  EXPECT_GE(month, 1);
  EXPECT_LE(month, 12);
  EXPECT_GE(day, 1);
  EXPECT_LE(day, 31);
  EXPECT_GE(minutes, 0);
  EXPECT_LT(minutes, 1440);
  EXPECT_GE(seconds, 0);
  EXPECT_LE(seconds, 60);
}

using FindProgram = testing::InTempDir;

TEST_F(FindProgram, LooksThroughThePathAsTheShellDoes) {
  // "prog" runnable here and in exec/, not executable in plain/, a directory in dir/.
  for (const char* d : {"exec", "plain", "dir/prog"}) fs::create_directories(d);
  for (const char* f : {"prog", "exec/prog", "plain/prog"}) write_file(f, "#!/bin/sh\n");
  for (const char* f : {"prog", "exec/prog"}) fs::permissions(f, fs::perms::owner_all);
  const struct {
    const char* name;
    const char* path;  // nullptr: PATH unset
    std::string found;
  } cases[] = {{"prog", "none:plain:dir:exec", "exec/prog"}, {"prog", "plain::exec", "prog"}, {"prog", "", "prog"},
               {"exec/prog", "none", "exec/prog"}, {"plain/prog", "exec", ""}, {"prog", nullptr, ""},
               {"sh", nullptr, "/bin/sh"}};
  for (const auto& c : cases) EXPECT_EQ(find_program(c.name, c.path), c.found) << (c.path ? c.path : "(unset)");
}

TEST_F(FindProgram, RunsTheFileAndWaitsForItsExitStatus) {
  // The arguments after the first reach the program, with "#!" or without
  // (then through /bin/sh); a signal's end is 128 plus its number. A file
  // the system refuses that no shell would run is not started: an ELF
  // header of no machine here, a NUL in the first 256 bytes (one behind
  // them is a script's payload). The file-size limit's signal, which the
  // editor ignores, ends the program as it ends any.
  using namespace std::string_literals;
  ::signal(SIGXFSZ, SIG_IGN);
  const std::string padding(256 - 7, '#');
  const struct {
    std::string script;
    int status;
  } cases[] = {{"#!/bin/sh\ntest \"$*\" = \"/c x\" && exit 6\n", 6},
               {"test \"$*\" = \"/c x\" && exit 4\n", 4},
               {"#!/bin/sh\nkill -TERM $$\n", 128 + SIGTERM},
               {"#!/bin/sh\nkill -XFSZ $$\n", 128 + SIGXFSZ},
               {"#!/nonexistent/sh\nexit 0\n", kProgramNotStarted},
               {"\x7f" "ELF exit 3\n", kProgramNotStarted},
               {"exit 3\n" + padding.substr(1) + "\0"s, kProgramNotStarted},
               {"exit 3\n" + padding + "\0"s, 3}};
  for (const auto& c : cases) {
    write_file("prog", c.script);
    fs::permissions("prog", fs::perms::owner_all);
    EXPECT_EQ(start_and_wait("prog", {"prog", "/c", "x"}), c.status) << c.script;
  }
}

TEST(Lsyloc, WordNumberWithinTheRecord) {
  auto rec = std::make_unique<Tpcm>();
  const auto words = std::as_const(*rec).words();
  EXPECT_EQ(lsyloc(words, rec->i(0)), 0);
  EXPECT_EQ(lsyloc(words, rec->i(700)), 700);
  EXPECT_EQ(lsyloc(words, rec->i(kTpcmWords - 1)), static_cast<std::ptrdiff_t>(kTpcmWords - 1));
  EXPECT_EQ(lsyloc(words, rec->i(1866)) - lsyloc(words, rec->i(699)), 1167);
  const std::int32_t outside = 0;
  EXPECT_EQ(lsyloc(words, outside), -1);
}

}  // namespace
}  // namespace kelp
