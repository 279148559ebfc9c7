#pragma once
// The file layer: every file the editors create, replace, read or delete,
// and the locks of the folders a save writes in.
//
// It holds folders, not names. A name is resolved once, by a walk that opens
// each folder on its way relative to the one before and follows each
// symbolic link it meets under the kernel's rule for shared folders; the
// walk ends with an open descriptor of the file's folder and the file's own
// name there (a Place). Every later step works at that descriptor, so a
// folder on the way that is swapped for a link after the walk changes
// nothing, and no step walks a path string again.
#include <chrono>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelp {

// The hidden file in each folder a save writes in whose record lock
// serialises the saves of every session in that folder. It stays, empty.
inline constexpr std::string_view kLockFileName = ".kelp-save.lock";

// A folder held open (a descriptor opened O_PATH | O_DIRECTORY), shared by
// every name the walk found in it, and closed with the last of them.
class Folder {
 public:
  // Takes over fd; name: the folder as the walk reached it, for messages.
  Folder(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
  ~Folder();
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  int fd() const { return fd_; }
  // "." for the working directory, else the path as walked, relative to it
  // or absolute.
  const std::string& name() const { return name_; }
  // The device and inode numbers of the folder; nullopt when it cannot be
  // examined.
  std::optional<std::pair<std::uint64_t, std::uint64_t>> id() const;

 private:
  int fd_;
  std::string name_;
};
using FolderRef = std::shared_ptr<const Folder>;

// A name after the walk: the folder its file lives in and the file's own
// name there (never a path, never "" ).
struct Place {
  // nullptr when a folder on the way does not exist (or a file stands where
  // a folder should): there is nothing there, and nothing can be made.
  FolderRef folder;
  std::string leaf;
  // The name as walked, for messages: the folder's name and the leaf; with
  // no folder, the whole rest of the name as it stands.
  std::string path() const;
};

// Why the file layer refuses a name or a file, in the few words a message
// gives after the file's name (refusal_words).
enum class Refusal {
  kNone,
  kWriteProtected,  // no write bit, or no permission to write it
  kForeignLink,     // another user's link in a world-writable sticky folder
  kNotRenamable,    // another user's file in a sticky folder
  kNotRegular,      // a directory, FIFO, device or link where a file should be
  kUnreachable,     // too many links, a folder on the way missing or closed
};
// "write-protected", "another user's link in a shared folder", ...; "" for kNone.
std::string_view refusal_words(Refusal why);

// What a walk found: a place, or why there is none.
struct Resolution {
  std::optional<Place> place;
  Refusal refused = Refusal::kNone;
  explicit operator bool() const { return place.has_value(); }
};

// The file layer. Every file the editors create, replace, read or delete goes
// through here, so that tests can make any step fail.
//
// Data, backup and report files must be regular files: a name that holds a
// directory, a FIFO or a device (also at the end of a symbolic link) is
// neither read nor written, so no such file can block the program or
// swallow a record. The steps at a place follow no link there: a link that
// took the file's name after the walk is no regular file.
class FileSystem {
 public:
  // What a place holds (no link followed).
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

  // A lock, held until the handle goes.
  class Lock {
   public:
    virtual ~Lock() = default;
    // Whether the lock still guards what it was taken for: for a folder's
    // lock, that the lock file's name still holds the locked file.
    virtual bool current() const { return true; }
  };

  // A file made new for writing (create_new), held in use from its creation
  // (a shared record lock of its own, let go with `held`) so that no other
  // session's clean-up takes it for one a killed session left.
  struct NewFile {
    std::unique_ptr<std::ostream> out;  // nullptr when not made
    std::unique_ptr<Lock> held;
    // Made, but removed by another's clean-up before it was held: another
    // name is to be taken.
    bool taken = false;
  };

  // Why a folder was not locked.
  enum class LockFailure {
    kNone,
    kStillHeld,     // another holder kept it until the deadline
    kNoPermission,  // the lock file may not be created or opened, or not given its protection
    kNotPlainFile,  // its name holds a directory, a symbolic link, a FIFO or a device
    kLinked,        // its name holds a file that has other names too
    kNoLockFile,    // it cannot be created for another reason (no room)
    kRefused,       // the file system refuses record locks
  };
  struct Locked {
    std::unique_ptr<Lock> lock;  // nullptr when not locked
    LockFailure failure = LockFailure::kNone;
    // kNoPermission: the owner of the lock file that could not be opened.
    std::optional<unsigned> owner;
  };

  virtual ~FileSystem() = default;

