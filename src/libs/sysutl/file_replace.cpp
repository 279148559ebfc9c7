#include "sysutl/file_replace.hpp"

#include <algorithm>
#include <array>
#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>
#include <random>
#include <unistd.h>

#include "sysutl/session.hpp"

namespace kelp {

namespace {

// Names tried for one temporary before giving up: each is taken only when
// nothing has it yet, so only a crowded or unwritable directory uses them up.
constexpr int kNameTries = 16;

// "<target>.kelp" and six random letters and digits.
std::string temporary_name(const std::string& target) {
  static std::mt19937 random{std::random_device{}() ^ static_cast<unsigned>(::getpid())};
  static constexpr std::string_view kChars = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::uniform_int_distribution<std::size_t> pick(0, kChars.size() - 1);
  std::string name = target + ".kelp";
  for (int k = 0; k < 6; ++k) name += kChars[pick(random)];
  return name;
}

bool copy_stream(std::istream& in, std::ostream& out) {
  std::array<char, 65536> buffer{};
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const std::streamsize got = in.gcount();
    if (got > 0 && !out.write(buffer.data(), got)) return false;
  }
  return !in.bad();
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
bool FileReplacement::stage_with(const std::string& path, const std::string& like, Write&& write) {
  FileSystem& fs = s_.files();
  const std::string target = fs.final_target(path);
  const FileSystem::Kind kind = fs.kind(target);
  if (kind == FileSystem::Kind::kOther) return fail(path);
  // A file this user could not write in place is not replaced either: the
  // rename would ask no permission of it.
  if (kind == FileSystem::Kind::kRegular && !fs.may_write(target)) return fail(path);

  // The new contents take the protection of the file they come from: the
  // file copied, else the file replaced.
  const std::string protection = !like.empty() || kind != FileSystem::Kind::kRegular ? like : target;
  std::string temp;
  std::unique_ptr<std::ostream> out;
  for (int k = 0; k < kNameTries && !out; ++k) {
    temp = temporary_name(target);
    out = fs.create_new(temp, protection);
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
  return stage_with(path, {}, [&](std::ostream& out) {
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
  });
}

bool FileReplacement::stage_copy(const std::string& path, const std::string& from) {
  auto in = s_.files().open_read(from, true);
  if (!in) return fail(path);
  return stage_with(path, from, [&](std::ostream& out) { return copy_stream(*in, out); });
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
  constexpr std::string_view kSuffix = ".kelp";
  constexpr std::size_t kRandom = 6;
  if (name.size() != target.size() + kSuffix.size() + kRandom || !name.starts_with(target)) return false;
  name.remove_prefix(target.size());
  if (!name.starts_with(kSuffix)) return false;
  name.remove_prefix(kSuffix.size());
  return std::ranges::all_of(name, [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

void remove_stale_temporaries(Session& s, const std::string& path) {
  FileSystem& fs = s.files();
  const std::filesystem::path target = fs.final_target(path);
  const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
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
