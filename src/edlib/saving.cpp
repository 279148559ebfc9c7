#include "edlib/saving.hpp"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

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

// Chains to the simulation program: 0, the session ends, once it has
// started (what it did, its exit status included, is its own concern). When
// it could not be started at all, says so, waits, and returns 1: the End of
// Session page comes back, where the session's edits can still be saved.
int chain_or_come_back(Session& s, int oscode, int out) {
  if (chain_gustr(s, oscode) != kProgramNotStarted) return 0;
  s.write_line(out, "");
  s.write_line(out, " ++> Gustrevan could not be started: not found on the PATH, or not executable.");
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
  return 1;
}

bool readable(FileSystem& fs, const std::string& name) { return fs.open_read(name, true) != nullptr; }

void say_waiting(Session& s, int out) {
  s.write_line(out, "");
  s.write_line(out, " ++> Another session is saving in this directory: waiting for it to finish.");
  s.unit(out).flush();
}

void say_unlocked(Session& s, int out) {
  s.write_line(out, "");
  s.write_line(out,
               " ++> This folder cannot be locked: another session saving here at the same moment could replace "
               "this save.");
  s.unit(out).flush();
}

// One file's cascade as finish saves it.
struct CascadeNames {
  std::string data;
  std::string backup;
  std::string oldest;
};

}  // namespace

