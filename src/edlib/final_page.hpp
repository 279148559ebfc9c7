#pragma once
// The final page of the ship, slow-drift and disc-buoy kinds: the End of
// Session page alternating with the consistency checks, the silent run, and
// the one print pass of all pages on the way out.
#include <functional>
#include <string>
#include <string_view>

namespace kelp {

class Session;

// The consistency checks run by the final page: they fill the counts of
// ordinary and fatal findings. The default is veswrn_counts; tests put their
// own findings here.
using ConsistencyChecks = std::function<void(Session&, int& warnings, int& fatal)>;

// Saved across calls for the whole run.
struct FinalPageState {
  int hcdone = 0;  // the print pass on the way out has been started
  int untsav = 6;  // output unit in force before a print pass
  ConsistencyChecks checks;
};

// The default checks: both counts from 0, then the vessel and environment
// checks (edlib/vessel_checks.hpp).
void veswrn_counts(Session& s, int& warnings, int& fatal);

// Listing file and editor name of a kind (12 characters, blank-padded).
std::string final_listing_name(int kind);
std::string final_editor_name(int kind);

// The final page (page label "10" in ronvaske). Leaves its code in word 699,
// and word 701 nonzero when a print pass is to run. A silent run with fatal
// findings closes "Diagnostics.stxt", says so on the screen and stops with a
// non-zero status; nothing is saved. A listing that cannot be created shows
// the file error and brings the End of Session page back, record intact.
void shpfin(Session& s, std::string_view label);

}  // namespace kelp
