#pragma once
// The lock of a folder a save writes in, and the locks of one save.
//
// Every session that saves in a folder first takes the record lock of the
// folder's lock file, so that no two sessions' saves run in one folder at
// the same time. Every rule of that lock is written here, once:
//  - the lock file is a regular file named kLockFileName in the folder;
//  - it appears at its name only with its final owner and bits (made under
//    a temporary name, then linked to its name; made at its name where the
//    link fails otherwise than for a name taken or a temporary gone, born
//    with its bits); the ending signals are held over the whole birth, and
//    a lock file that may be in another session's birth at its name (its
//    owner, group or access list not yet given) is looked at again within
//    the wait, for a bounded while of this session's own clock;
//  - it is open to exactly those who may write in the folder, read from
//    its access list where it has one (each user and group the list names
//    gets an entry of the lock file's own list), and an existing one is
//    only ever narrowed; one with other names still serves
//    and is never changed, but a name of its temporaries' form that is the
//    very file locked goes once the lock is had; where the file system
//    keeps no permissions it serves whatever bits it shows;
//  - one file under two names is held once by a save;
//  - a save waits for all its locks until one deadline, and takes a lock
//    that was taken from it again a bounded number of times in all.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
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
  kStillHeld,      // another session held it until the deadline
  kTaken,          // its lock file was taken from the save (removed or replaced under it) until the deadline
  kTakenTooOften,  // its lock file was taken from the save more often than one save takes a lock again
  kRefused,        // its file system refuses record locks
  kCannotCreate,   // its lock file cannot be made: LockFault::why
  kCannotOpen,     // its lock file is there but cannot be opened: LockFault::why
  kNotPlainFile,   // the lock file's name holds no regular file: LockFault::type says what
  kGoneEachTime,   // its lock file was found and gone again each time it was to be opened
  kNoIdentity,     // the folder's device and inode numbers cannot be read
};

// Who could remove a lock file that this user may not open.
struct LockFileOwners {
  unsigned file = 0;       // the lock file's owner
  unsigned folder = 0;     // the folder's owner
  bool sticky = false;     // the folder's sticky bit: only those two and root may remove it
  bool removable = false;  // whether this user may remove it
};

// Why a folder was not locked, with what a message needs to say it.
struct LockFault {
  LockFailure failure = LockFailure::kNone;
  Refusal why = Refusal::kNone;          // kCannotCreate, kCannotOpen
  unsigned type = 0;                      // kNotPlainFile: the file type bits (S_IFMT) of what is there
  std::optional<LockFileOwners> owners;  // kCannotOpen for want of permission: who may remove the file
};

// The lock of one folder: the record lock of its lock file, held open.
// Copies share the one open file: a folder whose lock file is the same file
// as another's is held by the same lock.
class FolderLock {
 public:
  FolderLock(FolderRef folder, Fd file);
  const FolderRef& folder() const { return folder_; }
  const Fd& file() const { return *file_; }
  // Whether it still guards its folder: the lock file's name there still
  // holds the file locked.
  bool guards() const;
  // Whether the file open on `fd` is the file locked.
  bool locks(const Fd& fd) const;
  // This lock, held for the folder `other` whose lock file is the same
  // file.
  FolderLock also_for(FolderRef other) const;

 private:
  FolderLock(FolderRef folder, std::shared_ptr<const Fd> file) : folder_(std::move(folder)), file_(std::move(file)) {}
  FolderRef folder_;
  std::shared_ptr<const Fd> file_;
};

// What a lock attempt gives: the lock, or why there is none.
struct Locked {
  std::optional<FolderLock> lock;
  LockFault fault;
};

// The time of day by the system's clock.
std::chrono::system_clock::time_point wall_clock_now();

// What every lock of one save shares: the deadline of its waits, how often
// a lock taken from the save may still be taken again, and how long it
// looks again at a lock file it may not open that may be in another
// session's birth. A hostile user who keeps taking the lock file away, or
// keeps one looking new, could otherwise keep the save from ever ending or
// make it wait its whole deadline.
struct LockBudget {
  std::chrono::steady_clock::time_point deadline;
  int retakes_left = 0;
  // How long, by this session's own clock, the save looks again at such a
  // lock file of one folder, from the moment it first met it: far longer
  // than a birth takes, even on a slow file system.
  std::chrono::steady_clock::duration birth_look = std::chrono::seconds(10);
  // The clock a lock file's change time is held against.
  std::chrono::system_clock::time_point (*wall)() = &wall_clock_now;
  // When the save first met such a lock file, by its folder's device and
  // inode numbers.
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::chrono::steady_clock::time_point> first_met{};
  // Uses one retake: false when none was left.
  bool spend_retake() { return retakes_left-- > 0; }
  // Whether the save may still look again at the lock file of `folder`
  // that may be in another session's birth; the first call for a folder
  // starts its time.
  bool look_again(std::pair<std::uint64_t, std::uint64_t> folder);
};

