#pragma once
// The lock of a folder a save writes in, and the locks of one save.
//
// Every session that saves in a folder first takes the record lock of the
// folder's lock file, so that no two sessions' saves run in one folder at
// the same time. The rules of that lock file (its name, how it is made and
// opened, who may open it, and the check that its name still holds the file
// locked) and of the locks one save takes are all written here.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "sysutl/file_system.hpp"

namespace kelp {

// The hidden file in each folder a save writes in whose record lock
// serialises the saves of every session in that folder. It stays, empty.
inline constexpr std::string_view kLockFileName = ".kelp-save.lock";

// Why a folder was not locked.
enum class LockFailure {
  kNone,
  kStillHeld,     // another holder kept it until the deadline
  kTakenAway,     // its lock file was taken from under the save more often than the save retakes it
  kNoPermission,  // the lock file may not be created or opened, or not given its protection
  kNotPlainFile,  // its name holds a directory, a symbolic link, a FIFO or a device
  kNoLockFile,    // it cannot be created for another reason (no room)
  kRefused,       // the file system refuses record locks
};

// Who could remove a lock file that this user may not open.
struct LockFileOwners {
  unsigned file = 0;    // the lock file's owner
  unsigned folder = 0;  // the folder's owner
  bool sticky = false;  // the folder's sticky bit: only those two and root may remove it
  bool removable = false;  // whether this user may remove it
};

// What FileSystem::lock_folder gives.
struct Locked {
  std::unique_ptr<FileSystem::Lock> lock;  // nullptr when not locked
  LockFailure failure = LockFailure::kNone;
  // kNoPermission with a lock file there: who may remove it.
  std::optional<LockFileOwners> owners;
};

// What every lock of one save shares: the deadline of its waits, and how
// often a lock lost under the save may still be taken again. A hostile
// user who keeps taking the lock file away could otherwise keep the save
// from ever ending.
struct LockBudget {
  std::chrono::steady_clock::time_point deadline;
  int retakes_left = 0;
};

// The locks of one save on every folder it writes in. They are taken in the
// order of the folders' device and inode numbers, so that two saves that
// share folders cannot wait on each other. Every wait of the save, over
// all its folders and passes, ends at one deadline, until the save starts a
// new wait (after the user answered a question). The locks go with the
// object, or with let_go().
class FolderLocks {
 public:
  // A folder not locked, and why.
  struct Unlocked {
    FolderRef folder;
    LockFailure why;
    std::optional<LockFileOwners> owners;
  };
  // What a take came to.
  enum class Taken {
    kDone,       // every folder locked but those in unlocked()
    kStillHeld,  // another session kept a folder's lock until the deadline
    kTakenAway,  // a folder's lock was taken from this save more often than it retakes one
    kLost,       // a folder an earlier take locked can no longer be locked
  };
  // wait: how long the save may wait in all for other sessions' locks.
  // on_wait: says that the save waits for another session in `folder`;
  // called once for each folder in a wait.
  FolderLocks(FileSystem& fs, std::chrono::milliseconds wait, std::function<void(const Folder& folder)> on_wait);

  // Lets go of the locks held, then locks each of `folders`. Unless kDone,
  // no lock is held and failed() names the folder.
  Taken take(const std::vector<FolderRef>& folders);
  // Lets go of every lock.
  void let_go();
  // Starts a new wait: a new deadline, in which each folder waited on is
  // said again.
  void wait_anew();
  // Lets go of every lock, because one was lost under the save, for the
  // save to start again. false when no retake is left.
  bool retake();

  // The folders the last take could not lock that no take of this save
  // named before: each is to be said once in a save.
  const std::vector<Unlocked>& unlocked() const { return unlocked_; }
  // The folder that ended the last take, when it was not kDone.
  const FolderRef& failed() const { return failed_; }
  // The folders held locked.
  const std::vector<FolderRef>& held() const { return held_; }
  // The first folder whose lock no longer guards it (its lock file's name no
  // longer holds the file locked); nullptr when every lock still does.
  FolderRef stale() const;

 private:
  using Id = std::pair<std::uint64_t, std::uint64_t>;
  Taken fail(Taken how, const FolderRef& folder);

  FileSystem& fs_;
  std::chrono::milliseconds wait_;
  std::function<void(const Folder&)> on_wait_;
  LockBudget budget_;
  std::set<Id> said_waiting_;   // in this wait
  std::set<Id> said_unlocked_;  // in this save
  std::set<Id> ever_held_;      // in this save
  std::vector<std::unique_ptr<FileSystem::Lock>> locks_;
  std::vector<FolderRef> held_;
  std::vector<Unlocked> unlocked_;
  FolderRef failed_;
};

}  // namespace kelp
