// Every file the editors write is replaced whole or not at all: one that
// cannot be written keeps the old one, is named on the screen with why, and
// in a silent run in its report too. The load's warning report is written
// however the load ends, at the end of the replies too.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "edlib/frame/final_page.hpp"
#include "edlib/frame/loading.hpp"
#include "edlib/frame/saving.hpp"
#include "edlib/model/wave_report.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/options_file.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/replies.hpp"
#include "test_identity.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::FaultyFiles;
using testing::ScriptedSession;
namespace fs = std::filesystem;

using ReportFiles = testing::InTempDir;

constexpr const char* kIo = "the disk reports an input or output error";

// The End of Session page of a disc-buoy session once: item 4 starts a
// silent run where its report can be made.
void end_of_session(Session& s) {
  s.tpcm.i(kProgramKind) = 4;
  s.tpcm.i(kOutputUnit) = kScreen;
  shpfin(s, "10");
}

// The listing: item 5 starts the print pass, the pages write to unit 1, and
// the End of Session page closes the listing when the pass comes back.
void print_listing(Session& s) {
  end_of_session(s);
  s.write_line(kListingUnit, " a page of the listing");
  shpfin(s, "10");
}

// The listing of the pass a run request (item 3, or 4 silent) starts: when
// it cannot be written the run goes on all the same.
void run_listing(Session& s) {
  s.state<FinalPageState>().checks = [](Session&, int&, int&) {};
  print_listing(s);
  EXPECT_EQ(s.tpcm.i(kNavCode), kNavExecute);
}

void wave_report(Session& s) {
  Tpcm& t = s.tpcm;
  t.i(kProgramKind) = 4;
  t.i(kOutputUnit) = kScreen;
  t.i(kOutputDevice) = 1;
  t.i(kUnitSystem) = kUnitsMetric;
  t.i(kWaveFrequencies) = 3;
  for (std::size_t k = 0; k < 3; ++k) t.set_r(kPeriods + k, 5.0f + static_cast<float>(k));
  t.set_r(kWaterDepth, 100.0f);
  t.set_r(kRegularHeight, 2.0f);
  EXPECT_FALSE(wavout(s));
}

// The silent run's report, opened as item 4 opens it.
void open_silent_report(Session& s) { ASSERT_TRUE(open_report(s, "Diagnostics.stxt", kSilentUnit, "Fintop", kScreen)); }

// The options file written as page 22 writes it in a silent run's print
// pass, over a file this user may not write.
void options_file(Session& s) {
  open_silent_report(s);
  fs::permissions("GUSTRDAT", fs::perms(0444));
  const std::vector<std::int32_t> picks(kPickCapacity, 7);
  EXPECT_FALSE(write_td_opts(s, "GUSTRDAT", 6.8f, 0, kTdOptsFormatVersion, kTdOptsFormatMinor, 3.0f, 4, picks, picks,
                             kListingUnit, kSilentUnit));
}

// A silent run's save of an edited record (kind 4, or 15 with its tables
// edited too) over the generations of earlier saves.
std::function<void(Session&)> silent_save(int kind) {
  return [kind](Session& s) {
    for (const char* name : {"RONDDAT", "RONDBAK", "LASTBAK", "PIVADAT", "PIVABAK", "LOWDAT", "LOWBAK", "LASTLOW"}) {
      if (!fs::exists(name)) testing::write_file(name, "earlier\n");
    }
    open_silent_report(s);
    s.tpcm.i(kProgramKind) = kind;
    LoadTimeCopy copy;
    std::copy(s.tpcm.words().begin(), s.tpcm.words().end(), copy.record.begin());
    copy.low.assign(s.lowcof.words().begin(), s.lowcof.words().end());
    s.tpcm.i(300) = 5;
    s.lowcof.i(5) = -9;
    s.tpcm.i(kNavCode) = kNavExecute;
    const FinishArgs args{.saved_unit = kSilentUnit, .record_size = kind > 10 ? 78635 : 1987};
    EXPECT_EQ(finish(s, kind > 10 ? testing::pivlorn_identity() : testing::ronvaske_identity(), copy, args), 1);
  };
}

// A disc-buoy file from a newer version: the load reports it.
void load_newer_file(Session& s) {
  std::vector<std::int32_t> w(1987, 0);
  w[0] = 1987;
  w[1] = 4;
  w[14] = 149;
  w[120] = 21;
  w[216] = std::bit_cast<std::int32_t>(7.0f);
  testing::write_file("RONDDAT", encode_record(w));
  char letter = ' ';
  ioinit(s, testing::ronvaske_identity(), 1987, letter);
}

