#pragma once
// Replacing the whole contents of files without ever losing the old ones.
//
// A name is resolved once (FileSystem::resolve): every later step works in
// the folder the walk found, at the file's own name there, so the links on
// the way are followed once and a name swapped meanwhile changes nothing.
// New contents go first to a temporary beside the file (when the name was a
// symbolic link, beside the file it points to, so the link stays a link and
// the file it names gets the data). The temporary gets a name of its own,
// "<name>.kelp" and six random lower-case letters or digits, and is created
// exclusively: when anything already has that name (a user's file, a
// directory, a symbolic link) another name is taken, so no temporary is ever
// written through a link or over someone else's file. It is held in use
// from its creation until it is renamed or removed, so that no other
// session's clean-up takes it for one a killed session left. The temporary
// is written whole, flushed to the disk, checked, and only then renamed over
// the file in one step. On every failure the temporaries this process made
// are removed and nothing else is touched.
//
// The new file takes the permission bits, access list and (where the
// process may set them) the owner and group of the file whose contents it
// now holds: a copy those of the file copied, read from the descriptor it
// is read through; new contents those of the file they replace; a name new
// to the folder gets 0666 less the umask (FileSystem::create_new). A
// temporary of an existing file's content is born private. A model that
// cannot be examined fails the replacement: no file falls back to wider
// bits.
//
// Only a file that is absent or a regular file this user may write in
// place (FileSystem::may_write_at) and rename over
// (FileSystem::may_replace_at) is replaced: a directory, a FIFO or a device
// of that name, a write-protected file, or another user's file in a sticky
// folder, makes the replacement fail before anything is written. So does a
// name that cannot be resolved (another user's link in a shared folder on
// the way, a folder on the way missing), and a file that cannot be read
// whole.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sysutl/file_system.hpp"

namespace kelp {

class Session;

// A name a replacement writes, resolved once: `name` as given, for
// messages; `at`, the place every step works at.
struct ResolvedName {
  std::string name;
  Place at;
};
// The name resolved for writing; nullopt, with `why` set, when it cannot
// be: another user's link in a shared folder on the way, too many links, a
// folder on the way missing or closed (kUnreachable).
std::optional<ResolvedName> resolve_name(FileSystem& fs, const std::string& name, Refusal& why);

// What a file held when it was last seen: its size and a 64-bit digest of
// its bytes (FNV-1a). Enough to tell another session's save from this one's
// without keeping the bytes.
struct DiskStamp {
  std::uint64_t size = 0;
  std::uint64_t digest = 0;
  bool operator==(const DiskStamp&) const = default;
};
DiskStamp stamp_of(std::string_view bytes);
// The stamp of the regular file at `at`, read through in pieces; nullopt
// when it cannot be opened or read whole.
std::optional<DiskStamp> stamp_at(FileSystem& fs, const Place& at);
// Whether the regular file at `at` still holds what `was` stamps: the
// reading stops at the first byte beyond its size. nullopt when the file
// cannot be opened or read.
std::optional<bool> still_holds(FileSystem& fs, const Place& at, const DiskStamp& was);

// A set of files replaced together: each is staged (written whole to its
// temporary) and only when every one is ready are they renamed into place,
// in the order staged. This is how the backup cascade moves its
// generations: a failure while staging leaves every file as it was. The
// destructor removes every temporary not renamed into place, also when an
// exception (the end of input, a stop) leaves the caller early.
class FileReplacement {
 public:
  explicit FileReplacement(Session& s);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Writes `bytes` as the new contents of `to` to a temporary beside it.
  // false, with nothing staged for it, when the file is neither absent nor a
  // regular file this user may write and rename over, or the temporary
  // cannot be created, written whole, flushed or closed.
  bool stage(const ResolvedName& to, std::string_view bytes);
  // The same with the contents of the regular file `from`, copied byte for
  // byte (a backup generation). false also when `from` cannot be examined
  // or read whole; failed() then names `from`.
  bool stage_copy(const ResolvedName& to, const ResolvedName& from);
  // Renames the staged files into place in the order they were staged, with
  // the signals that would end the program (interrupt, quit, hang-up,
  // termination) held back until the last: a save is never left half moved
  // by them. On a rename that fails it stops: the files before it are in
  // place, that one and the rest keep their old contents and their
  // temporaries are removed. true when every file is in place.
  bool commit();

