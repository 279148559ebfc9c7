#include "sysutl/file_replace.hpp"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ScriptedSession;

class FileReplace : public testing::InTempDir {
 protected:
  static std::set<std::string> entries(const std::string& dir = ".") { return testing::entries_of(dir); }
  ScriptedSession t;
};

TEST_F(FileReplace, ThroughSymbolicLinksTheLinksStayAndTheirFileGetsTheData) {
  // RONDDAT -> store/hop -> real (each relative to its own directory).
  fs::create_directory("store");
  write("store/real", "old");
  fs::create_symlink("real", "store/hop");
  fs::create_symlink("store/hop", "RONDDAT");
  ASSERT_TRUE(replace_file(t.s.files(), "RONDDAT", "new"));
  EXPECT_TRUE(fs::is_symlink("RONDDAT"));
  EXPECT_TRUE(fs::is_symlink("store/hop"));
  EXPECT_EQ(read("store/real"), "new");
  EXPECT_EQ(entries("store"), (std::set<std::string>{"hop", "real"}));  // no temporary left
  EXPECT_EQ(entries(), (std::set<std::string>{"RONDDAT", "store"}));
}

// Before the first temporary is created, something is put under its name;
// or, with no plant, another session's clean-up removes it as soon as it is
// made, before it is held.
struct Squatter : FileSystem {
  std::function<void(const std::string&)> plant;
  std::string squatted;
  NewFile create_new(const Place& at, const Protection* like) override {
    if (squatted.empty() && plant) plant(squatted = at.path());
    return FileSystem::create_new(at, like);
  }
  Fd create_exclusive(const Place& at, unsigned mode) override {
    Fd fd = FileSystem::create_exclusive(at, mode);
    if (squatted.empty() && !plant && fd) ::unlink((squatted = at.path()).c_str());
    return fd;
  }
};

TEST_F(FileReplace, ATemporaryNameThatIsTakenIsNeitherFollowedNorTouched) {
  struct Case {
    const char* what;
    std::function<void(const std::string&)> plant;
    std::function<bool(const std::string&)> intact;
  };
  const Case cases[] = {
      {"a link to another file", [](const std::string& p) { fs::create_symlink("victim", p); },
       [](const std::string& p) { return fs::is_symlink(p); }},
      {"a link to nowhere", [](const std::string& p) { fs::create_symlink("nowhere", p); },
       [](const std::string&) { return !fs::exists("nowhere"); }},
      {"the user's own file", [](const std::string& p) { testing::write_file(p, "mine"); },
       [](const std::string& p) { return testing::slurp(p) == "mine"; }},
      {"an empty directory", [](const std::string& p) { fs::create_directory(p); },
       [](const std::string& p) { return fs::is_empty(p); }},
      {"removed by a clean-up at its birth", {}, [](const std::string& p) { return !fs::exists(p); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& name : entries()) fs::remove_all(name);
    write("victim", "someone else's");
    write("RONDDAT", "old");
    auto squatter = std::make_shared<Squatter>();
    squatter->plant = c.plant;
    t.s.set_files(squatter);
    ASSERT_TRUE(replace_file(t.s.files(), "RONDDAT", "new"));
    EXPECT_EQ(read("RONDDAT"), "new");
    EXPECT_EQ(read("victim"), "someone else's");
    EXPECT_TRUE(c.intact(squatter->squatted));
    std::set<std::string> left = {"RONDDAT", "victim", squatter->squatted};
    if (!c.plant) left.erase(squatter->squatted);
    EXPECT_EQ(entries(), left);
  }
}

TEST_F(FileReplace, ANameIsResolvedThroughEveryLinkOnItsWay) {
  // Links anywhere in the name, each relative to its own folder, ".." taken
  // after the link before it, a name not yet made; at most 40 links. A
  // folder on the way that cannot be opened for want of descriptors is
  // said as that.
  fs::create_directories("store/deep");
  write("store/real", "data");
  fs::create_symlink("real", "store/hop");
  fs::create_symlink("store/deep", "via");
  // "l" + std::to_string(k) would trip a false -Wrestrict of g++ 12 at -O3.
  const auto link = [](int k) { return std::string("l").append(std::to_string(k)); };
  for (int k = 1; k < 41; ++k) fs::create_symlink(link(k + 1), link(k));
  fs::create_symlink("store/real", "l41");
  const std::string here = fs::current_path().string();
  fs::create_symlink(here + "/store/hop", "absolute");
  const struct {
    const char* name;
    std::optional<std::string> target;
    Refusal refused = Refusal::kNone;
    bool few_files = false;
  } cases[] = {
      {"RONDDAT", "RONDDAT"},
      {"store/hop", "store/real"},
      {"via/RONDDAT", "store/deep/RONDDAT"},
      {"via/../hop", "store/real"},
      {"via/none/RONDDAT", std::nullopt, Refusal::kNoFolder},
      {"store/real/RONDDAT", std::nullopt, Refusal::kNoFolder},  // a file where a folder should be
      {"absolute", here + "/store/real"},
      {"l2", "store/real"},                             // 40 links
      {"l1", std::nullopt, Refusal::kUnreachable},  // 41
      {"store/hop", std::nullopt, Refusal::kTooManyFiles, true},
  };
  FileSystem files;
  rlimit most{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &most), 0);
  rlimit few = most;  // no descriptor left for the walk but the working folder's
  few.rlim_cur = static_cast<rlim_t>(Fd(::open(".", O_PATH)).get()) + 1;
  for (const auto& c : cases) {
    if (c.few_files) ::setrlimit(RLIMIT_NOFILE, &few);
    const Resolution r = files.resolve(c.name);
    ::setrlimit(RLIMIT_NOFILE, &most);
    EXPECT_EQ(r ? std::optional(r.at().path()) : std::nullopt, c.target) << c.name;
    EXPECT_EQ(r.refused(), c.refused) << c.name;
    EXPECT_EQ(r.name(), c.name);
  }
}

