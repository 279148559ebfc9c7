#include "sysutl/file_replace.hpp"

#include <algorithm>
#include <array>
#include <filesystem>
#include <istream>
#include <map>
#include <sstream>
#include <memory>
#include <ostream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "sysutl/session.hpp"

namespace kelp {

namespace {

// Names tried for one temporary before giving up: each is taken only when
// nothing has it yet, so only a crowded or unwritable directory uses them up.
constexpr int kNameTries = 16;

// A temporary's name: the target's, this suffix, and this many characters
// of kTempChars.
constexpr std::string_view kTempSuffix = ".kelp";
constexpr std::size_t kTempRandom = 6;
constexpr std::string_view kTempChars = "abcdefghijklmnopqrstuvwxyz0123456789";

std::string temporary_name(const std::string& target) {
  static std::mt19937 random{std::random_device{}() ^ static_cast<unsigned>(::getpid())};
  std::uniform_int_distribution<std::size_t> pick(0, kTempChars.size() - 1);
  std::string name = target + std::string(kTempSuffix);
  for (std::size_t k = 0; k < kTempRandom; ++k) name += kTempChars[pick(random)];
  return name;
}

// Copies the rest of `in` to `out`: false when a write fails or `in` meets a
// read error (read_failed is then set).
bool copy_stream(std::istream& in, std::ostream& out, bool& read_failed) {
  std::array<char, 65536> buffer{};
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const std::streamsize got = in.gcount();
    if (got > 0 && !out.write(buffer.data(), got)) return false;
  }
  read_failed = in.bad();
  return !read_failed;
}

// The folder of a path as given ("." for a bare name).
std::filesystem::path parent_or_here(const std::filesystem::path& p) {
  return p.has_parent_path() ? p.parent_path() : std::filesystem::path(".");
}

}  // namespace

FileReplacement::FileReplacement(Session& s) : s_(s) {}

FileReplacement::~FileReplacement() {
  for (const auto& st : staged_) {
    if (!st.temp.empty()) s_.files().remove(st.temp);
  }
}

bool FileReplacement::fail(const std::string& path) {
  failed_ = path;
  return false;
}

template <class Write>
bool FileReplacement::stage_with(const std::string& path, std::istream* from, Write&& write) {
  FileSystem& fs = s_.files();
  if (!fs.may_follow(path)) return fail(path);
  const std::string target = fs.final_target(path);
  const FileSystem::Kind kind = fs.kind(target);
  if (kind == FileSystem::Kind::kOther) return fail(path);
  // A file this user could not write in place is not replaced either: the
  // rename would ask no permission of it.
  if (kind == FileSystem::Kind::kRegular && !fs.may_write(target)) return fail(path);

  // The new contents take the protection of the file they come from: the
  // file copied, else the file replaced; only a new name takes none.
  std::optional<FileSystem::Protection> model;
  if (from != nullptr) {
    model = fs.protection(*from);
    if (!model) return false;  // the caller names the file copied
  } else if (kind == FileSystem::Kind::kRegular) {
    model = fs.protection(target);
    if (!model) return fail(path);
  }
  std::string temp;
  std::unique_ptr<std::ostream> out;
  for (int k = 0; k < kNameTries && !out; ++k) {
    temp = temporary_name(target);
    out = fs.create_new(temp, model ? &*model : nullptr);
  }
  if (!out) return fail(path);
  // From here on the temporary is ours: it goes on every failure.
  staged_.push_back({path, target, temp});
  bool ok = write(*out);
  ok = fs.close(*out) && ok;
  out.reset();
  if (!ok) {
    fs.remove(temp);
    staged_.pop_back();
    return fail(path);
  }
  return true;
}

bool FileReplacement::stage(const std::string& path, std::string_view bytes) {
  return stage_with(path, nullptr, [&](std::ostream& out) {
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
  });
}

bool FileReplacement::stage_copy(const std::string& path, const std::string& from) {
  auto in = s_.files().open_read(from, true);
  if (!in) return fail(path);
  // A read error or a copied file that cannot be examined is the copied
  // file's fault, and named so.
  bool read_failed = false;
  failed_.clear();
  if (stage_with(path, in.get(), [&](std::ostream& out) { return copy_stream(*in, out, read_failed); })) return true;
  return fail(read_failed || failed_.empty() ? from : failed_);
}

bool FileReplacement::commit() {
  FileSystem& fs = s_.files();
  for (std::size_t k = committed_; k < staged_.size(); ++k) {
    Staged& st = staged_[k];
    if (!fs.rename(st.temp, st.target)) {
      for (std::size_t j = k; j < staged_.size(); ++j) {
        fs.remove(staged_[j].temp);
        staged_[j].temp.clear();
      }
      return fail(st.path);
    }
    st.temp.clear();
    ++committed_;
  }
  return true;
}

bool is_temporary_of(std::string_view name, std::string_view target) {
  if (name.size() != target.size() + kTempSuffix.size() + kTempRandom || !name.starts_with(target)) return false;
  name.remove_prefix(target.size());
  if (!name.starts_with(kTempSuffix)) return false;
  name.remove_prefix(kTempSuffix.size());
  return std::ranges::all_of(name, [](char c) { return kTempChars.find(c) != std::string_view::npos; });
}

std::optional<std::string> read_whole(FileSystem& fs, const std::string& path) {
  auto in = fs.open_read(path, true);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bool read_failed = false;
  if (!copy_stream(*in, bytes, read_failed)) return std::nullopt;
  return std::move(bytes).str();
}

std::string folder_of(FileSystem& fs, const std::string& path) {
  return parent_or_here(fs.final_target(path)).string();
}

namespace {

std::optional<std::pair<std::uint64_t, std::uint64_t>> folder_id(const std::string& dir) {
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) return std::nullopt;
  return std::pair<std::uint64_t, std::uint64_t>{st.st_dev, st.st_ino};
}

}  // namespace

FolderLocks::FolderLocks(Session& s, const std::vector<std::string>& names, const std::function<void()>& on_wait)
    : s_(s) {
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> folders;  // ordered by device and inode
  for (const std::string& name : names) {
    const std::string dir = folder_of(s.files(), name);
    if (const auto id = folder_id(dir)) {
      folders.emplace(*id, dir);
    } else {
      complete_ = false;  // a folder that cannot be found cannot be locked
    }
  }
  bool told = false;
  const std::function<void()> once = [&] {
    if (!told && on_wait) on_wait();
    told = true;
  };
  for (const auto& [id, dir] : folders) {
    auto lock = s.files().lock_directory(dir, once);
    if (!lock) {
      complete_ = false;
      continue;
    }
    locks_.push_back(std::move(lock));
    held_.insert(id);
  }
}

bool FolderLocks::holds(const std::string& path) const {
  const auto id = folder_id(folder_of(s_.files(), path));
  return id && held_.contains(*id);
}

void remove_stale_temporaries(Session& s, const std::string& path) {
  FileSystem& fs = s.files();
  const std::filesystem::path target = fs.final_target(path);
  const std::filesystem::path dir = parent_or_here(target);
  const std::string base = target.filename().string();
  for (const std::string& name : fs.regular_files_in(dir.string())) {
    if (is_temporary_of(name, base)) fs.remove(target.has_parent_path() ? (dir / name).string() : name);
  }
}

bool replace_file(Session& s, const std::string& path, std::string_view bytes) {
  FileReplacement replacement(s);
  return replacement.stage(path, bytes) && replacement.commit();
}

}  // namespace kelp
