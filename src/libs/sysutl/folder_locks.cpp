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

#include "sysutl/access_lists.hpp"
#include "sysutl/held_signals.hpp"

namespace kelp {

namespace {

// How often one save may take a lock again that was taken from it, in all.
constexpr int kMostRetakes = 5;
// The pause between two tries at a lock, whether another holds it or it was
// taken from this save.
constexpr std::chrono::milliseconds kRetry{50};
// How often the lock file is looked for again when it was found (or made
// by another session) and then gone before it could be opened.
constexpr int kMostLooks = 3;
// How many names a lock file's temporary tries before giving up.
constexpr int kNameTries = 16;
// How recently a lock file another session is making at its name was
// changed, at most, for a session it refuses to look at it again: far
// longer than a birth takes, even on a slow file system.
constexpr std::chrono::seconds kChangedAMomentAgo{10};

Place lock_file_of(const FolderRef& folder) { return {folder, std::string(kLockFileName)}; }

LockFault fault(LockFailure failure, Refusal why = Refusal::kNone) { return {failure, why, 0, std::nullopt}; }

// Whether this user may make and remove files in the folder.
bool may_write_in(const Folder& folder) { return ::faccessat(folder.fd(), ".", W_OK | X_OK, AT_EACCESS) == 0; }

// Who may remove the lock file `file` of the folder `folder`.
LockFileOwners owners_of(const Folder& folder, const struct stat& file, const struct stat& dir) {
  LockFileOwners owners{file.st_uid, dir.st_uid, (dir.st_mode & S_ISVTX) != 0, false};
  const uid_t me = ::geteuid();
  owners.removable = may_write_in(folder) && (!owners.sticky || me == 0 || me == file.st_uid || me == dir.st_uid);
  return owners;
}

// The bits of a lock file in a folder with these writers: read and write
// for its owner, and for its group and others where they may write there.
mode_t bits_for(const FolderWriters& writers) {
  return 0600 | (writers.group ? 0060 : 0) | (writers.others ? 0006 : 0);
}

// The access list of a lock file with the bits `mode`, owned by `owner`,
// in a folder whose list names users or groups: each of them has an entry
// of its own, read and write where it may write in the folder and nothing
// where it may not (so that neither the group's bits nor others' open it to
// one the folder's list keeps from writing there), and the folder's owner
// has one where the file is another user's (root, who may open any file,
// needs none).
AccessList list_for(const FolderWriters& writers, mode_t mode, uid_t owner, const struct stat& folder) {
  AccessList list{mode, writers.users, writers.groups};
  std::erase_if(list.users, [&](const NamedEntry& user) { return user.id == folder.st_uid; });
  if (owner != folder.st_uid && folder.st_uid != 0) list.users.push_back({folder.st_uid, true});
  return list;
}

// Gives the lock file open on fd the protection its folder calls for: read
// and write for the users who may write in the folder, and for no one else.
//
// A lock file this save makes (`made`) goes to the folder's owner where
// this user may give it away (root), with the folder's group where only the
// group may write there. An owner that cannot be given leaves the file this
// user's; a group that cannot be given leaves the group's bits off. Where
// the folder's access list names users or groups, the file gets a list of
// its own for them (list_for); a list the folder's default gave it is
// replaced. A lock file that was there before is only ever narrowed, and
// only by its owner or root: another user's is left as it is; its list
// stays, and its group bits, the list's mask, stay wide enough for those
// the folder's list lets write. One that has other names is never changed:
// a change would reach the file through every one of them. Where the file
// system keeps no permissions the bits cannot be given, and the file serves
// with those it shows: a reader can at most delay a save, while saves
// running over each other lose records.
void protect(FileSystem& fs, const Fd& fd, const struct stat& file, const struct stat& folder,
             const FolderWriters& writers, bool made) {
  const uid_t me = ::geteuid();
  if (file.st_nlink > 1 || (!made && file.st_uid != me && me != 0)) return;
  if (made) {
    // The group matters only where others may not write anyway.
    const bool give_group = writers.group && !writers.others && folder.st_gid != file.st_gid;
    const unsigned gid = give_group ? folder.st_gid : static_cast<unsigned>(-1);
    const unsigned uid = me == 0 ? folder.st_uid : static_cast<unsigned>(-1);
    if ((uid != static_cast<unsigned>(-1) || give_group) && !fs.change_owner(fd, uid, gid) && give_group) {
      fs.change_owner(fd, static_cast<unsigned>(-1), gid);
    }
  }
  struct stat now {};
  if (::fstat(fd.get(), &now) != 0) return;
  mode_t wanted = bits_for(writers);
  // The group's bits go to the folder's group only: another group may not
  // write in the folder.
  if (!writers.others && now.st_gid != folder.st_gid) wanted &= ~mode_t{0060};
  const bool listed = has_access_list(fd.get());
  if (made && (writers.named() || listed) && fs.give_access_list(fd, list_for(writers, wanted, now.st_uid, folder))) {
    return;
  }
  if (!made && listed && writers.named_writer()) wanted |= 0060;
  const mode_t mode = made ? wanted : now.st_mode & wanted;
  if ((now.st_mode & 07777) != mode) fs.give_mode(fd, mode);
}

// The process's umask cleared while it lives, so that a file made meanwhile
// gets exactly the bits its creation names. The editors make files from one
// thread, and the ending signals are held wherever this is used.
class UmaskCleared {
 public:
  UmaskCleared() : old_(::umask(0)) {}
  ~UmaskCleared() { ::umask(old_); }
  UmaskCleared(const UmaskCleared&) = delete;
  UmaskCleared& operator=(const UmaskCleared&) = delete;

