#pragma once
// Page 10 of the semisubmersible editor, "More output options": force and
// motion RAOs, spread-sea RAOs, the square-law driving force treatment, the
// simulated TLP mooring with its phantom weight, the output device and the
// debug option; and its help.
#include <string_view>

namespace kelp {

class Session;

// "Page <label>: More output options". Any number above 10 leaves the page
// with that number in word 699, as a blank reply or a navigation code does.
void semot2(Session& s, std::string_view label);

// Help of the page: the note of item n, or every note for 0 (a number below
// 0 shows the note of items 1 and 2).
void smo2hp(Session& s, int item);

}  // namespace kelp
