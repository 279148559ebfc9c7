#include "sysutl/file_system.hpp"

#include <ext/stdio_filebuf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <streambuf>
#include <thread>

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

}  // namespace

FileSystem::Kind FileSystem::kind(const std::string& path) {
  std::error_code ec;
  const auto st = std::filesystem::status(path, ec);
  if (st.type() == std::filesystem::file_type::not_found) return Kind::kAbsent;
  if (ec) return Kind::kOther;
  return st.type() == std::filesystem::file_type::regular ? Kind::kRegular : Kind::kOther;
}

namespace {

// The components of a path pushed onto `todo` so that the first is walked
// first (taken from the back).
void push_components(std::vector<std::string>& todo, const std::filesystem::path& p) {
  std::vector<std::string> parts;
  for (const auto& part : p.relative_path()) parts.push_back(part.string());
  todo.insert(todo.end(), parts.rbegin(), parts.rend());
}

// Whether the kernel's protection of shared folders lets this user follow
// the link `link` met in the folder `folder`: in a world-writable sticky
// folder only a link of this user's or of the folder's owner.
bool may_follow_link(const struct stat& link, const struct stat& folder) {
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

}  // namespace

std::optional<std::string> FileSystem::resolve(const std::string& path) {
  namespace stdfs = std::filesystem;
  // Linux follows at most 40 links in one name; a longer chain is a loop.
  constexpr int kMostLinks = 40;
  int links = 0;
  // `done` holds the components walked, none of them a link; `todo` those
  // still to walk, the next one last.
  stdfs::path done = stdfs::path(path).root_path();
  std::vector<std::string> todo;
  push_components(todo, path);
  while (!todo.empty()) {
    const std::string part = std::move(todo.back());
    todo.pop_back();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      // `done` holds no link, so its parent is what ".." reaches.
      if (done.has_filename() && done.filename() != "..") {
        done = done.parent_path();
      } else if (!done.has_root_directory()) {
        done /= "..";  // above the working directory: "/.." stays "/"
      }
      continue;
    }
    const stdfs::path next = done / part;
    struct stat st {};
    if (::lstat(next.c_str(), &st) != 0) {
      if (errno != ENOENT && errno != ENOTDIR) return std::nullopt;
      // Nothing there: the rest of the name is taken as it stands.
      stdfs::path rest = next;
      for (auto it = todo.rbegin(); it != todo.rend(); ++it) rest /= *it;
      return rest.string();
    }
    if (!S_ISLNK(st.st_mode)) {
      done = next;
      continue;
    }
    if (++links > kMostLinks) return std::nullopt;
    struct stat folder {};
    if (::stat(done.empty() ? "." : done.c_str(), &folder) != 0 || !may_follow_link(st, folder)) return std::nullopt;
    std::error_code ec;
    const stdfs::path to = stdfs::read_symlink(next, ec);
    if (ec) return std::nullopt;
    push_components(todo, to);
    if (to.is_absolute()) done = to.root_path();
  }
  return done.empty() ? std::string(".") : done.string();
}

std::unique_ptr<std::ostream> FileSystem::open_write(const std::string& path, bool binary, bool append) {
  if (kind(path) == Kind::kOther) return nullptr;
  auto mode = std::ios::out | (append ? std::ios::app : std::ios::trunc);
  if (binary) mode |= std::ios::binary;
  auto f = std::make_unique<std::ofstream>(path, mode);
  if (!f->is_open()) return nullptr;
  return f;
}

namespace {

using FdInBuf = __gnu_cxx::stdio_filebuf<char>;

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
  FdInBuf buf_;
};

// The name of the extended attribute that holds a file's access list.
constexpr const char* kAccessAclName = "system.posix_acl_access";

bool no_acl_here(int error) { return error == ENODATA || error == ENOTSUP || error == EOPNOTSUPP; }

// The access list of a file through `get` (fgetxattr or lgetxattr): none
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

}  // namespace

std::unique_ptr<FileSystem::ReadFile> FileSystem::open_read(const std::string& path) {
  // Not blocking at the open: a FIFO put in the file's place meanwhile is
  // refused below instead of waiting for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
    ::close(fd);
    return nullptr;
  }
  auto in = std::make_unique<FdReadFile>(fd);
  if (!in->is_open()) {
    ::close(fd);
    return nullptr;
  }
  return in;
}

namespace {

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

std::optional<FileSystem::Protection> FileSystem::protection(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
  auto p = protection_of(st);
  if (p && !read_acl([&path](char* v, std::size_t n) { return ::lgetxattr(path.c_str(), kAccessAclName, v, n); },
                     p->acl)) {
    return std::nullopt;
  }
  return p;
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

}  // namespace

std::unique_ptr<std::ostream> FileSystem::create_new(const std::string& path, const Protection* like) {
  // A file that will hold an existing file's content is born private and
  // widened only to its model's protection: no one can open it meanwhile.
  const int fd = create_exclusive(path, like != nullptr ? 0600 : 0666);
  if (fd < 0) return nullptr;
  if (like != nullptr && !take_protection(fd, *like)) {
    ::close(fd);
    ::unlink(path.c_str());
    return nullptr;
  }
  return std::make_unique<FdStream>(fd);
}

int FileSystem::create_exclusive(const std::string& path, unsigned mode) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(mode));
}

bool FileSystem::close(std::ostream& out) {
  out.flush();
  bool ok = !out.fail();
  if (auto* f = dynamic_cast<FdStream*>(&out)) {
    ok = f->finish() && ok;
  } else if (auto* f = dynamic_cast<std::ofstream*>(&out)) {
    f->close();
    ok = ok && !f->fail();
  }
  return ok;
}