 private:
  mode_t old_;
};

// A lock file made by this save: born with exactly the bits `mode`, locked
// by it at once (so that neither another session's lock nor its clean-up of
// temporaries takes it), and given its owner and protection.
Fd born_locked(FileSystem& fs, const Place& at, const struct stat& dir, const FolderWriters& writers, mode_t mode) {
  Fd fd;
  {
    const UmaskCleared exact;
    fd = fs.create_exclusive(at, mode);
  }
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0) return fd;
  try_record_lock(fd, /*exclusive=*/true);  // a file system without locks says so when the lock is tried
  protect(fs, fd, st, dir, writers, /*made=*/true);
  return fd;
}

// Makes the folder's lock file. It appears at its name only final: made
// under a temporary name beside it (born private), given its owner and
// bits, and then linked to its name; the temporary name goes. Where the
// link fails for another reason than a name taken or a temporary gone (a
// file system without hard links: EPERM on FAT, EOPNOTSUPP, ENOSYS where a
// FUSE file system does not implement them) it is made at its name, born
// with the bits of the folder's writers, so that another session arriving
// at that moment may open it; only a failure there is the folder's reason.
// An owner, group or access list it must be given after that birth is the
// one moment another session may be refused it: that session looks again
// (being_born). The ending signals are held over the whole birth: a save
// ended between the link and the removal would leave the lock file a second
// name, and one ended at the name before its protection a lock file other
// users may never open.
// The lock file, or why it cannot be made; Refusal::kNone when it is to be
// looked for again.
std::variant<Fd, Refusal> make_lock_file(FileSystem& fs, const Place& at, const struct stat& dir,
                                         const FolderWriters& writers) {
  const HeldSignals held;
  Place temp;
  Fd fd;
  for (int k = 0; k < kNameTries && !fd; ++k) {
    temp = temporary_beside(at);
    fd = born_locked(fs, temp, dir, writers, 0600);
    if (!fd && errno != EEXIST) break;
  }
  if (!fd) return fs.refusal_at(temp, FileStep::kCreate, errno);
  const bool linked = fs.link_at(temp, at);
  const int error = errno;
  if (holds(temp, fd)) fs.remove_at(temp);
  if (linked) return fd;
  // Taken by another session's lock file first, or gone meanwhile: looked
  // for again.
  if (error == EEXIST || error == ENOENT) return Refusal::kNone;
  fd = born_locked(fs, at, dir, writers, bits_for(writers));
  if (fd) return fd;
  return errno == EEXIST ? Refusal::kNone : fs.refusal_at(at, FileStep::kCreate, errno);
}

// Whether a lock file this user may not open may be one that another
// session is still making at its name, and must yet give an owner, a group
// or an access list: one root made in another user's folder, not yet given
// to that user; one in a folder only its group may write, not yet given
// the folder's group; or one in a folder whose list lets users or groups it
// names write there, not yet given its own list. It must have changed a
// moment ago by `now` (such a birth takes microseconds, and one left longer
// ago is refused at once); a change time ahead of `now` (a file server
// whose clock runs ahead) is no moment ago.
bool being_born(const struct stat& file, const struct stat& dir, const FolderWriters& writers,
                std::chrono::system_clock::time_point now) {
  const bool owner_to_give = file.st_uid == 0 && dir.st_uid != 0;
  const bool group_to_give = writers.group && !writers.others && file.st_gid != dir.st_gid;
  const bool list_to_give = writers.named_writer();
  const auto changed = std::chrono::sys_seconds(std::chrono::seconds(file.st_ctim.tv_sec)) +
                       std::chrono::nanoseconds(file.st_ctim.tv_nsec);
  return (owner_to_give || group_to_give || list_to_give) && changed <= now && now - changed < kChangedAMomentAgo;
}

// Pauses before another try at a lock: false, at once, when the deadline
// has passed.
bool pause_until(std::chrono::steady_clock::time_point deadline) {
  const auto left = deadline - std::chrono::steady_clock::now();
  if (left <= std::chrono::steady_clock::duration::zero()) return false;
  std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kRetry));
  return true;
}

