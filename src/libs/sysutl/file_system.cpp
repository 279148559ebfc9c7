#include "sysutl/file_system.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <ios>
#include <random>
#include <streambuf>

#include "sysutl/access_lists.hpp"

namespace kelp {

namespace {

constexpr std::size_t kBufferBytes = 65536;

// Reads a descriptor it owns through a buffer. A read error throws out of
// underflow; the stream's read call catches it and sets its badbit, as it
// does for any file stream.
class FdInBuf : public std::streambuf {
 public:
  explicit FdInBuf(Fd fd) : fd_(std::move(fd)) {}
  const Fd& fd() const { return fd_; }

 protected:
  int_type underflow() override {
    for (;;) {
      const ssize_t got = ::read(fd_.get(), buf_.data(), buf_.size());
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) throw std::ios_base::failure("read error");
      if (got == 0) return traits_type::eof();
      setg(buf_.data(), buf_.data(), buf_.data() + got);
      return traits_type::to_int_type(buf_[0]);
    }
  }
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
    // The descriptor stands past what the buffer holds unread.
    if (dir == std::ios_base::cur) off -= egptr() - gptr();
    const int whence = dir == std::ios_base::beg ? SEEK_SET : dir == std::ios_base::cur ? SEEK_CUR : SEEK_END;
    const off_t at = ::lseek(fd_.get(), off, whence);
    setg(nullptr, nullptr, nullptr);
    return at < 0 ? pos_type(off_type(-1)) : pos_type(at);
  }
  pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
    return seekoff(off_type(pos), std::ios_base::beg, which);
  }

 private:
  Fd fd_;
  std::array<char, kBufferBytes> buf_{};
};

// Writes to a descriptor it owns through a buffer. A write that fails (a
// full disk) fails the stream when the buffer is written out, at the latest
// at its close.
class FdOutBuf : public std::streambuf {
 public:
  explicit FdOutBuf(Fd fd) : fd_(std::move(fd)) { setp(buf_.data(), buf_.data() + buf_.size()); }
  ~FdOutBuf() override { drain(); }
  FdOutBuf(const FdOutBuf&) = delete;
  FdOutBuf& operator=(const FdOutBuf&) = delete;

  // Writes out what is buffered, puts the file on the disk when `to_disk`,
  // and closes it. false when any of that failed, with errno set to the
  // first error.
  bool finish(bool to_disk) {
    if (!fd_) return false;
    drain();
    if (to_disk && ::fsync(fd_.get()) != 0) note(errno);
    if (!fd_.close()) note(errno);
    errno = error_;
    return error_ == 0;
  }

 protected:
  int_type overflow(int_type ch) override {
    if (!drain()) return traits_type::eof();
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
    return ch;
  }
  int sync() override { return drain() ? 0 : -1; }

 private:
  // Writes the buffer out. After one failure nothing more is written.
  bool drain() {
    const char* data = pbase();
    std::size_t n = static_cast<std::size_t>(pptr() - pbase());
    setp(buf_.data(), buf_.data() + buf_.size());
    while (n > 0 && error_ == 0 && fd_) {
      const ssize_t done = ::write(fd_.get(), data, n);
      if (done < 0 && errno == EINTR) continue;
      if (done <= 0) note(done < 0 ? errno : ENOSPC);  // nothing written: no room
      data += std::max<ssize_t>(done, 0);
      n -= static_cast<std::size_t>(std::max<ssize_t>(done, 0));
    }
    return error_ == 0 && fd_;
  }
  void note(int error) {
    if (error_ == 0) error_ = error;
  }

  Fd fd_;
  std::array<char, kBufferBytes> buf_{};
  int error_ = 0;  // the first write, flush or close that failed
};

// A file open for writing. `to_disk`: its close puts it on the disk first
// (a file made new, which is renamed into place).
class FdOut : public std::ostream {
 public:
  FdOut(Fd fd, bool to_disk) : std::ostream(nullptr), buf_(std::move(fd)), to_disk_(to_disk) { rdbuf(&buf_); }
  bool finish() { return buf_.finish(to_disk_); }

 private:
  FdOutBuf buf_;
  bool to_disk_;
};

std::optional<FileSystem::Protection> protection_of_fd(int fd);

