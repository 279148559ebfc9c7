#pragma once
// Toggles, yes/no texts and range checks of the editor pages, and the
// entries of one record word that the editors of several kinds share.
#include <string>
#include <string_view>

#include "sysutl/record.hpp"

namespace kelp {

class Session;

// Integer flag: 0 <-> 1; any other value stays and " >>> Invalid argument in
// Toggle" is written on the screen.
void toggle(Session& s, int& flag);

// Logical flag: negated.
void toggle_l(bool& flag);

// ask == 0: flag := 1 when it was 0, else 0. Otherwise prompts "Enter 1 for
// "Yes", 0 for "No": " and reads a reply with readi; anything but 1 or 0
// restores the old value.
void toggle2(Session& s, int& flag, int ask, int out, int in);

// Logical twin of toggle2: ask == 0 negates; otherwise 1 true, 0 false,
// anything else keeps the value.
void toggle2_l(Session& s, bool& flag, int ask, int out, int in);

// The prompt of toggle3: the toggle2 prompt with label1 for Yes and label0 for
// No, cut to 60 characters, trailing blanks removed and one blank added.
std::string toggle3_prompt(std::string_view label1, std::string_view label0);

// toggle2 with the labelled prompt.
void toggle3(Session& s, int& flag, int ask, int out, int in, std::string_view label1, std::string_view label0);

// "Yes" for 1, "No " for 0, "Awk" otherwise.
std::string yesno(int flag);
// "Yes" for true, "No " for false.
std::string yesno_l(bool flag);

// n into 0..nmax (n > nmax gives nmax, then n < 0 gives 0).
void maxchk(int& n, int nmax);
// n into 1..nmax (n > nmax gives nmax, then n < 1 gives 1).
void poschk(int& n, int nmax);

// A count typed after "Enter new value: " into word, then held to 0..max.
// A navigation letter typed instead keeps the old value (the reply reader
// hands back its code, which is no count).
void enter_count(Session& s, IntWord word, int max, int out);

// Replaces a default value: after `intro` (a format writing the current
// value), "Enter new value (<RETURN> to abort replacement): " and the reply.
// True when a value was stored in word; a blank or unreadable reply, or a
// result that is not finite, changes nothing and gives false.
bool reset_default(Session& s, std::string_view intro, RealWord word, int out);

}  // namespace kelp