std::string backit(Session& s, int oscode, std::span<const std::int32_t> words, const std::string& data_file,
                   bool generations_moved, const std::string& backup_file, const std::string& oldest_file,
                   FileReplacement& cascade) {
  (void)oscode;  // every operating system writes the same bytes
  FileSystem& fs = s.files();
  const std::string data = trimmed(data_file);
  const std::string backup = trimmed(backup_file);
  const std::string oldest = trimmed(oldest_file);

  // What is on disk now decides, whatever the load saw: a data file there
  // is always kept as the backup (another session may have created it, or
  // written it since). Only with no data file there do the backups stay as
  // they are: moved on without a data file behind them they would cost the
  // oldest generation and leave two copies of one.
  const bool data_there = fs.kind(data) != FileSystem::Kind::kAbsent;
  if (data_there && !readable(fs, data)) return data;
  // An earlier attempt of this session that moved the backups on but could
  // not put the data file in place left the data file in the backup: it is
  // kept already, unless another session has saved since.
  const bool backup_there = fs.kind(backup) != FileSystem::Kind::kAbsent;
  bool kept = false;
  if (generations_moved && data_there) {
    const auto now = read_whole(fs, data);
    if (!now) return data;
    const auto kept_copy = read_whole(fs, backup);  // nullopt when there is none
    if (!kept_copy && backup_there) return backup;
    kept = kept_copy == now;
  }
  const bool rotate = data_there && !kept;
  const bool backup_moves = rotate && backup_there;
  if (backup_moves && !readable(fs, backup)) return backup;

  // Every generation is staged beside its target: the new data file written
  // whole, the backups as whole-file copies of the files they follow (never
  // a re-read, which would shift a file without a count word). Oldest
  // generation first, the data file last, so that a rename that fails part
  // way never costs the data file and the backups move at most once.
  const bool staged = (!backup_moves || cascade.stage_copy(oldest, backup)) &&
                      (!rotate || cascade.stage_copy(backup, data)) && !words.empty() &&
                      words.size() <= kDiskioStagingWords && cascade.stage(data, encode_record(words));
  if (!staged) return cascade.failed().empty() ? data : cascade.failed();
  return {};
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
  // The command's words, its first the program: looked up once on the PATH
  // and started directly, with no shell that would look it up again and
  // whose own failures could not be told from the program's exit status.
  std::vector<std::string> words;
  std::istringstream split(cmd);
  for (std::string word; split >> word;) words.push_back(word);
  const std::string program = find_program(words.front(), std::getenv("PATH"));
  if (program.empty()) return kProgramNotStarted;
  s.unit(kScreen).flush();
  s.unit(kErrorUnit).flush();
  return start_and_wait(program, words);
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
      return chain_or_come_back(s, id.os_code, fault_unit(out));
    }
    if (changed) {
      warning_heading(s, out);
      s.write_line(out, " This action will result in the loss of data changes to " + data_name + " or " + low_name);
      s.write_line(out, " made during this editing session. If you wish to \"Abort\" this");
      s.write_line(out, " decision and reinspect your data, enter \"A\" below.");
      abort0(s, out, kKeyboard, reply);
      return reply == -1 ? 1 : 0;
    }
    if (args.chaining_allowed) return chain_or_come_back(s, id.os_code, fault_unit(out));
    return 0;
  }

  // Save what changed. A failure keeps the old files and the session's edits
  // and goes back to the final page, where the user can act. From the first
  // check to the last rename every folder the save writes in is locked: a
  // second session saving there at the same moment waits, and then moves on
  // the generations this save left, so each keeps its data. Both cascades
  // are checked and staged before the first file of either moves.
  const std::string caller = trimmed(id.editor_name);
  const int fault_out = fault_unit(out);
  std::string failed;      // the file whose step failed
  std::string failed_set;  // the file of the cascade that failed
  if (same_low == 0 || same_record == 0) {
    std::vector<CascadeNames> sets;
    if (same_low == 0) sets.push_back({low_name, trimmed(args.low_backup), std::string(kLastLow)});
    if (same_record == 0) sets.push_back({data_name, trimmed(id.backup_file), std::string(kLastBak)});
    std::vector<std::string> names;
    for (const CascadeNames& set : sets) names.insert(names.end(), {set.data, set.backup, set.oldest});
    const FolderLocks locks(s, names, [&] { say_waiting(s, fault_out); });
    if (!locks.complete()) say_unlocked(s, fault_out);
    // A save killed part way leaves its temporaries; no other save can be
    // writing them in a folder this one holds locked.
    for (const std::string& name : names) {
      if (locks.holds(name)) remove_stale_temporaries(s, name);
    }

    FileReplacement cascade(s);
    std::size_t low_end = 0;  // the low cascade's files are staged first
    if (same_low == 0) {
      failed = backit(s, id.os_code, s.lowcof.words(), args.low_file, copy.low_generations_moved, args.low_backup,
                      std::string(kLastLow), cascade);
      failed_set = low_name;
      low_end = cascade.staged();
    }
    const std::span<const std::int32_t> words =
        std::span<const std::int32_t>(t.words()).first(static_cast<std::size_t>(n));
    if (failed.empty() && same_record == 0) {
      failed = backit(s, id.os_code, words, id.data_file, copy.data_generations_moved, id.backup_file,
                      std::string(kLastBak), cascade);
      failed_set = data_name;
    }
    bool tried = false;  // the commit ran: every check of both cascades passed
    if (failed.empty()) {
      tried = true;
      if (!cascade.commit()) {
        failed = cascade.failed();
        failed_set = cascade.committed() < low_end ? low_name : data_name;
      }
    }
    // A cascade whose backups moved but whose data file did not leaves the
    // data file in the backup, which a retry must not move on again.
    const std::size_t done = cascade.committed();
    if (same_low == 0 && tried) {
      if (done >= low_end) {
        copy.low_generations_moved = false;
        s.note_saved(low_name);
        // Saved: a second attempt after a later failure must not move the
        // LOWDAT generations again.
        copy.low.assign(s.lowcof.words().begin(), s.lowcof.words().end());
      } else if (failed == low_name && done > 0) {
        copy.low_generations_moved = true;
      }
    }
    if (same_record == 0 && tried) {
      if (failed.empty()) {
        copy.data_generations_moved = false;
        s.note_saved(data_name);
        std::copy(words.begin(), words.end(), copy.record.begin());
      } else if (failed == data_name && done > low_end) {
        copy.data_generations_moved = true;
      }
    }
  }
  // The lock is gone before the user is asked to read anything.
  if (!failed.empty()) {
    acerr_report(s, caller, failed, fault_out);
    if (is_silent(out)) acerr_report(s, caller, failed_set, out);
    return 1;
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
