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

std::optional<ResolvedName> resolve_name(FileSystem& fs, const std::string& name) {
  auto target = fs.resolve(name);
  if (!target) return std::nullopt;
  return ResolvedName{name, std::move(*target)};
}

std::string folder_of(const std::string& target) { return parent_or_here(target).string(); }

FileReplacement::FileReplacement(Session& s) : s_(s) {}

FileReplacement::~FileReplacement() {
  for (const auto& st : staged_) {
    if (!st.temp.empty()) s_.files().remove(st.temp);
  }
}

bool FileReplacement::fail(const std::string& name) {
  failed_ = name;
  return false;
}

template <class Write>
bool FileReplacement::stage_with(const ResolvedName& to, FileSystem::ReadFile* from, Write&& write) {
  FileSystem& fs = s_.files();
  const std::string& target = to.target;
  const FileSystem::Kind kind = fs.kind(target);
  if (kind == FileSystem::Kind::kOther) return fail(to.name);
  // A file this user could not write in place is not replaced either (the
  // rename would ask no permission of it), nor one the system would not
  // let this user rename over: every rename is checked before any moves.
  if (kind == FileSystem::Kind::kRegular && (!fs.may_write(target) || !fs.may_replace(target))) {
    return fail(to.name);
  }

  // The new contents take the protection of the file they come from: the
  // file copied, else the file replaced; only a new name takes none.
  std::optional<FileSystem::Protection> model;
  if (from != nullptr) {
    model = from->protection();
    if (!model) return false;  // the caller names the file copied
  } else if (kind == FileSystem::Kind::kRegular) {
    model = fs.protection(target);
    if (!model) return fail(to.name);
  }
  std::string temp;
  std::unique_ptr<std::ostream> out;
  std::unique_ptr<FileSystem::Lock> in_use;
  for (int k = 0; k < kNameTries && !out; ++k) {
    temp = temporary_name(target);
    out = fs.create_new(temp, model ? &*model : nullptr);
    if (out && !(in_use = fs.hold(temp))) out.reset();  // taken by a clean-up at once: another name
  }
  if (!out) return fail(to.name);
  // From here on the temporary is ours: it goes on every failure.
  staged_.push_back({to.name, target, temp, std::move(in_use)});
  bool ok = write(*out);
  ok = fs.close(*out) && ok;
  out.reset();
  if (!ok) {
    fs.remove(temp);
    staged_.pop_back();
    return fail(to.name);
  }
  return true;
}

bool FileReplacement::stage(const ResolvedName& to, std::string_view bytes) {
  return stage_with(to, nullptr, [&](std::ostream& out) {
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
  });
}

bool FileReplacement::stage_copy(const ResolvedName& to, const ResolvedName& from) {
  auto in = s_.files().open_read(from.target);
  if (!in) return fail(from.name);
  // A read error or a copied file that cannot be examined is the copied
  // file's fault, and named so.
  bool read_failed = false;
  failed_.clear();
  if (stage_with(to, in.get(), [&](std::ostream& out) { return copy_stream(*in, out, read_failed); })) return true;
  return fail(read_failed || failed_.empty() ? from.name : failed_);
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
      return fail(st.name);
    }
    st.temp.clear();
    st.in_use.reset();
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
  auto in = fs.open_read(path);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bool read_failed = false;
  if (!copy_stream(*in, bytes, read_failed)) return std::nullopt;
  return std::move(bytes).str();
}

namespace {

std::optional<std::pair<std::uint64_t, std::uint64_t>> folder_id(const std::string& dir) {
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) return std::nullopt;
  return std::pair<std::uint64_t, std::uint64_t>{st.st_dev, st.st_ino};
}

}  // namespace

FolderLocks::FolderLocks(FileSystem& fs, const std::vector<std::string>& targets,
                         const std::function<void(const std::string& folder)>& on_wait,
                         std::chrono::milliseconds limit) {
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> folders;  // ordered by device and inode
  for (const std::string& target : targets) {
    const std::string dir = folder_of(target);
    if (const auto id = folder_id(dir)) {
      folders.emplace(*id, dir);
    } else if (std::ranges::none_of(unlocked_, [&](const Unlocked& u) { return u.folder == dir; })) {
      unlocked_.push_back({dir, FileSystem::LockFailure::kNoLockFile});  // a folder that is not there
    }
  }
  bool told = false;
  for (const auto& [id, dir] : folders) {
    const auto once = [&, folder = dir] {
      if (!told && on_wait) on_wait(folder);
      told = true;
    };
    FileSystem::Locked got = fs.lock_directory(dir, once, limit);
    if (got.failure == FileSystem::LockFailure::kStillHeld) {
      // Nothing is held while the user reads why the save gave up.
      locks_.clear();
      held_.clear();
      still_held_ = dir;
      return;
    }
    if (!got.lock) {
      unlocked_.push_back({dir, got.failure});
      continue;
    }
    locks_.push_back(std::move(got.lock));
    held_.push_back(dir);
  }
}

void remove_stale_temporaries(FileSystem& fs, const std::string& folder, const std::set<std::string>& names) {
  const std::filesystem::path dir = folder;
  for (const std::string& name : fs.regular_files_in(folder)) {
    const bool stale = std::ranges::any_of(names, [&](const std::string& n) { return is_temporary_of(name, n); });
    const std::string path = folder == "." ? name : (dir / name).string();
    if (stale && !fs.in_use(path)) fs.remove(path);
  }
}

bool replace_file(Session& s, const std::string& path, std::string_view bytes) {
  const auto to = resolve_name(s.files(), path);
  if (!to) return false;
  FileReplacement replacement(s);
  return replacement.stage(*to, bytes) && replacement.commit();
}

}  // namespace kelp
