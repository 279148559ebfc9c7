#include "sysutl/file_replace.hpp"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
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
  // after the link before it, a name not yet made; at most 40 links.
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
  };
  FileSystem files;
  for (const auto& c : cases) {
    const Resolution r = files.resolve(c.name);
    EXPECT_EQ(r ? std::optional(r.at().path()) : std::nullopt, c.target) << c.name;
    EXPECT_EQ(r.refused(), c.refused) << c.name;
    EXPECT_EQ(r.name(), c.name);
  }
}

TEST_F(FileReplace, TheLockFileIsOpenToThoseWhoMayWriteInItsFolder) {
  // Made in each folder as it calls for, with the folder's group where only
  // the group may write; one of this user's that is wider is narrowed, never
  // widened. A lock file with a second name is none: the folder is not
  // locked, and the file is left as it is.
  struct Case {
    unsigned folder;
    std::optional<unsigned> existing;  // a lock file already there
    unsigned lock;
    bool linked = false;  // the lock file has a second name
  };
  const Case cases[] = {{0700, {}, 0600},   {0770, {}, 0660},   {0777, {}, 0666},   {01777, {}, 0666},
                        {0700, 0666, 0600}, {0750, 0644, 0600}, {0777, 0600, 0600}, {0777, 0600, 0600, true}};
  // As root the folder is given another group, which the file must take.
  const bool root = ::geteuid() == 0;
  FileSystem files;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.folder) + " " + std::to_string(c.existing.value_or(0)));
    fs::remove_all("f");
    fs::create_directory("f");
    const std::string lock = "f/" + std::string(kLockFileName);
    if (c.existing) {
      write(lock, "");
      fs::permissions(lock, fs::perms(*c.existing));
    }
    if (c.linked) fs::create_hard_link(lock, "second-name");
    fs::permissions("f", fs::perms(c.folder));
    if (root) {
      ASSERT_EQ(::chown("f", static_cast<uid_t>(-1), 65534), 0);
    }
    const Locked got = files.lock_folder(testing::folder_at(files, "f"), std::chrono::steady_clock::now(), {});
    EXPECT_EQ(got.failure, c.linked ? LockFailure::kLinked : LockFailure::kNone);
    struct stat folder {};
    struct stat st {};
    ASSERT_EQ(::stat("f", &folder), 0);
    ASSERT_EQ(::stat(lock.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.lock);
    if (c.lock == 0660) {
      EXPECT_EQ(st.st_gid, folder.st_gid);
    }
    fs::remove("second-name");
  }
}

TEST_F(FileReplace, ASaveLocksTheFolderOfEveryNameAfterItsLinks) {
  // RONDDAT links into store/, whose lock another holder has: the save
  // waits for it, says so once, naming the folder, and holds it then.
  // LASTBAK lies in a folder whose lock file's name is taken by a
  // directory: that one is not held, and the reason is given.
  fs::create_directories("odd/" + std::string(kLockFileName));
  fs::create_directory("store");
  fs::create_symlink("store/RONDDAT", "RONDDAT");
  FileSystem files;
  auto there = testing::lock_of("store");
  ASSERT_TRUE(there);
  std::vector<FolderRef> folders;
  for (const char* name : {"RONDDAT", "RONDBAK", "odd/LASTBAK"}) folders.push_back(files.resolve(name).at().folder);
  std::vector<std::string> waited;
  const auto names = [](const std::vector<FolderRef>& held) {
    std::set<std::string> n;
    for (const FolderRef& f : held) n.insert(f->name());
    return n;
  };
  {
    FolderLocks locks(files, 10s, [&](const Folder& folder) { waited.push_back(folder.name()), there.reset(); });
    EXPECT_TRUE(locks.take(folders));
    EXPECT_EQ(waited, std::vector<std::string>{"store"});
    EXPECT_EQ(names(locks.held()), (std::set<std::string>{".", "store"}));
    ASSERT_EQ(locks.unlocked().size(), 1u);
    EXPECT_EQ(locks.unlocked()[0].folder->name(), "odd");
    EXPECT_EQ(locks.unlocked()[0].why, LockFailure::kNotPlainFile);
    EXPECT_FALSE(locks.still_held());

    // A second save waits for this one, a short while here, and gives up
    // holding nothing.
    FolderLocks second(files, 100ms, {});
    EXPECT_FALSE(second.take(folders));
    EXPECT_TRUE(second.still_held());
    EXPECT_TRUE(second.held().empty());
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
    EXPECT_TRUE(locks.take({to.at().folder}));
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
  // At the first byte, or after the first buffer of a larger file: a
  // replaced file stays as it was and leaves no temporary, and a file
  // written in place reports the failure at its close.
  const struct {
    rlim_t limit;
    std::size_t bytes;
  } cases[] = {{0, 10}, {100000, 300000}};
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

// The renames of a commit seen by an interrupt that comes during the first.
struct Interrupting : FileSystem {
  static inline int renamed = 0;     // renames done
  static inline int seen_at = -1;    // renames done when the interrupt took effect
  bool rename_at(const Place& from, const Place& to) override {
    if (renamed == 0) ::raise(SIGINT);
    return FileSystem::rename_at(from, to) && ++renamed > 0;
  }
};

TEST_F(FileReplace, AnInterruptDuringACommitTakesEffectAfterItsLastRename) {
  struct sigaction noting {};
  struct sigaction old {};
  noting.sa_handler = [](int) { Interrupting::seen_at = Interrupting::renamed; };
  ASSERT_EQ(::sigaction(SIGINT, &noting, &old), 0);
  t.s.set_files(std::make_shared<Interrupting>());
  FileReplacement cascade(t.s.files());
  for (const char* name : {"LASTBAK", "RONDBAK", "RONDDAT"}) ASSERT_TRUE(cascade.stage(t.s.files().resolve(name), name));
  EXPECT_TRUE(cascade.commit());
  ::sigaction(SIGINT, &old, nullptr);
  EXPECT_EQ(Interrupting::seen_at, 3);
  EXPECT_EQ(read("RONDDAT"), "RONDDAT");
}

}  // namespace
}  // namespace kelp
