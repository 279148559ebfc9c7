#include "sysutl/folder_locks.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <thread>
#include <variant>

namespace kelp {

namespace {

// How often one save may take a lock again that was lost under it, in all.
constexpr int kMostRetakes = 5;
// The pause between two tries at a lock, whether another holds it or it was
// taken from this save.
constexpr std::chrono::milliseconds kRetry{50};
// How often the lock file is made again when it was found and then gone
// before it could be opened.
constexpr int kMostCreates = 3;

// Whether the file open on fd is the one that `name` in `folder` holds.
bool named_so(const FolderRef& folder, const std::string& name, const Fd& fd) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd.get(), &held) == 0 &&
         ::fstatat(folder->fd(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

// A folder's lock: the record lock of its lock file, and the folder, to
// tell whether the lock file's name still holds the file locked.
class FolderLock : public FileSystem::Lock {
 public:
  FolderLock(FolderRef folder, Fd fd) : folder_(std::move(folder)), fd_(std::move(fd)) {}
  const Fd& fd() const { return fd_; }
  bool current() const override { return named_so(folder_, std::string(kLockFileName), fd_); }

 private:
  FolderRef folder_;
  Fd fd_;
};

Locked not_locked(LockFailure why, std::optional<LockFileOwners> owners = std::nullopt) {
  return {nullptr, why, owners};
}

LockFailure open_failure(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return LockFailure::kNoPermission;
    case ELOOP:
    case EISDIR:
    case ENXIO:
    case ETXTBSY:
      return LockFailure::kNotPlainFile;
    default:
      return LockFailure::kNoLockFile;
  }
}

// Who may remove the lock file `file` of the folder `folder`.
LockFileOwners owners_of(const FolderRef& folder, const struct stat& file, const struct stat& dir) {
  LockFileOwners owners{file.st_uid, dir.st_uid, (dir.st_mode & S_ISVTX) != 0, false};
  const uid_t me = ::geteuid();
  const bool may_write = ::faccessat(folder->fd(), ".", W_OK | X_OK, AT_EACCESS) == 0;
  owners.removable = may_write && (!owners.sticky || me == 0 || me == file.st_uid || me == dir.st_uid);
  return owners;
}

// Gives the lock file open on fd the protection its folder calls for: read
// and write for the users who may write in the folder, and for no one else.
// false when it cannot be given.
//
// A lock file this save just made (`made`) goes to the folder's owner where
// this user may give it away (root), with the folder's group where only the
// group may write there. An owner that cannot be given leaves the file this
// user's; a group that cannot be given leaves the group's bits off. A lock
// file that was there before is only ever narrowed, and only by its owner or
// root: another user's is left as it is. One that has other names is never
// changed: a change would reach the file through every one of them.
//
// Where the file system keeps no permissions, the bits cannot be set: the
// file serves as long as no one but those users may read or write it (the
// execute bits such file systems show do not matter).
bool protect_lock_file(FileSystem& fs, const Fd& fd, const struct stat& file, const struct stat& folder, bool made) {
  const uid_t me = ::geteuid();
  const bool group = (folder.st_mode & S_IWGRP) != 0;
  const bool others = (folder.st_mode & S_IWOTH) != 0;
  if (file.st_nlink > 1 || (!made && file.st_uid != me && me != 0)) return true;
  if (made) {
    // The group matters only where others may not write anyway.
    const bool give_group = group && !others && folder.st_gid != file.st_gid;
    const unsigned gid = give_group ? folder.st_gid : static_cast<unsigned>(-1);
    const unsigned uid = me == 0 ? folder.st_uid : static_cast<unsigned>(-1);
    if ((uid != static_cast<unsigned>(-1) || give_group) && !fs.change_owner(fd, uid, gid) && give_group) {
      fs.change_owner(fd, static_cast<unsigned>(-1), gid);
    }
  }
  struct stat now {};
  if (::fstat(fd.get(), &now) != 0) return false;
  mode_t wanted = 0600;
  // The group's bits go to the folder's group only: another group may not
  // write in the folder.
  if (group && (others || now.st_gid == folder.st_gid)) wanted |= 0060;
  if (others) wanted |= 0006;
  const mode_t mode = made ? wanted : now.st_mode & wanted;
  if ((now.st_mode & 07777) == mode || fs.change_mode(fd, mode)) return true;
  return ::fstat(fd.get(), &now) == 0 && (now.st_mode & 0666 & ~mode) == 0;
}

// One attempt at the lock file of `folder`: opened (created when missing)
// and given its protection. The descriptor, or the failure.
std::variant<Fd, Locked> open_lock_file(FileSystem& fs, const FolderRef& folder) {
  const std::string name(kLockFileName);
  struct stat dir {};
  if (::fstat(folder->fd(), &dir) != 0) return not_locked(LockFailure::kNoLockFile);
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  bool made = false;
  Fd fd;
  // A lock file is made private and given its protection before anyone else
  // may open it. One that is there is opened; one that went between the two
  // steps is made again.
  for (int k = 0; k < kMostCreates && !fd; ++k) {
    fd = fs.create_exclusive(Place{folder, name}, 0600);
    made = static_cast<bool>(fd);
    if (!fd && errno == EEXIST) fd.reset(::openat(folder->fd(), name.c_str(), kFlags));
    if (!fd && errno != ENOENT) break;
  }
  if (!fd) {
    const LockFailure why = open_failure(errno);
    struct stat there {};
    if (why == LockFailure::kNoPermission && ::fstatat(folder->fd(), name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0) {
      return not_locked(why, owners_of(folder, there, dir));
    }
    return not_locked(why);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return not_locked(LockFailure::kNotPlainFile);
  if (!protect_lock_file(fs, fd, st, dir, made)) {
    // No lock file is left that others could not use; but a file that took
    // its name meanwhile is another's, and stays.
    if (made && named_so(folder, name, fd)) ::unlinkat(folder->fd(), name.c_str(), 0);
    return not_locked(LockFailure::kNoPermission);
  }
  return fd;
}

}  // namespace

// Declared in file_system.hpp, as a step tests can fail.
//
// The lock is a record lock of the open file (F_OFD_SETLK) on the folder's
// kLockFileName, opened in the folder for reading and writing without
// following a link and created when missing, so it needs neither a readable
// folder nor a local file system. A lock file is a regular file. The lock
// is tried without waiting. While another holds it, `on_wait` is called (to
// say so) and the lock is tried again at short intervals, until it is had
// or the deadline has passed (kStillHeld). A lock had on a file that the
// lock file's name no longer holds was taken from this save: it is let go,
// and after a pause the file that is there now is locked instead, as long
// as the budget has retakes left (else kTakenAway).
Locked FileSystem::lock_folder(const FolderRef& folder, LockBudget& budget, const std::function<void()>& on_wait) {
  for (;;) {
    auto opened = open_lock_file(*this, folder);
    if (auto* failed = std::get_if<Locked>(&opened)) return std::move(*failed);
    auto lock = std::make_unique<FolderLock>(folder, std::move(std::get<Fd>(opened)));
    const bool had = try_record_lock(lock->fd(), /*exclusive=*/true) == 0;
    if (had && lock->current()) return {std::move(lock), LockFailure::kNone, std::nullopt};
    if (!had && !lock_busy(errno)) return not_locked(LockFailure::kRefused);
    lock.reset();
    if (had && budget.retakes_left-- <= 0) return not_locked(LockFailure::kTakenAway);
    if (!had && on_wait) on_wait();
    const auto left = budget.deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
      return not_locked(had ? LockFailure::kTakenAway : LockFailure::kStillHeld);
    }
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kRetry));
  }
}

