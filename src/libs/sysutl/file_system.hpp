#pragma once
// The file layer: every file the editors create, replace, read or delete,
// and the locks of the folders a save writes in.
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kelp {

// The hidden file in each folder a save writes in whose record lock
// serialises the saves of every session in that folder. It stays, empty.
inline constexpr std::string_view kLockFileName = ".kelp-save.lock";

// The file layer. Every file the editors create, replace, read or delete goes
// through here, so that tests can make any step fail.
//
// Data, backup and report files must be regular files: a name that holds a
// directory, a FIFO or a device (also at the end of a symbolic link) is
// neither read nor written, so no such file can block the program or
// swallow a record.
class FileSystem {
 public:
  // What a name holds, after following symbolic links.
  enum class Kind { kAbsent, kRegular, kOther };

  // What a file written in place of another takes from the file whose
  // content it holds: permission bits, owner, group and access list.
  struct Protection {
    unsigned mode = 0;  // the permission bits (0777)
    unsigned uid = 0;
    unsigned gid = 0;
    std::optional<std::string> acl;  // the access list's extended attribute; none when absent
  };

  virtual ~FileSystem() = default;
  // Opens a file for writing from its start (or to append). nullptr when it
  // cannot be opened or the name holds anything but a regular file.
  virtual std::unique_ptr<std::ostream> open_write(const std::string& path, bool binary, bool append);
  // Opens an existing regular file for reading; nullptr otherwise. A read
  // error sets the stream's badbit (never an exception out of a read call).
  virtual std::unique_ptr<std::istream> open_read(const std::string& path, bool binary);
  // The protection of a file open_read opened, read from its descriptor, so
  // it is that of the very file whose bytes are read; nullopt when it cannot
  // be examined.
  virtual std::optional<Protection> protection(std::istream& opened);
  // The protection of the regular file `path` (no link followed); nullopt
  // when it cannot be examined.
  virtual std::optional<Protection> protection(const std::string& path);
  // Creates `path` as a new empty file for writing. Fails (nullptr) when
  // anything already has that name, a symbolic link included: the new file
  // is never reached through a link. With a model `like` the file is born
  // 0600 (less the umask), then takes the model's owner and group where the
  // process may set them, its access list, and last its permission bits; a
  // group that cannot be kept takes the group's bits away, so no one gains
  // access. It fails (nothing left behind) when that protection cannot be
  // given. Without a model it gets 0666 less the umask, and what the
  // folder's default access list gives.
  virtual std::unique_ptr<std::ostream> create_new(const std::string& path, const Protection* like);
  // Flushes a stream that open_write or create_new gave (for create_new down
  // to the disk) and closes it. false when a write, the flush or the close
  // failed.
  virtual bool close(std::ostream& out);
  virtual Kind kind(const std::string& path);
  // The name a path stands for after following every symbolic link (a
  // relative link counts from the link's own directory); the path itself
  // when it is no link. A link that points nowhere gives the name it points
  // to; a loop of links gives the path itself.
  virtual std::string final_target(const std::string& path);
  // Whether every symbolic link on the way to the final target is one the
  // kernel's protection of shared folders would follow: in a folder that is
  // world-writable and sticky, only a link owned by this user or by the
  // folder's owner.
  virtual bool may_follow(const std::string& path);
  virtual bool exists(const std::string& path);
  // Whether this user may write the file in place: the access test an
  // in-place write would meet (a file that is absent counts as writable). A
  // regular file with none of its write bits set is write-protected for
  // every user, root included.
  virtual bool may_write(const std::string& path);
  // The names of the regular files (not symbolic links) in a directory.
  virtual std::vector<std::string> regular_files_in(const std::string& dir);
  virtual bool remove(const std::string& path);
  // Replaces `to` by `from` in one step.
  virtual bool rename(const std::string& from, const std::string& to);

  // An exclusive lock on a folder, held until the handle goes: a second
  // holder, in this process or another, waits until then. It is a record
  // lock of the open file (F_OFD_SETLKW) on the folder's kLockFileName,
  // opened for reading and writing and created when missing, so it needs
  // neither a readable folder nor a local file system. The lock is tried
  // first without waiting; when another holds it, `on_wait` is called (to
  // say so) and then the lock is waited for. nullptr when no lock can be
  // had; the caller then goes on without it.
  class Lock {
   public:
    virtual ~Lock() = default;
  };
  virtual std::unique_ptr<Lock> lock_directory(const std::string& dir, const std::function<void()>& on_wait);

 private:
  // The final target, or nullopt when `protect` and a link on the way is
  // one the kernel would not follow.
  std::optional<std::string> follow_links(const std::string& path, bool protect);
};

}  // namespace kelp
