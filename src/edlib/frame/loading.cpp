#include "edlib/frame/loading.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "edlib/frame/create_record.hpp"
#include "edlib/frame/saving.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/banner.hpp"
#include "kelpkit/coef_sources.hpp"
#include "kelpkit/flag_fields.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/disk_stamp.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr int kSilentRunMode = 3;
constexpr float kVersionTolerance = 0.001f;
constexpr int kChswapLimit = 200;

// A formatted line without its record end.
template <class... T>
std::string line(std::string_view f, const T&... items) {
  std::string text = fmt::fortran(f, items...);
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// The seven-character creator name of a file kind; a kind outside 1 to 17
// has none of its own.
std::string creator_name(int kind) {
  if (kind < 1 || kind > 17) return "UNKNOWN";
  return std::string(styp(kind));
}

// Writes the loader's messages on the output unit and, unless the run is
// silent (run mode 3), on the warning report (unit 21) too.
class Report {
 public:
  Report(Session& s, int out, bool to_file) : s_(s), out_(out), to_file_(to_file) {}
  void operator()(std::string_view text) {
    s_.write_line(out_, text);
    if (to_file_) s_.write_line(kWarningUnit, text);
  }
  int out() const { return out_; }

 private:
  Session& s_;
  int out_;
  bool to_file_;
};

[[noreturn]] void stop_loading() { throw ProgramStop(kLoadStopStatus); }

// "A" at an abort question ends the session with nothing written.
void abort_or_go_on(Session& s, int out, int& reply) {
  abort0(s, out, kKeyboard, reply);
  if (reply == -1) stop_loading();
}

void serv_abort_or_go_on(Session& s, int out, int& reply) {
  serv_abort(s, out, reply);
  if (reply == -1) stop_loading();
}

void wait_and_stop(Session& s, int out) {
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
  stop_loading();
}

// A warning report that cannot be created costs nothing but its copy: the
// messages still go to the screen, and the load goes on. The report is kept
// in memory and written whole when the load ends (close_warning_report).
void open_warning_report(Session& s, int out) {
  if (!s.is_open(kWarningUnit)) open_staged_report(s, std::string(kWarningReportFile), kWarningUnit, "IOINIT", out);
}

void close_warning_report(Session& s, int out) {
  close_report(s, kWarningUnit, kWarningReportFile, "IOINIT", out);
}

void characteristics_header(Session& s, int out) {
  clear(s, out);
  fwrite(s, out, "(//T19,' >>> Input File Characteristics <<< ')");
}

const char* kInspectLine = "     Carefully inspect each editor screen before proceeding...";

// Step 11 of a load: for the moored kinds a missing "LOWDAT" loses the user
// coefficient tables, so every user-specified source is replaced by a
// built-in one.
void missing_lowdat(Session& s, const Identity& id, int out, bool silent, char& letter) {
  Tpcm& t = s.tpcm;
  int windsame = 0, cursame = 0, driftsame = 0;
  initfm(s, t.i(kWindSelector), windsame, t.i(kCurrentSelector), cursame, t.i(kDriftSelector), driftsame, out);
  std::int32_t wind = t.i(kWindSelector), current = t.i(kCurrentSelector), drift = t.i(kDriftSelector);
  int winduser = 0, curuser = 0, driftuser = 0, curtanker = 0, windocimf = 0, windshape = 0, curshape = 0;
  tnkrid(s, wind, windsame, winduser, current, cursame, curuser, drift, driftsame, driftuser, curtanker, windocimf,
         windshape, curshape, out);
  if (winduser != 1 && curuser != 1) return;

  open_warning_report(s, out);
  characteristics_header(s, out);
  Report report(s, out, !silent);
  report(" ++> LOWDAT file not found. User-specified environmental coefficients ");
  report("     will be missing.");
  int reply = 0;
  serv_abort_or_go_on(s, out, reply);
  letter = 'M';

  auto replace = [&](std::size_t word, int builtin) {
    for (int field = 1; field <= 3; ++field) {
      if (nibval(s, t.i(word), field, out) == 1) nibset(s, t.i(word), field, builtin, out);
    }
  };
  replace(kWindSelector, 4);
  replace(kCurrentSelector, 6);
  replace(kDriftSelector, 2);
  if (id.kind == 10 || id.kind == 13) {
    replace(2008, 3);
    replace(2007, 3);
    replace(2020, id.kind == 10 ? 2 : 4);
  }
  if (!silent) close_warning_report(s, out);
}

int load_session(Session& s, const Identity& id, int nwords, char& letter);

// Why the file found for a name could not be opened for reading.
Refusal unopened(FileSystem& fs, const Resolution& file) {
  if (!file) return file.refused();
  if (fs.open_read(file)) return Refusal::kReadError;  // it opens now: the read failed
  return fs.refusal_at(file.at(), FileStep::kRead, errno);
}

// What is wrong with a data file whose count word is right but whose record
// could not be read whole: its trailing marker, or the read itself.
void report_damaged_record(Session& s, const std::string& name, Report& report) {
  const RecordFrame frame = record_frame(s, name);
  if (frame.leading && frame.trailing && *frame.leading != *frame.trailing) {
    report(" ++> Input Data File damaged: its two record markers differ.");
    report(line("('     Leading marker ',I11,', trailing marker ',I11,'... CAUTION!')", *frame.leading,
                *frame.trailing));
  } else {
    report(" ++> Input Data File could not be read whole... CAUTION!");
  }
}

// What is wrong with a "LOWDAT" that exists, or "" when it holds its 680
// words whole: one record of exactly 2,728 bytes with both markers 2,720, or
// the 680 words bare (exactly 2,720 bytes, read as they stand by diskio).
std::string lowdat_damage(Session& s, int low_status) {
  const RecordFrame frame = record_frame(s, std::string(kLowdatFile));
  if (!frame.readable) return "it cannot be read.";
  if (frame.bytes == 0) return "it is empty.";
  if (frame.bytes == kBareLowdatBytes && low_status == 0) return {};
  // A file too short for a marker is named by its size.
  if (frame.leading && *frame.leading != kLowdatMarker) return "its record marker is not that of 680 words.";
  if (frame.bytes != kLowdatRecordBytes) {
    return line("('it holds ',I0,' bytes, not the ',I0,' of one record of ',I0,' words.')",
                static_cast<int>(std::min<std::size_t>(frame.bytes, std::numeric_limits<int>::max())),
                static_cast<int>(kLowdatRecordBytes), kLowdatWords);
  }
  if (frame.trailing != kLowdatMarker) return "its two record markers differ.";
  if (low_status != 0) return "it cannot be read whole.";
  return {};
}

// A "LOWDAT" that does not hold its 680 words whole would load shifted or
// cut short, and the next save would write that back. The user is told what
// is wrong and asked, as for a missing one; going on starts from empty user
// tables. They go into the load-time copy too, so the emptying alone is no
// change to save; but a coefficient table page, once opened, stores its row
// count (at least 2): opened by the user, or by the print pass of the
// listing a save first writes (it opens the tables of the user sources in
// use). The empty tables are then saved after all, and the damaged file is
// kept as "LOWBAK"; until a save writes "LOWDAT" it stays as it is.
void damaged_lowdat(Session& s, int out, bool silent, char& letter) {
  const std::string damage = lowdat_damage(s, s.state<LoadTimeCopy>().low_status);
  if (damage.empty()) return;
  if (!silent) open_warning_report(s, out);
  characteristics_header(s, out);
  Report report(s, out, !silent);
  report(" ++> LOWDAT file damaged: " + damage);
  report("     User-specified environmental coefficient tables will be empty.");
  int reply = 0;
  serv_abort_or_go_on(s, out, reply);
  if (letter == 'E') letter = 'M';
  LoadTimeCopy& copy = s.state<LoadTimeCopy>();
  std::fill(s.lowcof.words().begin(), s.lowcof.words().end(), 0);
  movcom(kLowdatWords, s.lowcof.words(), copy.low);
}

}  // namespace

