#pragma once
// The session of one editor run: the shared records, the numbered output and
// input units, the terminal, the file layer and the state that the old
// routines kept in saved local variables.
#include <any>
#include <cstdint>
#include <exception>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "sysutl/record.hpp"

namespace kelp {

// Unit numbers of the system.
inline constexpr int kErrorUnit = 0;       // error stream (program pause, chaining notes)
inline constexpr int kListingUnit = 1;     // data files and the print-pass listing
inline constexpr int kKeyboard = 5;        // replies
inline constexpr int kScreen = 6;          // the terminal
inline constexpr int kWarningUnit = 21;    // "DATUPWRN.stxt" while loading
inline constexpr int kSpectrumUnit = 31;   // user wave spectrum file
inline constexpr int kSilentUnit = 41;     // "Diagnostics.stxt" of a silent run
inline constexpr int kScratchUnit = 73;    // date and time scratch files
inline constexpr int kOptionsUnit = 1233;  // "GUSTRDAT"

// The rules of the silent-run report unit: on it nothing is prompted, cleared,
// paged or waited for. Every routine asks here instead of comparing with 41.
inline bool is_silent(int out) { return out == kSilentUnit; }

// Ends the program: thrown by every stop and caught in main after the streams
// are flushed. status 0 is a normal end.
class ProgramStop : public std::exception {
 public:
  explicit ProgramStop(int status) : status_(status) {}
  int status() const { return status_; }
  const char* what() const noexcept override { return "program stop"; }

 private:
  int status_;
};

// The stop at the end of the replies: a ProgramStop of status 1 that the
// file work can tell from the program's own stops. Every file is then left
// as it was, and a report kept in memory is dropped, all but the load's
// warning report: the loader writes what it found however the load ends.
class EndOfInput : public ProgramStop {
 public:
  EndOfInput() : ProgramStop(1) {}
};

// The text shown when the replies run out.
inline constexpr std::string_view kEndOfInputMessage =
    " ++> End of input: session ended, nothing saved.";

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

class Session {
 public:
  // in: the keyboard (unit 5); screen: the terminal (unit 6); errors: unit 0.
  // screen_is_terminal decides whether a screen clear is written at all.
  Session(std::istream& in, std::ostream& screen, std::ostream& errors, bool screen_is_terminal = false);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // ---- Output units ----
  // The stream of an output unit: 6 the screen, 0 the error stream, others as
  // opened; a unit that is not open swallows what is written to it.
  std::ostream& unit(int u);
  void write(int u, std::string_view text);
  void write_line(int u, std::string_view line);
  // Opens a text or binary file on a unit (replacing it, or appending).
  bool open_output(int u, const std::string& path, bool append = false, bool binary = false);
  // Opens a report written in one pass on a unit: its text is kept in
  // memory and the file is replaced only when the unit is closed, whole,
  // through a temporary beside it (sysutl/file_replace.hpp), so a report
  // that cannot be written whole leaves the old one as it was, and a unit
  // never closed (the session stopped part way) writes nothing. false, with
  // nothing opened, when the name holds anything but a regular file.
  bool open_staged(int u, const std::string& path);
  // Opens an existing file for reading on a unit.
  bool open_input(int u, const std::string& path, bool binary = false);
  bool is_open(int u) const;
  // Flushes and closes a unit (a staged report is written now); false when
  // a write, the flush or the replacement failed.
  bool close_unit(int u);
  // Name of the file open on a unit ("" when none).
  std::string unit_file(int u) const;

  // ---- Terminal ----
  // A prompt: one blank and the text on the screen, no line end, flushed.
  // Nothing on the silent unit.
  void prompt(int out, std::string_view text);
  // Clears the screen (directly, only on a real terminal, never on unit 41).
  void clear_screen(int out);
  bool screen_is_terminal() const { return screen_is_terminal_; }

  // ---- Input units ----
  // One line from an input unit, without its line end. End of input on the
  // keyboard ends the session (end_of_input()).
  std::string read_line(int in);
  // The first `width` characters of a line, blank-padded (Fortran "(Aw)").
  std::string read_field(int in, std::size_t width);
  // One line from a file unit; nullopt at its end or on a read error.
  std::optional<std::string> try_read_line(int in);
  // Prints the end-of-input line and stops with status 1. The line names the
  // files this session has already saved, if any.
  [[noreturn]] void end_of_input();
  // Records that a file was written for good (named by end_of_input()).
  void note_saved(const std::string& name);

  // ---- Files ----
  FileSystem& files() { return *files_; }
  void set_files(std::shared_ptr<FileSystem> fs) { files_ = std::move(fs); }

  // ---- Shared records ----
  Tpcm tpcm;
  Lowcof lowcof;
  Gustrcom gustrcom;

  // ---- Saved state ----
  // One object per module type, created on first use and living as long as
  // the session: warn-once flags, load-time copies, cached names.
  template <class T>
  T& state() {
    auto& slot = saved_[std::type_index(typeid(T))];
    if (!slot.has_value()) slot = std::make_shared<T>();
    return *std::any_cast<std::shared_ptr<T>&>(slot);
  }

 private:
  struct OutUnit;
  struct InUnit;
  std::istream& in_;
  std::ostream* screen_;
  std::ostream& errors_;
  bool screen_is_terminal_;
  std::unique_ptr<std::ostream> null_;
  std::unique_ptr<std::streambuf> screen_tracker_;
  std::unique_ptr<std::ostream> tracked_screen_;
  std::map<int, std::unique_ptr<OutUnit>> out_units_;
  std::map<int, std::unique_ptr<InUnit>> in_units_;
  std::shared_ptr<FileSystem> files_;
  std::unordered_map<std::type_index, std::any> saved_;
  std::vector<std::string> saved_files_;
  bool at_line_start() const;
};

}  // namespace kelp
