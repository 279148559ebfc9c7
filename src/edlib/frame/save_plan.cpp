#include "edlib/frame/save_plan.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <utility>

#include "sysutl/diskio.hpp"
#include "sysutl/file_replace.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

// Every name the editors write whole through a temporary: the data files
// of both programs and their generations, those of "LOWDAT", the options
// file of the simulation program, the load's warning report, the wave
// report and the listings of every kind. The temporaries of these names
// that a session killed part way left go at the next save in their folder.
const std::set<std::string> kEditorFiles = {
    "RONDDAT",     "RONDBAK",     "PIVADAT",       "PIVABAK",      "LASTBAK",     "LOWDAT",
    "LOWBAK",      "LASTLOW",     "GUSTRDAT",      "DATUPWRN.stxt", "WAVEOUT.stxt", "RONDIN.stxt",
    "PIVAIN.stxt", "HULVIN.stxt", "DRIFIN.stxt",   "INPUT.stxt",   "TENDIN.stxt", "TETHIN.stxt",
    "KOLUIN.stxt", "WHOIN.stxt"};

constexpr std::size_t kScreenWidth = 80;

// A message of the save: an empty line, then `text` in lines of at most 80
// columns broken at blanks, the first starting " ++> ", the next indented
// five blanks. A word too long for any line (a long folder name) stands on
// a line of its own.
void say(Session& s, int out, std::string_view text) {
  s.write_line(out, "");
  std::string line = " ++>";
  const std::string indent = "    ";
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t to = text.find(' ', from);
    if (to == std::string_view::npos) to = text.size();
    const std::string_view word = text.substr(from, to - from);
    if (line.size() + 1 + word.size() > kScreenWidth && line.size() > indent.size()) {
      s.write_line(out, line);
      line = indent;
    }
    line.append(" ").append(word);
    from = to + 1;
  }
  s.write_line(out, line);
  s.unit(out).flush();
}

// The folder as the messages name it: "this directory" for the working
// directory, else "the folder" and its full name.
std::string folder_words(const std::string& folder) {
  struct stat here {};
  struct stat there {};
  if (::stat(".", &here) == 0 && ::stat(folder.c_str(), &there) == 0 && here.st_dev == there.st_dev &&
      here.st_ino == there.st_ino) {
    return "this directory";
  }
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(folder, ec);
  return "the folder " + (ec ? folder : full.lexically_normal().string());
}

std::string capitalized(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

std::string_view why_unlocked(FileSystem::LockFailure why) {
  switch (why) {
    case FileSystem::LockFailure::kNoPermission:
      return "no permission to create or open its lock file";
    case FileSystem::LockFailure::kNotPlainFile:
      return "the name of its lock file holds no plain file";
    case FileSystem::LockFailure::kRefused:
      return "its file system refuses locks";
    default:
      return "its lock file cannot be created";
  }
}

void say_unlocked(Session& s, int out, const FolderLocks::Unlocked& folder) {
  say(s, out,
      capitalized(folder_words(folder.folder)) + " cannot be locked: " + std::string(why_unlocked(folder.why)) +
          ". Another session saving in it at the same moment could replace this save.");
}

// Names each data file that another session may have saved since this one
// loaded or last saved it, and asks whether to go on. true: go on.
bool confirm_replacing(Session& s, int out, const std::vector<SaveFile*>& changed) {
  clear(s, out);
  s.write_line(out, at_column(25, ">>> WARNING <<<"));
  for (const SaveFile* f : changed) {
    s.write_line(out, " " + f->data + " was changed on disk after this session loaded or last saved it:");
    s.write_line(out, " another session may have saved it. Saving keeps that version as " + f->backup + ".");
  }
  s.write_line(out, " If you wish to \"Abort\" this save and reinspect your data, enter \"A\" below.");
  int reply = 0;
  abort0(s, out, kKeyboard, reply);
  return reply != -1;
}

bool readable(FileSystem& fs, const std::string& target) { return fs.open_read(target) != nullptr; }

// The three names of one cascade, resolved.
struct Resolved {
  ResolvedName data;
  ResolvedName backup;
  ResolvedName oldest;
};

}  // namespace

std::string backit(Session& s, std::span<const std::int32_t> words, const ResolvedName& data, bool generations_moved,
                   const ResolvedName& backup, const ResolvedName& oldest, FileReplacement& cascade) {
  FileSystem& fs = s.files();
  // What is on disk now decides, whatever the load saw: a data file there
  // is always kept as the backup (another session may have created it, or
  // written it since). Only with no data file there do the backups stay as
  // they are: moved on without a data file behind them they would cost the
  // oldest generation and leave two copies of one.
  const bool data_there = fs.kind(data.target) != FileSystem::Kind::kAbsent;
  if (data_there && !readable(fs, data.target)) return data.name;
  // An earlier attempt of this session that moved the backups on but could
  // not put the data file in place left the data file in the backup: it is
  // kept already, unless another session has saved since.
  const bool backup_there = fs.kind(backup.target) != FileSystem::Kind::kAbsent;
  bool kept = false;
  if (generations_moved && data_there) {
    const auto now = read_whole(fs, data.target);
    if (!now) return data.name;
    const auto kept_copy = read_whole(fs, backup.target);  // nullopt when there is none
    if (!kept_copy && backup_there) return backup.name;
    kept = kept_copy == now;
  }
  const bool rotate = data_there && !kept;
  const bool backup_moves = rotate && backup_there;
  if (backup_moves && !readable(fs, backup.target)) return backup.name;

  // Every generation is staged beside its target: the new data file written
  // whole, the backups as whole-file copies of the files they follow (never
  // a re-read, which would shift a file without a count word). Oldest
  // generation first, the data file last, so that a rename that fails part
  // way never costs the data file and the backups move at most once.
  const bool staged = (!backup_moves || cascade.stage_copy(oldest, backup)) &&
                      (!rotate || cascade.stage_copy(backup, data)) && !words.empty() &&
                      words.size() <= kDiskioStagingWords && cascade.stage(data, encode_record(words));
  if (!staged) return cascade.failed().empty() ? data.name : cascade.failed();
  return {};
}

