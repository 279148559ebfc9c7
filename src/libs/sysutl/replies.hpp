#pragma once
// Reply reading and navigation codes. Every reply is one line of the input
// unit read as a fixed-width text field and converted inside the program, so
// no reply ever stops the program: a blank reply keeps the current value and
// an unreadable one is ignored. End of input stops the session (Session).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "sysutl/record.hpp"

namespace kelp {

class Session;

// Navigation codes left in word 699 of tpcm (the number after a command
// letter goes to word 700).
inline constexpr int kNavBang = -2013;     // "!"
inline constexpr int kNavHelp = -1978;     // "?" / "?n"
inline constexpr int kNavKeys = -1979;     // "H": key list, redisplay
inline constexpr int kNavFirst = -1980;    // "F"
inline constexpr int kNavLast = -1981;     // "L"
inline constexpr int kNavSkip = -1982;     // "S"
inline constexpr int kNavExecute = -1983;  // "E"
inline constexpr int kNavJump = -1984;     // "Jn"
inline constexpr int kNavTableM = -1985;   // "M"
inline constexpr int kNavTableC = -1986;   // "C"
inline constexpr int kNavTableD = -1987;   // "D"
inline constexpr int kNavTableI = -1988;   // "I"
inline constexpr int kNavTableX = -1989;   // "X"
inline constexpr int kNavBack = -1;        // "B"

// The navigation code of a command letter (upper or lower case; "?" and
// "!" too), or 0 when c is no command letter.
int nav_code_of(char c);

// Reads a reply of six characters: six blanks leave code and number; "!"
// gives -2013; otherwise characters 2 to 6 are read as a blank-null integer
// into number (a sign only in front; unreadable: return with both kept), then
// a command letter gives its code, anything else the integer in characters
// 1 to 6 (unreadable 0, below -1 becomes 0).
void readi(Session& s, int& code, int in, int& number);

// The selection prompt of every page: blank line, "Enter number of selection
// ("H" for help): ", code := 0, readi. "!" becomes -1979 silently; "H"
// clears the screen, shows the key list and waits, returning -1979.
void entsel(Session& s, int& code, int out, int in, int& number);

// "Enter new value: " then readi into value (blank keeps it; a command
// letter stores its code; below -1 reads as 0).
void enteri(Session& s, int& value, int out, int in);

// "Enter new value: " then crread; a blank or unreadable reply keeps value.
void enterf(Session& s, float& value, int out, int in);

// The one store for a real that the program computes from a reply or a
// conversion (a speed typed in knots kept in ft/s, a density switched to
// other units, an estimate copied into the record). A finite value is
// stored into `word` (as its IEEE bits) and true returned. A value that is
// not finite (the product overflowed, or the inputs were damaged) is refused:
// kRefusedResult goes to out, then the wait for RETURN (none on unit 41), the
// word keeps its old value, and false is returned. A record never holds an
// infinity or a NaN that the program made.
bool store_real(Session& s, std::int32_t& word, float value, int out);
// The same for a named real word of the session's record.
bool store_real(Session& s, RealWord word, float value, int out);
inline constexpr std::string_view kRefusedResult = " ++> Result out of range; the old value is kept.";

// The edit of a real word of the session's record: "Enter new value: ",
// then crread from the keyboard; a blank or unreadable reply keeps the word
// as it is (bit for bit), a value read is stored through store_real. True
// when a value was stored.
bool edit_real(Session& s, RealWord word, int out);

// "Enter new character string: " then the whole line into text, blank-padded
// or cut to text's length (the caller sizes text to its field).
void entera(Session& s, std::string& text, int out, int in);

// Reads a real from a reply of twelve characters ("(BN,F12.0)"). All blank
// or unreadable (also "NaN", "Inf"): blank := 1, value kept; else blank := 0.
// A reply whose text goes on past column 12 is read whole, never cut.
void crread(Session& s, float& value, int& blank, int in);

// Reads up to three reals list-directed from a reply of 63 characters;
// blank := 1 for an all-blank reply, else 0. Missing or null items, and all
// items from an unreadable one on, keep their values.
void crreal(Session& s, float& x, float& y, float& z, int& blank, int in);

// Reads up to n integers list-directed from a reply of 69 characters into
// values[0..]; n above 50 shows " ++> Error in READNI..." and abort0 ("A"
// stops the program, otherwise 50 are read). Never reads past values.size().
// blank := 1 for an all-blank reply, else 0. Values not read keep theirs.
void readni(Session& s, std::span<std::int32_t> values, int n, int in, int out, int& blank);

// " Enter new data for #", item in three digits, a blank and "(x,y): " (ndim
// 2), "(x,y,z): " (ndim 3) or "ERROR!", on the screen without line end, then
// crreal. out is not used (the prompt always goes to the screen).
void entcrd(Session& s, int item, float& x, float& y, float& z, int ndim, int out, int in, int& blank);

// One character from unit in (blank for an empty reply).
void readc(Session& s, char& ch, int in);

// One character from the keyboard (unit 5), whatever the dialogue's input
// unit: the wait for RETURN.
void readcp(Session& s, char& ch);

// Character codes above 90 ("Z") lose 32. kind := 0 for a letter A-Z after
// that, 2 for a blank, 1 otherwise.
void upcase(char& ch, int& kind);

}  // namespace kelp
