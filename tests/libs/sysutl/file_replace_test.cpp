#include "sysutl/file_replace.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

namespace fs = std::filesystem;
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
  ASSERT_TRUE(replace_file(t.s, "RONDDAT", "new"));
  EXPECT_TRUE(fs::is_symlink("RONDDAT"));
  EXPECT_TRUE(fs::is_symlink("store/hop"));
  EXPECT_EQ(read("store/real"), "new");
  EXPECT_EQ(entries("store"), (std::set<std::string>{"hop", "real"}));  // no temporary left
  EXPECT_EQ(entries(), (std::set<std::string>{"RONDDAT", "store"}));
}

// Before the first temporary is created, something is put under its name.
struct Squatter : FileSystem {
  std::function<void(const std::string&)> plant;
  std::string squatted;
  std::unique_ptr<std::ostream> create_new(const std::string& path, const Protection* like) override {
    if (squatted.empty()) plant(squatted = path);
    return FileSystem::create_new(path, like);
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& name : entries()) fs::remove_all(name);
    write("victim", "someone else's");
    write("RONDDAT", "old");
    auto squatter = std::make_shared<Squatter>();
    squatter->plant = c.plant;
    t.s.set_files(squatter);
    ASSERT_TRUE(replace_file(t.s, "RONDDAT", "new"));
    EXPECT_EQ(read("RONDDAT"), "new");
    EXPECT_EQ(read("victim"), "someone else's");
    EXPECT_TRUE(c.intact(squatter->squatted));
    EXPECT_EQ(entries(), (std::set<std::string>{"RONDDAT", "victim", squatter->squatted}));
  }
}

TEST_F(FileReplace, ASaveLocksTheFolderOfEveryNameAfterItsLinks) {
  // RONDDAT links into store/, whose lock another holder has: the save
  // waits for it, says so once, and holds it then. LASTBAK lies in a folder
  // whose lock file's name is taken by a directory: that one is not held.
  fs::create_directories("odd/" + std::string(kLockFileName));
  fs::create_directory("store");
  fs::create_symlink("store/RONDDAT", "RONDDAT");
  auto there = FileSystem().lock_directory("store", {});
  ASSERT_TRUE(there);
  int waits = 0;
  const FolderLocks locks(t.s, {"RONDDAT", "RONDBAK", "odd/LASTBAK"}, [&] { ++waits, there.reset(); });
  EXPECT_EQ(waits, 1);
  EXPECT_TRUE(locks.holds("RONDDAT") && locks.holds("RONDBAK"));
  EXPECT_FALSE(locks.holds("odd/LASTBAK") || locks.complete());
  // Open to every user who may reach it, whatever the umask.
  EXPECT_EQ(fs::status("store/" + std::string(kLockFileName)).permissions(), fs::perms(0666));
}

}  // namespace
}  // namespace kelp
