#pragma once
// The file layer: every file the editors create, replace, read or delete,
// and the locks of the folders a save writes in.
#include <chrono>
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

  // A regular file open for reading. A read error sets the stream's badbit
  // (never an exception out of a read call).
  class ReadFile : public std::istream {
   public:
    ReadFile() : std::istream(nullptr) {}
    // The protection of the very file whose bytes are read (taken from what
    // is open, not from its name); nullopt when it cannot be examined.
    virtual std::optional<Protection> protection() = 0;
  };

  // An exclusive lock on a folder, held until the handle goes.
  class Lock {
   public:
    virtual ~Lock() = default;
  };
  // Why a folder was not locked.
  enum class LockFailure {
    kNone,
    kStillHeld,     // another holder kept it for the whole wait
    kNoPermission,  // the lock file may not be created or opened, or not given its protection
    kNotPlainFile,  // its name holds a directory, a symbolic link, a FIFO or a device
    kNoLockFile,    // it cannot be created for another reason (no room, no such folder)
    kRefused,       // the file system refuses record locks
  };
  struct Locked {
    std::unique_ptr<Lock> lock;  // nullptr when not locked
    LockFailure failure = LockFailure::kNone;
  };

  virtual ~FileSystem() = default;
  // Opens a file for writing from its start (or to append). nullptr when it
  // cannot be opened or the name holds anything but a regular file.
  virtual std::unique_ptr<std::ostream> open_write(const std::string& path, bool binary, bool append);
  // Opens an existing regular file for reading; nullptr otherwise.
  virtual std::unique_ptr<ReadFile> open_read(const std::string& path);
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
  // The first step of create_new: `path` made exclusively (never through a
  // link) with the permission bits `mode` less the umask, open for writing.
  // Its descriptor, or -1 when it cannot be made.
  virtual int create_exclusive(const std::string& path, unsigned mode);
  // Flushes a stream that open_write or create_new gave (for create_new down
  // to the disk) and closes it. false when a write, the flush or the close
  // failed.
  virtual bool close(std::ostream& out);
  virtual Kind kind(const std::string& path);
  // The name `path` stands for once every symbolic link met on the way is
  // followed, in any of its components, as the kernel follows them: a
  // relative link counts from its own folder, and at most 40 links are
  // followed. The result names the file itself through no link; where the
  // components end before a file (a link that points nowhere, a name not
  // yet made), the rest is taken as it stands. nullopt when a link on the
  // way is one the kernel's protection of shared folders would not follow
  // (in a world-writable sticky folder, a link owned neither by this user
  // nor by the folder's owner), for a chain of more than 40 links, and when
  // a name on the way cannot be examined.
  virtual std::optional<std::string> resolve(const std::string& path);
  virtual bool exists(const std::string& path);
  // Whether this user may write the file in place: the access test an
  // in-place write would meet (a file that is absent counts as writable). A
  // regular file with none of its write bits set is write-protected for
  // every user, root included.
  virtual bool may_write(const std::string& path);
  // Whether the system lets this user rename a file over `path`, or `path`
  // away: in a sticky folder only the file's owner, the folder's owner and
  // root may. A name that holds nothing counts as free.
  virtual bool may_replace(const std::string& path);
  // The names of the regular files (not symbolic links) in a directory.
  virtual std::vector<std::string> regular_files_in(const std::string& dir);
  virtual bool remove(const std::string& path);
  // Replaces `to` by `from` in one step.
  virtual bool rename(const std::string& from, const std::string& to);

  // Marks the file `path` in use until the handle goes: a shared record
  // lock of the open file (F_OFD_SETLK) on it, opened for reading without
  // following a link. A replacement holds each of its temporaries so from
  // its creation to its rename, and the clean-up of stale temporaries
  // leaves a file in use alone (in_use). nullptr when the file is gone once
  // held (another session's clean-up took it first); a handle that holds
  // nothing when the file cannot be opened or locked.
  virtual std::unique_ptr<Lock> hold(const std::string& path);
  // Whether another holds the regular file `path` in use (hold). A file
  // that cannot be examined counts as in use.
  virtual bool in_use(const std::string& path);

  // Locks the folder `dir` against every other holder, in this process or
  // another. The lock is a record lock of the open file (F_OFD_SETLK) on
  // the folder's kLockFileName, opened for reading and writing and created
  // when missing, so it needs neither a readable folder nor a local file
  // system. The lock file is open to exactly the users who may write in the
  // folder: its owner, the folder's group when the folder is group-writable
  // (the file then takes that group), others when it is world-writable; a
  // lock file of this user's that is open wider is narrowed. The lock is
  // tried first without waiting; when another holds it, `on_wait` is called
  // (to say so) and the lock is tried again until it is had or `limit` has
  // passed (kStillHeld).
  virtual Locked lock_directory(const std::string& dir, const std::function<void()>& on_wait,
                                std::chrono::milliseconds limit);
};

}  // namespace kelp
