#pragma once
// Saving at the end of a session: change detection against the load-time
// copies, the backup cascade of the data file and "LOWDAT", exit without
// saving, the submission note, and chaining to the simulation program.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "edlib/data_record.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

class Session;
class FileReplacement;  // sysutl/file_replace.hpp
struct Identity;  // edlib/kind_dispatch.hpp

// The images of tpcm (large enough for the data file of any kind) and lowcof
// taken right after loading, and how the two files read at load. Kept in
// Session::state<LoadTimeCopy>(): the loader fills it, finish compares
// against it.
struct LoadTimeCopy {
  std::vector<std::int32_t> record = std::vector<std::int32_t>(kLoadBufferWords, 0);
  std::vector<std::int32_t> low = std::vector<std::int32_t>(kLowcofWords, 0);
  // diskio statuses at load: 1 the file did not exist, 4 its count differed,
  // 0 read as expected.
  int low_status = 1;
  int data_status = 1;
  // Set by a save that moved a file's backups on but could not put the new
  // file in place (backit): the backup then holds the file on disk, which a
  // second attempt must not move on once more.
  bool low_generations_moved = false;
  bool data_generations_moved = false;
};

// The oldest backup generations.
inline constexpr std::string_view kLastBak = "LASTBAK";
inline constexpr std::string_view kLastLow = "LASTLOW";

// What finish needs beyond the identity of the program.
struct FinishArgs {
  // The output unit in force before the end step (word 702 before the page
  // loop set it to 0): the unit of the exit-without-saving warnings.
  int saved_unit = 6;
  // Words of the record of the program kind (1,987 for ronvaske). Always
  // the size of the kind, never a count found in a file.
  int record_size = 1987;
  // The mooring editor's flag; ronvaske passes false.
  bool chaining_allowed = false;
  std::string low_file = "LOWDAT";
  std::string low_backup = "LOWBAK";
  // The clock of the 60-second wait after a Website Editor session (tests
  // pass their own; nullptr waits on the wall clock).
  const DelayClock* clock = nullptr;
};

// Ends the session after the final page with the code in word 699: compares
// tpcm (and, for kinds above 10, lowcof) with the load-time copies, saves
// what changed through the backup cascade, handles exit without saving
// (101), the submission note of an execute (-1983) and chaining. Returns 1 to
// show the final page again (an abort answered "A"; a save that failed: the
// old files stay as they were and the session's edits are kept; a chain
// whose program chain_gustr did not start: a message and a wait first), 0
// when the session ends, after a chain whatever the program's exit status.
// The save locks every folder it writes in (FolderLocks,
// sysutl/file_replace.hpp) from its first check to its last rename, over
// "LOWDAT" and the data file together, and says so when it must wait for
// another session's save, or when a folder cannot be locked (it then goes
// on, and removes no temporaries there). Every check of both cascades runs
// before the first file of either moves.
int finish(Session& s, const Identity& id, LoadTimeCopy& copy, const FinishArgs& args);

// Checks and stages the backup cascade for one file into `cascade`: the
// backup is to move to the oldest generation, the data file to the backup,
// and `words` is to become the data file; the caller commits. What is on
// disk when it runs decides: a data file there is always kept as the
// backup; with none there the backups stay as they are; a data file or
// backup there that cannot be read, or a file to be replaced that may not
// be written, stops it. Each file is staged beside its target
// (FileReplacement, sysutl/file_replace.hpp: through symbolic links the
// kernel would follow, only over regular files, each taking the protection
// of the file whose contents it now holds), oldest generation first, so
// that the commit puts the data file in place last. generations_moved is
// the flag of LoadTimeCopy for this file: an earlier attempt left the data
// file in the backup, which then moves on only when the data file changed
// since. Returns "" when every generation is staged, else the name of the
// file that stopped it (the caller then commits nothing).
//
// The caller shows the file-access message (acerr_report) for that name:
// finish stages the cascades of "LOWDAT" and the data file into one
// replacement under the locks of their folders, so that no other session's
// save comes between them, and releases them before any message waits for
// the user.
std::string backit(Session& s, int oscode, std::span<const std::int32_t> words, const std::string& data_file,
                   bool generations_moved, const std::string& backup_file, const std::string& oldest_file,
                   FileReplacement& cascade);

// Runs the simulation program in the working directory and waits for it:
// "Gustrevan" (operating-system code 21) or "cmd" with the arguments "/c
// Gustrevan" (code 5). Any other code prints "++> Undefined OS type!
// Aborting out of CHAIN_GUSTR" and stops. The program is looked up on the
// PATH once (find_program; PATH unset: the system's default path) and the
// file found is started directly (start_and_wait, sysutl/files_shell.hpp),
// after the screen and the error unit are flushed. Returns
// kProgramNotStarted when it is not found there as an executable regular
// file or its start fails, else its exit status, 127 included.
int chain_gustr(Session& s, int oscode);

// The command of chain_gustr for an operating-system code ("" when
// the code is unknown): a 20-character field, blank-padded.
std::string chain_command(int oscode);

}  // namespace kelp
