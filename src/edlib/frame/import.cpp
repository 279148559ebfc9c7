#include "edlib/frame/import.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>

#include "edlib/record/data_record.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// The path reply is one field of this many characters.
constexpr std::size_t kPathChars = 160;

// The import buffer, kept for the whole run and cleared before every read.
// No block reaches past the moored record, so it has that size.
struct ImportBuffer {
  Tpcm words;
};

// Words of the record an import never takes from the file: the record's
// count, kind and sub-editor kind; the writer's operating system (imported
// texts are put into this machine's byte order); the batch flag; and the
// editor state of this session (navigation code, page counter, print-pass
// flag, output unit).
constexpr std::array<std::size_t, 9> kKeptWords = {kRecordLength, kProgramKind, kBatchFlag,
                                                    kSubEditorKind, kWriterOs, kNavCode,
                                                    kPageCounter, kPrintPass, kOutputUnit};

constexpr std::array<std::string_view, 3> kAdvice = {
    "     bad idea. You are strongly advised to \"Abort\" this operation, save",
    "     any data file changes you have made, and update the target file",
    "     with the latest version of its application before importing the data.",
};

void wait_for_return(Session& s) {
  int reply = 0;
  prsret(s, kScreen, kKeyboard, reply);
}

void refuse(Session& s, std::string_view message) {
  s.write_line(kScreen, message);
  wait_for_return(s);
}

// The abort question; true for "A".
bool aborted(Session& s) {
  int reply = 0;
  abort0(s, kScreen, kKeyboard, reply);
  return reply == -1;
}

// A warning: a blank line, its opening line and advice, and when given the
// two values compared (lines with their line ends) between blank lines.
void warn(Session& s, std::string_view opening, std::span<const std::string_view> advice,
          const std::array<std::string, 2>& compared = {}) {
  s.write_line(kScreen, "");
  s.write_line(kScreen, opening);
  for (std::string_view line : advice) s.write_line(kScreen, line);
  if (compared[0].empty()) return;
  s.write_line(kScreen, "");
  for (const std::string& line : compared) s.write(kScreen, line);
  s.write_line(kScreen, "");
}

constexpr std::array<std::string_view, 3> kUnitsAdvice = {
    "     in one data file and corrupts them. You are strongly advised to",
    "     \"Abort\" this operation, convert one of the files to the units of",
    "     the other with its own editor, and import the data again.",
};

std::string units_name(std::int32_t units) { return units == kUnitsMetric ? "metric" : "English"; }

// Words read for an import: the whole record of the kind, so that the
// reader's size check judges the file and not the block, and at least the
// block.
int read_size(const WordRange& block, int kind) {
  const auto words = std::max(block.end, static_cast<std::size_t>(std::max(record_size(kind), 0)));
  return static_cast<int>(std::min(words, Tpcm::kWords));
}

}  // namespace

WordRange import_block(int block, int kind) {
  switch (block) {
    case kImportVesselBlock:
      return {0, (kind == 3 || kind >= 10) ? kSecondVesselWords : kVesselWords};
    case kImportMooringBlock:
      return {kMooringRegionFirst, kMooredWords};
    case kImportTugBlock:
      return {kVesselWords, kSecondVesselWords};
    default:
      return {};
  }
}

std::optional<std::string> import_path(std::string_view reply) {
  const auto first = reply.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  const auto last = reply.find_last_not_of(" \t");
  if (last >= kPathChars) return std::nullopt;
  const std::string_view text = reply.substr(first, last - first + 1);
  std::string path;
  const char quote = text.front();
  if (quote == '"' || quote == '\'') {
    for (std::size_t k = 1; k < text.size(); ++k) {
      if (text[k] == quote) {
        if (k + 1 == text.size() || text[k + 1] != quote) break;
        ++k;
      }
      path += text[k];
    }
    // A file name ends at its last non-blank character.
    path.erase(std::min(path.size(), path.find_last_not_of(" \t") + 1));
  } else {
    // The old editor read the reply as a list-directed value, which ends an
    // unquoted name at its first blank. The name is taken whole instead:
    // typing "my file" must not import a different file "my" that happens
    // to exist.
    path = text;
  }
  if (path.empty()) return std::nullopt;
  return path;
}