// A file open for reading; its descriptor stays at hand for its protection.
class FdReadFile : public FileSystem::ReadFile {
 public:
  explicit FdReadFile(Fd fd) : buf_(std::move(fd)) { rdbuf(&buf_); }
  std::optional<FileSystem::Protection> protection() override { return protection_of_fd(buf_.fd().get()); }
  std::optional<std::pair<std::uint64_t, std::uint64_t>> id() override {
    struct stat st {};
    if (::fstat(buf_.fd().get(), &st) != 0) return std::nullopt;
    return std::pair<std::uint64_t, std::uint64_t>(st.st_dev, st.st_ino);
  }

 private:
  FdInBuf buf_;
};

// A record lock held through an open file, let go when its descriptor
// closes.
class RecordLock : public FileSystem::Lock {
 public:
  explicit RecordLock(Fd fd) : fd_(std::move(fd)) {}

 private:
  Fd fd_;
};

constexpr int kPathFlags = O_PATH | O_NOFOLLOW | O_CLOEXEC;
constexpr int kReadFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

// The folder open on `fd` as a Folder named `name`; nullptr when fd is not
// open.
FolderRef folder_of(Fd fd, std::string name) {
  if (!fd) return nullptr;
  return std::make_shared<const Folder>(std::move(fd), std::move(name));
}

FolderRef root_folder() { return folder_of(Fd(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC)), "/"); }

// The components of a path pushed onto `todo` so that the first is walked
// first (taken from the back).
void push_components(std::vector<std::string>& todo, const std::filesystem::path& p) {
  std::vector<std::string> parts;
  for (const auto& part : p.relative_path()) parts.push_back(part.string());
  todo.insert(todo.end(), parts.rbegin(), parts.rend());
}

// The name of the folder `part` in the folder named `name`, as walked. ".."
// takes the last component off, because the walk holds no link and so that
// is where ".." leads; "/.." stays "/".
std::string child_name(const std::string& name, const std::string& part) {
  namespace stdfs = std::filesystem;
  const stdfs::path p = name == "." ? stdfs::path() : stdfs::path(name);
  if (part != "..") return (p / part).string();
  if (p.has_filename() && p.filename() != "..") {
    const stdfs::path up = p.parent_path();
    return up.empty() ? std::string(".") : up.string();
  }
  return p.has_root_directory() ? p.string() : (p / "..").string();
}

// Whether the kernel's protection of shared folders lets this user follow
// the link `link` met in the folder `folder`: in a world-writable sticky
// folder only a link of this user's or of the folder's owner.
bool may_follow_link(const struct stat& link, const struct stat& folder) {
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// The target of the link open on fd (O_PATH); nullopt when it cannot be
// read.
std::optional<std::string> link_target(int fd) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t got = ::readlinkat(fd, "", target.data(), target.size());
    if (got < 0) return std::nullopt;
    if (static_cast<std::size_t>(got) < target.size()) {
      target.resize(static_cast<std::size_t>(got));
      return target;
    }
    target.resize(2 * target.size());  // perhaps cut: read again with room
  }
}

int fstat_at(const Place& at, struct stat& st) {
  return ::fstatat(at.folder->fd(), at.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW);
}

Fd open_at(const Place& at, int flags, unsigned mode = 0) {
  return Fd(::openat(at.folder->fd(), at.leaf.c_str(), flags, static_cast<mode_t>(mode)));
}

bool too_many_files(int error) { return error == EMFILE || error == ENFILE; }

// A temporary's name: the file's, this suffix, and this many characters
// of kTempChars.
constexpr std::string_view kTempSuffix = ".kelp";
constexpr std::size_t kTempRandom = 6;
constexpr std::string_view kTempChars = "abcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace

std::optional<std::pair<std::uint64_t, std::uint64_t>> Folder::id() const {
  struct stat st {};
  if (::fstat(fd(), &st) != 0) return std::nullopt;
  return std::pair<std::uint64_t, std::uint64_t>{st.st_dev, st.st_ino};
}

