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
// The new file takes the permission bits (and, where the process may set
// them, the owner and group) of the file whose contents it now holds: a
// copy those of the file copied, new contents those of the file they
// replace; a name new to the directory gets 0666 less the umask
// (FileSystem::create_new).
//
// Only a target that is absent or a regular file this user may write in
// place (FileSystem::may_write) is replaced: a directory, a FIFO or a device
// of that name, or a write-protected file, makes the replacement fail before
// anything is written.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelp {

class Session;

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
  // byte (a backup generation). false also when `from` cannot be read whole.
  bool stage_copy(const std::string& path, const std::string& from);
  // Renames the staged files into place in the order they were staged. On a
  // rename that fails it stops: the files before it are in place, that one
  // and the rest keep their old contents and their temporaries are removed.
  // true when every file is in place.
  bool commit();

  // The name (as given) of the file whose step failed last, "" when none.
  const std::string& failed() const { return failed_; }
  // How many staged files commit has put in place.
  std::size_t committed() const { return committed_; }

 private:
  struct Staged {
    std::string path;    // as given
    std::string target;  // after following links
    std::string temp;    // "" once renamed into place or removed
  };
  // like: the file whose protection the new one takes ("": the target).
  template <class Write>
  bool stage_with(const std::string& path, const std::string& like, Write&& write);
  bool fail(const std::string& path);

  Session& s_;
  std::vector<Staged> staged_;
  std::size_t committed_ = 0;
  std::string failed_;
};

// Whether `name` is one of the temporaries of the file named `target`
// (both without directory): "<target>.kelp" and six letters or digits.
bool is_temporary_of(std::string_view name, std::string_view target);
// Removes the temporaries of `path`'s final target that a replacement
// killed part way left behind (regular files only; every other name is
// left alone). Only for a caller that knows no other replacement of that
// file is running, such as a save holding the directory's lock.
void remove_stale_temporaries(Session& s, const std::string& path);

// Replaces the whole contents of the file `path` by `bytes`, as above. true
// on success; on failure the file is as it was and no temporary remains.
bool replace_file(Session& s, const std::string& path, std::string_view bytes);

}  // namespace kelp
