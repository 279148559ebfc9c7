#include "sysutl/files_shell.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

void syopen(Session& s, const std::string& name, int form, int status, int unit, std::string_view caller,
            int msgunit, bool for_output) {
  const bool binary = form == 0;
  Refusal why = Refusal::kMissing;
  if (status == 0) {
    // A new, empty file of that name, whether or not one existed.
    if (!s.open_output(unit, name, false, binary, &why)) acerr(s, caller, name, msgunit, why);
    return;
  }
  const Resolution found = s.files().resolve(name);
  if (!found) why = found.refused();
  const bool there = found && s.files().kind_at(found.at()) != FileSystem::Kind::kAbsent;
  const bool opened =
      there && (for_output ? s.open_output(unit, name, false, binary, &why) : s.open_input(unit, name, &why));
  if (!opened && status == 1) acerr(s, caller, name, msgunit, why);
}

void hclose(Session& s, int unit, std::string_view name, std::string_view caller, int msgunit) {
  if (!s.is_open(unit)) return;
  Refusal why = Refusal::kFailed;
  if (!s.close_unit(unit, &why)) acerr(s, caller, name, msgunit, why);
}

namespace {

// The run's own reports that open_report opened: the name and caller each
// names when it cannot be written at the end.
struct RunReports {
  std::map<int, std::pair<std::string, std::string>> named;
};

}  // namespace

bool open_report(Session& s, const std::string& name, int unit, std::string_view caller, int msgunit,
                 std::string_view then) {
  Refusal why = Refusal::kFailed;
  if (s.open_staged(unit, name, /*run_report=*/true, &why)) {
    s.state<RunReports>().named[unit] = {name, std::string(caller)};
    return true;
  }
  acerr_report(s, caller, name, msgunit, why, then);
  return false;
}

bool close_run_report(Session& s, int unit, std::string_view caller) {
  const std::string findings = s.findings(unit);
  Refusal why = Refusal::kFailed;
  if (s.close_unit(unit, &why)) return true;
  const auto& [name, opener] = s.state<RunReports>().named[unit];
  acerr_lines(s, caller.empty() ? std::string_view(opener) : caller, name, kScreen, why);
  s.write(kScreen, findings);
  s.unit(kScreen).flush();
  return false;
}

int close_run_reports(Session& s, int status) {
  for (const int unit : s.run_report_units()) {
    if (!close_run_report(s, unit)) status = kFileErrorStatus;
  }
  return status;
}

namespace {

// A report's refusal: on `also` first where it is open, then acerr's
// message and wait on msgunit.
bool report_refused(Session& s, std::string_view name, std::string_view caller, int msgunit, int also, Refusal why) {
  if (also != msgunit && s.is_open(also)) acerr_lines(s, caller, name, also, why);
  acerr_report(s, caller, name, msgunit, why);
  return false;
}

}  // namespace

bool open_staged_report(Session& s, const std::string& name, int unit, std::string_view caller, int msgunit,
                        int also) {
  Refusal why = Refusal::kFailed;
  return s.open_staged(unit, name, false, &why) || report_refused(s, name, caller, msgunit, also, why);
}

bool close_report(Session& s, int unit, std::string_view name, std::string_view caller, int msgunit, int also) {
  Refusal why = Refusal::kFailed;
  return !s.is_open(unit) || s.close_unit(unit, &why) || report_refused(s, name, caller, msgunit, also, why);
}

namespace {

// The UTF-8 sequence that starts at `at`: its length in bytes and the code
// point it encodes; length 0 when the bytes there are no valid sequence.
std::pair<std::size_t, char32_t> utf8_at(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07u;
  } else {
    return {0, 0};
  }
  if (at + length > text.size()) return {0, 0};
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0u) != 0x80u) return {0, 0};
    code = (code << 6) | (byte(k) & 0x3Fu);
  }
  // Overlong forms, surrogates and code points past the last one are no
  // characters.
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kLeast[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return {0, 0};
  return {length, code};
}

