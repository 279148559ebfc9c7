#include "edlib/frame/saving.hpp"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "edlib/frame/kind_dispatch.hpp"
#include "edlib/frame/save_plan.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/diskio.hpp"
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

}  // namespace

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

  // Save what changed, both cascades together (edlib/frame/save_plan.hpp). A
  // save that does not happen keeps the old files and the session's edits
  // and goes back to the final page, where the user can act.
  if (same_low == 0 || same_record == 0) {
    const std::span<const std::int32_t> words =
        std::span<const std::int32_t>(t.words()).first(static_cast<std::size_t>(n));
    std::vector<SaveFile> files;
    if (same_low == 0) {
      files.push_back({low_name, trimmed(args.low_backup), std::string(kLastLow), s.lowcof.words(),
                       copy.low_generations_moved, copy.low_on_disk});
    }
    if (same_record == 0) {
      files.push_back({data_name, trimmed(id.backup_file), std::string(kLastBak), words,
                       copy.data_generations_moved, copy.data_on_disk});
    }
    const SaveOutcome outcome =
        save_files(s, files, {trimmed(id.editor_name), fault_unit(out), out, args.lock_wait});
    for (const SaveFile& f : files) {
      if (f.saved) s.note_saved(f.data);
    }
    // What is saved is the new load-time copy: a later save after a
    // failure must not move its generations again.
    if (same_low == 0 && files.front().saved) copy.low.assign(s.lowcof.words().begin(), s.lowcof.words().end());
    if (same_record == 0 && files.back().saved) std::copy(words.begin(), words.end(), copy.record.begin());
    if (outcome != SaveOutcome::kSaved) return 1;
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