// The lock file of `folder` opened (made when missing) and protected; or
// why it cannot be. What its name holds is looked at before it is opened,
// so a name that holds no regular file is said as such, also to a user
// who may not open it. One that may be in another session's birth, in a
// folder this user may write in, is looked at again, saying so (on_wait),
// until the budget's deadline, and for no longer than the budget lets the
// save look at that folder's (LockBudget::look_again).
std::variant<Fd, LockFault> open_lock_file(FileSystem& fs, const FolderRef& folder, LockBudget& budget,
                                           const std::function<void()>& on_wait) {
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  const Place at = lock_file_of(folder);
  struct stat dir {};
  if (::fstat(folder->fd(), &dir) != 0) return fault(LockFailure::kNoIdentity);
  const FolderWriters writers = writers_in(folder->fd(), dir);
  for (int looks = 0; looks < kMostLooks;) {
    struct stat there {};
    if (!fs.examine_at(at, there)) {
      if (errno != ENOENT) return fault(LockFailure::kCannotOpen, fs.refusal_at(at, FileStep::kWrite, errno));
      auto made = make_lock_file(fs, at, dir, writers);
      if (auto* fd = std::get_if<Fd>(&made)) return std::move(*fd);
      if (const Refusal why = std::get<Refusal>(made); why != Refusal::kNone) {
        return fault(LockFailure::kCannotCreate, why);
      }
      ++looks;  // another session's came first
      continue;
    }
    if (!S_ISREG(there.st_mode)) return LockFault{LockFailure::kNotPlainFile, Refusal::kNone, there.st_mode & S_IFMT, {}};
    Fd fd = fs.open_existing(at, kFlags);
    if (!fd && errno == ENOENT) {
      ++looks;
      continue;
    }
    if (!fd) {
      LockFault failed = fault(LockFailure::kCannotOpen, fs.refusal_at(at, FileStep::kWrite, errno));
      if (failed.why == Refusal::kWriteProtected && may_write_in(*folder) &&
          being_born(there, dir, writers, budget.wall()) && budget.look_again({dir.st_dev, dir.st_ino})) {
        if (on_wait) on_wait();
        if (pause_until(budget.deadline)) continue;
      }
      if (failed.why == Refusal::kWriteProtected) failed.owners = owners_of(*folder, there, dir);
      return failed;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return fault(LockFailure::kCannotOpen, refusal_of(errno, FileStep::kWrite));
    if (!S_ISREG(st.st_mode)) return LockFault{LockFailure::kNotPlainFile, Refusal::kNone, st.st_mode & S_IFMT, {}};
    protect(fs, fd, st, dir, writers, /*made=*/false);
    return fd;
  }
  return fault(LockFailure::kGoneEachTime);
}

// Removes the names of the lock temporaries' form that are the very file
// `lock` holds: a save ended between the link of its lock file and the
// removal of the temporary's name left them (a save's birth of a lock file
// holds that file's lock until the name is gone, so no live one is at that
// point). Kept, the second name would keep the lock file's protection from
// ever being narrowed again.
void remove_second_names(FileSystem& fs, const FolderLock& lock) {
  struct stat st {};
  if (::fstat(lock.file().get(), &st) != 0 || st.st_nlink < 2) return;
  for (const std::string& name : fs.regular_files_in(*lock.folder())) {
    const Place at{lock.folder(), name};
    if (is_temporary_of(name, kLockFileName) && holds(at, lock.file())) fs.remove_at(at);
  }
}

}  // namespace

std::chrono::system_clock::time_point wall_clock_now() { return std::chrono::system_clock::now(); }

bool LockBudget::look_again(std::pair<std::uint64_t, std::uint64_t> folder) {
  const auto now = std::chrono::steady_clock::now();
  const auto [first, _] = first_met.emplace(folder, now);
  return now - first->second < birth_look;
}

FolderLock::FolderLock(FolderRef folder, Fd file)
    : folder_(std::move(folder)), file_(std::make_shared<const Fd>(std::move(file))) {}

bool FolderLock::guards() const { return holds(lock_file_of(folder_), *file_); }

bool FolderLock::locks(const Fd& fd) const {
  struct stat mine {};
  struct stat other {};
  return ::fstat(file_->get(), &mine) == 0 && ::fstat(fd.get(), &other) == 0 && mine.st_dev == other.st_dev &&
         mine.st_ino == other.st_ino;
}

FolderLock FolderLock::also_for(FolderRef other) const { return {std::move(other), file_}; }