bool holds(const Place& at, const Fd& fd) {
  struct stat open {};
  struct stat named {};
  return ::fstat(fd.get(), &open) == 0 && fstat_at(at, named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

Place temporary_beside(const Place& target) {
  static std::mt19937 random{std::random_device{}() ^ static_cast<unsigned>(::getpid())};
  std::uniform_int_distribution<std::size_t> pick(0, kTempChars.size() - 1);
  std::string name = target.leaf + std::string(kTempSuffix);
  for (std::size_t k = 0; k < kTempRandom; ++k) name += kTempChars[pick(random)];
  return {target.folder, std::move(name)};
}

bool is_temporary_of(std::string_view name, std::string_view target) {
  if (name.size() != target.size() + kTempSuffix.size() + kTempRandom || !name.starts_with(target)) return false;
  name.remove_prefix(target.size());
  if (!name.starts_with(kTempSuffix)) return false;
  name.remove_prefix(kTempSuffix.size());
  return std::ranges::all_of(name, [](char c) { return kTempChars.find(c) != std::string_view::npos; });
}

std::string Place::path() const {
  if (folder->name() == ".") return leaf;
  return (std::filesystem::path(folder->name()) / leaf).string();
}

FolderRef FileSystem::working_folder() { return folder_of(Fd(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC)), "."); }

Resolution FileSystem::resolve(const std::string& path) {
  // Linux follows at most 40 links in one name; a longer chain is a loop.
  constexpr int kMostLinks = 40;
  const Resolution unreachable(path, Refusal::kUnreachable);
  int links = 0;
  FolderRef folder = !path.empty() && path.front() == '/' ? root_folder() : working_folder();
  if (!folder) return unreachable;
  // The components still to walk, the next one last.
  std::vector<std::string> todo;
  push_components(todo, path);
  while (!todo.empty()) {
    std::string part = std::move(todo.back());
    todo.pop_back();
    const bool last = todo.empty();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      folder = folder_of(Fd(::openat(folder->fd(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC)),
                         child_name(folder->name(), part));
      if (!folder) return unreachable;
      continue;
    }
    Fd fd(::openat(folder->fd(), part.c_str(), kPathFlags));
    if (!fd) {
      if (errno == EACCES) return {path, Refusal::kFolderNotSearchable};
      if (too_many_files(errno)) return {path, Refusal::kTooManyFiles};
      if (errno != ENOENT) return unreachable;
      return last ? Resolution(path, Place{folder, part}) : Resolution(path, Refusal::kNoFolder);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return unreachable;
    if (S_ISLNK(st.st_mode)) {
      if (++links > kMostLinks) return unreachable;
      struct stat here {};
      if (::fstat(folder->fd(), &here) != 0) return unreachable;
      if (!may_follow_link(st, here)) return {path, Refusal::kForeignLink};
      // The link read is the link examined: both through one descriptor.
      const auto to = link_target(fd.get());
      if (!to || to->empty()) return unreachable;
      push_components(todo, *to);
      if (to->front() == '/' && !(folder = root_folder())) return unreachable;
      continue;
    }
    if (last) return {path, Place{folder, part}};
    if (!S_ISDIR(st.st_mode)) return {path, Refusal::kNoFolder};
    folder = folder_of(std::move(fd), child_name(folder->name(), part));
  }
  // A name that ends in "." or ".." (or a link to a folder) names the
  // folder itself.
  return {path, Place{folder, "."}};
}

FileSystem::Kind FileSystem::kind_at(const Place& at) {
  struct stat st {};
  if (fstat_at(at, st) != 0) return errno == ENOENT || errno == ENOTDIR ? Kind::kAbsent : Kind::kUnknown;
  return S_ISREG(st.st_mode) ? Kind::kRegular : Kind::kOther;
}

Refusal refusal_of(int error, FileStep step) {
  switch (error) {
    case EACCES:
    case EPERM:
      switch (step) {
        case FileStep::kRead:
          return Refusal::kNotReadable;
        case FileStep::kWrite:
          return Refusal::kWriteProtected;
        case FileStep::kCreate:
        case FileStep::kRename:
          return Refusal::kFolderNotWritable;
      }
      break;
    case ENOENT:
      return step == FileStep::kRead ? Refusal::kMissing : Refusal::kNoFolder;
    case ENOTDIR:
      return Refusal::kNoFolder;
    case ENOSPC:
    case EDQUOT:
      return Refusal::kNoRoom;
    case EROFS:
      return Refusal::kReadOnly;
    case EFBIG:
      return Refusal::kTooLarge;
    case EIO:
      return Refusal::kIoError;
    case EMFILE:
    case ENFILE:
      return Refusal::kTooManyFiles;
    case ELOOP:
    case EISDIR:
    case ENXIO:
    case ENODEV:
    case ETXTBSY:
      return Refusal::kNotRegular;
    default:
      break;
  }
  return step == FileStep::kRead ? Refusal::kReadError : Refusal::kFailed;
}

Refusal FileSystem::refusal_at(const Place& at, FileStep step, int error) {
  struct stat st {};
  if (fstat_at(at, st) != 0) {
    if (errno == EACCES) return Refusal::kFolderNotSearchable;
    if (errno != ENOENT && errno != ENOTDIR) return Refusal::kUnreachable;
    // Nothing there: a permission error is the folder's.
    if (step == FileStep::kRead) return Refusal::kMissing;
    if (error == EACCES || error == EPERM) return Refusal::kFolderNotWritable;
  } else if (!S_ISREG(st.st_mode)) {
    return Refusal::kNotRegular;
  } else if (step == FileStep::kRename && error == EPERM) {
    return Refusal::kNotRenamable;  // a sticky folder's rule
  }
  return refusal_of(error, step);
}

namespace {

// The name of the extended attribute that holds a file's access list.
constexpr const char* kAccessAclName = "system.posix_acl_access";

bool no_acl_here(int error) { return error == ENODATA || error == ENOTSUP || error == EOPNOTSUPP; }

// The access list of a file through `get` (fgetxattr or getxattr): none
// when the file has none or its file system keeps none; false when it
// cannot be read.
template <class Get>
bool read_acl(Get&& get, std::optional<std::string>& acl) {
  acl.reset();
  for (int tries = 0; tries < 4; ++tries) {
    const ssize_t size = get(nullptr, 0);
    if (size < 0) return no_acl_here(errno);
    std::string value(static_cast<std::size_t>(size), '\0');
    const ssize_t got = get(value.data(), value.size());
    if (got >= 0) {
      value.resize(static_cast<std::size_t>(got));
      acl = std::move(value);
      return true;
    }
    if (errno != ERANGE) return no_acl_here(errno);  // ERANGE: it grew meanwhile
  }
  return false;
}

// The access list of the file open on fd, as read_acl reads it.
bool read_acl_of(int fd, std::optional<std::string>& acl) {
  return read_acl([fd](char* v, std::size_t n) { return ::fgetxattr(fd, kAccessAclName, v, n); }, acl);
}

std::optional<FileSystem::Protection> protection_of(const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return std::nullopt;
  return FileSystem::Protection{st.st_mode & 0777u, st.st_uid, st.st_gid, std::nullopt};
}

std::optional<FileSystem::Protection> protection_of_fd(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return std::nullopt;
  auto p = protection_of(st);
  return p && read_acl_of(fd, p->acl) ? p : std::nullopt;
}

// The model has no access list, so one that the folder's default gave the
// new file on fd must go. Only a list the file has is removed: a file
// system that keeps none, or a file that has none, leaves nothing to
// remove, whatever a removal would answer. A list read on the file (or one
// that could not be read) that cannot be removed, whatever the error (a
// file system may show lists and refuse their removal as unsupported),
// stays: false, unless it was gone meanwhile (ENODATA).
bool without_acl(FileSystem& fs, const Fd& fd) {
  std::optional<std::string> acl;
  if (fs.read_acl_on(fd, acl) && !acl) return true;
  return fs.remove_acl(fd) || errno == ENODATA;
}

// Gives the new file open on fd the owner, group, access list and
// permission bits of the model, as far as this process may: only root can
// give a file away, and a group can be set by its members. When the group
// stays another than the model's, the group's rights are dropped: the file
// must not open to a group that could not read the file it replaces. Where
// the model has an access list, its group bits are the list's mask, which
// the users and groups it names need (in a folder shared through a list,
// the others who work there): there the group's own entry loses its
// rights, and the mask stays. false
// when the file would end up wider open than that: an access list that
// cannot be given or taken away, or bits that cannot be set on a file
// system that keeps permissions.
bool take_protection(FileSystem& fs, const Fd& fd, const FileSystem::Protection& from) {
  if (!fs.change_owner(fd, from.uid, from.gid) && !fs.change_owner(fd, static_cast<unsigned>(-1), from.gid)) {
    // Owner and group stay this process's; the bits below decide.
  }
  struct stat now {};
  if (::fstat(fd.get(), &now) != 0) return false;
  mode_t mode = from.mode & 0777;
  const bool group_lost = now.st_gid != from.gid;
  if (from.acl) {
    if (::fsetxattr(fd.get(), kAccessAclName, from.acl->data(), from.acl->size(), 0) != 0) return false;
    if (group_lost && !drop_group_entry(fd.get())) return false;
  } else {
    if (group_lost) mode &= ~static_cast<mode_t>(070);
    if (!without_acl(fs, fd)) return false;
  }
  // A file system without permissions of its own shows the same bits for
  // every file: good enough when they open it no wider than wanted.
  return fs.give_mode(fd, mode) == 0u;
}

}  // namespace

std::unique_ptr<FileSystem::ReadFile> FileSystem::open_read_at(const Place& at) {
  // Not blocking at the open: a FIFO put in the file's place meanwhile is
  // refused below instead of waiting for a writer.
  Fd fd = open_at(at, kReadFlags);
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd.get(), F_SETFL, 0) != 0) return nullptr;
  return std::make_unique<FdReadFile>(std::move(fd));
}

