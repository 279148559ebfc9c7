#include "sysutl/file_replace.hpp"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <istream>
#include <limits>
#include <map>
#include <memory>
#include <ostream>
#include <random>

#include "sysutl/session.hpp"

namespace kelp {

namespace {

// Names tried for one temporary before giving up: each is taken only when
// nothing has it yet, so only a crowded or unwritable folder uses them up.
constexpr int kNameTries = 16;

// A temporary's name: the file's, this suffix, and this many characters
// of kTempChars.
constexpr std::string_view kTempSuffix = ".kelp";
constexpr std::size_t kTempRandom = 6;
constexpr std::string_view kTempChars = "abcdefghijklmnopqrstuvwxyz0123456789";

Place temporary_of(const Place& target) {
  static std::mt19937 random{std::random_device{}() ^ static_cast<unsigned>(::getpid())};
  std::uniform_int_distribution<std::size_t> pick(0, kTempChars.size() - 1);
  std::string name = target.leaf + std::string(kTempSuffix);
  for (std::size_t k = 0; k < kTempRandom; ++k) name += kTempChars[pick(random)];
  return {target.folder, std::move(name)};
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

// FNV-1a, 64 bits, continued over `bytes`.
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
void digest_more(DiskStamp& stamp, std::string_view bytes) {
  for (const char c : bytes) stamp.digest = (stamp.digest ^ static_cast<unsigned char>(c)) * kFnvPrime;
  stamp.size += bytes.size();
}

// Reads the file at `at` in pieces into a stamp, until its end or until it
// has passed `most` bytes. nullopt when it cannot be opened or read.
std::optional<DiskStamp> stamp_reading(FileSystem& fs, const Place& at, std::uint64_t most) {
  auto in = fs.open_read_at(at);
  if (!in) return std::nullopt;
  DiskStamp stamp{0, kFnvOffset};
  std::array<char, 65536> buffer{};
  while (*in && stamp.size <= most) {
    in->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    digest_more(stamp, std::string_view(buffer.data(), static_cast<std::size_t>(std::max<std::streamsize>(in->gcount(), 0))));
  }
  if (in->bad()) return std::nullopt;
  return stamp;
}

// The signals that end the program at a terminal, held back while they are
// alive: one that comes meanwhile takes effect once they go.
class HeldSignals {
 public:
  HeldSignals() {
    sigset_t held;
    sigemptyset(&held);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, sig);
    ::sigprocmask(SIG_BLOCK, &held, &old_);
  }
  ~HeldSignals() { ::sigprocmask(SIG_SETMASK, &old_, nullptr); }
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t old_;
};

}  // namespace

std::optional<ResolvedName> resolve_name(FileSystem& fs, const std::string& name, Refusal& why) {
  Resolution r = fs.resolve(name);
  why = r.refused;
  if (r && !r.place->folder) why = Refusal::kUnreachable;
  if (why != Refusal::kNone) return std::nullopt;
  return ResolvedName{name, std::move(*r.place)};
}

DiskStamp stamp_of(std::string_view bytes) {
  DiskStamp stamp{0, kFnvOffset};
  digest_more(stamp, bytes);
  return stamp;
}

std::optional<DiskStamp> stamp_at(FileSystem& fs, const Place& at) {
  return stamp_reading(fs, at, std::numeric_limits<std::uint64_t>::max());
}

std::optional<bool> still_holds(FileSystem& fs, const Place& at, const DiskStamp& was) {
  const auto now = stamp_reading(fs, at, was.size);
  if (!now) return std::nullopt;
  return *now == was;
}

FileReplacement::FileReplacement(Session& s) : s_(s) {}

FileReplacement::~FileReplacement() {
  for (const auto& st : staged_) {
    if (st.temp_there) s_.files().remove_at(st.temp);
  }
}

bool FileReplacement::fail(const std::string& name, Refusal why) {
  failed_ = name;
  refusal_ = why;
  return false;
}

template <class Write>
bool FileReplacement::stage_with(const ResolvedName& to, FileSystem::ReadFile* from, Write&& write) {
  FileSystem& fs = s_.files();
  const Place& target = to.at;
  if (!target.folder) return fail(to.name, Refusal::kUnreachable);
  const FileSystem::Kind kind = fs.kind_at(target);
  if (kind == FileSystem::Kind::kOther) return fail(to.name, Refusal::kNotRegular);
  // A file this user could not write in place is not replaced either (the
  // rename would ask no permission of it), nor one the system would not
  // let this user rename over: every rename is checked before any moves.
  if (kind == FileSystem::Kind::kRegular) {
    if (!fs.may_write_at(target)) return fail(to.name, Refusal::kWriteProtected);
    if (!fs.may_replace_at(target)) return fail(to.name, Refusal::kNotRenamable);
  }

  // The new contents take the protection of the file they come from: the
  // file copied, else the file replaced; only a new name takes none.
  std::optional<FileSystem::Protection> model;
  if (from != nullptr) {
    model = from->protection();
    if (!model) return false;  // the caller names the file copied
  } else if (kind == FileSystem::Kind::kRegular) {
    model = fs.protection_at(target);
    if (!model) return fail(to.name);
  }
  Place temp;
  FileSystem::NewFile made;
  for (int k = 0; k < kNameTries && !made.out; ++k) {
    temp = temporary_of(target);
    made = fs.create_new(temp, model ? &*model : nullptr);  // taken by a clean-up at once: another name
  }
  if (!made.out) return fail(to.name);
  // From here on the temporary is ours: it goes on every failure.
  staged_.push_back({to.name, target, temp, true, std::move(made.held)});
  bool ok = write(*made.out);
  ok = fs.close(*made.out) && ok;
  made.out.reset();
  if (!ok) {
    fs.remove_at(temp);
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
  auto in = s_.files().open_read_at(from.at);
  if (!in) {
    const bool other = s_.files().kind_at(from.at) == FileSystem::Kind::kOther;
    return fail(from.name, other ? Refusal::kNotRegular : Refusal::kNone);
  }
  // A read error or a copied file that cannot be examined is the copied
  // file's fault, and named so.
  bool read_failed = false;
  failed_.clear();
  if (stage_with(to, in.get(), [&](std::ostream& out) { return copy_stream(*in, out, read_failed); })) return true;
  if (read_failed || failed_.empty()) return fail(from.name);
  return false;
}

bool FileReplacement::commit() {
  FileSystem& fs = s_.files();
  const HeldSignals held;
  for (std::size_t k = committed_; k < staged_.size(); ++k) {
    Staged& st = staged_[k];
    if (!fs.rename_at(st.temp, st.target)) {
      for (std::size_t j = k; j < staged_.size(); ++j) {
        fs.remove_at(staged_[j].temp);
        staged_[j].temp_there = false;
      }
      return fail(st.name);
    }
    st.temp_there = false;
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

FolderLocks::FolderLocks(FileSystem& fs, const std::vector<FolderRef>& folders,
                         const std::function<void(const Folder& folder)>& on_wait,
                         std::chrono::steady_clock::time_point deadline) {
  std::map<std::pair<std::uint64_t, std::uint64_t>, FolderRef> ordered;  // by device and inode, each once
  for (const FolderRef& folder : folders) {
    if (const auto id = folder->id()) {
      ordered.emplace(*id, folder);
    } else {
      unlocked_.push_back({folder, FileSystem::LockFailure::kNoLockFile, std::nullopt});
    }
  }
  for (const auto& [id, folder] : ordered) {
    FileSystem::Locked got = fs.lock_folder(folder, deadline, [&, f = folder] {
      if (on_wait) on_wait(*f);
    });
    if (got.failure == FileSystem::LockFailure::kStillHeld) {
      // Nothing is held while the user reads why the save gave up.
      locks_.clear();
      held_.clear();
      still_held_ = folder;
      return;
    }
    if (!got.lock) {
      unlocked_.push_back({folder, got.failure, got.owner});
      continue;
    }
    locks_.push_back(std::move(got.lock));
    held_.push_back(folder);
  }
}

FolderRef FolderLocks::stale() const {
  for (std::size_t k = 0; k < locks_.size(); ++k) {
    if (!locks_[k]->current()) return held_[k];
  }
  return nullptr;
}

void remove_stale_temporaries(FileSystem& fs, const FolderRef& folder, const std::set<std::string>& names) {
  for (const std::string& name : fs.regular_files_in(*folder)) {
    const bool stale = std::ranges::any_of(names, [&](const std::string& n) { return is_temporary_of(name, n); });
    if (stale) fs.remove_unheld(Place{folder, name});
  }
}

bool replace_at(Session& s, const ResolvedName& to, std::string_view bytes) {
  FileReplacement replacement(s);
  return replacement.stage(to, bytes) && replacement.commit();
}

bool replace_file(Session& s, const std::string& path, std::string_view bytes) {
  Refusal why = Refusal::kNone;
  const auto to = resolve_name(s.files(), path, why);
  return to && replace_at(s, *to, bytes);
}

}  // namespace kelp
