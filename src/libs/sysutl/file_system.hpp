#pragma once
// The file layer: the walk that resolves a name, and every step at the place
// it found (reads, checks, new files, in-place writes, renames, removals).
// Its neighbours build on it: file_replace (a file replaced whole through a
// temporary), folder_locks (the lock of a folder a save writes in) and
// disk_stamp (whether a file changed on disk). System errors become the
// reasons messages give in one mapping here (refusal_of, refusal_at).
//
// It holds folders, not names. A name is resolved once, by a walk that opens
// each folder on its way relative to the one before and follows each
// symbolic link it meets under the kernel's rule for shared folders. The
// walk ends with an open descriptor of the file's folder and the file's own
// name there (a Place). Every later step works at that descriptor, so a
// folder on the way that is swapped for a link after the walk changes
// nothing, and no step walks a path string again.
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "sysutl/fd.hpp"

struct stat;

namespace kelp {

struct AccessList;

// A folder held open (a descriptor opened O_PATH | O_DIRECTORY), shared by
// every name the walk found in it, and closed with the last of them.
class Folder {
 public:
  // name: the folder as the walk reached it, for messages.
  Folder(Fd fd, std::string name) : fd_(std::move(fd)), name_(std::move(name)) {}

  int fd() const { return fd_.get(); }
  // "." for the working directory, else the path as walked, relative to it
  // or absolute.
  const std::string& name() const { return name_; }
  // The device and inode numbers of the folder; nullopt when it cannot be
  // examined.
  std::optional<std::pair<std::uint64_t, std::uint64_t>> id() const;

 private:
  Fd fd_;
  std::string name_;
};
using FolderRef = std::shared_ptr<const Folder>;

// A file's place: the folder it lives in (always one the walk opened) and
// its own name there (never a path, never "").
struct Place {
  FolderRef folder;
  std::string leaf;
  // The folder's name and the leaf, as walked.
  std::string path() const;
};

// Why the file layer refuses a name or a file, or why a step on a file
// failed. The words a message gives for each are made where the messages
// are (refusal_words, files_shell).
enum class Refusal {
  kNone,
  kWriteProtected,       // no write bit, or no permission to write it
  kNotReadable,          // no permission to read it
  kForeignLink,          // another user's link in a world-writable sticky folder
  kNotRenamable,         // another user's file in a sticky folder
  kNotRegular,           // a directory, FIFO, device or link where a file should be
  kUnreachable,          // too many links, or a folder on the way that cannot be opened
  kNoFolder,             // a folder on the way does not exist (or is a file): nothing is there
  kMissing,              // no file of that name
  kFolderNotWritable,    // no permission to make, rename or remove a file in its folder
  kFolderNotSearchable,  // no permission to look the name up in its folder
  kNoRoom,               // the disk, or this user's share of it, is full
  kReadOnly,             // its file system is mounted read-only
  kTooLarge,             // larger than the file system, or this process, may write
  kReadError,            // it cannot be read whole
  kIoError,              // the disk reported an input or output error
  kTooManyFiles,         // this process, or the system, has too many files open
  kNoProtection,         // its permissions cannot be read, or not given to the file that replaces it
  kFailed,               // the system refused it for another reason
};

// What a step was doing when it failed: it decides what a permission error
// means.
enum class FileStep {
  kRead,    // opening or reading a file
  kWrite,   // writing a file, or opening one to write in place
  kCreate,  // making a new file in a folder
  kRename,  // renaming a file over another
};
// What the system's error `error` means for a step.
Refusal refusal_of(int error, FileStep step);

// A name after the walk: the name as given (for messages), and either the
// place the walk found or why it found none.
class Resolution {
 public:
  Resolution(std::string name, Place at) : name_(std::move(name)), found_(std::move(at)) {}
  Resolution(std::string name, Refusal why) : name_(std::move(name)), found_(why) {}

  const std::string& name() const { return name_; }
  explicit operator bool() const { return std::holds_alternative<Place>(found_); }
  // The place found; only for a name that was not refused.
  const Place& at() const { return std::get<Place>(found_); }
  Refusal refused() const { return *this ? Refusal::kNone : std::get<Refusal>(found_); }
  // Whether the name was refused because a folder on its way is missing: a
  // reader finds nothing there, and a writer is refused it (nothing can be
  // made there).
  bool folder_missing() const { return refused() == Refusal::kNoFolder; }

