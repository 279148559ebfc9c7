#pragma once
// The start screen of an editor: a box with the program's name, version and
// capacity, and the main menu of the session.
#include <string_view>

namespace kelp {

class Session;

// Draws the banner box on out for program kind `kind` (word 1 of tpcm), the
// 8-character program name and the version. When counter (the print-pass
// counter, word 701) is 0 the screen is cleared first and the main menu asks
// until the reply is M, C, E or B (lower case accepted), which is returned in
// reply upper-cased; when counter is nonzero the box is written without
// clearing, nothing is read and reply is left unchanged. End of input at the
// menu stops the session (it never asks again).
void title(Session& s, int kind, std::string_view name, float version, int out, int in, char& reply,
           int counter);

}  // namespace kelp
