#include "sysutl/session.hpp"
#include "sysutl/text.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>

#include "sysutl/file_replace.hpp"

namespace kelp {

namespace {

// Forwards to another stream buffer and remembers the last character, so the
// session knows whether the cursor stands at the start of a line.
class TrackingBuf : public std::streambuf {
 public:
  explicit TrackingBuf(std::streambuf* target) : target_(target) {}
  char last() const { return last_; }

 protected:
  int_type overflow(int_type ch) override {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    last_ = traits_type::to_char_type(ch);
    return target_->sputc(last_);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    if (n > 0) last_ = s[n - 1];
    return target_->sputn(s, n);
  }
  int sync() override { return target_->pubsync(); }

 private:
  std::streambuf* target_;
  char last_ = '\n';
};

}  // namespace

// ---- FileSystem ----

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

std::string FileSystem::final_target(const std::string& path) {
  // Linux follows at most 40 links in one name; a longer chain is a loop.
  constexpr int kMostLinks = 40;
  std::filesystem::path p = path;
  for (int k = 0; k < kMostLinks; ++k) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(p, ec))) return p.string();
    const std::filesystem::path to = std::filesystem::read_symlink(p, ec);
    if (ec) return path;
    p = to.is_absolute() ? to : p.parent_path() / to;
  }
  return path;
}

std::unique_ptr<std::ostream> FileSystem::open_write(const std::string& path, bool binary, bool append) {
  if (kind(path) == Kind::kOther) return nullptr;
  auto mode = std::ios::out | (append ? std::ios::app : std::ios::trunc);
  if (binary) mode |= std::ios::binary;
  auto f = std::make_unique<std::ofstream>(path, mode);
  if (!f->is_open()) return nullptr;
  return f;
}

std::unique_ptr<std::istream> FileSystem::open_read(const std::string& path, bool binary) {
  if (kind(path) != Kind::kRegular) return nullptr;
  auto f = std::make_unique<std::ifstream>(path, binary ? std::ios::in | std::ios::binary : std::ios::in);
  if (!f->is_open()) return nullptr;
  return f;
}

namespace {

// Gives the new file open on fd the owner, group and permission bits of the
// file `from` describes, as far as this process may: only root can give a
// file away, a group can be set by its members. When the group stays
// another than `from`'s, the group's bits are dropped: the file must not
// open to a group that could not read the file it replaces. false when the
// file would end up wider open than that (the bits cannot be set, on a file
// system that keeps permissions).
bool take_protection(int fd, const struct stat& from) {
  if (::fchown(fd, from.st_uid, from.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), from.st_gid) != 0) {
    // Owner and group stay this process's; the bits below decide.
  }
  struct stat now {};
  if (::fstat(fd, &now) != 0) return false;
  mode_t mode = from.st_mode & 0777;
  if (now.st_gid != from.st_gid) mode &= ~static_cast<mode_t>(070);
  if (::fchmod(fd, mode) == 0) return true;
  // A file system without permissions of its own gives every file the same
  // bits: good enough when they are no wider than wanted.
  return ::fstat(fd, &now) == 0 && (now.st_mode & 0777 & ~mode) == 0;
}

}  // namespace

std::unique_ptr<std::ostream> FileSystem::create_new(const std::string& path, const std::string& like) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat from {};
  if (!like.empty() && ::stat(like.c_str(), &from) == 0 && !take_protection(fd, from)) {
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

class DirectoryLock : public FileSystem::Lock {
 public:
  explicit DirectoryLock(int fd) : fd_(fd) {}
  ~DirectoryLock() override { ::close(fd_); }  // closing releases the lock
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

 private:
  int fd_;
};

int flock_retried(int fd, int operation) {
  int done = 0;
  do {
    done = ::flock(fd, operation);
  } while (done != 0 && errno == EINTR);
  return done;
}

}  // namespace

std::unique_ptr<FileSystem::Lock> FileSystem::lock_directory(const std::string& dir,
                                                             const std::function<void()>& on_wait) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  int done = flock_retried(fd, LOCK_EX | LOCK_NB);
  if (done != 0 && errno == EWOULDBLOCK) {
    if (on_wait) on_wait();
    done = flock_retried(fd, LOCK_EX);
  }
  if (done != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<DirectoryLock>(fd);
}

// ---- Session ----

struct Session::OutUnit {
  std::string path;
  std::unique_ptr<std::ostream> stream;
  bool staged = false;  // an std::ostringstream written to path at close
};

struct Session::InUnit {
  std::string path;
  std::unique_ptr<std::istream> stream;
};

