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

// How often one save may take its locks again after one was lost under it.
constexpr int kMostRetakes = 5;

// A folder's lock: the record lock of its lock file, and the folder, to
// tell whether the lock file's name still holds the file locked.
class FolderLock : public FileSystem::Lock {
 public:
  FolderLock(FolderRef folder, Fd fd) : folder_(std::move(folder)), fd_(std::move(fd)) {}
  const Fd& fd() const { return fd_; }
  bool current() const override {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd_.get(), &held) == 0 &&
           ::fstatat(folder_->fd(), std::string(kLockFileName).c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino && named.st_nlink == 1;
  }

 private:
  FolderRef folder_;
  Fd fd_;
};

Locked not_locked(LockFailure why, std::optional<unsigned> owner = std::nullopt) { return {nullptr, why, owner}; }

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

// Gives the lock file open on fd the protection its folder calls for: read
// and write for the users who may write in the folder, and for no one else.
// A lock file this save just made (`made`) goes to the folder's owner where
// this user may give it away (root), with the folder's group where the
// group may write there. One that was there before is only ever narrowed,
// and only by its owner or root: another user's is left as it is. false
// when the protection cannot be given.
bool protect_lock_file(const Fd& fd, const struct stat& file, const struct stat& folder, bool made) {
  const uid_t me = ::geteuid();
  const bool group = (folder.st_mode & S_IWGRP) != 0;
  const bool others = (folder.st_mode & S_IWOTH) != 0;
  mode_t wanted = 0600;
  if (group) wanted |= 0060;
  if (others) wanted |= 0006;
  if (!made) {
    const mode_t narrowed = file.st_mode & wanted;
    if ((file.st_mode & 07777) == narrowed || (file.st_uid != me && me != 0)) return true;
    return ::fchmod(fd.get(), narrowed) == 0;
  }
  // The group matters only where others may not write anyway.
  const gid_t gid = group && !others ? folder.st_gid : static_cast<gid_t>(-1);
  const uid_t uid = me == 0 ? folder.st_uid : static_cast<uid_t>(-1);
  if ((uid != static_cast<uid_t>(-1) || (gid != static_cast<gid_t>(-1) && gid != file.st_gid)) &&
      ::fchown(fd.get(), uid, gid) != 0) {
    return false;
  }
  return ::fchmod(fd.get(), wanted) == 0;
}

// One attempt at the lock file of `folder`: opened (created when missing)
// and given its protection. The descriptor, or the failure.
std::variant<Fd, Locked> open_lock_file(const FolderRef& folder) {
  const std::string name(kLockFileName);
  struct stat dir {};
  if (::fstat(folder->fd(), &dir) != 0) return not_locked(LockFailure::kNoLockFile);
  // Made private, and given its protection before anyone else may open it.
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  bool made = true;
  Fd fd(::openat(folder->fd(), name.c_str(), kFlags | O_CREAT | O_EXCL, 0600));
  if (!fd && errno == EEXIST) {
    made = false;
    fd.reset(::openat(folder->fd(), name.c_str(), kFlags));
  }
  if (!fd) {
    const LockFailure why = open_failure(errno);
    struct stat there {};
    if (why == LockFailure::kNoPermission && ::fstatat(folder->fd(), name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0) {
      return not_locked(why, there.st_uid);
    }
    return not_locked(why);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return not_locked(LockFailure::kNotPlainFile);
  if (st.st_nlink != 1) return not_locked(LockFailure::kLinked);
  if (!protect_lock_file(fd, st, dir, made)) {
    if (made) ::unlinkat(folder->fd(), name.c_str(), 0);  // no lock file left that others could not use
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
// folder nor a local file system. A lock file is a regular file with one
// link. The lock is tried without waiting; while another holds it,
// `on_wait` is called (to say so) and the lock is tried again at short
// intervals until it is had or the deadline has passed (kStillHeld). A lock
// had on a file that the lock file's name no longer holds is let go, and
// the file that is there now is locked instead.
Locked FileSystem::lock_folder(const FolderRef& folder, std::chrono::steady_clock::time_point deadline,
                               const std::function<void()>& on_wait) {
  // A holder that never lets go costs a bounded wait, never the session.
  constexpr std::chrono::milliseconds kRetry{50};
  for (;;) {
    auto opened = open_lock_file(folder);
    if (auto* failed = std::get_if<Locked>(&opened)) return std::move(*failed);
    auto lock = std::make_unique<FolderLock>(folder, std::move(std::get<Fd>(opened)));
    const bool had = try_record_lock(lock->fd(), /*exclusive=*/true) == 0;
    if (had && lock->current()) return {std::move(lock), LockFailure::kNone, std::nullopt};
    if (!had && !lock_busy(errno)) return not_locked(LockFailure::kRefused);
    if (!had && on_wait) on_wait();
    lock.reset();
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return not_locked(LockFailure::kStillHeld);
    if (!had) std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kRetry));
  }
}

FolderLocks::FolderLocks(FileSystem& fs, std::chrono::milliseconds wait,
                         std::function<void(const Folder& folder)> on_wait)
    : fs_(fs), wait_(wait), on_wait_(std::move(on_wait)), deadline_(std::chrono::steady_clock::now() + wait) {}

bool FolderLocks::take(const std::vector<FolderRef>& folders) {
  let_go();
  unlocked_.clear();
  still_held_ = nullptr;
  std::map<std::pair<std::uint64_t, std::uint64_t>, FolderRef> ordered;  // by device and inode, each once
  for (const FolderRef& folder : folders) {
    if (const auto id = folder->id()) {
      ordered.emplace(*id, folder);
    } else {
      unlocked_.push_back({folder, LockFailure::kNoLockFile, std::nullopt});
    }
  }
  for (const auto& [id, folder] : ordered) {
    Locked got = fs_.lock_folder(folder, deadline_, [&, id = id, f = folder] {
      if (said_waiting_.insert(id).second && on_wait_) on_wait_(*f);
    });
    if (got.failure == LockFailure::kStillHeld) {
      // Nothing is held while the user reads why the save gave up.
      let_go();
      still_held_ = folder;
      return false;
    }
    if (!got.lock) {
      unlocked_.push_back({folder, got.failure, got.owner});
      continue;
    }
    locks_.push_back(std::move(got.lock));
    held_.push_back(folder);
  }
  return true;
}

void FolderLocks::let_go() {
  locks_.clear();
  held_.clear();
}

void FolderLocks::wait_anew() {
  deadline_ = std::chrono::steady_clock::now() + wait_;
  said_waiting_.clear();
}

bool FolderLocks::retake() {
  let_go();
  return ++retakes_ <= kMostRetakes;
}

FolderRef FolderLocks::stale() const {
  for (std::size_t k = 0; k < locks_.size(); ++k) {
    if (!locks_[k]->current()) return held_[k];
  }
  return nullptr;
}

}  // namespace kelp
