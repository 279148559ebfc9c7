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
  kNoPermission,  // the lock file may not be created or opened, or not given its protection
  kNotPlainFile,  // its name holds a directory, a symbolic link, a FIFO or a device
  kLinked,        // its name holds a file that has other names too
  kNoLockFile,    // it cannot be created for another reason (no room)
  kRefused,       // the file system refuses record locks
};

// What FileSystem::lock_folder gives.
struct Locked {
  std::unique_ptr<FileSystem::Lock> lock;  // nullptr when not locked
  LockFailure failure = LockFailure::kNone;
  // kNoPermission: the owner of the lock file that could not be opened.
  std::optional<unsigned> owner;
};

// The locks of one save on every folder it writes in. They are taken in the
// order of the folders' device and inode numbers, so that two saves that
// share folders cannot wait on each other. Every wait of the save, over
// all its folders and passes, ends at one deadline, until the save starts a
// new wait (after the user answered a question). The locks go with the
// object, or with let_go().
class FolderLocks {
 public:
  // A folder not locked, and why (for kNoPermission, the lock file's owner
  // when one is there).
  struct Unlocked {
    FolderRef folder;
    LockFailure why;
    std::optional<unsigned> owner;
  };
  // wait: how long the save may wait in all for other sessions' locks.
  // on_wait: says that the save waits for another session in `folder`;
  // called once for each folder in a wait.
  FolderLocks(FileSystem& fs, std::chrono::milliseconds wait, std::function<void(const Folder& folder)> on_wait);

  // Lets go of the locks held, then locks each of `folders`. false when a
  // folder's lock was still held by another at the deadline: still_held()
  // names it, and no lock is held.
  bool take(const std::vector<FolderRef>& folders);
  // Lets go of every lock.
  void let_go();
  // Starts a new wait: a new deadline, in which each folder waited on is
  // said again.
  void wait_anew();
  // Lets go of every lock, because one was lost under the save, for the
  // save to start again. false when it was lost too often: a hostile user
  // could otherwise keep the save from ever ending.
  bool retake();

  // The folders the last take could not lock (none still held by another).
  const std::vector<Unlocked>& unlocked() const { return unlocked_; }
  // The folder whose lock another kept until the deadline; nullptr when none.
  const FolderRef& still_held() const { return still_held_; }
  // The folders held locked.
  const std::vector<FolderRef>& held() const { return held_; }
  // The first folder whose lock no longer guards it (its lock file's name no
  // longer holds the file locked); nullptr when every lock still does.
  FolderRef stale() const;

 private:
  FileSystem& fs_;
  std::chrono::milliseconds wait_;
  std::function<void(const Folder&)> on_wait_;
  std::chrono::steady_clock::time_point deadline_;
  std::set<std::pair<std::uint64_t, std::uint64_t>> said_waiting_;
  int retakes_ = 0;
  std::vector<std::unique_ptr<FileSystem::Lock>> locks_;
  std::vector<FolderRef> held_;
  std::vector<Unlocked> unlocked_;
  FolderRef still_held_;
};

}  // namespace kelp
