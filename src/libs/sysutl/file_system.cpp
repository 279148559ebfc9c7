#include "sysutl/file_system.hpp"

#include <dirent.h>
#include <ext/stdio_filebuf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <streambuf>
#include <thread>
#include <variant>

namespace kelp {

namespace {

// An output stream on a file descriptor, unbuffered: every write goes
// straight to the file, so a failing disk shows at the write itself.
class FdBuf : public std::streambuf {
 public:
  explicit FdBuf(int fd) : fd_(fd) {}
  ~FdBuf() override {
    if (fd_ >= 0) ::close(fd_);
  }
  FdBuf(const FdBuf&) = delete;
  FdBuf& operator=(const FdBuf&) = delete;

  // Puts the data on the disk and closes the descriptor.
  bool finish() {
    if (fd_ < 0) return false;
    bool ok = ::fsync(fd_) == 0;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    return ok;
  }

 protected:
  int_type overflow(int_type ch) override {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    const char c = traits_type::to_char_type(ch);
    return put(&c, 1) ? ch : traits_type::eof();
  }
  std::streamsize xsputn(const char* data, std::streamsize n) override { return put(data, n) ? n : 0; }

 private:
  bool put(const char* data, std::streamsize n) {
    while (n > 0 && fd_ >= 0) {
      const ssize_t done = ::write(fd_, data, static_cast<std::size_t>(n));
      if (done < 0 && errno == EINTR) continue;
      if (done <= 0) return false;
      data += done;
      n -= done;
    }
    return n == 0;
  }
  int fd_;
};

class FdStream : public std::ostream {
 public:
  explicit FdStream(int fd) : std::ostream(nullptr), buf_(fd) { rdbuf(&buf_); }
  bool finish() { return buf_.finish(); }

 private:
  FdBuf buf_;
};

using FdFileBuf = __gnu_cxx::stdio_filebuf<char>;

// A file written in place, buffered, on its descriptor.
class FdWriteFile : public std::ostream {
 public:
  FdWriteFile(int fd, std::ios::openmode mode) : std::ostream(nullptr), buf_(fd, mode) { rdbuf(&buf_); }
  bool is_open() const { return buf_.is_open(); }
  bool finish() { return buf_.close() != nullptr; }

 private:
  FdFileBuf buf_;
};

// A descriptor closed when the object goes, unless released.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  explicit operator bool() const { return fd_ >= 0; }

 private:
  int fd_;
};

constexpr int kPathFlags = O_PATH | O_NOFOLLOW | O_CLOEXEC;

// The folder of `fd` as a Folder named `name`; nullptr when fd is not open.
FolderRef folder_of(int fd, std::string name) {
  if (fd < 0) return nullptr;
  return std::make_shared<const Folder>(fd, std::move(name));
}

FolderRef root_folder() { return folder_of(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC), "/"); }

// The components of a path pushed onto `todo` so that the first is walked
// first (taken from the back).
void push_components(std::vector<std::string>& todo, const std::filesystem::path& p) {
  std::vector<std::string> parts;
  for (const auto& part : p.relative_path()) parts.push_back(part.string());
  todo.insert(todo.end(), parts.rbegin(), parts.rend());
}

// The name of the folder `part` in the folder named `name`, as walked: ".."
// takes the last component off (the walk holds no link, so that is where
// ".." leads), "/.." stays "/".
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
  if (!at.folder) {
    errno = ENOENT;
    return -1;
  }
  return ::fstatat(at.folder->fd(), at.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW);
}

}  // namespace

Folder::~Folder() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> Folder::id() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return std::nullopt;
  return std::pair<std::uint64_t, std::uint64_t>{st.st_dev, st.st_ino};
}

std::string Place::path() const {
  if (!folder || folder->name() == ".") return leaf;
  return (std::filesystem::path(folder->name()) / leaf).string();
}

std::string_view refusal_words(Refusal why) {
  switch (why) {
    case Refusal::kWriteProtected:
      return "write-protected";
    case Refusal::kForeignLink:
      return "another user's link in a shared folder";
    case Refusal::kNotRenamable:
      return "another user's file that the shared folder does not let you rename";
    case Refusal::kNotRegular:
      return "not a regular file";
    case Refusal::kUnreachable:
      return "cannot be reached";
    case Refusal::kNone:
      break;
  }
  return {};
}

FolderRef FileSystem::working_folder() { return folder_of(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC), "."); }

