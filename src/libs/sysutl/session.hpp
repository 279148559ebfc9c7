#pragma once
// The session of one editor run: the shared records, the numbered output and
// input units, the terminal, the file layer and the state that the old
// routines kept in saved local variables.
#include <any>
#include <cstdint>
#include <exception>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "sysutl/file_system.hpp"
#include "sysutl/record.hpp"

namespace kelp {

// Unit numbers of the system.
inline constexpr int kErrorUnit = 0;       // error stream (program pause, chaining notes)
inline constexpr int kListingUnit = 1;     // data files and the print-pass listing
inline constexpr int kKeyboard = 5;        // replies
inline constexpr int kScreen = 6;          // the terminal
inline constexpr int kWarningUnit = 21;    // "DATUPWRN.stxt" while loading
inline constexpr int kSpectrumUnit = 31;   // user wave spectrum file
inline constexpr int kSilentUnit = 41;     // "Diagnostics.stxt" of a silent run
inline constexpr int kScratchUnit = 73;    // date and time scratch files
inline constexpr int kOptionsUnit = 1233;  // "GUSTRDAT"

// The report of a silent run, written on kSilentUnit.
inline constexpr std::string_view kSilentReportFile = "Diagnostics.stxt";

// The rules of the silent-run report unit: on it nothing is prompted, cleared,
// paged or waited for. Every routine asks here instead of comparing with 41.
inline bool is_silent(int out) { return out == kSilentUnit; }

// Ends the program: thrown by every stop and caught in main after the streams
// are flushed. status 0 is a normal end.
class ProgramStop : public std::exception {
 public:
  explicit ProgramStop(int status) : status_(status) {}
  int status() const { return status_; }
  const char* what() const noexcept override { return "program stop"; }

 private:
  int status_;
};

// The stop at the end of the replies: a ProgramStop of status 1 that the
// file work can tell from the program's own stops. Every file is then left
// as it was, and a report kept in memory is dropped, all but the load's
// warning report: the loader writes what it found however the load ends.
class EndOfInput : public ProgramStop {
 public:
  EndOfInput() : ProgramStop(1) {}
};

// The text shown when the replies run out.
inline constexpr std::string_view kEndOfInputMessage =
    " ++> End of input: session ended, nothing saved.";

class Session {
 public:
  // in: the keyboard (unit 5); screen: the terminal (unit 6); errors: unit 0.
  // screen_is_terminal decides whether a screen clear is written at all.
  Session(std::istream& in, std::ostream& screen, std::ostream& errors, bool screen_is_terminal = false);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // ---- Output units ----
  // The stream of an output unit: 6 the screen, 0 the error stream, others as
  // opened; a unit that is not open swallows what is written to it.
  std::ostream& unit(int u);
  void write(int u, std::string_view text);
  void write_line(int u, std::string_view line);
  // Opens a text or binary file on a unit (replacing it, or appending).
  // false when it cannot be opened; `why`, where given, then says why.
  bool open_output(int u, const std::string& path, bool append = false, bool binary = false, Refusal* why = nullptr);
  // Opens a report written in one pass on a unit. Its name is resolved now,
  // once. Its text is kept in memory, and the file is replaced only when
  // the unit is closed, whole, through a temporary beside it
  // (sysutl/file_replace.hpp): a report that cannot be written whole leaves
  // the old one as it was. A unit never closed (the session stopped part
  // way) writes nothing.
  // A run's own report (`run_report`, a silent run's) differs twice: an
  // earlier report at that place is replaced by an empty one at once, with
  // the ending signals held (HeldSignals), so that no run leaves an earlier
  // run's report behind; and the report is
  // written also when the session ends with the unit still open.
  // false, with nothing opened, when the name is refused, holds anything but
  // a regular file, or (a run's report) cannot be emptied; `why`, where
  // given, then says why.
  bool open_staged(int u, const std::string& path, bool run_report = false, Refusal* why = nullptr);
  // Opens an existing file for reading on a unit; `why` as above.
  bool open_input(int u, const std::string& path, Refusal* why = nullptr);
  bool is_open(int u) const;
  // Flushes and closes a unit (a staged report is written now); false when
  // a write, the flush or the replacement failed, `why` then saying why.
  bool close_unit(int u, Refusal* why = nullptr);
  // The units open on a run's own report (open_staged).
  std::vector<int> run_report_units() const;
  // What a staged report holds so far, not yet written ("" for a unit that
  // holds none).
  std::string staged_text(int u) const;
  // Writes text on a staged report that the session shows on the screen
  // itself (the stop line of a silent run, the end-of-input line): the
  // report holds it, the findings do not.
  void write_shown(int u, std::string_view text);
  // What a staged report holds so far but the text written by write_shown:
  // the findings shown on the screen in the place of a run's report that
  // cannot be written, so that the screen shows each line once.
  std::string findings(int u) const;
  // Name of the file open on a unit ("" when none).
  std::string unit_file(int u) const;

  // ---- Terminal ----
  // A prompt: one blank and the text on the screen, no line end, flushed.
  // Nothing on the silent unit.
  void prompt(int out, std::string_view text);
  // Clears the screen (directly, only on a real terminal, never on unit 41).
  void clear_screen(int out);
  bool screen_is_terminal() const { return screen_is_terminal_; }

  // ---- Input units ----
  // One line from an input unit, without its line end. End of input on the
  // keyboard ends the session (end_of_input()).
  std::string read_line(int in);
  // The first `width` characters of a line, blank-padded (Fortran "(Aw)").
  std::string read_field(int in, std::size_t width);
  // One line from a file unit; nullopt at its end or on a read error.
  std::optional<std::string> try_read_line(int in);
  // Prints the end-of-input line and stops with status 1. The line names the
  // files this session has already saved, if any.
  [[noreturn]] void end_of_input();
  // Records that a file was written for good (named by end_of_input()).
  void note_saved(const std::string& name);

  // ---- Files ----
  FileSystem& files() { return *files_; }
  void set_files(std::shared_ptr<FileSystem> fs) { files_ = std::move(fs); }

  // ---- Shared records ----
  Tpcm tpcm;
  Lowcof lowcof;
  Gustrcom gustrcom;

  // ---- Saved state ----
  // One object per module type, created on first use and living as long as
  // the session: warn-once flags, load-time copies, cached names.
  template <class T>
  T& state() {
    auto& slot = saved_[std::type_index(typeid(T))];
    if (!slot.has_value()) slot = std::make_shared<T>();
    return *std::any_cast<std::shared_ptr<T>&>(slot);
  }

 private:
  struct OutUnit;
  struct InUnit;
  std::istream& in_;
  std::ostream* screen_;
  std::ostream& errors_;
  bool screen_is_terminal_;
  std::unique_ptr<std::ostream> null_;
  std::unique_ptr<std::streambuf> screen_tracker_;
  std::unique_ptr<std::ostream> tracked_screen_;
  std::map<int, std::unique_ptr<OutUnit>> out_units_;
  std::map<int, std::unique_ptr<InUnit>> in_units_;
  std::shared_ptr<FileSystem> files_;
  std::unordered_map<std::type_index, std::any> saved_;
  std::vector<std::string> saved_files_;
  bool at_line_start() const;
};

}  // namespace kelp