int size_class(int file_kind, int count, int program_kind) {
  if (file_kind < 1 || file_kind > 17) return kSizeKindUnknown;
  const int expected = record_size(file_kind);
  if (expected == 0 || count == expected) return kSizeExpected;
  const bool larger = count > expected;
  if (file_kind == 7 || file_kind == 8 || file_kind == 11 || file_kind == program_kind) {
    return larger ? kSizeLargerOwn : kSizeSmallerOwn;
  }
  return larger ? kSizeLargerOther : kSizeSmallerOther;
}

void datcrpt(Session& s, int out, int n) {
  if (n < 1 || n > 4) return;
  clear(s, out);
  const std::string indent(14, ' ');
  switch (n) {
    case 1:
      s.write_line(out, " ++> Warning: Data file is corrupt.");
      break;
    case 2:
      s.write_line(out, " ++> Warning: Data file is seriously corrupt or from a very early version.");
      s.write_line(out, indent + "Inspect all editor pages with particular care...");
      break;
    case 3:
      s.write_line(out, " ++> Warning: Data file is seriously corrupt.");
      s.write_line(out, indent + "Some versions of Internet Explorer can cause this problem.");
      break;
    default:
      s.write_line(out, " ++> Warning: Data file is seriously corrupt.");
      s.write_line(out, indent + "It will very probably crash the simulation if you continue...");
      break;
  }
}

