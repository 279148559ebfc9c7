#pragma once
// Operations on the subline table of the record: clear, copy and exchange
// elements (subline s of line type t) together with the per-type values
// that travel with them, and read a line-type answer.
#include <string>

#include "sysutl/record.hpp"

namespace kelp {

class Session;

// Element (subline s 1..25, type t 1..150) consists of its composition,
// length, diameter, immersed and dry weight, reserve value, added mass and
// drag coefficients, breaking strength and three compliance coefficients.
// With it travel the clump weight and spring-buoy buoyancy of its type, and,
// between last sublines only, the anchor depth and bottom flag of the type.
// None of the operations touches the counts of sublines or lines, the line
// numbers or the elastic-data bits of a type. A subline or type outside the
// tables changes nothing.

// Clears element (s, t): blank composition, zero values, added mass and drag
// from their defaults (words 78232, 78233); the last subline of the type also
// resets the anchor depth (word 78231) and bottom flag (word 28535); the
// type's clump weight and buoyancy become 0.
void clrdat(Tpcm& r, int s, int t);

// Copies element (s_from, t_from) onto (s_to, t_to).
void copy_subline(Tpcm& r, int s_to, int s_from, int t_to, int t_from);

// Exchanges element (s1, t1) with (s2, t2).
void swap_subline(Tpcm& r, int s1, int s2, int t1, int t2);

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