// The lock file of "f": a thief removes it as soon as it is linked to its
// name; an intruder, another session (as nobody, where root), locks the
// folder as soon as this save has made and locked its lock file at its name
// (or, where links work, its temporary), expecting the failure it names;
// where root, the file is given to the folder's owner when the intruder is
// refused it, as the birth it came in would do; a rival save makes it at
// its name just before this one does, or that birth fails; it is removed
// just before so many opens, and its temporary just before the link. An
// existing one may be refused to this save at so many opens (-1: at
// every one), as to a user who may not open it, meanwhile showing another
// group and, where kept new, changed again at each.
struct OddLockFiles : testing::FaultyFiles {
  int births = 0;  // of the lock file or its temporary
  bool thief = false;
  std::optional<LockFailure> intruder;
  bool rival = false;
  int at_name_error = 0;  // its birth at its name fails so
  int gone_at_open = 0;
  bool temp_gone = false;
  int refused = 0;
  int refusals = 0;  // opens refused so far
  std::optional<unsigned> shown_group;
  bool kept_new = false;
  FolderRef folder;  // where the intruder locks
  bool intruding = false;
  bool examine_at(const Place& at, struct stat& st) override {
    const bool shown = FaultyFiles::examine_at(at, st);
    if (shown && at.leaf == kLockFileName && refused != 0 && shown_group) st.st_gid = *shown_group;
    return shown;
  }
  Fd create_exclusive(const Place& at, unsigned mode) override {
    births += is_lock_file(at) ? 1 : 0;
    if (at.leaf == kLockFileName && at_name_error != 0) return errno = at_name_error, Fd();
    if (at.leaf == kLockFileName && std::exchange(rival, false)) testing::write_file(at.path(), "");
    Fd fd = FaultyFiles::create_exclusive(at, mode);
    if (fd && intruder && (at.leaf == kLockFileName || link_error == 0)) {
      const auto expected = std::exchange(intruder, std::nullopt);
      try_record_lock(fd, /*exclusive=*/true);
      const bool root = ::geteuid() == 0;
      if (root && (::setegid(65534) != 0 || ::seteuid(65534) != 0)) ADD_FAILURE() << "cannot become nobody";
      LockBudget soon{std::chrono::steady_clock::now() + 100ms, 0};
      intruding = true;
      const LockFailure got = FolderLocker().lock(*this, folder, soon, {}, {}).fault.failure;
      intruding = false;
      if (root && (::seteuid(0) != 0 || ::setegid(0) != 0)) ADD_FAILURE() << "cannot become root again";
      EXPECT_EQ(got, expected);
    }
    return fd;
  }
  Fd open_existing(const Place& at, int flags) override {
    if (is_lock_file(at) && gone_at_open > 0 && gone_at_open--) ::unlinkat(at.folder->fd(), at.leaf.c_str(), 0);
    if (at.leaf == kLockFileName && refused != 0) {
      refused -= refused > 0 ? 1 : 0;
      ++refusals;
      if (kept_new) {
        EXPECT_EQ(::utimensat(at.folder->fd(), at.leaf.c_str(), nullptr, 0), 0);
      }
      return errno = EACCES, Fd();
    }
    Fd fd = FaultyFiles::open_existing(at, flags);
    if (!fd && errno == EACCES && intruding && ::seteuid(0) == 0) {
      struct stat dir {};
      EXPECT_EQ(::fstat(at.folder->fd(), &dir), 0);
      EXPECT_EQ(::fchownat(at.folder->fd(), at.leaf.c_str(), dir.st_uid, static_cast<gid_t>(-1), 0), 0);
      EXPECT_EQ(::seteuid(65534), 0);
      errno = EACCES;
    }
    return fd;
  }
  bool link_at(const Place& from, const Place& to) override {
    if (std::exchange(temp_gone, false)) ::unlinkat(from.folder->fd(), from.leaf.c_str(), 0);
    const bool linked = FaultyFiles::link_at(from, to);
    if (linked && thief) ::unlinkat(to.folder->fd(), to.leaf.c_str(), 0);
    return linked;
  }
};

