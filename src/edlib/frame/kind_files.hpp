#pragma once
// The names of the files the editors write, by program kind, in one place:
// the print-pass listing and editor name of every final page, the data file
// and backup of each program, and the whole set of names written, from which
// the save knows which temporaries a killed session can have left.
#include <set>
#include <string>

namespace kelp {

// The final pages, each with its own names by program kind: shpfin (ship,
// slow-drift and disc-buoy kinds), morfin (the moored kinds), slmfin (the
// single-anchor-leg editor) and semfin (the semisubmersible editor).
enum class FinalPageFamily { kShpfin, kMorfin, kSlmfin, kSemfin };

// Print-pass listing and editor name (shown with the page's file errors) of
// a final page for a program kind, 12 characters, blank-padded. A kind the
// page does not name takes the page's default ("INPUT.stxt" and "WhoamI?"
// on shpfin); slmfin and semfin have one pair for every kind.
std::string listing_of(FinalPageFamily page, int kind);
std::string editor_of(FinalPageFamily page, int kind);

// Data file and its backup of a program's kind, 12 characters,
// blank-padded ("RONDDAT     " and "RONDBAK     " for kind 4). A kind no
// program edits keeps no file: 12 blanks.
std::string data_file_of(int kind);
std::string backup_file_of(int kind);

// Every name, without padding, of the files the editors write whole: each
// listing of every final page, each program's data file and backup, the
// oldest backups, "LOWDAT" and its backups, the simulation program's options
// file, the load's warning report, the wave report and the silent run's
// report.
std::set<std::string> written_file_names();

}  // namespace kelp
