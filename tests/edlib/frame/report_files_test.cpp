// The reports written in one pass (the print-pass listing, "WAVEOUT.stxt",
// "DATUPWRN.stxt") are replaced whole or not at all: a file that cannot be
// written whole keeps the old report. The load's warning report is written
// however the load ends, at the end of the replies too.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "edlib/frame/final_page.hpp"
#include "edlib/frame/loading.hpp"
#include "edlib/model/wave_report.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/diskio.hpp"
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

// The listing: item 5 starts the print pass, the pages write to unit 1, and
// the End of Session page closes the listing when the pass comes back.
void print_listing(Session& s) {
  s.tpcm.i(kProgramKind) = 4;
  s.tpcm.i(kOutputUnit) = kScreen;
  shpfin(s, "10");
  s.write_line(kListingUnit, " a page of the listing");
  shpfin(s, "10");
}

// The listing of the pass a run request starts: when it cannot be written
// the run goes on all the same.
void run_listing(Session& s) {
  s.tpcm.i(kProgramKind) = 4;
  s.tpcm.i(kOutputUnit) = kScreen;
  s.state<FinalPageState>().checks = [](Session&, int&, int&) {};
  shpfin(s, "10");
  s.write_line(kListingUnit, " a page of the listing");
  shpfin(s, "10");
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

TEST_F(ReportFiles, AReportThatCannotBeWrittenWholeKeepsTheOldOne) {
  struct Case {
    const char* what;
    const char* file;
    FaultyFiles::Step fault;
    std::function<void(Session&)> write;
    const char* replies;
    const char* caller;        // "" when no file error is shown
    const char* now = nullptr;  // a line of the new report; none: the old one stays
  };
  const Case cases[] = {
      {"listing, disk full", "RONDIN.stxt", FaultyFiles::kWrite, print_listing, "5\n\n2\n", "ronvaske"},
      {"listing, rename refused", "RONDIN.stxt", FaultyFiles::kRename, print_listing, "5\n\n2\n", "ronvaske"},
      {"listing of a run, disk full", "RONDIN.stxt", FaultyFiles::kWrite, run_listing, "3\n\n", "ronvaske"},
      {"wave report, disk full", "WAVEOUT.stxt", FaultyFiles::kWrite, wave_report, "\n", "WAVEOUT"},
      {"warning report, disk full", "DATUPWRN.stxt", FaultyFiles::kWrite, load_newer_file, "M\n\n\n", "IOINIT"},
      // The replies run out at the loader's question: the report of this
      // load is still written, and a failure there is passed over quietly
      // (no RETURN could answer its wait).
      {"warning report, end of input", "DATUPWRN.stxt", FaultyFiles::kNone, load_newer_file, "M\n", "",
       " ++> Version mismatch: Data (version  7.00) POSTDATES"},
      {"warning report, end of input, disk full", "DATUPWRN.stxt", FaultyFiles::kWrite, load_newer_file, "M\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string old = "the old report, complete\n";
    testing::write_file(c.file, old);
    ScriptedSession t(c.replies);
    t.s.set_files(std::make_shared<FaultyFiles>(c.fault, c.file));
    try {
      c.write(t.s);
    } catch (const EndOfInput&) {
      EXPECT_EQ(std::string(c.caller), "");
    }
    if (c.now) {
      EXPECT_NE(read(c.file).find(c.now), std::string::npos) << read(c.file);
    } else {
      EXPECT_EQ(read(c.file), old);
    }
    if (*c.caller != '\0') {
      EXPECT_NE(t.shown().find(std::string(" ++> File not found or file access error in ") + c.caller +
                               "\n     File name: " + c.file + "\n"),
                std::string::npos)
          << t.shown();
    } else {
      EXPECT_EQ(t.shown().find(" ++> File not found"), std::string::npos) << t.shown();
    }
    for (const auto& e : fs::directory_iterator(dir_)) {
      EXPECT_EQ(e.path().filename().string().find(".kelp"), std::string::npos) << e.path();
    }
  }
}

}  // namespace
}  // namespace kelp