std::optional<FileSystem::Protection> FileSystem::protection_at(const Place& at) {
  // The file is held without being opened for reading, which its bits may
  // not allow; its access list is read through the descriptor's own name.
  Fd fd = open_at(at, kPathFlags);
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0) return std::nullopt;
  auto p = protection_of(st);
  if (!p) return std::nullopt;
  const std::string self = "/proc/self/fd/" + std::to_string(fd.get());
  const auto by_self = [&](char* v, std::size_t n) { return ::getxattr(self.c_str(), kAccessAclName, v, n); };
  if (read_acl(by_self, p->acl)) return p;
  // Without /proc: all of it through the file opened for reading.
  Fd readable = open_at(at, kReadFlags);
  return readable ? protection_of_fd(readable.get()) : std::nullopt;
}

FileSystem::NewFile FileSystem::create_new(const Place& at, const Protection* like) {
  NewFile made;
  // A file that will hold an existing file's content is born private and
  // widened only to its model's protection: no one can open it meanwhile.
  Fd fd = create_exclusive(at, like != nullptr ? 0600 : 0666);
  if (!fd) {
    made.taken = errno == EEXIST;
    made.why = refusal_at(at, FileStep::kCreate, errno);
    return made;
  }
  const auto unmake = [&](Refusal why) {
    made.why = why;
    ::unlinkat(at.folder->fd(), at.leaf.c_str(), 0);
  };
  if (like != nullptr && !take_protection(*this, fd, *like)) {
    unmake(Refusal::kNoProtection);
    return made;
  }
  // The file is held in use from here on. A clean-up may have taken its
  // write lock before this hold was had: it then removes the file, and the
  // link count shows it.
  Fd hold(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));
  if (!hold) {
    unmake(refusal_of(errno, FileStep::kCreate));
    return made;
  }
  const bool held = try_record_lock(hold, /*exclusive=*/false) == 0;
  struct stat st {};
  if ((!held && lock_busy(errno)) || ::fstat(fd.get(), &st) != 0 || st.st_nlink == 0) {
    made.taken = true;
    return made;
  }
  // A file system without record locks holds nothing: the file is still
  // written, unguarded.
  made.held = held ? std::make_unique<RecordLock>(std::move(hold)) : std::make_unique<Lock>();
  made.out = std::make_unique<FdOut>(std::move(fd), /*to_disk=*/true);
  return made;
}