TEST_F(FileReplace, TheLockFileIsOpenToThoseWhoMayWriteInItsFolder) {
  // Born private and opened to each folder's writers (with the folder's
  // group where only the group may write) before it is linked to its name,
  // so another session arriving meanwhile is never refused; one of this
  // user's that is wider is narrowed, never widened. One with a second name
  // still locks and is left as it is. Where links fail (EPERM, ENOSYS,
  // EOPNOTSUPP) it is made at its name, born with its bits: another session
  // arriving then opens it and waits, also one that comes before root has
  // given it the folder's owner (it looks again); a failure of that birth
  // is the folder's reason. Where bits cannot be set (no
  // permissions kept, often no hard links either) the lock file serves
  // with the bits it shows, made or found. A group that cannot be given is
  // not given its bits. A lock file taken away at once is taken again five
  // times at most, or until the deadline; one found taken and then gone,
  // found and gone at the open, or whose temporary is gone at the link is
  // looked for again, three times at most. Where two first saves meet
  // without hard links, the second locks the first one's. Only where links
  // fail is it born at its name. No temporary of it is left. One this user
  // may not open that may be in another session's birth (it lacks the
  // folder's group, or the list of a folder whose list names writers) is
  // looked at again, saying so, until it opens, until the deadline, or for
  // a while from the first look at most, however new it is kept; one
  // whose change time is ahead of this clock, or that is no birth, is
  // refused at once. In a folder whose access list names users or groups,
  // it gets a list of its own: read and write for each of them who may
  // write there, nothing for one who may not; elsewhere it has none.
  const auto fat = [](OddLockFiles& o) { o.link_error = EPERM, o.fixed_mode = 0777; };
  struct Case {
    const char* what;
    unsigned folder;
    std::optional<unsigned> existing;  // a lock file already there
    unsigned lock;                     // its bits after; 0: none is there
    LockFailure failure = LockFailure::kNone;
    std::function<void(OddLockFiles&)> odd = {};
    int births = 1;
    unsigned lock_as_root = 0;  // where root, whose folder has another group, sees other bits
    std::chrono::milliseconds wait = 10s;
    const char* list = nullptr;  // the folder's access list
    bool default_list = false;   // also its default for new files
    const char* lock_list = nullptr;  // the lock file's after; nullptr: none beyond its bits
    bool waits = false;               // said to wait
    int most_refusals = 0;            // opens refused at most (0: unchecked)
    std::chrono::milliseconds birth_look = 10s;
    bool clock_behind = false;  // this session's clock an hour behind the file's
  };
  const auto refused_group = [](int times) {
    return [times](OddLockFiles& o) { o.refused = times, o.shown_group = 12345; };
  };
  const char* two_users = "u::rwx,u:65533:rwx,u:65532:rwx,g::r-x,m::rwx,o::---";
  const char* for_two_users = "u::rw-,u:65532:rw-,u:65533:rw-,g::---,m::rw-,o::---";
  const Case cases[] = {
      {"private", 0700, {}, 0600},
      {"group", 0770, {}, 0660},
      {"everyone", 0777, {}, 0666},
      {"sticky", 01777, {}, 0666},
      {"narrowed", 0700, 0666, 0600, LockFailure::kNone, {}, 0},
      {"narrowed to the owner", 0750, 0644, 0600, LockFailure::kNone, {}, 0},
      {"never widened", 0777, 0600, 0600, LockFailure::kNone, {}, 0},
      {"a second name", 0700, 0666, 0666, LockFailure::kNone,
       [](OddLockFiles&) { fs::create_hard_link("f/" + std::string(kLockFileName), "second"); }, 0},
      {"no permissions, none wider", 0777, {}, 0777, LockFailure::kNone, fat, 2},
      {"no permissions, wider", 0700, {}, 0777, LockFailure::kNone, fat, 2},
      {"no permissions, 0755", 0700, {}, 0755, LockFailure::kNone, [&](OddLockFiles& o) { fat(o), o.fixed_mode = 0755; }, 2},
      {"no permissions, 0644, hard links", 0700, {}, 0644, LockFailure::kNone, [](OddLockFiles& o) { o.fixed_mode = 0644; }},
      {"links not implemented", 0770, {}, 0660, LockFailure::kNone, [](OddLockFiles& o) { o.link_error = ENOSYS; }, 2},
      {"links not supported", 0700, {}, 0600, LockFailure::kNone, [](OddLockFiles& o) { o.link_error = EOPNOTSUPP; }, 2},
      {"no permissions, found wider", 0700, 0666, 0666, LockFailure::kNone, fat, 0},
      {"no group given", 0770, {}, 0660, LockFailure::kNone, [](OddLockFiles& o) { o.no_owners = true; }, 1, 0600},
      {"another session arrives at its birth", 0777, {}, 0666, LockFailure::kNone,
       [](OddLockFiles& o) { o.intruder = LockFailure::kNone; }, 2},
      {"another session arrives at its birth at its name", 0777, {}, 0666, LockFailure::kNone,
       [](OddLockFiles& o) { o.link_error = EOPNOTSUPP, o.intruder = LockFailure::kStillHeld; }, 2},
      {"another session arrives before its owner is given", 0700, {}, 0600, LockFailure::kNone,
       [](OddLockFiles& o) {
         o.link_error = ENOSYS, o.intruder = LockFailure::kStillHeld;
         if (::geteuid() == 0) {
           EXPECT_EQ(::chown("f", 65534, static_cast<gid_t>(-1)), 0);
         }
       }, 2},
      {"links fail, and its birth at its name too", 0700, {}, 0, LockFailure::kCannotCreate,
       [](OddLockFiles& o) { o.link_error = EPERM, o.at_name_error = ENOSPC; }, 2},
      {"taken at once, every time", 0700, {}, 0, LockFailure::kTakenTooOften, [](OddLockFiles& o) { o.thief = true; }, 6},
      {"taken at once, until the deadline", 0700, {}, 0, LockFailure::kTaken, [](OddLockFiles& o) { o.thief = true; }, 1,
       0, 0ms},
      {"found taken, then gone", 0700, {}, 0600, LockFailure::kNone, [](OddLockFiles& o) { o.lock_name_taken = 1; }, 2},
      {"found taken and gone each time", 0700, {}, 0, LockFailure::kGoneEachTime,
       [](OddLockFiles& o) { o.lock_name_taken = 3; }, 3},
      {"found, then gone at the open", 0700, 0600, 0600, LockFailure::kNone, [](OddLockFiles& o) { o.gone_at_open = 1; }},
      {"its temporary gone at the link", 0700, {}, 0600, LockFailure::kNone, [](OddLockFiles& o) { o.temp_gone = true; }, 2},
      {"two first saves meet, no hard links", 0700, {}, 0600, LockFailure::kNone,
       [](OddLockFiles& o) { o.link_error = EPERM, o.rival = true; }, 2},
      {"refused while it lacks the folder's group, then given it", 0770, 0660, 0660, LockFailure::kNone,
       refused_group(2), 0, 0600, 10s, nullptr, false, nullptr, true, 2},
      {"refused while its list is to be given, then given it", 0700, 0600, 0600, LockFailure::kNone,
       [](OddLockFiles& o) { o.refused = 2; }, 0, 0, 10s, "u::rwx,u:65533:rwx,g::---,m::rwx,o::---", false, nullptr,
       true, 2},
      {"refused and kept new: looked at again for a while only", 0770, 0660, 0660, LockFailure::kCannotOpen,
       [&](OddLockFiles& o) { refused_group(-1)(o), o.kept_new = true; }, 0, 0, 10s, nullptr, false, nullptr, true, 8,
       300ms},
      {"refused until the deadline", 0770, 0660, 0660, LockFailure::kCannotOpen, refused_group(-1), 0, 0, 100ms,
       nullptr, false, nullptr, true, 4},
      {"refused, its change time ahead of this clock", 0770, 0660, 0660, LockFailure::kCannotOpen, refused_group(-1),
       0, 0, 10s, nullptr, false, nullptr, false, 1, 10s, true},
      {"refused, and no birth", 0700, 0600, 0600, LockFailure::kCannotOpen, [](OddLockFiles& o) { o.refused = -1; },
       0, 0, 10s, nullptr, false, nullptr, false, 1},
      {"shared by two named users", 0700, {}, 0660, LockFailure::kNone, {}, 1, 0, 10s, two_users, false,
       for_two_users},
      {"shared by two named users, by default too", 0700, {}, 0660, LockFailure::kNone, {}, 1, 0, 10s, two_users, true,
       for_two_users},
      {"shared by a named group", 0700, {}, 0660, LockFailure::kNone, {}, 1, 0, 10s,
       "u::rwx,g::r-x,g:65531:rwx,m::rwx,o::---", false, "u::rw-,g::---,g:65531:rw-,m::rw-,o::---"},
      {"a named user who may not write, in its group's folder", 0700, {}, 0660, LockFailure::kNone, {}, 1, 0, 10s,
       "u::rwx,u:65533:r-x,g::rwx,m::rwx,o::---", false, "u::rw-,u:65533:---,g::rw-,m::rw-,o::---"},
      {"a named user who may not write, in everyone's folder", 0700, {}, 0666, LockFailure::kNone, {}, 1, 0, 10s,
       "u::rwx,u:65533:r-x,g::rwx,m::rwx,o::rwx", false, "u::rw-,u:65533:---,g::rw-,m::rw-,o::rw-"},
      {"shared by two named users, its list refused", 0700, {}, 0600, LockFailure::kNone,
       [](OddLockFiles& o) { o.no_lists_given = true; }, 1, 0, 10s, two_users, false, nullptr},
      {"a writer's entry beyond the mask", 0700, {}, 0600, LockFailure::kNone, {}, 1, 0, 10s,
       "u::rwx,u:65533:rwx,g::rwx,m::r-x,o::---", false, "u::rw-,u:65533:---,g::---,m::---,o::---"},
  };
  std::vector<std::string> no_lists;  // rows whose folder could not be given its list
  // As root the folder is given another group, which the file must take.
  const bool root = ::geteuid() == 0;
  const std::string lock = "f/" + std::string(kLockFileName);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all("f");
    fs::remove("second");
    fs::create_directory("f");
    if (c.existing) {
      write(lock, "");
      fs::permissions(lock, fs::perms(*c.existing));
    }
    OddLockFiles files;
    if (c.odd) c.odd(files);
    fs::permissions("f", fs::perms(c.folder));
    if (root) {
      ASSERT_EQ(::chown("f", static_cast<uid_t>(-1), 65534), 0);
    }
    if (c.list && !(testing::set_list("f", c.list) && (!c.default_list || testing::set_list("f", c.list, true)))) {
      no_lists.emplace_back(c.what);
      continue;
    }
    files.folder = testing::folder_at(files, "f");
    LockBudget budget{std::chrono::steady_clock::now() + c.wait, 5};
    budget.birth_look = c.birth_look;
    if (c.clock_behind) budget.wall = +[] { return std::chrono::system_clock::now() - std::chrono::hours(1); };
    int waits = 0;
    const Locked got = files.lock(files, files.folder, budget, {}, [&] { ++waits; });
    EXPECT_EQ(got.fault.failure, c.failure);
    EXPECT_EQ(waits > 0, c.waits);
    if (c.most_refusals > 0) {
      EXPECT_LE(files.refusals, c.most_refusals);
    }
    if (files.at_name_error != 0) {
      EXPECT_EQ(got.fault.why, Refusal::kNoRoom);  // the birth's, not the link's
    }
    EXPECT_EQ(got.lock.has_value(), c.failure == LockFailure::kNone);
    EXPECT_EQ(files.births, c.births);
    // Born at its name (only where links fail) with its bits, where the
    // file system keeps any; a temporary private.
    for (const auto& [name, bits] : files.born) {
      EXPECT_TRUE(files.link_error != 0 || name != lock) << name;
      if (name != lock || !files.fixed_mode) {
        EXPECT_EQ(bits, name == lock ? c.lock : 0600u) << name;
      }
    }
    EXPECT_FALSE(files.intruder) << "the other session never came";
    EXPECT_EQ(testing::entries_of("f"), std::set<std::string>{});
    struct stat folder {};
    struct stat st {};
    ASSERT_EQ(::stat("f", &folder), 0);
    const bool there = ::stat(lock.c_str(), &st) == 0;
    const unsigned bits = root && c.lock_as_root ? c.lock_as_root : c.lock;
    EXPECT_EQ(there ? st.st_mode & 07777 : 0u, bits);
    if (bits == 0660 && !c.list && got.lock) {
      EXPECT_EQ(st.st_gid, folder.st_gid);
    }
    const std::string list = there ? testing::list_of(lock) : "";
    if (c.lock_list) {
      EXPECT_EQ(list, c.lock_list);
    } else {
      EXPECT_EQ(list.find("m::"), std::string::npos) << "a list beyond its bits: " << list;
    }
  }
  if (!no_lists.empty()) GTEST_SKIP() << "the test folder's file system keeps no access lists: " << no_lists.size() << " rows";
}

