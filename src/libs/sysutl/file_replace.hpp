#pragma once
// Replacing the whole contents of files without ever losing the old ones.
//
// New contents go first to a temporary file beside the file's final target
// (when the name is a symbolic link, beside the file it points to, so the link
// stays a link and the file it names gets the data). The temporary gets a
// name of its own, "<target>.kelp" and six random characters, and is created
// exclusively: when anything already has that name (a user's file, a
// directory, a symbolic link) another name is taken, so no temporary is ever
// written through a link or over someone else's file. It is held in use
// (FileSystem::hold) until it is renamed or removed, so that no other
// session's clean-up takes it for one a killed session left. The temporary is
// written whole, flushed to the disk, checked, and only then renamed over the
// target in one step. On every failure the temporaries this process made are
// removed and nothing else is touched.
//
// The new file takes the permission bits, access list and (where the
// process may set them) the owner and group of the file whose contents it
// now holds: a copy those of the file copied, read from the descriptor it
// is read through; new contents those of the file they replace; a name new
// to the directory gets 0666 less the umask (FileSystem::create_new). A
// temporary of an existing file's content is born private. A model that
// cannot be examined fails the replacement: no file falls back to wider
// bits.
//
// Only a target that is absent or a regular file this user may write in
// place (FileSystem::may_write) and rename over (FileSystem::may_replace) is
// replaced: a directory, a FIFO or a device of that name, a write-protected
// file, or another user's file in a sticky folder, makes the replacement
// fail before anything is written. So does a name that cannot be resolved
// (FileSystem::resolve: a symbolic link the kernel would not follow on the
// way), and a file that cannot be read whole.
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

#include "sysutl/session.hpp"

namespace kelp {

// A name a replacement writes, resolved once (FileSystem::resolve): `name`
// as given, for messages; `target`, the file itself, for every step.
struct ResolvedName {
  std::string name;
  std::string target;
};
// nullopt when the name cannot be resolved: a link the kernel would not
// follow on the way, a chain of links too long, a name that cannot be
// examined.
std::optional<ResolvedName> resolve_name(FileSystem& fs, const std::string& name);

// The folder a resolved target lives in ("." for a bare name).
std::string folder_of(const std::string& target);

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

  // Writes `bytes` as the new contents of `to` to a temporary beside its
  // target. false, with nothing staged for it, when the target is neither
  // absent nor a regular file this user may write and rename over
  // (FileSystem::may_write, FileSystem::may_replace), or the temporary
  // cannot be created, written whole, flushed or closed.
  bool stage(const ResolvedName& to, std::string_view bytes);
  // The same with the contents of the regular file `from`, copied byte for
  // byte (a backup generation). false also when `from` cannot be examined
  // or read whole; failed() then names `from`.
  bool stage_copy(const ResolvedName& to, const ResolvedName& from);
  // Renames the staged files into place in the order they were staged. On a
  // rename that fails it stops: the files before it are in place, that one
  // and the rest keep their old contents and their temporaries are removed.
  // true when every file is in place.
  bool commit();

  // The name (as given) of the file whose step failed last, "" when none.
  const std::string& failed() const { return failed_; }
  // How many staged files commit has put in place, and how many are staged.
  std::size_t committed() const { return committed_; }
  std::size_t staged() const { return staged_.size(); }

 private:
  struct Staged {
    std::string name;    // as given
    std::string target;  // resolved
    std::string temp;    // "" once renamed into place or removed
    std::unique_ptr<FileSystem::Lock> in_use;  // the temporary held in use until then
  };
  // from: the file whose protection a copy takes; nullptr for new
  // contents, which take the target's.
  template <class Write>
  bool stage_with(const ResolvedName& to, FileSystem::ReadFile* from, Write&& write);
  bool fail(const std::string& name);

  Session& s_;
  std::vector<Staged> staged_;
  std::size_t committed_ = 0;
  std::string failed_;
};

// The whole contents of a regular file; nullopt when it cannot be opened or
// read whole.
std::optional<std::string> read_whole(FileSystem& fs, const std::string& path);

// The locks of a save on every folder it writes in (the folders of resolved
// targets), taken in the order of the folders' device and inode numbers,
// so that two saves that share folders cannot wait on each other. `on_wait`
// is called once, with the folder, before the first wait for another
// session. When a folder's lock is still held at the end of its wait, every
// lock is let go again (still_held()). The locks go with the object.
class FolderLocks {
 public:
  // A folder not locked, and why.
  struct Unlocked {
    std::string folder;
    FileSystem::LockFailure why;
  };
  FolderLocks(FileSystem& fs, const std::vector<std::string>& targets,
              const std::function<void(const std::string& folder)>& on_wait, std::chrono::milliseconds limit);
  // The folders that could not be locked (none still held by another).
  const std::vector<Unlocked>& unlocked() const { return unlocked_; }
  // The folder whose lock another kept for the whole wait; nullopt when none.
  const std::optional<std::string>& still_held() const { return still_held_; }
  // The folders this object holds locked.
  const std::vector<std::string>& held() const { return held_; }

 private:
  std::vector<std::unique_ptr<FileSystem::Lock>> locks_;
  std::vector<std::string> held_;
  std::vector<Unlocked> unlocked_;
  std::optional<std::string> still_held_;
};

// Whether `name` is one of the temporaries of the file named `target`
// (both without directory): "<target>.kelp" and six letters or digits.
bool is_temporary_of(std::string_view name, std::string_view target);
// Removes from `folder` the temporaries of the files named in `names`
// (without directory) that a replacement killed part way left behind:
// regular files only, and none that a replacement still holds in use
// (FileSystem::in_use); every other name is left alone. Only for a save
// that holds the folder's lock.
void remove_stale_temporaries(FileSystem& fs, const std::string& folder, const std::set<std::string>& names);

// Replaces the whole contents of the file `path` by `bytes`, as above. true
// on success; on failure the file is as it was and no temporary remains.
bool replace_file(Session& s, const std::string& path, std::string_view bytes);

}  // namespace kelp