void escape_byte(std::string& shown, unsigned char byte) {
  static constexpr std::array<std::pair<char, char>, 7> kShort = {
      {{'\a', 'a'}, {'\b', 'b'}, {'\t', 't'}, {'\n', 'n'}, {'\v', 'v'}, {'\f', 'f'}, {'\r', 'r'}}};
  shown += '\\';
  const auto named = std::ranges::find(kShort, static_cast<char>(byte), &std::pair<char, char>::first);
  if (named != kShort.end()) {
    shown += named->second;
    return;
  }
  for (int shift : {6, 3, 0}) shown += static_cast<char>('0' + ((byte >> shift) & 7));
}

// The characters a terminal obeys without showing them, by code point, in
// order: every character of Unicode's format category (Cf, as of Unicode
// 15.1: the soft hyphen, the Arabic, Syriac and Mongolian marks, the
// zero-width characters, the bidirectional marks, embeddings, overrides and
// isolates, the invisible operators, the byte order mark, the interlinear
// annotations, the hieroglyph and shorthand format controls, the musical
// beams and the tags) and the line and paragraph separators.
constexpr std::array<std::pair<char32_t, char32_t>, 22> kFormatCharacters = {{
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},
    {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x2028, 0x2029},  // Zl, Zp
    {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},
    {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
    {0xE0001, 0xE0001}, {0xE0020, 0xE007F},
}};

bool is_format_character(char32_t code) {
  // The first range that does not end before the code.
  const auto range = std::ranges::lower_bound(kFormatCharacters, code, {}, &std::pair<char32_t, char32_t>::second);
  return range != kFormatCharacters.end() && range->first <= code;
}

// "\u{202e}": the code point in lower-case hexadecimal.
void escape_code_point(std::string& shown, char32_t code) {
  static constexpr std::string_view kHex = "0123456789abcdef";
  std::string digits;
  for (; code != 0 || digits.empty(); code >>= 4) digits.insert(digits.begin(), kHex[code & 0xFu]);
  shown += "\\u{" + digits + "}";
}

}  // namespace

std::string shown_name(std::string_view name) {
  std::string shown;
  for (std::size_t at = 0; at < name.size();) {
    const auto byte = static_cast<unsigned char>(name[at]);
    if (byte == '\\') {
      shown += "\\\\";
      ++at;
    } else if (byte >= 32 && byte < 127) {
      shown += name[at++];
    } else if (byte < 128) {
      escape_byte(shown, byte);  // C0 controls and DEL
      ++at;
    } else if (const auto [length, code] = utf8_at(name, at); length > 0) {
      // A character of UTF-8 as it stands, but the C1 controls
      // (U+0080 to U+009F) and the format characters, which a terminal
      // obeys.
      if (is_format_character(code)) {
        escape_code_point(shown, code);
        at += length;
        continue;
      }
      for (std::size_t k = 0; k < length; ++k, ++at) {
        if (code <= 0x9F) {
          escape_byte(shown, static_cast<unsigned char>(name[at]));
        } else {
          shown += name[at];
        }
      }
    } else {
      // A byte of no UTF-8 character: a C1 control of an 8-bit terminal is
      // escaped, any other byte (a name in another encoding) stands.
      if (byte <= 0x9F) {
        escape_byte(shown, byte);
      } else {
        shown += name[at];
      }
      ++at;
    }
  }
  return shown;
}

std::string_view refusal_words(Refusal why) {
  switch (why) {
    case Refusal::kWriteProtected:
      return "write-protected";
    case Refusal::kNotReadable:
      return "it may not be read";
    case Refusal::kForeignLink:
      return "another user's link in a shared folder";
    case Refusal::kNotRenamable:
      return "another user's file that the shared folder does not let you rename";
    case Refusal::kNotRegular:
      return "not a regular file";
    case Refusal::kUnreachable:
      return "cannot be reached";
    case Refusal::kNoFolder:
      return "a folder on its way does not exist";
    case Refusal::kMissing:
      return "there is no such file";
    case Refusal::kFolderNotWritable:
      return "its folder may not be written";
    case Refusal::kFolderNotSearchable:
      return "its folder may not be searched";
    case Refusal::kNoRoom:
      return "no room left on the disk";
    case Refusal::kReadOnly:
      return "its file system is read-only";
    case Refusal::kTooLarge:
      return "larger than may be written";
    case Refusal::kReadError:
      return "it cannot be read whole";
    case Refusal::kIoError:
      return "the disk reports an input or output error";
    case Refusal::kTooManyFiles:
      return "too many files are open";
    case Refusal::kNoProtection:
      return "its permissions cannot be kept";
    case Refusal::kFailed:
      return "the system refuses it";
    case Refusal::kNone:
      break;
  }
  return {};
}