TEST_F(FileReplace, AsRootAFolderSharedThroughAnAccessListLocksForEachOfItsWriters) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root: the folder's lock is taken as each user its list names";
  // Whichever of the users the folder's list lets write, or root, locks it
  // first and so makes its lock file, each of the others locks it after,
  // without waiting and without being told it cannot be locked: two named
  // users (with the same default list, or without), a named group, and a
  // folder of one user's that its list shares with another. A member of
  // the folder's own group, whose entry may not write, may not open it.
  fs::permissions(dir_, fs::perms(0711));
  using User = std::pair<uid_t, gid_t>;
  const User root{0, 0};
  const User a{65533, 65533};
  const User b{65532, 65532};
  const User member{65530, 65534};  // of the folder's group
  const char* two_users = "u::rwx,u:65533:rwx,u:65532:rwx,g::r-x,m::rwx,o::---";
  const struct {
    const char* what;
    uid_t owner;
    const char* list;
    bool default_list;
    std::vector<User> savers;
  } cases[] = {
      {"two named users", 0, two_users, false, {root, a, b}},
      {"two named users, by default too", 0, two_users, true, {root, a, b}},
      {"a named group", 0, "u::rwx,g::r-x,g:65531:rwx,m::rwx,o::---", false, {root, {a.first, 65531}, {b.first, 65531}}},
      {"one user's folder shared with another", a.first, "u::rwx,u:65532:rwx,g::r-x,m::rwx,o::---", true, {root, a, b}},
  };
  for (const auto& c : cases) {
    for (std::size_t first = 0; first < c.savers.size(); ++first) {
      SCOPED_TRACE(std::string(c.what) + ", made by " + std::to_string(c.savers[first].first));
      fs::remove_all("share");
      fs::create_directory("share");
      ASSERT_EQ(::chown("share", c.owner, 65534), 0);
      ASSERT_TRUE(testing::set_list("share", c.list));
      if (c.default_list) {
        ASSERT_TRUE(testing::set_list("share", c.list, true));
      }
      // The maker first, then the others, root among them, each after the
      // one before.
      std::vector<User> order = {c.savers[first]};
      for (std::size_t k = 0; k < c.savers.size(); ++k) {
        if (k != first) order.push_back(c.savers[k]);
      }
      for (const auto& [uid, gid] : order) {
        const testing::AsUser as(uid, gid);
        FileSystem files;
        bool waited = false;
        FolderLocks locks(files, 100ms, [&](const Folder&) { waited = true; });
        EXPECT_EQ(locks.take({testing::folder_at(files, "share")}), FolderLocks::Outcome::kDone) << uid;
        EXPECT_EQ(locks.held().size(), 1u) << uid;
        EXPECT_TRUE(locks.unlocked().empty()) << uid;
        EXPECT_FALSE(waited) << uid;
      }
      const testing::AsUser as(member.first, member.second);
      FileSystem files;
      LockBudget now{std::chrono::steady_clock::now(), 0};
      EXPECT_EQ(FolderLocker().lock(files, testing::folder_at(files, "share"), now, {}, {}).fault.failure,
                LockFailure::kCannotOpen);
    }
  }
}