Fd FileSystem::create_exclusive(const Place& at, unsigned mode) {
  return open_at(at, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

Fd FileSystem::open_existing(const Place& at, int flags) { return open_at(at, flags & ~O_CREAT); }

std::unique_ptr<std::ostream> FileSystem::open_write_at(const Place& at, bool /*binary*/, bool append) {
  const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (append ? O_APPEND : 0);
  Fd fd = open_at(at, flags, 0666);
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd.get(), F_SETFL, append ? O_APPEND : 0) != 0) {
    return nullptr;
  }
  if (!append && ::ftruncate(fd.get(), 0) != 0) return nullptr;
  return std::make_unique<FdOut>(std::move(fd), /*to_disk=*/false);
}

std::optional<unsigned> FileSystem::give_mode(const Fd& fd, unsigned mode) {
  change_mode(fd, mode);  // refused where the file system keeps no permissions
  struct stat now {};
  if (::fstat(fd.get(), &now) != 0) return std::nullopt;
  return static_cast<unsigned>(now.st_mode) & 0666u & ~mode;
}

bool FileSystem::change_mode(const Fd& fd, unsigned mode) { return ::fchmod(fd.get(), static_cast<mode_t>(mode)) == 0; }

bool FileSystem::change_owner(const Fd& fd, unsigned uid, unsigned gid) {
  return ::fchown(fd.get(), static_cast<uid_t>(uid), static_cast<gid_t>(gid)) == 0;
}