void acerr(Session& s, std::string_view caller, std::string_view name, int msgunit, Refusal why) {
  acerr_report(s, caller, name, msgunit, why);
  throw ProgramStop(kFileErrorStatus);
}

void acerr_lines(Session& s, std::string_view caller, std::string_view name, int msgunit, Refusal why) {
  s.write_line(msgunit, "");
  s.write_line(msgunit, std::string(" ++> File not found or file access error in ").append(caller));
  file_name_lines(s, name, msgunit, why);
  s.write_line(msgunit, " ");
  s.unit(msgunit).flush();
}

void file_name_lines(Session& s, std::string_view name, int msgunit, Refusal why) {
  s.write_line(msgunit, "     File name: " + shown_name(name));
  if (why != Refusal::kNone) s.write_line(msgunit, std::string("     Reason: ").append(refusal_words(why)));
}

void acerr_report(Session& s, std::string_view caller, std::string_view name, int msgunit, Refusal why,
                  std::string_view then) {
  acerr_lines(s, caller, name, msgunit, why);
  if (!then.empty()) s.write_line(msgunit, std::string(then).append("\n "));
  if (!is_silent(msgunit)) {
    wrtlin(s, "Press <RETURN> to continue: ", msgunit);
    s.read_field(kKeyboard, 12);
  }
}

void filerr(Session& s, std::string_view name, std::string_view caller, int out, int in) {
  filerr_report(s, name, caller, out, in);
  throw ProgramStop(kFileErrorStatus);
}

void filerr_report(Session& s, std::string_view name, std::string_view caller, int out, int in) {
  s.write_line(out, "");
  s.write_line(out, std::string(" ++> End of file or related file error in routine ").append(caller));
  s.write_line(out, "     file name " + shown_name(name));
  int reply = 0;
  prsret(s, out, in, reply);
  s.unit(out).flush();
}

namespace {

// A regular file (after following links) that this user may execute.
bool executable_file(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

// The search path of the system, for a shell whose PATH is unset.
std::string default_path() {
  const std::size_t size = ::confstr(_CS_PATH, nullptr, 0);
  if (size == 0) return "/bin:/usr/bin";
  std::string path(size, '\0');
  ::confstr(_CS_PATH, path.data(), size);
  path.resize(size - 1);  // the terminating null
  return path;
}

}  // namespace

std::string find_program(std::string_view name, const char* path) {
  const std::string program(name);
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) return executable_file(program) ? program : std::string();
  const std::string dirs = path != nullptr ? std::string(path) : default_path();
  for (std::size_t from = 0;;) {
    const std::size_t colon = dirs.find(':', from);
    const std::string dir = dirs.substr(from, colon - from);  // to the end after the last colon
    const std::string candidate = dir.empty() ? program : dir + "/" + program;
    if (executable_file(candidate)) return candidate;
    if (colon == std::string::npos) return {};
    from = colon + 1;
  }
}

namespace {

// posix_spawn of path with args, the signals in `defaults` back at their
// defaults in the program. 0 or the error of the start: glibc reports a
// failed exec (ENOENT for a missing "#!" interpreter, ENOEXEC, EACCES)
// here, not as an exit status of the child.
int spawn(pid_t& pid, const std::string& path, const std::vector<std::string>& args, const sigset_t& defaults) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawnattr_t attr;
  if (const int err = ::posix_spawnattr_init(&attr); err != 0) return err;
  ::posix_spawnattr_setsigdefault(&attr, &defaults);
  ::posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);
  const int err = ::posix_spawn(&pid, path.c_str(), nullptr, &attr, argv.data(), environ);
  ::posix_spawnattr_destroy(&attr);
  return err;
}