TEST_F(FileReplace, ASaveLocksTheFolderOfEveryNameAfterItsLinks) {
  // RONDDAT links into store/, whose lock another holder has: the save
  // waits for it, says so once, naming the folder, and holds it then.
  // LOWDAT lies in twin/, whose lock file is the same file under another
  // name: held by the same lock, never waited on. LASTBAK lies in a folder
  // whose lock file's name is taken by a directory: that one is not held,
  // and the reason is given.
  fs::create_directories("odd/" + std::string(kLockFileName));
  fs::create_directories("twin");
  fs::create_directory("store");
  fs::create_symlink("store/RONDDAT", "RONDDAT");
  FileSystem files;
  auto there = testing::lock_of("store");
  ASSERT_TRUE(there);
  fs::create_hard_link("store/" + std::string(kLockFileName), "twin/" + std::string(kLockFileName));
  std::vector<FolderRef> folders;
  for (const char* name : {"RONDDAT", "RONDBAK", "odd/LASTBAK", "twin/LOWDAT"}) {
    folders.push_back(files.resolve(name).at().folder);
  }
  std::vector<std::string> waited;
  const auto names = [](const std::vector<FolderLock>& held) {
    std::set<std::string> n;
    for (const FolderLock& lock : held) n.insert(lock.folder()->name());
    return n;
  };
  {
    FolderLocks locks(files, 10s, [&](const Folder& folder) { waited.push_back(folder.name()), there.reset(); });
    EXPECT_EQ(locks.take(folders), FolderLocks::Outcome::kDone);
    // The other holder's, in whichever of its two folders comes first.
    ASSERT_EQ(waited.size(), 1u);
    EXPECT_TRUE(waited[0] == "store" || waited[0] == "twin") << waited[0];
    EXPECT_EQ(names(locks.held()), (std::set<std::string>{".", "store", "twin"}));
    ASSERT_EQ(locks.unlocked().size(), 1u);
    EXPECT_EQ(locks.unlocked()[0].folder->name(), "odd");
    EXPECT_EQ(locks.unlocked()[0].fault.failure, LockFailure::kNotPlainFile);
    EXPECT_EQ(locks.unlocked()[0].fault.type, unsigned{S_IFDIR});
    EXPECT_FALSE(locks.failed());
    EXPECT_FALSE(locks.taken());

    // A second save waits for this one, a short while here, and gives up
    // holding nothing.
    FolderLocks second(files, 100ms, {});
    EXPECT_EQ(second.take(folders), FolderLocks::Outcome::kStillHeld);
    EXPECT_TRUE(second.failed());
    EXPECT_TRUE(second.held().empty());
  }
}