Session::Session(std::istream& in, std::ostream& screen, std::ostream& errors, bool screen_is_terminal)
    : in_(in),
      screen_(&screen),
      errors_(errors),
      screen_is_terminal_(screen_is_terminal),
      files_(std::make_shared<FileSystem>()) {
  screen_tracker_ = std::make_unique<TrackingBuf>(screen.rdbuf());
  tracked_screen_ = std::make_unique<std::ostream>(screen_tracker_.get());
  null_ = std::make_unique<std::ostream>(nullptr);
}

Session::~Session() {
  for (auto& [u, unit] : out_units_) {
    if (unit->stream) unit->stream->flush();
  }
  tracked_screen_->flush();
}

std::ostream& Session::unit(int u) {
  if (u == kScreen) return *tracked_screen_;
  if (u == kErrorUnit) return errors_;
  auto it = out_units_.find(u);
  if (it != out_units_.end() && it->second->stream) return *it->second->stream;
  // A stream without a buffer fails every write quietly.
  null_->clear();
  return *null_;
}

void Session::write(int u, std::string_view text) { unit(u) << text; }

void Session::write_line(int u, std::string_view line) { unit(u) << line << '\n'; }

bool Session::open_output(int u, const std::string& path, bool append, bool binary) {
  close_unit(u);
  auto stream = files_->open_write(path, binary, append);
  if (!stream) return false;
  out_units_[u] = std::make_unique<OutUnit>(OutUnit{path, std::move(stream)});
  return true;
}

bool Session::open_staged(int u, const std::string& path) {
  close_unit(u);
  if (files_->kind(files_->final_target(path)) == FileSystem::Kind::kOther) return false;
  out_units_[u] = std::make_unique<OutUnit>(OutUnit{path, std::make_unique<std::ostringstream>(), true});
  return true;
}

bool Session::open_input(int u, const std::string& path, bool binary) {
  close_unit(u);
  auto stream = files_->open_read(path, binary);
  if (!stream) return false;
  in_units_[u] = std::make_unique<InUnit>(InUnit{path, std::move(stream)});
  return true;
}

bool Session::is_open(int u) const { return out_units_.count(u) != 0 || in_units_.count(u) != 0; }

bool Session::close_unit(int u) {
  bool ok = true;
  if (auto it = out_units_.find(u); it != out_units_.end()) {
    // Taken off the unit first: nothing written while the file is replaced
    // can land in it.
    const std::unique_ptr<OutUnit> unit = std::move(it->second);
    out_units_.erase(it);
    if (unit->staged) {
      ok = replace_file(*this, unit->path, static_cast<std::ostringstream&>(*unit->stream).view());
    } else {
      ok = files_->close(*unit->stream);
    }
  }
  in_units_.erase(u);
  return ok;
}

std::string Session::unit_file(int u) const {
  if (auto it = out_units_.find(u); it != out_units_.end()) return it->second->path;
  if (auto it = in_units_.find(u); it != in_units_.end()) return it->second->path;
  return {};
}

bool Session::at_line_start() const {
  return static_cast<const TrackingBuf*>(screen_tracker_.get())->last() == '\n';
}

void Session::prompt(int out, std::string_view text) {
  if (is_silent(out)) return;
  auto& s = unit(kScreen);
  s << ' ' << text;
  s.flush();
}

void Session::clear_screen(int out) {
  if (is_silent(out) || !screen_is_terminal_) return;
  auto& s = unit(kScreen);
  s << "\x1b[H\x1b[2J";
  s.flush();
}

std::string Session::read_line(int in) {
  unit(kScreen).flush();
  if (in == kKeyboard || !in_units_.count(in)) {
    std::string line;
    if (!std::getline(in_, line)) end_of_input();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  auto line = try_read_line(in);
  if (!line) end_of_input();
  return *line;
}

std::string Session::read_field(int in, std::size_t width) {
  return fixed(read_line(in), width);
}

std::optional<std::string> Session::try_read_line(int in) {
  auto it = in_units_.find(in);
  std::istream& s = it != in_units_.end() ? *it->second->stream : in_;
  std::string line;
  if (!std::getline(s, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void Session::note_saved(const std::string& name) {
  if (std::find(saved_files_.begin(), saved_files_.end(), name) == saved_files_.end()) saved_files_.push_back(name);
}

void Session::end_of_input() {
  auto& s = unit(kScreen);
  if (!at_line_start()) s << '\n';
  if (saved_files_.empty()) {
    s << kEndOfInputMessage << '\n';
  } else {
    s << " ++> End of input: session ended; saved before it:";
    for (const auto& name : saved_files_) s << ' ' << name;
    s << '\n';
  }
  s.flush();
  throw EndOfInput();
}

}  // namespace kelp