TEST_F(ReportFiles, AFileThatCannotBeWrittenIsNamedWithWhyAndKeepsTheOldOne) {
  const char* folder = "its folder may not be written";
  struct Case {
    const char* what;
    const char* file;
    FaultyFiles::Step fault;
    std::function<void(Session&)> write;
    const char* replies;
    const char* caller;         // "" when no file error is shown; the routine its heading names
    const char* why = kIo;      // the words after "Reason: "
    const char* now = nullptr;  // a line of the new report; none: the old one stays
    bool ends = false;          // the replies run out
    const char* heading = nullptr;  // the message's first line, where it is not acerr's
  };
  const Case cases[] = {
      {"listing, disk full", "RONDIN.stxt", FaultyFiles::kWrite, print_listing, "5\n\n2\n", "ronvaske"},
      {"listing, rename refused", "RONDIN.stxt", FaultyFiles::kRename, print_listing, "5\n\n2\n", "ronvaske"},
      {"listing of a run, disk full", "RONDIN.stxt", FaultyFiles::kWrite, run_listing, "3\n\n", "ronvaske"},
      {"listing of a silent run, disk full", "RONDIN.stxt", FaultyFiles::kWrite, run_listing, "4\n\n", "ronvaske"},
      {"silent run's report", "Diagnostics.stxt", FaultyFiles::kCreate, end_of_session, "4\n\n2\n", "Fintop", folder},
      {"options file, write-protected", "GUSTRDAT", FaultyFiles::kNone, options_file, "\n", "WRITE_TD_OPTS",
       "write-protected", nullptr, false, "++> I/O Error in WRITE_TD_OPTS; GUSTRDAT not written, the session continues..."},
      {"wave report, disk full", "WAVEOUT.stxt", FaultyFiles::kWrite, wave_report, "\n", "WAVEOUT"},
      {"warning report, disk full", "DATUPWRN.stxt", FaultyFiles::kWrite, load_newer_file, "M\n\n\n", "IOINIT"},
      // The replies run out at the loader's question: the report of this
      // load is still written, and a failure there is named without a wait
      // (no RETURN could answer it).
      {"warning report, end of input", "DATUPWRN.stxt", FaultyFiles::kNone, load_newer_file, "M\n", "", kIo,
       " ++> Version mismatch: Data (version  7.00) POSTDATES", true},
      {"warning report, end of input, disk full", "DATUPWRN.stxt", FaultyFiles::kWrite, load_newer_file, "M\n",
       "IOINIT", kIo, nullptr, true},
      {"data file", "RONDDAT", FaultyFiles::kWrite, silent_save(4), "\n", "ronvaske"},
      {"backup", "RONDBAK", FaultyFiles::kWrite, silent_save(4), "\n", "ronvaske"},
      {"oldest backup", "LASTBAK", FaultyFiles::kCreate, silent_save(4), "\n", "ronvaske", folder},
      {"mooring data file", "PIVADAT", FaultyFiles::kWrite, silent_save(15), "\n", "PIVLORN"},
      {"mooring backup", "PIVABAK", FaultyFiles::kRename, silent_save(15), "\n", "PIVLORN"},
      {"tables", "LOWDAT", FaultyFiles::kWrite, silent_save(15), "\n", "PIVLORN"},
      {"tables' backup", "LOWBAK", FaultyFiles::kCreate, silent_save(15), "\n", "PIVLORN", folder},
      {"tables' oldest backup", "LASTLOW", FaultyFiles::kWrite, silent_save(15), "\n", "PIVLORN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string old = "the old report, complete\n";
    testing::write_file(c.file, old);
    ScriptedSession t(c.replies);
    t.s.set_files(std::make_shared<FaultyFiles>(c.fault, c.file));
    bool ended = false;
    try {
      c.write(t.s);
    } catch (const EndOfInput&) {
      ended = true;
    }
    EXPECT_EQ(ended, c.ends) << t.shown();
    if (c.now) {
      EXPECT_NE(read(c.file).find(c.now), std::string::npos) << read(c.file);
    } else {
      EXPECT_EQ(read(c.file), old);
    }
    const std::string named =
        (c.heading ? std::string(c.heading) : std::string(" ++> File not found or file access error in ") + c.caller) +
        "\n     File name: " + c.file + "\n     Reason: " + c.why + "\n";
    if (*c.caller != '\0') {
      EXPECT_NE(t.shown().find(named), std::string::npos) << t.shown();
    } else {
      EXPECT_EQ(t.shown().find(" ++> File not found"), std::string::npos) << t.shown();
    }
    // Within a silent run (its report open) the report names it too.
    EXPECT_EQ(t.s.staged_text(kSilentUnit).find(named) != std::string::npos, t.s.is_open(kSilentUnit));
    for (const std::string& name : testing::entries_of(dir_)) {
      EXPECT_EQ(name.find(".kelp"), std::string::npos) << name;
    }
  }
}

}  // namespace
}  // namespace kelp
