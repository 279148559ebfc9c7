#pragma once
// Operations on the subline table of the record: clear, copy and exchange
// elements (subline s of line type t) together with the per-type values
// that travel with them, and read a line-type answer.
#include <string>

namespace kelp {

class Session;

// Exchange two integers, two reals, or two texts. Each text keeps its own
// length: the shorter receives the other cut, the longer the other padded
// with blanks.
void swapi(int& a, int& b);
void swapx(float& a, float& b);
void swapc(std::string& a, std::string& b);

// Reads one line-type answer of three characters from unit in:
//   all blank              blank := 1, number := 0 (letter kept)
//   first not a digit      blank := 0, number := 0, letter := that character
//   a number (blanks are ignored)
//                          blank := 0, number := the value, 0 when above 998
//                          or below 1; letter := blank
//   unreadable number      blank := 1, number := 0, letter := blank
void read_type(Session& s, int& blank, char& letter, int& number, int in);

// "Enter new type: " and one character from unit in.
void enter_type(Session& s, char& letter, int out, int in);

}  // namespace kelp
