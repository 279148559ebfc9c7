#pragma once
// Helpers for the end-to-end tests: run a built editor in a fresh temporary
// directory with a reply script on standard input, capture what it shows and
// how it ends, and read or plant the files of that directory.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "sysutl/diskio.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp::e2e {

// Path of a program built in this build tree ("ronvaske", "pivlorn").
inline std::string program_path(const std::string& name) { return std::string(KELP_BINARY_DIR) + "/" + name; }

using testing::TempDir;

struct RunResult {
  std::string screen;  // standard output
  std::string errors;  // standard error
  int status = -1;     // exit status; 128 + signal number when killed
  bool timed_out = false;
};

namespace detail {
inline std::string slurp_fd(int fd) {
  std::string out;
  ::lseek(fd, 0, SEEK_SET);
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  return out;
}
}  // namespace detail

// A program started in the background (start), collected by finish.
struct Started {
  pid_t pid = -1;
  std::FILE* in = nullptr;
  std::FILE* out = nullptr;
  std::FILE* err = nullptr;
};

// Starts `program` in `dir` with `replies` on standard input (a file, so the
// program sees end of input after the last reply) and standard output and
// error captured. `env` adds or replaces environment variables (for
// instance PATH for a stand-in program). A program that runs longer than
// `timeout_seconds` is killed (SIGALRM) and reported as timed out. With
// `as_user` (a root test only) the program runs as that user and group,
// without supplementary groups.
inline Started start(const std::string& program, const std::string& dir, const std::string& replies,
                     const std::vector<std::pair<std::string, std::string>>& env = {},
                     unsigned timeout_seconds = 30, int as_user = -1) {
  Started p{-1, std::tmpfile(), std::tmpfile(), std::tmpfile()};
  if (!p.in || !p.out || !p.err) throw std::runtime_error("tmpfile failed");
  std::fwrite(replies.data(), 1, replies.size(), p.in);
  std::fflush(p.in);
  std::rewind(p.in);
  std::fflush(nullptr);

  p.pid = ::fork();
  if (p.pid < 0) throw std::runtime_error("fork failed");
  if (p.pid == 0) {
    ::dup2(::fileno(p.in), 0);
    ::dup2(::fileno(p.out), 1);
    ::dup2(::fileno(p.err), 2);
    if (as_user >= 0 && (::setgroups(0, nullptr) != 0 || ::setgid(static_cast<gid_t>(as_user)) != 0 ||
                         ::setuid(static_cast<uid_t>(as_user)) != 0)) {
      ::_exit(125);
    }
    if (::chdir(dir.c_str()) != 0) ::_exit(126);
    for (const auto& [k, v] : env) ::setenv(k.c_str(), v.c_str(), 1);
    ::alarm(timeout_seconds);
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return p;
}

// Waits for a started program and returns how it ended and what it showed.
inline RunResult finish(Started& p) {
  int wstatus = 0;
  while (::waitpid(p.pid, &wstatus, 0) < 0) {
  }
  RunResult r;
  if (WIFEXITED(wstatus)) {
    r.status = WEXITSTATUS(wstatus);
  } else if (WIFSIGNALED(wstatus)) {
    r.status = 128 + WTERMSIG(wstatus);
    r.timed_out = WTERMSIG(wstatus) == SIGALRM;
  }
  r.screen = detail::slurp_fd(::fileno(p.out));
  r.errors = detail::slurp_fd(::fileno(p.err));
  std::fclose(p.in);
  std::fclose(p.out);
  std::fclose(p.err);
  return r;
}

// Runs `program` to its end, as start describes.
inline RunResult run(const std::string& program, const std::string& dir, const std::string& replies,
                     const std::vector<std::pair<std::string, std::string>>& env = {},
                     unsigned timeout_seconds = 30) {
  Started p = start(program, dir, replies, env, timeout_seconds);
  return finish(p);
}

// Runs a program of this build tree by name in a TempDir.
inline RunResult run(const TempDir& dir, const std::string& name, const std::string& replies,
                     const std::vector<std::pair<std::string, std::string>>& env = {}) {
  return run(program_path(name), dir.path(), replies, env);
}

// ---- Files of the run directory ----

using testing::slurp;
using testing::write_file;

// Every regular file of a directory with its contents, to show that a run
// left the directory exactly as it was (the empty lock file of a save
// aside: testing::entries_of).
inline std::map<std::string, std::string> snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const std::string& name : testing::entries_of(dir)) {
    const std::string path = dir + "/" + name;
    if (std::filesystem::is_regular_file(path)) files[name] = slurp(path);
  }
  return files;
}

// ---- Data-file bytes ----

// A data file is one unformatted big-endian record (marker, words, marker):
// sysutl's encode_record writes it, get_be32 reads its words.
using testing::be32;
using testing::get_be32;

// Word n of a data file written as one record (after the leading marker).
inline std::int32_t file_word(const std::string& bytes, std::size_t n) {
  return static_cast<std::int32_t>(get_be32(bytes, 4 + 4 * n));
}

inline float file_real(const std::string& bytes, std::size_t n) {
  const std::uint32_t v = get_be32(bytes, 4 + 4 * n);
  float f;
  static_assert(sizeof f == sizeof v);
  std::memcpy(&f, &v, sizeof f);
  return f;
}

// A disc-buoy file as the current version of ronvaske writes it.
inline std::vector<std::int32_t> disc_buoy_words() {
  std::vector<std::int32_t> w(1987, 0);
  w[0] = 1987;
  w[1] = 4;
  w[6] = 2;
  w[14] = 149;
  w[108] = 1;
  w[111] = 2020;
  w[120] = 21;
  w[141] = 49;
  w[216] = std::bit_cast<std::int32_t>(6.8f);
  w[776] = 4;
  for (std::size_t k = 59; k < 79; ++k) w[k] = 0x44434241;  // "ABCD" as a little-endian writer stores it
  return w;
}

// A reply script: one line per reply.
inline std::string script(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

// Replies that give a new disc-buoy record what the consistency checks ask
// of a buoy, from its page 1 to its page 3: water depth 100; displacement
// 500, KMT and KML 20, VKG 5, waterplane area 300, length and beam 30,
// draft 10; the three gyradii 10. They leave the user on page 3.
inline std::vector<std::string> sound_buoy_pages() {
  return {"4", "100", "",                                                                   // page 1
          "1", "500", "2", "20", "3", "20", "5", "5", "7", "300", "8", "30", "9", "30", "10", "10", "",  // page 2
          "1", "10", "2", "10", "3", "10"};                                                   // page 3
}

// A reply script: "C", the sound pages, then `rest`.
inline std::string sound_buoy_script(const std::vector<std::string>& rest) {
  std::vector<std::string> lines = {"C"};
  for (const auto& l : sound_buoy_pages()) lines.push_back(l);
  lines.insert(lines.end(), rest.begin(), rest.end());
  return script(lines);
}

// The labels of the page headers shown, in order, each followed by a blank.
inline std::string page_labels(const std::string& screen) {
  std::string labels;
  for (std::size_t p = screen.find("  Page "); p != std::string::npos; p = screen.find("  Page ", p + 1)) {
    const std::size_t colon = screen.find(':', p);
    labels += screen.substr(p + 7, colon - p - 7) + " ";
  }
  return labels;
}

using testing::count_of;

}  // namespace kelp::e2e
