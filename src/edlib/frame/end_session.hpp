#pragma once
// The "End of Session" page shown inside every final page, and its help.
#include <string_view>

namespace kelp {

class Session;

// Saved flags of the page, 0 at the start of the run.
struct FintopState {
  int savedata = 0;      // the last request was item 1 (save)
  int gustrevan_go = 0;  // the last request was item 10 (chain)
  int usrhcp = 0;        // a print pass started by item 5 is running
};

// Chaining to the simulation program is offered and accepted only for
// kinds 12 and 15 with the chaining switch (word 1866) nonzero.
bool chaining_allowed(int kind, int chain_switch);

// The End of Session page. status out: 0 run the consistency checks, 1 leave
// the final page, 999 chaining chosen. code (word 699) out: -2 save and exit,
// 101 exit without saving, -1983 execute, -1980 start of a print pass, or the
// navigation code typed. help_item, print_counter, out and code are words
// 700, 701, 702 and 699 of tpcm; saved_unit is the final page's saved output
// unit. At the end of a print pass the listing is closed and the pending
// code returned. Codes the page does not offer redisplay it. A report file
// ("Diagnostics.stxt" for item 4, the listing for item 5) that cannot be
// created or written shows the file error and the page again: nothing the
// user typed is lost to it. The listing of the pass a save, run or chain
// request started shows its file error too, and the request goes on.
void fintop(Session& s, std::string_view label, int kind, int& status, std::string_view listing,
            std::string_view editor, int& help_item, int& print_counter, int& out, int& saved_unit, int& code,
            int& warnings, int& fatal, int oscode, int chain_switch);

// Help of the page: all notes ("?", item 0) or the note of one item ("?n").
void finhlp(Session& s, int out, int in, int item, int kind, bool chaining);

}  // namespace kelp