// How one folder is locked. A save takes every lock through one, so that
// tests can fail it.
class FolderLocker {
 public:
  virtual ~FolderLocker() = default;
  // Locks the folder against every other save. The lock file is opened
  // (made when missing) and its record lock tried without waiting. While
  // another holds it, `on_wait` is called (to say so) and it is tried again
  // at short intervals until it is had or the budget's deadline has passed
  // (kStillHeld); so is a lock file this user may not open while another
  // session may still be making it (kCannotOpen at the deadline). A lock
  // had on a file that the lock file's name no longer holds was taken from
  // the save: it is let go, and the file there now is locked instead while
  // the budget has retakes (else kTakenTooOften; kTaken at the deadline).
  // A lock file that is the same file as one of `held` is not locked again:
  // that lock holds this folder too.
  virtual Locked lock(FileSystem& fs, const FolderRef& folder, LockBudget& budget,
                      std::span<const FolderLock> held, const std::function<void()>& on_wait);
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
    LockFault fault;
  };
  // What a take came to.
  enum class Outcome {
    kDone,           // every folder locked but those in unlocked()
    kStillHeld,      // another session kept a folder's lock until the deadline
    kTaken,          // a folder's lock was taken from this save and could not be had again
    kTakenTooOften,  // locks were taken from this save more often than it takes one again
  };
  // wait: how long the save may wait in all for other sessions' locks.
  // on_wait: says that the save waits for another session in `folder`;
  // called once for each folder in a wait. locker: how each folder is
  // locked (nullptr: as every save locks).
  FolderLocks(FileSystem& fs, std::chrono::milliseconds wait, std::function<void(const Folder& folder)> on_wait,
              FolderLocker* locker = nullptr);

  // Lets go of the locks held, then locks each of `folders`. A folder that
  // cannot be locked ends the take or is left unlocked as outcome_of says.
  // Unless kDone, no lock is held and failed() names the folder.
  Outcome take(const std::vector<FolderRef>& folders);
  // Lets go of every lock.
  void let_go();
  // Starts a new wait: a new deadline, in which each folder waited on is
  // said again.
  void wait_anew();
  // Lets go of every lock, because one was taken from the save, so that the
  // save takes them again: false when the save may take none again.
  bool let_go_to_take_again();

  // The folders the last take could not lock that no take of this save
  // named before: each is to be said once in a save. A folder this user
  // may not write in is not among them: the save is refused there, and
  // says that alone.
  const std::vector<Unlocked>& unlocked() const { return unlocked_; }
  // The folder that ended the last take, when it was not kDone.
  const FolderRef& failed() const { return failed_; }
  // The locks held, each with its folder.
  const std::vector<FolderLock>& held() const { return held_; }
  // The first folder whose lock was taken from the save (its lock file's
  // name no longer holds the file locked); nullptr when none was.
  FolderRef taken() const;

 private:
  using Id = std::pair<std::uint64_t, std::uint64_t>;
  Outcome fail(Outcome how, const FolderRef& folder);

  FileSystem& fs_;
  FolderLocker own_locker_;  // how every save but a test's locks
  FolderLocker* locker_;
  std::chrono::milliseconds wait_;
  std::function<void(const Folder&)> on_wait_;
  LockBudget budget_;
  std::set<Id> said_waiting_;   // in this wait
  std::set<Id> said_unlocked_;  // in this save
  std::set<Id> ever_held_;      // in this save
  std::vector<FolderLock> held_;
  std::vector<Unlocked> unlocked_;
  FolderRef failed_;
};

// What a folder that cannot be locked, for `failure`, means for the save:
// kDone, the save goes on there unlocked and says so; any other outcome
// ends it. A lock another session kept, or one taken from the save, until
// the deadline ends it, as a lock taken from it more often than one save
// takes a lock again does. So does any failure in a folder held before in
// this save: its lock was taken, and saving there unlocked would let
// another save run beside this one.
FolderLocks::Outcome outcome_of(LockFailure failure, bool held_before);

}  // namespace kelp
