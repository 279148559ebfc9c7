#pragma once
// The final pages of the editors: the End of Session page alternating with
// the consistency checks, the silent run, and the one print pass of all pages
// on the way out. One core serves every final page; each page hands it its
// names, its tidying, its checks and the codes that start its print pass.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelp {

class Session;

// The consistency checks run by a final page: they fill the counts of
// ordinary and fatal findings, which start at 0.
using ConsistencyChecks = std::function<void(Session&, int& warnings, int& fatal)>;

// Saved across calls for the whole run; each final page keeps its own.
struct FinalPageState {
  int hcdone = 0;  // the print pass on the way out has been started (or has run)
  int untsav = 6;  // output unit in force before a print pass
  int lretrn = 0;  // what the End of Session page last returned
  // Checks that replace the page's own (tests put their findings here).
  ConsistencyChecks checks;
};

// What a final page hands the core.
struct FinalPageSetup {
  std::string listing;      // print-pass listing, 12 characters, blank-padded
  std::string editor;       // editor name shown with the page's file errors, 12 characters
  std::string_view caller;  // named when the silent run's report cannot be closed
  std::function<void(Session&)> tidy;  // run on every entry, before the page (may be empty)
  ConsistencyChecks checks;             // run when the user asks to run
  std::vector<std::int32_t> pass_codes;  // codes in word 699 that start the print pass
};

// The core of every final page. Alternates the End of Session page with the
// checks (both counts from 0 on entry) until a choice stands, and leaves it in
// word 699; the first request with a code of pass_codes starts the print pass
// (listing on unit 1, word 701 set, word 699 := "F"). Once the page is back
// after that pass without the session having ended, the next such request
// starts a new pass, so the listing always shows what is saved. Returns true
// when the page reported chaining; chaining chosen after the print pass goes
// on at once with code 101. A silent run with fatal findings closes
// "Diagnostics.stxt", says so on the screen and stops with a non-zero status;
// nothing is saved. A listing that cannot be written shows the file error
// and the request goes on without it: the data are saved all the same.
bool final_page(Session& s, std::string_view label, FinalPageState& state, const FinalPageSetup& setup);

// The default checks of shpfin: both counts from 0, then the vessel and
// environment checks (edlib/model/vessel_checks.hpp).
void veswrn_counts(Session& s, int& warnings, int& fatal);

// Listing file and editor name of shpfin for a kind (12 characters,
// blank-padded), from the kinds' tables in edlib/frame/kind_files.
std::string final_listing_name(int kind);
std::string final_editor_name(int kind);

// The final page of the ship, slow-drift and disc-buoy kinds (page label
// "10" in ronvaske): the core with the vessel checks; an execute request
// starts the print pass. Its state is s.state<FinalPageState>().
void shpfin(Session& s, std::string_view label);

}  // namespace kelp