void chswap(Session& s, std::string& text, int len, int out, int in) {
  if (len > kChswapLimit) {
    s.write_line(out, " ++> LEN overflow in chswap! ");
    int reply = 0;
    prsret(s, out, in, reply);
    return;
  }
  const auto n = static_cast<std::size_t>(std::clamp(len, 0, static_cast<int>(text.size())));
  for (std::size_t k = 0; k + 4 <= n; k += 4) std::reverse(text.begin() + static_cast<std::ptrdiff_t>(k),
                                                            text.begin() + static_cast<std::ptrdiff_t>(k + 4));
}

int ioinit(Session& s, const Identity& id, int nwords, char& letter) {
  // The warning report holds what the load found: it is written however the
  // load ends, in one of the loader's stops or when the replies run out at
  // one of its questions. After the end of input a failure there is named
  // with why but not waited on (no RETURN could answer the wait): it leaves
  // the old report and the stop goes on.
  try {
    const int status = load_session(s, id, nwords, letter);
    close_warning_report(s, s.tpcm.i(kOutputUnit));
    return status;
  } catch (const EndOfInput&) {
    Refusal why = Refusal::kFailed;
    if (!s.close_unit(kWarningUnit, &why)) acerr_lines(s, "IOINIT", kWarningReportFile, s.tpcm.i(kOutputUnit), why);
    throw;
  } catch (const ProgramStop&) {
    close_warning_report(s, s.tpcm.i(kOutputUnit));
    throw;
  }
}

