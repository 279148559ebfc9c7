#pragma once
// The options file of the time-domain program, "GUSTRDAT": tab-separated text
// that hands every slot of gustrcom, the simulated duration and two fairlead
// pick lists to Gustrevan, and from which the editor takes them back in a
// later run. Lines as written (TAB before every value):
//   1 a fixed header text
//   2 "GUSTRDAT Ver [1.25.02];" TAB " Brenvik Ver [" editor version "]"
//   3 the group sizes 53, 32, 52 (I3)
//   4 3600 x storm hours (F10.2), the default of nFldReports (I3)
//   5 the 53 logical slots (L1)
//   6 the 32 integer slots (I3)
//   7 nFldReports entries of the data record's fairlead reporting list (I3)
//   8 nFldReports entries of the page's current pick list (I3)
//   9 the 52 real slots (E14.7)
// An integer that does not fit I3, or a duration that does not fit F10.2, is
// written in as many characters as it needs, so that the file always reads
// back; values that fit keep their fixed fields.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kelp {

class Session;

// The name of the file, as the mooring editor writes and reads it.
inline constexpr std::string_view kOptionsFileName = "GUSTRDAT";

// Words of gustrcom that the file itself relies on.
inline constexpr std::size_t kNFldReportsWord = 54;           // length of the two pick lists
inline constexpr std::size_t kDefaultNFldReportsWord = 191;   // default of nFldReports
inline constexpr std::size_t kDefaultFullDurationWord = 235;  // default of fullDuration (seconds)

// Entries of a fairlead pick list; a file asking for more is unreadable.
inline constexpr int kPickCapacity = 150;

// The file-format version this program writes (line 2).
inline constexpr float kTdOptsFormatVersion = 1.25f;
inline constexpr int kTdOptsFormatMinor = 2;

// The fixed first line of the file. The reader takes a first line that begins
// with " Gustrevan" or "Gustrevan " as the only header line, so this one
// never does; it holds no date, so that an unchanged file keeps its bytes.
inline constexpr std::string_view kTdOptsHeaderLine = " Time-domain simulation options of the mooring editor";

// Status of read_td_opts.
inline constexpr int kTdOptsRead = 0;        // read as this program writes it
inline constexpr int kTdOptsUnreadable = 1;  // unreadable: nothing changed, the file left as it was
inline constexpr int kTdOptsResized = 2;     // read, but the group sizes are not 53, 32, 52

// Exit status when the file to be read cannot be opened.
inline constexpr int kTdOptsStopStatus = 2;

// The version text of line 2: |x| in F4.2, then ".0" and n in one digit (n up
// to 9) or "." and n in two digits, then a blank when x > 0, else "b";
// blank-padded to 17 characters. 6.8, 0 gives "6.80.00 "; an x of 10 or more
// prints as "****".
std::string version_string2(float x, int n);

// Writes the whole file from s.gustrcom and the arguments: line 4 holds
// 3600 x stormHours and defaultReportCount, lines 7 and 8 the first
// nFldReports (word 54) entries of page4Picks and currentPicks (a count below
// 0 writes none, one beyond either list stops at its end). The text goes to a
// temporary file renamed into place, so a failure keeps the old file. On
// failure "++> I/O Error in WRITE_TD_OPTS; GUSTRDAT not written, the session
// continues..." goes to the screen, and after it the file's name and why, as
// acerr names a refused file (file_name_lines); the user is asked to press
// RETURN (not when `out` is the silent unit) and false is returned: the
// session goes on with everything it holds. The message goes first, without
// a wait, on `also` where that is open (a silent run's report, which holds
// every file that run could not write).
bool write_td_opts(Session& s, std::string_view fileName, float editorVersion, int editorVersionMinor,
                   float formatVersion, int formatVersionMinor, float stormHours, int defaultReportCount,
                   std::span<const std::int32_t> page4Picks, std::span<const std::int32_t> currentPicks,
                   int out, int also = -1);

// Reads the file into s.gustrcom (current values, the defaults of fullDuration
// and nFldReports) and the two pick lists; versionText receives line 2 as 80
// characters unless line 1 begins with " Gustrevan" or "Gustrevan ". Slots
// of a group beyond a smaller count keep their values. Returns
//   kTdOptsRead: the file as written here;
//   kTdOptsResized: group sizes within 53, 32, 52 but not all equal to them;
//   kTdOptsUnreadable: any unreadable value, a premature end, a group size
//     below 0 or beyond its group, or an nFldReports below 0 or beyond 150
//     (or beyond either list): nothing that the call would fill has changed,
//     and the file is left as it was, for the caller to write anew (a new
//     file written over it keeps its protection; a removed one would not).
// A file that cannot be opened: "++> I/O Error in READ_TD_OPTS (missing
// GUSTRDAT?); aborting..." on the screen and ProgramStop(kTdOptsStopStatus).
int read_td_opts(Session& s, std::string_view fileName, std::span<std::int32_t> currentPicks,
                 std::span<std::int32_t> defaultPicks, std::string& versionText);

// True when count differs from defaultCount or any of the first count entries
// of the two lists differ (count is bounded by the lists).
bool overridelinepicks_f(std::span<const std::int32_t> currentPicks, int count,
                         std::span<const std::int32_t> page4Picks, int defaultCount);

// True when the two durations differ as the file holds them: 3600 x each in
// E14.7. A NaN in either is always a difference.
bool overridefullduration_f(float durationHours, float stormHours);

}  // namespace kelp