bool FileSystem::remove_acl(const Fd& fd) { return ::fremovexattr(fd.get(), kAccessAclName) == 0; }

bool FileSystem::read_acl_on(const Fd& fd, std::optional<std::string>& acl) { return read_acl_of(fd.get(), acl); }

bool FileSystem::give_access_list(const Fd& fd, const AccessList& list) { return set_access_list(fd.get(), list); }

bool FileSystem::examine_at(const Place& at, struct stat& st) { return fstat_at(at, st) == 0; }

bool FileSystem::close(std::ostream& out) {
  out.flush();
  const bool ok = !out.fail();
  if (auto* f = dynamic_cast<FdOut*>(&out)) return f->finish() && ok;
  // A stream of another kind says nothing of why it failed.
  if (!ok) errno = EIO;
  return ok;
}

bool FileSystem::may_write_at(const Place& at) {
  struct stat st {};
  if (fstat_at(at, st) != 0) return errno == ENOENT;
  // No write bit at all: protected on purpose, for root too.
  if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0) return false;
  return ::faccessat(at.folder->fd(), at.leaf.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) == 0;
}

bool FileSystem::may_replace_at(const Place& at) {
  struct stat st {};
  if (fstat_at(at, st) != 0) return errno == ENOENT;
  struct stat folder {};
  if (::fstat(at.folder->fd(), &folder) != 0) return false;
  const uid_t me = ::geteuid();
  return (folder.st_mode & S_ISVTX) == 0 || me == 0 || st.st_uid == me || folder.st_uid == me;
}

std::vector<std::string> FileSystem::regular_files_in(const Folder& folder) {
  std::vector<std::string> names;
  Fd fd(::openat(folder.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) return names;
  DIR* dir = ::fdopendir(fd.get());
  if (dir == nullptr) return names;
  // The listing owns the descriptor now, and closedir closes it.
  const int at = fd.release();
  while (const dirent* e = ::readdir(dir)) {
    struct stat st {};
    if (::fstatat(at, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) names.emplace_back(e->d_name);
  }
  ::closedir(dir);
  return names;
}

bool FileSystem::remove_at(const Place& at) { return ::unlinkat(at.folder->fd(), at.leaf.c_str(), 0) == 0; }

bool FileSystem::rename_at(const Place& from, const Place& to) {
  return ::renameat(from.folder->fd(), from.leaf.c_str(), to.folder->fd(), to.leaf.c_str()) == 0;
}

bool FileSystem::link_at(const Place& from, const Place& to) {
  return ::linkat(from.folder->fd(), from.leaf.c_str(), to.folder->fd(), to.leaf.c_str(), 0) == 0;
}

bool FileSystem::remove_unheld(const Place& at) {
  // A write lock needs a descriptor open for writing; a file this user may
  // not open so is not this user's to remove.
  Fd fd = open_at(at, O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || try_record_lock(fd, /*exclusive=*/true) != 0) {
    return false;
  }
  return holds(at, fd) && remove_at(at);
}

// ---- By name ----

std::unique_ptr<FileSystem::ReadFile> FileSystem::open_read(const std::string& path) { return open_read(resolve(path)); }

std::unique_ptr<FileSystem::ReadFile> FileSystem::open_read(const Resolution& name) {
  return name ? open_read_at(name.at()) : nullptr;
}

bool FileSystem::exists(const std::string& path) {
  const Resolution r = resolve(path);
  return r && kind_at(r.at()) != Kind::kAbsent;
}

}  // namespace kelp
