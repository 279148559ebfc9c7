#pragma once
// Private temporary directories, small file helpers, the big-endian bytes of
// data files, and file layers (one in a directory of its own, one that
// fails a chosen step), for tests.
#include <gtest/gtest.h>

#include <acl/libacl.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sysutl/folder_locks.hpp"
#include "sysutl/session.hpp"

namespace kelp::testing {

// A fresh directory of its own (mkdtemp) under the system's temporary
// directory; throws when none can be made.
inline std::filesystem::path make_temp_dir(std::string_view prefix = "kelp") {
  std::string templ = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (::mkdtemp(templ.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
  return templ;
}

// The whole contents of a file ("" when it cannot be read).
inline std::string slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Replaces a file by the given bytes.
inline void write_file(const std::string& path, std::string_view bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The big-endian bytes of a 32-bit word, and the word at a byte offset.
inline std::string be32(std::uint32_t v) {
  std::string b(4, '\0');
  for (std::size_t k = 0; k < 4; ++k) b[k] = static_cast<char>((v >> (24 - 8 * k)) & 0xFFu);
  return b;
}
inline std::uint32_t get_be32(const std::string& bytes, std::size_t offset) {
  std::uint32_t v = 0;
  for (std::size_t k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(bytes.at(offset + k));
  return v;
}

// The names a directory holds, but the empty lock file that every save and
// every replaced file leave in the folders they write in (tested on its
// own).
inline std::set<std::string> entries_of(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename().string());
  names.erase(std::string(kLockFileName));
  return names;
}

// Gives `path` the access list written as `text` ("u::rwx,u:65533:rwx,
// g::r-x,m::rwx,o::---"), as its own or as its folder's default for new
// files; false when its file system keeps no lists.
inline bool set_list(const std::string& path, const char* text, bool as_default = false) {
  acl_t acl = acl_from_text(text);
  if (acl == nullptr) throw std::invalid_argument(text);
  const bool set = acl_set_file(path.c_str(), as_default ? ACL_TYPE_DEFAULT : ACL_TYPE_ACCESS, acl) == 0;
  acl_free(acl);
  return set;
}

// The access list of `path` in that form, with numeric ids; "" when none
// can be read.
inline std::string list_of(const std::string& path) {
  acl_t acl = acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
  if (acl == nullptr) return {};
  char* text = acl_to_any_text(acl, nullptr, ',', TEXT_ABBREVIATE | TEXT_NUMERIC_IDS);
  std::string list = text != nullptr ? text : "";
  acl_free(text);
  acl_free(acl);
  return list;
}

// Acts as the user `uid` of the group `gid` alone (effective ids) for as
// long as it lives, root's again after: for tests run as root.
class AsUser {
 public:
  explicit AsUser(uid_t uid, gid_t gid) : groups_(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0))) {
    EXPECT_GE(::getgroups(static_cast<int>(groups_.size()), groups_.data()), 0);
    EXPECT_EQ(::setgroups(0, nullptr), 0);
    EXPECT_EQ(::setegid(gid), 0);
    EXPECT_EQ(::seteuid(uid), 0);
  }
  explicit AsUser(uid_t id) : AsUser(id, id) {}
  ~AsUser() {
    EXPECT_EQ(::seteuid(0), 0);
    EXPECT_EQ(::setegid(0), 0);
    EXPECT_EQ(::setgroups(groups_.size(), groups_.data()), 0);
  }
  AsUser(const AsUser&) = delete;
  AsUser& operator=(const AsUser&) = delete;

 private:
  std::vector<gid_t> groups_;
};

// A temporary directory removed with all it holds when the object goes.
class TempDir {
 public:
  explicit TempDir(std::string_view prefix = "kelp") : path_(make_temp_dir(prefix)) {}
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of a file in the directory.
  std::string file(std::string_view name) const { return (path_ / name).string(); }
  std::string operator/(std::string_view name) const { return file(name); }

 private:
  std::filesystem::path path_;
};

// Test fixture: each test runs with a fresh temporary directory as its
// working directory (the editors open their files by bare name).
class InTempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = std::filesystem::current_path();
    dir_ = make_temp_dir("kelp-test");
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
    std::filesystem::remove_all(dir_, ec);
  }
  static std::string read(const std::string& name) { return slurp(name); }
  static void write(const std::string& name, const std::string& bytes) { write_file(name, bytes); }

  std::filesystem::path old_;
  std::filesystem::path dir_;
};

