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

namespace {

// What the session changed: the record over its kind's size, and for the
// kinds above 10 "LOWDAT" too.
struct Changes {
  std::span<const std::int32_t> words;  // the record of the kind's size
  bool record = false;
  bool low = false;
  bool any() const { return record || low; }
};

Changes changes_of(Session& s, const Identity& id, const LoadTimeCopy& copy, const FinishArgs& args) {
  // The record size of the kind, limited to the record and the copy.
  const auto n = static_cast<std::size_t>(std::clamp<long long>(
      args.record_size, 1, static_cast<long long>(std::min<std::size_t>(kTpcmWords, copy.record.size()))));
  Changes c;
  c.words = std::span<const std::int32_t>(s.tpcm.words()).first(n);
  int same = 1;
  nochng(same, s.tpcm.words(), copy.record, static_cast<int>(n));
  c.record = same == 0;
  same = 1;
  if (id.kind > 10) nochng(same, s.lowcof.words(), copy.low, kLowdatWords);
  c.low = same == 0;
  return c;
}

// Code 101: exit without saving, or the chain request of the mooring
// editor. A change warns first, and "A" comes back (1).
int leave_without_saving(Session& s, const Identity& id, const FinishArgs& args, bool changed) {
  const int out = args.saved_unit;
  const std::string data_name = trimmed(id.data_file);
  const std::string low_name = trimmed(args.low_file);
  int reply = 0;
  if (changed && args.chaining_allowed) {
    warning_heading(s, out);
    s.write_line(out, " Changes to " + data_name + ", or " + low_name + ", or the Gustrevan excursion disk diameter");
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

// Saves what changed, both cascades together (edlib/frame/save_plan.hpp).
// What is saved becomes the new load-time copy: a later save after a
// failure must not move its generations again. true when everything is in
// place.
bool save_changes(Session& s, const Identity& id, LoadTimeCopy& copy, const FinishArgs& args, const Changes& c,
                  bool note_follows) {
  std::vector<SaveFile> files;
  if (c.low) {
    files.push_back({trimmed(args.low_file), trimmed(args.low_backup), std::string(kLastLow), s.lowcof.words(),
                     copy.low_generations_moved, copy.low_on_disk});
  }
  if (c.record) {
    files.push_back({trimmed(id.data_file), trimmed(id.backup_file), std::string(kLastBak), c.words,
                     copy.data_generations_moved, copy.data_on_disk});
  }
  const int out = args.saved_unit;
  const SaveOutcome outcome =
      save_files(s, files, {trimmed(id.editor_name), fault_unit(out), out, args.lock_wait, args.locker, note_follows});
  for (const SaveFile& f : files) {
    if (f.saved && args.saved != nullptr) args.saved->push_back(f.data);
  }
  if (c.low && files.front().saved) copy.low.assign(s.lowcof.words().begin(), s.lowcof.words().end());
  if (c.record && files.back().saved) std::ranges::copy(c.words, copy.record.begin());
  return outcome == SaveOutcome::kSaved;
}

// Code -1983 after the save: the submission note of an editor session, or
// the wait of a Website Editor session that follows one.
void after_execute(Session& s, const Identity& id, const FinishArgs& args, int previous_run_mode) {
  Tpcm& t = s.tpcm;
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
    // A reply of -5813 hands control back to the caller, any other reply
    // stops; either way the session ends here.
    t.i(kNavCode) = reply;
    return;
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
}

}  // namespace

int finish(Session& s, const Identity& id, LoadTimeCopy& copy, const FinishArgs& args) {
  Tpcm& t = s.tpcm;
  const int code = t.i(kNavCode);
  t.i(kNavCode) = 0;
  const int previous_run_mode = t.i(kPreviousRunMode);
  t.i(kPreviousRunMode) = id.run_mode;
  t.i(kPageCounter) = 0;

  const Changes changes = changes_of(s, id, copy, args);
  if (code == kNavExitNoSave) return leave_without_saving(s, id, args, changes.any());
  // A save that does not happen keeps the old files and the session's edits
  // and goes back to the final page, where the user can act.
  // The submission note of an execute clears the screen.
  const bool note_follows = code == kNavExecuteCode && id.run_mode == kRunModeEditor;
  if (changes.any() && !save_changes(s, id, copy, args, changes, note_follows)) return 1;
  if (code == kNavExecuteCode) after_execute(s, id, args, previous_run_mode);
  // Save and exit (-2), execute and every other code end the session here.
  return 0;
}

}  // namespace kelp