SaveOutcome save_files(Session& s, std::vector<SaveFile>& files, const SaveSetup& setup) {
  FileSystem& fs = s.files();
  // The file-access message for the file that stopped the save, and in a
  // silent run's report the cascade it stopped.
  const auto refuse = [&](const std::string& name, const SaveFile& file) {
    acerr_report(s, setup.caller, name, setup.out);
    if (setup.report != setup.out) acerr_report(s, setup.caller, file.data, setup.report);
    return SaveOutcome::kFailed;
  };
  bool told_unlocked = false;
  for (;;) {
    // 1. Every name, resolved once: later steps follow no link again.
    std::vector<Resolved> names;
    std::vector<std::string> targets;
    for (const SaveFile& f : files) {
      Resolved r;
      for (auto [given, into] : {std::pair{&f.data, &r.data}, {&f.backup, &r.backup}, {&f.oldest, &r.oldest}}) {
        auto resolved = resolve_name(fs, *given);
        if (!resolved) return refuse(*given, f);
        *into = std::move(*resolved);
        targets.push_back(into->target);
      }
      names.push_back(std::move(r));
    }

    // 2. The locks, from the first look at the disk to the last rename.
    std::optional<FolderLocks> locks;
    locks.emplace(
        fs, targets,
        [&](const std::string& folder) {
          say(s, setup.out, "Another session is saving in " + folder_words(folder) + ": waiting for it to finish.");
        },
        setup.lock_wait);
    if (const auto& held = locks->still_held()) {
      say(s, setup.out,
          "The save lock of " + folder_words(*held) +
              " is still held by another session: nothing was saved, and the edits of this session are kept.");
      int reply = 0;
      prsret(s, setup.out, kKeyboard, reply);
      return SaveOutcome::kLockHeld;
    }
    if (!told_unlocked) {
      for (const auto& folder : locks->unlocked()) say_unlocked(s, setup.out, folder);
      told_unlocked = true;
    }

    // 3. Another session's save is replaced only when the user says so.
    std::vector<SaveFile*> changed;
    std::vector<std::string> now_there;
    for (std::size_t k = 0; k < files.size(); ++k) {
      if (!files[k].on_disk) continue;
      auto now = read_whole(fs, names[k].data.target);
      if (now && *now != *files[k].on_disk) {
        changed.push_back(&files[k]);
        now_there.push_back(std::move(*now));
      }
    }
    if (!changed.empty()) {
      locks.reset();
      if (!confirm_replacing(s, setup.out, changed)) return SaveOutcome::kAborted;
      for (std::size_t k = 0; k < changed.size(); ++k) changed[k]->on_disk = std::move(now_there[k]);
      continue;
    }

    // 4. No other save can be writing in a folder this one holds locked.
    std::set<std::string> written = kEditorFiles;
    for (const std::string& target : targets) written.insert(std::filesystem::path(target).filename().string());
    for (const std::string& folder : locks->held()) remove_stale_temporaries(fs, folder, written);

    // 5. Both cascades checked and staged before the first file moves.
    FileReplacement cascade(s);
    std::vector<std::size_t> ends;  // where each cascade's staged files end
    std::string failed;
    std::size_t failed_file = 0;
    for (std::size_t k = 0; k < files.size() && failed.empty(); ++k) {
      failed = backit(s, files[k].words, names[k].data, files[k].generations_moved, names[k].backup,
                      names[k].oldest, cascade);
      ends.push_back(cascade.staged());
      failed_file = k;
    }

    // 6. The commit. A cascade whose backups moved but whose data file did
    // not leaves the data file in the backup, which a retry must not move on
    // again.
    if (failed.empty()) {
      if (!cascade.commit()) {
        failed = cascade.failed();
        failed_file = static_cast<std::size_t>(
            std::ranges::find_if(ends, [&](std::size_t end) { return cascade.committed() < end; }) - ends.begin());
      }
      for (std::size_t k = 0; k < files.size(); ++k) {
        SaveFile& f = files[k];
        const std::size_t begin = k == 0 ? 0 : ends[k - 1];
        if (cascade.committed() >= ends[k]) {
          f.saved = true;
          f.generations_moved = false;
          f.on_disk = encode_record(f.words);
        } else if (k == failed_file && cascade.committed() > begin) {
          f.generations_moved = true;
        }
      }
    }
    locks.reset();  // let go before the user is asked to read anything
    if (!failed.empty()) return refuse(failed, files[failed_file]);
    return SaveOutcome::kSaved;
  }
}

}  // namespace kelp
