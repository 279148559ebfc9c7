#include "sysutl/session.hpp"
#include "sysutl/text.hpp"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <streambuf>
#include <utility>
#include <vector>

#include "sysutl/file_replace.hpp"
#include "sysutl/held_signals.hpp"

namespace kelp {

namespace {

// Forwards to another stream buffer and remembers the last character, so the
// session knows whether the cursor stands at the start of a line.
class TrackingBuf : public std::streambuf {
 public:
  explicit TrackingBuf(std::streambuf* target) : target_(target) {}
  char last() const { return last_; }

 protected:
  int_type overflow(int_type ch) override {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    last_ = traits_type::to_char_type(ch);
    return target_->sputc(last_);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    if (n > 0) last_ = s[n - 1];
    return target_->sputn(s, n);
  }
  int sync() override { return target_->pubsync(); }

 private:
  std::streambuf* target_;
  char last_ = '\n';
};

}  // namespace

// ---- Session ----

struct Session::OutUnit {
  std::string path;
  std::unique_ptr<std::ostream> stream;
  // A staged report: an std::ostringstream written at close to the name
  // resolved when it was opened.
  std::optional<Resolution> staged;
  bool run_report = false;  // also written when the session ends with it open
  // Where the text written by write_shown begins and ends in a staged
  // report, in order.
  std::vector<std::pair<std::size_t, std::size_t>> shown = {};
};

struct Session::InUnit {
  std::string path;
  std::unique_ptr<std::istream> stream;
};

Session::Session(std::istream& in, std::ostream& screen, std::ostream& errors, bool screen_is_terminal)
    : in_(in),
      screen_(&screen),
      errors_(errors),
      screen_is_terminal_(screen_is_terminal),
      files_(std::make_shared<FileSystem>()) {
  screen_tracker_ = std::make_unique<TrackingBuf>(screen.rdbuf());
  tracked_screen_ = std::make_unique<std::ostream>(screen_tracker_.get());
  null_ = std::make_unique<std::ostream>(nullptr);
}

Session::~Session() {
  for (auto& [u, unit] : out_units_) {
    if (unit->run_report) {
      // Nothing can be told of a failure now (close_run_reports, which the
      // program's end calls, tells it): the report is as the file layer
      // left it.
      replace_at(*files_, *unit->staged, static_cast<std::ostringstream&>(*unit->stream).view());
    } else if (unit->stream) {
      unit->stream->flush();
    }
  }
  tracked_screen_->flush();
}

std::ostream& Session::unit(int u) {
  if (u == kScreen) return *tracked_screen_;
  if (u == kErrorUnit) return errors_;
  auto it = out_units_.find(u);
  if (it != out_units_.end() && it->second->stream) return *it->second->stream;
  // A stream without a buffer fails every write quietly.
  null_->clear();
  return *null_;
}

void Session::write(int u, std::string_view text) { unit(u) << text; }

void Session::write_line(int u, std::string_view line) { unit(u) << line << '\n'; }

namespace {

bool refused(Refusal* why, Refusal what) {
  if (why != nullptr) *why = what;
  return false;
}

}  // namespace

bool Session::open_output(int u, const std::string& path, bool append, bool binary, Refusal* why) {
  close_unit(u);
  const Resolution target = files_->resolve(path);
  if (!target) return refused(why, target.refused());
  auto stream = files_->open_write_at(target.at(), binary, append);
  if (!stream) return refused(why, files_->refusal_at(target.at(), FileStep::kWrite, errno));
  out_units_[u] = std::make_unique<OutUnit>(OutUnit{path, std::move(stream), std::nullopt, false});
  return true;
}

bool Session::open_staged(int u, const std::string& path, bool run_report, Refusal* why) {
  close_unit(u);
  Resolution target = files_->resolve(path);
  if (!target) return refused(why, target.refused());
  const FileSystem::Kind kind = files_->kind_at(target.at());
  if (kind == FileSystem::Kind::kOther || kind == FileSystem::Kind::kUnknown) {
    return refused(why, files_->refusal_at(target.at(), FileStep::kWrite, errno));
  }
  if (run_report) {
    // Emptied with the ending signals held from the temporary's creation to
    // its rename: a run that a signal ends leaves neither the earlier report
    // nor a temporary.
    const HeldSignals held;
    Refusal emptied = Refusal::kNone;
    if (!replace_at(*files_, target, "", &emptied)) return refused(why, emptied);
  }
  out_units_[u] =
      std::make_unique<OutUnit>(OutUnit{path, std::make_unique<std::ostringstream>(), std::move(target), run_report});
  return true;
}

bool Session::open_input(int u, const std::string& path, Refusal* why) {
  close_unit(u);
  const Resolution source = files_->resolve(path);
  if (!source) return refused(why, source.refused());
  auto stream = files_->open_read_at(source.at());
  if (!stream) return refused(why, files_->refusal_at(source.at(), FileStep::kRead, errno));
  in_units_[u] = std::make_unique<InUnit>(InUnit{path, std::move(stream)});
  return true;
}

bool Session::is_open(int u) const { return out_units_.count(u) != 0 || in_units_.count(u) != 0; }

bool Session::close_unit(int u, Refusal* why) {
  bool ok = true;
  if (auto it = out_units_.find(u); it != out_units_.end()) {
    // Taken off the unit first: nothing written while the file is replaced
    // can land in it.
    const std::unique_ptr<OutUnit> unit = std::move(it->second);
    out_units_.erase(it);
    if (unit->staged) {
      ok = replace_at(*files_, *unit->staged, static_cast<std::ostringstream&>(*unit->stream).view(), why);
    } else if (!files_->close(*unit->stream)) {
      ok = refused(why, refusal_of(errno, FileStep::kWrite));
    }
  }
  in_units_.erase(u);
  return ok;
}

std::vector<int> Session::run_report_units() const {
  std::vector<int> units;
  for (const auto& [u, unit] : out_units_) {
    if (unit->run_report) units.push_back(u);
  }
  return units;
}

std::string Session::staged_text(int u) const {
  const auto it = out_units_.find(u);
  if (it == out_units_.end() || !it->second->staged) return {};
  return std::string(static_cast<const std::ostringstream&>(*it->second->stream).view());
}

void Session::write_shown(int u, std::string_view text) {
  const auto it = out_units_.find(u);
  if (it == out_units_.end() || !it->second->staged) return write(u, text);
  auto& report = static_cast<std::ostringstream&>(*it->second->stream);
  const std::size_t begin = report.view().size();
  report << text;
  it->second->shown.emplace_back(begin, report.view().size());
}

std::string Session::findings(int u) const {
  const auto it = out_units_.find(u);
  if (it == out_units_.end() || !it->second->staged) return {};
  const std::string_view text = static_cast<const std::ostringstream&>(*it->second->stream).view();
  std::string kept;
  std::size_t from = 0;
  for (const auto& [begin, end] : it->second->shown) {
    kept.append(text.substr(from, begin - from));
    from = end;
  }
  return kept.append(text.substr(from));
}

std::string Session::unit_file(int u) const {
  if (auto it = out_units_.find(u); it != out_units_.end()) return it->second->path;
  if (auto it = in_units_.find(u); it != in_units_.end()) return it->second->path;
  return {};
}

bool Session::at_line_start() const {
  return static_cast<const TrackingBuf*>(screen_tracker_.get())->last() == '\n';
}

void Session::prompt(int out, std::string_view text) {
  if (is_silent(out)) return;
  auto& s = unit(kScreen);
  s << ' ' << text;
  s.flush();
}

void Session::clear_screen(int out) {
  if (is_silent(out) || !screen_is_terminal_) return;
  auto& s = unit(kScreen);
  s << "\x1b[H\x1b[2J";
  s.flush();
}

std::string Session::read_line(int in) {
  unit(kScreen).flush();
  if (in == kKeyboard || !in_units_.count(in)) {
    std::string line;
    if (!std::getline(in_, line)) end_of_input();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  auto line = try_read_line(in);
  if (!line) end_of_input();
  return *line;
}

std::string Session::read_field(int in, std::size_t width) {
  return fixed(read_line(in), width);
}

std::optional<std::string> Session::try_read_line(int in) {
  auto it = in_units_.find(in);
  std::istream& s = it != in_units_.end() ? *it->second->stream : in_;
  std::string line;
  if (!std::getline(s, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void Session::note_saved(const std::string& name) {
  if (std::find(saved_files_.begin(), saved_files_.end(), name) == saved_files_.end()) saved_files_.push_back(name);
}

void Session::end_of_input() {
  std::string line(kEndOfInputMessage);
  if (!saved_files_.empty()) {
    line = " ++> End of input: session ended; saved before it:";
    for (const auto& name : saved_files_) line.append(" ").append(name);
  }
  // A run's report that ends here says so in its last line; the screen
  // shows it once, also where the report cannot be written.
  for (const int u : run_report_units()) write_shown(u, "\n" + line + "\n");
  auto& s = unit(kScreen);
  if (!at_line_start()) s << '\n';
  s << line << '\n';
  s.flush();
  throw EndOfInput();
}

}  // namespace kelp
