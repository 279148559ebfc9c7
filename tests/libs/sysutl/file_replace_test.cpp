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
  static std::set<std::string> entries(const std::string& dir = ".") {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
  }
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
  std::unique_ptr<std::ostream> create_new(const std::string& path, const std::string& like) override {
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

}  // namespace
}  // namespace kelp