 private:
  std::string name_;
  std::variant<Place, Refusal> found_;
};

// Whether the name `at` holds the very file open on `fd` (no link
// followed): that the name was not given to another file since the file
// was opened through it.
bool holds(const Place& at, const Fd& fd);

// A name for a temporary beside `target` in its folder: the target's own
// name, ".kelp" and six random lower-case letters or digits. A file of
// that name is made exclusively; when the name is taken, another is tried.
Place temporary_beside(const Place& target);
// Whether `name` has the form of a temporary of the file named `target`
// (both without folder).
bool is_temporary_of(std::string_view name, std::string_view target);

// The file layer. Every file the editors create, replace, read or delete goes
// through here.
//
// Data, backup and report files must be regular files: a name that holds a
// directory, a FIFO or a device (also at the end of a symbolic link) is
// neither read nor written, so no such file can block the program or
// swallow a record. The steps at a place follow no link there: a link that
// took the file's name after the walk is no regular file.
class FileSystem {
 public:
  // What a place holds (no link followed). kUnknown: it cannot be examined
  // (errno says why).
  enum class Kind { kAbsent, kRegular, kOther, kUnknown };

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
    // Which file is open: its device and inode numbers; nullopt when it
    // cannot be examined.
    virtual std::optional<std::pair<std::uint64_t, std::uint64_t>> id() { return std::nullopt; }
  };

  // A lock, held until the handle goes.
  class Lock {
   public:
    virtual ~Lock() = default;
  };

  // A file made new for writing (create_new). It is held in use from its
  // creation until `held` goes (a shared record lock of its own), so that no
  // other session's clean-up takes it for a file a killed session left.
  struct NewFile {
    std::unique_ptr<std::ostream> out;  // nullptr when not made
    std::unique_ptr<Lock> held;
    // Not made because the name was taken: something else has it, or
    // another session's clean-up removed the file before it was held.
    // Another name may succeed.
    bool taken = false;
    Refusal why = Refusal::kNone;  // not made: why
  };

  virtual ~FileSystem() = default;

  // ---- Names ----
  // The walk. Each component is opened relative to the folder before it
  // without following a link (O_PATH | O_NOFOLLOW). A symbolic link met
  // anywhere is read (readlinkat) and followed as the kernel follows it: a
  // relative link counts from its own folder, ".." is taken after the link
  // before it, and at most 40 links are followed. A link is followed only
  // where the kernel's protection of shared folders would follow it: in a
  // world-writable sticky folder, only a link of this user's or of the
  // folder's owner (else kForeignLink). A folder on the way that does not
  // exist gives kNoFolder, one that may not be searched
  // kFolderNotSearchable; too many links, or a component that cannot be
  // examined, kUnreachable.
  Resolution resolve(const std::string& path);

  // ---- At a place ----
  Kind kind_at(const Place& at);
  // Why the step `step` at `at` failed with the system's error `error`: the
  // name holds no regular file, its folder may not be searched, or what the
  // error means for that step (refusal_of).
  Refusal refusal_at(const Place& at, FileStep step, int error);
  // Flushes a stream that open_write_at or create_new gave (for create_new
  // down to the disk) and closes it. false when a write, the flush or the
  // close failed, with errno set to the first error.
  bool close(std::ostream& out);
  // Whether the system lets this user rename a file over `at`, or `at`
  // away: in a sticky folder only the file's owner, the folder's owner and
  // root may. A name that holds nothing counts as free.
  bool may_replace_at(const Place& at);
  // The names of the regular files (not symbolic links) in a folder.
  std::vector<std::string> regular_files_in(const Folder& folder);
  bool remove_at(const Place& at);
  // Removes the file at `at` unless another holds it in use: it is opened
  // without following a link, its own write lock is taken without waiting,
  // and it is removed, still locked, only while its name still holds that
  // very file. true when it was removed.
  bool remove_unheld(const Place& at);
  // Gives the file open on `fd` the permission bits `mode`, as far as its
  // file system lets it. A file system that keeps no permissions of its own
  // (a FAT stick, a share mounted with fixed modes) refuses the change and
  // shows the same bits for every file; of those only the read and write
  // bits count (the execute bits it shows open nothing). Returns the read
  // and write bits the file shows beyond `mode`: 0 when it has `mode` or
  // nothing wider; nullopt when it cannot be examined.
  std::optional<unsigned> give_mode(const Fd& fd, unsigned mode);

