#pragma once
// Saving at the end of a session: change detection against the load-time
// copies, the backup cascade of the data file and "LOWDAT", exit without
// saving, the submission note, and chaining to the simulation program.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "sysutl/disk_stamp.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

class FolderLocker;  // sysutl/folder_locks.hpp

class Session;
struct Identity;  // edlib/frame/kind_dispatch.hpp

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
  // What "LOWDAT" and the data file held as this session last saw them on
  // disk: read at load, then as saved; nullopt when there was no file to
  // read at load. A save that finds other bytes there asks first.
  std::optional<DiskStamp> low_on_disk;
  std::optional<DiskStamp> data_on_disk;
};

// The oldest backup generations.
inline constexpr std::string_view kLastBak = "LASTBAK";
inline constexpr std::string_view kLastLow = "LASTLOW";
// The user coefficient tables of the moored kinds and their backup.
inline constexpr std::string_view kLowdatFile = "LOWDAT";
inline constexpr std::string_view kLowBak = "LOWBAK";

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
  std::string low_file = std::string(kLowdatFile);
  std::string low_backup = std::string(kLowBak);
  // The clock of the 60-second wait after a Website Editor session (tests
  // pass their own; nullptr waits on the wall clock).
  const DelayClock* clock = nullptr;
  // How long a save waits for another session's save in the same folder
  // before it gives up (tests pass a shorter one).
  std::chrono::milliseconds lock_wait = std::chrono::seconds(30);
  // How each folder of a save is locked (tests pass their own; nullptr
  // locks as every save does).
  FolderLocker* locker = nullptr;
  // Out, where given: the data files this call put in place, also those of
  // a save that stopped part way.
  std::vector<std::string>* saved = nullptr;
};

// Ends the session after the final page with the code in word 699: compares
// tpcm (and, for kinds above 10, lowcof) with the load-time copies, saves
// what changed through the backup cascades (save_files,
// edlib/frame/save_plan.hpp), handles exit without saving (101), the submission
// note of an execute (-1983) and chaining. Returns 1 to show the final page
// again (an abort answered "A"; a save that did not happen: the old files
// stay as they were and the session's edits are kept; a chain whose
// program chain_gustr did not start: a message and a wait first), 0 when
// the session ends, after a chain whatever the program's exit status.
int finish(Session& s, const Identity& id, LoadTimeCopy& copy, const FinishArgs& args);

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