TEST(FolderLockFailure, EndsTheSaveOrLetsItGoOnUnlocked) {
  // By the failure, in a folder not held before in the save and in one
  // held before (whose lock was taken).
  using F = LockFailure;
  using O = FolderLocks::Outcome;
  const std::tuple<F, O, O> rows[] = {
      {F::kNone, O::kDone, O::kDone},          {F::kStillHeld, O::kStillHeld, O::kTaken},
      {F::kTaken, O::kTaken, O::kTaken},       {F::kTakenTooOften, O::kTakenTooOften, O::kTakenTooOften},
      {F::kRefused, O::kDone, O::kTaken},      {F::kCannotCreate, O::kDone, O::kTaken},
      {F::kCannotOpen, O::kDone, O::kTaken},   {F::kNotPlainFile, O::kDone, O::kTaken},
      {F::kGoneEachTime, O::kDone, O::kTaken}, {F::kNoIdentity, O::kDone, O::kTaken}};
  for (const auto& [failure, first, held_before] : rows) {
    EXPECT_EQ(outcome_of(failure, false), first) << static_cast<int>(failure);
    EXPECT_EQ(outcome_of(failure, true), held_before) << static_cast<int>(failure);
  }
}

TEST_F(FileReplace, EveryStepAfterTheWalkActsInTheFolderItFound) {
  // LASTBAK -> sub/LASTBAK. After the walk, sub is renamed away and a link
  // to a private folder takes its name: the lock file and the file still go
  // into the folder the walk found.
  fs::create_directories("sub");
  fs::create_directory("private");
  fs::create_symlink("sub/LASTBAK", "LASTBAK");
  FileSystem& files = t.s.files();
  const Resolution to = files.resolve("LASTBAK");
  ASSERT_TRUE(to);
  fs::rename("sub", "moved");
  fs::create_directory_symlink("private", "sub");
  {
    FolderLocks locks(files, 0ms, {});
    EXPECT_EQ(locks.take({to.at().folder}), FolderLocks::Outcome::kDone);
    EXPECT_EQ(locks.held().size(), 1u);
    ASSERT_TRUE(replace_at(files, to, "backup"));
  }
  EXPECT_EQ(read("moved/LASTBAK"), "backup");
  EXPECT_TRUE(fs::exists("moved/" + std::string(kLockFileName)));
  EXPECT_TRUE(fs::is_empty("private"));

  // A folder whose full name is longer than any path (25 folders of 200
  // characters), reached through a link in each: held folders reach it.
  const std::string long_name(200, 'd');
  int at = ::open(".", O_PATH | O_DIRECTORY);
  std::string via;
  for (int k = 0; k < 25; ++k, via += "next/") {
    ASSERT_EQ(::mkdirat(at, long_name.c_str(), 0700), 0);
    ASSERT_EQ(::symlinkat(long_name.c_str(), at, "next"), 0);
    const int down = ::openat(at, long_name.c_str(), O_PATH | O_DIRECTORY);
    ::close(at);
    at = down;
  }
  ::close(at);
  fs::create_symlink(via + "RONDBAK", "RONDBAK");
  ASSERT_TRUE(replace_file(t.s.files(), "RONDBAK", "far away"));
  EXPECT_EQ(read("RONDBAK"), "far away");  // through the links, as the kernel reads it
}

