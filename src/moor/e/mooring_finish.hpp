#pragma once
// The finish page of the mooring editor (page 23): names by program kind,
// the tidying of flags that depend on other settings, the End of Session page
// with the vessel and mooring checks, the silent run and the print pass
// started by the first save or run request.
#include <string>
#include <string_view>

#include "edlib/frame/final_page.hpp"

namespace kelp {

class Session;

// The finish page's own saved state, apart from shpfin's: its print pass is
// started once per run by its own first save or run request.
struct MorfinState : FinalPageState {};

// Print-pass listing and editor name of a moored kind (12 characters,
// blank-padded): "PIVAIN.stxt" and "pivlorn" for kind 15.
std::string morfin_listing_name(int kind);
std::string morfin_editor_name(int kind);

// The checks of a run request: the vessel and environment checks, then the
// mooring checks, then hardwire; with the time-domain support on (word
// 1866 = 1) word 147 := 0.
void mooring_final_checks(Session& s, int& warnings, int& fatal);

// The finish page with its label ("23"). chain := 1 when the End of Session
// page chose chaining, else 0. Leaves its code in word 699 and, when it
// starts the print pass, word 701 set. A save request (-2) starts the pass
// as a run request (-1983) does.
void morfin(Session& s, std::string_view label, int& chain);

}  // namespace kelp