  // The name (as given) of the file whose step failed last, "" when none,
  // and why, where the file layer refused it.
  const std::string& failed() const { return failed_; }
  Refusal refusal() const { return refusal_; }
  // How many staged files commit has put in place, and how many are staged.
  std::size_t committed() const { return committed_; }
  std::size_t staged() const { return staged_.size(); }

 private:
  struct Staged {
    std::string name;  // as given
    Place target;
    Place temp;
    bool temp_there = true;                    // until renamed into place or removed
    std::unique_ptr<FileSystem::Lock> in_use;  // the temporary held in use until then
  };
  // from: the file whose protection a copy takes; nullptr for new
  // contents, which take the target's.
  template <class Write>
  bool stage_with(const ResolvedName& to, FileSystem::ReadFile* from, Write&& write);
  bool fail(const std::string& name, Refusal why = Refusal::kNone);

  Session& s_;
  std::vector<Staged> staged_;
  std::size_t committed_ = 0;
  std::string failed_;
  Refusal refusal_ = Refusal::kNone;
};

// The locks of a save on every folder it writes in, taken in the order of
// the folders' device and inode numbers, so that two saves that share
// folders cannot wait on each other, and all by one deadline. `on_wait` is
// called once for each folder this save waits on for another session.
// When a folder's lock is still held at the deadline, every lock is let go
// again (still_held()). The locks go with the object.
class FolderLocks {
 public:
  // A folder not locked, and why (for kNoPermission, the lock file's owner
  // when one is there).
  struct Unlocked {
    FolderRef folder;
    FileSystem::LockFailure why;
    std::optional<unsigned> owner;
  };
  FolderLocks(FileSystem& fs, const std::vector<FolderRef>& folders,
              const std::function<void(const Folder& folder)>& on_wait,
              std::chrono::steady_clock::time_point deadline);
  // The folders that could not be locked (none still held by another).
  const std::vector<Unlocked>& unlocked() const { return unlocked_; }
  // The folder whose lock another kept until the deadline; nullptr when none.
  const FolderRef& still_held() const { return still_held_; }
  // The folders this object holds locked.
  const std::vector<FolderRef>& held() const { return held_; }
  // The first folder whose lock no longer guards it (its lock file's name no
  // longer holds the file locked); nullptr when every lock still does.
  FolderRef stale() const;

 private:
  std::vector<std::unique_ptr<FileSystem::Lock>> locks_;
  std::vector<FolderRef> held_;
  std::vector<Unlocked> unlocked_;
  FolderRef still_held_;
};

// Whether `name` is one of the temporaries of the file named `target`
// (both without folder): "<target>.kelp" and six lower-case letters or
// digits.
bool is_temporary_of(std::string_view name, std::string_view target);
// Removes from `folder` the temporaries of the files named in `names`
// (without folder) that a replacement killed part way left behind: regular
// files only, each removed under its own write lock, so none that a
// replacement still holds in use (FileSystem::remove_unheld); every other
// name is left alone. Only for a save that holds the folder's lock.
void remove_stale_temporaries(FileSystem& fs, const FolderRef& folder, const std::set<std::string>& names);

// Replaces the whole contents of the file `to` (resolved once) by `bytes`,
// as above. true on success; on failure the file is as it was and no
// temporary remains.
bool replace_at(Session& s, const ResolvedName& to, std::string_view bytes);
// The same for a name not yet resolved.
bool replace_file(Session& s, const std::string& path, std::string_view bytes);

}  // namespace kelp