bool FileSystem::exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

bool FileSystem::may_write(const std::string& path) {
  if (kind(path) == Kind::kAbsent) return true;
  // No write bit at all: protected on purpose, for root too.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0) return false;
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool FileSystem::may_replace(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  const std::filesystem::path p = path;
  struct stat folder {};
  if (::stat(p.has_parent_path() ? p.parent_path().c_str() : ".", &folder) != 0) return false;
  const uid_t me = ::geteuid();
  return (folder.st_mode & S_ISVTX) == 0 || me == 0 || st.st_uid == me || folder.st_uid == me;
}

std::vector<std::string> FileSystem::regular_files_in(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code type_ec;
    if (it->symlink_status(type_ec).type() == std::filesystem::file_type::regular) {
      names.push_back(it->path().filename().string());
    }
  }
  return names;
}

bool FileSystem::remove(const std::string& path) {
  std::error_code ec;
  return std::filesystem::remove(path, ec) && !ec;
}

bool FileSystem::rename(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::rename(from, to, ec);
  return !ec;
}

namespace {

// A record lock held through an open file, let go when it closes.
class RecordLock : public FileSystem::Lock {
 public:
  explicit RecordLock(int fd) : fd_(fd) {}
  ~RecordLock() override { ::close(fd_); }  // closing the last descriptor releases the lock
  RecordLock(const RecordLock&) = delete;
  RecordLock& operator=(const RecordLock&) = delete;

 private:
  int fd_;
};

// A lock of the whole file, of the type `type`.
struct flock whole_file(short type) {
  struct flock whole {};
  whole.l_type = type;
  whole.l_whence = SEEK_SET;  // from byte 0 to the end, however long
  return whole;
}

int set_lock(int fd, int command, short type = F_WRLCK) {
  struct flock whole = whole_file(type);
  int done = 0;
  do {
    done = ::fcntl(fd, command, &whole);
  } while (done != 0 && errno == EINTR);
  return done;
}

// Whether a lock attempt failed only because another holds the lock.
bool busy(int error) { return error == EAGAIN || error == EACCES; }

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
// and write for the users who may write in the folder, no one else. A
// lock file of another user's is left as it is. false when it cannot be
// given.
bool protect_lock_file(int fd, const struct stat& file, const struct stat& folder) {
  if (file.st_uid != ::geteuid()) return true;
  mode_t wanted = 0600;
  const bool group = (folder.st_mode & S_IWGRP) != 0;
  const bool others = (folder.st_mode & S_IWOTH) != 0;
  if (group) wanted |= 0060;
  if (others) wanted |= 0006;
  // The group matters only where others may not write anyway.
  if (group && !others && file.st_gid != folder.st_gid && ::fchown(fd, static_cast<uid_t>(-1), folder.st_gid) != 0) {
    return false;
  }
  return (file.st_mode & 07777) == wanted || ::fchmod(fd, wanted) == 0;
}

}  // namespace

std::unique_ptr<FileSystem::Lock> FileSystem::hold(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return errno == ENOENT ? nullptr : std::make_unique<Lock>();
  auto held = std::make_unique<RecordLock>(fd);
  if (set_lock(fd, F_OFD_SETLK, F_RDLCK) != 0) return std::make_unique<Lock>();
  // Removed before it was held: someone's clean-up took it for stale.
  struct stat st {};
  if (::fstat(fd, &st) != 0 || st.st_nlink == 0) return nullptr;
  return held;
}

bool FileSystem::in_use(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return true;
  struct flock probe = whole_file(F_WRLCK);
  const bool used = ::fcntl(fd, F_OFD_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
  ::close(fd);
  return used;
}

FileSystem::Locked FileSystem::lock_directory(const std::string& dir, const std::function<void()>& on_wait,
                                              std::chrono::milliseconds limit) {
  const std::string folder_name = dir.empty() ? "." : dir;
  const std::string name = folder_name + "/" + std::string(kLockFileName);
  struct stat folder {};
  if (::stat(folder_name.c_str(), &folder) != 0) return {nullptr, LockFailure::kNoLockFile};
  // Made private, and given its protection before anyone else may open it.
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  bool made = true;
  int fd = ::open(name.c_str(), kFlags | O_CREAT | O_EXCL, 0600);
  if (fd < 0 && errno == EEXIST) {
    made = false;
    fd = ::open(name.c_str(), kFlags);
  }
  if (fd < 0) return {nullptr, open_failure(errno)};
  auto lock = std::make_unique<RecordLock>(fd);  // closes it on every way out
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return {nullptr, LockFailure::kNotPlainFile};
  if (!protect_lock_file(fd, st, folder)) {
    if (made) ::unlink(name.c_str());  // no lock file left that others could not use
    return {nullptr, LockFailure::kNoPermission};
  }
  if (set_lock(fd, F_OFD_SETLK) == 0) return {std::move(lock), LockFailure::kNone};
  if (!busy(errno)) return {nullptr, LockFailure::kRefused};
  if (on_wait) on_wait();
  // Tried again at short intervals until the limit: a holder that never
  // lets go costs a bounded wait, never the session.
  constexpr std::chrono::milliseconds kRetry{50};
  const auto until = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left <= std::chrono::milliseconds::zero()) return {nullptr, LockFailure::kStillHeld};
    std::this_thread::sleep_for(std::min(left, kRetry));
    if (set_lock(fd, F_OFD_SETLK) == 0) return {std::move(lock), LockFailure::kNone};
    if (!busy(errno)) return {nullptr, LockFailure::kRefused};
  }
}

}  // namespace kelp