FolderLocks::FolderLocks(FileSystem& fs, std::chrono::milliseconds wait,
                         std::function<void(const Folder& folder)> on_wait)
    : fs_(fs),
      wait_(wait),
      on_wait_(std::move(on_wait)),
      budget_{std::chrono::steady_clock::now() + wait, kMostRetakes} {}

FolderLocks::Taken FolderLocks::fail(Taken how, const FolderRef& folder) {
  let_go();
  failed_ = folder;
  return how;
}

FolderLocks::Taken FolderLocks::take(const std::vector<FolderRef>& folders) {
  let_go();
  unlocked_.clear();
  failed_ = nullptr;
  std::map<Id, FolderRef> ordered;  // by device and inode, each once
  for (const FolderRef& folder : folders) {
    if (const auto id = folder->id()) {
      ordered.emplace(*id, folder);
    } else {
      unlocked_.push_back({folder, LockFailure::kNoLockFile, std::nullopt});
    }
  }
  for (const auto& [id, folder] : ordered) {
    Locked got = fs_.lock_folder(folder, budget_, [&, id = id, f = folder] {
      if (said_waiting_.insert(id).second && on_wait_) on_wait_(*f);
    });
    if (got.failure == LockFailure::kStillHeld) return fail(Taken::kStillHeld, folder);
    if (got.failure == LockFailure::kTakenAway) return fail(Taken::kTakenAway, folder);
    // A folder locked before that cannot be locked now has lost its lock to
    // someone: saving there unlocked would let another save run beside this.
    if (!got.lock && ever_held_.contains(id)) return fail(Taken::kLost, folder);
    if (!got.lock) {
      if (said_unlocked_.insert(id).second) unlocked_.push_back({folder, got.failure, got.owners});
      continue;
    }
    ever_held_.insert(id);
    locks_.push_back(std::move(got.lock));
    held_.push_back(folder);
  }
  return Taken::kDone;
}

void FolderLocks::let_go() {
  locks_.clear();
  held_.clear();
}

void FolderLocks::wait_anew() {
  budget_.deadline = std::chrono::steady_clock::now() + wait_;
  said_waiting_.clear();
}

bool FolderLocks::retake() {
  let_go();
  return budget_.retakes_left-- > 0;
}

FolderRef FolderLocks::stale() const {
  for (std::size_t k = 0; k < locks_.size(); ++k) {
    if (!locks_[k]->current()) return held_[k];
  }
  return nullptr;
}

}  // namespace kelp
