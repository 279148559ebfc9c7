#pragma once
// Opening a session: the banner and main menu, reading and checking the data
// file (and "LOWDAT" for the moored kinds), the load-time copies, the repair
// of text written on a machine of the other byte order, the "Input File
// Characteristics" report with its copy in "DATUPWRN.stxt", the upgrade or
// import of a file of another version or kind, the creation of a new record,
// and the identity stamp.
#include <string>
#include <string_view>

#include "edlib/frame/kind_dispatch.hpp"
#include "sysutl/text.hpp"  // trimmed

namespace kelp {

class Session;

// Statuses of ioinit.
inline constexpr int kLoadReady = 0;          // loaded or created: open the pages
inline constexpr int kLoadPrintPass = 200;    // print pass: banner written to the listing
inline constexpr int kLoadExecute = 3000;     // "Execute simulation": straight to the final page

// Exit status of a stop while loading (a file that cannot be used, or the
// user's "A" at one of the loader's questions). Nothing is written.
inline constexpr int kLoadStopStatus = 1;

// The warning report of a load.
inline constexpr std::string_view kWarningReportFile = "DATUPWRN.stxt";

// Size classes of a loaded record, comparing the count word (word 0) with
// the record size of the file's kind (word 1).
inline constexpr int kSizeKindUnknown = -1;   // kind outside 1 to 17
inline constexpr int kSizeExpected = 0;
inline constexpr int kSizeLargerOwn = 1;      // larger, file of the program's kind
inline constexpr int kSizeSmallerOwn = 2;     // smaller, file of the program's kind
inline constexpr int kSizeLargerOther = 3;    // larger, file of another kind
inline constexpr int kSizeSmallerOther = 4;   // smaller, file of another kind

// The size class of a record of file_kind holding `count` words (its word 0)
// read by a program of program_kind. Kinds 7, 8 and 11 know only the classes
// 1 and 2; kinds 2, 5, 6 and 9 are not checked (class 0).
int size_class(int file_kind, int count, int program_kind);

// Clears the screen and writes corruption text n (1 to 4) on out; any other
// n writes nothing.
void datcrpt(Session& s, int out, int n);

// Reverses the characters inside each group of four of the first len
// characters of text (characters 1-4 become 4-1, and so on). A length above
// 200 writes " ++> LEN overflow in chswap! ", waits for RETURN and leaves the
// text unchanged.
void chswap(Session& s, std::string& text, int len, int out, int in);

// Opens a session or a print pass. Shows the banner and reads the main-menu
// letter (returned in `letter`: M, C, E or B), reads "LOWDAT" (kinds 10 and
// above) and the data file of nwords words (the record size of the program
// kind), checks and reports, keeps the load-time copies and the load
// statuses in Session::state<LoadTimeCopy>() (edlib/frame/saving.hpp),
// creates a new record for "C", and stamps the identity. Returns kLoadReady,
// kLoadPrintPass (word 701 nonzero: only the banner, on the listing) or
// kLoadExecute ("E" on a file that needed no report; word 699 := -1983).
// Every refusal stops the program (ProgramStop) before anything is written.
int ioinit(Session& s, const Identity& id, int nwords, char& letter);


}  // namespace kelp