Resolution FileSystem::resolve(const std::string& path) {
  // Linux follows at most 40 links in one name; a longer chain is a loop.
  constexpr int kMostLinks = 40;
  const Resolution unreachable{std::nullopt, Refusal::kUnreachable};
  int links = 0;
  FolderRef folder = !path.empty() && path.front() == '/' ? root_folder() : working_folder();
  if (!folder) return unreachable;
  // The components still to walk, the next one last.
  std::vector<std::string> todo;
  push_components(todo, path);
  // No folder named `part` here: nothing of the rest is there, and nothing
  // can be made there.
  const auto missing = [&](const std::string& part) {
    std::filesystem::path rest = Place{folder, part}.path();
    for (auto it = todo.rbegin(); it != todo.rend(); ++it) rest /= *it;
    return Resolution{Place{nullptr, rest.string()}};
  };
  while (!todo.empty()) {
    std::string part = std::move(todo.back());
    todo.pop_back();
    const bool last = todo.empty();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      folder = folder_of(::openat(folder->fd(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC),
                         child_name(folder->name(), part));
      if (!folder) return unreachable;
      continue;
    }
    Fd fd(::openat(folder->fd(), part.c_str(), kPathFlags));
    if (!fd) {
      if (errno != ENOENT) return unreachable;
      return last ? Resolution{Place{folder, part}} : missing(part);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return unreachable;
    if (S_ISLNK(st.st_mode)) {
      if (++links > kMostLinks) return unreachable;
      struct stat here {};
      if (::fstat(folder->fd(), &here) != 0) return unreachable;
      if (!may_follow_link(st, here)) return {std::nullopt, Refusal::kForeignLink};
      // The link read is the link examined: both through one descriptor.
      const auto to = link_target(fd.get());
      if (!to || to->empty()) return unreachable;
      push_components(todo, *to);
      if (to->front() == '/' && !(folder = root_folder())) return unreachable;
      continue;
    }
    if (last) return {Place{folder, part}};
    if (!S_ISDIR(st.st_mode)) return missing(part);
    folder = folder_of(fd.release(), child_name(folder->name(), part));
  }
  // A name that ends in "." or ".." (or a link to a folder) names the
  // folder itself.
  return {Place{folder, "."}};
}

FileSystem::Kind FileSystem::kind_at(const Place& at) {
  struct stat st {};
  if (fstat_at(at, st) != 0) return errno == ENOENT || errno == ENOTDIR ? Kind::kAbsent : Kind::kOther;
  return S_ISREG(st.st_mode) ? Kind::kRegular : Kind::kOther;
}

namespace {

std::optional<FileSystem::Protection> protection_of_fd(int fd);

// A file open for reading on its descriptor: the descriptor stays at hand
// for its protection, and a read error surfaces as the badbit of the
// stream's read calls, as with any file stream.
class FdReadFile : public FileSystem::ReadFile {
 public:
  explicit FdReadFile(int fd) : buf_(fd, std::ios::in) { rdbuf(&buf_); }
  bool is_open() const { return buf_.is_open(); }
  std::optional<FileSystem::Protection> protection() override { return protection_of_fd(buf_.fd()); }

 private:
  FdFileBuf buf_;
};

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

std::optional<FileSystem::Protection> protection_of(const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return std::nullopt;
  return FileSystem::Protection{st.st_mode & 0777u, st.st_uid, st.st_gid, std::nullopt};
}

std::optional<FileSystem::Protection> protection_of_fd(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return std::nullopt;
  auto p = protection_of(st);
  if (p && !read_acl([fd](char* v, std::size_t n) { return ::fgetxattr(fd, kAccessAclName, v, n); }, p->acl)) {
    return std::nullopt;
  }
  return p;
}

}  // namespace

std::unique_ptr<FileSystem::ReadFile> FileSystem::open_read_at(const Place& at) {
  if (!at.folder) return nullptr;
  // Not blocking at the open: a FIFO put in the file's place meanwhile is
  // refused below instead of waiting for a writer.
  Fd fd(::openat(at.folder->fd(), at.leaf.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd) return nullptr;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd.get(), F_SETFL, 0) != 0) return nullptr;
  auto in = std::make_unique<FdReadFile>(fd.get());
  if (!in->is_open()) return nullptr;
  fd.release();  // the stream's now
  return in;
}