  // ---- The steps below are virtual only so that tests can fail them ----
  // A step that fails leaves the system's error in errno, as the system
  // call does; a test that fails a step sets it too.
  // The folder relative names start from: the working directory, opened
  // anew at each walk.
  virtual FolderRef working_folder();
  // Opens an existing regular file for reading; nullptr otherwise.
  virtual std::unique_ptr<ReadFile> open_read_at(const Place& at);
  // The protection of the regular file at `at`; nullopt when it cannot be
  // examined.
  virtual std::optional<Protection> protection_at(const Place& at);
  // Creates the file at `at` as a new empty file for writing, held in use.
  // It fails (no `out`) when anything already has that name, a symbolic
  // link included, so the new file is never reached through a link.
  // With a model `like`, the file is born 0600 (less the umask). It then
  // takes the model's owner and group where the process may set them, its
  // access list (a model without one: the list the folder's default gave
  // the file is removed, where the file has one), and last its permission
  // bits. When the group cannot be kept, the group's bits are taken away,
  // so no one gains access. When that protection cannot be given, the file
  // is removed and the call fails.
  // Without a model the file gets 0666 less the umask, and what the
  // folder's default access list gives.
  virtual NewFile create_new(const Place& at, const Protection* like);
  // The first step of create_new: the file made exclusively (never through
  // a link), open for reading and writing, with the permission bits `mode`
  // less the umask. Its descriptor, or none when it cannot be made.
  virtual Fd create_exclusive(const Place& at, unsigned mode);
  // Opens what `at` names with `flags` (O_NOFOLLOW among them: no link
  // is followed), never making it: its descriptor, or none.
  virtual Fd open_existing(const Place& at, int flags);
  // Opens the regular file at `at` for writing in place, from its start or
  // to append, creating it when absent. nullptr when it cannot be opened or
  // holds anything but a regular file.
  virtual std::unique_ptr<std::ostream> open_write_at(const Place& at, bool binary, bool append);
  // Whether this user may write the file in place: the access test an
  // in-place write would meet (a file that is absent counts as writable). A
  // regular file with none of its write bits set is write-protected for
  // every user, root included.
  virtual bool may_write_at(const Place& at);
  // Replaces `to` by `from` in one step (renameat).
  virtual bool rename_at(const Place& from, const Place& to);
  // Gives the file at `from` the second name `to` (linkat, no link
  // followed); fails when `to` is taken, and where the file system has no
  // hard links (EPERM as FAT gives, EOPNOTSUPP, or ENOSYS).
  virtual bool link_at(const Place& from, const Place& to);
  // Sets the permission bits, or the owner and group (-1: unchanged), of
  // the file open on `fd`; false when the file system refuses.
  virtual bool change_mode(const Fd& fd, unsigned mode);
  virtual bool change_owner(const Fd& fd, unsigned uid, unsigned gid);
  // Removes the access list of the file open on `fd`; false when the
  // system refuses (a FAT stick mounted for everyone refuses it, EPERM, to
  // all but the owner it shows, though it keeps no lists at all).
  virtual bool remove_acl(const Fd& fd);
  // Reads the access list of the file open on `fd` into `acl`: none when
  // it has none or its file system keeps none; false when it cannot be
  // read.
  virtual bool read_acl_on(const Fd& fd, std::optional<std::string>& acl);
  // Gives the file open on `fd` the access list `list` in place of any it
  // had (sysutl/access_lists.hpp); false, with errno set, when the system
  // refuses.
  virtual bool give_access_list(const Fd& fd, const AccessList& list);
  // The status of what `at` names, no link followed; false, with errno
  // set, when it cannot be examined.
  virtual bool examine_at(const Place& at, struct stat& st);

  // ---- By name: resolve, then the step at the place ----
  // nullptr also when the name is refused.
  std::unique_ptr<ReadFile> open_read(const std::string& path);
  std::unique_ptr<ReadFile> open_read(const Resolution& name);
  bool exists(const std::string& path);
};

}  // namespace kelp
