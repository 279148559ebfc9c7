#include "edlib/frame/save_plan.hpp"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <utility>

#include "edlib/frame/kind_files.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/file_replace.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/folder_locks.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

constexpr std::size_t kScreenWidth = 80;

// What happened to a lock that ends a save.
constexpr std::string_view kStillHeld = "is still held by another session";
constexpr std::string_view kTaken = "was taken from this save";
constexpr std::string_view kTakenTooOften = "was taken from this save again and again";

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
// directory, else "the folder" and its full name, control characters
// escaped.
std::string folder_words(FileSystem& fs, const Folder& folder) {
  const FolderRef here = fs.working_folder();
  if (here && here->id() && here->id() == folder.id()) return "this directory";
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(folder.name(), ec);
  return "the folder " + shown_name(ec ? folder.name() : full.lexically_normal().string());
}

std::string capitalized(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

// The login name of a user, else the number.
std::string user_name(unsigned uid) {
  struct passwd entry {};
  struct passwd* found = nullptr;
  std::string buffer(16384, '\0');
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    return shown_name(found->pw_name);
  }
  return "user " + std::to_string(uid);
}

// Those who may remove a lock file that this user may not: its owner (in a
// sticky folder), the folder's owner and root, as "a, b or c".
std::string who_may_remove(const LockFileOwners& owners) {
  std::vector<unsigned> ids;
  if (owners.sticky) ids.push_back(owners.file);
  ids.push_back(owners.folder);
  ids.push_back(0);
  std::vector<std::string> names;
  for (const unsigned id : ids) {
    const std::string name = user_name(id);
    if (std::ranges::find(names, name) == names.end()) names.push_back(name);
  }
  std::string words = names.front();
  for (std::size_t k = 1; k < names.size(); ++k) words += (k + 1 == names.size() ? " or " : ", ") + names[k];
  return words;
}

// What a name that should hold a lock file holds instead, by its file type
// bits.
std::string_view type_words(unsigned type) {
  switch (type) {
    case S_IFDIR:
      return "a directory";
    case S_IFIFO:
      return "a FIFO";
    case S_IFSOCK:
      return "a socket";
    case S_IFCHR:
    case S_IFBLK:
      return "a device";
    case S_IFLNK:
      return "a symbolic link";
    default:
      return "something else";
  }
}

std::string why_unlocked(const LockFault& fault) {
  const std::string file = "its lock file " + std::string(kLockFileName);
  switch (fault.failure) {
    case LockFailure::kCannotOpen:
      if (fault.owners && fault.owners->file != ::geteuid()) {
        std::string why = "no permission to open " + file + ", which belongs to " + user_name(fault.owners->file) +
                          "; removing that file while no one saves there restores locking";
        if (!fault.owners->removable) why += ", which only " + who_may_remove(*fault.owners) + " may do";
        return why;
      }
      if (fault.owners) return "no permission to open " + file;
      return file + " cannot be opened: " + std::string(refusal_words(fault.why));
    case LockFailure::kCannotCreate:
      return file + " cannot be created: " + std::string(refusal_words(fault.why));
    case LockFailure::kNotPlainFile:
      return "the name of its lock file holds " + std::string(type_words(fault.type)) + ", not a plain file";
    case LockFailure::kGoneEachTime:
      return file + " was removed each time before it could be opened";
    case LockFailure::kNoIdentity:
      return "its device and inode numbers cannot be read";
    case LockFailure::kRefused:
      return "its file system refuses locks";
    default:
      return std::string(refusal_words(Refusal::kFailed));
  }
}

void say_unlocked(Session& s, int out, const FolderLocks::Unlocked& folder) {
  say(s, out,
      capitalized(folder_words(s.files(), *folder.folder)) + " cannot be locked: " + why_unlocked(folder.fault) +
          ". Another session saving in it at the same moment could replace this save.");
}

// What stopped a save, said on the unit the user reads and, in a silent
// run, in its report first: the report keeps it however the wait that
// follows on the screen ends.
void say_stopped(Session& s, const SaveSetup& setup, std::string_view text) {
  if (setup.report != setup.out) say(s, setup.report, text);
  say(s, setup.out, text);
}

// Says that the save gives up on the lock of `folder`: `what` happened to
// it. Waits for RETURN.
SaveOutcome end_for_lock(Session& s, const SaveSetup& setup, const Folder& folder, std::string_view what) {
  say_stopped(s, setup,
              "The save lock of " + folder_words(s.files(), folder) + " " + std::string(what) +
                  ": nothing was saved, and the edits of this session are kept.");
  int reply = 0;
  prsret(s, setup.out, kKeyboard, reply);
  return SaveOutcome::kLockHeld;
}

