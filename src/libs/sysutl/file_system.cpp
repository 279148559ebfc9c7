#include "sysutl/file_system.hpp"

#include <ext/stdio_filebuf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <streambuf>

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

std::optional<std::string> FileSystem::follow_links(const std::string& path, bool protect) {
  // Linux follows at most 40 links in one name; a longer chain is a loop.
  constexpr int kMostLinks = 40;
  std::filesystem::path p = path;
  for (int k = 0; k < kMostLinks; ++k) {
    struct stat link {};
    if (::lstat(p.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return p.string();
    const std::filesystem::path dir = p.has_parent_path() ? p.parent_path() : std::filesystem::path(".");
    if (protect) {
      // Another user's link in a shared scratch folder could point anywhere
      // this user may write: the kernel refuses to follow it, and so do we.
      struct stat folder {};
      if (::stat(dir.c_str(), &folder) != 0) return std::nullopt;
      const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
      if (shared && link.st_uid != ::geteuid() && link.st_uid != folder.st_uid) return std::nullopt;
    }
    std::error_code ec;
    const std::filesystem::path to = std::filesystem::read_symlink(p, ec);
    if (ec) return protect ? std::nullopt : std::optional<std::string>(path);
    p = to.is_absolute() ? to : dir / to;
  }
  return path;
}

std::string FileSystem::final_target(const std::string& path) { return *follow_links(path, false); }

bool FileSystem::may_follow(const std::string& path) { return follow_links(path, true).has_value(); }

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

// An input stream that owns a file buffer on a descriptor: the descriptor
// stays at hand for fstat, and a read error surfaces as the badbit of the
// stream's read calls, as with any file stream.
class FdInStream : public std::istream {
 public:
  explicit FdInStream(int fd) : std::istream(nullptr), buf_(fd, std::ios::in) { rdbuf(&buf_); }
  bool is_open() const { return buf_.is_open(); }
  int fd() { return buf_.fd(); }

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

std::unique_ptr<std::istream> FileSystem::open_read(const std::string& path, bool binary) {
  (void)binary;  // text and bytes read alike here
  // Not blocking at the open: a FIFO put in the file's place meanwhile is
  // refused below instead of waiting for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
    ::close(fd);
    return nullptr;
  }
  auto in = std::make_unique<FdInStream>(fd);
  if (!in->is_open()) {
    ::close(fd);
    return nullptr;
  }
  return in;
}

std::optional<FileSystem::Protection> FileSystem::protection(std::istream& opened) {
  auto* in = dynamic_cast<FdInStream*>(&opened);
  struct stat st {};
  if (in == nullptr || ::fstat(in->fd(), &st) != 0) return std::nullopt;
  auto p = protection_of(st);
  const int fd = in->fd();
  if (p && !read_acl([fd](char* v, std::size_t n) { return ::fgetxattr(fd, kAccessAclName, v, n); }, p->acl)) {
    return std::nullopt;
  }
  return p;
}

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
  const mode_t born = like != nullptr ? 0600 : 0666;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, born);
  if (fd < 0) return nullptr;
  if (like != nullptr && !take_protection(fd, *like)) {
    ::close(fd);
    ::unlink(path.c_str());
    return nullptr;
  }
  return std::make_unique<FdStream>(fd);
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

class FolderLock : public FileSystem::Lock {
 public:
  explicit FolderLock(int fd) : fd_(fd) {}
  ~FolderLock() override { ::close(fd_); }  // closing the last descriptor releases the lock
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_;
};

int set_lock(int fd, int command) {
  struct flock whole {};
  whole.l_type = F_WRLCK;
  whole.l_whence = SEEK_SET;  // from byte 0 to the end, however long
  int done = 0;
  do {
    done = ::fcntl(fd, command, &whole);
  } while (done != 0 && errno == EINTR);
  return done;
}

// A new lock file is readable and writable by every user, whatever the
// umask: it holds nothing, the folder's own bits decide who reaches it, and
// every user who may save in the folder, now or after its permissions
// change, must be able to lock it.
constexpr mode_t kLockFileMode = 0666;

}  // namespace

std::unique_ptr<FileSystem::Lock> FileSystem::lock_directory(const std::string& dir,
                                                             const std::function<void()>& on_wait) {
  const std::string folder = dir.empty() ? "." : dir;
  const std::string name = folder + "/" + std::string(kLockFileName);
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  int fd = ::open(name.c_str(), kFlags | O_CREAT | O_EXCL, 0600);
  if (fd >= 0) {
    ::fchmod(fd, kLockFileMode);
  } else if (errno == EEXIST) {
    fd = ::open(name.c_str(), kFlags);
  }
  if (fd < 0) return nullptr;
  auto lock = std::make_unique<FolderLock>(fd);  // closes it on every way out
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  int done = set_lock(fd, F_OFD_SETLK);
  if (done != 0 && (errno == EAGAIN || errno == EACCES)) {
    if (on_wait) on_wait();
    done = set_lock(fd, F_OFD_SETLKW);
  }
  if (done != 0) return nullptr;
  return lock;
}

}  // namespace kelp