// Files may grow to `bytes` only while it lives: a write beyond fails as on
// a full disk (EFBIG, with SIGXFSZ ignored).
struct FileSizeLimit {
  explicit FileSizeLimit(rlim_t bytes) {
    old_handler = ::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit now = old;
    now.rlim_cur = bytes;
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &now), 0);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, old_handler);
  }
  rlimit old{};
  sighandler_t old_handler;
};

TEST_F(FileReplace, AWriteThatFailsPartWayIsAFailure) {
  // At the first byte, after the first buffer of a larger file, or inside
  // its last buffer (a write cut short there): a replaced file stays as it
  // was and leaves no temporary, and a file written in place reports the
  // failure at its close.
  const struct {
    rlim_t limit;
    std::size_t bytes;
  } cases[] = {{0, 10}, {100000, 300000}, {280000, 300000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.limit);
    write("RONDDAT", "old");
    const std::string bytes(c.bytes, 'x');
    bool replaced = true;
    bool written = true;
    {
      const FileSizeLimit limit(c.limit);
      replaced = replace_file(t.s.files(), "RONDDAT", bytes);
      ASSERT_TRUE(t.s.open_output(kListingUnit, "RONDIN.stxt"));
      t.s.write(kListingUnit, bytes);
      written = t.s.close_unit(kListingUnit);
    }
    EXPECT_FALSE(replaced);
    EXPECT_FALSE(written);
    EXPECT_EQ(read("RONDDAT"), "old");
    EXPECT_EQ(entries(), (std::set<std::string>{"RONDDAT", "RONDIN.stxt"}));
  }
}

