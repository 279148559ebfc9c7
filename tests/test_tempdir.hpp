#pragma once
// Private temporary directories, small file helpers, the big-endian bytes of
// data files, and file layers (one in a directory of its own, one that
// fails a chosen step), for tests.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
// its own, removed with the object. Its files are plain files: it follows no
// symbolic links of its own.
class DirFiles : public FileSystem {
 public:
  DirFiles() : dir_("kelp-files") {}
  std::string at(const std::string& p) const { return dir_.file(p); }
  std::unique_ptr<std::ostream> open_write(const std::string& p, bool b, bool a) override {
    return FileSystem::open_write(at(p), b, a);
  }
  std::unique_ptr<ReadFile> open_read(const std::string& p) override { return FileSystem::open_read(at(p)); }
  std::unique_ptr<std::ostream> create_new(const std::string& p, const Protection* like) override {
    return FileSystem::create_new(at(p), like);
  }
  std::optional<Protection> protection(const std::string& p) override { return FileSystem::protection(at(p)); }
  Kind kind(const std::string& p) override { return FileSystem::kind(at(p)); }
  std::optional<std::string> resolve(const std::string& p) override { return p; }
  bool exists(const std::string& p) override { return FileSystem::exists(at(p)); }
  bool may_write(const std::string& p) override { return FileSystem::may_write(at(p)); }
  bool may_replace(const std::string& p) override { return FileSystem::may_replace(at(p)); }
  std::vector<std::string> regular_files_in(const std::string& d) override {
    return FileSystem::regular_files_in(at(d));
  }
  bool remove(const std::string& p) override { return FileSystem::remove(at(p)); }
  bool rename(const std::string& f, const std::string& t) override { return FileSystem::rename(at(f), at(t)); }
  std::unique_ptr<Lock> hold(const std::string& p) override { return FileSystem::hold(at(p)); }
  bool in_use(const std::string& p) override { return FileSystem::in_use(at(p)); }

  void put(const std::string& name, const std::string& bytes) { write_file(at(name), bytes); }
  std::string get(const std::string& name) const { return slurp(at(name)); }

 private:
  TempDir dir_;
};

// A file layer that fails one step of the file work, for every file or for
// one target and its temporaries ("<target>.kelp..."): kCreate, no new file
// can be made; kWrite, a new file is made but nothing written reaches it (a
// full disk: /dev/full); kOpenWrite, a file opened for writing fails at its
// first byte; kRename, nothing is renamed onto the target. The names in
// `unreadable` and `unwritable` are refused as a user without read or
// write permission meets them (the tests run as root, who meets none); those
// in `unexaminable` give no protection to copy; those in `read_errors` open
// but fail at their first read; a `no_lock` layer cannot lock, as some file
// systems cannot. `born` records the permission bits of every new file as
// it is created, before anything widens them.
struct FaultyFiles : FileSystem {
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

  bool aims_at_temporary(const std::string& path) const { return target.empty() || path.starts_with(target + ".kelp"); }
  std::unique_ptr<std::ostream> create_new(const std::string& path, const Protection* like) override {
    const bool hit = aims_at_temporary(path);
    if (hit && step == kCreate) return nullptr;
    auto made = FileSystem::create_new(path, like);
    if (made && hit && step == kWrite) return std::make_unique<std::ofstream>("/dev/full", std::ios::binary);
    return made;
  }
  std::unique_ptr<std::ostream> open_write(const std::string& path, bool binary, bool append) override {
    if (step != kOpenWrite || !(target.empty() || path == target)) return FileSystem::open_write(path, binary, append);
    struct Broken : std::streambuf {
      int_type overflow(int_type) override { return traits_type::eof(); }
    };
    struct Holder : std::ostream {
      Holder() : std::ostream(nullptr) { rdbuf(&buf); }
      Broken buf;
    };
    return std::make_unique<Holder>();
  }
  std::unique_ptr<ReadFile> open_read(const std::string& path) override {
    if (unreadable.contains(path)) return nullptr;
    auto real = FileSystem::open_read(path);
    if (real && read_errors.contains(path)) return std::make_unique<FailingReadFile>(std::move(real));
    return real;
  }
  int create_exclusive(const std::string& path, unsigned mode) override {
    const int fd = FileSystem::create_exclusive(path, mode);
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0) born[path] = st.st_mode & 07777;
    return fd;
  }
  bool may_write(const std::string& path) override { return !unwritable.contains(path) && FileSystem::may_write(path); }
  std::optional<Protection> protection(const std::string& path) override {
    return unexaminable.contains(path) ? std::nullopt : FileSystem::protection(path);
  }
  bool rename(const std::string& from, const std::string& to) override {
    return !(step == kRename && (target.empty() || to == target)) && FileSystem::rename(from, to);
  }
  Locked lock_directory(const std::string& dir, const std::function<void()>& on_wait,
                        std::chrono::milliseconds limit) override {
    return no_lock ? Locked{nullptr, LockFailure::kRefused} : FileSystem::lock_directory(dir, on_wait, limit);
  }
};

}  // namespace kelp::testing