// The lock is a record lock of the open file (F_OFD_SETLK, fd.hpp) on the
// folder's kLockFileName, opened in the folder for reading and writing
// without following a link, so it needs neither a readable folder nor a
// local file system.
Locked FolderLocker::lock(FileSystem& fs, const FolderRef& folder, LockBudget& budget,
                          std::span<const FolderLock> held, const std::function<void()>& on_wait) {
  const auto failed = [](LockFault why) { return Locked{std::nullopt, std::move(why)}; };
  bool taken = false;  // a lock had here was taken from the save
  for (;;) {
    auto opened = open_lock_file(fs, folder, budget, on_wait);
    if (auto* why = std::get_if<LockFault>(&opened)) return failed(std::move(*why));
    const Fd& file = std::get<Fd>(opened);
    // One file under two names: the lock this save holds on it holds this
    // folder too, and the save never waits on its own lock.
    const auto same = std::ranges::find_if(held, [&](const FolderLock& h) { return h.locks(file); });
    if (same != held.end()) return {same->also_for(folder), {}};
    FolderLock lock(folder, std::move(std::get<Fd>(opened)));
    const bool had = try_record_lock(lock.file(), /*exclusive=*/true) == 0;
    if (had && lock.guards()) {
      remove_second_names(fs, lock);
      return {std::move(lock), {}};
    }
    if (!had && !lock_busy(errno)) return failed(fault(LockFailure::kRefused));
    if (had) {
      taken = true;
      if (!budget.spend_retake()) return failed(fault(LockFailure::kTakenTooOften));
    } else if (on_wait) {
      on_wait();
    }
    if (!pause_until(budget.deadline)) return failed(fault(taken ? LockFailure::kTaken : LockFailure::kStillHeld));
  }
}

FolderLocks::FolderLocks(FileSystem& fs, std::chrono::milliseconds wait,
                         std::function<void(const Folder& folder)> on_wait, FolderLocker* locker)
    : fs_(fs),
      locker_(locker != nullptr ? locker : &own_locker_),
      wait_(wait),
      on_wait_(std::move(on_wait)),
      budget_{std::chrono::steady_clock::now() + wait, kMostRetakes} {}

FolderLocks::Outcome FolderLocks::fail(Outcome how, const FolderRef& folder) {
  let_go();
  failed_ = folder;
  return how;
}

FolderLocks::Outcome FolderLocks::take(const std::vector<FolderRef>& folders) {
  let_go();
  unlocked_.clear();
  failed_ = nullptr;
  std::map<Id, FolderRef> ordered;  // by device and inode, each once
  for (const FolderRef& folder : folders) {
    if (const auto id = folder->id()) {
      ordered.emplace(*id, folder);
    } else if (may_write_in(*folder)) {
      unlocked_.push_back({folder, fault(LockFailure::kNoIdentity)});
    }
  }
  for (const auto& [id, folder] : ordered) {
    Locked got = locker_->lock(fs_, folder, budget_, held_, [&, id = id, f = folder] {
      if (said_waiting_.insert(id).second && on_wait_) on_wait_(*f);
    });
    if (got.lock) {
      ever_held_.insert(id);
      held_.push_back(std::move(*got.lock));
      continue;
    }
    if (const Outcome ends = outcome_of(got.fault.failure, ever_held_.contains(id)); ends != Outcome::kDone) {
      return fail(ends, folder);
    }
    if (may_write_in(*folder) && said_unlocked_.insert(id).second) unlocked_.push_back({folder, std::move(got.fault)});
  }
  return Outcome::kDone;
}

void FolderLocks::let_go() { held_.clear(); }

void FolderLocks::wait_anew() {
  budget_.deadline = std::chrono::steady_clock::now() + wait_;
  said_waiting_.clear();
}

bool FolderLocks::let_go_to_take_again() {
  let_go();
  return budget_.spend_retake();
}

FolderLocks::Outcome outcome_of(LockFailure failure, bool held_before) {
  using Outcome = FolderLocks::Outcome;
  switch (failure) {
    case LockFailure::kNone:
      return Outcome::kDone;
    case LockFailure::kTakenTooOften:
      return Outcome::kTakenTooOften;
    case LockFailure::kTaken:
      return Outcome::kTaken;
    case LockFailure::kStillHeld:
      return held_before ? Outcome::kTaken : Outcome::kStillHeld;
    case LockFailure::kRefused:
    case LockFailure::kCannotCreate:
    case LockFailure::kCannotOpen:
    case LockFailure::kNotPlainFile:
    case LockFailure::kGoneEachTime:
    case LockFailure::kNoIdentity:
      break;
  }
  return held_before ? Outcome::kTaken : Outcome::kDone;
}

FolderRef FolderLocks::taken() const {
  const auto lost = std::ranges::find_if(held_, [](const FolderLock& lock) { return !lock.guards(); });
  return lost == held_.end() ? nullptr : lost->folder();
}

}  // namespace kelp
