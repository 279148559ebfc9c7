#pragma once
// The save of the End of Session among other sessions: the backup cascades
// of "LOWDAT" and the data file, written together.
//
// A save goes in steps, each working on what the one before found:
//  1. every name it writes is resolved once (FileSystem::resolve): a name
//     that cannot be (another user's link in a shared folder on the way)
//     stops it before any lock file, lock, clean-up or temporary; every
//     later step works in the folders this walk found;
//  2. every folder those names live in is locked (FolderLocks), all by one
//     deadline; each wait for another session's save is said once, naming
//     its folder, and each folder that cannot be locked is said once in
//     the save, with why (but a folder this user may not write in: the
//     save is refused there, and says that alone); a folder locked on an
//     earlier pass that cannot be locked now ends the save, as its lock
//     was taken from it;
//  3. a data file changed on disk since this session loaded or last saved
//     it, or one that cannot be compared, is named, with the locks let go,
//     and the user may abort; going on starts again from step 1, so that
//     the next look is as careful, and a change made while the user read
//     the warning is asked about again;
//  4. the temporaries that a session killed part way left in the locked
//     folders are removed;
//  5. every generation of both cascades is checked and staged (backit);
//  6. the locks are checked to be still the folders' own (else let go and
//     the save started again, a few times at most), and all generations
//     are renamed into place; what a commit that stopped part way left is
//     noted for the next attempt.
// Every message waits for the user only once no lock is held and no
// temporary is left; a notice that a folder goes unlocked waits before a
// screen that would clear it.
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sysutl/disk_stamp.hpp"
#include "sysutl/file_replace.hpp"

namespace kelp {

class Session;
class FolderLocker;  // sysutl/folder_locks.hpp

// One file's cascade: the data file (named as given), its backup and its
// oldest generation, the words to write, and what the session knows of the
// file on disk (kept in LoadTimeCopy, edlib/frame/saving.hpp).
struct SaveFile {
  std::string data;
  std::string backup;
  std::string oldest;
  std::span<const std::int32_t> words;
  // Set by a save that moved the backups on but could not put the data file
  // in place: the backup then holds the data file on disk.
  bool& generations_moved;
  // What this session loaded or last saved; nullopt when there was no file
  // to read at load.
  std::optional<DiskStamp>& on_disk;
  bool saved = false;  // out: this cascade is in place
};

// Where the messages of a save go and how long it waits for a lock.
struct SaveSetup {
  std::string caller;  // the editor's name, for the file-access message
  int out;             // the unit the user reads and answers on
  int report;          // a silent run's report (else out): what stopped the save, and each folder unlocked, too
  std::chrono::milliseconds lock_wait;
  FolderLocker* locker = nullptr;  // how each folder is locked (nullptr: as every save locks)
  // The screen is cleared once the save is done (the submission note): a
  // notice that a folder went unlocked waits for RETURN first.
  bool cleared_after = false;
};

enum class SaveOutcome {
  kSaved,     // every cascade is in place
  kFailed,    // a file stopped it, named with the file-access message
  kAborted,   // the user kept another session's save
  kLockHeld,  // another session held a folder's lock for the whole wait, or took it from this save
};

// Saves `files` as above. Whatever the outcome, the session's edits stay,
// and each file's `saved`, `generations_moved` and `on_disk` say what is on
// disk now. Each file is noted saved in the session (Session::note_saved)
// as its data file is renamed into place.
SaveOutcome save_files(Session& s, std::vector<SaveFile>& files, const SaveSetup& setup);

// A file that stopped the staging of a cascade: its name as given, and why
// where the file layer refused it.
struct StageFailure {
  std::string name;
  Refusal why;
};

// Checks and stages the backup cascade for one file into `cascade`: the
// backup is to move to the oldest generation, the data file to the backup,
// and `words` is to become the data file; the caller commits. What is on
// disk when it runs decides: a data file there is always kept as the
// backup; with none there the backups stay as they are; a data file or
// backup there that cannot be read, or a file to be replaced that may not
// be written or renamed over, stops it. Each file is staged beside its
// target (FileReplacement, sysutl/file_replace.hpp: only over regular
// files, each taking the protection of the file whose contents it now
// holds), oldest generation first, so that the commit puts the data file in
// place last. generations_moved: an earlier attempt left the data file in
// the backup, which then moves on only when the data file changed since.
// nullopt when every generation is staged, else the file that stopped it.
std::optional<StageFailure> backit(FileSystem& fs, std::span<const std::int32_t> words, const Resolution& data,
                                   bool generations_moved, const Resolution& backup, const Resolution& oldest,
                                   FileReplacement& cascade);

}  // namespace kelp