// The three names of one cascade, resolved.
struct Resolved {
  Resolution data;
  Resolution backup;
  Resolution oldest;
};

// A file that stopped the save, with the cascade it belongs to.
struct Stop {
  StageFailure file;
  std::size_t cascade = 0;
};

// Step 1: every name resolved once. The first that cannot be, when one
// cannot.
std::optional<Stop> resolve_all(FileSystem& fs, const std::vector<SaveFile>& files, std::vector<Resolved>& names) {
  for (std::size_t k = 0; k < files.size(); ++k) {
    const SaveFile& f = files[k];
    Resolved r{fs.resolve(f.data), fs.resolve(f.backup), fs.resolve(f.oldest)};
    for (const Resolution* n : {&r.data, &r.backup, &r.oldest}) {
      if (!*n) return Stop{{n->name(), n->refused()}, k};
    }
    names.push_back(std::move(r));
  }
  return std::nullopt;
}

std::vector<FolderRef> folders_of(const std::vector<Resolved>& names) {
  std::vector<FolderRef> folders;
  for (const Resolved& r : names) {
    for (const Resolution* n : {&r.data, &r.backup, &r.oldest}) folders.push_back(n->at().folder);
  }
  return folders;
}

// Step 3: the data files that are no longer what this session loaded or
// last saved (or cannot be compared with it), but for those the user has
// already let this save replace; with, for each, whether it could be read,
// and the stamp of what the warning is about.
struct Changed {
  std::size_t file;
  bool compared;
  std::optional<DiskStamp> seen;
};
std::vector<Changed> changed_on_disk(FileSystem& fs, const std::vector<SaveFile>& files,
                                     const std::vector<Resolved>& names, const std::vector<bool>& accepted) {
  std::vector<Changed> changed;
  for (std::size_t k = 0; k < files.size(); ++k) {
    const Place& at = names[k].data.at();
    // Gone since: saved as a new file, the backups left as they are.
    if (!files[k].on_disk || accepted[k] || fs.kind_at(at) == FileSystem::Kind::kAbsent) continue;
    const auto same = still_holds(fs, at, *files[k].on_disk);
    if (!same) changed.push_back({k, false, std::nullopt});
    if (same && !*same) changed.push_back({k, true, stamp_at(fs, at)});
  }
  return changed;
}

// Names each data file that another session may have saved since this one
// loaded or last saved it.
void name_changed(Session& s, int out, const std::vector<SaveFile>& files, const std::vector<Changed>& changed) {
  for (const Changed& c : changed) {
    const SaveFile& f = files[c.file];
    if (c.compared) {
      s.write_line(out, " " + f.data + " was changed on disk after this session loaded or last saved it:");
      s.write_line(out, " another session may have saved it. Saving keeps that version as " + f.backup + ".");
    } else {
      s.write_line(out, " " + f.data + " on disk cannot be read to compare it with what this session");
      s.write_line(out, " loaded or last saved: another session may have saved it.");
    }
  }
}

// The warning of name_changed, and whether to go on. true: go on.
bool confirm_replacing(Session& s, int out, const std::vector<SaveFile>& files, const std::vector<Changed>& changed) {
  clear(s, out);
  s.write_line(out, at_column(25, ">>> WARNING <<<"));
  name_changed(s, out, files, changed);
  s.write_line(out, " If you wish to \"Abort\" this save and reinspect your data, enter \"A\" below.");
  int reply = 0;
  abort0(s, out, kKeyboard, reply);
  return reply != -1;
}

// After the user let the save replace them: what the warning was about is
// what the session knows of those files, so that a change made after the
// warning was shown is asked about again.
void take_as_seen(std::vector<SaveFile>& files, const std::vector<Changed>& changed, std::vector<bool>& accepted) {
  for (const Changed& c : changed) {
    if (c.seen) {
      files[c.file].on_disk = *c.seen;
    } else {
      accepted[c.file] = true;  // unreadable: not asked about again in this save
    }
  }
}