namespace {

int load_session(Session& s, const Identity& id, int nwords, char& letter) {
  Tpcm& t = s.tpcm;
  LoadTimeCopy& copy = s.state<LoadTimeCopy>();
  const bool silent = id.run_mode == kSilentRunMode;
  const bool print_pass = t.i(kPrintPass) != 0;
  const int expected = std::clamp(nwords, 0, static_cast<int>(Tpcm::kWords));

  // 1. Output unit.
  if (!silent && !print_pass) t.i(kOutputUnit) = kScreen;
  int out = t.i(kOutputUnit);

  // 2. Banner and main menu; 3. a print pass only writes the banner on the
  // listing.
  if (print_pass) {
    title(s, id.kind, id.program_name, id.version, out, kKeyboard, letter, t.i(kPrintPass));
    twopg(s, t.i(kPrintPass), t.i(kOutputUnit));
    return kLoadPrintPass;
  }
  if (!silent) {
    title(s, id.kind, id.program_name, id.version, out, kKeyboard, letter, 0);
  } else {
    // A silent run reads no menu: the banner goes to its report. Without the
    // report there is no run (nothing is loaded or edited yet).
    if (!open_report(s, std::string(kSilentReportFile), kSilentUnit, "IOINIT", kScreen)) stop_loading();
    out = kSilentUnit;
    char unused = ' ';
    title(s, id.kind, id.program_name, id.version, out, kKeyboard, unused, 1);
    letter = 'E';
  }
  const bool batch = letter == 'B';
  if (batch) letter = 'M';

  // 4. Read.
  const std::string data_name = trimmed(id.data_file);
  // Each file is found once, by the walk every file takes: another user's
  // link in a shared folder is not read, and the file-access message names
  // it. What is on disk is taken first: a file another session saves while
  // this one loads then reads as changed at this session's save, never the
  // other way round.
  // A folder on the way that does not exist holds nothing to read.
  const auto resolved = [&](const std::string& name) {
    Resolution found = s.files().resolve(name);
    if (!found && !found.folder_missing()) acerr(s, id.editor_name, name, out, found.refused());
    return found;
  };
  if (id.kind >= 10) {
    int low_words = kLowdatWords;
    const Resolution low = resolved(std::string(kLowdatFile));
    copy.low_on_disk = stamp_at(s.files(), low);
    copy.low_status = diskio_read_at(s, low_words, low, s.lowcof.words());
    movcom(kLowdatWords, s.lowcof.words(), copy.low);
  }
  int found = expected;
  const Resolution data = resolved(data_name);
  copy.data_on_disk = stamp_at(s.files(), data);
  copy.data_status = diskio_read_at(s, found, data, t.words());
  if (copy.data_status == kDiskioNotFound) found = 0;
  if (t.r(kVersion) == 0.0f) vrcvrt(t.bits(kOldVersion), t.bits(kVersion));
  // A navigation code or print-pass flag stored in a file must never steer
  // this session.
  t.i(kNavCode) = 0;
  t.i(kPrintPass) = 0;
  if (silent) {
    t.i(kOutputUnit) = kSilentUnit;
    t.i(kWriterRunMode) = kSilentRunMode;
  } else {
    t.i(kOutputUnit) = kScreen;
    if (t.i(kWriterRunMode) == kSilentRunMode) t.i(kWriterRunMode) = id.run_mode;
  }
  out = t.i(kOutputUnit);

  // 5. Missing file.
  if (copy.data_status == kDiskioNotFound && letter != 'C') {
    acerr(s, id.editor_name, id.data_file, out, unopened(s.files(), data));
  }

  if (letter != 'C') {
    // 6. Classify.
    const int file_kind = t.i(kProgramKind);
    const int sclass = size_class(file_kind, t.i(kRecordLength), id.kind);

    // 7. Corruption.
    int reply = 0;
    if (sclass == kSizeKindUnknown) {
      datcrpt(s, out, silent ? 3 : 4);
      serv_abort(s, out, t.i(kNavCode));
      if (t.i(kNavCode) == -1) stop_loading();
    } else if (silent && sclass != kSizeExpected) {
      datcrpt(s, out, 1);
      serv_abort(s, out, t.i(kNavCode));
      if (t.i(kNavCode) == -1) stop_loading();
    } else if (sclass == kSizeLargerOwn) {
      datcrpt(s, out, 2);
      serv_abort(s, out, t.i(kNavCode));
      if (t.i(kNavCode) == -1) stop_loading();
    }
    t.i(kNavCode) = 0;

    // 8. Load-time copy, taken with word 702 at 0 as every saved file holds it.
    const std::int32_t unit_word = t.i(kOutputUnit);
    t.i(kOutputUnit) = 0;
    movcom(expected, t.words(), copy.record);
    t.i(kOutputUnit) = unit_word;

    // 9. Byte order of texts.
    const bool repair = needs_text_repair(t.i(kWriterOs), id.os_code);
    if (repair) repair_text_order(t, file_kind);

    // 10. Decide whether to report.
    const float d = std::fabs(id.version) - std::fabs(t.r(kVersion));
    const bool count_ok = copy.data_status == 0;
    // A file of this version still laid out for 49 fairleads needs its
    // kind's upgrader too: every page reads the 149 layout.
    bool needs_report = !count_ok || std::fabs(d) > kVersionTolerance || file_kind != id.kind ||
                        t.i(kPrecisionMarker) == 1 || t.i(kFairleadLayout) == kLayoutOld;
    if (!silent) needs_report = needs_report || repair || t.i(kVersionIncrement) != 0;

    if (needs_report) {
      // a. The report, on the screen and in "DATUPWRN.stxt".
      if (!silent) open_warning_report(s, out);
      characteristics_header(s, out);
      Report report(s, out, !silent);

      // b. Precision.
      if (t.i(kPrecisionMarker) == 1) {
        report(" ++> Fatal Warning: The precision specif" "ication of the loaded");
        report("     DAT_file and the executable are not the same!");
        wait_and_stop(s, out);
      }

      // c. Count.
      if (copy.data_status == kDiskioReadFailed) {
        if (found == expected) {
          // The count is right, so the record itself is damaged: say what.
          report_damaged_record(s, data_name, report);
        } else if (file_kind != id.kind || std::fabs(t.r(kVersion)) >= 4.9f) {
          report(line("(' ++> Input Data File ',A,' than expected:')", std::string(found > expected ? "larger" : "smaller")));
          report(line("('     Expected ',I6,' I*4s, found ',I6,' I*4s... CAUTION!')", expected, found));
        }
        // Words the file did not hold are zero, in the record and its copy;
        // the record size itself never changes.
        for (int w = std::max(found, 0); w < expected; ++w) {
          t.i(static_cast<std::size_t>(w)) = 0;
          copy.record[static_cast<std::size_t>(w)] = 0;
        }
      }

      // d. Text repaired.
      if (repair) {
        report(std::string(" ++> File was produced on a ") + (t.i(kWriterOs) < 5 ? "Macintosh PPC" : "Intel") +
               " computer.");
        if (d > kVersionTolerance) {
          report("     Importing datafiles between chip architectures can be problematic;");
          report("     proceed with caution; carefully inspect all data screens after import.");
        }
        abort_or_go_on(s, out, reply);
      }

      if (file_kind == id.kind) {
        // e. Same kind: older, newer, or another version increment.
        if (d > kVersionTolerance || t.i(kFairleadLayout) == kLayoutOld) {
          if (d > kVersionTolerance) {
            report(line("(' ++> Version mismatch: Data (version ',F5.2,') ',A,' simulation (version ',F5.2,')')",
                        t.r(kVersion), std::string("predates"), id.version));
            if (silent) report("     PLEASE update your data file editor to the current version...");
            report("     Although a reasonable effort has been made to insure forward");
            report("     compatibility of data files, this cannot be guaranteed.");
            report(kInspectLine);
          }
          int status = 1;
          if (!kind_dispatch(s).run_upgrader(s, id.kind, id.version, status)) {
            report(" ++> Unknown file type...");
            wait_and_stop(s, out);
          }
        } else if (d < -kVersionTolerance) {
          report(line("(' ++> Version mismatch: Data (version ',F5.2,') ',A,' simulation (version ',F5.2,')')",
                      t.r(kVersion), std::string("POSTDATES"), id.version));
          report("     Data files are NOT generally backwards-compatible!");
          report(kInspectLine);
        } else if (t.i(kVersionIncrement) != 0) {
          report(" ++> Version increment mismatch: ");
          report(line("('     DATfile  version  increment  = ',I2)", t.i(kVersionIncrement)));
          report(line("('     Simulation version increment = ',I2)", 0));
        }
      } else {
        // f. Another kind: an import.
        const std::string creator = creator_name(file_kind);
        report(" ++> Input Data File Creator was " + creator);
        if (d > kVersionTolerance) {
          report("     Before importing this data file, you MUST first update it");
          report(line("('     with version ',F5.2,' of ',A,' on the originating computer platform.')", id.version,
                      creator));
          wait_and_stop(s, out);
        }
        if (id.kind == 16) {
          kind_dispatch(s).run_import(s, 16, id.kind);
          if (file_kind == 14) {
            report("     Note: Due to missing tendon information, imports into");
            report("     this simulation cannot yet model the wave response of such a file.");
          }
        }
        if (id.kind == 8) kind_dispatch(s).run_import(s, 8, id.kind);
        if (id.kind >= 10 && file_kind < 10 && t.i(kInterpTableSize) == 0) mrinit(s, 'C', id.kind);
        report("     Although a reasonable effort has been made to achieve cross-compatibility");
        report("     between data files of different simulations, this cannot be guaranteed.");
        report(kInspectLine);
        int status = 1;
        if (file_kind == 12 && id.kind == 15) kind_dispatch(s).run_upgrader(s, id.kind, id.version, status);
        if (file_kind == 9 && id.kind == 16) kind_dispatch(s).run_upgrader(s, id.kind, id.version, status);
        if (id.kind == 17) t.i(kVesselType) = 6;
      }

      // g. Go on?
      if (silent) {
        if (!(count_ok && sclass == kSizeExpected && file_kind == id.kind)) stop_loading();
        t.i(kWriterOs) = id.os_code;
        t.set_r(kVersion, id.version);
      } else {
        abort_or_go_on(s, out, reply);
        if (letter == 'E') letter = 'M';
      }
    }
  }

  // 11. Missing LOWDAT, or one that is damaged.
  if (id.kind >= 10 && copy.low_status == kDiskioNotFound && (letter == 'M' || letter == 'E')) {
    missing_lowdat(s, id, out, silent, letter);
  }
  if (id.kind >= 10 && copy.low_status != kDiskioNotFound) damaged_lowdat(s, out, silent, letter);

  // 12. Execute at once.
  if (letter == 'E') {
    t.i(kNavCode) = -1983;
    return kLoadExecute;
  }

  // 13. A new record.
  const std::int32_t old_run_mode = t.i(kWriterRunMode);
  if (letter == 'C') create_record(s, id.kind, expected);

  // 14. Stamp.
  t.set_r(kVersion, id.version);
  t.i(kYear) = id.year;
  t.i(kProgramKind) = id.kind;
  t.i(kOutputUnit) = kScreen;
  t.i(kLayoutCode) = id.layout_code;
  t.i(kBatchFlag) = batch ? 1 : 0;
  t.i(kPreviousRunMode) = letter == 'C' ? id.run_mode : old_run_mode;
  t.i(kWriterRunMode) = id.run_mode;
  t.i(kWriterOs) = id.os_code;
  t.i(kRecordLength) = expected;
  if (t.i(kOption106) < 0 || t.i(kOption106) > 2 || id.kind >= 10) t.i(kOption106) = 0;
  if (id.kind < 10) {
    for (std::size_t w : {778, 779, 2012, 2013}) t.i(w) = 0;
  }
  const std::int32_t device = t.i(kOutputDevice);
  if (device != 1 && device != 6 && device != 99) t.i(kOutputDevice) = 1;
  return kLoadReady;
}

}  // namespace

}  // namespace kelp