std::optional<FileSystem::Protection> FileSystem::protection_at(const Place& at) {
  if (!at.folder) return std::nullopt;
  // The file itself, held without being opened for reading (which its bits
  // may not allow): its access list through the descriptor's own name.
  Fd fd(::openat(at.folder->fd(), at.leaf.c_str(), kPathFlags));
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0) return std::nullopt;
  auto p = protection_of(st);
  if (!p) return std::nullopt;
  const std::string self = "/proc/self/fd/" + std::to_string(fd.get());
  const auto by_self = [&](char* v, std::size_t n) { return ::getxattr(self.c_str(), kAccessAclName, v, n); };
  if (read_acl(by_self, p->acl)) return p;
  // Without /proc: through the file opened for reading, if it is the same.
  Fd readable(::openat(at.folder->fd(), at.leaf.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  struct stat again {};
  if (!readable || ::fstat(readable.get(), &again) != 0 || again.st_ino != st.st_ino || again.st_dev != st.st_dev) {
    return std::nullopt;
  }
  return protection_of_fd(readable.get());
}

namespace {

// Gives the new file open on fd the owner, group, access list and
// permission bits of the model, as far as this process may: only root can
// give a file away, a group can be set by its members. When the group stays
// another than the model's, the group's bits are dropped: the file must not
// open to a group that could not read the file it replaces. false when the
// file would end up wider open than that (an access list that cannot be
// given or taken away, bits that cannot be set on a file system that keeps
// permissions).
bool take_protection(int fd, const FileSystem::Protection& from) {
  if (::fchown(fd, from.uid, from.gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), from.gid) != 0) {
    // Owner and group stay this process's; the bits below decide.
  }
  struct stat now {};
  if (::fstat(fd, &now) != 0) return false;
  mode_t mode = from.mode & 0777;
  if (now.st_gid != from.gid) mode &= ~static_cast<mode_t>(070);
  if (from.acl) {
    if (::fsetxattr(fd, kAccessAclName, from.acl->data(), from.acl->size(), 0) != 0) return false;
  } else if (::fremovexattr(fd, kAccessAclName) != 0 && !no_acl_here(errno)) {
    // The list the folder's default gave the new file must go: the model
    // has none.
    return false;
  }
  if (::fchmod(fd, mode) == 0) return true;
  // A file system without permissions of its own gives every file the same
  // bits: good enough when they are no wider than wanted.
  return ::fstat(fd, &now) == 0 && (now.st_mode & 0777 & ~mode) == 0;
}

// A record lock held through an open file, let go when it closes.
class RecordLock : public FileSystem::Lock {
 public:
  explicit RecordLock(int fd) : fd_(fd) {}
  ~RecordLock() override { ::close(fd_); }  // closing the last descriptor releases the lock
  RecordLock(const RecordLock&) = delete;
  RecordLock& operator=(const RecordLock&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// Tries a lock of the whole file open on fd, of the type `type`, without
// waiting (F_OFD_SETLK: the lock belongs to the open file, so two opens in
// one process exclude each other too). 0 when had.
int try_lock(int fd, short type) {
  struct flock whole {};
  whole.l_type = type;
  whole.l_whence = SEEK_SET;  // from byte 0 to the end, however long
  return ::fcntl(fd, F_OFD_SETLK, &whole);
}

// Whether a lock attempt failed only because another holds the lock.
bool busy(int error) { return error == EAGAIN || error == EACCES; }

}  // namespace

FileSystem::NewFile FileSystem::create_new(const Place& at, const Protection* like) {
  NewFile made;
  // A file that will hold an existing file's content is born private and
  // widened only to its model's protection: no one can open it meanwhile.
  Fd fd(create_exclusive(at, like != nullptr ? 0600 : 0666));
  if (!fd) return made;
  const auto unmake = [&] { ::unlinkat(at.folder->fd(), at.leaf.c_str(), 0); };
  if (like != nullptr && !take_protection(fd.get(), *like)) {
    unmake();
    return made;
  }
  // In use from here on: a clean-up that took the file's write lock before
  // this hold was had removes it, which the link count then shows.
  Fd hold(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));
  if (!hold) {
    unmake();
    return made;
  }
  const bool held = try_lock(hold.get(), F_RDLCK) == 0;
  struct stat st {};
  if ((!held && busy(errno)) || ::fstat(fd.get(), &st) != 0 || st.st_nlink == 0) {
    made.taken = true;
    return made;
  }
  // A file system without record locks holds nothing: the file is still
  // written, unguarded.
  made.held = held ? std::make_unique<RecordLock>(hold.release()) : std::make_unique<Lock>();
  made.out = std::make_unique<FdStream>(fd.release());
  return made;
}

int FileSystem::create_exclusive(const Place& at, unsigned mode) {
  if (!at.folder) return -1;
  return ::openat(at.folder->fd(), at.leaf.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  static_cast<mode_t>(mode));
}

std::unique_ptr<std::ostream> FileSystem::open_write_at(const Place& at, bool binary, bool append) {
  if (!at.folder) return nullptr;
  const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (append ? O_APPEND : 0);
  Fd fd(::openat(at.folder->fd(), at.leaf.c_str(), flags, 0666));
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd.get(), F_SETFL, append ? O_APPEND : 0) != 0) {
    return nullptr;
  }
  if (!append && ::ftruncate(fd.get(), 0) != 0) return nullptr;
  auto mode = std::ios::out | (append ? std::ios::app : std::ios::openmode{});
  if (binary) mode |= std::ios::binary;
  auto out = std::make_unique<FdWriteFile>(fd.get(), mode);
  if (!out->is_open()) return nullptr;
  fd.release();
  return out;
}