// Step 4: no other save can be writing in a folder this one holds locked.
// The temporaries of every name the editors write (written_file_names)
// and of every name this save resolved go.
void clean_up(FileSystem& fs, const FolderLocks& locks, const std::vector<Resolved>& names) {
  std::set<std::string> written = written_file_names();
  for (const Resolved& r : names) {
    for (const Resolution* n : {&r.data, &r.backup, &r.oldest}) written.insert(n->at().leaf);
  }
  // So do the temporaries of lock files that a killed session was making.
  written.insert(std::string(kLockFileName));
  for (const FolderLock& lock : locks.held()) remove_stale_temporaries(fs, lock.folder(), written);
}

// Step 5: both cascades checked and staged before the first file moves;
// `ends` receives where each cascade's staged files end.
std::optional<Stop> stage_all(FileSystem& fs, const std::vector<SaveFile>& files, const std::vector<Resolved>& names,
                              FileReplacement& cascade, std::vector<std::size_t>& ends) {
  for (std::size_t k = 0; k < files.size(); ++k) {
    const auto failed =
        backit(fs, files[k].words, names[k].data, files[k].generations_moved, names[k].backup, names[k].oldest, cascade);
    if (failed) return Stop{*failed, k};
    ends.push_back(cascade.staged());
  }
  return std::nullopt;
}

// Step 6: the commit. A file is saved, and the session notes it at once,
// when the last of its cascade, the data file, is renamed into place: an end
// that comes before the save returns (end of input at a failure's message)
// names it. A cascade whose backups moved but whose data file did not
// leaves the data file in the backup, which a retry must not move on again.
std::optional<Stop> commit_all(Session& s, std::vector<SaveFile>& files, FileReplacement& cascade,
                               const std::vector<std::size_t>& ends) {
  const auto in_place = [&](std::size_t staged) {
    const auto end = std::ranges::find(ends, staged + 1);
    if (end != ends.end()) s.note_saved(files[static_cast<std::size_t>(end - ends.begin())].data);
  };
  std::optional<Stop> stop;
  if (!cascade.commit(in_place)) {
    const auto end = std::ranges::find_if(ends, [&](std::size_t e) { return cascade.committed() < e; });
    stop = Stop{{cascade.failed(), cascade.refusal()}, static_cast<std::size_t>(end - ends.begin())};
  }
  for (std::size_t k = 0; k < files.size(); ++k) {
    SaveFile& f = files[k];
    const std::size_t begin = k == 0 ? 0 : ends[k - 1];
    if (cascade.committed() >= ends[k]) {
      f.saved = true;
      f.generations_moved = false;
      f.on_disk = stamp_of(encode_record(f.words));
    } else if (stop && k == stop->cascade && cascade.committed() > begin) {
      f.generations_moved = true;
    }
  }
  return stop;
}

}  // namespace

std::optional<StageFailure> backit(FileSystem& fs, std::span<const std::int32_t> words, const Resolution& data,
                                   bool generations_moved, const Resolution& backup, const Resolution& oldest,
                                   FileReplacement& cascade) {
  // A file there that cannot be opened for reading, and why; nullopt when it
  // can.
  const auto unreadable = [&](const Resolution& file) -> std::optional<StageFailure> {
    if (fs.open_read(file)) return std::nullopt;
    return StageFailure{file.name(), fs.refusal_at(file.at(), FileStep::kRead, errno)};
  };
  const auto not_read_whole = [](const Resolution& file) { return StageFailure{file.name(), Refusal::kReadError}; };
  // What is on disk now decides, whatever the load saw: a data file there
  // is always kept as the backup (another session may have created it, or
  // written it since). Only with no data file there do the backups stay as
  // they are: moved on without a data file behind them they would cost the
  // oldest generation and leave two copies of one.
  const bool data_there = fs.kind_at(data.at()) != FileSystem::Kind::kAbsent;
  if (data_there) {
    if (auto failed = unreadable(data)) return failed;
  }
  // An earlier attempt of this session that moved the backups on but could
  // not put the data file in place left the data file in the backup: it is
  // kept already, unless another session has saved since.
  const bool backup_there = fs.kind_at(backup.at()) != FileSystem::Kind::kAbsent;
  bool kept = false;
  if (generations_moved && data_there) {
    const auto now = stamp_at(fs, data);
    if (!now) return not_read_whole(data);
    const auto kept_copy = backup_there ? stamp_at(fs, backup) : std::nullopt;
    if (!kept_copy && backup_there) return not_read_whole(backup);
    kept = kept_copy == now;
  }
  const bool rotate = data_there && !kept;
  const bool backup_moves = rotate && backup_there;
  if (backup_moves) {
    if (auto failed = unreadable(backup)) return failed;
  }

  // Every generation is staged beside its target: the new data file written
  // whole, the backups as whole-file copies of the files they follow (never
  // a re-read, which would shift a file without a count word). Oldest
  // generation first, the data file last, so that a rename that fails part
  // way never costs the data file and the backups move at most once.
  const bool staged = (!backup_moves || cascade.stage_copy(oldest, backup)) &&
                      (!rotate || cascade.stage_copy(backup, data)) && !words.empty() &&
                      words.size() <= kDiskioStagingWords && cascade.stage(data, encode_record(words));
  if (staged) return std::nullopt;
  if (cascade.failed().empty()) return StageFailure{data.name(), words.empty() ? Refusal::kFailed : Refusal::kTooLarge};
  return StageFailure{cascade.failed(), cascade.refusal()};
}