// The renames of a commit seen by a signal that comes during the first, or
// (`at_birth`) once the first file is made: whether that file was still
// there when the signal took effect.
struct Interrupting : testing::FaultyFiles {
  static inline int signal = 0;
  static inline bool at_birth = false;
  static inline int renamed = 0;   // renames done
  static inline int seen_at = -1;  // renames done when the signal took effect
  static inline std::string born;
  static inline bool born_left = false;
  static inline unsigned lock_bits = 0;  // of open/.kelp-save.lock; 0: not there
  Fd create_exclusive(const Place& at, unsigned mode) override {
    Fd fd = FileSystem::create_exclusive(at, mode);
    if (std::exchange(at_birth, false)) born = at.path(), ::raise(signal);
    return fd;
  }
  bool rename_at(const Place& from, const Place& to) override {
    if (renamed == 0 && seen_at < 0) ::raise(signal);
    return FileSystem::rename_at(from, to) && ++renamed > 0;
  }
};

TEST_F(FileReplace, AnEndingSignalTakesEffectOnlyAfterTheStepsItWouldCutInTwo) {
  for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    SCOPED_TRACE(sig);
    Interrupting::signal = sig;
    Interrupting::renamed = 0;
    Interrupting::seen_at = -1;
    struct sigaction noting {};
    struct sigaction old {};
    noting.sa_handler = [](int) {
      Interrupting::seen_at = Interrupting::renamed;
      Interrupting::born_left = ::access(Interrupting::born.c_str(), F_OK) == 0;
    };
    ASSERT_EQ(::sigaction(sig, &noting, &old), 0);
    Interrupting files;
    LockBudget now{std::chrono::steady_clock::now(), 0};
    FileReplacement cascade(files);
    for (const char* name : {"LASTBAK", "RONDBAK", "RONDDAT"}) ASSERT_TRUE(cascade.stage(files.resolve(name), name));
    EXPECT_TRUE(cascade.commit());
    ::sigaction(sig, &old, nullptr);
    EXPECT_EQ(Interrupting::seen_at, 3);
    EXPECT_EQ(read("RONDDAT"), "RONDDAT");
    // So does the emptying of a run's earlier report, from the temporary's
    // creation to its rename.
    Interrupting::at_birth = true;
    Interrupting::renamed = 0;
    Interrupting::seen_at = -1;
    ASSERT_EQ(::sigaction(sig, &noting, &old), 0);
    ScriptedSession run;
    run.s.set_files(std::make_shared<Interrupting>());
    EXPECT_TRUE(run.s.open_staged(kSilentUnit, "RONDDAT", true));
    ::sigaction(sig, &old, nullptr);
    EXPECT_EQ(Interrupting::seen_at, 1);
    EXPECT_EQ(read("RONDDAT"), "");
    EXPECT_FALSE(Interrupting::born_left);
    // So does the birth of a folder's lock file, from its temporary's
    // creation to the removal of that name.
    Interrupting::at_birth = true;
    ASSERT_EQ(::sigaction(sig, &noting, &old), 0);
    EXPECT_TRUE(FolderLocker().lock(files, testing::folder_at(files, "."), now, {}, {}).lock);
    ::sigaction(sig, &old, nullptr);
    EXPECT_FALSE(Interrupting::born_left);
    fs::remove(kLockFileName);
    // And where links fail, over its birth at its name: the signal finds it
    // there with its bits.
    fs::create_directory("open");
    fs::permissions("open", fs::perms(0777));
    Interrupting::at_birth = true;
    files.link_error = EOPNOTSUPP;
    noting.sa_handler = [](int) {
      struct stat st {};
      Interrupting::lock_bits = ::stat("open/.kelp-save.lock", &st) == 0 ? st.st_mode & 07777 : 0;
    };
    ASSERT_EQ(::sigaction(sig, &noting, &old), 0);
    EXPECT_TRUE(FolderLocker().lock(files, testing::folder_at(files, "open"), now, {}, {}).lock);
    ::sigaction(sig, &old, nullptr);
    files.link_error = 0;
    EXPECT_EQ(Interrupting::lock_bits, 0666u);
    fs::remove_all("open");
  }
}

}  // namespace
}  // namespace kelp
