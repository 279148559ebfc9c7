#include "edlib/saving.hpp"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "edlib/data_record.hpp"
#include "edlib/kind_dispatch.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/file_replace.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

constexpr int kNavExitNoSave = 101;
constexpr int kNavExecuteCode = -1983;
constexpr int kRunModeEditor = 2;
constexpr int kRunModeWebsite = 5;

void warning_heading(Session& s, int out) {
  clear(s, out);
  s.write_line(out, at_column(25, ">>> WARNING <<<"));
}

// The save messages go where the user sees them: a silent run's report file
// gets them too, but the screen is where the final page comes back.
int fault_unit(int saved_unit) { return is_silent(saved_unit) ? kScreen : saved_unit; }

// A generation moves on only when it is a regular file that can be read (a
// backup that cannot be read counts as missing, as it did for the old
// reader).
bool readable(FileSystem& fs, const std::string& name) { return fs.open_read(name, true) != nullptr; }

}  // namespace

bool backit(Session& s, int out, std::string_view caller, int oscode, std::span<const std::int32_t> words,
            const std::string& data_file, int& load_status, const std::string& backup_file,
            const std::string& oldest_file) {
  (void)oscode;  // every operating system writes the same bytes
  FileSystem& fs = s.files();
  const std::string data = trimmed(data_file);
  const std::string backup = trimmed(backup_file);
  const std::string oldest = trimmed(oldest_file);

  // Every generation is staged beside its target first: the new data file
  // written whole, the backups as whole-file copies of the files they
  // follow (never a re-read, which would shift a file without a count
  // word). Only when all three are ready does anything move, so a file that
  // cannot be replaced (a directory, a FIFO, a full disk) costs no backup.
  FileReplacement cascade(s);
  const bool rotate = load_status != kDiskioNotFound;
  const bool staged = (!rotate || !readable(fs, backup) || cascade.stage_copy(oldest, backup)) &&
                      (!rotate || !readable(fs, data) || cascade.stage_copy(backup, data)) &&
                      !words.empty() && words.size() <= kDiskioStagingWords &&
                      cascade.stage(data, encode_record(words));
  if (!staged) {
    acerr_report(s, caller, cascade.failed().empty() ? data : cascade.failed(), out);
    return false;
  }
  // Oldest generation first, the data file last: a rename that fails part
  // way never costs the data file, and the backups move at most once.
  if (!cascade.commit()) {
    // When the backups are already in place and only the data file failed,
    // a second attempt must not move them once more.
    if (cascade.failed() == data && cascade.committed() > 0) load_status = kDiskioNotFound;
    acerr_report(s, caller, cascade.failed(), out);
    return false;
  }
  load_status = 0;
  return true;
}

std::string chain_command(int oscode) {
  if (oscode == kOsWindows) return fixed("cmd /c Gustrevan", 20);
  if (oscode == kOsLinux) return fixed("Gustrevan", 20);
  return {};
}

int chain_gustr(Session& s, int oscode) {
  const std::string cmd = chain_command(oscode);
  if (cmd.empty()) {
    s.write_line(kScreen, "++> Undefined OS type! Aborting out of CHAIN_GUSTR");
    s.unit(kScreen).flush();
    throw ProgramStop(1);
  }
  s.unit(kScreen).flush();
  s.unit(kErrorUnit).flush();
  return std::system(cmd.c_str());
}

