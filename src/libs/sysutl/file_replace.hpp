#pragma once
// Replacing the whole contents of files without ever losing the old ones.
//
// Every step works at the place the walk found (FileSystem::resolve), so the
// links on the way are followed once and a name swapped meanwhile changes
// nothing.
//
// New contents go first to a temporary beside the file. When the name is a
// symbolic link, the temporary goes beside the file the link points to: the
// link stays a link, and its file gets the data. The temporary is named
// "<name>.kelp" and six random lower-case letters or digits, and is created
// exclusively. When anything already has that name (a user's file, a
// directory, a symbolic link), another name is tried; so no temporary is
// ever written through a link or over someone else's file. The temporary is
// held in use from its creation until it is renamed or removed, so that no
// other session's clean-up takes it for one that a killed session left. It
// is written whole, flushed to the disk and checked, and only then renamed
// over the file in one step. On every failure the temporaries this process
// made are removed, and nothing else is touched.
//
// The new file takes the permission bits, the access list and, where the
// process may set them, the owner and group of the file whose contents it
// now holds. A copy takes them from the file it copies, read through the
// descriptor it reads. New contents take them from the file they replace.
// A name new to its folder gets 0666 less the umask (FileSystem::create_new).
// A temporary that will hold an existing file's contents is born private.
// When the model cannot be examined, the replacement fails: no file falls
// back to wider bits.
//
// Only a name that holds nothing, or a regular file that this user may
// write in place (FileSystem::may_write_at) and rename over
// (FileSystem::may_replace_at), is replaced. Anything else makes the
// replacement fail before anything is written: a directory, a FIFO or a
// device of that name, a write-protected file, another user's file in a
// sticky folder, a name the walk refused, or a file to copy that cannot be
// read whole.
#include <cstddef>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sysutl/file_system.hpp"

namespace kelp {

// A set of files replaced together: each is staged (written whole to its
// temporary) and only when every one is ready are they renamed into place,
// in the order staged. This is how the backup cascade moves its
// generations: a failure while staging leaves every file as it was. The
// destructor removes every temporary not renamed into place, also when an
// exception (the end of input, a stop) leaves the caller early.
class FileReplacement {
 public:
  explicit FileReplacement(FileSystem& fs);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Writes `bytes` as the new contents of `to` to a temporary beside it.
  // false, with nothing staged for it, when the name was refused, the file
  // is neither absent nor a regular file this user may write and rename
  // over, or the temporary cannot be created, written whole, flushed or
  // closed.
  bool stage(const Resolution& to, std::string_view bytes);
  // The same with the contents of the regular file `from`, copied byte for
  // byte (a backup generation). false also when `from` cannot be examined
  // or read whole; failed() then names `from`.
  bool stage_copy(const Resolution& to, const Resolution& from);
  // Renames the staged files into place in the order they were staged, with
  // the signals that would end the program (interrupt, quit, hang-up,
  // termination) held back until the last: a save is never left half moved
  // by them. On a rename that fails it stops: the files before it are in
  // place, that one and the rest keep their old contents and their
  // temporaries are removed. true when every file is in place. `in_place`,
  // where given, hears of each file as soon as its rename is done: its
  // number in the order staged (from 0).
  bool commit(const std::function<void(std::size_t)>& in_place = {});

  // The name (as given) of the file whose step failed last, "" when none,
  // and why.
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
  bool stage_with(const Resolution& to, FileSystem::ReadFile* from, Write&& write);
  bool fail(const std::string& name, Refusal why);

  FileSystem& fs_;
  std::vector<Staged> staged_;
  std::size_t committed_ = 0;
  std::string failed_;
  Refusal refusal_ = Refusal::kNone;
};

// Removes from `folder` the temporaries of the files named in `names`
// (without folder) that a replacement killed part way left behind: regular
// files only, each removed under its own write lock, so none that a
// replacement still holds in use (FileSystem::remove_unheld); every other
// name is left alone. Only for a save that holds the folder's lock.
void remove_stale_temporaries(FileSystem& fs, const FolderRef& folder, const std::set<std::string>& names);

// Replaces the whole contents of the file `to` (resolved once) by `bytes`,
// as above. true on success; on failure the file is as it was and no
// temporary remains.
// `why`, where given, receives why it failed.
bool replace_at(FileSystem& fs, const Resolution& to, std::string_view bytes, Refusal* why = nullptr);
// The same for a name not yet resolved.
bool replace_file(FileSystem& fs, const std::string& path, std::string_view bytes, Refusal* why = nullptr);

}  // namespace kelp