void datload(Session& s, int block) {
  Tpcm& t = s.tpcm;
  const int kind = t.i(kProgramKind);
  const int os = t.i(kWriterOs);
  const std::int32_t units = t.i(kUnitSystem);
  const float version = t.r(kVersion);

  clear(s, kScreen);
  s.write_line(kScreen, " >>> Input full or relative path to import target in quotes");
  s.write_line(kScreen, "     (e.g. \"C:\\Brenvik\\HULVDAT)\" or \"HULVDAT\")");
  s.write_line(kScreen, "");
  wrtlin(s, ">>> Path: ", kScreen);
  const std::optional<std::string> path = import_path(s.read_line(kKeyboard));
  if (!path) return refuse(s, " >>> Invalid Filename!");
  s.write_line(kScreen, "");

  // Read the file into a cleared buffer: words the file does not hold read
  // as zero, never as words of an earlier import.
  const WordRange range = import_block(block, kind);
  const int size = read_size(range, kind);
  Tpcm& buffer = s.state<ImportBuffer>().words;
  buffer.clear();
  int found = size;
  int status = 0;
  diskio(s, kDiskioRead, found, *path, kWarningUnit, status, buffer.words(), os);
  if (status == kDiskioNotFound) return refuse(s, " >>> INPUT file not found!");
  // Words the file held, from its first word on.
  const auto held = static_cast<std::size_t>(std::clamp(found, 0, size));
  if (held == 0) return refuse(s, " >>> INPUT file not readable!");
  const std::size_t end = std::min(range.end, held);
  if (end <= range.first) return refuse(s, " >>> INPUT file holds no data for this block!");

  // Compare the imported header with the record's.
  const bool other_version = !(buffer.r(kVersion) == version);
  const bool other_os = buffer.i(kWriterOs) != os;
  const bool other_kind = buffer.i(kProgramKind) != kind;
  const bool whole_record = range.first == 0 && record_size(kind) > 0 &&
                            range.end >= static_cast<std::size_t>(record_size(kind));
  const bool mixed_units = kUnitSystem < held && buffer.i(kUnitSystem) != units && !whole_record;
  // Texts written on a machine of the other byte order are put into ours.
  if (kWriterOs < held && needs_text_repair(buffer.i(kWriterOs), os)) repair_text_order(buffer, buffer.i(kProgramKind));

  bool abort = false;
  if (other_version) {
    warn(s, " >>> Importing data files across version number boundaries is a *very*", kAdvice,
         {fmt::fortran("('     Application version: ',F7.2)", std::fabs(version)),
          fmt::fortran("('     Import file version: ',F7.2)", std::fabs(buffer.r(kVersion)))});
    abort = aborted(s);
  } else if (other_os) {
    warn(s, " >>> Importing data files between computer operating systems is a *very*", kAdvice);
    abort = aborted(s);
  } else if (status != 0 && !other_kind) {
    s.write_line(kScreen, " >>> Suspicious import file size;there may be a problem!");
    abort = aborted(s);
  }
  if (!abort && mixed_units) {
    warn(s, " >>> Importing data across unit systems mixes English and metric values", kUnitsAdvice,
         {"     Application units: " + units_name(units) + "\n",
          "     Import file units: " + units_name(buffer.i(kUnitSystem)) + "\n"});
    abort = aborted(s);
  }
  if (abort) return;

  // Copy the block's words the file held; the words an import never takes
  // keep the record's values.
  std::array<std::int32_t, kKeptWords.size()> kept{};
  for (std::size_t k = 0; k < kKeptWords.size(); ++k) kept[k] = t.i(kKeptWords[k]);
  movcom(static_cast<int>(end - range.first), buffer.words().subspan(range.first), t.words().subspan(range.first));
  for (std::size_t k = 0; k < kKeptWords.size(); ++k) t.i(kKeptWords[k]) = kept[k];

  if (status == 0 && !other_version && !other_os) {
    s.write_line(kScreen, " >>> Import successful!");
    wait_for_return(s);
  }
}

}  // namespace kelp