int finish(Session& s, const Identity& id, LoadTimeCopy& copy, const FinishArgs& args) {
  Tpcm& t = s.tpcm;
  const int out = args.saved_unit;
  const std::string data_name = trimmed(id.data_file);
  const std::string low_name = trimmed(args.low_file);

  const int code = t.i(kNavCode);
  t.i(kNavCode) = 0;
  const int previous_run_mode = t.i(kPreviousRunMode);
  t.i(kPreviousRunMode) = id.run_mode;
  t.i(kPageCounter) = 0;

  // The record size of the kind, limited to the record and the copy.
  int n = args.record_size;
  if (n < 1) n = 1;
  if (n > static_cast<int>(kTpcmWords)) n = static_cast<int>(kTpcmWords);
  if (n > static_cast<int>(copy.record.size())) n = static_cast<int>(copy.record.size());

  int same_record = 1;
  nochng(same_record, t.words(), copy.record, n);
  int same_low = 1;
  if (id.kind > 10) nochng(same_low, s.lowcof.words(), copy.low, kLowdatWords);
  const bool changed = same_record == 0 || same_low == 0;

  if (code == kNavExitNoSave) {
    int reply = 0;
    if (changed && args.chaining_allowed) {
      warning_heading(s, out);
      s.write_line(out, " Changes to " + data_name + ", or " + low_name +
                            ", or the Gustrevan excursion disk diameter");
      s.write_line(out, " were detected during this editing session.");
      s.write_line(out, " Chaining to Gustrevan is a VERY bad idea without first rebuilding your support");
      s.write_line(out, " files with a normal \"Execute\" (i.e., without chaining directly to Gustrevan).");
      s.write_line(out, " If you wish to Abort this bad decision and review your options, enter \"A\" below.");
      s.write_line(out, " If you choose *not* to Abort, the PIVADAT, etc., changes you made will be lost,");
      s.write_line(out, " and your simulation output will likely be seriously compromised.");
      abort0(s, out, kKeyboard, reply);
      if (reply == -1) return 1;
      s.write_line(out, " >>> Chaining to Gustrevan");
      chain_gustr(s, id.os_code);
      return 0;
    }
    if (changed) {
      warning_heading(s, out);
      s.write_line(out, " This action will result in the loss of data changes to " + data_name + " or " + low_name);
      s.write_line(out, " made during this editing session. If you wish to \"Abort\" this");
      s.write_line(out, " decision and reinspect your data, enter \"A\" below.");
      abort0(s, out, kKeyboard, reply);
      return reply == -1 ? 1 : 0;
    }
    if (args.chaining_allowed) chain_gustr(s, id.os_code);
    return 0;
  }

  // Save what changed. A failure keeps the old files and the session's edits
  // and goes back to the final page, where the user can act.
  const std::string caller = trimmed(id.editor_name);
  const int fault_out = fault_unit(out);
  if (same_low == 0) {
    const bool ok = backit(s, fault_out, caller, id.os_code, s.lowcof.words(), args.low_file, copy.low_status,
                           args.low_backup, std::string(kLastLow));
    if (is_silent(out) && !ok) acerr_report(s, caller, low_name, out);
    if (!ok) return 1;
    s.note_saved(low_name);
    // Saved: a second attempt after a later failure must not move the
    // LOWDAT generations again.
    copy.low.assign(s.lowcof.words().begin(), s.lowcof.words().end());
  }
  if (same_record == 0) {
    const std::span<const std::int32_t> words = std::span<const std::int32_t>(t.words()).first(
        static_cast<std::size_t>(n));
    const bool ok = backit(s, fault_out, caller, id.os_code, words, id.data_file, copy.data_status,
                           id.backup_file, std::string(kLastBak));
    if (is_silent(out) && !ok) acerr_report(s, caller, data_name, out);
    if (!ok) return 1;
    s.note_saved(data_name);
    std::copy(words.begin(), words.end(), copy.record.begin());
  }

  if (code == kNavExecuteCode) {
    const int note_unit = t.i(kOutputUnit);
    if (id.run_mode == kRunModeEditor) {
      clear(s, note_unit);
      s.write_line(note_unit, at_column(20, ">>> Brenvik Editor Software <<<"));
      s.write_line(note_unit, "");
      s.write_line(note_unit, "");
      s.write_line(note_unit, at_column(11, "This data file passed preliminary error checks;"));
      s.write_line(note_unit, at_column(14, "it is ready for submission to the server."));
      int reply = 0;
      prsret(s, note_unit, kKeyboard, reply);
      t.i(kNavCode) = reply;
      // A reply of -5813 hands control back to the caller, any other reply
      // stops; either way the session ends here.
      return 0;
    }
    if (id.run_mode == kRunModeWebsite && previous_run_mode == kRunModeEditor) {
      s.write_line(note_unit, " >>> NOTE: Files prepared using Website Editor software require extensive");
      s.write_line(note_unit, "           pre-run processing when executed on network-based simulations.");
      s.write_line(note_unit, "           Please wait; processing will begin shortly...");
      s.unit(note_unit).flush();
      int seconds = 60;
      int polls = 0;
      if (args.clock != nullptr) {
        sydelay(seconds, polls, *args.clock);
      } else {
        sydelay(seconds, polls);
      }
    }
    return 0;
  }
  // Save and exit (-2) and every other code end the session here.
  return 0;
}

}  // namespace kelp