  // ---- Names ----
  // The walk. Each component is opened relative to the folder before it
  // without following a link (O_PATH | O_NOFOLLOW); a symbolic link met
  // anywhere is read (readlinkat) and followed as the kernel follows it (a
  // relative link counts from its own folder, ".." is taken after the link
  // before it, at most 40 links), but only where the kernel's protection of
  // shared folders would follow it: in a world-writable sticky folder, a
  // link of this user's or of the folder's owner (else kForeignLink). A
  // name whose folder on the way is missing gives a place without a folder;
  // too many links, or a component that cannot be examined, kUnreachable.
  virtual Resolution resolve(const std::string& path);
  // The folder relative names start from: the working directory, opened
  // anew at each walk.
  virtual FolderRef working_folder();

  // ---- At a place ----
  virtual Kind kind_at(const Place& at);
  // Opens an existing regular file for reading; nullptr otherwise.
  virtual std::unique_ptr<ReadFile> open_read_at(const Place& at);
  // The protection of the regular file at `at`; nullopt when it cannot be
  // examined.
  virtual std::optional<Protection> protection_at(const Place& at);
  // Creates the file at `at` as a new empty file for writing, held in use.
  // Fails (no `out`) when anything already has that name, a symbolic link
  // included: the new file is never reached through a link. With a model
  // `like` the file is born 0600 (less the umask), then takes the model's
  // owner and group where the process may set them, its access list, and
  // last its permission bits; a group that cannot be kept takes the group's
  // bits away, so no one gains access. It fails (nothing left behind) when
  // that protection cannot be given. Without a model it gets 0666 less the
  // umask, and what the folder's default access list gives.
  virtual NewFile create_new(const Place& at, const Protection* like);
  // The first step of create_new: the file made exclusively (never through
  // a link), open for reading and writing, with the permission bits `mode`
  // less the umask. Its descriptor, or -1 when it cannot be made.
  virtual int create_exclusive(const Place& at, unsigned mode);
  // Opens the regular file at `at` for writing in place, from its start or
  // to append, creating it when absent. nullptr when it cannot be opened or
  // holds anything but a regular file.
  virtual std::unique_ptr<std::ostream> open_write_at(const Place& at, bool binary, bool append);
  // Flushes a stream that open_write_at or create_new gave (for create_new
  // down to the disk) and closes it. false when a write, the flush or the
  // close failed.
  virtual bool close(std::ostream& out);
  // Whether this user may write the file in place: the access test an
  // in-place write would meet (a file that is absent counts as writable). A
  // regular file with none of its write bits set is write-protected for
  // every user, root included.
  virtual bool may_write_at(const Place& at);
  // Whether the system lets this user rename a file over `at`, or `at`
  // away: in a sticky folder only the file's owner, the folder's owner and
  // root may. A name that holds nothing counts as free.
  virtual bool may_replace_at(const Place& at);
  // The names of the regular files (not symbolic links) in a folder.
  virtual std::vector<std::string> regular_files_in(const Folder& folder);
  virtual bool remove_at(const Place& at);
  // Replaces `to` by `from` in one step (renameat).
  virtual bool rename_at(const Place& from, const Place& to);
  // Removes the file at `at` unless another holds it in use: it is opened
  // without following a link, its own write lock is taken without waiting,
  // and it is removed, still locked, only while its name still holds that
  // very file. true when it was removed.
  virtual bool remove_unheld(const Place& at);

  // Locks `folder` against every other holder, in this process or another,
  // until `deadline`. The lock is a record lock of the open file
  // (F_OFD_SETLK) on the folder's kLockFileName, opened in the folder for
  // reading and writing without following a link and created when missing,
  // so it needs neither a readable folder nor a local file system. A lock
  // file is a regular file with one link. It belongs to the folder's owner
  // where this user may give it away (root), and is open to exactly the
  // users who may write in the folder: its owner, the folder's group when
  // the folder is group-writable (a lock file just made then takes that
  // group), others when it is world-writable; an existing one is only ever
  // narrowed to that. The lock is tried first without waiting; when another
  // holds it, `on_wait` is called (to say so) and the lock is tried again
  // until it is had or the deadline has passed (kStillHeld). A lock had on
  // a file whose name no longer holds it is let go and taken again.
  virtual Locked lock_folder(const FolderRef& folder, std::chrono::steady_clock::time_point deadline,
                             const std::function<void()>& on_wait);

  // ---- By name: resolve, then the step at the place ----
  // nullptr also when the name is refused.
  std::unique_ptr<ReadFile> open_read(const std::string& path);
  std::unique_ptr<std::ostream> open_write(const std::string& path, bool binary, bool append);
  bool exists(const std::string& path);
};

// A name with control characters escaped for a message: "\n" for a new
// line, "\t", "\r" and the like, "\033" for an escape, and octal for every
// other byte below 32 and for 127.
std::string shown_name(std::string_view name);

}  // namespace kelp