// Bytes at the head of a file that tell a script from a binary: as many as
// the kernel reads to choose how to run a file. Every binary format keeps
// its header within them, and headers hold zero bytes; a script that
// carries a binary payload behind its text (a self-extracting archive) has
// a longer text head than this, and still runs.
constexpr std::size_t kHeadBytes = 256;

// Whether a shell would run the file the system refused to execute: one
// that can be read, does not start with an ELF header (a program of another
// machine) and holds no NUL byte in its head. Any other file run as a
// script would only give the shell's syntax errors as the program's end.
bool shell_would_run(const std::string& path) {
  const Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd) return false;
  std::array<char, kHeadBytes> head{};
  std::size_t size = 0;
  bool read_failed = false;
  while (size < head.size()) {
    const ssize_t got = ::read(fd.get(), head.data() + size, head.size() - size);
    if (got < 0 && errno == EINTR) continue;
    read_failed = got < 0;
    if (got <= 0) break;
    size += static_cast<std::size_t>(got);
  }
  const std::string_view text(head.data(), size);
  return !read_failed && !text.starts_with("\x7f" "ELF") && text.find('\0') == std::string_view::npos;
}

int spawn_and_wait(const std::string& path, const std::vector<std::string>& args, const sigset_t& defaults) {
  // A file the system will not execute goes to the shell only when it is a
  // script. A bare name is given to the shell with its directory, so that
  // the shell does not look for it on the PATH again.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  pid_t pid = 0;
  int err = spawn(pid, file, args, defaults);
  if (err == ENOEXEC && shell_would_run(file)) {
    std::vector<std::string> shell_args = {"/bin/sh", file};
    if (!args.empty()) shell_args.insert(shell_args.end(), args.begin() + 1, args.end());
    err = spawn(pid, "/bin/sh", shell_args, defaults);
  }
  if (err != 0) return kProgramNotStarted;
  int status = 0;
  while (::waitpid(pid, &status, 0) == -1) {
    if (errno != EINTR) return 0;  // reaped by the system: the status is gone
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

}  // namespace

int start_and_wait(const std::string& path, const std::vector<std::string>& args) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  struct sigaction old_int {}, old_quit {};
  ::sigaction(SIGINT, &ignore, &old_int);
  ::sigaction(SIGQUIT, &ignore, &old_quit);
  // The program gets back what the editor ignores only for the wait.
  sigset_t defaults;
  sigemptyset(&defaults);
  if (old_int.sa_handler != SIG_IGN) sigaddset(&defaults, SIGINT);
  if (old_quit.sa_handler != SIG_IGN) sigaddset(&defaults, SIGQUIT);
  // The editor ignores a file-size limit's signal for itself only
  // (run_editor_program): the program meets the limit as programs do.
  sigaddset(&defaults, SIGXFSZ);
  const int result = spawn_and_wait(path, args, defaults);
  ::sigaction(SIGINT, &old_int, nullptr);
  ::sigaction(SIGQUIT, &old_quit, nullptr);
  return result;
}

namespace {

std::tm local_now() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr) tm = std::tm{};
  return tm;
}

}  // namespace

void sydate_of(const std::tm& t, int& month, int& day, int& year) {
  month = t.tm_mon + 1;
  day = t.tm_mday;
  year = t.tm_year + 1900;
}

void sytime_of(const std::tm& t, int& minutes, int& seconds) {
  minutes = t.tm_hour * 60 + t.tm_min;
  seconds = t.tm_sec;
}

void sydate(int& month, int& day, int& year) { sydate_of(local_now(), month, day, year); }

void sytime(int& minutes, int& seconds) { sytime_of(local_now(), minutes, seconds); }

std::ptrdiff_t lsyloc(std::span<const std::int32_t> record, const std::int32_t& element) {
  // Pointer order through std::less is defined even for unrelated objects.
  const std::less<const std::int32_t*> before;
  const std::int32_t* p = &element;
  if (record.empty() || before(p, record.data()) || !before(p, record.data() + record.size())) return -1;
  return p - record.data();
}

}  // namespace kelp