// A file open for reading whose every read fails (a disk's read error),
// with the protection of the real file it stands for, if any.
class FailingReadFile : public FileSystem::ReadFile {
 public:
  explicit FailingReadFile(std::unique_ptr<ReadFile> real = nullptr) : real_(std::move(real)) { rdbuf(&buf_); }
  std::optional<FileSystem::Protection> protection() override {
    return real_ ? real_->protection() : std::nullopt;
  }

 private:
  struct Buf : std::streambuf {
    int_type underflow() override { throw std::ios_base::failure("read error"); }
  };
  Buf buf_;
  std::unique_ptr<ReadFile> real_;
};

// A file layer that keeps every file of the session in a fresh directory of
// its own, removed with the object: relative names start there instead of
// in the working directory.
class DirFiles : public FileSystem {
 public:
  DirFiles() : dir_("kelp-files") {}
  std::string at(const std::string& p) const { return dir_.file(p); }
  FolderRef working_folder() override {
    Fd fd(::open(dir_.path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    return fd ? std::make_shared<const Folder>(std::move(fd), ".") : nullptr;
  }

  void put(const std::string& name, const std::string& bytes) { write_file(at(name), bytes); }
  std::string get(const std::string& name) const { return slurp(at(name)); }

 private:
  TempDir dir_;
};

// The folder `dir` opened as a save's walk would find it.
inline FolderRef folder_at(FileSystem& fs, const std::string& dir) {
  const Resolution r = fs.resolve(dir + "/.");
  return r ? r.at().folder : nullptr;
}

// The save lock of the folder `dir`, taken at once (none when another
// holds it or it cannot be had).
inline std::optional<FolderLock> lock_of(const std::string& dir) {
  FileSystem fs;
  const FolderRef folder = folder_at(fs, dir);
  LockBudget now{std::chrono::steady_clock::now(), 0};
  return folder ? FolderLocker().lock(fs, folder, now, {}, {}).lock : std::nullopt;
}

// Holds the file `path` in use as a live replacement holds its temporary
// (a shared record lock of its own) until the object goes.
class HeldInUse {
 public:
  explicit HeldInUse(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC)) {
    struct flock whole {};
    whole.l_type = F_RDLCK;
    whole.l_whence = SEEK_SET;
    EXPECT_EQ(::fcntl(fd_, F_OFD_SETLK, &whole), 0) << path;
  }
  ~HeldInUse() {
    if (fd_ >= 0) ::close(fd_);
  }
  HeldInUse(const HeldInUse&) = delete;
  HeldInUse& operator=(const HeldInUse&) = delete;

 private:
  int fd_;
};

// A file layer that fails one step of the file work, for every file or for
// one target and its temporaries ("<target>.kelp..."), files named as a
// walk from the working directory names them: kCreate, no new file can be
// made; kWrite, a new file is made but nothing written reaches it (a full
// disk: /dev/full); kOpenWrite, a file opened for writing in place fails at
// its first byte; kRename, nothing is renamed onto the target. The names in
// `unreadable` and `unwritable` are refused as a user without read or
// write permission meets them (the tests run as root, who meets none); those
// in `unexaminable` give no protection to copy; those in `read_errors` open
// but fail at their first read; a `no_lock` layer cannot lock, as some file
// systems cannot (pass it as the save's locker). `born` records the
// permission bits of every new file as it is created, before anything
// widens them.
struct FaultyFiles : FileSystem, FolderLocker {
  enum Step { kNone, kCreate, kWrite, kOpenWrite, kRename };
  explicit FaultyFiles(Step step = kNone, std::string target = {}) : step(step), target(std::move(target)) {}
  Step step;
  std::string target;  // empty: every file
  std::set<std::string> unreadable;
  std::set<std::string> unwritable;
  std::set<std::string> unexaminable;
  std::set<std::string> read_errors;
  bool no_lock = false;
  std::map<std::string, unsigned> born;
  // A file system that keeps no permissions: every new file shows these
  // bits, and no bits, owner or group can be set.
  std::optional<unsigned> fixed_mode;
  bool no_owners = false;     // one that gives no file another owner or group
  int acl_removal_error = 0;  // every access list's removal fails with this error (ENODATA: gone meanwhile)
  int acl_read_error = 0;     // every access list of a new file fails to be read so
  bool no_lists_given = false;  // every access list to be given is refused (EOPNOTSUPP)
  int link_error = 0;         // one without hard links: every link fails so (EPERM on FAT)
  // The lock file of a folder: its birth (or its temporary's) fails with
  // this error; its name is found taken at so many of its links (another
  // session's lock file came first, and was gone when looked for).
  int lock_birth_error = 0;
  int lock_name_taken = 0;

