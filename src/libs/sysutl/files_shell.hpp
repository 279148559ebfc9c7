#pragma once
// File and shell primitives: opening and closing files by unit with the
// standard fatal report, the end-of-file report, the look-up of a program on
// the PATH and its start, date and time of day.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sysutl/file_system.hpp"

namespace kelp {

class Session;

// Exit status of a fatal file error.
inline constexpr int kFileErrorStatus = 2;

// Opens file name on unit, positioned at its start. form: nonzero formatted
// text, 0 unformatted (binary). status 1: the file must exist (else acerr);
// status 0: the file is replaced by a new empty one (failure: acerr); any
// other status opens the file when it exists and otherwise returns quietly
// without an open unit. An existing file is opened for reading unless
// for_output is set (then it is written from its start); status 0 always
// opens for writing. caller and msgunit are for the acerr report.
void syopen(Session& s, const std::string& name, int form, int status, int unit, std::string_view caller,
            int msgunit, bool for_output = false);

// Flushes and closes unit, keeping the file. Any write, flush or close failure
// goes to acerr (caller, name, msgunit): a report never fails silently.
void hclose(Session& s, int unit, std::string_view name, std::string_view caller, int msgunit);

// A name escaped for a message, so that it can neither forge a line nor
// steer the terminal: a backslash is doubled; "\n" for a new line, "\t",
// "\r" and the like, "\033" for an escape, and octal for every other byte
// below 32 and for 127; octal too for each byte of a C1 control (U+0080 to
// U+009F, as UTF-8 or as a raw byte); "\u{202e}" (the code point in
// hexadecimal) for every character of Unicode's format category (Cf: the
// soft hyphen, the zero-width characters, the bidirectional marks,
// embeddings, overrides and isolates, the invisible operators, the tags,
// ...) and for the line and paragraph separators (U+2028, U+2029). Every
// other character of valid UTF-8, and any other byte, stands as it is.
std::string shown_name(std::string_view name);
// The few words a message gives after a file's name for why the file layer
// refused it: "write-protected", "another user's link in a shared folder",
// ...; "" for kNone.
std::string_view refusal_words(Refusal why);

// Fatal file error: on msgunit an empty line, " ++> File not found or file
// access error in " + caller, "     File name: " + name (its control
// characters escaped, shown_name), where the file layer refused the file
// a line "     Reason: " + why in a few words (refusal_words), a line of one
// blank; then (not on unit 41) "Press <RETURN> to continue: " and a reply
// from the keyboard; then ProgramStop(2).
[[noreturn]] void acerr(Session& s, std::string_view caller, std::string_view name, int msgunit,
                        Refusal why = Refusal::kNone);
// acerr's report and wait without the stop, for a save that fails: the user
// is taken back to the page with the session's edits kept. `then`, where
// given, is a line of its own before the wait: what the refusal means.
void acerr_report(Session& s, std::string_view caller, std::string_view name, int msgunit,
                  Refusal why = Refusal::kNone, std::string_view then = {});
// acerr's lines alone: no wait, no stop.
void acerr_lines(Session& s, std::string_view caller, std::string_view name, int msgunit, Refusal why);
// The lines of acerr's message that name the file: "     File name: " +
// name (shown_name), and where the file layer refused it "     Reason: " +
// why (refusal_words).
void file_name_lines(Session& s, std::string_view name, int msgunit, Refusal why);

// Report files: the texts the editor writes for the user to read (the
// print-pass listing, "Diagnostics.stxt", "DATUPWRN.stxt", "WAVEOUT.stxt"
// and their kin). A report that cannot be written never costs the record:
//
// open_report opens name on unit for the report of a silent run
// ("Diagnostics.stxt"), a run's own report (Session::open_staged): an
// earlier report there is emptied at once, and this one is written in one
// pass like the others below, when the run ends (close_run_report,
// close_run_reports). When the name is refused (a directory, FIFO or
// device of that name, another user's link in a shared folder) or cannot
// be emptied, acerr's message goes to msgunit, `then` after it (what the
// refusal means), with its wait for RETURN (none on unit 41), nothing is
// opened and false is returned; the program goes on, and the caller goes
// back to its page with the record as it is.
bool open_report(Session& s, const std::string& name, int unit, std::string_view caller, int msgunit,
                 std::string_view then = {});
// Writes the run's report open on `unit` now. One that cannot be written is
// named on the screen with why (acerr's lines for `caller`, no wait; no
// caller: the one that opened it), and what it holds follows there, so its
// findings are not lost; false then.
bool close_run_report(Session& s, int unit, std::string_view caller = {});
// At the end of a run: close_run_report for each run's report still open,
// for the caller that opened it.
// The status the run ends with: `status`, or that of a file error when a
// report could not be written, whatever the run found.
int close_run_reports(Session& s, int status);
// The same for a report written in one pass (the print-pass listing,
// "WAVEOUT.stxt", "DATUPWRN.stxt"): Session::open_staged, so the file is
// replaced whole when close_report closes the unit, and a report that cannot
// be written whole leaves the old one as it was. A unit still open when the
// session stops writes nothing; the loader closes "DATUPWRN.stxt" however
// the load ends, at the end of the replies too. A refusal is also named,
// first and without a wait, on `also` where that is open (a silent run's
// report, which then holds every file that run could not write).
bool open_staged_report(Session& s, const std::string& name, int unit, std::string_view caller, int msgunit,
                        int also = -1);
// Flushes and closes a report unit (a unit not open is no error). A write,
// flush or close that failed gets acerr's message and wait, without the
// stop (named on `also` too, as above), and false.
bool close_report(Session& s, int unit, std::string_view name, std::string_view caller, int msgunit,
                  int also = -1);

// End-of-file or read error: on out an empty line, " ++> End of file or
// related file error in routine " + caller, "     file name " + name; prsret;
// then ProgramStop(2).
[[noreturn]] void filerr(Session& s, std::string_view name, std::string_view caller, int out, int in);
// filerr's report and wait without the stop, for a reader that gives up and
// returns a failure instead.
void filerr_report(Session& s, std::string_view name, std::string_view caller, int out, int in);

// The file a shell would run for the command word `name`, found as the
// shell finds it: a name holding '/' is taken as it stands; any other is
// looked for in each directory of `path` in turn (split at ':', an empty
// entry the current directory; nullptr, an unset PATH: the system's default
// path). A candidate that is not a regular file, or that this user may not
// execute, is passed over for the next directory. "" when none is found.
std::string find_program(std::string_view name, const char* path);

// What start_and_wait returns for a program it could not start; no exit
// status is negative.
inline constexpr int kProgramNotStarted = -1;

// Starts the program file `path` (as find_program gave it) with the argument
// list `args` (args[0] the name it is known by) in the working directory and
// waits for it, as a shell would: a file the system will not execute runs
// under "/bin/sh" when it is a script, one that does not start with an ELF
// header and holds no NUL byte in its first 256 bytes. While it runs the
// editor ignores the keyboard's interrupt and quit, which are the
// program's. Returns the program's exit status, 128 plus the signal
// number for a program a signal ended (it started, so its end is its own),
// 0 when its status is lost (the editor was started with SIGCHLD ignored).
// kProgramNotStarted when the start failed: a missing "#!" interpreter, a
// file the system will not execute that is no script (a program of another
// machine, a data file), no process to be had.
int start_and_wait(const std::string& path, const std::vector<std::string>& args);

// Today's date and the time of day from the C++ library (local time).
void sydate(int& month, int& day, int& year);
// minutes := hours x 60 + minutes since midnight; seconds of the minute.
void sytime(int& minutes, int& seconds);
// The same from a broken-down time (for tests and for one consistent reading).
void sydate_of(const std::tm& t, int& month, int& day, int& year);
void sytime_of(const std::tm& t, int& minutes, int& seconds);

// The word number of element within a record of 32-bit words (the distance
// in words from the record's word 0), or -1 when element is not in it. This
// replaces the old address arithmetic lsyloc(x) - lsyloc(tpcm(0)) / 4.
std::ptrdiff_t lsyloc(std::span<const std::int32_t> record, const std::int32_t& element);

}  // namespace kelp