bool FileSystem::close(std::ostream& out) {
  out.flush();
  bool ok = !out.fail();
  if (auto* f = dynamic_cast<FdStream*>(&out)) {
    ok = f->finish() && ok;
  } else if (auto* w = dynamic_cast<FdWriteFile*>(&out)) {
    ok = w->finish() && ok;
  }
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
  const int fd = ::openat(folder.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return names;
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    ::close(fd);
    return names;
  }
  while (const dirent* e = ::readdir(dir)) {
    struct stat st {};
    if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) names.emplace_back(e->d_name);
  }
  ::closedir(dir);
  return names;
}

bool FileSystem::remove_at(const Place& at) { return at.folder && ::unlinkat(at.folder->fd(), at.leaf.c_str(), 0) == 0; }

bool FileSystem::rename_at(const Place& from, const Place& to) {
  return from.folder && to.folder &&
         ::renameat(from.folder->fd(), from.leaf.c_str(), to.folder->fd(), to.leaf.c_str()) == 0;
}

bool FileSystem::remove_unheld(const Place& at) {
  if (!at.folder) return false;
  // A write lock needs a descriptor open for writing; a file this user may
  // not open so is not this user's to remove.
  Fd fd(::openat(at.folder->fd(), at.leaf.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || try_lock(fd.get(), F_WRLCK) != 0) return false;
  struct stat named {};
  if (fstat_at(at, named) != 0 || named.st_dev != st.st_dev || named.st_ino != st.st_ino) return false;
  return ::unlinkat(at.folder->fd(), at.leaf.c_str(), 0) == 0;
}

// ---- Folder locks ----

namespace {

// A folder's lock: the record lock of its lock file, and the folder, to
// tell whether the lock file's name still holds the file locked.
class FolderLock : public FileSystem::Lock {
 public:
  FolderLock(FolderRef folder, int fd) : folder_(std::move(folder)), lock_(fd) {}
  bool current() const override {
    struct stat held {};
    struct stat named {};
    return ::fstat(lock_.fd(), &held) == 0 &&
           ::fstatat(folder_->fd(), std::string(kLockFileName).c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino && named.st_nlink == 1;
  }

 private:
  FolderRef folder_;
  RecordLock lock_;
};

FileSystem::Locked not_locked(FileSystem::LockFailure why, std::optional<unsigned> owner = std::nullopt) {
  return {nullptr, why, owner};
}

FileSystem::LockFailure open_failure(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return FileSystem::LockFailure::kNoPermission;
    case ELOOP:
    case EISDIR:
    case ENXIO:
    case ETXTBSY:
      return FileSystem::LockFailure::kNotPlainFile;
    default:
      return FileSystem::LockFailure::kNoLockFile;
  }
}

// Gives the lock file open on fd the protection its folder calls for: read
// and write for the users who may write in the folder, no one else. One
// just made (`made`) goes to the folder's owner where this user may give it
// (root), with the folder's group where the group may write there. One that
// was there already is only ever narrowed, and only by its owner or root:
// another user's is left as it is. false when it cannot be given.
bool protect_lock_file(int fd, const struct stat& file, const struct stat& folder, bool made) {
  const uid_t me = ::geteuid();
  const bool group = (folder.st_mode & S_IWGRP) != 0;
  const bool others = (folder.st_mode & S_IWOTH) != 0;
  mode_t wanted = 0600;
  if (group) wanted |= 0060;
  if (others) wanted |= 0006;
  if (!made) {
    const mode_t narrowed = file.st_mode & wanted;
    if ((file.st_mode & 07777) == narrowed || (file.st_uid != me && me != 0)) return true;
    return ::fchmod(fd, narrowed) == 0;
  }
  // The group matters only where others may not write anyway.
  const gid_t gid = group && !others ? folder.st_gid : static_cast<gid_t>(-1);
  const uid_t uid = me == 0 ? folder.st_uid : static_cast<uid_t>(-1);
  if ((uid != static_cast<uid_t>(-1) || (gid != static_cast<gid_t>(-1) && gid != file.st_gid)) &&
      ::fchown(fd, uid, gid) != 0) {
    return false;
  }
  return ::fchmod(fd, wanted) == 0;
}

// One attempt at the lock file of `folder`: opened (created when missing)
// and given its protection. The descriptor, or the failure.
std::variant<int, FileSystem::Locked> open_lock_file(const FolderRef& folder) {
  using Failure = FileSystem::LockFailure;
  const std::string name(kLockFileName);
  struct stat dir {};
  if (::fstat(folder->fd(), &dir) != 0) return not_locked(Failure::kNoLockFile);
  // Made private, and given its protection before anyone else may open it.
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  bool made = true;
  Fd fd(::openat(folder->fd(), name.c_str(), kFlags | O_CREAT | O_EXCL, 0600));
  if (!fd && errno == EEXIST) {
    made = false;
    fd.reset(::openat(folder->fd(), name.c_str(), kFlags));
  }
  if (!fd) {
    const Failure why = open_failure(errno);
    struct stat there {};
    if (why == Failure::kNoPermission && ::fstatat(folder->fd(), name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0) {
      return not_locked(why, there.st_uid);
    }
    return not_locked(why);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return not_locked(Failure::kNotPlainFile);
  if (st.st_nlink != 1) return not_locked(Failure::kLinked);
  if (!protect_lock_file(fd.get(), st, dir, made)) {
    if (made) ::unlinkat(folder->fd(), name.c_str(), 0);  // no lock file left that others could not use
    return not_locked(Failure::kNoPermission);
  }
  return fd.release();
}

}  // namespace

FileSystem::Locked FileSystem::lock_folder(const FolderRef& folder, std::chrono::steady_clock::time_point deadline,
                                           const std::function<void()>& on_wait) {
  // Tried again at short intervals until the deadline: a holder that never
  // lets go costs a bounded wait, never the session.
  constexpr std::chrono::milliseconds kRetry{50};
  bool told = false;
  for (;;) {
    auto opened = open_lock_file(folder);
    if (auto* failed = std::get_if<Locked>(&opened)) return std::move(*failed);
    const int fd = std::get<int>(opened);
    auto lock = std::make_unique<FolderLock>(folder, fd);
    const bool had = try_lock(fd, F_WRLCK) == 0;
    if (had && lock->current()) return {std::move(lock), LockFailure::kNone, std::nullopt};
    // Had, but on a file whose name no longer holds it (removed or replaced
    // meanwhile): let go, and the lock file that is there now taken.
    if (!had && !busy(errno)) return not_locked(LockFailure::kRefused);
    if (!had && !told && on_wait) on_wait();
    told = told || !had;
    lock.reset();
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return not_locked(LockFailure::kStillHeld);
    if (!had) std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kRetry));
  }
}

// ---- By name ----

std::unique_ptr<FileSystem::ReadFile> FileSystem::open_read(const std::string& path) {
  const Resolution r = resolve(path);
  return r ? open_read_at(*r.place) : nullptr;
}

std::unique_ptr<std::ostream> FileSystem::open_write(const std::string& path, bool binary, bool append) {
  const Resolution r = resolve(path);
  return r ? open_write_at(*r.place, binary, append) : nullptr;
}

bool FileSystem::exists(const std::string& path) {
  const Resolution r = resolve(path);
  return r && kind_at(*r.place) != Kind::kAbsent;
}

std::string shown_name(std::string_view name) {
  std::string shown;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte != 127) {
      shown += c;
      continue;
    }
    static constexpr std::array<std::pair<char, char>, 7> kShort = {
        {{'\a', 'a'}, {'\b', 'b'}, {'\t', 't'}, {'\n', 'n'}, {'\v', 'v'}, {'\f', 'f'}, {'\r', 'r'}}};
    const auto named = std::ranges::find(kShort, c, &std::pair<char, char>::first);
    shown += '\\';
    if (named != kShort.end()) {
      shown += named->second;
    } else {
      for (int shift : {6, 3, 0}) shown += static_cast<char>('0' + ((byte >> shift) & 7));
    }
  }
  return shown;
}

}  // namespace kelp
