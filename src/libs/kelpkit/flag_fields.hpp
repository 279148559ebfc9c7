#pragma once
// Flag fields: words of a shared record used as eight 4-bit fields (numbered
// 1 to 8 from the least significant end) or as 32 single bits (1 the least
// significant, 32 the sign bit). The fields are read and written on the
// word's bits, so a negative word behaves as its bit pattern and nothing
// depends on the byte order of the machine.
//
// A bad field number or value is a programming error: two lines on unit out
// (" ... contact Brenvik" and " Press <Return> to continue"), a wait for one
// line from the keyboard unless out is the silent unit 41, and a stop of the
// program (ProgramStop with status 2). The word is left unchanged.
#include <cstdint>

namespace kelp {

class Session;

// The value 0 to 15 of 4-bit field ifld (1 to 8) of iword.
int nibval(Session& s, std::int32_t iword, int ifld, int out);

// Replaces field ifld (1 to 8) of iword by ival (0 to 15; 0 to 7 for field
// 8, so that the word never turns negative here); the other fields keep
// their values.
void nibset(Session& s, std::int32_t& iword, int ifld, int ival, int out);

// True when field 1, 2 or 3 of iword holds ival (the source code of one of
// the axes Cx, Cy, Cz in a coefficient-source selector word).
bool oneon(Session& s, std::int32_t iword, int ival, int out);

// Bit ibit (1 to 32) of iword, 0 or 1; 0 for a bit number outside 1 to 32.
int bitval(std::int32_t iword, int ibit);

// Flips bit ibit (1 to 32) of iword; a bit number outside 1 to 32 changes
// nothing.
void bitswp(std::int32_t& iword, int ibit);

// Sets bit ibit (1 to 32) of iword to ival (0 or 1).
void bitset(Session& s, std::int32_t& iword, int ibit, int ival, int out);

}  // namespace kelp