  bool aims_at_temporary(const Place& at) const {
    return target.empty() || at.path().starts_with(target + ".kelp");
  }
  NewFile create_new(const Place& at, const Protection* like) override {
    const bool hit = aims_at_temporary(at);
    if (hit && step == kCreate) return {nullptr, nullptr, false, Refusal::kFolderNotWritable};
    NewFile made = FileSystem::create_new(at, like);
    if (made.out && hit && step == kWrite) made.out = std::make_unique<std::ofstream>("/dev/full", std::ios::binary);
    return made;
  }
  std::unique_ptr<std::ostream> open_write_at(const Place& at, bool binary, bool append) override {
    if (step != kOpenWrite || !(target.empty() || at.path() == target)) {
      return FileSystem::open_write_at(at, binary, append);
    }
    struct Broken : std::streambuf {
      int_type overflow(int_type) override { return traits_type::eof(); }
    };
    struct Holder : std::ostream {
      Holder() : std::ostream(nullptr) { rdbuf(&buf); }
      Broken buf;
    };
    return std::make_unique<Holder>();
  }
  std::unique_ptr<ReadFile> open_read_at(const Place& at) override {
    if (unreadable.contains(at.path())) {
      errno = EACCES;
      return nullptr;
    }
    auto real = FileSystem::open_read_at(at);
    if (real && read_errors.contains(at.path())) return std::make_unique<FailingReadFile>(std::move(real));
    return real;
  }
  static bool is_lock_file(const Place& at) {
    return at.leaf == kLockFileName || is_temporary_of(at.leaf, kLockFileName);
  }
  Fd create_exclusive(const Place& at, unsigned mode) override {
    if (lock_birth_error != 0 && is_lock_file(at)) return errno = lock_birth_error, Fd();
    Fd fd = FileSystem::create_exclusive(at, mode);
    struct stat st {};
    if (fd && ::fstat(fd.get(), &st) == 0) born[at.path()] = st.st_mode & 07777;
    if (fd && fixed_mode) ::fchmod(fd.get(), *fixed_mode);
    return fd;
  }
  bool change_mode(const Fd& fd, unsigned mode) override {
    return fixed_mode ? (errno = EPERM, false) : FileSystem::change_mode(fd, mode);
  }
  bool change_owner(const Fd& fd, unsigned uid, unsigned gid) override {
    return fixed_mode || no_owners ? (errno = EPERM, false) : FileSystem::change_owner(fd, uid, gid);
  }
  bool remove_acl(const Fd& fd) override {
    if (acl_removal_error == ENODATA) FileSystem::remove_acl(fd);
    return acl_removal_error != 0 ? (errno = acl_removal_error, false) : FileSystem::remove_acl(fd);
  }
  bool give_access_list(const Fd& fd, const AccessList& list) override {
    return no_lists_given ? (errno = EOPNOTSUPP, false) : FileSystem::give_access_list(fd, list);
  }
  bool read_acl_on(const Fd& fd, std::optional<std::string>& acl) override {
    return acl_read_error != 0 ? (errno = acl_read_error, false) : FileSystem::read_acl_on(fd, acl);
  }
  Fd open_existing(const Place& at, int flags) override {
    if (unwritable.contains(at.path()) && (flags & O_ACCMODE) != O_RDONLY) return errno = EACCES, Fd();
    return FileSystem::open_existing(at, flags);
  }
  bool may_write_at(const Place& at) override {
    return !unwritable.contains(at.path()) && FileSystem::may_write_at(at);
  }
  std::optional<Protection> protection_at(const Place& at) override {
    return unexaminable.contains(at.path()) ? std::nullopt : FileSystem::protection_at(at);
  }
  bool rename_at(const Place& from, const Place& to) override {
    if (step == kRename && (target.empty() || to.path() == target)) {
      errno = EIO;
      return false;
    }
    return FileSystem::rename_at(from, to);
  }
  bool link_at(const Place& from, const Place& to) override {
    if (to.leaf == kLockFileName && lock_name_taken > 0 && lock_name_taken--) return errno = EEXIST, false;
    return link_error != 0 ? (errno = link_error, false) : FileSystem::link_at(from, to);
  }
  Locked lock(FileSystem& fs, const FolderRef& folder, LockBudget& budget, std::span<const FolderLock> held,
              const std::function<void()>& on_wait) override {
    if (no_lock) return {std::nullopt, {LockFailure::kRefused, Refusal::kNone, 0, std::nullopt}};
    return FolderLocker::lock(fs, folder, budget, held, on_wait);
  }
};

}  // namespace kelp::testing