SaveOutcome save_files(Session& s, std::vector<SaveFile>& files, const SaveSetup& setup) {
  FileSystem& fs = s.files();
  // The file-access message for the file that stopped the save, with why,
  // in a silent run's report first (as say_stopped).
  const auto refuse = [&](const Stop& stop) {
    if (setup.report != setup.out) acerr_lines(s, setup.caller, stop.file.name, setup.report, stop.file.why);
    acerr_report(s, setup.caller, stop.file.name, setup.out, stop.file.why);
    return SaveOutcome::kFailed;
  };
  // A notice that a folder goes unlocked, said since the user last waited:
  // it waits for RETURN before a screen that would clear it.
  bool unread = false;
  const auto let_read = [&] {
    int reply = 0;
    if (std::exchange(unread, false)) prsret(s, setup.out, kKeyboard, reply);
  };
  // Each folder waited on is named once in each wait.
  FolderLocks locks(
      fs, setup.lock_wait,
      [&](const Folder& folder) {
        say(s, setup.out, "Another session is saving in " + folder_words(fs, folder) + ": waiting for it to finish.");
      },
      setup.locker);
  std::vector<bool> accepted(files.size(), false);  // unreadable files the user let this save replace
  for (;;) {
    std::vector<Resolved> names;
    if (const auto stop = resolve_all(fs, files, names)) return refuse(*stop);

    // Held from the first look at the disk to the last rename.
    switch (locks.take(folders_of(names))) {
      case FolderLocks::Outcome::kStillHeld:
        return end_for_lock(s, setup, *locks.failed(), kStillHeld);
      case FolderLocks::Outcome::kTakenTooOften:
        return end_for_lock(s, setup, *locks.failed(), kTakenTooOften);
      case FolderLocks::Outcome::kTaken:
        return end_for_lock(s, setup, *locks.failed(), kTaken);
      case FolderLocks::Outcome::kDone:
        break;
    }
    for (const auto& folder : locks.unlocked()) {
      if (setup.report != setup.out) say_unlocked(s, setup.report, folder);
      say_unlocked(s, setup.out, folder);
      unread = true;
    }

    // Another session's save is replaced only when the user says so.
    if (const auto changed = changed_on_disk(fs, files, names, accepted); !changed.empty()) {
      locks.let_go();
      let_read();
      if (!confirm_replacing(s, setup.out, files, changed)) {
        if (setup.report != setup.out) {
          s.write_line(setup.report, "");
          name_changed(s, setup.report, files, changed);
          say(s, setup.report,
              "The save was aborted at this warning: nothing was saved, and the edits of this session are kept.");
        }
        return SaveOutcome::kAborted;
      }
      take_as_seen(files, changed, accepted);
      locks.wait_anew();
      continue;
    }

    clean_up(fs, locks, names);
    std::optional<Stop> stop;
    FolderRef taken;
    {
      FileReplacement cascade(fs);
      std::vector<std::size_t> ends;
      stop = stage_all(fs, files, names, cascade, ends);
      // A lock file taken from this save (removed, replaced) no longer
      // keeps another session out: the locks are taken again, and the save
      // begins anew.
      if (!stop) taken = locks.taken();
      if (!stop && !taken) stop = commit_all(s, files, cascade, ends);
    }  // the temporaries of a staging that failed go here, before any message
    if (taken) {
      if (!locks.let_go_to_take_again()) return end_for_lock(s, setup, *taken, kTakenTooOften);
      continue;
    }
    locks.let_go();
    if (stop) return refuse(*stop);
    if (setup.cleared_after) let_read();
    return SaveOutcome::kSaved;
  }
}

}  // namespace kelp
