#pragma once
// Replacing the whole contents of files without ever losing the old ones.
//
// New contents go first to a temporary file beside the file's final target
// (when the name is a symbolic link, beside the file it points to, so the link
// stays a link and the file it names gets the data). The temporary gets a
// name of its own, "<target>.kelp" and six random characters, and is created
// exclusively: when anything already has that name (a user's file, a
// directory, a symbolic link) another name is taken, so no temporary is ever
// written through a link or over someone else's file. The temporary is
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
// place (FileSystem::may_write) is replaced: a directory, a FIFO or a device
// of that name, or a write-protected file, makes the replacement fail before
// anything is written. So does a symbolic link the kernel would not follow
// (FileSystem::may_follow), and a file that cannot be read whole.
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

  // Writes `bytes` as the new contents of `path` to a temporary beside its
  // final target. false, with nothing staged for it, when the target is
  // neither absent nor a regular file this user may write, or the temporary
  // cannot be created, written whole, flushed or closed.
  bool stage(const std::string& path, std::string_view bytes);
  // The same with the contents of the regular file `from`, copied byte for
  // byte (a backup generation). false also when `from` cannot be examined
  // or read whole; failed() then names `from`.
  bool stage_copy(const std::string& path, const std::string& from);
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
    std::string path;    // as given
    std::string target;  // after following links
    std::string temp;    // "" once renamed into place or removed
  };
  // from: the stream whose file's protection a copy takes; nullptr for new
  // contents, which take the target's.
  template <class Write>
  bool stage_with(const std::string& path, std::istream* from, Write&& write);
  bool fail(const std::string& path);

  Session& s_;
  std::vector<Staged> staged_;
  std::size_t committed_ = 0;
  std::string failed_;
};

// The whole contents of a regular file; nullopt when it cannot be opened or
// read whole.
std::optional<std::string> read_whole(FileSystem& fs, const std::string& path);

// The folder a name's file lives in: that of its final target.
std::string folder_of(FileSystem& fs, const std::string& path);

// The locks of a save on every folder it writes in (the folder of each
// name after its links are followed), taken in the order of the folders'
// device and inode numbers, so that two saves that share folders cannot
// wait on each other. `on_wait` is called once, before the first wait for
// another session's save. The locks go with the object.
class FolderLocks {
 public:
  FolderLocks(Session& s, const std::vector<std::string>& names, const std::function<void()>& on_wait);
  // Whether every folder is locked.
  bool complete() const { return complete_; }
  // Whether the folder of `path` is one this object holds locked.
  bool holds(const std::string& path) const;

 private:
  Session& s_;
  std::vector<std::unique_ptr<FileSystem::Lock>> locks_;
  std::set<std::pair<std::uint64_t, std::uint64_t>> held_;  // device and inode
  bool complete_ = true;
};

// Whether `name` is one of the temporaries of the file named `target`
// (both without directory): "<target>.kelp" and six letters or digits.
bool is_temporary_of(std::string_view name, std::string_view target);
// Removes the temporaries of `path`'s final target that a replacement
// killed part way left behind (regular files only; every other name is
// left alone). Only for a caller that knows no other replacement of that
// file is running: a save holding that folder's lock (FolderLocks::holds).
void remove_stale_temporaries(Session& s, const std::string& path);

// Replaces the whole contents of the file `path` by `bytes`, as above. true
// on success; on failure the file is as it was and no temporary remains.
bool replace_file(Session& s, const std::string& path, std::string_view bytes);

}  // namespace kelp
