#include "sysutl/file_replace.hpp"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <istream>
#include <memory>
#include <ostream>

#include "sysutl/held_signals.hpp"

namespace kelp {

namespace {

// Names tried for one temporary before giving up: each is taken only when
// nothing has it yet, so only a crowded or unwritable folder uses them up.
constexpr int kNameTries = 16;

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

}  // namespace

FileReplacement::FileReplacement(FileSystem& fs) : fs_(fs) {}

FileReplacement::~FileReplacement() {
  for (const auto& st : staged_) {
    if (st.temp_there) fs_.remove_at(st.temp);
  }
}

bool FileReplacement::fail(const std::string& name, Refusal why) {
  failed_ = name;
  refusal_ = why;
  return false;
}

template <class Write>
bool FileReplacement::stage_with(const Resolution& to, FileSystem::ReadFile* from, Write&& write) {
  if (!to) return fail(to.name(), to.refused());
  const Place& target = to.at();
  const FileSystem::Kind kind = fs_.kind_at(target);
  if (kind == FileSystem::Kind::kOther || kind == FileSystem::Kind::kUnknown) {
    return fail(to.name(), fs_.refusal_at(target, FileStep::kWrite, errno));
  }
  // A file this user could not write in place is not replaced either (the
  // rename would ask no permission of it), nor one the system would not
  // let this user rename over: every rename is checked before any moves.
  if (kind == FileSystem::Kind::kRegular) {
    if (!fs_.may_write_at(target)) return fail(to.name(), Refusal::kWriteProtected);
    if (!fs_.may_replace_at(target)) return fail(to.name(), Refusal::kNotRenamable);
  }

  // The new contents take the protection of the file they come from: the
  // file copied, else the file replaced; only a new name takes none.
  std::optional<FileSystem::Protection> model;
  if (from != nullptr) {
    model = from->protection();
    if (!model) return false;  // the caller names the file copied
  } else if (kind == FileSystem::Kind::kRegular) {
    model = fs_.protection_at(target);
    if (!model) return fail(to.name(), Refusal::kNoProtection);
  }
  Place temp;
  FileSystem::NewFile made;
  for (int k = 0; k < kNameTries; ++k) {
    temp = temporary_beside(target);
    made = fs_.create_new(temp, model ? &*model : nullptr);
    if (!made.taken) break;  // made, or failed for a reason another name would meet too
  }
  if (!made.out) return fail(to.name(), made.taken || made.why == Refusal::kNone ? Refusal::kFailed : made.why);
  // From here on the temporary is ours: it goes on every failure.
  staged_.push_back({to.name(), target, temp, true, std::move(made.held)});
  const bool written = write(*made.out);
  const bool closed = fs_.close(*made.out);
  const int error = errno;  // the first error of the writes, the flush or the close
  made.out.reset();
  if (!written || !closed) {
    fs_.remove_at(temp);
    staged_.pop_back();
    return fail(to.name(), refusal_of(error, FileStep::kWrite));
  }
  return true;
}

bool FileReplacement::stage(const Resolution& to, std::string_view bytes) {
  return stage_with(to, nullptr, [&](std::ostream& out) {
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
  });
}

bool FileReplacement::stage_copy(const Resolution& to, const Resolution& from) {
  if (!from) return fail(from.name(), from.refused());
  auto in = fs_.open_read_at(from.at());
  if (!in) return fail(from.name(), fs_.refusal_at(from.at(), FileStep::kRead, errno));
  // A read error, or a copied file whose protection cannot be read, is the
  // copied file's fault, and named so.
  bool read_failed = false;
  failed_.clear();
  if (stage_with(to, in.get(), [&](std::ostream& out) { return copy_stream(*in, out, read_failed); })) return true;
  if (read_failed) return fail(from.name(), Refusal::kReadError);
  if (failed_.empty()) return fail(from.name(), Refusal::kNoProtection);
  return false;
}

bool FileReplacement::commit(const std::function<void(std::size_t)>& in_place) {
  const HeldSignals held;
  for (std::size_t k = committed_; k < staged_.size(); ++k) {
    Staged& st = staged_[k];
    if (!fs_.rename_at(st.temp, st.target)) {
      const Refusal why = fs_.refusal_at(st.target, FileStep::kRename, errno);
      for (std::size_t j = k; j < staged_.size(); ++j) {
        fs_.remove_at(staged_[j].temp);
        staged_[j].temp_there = false;
      }
      return fail(st.name, why);
    }
    st.temp_there = false;
    st.in_use.reset();
    ++committed_;
    if (in_place) in_place(k);
  }
  return true;
}

void remove_stale_temporaries(FileSystem& fs, const FolderRef& folder, const std::set<std::string>& names) {
  for (const std::string& name : fs.regular_files_in(*folder)) {
    const bool stale = std::ranges::any_of(names, [&](const std::string& n) { return is_temporary_of(name, n); });
    if (stale) fs.remove_unheld(Place{folder, name});
  }
}

bool replace_at(FileSystem& fs, const Resolution& to, std::string_view bytes, Refusal* why) {
  FileReplacement replacement(fs);
  if (replacement.stage(to, bytes) && replacement.commit()) return true;
  if (why != nullptr) *why = replacement.refusal();
  return false;
}

bool replace_file(FileSystem& fs, const std::string& path, std::string_view bytes, Refusal* why) {
  return replace_at(fs, fs.resolve(path), bytes, why);
}

}  // namespace kelp
